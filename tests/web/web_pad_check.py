#!/usr/bin/env python3
"""The page's pad steers as its keys do: one drive captured twice in the page's capture mode,
once with the arrow keys and once with the pad (A to accelerate, the d-pad to turn, read through
the page's Gamepad API path with the standard mapping); the two traces must be the same bytes,
and the drive must have moved the player.

Usage: web_pad_check.py --site DIR --driver drive_page.mjs --work DIR"""
import argparse
import os
import shutil
import subprocess
import sys

KEYS = ["--hold", "UP@1-60", "--hold", "LEFT@10-30", "--hold", "RIGHT@40-50"]
PAD = ["--hold", "PAD_A@1-60", "--hold", "PAD_LEFT@10-30", "--hold", "PAD_RIGHT@40-50"]


def capture(options, name, holds):
    work = os.path.join(options.work, name)
    page = subprocess.run(["node", options.driver, "capture", options.site, work, "--frames", "60",
                           "--clock-ms", "20000", *holds, "--trace", "trace.csv"],
                          capture_output=True, text=True, timeout=600)
    print(page.stdout + page.stderr, end="")
    with open(os.path.join(work, "trace.csv"), "rb") as file:
        return file.read()


def main():
    parser = argparse.ArgumentParser()
    for name in ("--site", "--driver", "--work"):
        parser.add_argument(name, required=True)
    options = parser.parse_args()
    shutil.rmtree(options.work, ignore_errors=True)
    keys = capture(options, "keys", KEYS)
    pad = capture(options, "pad", PAD)
    rows = keys.decode().splitlines()
    moved = len(rows) == 61 and rows[1].split(",")[1:] != rows[-1].split(",")[1:]
    print("traces: %s; the player %s" % ("the same bytes" if keys == pad else "DIFFERENT",
                                         "moved" if moved else "DID NOT MOVE"))
    return 0 if keys == pad and moved else 1


if __name__ == "__main__":
    sys.exit(main())
