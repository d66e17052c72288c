"""A DLL or program beside the clock never runs: started from a folder (as from Downloads) that
also holds a stranger's winmm.dll, msvfw32.dll, gdiplus.dll and rundll32.exe, with Wine preferring
such DLLs to its own as Windows does, the clock draws, rings, plays a file and opens the date and
time settings, and runs none of them."""

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
        shutil.copy(os.environ["VELTRANO_PLANTED_EXE"], self.folder)

    def marks(self, folder=None):
        found = glob.glob(os.path.join(folder or self.folder, "*.loaded"))
        found += glob.glob(os.path.join(folder or self.folder, "*.ran"))
        return sorted(os.path.basename(p) for p in found)

    def test_a_planted_dll_or_program_that_runs_leaves_its_mark(self):
        h.run_wine("rundll32", os.path.join(self.folder, "control.dll") + ",None")
        h.run_wine(os.path.join(self.folder, "rundll32.exe"))
        self.assertEqual(self.marks(), ["control.dll.loaded", "rundll32.exe.ran"])

    def test_the_date_and_time_settings_start_the_system_folder_s_rundll32(self):
        work = tempfile.mkdtemp(prefix="veltrano-planted-work-")
        self.addCleanup(shutil.rmtree, work, True)
        shutil.copy(os.environ["VELTRANO_PLANTED_EXE"], work)
        clock = h.start_clock(workdir=work, exe=os.path.join(self.folder, h.exe_name()))
        self.addCleanup(clock.stop)

        def started():
            out = h.run(["ps", "-eo", "pid=,args="]).lower()
            return [line.split(None, 1) for line in out.splitlines() if "rundll32.exe" in line]

        h.double_click(*clock.center())
        ran = h.wait_for(lambda: started() or self.marks() or self.marks(work), 10,
                         what="a rundll32 with the date and time settings")
        self.assertEqual((self.marks(), self.marks(work)), ([], []))
        self.assertTrue(all(r"\windows\system32\rundll32.exe" in args for _, args in ran), ran)
        for pid, _ in ran:
            try:
                os.kill(int(pid), 9)
            except ProcessLookupError:
                pass

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
