// The page around the game: checks for WebGL 2, downloads the data pack with a progress bar,
// decodes its images, starts the game's program on a gesture (keyboard focus needs one), keeps the
// canvas at the window's size in device pixels, offers full screen, and says in one line why
// whenever something fails. With ?capture=ARGUMENTS it runs the capture tool's program instead,
// unpaced, and leaves the files it wrote in window.skimlarkCapture for a test to take.
"use strict";

(function () {
  const canvas = document.getElementById("canvas");
  const overlay = document.getElementById("overlay");
  const message = document.getElementById("message");
  const progress = document.getElementById("progress");
  const playButton = document.getElementById("play");
  const query = new URLSearchParams(window.location.search);
  const captureLine = query.get("capture");
  const autoplayKey = "skimlark-play-again";
  let failed = false;

  function fail(line) {
    if (failed) return;
    failed = true;
    console.error(line);
    message.textContent = line;
    progress.hidden = true;
    playButton.hidden = true;
    overlay.hidden = false;
    overlay.classList.add("failed");
    if (captureLine !== null) {
      window.skimlarkCapture = { done: true, files: {}, error: line };
    }
  }

  function showMessage(text, button) {
    message.textContent = text;
    progress.hidden = true;
    playButton.textContent = button || "";
    playButton.hidden = !button;
    overlay.hidden = false;
  }

  // The drawable follows the window and the device pixel ratio.
  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    canvas.width = Math.max(1, Math.round(canvas.clientWidth * ratio));
    canvas.height = Math.max(1, Math.round(canvas.clientHeight * ratio));
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(function () {});
    }
    canvas.focus();
  }

  async function fetchChecked(url) {
    let response;
    try {
      response = await fetch(url);
    } catch (error) {
      throw new Error("skimlark: cannot fetch the data file " + url);
    }
    if (!response.ok) {
      throw new Error("skimlark: cannot fetch the data file " + url + " (HTTP " + response.status + ")");
    }
    return response;
  }

  // The pack's compressed bytes as they arrive, counted on the progress bar.
  async function downloadPack() {
    const manifest = await (await fetchChecked("skimlark-data.json")).json().catch(function () {
      throw new Error("skimlark: the data file skimlark-data.json is corrupt");
    });
    const response = await fetchChecked(manifest.pack);
    const reader = response.body.getReader();
    const chunks = [];
    let received = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      chunks.push(value);
      received += value.length;
      progress.value = Math.min(1, received / manifest.bytes);
      message.textContent = "Loading " + (received / 1048576).toFixed(1) + " of " +
        (manifest.bytes / 1048576).toFixed(1) + " MB";
    }
    return { name: manifest.pack, bytes: new Blob(chunks) };
  }

  async function unpack(pack) {
    let tar;
    try {
      const stream = pack.bytes.stream().pipeThrough(new DecompressionStream("gzip"));
      tar = new Uint8Array(await new Response(stream).arrayBuffer());
    } catch (error) {
      throw new Error("skimlark: the data file " + pack.name + " is corrupt");
    }
    const files = [];
    const text = new TextDecoder();
    const field = function (at, length) {
      return text.decode(tar.subarray(at, at + length)).replace(/\0.*$/s, "");
    };
    for (let at = 0; at + 512 <= tar.length;) {
      const name = field(at, 100);
      if (name === "") break;
      const size = parseInt(field(at + 124, 12).trim(), 8);
      const prefix = field(at + 345, 155);
      if (!(size >= 0) || at + 512 + size > tar.length) {
        throw new Error("skimlark: the data file " + pack.name + " is corrupt");
      }
      if (field(at + 156, 1) === "0" || field(at + 156, 1) === "") {
        files.push({ path: prefix ? prefix + "/" + name : name, bytes: tar.subarray(at + 512, at + 512 + size) });
      }
      at += 512 + Math.ceil(size / 512) * 512;
    }
    if (files.length === 0) throw new Error("skimlark: the data file " + pack.name + " is corrupt");
    return files;
  }

  function hashBytes(bytes) {
    let hash = 2166136261;
    for (let i = 0; i < bytes.length; ++i) {
      hash = Math.imul(hash ^ bytes[i], 16777619);
    }
    return bytes.length + ":" + (hash >>> 0);
  }

  function isImage(bytes) {
    const png = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];
    const jpeg = [0xff, 0xd8, 0xff];
    const starts = (signature) => signature.every((b, i) => bytes[i] === b);
    return bytes.length > 8 && (starts(png) || starts(jpeg));
  }

  // The browser's decode of each PNG and JPEG, without premultiplied alpha or colour conversion:
  // the bitmap into a WebGL 2 texture, read back through a framebuffer, top row first.
  async function decodeImages(files) {
    const decoded = [];
    const byHash = new Map();
    const gl = document.createElement("canvas").getContext("webgl2");
    const texture = gl.createTexture();
    const framebuffer = gl.createFramebuffer();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    gl.pixelStorei(gl.UNPACK_PREMULTIPLY_ALPHA_WEBGL, false);
    gl.pixelStorei(gl.UNPACK_FLIP_Y_WEBGL, false);
    gl.pixelStorei(gl.UNPACK_COLORSPACE_CONVERSION_WEBGL, gl.NONE);
    for (const file of files) {
      if (!isImage(file.bytes)) continue;
      let bitmap;
      try {
        bitmap = await createImageBitmap(new Blob([file.bytes]),
          { premultiplyAlpha: "none", colorSpaceConversion: "none", imageOrientation: "none" });
      } catch (error) {
        continue;  // the game finds no decode and refuses the file as native builds do
      }
      gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA8, gl.RGBA, gl.UNSIGNED_BYTE, bitmap);
      gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
      const rgba = new Uint8Array(bitmap.width * bitmap.height * 4);
      gl.readPixels(0, 0, bitmap.width, bitmap.height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
      const key = hashBytes(file.bytes);
      if (!byHash.has(key)) byHash.set(key, []);
      byHash.get(key).push(decoded.length);
      decoded.push({ bytes: file.bytes, width: bitmap.width, height: bitmap.height, rgba: rgba });
      bitmap.close();
    }
    gl.getExtension("WEBGL_lose_context")?.loseContext();
    return {
      images: decoded,
      find: function (bytes) {
        const candidates = byHash.get(hashBytes(bytes)) || [];
        return candidates.find(function (index) {
          const known = decoded[index].bytes;
          return known.length === bytes.length && known.every((b, i) => b === bytes[i]);
        }) ?? -1;
      },
    };
  }

  function loadProgram(name) {
    return new Promise(function (resolve, reject) {
      window.Module = {
        canvas: canvas,
        print: function (text) { console.log(text); },
        printErr: function (text) { console.error(text); lastError = text; },
        onRuntimeInitialized: function () { resolve(window.Module); },
        onAbort: function (what) { fail("skimlark: the game stopped: " + what); },
      };
      const script = document.createElement("script");
      script.src = name;
      script.onerror = function () { reject(new Error("skimlark: cannot fetch " + name)); };
      document.body.appendChild(script);
    });
  }
  let lastError = "";

  function install(Module, files, images) {
    for (const file of files) {
      const path = "/game/" + file.path;
      Module.FS.mkdirTree(path.substring(0, path.lastIndexOf("/")));
      Module.FS.writeFile(path, file.bytes);
    }
    Module.FS.chdir("/game");
    Module.skimlarkDecodedImages = images.images;
    Module.skimlarkFindDecodedImage = images.find;
  }

  // Every file the capture wrote in the working directory, base64, by its path there.
  function capturedFiles(Module) {
    const files = {};
    const walk = function (directory, prefix) {
      for (const name of Module.FS.readdir(directory)) {
        if (name === "." || name === ".." || (prefix === "" && name === "data")) continue;
        const path = directory + "/" + name;
        if (Module.FS.isDir(Module.FS.stat(path).mode)) {
          walk(path, prefix + name + "/");
        } else {
          let binary = "";
          for (const b of Module.FS.readFile(path)) binary += String.fromCharCode(b);
          files[prefix + name] = btoa(binary);
        }
      }
    };
    walk("/game", "");
    return files;
  }

  function runCapture(Module) {
    const args = captureLine.trim().split(/\s+/).filter(Boolean);
    Module.onGameEnded = function (exitCode) {
      window.skimlarkCapture = {
        done: true, files: capturedFiles(Module), error: exitCode === 0 ? null : lastError,
        exitCode: exitCode,
      };
    };
    Module.callMain(args);
  }

  function play(Module) {
    Module.onGameStarted = function () {
      overlay.hidden = true;
      canvas.focus();
    };
    Module.onGameFailed = fail;
    Module.onGameEnded = function () {
      showMessage("The game has ended.", "Play again");
      overlay.onclick = function () {
        sessionStorage.setItem(autoplayKey, "1");
        window.location.reload();
      };
    };
    Module.callMain([]);
  }

  // Keyboard focus needs a gesture of the player's: a click or a key on the page.
  function afterGesture(start) {
    if (sessionStorage.getItem(autoplayKey) === "1") {
      sessionStorage.removeItem(autoplayKey);
      start();
      return;
    }
    showMessage("Press a key or click to play", "Play");
    const go = function (event) {
      if (event.type === "keydown" && (event.key === "f" || event.key === "F")) return;
      window.removeEventListener("keydown", go, true);
      overlay.removeEventListener("click", go);
      start();
    };
    window.addEventListener("keydown", go, true);
    overlay.addEventListener("click", go);
  }

  async function main() {
    fitCanvas();
    window.addEventListener("resize", fitCanvas);
    document.getElementById("fullscreen").addEventListener("click", toggleFullScreen);
    window.addEventListener("keydown", function (event) {
      if ((event.key === "f" || event.key === "F") && !event.repeat) toggleFullScreen();
    });
    if (!document.createElement("canvas").getContext("webgl2")) {
      fail("skimlark: this browser cannot draw with WebGL 2");
      return;
    }
    const program = captureLine !== null ? "skimlark-capture.js" : "skimlark.js";
    try {
      const [Module, files] = await Promise.all([
        loadProgram(program),
        downloadPack().then(unpack),
      ]);
      message.textContent = "Preparing the pictures…";
      install(Module, files, await decodeImages(files));
      if (captureLine !== null) {
        runCapture(Module);
      } else {
        afterGesture(function () { play(Module); });
      }
    } catch (error) {
      fail(error && error.message && error.message.startsWith("skimlark:") ? error.message
        : "skimlark: the game failed to start: " + error);
    }
  }

  main();
})();
