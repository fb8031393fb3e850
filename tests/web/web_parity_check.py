#!/usr/bin/env python3
"""One view of the game captured by the native Linux skimlark-capture and by the page's capture
mode in headless Chromium (WebGL 2 on llvmpipe), with the same keys and a fixed clock. Traces and
particle dumps must be the same bytes. The page's picture must not differ in a single pixel from
the native capture on the OpenGL ES dialect (--gles), which is what WebGL 2 speaks; against the
native desktop dialect it must stay within the parity bounds (mean under 0.1/255 per channel,
under 0.05 % of pixels beyond 16/255): llvmpipe rounds some triangles differently with ES's
provoking vertex, the last, which neither ES nor WebGL 2 here can change.

Usage: web_parity_check.py --view NAME --linux-capture EXE --compare EXE --data DIR --site DIR
                           --driver drive_page.mjs --work DIR
Exit code 0 when the view holds, 1 when not."""
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

MAX_MEAN = 0.1
MAX_OVER16_PERCENT = 0.05
OUTPUTS = ("trace.csv", "particles.csv", "shot.png")
FIGURES = re.compile(r"mean_r=(\S+) mean_g=(\S+) mean_b=(\S+) over16_percent=(\S+) max=(\d+)")


def read(path):
    with open(path, "rb") as file:
        return file.read()


def compare_pictures(options, native, web, name):
    heat_map = os.path.join(options.work, "difference-%s.png" % name)
    compared = subprocess.run([options.compare, native, web, "--diff", heat_map],
                              capture_output=True, text=True)
    figures = FIGURES.search(compared.stdout)
    if compared.returncode != 0 or figures is None:
        return ["skimlark-compare ended with %d: %s%s"
                % (compared.returncode, compared.stdout, compared.stderr)]
    print("picture against %s: %s (heat map %s)" % (name, compared.stdout.strip(), heat_map))
    failures = []
    if name == "es":
        return [] if int(figures.group(5)) == 0 else ["the picture differs from the native ES one"]
    for channel, mean in zip("rgb", (float(value) for value in figures.groups()[:3])):
        if mean > MAX_MEAN:
            failures.append("mean difference in %s is %.4f/255" % (channel, mean))
    if float(figures.group(4)) > MAX_OVER16_PERCENT:
        failures.append("%s %% of the pixels differ by more than 16/255" % figures.group(4))
    return failures


def main():
    parser = argparse.ArgumentParser()
    for name in ("--linux-capture", "--compare", "--data", "--site", "--driver", "--work"):
        parser.add_argument(name, required=True)
    parser.add_argument("--view", required=True, choices=sorted(VIEWS))
    options = parser.parse_args()
    shutil.rmtree(options.work, ignore_errors=True)
    native_work = os.path.join(options.work, "native")
    web_work = os.path.join(options.work, "web")
    arguments = capture_arguments(options.view)
    print("view %s: %s" % (options.view, " ".join(arguments)))
    native = run_linux_capture(options.linux_capture, options.data, arguments, native_work)
    print("native: " + native.strip().splitlines()[-1])
    es_work = os.path.join(options.work, "native-es")
    run_linux_capture(options.linux_capture, options.data, ["--gles", *arguments], es_work)
    page = subprocess.run(["node", options.driver, "capture", options.site, web_work, *arguments],
                          capture_output=True, text=True, timeout=600)
    print(page.stdout + page.stderr, end="")
    failures = [] if page.returncode == 0 else ["the page's capture ended with %d" % page.returncode]
    for name in OUTPUTS:
        if not os.path.isfile(os.path.join(web_work, name)):
            failures.append("the page wrote no %s" % name)
    if not failures:
        for name in ("trace.csv", "particles.csv"):
            same = read(os.path.join(native_work, name)) == read(os.path.join(web_work, name))
            print("%s: %s" % (name, "the same bytes" if same else "DIFFERENT"))
            if not same:
                failures.append("%s differs" % name)
        web_shot = os.path.join(web_work, "shot.png")
        failures += compare_pictures(options, os.path.join(es_work, "shot.png"), web_shot, "es")
        failures += compare_pictures(options, os.path.join(native_work, "shot.png"), web_shot,
                                     "desktop")
    for failure in failures:
        print("FAIL: %s" % failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
