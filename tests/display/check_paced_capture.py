#!/usr/bin/python3
"""Runs the window capture tool with --paced and checks that its frames keep the game's pace: the
frames after the first ten take at least a 61st of a second each on average (run free, they take
what they cost, a few milliseconds on a fast machine), and that the typical (median) paced frame
takes no more than the longer of a 60th and the typical free frame of a run just before, by half
a 60th: a pacer that held frames back to half the pace would fail, a busy machine would not. Usage: check_paced_capture.py TOOL WORK"""
import os
import subprocess
import sys

FRAMES = 70
SKIPPED = 10


def frame_times(tool, work, paced):
    """The milliseconds of each frame after the first ten, or None when the tool failed."""
    times = os.path.join(work, "paced_frame_times.csv")
    command = [tool, "--frames", str(FRAMES), "--clock-ms", "20000", "--frame-times", times]
    result = subprocess.run(command + (["--paced"] if paced else []), cwd=work)
    if result.returncode != 0:
        print("check_paced_capture: the tool ended with %d" % result.returncode)
        return None
    with open(times) as rows:
        return [float(row.split(",")[1]) for row in list(rows)[1 + SKIPPED:]]


def main():
    tool, work = sys.argv[1], sys.argv[2]
    free = frame_times(tool, work, False)
    milliseconds = frame_times(tool, work, True)
    if free is None or milliseconds is None:
        return 1
    slot = 1000.0 / 60.0
    mean = sum(milliseconds) / len(milliseconds)
    median = sorted(milliseconds)[len(milliseconds) // 2]
    free_median = sorted(free)[len(free) // 2]
    print("check_paced_capture: %d paced frames, %.2f ms a frame on average, %.2f ms the median "
          "(%.2f ms free)" % (len(milliseconds), mean, median, free_median))
    return 0 if (len(milliseconds) == FRAMES - SKIPPED and mean >= 1000.0 / 61.0
                 and median <= max(slot, free_median) + 0.5 * slot) else 1


if __name__ == "__main__":
    sys.exit(main())
