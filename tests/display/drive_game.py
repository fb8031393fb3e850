#!/usr/bin/python3
"""Drives the game in a real window on an X display (Xvfb in CI): starts it, waits for its
window, runs a script of steps, and checks that it ends with exit code 0.

Steps, in order:
  wait:SECONDS           let the game run
  hold:KEY:SECONDS[:FRAMES]  hold a key (xdotool key names: Up, Left, Right, Escape), or
                         several at once joined by + (Up+Left); with FRAMES (and --trace), also
                         until the game has run that many frames since the press, however slowly
                         it runs (a busy machine may give it only a few frames a second)
  holdtill:KEY:EXPRESSION  with --trace: hold a key (or keys joined by +) until the expression
                         (as for expect:, over the marked row and the latest) holds; fail if it
                         has not within the timeout. Unlike a hold for a fixed time, a slow game
                         on a busy machine, or a key press that takes a while to arrive, still
                         gets there
  keydown:KEY / keyup:KEY  press or release a key and leave it so across the next steps
  shot:FILE              save the screen as a PNG (needs ImageMagick's import) or PPM
  notflat                fail unless the screen shows more than one colour within the timeout
                         (a slow start, as under the sanitizers, is given time to draw)
  shows:RRGGBB           fail unless nine tenths of the screen are that colour (a frame of a game
                         with nothing to draw but its clear colour)
  changed                fail unless the screen differs from the previous notflat/changed
  fills:X,Y,WIDTH,HEIGHT fail unless, within the timeout, the picture covers exactly that
                         rectangle of the screen: drawn up to each of its edges and not one flat
                         colour inside, black everywhere outside (the letterbox bars)
  resize:WIDTHxHEIGHT    resize the game window, as a user or the desktop would (with no window
                         manager the X server does it at once)
  unfocus / focus        take the input focus away from the game window, give it back
  minimize               ask the window manager to iconify the game window, as its minimise
                         button does, and wait until it has (needs --window-manager)
  restore                ask the window manager to bring it back and give it the focus
  cpu:SECONDS:PERCENT    fail if the game's process takes more than PERCENT of one core over
                         the next SECONDS (under Wine, the Windows program's own process)
  close                  ask the window to close, as a window manager's close button does
  icon:SIZE[,SIZE...]:FILE.ico  fail unless, within the timeout, the window offers the desktop
                         (_NET_WM_ICON) a picture of each of those square sizes, the same pixels
                         as that size's bitmap in the icon file
  expect-exit            wait for the game to end by itself (after Escape); the step before it
                         may end the game
  rows:N                 with --trace: fail unless the game has drawn exactly N frames so far
  mark                   with --trace: remember the latest row of the game's trace
  expect:EXPRESSION      with --trace: fail unless the Python expression holds, over `before`
                         (the marked row), `after` (the latest row) and `frames` (rows since the
                         mark); rows have the trace's columns as attributes (after.z, after.yaw)
"""
import argparse
import csv
import os
import struct
import subprocess
import sys
import threading
import time
import types

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


def is_flat(data):
    return len(set(data[i:i + 3] for i in range(0, len(data), 4 * 97))) < 2


def pixel_at(data, width, x, y):
    i = (y * width + x) * 4
    return data[i:i + 3]


def letterbox_fault(width, height, data, rect):
    """Why the screen does not show the picture in exactly rect, or None when it does."""
    left, top, w, h = rect
    right, bottom = left + w, top + h
    black = b"\0\0\0"
    # Linear scaling may blend the outermost row of the picture; bars start one pixel past it.
    lit_outside = [(x, y) for y in range(0, height, 8) for x in range(0, width, 8)
                   if not (left - 1 <= x <= right and top - 1 <= y <= bottom)
                   and pixel_at(data, width, x, y) != black]
    if lit_outside:
        return "%d samples outside the picture are not black, the first at %s" % (
            len(lit_outside), lit_outside[0])
    edges = {
        "left": [(left + 1, y) for y in range(top + 1, bottom - 1, 4)],
        "right": [(right - 2, y) for y in range(top + 1, bottom - 1, 4)],
        "top": [(x, top + 1) for x in range(left + 1, right - 1, 4)],
        "bottom": [(x, bottom - 2) for x in range(left + 1, right - 1, 4)],
    }
    for name, points in edges.items():
        dark = sum(1 for x, y in points if pixel_at(data, width, x, y) == black)
        if dark * 10 > len(points):
            return "the picture does not reach its %s edge (%d of %d samples black)" % (
                name, dark, len(points))
    inside = set(pixel_at(data, width, x, y)
                 for y in range(top, bottom, 7) for x in range(left, right, 7))
    if len(inside) < 16:
        return "the picture is nearly flat (%d colours)" % len(inside)
    return None


def start_window_manager(d, command, deadline):
    """Starts the window manager and waits until it has taken the screen."""
    manager = subprocess.Popen([command])
    selection = d.intern_atom("WM_S%d" % d.get_default_screen())
    while time.time() < deadline:
        if d.get_selection_owner(selection) != X.NONE:
            return manager
        if manager.poll() is not None:
            break
        time.sleep(0.1)
    manager.kill()
    return None


class FocusHolder:
    """A window of the check's own that keeps the focus, taking it back whenever it moves, until
    released. With no window manager running it also stands in for one that grants no window the
    focus (a desktop that withholds it from a new window): it announces itself as the EWMH window
    manager, so that a program leaves the focus to it, and then answers no request."""

    def __init__(self, deadline, announce):
        self.d = display.Display()
        screen = self.d.screen()
        self.window = screen.root.create_window(0, 0, 200, 100, 0, screen.root_depth,
                                                background_pixel=screen.white_pixel)
        self.window.set_wm_name("Elsewhere")
        if announce:
            check = self.d.intern_atom("_NET_SUPPORTING_WM_CHECK")
            for owner in (screen.root, self.window):
                owner.change_property(check, Xatom.WINDOW, 32, [self.window.id])
            self.window.change_property(self.d.intern_atom("_NET_WM_NAME"),
                                        self.d.intern_atom("UTF8_STRING"), 8, b"Elsewhere")
        while not self.holds():
            if time.time() > deadline:
                raise RuntimeError("drive_game: the window meant to hold the focus cannot take it")
            # A window manager that has only just taken the screen may drop a map request.
            self.window.map()
            self.d.sync()
            time.sleep(0.2)
        self.releasing = threading.Event()
        self.thread = threading.Thread(target=self.keep)
        self.thread.start()

    def holds(self):
        if self.window.get_attributes().map_state != X.IsViewable:
            return False
        if getattr(self.d.get_input_focus().focus, "id", None) != self.window.id:
            self.window.set_input_focus(X.RevertToParent, X.CurrentTime)
            self.d.sync()
        return getattr(self.d.get_input_focus().focus, "id", None) == self.window.id

    def keep(self):
        while not self.releasing.wait(0.005):
            self.holds()

    def release(self):
        if not self.releasing.is_set():
            self.releasing.set()
            self.thread.join()


def save_ppm(path, width, height, data):
    with open(path, "wb") as out:
        out.write(b"P6 %d %d 255\n" % (width, height))
        pixels = bytearray()
        for i in range(0, len(data), 4):
            pixels += bytes((data[i + 2], data[i + 1], data[i]))
        out.write(pixels)


def window_icons(d, window):
    """The pictures of the window's _NET_WM_ICON: (width, height) -> ARGB values, top row first."""
    prop = window.get_full_property(d.intern_atom("_NET_WM_ICON"), Xatom.CARDINAL)
    values = list(prop.value) if prop is not None else []
    icons = {}
    while len(values) >= 2:
        width, height = values[0], values[1]
        icons[(width, height)] = values[2:2 + width * height]
        values = values[2 + width * height:]
    return icons


def ico_bitmaps(path):
    """The bitmap entries of a .ico file: size -> ARGB values, top row first."""
    ico = open(path, "rb").read()
    bitmaps = {}
    for index in range(struct.unpack_from("<H", ico, 4)[0]):
        width, height, _, _, _, bits, _, offset = struct.unpack_from("<BBBBHHII", ico,
                                                                      6 + 16 * index)
        if width != height or width == 0 or bits != 32 or ico[offset:offset + 4] != b"(\0\0\0":
            continue  # PNG entries and other depths
        rows = ico[offset + 40:offset + 40 + width * width * 4]
        pixels = []
        for y in range(width - 1, -1, -1):  # stored bottom row first
            row = rows[y * width * 4:(y + 1) * width * 4]
            for blue, green, red, alpha in struct.iter_unpack("<4B", row):
                pixels.append(alpha << 24 | red << 16 | green << 8 | blue)
        bitmaps[width] = pixels
    return bitmaps


def icon_fault(d, window, sizes, bitmaps):
    icons = window_icons(d, window)
    for size in sizes:
        pixels = icons.get((size, size))
        if pixels is None:
            return "no %dx%d icon (the window offers %s)" % (size, size, sorted(icons))
        if pixels != bitmaps.get(size):
            return "the %dx%d icon is not the icon file's" % (size, size)
    return None


def close_window(d, window):
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(
        window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    d.flush()


ICONIC_STATE = 3


def window_state(d, window):
    """The ICCCM WM_STATE of the window (1 normal, 3 iconic), or None before a manager sets it."""
    wm_state = d.intern_atom("WM_STATE")
    try:
        prop = window.get_full_property(wm_state, wm_state)
    except Exception:
        return None
    return prop.value[0] if prop and prop.value else None


def send_to_root(d, window, message_type, data):
    event = protocol.event.ClientMessage(
        window=window, client_type=d.intern_atom(message_type), data=(32, data + [0] * (5 - len(data))))
    d.screen().root.send_event(
        event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    d.flush()


def cpu_seconds(pid):
    """User and system time the process has taken so far."""
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def read_trace(path):
    """The complete rows written so far, each as a namespace of floats."""
    try:
        with open(path, newline="") as source:
            text = source.read()
    except FileNotFoundError:
        return []
    # A row still being written has no line end yet.
    lines = text.splitlines(keepends=True)
    complete = [line for line in lines if line.endswith("\n")]
    rows = []
    for record in csv.DictReader(complete):
        rows.append(types.SimpleNamespace(**{k: float(v) for k, v in record.items()}))
    return rows


def latest_row(path, deadline):
    while time.time() < deadline:
        rows = read_trace(path)
        if rows:
            return rows
        time.sleep(0.1)
    return []


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--title", default="Skimlark")
    parser.add_argument("--timeout", type=float, default=30.0)
    parser.add_argument("--trace", help="the CSV file the game appends a row to every frame")
    parser.add_argument("--window-manager", help="a window manager to run during the check")
    parser.add_argument("--focus-elsewhere", action="store_true",
                        help="open a window of the check's own before the game starts and keep "
                             "the focus on it, taking it back whenever it moves, until the first "
                             "focus step; with no window manager, stand in for one that grants "
                             "no window the focus")
    parser.add_argument("steps", nargs="*")
    parser.add_argument("--", dest="dashdash")
    argv = sys.argv[1:]
    split = argv.index("--")
    options = parser.parse_args(argv[:split])
    command = argv[split + 1:]

    d = display.Display()
    manager = None
    if options.window_manager:
        manager = start_window_manager(d, options.window_manager, time.time() + options.timeout)
        if manager is None:
            print("drive_game: %s did not take the screen" % options.window_manager)
            return 1
    holder = None
    if options.focus_elsewhere:
        holder = FocusHolder(time.time() + options.timeout, announce=manager is None)
    try:
        return drive(d, options, command, holder)
    finally:
        if holder is not None:
            holder.release()
        if manager is not None:
            manager.terminate()
            manager.wait()


def drive(d, options, command, holder):
    game = subprocess.Popen(command)
    window = find_window(d, options.title, time.time() + options.timeout)
    if window is None:
        game.kill()
        print("drive_game: no window titled %r appeared" % options.title)
        return 1
    previous = None
    marked = None
    marked_count = 0
    for index, step in enumerate(options.steps):
        kind, _, rest = step.partition(":")
        if kind == "wait":
            time.sleep(float(rest))
        elif kind == "hold":
            keys, _, timing = rest.partition(":")
            seconds, _, frames = timing.partition(":")
            xdotool("keydown", *keys.split("+"))
            start = len(read_trace(options.trace)) if frames else 0
            time.sleep(float(seconds))
            deadline = time.time() + options.timeout
            while frames and len(read_trace(options.trace)) < start + int(frames):
                if time.time() > deadline:
                    print("drive_game: %s: the game ran fewer frames within %g s"
                          % (step, options.timeout))
                    game.kill()
                    return 1
                time.sleep(0.02)
            xdotool("keyup", *keys.split("+"))
        elif kind == "holdtill":
            keys, _, expression = rest.partition(":")
            xdotool("keydown", *keys.split("+"))
            deadline = time.time() + options.timeout
            held = False
            while not held and time.time() < deadline:
                rows = read_trace(options.trace)
                scope = {"before": marked, "after": rows[-1] if rows else None,
                         "frames": len(rows) - marked_count}
                held = marked is not None and bool(rows) and eval(expression, {}, scope)
                time.sleep(0.02)
            xdotool("keyup", *keys.split("+"))
            if not held:
                print("drive_game: %s did not come true within %g s" % (step, options.timeout))
                game.kill()
                return 1
            print("drive_game: %s came true" % step)
        elif kind == "keydown":
            xdotool("keydown", *rest.split("+"))
        elif kind == "keyup":
            xdotool("keyup", *rest.split("+"))
        elif kind == "mark":
            rows = latest_row(options.trace, time.time() + options.timeout)
            if not rows:
                print("drive_game: the game wrote no trace rows")
                game.kill()
                return 1
            marked, marked_count = rows[-1], len(rows)
        elif kind == "rows":
            drawn = len(read_trace(options.trace))
            if drawn != int(rest):
                print("drive_game: the game drew %d frames, not %s" % (drawn, rest))
                game.kill()
                return 1
        elif kind == "expect":
            rows = read_trace(options.trace)
            after = rows[-1] if rows else None
            frames = len(rows) - marked_count
            scope = {"before": marked, "after": after, "frames": frames}
            if marked is None or after is None or not eval(rest, {}, scope):
                print("drive_game: expected %s; frames=%d before=%s after=%s"
                      % (rest, frames, marked, after))
                game.kill()
                return 1
            print("drive_game: %s holds (frames=%d, before=%s, after=%s)"
                  % (rest, frames, marked, after))
        elif kind == "shot":
            width, height, data = screen_pixels(d)
            save_ppm(rest, width, height, data)
        elif kind in ("notflat", "changed"):
            width, height, data = screen_pixels(d)
            deadline = time.time() + options.timeout
            while kind == "notflat" and is_flat(data) and time.time() < deadline:
                time.sleep(0.2)
                width, height, data = screen_pixels(d)
            if kind == "notflat" and is_flat(data):
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
        elif kind == "fills":
            rect = [int(v) for v in rest.split(",")]
            deadline = time.time() + options.timeout
            while True:
                width, height, data = screen_pixels(d)
                fault = letterbox_fault(width, height, data, rect)
                if fault is None or time.time() > deadline:
                    break
                time.sleep(0.2)
            if fault is not None:
                print("drive_game: %s: %s" % (step, fault))
                game.kill()
                return 1
            print("drive_game: the picture fills %s of the %dx%d screen" % (rest, width, height))
        elif kind == "icon":
            sizes, _, path = rest.partition(":")
            sizes = [int(size) for size in sizes.split(",")]
            bitmaps = ico_bitmaps(path)
            deadline = time.time() + options.timeout
            fault = icon_fault(d, window, sizes, bitmaps)
            while fault is not None and time.time() < deadline:
                time.sleep(0.2)
                fault = icon_fault(d, window, sizes, bitmaps)
            if fault is not None:
                print("drive_game: %s: %s" % (step, fault))
                game.kill()
                return 1
            print("drive_game: the window shows the icon of %s at %s pixels"
                  % (os.path.basename(path), ",".join(map(str, sizes))))
        elif kind == "resize":
            w, _, h = rest.partition("x")
            window.configure(width=int(w), height=int(h))
            d.sync()
        elif kind == "unfocus":
            # To nobody rather than to the root window: with the root focused, keys go to the
            # window under the pointer, which a full-screen game window always is.
            d.set_input_focus(X.NONE, X.RevertToNone, X.CurrentTime)
            d.flush()
        elif kind == "focus":
            if holder is not None:
                holder.release()
            window.set_input_focus(X.RevertToPointerRoot, X.CurrentTime)
            d.flush()
        elif kind == "minimize":
            # What a minimise button does: ICCCM's WM_CHANGE_STATE to IconicState.
            send_to_root(d, window, "WM_CHANGE_STATE", [ICONIC_STATE])
            deadline = time.time() + options.timeout
            while window_state(d, window) != ICONIC_STATE and time.time() < deadline:
                time.sleep(0.1)
            if window_state(d, window) != ICONIC_STATE:
                print("drive_game: the window was not minimised (is a window manager running?)")
                game.kill()
                return 1
        elif kind == "restore":
            # A pager's request to activate the window, which also brings it back.
            send_to_root(d, window, "_NET_ACTIVE_WINDOW", [2, X.CurrentTime, 0])
            deadline = time.time() + options.timeout
            while window_state(d, window) == ICONIC_STATE and time.time() < deadline:
                time.sleep(0.1)
        elif kind == "cpu":
            seconds, _, limit = rest.partition(":")
            before = cpu_seconds(game.pid)
            time.sleep(float(seconds))
            used = (cpu_seconds(game.pid) - before) / float(seconds) * 100
            print("drive_game: the game took %.1f %% of a core over %s s" % (used, seconds))
            if used > float(limit):
                print("drive_game: more than %s %%" % limit)
                game.kill()
                return 1
        elif kind == "close":
            close_window(d, window)
        elif kind == "expect-exit":
            pass
        else:
            print("drive_game: unknown step %r" % step)
            game.kill()
            return 2
        ending = index + 1 < len(options.steps) and options.steps[index + 1] == "expect-exit"
        if game.poll() is not None and kind not in ("close", "expect-exit") and not ending:
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
