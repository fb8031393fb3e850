#!/usr/bin/python3
"""Runs the Windows game under Wine on a private Xvfb display and drives it with drive_game.py.

The game gets a directory of its own holding skimlark.exe and data/ (the game reads data/ from its
working directory), and a private Wine prefix, created on the first run, so that nothing of the
user's own Wine set-up is read or changed. The display is 1024 x 768, the game's full-screen size:
Xvfb cannot change its mode, and Wine's full-screen Direct3D device needs the desktop to match.

Usage: run_under_wine.py --exe EXE [--data DIR] --work DIR --prefix DIR [--timeout S]
                         [--dll-overrides LIST] [--trace FILE] [--plain] [--without NAME]
                         [--start-in DIR] [--expect-exit N] [--expect-line LINE]
                         [--with FILE]... [--desktop-setting NAME=NUMBER]... -- STEPS...
The steps are drive_game.py's. With --plain the program is only run, with the steps as its
arguments, and its exit code is the result; --expect-exit and --expect-line then ask for that
exit code and that last line on standard error instead. --without leaves one file out of data/;
--start-in starts the program in that folder (made inside the work folder) rather than its own;
--with copies another file beside the program (a program that starts it, say). --dll-overrides
adds to WINEDLLOVERRIDES (for example "d3d8=d" to run as on a system without Direct3D 8).
--trace names the CSV file, in the game's directory, that a traced build of the game writes and
the steps read. --desktop-setting sets a DWORD value of the prefix's HKCU\\Control Panel\\Desktop
before the run (LogPixels=144, say, for a display at 150 %); such runs want a prefix of their own.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DRIVE_GAME = os.path.join(HERE, "..", "display", "drive_game.py")
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from xvfb import start_xvfb  # noqa: E402


def wine_environment(prefix, display, overrides):
    env = dict(os.environ)
    env["WINEPREFIX"] = prefix
    env["WINEDEBUG"] = "-all"
    env["WINEARCH"] = "win64"
    # No offer to install Mono or Gecko while the prefix is made: nobody is there to answer it.
    env["WINEDLLOVERRIDES"] = ";".join(["mscoree=", "mshtml="] + ([overrides] if overrides else []))
    env["DISPLAY"] = display
    return env


def prepare_game_directory(work, exe, data, without=None, others=()):
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    shutil.copy2(exe, work)
    for other in others:
        shutil.copy2(other, work)
    if data is None:
        return
    if not os.path.isdir(data):
        raise RuntimeError("no data directory at %s: build the default preset first, whose "
                           "content tool makes it" % data)
    ignore = (lambda folder, names: [without] if without in names else []) if without else None
    shutil.copytree(data, os.path.join(work, "data"), ignore=ignore)


def main():
    argv = sys.argv[1:]
    if "--" not in argv:
        print(__doc__)
        return 2
    split = argv.index("--")
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--data")
    parser.add_argument("--work", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--timeout", type=float, default=120.0)
    parser.add_argument("--dll-overrides")
    parser.add_argument("--plain", action="store_true")
    parser.add_argument("--trace")
    parser.add_argument("--without")
    parser.add_argument("--start-in")
    parser.add_argument("--expect-exit", type=int)
    parser.add_argument("--expect-line")
    parser.add_argument("--with", dest="others", action="append", default=[])
    parser.add_argument("--desktop-setting", dest="desktop_settings", action="append", default=[])
    options = parser.parse_args(argv[:split])
    settings = [setting.split("=", 1) for setting in options.desktop_settings]
    if any(len(setting) != 2 or not setting[1].isdigit() for setting in settings):
        print("run_under_wine: --desktop-setting wants NAME=NUMBER, not %s"
              % options.desktop_settings)
        return 2
    steps = argv[split + 1:]

    for tool in ("wine", "wineserver", "Xvfb", "xdotool"):
        if shutil.which(tool) is None:
            print("run_under_wine: %s is not installed (scripts/install-deps test)" % tool)
            return 1

    try:
        prepare_game_directory(options.work, options.exe, options.data, options.without,
                               options.others)
    except RuntimeError as error:
        print("run_under_wine: %s" % error)
        return 1
    server, display = start_xvfb(1024, 768)
    env = wine_environment(os.path.abspath(options.prefix), display, options.dll_overrides)
    try:
        if not os.path.isdir(options.prefix):
            # Making the prefix takes far longer than any later start.
            print("run_under_wine: creating the Wine prefix %s" % options.prefix)
            subprocess.run(["wine", "wineboot", "--init"], env=env, timeout=600,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            subprocess.run(["wineserver", "--wait"], env=env, timeout=600)
        for name, value in settings:
            subprocess.run(["wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", name,
                            "/t", "REG_DWORD", "/d", value, "/f"], env=env, timeout=300,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        if settings:
            # The next process reads the registry from the saved prefix.
            subprocess.run(["wineserver", "--wait"], env=env, timeout=300)
        program = os.path.basename(options.exe)
        cwd = options.work
        if options.start_in:
            cwd = os.path.join(options.work, options.start_in)
            os.makedirs(cwd, exist_ok=True)
            program = os.path.abspath(os.path.join(options.work, program))
        if options.plain:
            checks = options.expect_exit is not None or options.expect_line is not None
            try:
                result = subprocess.run(["wine", program, *steps], env=env, cwd=cwd,
                                        timeout=options.timeout, text=True,
                                        stderr=subprocess.PIPE if checks else None)
            except subprocess.TimeoutExpired:
                print("run_under_wine: %s did not end within %g s" % (program, options.timeout))
                return 1
            print("run_under_wine: exit code %d" % result.returncode)
            if not checks:
                return result.returncode
            lines = result.stderr.strip().splitlines()
            last = lines[-1] if lines else ""
            print("run_under_wine: last line on standard error: %s" % last)
            if options.expect_exit is not None and result.returncode != options.expect_exit:
                print("run_under_wine: expected exit code %d" % options.expect_exit)
                return 1
            if options.expect_line is not None and last != options.expect_line:
                print("run_under_wine: expected the line: %s" % options.expect_line)
                return 1
            return 0
        traced = ["--trace", options.trace] if options.trace else []
        result = subprocess.run(
            [sys.executable, DRIVE_GAME, "--timeout", str(options.timeout), *traced, *steps, "--",
             "wine", program, *traced[1:]],
            env=env, cwd=cwd)
        return result.returncode
    finally:
        subprocess.run(["wineserver", "--kill"], env=env)
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
