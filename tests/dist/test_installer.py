"""The installer under Wine: a per-user install, the clock started from its shortcut's folder,
the clock's name and icon registered for its app id, and an uninstall that takes away everything
the install and the clock's options added."""

import glob
import os
import struct
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import packages  # noqa: E402
import harness as h  # noqa: E402

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrano"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Veltrano"
UNINSTALLER = "uninstall.exe"
APP_ID = "Veltrano.Clock"
APP_ID_KEY = r"HKCU\Software\Classes\AppUserModelId\%s" % APP_ID
APP_ICON = "veltrano.ico"
SHORTCUT = "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Veltrano.lnk"
# An NSIS installer ends with 2 when it was cancelled.
INSTALLER_CANCELLED = 2


def wine(*args, timeout=120):
    return subprocess.run(["wine"] + list(args), stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=timeout)


def reg_query(key, value):
    """The data of a REG_SZ value, or None when the key or the value does not exist."""
    result = wine("reg", "query", key, "/v", value, timeout=30)
    if result.returncode != 0:
        return None
    for line in result.stdout.decode(errors="replace").splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[0] == value and parts[1] == "REG_SZ":
            return parts[2]
    return None


def unix_path(windows_path):
    drive, rest = windows_path.split(":", 1)
    return os.path.join(os.environ["WINEPREFIX"], "dosdevices", drive.lower() + ":",
                        *[part for part in rest.split("\\") if part])


def shell_link(path):
    """(target path, working folder) of a .lnk file (the shell link binary format)."""
    with open(path, "rb") as f:
        data = f.read()
    (flags,) = struct.unpack_from("<I", data, 0x14)
    has_id_list, has_link_info, is_unicode = flags & 0x1, flags & 0x2, flags & 0x80
    position = 0x4C
    if has_id_list:
        position += 2 + struct.unpack_from("<H", data, position)[0]
    target = None
    if has_link_info:
        info_size, _, info_flags, _, base_offset = struct.unpack_from("<IIIII", data, position)
        if info_flags & 0x1:  # a local path
            start = position + base_offset
            target = data[start:data.index(b"\0", start)].decode("gbk")
        position += info_size
    # The optional strings, in this order: name, relative path, working folder, ...
    working_folder = None
    for bit in (0x4, 0x8, 0x10, 0x20, 0x40):
        if not flags & bit:
            continue
        (count,) = struct.unpack_from("<H", data, position)
        size = count * 2 if is_unicode else count
        text = data[position + 2:position + 2 + size]
        position += 2 + size
        if bit == 0x10:
            # Wine counts the terminating zero too; Windows does not.
            working_folder = text.decode("utf-16-le" if is_unicode else "gbk").rstrip("\0")
    return target, working_folder


def start_menu_shortcut():
    found = glob.glob(os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", "*", SHORTCUT))
    return found[0] if found else None


class Installer(unittest.TestCase):
    def test_install_start_from_the_shortcut_folder_and_uninstall(self):
        installer = packages.installer_path()
        result = wine(installer, "/S")
        self.assertEqual(result.returncode, 0, result.stdout)

        # Per user: registered under HKCU, in the user's own programs folder.
        location = reg_query(UNINSTALL_KEY, "InstallLocation")
        self.assertIsNotNone(location, "no uninstall entry")
        self.assertTrue(location.lower().endswith(r"\appdata\local\programs\veltrano"), location)
        self.assertEqual(reg_query(UNINSTALL_KEY, "DisplayVersion"), packages.version())
        folder = unix_path(location)
        self.assertEqual(sorted(os.listdir(folder)),
                         sorted([UNINSTALLER, APP_ICON, packages.EXE_NAME]))
        with open(os.path.join(folder, packages.EXE_NAME), "rb") as f:
            program = f.read()
        self.assertEqual(program, packages.program_bytes("x64"))
        # Under the id that the program claims, the name and the icon beside it.
        self.assertIn(APP_ID.encode("utf-16-le"), program)
        self.assertEqual(reg_query(APP_ID_KEY, "DisplayName"), "Veltrano")
        self.assertEqual(reg_query(APP_ID_KEY, "IconUri"), location + "\\" + APP_ICON)

        shortcut = start_menu_shortcut()
        self.assertIsNotNone(shortcut, "no Start-menu shortcut")
        target, working_folder = shell_link(shortcut)
        self.assertEqual(target.lower(), (location + "\\" + packages.EXE_NAME).lower())
        self.assertEqual(working_folder.lower(), location.lower())

        os.environ["VELTRANO_EXE"] = os.path.join(folder, packages.EXE_NAME)
        with h.start_clock(workdir=unix_path(working_folder)) as clock:
            h.settings_of(clock.wait_for_settings(timeout=15))
            self.assertTrue(os.path.exists(os.path.join(folder, "Settings.def")))
            # The running clock cannot be replaced: a silent install gives up.
            self.assertEqual(wine(installer, "/S").returncode, INSTALLER_CANCELLED)

        # What the clock's option "开机自动运行" writes.
        program = location + "\\" + packages.EXE_NAME
        self.assertEqual(wine("reg", "add", RUN_KEY, "/v", RUN_VALUE, "/d", program, "/f",
                              timeout=30).returncode, 0)

        result = wine(os.path.join(folder, UNINSTALLER), "/S")
        self.assertEqual(result.returncode, 0, result.stdout)
        # The uninstaller goes on in a copy of itself; its last step removes its entry.
        h.wait_for(lambda: reg_query(UNINSTALL_KEY, "InstallLocation") is None, 60,
                   interval=0.5, what="the uninstaller to finish")

        # The user's settings stay for a reinstall; everything else is gone.
        self.assertEqual(os.listdir(folder), ["Settings.def"])
        self.assertIsNone(start_menu_shortcut())
        self.assertIsNone(reg_query(RUN_KEY, RUN_VALUE))
        self.assertIsNone(reg_query(APP_ID_KEY, "DisplayName"))


if __name__ == "__main__":
    unittest.main()
