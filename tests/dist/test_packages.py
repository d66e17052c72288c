"""What `make dist` packs: the portable zips, and what the programs and the installer carry."""

import os
import sys
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import packages  # noqa: E402

MACHINE = {"x64": 0x8664, "x86": 0x14C}
COMMON_CONTROLS = "Microsoft.Windows.Common-Controls"
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
WINDOWS_VISTA = "{e2011457-1546-43c5-a5fe-008deee3d3f0}"


def execution_level(manifest):
    element = manifest.find("trustInfo/security/requestedPrivileges/requestedExecutionLevel")
    return None if element is None else element.get("level")


class PortableZips(unittest.TestCase):
    def test_each_zip_holds_its_own_program_and_the_readme(self):
        for architecture in packages.ARCHITECTURES:
            with self.subTest(architecture):
                with zipfile.ZipFile(packages.zip_path(architecture)) as archive:
                    self.assertEqual(sorted(archive.namelist()),
                                     [packages.README_NAME, packages.EXE_NAME])
                    readme = archive.read(packages.README_NAME).decode("utf-8-sig")
                self.assertIn("Veltrano %s" % packages.version(), readme)
                self.assertEqual(packages.pe_machine(packages.program_bytes(architecture)),
                                 MACHINE[architecture])


class ProgramResources(unittest.TestCase):
    def test_version_resource_names_the_product_and_its_version(self):
        major, minor = (int(part) for part in packages.version().split("."))
        for architecture in packages.ARCHITECTURES:
            with self.subTest(architecture), packages.program_file(architecture) as path:
                fixed, strings = packages.version_info(path)
                self.assertEqual(fixed, (major, minor, 0, 0))
                self.assertEqual(strings["ProductName"], "Veltrano")
                self.assertEqual(strings["ProductVersion"], packages.version())
                self.assertEqual(strings["FileVersion"], packages.version())
                # Described in Chinese, as the program speaks it.
                self.assertTrue(any("\u4e00" <= c <= "\u9fff" for c in strings["FileDescription"]),
                                strings["FileDescription"])

    def test_manifest_asks_for_themed_controls_and_no_elevation_on_xp_to_11(self):
        for architecture in packages.ARCHITECTURES:
            with self.subTest(architecture), packages.program_file(architecture) as path:
                manifest = packages.manifest(path)
                self.assertEqual(manifest.find("assemblyIdentity").get("version"),
                                 packages.version() + ".0.0")
                dependencies = {(a.get("name"), a.get("version"))
                                for a in manifest.iter("assemblyIdentity")}
                self.assertIn((COMMON_CONTROLS, "6.0.0.0"), dependencies)
                self.assertEqual(execution_level(manifest), "asInvoker")
                systems = {entry.get("Id") for entry in manifest.iter("supportedOS")}
                self.assertTrue({WINDOWS_VISTA, WINDOWS_10_AND_11} <= systems, systems)

    def test_programs_and_installer_carry_the_clock_icon(self):
        expected = packages.source_icon_images()
        for architecture in packages.ARCHITECTURES:
            with self.subTest(architecture), packages.program_file(architecture) as path:
                self.assertEqual(packages.program_icon_images(path), expected)
        self.assertEqual(packages.program_icon_images(packages.installer_path()), expected)

    def test_installer_runs_without_administrator_rights(self):
        self.assertEqual(execution_level(packages.manifest(packages.installer_path())),
                         "asInvoker")


if __name__ == "__main__":
    unittest.main()
