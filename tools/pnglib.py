"""The one PNG reader and writer of Veltrano's Python tools and tests.

8-bit RGB, RGBA or indexed colour, not interlaced: what the asset generator writes, what
rsvg-convert and the clock's frame tool produce, and what the tests need for screenshots and
generated skins. Only the standard library is used.
"""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
_COLOUR_TYPES = {3: 2, 4: 6}  # channels -> PNG colour type
_INDEXED = 3  # colour type of palette images
_PALETTE_SIZE = 256


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


def _magnitude(filtered):
    return sum(v if v < 128 else 256 - v for v in filtered)


def _filtered_rows(width, height, pixels, bpp):
    """Every row under each of the five filters: rows[y][filter]."""
    stride = width * bpp
    if len(pixels) != stride * height:
        raise ValueError("expected %d bytes, got %d" % (stride * height, len(pixels)))
    rows, prev = [], bytes(stride)
    for y in range(height):
        row = pixels[y * stride:(y + 1) * stride]
        rows.append([_filter_row(f, row, prev, bpp) for f in range(5)])
        prev = row
    return rows


def _file(width, height, ctype, idat, extra=b""):
    ihdr = struct.pack(">IIBBBBB", width, height, 8, ctype, 0, 0, 0)
    return (SIGNATURE + _chunk(b"IHDR", ihdr) + extra + _chunk(b"IDAT", idat)
            + _chunk(b"IEND", b""))


def encode(width, height, pixels, channels=4, best_filter=False, level=6):
    """A PNG of `pixels` (rows top to bottom). With best_filter each row gets the filter with
    the smallest sum of magnitudes (smaller files, slower)."""
    stride = width * channels
    if len(pixels) != stride * height:
        raise ValueError("expected %d bytes, got %d" % (stride * height, len(pixels)))
    raw = bytearray()
    if best_filter:
        for row in _filtered_rows(width, height, pixels, channels):
            ftype = min(range(5), key=lambda f: _magnitude(row[f]))
            raw.append(ftype)
            raw += row[ftype]
    else:
        for y in range(height):
            raw.append(0)
            raw += pixels[y * stride:(y + 1) * stride]
    return _file(width, height, _COLOUR_TYPES[channels], zlib.compress(bytes(raw), level))


def _palette(rgba):
    """Palette chunks and indices of an RGBA image of at most 256 colours, else None. Colours
    that are not opaque come first, so the transparency chunk stops at the last of them."""
    first = {}
    for i in range(0, len(rgba), 4):
        first.setdefault(bytes(rgba[i:i + 4]), i)
        if len(first) > _PALETTE_SIZE:
            return None
    colours = sorted(first, key=lambda c: (c[3] == 255, first[c]))
    index = {c: n for n, c in enumerate(colours)}
    alphas = bytes(c[3] for c in colours if c[3] != 255)
    chunks = _chunk(b"PLTE", b"".join(c[:3] for c in colours))
    if alphas:
        chunks += _chunk(b"tRNS", alphas)
    return chunks, bytes(index[bytes(rgba[i:i + 4])] for i in range(0, len(rgba), 4))


def encode_smallest(width, height, rgba):
    """The smallest lossless PNG of RGBA `rgba` this module makes: indexed colour where the
    image has at most 256 colours, and the best of several filter choices and deflate
    strategies (for smooth art, often no filter at all beats the per-row choice)."""
    indexed = _palette(rgba)
    extra, pixels, bpp, ctype = ((indexed[0], indexed[1], 1, _INDEXED) if indexed
                                 else (b"", rgba, 4, _COLOUR_TYPES[4]))
    rows = _filtered_rows(width, height, pixels, bpp)
    choices = [[min(range(5), key=lambda f: _magnitude(row[f])) for row in rows]]
    choices += [[f] * height for f in range(5)]
    best = None
    for choice in choices:
        raw = b"".join(bytes((f,)) + bytes(row[f]) for f, row in zip(choice, rows))
        for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED):
            packer = zlib.compressobj(9, zlib.DEFLATED, 15, 9, strategy)
            idat = packer.compress(raw) + packer.flush()
            if best is None or len(idat) < len(best):
                best = idat
    return _file(width, height, ctype, best, extra)


def decode(data):
    """Decodes a PNG; raises ValueError for anything malformed or outside the subset above."""
    if data[:8] != SIGNATURE:
        raise ValueError("bad PNG signature")
    pos, chunks, idat, header, palette, alphas = 8, [], b"", None, b"", b""
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
        elif tag == b"PLTE":
            palette = payload
        elif tag == b"tRNS":
            alphas = payload
        pos += 12 + n
    if not chunks or chunks[0] != b"IHDR" or chunks[-1] != b"IEND" or header is None:
        raise ValueError("chunk order %r" % chunks)
    width, height, depth, ctype, comp, filt, inter = header
    channels = {2: 3, 6: 4, _INDEXED: 1}.get(ctype)
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
    if ctype == _INDEXED:
        return Png(width, height, 4, _expand(pixels, palette, alphas), chunks)
    return Png(width, height, channels, bytes(pixels), chunks)


def _expand(indices, palette, alphas):
    """RGBA of palette indices; entries past the transparency chunk are opaque."""
    if max(indices, default=0) * 3 + 3 > len(palette):
        raise ValueError("palette index past the %d-entry palette" % (len(palette) // 3))
    colours = [palette[3 * n:3 * n + 3] + bytes((alphas[n] if n < len(alphas) else 255,))
               for n in range(len(palette) // 3)]
    return b"".join(colours[n] for n in indices)
