"""Checks the parts of the harness that need neither Wine nor a display."""

import array
import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
import pnglib  # noqa: E402  (found through the path the harness sets)


class SettingsTest(unittest.TestCase):
    """The harness's way into Settings.def: the clock's own codec, through its tool."""

    def test_fields_alarms_and_odd_values_round_trip(self):
        b = h.make_settings(style_index=3, zoom=float("inf"), shutdownTime="23:30:00",
                            alarmSoundPath="C:\\音乐\\a.wav")
        self.assertEqual(len(b), h.settings_file_size())
        self.assertEqual(h.add_alarm(b, "07:00:00", "起床"), 0)
        self.assertEqual(h.add_alarm(b, "12:00:00", b"", enabled=0), 1)
        saved = h.settings_of(b)
        self.assertEqual((saved["styleIndex"], saved["hourlyChime"], saved["windowLeft"]),
                         (3, 1, -1))
        self.assertEqual(saved["zoom"], float("inf"))
        self.assertEqual(saved["shutdownTime"], b"23:30:00")
        self.assertEqual(saved["alarmSoundPath"], "C:\\音乐\\a.wav".encode("gbk"))
        self.assertEqual(h.read_alarms(b), [(1, b"07:00:00", "起床".encode("gbk")),
                                            (0, b"12:00:00", b"")])
        damaged = h.make_settings(alarmCount=-1)
        self.assertEqual(h.settings_of(damaged)["alarmCount"], -1)
        with self.assertRaises(RuntimeError):
            h.make_settings(noSuchField=1)


class ImageTest(unittest.TestCase):
    def test_pixels_diff_and_png(self):
        a = h.Image(4, 3, bytes(36))
        raw = bytearray(36)
        raw[(1 * 4 + 2) * 3:(1 * 4 + 2) * 3 + 3] = b"\xff\x10\x00"
        b = h.Image(4, 3, raw)
        self.assertEqual(b.pixel(2, 1), (255, 16, 0))
        self.assertTrue(b.region_differs(a, (2, 1, 1, 1)))
        self.assertFalse(b.region_differs(a, (0, 0, 2, 3)))
        self.assertEqual(b.diff_count(a), 1)
        self.assertEqual(b.bbox(lambda c: c[0] > 128), (2, 1, 1, 1))
        self.assertEqual(b.crop((2, 1, 2, 2)).pixel(0, 0), (255, 16, 0))
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "x.png")
            b.save(path)
            with open(path, "rb") as f:
                data = f.read()
        self.assertTrue(data.startswith(pnglib.SIGNATURE))
        png = pnglib.decode(data)
        self.assertEqual((png.width, png.height, png.channels), (4, 3, 3))
        self.assertEqual(bytes(png.pixels), bytes(raw))


class RecorderAnalysisTest(unittest.TestCase):
    def _recorder(self, samples, rate=8000):
        rec = h.Recorder(sink="none", rate=rate)
        rec._data = bytearray(array.array("h", samples).tobytes())
        rec.start_time = 1000.0
        return rec

    def test_onsets_after_silence(self):
        rate = 8000
        silence = [0] * (rate // 2)
        tone = [8000, -8000] * (rate // 10)
        rec = self._recorder(tone + silence + tone + [0] * 800 + tone + silence, rate)
        # The first tone was already playing; the third follows too short a silence.
        onsets = rec.onsets(threshold=1000, min_silence=0.2)
        self.assertEqual(len(onsets), 1)
        self.assertAlmostEqual(onsets[0], 0.7, places=2)
        self.assertAlmostEqual(rec.wall_time(onsets[0]), 1000.7, places=2)
        spans = rec.sound_spans(threshold=1000, min_silence=0.2)
        self.assertEqual(len(spans), 2)
        self.assertAlmostEqual(rec.duration(), (len(tone) * 3 + rate + 800) / rate)
        loud = [r for _, r in rec.rms_windows(0.1)]
        self.assertGreater(loud[0], 7000)
        self.assertEqual(loud[3], 0)


class FaketimeTest(unittest.TestCase):
    def test_parse(self):
        self.assertAlmostEqual(h.parse_faketime("+90"), 90)
        self.assertAlmostEqual(h.parse_faketime("-2h"), -7200)
        offset = h.parse_faketime("2030-01-02 03:04:05")
        target = time.mktime((2030, 1, 2, 3, 4, 5, 0, 0, -1))
        self.assertAlmostEqual(time.time() + offset, target, delta=1)
        self.assertAlmostEqual(h.parse_faketime("@2030-01-02 03:04:05"), offset, delta=1)
        with self.assertRaises(ValueError):
            h.parse_faketime("tomorrow")


if __name__ == "__main__":
    unittest.main()
