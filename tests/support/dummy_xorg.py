"""A private Xorg server on the dummy video driver, for checks that need a display with a refresh
rate (Xvfb reports none): started on a free display number with a generated configuration,
openbox on it when asked, and modes added and switched with xrandr at a chosen size and rate.

    with DummyXorg(work_dir) as server:          # raises XorgMissing when it cannot run
        server.start_window_manager()
        rate = server.set_mode(1920, 1080, 144)  # the rate xrandr then reports, in Hz
        subprocess.run(..., env=server.environment())

Xorg as root reads any configuration file; it is told not to reset when its last client leaves,
not to listen on TCP, and to write its log into the work folder (the default log path may not be
writable, and a check should not touch it). A lock file left by a killed server is removed when
no process holds its display any more. The server is always killed on leaving the block.
"""
import ctypes
import os
import re
import shutil
import signal
import subprocess
import time

# Enough for a 1920 x 1080 screen at 32 bits a pixel, with room for the server's off-screen
# pixmaps (the dummy driver keeps them in the same memory). In kilobytes.
VIDEO_RAM_KB = 65536
# The largest screen the checks use; xrandr grows the screen to each mode up to this.
VIRTUAL_WIDTH, VIRTUAL_HEIGHT = 1920, 1080

XORG_CONF = """\
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam %(video_ram)d
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 1000.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual %(width)d %(height)d
    EndSubSection
EndSection
"""

DUMMY_DRIVER_PATHS = ["/usr/lib/xorg/modules/drivers/dummy_drv.so",
                      "/usr/lib64/xorg/modules/drivers/dummy_drv.so"]


def _die_with_parent():
    """In the child before exec: the kernel ends it when the script ends, even by SIGKILL (a
    timed-out check), so that no server or window manager is left behind."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class XorgMissing(Exception):
    """Xorg, its dummy driver or xrandr is not installed here, or this is not root: the caller
    skips."""


def missing_tools(window_manager=False):
    """What the dummy display needs and this machine lacks, as a list of names."""
    missing = [tool for tool in ["Xorg", "xrandr"] if shutil.which(tool) is None]
    if not any(os.path.exists(path) for path in DUMMY_DRIVER_PATHS):
        missing.append("the dummy video driver (xserver-xorg-video-dummy)")
    if window_manager and shutil.which("openbox") is None:
        missing.append("openbox")
    if os.geteuid() != 0:
        # Xorg takes a configuration file from anywhere, and runs without a seat, only for root.
        missing.append("root (Xorg with a configuration of its own)")
    return missing


def cvt_reduced_blanking(width, height, hertz):
    """A modeline by VESA's Coordinated Video Timings with reduced blanking (version 1), as
    `cvt -r` prints it: (name, pixel clock in MHz, the eight timings, flags). The clock is
    rounded down to a 0.25 MHz step, so the rate comes out a little under the one asked for."""
    cell = 8
    h_blank, h_sync, h_back_porch = 160, 32, 80
    v_front_porch, min_v_back_porch, min_v_blank_us = 3, 6, 460.0
    clock_step_mhz = 0.25
    active_width = width // cell * cell
    # The sync width tells a monitor the aspect ratio.
    aspects = [(4, 3, 4), (16, 9, 5), (16, 10, 6), (5, 4, 7), (15, 9, 7)]
    v_sync = next((lines for w, h, lines in aspects if height * w // h == width), 10)
    h_period_estimate_us = (1e6 / hertz - min_v_blank_us) / height
    vbi_lines = int(min_v_blank_us / h_period_estimate_us) + 1
    vbi_lines = max(vbi_lines, v_front_porch + v_sync + min_v_back_porch)
    v_total = height + vbi_lines
    h_total = active_width + h_blank
    clock = clock_step_mhz * int(hertz * v_total * h_total / 1e6 / clock_step_mhz)
    h_sync_start = active_width + h_blank - h_back_porch - h_sync
    timings = (active_width, h_sync_start, h_sync_start + h_sync, h_total,
               height, height + v_front_porch, height + v_front_porch + v_sync, v_total)
    name = "%dx%d_%d_rb" % (active_width, height, hertz)
    return name, clock, timings, ("+hsync", "-vsync")


def mode_rate(clock_mhz, timings):
    """The refresh rate a modeline gives, in Hz."""
    return clock_mhz * 1e6 / (timings[3] * timings[7])


def _display_in_use(number):
    if os.path.exists("/tmp/.X11-unix/X%d" % number):
        return True
    lock = "/tmp/.X%d-lock" % number
    try:
        with open(lock) as source:
            pid = int(source.read().strip() or 0)
    except (OSError, ValueError):
        return False
    if pid > 0 and os.path.exists("/proc/%d" % pid):
        return True
    # Left by a server that was killed: nobody holds that display any more.
    try:
        os.unlink(lock)
    except OSError:
        return True
    return False


class DummyXorg:
    def __init__(self, work, first_display=70, timeout=20.0, extensions_off=()):
        missing = missing_tools()
        if missing:
            raise XorgMissing("missing: %s (scripts/install-deps test)" % ", ".join(missing))
        self.work = os.path.abspath(work)
        self.first_display = first_display
        self.timeout = timeout
        # Extensions the server starts without (Present: no clock of its own to follow).
        self.extensions_off = list(extensions_off)
        self.server = None
        self.manager = None
        self.name = None
        self.output = None
        self.modes_added = set()

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *_):
        self.stop()

    def environment(self, base=None):
        env = dict(os.environ if base is None else base)
        env["DISPLAY"] = self.name
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("XAUTHORITY", None)
        return env

    def start(self):
        os.makedirs(self.work, exist_ok=True)
        config = os.path.join(self.work, "xorg.conf")
        with open(config, "w") as out:
            out.write(XORG_CONF % {"video_ram": VIDEO_RAM_KB, "width": VIRTUAL_WIDTH,
                                   "height": VIRTUAL_HEIGHT})
        last_error = "no free display number"
        for number in range(self.first_display, self.first_display + 30):
            if _display_in_use(number):
                continue
            log = os.path.join(self.work, "xorg.%d.log" % number)
            self.server = subprocess.Popen(
                ["Xorg", "-config", config, "-noreset", "-nolisten", "tcp", "-logfile", log,
                 "-novtswitch", "-sharevts"]
                + [a for name in self.extensions_off for a in ("-extension", name)]
                + [":%d" % number],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True,
                preexec_fn=_die_with_parent)
            self.name = ":%d" % number
            if self._wait_ready():
                self.output = self._connected_output()
                return
            last_error = "Xorg on :%d did not start (its log: %s)" % (number, log)
            self._kill(self.server)
            self.server = None
            # Another server may have taken the number between the check and the start.
        raise RuntimeError(last_error)

    def _wait_ready(self):
        deadline = time.time() + self.timeout
        while time.time() < deadline:
            if self.server.poll() is not None:
                return False
            probe = subprocess.run(["xrandr", "--current"], env=self.environment(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if probe.returncode == 0:
                return True
            time.sleep(0.2)
        return False

    def xrandr(self, *arguments):
        result = subprocess.run(["xrandr", *arguments], env=self.environment(),
                                capture_output=True, text=True, timeout=self.timeout)
        if result.returncode != 0:
            raise RuntimeError("xrandr %s failed: %s"
                               % (" ".join(arguments), result.stderr.strip()))
        return result.stdout

    def _connected_output(self):
        for line in self.xrandr("--current").splitlines():
            fields = line.split()
            if len(fields) > 1 and fields[1] == "connected":
                return fields[0]
        raise RuntimeError("the dummy server shows no connected output")

    def start_window_manager(self, command="openbox"):
        """Starts the window manager and waits until it has taken the screen (owns WM_S0)."""
        from Xlib import X, display

        self.manager = subprocess.Popen([command], env=self.environment(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        preexec_fn=_die_with_parent)
        d = display.Display(self.name)
        try:
            selection = d.intern_atom("WM_S0")
            deadline = time.time() + self.timeout
            while time.time() < deadline:
                if d.get_selection_owner(selection) != X.NONE:
                    return
                if self.manager.poll() is not None:
                    break
                time.sleep(0.1)
        finally:
            d.close()
        raise RuntimeError("%s did not take the screen" % command)

    def add_mode(self, width, height, hertz):
        """Adds the mode to the output's list (once; each time the output changes, so RandR
        tells its listeners, as when a monitor is plugged in); returns its name."""
        name, clock, timings, flags = cvt_reduced_blanking(width, height, hertz)
        if name not in self.modes_added:
            self.xrandr("--newmode", name, "%.2f" % clock, *[str(t) for t in timings], *flags)
            self.xrandr("--addmode", self.output, name)
            self.modes_added.add(name)
        return name

    def set_mode(self, width, height, hertz):
        """Adds the mode (once) and switches the output to it; returns the rate xrandr then
        reports as current, in Hz."""
        name = self.add_mode(width, height, hertz)
        self.xrandr("--output", self.output, "--mode", name)
        return self.current_mode()[2]

    def current_mode(self):
        """(width, height, rate in Hz) of the output, as xrandr reports it."""
        lines = self.xrandr("--current").splitlines()
        for index, line in enumerate(lines):
            if not line.startswith(self.output + " "):
                continue
            size = re.search(r" (\d+)x(\d+)\+\d+\+\d+", line)
            for mode_line in lines[index + 1:]:
                if not mode_line.startswith(" "):
                    break
                rates = [field for field in mode_line.split()[1:] if "*" in field]
                if size and rates:
                    return int(size.group(1)), int(size.group(2)), float(rates[0].strip("*+"))
        raise RuntimeError("xrandr shows no current mode on %s" % self.output)

    def stop(self):
        for process in (self.manager, self.server):
            if process is not None and process.poll() is None:
                self._kill(process)
        self.manager = self.server = None

    @staticmethod
    def _kill(process):
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
