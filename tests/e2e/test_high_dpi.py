"""At 192 DPI the clock is twice as large and drawn from its double-size art."""

import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import harness as h  # noqa: E402
from harness import wine  # noqa: E402
from test_frame_tool import render  # noqa: E402

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


def set_dpi(dpi):
    """Wine reads the DPI of its prefix when its server starts."""
    h.run_wine("reg", "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
               "/f")
    wine._stop_wineserver()


def over(background, frame, x, y):
    """The frame's pixel at (x, y) over the desktop as the window manager blends it."""
    r, g, b, a = frame.at(x, y)
    return tuple((c * a + d * (255 - a)) / 255 for c, d in zip((r, g, b), background))


def mean_error(shot, background, frame, sample):
    total = 0.0
    for x, y in sample:
        expected = over(background.pixel(x, y), frame, x, y)
        total += sum(abs(s - e) for s, e in zip(shot.pixel(x, y), expected))
    return total / len(sample)


def sharpness(colour, size):
    """Mean step between neighbouring pixels inside the dial: art scaled up is smoother."""
    steps = [abs(colour(x + 1, y)[c] - colour(x, y)[c])
             for y in range(40, size - 40, 3) for x in range(40, size - 41) for c in range(3)]
    return sum(steps) / len(steps)


def stretched(frame, background):
    """The 1x frame over the desktop at twice its size, bilinear, as Windows stretches a
    program that does not scale itself."""
    def colour(x, y):
        fx, fy = max(0.0, x / 2 - 0.25), max(0.0, y / 2 - 0.25)
        x0, y0 = min(int(fx), frame.w - 2), min(int(fy), frame.h - 2)
        tx, ty = fx - x0, fy - y0
        corners = [over(background.pixel(x, y), frame, x0 + i, y0 + j)
                   for j in (0, 1) for i in (0, 1)]
        return tuple((corners[0][c] * (1 - tx) + corners[1][c] * tx) * (1 - ty) +
                     (corners[2][c] * (1 - tx) + corners[3][c] * tx) * ty for c in range(3))
    return colour


class HighDpi(unittest.TestCase):
    def setUp(self):
        set_dpi(192)
        self.addCleanup(set_dpi, 96)

    def test_the_clock_at_192_dpi_is_260_pixels_from_the_double_size_art(self):
        left, top = 200, 150
        background = h.screenshot().crop((left, top, 260, 260))
        settings = h.make_settings(windowLeft=left, windowTop=top, lockPosition=1,
                                   showSecondHand=0)
        clock = h.start_clock(settings_bytes=settings, faketime="2026-12-07 10:09:05")
        self.addCleanup(clock.stop)
        self.assertEqual(clock.geometry(), (left, top, 260, 260))
        shot = h.screenshot().crop((left, top, 260, 260))

        sharp = render(0, "10:09:00", 1.0, "--no-second-hand", "--dpi=192")
        self.assertEqual((sharp.w, sharp.h), (260, 260))
        sample = [(x, y) for y in range(0, 260, 2) for x in range(0, 260, 2)]
        self.assertLess(mean_error(shot, background, sharp, sample), 6.0)
        one_x = render(0, "10:09:00", 1.0, "--no-second-hand", "--dpi=96")
        self.assertLess(1.2 * sharpness(stretched(one_x, background), 260),
                        sharpness(shot.pixel, 260))

    def test_a_first_start_at_192_dpi_stands_wholly_inside_the_top_right_corner(self):
        clock = h.start_clock()
        self.addCleanup(clock.stop)
        # The 96-DPI place of a 130-pixel clock (10 pixels in), scaled: 20 pixels in.
        width, _ = h.screen_size()
        self.assertEqual(clock.geometry(), (width - 260 - 20, 20, 260, 260))


if __name__ == "__main__":
    unittest.main()
