#!/usr/bin/python3
"""Runs the window capture tool with --paced and checks that its frames keep the game's pace: the
frames after the first ten take at least a 61st of a second each on average (run free, they take
what they cost, a few milliseconds on a fast machine), and the typical (median) frame at most one
and a half 60ths: a pacer that held frames back to half the pace would fail. Usage: check_paced_capture.py TOOL WORK"""
import os
import subprocess
import sys

FRAMES = 70
SKIPPED = 10


def main():
    tool, work = sys.argv[1], sys.argv[2]
    times = os.path.join(work, "paced_frame_times.csv")
    result = subprocess.run([tool, "--frames", str(FRAMES), "--clock-ms", "20000", "--paced",
                             "--frame-times", times], cwd=work)
    if result.returncode != 0:
        print("check_paced_capture: the tool ended with %d" % result.returncode)
        return 1
    with open(times) as rows:
        milliseconds = [float(row.split(",")[1]) for row in list(rows)[1 + SKIPPED:]]
    mean = sum(milliseconds) / len(milliseconds)
    median = sorted(milliseconds)[len(milliseconds) // 2]
    print("check_paced_capture: %d paced frames, %.2f ms a frame on average, %.2f ms the median"
          % (len(milliseconds), mean, median))
    return 0 if (len(milliseconds) == FRAMES - SKIPPED and mean >= 1000.0 / 61.0
                 and median <= 1.5 * 1000.0 / 60.0) else 1


if __name__ == "__main__":
    sys.exit(main())
