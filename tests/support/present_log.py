"""Reads what the present counter (present_counter.so, preloaded) logged of a program's presents,
and measures their pace: presents a second over a stretch of time, and the 60 Hz slots lost (the
slots that elapsed less the presents made in them: game speed is per frame, so a run that lost 6 %
of its slots played 6 % slow, however its gaps were spread).

Timestamps are CLOCK_MONOTONIC seconds, the clock of Python's time.monotonic() on Linux, so a
script can mark moments (a mode switch) on the same time line as the presents.
"""
import os

SLOT = 1.0 / 60.0

# Which kind of call is the present, when the log has several: a present through the Present
# extension, else the OpenGL swap, else the picture put through shared memory. A path that puts
# the picture into a pixmap and then presents that pixmap logs both; the present is the frame.
KIND_ORDER = ["P", "S", "X"]
KIND_NAMES = {"P": "xcb_present_pixmap", "S": "SDL_GL_SwapWindow", "X": "XShmPutImage"}

COUNTER_ENVIRONMENT = "SKIMLARK_PRESENT_LOG"


def counter_environment(env, counter, log):
    """The environment that preloads the counter and names its log (which is emptied)."""
    if os.path.exists(log):
        os.unlink(log)
    env = dict(env)
    preload = env.get("LD_PRELOAD", "")
    env["LD_PRELOAD"] = os.path.abspath(counter) + (" " + preload if preload else "")
    env[COUNTER_ENVIRONMENT] = os.path.abspath(log)
    return env


def read_log(path):
    """Kind -> sorted timestamps in seconds. Only complete lines count (a killed program may
    leave half of one)."""
    kinds = {}
    try:
        with open(path) as source:
            text = source.read()
    except FileNotFoundError:
        return kinds
    for line in text.split("\n")[:-1]:
        kind, _, ns = line.partition(" ")
        if kind and ns.isdigit():
            kinds.setdefault(kind, []).append(int(ns) / 1e9)
    for times in kinds.values():
        times.sort()
    return kinds


def presents(kinds):
    """(kind, timestamps) of the calls that are the frames' presents, or (None, [])."""
    for kind in KIND_ORDER:
        if kinds.get(kind):
            return kind, kinds[kind]
    return None, []


def between(times, start, end):
    return [t for t in times if start <= t < end]


def rate(times, start, end):
    """Presents a second within [start, end)."""
    return len(between(times, start, end)) / (end - start)


def missed_slots(times, slot=SLOT):
    """(slots lost, slots elapsed) from the first present to the last: the slots that elapsed
    less the presents that followed the first (none lost where presents came faster)."""
    if len(times) < 2:
        return 0, 0
    elapsed = int(round((times[-1] - times[0]) / slot))
    return max(0, elapsed - (len(times) - 1)), elapsed


def pace_summary(times, start, end, slot=SLOT):
    """Presents a second, slots lost, the share lost and the longest gap over [start, end): the
    slots of the stretch less the presents in it."""
    inside = between(times, start, end)
    slots = int(round((end - start) / slot))
    lost = max(0, slots - len(inside))
    longest = max((b - a for a, b in zip(inside, inside[1:])), default=0.0)
    return {"rate": len(inside) / (end - start), "presents": len(inside), "lost": lost,
            "slots": slots, "missed": lost / slots if slots else 0.0, "longest_gap": longest}


def describe(summary):
    return "%.2f presents/s (%d), %d of %d 60 Hz slots lost (%.1f %%), longest gap %.1f ms" % (
        summary["rate"], summary["presents"], summary["lost"], summary["slots"],
        100.0 * summary["missed"], 1000.0 * summary["longest_gap"])
