"""Options, the custom look and the About box, opened from the clock's menus on the real clock."""

import os
import re
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

# Keys that pick an item of the clock menu once it is open (no item selected yet).
CUSTOM_LOOK = ("Down", "Right") + ("Down",) * 5 + ("Return",)
OPTIONS = ("Down",) * 7 + ("Return",)
ABOUT = ("Down",) * 8 + ("Return",)
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


class DialogTest(unittest.TestCase):
    def test_options_slider_grows_the_clock_at_once_and_ok_registers_the_clock(self):
        clock = h.start_for(self, startWithSystem=1)
        self.addCleanup(lambda: h.run_wine("reg", "delete", RUN_KEY, "/v", "Veltrano", "/f"))
        self.assertEqual(clock.geometry()[2:], (130, 130))
        dialog = clock.open_dialog(OPTIONS)
        h.key(*(("Tab",) * 5))  # from OK past Cancel and the three boxes to the slider
        h.key("Right")
        h.wait_for(lambda: clock.geometry()[2:] == (143, 143), 2, what="the clock at 110 %")
        h.key("Return")
        clock.wait_closed(dialog)
        data = clock.wait_for_settings(
            lambda b: abs(h.settings_of(b)["zoom"] - 1.1) < 1e-6,
            what="zoom 1.1 saved")
        self.assertEqual(h.settings_of(data)["startWithSystem"], 1)
        value = h.run_wine("reg", "query", RUN_KEY, "/v", "Veltrano")
        expected = '"%s"' % h.windows_path(h.exe_path())
        self.assertRegex(value, r"Veltrano\s+REG_SZ\s+" + re.escape(expected))

    def test_custom_look_of_generated_files_shows_on_the_clock(self):
        folder = tempfile.mkdtemp(prefix="veltrano-e2e-look-")
        self.addCleanup(shutil.rmtree, folder, True)
        magenta = (255, 0, 255)
        face = h.solid_png(os.path.join(folder, "face.png"), 130, 130, magenta)
        hour = h.solid_png(os.path.join(folder, "hour.png"), 13, 81, (0, 0, 0))
        minute = h.solid_png(os.path.join(folder, "minute.png"), 13, 90, (0, 0, 0))
        clock = h.start_for(self, customHourPath=hour, customMinutePath=minute)
        dialog = clock.open_dialog(CUSTOM_LOOK)
        # From OK past Cancel and the face's box to its browse button.
        before = {w.id for w in clock.windows()}
        h.key("Tab", "Tab", "Tab", "space")
        chooser = clock.wait_for_dialog(before)
        h.type_text(face)
        h.key("Return")
        clock.wait_closed(chooser)
        h.key("shift+Tab", "shift+Tab", "shift+Tab", "Return")  # back to OK
        clock.wait_closed(dialog)
        data = clock.wait_for_settings(lambda b: h.settings_of(b)["styleIndex"] == 5,
                                       what="styleIndex 5 saved")
        self.assertEqual(h.settings_of(data)["customFacePath"], face.encode("gbk"))
        x, y, w, hgt = clock.geometry()
        # The clock is drawn at constant alpha 254 over the black desktop.
        def shown(c):
            return c[0] > 240 and c[1] < 16 and c[2] > 240
        h.wait_for(lambda: h.screenshot().count(shown, (x, y, w, hgt)) > w * hgt // 2, 3,
                   what="the magenta face on screen")

    def test_about_opens_from_the_menu_and_from_the_system_menu(self):
        clock = h.start_for(self)
        about = clock.open_dialog(ABOUT)
        h.key("Return")
        clock.wait_closed(about)

        x, y = clock.center()
        h.click(x, y)  # the clock takes the keyboard
        before = {w.id for w in clock.windows()}
        h.key("alt+space")
        menu = h.wait_for_new_window(before, timeout=5, pid=clock.pid)
        h.key("Up", "Return")  # the last item
        about = clock.wait_for_dialog(before | {menu.id})
        h.key("Return")
        clock.wait_closed(about)


if __name__ == "__main__":
    unittest.main()
