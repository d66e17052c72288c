#!/usr/bin/env python3
"""Packs the built programs into what a Windows user downloads (what `make dist` calls).

    scripts/dist.py --x64 <veltrano.exe> --x86 <veltrano.exe> --out <dir>

writes into <dir>, named with the version from the file VERSION:
    veltrano-<version>-x64.zip    the 64-bit program and readme.txt (portable)
    veltrano-<version>-x86.zip    the 32-bit program and readme.txt (portable, Windows XP on)
    veltrano-<version>-setup.exe  the per-user installer of the 64-bit program (NSIS)

The same programs give the same packages, byte for byte: every file in them carries the commit's
time (or SOURCE_DATE_EPOCH), not the time it was built or packed.
"""

import argparse
import glob
import os
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGING = os.path.join(ROOT, "packaging")
EXE_NAME = "veltrano.exe"
README_NAME = "readme.txt"
# The clock's icon in every size the program draws it, which the installer lays beside the program
# for Windows to show with the clock's notifications.
CLOCK_ICON = os.path.join(ROOT, "res", "assets", "icon_2128.ico")

sys.path.insert(0, os.path.join(ROOT, "tools"))
import pnglib  # noqa: E402

# The installer's last page shows the first look, as the clock's own renderer drew it for the
# README, on the left panel of the size that page expects.
LOOKS_PICTURE = os.path.join(ROOT, "docs", "looks.png")
PANEL_SIZE = (164, 314)
PANEL_CLOCK_SIZE = 140
PANEL_CLOCK_TOP = 60
SAMPLES_PER_AXIS = 4


def read_version():
    with open(os.path.join(ROOT, "VERSION"), encoding="ascii") as f:
        return f.read().strip()


def readme_bytes(version):
    """The readme as Notepad on any Windows reads it: UTF-8 with a byte-order mark, CRLF."""
    with open(os.path.join(PACKAGING, README_NAME), encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version)
    return b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8")


def source_time():
    """The time the packages give their files: SOURCE_DATE_EPOCH when set, else the time of the
    commit being packed, so that packing the same commit again gives the same bytes."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    commit_time = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], check=True,
                                 stdout=subprocess.PIPE, text=True).stdout
    return int(commit_time)


def write_zip(path, exe, readme, when):
    temporary = path + ".part"
    # Zip times are local times without a zone; the commit's UTC is as good as any, and fixed.
    date_time = time.gmtime(when)[:6]
    with open(exe, "rb") as f:
        program = f.read()
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data, mode in ((EXE_NAME, program, 0o755), (README_NAME, readme, 0o644)):
            info = zipfile.ZipInfo(name, date_time=date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = (stat.S_IFREG | mode) << 16
            archive.writestr(info, data)
    os.replace(temporary, path)


def averaged_pixel(looks, rgba, step, x, y):
    """Pixel (x, y) of the scaled-down clock as BMP bytes (blue, green, red), over white."""
    total = [0, 0, 0]
    for sy in range(SAMPLES_PER_AXIS):
        v = int((y * SAMPLES_PER_AXIS + sy + 0.5) * step)
        for sx in range(SAMPLES_PER_AXIS):
            u = int((x * SAMPLES_PER_AXIS + sx + 0.5) * step)
            offset = 4 * (v * looks.width + u)
            r, g, b, a = rgba[offset:offset + 4]
            for channel, value in enumerate((b, g, r)):
                total[channel] += (value * a + 255 * (255 - a)) // 255
    return bytes(t // (SAMPLES_PER_AXIS * SAMPLES_PER_AXIS) for t in total)


def panel_bitmap():
    """The finish page's panel as a 24-bit BMP: the first clock of the looks picture (the looks
    stand side by side, each as wide as the picture is high), scaled down, on white."""
    looks = pnglib.decode(open(LOOKS_PICTURE, "rb").read())
    rgba = looks.rgba()
    step = looks.height / (PANEL_CLOCK_SIZE * SAMPLES_PER_AXIS)
    width, height = PANEL_SIZE
    left = (width - PANEL_CLOCK_SIZE) // 2
    rows = []
    for y in range(height):
        row = bytearray(b"\xff" * (3 * width))
        if PANEL_CLOCK_TOP <= y < PANEL_CLOCK_TOP + PANEL_CLOCK_SIZE:
            for x in range(PANEL_CLOCK_SIZE):
                row[3 * (left + x):3 * (left + x + 1)] = averaged_pixel(
                    looks, rgba, step, x, y - PANEL_CLOCK_TOP)
        rows.append(bytes(row) + b"\0" * (-3 * width % 4))  # rows padded to 4 bytes
    pixels = b"".join(reversed(rows))  # bottom-up
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def write_installer(path, exe, version, when):
    with tempfile.TemporaryDirectory() as scratch:
        panel = os.path.join(scratch, "panel.bmp")
        with open(panel, "wb") as f:
            f.write(panel_bitmap())
        program = os.path.join(scratch, EXE_NAME)
        shutil.copyfile(exe, program)
        icon = os.path.join(scratch, os.path.basename(CLOCK_ICON))
        shutil.copyfile(CLOCK_ICON, icon)
        # The installer keeps the times of the files it carries, to give them on installing.
        for carried in (panel, program, icon):
            os.utime(carried, (when, when))
        subprocess.run(
            ["makensis", "-V2", "-WX", "-INPUTCHARSET", "UTF8",
             "-DVERSION=" + version, "-DPROGRAM=" + program,
             "-DPANEL_BITMAP=" + panel, "-DCLOCK_ICON=" + icon,
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
    when = source_time()
    base = os.path.join(args.out, "veltrano-" + version)
    outputs = [base + "-x64.zip", base + "-x86.zip", base + "-setup.exe"]
    write_zip(outputs[0], args.x64, readme, when)
    write_zip(outputs[1], args.x86, readme, when)
    write_installer(outputs[2], args.x64, version, when)
    for path in outputs:
        print("%s (%d KB)" % (path, (os.path.getsize(path) + 1023) // 1024))


if __name__ == "__main__":
    sys.exit(main())
