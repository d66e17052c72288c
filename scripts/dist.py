#!/usr/bin/env python3
"""Packs the built programs into what a Windows user downloads (what `make dist` calls).

    scripts/dist.py --x64 <veltrano.exe> --x86 <veltrano.exe> --out <dir>

writes into <dir>, named with the version from the file VERSION:
    veltrano-<version>-x64.zip    the 64-bit program and readme.txt (portable)
    veltrano-<version>-x86.zip    the 32-bit program and readme.txt (portable, Windows XP on)
    veltrano-<version>-setup.exe  the per-user installer of the 64-bit program (NSIS)
"""

import argparse
import glob
import os
import subprocess
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGING = os.path.join(ROOT, "packaging")
EXE_NAME = "veltrano.exe"
README_NAME = "readme.txt"


def read_version():
    with open(os.path.join(ROOT, "VERSION"), encoding="ascii") as f:
        return f.read().strip()


def readme_bytes(version):
    """The readme as Notepad on any Windows reads it: UTF-8 with a byte-order mark, CRLF."""
    with open(os.path.join(PACKAGING, README_NAME), encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version)
    return b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8")


def write_zip(path, exe, readme):
    temporary = path + ".part"
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.write(exe, EXE_NAME)
        info = zipfile.ZipInfo(README_NAME, date_time=zipfile.ZipInfo.from_file(exe).date_time)
        info.compress_type = zipfile.ZIP_DEFLATED
        archive.writestr(info, readme)
    os.replace(temporary, path)


def write_installer(path, exe, version):
    subprocess.run(
        ["makensis", "-V2", "-WX", "-INPUTCHARSET", "UTF8",
         "-DVERSION=" + version, "-DPROGRAM=" + os.path.abspath(exe),
         "-DOUTFILE=" + os.path.abspath(path),
         os.path.join(PACKAGING, "veltrano.nsi")],
        check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--x64", required=True, help="the 64-bit veltrano.exe")
    parser.add_argument("--x86", required=True, help="the 32-bit veltrano.exe")
    parser.add_argument("--out", required=True, help="the output directory")
    args = parser.parse_args()

    version = read_version()
    os.makedirs(args.out, exist_ok=True)
    # Packages of an earlier version would otherwise lie beside the new ones.
    for old in glob.glob(os.path.join(args.out, "veltrano-*")):
        os.remove(old)

    readme = readme_bytes(version)
    base = os.path.join(args.out, "veltrano-" + version)
    outputs = [base + "-x64.zip", base + "-x86.zip", base + "-setup.exe"]
    write_zip(outputs[0], args.x64, readme)
    write_zip(outputs[1], args.x86, readme)
    write_installer(outputs[2], args.x64, version)
    for path in outputs:
        print("%s (%d KB)" % (path, (os.path.getsize(path) + 1023) // 1024))


if __name__ == "__main__":
    sys.exit(main())
