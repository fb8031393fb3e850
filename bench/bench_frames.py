#!/usr/bin/python3
"""Frame rate of the real game loop with its real presentation, per view and display.

Runs the six views of the parity check (the same keys and fixed clock) for at least 240 frames
each, unpaced, so that a frame's time is what it costs and not the refresh:
  window  the Linux game (skimlark-capture-window) on a 1024 x 768 Xvfb display, no window manager;
  full    the same on a 1920 x 1080 display with openbox, full screen (the picture scaled to fit);
and, given a Windows build, its skimlark-capture.exe under Wine on the 1024 x 768 display.
Each Linux build runs with the data/ of its own build directory, the Windows build with the
current Linux build's. The builds run alternately, view by view, in every round (the order
swapped each round), so that a busy machine slows them alike.

Prints per view and display the frames per second (from the mean frame time), the median and
99th-percentile frame time, and the ratios to the baseline and to the Windows build. The first
frames of every run (program compiles, first uploads) are left out.

With --gles, the current build runs a second time on an OpenGL ES 3.0 context (capture --gles;
label gles), alternating with its desktop OpenGL 3.3 runs like a build of its own; its rows show
the ratio of its frame rate to the desktop dialect's.

With --stages, the Linux builds instead time each frame's stages (--stage-times: the drawing is
finished at every change of stage, so they add up to more than a frame) and it prints each
stage's median in milliseconds.

With --paced, the Linux builds present as the game does, paced to 60 Hz, and each view runs for at
least 600 frames after the first 10: it prints per view and display the presents a second and the
share of 60 Hz slots missed (a gap between presents longer than 1.5 slots loses all but one of
the slots it spans), counted outside the game by the present counter (present_counter.so of the
--build directory, preloaded into every build's runs). The window capture tool presents unpaced,
as a Direct3D 8 program asking for D3DPRESENT_INTERVAL_IMMEDIATE does, unless given --paced: then
it presents with the game's own pacing (a baseline build must know the option). A tool that paces
wrongly shows here as more than 61 presents a second. The Windows build is not run paced.

Usage: bench_frames.py --build DIR [--baseline DIR] [--windows-build DIR] [--rounds N]
                       [--views start,volcano,...] [--displays window,full] [--stages | --paced]
                       [--gles]
                       [--work DIR]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "support"))
import present_log  # noqa: E402
from game_views import CLOCK_MS, VIEWS  # noqa: E402
from xvfb import start_xvfb  # noqa: E402

MIN_FRAMES = 240
WARM_UP_FRAMES = 10
# Paced, a view runs this many frames after its warm-up: enough for a stable share of slots.
PACED_FRAMES = 600
DISPLAYS = {"window": (1024, 768, False), "full": (1920, 1080, True)}


STAGES = ["start", "level", "water", "trees", "leaves", "sky", "spray", "present"]


def capture_arguments(view, times_file, stages=False, min_frames=MIN_FRAMES):
    frames, holds = VIEWS[view]
    arguments = ["--frames", str(max(frames, min_frames)), "--clock-ms", CLOCK_MS,
                 "--stage-times" if stages else "--frame-times", times_file]
    for hold in holds:
        arguments += ["--hold", hold]
    return arguments


def read_frame_times(path):
    """Each frame's time, or with stage times each frame's list of stage times."""
    with open(path) as csv:
        rows = [row.split(",")[1:] for row in csv.read().split("\n")[1:] if row.strip()]
    times = [[float(value) for value in row] for row in rows]
    if times and len(times[0]) == 1:
        times = [row[0] for row in times]
    return times[WARM_UP_FRAMES:]


class Display:
    """A private Xvfb display, with openbox on it when asked."""

    def __init__(self, width, height, window_manager):
        self.server, self.name = start_xvfb(width, height)
        self.manager = None
        if window_manager:
            self.manager = subprocess.Popen(["openbox"], env=self.environment(),
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1.0)

    def environment(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def close(self):
        for process in (self.manager, self.server):
            if process is not None:
                process.terminate()
                process.wait()


class LinuxRun:
    def __init__(self, label, build, work, counter, extra=()):
        self.label = label
        self.extra = list(extra)
        self.program = os.path.join(os.path.abspath(build), "skimlark-capture-window")
        self.counter = counter
        self.work = os.path.join(work, label)
        if not os.access(self.program, os.X_OK):
            raise RuntimeError("%s has no skimlark-capture-window: build it first" % build)
        os.makedirs(self.work, exist_ok=True)
        link = os.path.join(self.work, "data")
        if not os.path.exists(link):
            os.symlink(os.path.join(os.path.abspath(build), "data"), link)

    def run(self, view, display, stages=False):
        result = subprocess.run([self.program, *capture_arguments(view, "times.csv", stages),
                                 *self.extra],
                                cwd=self.work, env=display.environment(), capture_output=True,
                                text=True, timeout=900)
        if result.returncode != 0:
            raise RuntimeError("%s, view %s, ended with %d:\n%s%s" % (
                self.label, view, result.returncode, result.stdout, result.stderr))
        return read_frame_times(os.path.join(self.work, "times.csv"))

    def run_paced(self, view, display):
        """The times of the run's presents after its warm-up, in seconds."""
        if not os.path.isfile(self.counter):
            raise RuntimeError("%s is missing: build the present_counter target" % self.counter)
        frames = PACED_FRAMES + WARM_UP_FRAMES
        log = os.path.join(self.work, "presents.log")
        env = present_log.counter_environment(display.environment(), self.counter, log)
        result = subprocess.run(
            [self.program, *capture_arguments(view, "times.csv", min_frames=frames), "--paced",
             *self.extra],
            cwd=self.work, env=env, capture_output=True, text=True, timeout=900)
        if result.returncode != 0:
            raise RuntimeError("%s, view %s, ended with %d:\n%s%s" % (
                self.label, view, result.returncode, result.stdout, result.stderr))
        _, times = present_log.presents(present_log.read_log(log))
        if len(times) < frames:
            raise RuntimeError("%s, view %s: %d presents counted for %d frames or more" % (
                self.label, view, len(times), frames))
        return times[WARM_UP_FRAMES:]


class WineRun:
    def __init__(self, windows_build, data, work):
        self.label = "windows"
        self.work = os.path.join(work, "windows")
        self.prefix = os.path.join(os.path.abspath(windows_build), "wineprefix")
        exe = os.path.join(windows_build, "skimlark-capture.exe")
        if not os.path.isfile(exe):
            raise RuntimeError("%s has no skimlark-capture.exe: build the windows preset" %
                               windows_build)
        os.makedirs(self.work, exist_ok=True)
        shutil.copy2(exe, self.work)
        target = os.path.join(self.work, "data")
        if os.path.isdir(target):
            shutil.rmtree(target)
        shutil.copytree(os.path.join(data, "data"), target)

    def environment(self, display):
        env = display.environment()
        env.update({"WINEPREFIX": self.prefix, "WINEDEBUG": "-all", "WINEARCH": "win64",
                    "WINEDLLOVERRIDES": "mscoree=;mshtml="})
        return env

    def run(self, view, display, stages=False):
        env = self.environment(display)
        if not os.path.isdir(self.prefix):
            print("bench_frames: creating the Wine prefix %s" % self.prefix, flush=True)
            subprocess.run(["wine", "wineboot", "--init"], env=env, timeout=600,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            subprocess.run(["wineserver", "--wait"], env=env, timeout=600)
        result = subprocess.run(["wine", "skimlark-capture.exe",
                                 *capture_arguments(view, "times.csv")],
                                cwd=self.work, env=env, capture_output=True, text=True,
                                timeout=900)
        if result.returncode != 0:
            raise RuntimeError("the Windows build, view %s, ended with %d:\n%s%s" % (
                view, result.returncode, result.stdout, result.stderr))
        return read_frame_times(os.path.join(self.work, "times.csv"))

    def stop(self, display):
        subprocess.run(["wineserver", "--kill"], env=self.environment(display),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def percentile(values, fraction):
    ordered = sorted(values)
    index = min(len(ordered) - 1, max(0, int(round(fraction * len(ordered) + 0.5)) - 1))
    return ordered[index]


def figures(times):
    mean = statistics.fmean(times)
    return {"fps": 1000.0 / mean, "median": statistics.median(times),
            "p99": percentile(times, 0.99)}


def stage_figures(rows):
    return {stage: statistics.median(row[i] for row in rows) for i, stage in enumerate(STAGES)}


def paced_figures(runs):
    """Over every run of a view: presents a second, slots lost and in all, the longest gap."""
    presents = sum(len(times) - 1 for times in runs)
    seconds = sum(times[-1] - times[0] for times in runs)
    lost = slots = 0
    longest = 0.0
    for times in runs:
        run_lost, run_slots = present_log.missed_slots(times)
        lost += run_lost
        slots += run_slots
        longest = max([longest] + [b - a for a, b in zip(times, times[1:])])
    return {"rate": presents / seconds if seconds > 0 else 0.0, "lost": lost, "slots": slots,
            "missed": lost / slots if slots else 0.0, "longest_gap": longest}


def measure(display_name, runs, views, rounds, stages=False, paced=False):
    width, height, manager = DISPLAYS[display_name]
    display = Display(width, height, manager)
    times = {(run.label, view): [] for run in runs for view in views}
    try:
        for round_number in range(rounds):
            order = runs if round_number % 2 == 0 else list(reversed(runs))
            for view in views:
                for run in order:
                    if paced:
                        times[(run.label, view)].append(run.run_paced(view, display))
                    else:
                        times[(run.label, view)] += run.run(view, display, stages)
        for run in runs:
            if isinstance(run, WineRun):
                run.stop(display)
    finally:
        display.close()
    summary = paced_figures if paced else stage_figures if stages else figures
    return {key: summary(value) for key, value in times.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--baseline")
    parser.add_argument("--windows-build")
    parser.add_argument("--rounds", type=int, help="runs of every view (3; paced 1)")
    parser.add_argument("--views", default=",".join(VIEWS))
    parser.add_argument("--displays", default=",".join(DISPLAYS))
    parser.add_argument("--stages", action="store_true")
    parser.add_argument("--paced", action="store_true",
                        help="present at 60 Hz; print presents a second and slots missed")
    parser.add_argument("--gles", action="store_true",
                        help="also run the current build on an OpenGL ES 3.0 context")
    parser.add_argument("--work")
    options = parser.parse_args()
    if options.stages and options.paced:
        parser.error("--stages and --paced are separate runs")
    rounds = options.rounds or (1 if options.paced else 3)
    views = [view for view in options.views.split(",") if view]
    displays = [name for name in options.displays.split(",") if name]
    for name in views:
        if name not in VIEWS:
            parser.error("no view %r (views: %s)" % (name, ", ".join(VIEWS)))
    for name in displays:
        if name not in DISPLAYS:
            parser.error("no display %r (displays: %s)" % (name, ", ".join(DISPLAYS)))
    for tool in ["Xvfb"] + (["openbox"] if "full" in displays else []) + (
            ["wine"] if options.windows_build else []):
        if shutil.which(tool) is None:
            print("bench_frames: %s is not installed (scripts/install-deps test)" % tool)
            return 1

    work = options.work or tempfile.mkdtemp(prefix="bench-frames-")
    # Every build's presents are counted by this build's counter (an older one may have none).
    counter = os.path.join(os.path.abspath(options.build), "present_counter.so")
    linux_runs = [LinuxRun("current", options.build, work, counter)]
    if options.gles:
        linux_runs.append(LinuxRun("gles", options.build, work, counter, ["--gles"]))
    if options.baseline:
        linux_runs.append(LinuxRun("baseline", options.baseline, work, counter))
    wine_runs = []
    if options.windows_build and not options.stages and not options.paced:
        wine_runs.append(WineRun(options.windows_build, options.build, work))

    results = {}
    for name in displays:
        print("bench_frames: %s display..." % name, flush=True)
        runs = linux_runs + (wine_runs if DISPLAYS[name][:2] == (1024, 768) else [])
        results[name] = measure(name, runs, views, rounds, options.stages, options.paced)
    print()
    if options.paced:
        print("%-7s %-8s %-9s %10s %8s %14s %12s" % (
            "display", "view", "build", "presents/s", "missed", "slots lost", "longest gap"))
        unpaced = False
        for name in displays:
            for view in views:
                for label in sorted({label for (label, shown) in results[name] if shown == view}):
                    f = results[name][(label, view)]
                    unpaced |= f["rate"] > 61.0
                    print("%-7s %-8s %-9s %10.2f %7.2f%% %14s %10.1fms" % (
                        name, view, label, f["rate"], 100.0 * f["missed"],
                        "%d/%d" % (f["lost"], f["slots"]), 1000.0 * f["longest_gap"]))
        if unpaced:
            print("bench_frames: more than 61 presents a second: the capture tool ran faster than "
                  "the game's pace")
        return 0
    if options.stages:
        print("%-7s %-8s %-9s" % ("display", "view", "build") +
              "".join(" %7s" % stage for stage in STAGES) + " %7s" % "sum")
        for name in displays:
            for view in views:
                for label in sorted({label for (label, shown) in results[name] if shown == view}):
                    f = results[name][(label, view)]
                    print("%-7s %-8s %-9s" % (name, view, label) +
                          "".join(" %7.2f" % f[stage] for stage in STAGES) +
                          " %7.2f" % sum(f.values()))
        return 0
    print("%-7s %-8s %-9s %8s %9s %9s %10s %9s" % (
        "display", "view", "build", "fps", "median", "p99", "/baseline", "/windows") +
        (" %8s" % "/desktop" if options.gles else ""))
    for name in displays:
        for view in views:
            for label in sorted({label for (label, shown) in results[name] if shown == view}):
                f = results[name][(label, view)]
                versus_baseline = ""
                versus_windows = ""
                versus_desktop = ""
                if label == "gles":
                    versus_desktop = "%.3fx" % (f["fps"] / results[name][("current", view)]["fps"])
                if label == "current" and ("baseline", view) in results[name]:
                    versus_baseline = "%.2fx" % (f["fps"] / results[name][("baseline", view)]["fps"])
                if label == "current" and ("windows", view) in results[name]:
                    versus_windows = "%.2fx" % (f["fps"] / results[name][("windows", view)]["fps"])
                print("%-7s %-8s %-9s %8.1f %7.2fms %7.2fms %10s %9s" % (
                    name, view, label, f["fps"], f["median"], f["p99"], versus_baseline,
                    versus_windows) + (" %8s" % versus_desktop if options.gles else ""))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except RuntimeError as error:
        print("bench_frames: %s" % error)
        sys.exit(1)
