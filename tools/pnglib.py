"""The one PNG reader and writer of Veltrano's Python tools and tests.

8-bit RGB or RGBA, not interlaced: what the asset generator writes, what rsvg-convert and
the clock's frame tool produce, and what the tests need for screenshots and generated skins.
Only the standard library is used.
"""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
_COLOUR_TYPES = {3: 2, 4: 6}  # channels -> PNG colour type


class Png:
    def __init__(self, width, height, channels, pixels, chunks):
        self.width, self.height, self.channels = width, height, channels
        self.pixels = pixels  # bytes, rows top to bottom, `channels` bytes per pixel
        self.chunks = chunks  # chunk tags in file order

    def rgba(self):
        if self.channels == 4:
            return bytes(self.pixels)
        out = bytearray()
        for i in range(0, len(self.pixels), 3):
            out += self.pixels[i:i + 3] + b"\xff"
        return bytes(out)


def _chunk(tag, payload):
    body = tag + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(ftype, row, prev, bpp):
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        predictor = (0, a, b, (a + b) >> 1, _paeth(a, b, c))[ftype]
        out[i] = (x - predictor) & 0xFF
    return out


def encode(width, height, pixels, channels=4, best_filter=False, level=6):
    """A PNG of `pixels` (rows top to bottom). With best_filter each row gets the filter with
    the smallest sum of magnitudes (smaller files, slower)."""
    stride = width * channels
    if len(pixels) != stride * height:
        raise ValueError("expected %d bytes, got %d" % (stride * height, len(pixels)))
    raw = bytearray()
    prev = bytes(stride)
    for y in range(height):
        row = pixels[y * stride:(y + 1) * stride]
        if best_filter:
            candidates = [(_filter_row(f, row, prev, channels), f) for f in range(5)]
            out, ftype = min(candidates,
                             key=lambda c: sum(v if v < 128 else 256 - v for v in c[0]))
        else:
            out, ftype = bytes(row), 0
        raw.append(ftype)
        raw += out
        prev = row
    ihdr = struct.pack(">IIBBBBB", width, height, 8, _COLOUR_TYPES[channels], 0, 0, 0)
    return (SIGNATURE + _chunk(b"IHDR", ihdr) + _chunk(b"IDAT", zlib.compress(bytes(raw), level))
            + _chunk(b"IEND", b""))


def decode(data):
    """Decodes a PNG; raises ValueError for anything malformed or outside the subset above."""
    if data[:8] != SIGNATURE:
        raise ValueError("bad PNG signature")
    pos, chunks, idat, header = 8, [], b"", None
    while pos < len(data):
        if pos + 12 > len(data):
            raise ValueError("truncated chunk")
        n, tag = struct.unpack(">I4s", data[pos:pos + 8])
        payload = data[pos + 8:pos + 8 + n]
        crc = struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])[0]
        if crc != zlib.crc32(tag + payload) & 0xFFFFFFFF:
            raise ValueError("CRC mismatch in %r" % tag)
        chunks.append(tag)
        if tag == b"IHDR":
            header = struct.unpack(">IIBBBBB", payload)
        elif tag == b"IDAT":
            idat += payload
        pos += 12 + n
    if not chunks or chunks[0] != b"IHDR" or chunks[-1] != b"IEND" or header is None:
        raise ValueError("chunk order %r" % chunks)
    width, height, depth, ctype, comp, filt, inter = header
    channels = {2: 3, 6: 4}.get(ctype)
    if depth != 8 or channels is None or comp or filt or inter:
        raise ValueError("unsupported PNG: depth %d colour type %d" % (depth, ctype))
    raw = zlib.decompress(idat)
    stride = width * channels
    if len(raw) != height * (stride + 1):
        raise ValueError("IDAT holds %d bytes" % len(raw))
    pixels, prev = bytearray(), bytearray(stride)
    for y in range(height):
        ftype = raw[y * (stride + 1)]
        if ftype > 4:
            raise ValueError("bad filter type %d" % ftype)
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            row[i] = (row[i] + (0, a, b, (a + b) >> 1, _paeth(a, b, c))[ftype]) & 0xFF
        pixels += row
        prev = row
    return Png(width, height, channels, bytes(pixels), chunks)
