"""The same commit gives the same downloads: the programs' resources compiled and the programs
linked again, then packed again (files younger than the shipped ones), are byte for byte what
`make dist` wrote."""

import hashlib
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import packages  # noqa: E402

# The trees of the shipped programs, as the Makefile names them, and what in them carries a time.
PRODUCT_TREES = {"x64": "win64-product", "x86": "win32"}
REMADE = ("src/veltrano.exe", "src/CMakeFiles/veltrano.dir/__/res/veltrano.rc.res")


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


class SameCommitSameBytes(unittest.TestCase):
    def test_making_and_packing_again_changes_no_byte(self):
        programs = []
        for architecture, tree in PRODUCT_TREES.items():
            build = os.path.join(os.environ["VELTRANO_BUILD_ROOT"], tree)
            for made in REMADE:
                os.remove(os.path.join(build, made))
            subprocess.run(["cmake", "--build", build, "--target", "veltrano"], check=True,
                           stdout=subprocess.DEVNULL, timeout=240)
            programs += ["--" + architecture, os.path.join(build, REMADE[0])]
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, os.path.join(HERE, "..", "..", "scripts", "dist.py"),
                            "--out", out] + programs, check=True, stdout=subprocess.DEVNULL,
                           timeout=240)
            for suffix in ("x64.zip", "x86.zip", "setup.exe"):
                shipped = packages.dist_path(suffix)
                self.assertEqual(digest(os.path.join(out, os.path.basename(shipped))),
                                 digest(shipped), suffix)


if __name__ == "__main__":
    unittest.main()
