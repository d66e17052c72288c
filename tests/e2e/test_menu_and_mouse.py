"""The clock menu, the tray menu and the mouse, on the real clock."""

import os
import subprocess
import sys
import threading
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

# Keys that pick an item of the clock menu once it is open (no item selected yet).
STYLE_2 = ("Down", "Right", "Down", "Return")
OPACITY_20 = ("Down", "Down", "Right", "Down", "Down", "Down", "Down", "Return")
ALWAYS_ON_TOP = ("Down",) * 3 + ("Return",)
LOCK_POSITION = ("Down",) * 4 + ("Return",)
CLICK_THROUGH = ("Down",) * 5 + ("Return",)
EXIT = ("Up", "Return")


def dial_brightness(clock):
    x, y = clock.center()
    colours = [c for _, _, c in h.screenshot().pixels((x - 20, y + 10, 40, 20))]
    return sum(sum(c) for c in colours) / (3.0 * len(colours))


class MenuTest(unittest.TestCase):
    def open_tray_menu(self, clock):
        tray = [w for w in h.tray_windows() if not w.override_redirect][0]
        # Each clock's icon sits in the tray window; ours is the only one here.
        return clock.open_menu(at=(tray.x + 10, tray.y + tray.h // 2))


class ClockMenu(MenuTest):
    def test_right_click_opens_the_menu_at_the_pointer(self):
        clock = h.start_for(self)
        x, y = clock.center()
        menu = clock.open_menu()
        width, _ = h.screen_size()
        # Left-aligned at the pointer, unless that would run past the screen's right edge.
        self.assertEqual(menu.x, min(x, width - menu.w))
        self.assertEqual(menu.y, y)
        h.key("Escape")

    def test_each_sub_popup_shows_exactly_one_check_mark(self):
        clock = h.start_for(self, styleIndex=3, opacityIndex=1)
        for keys, items, marked in ((("Down", "Right"), 6, 3), (("Down", "Down", "Right"), 5, 1)):
            menu = clock.open_menu()
            before = {w.id for w in clock.windows()}
            h.key(*keys)
            sub = h.wait_for_new_window(before, timeout=5, pid=clock.pid)
            shot, row_height = h.screenshot(), sub.h / float(items)
            # The check mark column of each item: a plain row is one colour (the selected first
            # row another), a marked row has the mark's pixels too.
            rows = [(sub.x + 4, int(sub.y + i * row_height + 3), 12, int(row_height) - 6)
                    for i in range(items)]
            self.assertEqual([i for i, rect in enumerate(rows)
                              if len({c for _, _, c in shot.pixels(rect)}) >= 2], [marked])
            h.key("Escape", "Escape")
            clock.wait_closed(menu, "the menu to close")

    def test_style_2_changes_the_frame_and_is_stored(self):
        clock = h.start_for(self)
        rect = clock.geometry()
        before = h.screenshot()
        clock.choose(STYLE_2)
        clock.wait_for_field("styleIndex", 1)
        h.wait_for(lambda: h.screenshot().diff_count(before, rect, tolerance=40) > 2000, 3,
                   what="the second look on screen")

    def test_20_percent_dims_the_clock_at_once(self):
        clock = h.start_for(self)
        full = dial_brightness(clock)
        clock.choose(OPACITY_20)
        clock.wait_for_field("opacityIndex", 4)
        h.move(5, 700)  # away from the clock, so no hover fade brings it back
        h.wait_for(lambda: dial_brightness(clock) < full * 0.4, 3,
                   what="the clock dimmed to 20 %")

    def test_pointing_at_a_dimmed_clock_fades_it_in_and_leaving_fades_it_out(self):
        # Away first: a pointer where the clock appears would fade it in before it is seen dimmed.
        h.move(5, 700)
        clock = h.start_for(self, opacityIndex=4)
        dimmed = dial_brightness(clock)
        x, y = clock.center()
        h.move(x + 25, y - 25)
        h.wait_for(lambda: dial_brightness(clock) > dimmed * 3, 3,
                   what="the clock to fade in under the pointer")
        h.move(5, 700)
        h.wait_for(lambda: dial_brightness(clock) < dimmed * 1.5, 3,
                   what="the clock to fade back out")

    def test_exit_removes_the_icon_writes_the_file_and_ends(self):
        clock = h.start_for(self)
        os.remove(clock.settings_path)
        icons_before = [w for w in h.tray_windows() if not w.override_redirect]
        self.assertTrue(icons_before)
        clock.choose(EXIT)
        h.wait_for(lambda: not clock.is_running(), 10, what="the clock to end")
        self.assertEqual(len(clock.read_settings()), h.settings_file_size())
        h.wait_for(lambda: not [w for w in h.tray_windows() if not w.override_redirect], 5,
                   what="the tray icon to go")


class WindowModes(MenuTest):
    def other_window(self, clock):
        """An ordinary X window over the left part of the clock; its menu opens on the right."""
        x, y, _, hgt = clock.geometry()
        proc = subprocess.Popen(["xev", "-geometry", "150x%d+%d+%d" % (hgt, x - 100, y), "-event",
                                 "button"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                env=h.tool_env(), text=True)
        lines = []
        reader = threading.Thread(target=lambda: lines.extend(iter(proc.stdout.readline, "")),
                                  daemon=True)
        reader.start()

        def end():
            proc.kill()
            proc.wait()
            reader.join(5)
            proc.stdout.close()

        self.addCleanup(end)
        proc.lines = lines
        h.wait_for(lambda: h.run(["xdotool", "search", "--onlyvisible", "--name",
                                   "^Event Tester$"], check=False).strip(), 5,
                   what="the test window")
        return proc

    def uncovered(self, clock):
        x, y, w, hgt = clock.geometry()
        return x + w - 20, y + hgt // 2

    def test_always_on_top_raises_the_clock_above_other_windows(self):
        clock = h.start_for(self)
        dial = clock.dial_pixel()
        self.other_window(clock)
        h.wait_for(lambda: clock.dial_pixel() != dial, 5, what="the test window over the clock")
        clock.choose(ALWAYS_ON_TOP, at=self.uncovered(clock))
        clock.wait_for_field("alwaysOnTop", 1)
        h.wait_for(lambda: clock.dial_pixel() == dial, 5, what="clock on top")
        # Off again: stored at once. (Wine never lowers a window below one of another X
        # client, so where it then stands is checked in the Win32 tests.)
        clock.choose(ALWAYS_ON_TOP, at=self.uncovered(clock))
        clock.wait_for_field("alwaysOnTop", 0)

    def test_drag_moves_the_clock_but_only_the_lock_records_the_place(self):
        clock = h.start_for(self)
        x, y, _, _ = clock.geometry()
        cx, cy = clock.center()
        h.drag(cx, cy, cx - 300, cy + 200)
        h.wait_for(lambda: clock.geometry()[:2] == (x - 300, y + 200), 5, what="the move")
        clock.choose(LOCK_POSITION)  # an action that saves
        data = clock.wait_for_field("lockPosition", 1)
        saved = h.settings_of(data)
        self.assertEqual((saved["windowLeft"], saved["windowTop"]), (x - 300, y + 200))
        # Locked: a drag does not move it.
        cx, cy = clock.center()
        h.drag(cx, cy, cx + 100, cy + 50)
        self.assertEqual(clock.geometry()[:2], (x - 300, y + 200))

    def test_moved_clock_keeps_its_stored_place_until_locked(self):
        clock = h.start_for(self, windowLeft=400, windowTop=300)
        cx, cy = clock.center()
        h.drag(cx, cy, cx + 120, cy + 80)
        h.wait_for(lambda: clock.geometry()[:2] == (520, 380), 5, what="the move")
        clock.choose(STYLE_2)  # saves everything
        data = clock.wait_for_field("styleIndex", 1)
        saved = h.settings_of(data)
        self.assertEqual((saved["windowLeft"], saved["windowTop"]), (400, 300))

    def test_click_through_lets_clicks_reach_the_window_below(self):
        # Another clock at the same place, below this one: Wine hands a click that passes
        # through on to the Windows window underneath.
        below = h.start_clock(settings_bytes=h.make_settings(windowLeft=500, windowTop=300))
        self.addCleanup(below.stop)
        clock = h.start_for(self, windowLeft=500, windowTop=300, alwaysOnTop=1)
        clock.choose(CLICK_THROUGH)
        clock.wait_for_field("clickThrough", 1)
        before = {w.id for w in h.windows_of_exe()}
        x, y = clock.center()
        h.click(x, y, 3)
        menu = h.wait_for_new_window(before, timeout=5)
        self.assertEqual(menu.pid, below.pid, "the click did not pass through")
        h.key("Escape")

    def test_double_click_opens_the_date_and_time_settings(self):
        clock = h.start_for(self)
        x, y = clock.center()

        def control_panel_processes():
            out = h.run(["ps", "-eo", "pid=,args="])
            return [int(line.split()[0]) for line in out.splitlines()
                    if "rundll32" in line.lower()]

        h.double_click(x, y)
        started = h.wait_for(control_panel_processes, 10,
                             what="rundll32 with the date and time settings")
        for pid in started:
            try:
                os.kill(pid, 9)
            except ProcessLookupError:
                pass

    def test_tray_menu_turns_click_through_off(self):
        clock = h.start_for(self, clickThrough=1)
        menu = self.open_tray_menu(clock)
        h.key(*CLICK_THROUGH)
        clock.wait_closed(menu, "the tray menu to close")
        clock.wait_for_field("clickThrough", 0)
        # The clock takes clicks itself again.
        clock.open_menu()
        h.key("Escape")


if __name__ == "__main__":
    unittest.main()
