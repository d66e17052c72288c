"""What `make dist` wrote (VELTRANO_DIST_DIR, VELTRANO_VERSION), and readers for the parts of a
Windows program the tests look into: resources through wrestool, imports through objdump."""

import contextlib
import os
import struct
import subprocess
import tempfile
import xml.etree.ElementTree as ElementTree
import zipfile

EXE_NAME = "veltrano.exe"
README_NAME = "readme.txt"
ARCHITECTURES = ("x64", "x86")
ICON_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res",
                           "assets", "icon_128.ico")

RT_ICON_GROUP = 14
RT_VERSION = 16
RT_MANIFEST = 24


def version():
    return os.environ["VELTRANO_VERSION"]


def dist_path(suffix):
    path = os.path.join(os.environ["VELTRANO_DIST_DIR"], "veltrano-%s-%s" % (version(), suffix))
    if not os.path.exists(path):
        raise AssertionError("%s is missing: run `make dist` first" % path)
    return path


def zip_path(architecture):
    return dist_path(architecture + ".zip")


def installer_path():
    return dist_path("setup.exe")


def program_bytes(architecture):
    with zipfile.ZipFile(zip_path(architecture)) as archive:
        return archive.read(EXE_NAME)


@contextlib.contextmanager
def program_file(architecture):
    """The path of the program of one zip, unpacked into a temporary file for the tools."""
    with tempfile.NamedTemporaryFile(suffix=".exe") as f:
        f.write(program_bytes(architecture))
        f.flush()
        yield f.name


def _run(args):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, timeout=60).stdout


# --------------------------------------------------------------------------- PE header


def pe_machine(data):
    """The machine field of a PE file's header (0x14c i386, 0x8664 x86-64)."""
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe_offset:pe_offset + 4] != b"PE\0\0":
        raise AssertionError("not a PE file")
    return struct.unpack_from("<H", data, pe_offset + 4)[0]


def header_versions(path, objdump):
    """{"OSystem": (major, minor), "Subsystem": (major, minor)} from objdump -p."""
    fields = {}
    for line in _run([objdump, "-p", path]).decode().splitlines():
        parts = line.split()
        if len(parts) == 2 and parts[0].endswith(("OSystemVersion", "SubsystemVersion")):
            fields[parts[0]] = int(parts[1])
    return {kind: (fields["Major%sVersion" % kind], fields["Minor%sVersion" % kind])
            for kind in ("OSystem", "Subsystem")}


def imports(path, objdump):
    """{dll name in lower case: set of imported function names} from objdump -p."""
    result = {}
    current = None
    for line in _run([objdump, "-p", path]).decode().splitlines():
        stripped = line.strip()
        if stripped.startswith("DLL Name:"):
            current = result.setdefault(stripped.split(":", 1)[1].strip().lower(), set())
        elif current is not None and stripped == "":
            current = None
        elif current is not None:
            # "<hint/name rva>  <hint> <name>", after a heading line that has no hint.
            parts = stripped.split()
            if len(parts) == 3 and parts[1].isdigit():
                current.add(parts[2])
    return result


# --------------------------------------------------------------------------- resources


def resource(path, resource_type):
    return _run(["wrestool", "-x", "--raw", "--type=%d" % resource_type, path])


def version_info(path):
    """(fixed file version as four numbers, {string name: value}) of the version resource."""
    data = resource(path, RT_VERSION)
    strings = {}
    fixed = None

    def walk(offset, depth):
        nonlocal fixed
        length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
        end = offset + length
        key_end = data.index(b"\0\0", offset + 6)
        while (key_end - offset - 6) % 2:
            key_end = data.index(b"\0\0", key_end + 1)
        key = data[offset + 6:key_end].decode("utf-16-le")
        position = (key_end + 2 + 3) & ~3
        value_size = value_length * 2 if value_type == 1 else value_length
        value = data[position:position + value_size]
        if depth == 0:
            signature, _, ms, ls = struct.unpack_from("<IIII", value)
            if signature != 0xFEEF04BD:
                raise AssertionError("no fixed file information")
            fixed = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        elif depth == 3:
            strings[key] = value.decode("utf-16-le").rstrip("\0")
        child = (position + value_size + 3) & ~3
        while child < end:
            child = (walk(child, depth + 1) + 3) & ~3
        return end

    walk(0, 0)
    return fixed, strings


def manifest(path):
    """The embedded manifest as an ElementTree element, namespaces dropped from the tags."""
    root = ElementTree.fromstring(resource(path, RT_MANIFEST))
    for element in root.iter():
        element.tag = element.tag.split("}", 1)[-1]
    return root


def icon_images(ico):
    """The images of an .ico file, as a set of byte strings."""
    _, _, count = struct.unpack_from("<HHH", ico)
    images = set()
    for index in range(count):
        size, offset = struct.unpack_from("<II", ico, 6 + 16 * index + 8)
        images.add(ico[offset:offset + size])
    return images


def program_icon_images(path):
    """The images of the (first) icon group of a program; wrestool rebuilds it as an .ico."""
    return icon_images(_run(["wrestool", "-x", "--type=%d" % RT_ICON_GROUP, path]))


def source_icon_images():
    with open(ICON_SOURCE, "rb") as f:
        return icon_images(f.read())
