#!/usr/bin/python3
"""The game's pace on displays of different refresh rates, counted from outside it: the game runs
full screen on a private Xorg server with the dummy video driver and openbox, with the present
counter preloaded, and its presents must come 60 +- 1 times a second whatever the display's rate
(below 59 Hz, where the game follows the display, at the display's rate +- 1).

  check_pace.py --game PROGRAM --counter present_counter.so --work DIR steady WxH@HZ
      the display in that mode from the start; presents counted over --seconds (10) after the
      first --settle (2) seconds of the game's presents
  check_pace.py ... switch WxH@HZ WxH@HZ ...
      the display starts in the first mode; xrandr switches it to each next one while the game
      runs. In every mode the pace is measured over --window (3) seconds starting one second
      after the switch, and the picture must then be laid out for the new screen: the 4:3
      picture as large as fits, centred between black bars.

With --present opengl the game shows its frames through OpenGL's own swap, as it does where there
is a GPU (SKIMLARK_PRESENT=opengl): the rate then comes from the mode xrandr set, not from the X
server's own Present clock, which runs at 60 Hz whatever the mode says. Several steady modes are
measured one after the other on one server. With --without-present the server has no Present
extension, so that nothing follows its clock and the rate is the mode's alone.

Also prints, for each stretch measured, the 60 Hz slots lost: the stretch's slots less the
presents in it. Exits 0 when every pace holds, 1 when one does not, 77 (skipped) when
Xorg, its dummy driver, xrandr or openbox is not installed, or when not run as root (which Xorg
needs for a configuration of its own). Run it in the build directory.
"""
import argparse
import os
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, HERE)
import present_log  # noqa: E402
from dummy_xorg import DummyXorg, missing_tools  # noqa: E402

SKIPPED = 77
PACE = 60.0
PACE_TOLERANCE = 1.0
# Below this the game presents once a retrace, as the full-screen mode would there.
FOLLOWED_BELOW = 59.0
# Time the game is given to show its first frame, and a new layout to show.
START_TIMEOUT = 60.0
LAYOUT_TIMEOUT = 10.0
# The pace must be back this soon after a switch.
SWITCH_SETTLE = 1.0


def parse_mode(text):
    size, _, hertz = text.partition("@")
    width, _, height = size.partition("x")
    return int(width), int(height), int(hertz)


def picture_rect(width, height):
    """Where the 4:3 picture lies on a screen of that size: as large as fits, centred."""
    if width * 3 >= height * 4:
        w, h = height * 4 // 3, height
    else:
        w, h = width, width * 3 // 4
    return (width - w) // 2, (height - h) // 2, w, h


class Game:
    def __init__(self, options, server, base_env=None, stderr=None):
        """`base_env` is the environment the server's display and the counter are added to (else
        this script's); `stderr` a file the game's standard error goes to (else this script's)."""
        self.log = os.path.join(os.path.abspath(options.work), "presents.log")
        env = present_log.counter_environment(server.environment(base_env), options.counter,
                                              self.log)
        if options.present:
            env["SKIMLARK_PRESENT"] = options.present
        self.process = subprocess.Popen([os.path.abspath(options.game)], env=env, stderr=stderr)

    def presents(self):
        return present_log.presents(present_log.read_log(self.log))

    def wait_first_present(self):
        deadline = time.monotonic() + START_TIMEOUT
        while time.monotonic() < deadline:
            kind, times = self.presents()
            if times:
                return kind, times[0]
            if self.process.poll() is not None:
                raise RuntimeError("the game ended with %d before it presented a frame"
                                   % self.process.returncode)
            time.sleep(0.1)
        raise RuntimeError("the game presented nothing within %g s" % START_TIMEOUT)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def wait_until(moment):
    delay = moment - time.monotonic()
    if delay > 0:
        time.sleep(delay)


def expected_pace(hertz):
    return hertz if hertz < FOLLOWED_BELOW else PACE


def check_pace(game, label, start, end, pace=PACE, again=True):
    """Prints the pace over [start, end) and returns whether it is pace +- 1 a second. A pace too
    slow is measured once more over the next stretch of the same length: on a busy machine a
    software-drawn frame may take longer than a slot for a while, which the pacing cannot help;
    a pace too fast (the fault these checks are for) fails at once."""
    # The counter writes every 0.2 s: the last presents of the stretch are in the file by then.
    wait_until(end + 0.5)
    if game.process.poll() is not None:
        print("check_pace: %s: the game ended with %d" % (label, game.process.returncode))
        return False
    kind, times = game.presents()
    summary = present_log.pace_summary(times, start, end)
    held = abs(summary["rate"] - pace) <= PACE_TOLERANCE
    print("check_pace: %s: %s, counted at %s%s" % (
        label, present_log.describe(summary), present_log.KIND_NAMES.get(kind, "nothing"),
        "" if held else " -- not %g +- 1 a second" % pace), flush=True)
    if not held and again and summary["rate"] < pace:
        return check_pace(game, label + ", measured again", end + 0.5, end + 0.5 + (end - start),
                          pace, again=False)
    return held


def check_layout(server, label, width, height):
    """Waits until the screen shows the picture laid out for a width x height screen."""
    from drive_game import letterbox_fault
    from Xlib import X, display

    rect = picture_rect(width, height)
    d = display.Display(server.name)
    try:
        deadline = time.monotonic() + LAYOUT_TIMEOUT
        while True:
            root = d.screen().root
            geometry = root.get_geometry()
            image = root.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF)
            fault = None
            if (geometry.width, geometry.height) != (width, height):
                fault = "the screen is %dx%d" % (geometry.width, geometry.height)
            else:
                fault = letterbox_fault(width, height, image.data, rect)
            if fault is None or time.monotonic() > deadline:
                break
            time.sleep(0.2)
    finally:
        d.close()
    if fault is not None:
        print("check_pace: %s: the picture is not laid out at %s: %s" % (label, rect, fault))
        return False
    print("check_pace: %s: the picture fills %d,%d %dx%d of the %dx%d screen" % (
        label, rect[0], rect[1], rect[2], rect[3], width, height), flush=True)
    return True


def run_steady(options, server, mode):
    width, height, hertz = mode
    reported = server.set_mode(width, height, hertz)
    label = "%dx%d at %.2f Hz" % (width, height, reported)
    game = Game(options, server)
    try:
        _, first = game.wait_first_present()
        start = first + options.settle
        return check_pace(game, label, start, start + options.seconds, expected_pace(reported))
    finally:
        game.stop()


def run_switches(options, server, modes):
    width, height, hertz = modes[0]
    reported = server.set_mode(width, height, hertz)
    game = Game(options, server)
    held = True
    try:
        _, first = game.wait_first_present()
        start = first + options.settle
        label = "%dx%d at %.2f Hz, from the start" % (width, height, reported)
        held &= check_pace(game, label, start, start + options.window, expected_pace(reported))
        held &= check_layout(server, label, width, height)
        for width, height, hertz in modes[1:]:
            reported = server.set_mode(width, height, hertz)
            switched = time.monotonic()
            label = "%dx%d at %.2f Hz, after the switch" % (width, height, reported)
            start = switched + SWITCH_SETTLE
            held &= check_pace(game, label, start, start + options.window,
                               expected_pace(reported))
            held &= check_layout(server, label, width, height)
    finally:
        game.stop()
    return held


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--game", required=True)
    parser.add_argument("--counter", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--settle", type=float, default=2.0)
    parser.add_argument("--seconds", type=float, default=10.0)
    parser.add_argument("--window", type=float, default=3.0)
    parser.add_argument("--present", choices=["opengl"],
                        help="show frames through OpenGL's own swap")
    parser.add_argument("--without-present", action="store_true",
                        help="start the server without its Present extension")
    parser.add_argument("check", choices=["steady", "switch"])
    parser.add_argument("modes", nargs="+", type=parse_mode)
    options = parser.parse_args()
    # A timeout's SIGTERM unwinds, so that the game and the server are stopped on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))

    missing = missing_tools(window_manager=True)
    if missing:
        print("check_pace: skipped, missing: %s (scripts/install-deps test)"
              % ", ".join(missing))
        return SKIPPED
    os.makedirs(options.work, exist_ok=True)
    off = ["Present"] if options.without_present else []
    with DummyXorg(options.work, extensions_off=off) as server:
        server.start_window_manager()
        if options.check == "steady":
            held = all([run_steady(options, server, mode) for mode in options.modes])
        else:
            held = run_switches(options, server, options.modes)
    return 0 if held else 1


if __name__ == "__main__":
    try:
        sys.exit(main())
    except RuntimeError as error:
        print("check_pace: %s" % error)
        sys.exit(1)
