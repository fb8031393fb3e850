#!/usr/bin/python3
"""Packs the Windows build's game into the players' zip (with scripts/windows-zip, as
scripts/package-windows does) and checks what a player gets: skimlark.exe, every file of data/,
LICENSE.txt (the repository's licence) and README.txt (this version), with Windows line ends, and
nothing else; and, read from the executable with wrestool as Explorer reads it, the game's icon at
every painted size, version information naming this version, and an application manifest (also
the capture tool's) that Windows would take: well-formed XML asking for the invoker's rights,
per-monitor DPI awareness for old and new Windows, and the Windows versions it supports.

Usage: check_windows_package.py --exe EXE --capture-exe EXE --data DIR --licence-txt FILE
                                --readme-txt FILE --icon ICO --source DIR --version VERSION
                                --work DIR
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

TOP = {"skimlark.exe", "LICENSE.txt", "README.txt"}
ICON_SIZES = [16, 32, 48, 256]
GROUP_ICON = 14
VERSION = 16
MANIFEST = 24
ASSEMBLY = "{urn:schemas-microsoft-com:asm.v1}"
ASSEMBLY_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
# Vista, 7, 8, 8.1, and 10 (which Windows 11 shares).
SUPPORTED_OS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
# Any fixed time will do here: the reproducibility check packs with the last commit's.
PACKED_AT = 1796688000


class Failure(Exception):
    pass


def pack(options, zip_path):
    subprocess.run([os.path.join(options.source, "scripts", "windows-zip"), "--exe", options.exe,
                    "--data", options.data, "--licence", options.licence_txt,
                    "--readme", options.readme_txt, "--time", str(PACKED_AT), "--zip", zip_path],
                   check=True)


def check_contents(archive, options):
    names = archive.namelist()
    files = {info.filename: info.file_size for info in archive.infolist()
             if not info.filename.endswith("/")}
    top = sorted(name for name in files if not name.startswith("data/"))
    if top != sorted(TOP):
        raise Failure("the zip holds %s beside data/, wanted %s" % (top, sorted(TOP)))
    expected = {}
    for root, _, found in os.walk(options.data):
        for name in found:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, options.data).replace(os.sep, "/")
            expected["data/" + relative] = os.path.getsize(path)
    held = {name: size for name, size in files.items() if name.startswith("data/")}
    if held != expected:
        missing = sorted(set(expected) - set(held))
        differing = sorted(name for name in expected if name in held
                           and held[name] != expected[name])
        raise Failure("the zip's data/ differs from the build's: missing %s, other sizes %s, extra %s"
                      % (missing[:3], differing[:3], sorted(set(held) - set(expected))[:3]))
    if any("\\" in name for name in names):
        raise Failure("the zip names files with backslashes")
    print("zip: skimlark.exe, LICENSE.txt, README.txt and %d data files, nothing else"
          % len(held))


def check_texts(archive, options):
    licence = open(os.path.join(options.source, "LICENSE"), "rb").read()
    if archive.read("LICENSE.txt") != licence.replace(b"\n", b"\r\n"):
        raise Failure("LICENSE.txt is not the repository's LICENSE with Windows line ends")
    readme = archive.read("README.txt").decode("ascii")
    if re.search(r"(?<!\r)\n", readme):
        raise Failure("README.txt has lines that end without a carriage return")
    for wanted in ("Skimlark %s for Windows" % options.version, "skimlark.exe", "data folder",
                   "LICENSE.txt", "Direct3D 8"):
        if wanted not in readme:
            raise Failure("README.txt does not say %r" % wanted)
    long_lines = [line for line in readme.split("\r\n") if len(line) > 80]
    if long_lines:
        raise Failure("README.txt has lines over 80 columns: %s" % long_lines[0])
    print("LICENSE.txt is the licence, README.txt names version %s; both with CR LF"
          % options.version)


def wrestool(*args):
    result = subprocess.run(["wrestool"] + list(args), capture_output=True)
    if result.returncode != 0:
        raise Failure("wrestool %s: %s" % (" ".join(args), result.stderr.decode().strip()))
    return result.stdout


def icon_images(ico, label):
    """(width, height, image bytes) of every entry of a .ico file."""
    reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
    if reserved != 0 or kind != 1:
        raise Failure("%s is not an icon file" % label)
    images = []
    for index in range(count):
        width, height, _, _, _, _, length, offset = struct.unpack_from("<BBBBHHII", ico,
                                                                       6 + 16 * index)
        images.append((width or 256, height or 256, ico[offset:offset + length]))
    return images


def check_icon(exe, options):
    listing = wrestool("-l", exe).decode()
    types = {int(kind) for kind in re.findall(r"--type=(\d+)", listing)}
    if GROUP_ICON not in types or VERSION not in types:
        raise Failure("skimlark.exe lacks an icon group or version information: %s"
                      % (listing.strip() or "it has no resources"))
    carried = icon_images(wrestool("-x", "--type=%d" % GROUP_ICON, exe), "the exe's icon")
    painted = icon_images(open(options.icon, "rb").read(), options.icon)
    sizes = [width for width, height, _ in carried if width == height]
    if sorted(sizes) != ICON_SIZES:
        raise Failure("the exe's icon comes at %s pixels, wanted %s" % (sizes, ICON_SIZES))
    if sorted(carried) != sorted(painted):
        raise Failure("the exe's icon differs from the content tool's %s" % options.icon)
    print("wrestool: icon group with the painted icon at %s pixels" % sizes)


def check_version(exe, options):
    resource = wrestool("-x", "--raw", "--type=%d" % VERSION, exe)
    fixed = resource.find(struct.pack("<I", 0xFEEF04BD))
    if fixed < 0:
        raise Failure("the version resource has no fixed file information")
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", resource, fixed + 8)
    numbers = [int(part) for part in options.version.split(".")] + [0]
    wanted_ms = numbers[0] << 16 | numbers[1]
    wanted_ls = numbers[2] << 16 | numbers[3]
    if (file_ms, file_ls, product_ms, product_ls) != (wanted_ms, wanted_ls, wanted_ms, wanted_ls):
        raise Failure("the version resource's numbers are not %s" % options.version)
    # The strings: a key and its value, each UTF-16 and padded with zeros to 32 bits.
    text = resource.decode("utf-16-le", errors="replace")
    strings = dict(re.findall(r"([A-Za-z]+)\x00+([^\x00]+)\x00", text))
    licence = open(os.path.join(options.source, "LICENSE"), encoding="utf-8").read()
    holder = re.search(r"^Copyright \(c\) (.+)$", licence, re.M).group(1)
    wanted = {"ProductName": "Skimlark", "ProductVersion": options.version,
              "FileVersion": options.version, "OriginalFilename": "skimlark.exe"}
    for key, value in wanted.items():
        if strings.get(key) != value:
            raise Failure("version information: %s is %r, wanted %r"
                          % (key, strings.get(key), value))
    if not strings.get("FileDescription") or holder not in strings.get("LegalCopyright", ""):
        raise Failure("version information: no description, or a copyright without %s" % holder)
    print("wrestool: version %s, %s" % (options.version, strings["FileDescription"]))


def check_manifest(exe, version=None):
    """The manifest as Windows reads it when it creates the process: resource type 24, id 1."""
    name = os.path.basename(exe)
    listing = wrestool("-l", exe).decode()
    manifests = re.findall(r"--type=%d --name=(\S+)" % MANIFEST, listing)
    if manifests != ["1"]:
        raise Failure("%s carries manifests %s, wanted one with id 1" % (name, manifests))
    # Without --raw, wrestool knows no way to write type 24 and writes nothing.
    text = wrestool("-x", "--raw", "-t", str(MANIFEST), exe)
    try:
        assembly = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        raise Failure("%s's manifest is not well-formed XML: %s" % (name, error))
    if assembly.tag != ASSEMBLY + "assembly" or assembly.get("manifestVersion") != "1.0":
        raise Failure("%s's manifest is no assembly of manifest version 1.0" % name)
    identity = assembly.find(ASSEMBLY + "assemblyIdentity")
    if version is not None and (identity is None or identity.get("version") != version + ".0"):
        raise Failure("%s's manifest names version %s, not %s.0"
                      % (name, identity is not None and identity.get("version"), version))
    levels = [element.get("level")
              for element in assembly.iter(ASSEMBLY_V3 + "requestedExecutionLevel")]
    if levels != ["asInvoker"]:
        raise Failure("%s's manifest asks for execution levels %s, wanted asInvoker"
                      % (name, levels))
    settings = assembly.find("%sapplication/%swindowsSettings" % (ASSEMBLY_V3, ASSEMBLY_V3))
    if settings is None:
        raise Failure("%s's manifest has no windowsSettings" % name)
    aware = settings.findtext(SETTINGS_2005 + "dpiAware", "").strip()
    awareness = [mode.strip() for mode in
                 settings.findtext(SETTINGS_2016 + "dpiAwareness", "").split(",")]
    if aware != "true/pm" or awareness != ["PerMonitor"]:
        raise Failure("%s's manifest declares dpiAware %r and dpiAwareness %s, wanted true/pm and "
                      "PerMonitor" % (name, aware, awareness))
    ids = [element.get("Id").lower() for element in
           assembly.iter(COMPATIBILITY + "supportedOS")]
    if sorted(ids) != sorted(SUPPORTED_OS):
        raise Failure("%s's manifest lists supportedOS %s, wanted the five of Vista to 10 and 11"
                      % (name, ids))
    print("wrestool: %s's manifest: asInvoker, DPI aware per monitor, %d supportedOS"
          % (name, len(ids)))


def main():
    parser = argparse.ArgumentParser()
    for name in ("--exe", "--capture-exe", "--data", "--licence-txt", "--readme-txt", "--icon",
                 "--source", "--version", "--work"):
        parser.add_argument(name, required=True)
    options = parser.parse_args()
    if shutil.which("wrestool") is None:
        raise Failure("wrestool not found (scripts/install-deps test installs icoutils)")
    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    zip_path = os.path.join(options.work, "skimlark-windows.zip")
    pack(options, zip_path)
    with zipfile.ZipFile(zip_path) as archive:
        check_contents(archive, options)
        check_texts(archive, options)
        exe = archive.extract("skimlark.exe", options.work)
    check_icon(exe, options)
    check_version(exe, options)
    check_manifest(exe, options.version)
    check_manifest(options.capture_exe, options.version)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (Failure, subprocess.CalledProcessError, OSError, zipfile.BadZipFile) as failure:
        print("check_windows_package: %s" % failure)
        sys.exit(1)
