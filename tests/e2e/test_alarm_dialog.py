"""The alarm dialog on the real clock: alarms keep ringing while it is open, and an alarm
added through the menu and the keyboard rings once OK has stored it."""

import datetime
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

THRESHOLD = 1500  # peak sample value that counts as sound (full scale 32767)
DAY = "2026-12-07 "
# Keys that choose "关机闹铃" in the clock menu once it is open.
ALARM_DIALOG = ("Down",) * 6 + ("Return",)
# The dialog opens with the focus on OK; the alarm time picker is three tab stops on.
OK_TO_ALARM_PICKER = ("Tab",) * 3
# From "增加" back over the reminder, the picker, the list and Cancel to OK.
ADD_TO_OK = ("shift+Tab",) * 5


def at(clock, time_text):
    return clock.real_time_of(DAY + time_text)


class AlarmDialog(unittest.TestCase):
    def type_alarm(self, hours, minutes, seconds, reminder):
        """Sets the alarm picker field by field, types the reminder and presses "增加"."""
        h.key(*OK_TO_ALARM_PICKER)
        # Right selects the hour field, then moves on; a selected field takes typed digits.
        for field in (hours, minutes, seconds):
            h.key("Right")
            h.type_text(field)
        h.key("Tab")
        h.type_text(reminder)
        h.key("Tab", "space")

    def test_alarms_ring_while_the_dialog_is_open_and_an_added_one_after_ok(self):
        settings = h.make_settings()
        h.add_alarm(settings, "08:00:15", b"stored")
        with h.Recorder() as rec:
            # Past the full hour: a clock that is up within its first second would chime.
            clock = h.start_clock(settings_bytes=settings, faketime=DAY + "08:00:01")
            self.addCleanup(clock.stop)
            clock.wait_for_settings()
            dialog = clock.open_dialog(ALARM_DIALOG)
            self.assertLess(clock.fake_now(), datetime.datetime(2026, 12, 7, 8, 0, 13),
                            "the dialog must be open before the stored alarm is due")
            # After the built-in sound of the stored alarm (about 10 s) has ended.
            self.type_alarm("08", "00", "35", "e2e wake up")
            # OK only after the stored alarm rang, so it rang with the dialog open.
            h.wait_until(at(clock, "08:00:17"), "the stored alarm's second to pass")
            self.assertIn(dialog.id, {w.id for w in clock.windows()})
            h.key(*ADD_TO_OK)
            h.key("Return")
            data = clock.wait_for_settings(
                lambda b: len(b) == h.settings_file_size() and len(h.read_alarms(b)) == 2,
                what="the added alarm in Settings.def")
            self.assertEqual(h.read_alarms(data),
                             [(1, b"08:00:15", b"stored"), (1, b"08:00:35", b"e2e wake up")])
            h.wait_until(at(clock, "08:00:34"), "the added alarm to come near")
            balloons = h.balloon_windows()
            shown = h.wait_for(lambda: h.balloon_windows() - balloons,
                               at(clock, "08:00:35") + 8 - time.time(),
                               what="the added alarm's balloon")
            self.assertTrue(shown)
            h.wait_until(at(clock, "08:00:39"), "the added alarm to ring")
        spans = rec.wall_spans(THRESHOLD)
        self.assertEqual(len(spans), 2, spans)
        self.assertAlmostEqual(spans[0][0], at(clock, "08:00:15"), delta=1.0)
        self.assertAlmostEqual(spans[1][0], at(clock, "08:00:35"), delta=1.0)


if __name__ == "__main__":
    unittest.main()
