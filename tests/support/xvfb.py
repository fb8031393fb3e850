"""A private Xvfb display of a given size, for the checks and benchmarks that need their own."""
import os
import subprocess


def start_xvfb(width, height, extra=()):
    """Starts Xvfb on a free display; returns the process and the display's name."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
         "-nolisten", "tcp", *extra],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        server.kill()
        raise RuntimeError("Xvfb did not start")
    return server, ":" + number
