#!/usr/bin/env python3
"""Frame time of the parity views, the native Linux capture tool (headless EGL on llvmpipe)
against the page's capture mode (headless Chromium, WebGL 2 through ANGLE on llvmpipe), run
alternately view by view and round by round, so that a machine's changing load falls on both.
Prints each run's timing line and, per view, the medians' ratio (page / native).

Usage: bench_web_frames.py --linux-build DIR --site DIR [--rounds N]"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "support"))
from capture_runs import run_linux_capture  # noqa: E402
from game_views import CLOCK_MS, VIEWS  # noqa: E402

DRIVER = os.path.join(HERE, "..", "..", "tests", "web", "drive_page.mjs")
MEDIAN = re.compile(r"startup_ms=(\S+) frames=\d+ frame_ms_median=(\S+)")


def arguments(view):
    frames, holds = VIEWS[view]
    result = ["--frames", str(frames), "--clock-ms", CLOCK_MS]
    for hold in holds:
        result += ["--hold", hold]
    return result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--linux-build", required=True)
    parser.add_argument("--site", required=True)
    parser.add_argument("--rounds", type=int, default=1)
    options = parser.parse_args()
    medians = {view: {"native": [], "page": []} for view in VIEWS}
    with tempfile.TemporaryDirectory() as work:
        for round_ in range(options.rounds):
            for view in VIEWS:
                native = run_linux_capture(os.path.join(options.linux_build, "skimlark-capture"),
                                           os.path.join(options.linux_build, "data"),
                                           arguments(view), os.path.join(work, "n%d%s" % (round_, view)))
                page = subprocess.run(["node", DRIVER, "capture", options.site,
                                       os.path.join(work, "p%d%s" % (round_, view)), *arguments(view)],
                                      capture_output=True, text=True, timeout=900).stdout
                for build, output in (("native", native), ("page", page)):
                    found = MEDIAN.findall(output)
                    if not found:
                        sys.exit("no timing line from the %s run of %s:\n%s" % (build, view, output))
                    medians[view][build].append(float(found[-1][1]))
                    print("%s %s: %s" % (view, build, output.strip().splitlines()[-1]
                                         if build == "native" else
                                         [l for l in output.splitlines() if "startup_ms" in l][-1]))
                    sys.stdout.flush()
    for view, runs in medians.items():
        native = statistics.median(runs["native"])
        page = statistics.median(runs["page"])
        print("%-8s native %.2f ms  page %.2f ms  page/native %.2f" % (view, native, page, page / native))


if __name__ == "__main__":
    main()
