#!/usr/bin/python3
"""Checks what scripts/package-linux and scripts/package-windows leave in dist/ besides the
packages' own contents (check_linux_package.py and check_windows_package.py check those):
SHA256SUMS names every package and symbol file there and `sha256sum -c` accepts it; the game in
the Debian package and skimlark.exe in the zip are stripped (no .debug_* section, no symbol
table, so gdb cannot name the game's functions in them) and carry a .gnu_debuglink to their
symbol files in dist/, with which gdb names GameApp::Frame and its source file; skimlark.exe is
stamped with the last commit's time rather than the link's, and carries the application manifest.

Usage: check_dist.py --dist DIR --source DIR --work DIR --version VERSION
(--source: the tree the packages were built from, whose scripts/source-date-epoch says the time)
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_windows_package import Failure, check_manifest  # noqa: E402

FUNCTION = "GameApp::Frame"
SOURCE = "app/game_app.cpp"
MANGLED = "_ZN7GameApp5FrameEv"
LINUX_GAME = "usr/games/skimlark"
# binutils for each platform's programs, by the prefix of their names.
LINUX = ""
WINDOWS = "x86_64-w64-mingw32-"


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def check_checksums(dist):
    listed = []
    for line in open(os.path.join(dist, "SHA256SUMS"), encoding="utf-8"):
        match = re.fullmatch(r"[0-9a-f]{64}  (\S+)\n", line)
        if match is None:
            raise Failure("SHA256SUMS has a line sha256sum does not write: %r" % line)
        listed.append(match.group(1))
    present = sorted(name for name in os.listdir(dist)
                     if name.endswith((".deb", ".tar.gz", ".zip", ".debug")))
    if sorted(listed) != present:
        raise Failure("SHA256SUMS lists %s; dist/ holds %s" % (sorted(listed), present))
    result = run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=dist)
    if result.returncode != 0:
        raise Failure("sha256sum -c SHA256SUMS: %s" % (result.stdout + result.stderr).strip())
    print("sha256sum -c SHA256SUMS: %d files OK" % len(listed))


def section_names(tools, program):
    result = run([tools + "objdump", "-h", program])
    if result.returncode != 0:
        raise Failure("%sobjdump -h %s: %s" % (tools, program, result.stderr.strip()))
    return re.findall(r"^\s*\d+\s+(\S+)", result.stdout, re.M)


def debuglink_name(tools, program):
    """The file name a .gnu_debuglink holds (before its padding and checksum)."""
    dumped = program + ".debuglink"
    result = run([tools + "objcopy", "--dump-section", ".gnu_debuglink=" + dumped, program,
                  program + ".copy"])
    if result.returncode != 0:
        raise Failure("%sobjcopy cannot read %s's .gnu_debuglink: %s"
                      % (tools, program, result.stderr.strip()))
    return open(dumped, "rb").read().split(b"\0")[0].decode("utf-8", "replace")


def check_stripped(tools, program, symbols_name):
    name = os.path.basename(program)
    found = section_names(tools, program)
    debug = [section for section in found if section.startswith(".debug")]
    if debug:
        raise Failure("%s in the package keeps its debug sections %s" % (name, debug))
    if ".gnu_debuglink" not in found:
        raise Failure("%s has no .gnu_debuglink to its symbols" % name)
    link = debuglink_name(tools, program)
    if link != symbols_name:
        raise Failure("%s's .gnu_debuglink names %s, not %s" % (name, link, symbols_name))
    if MANGLED in run([tools + "objdump", "-t", program]).stdout:
        raise Failure("%s in the package still has a symbol table naming %s" % (name, FUNCTION))


def gdb_functions(program):
    """What gdb knows of the function, reading only what lies beside the program."""
    result = run(["gdb", "-nx", "-batch", "-ex", "info functions " + FUNCTION, program],
                 cwd=os.path.dirname(program), timeout=300)
    output = (result.stdout + result.stderr).strip()
    found = re.search(r"^File (?:\./)?%s:\n(\d+:\s+.*\b%s\(\);)$"
                      % (re.escape(SOURCE), re.escape(FUNCTION)), output, re.M)
    return found.group(1).replace("\t", " ") if found else None, output


def check_symbols(tools, program, symbols):
    """The stripped program alone names nothing; with its symbol file beside it gdb names the
    function and its source."""
    name = os.path.basename(program)
    check_stripped(tools, program, os.path.basename(symbols))
    alone, output = gdb_functions(program)
    if alone is not None:
        raise Failure("gdb names %s in %s without its symbols: %s" % (FUNCTION, name, output))
    shutil.copyfile(symbols, os.path.join(os.path.dirname(program), os.path.basename(symbols)))
    resolved, output = gdb_functions(program)
    if resolved is None:
        raise Failure("gdb, with %s beside %s, does not name %s in %s: %s"
                      % (os.path.basename(symbols), name, FUNCTION, SOURCE, output))
    print("%s: stripped, .gnu_debuglink %s; gdb with it: %s, line %s"
          % (name, os.path.basename(symbols), SOURCE, resolved))


def pe_time_stamp(exe):
    header = open(exe, "rb").read(4096)
    (pe_offset,) = struct.unpack_from("<I", header, 0x3C)
    if header[pe_offset:pe_offset + 4] != b"PE\0\0":
        raise Failure("%s is not a PE executable" % exe)
    return struct.unpack_from("<I", header, pe_offset + 8)[0]


def main():
    parser = argparse.ArgumentParser()
    for name in ("--dist", "--source", "--work", "--version"):
        parser.add_argument(name, required=True)
    options = parser.parse_args()
    epoch = int(subprocess.run([os.path.join(options.source, "scripts", "source-date-epoch")],
                               check=True, capture_output=True, text=True).stdout)
    for tool in ("gdb", "sha256sum", "dpkg-deb", LINUX + "objdump", WINDOWS + "objdump",
                 WINDOWS + "objcopy", "wrestool"):
        if shutil.which(tool) is None:
            raise Failure("%s not found (scripts/install-deps test installs it)" % tool)
    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    dist = options.dist

    check_checksums(dist)

    debs = [name for name in os.listdir(dist) if name.endswith(".deb")]
    if len(debs) != 1:
        raise Failure("dist/ holds the Debian packages %s, wanted one" % debs)
    tree = os.path.join(options.work, "deb")
    subprocess.run(["dpkg-deb", "-x", os.path.join(dist, debs[0]), tree], check=True)
    game = os.path.join(options.work, "skimlark")
    shutil.copyfile(os.path.join(tree, LINUX_GAME), game)
    os.chmod(game, 0o755)
    check_symbols(LINUX, game, os.path.join(dist, "skimlark.debug"))

    with zipfile.ZipFile(os.path.join(dist, "skimlark-windows.zip")) as archive:
        exe = archive.extract("skimlark.exe", os.path.join(options.work, "windows"))
    check_symbols(WINDOWS, exe, os.path.join(dist, "skimlark.exe.debug"))
    stamp = pe_time_stamp(exe)
    if stamp != epoch:
        raise Failure("skimlark.exe is stamped %d, not the last commit's time %d" % (stamp, epoch))
    print("skimlark.exe: stamped with the last commit's time, %d" % stamp)
    check_manifest(exe, options.version)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (Failure, subprocess.CalledProcessError, subprocess.TimeoutExpired, OSError,
            zipfile.BadZipFile, KeyError) as failure:
        print("check_dist: %s" % failure)
        sys.exit(1)
