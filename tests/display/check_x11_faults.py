#!/usr/bin/python3
"""The game survives an X server's faults and keeps the 60 Hz pace through them: on one private
Xorg server with the dummy driver (as check_pace.py), the game runs full screen once per fault,
with the fault injector (x11_faults.so) and the present counter preloaded:

  present-counter-stops  at 60 Hz, where Present's retraces lead until, 3 s in, the server stops
                         answering its notify requests: the game must say so once on standard
                         error and go on at the clock grid's pace
  randr-1.2              at 144 Hz, RandR reported as 1.2 from the start: no exact rate from it
  crtc-removed           at 144 Hz, every CRTC read refused by the server (BadRRCrtc) from 3 s in,
                         when RandR tells of a changed output, as in a hot-plug: an X error that
                         must not end the game

At 144 Hz neither a swap interval nor Present's 60 Hz clock may lead: the grid alone paces. For
each, the game must still run and present 60 +- 1 times a second over --seconds (5) from
--settle (1.5) seconds after the fault set in (or after its first present, if later), with the
slots lost counted as elapsed 60 Hz slots less presents; and from the fault on, no second may
hold more than 64 presents (a loop left unpaced for a moment gives 80 and more). Exits 0 when all hold, 1 when one
does not, 77 (skipped) as check_pace.py does. Run it in the build directory.

  check_x11_faults.py --game PROGRAM --counter present_counter.so --faults x11_faults.so
                      --work DIR
"""
import argparse
import bisect
import os
import re
import signal
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, HERE)
import check_pace  # noqa: E402
import present_log  # noqa: E402
from dummy_xorg import DummyXorg, missing_tools  # noqa: E402

# (fault, mode, seconds after the start at which it sets in)
FAULTS = [("present-counter-stops", (1024, 768, 60), 3.0),
          ("randr-1.2", (1024, 768, 144), 0.0),
          ("crtc-removed", (1024, 768, 144), 3.0)]
# The fault's call comes within this long of its onset, where it comes at all (Present's waits
# are one a frame; RandR is read again at its change notice).
ONSET_TIMEOUT = 2.0
STOPPED_LINE = "skimlark: the X server stopped counting retraces; pacing by the clock"


def wait_onset(game, errors, fault, deadline):
    """The CLOCK_MONOTONIC time the injector says its fault set in (it says so at the first call
    it changes), or None when the game made no such call by the deadline."""
    pattern = re.compile(r"^x11_faults: %s from ([0-9.]+)$" % re.escape(fault), re.M)
    while time.monotonic() < deadline:
        with open(errors) as source:
            found = pattern.search(source.read())
        if found:
            return float(found.group(1))
        if game.process.poll() is not None:
            raise RuntimeError("%s: the game ended with %d before the fault set in"
                               % (fault, game.process.returncode))
        time.sleep(0.1)
    return None


def start_game(options, server, env, errors, fault, after):
    """The game, its first present and the moment the fault set in."""
    spawned = time.monotonic()
    deadline = spawned + after + ONSET_TIMEOUT
    with open(errors, "w") as stderr:
        game = check_pace.Game(options, server, env, stderr)
    try:
        _, first = game.wait_first_present()
        if fault == "crtc-removed":
            # The game reads the rate again only when RandR says the outputs changed: a new mode
            # on the output says so, as a hot-plug would, once the CRTC is "gone".
            check_pace.wait_until(spawned + after + 0.2)
            server.add_mode(1280, 1024, 70)
        onset = wait_onset(game, errors, fault, max(deadline, time.monotonic() + 1.0))
    except BaseException:
        game.stop()
        raise
    if onset is None:
        game.stop()
        raise RuntimeError("%s: the game never made the call the fault changes" % fault)
    return game, first, onset


# A present late by up to three slots (a stall of the busy machine), the next ones on their slots,
# puts up to three more into the second that starts at it; a loop left unpaced adds 20 or more.
MOST_IN_A_SECOND = 64


def fastest_second(times, start, end):
    """The most presents in any one second within [start, end)."""
    inside = present_log.between(times, start, end)
    return max((bisect.bisect_left(inside, t + 1.0) - i for i, t in enumerate(inside)
                if t + 1.0 <= end), default=0)


def run_fault(options, server, fault, mode, after):
    width, height, hertz = mode
    reported = server.set_mode(width, height, hertz)
    label = "%s at %dx%d, %.2f Hz" % (fault, width, height, reported)
    # Each fault's present log and standard error in a folder of its own.
    options = argparse.Namespace(**dict(vars(options), work=os.path.join(options.work, fault)))
    os.makedirs(options.work, exist_ok=True)
    errors = os.path.join(os.path.abspath(options.work), "stderr.txt")
    env = dict(os.environ, SKIMLARK_X11_FAULT=fault, SKIMLARK_X11_FAULT_AFTER=str(after))
    preload = env.get("LD_PRELOAD", "")
    env["LD_PRELOAD"] = os.path.abspath(options.faults) + (" " + preload if preload else "")
    game, first, onset = start_game(options, server, env, errors, fault, after)
    try:
        start = max(first, onset) + options.settle
        end = start + options.seconds
        held = check_pace.check_pace(game, label, start, end)
        # From the moment the fault sets in, no stretch runs faster than the pace: a loop
        # left unpaced while the game notices would play the game too fast for that while.
        _, times = game.presents()
        fastest = fastest_second(times, max(first, onset), end)
        print("check_x11_faults: %s: at most %d presents in any second after the fault%s"
              % (label, fastest, "" if fastest <= MOST_IN_A_SECOND else " -- faster than the pace"))
        held &= fastest <= MOST_IN_A_SECOND
    finally:
        game.stop()
    with open(errors) as source:
        said = source.read().splitlines()
    if fault == "present-counter-stops":
        times = said.count(STOPPED_LINE)
        print("check_x11_faults: %s: the game said it stopped following the retraces %d time%s"
              % (label, times, "" if times == 1 else "s"))
        held &= times == 1
    return held


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--game", required=True)
    parser.add_argument("--counter", required=True)
    parser.add_argument("--faults", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--settle", type=float, default=1.5)
    parser.add_argument("--seconds", type=float, default=5.0)
    options = parser.parse_args()
    options.present = None
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))

    missing = missing_tools(window_manager=True)
    if missing:
        print("check_x11_faults: skipped, missing: %s (scripts/install-deps test)"
              % ", ".join(missing))
        return check_pace.SKIPPED
    os.makedirs(options.work, exist_ok=True)
    with DummyXorg(options.work) as server:
        server.start_window_manager()
        held = all([run_fault(options, server, *fault) for fault in FAULTS])
    return 0 if held else 1


if __name__ == "__main__":
    try:
        sys.exit(main())
    except RuntimeError as error:
        print("check_x11_faults: %s" % error)
        sys.exit(1)
