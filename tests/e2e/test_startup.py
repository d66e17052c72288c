"""Starting the real clock in a fresh directory, and what it leaves there."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402


def stays_running(clock, seconds):
    """Watches the clock for `seconds`; False as soon as it exits."""
    try:
        h.wait_for(lambda: not clock.is_running(), seconds, what="exit")
        return False
    except AssertionError:
        return True


class FirstStart(unittest.TestCase):
    def test_fresh_directory_gets_the_default_file_and_the_clock_top_right(self):
        with h.start_clock() as clock:
            data = clock.wait_for_settings()
            saved = h.settings_of(data)
            self.assertEqual((saved["windowLeft"], saved["windowTop"]), (-1, -1))
            self.assertEqual(saved["hourlyChime"], 1)
            self.assertEqual(saved["zoom"], 1.0)
            width, _ = h.screen_size()
            self.assertEqual(clock.geometry(), (width - 140, 10, 130, 130))
            # A tool window: Wine tells the desktop to keep it off the taskbar.
            state = h.run(["xprop", "-id", str(clock.window), "_NET_WM_STATE"], check=False)
            self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", state)

    def test_the_face_is_drawn_with_soft_edges_on_the_desktop(self):
        with h.start_clock() as clock:
            x, y, _, _ = clock.geometry()
            shot = h.screenshot()
            # The dial's white face near the centre, the desktop beyond its round edge.
            self.assertGreater(sum(clock.dial_pixel(shot)), 500)
            self.assertEqual(shot.pixel(x + 1, y + 1), shot.pixel(x - 5, y + 1))

    def test_enter_escape_and_alt_f4_leave_it_running(self):
        with h.start_clock() as clock:
            h.focus(clock.window)
            for keys in (("Return",), ("Escape",), ("alt+F4",)):
                h.key(*keys)
            self.assertTrue(stays_running(clock, 1.5))
            self.assertIsNotNone(clock._find_main_window())

    def test_a_second_start_on_the_same_file_ends_and_points_to_the_first(self):
        with h.start_clock() as first:
            before = first.wait_for_settings()
            balloons = h.balloon_windows()
            second = h.start_clock(workdir=first.workdir, wait=False)
            h.wait_for(lambda: not second.is_running(), 20, what="the second start to end")
            h.wait_for(lambda: h.balloon_windows() - balloons, 10,
                       what="the running clock's balloon")
            self.assertTrue(first.is_running())
            self.assertEqual(first.read_settings(), before)
            # A clock with a folder of its own runs beside it.
            with h.start_clock() as elsewhere:
                self.assertNotEqual(first.window, elsewhere.window)
                self.assertTrue(first.is_running() and elsewhere.is_running())


class StoredSettings(unittest.TestCase):
    def test_saved_place_and_look_are_used(self):
        settings = h.make_settings(windowLeft=200, windowTop=150, styleIndex=1)
        with h.start_clock(settings_bytes=settings) as clock:
            self.assertEqual(clock.geometry()[:2], (200, 150))
            data = clock.wait_for_settings()
            self.assertEqual(h.settings_of(data)["styleIndex"], 1)

    def test_damaged_files_never_stop_the_clock(self):
        damaged = [b"", b"\xff" * 37, bytes(h.make_settings(styleIndex=99, opacityIndex=-7)),
                   bytes(h.make_settings(zoom=float("nan")))]
        for data in damaged:
            with self.subTest(size=len(data)):
                with h.start_clock(settings_bytes=data) as clock:
                    _, _, w, hgt = clock.geometry()
                    self.assertEqual((w, hgt), (130, 130))
                    saved = clock.wait_for_settings()
                    self.assertEqual(len(saved), h.settings_file_size())


if __name__ == "__main__":
    unittest.main()
