#!/usr/bin/python3
"""One view of the game captured by the headless capture tool on both dialects of the Direct3D 8
layer: an OpenGL ES 3.0 context (--gles) and the desktop's OpenGL 3.3 core one, with the same keys
and fixed clock. The traces and particle dumps must be the same bytes, and the pictures must not
differ in a single pixel (skimlark-compare's largest difference 0).

OpenGL ES has only the last-vertex convention, and Mesa's rasteriser and clipper order a
triangle's corners by the convention in force, which rounds interpolated texture coordinates
differently in about 2 % of the pixels (by up to 30/255, mostly 1 or 2). So the desktop run takes
the last vertex as ES does (SKIMLARK_GL_LAST_VERTEX=1) and everything else the dialects do their
own way (texel conversions, colour swizzles, shader headers, read-backs) is held to 0 pixels.
With --first-vertex the desktop's own convention is captured too and its difference printed.

Usage: dialect_parity_check.py --view NAME --capture EXE --compare EXE --data DIR --work DIR
                               [--first-vertex]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from capture_runs import run_linux_capture  # noqa: E402
from game_views import VIEWS, capture_arguments  # noqa: E402

# name: (capture arguments, environment)
DIALECTS = {"desktop": ([], {"SKIMLARK_GL_LAST_VERTEX": "1"}), "gles": (["--gles"], {})}
FIGURES = re.compile(r"max=(\d+)")


def same_bytes(first, second):
    with open(first, "rb") as a, open(second, "rb") as b:
        return a.read() == b.read()


def compare(tool, first, second, heat_map):
    return subprocess.run([tool, os.path.join(first, "shot.png"), os.path.join(second, "shot.png"),
                           *(["--diff", heat_map] if heat_map else [])],
                          capture_output=True, text=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--view", required=True, choices=sorted(VIEWS))
    for name in ("--capture", "--compare", "--data", "--work"):
        parser.add_argument(name, required=True)
    parser.add_argument("--first-vertex", action="store_true")
    options = parser.parse_args()
    dialects = dict(DIALECTS)
    if options.first_vertex:
        dialects["first-vertex"] = ([], {})
    if os.path.isdir(options.work):
        shutil.rmtree(options.work)
    works = {name: os.path.join(options.work, name) for name in dialects}
    arguments = capture_arguments(options.view)
    print("view %s: %s" % (options.view, " ".join(arguments)))
    try:
        for name, (extra, environment) in dialects.items():
            output = run_linux_capture(options.capture, options.data, arguments + extra,
                                       works[name], environment)
            print("%-7s %s" % (name + ":", output.strip().splitlines()[-1]))
    except (RuntimeError, subprocess.TimeoutExpired) as error:
        print("dialect_parity_check: %s" % error)
        return 1

    failures = []
    for name in ("trace.csv", "particles.csv"):
        for other in dialects:
            if other != "gles" and not same_bytes(os.path.join(works[other], name),
                                                  os.path.join(works["gles"], name)):
                failures.append("%s differs between gles and %s" % (name, other))
        print("%s: compared" % name)
    if options.first_vertex:
        first = compare(options.compare, works["first-vertex"], works["gles"], None)
        print("gles against the desktop's first-vertex convention: %s" % first.stdout.strip())
    heat_map = os.path.join(options.work, "difference.png")
    compared = compare(options.compare, works["desktop"], works["gles"], heat_map)
    largest = FIGURES.search(compared.stdout)
    if compared.returncode != 0 or largest is None:
        failures.append("skimlark-compare ended with %d: %s%s"
                        % (compared.returncode, compared.stdout, compared.stderr))
    else:
        print("picture: %s" % compared.stdout.strip())
        if int(largest.group(1)) != 0:
            failures.append("the pictures differ (largest difference %s/255, heat map %s)"
                            % (largest.group(1), heat_map))
    for failure in failures:
        print("FAIL: %s" % failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
