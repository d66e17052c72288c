"""The prefix's wineserver on the real or a fake time, and the running clock with its window,
menus and dialogs. One test at a time: a fake-time clock replaces the prefix's wineserver, which
ends every Wine process of the prefix."""

import atexit
import datetime
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

from .process import exe_path, wait_for, wine_env
from .screen import (click, key, ringing_windows, screenshot, wait_for_new_window, window_info,
                     windows_of_exe)
from .settings import make_settings, settings_file_size, settings_of

_LIBFAKETIME_CANDIDATES = (
    "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1",
    "/usr/lib/faketime/libfaketime.so.1",
)


def _wine_state_file():
    return os.path.join(os.environ["WINEPREFIX"], ".harness-fake-wineserver")


def _stop_wineserver():
    """Ends every process of the prefix and waits until its wineserver is gone."""
    for flag, timeout in (("-k", 30), ("-w", 60)):
        subprocess.run(["wineserver", flag], env=wine_env(), timeout=timeout,
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


def parse_faketime(when):
    """The fake-minus-real offset in seconds for a datetime, a local 'YYYY-MM-DD HH:MM:SS'
    (optionally with '@' in front) or a relative '+N'/'-N' with an optional s/m/h/d suffix."""
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
    """Restarts the prefix's wineserver under libfaketime; returns the offset used. Wine
    processes reckon wait deadlines on their clock and the server enforces them on its own: with
    a real-time server, a faked exe's timeouts fire at once or never."""
    _stop_wineserver()
    # Taken only now, after the old server is gone, so that the fake clock reads
    # `faketime` right when the exe is launched.
    offset = parse_faketime(faketime)
    with open(_wine_state_file(), "w") as f:
        f.write("%+.3f\n" % offset)
    if timestamp_file:
        _write_offset(timestamp_file, offset)
    # -p: stay up between clients, so the fake server is the one the exe connects to.
    subprocess.run(["wineserver", "-p"], env=wine_env(_faketime_env(offset, timestamp_file)),
                   timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
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

    def __init__(self, popen, workdir, log_path, fake_offset, timestamp_file=None):
        self.popen, self.pid, self.workdir, self.log_path = popen, popen.pid, workdir, log_path
        self.settings_path = os.path.join(workdir, "Settings.def")
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
        # override-redirect (menus and tooltips are) nor the window of a ringing alarm.
        ringing = ringing_windows()
        candidates = [w for w in self.windows() if not w.override_redirect and min(w.w, w.h) >= 16
                      and w.id not in ringing]
        return max(candidates, key=lambda w: (w.w * w.h, w.id), default=None)

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
        info = window_info(self.window)
        if info is None:
            raise AssertionError("the clock window 0x%x is not visible" % self.window)
        return info.x, info.y, info.w, info.h

    def center(self):
        x, y, w, h = self.geometry()
        return x + w // 2, y + h // 2

    def dial_pixel(self, shot=None):
        """A pixel of the dial's face clear of the hands, from `shot` or a new screenshot."""
        x, y = self.center()
        return (shot or screenshot()).pixel(x - 30, y + 30)

    # -- menus and dialogs

    def open_menu(self, at=None):
        """Right-clicks the clock (or the point `at`) and returns the menu that opens."""
        before = {w.id for w in self.windows()}
        click(*(at or self.center()), button=3)
        return wait_for_new_window(before, timeout=5, pid=self.pid)

    def wait_closed(self, window, what="the window to close"):
        wait_for(lambda: all(w.id != window.id for w in self.windows()), 5, what=what)

    def choose(self, keys, at=None):
        """Picks an item of the clock menu by `keys` and waits for the menu to close."""
        menu = self.open_menu(at)
        key(*keys)
        self.wait_closed(menu, "the menu to close")

    def wait_for_dialog(self, before):
        """The dialog (a window wider than any menu) that opened since the ids `before`."""
        return wait_for(lambda: [w for w in self.windows() if w.id not in before
                                 and not w.override_redirect and w.w > 150], 10,
                        what="the dialog")[0]

    def open_dialog(self, keys):
        """Picks an item of the clock menu by `keys` and returns the dialog it opens."""
        before = {w.id for w in self.windows()}
        menu = self.open_menu()
        key(*keys)
        return self.wait_for_dialog(before | {menu.id})

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

    def stop(self, timeout=10):
        """Ends the clock's process group; Wine's services have sessions of their own, so the
        wineserver and they keep running (unless this clock ran on a fake time)."""
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

    def wait_for_settings(self, predicate=None, timeout=5, what="Settings.def"):
        """The bytes of Settings.def once predicate(bytes) holds (by default: it is complete)."""
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

    def wait_for_field(self, name, value):
        """The bytes of Settings.def once it is complete and holds `value` in field `name`."""
        return self.wait_for_settings(
            lambda b: len(b) == settings_file_size() and settings_of(b)[name] == value,
            what="%s = %s in Settings.def" % (name, value))


def start_for(test, **fields):
    """A clock on settings with `fields` changed, stopped when `test` ends, once it has saved."""
    clock = start_clock(settings_bytes=make_settings(**fields))
    test.addCleanup(clock.stop)
    clock.wait_for_settings()
    return clock


def start_clock(workdir=None, settings_bytes=None, faketime=None, extra_env=None,
                timeout=30, wait=True, jumpable=False, exe=None):
    """Starts veltrano.exe (in a fresh folder unless `workdir`, on `settings_bytes` if given) and
    waits for its window unless not `wait`. `faketime` (see parse_faketime) is what the clock
    reads at launch, its window some 0.5-1.5 s later: start a Recorder first when a sound is due
    at once. `jumpable`: Clock.jump can move that time. `exe`: a copy to start instead."""
    base = tempfile.mkdtemp(prefix="veltrano-e2e-")
    _owned_dirs.append(base)
    if workdir is None:
        workdir = os.path.join(base, "work")
        os.makedirs(workdir)
    workdir = os.path.abspath(workdir)
    if settings_bytes is not None:
        with open(os.path.join(workdir, "Settings.def"), "wb") as f:
            f.write(bytes(settings_bytes))

    env, offset = wine_env(extra_env), 0.0
    timestamp_file = os.path.join(base, "faketime") if jumpable else None
    if faketime is not None:
        offset = _use_fake_wineserver(faketime, timestamp_file)
        env.update(_faketime_env(offset, timestamp_file))
    else:
        _use_real_wineserver()
    log_path = os.path.join(base, "veltrano.log")
    with open(log_path, "wb") as log:
        popen = subprocess.Popen(["wine", exe or exe_path()], cwd=workdir, env=env,
                                 stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                 start_new_session=True)
    clock = Clock(popen, workdir, log_path, offset, timestamp_file)
    if not wait:
        return clock
    try:
        clock.wait_for_window(timeout)
    except BaseException:
        clock.stop()
        raise
    return clock
