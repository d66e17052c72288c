"""Drives the real veltrano.exe under Wine for end-to-end tests.

Meant to run inside scripts/testenv.sh, which provides a private X display, a private
PulseAudio daemon with a null sink and a fresh Wine prefix through the environment:
VELTRANO_EXE (Linux path of the x86_64 exe), WINEPREFIX, DISPLAY, VELTRANO_SINK.

Tests must run one at a time: a clock started with a fake time replaces the prefix's
wineserver, which ends every Wine process of the prefix.

Only the Python standard library is used; X, sound and time are reached through
xdotool, xwininfo, ImageMagick's import, parec, wineserver and libfaketime.
"""

import array
import atexit
import collections
import datetime
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import pnglib  # noqa: E402

__all__ = [
    "Clock", "start_clock", "wait_for", "Image", "screenshot", "screen_size",
    "click", "double_click", "drag", "move", "mouse_down", "mouse_up", "mouse_location",
    "key", "type_text", "Window", "windows_of_exe", "wait_for_new_window", "tray_windows",
    "Recorder",
    "make_settings", "add_alarm", "read_alarms", "settings_of", "encode_settings",
    "settings_file_size",
]

# --------------------------------------------------------------------------- basics


def exe_path():
    path = os.environ.get("VELTRANO_EXE")
    if not path:
        raise RuntimeError("VELTRANO_EXE is not set (run the tests through scripts/testenv.sh)")
    return path


def exe_name():
    return os.path.basename(exe_path())


def _wine_env(extra=None):
    env = dict(os.environ)
    # Wine takes its ANSI code page from the locale; zh_CN.UTF-8 gives 936.
    env.setdefault("LC_ALL", "zh_CN.UTF-8")
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEARCH", "win64")
    if extra:
        env.update(extra)
    return env


def _tool_env():
    # The zh_CN locale is not installed on the Linux side; X tools would warn about it
    # on every call.
    env = dict(os.environ)
    env["LC_ALL"] = "C.UTF-8"
    return env


def _run(args, timeout=10, check=True, env=None, input=None):
    """Runs a helper tool with a bounded time and returns its stdout as text."""
    proc = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          env=env if env is not None else _tool_env(), timeout=timeout,
                          input=input)
    if check and proc.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (
            " ".join(args), proc.returncode, proc.stderr.decode(errors="replace").strip()))
    return proc.stdout.decode(errors="replace")


def wait_for(predicate, timeout, interval=0.1, what=""):
    """Polls predicate() until it returns something truthy, and returns that value.

    Raises AssertionError naming `what` when `timeout` seconds pass first.
    """
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError("timed out after %.1fs waiting for %s" % (
                timeout, what or getattr(predicate, "__name__", "condition")))
        time.sleep(interval)


# --------------------------------------------------------------------------- windows

Window = collections.namedtuple("Window", "id x y w h override_redirect pid")


def _window_info(wid):
    """Geometry of a mapped window, or None once it is unmapped or gone."""
    out = _run(["xwininfo", "-id", str(wid)], check=False)

    def field(name):
        m = re.search(r"^\s*%s:\s*(\S+)" % re.escape(name), out, re.M)
        return m.group(1) if m else None

    if field("Map State") != "IsViewable":
        return None
    try:
        x, y = int(field("Absolute upper-left X")), int(field("Absolute upper-left Y"))
        w, h = int(field("Width")), int(field("Height"))
    except (TypeError, ValueError):
        return None
    pid = None
    m = re.search(r"=\s*(\d+)", _run(["xprop", "-id", str(wid), "_NET_WM_PID"], check=False))
    if m:
        pid = int(m.group(1))
    return Window(wid, x, y, w, h, field("Override Redirect State") == "yes", pid)


def windows_of_exe(name=None, pid=None):
    """Visible X windows of the exe (all instances, or only process `pid`).

    Wine sets WM_CLASS to the exe's file name for every window it maps, menus and
    dialogs included, and _NET_WM_PID to the Linux PID of the process. Popup menus are
    override-redirect windows. Hidden helper windows (such as "Default IME") are left out.
    """
    pattern = "^%s$" % re.escape(name or exe_name())
    out = _run(["xdotool", "search", "--onlyvisible", "--classname", pattern], check=False)
    result = []
    for line in out.split():
        info = _window_info(int(line))
        if info is None or info.w <= 1 or info.h <= 1:
            continue
        if pid is not None and info.pid is not None and info.pid != pid:
            continue
        result.append(info)
    return result


def wait_for_new_window(before_set, timeout=5, name=None, pid=None):
    """Waits for a visible window of the exe whose id is not in `before_set`.

    `before_set` holds ids (or Window tuples) taken before the action that should open
    it, e.g. {w.id for w in windows_of_exe()}. Returns the new Window; the newest one
    when several appeared.
    """
    before = {w.id if isinstance(w, Window) else int(w) for w in before_set}

    def new_windows():
        fresh = [w for w in windows_of_exe(name, pid) if w.id not in before]
        return sorted(fresh, key=lambda w: w.id)

    return wait_for(new_windows, timeout, what="a new window of %s" % (name or exe_name()))[-1]


def balloon_windows():
    """Ids of the balloons shown: Wine's tray shows one as a tooltip window of its explorer,
    beside the icon area."""
    return {w.id for w in tray_windows() if w.override_redirect}


def tray_windows():
    """Visible windows of Wine's explorer, which shows the tray icons at the top-left."""
    return windows_of_exe("explorer.exe")


# --------------------------------------------------------------------------- wineserver and time

_LIBFAKETIME_CANDIDATES = (
    "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1",
    "/usr/lib/faketime/libfaketime.so.1",
)


def _wine_state_file():
    return os.path.join(os.environ["WINEPREFIX"], ".harness-fake-wineserver")


def _stop_wineserver():
    """Ends every process of the prefix and waits until its wineserver is gone."""
    env = _wine_env()
    subprocess.run(["wineserver", "-k"], env=env, timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def _faketime_env(offset, timestamp_file=None):
    lib = next((p for p in _LIBFAKETIME_CANDIDATES if os.path.exists(p)), None)
    if lib is None:
        raise RuntimeError("libfaketime not found (install the faketime package)")
    preload = os.environ.get("LD_PRELOAD")
    env = {
        "LD_PRELOAD": lib + (":" + preload if preload else ""),
        # A fixed offset, not a start time: every process of the prefix then shares one
        # clock, whenever it starts, and a test can map fake time to wall-clock time.
        "FAKETIME": "%+.3fs" % offset,
        # Otherwise file times are shifted too, and Wine, seeing wine.inf "changed",
        # re-runs the prefix update (6 s, under the fake time).
        "NO_FAKE_STAT": "1",
    }
    if timestamp_file:
        # The offset is read from the file at every call, so rewriting it sets the clock as
        # a user or a time sync would; the system's uptime goes on untouched.
        del env["FAKETIME"]
        env.update(FAKETIME_TIMESTAMP_FILE=timestamp_file, FAKETIME_NO_CACHE="1",
                   FAKETIME_DONT_FAKE_MONOTONIC="1")
    return env


def _parse_faketime(when):
    """Returns the fake-minus-real offset in seconds for a faketime argument.

    Accepts a datetime, 'YYYY-MM-DD HH:MM:SS' (local time, optionally with '@' in front;
    the fake clock reads it when the harness starts the wineserver and runs on from
    there) or a relative '+N'/'-N' with an optional s/m/h/d suffix.
    """
    if isinstance(when, datetime.datetime):
        return when.timestamp() - time.time()
    text = str(when).strip()
    m = re.fullmatch(r"([+-]\d+(?:\.\d+)?)([smhd]?)", text)
    if m:
        return float(m.group(1)) * {"": 1, "s": 1, "m": 60, "h": 3600, "d": 86400}[m.group(2)]
    text = text.lstrip("@")
    for fmt in ("%Y-%m-%d %H:%M:%S", "%Y-%m-%d %H:%M:%S.%f", "%Y-%m-%d %H:%M"):
        try:
            target = datetime.datetime.strptime(text, fmt)
        except ValueError:
            continue
        return target.timestamp() - time.time()
    raise ValueError("unsupported faketime value: %r" % (when,))


def _use_fake_wineserver(faketime, timestamp_file=None):
    """Restarts the prefix's wineserver under libfaketime; returns the offset used.

    Wine processes compute wait deadlines on their own clock and the wineserver
    enforces them on its clock, so both must see the same fake time: with a real-time
    server, a faked exe's timeouts fire at once or never.
    """
    _stop_wineserver()
    # Taken only now, after the old server is gone, so that the fake clock reads
    # `faketime` right when the exe is launched.
    offset = _parse_faketime(faketime)
    with open(_wine_state_file(), "w") as f:
        f.write("%+.3f\n" % offset)
    if timestamp_file:
        _write_offset(timestamp_file, offset)
    # -p: stay up between clients, so the fake server is the one the exe connects to.
    subprocess.run(["wineserver", "-p"], env=_wine_env(_faketime_env(offset, timestamp_file)),
                   timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                   start_new_session=True)
    return offset


def _write_offset(timestamp_file, offset):
    # Written whole in one step: a reader must never see half a line.
    with open(timestamp_file + ".new", "w") as f:
        f.write("%+.3fs\n" % offset)
    os.replace(timestamp_file + ".new", timestamp_file)


def _use_real_wineserver():
    """Ends a fake-time wineserver left by an earlier clock; wine starts a real one."""
    if os.path.exists(_wine_state_file()):
        _stop_wineserver()
        os.remove(_wine_state_file())


def _restore_at_exit():
    # Other Wine users of the prefix (unit tests under ctest) must not meet a fake server.
    try:
        if os.environ.get("WINEPREFIX") and os.path.exists(_wine_state_file()):
            _use_real_wineserver()
    except Exception:
        pass


atexit.register(_restore_at_exit)


# --------------------------------------------------------------------------- the clock

_owned_dirs = []


def _cleanup_dirs():
    if os.environ.get("VELTRANO_E2E_KEEP"):
        return
    for d in _owned_dirs:
        shutil.rmtree(d, ignore_errors=True)


atexit.register(_cleanup_dirs)


class Clock:
    """A running veltrano.exe: its process, its X window and its working directory."""

    def __init__(self, popen, workdir, log_path, fake_offset, env, timestamp_file=None):
        self.popen = popen
        self._env = env
        self.pid = popen.pid
        self.workdir = workdir
        self.settings_path = os.path.join(workdir, "Settings.def")
        self.log_path = log_path
        # Seconds the clock's time runs ahead of the real time (0 without faketime).
        self.fake_offset = fake_offset
        self._timestamp_file = timestamp_file
        self.window = None

    # -- window

    def windows(self):
        """Visible windows of this process (clock, menus, dialogs)."""
        return windows_of_exe(pid=self.pid)

    def _find_main_window(self):
        # The clock is the largest visible top-level window of this process that is not
        # override-redirect (menus and tooltips are).
        candidates = [w for w in self.windows() if not w.override_redirect and w.w >= 16
                      and w.h >= 16]
        if not candidates:
            return None
        return max(candidates, key=lambda w: (w.w * w.h, w.id))

    def wait_for_window(self, timeout=30):
        def found():
            if self.popen.poll() is not None:
                raise AssertionError("veltrano.exe exited with %s before showing a window; "
                                     "output:\n%s" % (self.popen.returncode, self.output()))
            return self._find_main_window()

        self.window = wait_for(found, timeout, interval=0.1, what="the clock window").id
        return self.window

    def geometry(self):
        """(x, y, w, h) of the clock window on the screen."""
        info = _window_info(self.window)
        if info is None:
            raise AssertionError("the clock window 0x%x is not visible" % self.window)
        return info.x, info.y, info.w, info.h

    def center(self):
        x, y, w, h = self.geometry()
        return x + w // 2, y + h // 2

    # -- time

    def fake_now(self):
        """The clock's current time as a naive local datetime."""
        return datetime.datetime.fromtimestamp(time.time() + self.fake_offset)

    def jump(self, seconds):
        """Moves the clock's time by `seconds` at once (start_clock(jumpable=True))."""
        self.fake_offset += seconds
        _write_offset(self._timestamp_file, self.fake_offset)

    def real_time_of(self, fake):
        """time.time() value at which the clock will read `fake` (datetime or string)."""
        if not isinstance(fake, datetime.datetime):
            fake = datetime.datetime.strptime(str(fake).lstrip("@"), "%Y-%m-%d %H:%M:%S")
        return fake.timestamp() - self.fake_offset

    # -- lifetime

    def is_running(self):
        return self.popen.poll() is None

    def output(self):
        try:
            with open(self.log_path, "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def close(self, timeout=10):
        """Asks the clock to close as a user would (WM_CLOSE) and waits for its exit.

        Goes through `taskkill` without /f, so it reaches every instance of the exe.
        """
        if self.is_running():
            subprocess.run(["wine", "taskkill", "/im", exe_name()], env=self._env,
                           timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                self.popen.wait(timeout)
            except subprocess.TimeoutExpired:
                raise AssertionError("the clock did not close within %ss" % timeout)
        self._after_exit()

    def stop(self, timeout=10):
        """Ends the clock's process group (the exe and anything it started).

        Wine's own service processes put themselves in sessions of their own, so the
        wineserver and its services keep running (unless this clock ran on a fake time).
        """
        if self.is_running():
            for sig, wait_s in ((signal.SIGTERM, timeout), (signal.SIGKILL, 5)):
                try:
                    os.killpg(self.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    self.popen.wait(wait_s)
                    break
                except subprocess.TimeoutExpired:
                    continue
        # Members of the group may outlive the exe by a moment.
        try:
            os.killpg(self.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass
        self._after_exit()

    def _after_exit(self):
        if self.popen.returncode is None:
            try:
                self.popen.wait(5)
            except subprocess.TimeoutExpired:
                pass
        if self.fake_offset:
            _use_real_wineserver()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    # -- settings

    def read_settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read()

    def wait_for_settings(self, predicate=None, timeout=5,
                          what="Settings.def"):
        """Waits until Settings.def exists and predicate(bytes) holds (by default: it is
        complete); returns the bytes."""
        if predicate is None:
            size = settings_file_size()
            predicate = lambda b: len(b) == size  # noqa: E731

        def check():
            try:
                data = self.read_settings()
            except OSError:
                return None
            return data if predicate(data) else None

        return wait_for(check, timeout, what=what)


def start_clock(workdir=None, settings_bytes=None, faketime=None, extra_env=None,
                timeout=30, wait=True, jumpable=False, exe=None):
    """Starts veltrano.exe and waits for its window (not when `wait` is false). Returns a Clock.

    workdir: its working directory (a fresh temp dir when None).
    settings_bytes: written to "Settings.def" in workdir before the start.
    faketime: run the clock on a fake time that reads this local time when the exe is
        launched, e.g. '2026-12-07 10:59:58' (see _parse_faketime); its window shows
        about 0.5-1.5 s later, so start a Recorder before start_clock() when a sound is
        due within the first seconds. The prefix's wineserver is restarted under the
        same fake clock, and restarted on the real time when the clock is stopped.
    extra_env: more environment variables for the exe.
    jumpable: the fake time can be moved while the clock runs (Clock.jump).
    exe: a copy of the exe to start instead (under the same file name).
    """
    base = tempfile.mkdtemp(prefix="veltrano-e2e-")
    _owned_dirs.append(base)
    if workdir is None:
        workdir = os.path.join(base, "work")
        os.makedirs(workdir)
    workdir = os.path.abspath(workdir)
    if settings_bytes is not None:
        with open(os.path.join(workdir, "Settings.def"), "wb") as f:
            f.write(bytes(settings_bytes))

    env_extra = dict(extra_env or {})
    offset = 0.0
    timestamp_file = os.path.join(base, "faketime") if jumpable else None
    if faketime is not None:
        offset = _use_fake_wineserver(faketime, timestamp_file)
        env_extra.update(_faketime_env(offset, timestamp_file))
    else:
        _use_real_wineserver()

    log_path = os.path.join(base, "veltrano.log")
    env = _wine_env(env_extra)
    with open(log_path, "wb") as log:
        popen = subprocess.Popen(["wine", exe or exe_path()], cwd=workdir, env=env,
                                 stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                 start_new_session=True)
    clock = Clock(popen, workdir, log_path, offset, env, timestamp_file)
    if not wait:
        return clock
    try:
        clock.wait_for_window(timeout)
    except BaseException:
        clock.stop()
        raise
    return clock


# --------------------------------------------------------------------------- screen


def screen_size():
    w, h = _run(["xdotool", "getdisplaygeometry"]).split()
    return int(w), int(h)


def _png_bytes(width, height, rgb):
    return pnglib.encode(width, height, rgb, channels=3)


class Image:
    """An RGB picture: width, height and 3 bytes per pixel, rows top to bottom."""

    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise ValueError("expected %d bytes, got %d" % (width * height * 3, len(rgb)))
        self.width, self.height, self.rgb = width, height, bytes(rgb)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def _rect(self, rect):
        x, y, w, h = rect if rect is not None else (0, 0, self.width, self.height)
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        return x0, y0, max(x0, x1), max(y0, y1)

    def pixels(self, rect=None):
        """Yields (x, y, (r, g, b)) for every pixel of rect (x, y, w, h)."""
        x0, y0, x1, y1 = self._rect(rect)
        for y in range(y0, y1):
            row = y * self.width * 3
            for x in range(x0, x1):
                i = row + x * 3
                yield x, y, (self.rgb[i], self.rgb[i + 1], self.rgb[i + 2])

    def crop(self, rect):
        x0, y0, x1, y1 = self._rect(rect)
        rows = [self.rgb[(y * self.width + x0) * 3:(y * self.width + x1) * 3]
                for y in range(y0, y1)]
        return Image(x1 - x0, y1 - y0, b"".join(rows))

    def diff_count(self, other, rect=None, tolerance=0):
        """Number of pixels in rect whose channels differ by more than tolerance."""
        x0, y0, x1, y1 = self._rect(rect)
        count = 0
        for y in range(y0, y1):
            a = self.rgb[(y * self.width + x0) * 3:(y * self.width + x1) * 3]
            b = other.rgb[(y * other.width + x0) * 3:(y * other.width + x1) * 3]
            if a == b:
                continue
            for i in range(0, len(a), 3):
                if (abs(a[i] - b[i]) > tolerance or abs(a[i + 1] - b[i + 1]) > tolerance
                        or abs(a[i + 2] - b[i + 2]) > tolerance):
                    count += 1
        return count

    def region_differs(self, other, rect=None, tolerance=0, min_pixels=1):
        """True when at least min_pixels pixels of rect differ from `other`."""
        return self.diff_count(other, rect, tolerance) >= min_pixels

    def count(self, predicate, rect=None):
        """Number of pixels in rect for which predicate((r, g, b)) holds."""
        return sum(1 for _, _, c in self.pixels(rect) if predicate(c))

    def bbox(self, predicate, rect=None):
        """Smallest (x, y, w, h) holding every pixel that matches, or None."""
        xs, ys = [], []
        for x, y, c in self.pixels(rect):
            if predicate(c):
                xs.append(x)
                ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1

    def save(self, path):
        with open(path, "wb") as f:
            f.write(_png_bytes(self.width, self.height, self.rgb))


def screenshot(path=None):
    """Captures the whole screen; also writes it as PNG to `path` when given."""
    width, height = screen_size()
    rgb = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=_tool_env(),
                         timeout=20, check=True).stdout
    image = Image(width, height, rgb)
    if path:
        image.save(path)
    return image


# --------------------------------------------------------------------------- input


def _xdotool(*args):
    _run(["xdotool"] + [str(a) for a in args])


def mouse_location():
    out = _run(["xdotool", "getmouselocation", "--shell"])
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"])


def move(x, y):
    # --sync waits until the pointer has arrived, but hangs when it is already there.
    if mouse_location() != (int(x), int(y)):
        _xdotool("mousemove", "--sync", x, y)


def click(x, y, button=1):
    # Moving first and waiting for the pointer to arrive makes Wine see the button
    # press at the right spot.
    move(x, y)
    _xdotool("click", button)


def double_click(x, y, button=1, delay_ms=80):
    move(x, y)
    _xdotool("click", "--repeat", 2, "--delay", delay_ms, button)


def mouse_down(button=1):
    _xdotool("mousedown", button)


def mouse_up(button=1):
    _xdotool("mouseup", button)


def drag(x0, y0, x1, y1, button=1, steps=10, step_delay=0.03):
    """Presses at (x0, y0), moves in steps to (x1, y1) and releases there."""
    move(x0, y0)
    mouse_down(button)
    time.sleep(step_delay)
    for i in range(1, steps + 1):
        move(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        time.sleep(step_delay)
    mouse_up(button)


def key(*keys, delay_ms=50):
    """Presses keys in turn, in xdotool names: key('Down', 'Right', 'Return')."""
    _xdotool("key", "--delay", delay_ms, *keys)


def type_text(text, delay_ms=30):
    _xdotool("type", "--delay", delay_ms, "--", text)


# --------------------------------------------------------------------------- sound


class Recorder:
    """Records what is played into a PulseAudio sink (its monitor source).

        with Recorder() as rec:
            ...  # make the clock play something
        onsets = rec.onsets(threshold=1000)
        wall = [rec.wall_time(t) for t in onsets]

    Mono, 16-bit, `rate` samples per second. `start_time` is the time.time() of the
    first sample, so sound onsets can be related to wall-clock time.
    """

    def __init__(self, sink=None, rate=8000, path=None):
        self.sink = sink or os.environ.get("VELTRANO_SINK", "vsink")
        self.rate = rate
        self.path = path
        self.start_time = None
        self._data = bytearray()
        self._lock = threading.Lock()
        self._proc = None
        self._thread = None

    def start(self, timeout=10):
        # A small latency makes parec hand over data in small pieces, which dates the
        # first sample precisely and loses nothing when it is stopped.
        self._proc = subprocess.Popen(
            ["parec", "-d", self.sink + ".monitor", "--format=s16le", "--rate=%d" % self.rate,
             "--channels=1", "--latency-msec=20"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=_tool_env(),
            start_new_session=True)
        self._thread = threading.Thread(target=self._reader, daemon=True)
        self._thread.start()
        wait_for(lambda: self.start_time is not None or self._proc.poll() is not None, timeout,
                 interval=0.02, what="parec to deliver sound data")
        if self.start_time is None:
            raise RuntimeError("parec exited with %s (is PULSE_SERVER set?)"
                               % self._proc.returncode)
        return self

    def _reader(self):
        fd = self._proc.stdout.fileno()
        received = 0
        while True:
            chunk = os.read(fd, 4096)
            if not chunk:
                break
            now = time.time()
            received += len(chunk)
            # The last sample of this chunk was recorded no later than now, so the first
            # one no later than now - duration; the smallest such bound is the best.
            start = now - received / 2.0 / self.rate
            with self._lock:
                self._data += chunk
                if self.start_time is None or start < self.start_time:
                    self.start_time = start

    def stop(self):
        if self._proc and self._proc.poll() is None:
            self._proc.terminate()
            try:
                self._proc.wait(5)
            except subprocess.TimeoutExpired:
                self._proc.kill()
                self._proc.wait(5)
        if self._thread:
            self._thread.join(5)
        if self._proc:
            self._proc.stdout.close()
        if self.path:
            with open(self.path, "wb") as f:
                f.write(self.raw())
        return self

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def raw(self):
        with self._lock:
            return bytes(self._data[:len(self._data) // 2 * 2])

    def samples(self):
        a = array.array("h")
        a.frombytes(self.raw())
        if array.array("h", [1]).tobytes() != b"\x01\x00":
            a.byteswap()
        return a

    def duration(self):
        return len(self.raw()) / 2.0 / self.rate

    def wall_time(self, t):
        """time.time() value of the moment `t` seconds into the recording."""
        return self.start_time + t

    def time_of(self, wall):
        """Seconds into the recording of the time.time() value `wall`."""
        return wall - self.start_time

    def _windows(self, window_s):
        s = self.samples()
        n = max(1, int(round(window_s * self.rate)))
        for i in range(0, len(s), n):
            yield i / float(self.rate), s[i:i + n]

    def rms_windows(self, window_s=0.05):
        """[(t, rms)] for consecutive windows of window_s seconds."""
        return [(t, (sum(v * v for v in w) / len(w)) ** 0.5) for t, w in self._windows(window_s)]

    def peak_windows(self, window_s=0.01):
        """[(t, peak absolute sample)] for consecutive windows."""
        return [(t, max(abs(v) for v in w)) for t, w in self._windows(window_s)]

    def onsets(self, threshold=1000, min_silence=0.2, window_s=0.01):
        """Times (s into the recording) where the level rises above `threshold` (peak
        absolute sample value, 0..32767) after at least `min_silence` s below it.

        Sound already playing when the recording started is not an onset.
        """
        result = []
        silent_since = None
        for t, peak in self.peak_windows(window_s):
            if peak > threshold:
                if silent_since is not None and t - silent_since >= min_silence - 1e-9:
                    result.append(t)
                silent_since = None
            elif silent_since is None:
                silent_since = t
        return result

    def sound_spans(self, threshold=1000, min_silence=0.2, window_s=0.01):
        """[(start, end)] of the stretches above threshold, split at silences of at
        least min_silence s."""
        spans = []
        for t, peak in self.peak_windows(window_s):
            if peak > threshold:
                if spans and t - spans[-1][1] < min_silence:
                    spans[-1][1] = t + window_s
                else:
                    spans.append([t, t + window_s])
        return [tuple(s) for s in spans]


# --------------------------------------------------------------------------- Settings.def
#
# Settings files are read and written through the clock's own codec: the small native tool
# veltrano-settings (tools/settings_tool.cpp), built from the same core sources as the clock.

_TEXT_FIELDS = ("alarmSoundPath", "customFacePath", "customHourPath", "customMinutePath",
                "customSecondPath", "customCasePath", "shutdownTime")


def _settings_tool():
    path = os.environ.get("VELTRANO_SETTINGS_TOOL")
    if not path:
        raise RuntimeError("VELTRANO_SETTINGS_TOOL is not set (run the tests through ctest)")
    return path


def _text_bytes(text):
    # Texts in the file are in code page 936.
    return text.encode("gbk") if isinstance(text, str) else bytes(text)


def _camel(name):
    parts = name.split("_")
    return parts[0] + "".join(p[:1].upper() + p[1:] for p in parts[1:])


def settings_file_size():
    """The size of a complete Settings.def, as the codec writes it."""
    return int(_run([_settings_tool(), "size"]))


def settings_of(data):
    """The fields of Settings.def bytes as the clock reads them.

    Integers as int, texts as bytes (code page 936), zoom as a float (NaN and infinities
    kept), alarmCount as stored and alarms as [(enabled, time bytes, reminder bytes)] for the
    entries the count covers.
    """
    with tempfile.NamedTemporaryFile(suffix=".def") as f:
        f.write(bytes(data))
        f.flush()
        out = _run([_settings_tool(), "decode", f.name])
    fields = {"alarms": []}
    for line in out.splitlines():
        name, _, value = line.partition("=")
        if name == "alarm":
            enabled, time_hex, reminder_hex = (value.split(" ") + ["", ""])[:3]
            fields["alarms"].append((int(enabled), bytes.fromhex(time_hex),
                                     bytes.fromhex(reminder_hex)))
        elif name == "zoom":
            fields["zoom"] = struct.unpack("<f", struct.pack("<I", int(value, 16)))[0]
        elif name in _TEXT_FIELDS:
            fields[name] = bytes.fromhex(value)
        else:
            fields[name] = int(value)
    return fields


def encode_settings(fields):
    """Settings.def bytes (a bytearray) for a dict as settings_of gives it; missing fields keep
    their defaults."""
    lines = []
    for name, value in fields.items():
        if name == "alarms":
            for enabled, time_text, reminder in value:
                lines.append("alarm=%d %s %s" % (enabled, _text_bytes(time_text).hex(),
                                                 _text_bytes(reminder).hex()))
        elif name == "zoom":
            lines.append("zoom=%08x" % struct.unpack("<I", struct.pack("<f", float(value)))[0])
        elif name in _TEXT_FIELDS:
            lines.append("%s=%s" % (name, _text_bytes(value).hex()))
        else:
            lines.append("%s=%d" % (name, int(value)))
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "Settings.def")
        _run([_settings_tool(), "encode", path], input="\n".join(lines).encode())
        with open(path, "rb") as f:
            return bytearray(f.read())


def make_settings(**fields):
    """A full Settings.def (bytearray) from the defaults, with `fields` changed.

    Field names as the clock's (styleIndex=2 or style_index=2); texts as str (encoded in code
    page 936) or bytes; zoom as a float; alarms as [(enabled, time, reminder)]; alarmCount
    to store a count other than the number of alarms.
    """
    return encode_settings({_camel(name): value for name, value in fields.items()})


def add_alarm(b, time_text, reminder=b"", enabled=1):
    """Appends an alarm to the settings bytes `b` (a bytearray, changed in place) and
    returns the index of the new entry."""
    fields = settings_of(b)
    fields.pop("alarmCount")
    fields["alarms"].append((enabled, time_text, reminder))
    b[:] = encode_settings(fields)
    return len(fields["alarms"]) - 1


def read_alarms(b):
    """[(enabled, time bytes, reminder bytes)] of the entries the count covers."""
    return settings_of(b)["alarms"]
