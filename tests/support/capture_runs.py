"""Runs the two builds' capture tools for the checks that compare them: the Linux one in a work
folder of its own beside the data, the Windows one under Wine through run_under_wine.py. Each
returns the tool's standard output, and raises RuntimeError when the tool did not end with 0."""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RUN_UNDER_WINE = os.path.join(HERE, "..", "wine", "run_under_wine.py")


def _checked(result, build):
    if result.returncode != 0:
        raise RuntimeError("the %s capture ended with %d:\n%s%s"
                           % (build, result.returncode, result.stdout, result.stderr))
    return result.stdout


def run_linux_capture(capture, data, arguments, work, environment=None):
    """environment: variables set for the run over the caller's own."""
    os.makedirs(work)
    os.symlink(os.path.abspath(data), os.path.join(work, "data"))
    result = subprocess.run([os.path.abspath(capture), *arguments], cwd=work,
                            env={**os.environ, **(environment or {})},
                            capture_output=True, text=True, timeout=600)
    return _checked(result, "Linux")


def run_windows_capture(capture, data, prefix, arguments, work):
    result = subprocess.run(
        [sys.executable, RUN_UNDER_WINE, "--exe", capture, "--data", data, "--work", work,
         "--prefix", prefix, "--plain", "--timeout", "900", "--", *arguments],
        capture_output=True, text=True, timeout=1800)
    return _checked(result, "Windows")
