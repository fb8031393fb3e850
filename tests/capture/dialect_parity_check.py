#!/usr/bin/python3
"""One view of the game captured twice by the headless capture tool, on the desktop's OpenGL 3.3
core context and on an OpenGL ES 3.0 one (--gles), with the same keys and fixed clock. The two
dialects of the Direct3D 8 layer must agree exactly: traces and particle dumps the same bytes, the
pictures without a single differing pixel (skimlark-compare's largest difference 0). The pictures
and the heat map stay in the work directory.

Usage: dialect_parity_check.py --view NAME --capture EXE --compare EXE --data DIR --work DIR
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

DIALECTS = {"desktop": [], "gles": ["--gles"]}
FIGURES = re.compile(r"max=(\d+)")


def same_bytes(first, second):
    with open(first, "rb") as a, open(second, "rb") as b:
        return a.read() == b.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--view", required=True, choices=sorted(VIEWS))
    for name in ("--capture", "--compare", "--data", "--work"):
        parser.add_argument(name, required=True)
    options = parser.parse_args()
    if os.path.isdir(options.work):
        shutil.rmtree(options.work)
    works = {name: os.path.join(options.work, name) for name in DIALECTS}
    arguments = capture_arguments(options.view)
    print("view %s: %s" % (options.view, " ".join(arguments)))
    try:
        for name, extra in DIALECTS.items():
            output = run_linux_capture(options.capture, options.data, arguments + extra,
                                       works[name])
            print("%-7s %s" % (name + ":", output.strip().splitlines()[-1]))
    except (RuntimeError, subprocess.TimeoutExpired) as error:
        print("dialect_parity_check: %s" % error)
        return 1

    failures = []
    for name in ("trace.csv", "particles.csv"):
        if same_bytes(os.path.join(works["desktop"], name), os.path.join(works["gles"], name)):
            print("%s: the same bytes" % name)
        else:
            failures.append("%s differs between the dialects" % name)
    heat_map = os.path.join(options.work, "difference.png")
    compared = subprocess.run(
        [options.compare, os.path.join(works["desktop"], "shot.png"),
         os.path.join(works["gles"], "shot.png"), "--diff", heat_map],
        capture_output=True, text=True)
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
