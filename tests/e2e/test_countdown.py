"""The automatic shutdown's countdown on the real clock. Every test cancels it long before it
runs out, so nothing is ever asked to shut down."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402


def red_pixels(shot, window):
    rect = (window.x, window.y, window.w, window.h)
    return shot.count(lambda p: p[0] > 200 and p[1] < 60 and p[2] < 60, rect)


class Countdown(unittest.TestCase):
    def _start(self, repeat):
        settings = h.make_settings(shutdownEnabled=1, shutdownRepeat=repeat,
                                   shutdownTime="21:30:00")
        clock = h.start_clock(settings_bytes=settings, faketime="2026-12-07 21:29:57")
        self.addCleanup(clock.stop)
        due = clock.real_time_of("2026-12-07 21:30:00")
        window = h.wait_for(lambda: [w for w in clock.windows()
                                     if w.id != clock.window and not w.override_redirect],
                            due + 5 - time.time(), what="the countdown")[0]
        return clock, window, due

    def test_red_digits_count_down_and_escape_disarms_a_once_schedule(self):
        clock, window, due = self._start(repeat=0)
        self.assertLess(abs(time.time() - due), 3.0)
        # Disarmed before the countdown even shows.
        saved = h.settings_of(clock.read_settings())
        self.assertEqual(saved["shutdownEnabled"], 0)
        self.assertEqual(saved["shutdownTime"], b"")

        images = []
        for _ in range(4):
            shot = h.screenshot()
            self.assertGreater(red_pixels(shot, window), 200)
            images.append(shot.crop((window.x, window.y, window.w, window.h)))
            time.sleep(1.1)  # one countdown step
        changes = sum(1 for a, b in zip(images, images[1:]) if a.region_differs(b))
        self.assertGreaterEqual(changes, 2, "the digits did not change each second")

        h.focus(window.id)
        h.key("Escape")
        clock.wait_closed(window, "the countdown to close")
        self.assertTrue(clock.is_running())

    def test_cancelled_repeating_schedule_stays_armed(self):
        clock, window, _ = self._start(repeat=1)
        h.focus(window.id)
        h.key("Escape")
        clock.wait_closed(window, "the countdown to close")
        saved = h.settings_of(clock.read_settings())
        self.assertEqual(saved["shutdownEnabled"], 1)
        self.assertEqual(saved["shutdownTime"], b"21:30:00")


if __name__ == "__main__":
    unittest.main()
