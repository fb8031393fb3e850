#!/usr/bin/python3
"""Fails when a source outside tests/ includes a folder at its own layer or above.

The game is built in layers, each including only those below it:

    platform < d3dx < render < model, particles < input, environment < scene < app
             < tests/support < tools, bench

Folders on one layer do not include each other. Inside platform/ the same holds for its folders,
so that each window system keeps to itself and reaches the pace and the device from below:

    platform/decl < platform/ (its own headers) < pace, posix, dinput, pad, x11, windows < gl
             < sdl, headless, web

Files under tests/ are free to include anything
(they are not part of the game), but only the test doubles of tests/support may be included from
outside, by the benchmarks and tools. Every file names its includes from the repository root, so
the first component of a quoted include is the folder it comes from.

Also fails when a file outside platform/ tests which build it is in: only platform/ knows.

Usage: check_layers.py [REPOSITORY_ROOT]   (default: the repository holding this script)
Prints one line per fault, "FILE:LINE: includes "PATH" (...)", and exits 1 if there is any.
"""
import os
import re
import sys

LAYERS = [
    ["platform"],
    ["d3dx"],
    ["render"],
    ["model", "particles"],
    ["input", "environment"],
    ["scene"],
    ["app"],
    ["tests/support"],
    ["tools", "bench"],
]
PLATFORM_LAYERS = [
    ["platform/decl"],
    ["platform"],
    ["platform/pace", "platform/posix", "platform/dinput", "platform/pad", "platform/x11",
     "platform/windows"],
    ["platform/gl"],
    ["platform/sdl", "platform/headless", "platform/web"],
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
PLATFORM_RANK = {folder: rank for rank, folders in enumerate(PLATFORM_LAYERS)
                 for folder in folders}
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
BUILD_TEST = re.compile(r"^\s*#\s*(if|ifdef|ifndef|elif)\b.*\b(_WIN32|_WIN64|__linux__|__MINGW\w*|__EMSCRIPTEN__)\b")


def folder_of(path):
    """The layer folder a repository path belongs to, or None when it is on no layer."""
    if path.startswith("tests/support/"):
        return "tests/support"
    top = path.split("/", 1)[0]
    return top if top in RANK else None


def platform_folder_of(path):
    """The folder under platform/ a path lies in ("platform" for its own headers)."""
    parts = path.split("/")
    return "platform/" + parts[1] if len(parts) > 2 else "platform"


def placed(own, other, rank_of):
    """The fault of a file in `own` including one in `other`, or None."""
    if other == own:
        return None
    if rank_of[other] > rank_of[own]:
        return "%s is above %s" % (other, own)
    if rank_of[other] == rank_of[own]:
        return "%s is on the same layer as %s" % (other, own)
    return None


def faults_in(root, path):
    own = folder_of(path)
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if match:
                included = match.group(1)
                other = folder_of(included)
                if other is None:
                    continue
                fault = placed(own, other, RANK)
                if fault is None and own == other == "platform":
                    inner, included_inner = platform_folder_of(path), platform_folder_of(included)
                    if inner in PLATFORM_RANK and included_inner in PLATFORM_RANK:
                        fault = placed(inner, included_inner, PLATFORM_RANK)
                if fault is not None:
                    yield '%s:%d: includes "%s" (%s)' % (path, number, included, fault)
            elif own != "platform" and BUILD_TEST.match(line):
                yield "%s:%d: tests which build it is in (only platform/ may): %s" % (
                    path, number, line.strip())


def sources(root):
    for folders in LAYERS:
        for folder in folders:
            if folder.startswith("tests/"):
                continue  # test code is free
            for directory, _, files in os.walk(os.path.join(root, folder)):
                for name in sorted(files):
                    if name.endswith(SOURCE_SUFFIXES):
                        yield os.path.relpath(os.path.join(directory, name), root)


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), "..", ".."))
    faults = [fault for path in sorted(sources(root)) for fault in faults_in(root, path)]
    for fault in faults:
        print(fault)
    checked = sum(1 for _ in sources(root))
    if not faults:
        print("%d sources, every include points down" % checked)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
