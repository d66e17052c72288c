"""Options, the custom look and the About box, opened from the clock's menus on the real clock."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

# Keys that pick an item of the clock menu once it is open (no item selected yet).
CUSTOM_LOOK = ("Down", "Right") + ("Down",) * 5 + ("Return",)
OPTIONS = ("Down",) * 7 + ("Return",)
ABOUT = ("Down",) * 8 + ("Return",)
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def wine_tool(*args):
    return h._run(list(args), timeout=60, env=h._wine_env())


def windows_path(path):
    return wine_tool("winepath", "-w", path).strip()


def solid_png(path, width, height, rgb):
    with open(path, "wb") as f:
        f.write(h._png_bytes(width, height, bytes(rgb) * (width * height)))
    return windows_path(path)


class DialogTest(unittest.TestCase):
    def start(self, **fields):
        clock = h.start_clock(settings_bytes=h.make_settings(**fields))
        self.addCleanup(clock.stop)
        clock.wait_for_settings()
        return clock

    def open_dialog(self, clock, keys):
        """Chooses a menu item and returns the dialog it opens."""
        before = {w.id for w in clock.windows()}
        x, y = clock.center()
        h.click(x, y, 3)
        menu = h.wait_for_new_window(before, timeout=5, pid=clock.pid)
        h.key(*keys)
        return self.wait_for_dialog(clock, before | {menu.id})

    def wait_for_dialog(self, clock, before):
        return h.wait_for(
            lambda: [w for w in clock.windows() if w.id not in before
                     and not w.override_redirect and w.w > 150], 10, what="the dialog")[0]

    def wait_closed(self, clock, window):
        h.wait_for(lambda: all(w.id != window.id for w in clock.windows()), 5,
                   what="the dialog to close")

    def test_options_slider_grows_the_clock_at_once_and_ok_registers_the_clock(self):
        clock = self.start(startWithSystem=1)
        self.addCleanup(lambda: wine_tool("wine", "reg", "delete", RUN_KEY, "/v", "Veltrano",
                                          "/f"))
        self.assertEqual(clock.geometry()[2:], (130, 130))
        dialog = self.open_dialog(clock, OPTIONS)
        h.key(*(("Tab",) * 5))  # from OK past Cancel and the three boxes to the slider
        h.key("Right")
        h.wait_for(lambda: clock.geometry()[2:] == (143, 143), 2, what="the clock at 110 %")
        h.key("Return")
        self.wait_closed(clock, dialog)
        data = clock.wait_for_settings(
            lambda b: abs(h.settings_of(b)["zoom"] - 1.1) < 1e-6,
            what="zoom 1.1 saved")
        self.assertEqual(h.settings_of(data)["startWithSystem"], 1)
        value = wine_tool("wine", "reg", "query", RUN_KEY, "/v", "Veltrano")
        expected = '"%s"' % windows_path(h.exe_path())
        self.assertRegex(value, r"Veltrano\s+REG_SZ\s+" + h.re.escape(expected))

    def test_custom_look_of_generated_files_shows_on_the_clock(self):
        folder = h.tempfile.mkdtemp(prefix="veltrano-e2e-look-")
        self.addCleanup(h.shutil.rmtree, folder, True)
        magenta = (255, 0, 255)
        face = solid_png(os.path.join(folder, "face.png"), 130, 130, magenta)
        hour = solid_png(os.path.join(folder, "hour.png"), 13, 81, (0, 0, 0))
        minute = solid_png(os.path.join(folder, "minute.png"), 13, 90, (0, 0, 0))
        clock = self.start(customHourPath=hour, customMinutePath=minute)
        dialog = self.open_dialog(clock, CUSTOM_LOOK)
        # From OK past Cancel and the face's box to its browse button.
        before = {w.id for w in clock.windows()}
        h.key("Tab", "Tab", "Tab", "space")
        chooser = self.wait_for_dialog(clock, before)
        h.type_text(face)
        h.key("Return")
        self.wait_closed(clock, chooser)
        h.key("shift+Tab", "shift+Tab", "shift+Tab", "Return")  # back to OK
        self.wait_closed(clock, dialog)
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
        clock = self.start()
        about = self.open_dialog(clock, ABOUT)
        h.key("Return")
        self.wait_closed(clock, about)

        x, y = clock.center()
        h.click(x, y)  # the clock takes the keyboard
        before = {w.id for w in clock.windows()}
        h.key("alt+space")
        menu = h.wait_for_new_window(before, timeout=5, pid=clock.pid)
        h.key("Up", "Return")  # the last item
        about = self.wait_for_dialog(clock, before | {menu.id})
        h.key("Return")
        self.wait_closed(clock, about)


if __name__ == "__main__":
    unittest.main()
