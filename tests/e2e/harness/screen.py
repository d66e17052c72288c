"""The X windows of the exe and of Wine's tray, screenshots, and xdotool's mouse and keyboard."""

import collections
import re
import subprocess
import time

from .process import exe_name, run, tool_env, wait_for, windows_path
import pnglib  # tools/, on the path the package sets

Window = collections.namedtuple("Window", "id x y w h override_redirect pid")


def window_info(wid):
    """Geometry of a mapped window, or None once it is unmapped or gone."""
    out = run(["xwininfo", "-id", str(wid)], check=False)

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
    m = re.search(r"=\s*(\d+)", run(["xprop", "-id", str(wid), "_NET_WM_PID"], check=False))
    pid = int(m.group(1)) if m else None
    return Window(wid, x, y, w, h, field("Override Redirect State") == "yes", pid)


def window_ids(name=None):
    """Ids of the visible X windows of the exe (menus included), without asking for more."""
    pattern = "^%s$" % re.escape(name or exe_name())
    out = run(["xdotool", "search", "--onlyvisible", "--classname", pattern], check=False)
    return {int(line) for line in out.split()}


def windows_of_exe(name=None, pid=None):
    """Visible X windows of the exe (all instances, or only process `pid`), by id. Wine sets
    WM_CLASS to the exe's name and _NET_WM_PID to the Linux PID on every window it maps; popup
    menus are override-redirect. Hidden helpers (such as "Default IME") are left out."""
    result = []
    for wid in sorted(window_ids(name)):
        info = window_info(wid)
        if info is None or info.w <= 1 or info.h <= 1:
            continue
        if pid is not None and info.pid is not None and info.pid != pid:
            continue
        result.append(info)
    return result


def wait_for_new_window(before, timeout=5, name=None, pid=None):
    """The newest visible window of the exe whose id is not in the set `before`."""
    return wait_for(lambda: [w for w in windows_of_exe(name, pid) if w.id not in before],
                    timeout, what="a new window of %s" % (name or exe_name()))[-1]


RINGING_TITLE = "闹铃"


def ringing_windows():
    """Ids of the visible ringing windows (an alarm's "闹铃"), of any clock."""
    out = run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % RINGING_TITLE],
              check=False)
    return {int(line) for line in out.split()}


def balloon_windows():
    """Ids of the balloons shown: Wine's tray shows each as a tooltip window of its explorer."""
    return {w.id for w in tray_windows() if w.override_redirect}


def tray_windows():
    """Visible windows of Wine's explorer, which shows the tray icons at the top-left."""
    return windows_of_exe("explorer.exe")


def screen_size():
    w, h = run(["xdotool", "getdisplaygeometry"]).split()
    return int(w), int(h)


def solid_png(path, width, height, rgb):
    """Writes a PNG of one colour; returns its Windows path."""
    with open(path, "wb") as f:
        f.write(pnglib.encode(width, height, bytes(rgb) * (width * height), channels=3))
    return windows_path(path)


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
            count += sum(1 for i in range(0, len(a), 3)
                         if max(abs(p - q) for p, q in zip(a[i:i + 3], b[i:i + 3])) > tolerance)
        return count

    def region_differs(self, other, rect=None, tolerance=0, min_pixels=1):
        """True when at least min_pixels pixels of rect differ from `other`."""
        return self.diff_count(other, rect, tolerance) >= min_pixels

    def count(self, predicate, rect=None):
        """Number of pixels in rect for which predicate((r, g, b)) holds."""
        return sum(1 for _, _, c in self.pixels(rect) if predicate(c))

    def bbox(self, predicate, rect=None):
        """Smallest (x, y, w, h) holding every pixel that matches, or None."""
        found = [(x, y) for x, y, c in self.pixels(rect) if predicate(c)]
        if not found:
            return None
        xs, ys = zip(*found)
        return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1

    def save(self, path):
        with open(path, "wb") as f:
            f.write(pnglib.encode(self.width, self.height, self.rgb, channels=3))


def screenshot(path=None):
    """Captures the whole screen; also writes it as PNG to `path` when given."""
    width, height = screen_size()
    rgb = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=tool_env(),
                         timeout=20, check=True).stdout
    image = Image(width, height, rgb)
    if path:
        image.save(path)
    return image


def xdotool(*args):
    run(["xdotool"] + [str(a) for a in args])


def focus(window_id):
    xdotool("windowfocus", "--sync", window_id)


def mouse_location():
    out = run(["xdotool", "getmouselocation", "--shell"])
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"])


def move(x, y):
    # --sync waits until the pointer has arrived, but hangs when it is already there.
    if mouse_location() != (int(x), int(y)):
        xdotool("mousemove", "--sync", x, y)


def click(x, y, button=1):
    # Moving first and waiting for the pointer to arrive makes Wine see the button
    # press at the right spot.
    move(x, y)
    xdotool("click", button)


def double_click(x, y, button=1, delay_ms=80):
    move(x, y)
    xdotool("click", "--repeat", 2, "--delay", delay_ms, button)


def drag(x0, y0, x1, y1, button=1, steps=10, step_delay=0.03):
    """Presses at (x0, y0), moves in steps to (x1, y1) and releases there."""
    move(x0, y0)
    xdotool("mousedown", button)
    time.sleep(step_delay)
    for i in range(1, steps + 1):
        move(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        time.sleep(step_delay)
    xdotool("mouseup", button)


def key(*keys, delay_ms=50):
    """Presses keys in turn, in xdotool names: key('Down', 'Right', 'Return')."""
    xdotool("key", "--delay", delay_ms, *keys)


def type_text(text, delay_ms=30):
    xdotool("type", "--delay", delay_ms, "--", text)
