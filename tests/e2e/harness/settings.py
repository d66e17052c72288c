"""Settings.def, read and written through the clock's own codec: the small native tool
veltrano-settings (tools/settings_tool.cpp), built from the same core sources as the clock."""

import os
import struct
import tempfile

from .process import run

_TEXT_FIELDS = ("alarmSoundPath", "customFacePath", "customHourPath", "customMinutePath",
                "customSecondPath", "customCasePath", "shutdownTime")


def _settings_tool():
    path = os.environ.get("VELTRANO_SETTINGS_TOOL")
    if not path:
        raise RuntimeError("VELTRANO_SETTINGS_TOOL is not set (run the tests through ctest)")
    return path


def _text_bytes(text):
    # Texts in the file are in code page 936.
    return text.encode("gbk") if isinstance(text, str) else bytes(text)


def _camel(name):
    parts = name.split("_")
    return parts[0] + "".join(p[:1].upper() + p[1:] for p in parts[1:])


def settings_file_size():
    """The size of a complete Settings.def, as the codec writes it."""
    return int(run([_settings_tool(), "size"]))


def settings_of(data):
    """The fields of Settings.def bytes as the clock reads them: texts as bytes (code page 936),
    zoom as a float, alarms as [(enabled, time, reminder)] for the entries the count covers."""
    with tempfile.NamedTemporaryFile(suffix=".def") as f:
        f.write(bytes(data))
        f.flush()
        out = run([_settings_tool(), "decode", f.name])
    fields = {"alarms": []}
    for line in out.splitlines():
        name, _, value = line.partition("=")
        if name == "alarm":
            enabled, time_hex, reminder_hex, *rule = value.split(" ") + ["", ""]
            alarm = (int(enabled), bytes.fromhex(time_hex), bytes.fromhex(reminder_hex))
            fields["alarms"].append(alarm + ((int(rule[0]),) if rule and rule[0] else ()))
        elif name == "zoom":
            fields["zoom"] = struct.unpack("<f", struct.pack("<I", int(value, 16)))[0]
        elif name in _TEXT_FIELDS:
            fields[name] = bytes.fromhex(value)
        else:
            fields[name] = int(value)
    return fields


def encode_settings(fields):
    """Settings.def bytes (a bytearray) for fields as settings_of gives them; others default."""
    lines = []
    for name, value in fields.items():
        if name == "alarms":
            for enabled, time_text, reminder, *rule in value:
                lines.append("alarm=%d %s %s %d" % (enabled, _text_bytes(time_text).hex(),
                                                    _text_bytes(reminder).hex(),
                                                    rule[0] if rule else 0))
        elif name == "zoom":
            lines.append("zoom=%08x" % struct.unpack("<I", struct.pack("<f", float(value)))[0])
        elif name in _TEXT_FIELDS:
            lines.append("%s=%s" % (name, _text_bytes(value).hex()))
        else:
            lines.append("%s=%d" % (name, int(value)))
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "Settings.def")
        run([_settings_tool(), "encode", path], input="\n".join(lines).encode())
        with open(path, "rb") as f:
            return bytearray(f.read())


def make_settings(**fields):
    """A full Settings.def (bytearray) from the defaults with `fields` (styleIndex=2 or
    style_index=2) changed; texts as str or bytes; alarmCount to store another count."""
    return encode_settings({_camel(name): value for name, value in fields.items()})


def add_alarm(b, time_text, reminder=b"", enabled=1, repeat=0):
    """Appends an alarm (with its repeat rule, when not every day) to the bytearray `b` in place;
    returns the new entry's index."""
    fields = settings_of(b)
    fields.pop("alarmCount")
    fields["alarms"].append((enabled, time_text, reminder) + ((repeat,) if repeat else ()))
    b[:] = encode_settings(fields)
    return len(fields["alarms"]) - 1


def read_alarms(b):
    """[(enabled, time bytes, reminder bytes)] of the entries the count covers."""
    return settings_of(b)["alarms"]
