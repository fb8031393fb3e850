#!/usr/bin/python3
"""Drives the game in a real window on an X display (Xvfb in CI): starts it, waits for its
window, runs a script of steps, and checks that it ends with exit code 0.

Steps, in order:
  wait:SECONDS           let the game run
  hold:KEY:SECONDS       hold a key (xdotool key names: Up, Left, Right, Escape)
  press:KEY / release:KEY  put a key down, let it up (to hold several, or shoot while held)
  shot:FILE              save the screen as a PNG (needs ImageMagick's import) or PPM
  notflat                fail unless the screen shows more than one colour
  shows:RRGGBB           fail unless nine tenths of the screen are that colour (a frame of a game
                         with nothing to draw but its clear colour)
  changed                fail unless the screen differs from the previous notflat/changed
  mark                   remember the screen
  still                  measure how much of the screen changed since the mark with no key held
                         (the game's own animation), and mark again
  moved                  fail unless, since the mark, at least three times as much of the screen
                         changed as in the last still, and at least a tenth of it
  unfocus / focus        take the input focus away from the game window, give it back
  close                  ask the window to close, as a window manager's close button does
  expect-exit            wait for the game to end by itself (after Escape)
"""
import argparse
import subprocess
import sys
import time

from Xlib import X, Xatom, display, protocol


def find_window(d, title, deadline):
    while time.time() < deadline:
        found = []

        def walk(window):
            try:
                name = window.get_wm_name()
                children = window.query_tree().children
            except Exception:
                return
            if name == title:
                found.append(window)
            for child in children:
                walk(child)

        walk(d.screen().root)
        if found:
            return found[0]
        time.sleep(0.2)
    return None


def screen_pixels(d):
    root = d.screen().root
    geometry = root.get_geometry()
    image = root.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF)
    return geometry.width, geometry.height, image.data


def save_ppm(path, width, height, data):
    with open(path, "wb") as out:
        out.write(b"P6 %d %d 255\n" % (width, height))
        pixels = bytearray()
        for i in range(0, len(data), 4):
            pixels += bytes((data[i + 2], data[i + 1], data[i]))
        out.write(pixels)


def close_window(d, window):
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(
        window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    d.flush()


def changed_fraction(before, after):
    """The share of sampled pixels whose colour moved by more than a small step in any channel:
    slow shading changes (a texture turning, a colour ramp) count far less than objects moving."""
    samples = range(0, min(len(before), len(after)) - 3, 4 * 13)
    moved = sum(1 for i in samples
                if max(abs(before[i + c] - after[i + c]) for c in range(3)) > 40)
    return moved / max(1, len(samples))


# Keys put down by press and not yet let up.
pressed = set()


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--title", default="Skimlark")
    parser.add_argument("--timeout", type=float, default=30.0)
    parser.add_argument("steps", nargs="*")
    parser.add_argument("--", dest="dashdash")
    argv = sys.argv[1:]
    split = argv.index("--")
    options = parser.parse_args(argv[:split])
    command = argv[split + 1:]

    game = subprocess.Popen(command)
    d = display.Display()
    window = find_window(d, options.title, time.time() + options.timeout)
    if window is None:
        game.kill()
        print("drive_game: no window titled %r appeared" % options.title)
        return 1
    try:
        return run_steps(options, d, window, game)
    finally:
        # A failed step must not leave a key down on a display that others use next.
        for key in pressed:
            subprocess.run(["xdotool", "keyup", key])


def run_steps(options, d, window, game):
    previous = None
    marked = None
    idle = 0.0
    for step in options.steps:
        kind, _, rest = step.partition(":")
        if kind == "wait":
            time.sleep(float(rest))
        elif kind == "hold":
            key, _, seconds = rest.partition(":")
            xdotool("keydown", key)
            time.sleep(float(seconds))
            xdotool("keyup", key)
        elif kind == "press":
            xdotool("keydown", rest)
            pressed.add(rest)
        elif kind == "release":
            xdotool("keyup", rest)
            pressed.discard(rest)
        elif kind == "mark":
            marked = screen_pixels(d)[2]
        elif kind in ("still", "moved"):
            if marked is None:
                print("drive_game: %s needs a mark before it" % kind)
                game.kill()
                return 2
            data = screen_pixels(d)[2]
            fraction = changed_fraction(marked, data)
            print("drive_game: %s: %.3f of the screen changed" % (kind, fraction))
            if kind == "still":
                idle = fraction
                marked = data
            elif fraction < max(3 * idle, 0.1):
                print("drive_game: the view did not move (%.3f changed; %.3f with no key held)"
                      % (fraction, idle))
                game.kill()
                return 1
        elif kind == "shot":
            width, height, data = screen_pixels(d)
            save_ppm(rest, width, height, data)
        elif kind in ("notflat", "changed"):
            width, height, data = screen_pixels(d)
            if kind == "notflat" and len(set(data[i:i + 3] for i in range(0, len(data), 4 * 97))) < 2:
                print("drive_game: the screen is one flat colour")
                game.kill()
                return 1
            if kind == "changed" and previous == data:
                print("drive_game: the screen did not change")
                game.kill()
                return 1
            previous = data
        elif kind == "shows":
            width, height, data = screen_pixels(d)
            wanted = bytes.fromhex(rest)[::-1]  # the image is blue, green, red
            samples = range(0, len(data), 4 * 97)
            matching = sum(1 for i in samples if data[i:i + 3] == wanted)
            if matching * 10 < len(samples) * 9:
                print("drive_game: the screen does not show #%s" % rest)
                game.kill()
                return 1
        elif kind == "unfocus":
            d.screen().root.set_input_focus(X.RevertToPointerRoot, X.CurrentTime)
            d.flush()
        elif kind == "focus":
            window.set_input_focus(X.RevertToPointerRoot, X.CurrentTime)
            d.flush()
        elif kind == "close":
            close_window(d, window)
        elif kind == "expect-exit":
            pass
        else:
            print("drive_game: unknown step %r" % step)
            game.kill()
            return 2
        if game.poll() is not None and kind not in ("close", "expect-exit"):
            print("drive_game: the game ended early with %d" % game.returncode)
            return 1
    try:
        code = game.wait(timeout=options.timeout)
    except subprocess.TimeoutExpired:
        game.kill()
        print("drive_game: the game did not end")
        return 1
    print("drive_game: exit code %d" % code)
    return 0 if code == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
