"""The ringing window of the real program: it holds the alarm until the user answers, Escape
silences it at once, and a snooze rings again after a clock jump over its minutes."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

THRESHOLD = 1500
# A sound due at a second is heard within this long of it (see test_alarms_and_chime).
HEARD_WITHIN = 1.0
# The answer stops the sound in the same message; Wine's sound path drains what it holds.
STOPPED_WITHIN = 0.5
DAY = "2026-12-07 "


ringing_windows = h.ringing_windows


def answer(windows, *keys):
    """Clicks the window where it has no control, as a user turning to it would (it opened
    without the keyboard), then types the keys."""
    info = h.window_info(min(windows))
    h.click(info.x + info.w // 2, info.y + info.h * 145 // 203)
    h.key(*keys)


class RingingWindow(unittest.TestCase):
    def test_escape_silences_the_alarm_and_a_snooze_rings_again_after_a_jump(self):
        settings = h.make_settings()
        h.add_alarm(settings, "07:30:00", "起床".encode("gbk"))
        h.add_alarm(settings, "07:30:20", "出门".encode("gbk"))
        with h.Recorder() as rec:
            clock = h.start_clock(settings_bytes=settings, faketime=DAY + "07:29:55",
                                  jumpable=True)
            self.addCleanup(clock.stop)
            due = clock.real_time_of(DAY + "07:30:00")
            window = h.wait_for(ringing_windows, due + 8 - time.time(),
                                what="the ringing window")
            h.wait_until(due + HEARD_WITHIN + 1, "the alarm to be heard")
            answer(window, "Escape")
            escaped = time.time()
            h.wait_for(lambda: not ringing_windows(), 5, what="the window to close")

            second = clock.real_time_of(DAY + "07:30:20")
            window = h.wait_for(ringing_windows, second + 8 - time.time(),
                                what="the window for the second alarm")
            h.wait_until(second + HEARD_WITHIN + 1, "the second alarm to be heard")
            answer(window, "Tab", "Up", "Return")  # "5 分钟", then "稍后提醒"
            snoozed = time.time()
            h.wait_for(lambda: not ringing_windows(), 5, what="the window to close")
            # Silence long enough to tell the snoozed sound from the next one.
            h.wait_until(snoozed + STOPPED_WITHIN + 1.5, "a silence after the snooze")
            clock.jump(300)
            jumped = time.time()
            h.wait_for(ringing_windows, 1 + HEARD_WITHIN + 5, what="the snooze's window")
            h.wait_until(jumped + 1 + HEARD_WITHIN + 1, "the snooze to be heard")
        spans = [(rec.wall_time(a), rec.wall_time(b))
                 for a, b in rec.sound_spans(threshold=THRESHOLD, min_silence=1.0)]
        self.assertEqual(len(spans), 3, spans)
        self.assertLess(spans[0][1], escaped + STOPPED_WITHIN, spans)
        self.assertLess(spans[1][1], snoozed + STOPPED_WITHIN, spans)
        self.assertGreater(spans[2][0], jumped, spans)
        self.assertLess(spans[2][0], jumped + 1 + HEARD_WITHIN, spans)


if __name__ == "__main__":
    unittest.main()
