#!/usr/bin/python3
"""One view of the game captured on both builds with the same keys and a fixed clock, and compared.

The Linux capture (headless, our Direct3D 8 over OpenGL) and the Windows capture (the system's
Direct3D 8 under Wine) run the same key script. Their traces and particle dumps must agree byte for
byte; their last pictures are compared with skimlark-compare and must agree within the limits:
a mean absolute difference of at most 0.1/255 in each channel, and at most 0.05 % of the pixels
differing by more than 16/255. Every figure is printed, with both builds' timing lines, and the
pictures and the heat map are kept in the work directory.

Usage: parity_check.py --view NAME --linux-capture EXE --compare EXE --windows-capture EXE
                       --data DIR --work DIR --prefix DIR
"""
import argparse
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from capture_runs import run_linux_capture, run_windows_capture  # noqa: E402
from game_views import VIEWS, capture_arguments  # noqa: E402

MAX_MEAN = 0.1            # per channel, in 1/255
MAX_OVER16_PERCENT = 0.05

OUTPUTS = ("trace.csv", "particles.csv", "shot.png")
TIMING = re.compile(r"^startup_ms=\S+ frames=\d+ frame_ms_median=\S+ frame_ms_p99=\S+$", re.M)
FIGURES = re.compile(r"mean_r=(\S+) mean_g=(\S+) mean_b=(\S+) over16_percent=(\S+) max=(\d+)")


def timing_line(output, build):
    found = TIMING.findall(output)
    if not found:
        raise RuntimeError("the %s capture printed no timing line:\n%s" % (build, output))
    return found[-1]


def run_linux(options, arguments, work):
    output = run_linux_capture(options.linux_capture, options.data, arguments, work)
    return timing_line(output, "Linux")


def run_windows(options, arguments, work):
    output = run_windows_capture(options.windows_capture, options.data, options.prefix,
                                 arguments, work)
    return timing_line(output, "Windows")


def same_bytes(first, second):
    with open(first, "rb") as a, open(second, "rb") as b:
        return a.read() == b.read()


def first_difference(first, second):
    with open(first) as a, open(second) as b:
        for number, (left, right) in enumerate(zip(a, b), 1):
            if left != right:
                return "line %d: %s | %s" % (number, left.strip(), right.strip())
    return "one file is longer"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--view", required=True, choices=sorted(VIEWS))
    for name in ("--linux-capture", "--compare", "--windows-capture", "--data", "--work",
                 "--prefix"):
        parser.add_argument(name, required=True)
    options = parser.parse_args()

    for tool in (options.linux_capture, options.compare):
        if not os.path.isfile(tool):
            print("parity_check: no %s: build the default preset first" % tool)
            return 1
    if os.path.isdir(options.work):
        shutil.rmtree(options.work)
    linux_work = os.path.join(options.work, "linux")
    windows_work = os.path.join(options.work, "windows")
    arguments = capture_arguments(options.view)
    print("view %s: %s" % (options.view, " ".join(arguments)))
    try:
        linux_timing = run_linux(options, arguments, linux_work)
        windows_timing = run_windows(options, arguments, windows_work)
    except (RuntimeError, subprocess.TimeoutExpired) as error:
        print("parity_check: %s" % error)
        return 1
    print("linux:   %s" % linux_timing)
    print("windows: %s" % windows_timing)

    failures = []
    for name in OUTPUTS:
        for work in (linux_work, windows_work):
            if not os.path.isfile(os.path.join(work, name)):
                failures.append("no %s from %s" % (name, work))
    if failures:
        print("\n".join("FAIL: " + failure for failure in failures))
        return 1
    for name in ("trace.csv", "particles.csv"):
        first = os.path.join(linux_work, name)
        second = os.path.join(windows_work, name)
        if same_bytes(first, second):
            print("%s: the same bytes" % name)
        else:
            failures.append("%s differs, %s" % (name, first_difference(first, second)))

    heat_map = os.path.join(options.work, "difference.png")
    compared = subprocess.run(
        [options.compare, os.path.join(linux_work, "shot.png"),
         os.path.join(windows_work, "shot.png"), "--diff", heat_map],
        capture_output=True, text=True)
    figures = FIGURES.search(compared.stdout)
    if compared.returncode != 0 or figures is None:
        failures.append("skimlark-compare ended with %d: %s%s"
                        % (compared.returncode, compared.stdout, compared.stderr))
    else:
        print("picture: %s (heat map %s)" % (compared.stdout.strip(), heat_map))
        means = [float(value) for value in figures.groups()[:3]]
        over = float(figures.group(4))
        for channel, mean in zip("rgb", means):
            if mean > MAX_MEAN:
                failures.append("mean difference in %s is %.4f/255, over %.1f/255"
                                % (channel, mean, MAX_MEAN))
        if over > MAX_OVER16_PERCENT:
            failures.append("%.4f %% of the pixels differ by more than 16/255, over %.2f %%"
                            % (over, MAX_OVER16_PERCENT))
    for failure in failures:
        print("FAIL: %s" % failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
