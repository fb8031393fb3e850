"""The views the parity check and the frame-rate benchmark run: each one's frames and held keys,
with the clock fixed. Between them every kind of draw is on screen: the level, the blended water
over the sand, the palms, their leaves, the sky and the spray."""

CLOCK_MS = "20000"

VIEWS = {
    # No keys: the current carries the player east from the start.
    "start": (30, []),
    # Forward, then a left turn while coasting: the spray's glow over much of the screen.
    "volcano": (60, ["UP@1-20", "LEFT@18-38"]),
    # Forward to the palms, turning right among them while they shed leaves.
    "trees": (150, ["UP@1-150", "RIGHT@125-150"]),
    # A right turn to the open sea in the south-east: the sky over the upper half, the sun in it.
    "sky": (120, ["UP@1-59", "RIGHT@1-59"]),
    # A left turn into the volcano's shore, where the collision holds the player: the water's
    # blend meets the sand and the slope.
    "shore": (120, ["UP@1-120", "LEFT@5-24"]),
    # The same approach held against the shore, then a short left turn along it: the volcano's
    # cliff and beach from a few units away, where the level's textures are seen up close.
    "closeup": (200, ["UP@1-200", "LEFT@5-24", "LEFT@150-156"]),
}


def capture_arguments(view):
    """The capture tool's arguments for a view: its keys and the fixed clock, with the trace, the
    particles and the picture of its last frame written to the work folder."""
    frames, holds = VIEWS[view]
    arguments = ["--frames", str(frames), "--clock-ms", CLOCK_MS]
    for hold in holds:
        arguments += ["--hold", hold]
    return arguments + ["--trace", "trace.csv", "--particles", "%d=particles.csv" % frames,
                        "--shot", "%d=shot.png" % frames]
