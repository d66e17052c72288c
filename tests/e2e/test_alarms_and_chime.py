"""Alarms, the hourly chime and sound files, heard on the recorded sound output."""

import math
import os
import struct
import sys
import time
import unittest
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

THRESHOLD = 1500  # peak sample value that counts as sound (full scale 32767)
BUILT_IN_ALARM_SECONDS = 223652 / 2 / 11025
CHIME_SECONDS = 129062 / 2 / 8000


def wait_until(wall_time, what):
    h.wait_for(lambda: time.time() >= wall_time, max(0, wall_time - time.time()) + 5,
               interval=0.05, what=what)


def spans_of(recorder):
    # Gaps shorter than a second belong to one sound (the alarm beeps in groups).
    return recorder.sound_spans(threshold=THRESHOLD, min_silence=1.0)


def windows_path(linux_path):
    return "Z:" + linux_path.replace("/", "\\")


def write_tone(path, seconds, rate=8000, frequency=660):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        frames = bytearray()
        for i in range(int(seconds * rate)):
            frames += struct.pack("<h", int(20000 * math.sin(2 * math.pi * frequency * i / rate)))
        out.writeframes(bytes(frames))


def balloon_windows():
    # Wine's tray shows a balloon as a tooltip window of its explorer, beside the icon area.
    return {w.id for w in h.tray_windows() if w.override_redirect}


class BuiltInAlarm(unittest.TestCase):
    def test_enabled_alarm_rings_once_in_its_second_and_shows_a_balloon(self):
        settings = h.make_settings()
        h.add_alarm(settings, "07:30:00", "起床".encode("gbk"), enabled=1)
        with h.Recorder() as rec:
            clock = h.start_clock(settings_bytes=settings, faketime="2026-12-07 07:29:56")
            try:
                due = clock.real_time_of("2026-12-07 07:30:00")
                balloons_before = balloon_windows()
                # Wine's tray takes a few seconds to pop a balloon up.
                new_balloons = h.wait_for(lambda: balloon_windows() - balloons_before,
                                          due + 8 - time.time(), what="the reminder balloon")
                wait_until(due + BUILT_IN_ALARM_SECONDS + 1.5, "the end of the alarm sound")
            finally:
                clock.stop()
        spans = spans_of(rec)
        self.assertEqual(len(spans), 1, spans)
        start, end = (rec.wall_time(t) for t in spans[0])
        self.assertGreaterEqual(start, due - 0.1)
        self.assertLess(start, due + 1.0)
        # The whole built-in sound, started once: not cut, not restarted.
        self.assertAlmostEqual(end - start, BUILT_IN_ALARM_SECONDS, delta=0.8)
        self.assertTrue(new_balloons)

    def test_alarms_that_are_off_stay_silent(self):
        settings = h.make_settings()
        h.add_alarm(settings, "07:30:00", b"off", enabled=0)
        h.add_alarm(settings, "07:30:01", b"two", enabled=2)
        with h.Recorder() as rec:
            clock = h.start_clock(settings_bytes=settings, faketime="2026-12-07 07:29:57")
            try:
                wait_until(clock.real_time_of("2026-12-07 07:30:03"), "the alarm seconds")
            finally:
                clock.stop()
        self.assertEqual(spans_of(rec), [])


class HourlyChime(unittest.TestCase):
    def test_chime_sounds_once_at_the_full_hour(self):
        with h.Recorder() as rec:
            clock = h.start_clock(faketime="2026-12-07 10:59:57")
            try:
                due = clock.real_time_of("2026-12-07 11:00:00")
                wait_until(due + CHIME_SECONDS + 1.5, "the end of the chime")
            finally:
                clock.stop()
        spans = spans_of(rec)
        self.assertGreaterEqual(len(spans), 1, "no chime was heard")
        first = rec.wall_time(spans[0][0])
        last = rec.wall_time(spans[-1][1])
        self.assertGreaterEqual(first, due - 0.1)
        self.assertLess(first, due + 1.0)
        # One chime: everything heard lies within one play of the sound.
        self.assertLess(last - first, CHIME_SECONDS + 0.8)

    def test_no_chime_when_it_is_off(self):
        settings = h.make_settings(hourlyChime=0)
        with h.Recorder() as rec:
            clock = h.start_clock(settings_bytes=settings, faketime="2026-12-07 10:59:58")
            try:
                wait_until(clock.real_time_of("2026-12-07 11:00:03"), "the full hour")
            finally:
                clock.stop()
        self.assertEqual(spans_of(rec), [])


class SoundFile(unittest.TestCase):
    # Away from the full hour, so the chime does not mix in.
    def _clock_with_file(self, seconds_limit, tone_seconds, alarm_times, start):
        clock_dir = os.path.join(os.environ.get("TMPDIR", "/tmp"), "veltrano-sound-%d" % os.getpid())
        os.makedirs(clock_dir, exist_ok=True)
        self.addCleanup(lambda: [os.remove(os.path.join(clock_dir, f))
                                 for f in os.listdir(clock_dir)] and None)
        tone = os.path.join(clock_dir, "tone.wav")
        write_tone(tone, tone_seconds)
        settings = h.make_settings(alarmSoundSeconds=seconds_limit,
                                   alarmSoundPath=windows_path(tone))
        for at in alarm_times:
            h.add_alarm(settings, at, b"music")
        return h.start_clock(settings_bytes=settings, faketime=start, workdir=clock_dir)

    def test_file_is_cut_after_its_seconds(self):
        with h.Recorder() as rec:
            clock = self._clock_with_file(10, 20, ["08:10:00"], "2026-12-07 08:09:56")
            try:
                due = clock.real_time_of("2026-12-07 08:10:00")
                wait_until(due + 13, "the cut")
            finally:
                clock.stop()
        spans = spans_of(rec)
        self.assertEqual(len(spans), 1, spans)
        length = rec.wall_time(spans[0][1]) - rec.wall_time(spans[0][0])
        # Stopped at the first half-second redraw at 10 000 ms or more.
        self.assertGreaterEqual(length, 9.8)
        self.assertLess(length, 11.0)

    def test_whole_song_plays_again_at_the_next_alarm(self):
        with h.Recorder() as rec:
            clock = self._clock_with_file(0, 2, ["08:10:00", "08:10:05"], "2026-12-07 08:09:57")
            try:
                second = clock.real_time_of("2026-12-07 08:10:05")
                wait_until(second + 3.5, "the second alarm")
            finally:
                clock.stop()
        spans = spans_of(rec)
        self.assertEqual(len(spans), 2, spans)
        self.assertAlmostEqual(rec.wall_time(spans[1][0]), second, delta=1.0)

    def test_file_that_does_not_play_falls_back_to_the_built_in_alarm(self):
        clock_dir = os.path.join(os.environ.get("TMPDIR", "/tmp"), "veltrano-bad-%d" % os.getpid())
        os.makedirs(clock_dir, exist_ok=True)
        bad = os.path.join(clock_dir, "not-a-song.mp3")
        with open(bad, "wb") as f:
            f.write(b"this is no sound at all" * 100)
        settings = h.make_settings(alarmSoundPath=windows_path(bad))
        h.add_alarm(settings, "08:20:00", b"still rings")
        with h.Recorder() as rec:
            clock = h.start_clock(settings_bytes=settings, faketime="2026-12-07 08:19:57",
                                  workdir=clock_dir)
            try:
                due = clock.real_time_of("2026-12-07 08:20:00")
                wait_until(due + 3, "the alarm")
                self.assertTrue(clock.is_running())
            finally:
                clock.stop()
        spans = spans_of(rec)
        self.assertTrue(spans, "the alarm stayed silent")
        self.assertAlmostEqual(rec.wall_time(spans[0][0]), due, delta=1.0)


if __name__ == "__main__":
    unittest.main()
