"""veltrano-frame: one frame of a built-in look written as a PNG by the program's renderer."""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "assets"))
import harness as h  # noqa: E402
import check_assets  # noqa: E402
import pnglib  # noqa: E402  (found through the path the harness sets)


def render(look, time_text, zoom, *extra):
    """A frame of veltrano-frame as the asset checker's RGBA image."""
    out = os.path.join(tempfile.mkdtemp(prefix="veltrano-frame-"), "frame.png")
    subprocess.run(["wine", os.environ["VELTRANO_FRAME_EXE"], str(look), time_text, str(zoom),
                    h.windows_path(out)] + list(extra), check=True, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    png = pnglib.decode(check_assets.read(out))
    if png.channels != 4:
        raise AssertionError("the frame has %d channels, want RGBA" % png.channels)
    return check_assets.Image(png.width, png.height, png.pixels)


class FrameTool(unittest.TestCase):
    def test_every_look_renders_a_round_clock_with_soft_edges(self):
        for look in range(5):
            with self.subTest(look=look):
                frame = render(look, "10:09:36", 1.0)
                self.assertEqual((frame.w, frame.h), (130, 130))
                self.assertEqual(frame.at(0, 0)[3], 0)
                self.assertEqual(frame.at(65, 65)[3], 255)
                edge = [frame.at(x, 65)[3] for x in range(0, 10)]
                self.assertTrue(any(0 < a < 255 for a in edge), "no anti-aliased edge: %s" % edge)

    def test_zoom_and_hands_move_with_the_time(self):
        frame = render(0, "06:00:00", 1.5)
        self.assertEqual((frame.w, frame.h), (195, 195))
        # At 06:00 the hour hand points straight down and the minute hand straight up.
        six = render(0, "06:00:00", 1.0, "--no-second-hand")
        noon = render(0, "12:00:00", 1.0, "--no-second-hand")
        below = [six.at(65, y) for y in range(85, 100)]
        self.assertNotEqual(below, [noon.at(65, y) for y in range(85, 100)])


if __name__ == "__main__":
    unittest.main()
