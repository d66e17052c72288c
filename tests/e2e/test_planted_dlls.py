"""A DLL beside the program never runs: started from a folder (as from Downloads) that also holds
a stranger's winmm.dll, msvfw32.dll and gdiplus.dll, with Wine preferring such DLLs to its own as
Windows does, the clock draws, rings and plays a file, and loads none of them."""

import glob
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from test_alarms_and_chime import record_clock  # noqa: E402

PLANTED = ("winmm", "msvfw32", "gdiplus")


class PlantedDlls(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="veltrano-planted-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        shutil.copy(h.exe_path(), self.folder)
        for name in PLANTED + ("control",):
            shutil.copy(os.environ["VELTRANO_PLANTED_DLL"],
                        os.path.join(self.folder, name + ".dll"))

    def marks(self):
        return [os.path.basename(p) for p in glob.glob(os.path.join(self.folder, "*.loaded"))]

    def test_a_planted_dll_that_is_loaded_leaves_its_mark(self):
        h.run_wine("rundll32", os.path.join(self.folder, "control.dll") + ",None")
        self.assertEqual(self.marks(), ["control.dll.loaded"])

    def test_the_clock_draws_and_rings_with_the_built_in_sound_and_a_file(self):
        tone = os.path.join(self.folder, "tone.wav")
        h.write_tone(tone, 1)
        # The built-in alarm plays on until the clock is stopped, three seconds in; last, so that
        # nothing of it can linger into the other run's recording.
        for sound, shortest, longest in ((h.windows_path(tone), 0.5, 1.6), ("", 2.0, 4.0)):
            with self.subTest(sound=sound):
                settings = h.make_settings(alarmSoundPath=sound)
                h.add_alarm(settings, "07:30:00", b"planted")
                faces = []
                spans, at = record_clock(
                    settings, "07:29:54", "07:30:03", workdir=self.folder,
                    during=lambda clock: faces.append(clock.dial_pixel()),
                    exe=os.path.join(self.folder, h.exe_name()),
                    extra_env={"WINEDLLOVERRIDES": ",".join(PLANTED) + "=n,b"})
                self.assertEqual(self.marks(), [])
                self.assertGreater(sum(faces[0]), 500)  # the dial's white face
                self.assertAlmostEqual(spans[0][0], at("07:30:00"), delta=1.0)
                self.assertTrue(shortest <= spans[0][1] - spans[0][0] <= longest, spans)


if __name__ == "__main__":
    unittest.main()
