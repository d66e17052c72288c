"""The exe under test, the environments of Wine and of the X tools, bounded runs and waits."""

import os
import subprocess
import time


def exe_path():
    path = os.environ.get("VELTRANO_EXE")
    if not path:
        raise RuntimeError("VELTRANO_EXE is not set (run the tests through scripts/testenv.sh)")
    return path


def exe_name():
    return os.path.basename(exe_path())


def windows_path(path):
    """The Windows name of a Linux path, on Wine's drive Z:."""
    return "Z:" + path.replace("/", "\\")


def wine_env(extra=None):
    # Wine takes its ANSI code page from the locale; zh_CN.UTF-8 gives 936.
    env = dict({"LC_ALL": "zh_CN.UTF-8", "WINEDEBUG": "-all", "WINEARCH": "win64"}, **os.environ)
    env.update(extra or {})
    return env


def tool_env():
    # zh_CN is not installed on the Linux side: X tools would warn about it on every call.
    return dict(os.environ, LC_ALL="C.UTF-8")


def run(args, timeout=10, check=True, env=None, input=None):
    """Runs a helper tool with a bounded time and returns its stdout as text."""
    proc = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          env=env if env is not None else tool_env(), timeout=timeout,
                          input=input)
    if check and proc.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (
            " ".join(args), proc.returncode, proc.stderr.decode(errors="replace").strip()))
    return proc.stdout.decode(errors="replace")


def run_wine(*args, timeout=60):
    """Runs a Wine program ("reg", "rundll32", ...) to its end; returns its output."""
    return run(["wine"] + list(args), timeout=timeout, env=wine_env())


def wait_for(predicate, timeout, interval=0.1, what=""):
    """Polls predicate() until it returns something truthy and returns that; AssertionError
    naming `what` when `timeout` seconds pass first."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError("timed out after %.1fs waiting for %s" % (
                timeout, what or getattr(predicate, "__name__", "condition")))
        time.sleep(interval)



def wait_until(wall_time, what):
    """Waits until the time.time() value `wall_time` has come."""
    wait_for(lambda: time.time() >= wall_time, max(0, wall_time - time.time()) + 5,
             interval=0.05, what=what)
