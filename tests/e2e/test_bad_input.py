"""Bad settings and user files, as a table: each case's clock, in a folder of its own, must start
and stay up at its size with its face, answer on its tray icon and leave no file worse. The clocks
run in batches side by side on the real time; one printed row per case, any bad row fails."""

import collections
import concurrent.futures
import datetime
import hashlib
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
import pnglib  # noqa: E402  (found through the path the harness sets)

SIDE = 130  # the built-in faces; a custom face that does not load falls back to them
SETTINGS = "Settings.def"
DIRECTORY, MISSING = "directory", "missing"
# The default place of a clock whose file holds none, and six places for clocks up to 260 pixels.
DEFAULT_PLACE = None
PLACES = [(200, 170), (480, 170), (760, 170), (200, 470), (480, 470), (760, 470)]
# The tray shows its icons left to right in slots of this many pixels.
TRAY_SLOT = 20
ALWAYS_ON_TOP = ("Down",) * 3 + ("Return",)
# Alarms every second from 5 to 44 s after the launch: one is due soon after the clock is up,
# however long the start takes.
ALARM_LEAD, ALARM_SPAN = 5, 40
SOUND_THRESHOLD = 1500


def blank_png(side):
    """A valid black-and-white PNG, side x side pixels, small on disk however large."""

    def chunk(tag, payload):
        return (struct.pack(">I", len(payload)) + tag + payload
                + struct.pack(">I", zlib.crc32(tag + payload) & 0xFFFFFFFF))

    packer = zlib.compressobj()
    row = bytes(1 + (side + 7) // 8)
    idat = b"".join(packer.compress(row) for _ in range(side)) + packer.flush()
    header = struct.pack(">IIBBBBB", side, side, 1, 0, 0, 0, 0)
    return (pnglib.SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", idat)
            + chunk(b"IEND", b""))


def comparable(fields):
    # NaN never equals itself: compare the zoom by its bits.
    fields = dict(fields)
    fields["zoom"] = struct.pack("<f", fields["zoom"])
    return fields


def shown_style(fields):
    """The look a clock shows for stored settings, which it also saves: an unknown index, or the
    custom look without a face file name, becomes look 0."""
    style = fields["styleIndex"]
    return style if 0 <= style < 5 or (style == 5 and fields["customFacePath"]) else 0


def expected_side(fields):
    zoom = fields["zoom"]
    zoom = 1.0 if zoom != zoom else min(max(zoom, 1.0), 2.0)
    # As the clock computes it: in single precision, truncated.
    return int(struct.unpack("<f", struct.pack("<f", SIDE * zoom))[0])


class Case:
    """One row: settings(run) gives Settings.def (None: no file) for the run's folder, place and
    alarm seconds; `files` go beside it (bytes, DIRECTORY, or MISSING to stay missing). `saves`:
    "same" as read (with the look shown), "kept" byte for byte, or "none" still absent."""

    def __init__(self, name, settings, files=None, placed=True, saves="same", balloon=False,
                 alarm=False, read_only=False, sealed_folder=False, second_start=False):
        self.name, self.settings, self.files = name, settings, files or {}
        self.placed, self.saves, self.balloon, self.alarm = placed, saves, balloon, alarm
        self.read_only, self.sealed_folder = read_only, sealed_folder
        self.second_start = second_start


def with_fields(**fields):
    return lambda run: h.make_settings(**dict(fields, **placed_fields(run.place)))


def placed_fields(place):
    return {"windowLeft": place[0], "windowTop": place[1]} if place else {}


def raw(data):
    return lambda run: data


def resized(size):
    def build(run):
        data = h.make_settings(customCasePath="case.png", **placed_fields(run.place))
        return bytes(data[:size]) + bytes(max(0, size - len(data)))

    return build


def unterminated_texts(run):
    fills = dict(alarmSoundPath=b"a" * 255, customFacePath=b"b" * 255, customHourPath=b"c" * 255,
                 customMinutePath=b"d" * 255, customSecondPath=b"e" * 255,
                 customCasePath=b"f" * 255, shutdownTime=b"9" * 8)
    data = h.make_settings(styleIndex=5, shutdownEnabled=1, alarms=[(1, b"x" * 8, b"y" * 257)],
                           **dict(fills, **placed_fields(run.place)))
    # A time's field also holds a byte after its text (the alarm's rule, the wake flags).
    for text, spare in [(t, 0) for t in fills.values() if len(t) > 8] + [
            (b"9" * 8, 1), (b"x" * 8, 1), (b"y" * 257, 0)]:
        # The terminator becomes one more letter: the text fills its field to the end.
        end = data.index(text + b"\0") + len(text)
        data[end:end + 1 + spare] = text[:1] * (1 + spare)
    return data


def custom_face(name):
    return lambda run: h.make_settings(
        styleIndex=5, customFacePath=h.windows_path(os.path.join(run.folder, name)),
        **placed_fields(run.place))


def alarm_sound(name):
    def build(run):
        alarms = [(1, datetime.datetime.fromtimestamp(second).strftime("%H:%M:%S"), b"bad sound")
                  for second in run.alarm_seconds]
        return h.make_settings(alarmSoundPath=h.windows_path(os.path.join(run.folder, name)),
                               hourlyChime=0, alarms=alarms, **placed_fields(run.place))

    return build


def cases():
    face = blank_png(SIDE)
    noise = random.Random(10).randbytes(1 << 20)
    rows = [
        Case("empty file", raw(b""), placed=False),
        Case("1 byte", raw(b"\x07"), placed=False),
        Case("15205 bytes", resized(h.settings_file_size() - 1)),
        Case("15207 bytes", resized(h.settings_file_size() + 1)),
        Case("1 MiB of noise", raw(noise), placed=False),
        Case("texts without terminators", unterminated_texts),
    ]
    for count in (-1, 51, 2 ** 31 - 1):
        rows.append(Case("count %d" % count, with_fields(alarmCount=count)))
    for style in (-1, 6, 2 ** 31 - 1):
        rows.append(Case("styleIndex %d" % style, with_fields(styleIndex=style)))
    for opacity in (-3, 99):
        rows.append(Case("opacityIndex %d" % opacity, with_fields(opacityIndex=opacity)))
    for zoom in ("nan", "inf", "-inf", "0", "-1", "1e30"):
        rows.append(Case("zoom %s" % zoom, with_fields(zoom=float(zoom))))
    for name, content in (("not a PNG", b"GIF89a, or rather, no picture at all" * 20),
                          ("truncated PNG", face[:len(face) // 2]),
                          ("10000 x 10000 PNG", blank_png(10000)), ("directory", DIRECTORY),
                          ("missing", MISSING)):
        rows.append(Case("face: " + name, custom_face("face.png"), files={"face.png": content}))
    rows += [
        Case("alarm sound not audio", alarm_sound("alarm.wav"), alarm=True, balloon=True,
             files={"alarm.wav": b"this is no sound at all" * 100}),
        Case("alarm sound missing", alarm_sound("gone.wav"), alarm=True, balloon=True,
             files={"gone.wav": MISSING}),
        Case("read-only Settings.def", with_fields(opacityIndex=1), saves="kept",
             read_only=True, balloon=True),
        Case("folder not writable, no file", lambda run: None, placed=False,
             saves="none", sealed_folder=True, balloon=True),
        Case("folder not writable, file is", with_fields(styleIndex=6), sealed_folder=True),
        Case("second start, one folder", with_fields(), second_start=True, balloon=True),
    ]
    return rows


def batches(rows):
    """Batches with room on the screen and at most one balloon and one sound, which could not be
    told apart."""
    packed = []
    # The cases that need a batch of their own open the batches; the others fill them up.
    for case in sorted(rows, key=lambda c: (not (c.balloon or c.alarm), c.placed)):
        for batch in packed:
            placed = [c for c in batch if c.placed]
            if ((len(placed) < len(PLACES) if case.placed else all(c.placed for c in batch))
                    and not (case.balloon and any(c.balloon for c in batch))
                    and not (case.alarm and any(c.alarm for c in batch))):
                batch.append(case)
                break
        else:
            packed.append([case])
    return packed


def snapshot(folder):
    """What a folder holds: each name with its content hash (or "directory") and read-only mark."""
    state = {}
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isdir(path):
            state[name] = DIRECTORY
        else:
            with open(path, "rb") as f:
                content = hashlib.sha256(f.read()).hexdigest()
            state[name] = (content, not os.stat(path).st_mode & 0o222)
    return state


def seal(folder, sealed):
    # Root writes anywhere, whatever the permissions say; an immutable folder stops it too.
    return subprocess.run(["chattr", "+i" if sealed else "-i", folder], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


class FileWatcher(threading.Thread):
    """Reads a file over and over and keeps every distinct content it saw."""

    def __init__(self, path):
        super().__init__(daemon=True)
        self.path, self.seen, self.missing, self.running = path, set(), 0, True

    def run(self):
        while self.running:
            try:
                with open(self.path, "rb") as f:
                    self.seen.add(f.read())
            except FileNotFoundError:
                self.missing += 1
            time.sleep(0.002)

    def stop(self):
        self.running = False
        self.join(5)


Row = collections.namedtuple("Row", "case started window tray file ok")


class Run:
    """One case in a batch: its folder, its clocks and what was found."""

    def __init__(self, case, place):
        self.case, self.place = case, place
        self.folder = tempfile.mkdtemp(prefix="veltrano-bad-")
        self.clocks, self.problems, self.notes = [], [], []
        self.second, self.start_error, self.start_seconds = None, None, 0.0
        self.sealed = self.balloon_seen = self.rang = False
        # Wall-clock seconds whose local time the alarms are set to, after the clock is up.
        first = int(time.time()) + ALARM_LEAD
        self.alarm_seconds = list(range(first, first + ALARM_SPAN))
        for name, content in case.files.items():
            path = os.path.join(self.folder, name)
            if content == DIRECTORY:
                os.mkdir(path)
            elif content != MISSING:
                with open(path, "wb") as f:
                    f.write(content)
        self.input = case.settings(self)
        self.path = os.path.join(self.folder, SETTINGS)
        if self.input is not None:
            with open(self.path, "wb") as f:
                f.write(bytes(self.input))
            if case.read_only:
                os.chmod(self.path, 0o444)  # Wine's read-only attribute: no write permission
        if case.sealed_folder:
            self.sealed = seal(self.folder, True)
        self.before = snapshot(self.folder)
        # What the clock reads from the file, and what it must save: the same, with the look shown.
        self.read = h.settings_of(bytes(self.input or b""))
        self.expected = dict(self.read, styleIndex=shown_style(self.read))
        self.watcher = FileWatcher(self.path) if case.second_start else None

    def skipped(self):
        return self.case.sealed_folder and not self.sealed

    def saved_settings(self):
        try:
            with open(self.path, "rb") as f:
                data = f.read()
        except OSError:
            return None
        return comparable(h.settings_of(data)) if len(data) == h.settings_file_size() else None

    def cleanup(self):
        for clock in self.clocks + ([self.second] if self.second else []):
            clock.stop()
        if self.watcher:
            self.watcher.stop()
        if self.sealed:
            seal(self.folder, False)
        shutil.rmtree(self.folder, ignore_errors=True)


class BadInput(unittest.TestCase):
    def test_every_bad_file_leaves_a_working_clock_and_no_worse_file(self):
        table = cases()
        rows = [row for batch in batches(table) for row in self.run_batch(batch)]
        order = [case.name for case in table]
        rows.sort(key=lambda row: order.index(row.case))
        print("\n%-30s %-9s %-17s %-6s %s" % ("case", "started", "window", "tray", "file"))
        for row in rows:
            print("%-30s %-9s %-17s %-6s %s%s" % (row.case, row.started, row.window, row.tray,
                                                 row.file, "" if row.ok else "   <-- BAD"))
        sys.stdout.flush()
        bad = [row.case for row in rows if not row.ok]
        self.assertEqual(bad, [], "bad rows in the table above")

    # -- one batch

    def run_batch(self, batch):
        if any(case.alarm for case in batch):
            skip_full_hour()
        self.wait_for_empty_tray()
        places = iter(PLACES)
        runs, recorder = [], None
        try:
            for case in batch:
                runs.append(Run(case, next(places) if case.placed else DEFAULT_PLACE))
            if any(case.alarm for case in batch):
                recorder = h.Recorder().start()
            self.launch(runs)
            started = [r for r in runs if r.clocks and not r.start_error]
            windows = self.look_at_windows(started)
            tray = self.open_tray_menus(sum(len(r.clocks) for r in started))
            for run in started:
                if run.case.second_start:
                    self.check_second_start(run, tray)
            self.await_files_balloons_and_sound(started, recorder)
            return [self.judge(run, windows, tray) for run in runs]
        finally:
            if recorder:
                recorder.stop()
            for run in runs:
                run.cleanup()

    def launch(self, runs):
        """Starts every clock of the batch at once and waits for their windows."""

        def start(run):
            began = time.monotonic()
            try:
                run.clocks.append(h.start_clock(workdir=run.folder, timeout=60))
            except AssertionError as error:
                run.start_error = str(error).splitlines()[0]
            run.start_seconds = max(run.start_seconds, time.monotonic() - began)

        for run in runs:
            if run.watcher:
                run.watcher.start()
        starts = [run for run in runs if not run.skipped()]
        with concurrent.futures.ThreadPoolExecutor(max(1, len(starts))) as pool:
            list(pool.map(start, starts))
        # A second start on a file that a clock holds ends at once: it shows no window to wait for.
        for run in starts:
            if run.case.second_start and run.clocks:
                run.second = h.start_clock(workdir=run.folder, wait=False)

    def look_at_windows(self, runs):
        """Size and face of every clock window, from one screenshot: {clock pid: text}."""
        shot = h.screenshot()
        background = shot.pixel(2, shot.height - 2)
        # A clock whose alarm rings shows its window beside it, over a neighbour's face perhaps.
        ringing = [h.window_info(w) for w in h.ringing_windows()]

        def hidden(px, py):
            return any(r and r.x <= px < r.x + r.w and r.y <= py < r.y + r.h for r in ringing)

        found = {}
        for run in runs:
            side = expected_side(run.read)
            for clock in run.clocks:
                try:
                    x, y, w, hgt = clock.geometry()
                except AssertionError:
                    run.problems.append("window gone")
                    continue
                text = "%dx%d" % (w, hgt)
                faults = []
                if (w, hgt) != (side, side):
                    faults.append("expected %dx%d" % (side, side))
                if run.place and (x, y) != run.place:
                    faults.append("at %d,%d" % (x, y))
                drawn = shot.count(lambda c: sum(abs(a - b) for a, b in zip(c, background)) > 30,
                                   (x, y, w, hgt))
                drawn += sum(hidden(px, py) and sum(abs(a - b) for a, b in
                                                    zip(shot.pixel(px, py), background)) <= 30
                             for px in range(x, x + w) for py in range(y, y + hgt))
                # A round face covers about 79 % of its square; the corners show the desktop.
                corners = [shot.pixel(x + dx, y + dy) for dx in (1, w - 2) for dy in (1, hgt - 2)
                           if not hidden(x + dx, y + dy)]
                if drawn < 0.6 * w * hgt or any(c != background for c in corners):
                    faults.append("no face")
                found[clock.pid] = text + (" " + ",".join(faults) if faults else " face")
                if faults:
                    run.problems.append("window " + found[clock.pid])
        return found

    def open_tray_menus(self, icons):
        """Right-clicks each tray slot in turn: {clock pid: slot} of the menus that opened."""
        tray = [w for w in h.tray_windows() if not w.override_redirect]
        menus = {}
        for slot in range(icons if tray else 0):
            menu = self.open_tray_menu(tray[0], slot)
            if menu:
                menus[menu.pid] = (tray[0], slot)
                self.close_menu(menu)
        return menus

    def open_tray_menu(self, tray, slot):
        before = h.window_ids()
        h.click(tray.x + TRAY_SLOT * slot + TRAY_SLOT // 2, tray.y + tray.h // 2, 3)
        try:
            new = h.wait_for(lambda: h.window_ids() - before, 5, interval=0.05)
        except AssertionError:
            return None
        return h.window_info(max(new))

    def close_menu(self, menu, keys=("Escape",)):
        h.key(*keys)
        h.wait_for(lambda: menu.id not in h.window_ids(), 5, interval=0.05,
                   what="the tray menu to close")

    def wait_for_empty_tray(self):
        # The icons and balloons of the last batch go with their clocks; they must not count here.
        h.wait_for(lambda: not h.tray_windows(), 15, what="the tray to empty")

    def tray_command(self, tray, clock, keys):
        menu = self.open_tray_menu(*tray[clock.pid])
        if menu:
            self.close_menu(menu, keys)
        return menu and menu.pid == clock.pid

    def check_second_start(self, run, tray):
        """The second start ends and leaves the file to the first clock, whose saves go on."""
        try:
            h.wait_for(lambda: not run.second.is_running(), 20)
            run.notes.append("second start ended")
        except AssertionError:
            run.problems.append("second clock still running")
        first = run.clocks[0]
        if first.pid not in tray or not self.tray_command(tray, first, ALWAYS_ON_TOP):
            run.problems.append("no tray menu to save from")
            return
        states = [comparable(run.expected), comparable(dict(run.expected, alwaysOnTop=1))]
        run.expected = dict(run.expected, alwaysOnTop=1)
        try:
            h.wait_for(lambda: run.saved_settings() == comparable(run.expected), 5)
        except AssertionError:
            run.problems.append("the first clock's save is missing")
        run.watcher.stop()
        wrong = [d for d in run.watcher.seen if len(d) != h.settings_file_size()
                 or comparable(h.settings_of(d)) not in states]
        if wrong or run.watcher.missing:
            run.problems.append("%d torn, %d missing reads" % (len(wrong), run.watcher.missing))

    def await_files_balloons_and_sound(self, runs, recorder):
        """Waits, for a bounded time, until every file is saved as expected and every balloon and
        alarm expected has come."""
        deadline = time.monotonic() + 25
        while True:
            balloon = bool(h.balloon_windows())
            onsets = [recorder.wall_time(t) for t in recorder.onsets(
                threshold=SOUND_THRESHOLD)] if recorder else []
            pending = False
            for run in runs:
                # One balloon and one sound at most per batch: each belongs to its one case.
                run.balloon_seen = run.balloon_seen or (run.case.balloon and balloon)
                # An alarm is due every second of the span, so any sound in it is the alarm.
                run.rang = run.rang or (run.case.alarm and any(
                    run.alarm_seconds[0] - 0.2 <= onset <= run.alarm_seconds[-1] + 1.5
                    for onset in onsets))
                pending = pending or (run.case.balloon and not run.balloon_seen) or (
                    run.case.alarm and not run.rang) or (
                    run.case.saves == "same" and run.saved_settings() != comparable(run.expected))
            if not pending or time.monotonic() > deadline:
                return
            time.sleep(0.3)

    # -- the row

    def judge(self, run, windows, tray):
        case = run.case
        if run.skipped():
            return Row(case.name, "skipped", "-", "-", "no immutable folder here (chattr +i)",
                       True)
        if run.start_error or not run.clocks:
            return Row(case.name, "no", "-", "-", run.start_error or "", False)
        for clock in run.clocks:
            if not clock.is_running():
                run.problems.append("exited")
            elif clock.pid not in tray:
                run.problems.append("no tray menu")
        result = self.judge_files(run)
        if case.balloon and not run.balloon_seen:
            run.problems.append("no balloon")
        if case.alarm and not run.rang:
            run.problems.append("alarm silent")
        result += ", balloon" * case.balloon + ", alarm rang" * case.alarm
        return Row(case.name, "%.1fs" % run.start_seconds, windows.get(run.clocks[0].pid, "-"),
                   "menu" if all(c.pid in tray for c in run.clocks) else "none",
                   "; ".join(run.problems) or "; ".join([result] + run.notes), not run.problems)

    def judge_files(self, run):
        """Checks the folder against what it held before the start; returns what was found."""
        after = snapshot(run.folder)
        if dict(after, **{SETTINGS: None}) != dict(run.before, **{SETTINGS: None}):  # the others
            run.problems.append("files changed: %s" % sorted(set(after) ^ set(run.before)))
        if run.case.saves == "kept":
            if after.get(SETTINGS) != run.before.get(SETTINGS):
                run.problems.append("Settings.def changed")
            return "kept byte for byte, read-only"
        if run.case.saves == "none":
            if SETTINGS in after:
                run.problems.append("Settings.def appeared")
            return "none written"
        saved = run.saved_settings()
        if saved is None:
            run.problems.append("Settings.def not complete")
        elif saved != comparable(run.expected):
            run.problems.append("saved differs in " + ",".join(
                sorted(k for k in saved if saved[k] != comparable(run.expected)[k])))
        corrected = run.expected["styleIndex"] != run.read["styleIndex"]
        return "complete, as read" + (", look 0" if corrected else "")


def skip_full_hour():
    """Waits past a full hour due within half a minute, whose chime would ring over an alarm."""
    to_hour = 3600 - time.time() % 3600
    if to_hour < 30:
        time.sleep(to_hour + 1.5)


if __name__ == "__main__":
    unittest.main()
