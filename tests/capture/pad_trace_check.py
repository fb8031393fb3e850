#!/usr/bin/python3
"""Runs one case of scripts, each with the clock fixed and a trace, and checks that every run
gives the same trace, byte for byte: a game pad's script and the matching keys, or a pad held
inside its dead zones and the keys alone. Each case's first script is keys only; the others use
the scripted pad (mixed with keys in places). The scripts run on the Linux capture tool, and with
--windows-capture also on the Windows one under Wine, whose traces must be the same bytes again.

Usage: pad_trace_check.py --case NAME --linux-capture EXE --data DIR --work DIR
                          [--windows-capture EXE --prefix DIR]
"""
import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from capture_runs import run_linux_capture, run_windows_capture  # noqa: E402

CASES = {
    # Every control, each one on its own and overlapping with the next; Escape (Back) ends the
    # run after frame 45, so every script must stop there too.
    "steer": (50, [
        "--hold UP@1-40 --hold LEFT@10-25 --hold RIGHT@30-40 --hold ESCAPE@45-45",
        "--hold PAD_A@1-20 --trigger 1@21-40 --hold PAD_LEFT@10-17 --stick -1@18-25"
        " --stick 0.6@30-35 --hold PAD_RIGHT@36-40 --hold PAD_BACK@45-45",
        "--hold UP@1-20 --trigger 0.8@15-40 --hold LEFT@10-17 --hold PAD_LEFT@14-25"
        " --hold RIGHT@30-40 --stick 1@30-40 --hold ESCAPE@45-45 --hold PAD_BACK@45-45",
    ]),
    # At full speed a turn shows at once: a stick at the edge of its dead zone, either way,
    # turns nothing.
    "dead-zone": (60, [
        "--hold UP@1-60",
        "--hold PAD_A@1-60 --stick 0.25@1-30 --stick -0.25@31-60",
        "--trigger 1@1-60 --stick 0.1@1-60",
    ]),
    # The trigger counts only past half: at half the player coasts once A is let go, and the
    # stick inside its dead zone turns nothing while it does.
    "half-trigger": (50, [
        "--hold UP@1-20",
        "--hold PAD_A@1-20 --trigger 0.5@1-50 --stick -0.2@1-50",
    ]),
}


def capture_arguments(frames, script):
    return ["--frames", str(frames), "--clock-ms", "20000", *script.split(), "--trace",
            "trace.csv"]


def trace_bytes(work):
    with open(os.path.join(work, "trace.csv"), "rb") as trace:
        return trace.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    parser.add_argument("--linux-capture", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--windows-capture")
    parser.add_argument("--prefix")
    options = parser.parse_args()
    if options.windows_capture and not options.prefix:
        parser.error("--windows-capture needs --prefix")
    if not os.path.isfile(options.linux_capture):
        print("pad_trace_check: no %s: build the default preset first" % options.linux_capture)
        return 1
    if os.path.isdir(options.work):
        shutil.rmtree(options.work)

    frames, scripts = CASES[options.case]
    runs = []  # (name, work directory)
    try:
        for index, script in enumerate(scripts):
            arguments = capture_arguments(frames, script)
            work = os.path.join(options.work, "linux-%d" % index)
            print("linux %d: %s" % (index, " ".join(arguments)))
            run_linux_capture(options.linux_capture, options.data, arguments, work)
            runs.append(("linux %d" % index, work))
            if options.windows_capture:
                work = os.path.join(options.work, "windows-%d" % index)
                print("windows %d: %s" % (index, " ".join(arguments)))
                run_windows_capture(options.windows_capture, options.data, options.prefix,
                                    arguments, work)
                runs.append(("windows %d" % index, work))
    except (RuntimeError, subprocess.TimeoutExpired) as error:
        print("pad_trace_check: %s" % error)
        return 1

    reference_name, reference_work = runs[0]
    reference = trace_bytes(reference_work)
    print("%s: %d rows" % (reference_name, reference.count(b"\n") - 1))
    failed = False
    for name, work in runs[1:]:
        trace = trace_bytes(work)
        if trace == reference:
            print("%s: the same bytes" % name)
            continue
        failed = True
        differing = [pair for pair in zip(reference.split(b"\n"), trace.split(b"\n"))
                     if pair[0] != pair[1]]
        print("FAIL: %s differs from %s: %s" % (
            name, reference_name,
            (b"%s | %s" % differing[0]).decode() if differing else "in length"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
