// Drives the browser build's page in Debian's Chromium, headless, on Mesa's llvmpipe through
// ANGLE, with the page served from a small static server on 127.0.0.1. One check per run:
//   capture SITE OUT_DIR ARGUMENTS...  the page's capture mode; writes the files it offers to OUT_DIR
//   failure SITE no-webgl|missing|corrupt  the one-line message the page shows for that fault
//   pace SITE HERTZ                    frames the game runs per second of injected callbacks
// Prints what it saw; exit code 0 when the check held, 1 when not, 2 for unusable arguments.
import { createServer } from "node:http";
import { readFile, writeFile, mkdir } from "node:fs/promises";
import { join, extname, normalize } from "node:path";
import { chromium } from "playwright-core";

const kTypes = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
  ".css": "text/css", ".json": "application/json", ".gz": "application/gzip" };

// Serves SITE; `override(name)` may replace a file's bytes (null: not found).
function serve(site, override) {
  const server = createServer(async (request, response) => {
    const name = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname))
      .replace(/^\/+/, "") || "index.html";
    try {
      let body = await readFile(join(site, name));
      if (override) body = override(name, body);
      if (body === null) throw new Error("absent");
      response.writeHead(200, { "Content-Type": kTypes[extname(name)] || "application/octet-stream" });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

async function openPage(site, query, { override, initScript } = {}) {
  const server = await serve(site, override);
  const browser = await chromium.launch({
    executablePath: process.env.SKIMLARK_CHROMIUM || "/usr/bin/chromium",
    args: ["--headless=new", "--use-gl=angle", "--use-angle=gl-egl", "--ignore-gpu-blocklist",
      "--enable-gpu", "--no-sandbox", "--disable-background-networking", "--disable-component-update",
      "--disable-sync", "--no-first-run", "--disable-quic"],
  });
  const page = await browser.newPage({ viewport: { width: 1024, height: 768 } });
  const console_ = [];
  page.on("console", (message) => console_.push(message.text()));
  page.on("pageerror", (error) => console_.push("page error: " + error.message));
  if (initScript) await page.addInitScript(initScript);
  const url = `http://127.0.0.1:${server.address().port}/index.html${query}`;
  await page.goto(url);
  const close = async () => { await browser.close(); server.close(); };
  return { page, console: console_, close };
}

async function renderer(page) {
  return page.evaluate(() => {
    const gl = document.createElement("canvas").getContext("webgl2");
    const info = gl && gl.getExtension("WEBGL_debug_renderer_info");
    return info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : "none";
  });
}

async function capture(site, outDir, args) {
  const query = "?capture=" + encodeURIComponent(args.join(" "));
  const { page, console: lines, close } = await openPage(site, query);
  try {
    console.log("renderer: " + (await renderer(page)));
    await page.waitForFunction(() => window.skimlarkCapture && window.skimlarkCapture.done,
      null, { timeout: 300000, polling: 250 });
    const result = await page.evaluate(() => window.skimlarkCapture);
    // The tool's timing line, and the wasm memory at the end (it only grows: the heap's peak).
    for (const line of lines.filter((text) => text.startsWith("startup_ms="))) console.log("page: " + line);
    console.log("wasm_memory_bytes=" + (await page.evaluate(() => window.Module.HEAP8.length)));
    await mkdir(outDir, { recursive: true });
    for (const [name, base64] of Object.entries(result.files)) {
      await writeFile(join(outDir, name), Buffer.from(base64, "base64"));
      console.log("wrote " + name);
    }
    if (result.error) {
      console.log("error: " + result.error);
      return 1;
    }
    return 0;
  } catch (error) {
    console.log(lines.join("\n"));
    throw error;
  } finally {
    await close();
  }
}

async function failure(site, fault) {
  const options = {
    "no-webgl": { initScript: () => {
      const original = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
        return kind === "webgl2" ? null : original.call(this, kind, ...rest);
      };
    } },
    missing: { override: (name, body) => (name.endsWith(".tar.gz") ? null : body) },
    corrupt: { override: (name, body) => (name.endsWith(".tar.gz")
      ? Buffer.concat([body.subarray(0, 4096), Buffer.alloc(4096, 0x5a)]) : body) },
  }[fault];
  if (!options) return usage();
  const { page, console: lines, close } = await openPage(site, "", options);
  try {
    await page.waitForFunction(() => document.getElementById("overlay").classList.contains("failed"),
      null, { timeout: 120000 });
    const shown = await page.textContent("#message");
    console.log("shown: " + shown);
    const oneLine = /^skimlark: [^\n]+$/.test(shown);
    const logged = lines.includes(shown);
    console.log(oneLine && logged ? "one line, also on the console" : "not one line on the page and console");
    return oneLine && logged ? 0 : 1;
  } finally {
    await close();
  }
}

// The page's frame callback replaced by one the test drives, with timestamps at `hertz`.
async function pace(site, hertz) {
  const initScript = () => {
    const pending = [];
    window.requestAnimationFrame = (callback) => { pending.push(callback); return pending.length; };
    window.skimlarkCallbacks = (count, periodMs, startMs) => {
      for (let i = 0; i < count; ++i) {
        const due = pending.splice(0, pending.length);
        for (const callback of due) callback(startMs + i * periodMs);
      }
    };
  };
  const { page, close } = await openPage(site, "", { initScript });
  try {
    await page.waitForSelector("#play:not([hidden])", { timeout: 120000 });
    await page.click("#overlay");
    await page.waitForFunction(() => window.Module && window.Module.onGameStarted &&
      document.getElementById("overlay").hidden, null, { timeout: 120000 });
    const period = 1000 / hertz;
    // One second to read the display's rate, then one measured (each frame costs the page a real
    // frame's drawing on llvmpipe, so the check stays short).
    await page.evaluate(([p]) => window.skimlarkCallbacks(Math.round(1000 / p), p, 1000), [period]);
    const before = await page.evaluate(() => window.Module.skimlarkFramesRun || 0);
    const seconds = 1;
    const count = Math.round((seconds * 1000) / period);
    await page.evaluate(([n, p]) => window.skimlarkCallbacks(n, p, 2000), [count, period]);
    const after = await page.evaluate(() => window.Module.skimlarkFramesRun || 0);
    const perSecond = (after - before) / seconds;
    console.log(`${hertz} Hz callbacks: ${perSecond} frames a second`);
    return Math.abs(perSecond - 60) <= 1 ? 0 : 1;
  } finally {
    await close();
  }
}

function usage() {
  console.error("usage: drive_page.mjs capture SITE OUT_DIR ARGS... | failure SITE FAULT | pace SITE HERTZ");
  return 2;
}

const [command, site, ...rest] = process.argv.slice(2);
let run;
if (command === "capture" && rest.length >= 2) run = capture(site, rest[0], rest.slice(1));
else if (command === "failure" && rest.length === 1) run = failure(site, rest[0]);
else if (command === "pace" && rest.length === 1) run = pace(site, Number(rest[0]));
else run = Promise.resolve(usage());
run.then((code) => process.exit(code), (error) => { console.error(String(error)); process.exit(1); });
