"""Alarms, the hourly chime and sound files, heard on the recorded sound output."""

import math
import os
import struct
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

THRESHOLD = 1500  # peak sample value that counts as sound (full scale 32767)
# The clock wakes just after every true second and starts a due sound at once; Wine's sound path
# takes up to a few hundred milliseconds to be heard. A sound due at a second therefore starts
# within this long of it, and a sound's length as heard differs from its own by less.
HEARD_WITHIN = 1.0
LENGTH_TOLERANCE = 0.8
BUILT_IN_ALARM_SECONDS = 223652 / 2 / 11025
CHIME_SECONDS = 129062 / 2 / 8000
DAY = "2026-12-07 "


def record_clock(settings, start, until, during=None, **clock_options):
    """Records a clock from the fake time `start` to `until` (of DAY), calling during(clock) if
    given; returns the wall-clock spans heard and the mapping of the clock's times to wall-clock
    time. `start` lies some seconds early: a Wine busy with the other test lane is slow to start."""
    with h.Recorder() as rec:
        clock = h.start_clock(settings_bytes=settings, faketime=DAY + start, **clock_options)
        try:
            if during:
                during(clock)
            h.wait_until(clock.real_time_of(DAY + until), "the clock to reach " + until)
        finally:
            clock.stop()
    return rec.wall_spans(THRESHOLD), lambda at: clock.real_time_of(DAY + at)


class BuiltInAlarm(unittest.TestCase):
    def test_enabled_alarm_rings_once_in_its_second_and_shows_a_balloon(self):
        settings = h.make_settings()
        h.add_alarm(settings, "07:30:00", "起床".encode("gbk"), enabled=1)
        balloons = []

        def watch_balloon(clock):
            before = h.balloon_windows()
            # Wine's tray takes a few seconds to pop a balloon up.
            due = clock.real_time_of(DAY + "07:30:00")
            balloons.extend(h.wait_for(lambda: h.balloon_windows() - before,
                                       due + 8 - time.time(), what="the reminder balloon"))

        spans, at = record_clock(settings, "07:29:53", "07:30:12", during=watch_balloon)
        self.assertTrue(balloons)
        self.assertEqual(len(spans), 1, spans)
        start, end = spans[0]
        self.assertGreaterEqual(start, at("07:30:00") - 0.1)
        self.assertLess(start, at("07:30:00") + HEARD_WITHIN)
        # The whole built-in sound, started once: not cut, not restarted.
        self.assertAlmostEqual(end - start, BUILT_IN_ALARM_SECONDS, delta=LENGTH_TOLERANCE)

    def test_alarms_that_are_off_stay_silent(self):
        settings = h.make_settings()
        h.add_alarm(settings, "07:30:00", b"off", enabled=0)
        h.add_alarm(settings, "07:30:01", b"two", enabled=2)
        spans, _ = record_clock(settings, "07:29:54", "07:30:03")
        self.assertEqual(spans, [])


class HourlyChime(unittest.TestCase):
    def test_chime_sounds_once_at_the_full_hour(self):
        spans, at = record_clock(h.make_settings(), "10:59:54", "11:00:10")
        self.assertTrue(spans, "no chime was heard")
        self.assertGreaterEqual(spans[0][0], at("11:00:00") - 0.1)
        self.assertLess(spans[0][0], at("11:00:00") + HEARD_WITHIN)
        # One chime: everything heard lies within one play of the sound.
        self.assertLess(spans[-1][1] - spans[0][0], CHIME_SECONDS + LENGTH_TOLERANCE)

    def test_an_alarm_at_the_full_hour_is_heard_instead_of_the_chime(self):
        settings = h.make_settings()
        h.add_alarm(settings, "11:00:00", b"on the hour")
        spans, at = record_clock(settings, "10:59:54", "11:00:13")
        self.assertEqual(len(spans), 1, spans)
        self.assertAlmostEqual(spans[0][0], at("11:00:00"), delta=HEARD_WITHIN)
        # The alarm's whole sound (the chime is about two seconds shorter).
        self.assertAlmostEqual(spans[0][1] - spans[0][0], BUILT_IN_ALARM_SECONDS,
                               delta=LENGTH_TOLERANCE)

    def test_no_chime_when_it_is_off(self):
        spans, _ = record_clock(h.make_settings(hourlyChime=0), "10:59:55", "11:00:03")
        self.assertEqual(spans, [])


class ClockSetForward(unittest.TestCase):
    def test_an_alarm_the_clock_jumped_over_rings_at_once(self):
        settings = h.make_settings()
        h.add_alarm(settings, "08:05:00", b"jumped over")
        with h.Recorder() as rec:
            clock = h.start_clock(settings_bytes=settings, faketime=DAY + "08:00:02",
                                  jumpable=True)
            self.addCleanup(clock.stop)
            h.wait_for(lambda: clock.fake_now().second >= 4, 10, what="the clock to run")
            jumped_at = time.time()
            clock.jump(300)
            # The clock sees the jump at its next wake, a second at most, and rings at once.
            h.wait_until(jumped_at + 1 + HEARD_WITHIN + 2, "the late alarm to sound")
        spans = rec.sound_spans(threshold=THRESHOLD, min_silence=1.0)
        self.assertTrue(spans, "the alarm stayed silent")
        self.assertAlmostEqual(rec.wall_time(spans[0][0]), jumped_at + 0.5,
                               delta=0.5 + HEARD_WITHIN)


class RepeatRule(unittest.TestCase):
    CHINA_WORKDAYS = 0x81

    def test_a_working_days_alarm_rings_on_a_makeup_saturday_and_not_on_a_holiday(self):
        for day, heard in (("2026-10-10 ", True), ("2026-10-05 ", False)):
            settings = h.make_settings()
            h.add_alarm(settings, "08:40:00", b"work", repeat=self.CHINA_WORKDAYS)
            with h.Recorder() as rec:
                clock = h.start_clock(settings_bytes=settings, faketime=day + "08:39:54")
                try:
                    h.wait_until(clock.real_time_of(day + "08:40:03"), "the alarm's second")
                finally:
                    clock.stop()
            self.assertEqual(bool(rec.wall_spans(THRESHOLD)), heard, day)


class SoundFile(unittest.TestCase):
    """Alarms away from the full hour, so the chime does not mix in."""

    def settings_with(self, sound_bytes=None, tone_seconds=None, **fields):
        self.folder = tempfile.mkdtemp(prefix="veltrano-sound-")
        path = os.path.join(self.folder, "alarm.wav")
        if tone_seconds:
            h.write_tone(path, tone_seconds)
        else:
            with open(path, "wb") as f:
                f.write(sound_bytes)
        return h.make_settings(alarmSoundPath=h.windows_path(path), **fields)

    def test_file_is_cut_after_its_seconds(self):
        settings = self.settings_with(tone_seconds=20, alarmSoundSeconds=10)
        h.add_alarm(settings, "08:10:00", b"music")
        spans, _ = record_clock(settings, "08:09:53", "08:10:13", workdir=self.folder)
        self.assertEqual(len(spans), 1, spans)
        # The device itself stops the file at 10 000 ms.
        self.assertAlmostEqual(spans[0][1] - spans[0][0], 10.0, delta=LENGTH_TOLERANCE)

    def test_whole_song_plays_again_at_the_next_alarm(self):
        settings = self.settings_with(tone_seconds=2, alarmSoundSeconds=0)
        h.add_alarm(settings, "08:10:00", b"music")
        h.add_alarm(settings, "08:10:05", b"again")
        spans, at = record_clock(settings, "08:09:54", "08:10:09", workdir=self.folder)
        self.assertEqual(len(spans), 2, spans)
        self.assertAlmostEqual(spans[1][0], at("08:10:05"), delta=HEARD_WITHIN)

    def test_file_that_does_not_play_falls_back_to_the_built_in_alarm(self):
        settings = self.settings_with(sound_bytes=b"this is no sound at all" * 100)
        h.add_alarm(settings, "08:20:00", b"still rings")
        spans, at = record_clock(settings, "08:19:54", "08:20:03", workdir=self.folder)
        self.assertTrue(spans, "the alarm stayed silent")
        self.assertAlmostEqual(spans[0][0], at("08:20:00"), delta=HEARD_WITHIN)

    def test_wave_of_32_bit_samples_in_a_plain_header_falls_back_to_the_built_in_alarm(self):
        # One second of tone that the media player opens but plays as silence; the built-in alarm
        # rings on until the clock stops, three seconds in.
        rate, samples = 8000, 8000
        data = b"".join(struct.pack("<i", int(1.5e9 * math.sin(2 * math.pi * 660 * i / rate)))
                        for i in range(samples))
        fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 4, 4, 32)
        settings = self.settings_with(sound_bytes=b"RIFF" + struct.pack("<I", 36 + len(data))
                                      + b"WAVEfmt " + struct.pack("<I", len(fmt)) + fmt
                                      + b"data" + struct.pack("<I", len(data)) + data)
        h.add_alarm(settings, "08:30:00", b"still rings")
        spans, at = record_clock(settings, "08:29:54", "08:30:03", workdir=self.folder)
        self.assertTrue(spans, "the alarm stayed silent")
        self.assertAlmostEqual(spans[0][0], at("08:30:00"), delta=1.0)
        self.assertGreater(spans[0][1] - spans[0][0], 2.0, spans)


if __name__ == "__main__":
    unittest.main()
