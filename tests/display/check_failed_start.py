#!/usr/bin/python3
"""Starts the game in a folder whose data/ lacks one file and checks how the start-up fails: exit
code 1 and, as the last line on standard error, exactly the expected line.

Usage: check_failed_start.py --data DIR --without NAME --expect LINE [--timeout S] -- COMMAND...
The folder is made afresh beside this run (its data/ links to every file of DIR but NAME); the
command runs with it as the working directory.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile


def main():
    argv = sys.argv[1:]
    if "--" not in argv:
        print(__doc__)
        return 2
    split = argv.index("--")
    parser = argparse.ArgumentParser()
    parser.add_argument("--data", required=True)
    parser.add_argument("--without", required=True)
    parser.add_argument("--expect", required=True)
    parser.add_argument("--timeout", type=float, default=120.0)
    options = parser.parse_args(argv[:split])
    command = argv[split + 1:]
    if command and os.sep in command[0]:
        command[0] = os.path.abspath(command[0])  # it runs in another folder

    folder = tempfile.mkdtemp(prefix="skimlark-failed-start-")
    try:
        data = os.path.join(folder, "data")
        os.makedirs(data)
        names = os.listdir(options.data)
        if options.without not in names:
            print("check_failed_start: %s has no %s to leave out" % (options.data, options.without))
            return 1
        for name in names:
            if name != options.without:
                os.symlink(os.path.abspath(os.path.join(options.data, name)),
                           os.path.join(data, name))
        try:
            run = subprocess.run(command, cwd=folder, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                 timeout=options.timeout, text=True)
        except subprocess.TimeoutExpired:
            print("check_failed_start: the game did not end within %g s" % options.timeout)
            return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)

    lines = run.stderr.strip().splitlines()
    last = lines[-1] if lines else ""
    print("exit code %d, last line: %s" % (run.returncode, last))
    if run.returncode != 1 or last != options.expect:
        print("check_failed_start: expected exit code 1 and the line: %s" % options.expect)
        print(run.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
