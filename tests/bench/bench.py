"""`make bench`: the clock's speed, cost and precision as figures anyone can reproduce.

Runs inside scripts/testenv.sh. Prints a table and writes the figures to a JSON file:
  - the size of the shipped x64 and x86 programs;
  - compose and compose+show per look at zoom 1.0, 1.5 and 2.0 at 96, 144 and 192 DPI
    (median and p99), and the working-set, heap, GDI, USER and handle growth over many frames
    and wakes, from the in-process benchmark program (veltrano_bench.exe);
  - the CPU share of the clock process, Wine's server and the X server over a time left alone
    and over a time of hover fades at 20 %, and the second hand's latency measured on the
    screen (the time between the start of a second and the first screen change that shows it),
    from the real veltrano.exe; its CPU shares and working set left alone at 96 and 192 DPI;
  - the same CPU shares for a bare layered window showing two fixed frames in turn once a
    second (veltrano_bench.exe --reference), at 96 and 192 DPI: the floor the idle clock is
    measured against.

Usage: python3 bench.py BENCH_EXE OUT_JSON [--quick]
"""

import ctypes
import json
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import harness as h  # noqa: E402
from test_high_dpi import DESKTOP_KEY, set_dpi  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


# --------------------------------------------------------------------------- processes


def cpu_seconds(pid):
    """User plus system CPU time of a Linux process so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def wineserver_pid():
    """The wineserver of this environment's prefix: it works in a folder named after the
    prefix's device and inode."""
    prefix = os.stat(os.environ["WINEPREFIX"])
    folder = "server-%x-%x" % (prefix.st_dev, prefix.st_ino)
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/comm" % name) as f:
                if not f.read().strip().startswith("wineserver"):
                    continue
            if os.path.basename(os.readlink("/proc/%s/cwd" % name)) == folder:
                return int(name)
        except OSError:
            continue
    raise RuntimeError("no wineserver for %s" % os.environ["WINEPREFIX"])


def working_set_kb(pid):
    """Resident memory of a Linux process: what Wine reports as its working set."""
    with open("/proc/%d/status" % pid) as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))


def watched_pids(pid):
    return {"clock": pid, "wineserver": wineserver_pid(),
            "X": int(os.environ["TESTENV_XVFB_PID"])}


def cpu_shares(pids, seconds, activity=None):
    """Percent of one core each process used over `seconds`, while `activity()` runs."""
    before = {name: cpu_seconds(pid) for name, pid in pids.items()}
    start = time.monotonic()
    deadline = start + seconds
    while time.monotonic() < deadline:
        if activity:
            activity()
        else:
            time.sleep(min(1.0, deadline - time.monotonic()))
    elapsed = time.monotonic() - start
    return {name: 100.0 * (cpu_seconds(pid) - before[name]) / elapsed
            for name, pid in pids.items()}


# --------------------------------------------------------------------------- the screen


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class ScreenRegion:
    """Reads a rectangle of the screen again and again into one image (XGetSubImage)."""

    ALL_PLANES = 0xFFFFFFFF
    Z_PIXMAP = 2

    def __init__(self, x, y, w, h):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                       ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                       ctypes.c_ulong, ctypes.c_int]
        self.x11.XGetSubImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                          ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                          ctypes.c_ulong, ctypes.c_int,
                                          ctypes.POINTER(XImage), ctypes.c_int, ctypes.c_int]
        self.display = self.x11.XOpenDisplay(None)
        self.root = self.x11.XDefaultRootWindow(self.display)
        self.rect = (x, y, w, h)
        self.image = self.x11.XGetImage(self.display, self.root, x, y, w, h, self.ALL_PLANES,
                                        self.Z_PIXMAP)
        self.size = self.image.contents.bytes_per_line * h

    def grab(self):
        x, y, w, h = self.rect
        self.x11.XGetSubImage(self.display, self.root, x, y, w, h, self.ALL_PLANES,
                              self.Z_PIXMAP, self.image, 0, 0)
        return ctypes.string_at(self.image.contents.data, self.size)


def second_hand_latency(clock, seconds):
    """Milliseconds from the start of each second to the first screen change in it."""
    region = ScreenRegion(*clock.geometry())
    changes = []
    previous = region.grab()
    start = time.time()
    while time.time() - start < seconds:
        picture = region.grab()
        at = time.time()
        if picture != previous:
            changes.append(at)
            previous = picture
    latencies = []
    for second in range(int(start) + 1, int(start + seconds)):
        first = next((t for t in changes if t >= second), None)
        if first is not None and first < second + 1:
            latencies.append(1000.0 * (first - second))
    return latencies


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))] if ordered else float("nan")


# --------------------------------------------------------------------------- the runs


def run_program_bench(exe, quick):
    args = ["wine", exe] + (["200", "5000"] if quick else [])
    out = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         timeout=3600, check=False).stdout.decode()
    return json.loads(out[out.index("{"):out.rindex("}") + 1])


# The clock is measured at 20 %, so the pointer makes it fade up and down.
DIMMED_OPACITY_INDEX = 4


def run_reference(exe, seconds):
    """CPU of the least a layered clock does: two fixed frames shown in turn once a second,
    at the clock's opacity."""
    reference = subprocess.Popen(["wine", exe, "--reference", str(DIMMED_OPACITY_INDEX)],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(5)  # let start-up settle
        return cpu_shares(watched_pids(reference.pid), seconds)
    finally:
        reference.kill()
        reference.wait()


BASE_DPI, HIGH_DPI = 96, 192


def prefix_dpi():
    """The prefix's LogPixels; Wine takes the base DPI where it is not set."""
    out = h.run(["wine", "reg", "query", DESKTOP_KEY, "/v", "LogPixels"], timeout=60,
                check=False, env=h.wine_env())
    value = [word for word in out.split() if word.startswith("0x")]
    return int(value[0], 16) if value else BASE_DPI


def run_high_dpi_idle(exe, settings, seconds):
    """The clock and the reference left alone on a monitor at 200 %, the prefix's DPI put back
    after."""
    dpi = prefix_dpi()
    set_dpi(HIGH_DPI)
    try:
        reference = run_reference(exe, seconds)
        with h.start_clock(settings_bytes=settings) as clock:
            x, y, w, hgt = clock.geometry()
            h.move(x - 100, y + hgt + 100)
            time.sleep(5)  # let start-up settle
            return {"high_dpi_reference_cpu_percent": reference,
                    "high_dpi_cpu_percent": cpu_shares(watched_pids(clock.pid), seconds),
                    "high_dpi_working_set_kb": working_set_kb(clock.pid), "high_dpi_width": w}
    finally:
        set_dpi(dpi)


def run_screen_bench(exe, quick):
    idle_seconds, fade_seconds, latency_seconds = (10, 10, 20) if quick else (60, 60, 120)
    reference = run_reference(exe, idle_seconds)
    settings = h.make_settings(opacityIndex=DIMMED_OPACITY_INDEX)
    with h.start_clock(settings_bytes=settings) as clock:
        time.sleep(5)  # let start-up settle
        pids = watched_pids(clock.pid)
        idle = cpu_shares(pids, idle_seconds)
        idle_kb = working_set_kb(clock.pid)
        x, y, w, hgt = clock.geometry()

        # Wine sends the hover notification some 400 ms after the pointer comes to rest; then
        # the clock fades in over 240 ms, and back out once the pointer has left.
        def hover():
            h.move(x + w // 2 + 25, y + hgt // 2 - 25)
            time.sleep(0.8)
            h.move(x - 100, y + hgt + 100)
            time.sleep(0.5)

        fades = cpu_shares(pids, fade_seconds, hover)
        h.move(x - 100, y + hgt + 100)
        time.sleep(1)
        latencies = second_hand_latency(clock, latency_seconds)
    return {**run_high_dpi_idle(exe, settings, idle_seconds),
            "idle_cpu_percent": idle, "fade_cpu_percent": fades, "idle_working_set_kb": idle_kb,
            "reference_cpu_percent": reference,
            "idle_seconds": idle_seconds, "fade_seconds": fade_seconds,
            "second_hand_latency_ms": {"seconds": latency_seconds, "count": len(latencies),
                                       "p50": percentile(latencies, 0.5),
                                       "p99": percentile(latencies, 0.99),
                                       "max": max(latencies) if latencies else float("nan")}}


def program_sizes():
    """Bytes of the shipped programs, named by VELTRANO_PROGRAM_X64 and VELTRANO_PROGRAM_X86."""
    return {arch: os.path.getsize(os.environ["VELTRANO_PROGRAM_" + arch.upper()])
            for arch in ("x64", "x86")}


def print_table(figures):
    print("Veltrano benchmarks (this machine, under Wine)")
    print()
    print("program size: " + ", ".join("%s %d bytes (%.0f KB)" % (arch, size, size / 1024.0)
                                       for arch, size in figures["program_bytes"].items()))
    print()
    print("%-6s %-5s %-4s %6s  %-22s %-22s" % ("look", "zoom", "dpi", "size",
                                               "compose ms (med / p99)",
                                               "compose+show ms (med / p99)"))
    rows = figures["program"]["frames"]
    for row in rows:
        print("%-6d %-5.1f %-4d %6d  %9.3f / %-10.3f %9.3f / %-10.3f" % (
            row["look"], row["zoom"], row["dpi"], row["width"], row["compose_median_ms"],
            row["compose_p99_ms"], row["show_median_ms"], row["show_p99_ms"]))
    for look in sorted({r["look"] for r in rows}):
        by_zoom = {r["zoom"]: r for r in rows if r["look"] == look and r["dpi"] == BASE_DPI}
        print("look %d: compose+show at zoom 2 / zoom 1 = %.2f" % (
            look, by_zoom[2.0]["show_median_ms"] / by_zoom[1.0]["show_median_ms"]))
    presents = figures["program"]["presents_per_minute"]
    print()
    print("frames shown a minute: left alone %d, session locked %d, second hand hidden %d" % (
        presents["left_alone"], presents["locked"], presents["second_hand_hidden"]))
    growth = figures["program"]["growth"]
    print()
    print("over %d rounds (a new second and the clock window's wake in it; %.3f ms a round):" % (
        growth["rounds"], growth["round_ms"]))
    print("  working set %+.0f KB (%.3f MB a simulated day), private %+.0f KB, heap %+.1f KB" % (
        growth["working_set_kb"], growth["working_set_mb_per_day"], growth["private_kb"],
        growth["heap_kb"]))
    print("  GDI objects %+d, USER objects %+d, handles %+d" % (
        growth["gdi_objects"], growth["user_objects"], growth["handles"]))
    screen = figures["screen"]
    print()
    for name, label in (("reference_cpu_percent", "reference %d s" % screen["idle_seconds"]),
                        ("idle_cpu_percent", "left alone %d s" % screen["idle_seconds"]),
                        ("high_dpi_reference_cpu_percent", "reference %d DPI" % HIGH_DPI),
                        ("high_dpi_cpu_percent", "%d DPI, %d s" % (HIGH_DPI,
                                                                    screen["idle_seconds"])),
                        ("fade_cpu_percent", "hover fades %d s" % screen["fade_seconds"])):
        shares = screen[name]
        print("CPU, %-17s clock %.3f %%, wineserver %.3f %%, X %.3f %% of one core" % (
            label + ":", shares["clock"], shares["wineserver"], shares["X"]))
    cpu, cpu_base = screen["high_dpi_cpu_percent"]["clock"], screen["idle_cpu_percent"]["clock"]
    kb, kb_base = screen["high_dpi_working_set_kb"], screen["idle_working_set_kb"]
    print("left alone at %d DPI (%d px) against %d DPI: clock CPU %+.1f %%, working set %d KB "
          "against %d KB, %+.1f %% (aim: within 10 %%)" % (
              HIGH_DPI, screen["high_dpi_width"], BASE_DPI, 100 * (cpu / cpu_base - 1), kb,
              kb_base, 100 * (kb / kb_base - 1)))
    ref, ref_base = (screen[name]["clock"] for name in ("high_dpi_reference_cpu_percent",
                                                        "reference_cpu_percent"))
    print("  (reference: a bare layered window of the clock's size showing two fixed frames in"
          " turn once a second, the floor under Wine: %+.1f %% at %d DPI)" % (
              100 * (ref / ref_base - 1), HIGH_DPI))
    lat = screen["second_hand_latency_ms"]
    print("second hand after the true second (%d seconds seen): p50 %.1f ms, p99 %.1f ms, "
          "max %.1f ms" % (lat["count"], lat["p50"], lat["p99"], lat["max"]))
    print()
    print("idle clock / reference: %s at %d DPI, %s at %d DPI" % (
        ratio(screen["idle_cpu_percent"], screen["reference_cpu_percent"]), BASE_DPI,
        ratio(screen["high_dpi_cpu_percent"], screen["high_dpi_reference_cpu_percent"]),
        HIGH_DPI))
    if lat["count"]:
        print("second hand lag p99: %.1f ms" % lat["p99"])


def ratio(clock, reference):
    """The clock process's CPU over the reference's, as "1.15×"."""
    if reference["clock"] <= 0:
        return "n/a (the reference used no measurable CPU)"
    return "%.2f\u00d7" % (clock["clock"] / reference["clock"])


def main(argv):
    exe, out = argv[1], argv[2]
    quick = "--quick" in argv
    figures = {"program_bytes": program_sizes(), "program": run_program_bench(exe, quick),
               "screen": run_screen_bench(exe, quick)}
    with open(out, "w") as f:
        json.dump(figures, f, indent=2)
    print_table(figures)
    print()
    print("figures written to %s" % out)


if __name__ == "__main__":
    main(sys.argv)
