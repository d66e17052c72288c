#!/usr/bin/env python3
"""Checks the generated Veltrano assets against what the program expects of them."""

import argparse
import itertools
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import pnglib  # noqa: E402

# look: (face, hour, minute, second, case), hand sizes (w, h), case alpha limit
LOOKS = [
    ((134, 137, 136, 135, 140), {137: (13, 81), 136: (13, 90), 135: (13, 108)}, 254),
    ((143, 144, 146, 142, 145), {144: (13, 72), 146: (13, 72), 142: (13, 78)}, 163),
    ((148, 149, 151, 147, 150), {149: (13, 72), 151: (13, 78), 147: (13, 78)}, 0),
    ((153, 154, 156, 152, 155), {154: (12, 72), 156: (12, 72), 152: (12, 72)}, 0),
    ((180, 181, 183, 184, 182), {181: (13, 72), 183: (13, 72), 184: (13, 78)}, 0),
]
OTHER_FILES = ["png_190.png", "icon_128.ico", "icon_187.ico", "cursor_186.cur",
               "bitmap_194.bmp", "bitmap_195.bmp", "bitmap_197.bmp",
               "wave_175.wav", "wave_179.wav", "png_2190.png", "icon_2128.ico",
               "bitmap_2194.bmp", "bitmap_2195.bmp", "bitmap_2197.bmp"]
HIDPI, HIDPI_ID = 2, 2000  # the 2x art's scale and id offset
WAVES = {"wave_175.wav": (8000, 129062), "wave_179.wav": (11025, 223652)}


class Failed(Exception):
    pass


class Runner:
    def __init__(self):
        self.passed = self.failed = 0

    def group(self, name, fn, *args):
        """Run one group of checks; each `check` call inside counts once."""
        self._count, self._errors = 0, []
        try:
            fn(self, *args)
        except Failed as exc:
            self._errors.append(str(exc))
        except Exception as exc:  # a malformed file must fail, not crash the run
            self._errors.append("%s: %s" % (type(exc).__name__, exc))
            self.failed += 1
        if self._errors:
            print("FAIL %s: %s" % (name, "; ".join(self._errors)))
        else:
            print("ok   %s (%d checks)" % (name, self._count))

    def check(self, cond, msg, fatal=False):
        self._count += 1
        if cond:
            self.passed += 1
            return True
        self.failed += 1
        if fatal:
            raise Failed(msg)
        self._errors.append(msg)
        return False


def read(path):
    with open(path, "rb") as fh:
        return fh.read()


# ---------------------------------------------------------------- PNG

def decode_png(t, data, size):
    try:
        png = pnglib.decode(data)
    except ValueError as error:
        t.check(False, str(error), fatal=True)
    t.check((png.width, png.height) == size,
            "size %dx%d, want %dx%d" % (png.width, png.height, size[0], size[1]), fatal=True)
    t.check(png.channels == 4, "colour type with %d channels, want RGBA" % png.channels,
            fatal=True)
    return Image(png.width, png.height, bytearray(png.pixels))


class Image:
    def __init__(self, w, h, px):
        self.w, self.h, self.px = w, h, px

    def at(self, x, y):
        i = (y * self.w + x) * 4
        return tuple(self.px[i:i + 4])

    def alphas(self):
        return self.px[3::4]

    def corners(self):
        return [self.at(x, y)[3] for x in (0, self.w - 1) for y in (0, self.h - 1)]


def luma(rgb):
    return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]


def mean_colour(pixels):
    n = len(pixels) or 1
    return tuple(sum(p[k] for p in pixels) / n for k in range(3))


def check_face(t, path, s):
    img = decode_png(t, read(path), (130 * s, 130 * s))
    t.check(img.corners() == [0, 0, 0, 0], "corners not transparent")
    t.check(img.at(65 * s, 65 * s)[3] == 255, "centre not opaque")
    ring = [img.at(x * s, y * s)[3] for x, y in ((65, 4), (65, 125), (4, 65), (125, 65))]
    t.check(min(ring) == 255, "dial does not reach radius 61 (alpha %r)" % ring)
    t.check(img.at(12 * s, 12 * s)[3] == 0, "dial is not round (pixel 12,12 visible)")
    soft = sum(1 for a in img.alphas() if 0 < a < 255)
    t.check(soft >= 100, "edge not anti-aliased (%d partial pixels)" % soft)
    return img


def check_hand(t, path, size, face, min_reach, s):
    size = w, h = size[0] * s, size[1] * s
    img = decode_png(t, read(path), size)
    pivot_y = h // 3
    t.check(img.corners() == [0, 0, 0, 0], "corners not transparent")
    t.check(img.at(w // 2, pivot_y)[3] >= 128, "nothing drawn at the pivot")
    above = sum(1 for y in range(pivot_y) for x in range(w) if img.at(x, y)[3] >= 128)
    below = sum(1 for y in range(pivot_y + 1, h) for x in range(w) if img.at(x, y)[3] >= 128)
    t.check(below > above, "hand does not point down (%d above, %d below)" % (above, below))
    rows = [y for y in range(h) if any(img.at(x, y)[3] >= 128 for x in range(w))]
    reach = (rows[-1] - pivot_y) / float(h - pivot_y) if rows else 0
    t.check(reach >= min_reach, "pointer too short (reaches %.2f of the way down)" % reach)
    tail = pivot_y - rows[0] if rows else 0
    t.check(2 * tail <= rows[-1] - pivot_y, "tail (%d px) too long for the pointer" % tail)
    body = [img.at(x, y) for y in range(h) for x in range(w) if img.at(x, y)[3] >= 200]
    t.check(len(body) >= 3 * (h - pivot_y) // 4, "body too faint (%d solid pixels)" % len(body))
    cx = sum(x * img.at(x, y)[3] for y in range(h) for x in range(w)) / max(1, sum(img.alphas()))
    t.check(abs(cx - w / 2.0) <= 0.75 * s, "hand not centred (x %.2f)" % cx)
    soft = sum(1 for a in img.alphas() if 0 < a < 255)
    t.check(soft >= 10, "edges not anti-aliased")
    dial = [face.at(x, y) for y in range(30 * s, 100 * s, s) for x in range(30 * s, 100 * s, s)]
    diff = abs(luma(mean_colour(body)) - luma(mean_colour(dial)))
    t.check(diff >= 50, "hand hard to see on its dial (luma difference %.0f)" % diff)
    return rows[-1] - pivot_y if rows else 0


def check_look(t, assets, look, s, offset):
    ids, hands, limit = look
    path = lambda i: os.path.join(assets, "png_%d.png" % (i + offset))
    face = check_face(t, path(ids[0]), s)
    # hour hands are drawn shorter than the image allows so they stay clear of the numerals
    lengths = [check_hand(t, path(i), hands[i], face, reach, s)
               for i, reach in zip(ids[1:4], (0.6, 0.8, 0.8))]
    t.check(lengths[0] < lengths[1], "hour hand not shorter than minute hand %r" % lengths)
    case = decode_png(t, read(path(ids[4])), (130 * s, 130 * s))
    top = max(case.alphas())
    if limit:
        t.check(top <= limit, "case alpha %d exceeds %d" % (top, limit))
        t.check(top >= limit // 2, "case overlay is nearly invisible (max alpha %d)" % top)
        t.check(case.at(65 * s, 65 * s)[3] < 64, "case hides the middle of the dial")
    else:
        t.check(top == 0, "case must be fully transparent (max alpha %d)" % top)


def check_checkerboard(t, assets, s, offset):
    path = os.path.join(assets, "png_%d.png" % (190 + offset))
    img = decode_png(t, read(path), (130 * s, 130 * s))
    bad = 0
    for y in range(130 * s):
        for x in range(130 * s):
            v = 255 if (x // (8 * s) + y // (8 * s)) % 2 == 0 else 223
            bad += img.at(x, y) != (v, v, v, 255)
    t.check(bad == 0, "%d pixels differ from the 8-pixel checkerboard" % bad)


def premultiplied(p):
    return [p[c] * p[3] / 255.0 for c in range(3)] + [p[3]]


def check_drawn_again(t, assets, look):
    """Each 2x image, averaged down, is its 1x image, and not just its pixels doubled."""
    for i in look[0][:4] + ((look[0][4],) if look[2] else ()):
        one = pnglib.decode(read(os.path.join(assets, "png_%d.png" % i)))
        two = pnglib.decode(read(os.path.join(assets, "png_%d.png" % (i + HIDPI_ID)))).pixels
        w, count = one.width, one.width * one.height
        diff = doubled = 0
        for n in range(count):
            y, x = divmod(n, w)
            block = [two[k:k + 4] for k in (((2 * y + dy) * 2 * w + 2 * x + dx) * 4
                                             for dy in (0, 1) for dx in (0, 1))]
            doubled += len(set(block)) == 1
            mean = [sum(v) / 4.0 for v in zip(*map(premultiplied, block))]
            own = premultiplied(one.pixels[4 * n:4 * n + 4])
            diff += sum(abs(m - o) for m, o in zip(mean, own))
        t.check(diff / (4 * count) <= 3, "png_%d is not png_%d drawn again (mean difference %.1f)"
                % (i + HIDPI_ID, i, diff / (4 * count)))
        t.check(count - doubled >= count // 20,
                "png_%d is png_%d with its pixels doubled" % (i + HIDPI_ID, i))


def check_case_copies(t, assets):
    same = read(os.path.join(assets, "png_150.png")) == read(os.path.join(assets, "png_155.png"))
    t.check(same, "png_155.png is not byte-identical to png_150.png")


# ---------------------------------------------------------------- ICO / CUR

def icon_dir(t, data, kind):
    reserved, typ, count = struct.unpack("<HHH", data[:6])
    t.check(reserved == 0 and typ == kind, "header type %d, want %d" % (typ, kind), fatal=True)
    entries = []
    for i in range(count):
        e = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        t.check(e[7] + e[6] <= len(data), "entry %d runs past end of file" % i, fatal=True)
        entries.append(e)
    return entries


def check_ico(t, path, sizes):
    data = read(path)
    entries = icon_dir(t, data, 1)
    t.check(sorted(e[0] or 256 for e in entries) == sorted(sizes),
            "sizes %r, want %r" % ([e[0] for e in entries], sizes), fatal=True)
    for bw, bh, colors, _, planes, bits, nbytes, off in entries:
        size = bw or 256
        t.check(bw == bh and planes == 1 and bits == 32, "%dx%d entry is not square 32-bit" % (bw, bh))
        hdr = struct.unpack("<IiiHHI", data[off:off + 20])
        t.check(hdr == (40, size, size * 2, 1, 32, 0), "%dpx DIB header %r" % (size, hdr))
        mask_row = ((size + 31) // 32) * 4
        t.check(nbytes == 40 + size * size * 4 + mask_row * size, "%dpx entry length %d" % (size, nbytes))
        pix = data[off + 40:off + 40 + size * size * 4]
        alpha = lambda x, y: pix[((size - 1 - y) * size + x) * 4 + 3]
        t.check(alpha(0, 0) == 0 and alpha(size - 1, size - 1) == 0, "%dpx corners not transparent" % size)
        t.check(max(pix[3::4]) == 255, "%dpx icon has no opaque pixels" % size)
        mask = data[off + 40 + size * size * 4:off + nbytes]
        masked = lambda x, y: mask[(size - 1 - y) * mask_row + x // 8] >> (7 - x % 8) & 1
        t.check(masked(0, 0) == 1 and masked(size // 2, size // 2) == 0,
                "%dpx AND mask does not match the alpha" % size)


def check_cursor(t, path):
    data = read(path)
    entries = icon_dir(t, data, 2)
    t.check(len(entries) == 1, "cursor has %d images" % len(entries), fatal=True)
    bw, bh, _, _, hx, hy, nbytes, off = entries[0]
    t.check((bw, bh) == (32, 32), "cursor is %dx%d" % (bw, bh))
    t.check((hx, hy) == (0, 0), "hot spot (%d,%d), want (0,0)" % (hx, hy))
    hdr = struct.unpack("<IiiHHI", data[off:off + 20])
    t.check(hdr == (40, 32, 64, 1, 1, 0), "cursor DIB header %r (want 1 bpp)" % (hdr,))
    t.check(nbytes == 40 + 8 + 128 + 128, "cursor entry length %d" % nbytes)
    xor = data[off + 48:off + 176]
    andm = data[off + 176:off + 304]
    bit = lambda plane, x, y: plane[(31 - y) * 4 + x // 8] >> (7 - x % 8) & 1
    cells = [(bit(xor, x, y), bit(andm, x, y)) for y in range(32) for x in range(32)]
    t.check(cells.count((1, 0)) >= 100, "too few white pixels")
    t.check(cells.count((0, 0)) >= 40, "too few black outline pixels")
    t.check(bit(andm, 0, 0) == 0, "hot spot is not on the fingertip")


# ---------------------------------------------------------------- BMP

def check_bmp(t, path, wanted, size=16):
    data = read(path)
    magic, fsize, _, _, off = struct.unpack("<2sIHHI", data[:14])
    t.check(magic == b"BM" and fsize == len(data), "bad BMP file header", fatal=True)
    hsize, w, h, planes, bits, comp = struct.unpack("<IiiHHI", data[14:34])
    t.check((hsize, w, h, planes, bits, comp) == (40, size, size, 1, 24, 0),
            "BMP is %dx%d %d-bit (want %dpx 24-bit)" % (w, h, bits, size), fatal=True)
    t.check(len(data) >= off + size * size * 3, "pixel data truncated", fatal=True)
    # bottom-up BGR rows (no padding at these widths); px[0] is bottom-left
    px = [(data[off + i + 2], data[off + i + 1], data[off + i])
          for i in range(0, size * size * 3, 3)]
    t.check(px[0] in ((192, 192, 192), (240, 240, 240)), "background %r is not button face" % (px[0],))
    hits = sum(1 for p in px if wanted(p))
    t.check(hits >= 12, "main colour missing (%d pixels)" % hits)


# ---------------------------------------------------------------- WAV

def check_wav(t, path, rate, nbytes):
    data = read(path)
    t.check(data[:4] == b"RIFF" and data[8:12] == b"WAVE", "not RIFF/WAVE", fatal=True)
    t.check(struct.unpack("<I", data[4:8])[0] == len(data) - 8, "RIFF size wrong")
    pos, chunks = 12, {}
    order = []
    while pos + 8 <= len(data):
        tag, n = struct.unpack("<4sI", data[pos:pos + 8])
        order.append(tag.decode("latin-1"))
        chunks[tag] = data[pos + 8:pos + 8 + n]
        pos += 8 + n + (n & 1)
    t.check(order == ["fmt ", "data"], "chunks %r" % order, fatal=True)
    fmt = struct.unpack("<HHIIHH", chunks[b"fmt "][:16])
    t.check(len(chunks[b"fmt "]) == 16, "fmt chunk is %d bytes" % len(chunks[b"fmt "]))
    t.check(fmt == (1, 1, rate, rate * 2, 2, 16), "format %r" % (fmt,))
    pcm = chunks[b"data"]
    t.check(len(pcm) == nbytes, "data holds %d bytes, want %d" % (len(pcm), nbytes), fatal=True)
    samples = struct.unpack("<%dh" % (len(pcm) // 2), pcm)
    peak = max(abs(s) for s in samples) / 32768.0
    t.check(peak < 0.99, "clipped (peak %.3f)" % peak)
    return samples, peak


def check_chime(t, assets):
    samples, peak = check_wav(t, os.path.join(assets, "wave_175.wav"), *WAVES["wave_175.wav"])
    t.check(peak >= 0.3, "chime too quiet (peak %.2f)" % peak)
    tail = max(abs(s) for s in samples[-200:]) / 32768.0
    t.check(tail < 0.01, "chime does not ring out (tail %.3f)" % tail)


def check_alarm(t, assets):
    samples, peak = check_wav(t, os.path.join(assets, "wave_179.wav"), *WAVES["wave_179.wav"])
    t.check(0.7 <= peak <= 0.8, "alarm peak %.2f, want 0.7-0.8" % peak)
    onset = next((i for i, s in enumerate(samples) if abs(s) > 0.1 * 32768), len(samples))
    t.check(onset < 11025 // 100, "alarm starts late (sample %d)" % onset)
    loud = sum(1 for s in samples if abs(s) > 0.25 * 32768) / float(len(samples))
    t.check(loud > 0.15, "alarm is mostly silent (%.0f%% loud)" % (100 * loud))


# ---------------------------------------------------------------- main

def all_files():
    names = ["png_%d.png" % (i + o) for look in LOOKS for i in look[0] for o in (0, HIDPI_ID)]
    return names + OTHER_FILES


def check_present(t, assets):
    for name in all_files():
        t.check(os.path.isfile(os.path.join(assets, name)), "missing " + name)


def check_same(t, assets, other):
    for name in all_files():
        a, b = os.path.join(assets, name), os.path.join(other, name)
        t.check(os.path.isfile(b) and read(a) == read(b), "%s differs" % name)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("assets")
    parser.add_argument("--compare-with", metavar="OTHER_DIR",
                        help="also require every asset to be byte-identical to OTHER_DIR's")
    args = parser.parse_args(argv[1:])
    assets, other = args.assets, args.compare_with
    t = Runner()
    t.group("all files present", check_present, assets)
    for s, offset in ((1, 0), (HIDPI, HIDPI_ID)):
        for n, look in enumerate(LOOKS):
            t.group("%dx look %d (png %s)" % (s, n, ", ".join(str(i + offset) for i in look[0])),
                    check_look, assets, look, s, offset)
        t.group("png_%d checkerboard" % (190 + offset), check_checkerboard, assets, s, offset)
    for look in LOOKS:
        t.group("2x look %d drawn again" % look[0][0], check_drawn_again, assets, look)
    t.group("png_155 equals png_150", check_case_copies, assets)
    t.group("icon_128.ico", check_ico, os.path.join(assets, "icon_128.ico"), [16, 32, 48])
    t.group("icon_2128.ico", check_ico, os.path.join(assets, "icon_2128.ico"),
            [16, 20, 24, 32, 40, 48])
    t.group("icon_187.ico", check_ico, os.path.join(assets, "icon_187.ico"), [32])
    t.group("cursor_186.cur", check_cursor, os.path.join(assets, "cursor_186.cur"))
    buttons = {194: lambda p: p[1] > 120 and p[1] > p[0] + 60 and p[1] > p[2] + 60,
               195: lambda p: p[0] > 200 and 90 <= p[1] <= 180 and p[2] < 60,
               197: lambda p: p[0] > 200 and p[1] > 180 and p[2] < 100}
    sizes = ((16, 0), (32, HIDPI_ID))
    for (i, wanted), (size, offset) in itertools.product(buttons.items(), sizes):
        name = "bitmap_%d.bmp" % (i + offset)
        t.group(name, check_bmp, os.path.join(assets, name), wanted, size)
    t.group("wave_175.wav chime", check_chime, assets)
    t.group("wave_179.wav alarm", check_alarm, assets)
    if other:
        t.group("byte-identical to " + other, check_same, assets, other)
    print("%d passed, %d failed" % (t.passed, t.failed))
    return 1 if t.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
