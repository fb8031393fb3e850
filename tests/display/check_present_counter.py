#!/usr/bin/python3
"""The present counter counts each frame once, on every way the game shows a frame, so that the
pace checks and the paced benchmark can trust it.

Runs the window capture tool (skimlark-capture-window, one present a frame) for a fixed number of
frames with the counter preloaded, on private Xvfb displays:
  - 1024 x 768: the picture put on the window through shared memory, unscaled;
  - 1280 x 1024: put into a pixmap through shared memory and scaled onto the window;
  - 1280 x 1024 with SKIMLARK_PRESENT=opengl: OpenGL's own swap (Mesa puts that frame through
    shared memory itself, inside the swap: it must not count again).
Each run must log exactly one present a frame, every timestamp within the run as Python's
monotonic clock saw it (the checks mark mode switches on that clock). Then a run killed part-way
must still have left its presents up to shortly before the kill (the counter writes as it goes).

Usage: check_present_counter.py --capture PROGRAM --counter present_counter.so --work DIR
Run it in the build directory (beside data/).
"""
import argparse
import os
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import present_log  # noqa: E402
from xvfb import start_xvfb  # noqa: E402

FRAMES = 40
CASES = [
    ("unscaled, shared memory", (1024, 768), {}),
    ("scaled, shared memory", (1280, 1024), {}),
    ("OpenGL swap", (1280, 1024), {"SKIMLARK_PRESENT": "opengl"}),
]
# The counter writes at least this often while presents come; a frame may take a while here.
KILLED_RUN_SLACK = 1.0


def on_display(size, body):
    server, name = start_xvfb(*size)
    try:
        env = dict(os.environ)
        env["DISPLAY"] = name
        env.pop("WAYLAND_DISPLAY", None)
        return body(env)
    finally:
        server.terminate()
        server.wait()


def counted_run(options, label, size, extra):
    log = os.path.join(options.work, "presents.log")

    def run(env):
        env = present_log.counter_environment(env, options.counter, log)
        env.update(extra)
        before = time.monotonic()
        result = subprocess.run([os.path.abspath(options.capture), "--frames", str(FRAMES),
                                 "--clock-ms", "20000"], env=env, capture_output=True, text=True,
                                timeout=300)
        after = time.monotonic()
        return result, before, after

    result, before, after = on_display(size, run)
    if result.returncode != 0:
        print("check_present_counter: %s: the capture ended with %d:\n%s%s"
              % (label, result.returncode, result.stdout, result.stderr))
        return False
    kinds = present_log.read_log(log)
    kind, times = present_log.presents(kinds)
    counts = ", ".join("%s %d" % (present_log.KIND_NAMES.get(k, k), len(v))
                       for k, v in sorted(kinds.items()))
    print("check_present_counter: %s: %d frames, logged %s" % (label, FRAMES, counts or "nothing"))
    if len(times) != FRAMES:
        print("check_present_counter: %s: %d presents counted for %d frames"
              % (label, len(times), FRAMES))
        return False
    outside = [t for t in times if not before <= t <= after]
    if outside:
        print("check_present_counter: %s: %d timestamps outside the run (%.3f..%.3f), "
              "the first %.3f" % (label, len(outside), before, after, outside[0]))
        return False
    return True


def killed_run(options):
    log = os.path.join(options.work, "killed.log")

    def run(env):
        env = present_log.counter_environment(env, options.counter, log)
        game = subprocess.Popen([os.path.abspath(options.capture), "--frames", "1000000",
                                 "--clock-ms", "20000"], env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        try:
            # Killed once it has been presenting for a while.
            deadline = time.monotonic() + 60
            while not present_log.read_log(log) and time.monotonic() < deadline:
                time.sleep(0.1)
            time.sleep(1.5)
        finally:
            game.send_signal(signal.SIGKILL)
            killed = time.monotonic()
            game.wait()
        return killed

    killed = on_display((1024, 768), run)
    _, times = present_log.presents(present_log.read_log(log))
    if not times:
        print("check_present_counter: a killed run left no presents")
        return False
    print("check_present_counter: a run killed at %.3f left %d presents, the last %.3f s before"
          % (killed, len(times), killed - times[-1]))
    if killed - times[-1] > KILLED_RUN_SLACK:
        print("check_present_counter: the presents of its last %.1f s are lost"
              % (killed - times[-1]))
        return False
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--capture", required=True)
    parser.add_argument("--counter", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    os.makedirs(options.work, exist_ok=True)
    results = [counted_run(options, label, size, extra) for label, size, extra in CASES]
    results.append(killed_run(options))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
