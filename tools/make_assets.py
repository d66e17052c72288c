#!/usr/bin/env python3
"""Generate every Veltrano image, icon, cursor, bitmap and sound.

Usage: python3 tools/make_assets.py res/assets

The looks, the checkerboard and the button bitmaps are also drawn at twice their size for
high-DPI screens, from the same description; such an image's id is its 1x id plus
HIDPI_ID_OFFSET.

Vector artwork is written as SVG in this file and rasterised with
rsvg-convert; everything else (PNG encoding, ICO/CUR/BMP/WAV writing,
synthesis of the sounds) is plain Python so that the output is the same
bytes on every run.  The results are committed, so an ordinary build never
needs this script.
"""

import math
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pnglib  # noqa: E402

C = 65.0  # centre of every 130x130 dial image
DIAL = 130
HIDPI = 2  # scale of the high-DPI art
HIDPI_ID_OFFSET = 2000
CHECKERBOARD_ID = 190
# The clock icon in every size the tray and the window take from 96 to 192 DPI: its 1x file
# keeps the sizes it has always had.
CLOCK_ICON_ID, CLOCK_ICON_SIZES_ID = 128, 2128
CLOCK_ICON_SIZES = (16, 20, 24, 32, 40, 48)


# --------------------------------------------------------------------------
# PNG
# --------------------------------------------------------------------------

def png_encode(w, h, rgba):
    """RGBA8 PNG, each row with its best filter, so the committed files stay small."""
    return pnglib.encode(w, h, rgba, channels=4, best_filter=True, level=9)


def png_encode_smallest(w, h, rgba):
    """The high-DPI art is new, so it may take the smaller encoding the 1x files predate."""
    return pnglib.encode_smallest(w, h, rgba)


def png_decode(data):
    """Width, height and RGBA pixels of a PNG (what rsvg-convert writes)."""
    png = pnglib.decode(data)
    return png.width, png.height, bytearray(png.rgba())


def render_svg(body, w, h, view=None):
    """Rasterise an SVG fragment to straight-alpha RGBA bytes."""
    vb = view or (w, h)
    svg = ('<svg xmlns="http://www.w3.org/2000/svg" '
           'xmlns:xlink="http://www.w3.org/1999/xlink" '
           'width="%d" height="%d" viewBox="0 0 %g %g">%s</svg>' % (w, h, vb[0], vb[1], body))
    png = subprocess.run(["rsvg-convert", "-f", "png"], input=svg.encode("utf-8"),
                         stdout=subprocess.PIPE, check=True).stdout
    rw, rh, px = png_decode(png)
    assert (rw, rh) == (w, h), "rsvg-convert gave %dx%d, wanted %dx%d" % (rw, rh, w, h)
    # Invisible pixels carry no colour; keep them zero so files compress well.
    for i in range(0, len(px), 4):
        if px[i + 3] == 0:
            px[i:i + 3] = b"\0\0\0"
    return px


def clamp_alpha(px, limit):
    for i in range(3, len(px), 4):
        if px[i] > limit:
            px[i] = limit
    return px


# --------------------------------------------------------------------------
# SVG building blocks
# --------------------------------------------------------------------------

def ticks(r_out, length, width, colour, step, skip=0, cap="butt", opacity=1.0):
    """Radial marks every `step` degrees, omitting multiples of `skip`."""
    out = []
    deg = 0
    while deg < 360:
        if not (skip and deg % skip == 0):
            out.append('<line x1="65" y1="%g" x2="65" y2="%g" transform="rotate(%g 65 65)"/>'
                       % (C - r_out, C - r_out + length, deg))
        deg += step
    return ('<g stroke="%s" stroke-width="%g" stroke-linecap="%s" opacity="%g">%s</g>'
            % (colour, width, cap, opacity, "".join(out)))


def numerals(labels, radius, size, colour, family, weight="normal", dy=0.36, spacing=None):
    out = []
    for i, text in enumerate(labels):
        hour = i + 1
        a = math.radians(hour * 30)
        x = C + radius * math.sin(a)
        y = C - radius * math.cos(a) + size * dy
        extra = ' letter-spacing="%g"' % spacing if spacing is not None else ""
        out.append('<text x="%.2f" y="%.2f"%s>%s</text>' % (x, y, extra, text))
    return ('<g font-family="%s" font-size="%g" font-weight="%s" fill="%s" text-anchor="middle">%s</g>'
            % (family, size, weight, colour, "".join(out)))


def hand_svg(w, h, shape, defs=""):
    """Hands point down; the pivot sits at (w/2, h/3)."""
    return "<defs>%s</defs><g transform=\"translate(%g %g)\">%s</g>" % (defs, w / 2.0, h / 3.0, shape)


def blade(half, tail, length, tail_half, waist=0.35):
    """Sword-like blade: narrow tail, widest just below the pivot, sharp tip."""
    wy = length * waist
    return ("M %g %g L %g %g L %g 0 L %g %g L 0 %g L %g %g L %g 0 L %g %g Z"
            % (-tail_half, -tail, tail_half, -tail, half * 0.7, half, wy, length,
               -half, wy, -half * 0.7, -tail_half, -tail))


def baton(half, tail, length):
    """Rounded bar from -tail to length."""
    return ('<rect x="%g" y="%g" width="%g" height="%g" rx="%g"/>'
            % (-half, -tail, 2 * half, tail + length, half))


# --------------------------------------------------------------------------
# Look 0: classic white dial, black numerals, chrome rim with a glass glint
# --------------------------------------------------------------------------

def look0():
    face = (
        '<defs><radialGradient id="g" cx="50%" cy="42%" r="58%">'
        '<stop offset="0" stop-color="#ffffff"/><stop offset="0.8" stop-color="#f8f7f3"/>'
        '<stop offset="1" stop-color="#e4e2dc"/></radialGradient></defs>'
        '<circle cx="65" cy="65" r="64.2" fill="url(#g)"/>'
        '<circle cx="65" cy="65" r="57.2" fill="none" stroke="#1a1a1a" stroke-width="0.6"/>'
        + ticks(57.2, 3.8, 0.8, "#1a1a1a", 6, skip=30)
        + ticks(57.2, 7.5, 2.4, "#111111", 30)
        + numerals([str(n) for n in range(1, 13)], 43.5, 12.5, "#111111", "DejaVu Serif")
        + '<text x="65" y="84" font-family="DejaVu Serif" font-size="5.2" fill="#555" '
          'text-anchor="middle" letter-spacing="0.6">VELTRANO</text>'
    )
    black = "#141414"
    hour = hand_svg(13, 81, '<path d="%s" fill="%s"/><circle r="4.6" fill="%s"/>'
                    % (blade(5.4, 10, 36, 1.6, 0.32), black, black))
    minute = hand_svg(13, 90, '<path d="%s" fill="%s"/><circle r="4.6" fill="%s"/>'
                      % (blade(4.2, 13, 53, 1.3, 0.28), black, black))
    red = "#d11f1f"
    second = hand_svg(13, 108, (
        '<g fill="%s"><rect x="-0.75" y="-22" width="1.5" height="82" rx="0.7"/>'
        '<circle cy="-18" r="3.4"/><circle r="3.2"/></g>'
        '<circle r="1.2" fill="#f2d7a0"/>') % red)
    case = (
        '<defs>'
        '<linearGradient id="rim" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="#fbfbfb"/><stop offset="0.3" stop-color="#a9adb3"/>'
        '<stop offset="0.55" stop-color="#eef0f2"/><stop offset="0.8" stop-color="#6e737a"/>'
        '<stop offset="1" stop-color="#c9ccd0"/></linearGradient>'
        '<linearGradient id="glass" x1="0" y1="0" x2="0.7" y2="1">'
        '<stop offset="0" stop-color="#ffffff" stop-opacity="0.9"/>'
        '<stop offset="0.6" stop-color="#ffffff" stop-opacity="0.25"/>'
        '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></linearGradient>'
        '<radialGradient id="shade" cx="50%" cy="50%" r="50%">'
        '<stop offset="0.82" stop-color="#000" stop-opacity="0"/>'
        '<stop offset="1" stop-color="#000" stop-opacity="0.22"/></radialGradient>'
        '</defs>'
        '<circle cx="65" cy="65" r="59" fill="url(#shade)"/>'
        '<path d="M 65 8.5 A 56.5 56.5 0 0 0 13.5 42 Q 40 26 80 27 Q 100 28 112 36 '
        'A 56.5 56.5 0 0 0 65 8.5 Z" fill="url(#glass)"/>'
        '<circle cx="65" cy="65" r="61.3" fill="none" stroke="url(#rim)" stroke-width="5.6"/>'
        '<circle cx="65" cy="65" r="58.6" fill="none" stroke="#3d4046" stroke-width="0.5" opacity="0.8"/>'
        '<circle cx="65" cy="65" r="64.0" fill="none" stroke="#4b4f55" stroke-width="0.6" opacity="0.9"/>'
    )
    return face, (hour, 13, 81), (minute, 13, 90), (second, 13, 108), case


# --------------------------------------------------------------------------
# Look 1: dark modern dial, light batons, tinted rim
# --------------------------------------------------------------------------

def look1():
    bars = []
    for hr in range(12):
        deg = hr * 30
        if hr == 0:
            bars.append('<rect x="60.6" y="11" width="3.4" height="13" rx="1.2"/>'
                        '<rect x="66" y="11" width="3.4" height="13" rx="1.2"/>')
        elif hr % 3 == 0:
            bars.append('<rect x="63.1" y="11" width="3.8" height="13" rx="1.3" '
                        'transform="rotate(%d 65 65)"/>' % deg)
        else:
            bars.append('<rect x="63.8" y="11" width="2.4" height="10" rx="1" '
                        'transform="rotate(%d 65 65)"/>' % deg)
    face = (
        '<defs><radialGradient id="g" cx="50%" cy="38%" r="62%">'
        '<stop offset="0" stop-color="#34404f"/><stop offset="0.7" stop-color="#1d242d"/>'
        '<stop offset="1" stop-color="#0e1115"/></radialGradient></defs>'
        '<circle cx="65" cy="65" r="64.2" fill="url(#g)"/>'
        + ticks(55.2, 1.6, 1.6, "#8fa3b8", 6, skip=30, cap="round")
        + '<g fill="#eef3f8">%s</g>' % "".join(bars)
        + '<text x="65" y="88" font-family="DejaVu Sans" font-size="5" fill="#7f93a8" '
          'text-anchor="middle" letter-spacing="1.2">VELTRANO</text>'
    )
    light = ('<defs><linearGradient id="h" x1="0" x2="1">'
             '<stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#cfd8e2"/>'
             '</linearGradient></defs>')
    hour = hand_svg(13, 72, light + '<g fill="url(#h)" stroke="#0b0e12" stroke-width="0.5">%s'
                    '<circle r="5"/></g>' % baton(2.6, 8, 33))
    minute = hand_svg(13, 72, light + '<g fill="url(#h)" stroke="#0b0e12" stroke-width="0.5">%s'
                      '<circle r="5"/></g>' % baton(2.0, 9, 45))
    orange = "#ff7a1a"
    second = hand_svg(13, 78, (
        '<g fill="%s"><rect x="-0.7" y="-14" width="1.4" height="64" rx="0.7"/>'
        '<rect x="-1.6" y="-17" width="3.2" height="8" rx="1.6"/>'
        '<circle r="3.2"/></g><circle r="1.3" fill="#1d242d"/>') % orange)
    case = (
        '<defs>'
        '<linearGradient id="rim" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="#9fe3f0"/><stop offset="0.45" stop-color="#2f8fb0"/>'
        '<stop offset="1" stop-color="#0c3b56"/></linearGradient>'
        '<linearGradient id="glass" x1="0" y1="0" x2="0.6" y2="1">'
        '<stop offset="0" stop-color="#dff6ff" stop-opacity="0.35"/>'
        '<stop offset="1" stop-color="#dff6ff" stop-opacity="0"/></linearGradient>'
        '</defs>'
        '<path d="M 65 7 A 58 58 0 0 0 9 50 Q 50 30 120 46 A 58 58 0 0 0 65 7 Z" fill="url(#glass)"/>'
        '<circle cx="65" cy="65" r="61.4" fill="none" stroke="url(#rim)" stroke-width="5.2" opacity="0.85"/>'
        '<circle cx="65" cy="65" r="58.6" fill="none" stroke="#bff0ff" stroke-width="0.5" opacity="0.5"/>'
    )
    return face, (hour, 13, 72), (minute, 13, 72), (second, 13, 78), case


# --------------------------------------------------------------------------
# Look 2: rice-paper dial with Chinese numerals and a vermilion border
# --------------------------------------------------------------------------

CHINESE = ["一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"]


def look2():
    ink, vermilion = "#1f1a16", "#b3261e"
    labels = []
    for i, text in enumerate(CHINESE):
        a = math.radians((i + 1) * 30)
        r = 45.5 if len(text) == 1 else 44.5
        x = C + r * math.sin(a)
        y = C - r * math.cos(a)
        # Two-character numerals are squeezed so they fit between the ticks.
        squeeze = ' transform="translate(%.2f %.2f) scale(0.7 0.9) translate(%.2f %.2f)"' % (
            x, y, -x, -y) if len(text) > 1 else ""
        labels.append('<text x="%.2f" y="%.2f"%s>%s</text>' % (x, y + 4.1, squeeze, text))
    face = (
        '<defs><radialGradient id="g" cx="50%" cy="45%" r="55%">'
        '<stop offset="0" stop-color="#fbf5e6"/><stop offset="0.85" stop-color="#f1e6cc"/>'
        '<stop offset="1" stop-color="#e3d2ad"/></radialGradient></defs>'
        '<circle cx="65" cy="65" r="64.2" fill="url(#g)"/>'
        + ('<circle cx="65" cy="65" r="61.2" fill="none" stroke="%s" stroke-width="3.2"/>' % vermilion)
        + '<circle cx="65" cy="65" r="58.2" fill="none" stroke="%s" stroke-width="0.7"/>' % vermilion
        + ticks(56.6, 2.6, 0.7, ink, 6, skip=30, opacity=0.8)
        + ticks(56.6, 5.0, 1.8, vermilion, 30)
        + '<g font-family="WenQuanYi Micro Hei" font-size="11.5" fill="%s" text-anchor="middle">%s</g>'
        % (ink, "".join(labels))
        + ('<g transform="translate(65 87)"><rect x="-5" y="-5" width="10" height="10" rx="1.2" '
           'fill="%s" opacity="0.9"/>' % vermilion)
        + '<text y="3.4" font-family="WenQuanYi Micro Hei" font-size="8.4" fill="#fbf5e6" '
          'text-anchor="middle">时</text></g>'
    )
    leaf = lambda half, tail, length: (
        "M 0 %g C %g %g %g -2 %g 2 C %g %g %g %g 0 %g C %g %g %g %g %g 2 C %g -2 %g %g 0 %g Z"
        % (-tail, half * 0.4, -tail, half * 0.5, half * 0.55,
           half, length * 0.3, half * 0.5, length * 0.75, length,
           -half * 0.5, length * 0.75, -half, length * 0.3, -half * 0.55,
           -half * 0.5, -half * 0.4, -tail, -tail))
    hour = hand_svg(13, 72, '<g fill="%s"><path d="%s"/><circle r="4.4"/></g>'
                    % (ink, leaf(5.6, 8, 33)))
    minute = hand_svg(13, 78, '<g fill="%s"><path d="%s"/><circle r="4.4"/></g>'
                      % (ink, leaf(4.4, 9, 49)))
    second = hand_svg(13, 78, (
        '<g fill="%s"><path d="M -0.5 -16 L 0.5 -16 L 0.9 0 L 0.25 50 L -0.25 50 L -0.9 0 Z"/>'
        '<circle cy="-13" r="2.6"/><circle r="3"/></g><circle r="1.1" fill="#f1e6cc"/>') % vermilion)
    return face, (hour, 13, 72), (minute, 13, 78), (second, 13, 78), None


# --------------------------------------------------------------------------
# Look 3: minimal, ticks only
# --------------------------------------------------------------------------

def look3():
    graphite = "#2b2d30"
    face = (
        '<defs><radialGradient id="g" cx="50%" cy="40%" r="60%">'
        '<stop offset="0" stop-color="#fdfdfc"/><stop offset="0.9" stop-color="#f1f1ef"/>'
        '<stop offset="1" stop-color="#d9dad8"/></radialGradient></defs>'
        '<circle cx="65" cy="65" r="64.2" fill="url(#g)"/>'
        '<circle cx="65" cy="65" r="63.4" fill="none" stroke="#9a9c9f" stroke-width="0.8"/>'
        + ticks(58.5, 3.2, 0.7, "#9a9c9f", 6, skip=30)
        + ticks(58.5, 9.0, 2.2, graphite, 30)
    )
    hour = hand_svg(12, 72, '<g fill="%s">%s<circle r="3.6"/></g>' % (graphite, baton(1.9, 6, 32)))
    minute = hand_svg(12, 72, '<g fill="%s">%s<circle r="3.6"/></g>' % (graphite, baton(1.3, 7, 46)))
    second = hand_svg(12, 72, (
        '<g fill="#e0241b"><rect x="-0.9" y="-13" width="1.8" height="59"/>'
        '<circle r="2.4"/></g>'))
    return face, (hour, 12, 72), (minute, 12, 72), (second, 12, 72), None


# --------------------------------------------------------------------------
# Look 4: walnut dial, brass bezel, numerals and hands
# --------------------------------------------------------------------------

BRASS_DEFS = ('<linearGradient id="brass" x1="0" y1="0" x2="1" y2="1">'
              '<stop offset="0" stop-color="#fff1b8"/><stop offset="0.35" stop-color="#e2b552"/>'
              '<stop offset="0.7" stop-color="#b07d25"/><stop offset="1" stop-color="#f0cd74"/>'
              '</linearGradient>')


def look4():
    studs = []
    for hr in range(12):
        if hr % 3:
            studs.append('<path d="M 65 10.5 L 67 14 L 65 17.5 L 63 14 Z" transform="rotate(%d 65 65)"/>'
                         % (hr * 30))
    roman = ["", "", "III", "", "", "VI", "", "", "IX", "", "", "XII"]
    face = (
        '<defs>' + BRASS_DEFS +
        '<filter id="grain" x="0" y="0" width="1" height="1" color-interpolation-filters="sRGB">'
        '<feTurbulence type="fractalNoise" baseFrequency="0.012 0.22" numOctaves="3" seed="7"/>'
        '<feColorMatrix type="matrix" values="0 0 0 0.5 0.1  0 0 0 0.28 0.05  0 0 0 0.14 0.02  0 0 0 0 1"/>'
        '</filter>'
        '<radialGradient id="vignette" cx="50%" cy="45%" r="55%">'
        '<stop offset="0.6" stop-color="#000" stop-opacity="0"/>'
        '<stop offset="1" stop-color="#000" stop-opacity="0.45"/></radialGradient>'
        '<clipPath id="disc"><circle cx="65" cy="65" r="64.2"/></clipPath>'
        '</defs>'
        '<g clip-path="url(#disc)"><rect width="130" height="130" fill="#5a3720"/>'
        '<rect width="130" height="130" filter="url(#grain)" transform="rotate(-8 65 65)"/>'
        '<rect width="130" height="130" fill="url(#vignette)"/></g>'
        '<circle cx="65" cy="65" r="62.4" fill="none" stroke="url(#brass)" stroke-width="3.6"/>'
        '<circle cx="65" cy="65" r="60.3" fill="none" stroke="#2a170b" stroke-width="0.6" opacity="0.8"/>'
        '<circle cx="65" cy="65" r="64.2" fill="none" stroke="#2a170b" stroke-width="0.5" opacity="0.8"/>'
        + ticks(58.4, 2.6, 0.8, "#d8b46a", 6, skip=30, opacity=0.85)
        + '<g fill="url(#brass)" stroke="#2a170b" stroke-width="0.35">%s</g>' % "".join(studs)
        + '<g stroke="#2a170b" stroke-width="0.4">'
        + numerals(roman, 46.5, 11.5, "url(#brass)", "DejaVu Serif", weight="bold")
        + '</g>'
        '<circle cx="65" cy="65" r="8" fill="none" stroke="url(#brass)" stroke-width="0.8" opacity="0.7"/>'
    )
    outline = 'stroke="#2a170b" stroke-width="0.6" stroke-linejoin="round"'
    spade = ("M -1.3 -8 L 1.3 -8 L 1.4 0 L 1.2 18 C 5.6 19 5.4 25 1.6 27.5 L 0 34 "
             "L -1.6 27.5 C -5.4 25 -5.6 19 -1.2 18 L -1.4 0 Z")
    hour = hand_svg(13, 72, '<g fill="url(#brass)" %s><path d="%s"/><circle r="4.8"/></g>'
                    '<circle cy="22.6" r="1.3" fill="#3a2410"/>' % (outline, spade), BRASS_DEFS)
    sword = "M -1.1 -9 L 1.1 -9 L 1.3 0 L 2.6 30 L 0 47 L -2.6 30 L -1.3 0 Z"
    minute = hand_svg(13, 72, '<g fill="url(#brass)" %s><path d="%s"/><circle r="4.8"/></g>'
                      '<path d="M 0 4 L 0 44" stroke="#7a5418" stroke-width="0.5"/>' % (outline, sword),
                      BRASS_DEFS)
    second = hand_svg(13, 78, (
        '<g fill="#ff6a2b" stroke="#3a1405" stroke-width="0.3">'
        '<path d="M -0.6 -17 L 0.6 -17 L 0.8 0 L 0.3 51 L -0.3 51 L -0.8 0 Z"/>'
        '<circle cy="-12" r="2.7"/><circle r="3.1"/></g>'
        '<circle r="1.2" fill="url(#brass)"/>'), BRASS_DEFS)
    return face, (hour, 13, 72), (minute, 13, 72), (second, 13, 78), None


# id order inside each tuple: face, hour, minute, second, case
LOOK_IDS = [
    (look0, (134, 137, 136, 135, 140), 254),
    (look1, (143, 144, 146, 142, 145), 163),
    (look2, (148, 149, 151, 147, 150), 0),
    (look3, (153, 154, 156, 152, 155), 0),
    (look4, (180, 181, 183, 184, 182), 0),
]


def checkerboard(scale=1):
    square, side = 8 * scale, DIAL * scale
    px = bytearray()
    for y in range(side):
        for x in range(side):
            v = 255 if ((x // square) + (y // square)) % 2 == 0 else 223
            px += bytes((v, v, v, 255))
    return px


# --------------------------------------------------------------------------
# Icons, cursor and toolbar bitmaps
# --------------------------------------------------------------------------

def clock_icon_svg(size):
    """48-unit artwork; the smallest sizes drop fine detail so they stay legible."""
    small = size < 24
    minute_ticks = "" if size < 32 else "".join(
        '<line x1="24" y1="6.2" x2="24" y2="7.4" transform="rotate(%d 24 24)"/>' % d
        for d in range(0, 360, 6) if d % 30)
    hour_ticks = "".join('<line x1="24" y1="%g" x2="24" y2="%g" transform="rotate(%d 24 24)"/>'
                         % (5.5 if small else 6.2, 9.5, d) for d in range(0, 360, 90 if small else 30))
    return (
        '<defs><linearGradient id="bez" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="#7fb2ff"/><stop offset="0.5" stop-color="#2d6fd6"/>'
        '<stop offset="1" stop-color="#123e8a"/></linearGradient>'
        '<radialGradient id="face" cx="45%%" cy="40%%" r="60%%">'
        '<stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#dfe6ef"/></radialGradient>'
        '</defs>'
        '<circle cx="24" cy="24" r="22.6" fill="url(#bez)" stroke="#0d2c63" stroke-width="%g"/>'
        '<circle cx="24" cy="24" r="%g" fill="url(#face)"/>'
        '<g stroke="#5a6270" stroke-width="0.7">%s</g>'
        '<g stroke="#1b1f26" stroke-width="%g" stroke-linecap="round">%s</g>'
        '<g stroke="#15181d" stroke-linecap="round">'
        '<line x1="24" y1="24" x2="15" y2="18.5" stroke-width="%g"/>'
        '<line x1="24" y1="24" x2="35.5" y2="14" stroke-width="%g"/></g>'
        '%s<circle cx="24" cy="24" r="%g" fill="#15181d"/>'
        % (1.4 if small else 1.0, 17.4 if small else 18.3,
           minute_ticks, 3.0 if small else 1.8, hour_ticks,
           4.4 if small else 3.2, 3.6 if small else 2.4,
           "" if small else '<line x1="24" y1="28" x2="24" y2="8.5" stroke="#e02424" '
                             'stroke-width="1" stroke-linecap="round" transform="rotate(150 24 24)"/>',
           3.0 if small else 2.2))


NOTE_SVG = (
    '<defs><linearGradient id="n" x1="0" y1="0" x2="1" y2="1">'
    '<stop offset="0" stop-color="#6fb1ff"/><stop offset="0.55" stop-color="#1f6fe5"/>'
    '<stop offset="1" stop-color="#0b3c9c"/></linearGradient></defs>'
    '<g fill="url(#n)" stroke="#082a70" stroke-width="1" stroke-linejoin="round">'
    '<path d="M 16.2 3 L 19 3 C 19.6 7.5 23.5 9.5 26 12.5 C 28.6 15.7 27.6 20.2 25.4 22.6 '
    'C 26.4 19 25.6 15.6 19 13.3 L 19 24 L 16.2 24 Z"/>'
    '<ellipse cx="12.2" cy="24.4" rx="6.4" ry="4.5" transform="rotate(-22 12.2 24.4)"/>'
    '</g>'
    '<ellipse cx="10.6" cy="23" rx="2.4" ry="1.1" fill="#dcebff" opacity="0.7" '
    'transform="rotate(-22 10.6 23)"/>'
)


# Pointing hand, index finger up; hot spot is the fingertip at (0,0).
# '#' black outline, 'o' white fill, '.' (and anything past the art) transparent.
CURSOR = """
###
#oo#
#ooo#
#ooo#
#ooo#
#ooo#
#ooo#
#ooo#####
#ooo#oooo#####
#ooo#oooo#oooo####
#ooo#oooo#oooo#ooo#
#ooo#oooo#oooo#ooo#
#ooooooooooooooooo#
#ooooooooooooooooo#
#oo####ooooooooooo#
#ooooo###ooooooooo#
.#ooooooo#oooooooo#
.#ooooooooooooooo#
..#oooooooooooooo#
..#oooooooooooooo#
...#oooooooooooo#
...#oooooooooooo#
...##############
...#oooooooooooo#
...#oooooooooooo#
...##############
"""


def cursor_file(art):
    rows = [r.ljust(32, ".") for r in art.strip("\n").split("\n")]
    rows += ["." * 32] * (32 - len(rows))
    assert len(rows) == 32 and all(len(r) == 32 for r in rows)
    xor_rows, and_rows = [], []
    for r in reversed(rows):  # DIBs are stored bottom-up
        xor_bits = and_bits = 0
        for ch in r:
            xor_bits = (xor_bits << 1) | (ch == "o")
            and_bits = (and_bits << 1) | (ch == ".")
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 256, 0, 0, 2, 0)
    palette = b"\x00\x00\x00\x00\xff\xff\xff\x00"
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", 32, 32, 2, 0, 0, 0, len(image), 22)
    return directory + image


def dib32(size, px):
    """32-bit icon DIB: BGRA colour plane plus an AND mask for pre-alpha systems."""
    mask_stride = ((size + 31) // 32) * 4
    color, mask = bytearray(), bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up
        bits = bytearray(mask_stride)
        for x in range(size):
            i = (y * size + x) * 4
            r, g, b, a = px[i:i + 4]
            color += bytes((b, g, r, a))
            if a < 128:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(color) + len(mask), 0, 0, 0, 0)
    return header + bytes(color) + bytes(mask)


def ico_file(images):
    """images: list of (size, rgba)."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for size, px in images:
        blob = dib32(size, px)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


FACE_GREY = (192, 192, 192)

BITMAP_ART = {
    # green "play" triangle
    194: ("""
................
................
...#............
...##...........
...#g#..........
...#gg#.........
...#Ggg#........
...#GGgg#.......
...#GGGgg#......
...#GGgg#.......
...#Ggg#........
...#gg#.........
...#g#..........
...##...........
...#............
................
""", {"#": (0, 90, 20), "g": (70, 200, 70), "G": (20, 150, 40)}),
    # orange "stop" square
    195: ("""
................
................
................
...##########...
...#llllllll#...
...#lOOOOOOo#...
...#lOOOOOOo#...
...#lOOOOOOo#...
...#lOOOOOOo#...
...#lOOOOOOo#...
...#lOOOOOOo#...
...#looooooo#...
...##########...
................
................
................
""", {"#": (150, 60, 0), "l": (255, 200, 120), "O": (255, 140, 0), "o": (220, 100, 0)}),
    # yellow open folder
    197: ("""
................
................
................
.####...........
#yyyy#..........
#ywwwy######....
#ywwwwwwwwww#...
#yw##########...
#yw#YYYYYYYYY#..
#y#YYYYYYYYYY#..
#y#YYYYYYYYY#...
##YYYYYYYYYY#...
##YYYYYYYYY#....
#YYYYYYYYYY#....
############....
................
""", {"#": (110, 80, 0), "y": (230, 190, 40), "w": (255, 245, 190), "Y": (255, 215, 50)}),
}


# The same buttons drawn as shapes on the 16-unit grid of the pixel art above (a pixel's
# centre at +0.5), for the art at twice the size.
BUTTON_SVG = {
    194: ('<defs><linearGradient id="g"><stop offset="0" stop-color="#149628"/>'
          '<stop offset="1" stop-color="#46c846"/></linearGradient></defs>'
          '<path d="M 3.5 2.5 L 9.5 8.5 L 3.5 14.5 Z" fill="url(#g)" stroke="#005a14" '
          'stroke-linejoin="round"/>'),
    195: ('<rect x="3.5" y="3.5" width="9" height="9" fill="#dc6400" stroke="#963c00"/>'
          '<path d="M 4 4 H 12 V 5 H 5 V 12 H 4 Z" fill="#ffc878"/>'
          '<rect x="5" y="5" width="6" height="6" fill="#ff8c00"/>'),
    197: ('<g stroke="#6e5000" stroke-linejoin="round">'
          '<path d="M 0.5 14.5 V 4.5 L 1.5 3.5 H 4.5 L 5.5 4.5 V 5.5 H 11.5 L 12.5 6.5 V 8 '
          'L 11 14.5 Z" fill="#e6be28"/>'
          '<path d="M 2 14 V 5 H 5 V 6 H 12 V 7.5 H 3 Z" fill="#fff5be" stroke="none"/>'
          '<path d="M 3.5 7.5 H 13.5 L 11.5 14.5 H 0.5 Z" fill="#ffd732"/></g>'),
}
BUTTON = 16


def bmp_pixels(size, rgb_rows):
    """24-bit bottom-up BMP of `size` square rows of (r, g, b), top row first."""
    pixels = bytearray()
    for row in reversed(rgb_rows):
        for rgb in row:
            pixels += bytes((rgb[2], rgb[1], rgb[0]))
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + bytes(pixels)


def bmp_file(art, palette):
    rows = art.strip("\n").split("\n")
    assert len(rows) == BUTTON and all(len(r) == BUTTON for r in rows)
    return bmp_pixels(BUTTON, [[palette.get(ch, FACE_GREY) for ch in r] for r in rows])


def bmp_from_svg(svg, size):
    """Anti-aliased on the face grey; only untouched pixels keep that exact grey, which the
    button turns into the system's face colour."""
    px = render_svg(svg, size, size, (BUTTON, BUTTON))
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r, g, b, a = px[(y * size + x) * 4:(y * size + x) * 4 + 4]
            row.append(tuple((c * a + grey * (255 - a) + 127) // 255
                             for c, grey in zip((r, g, b), FACE_GREY)))
        rows.append(row)
    return bmp_pixels(size, rows)


# --------------------------------------------------------------------------
# Sounds
# --------------------------------------------------------------------------

def wav_file(rate, samples):
    data = b"".join(struct.pack("<h", s) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def to_pcm(signal, peak):
    top = max(abs(v) for v in signal) or 1.0
    k = peak * 32767.0 / top
    return [int(round(v * k)) for v in signal]


def chime():
    """Three soft bell strikes (E5, C5, G4) ringing out over eight seconds."""
    rate, count = 8000, 129062 // 2
    # (frequency ratio, level, decay time in seconds): hum, strike, and bell overtones
    partials = [(0.5, 0.18, 2.6), (1.0, 1.0, 1.7), (2.0, 0.42, 0.95),
                (2.76, 0.16, 0.55), (4.07, 0.08, 0.32), (5.43, 0.04, 0.22)]
    notes = [(0.00, 659.26, 1.0), (0.62, 523.25, 0.9), (1.24, 392.00, 0.95)]
    sig = [0.0] * count
    for start, f0, level in notes:
        first = int(start * rate)
        for ratio, amp, tau in partials:
            f = f0 * ratio
            if f > rate * 0.45:
                continue
            w = 2 * math.pi * f / rate
            decay = math.exp(-1.0 / (tau * rate))
            env = level * amp
            for n in range(count - first):
                attack = n / 40.0 if n < 40 else 1.0
                sig[first + n] += env * attack * math.sin(w * n)
                env *= decay
    fade = int(0.4 * rate)
    for n in range(fade):
        sig[count - fade + n] *= 0.5 + 0.5 * math.cos(math.pi * n / fade)
    return wav_file(rate, to_pcm(sig, 0.62))


def alarm():
    """Bursts of four urgent beeps each second, starting on the very first sample."""
    rate, count = 11025, 223652 // 2
    f = 1760.0
    beep, gap, period = int(0.085 * rate), int(0.055 * rate), rate
    ramp = 12
    sig = [0.0] * count
    group = 0
    while group * period < count:
        for k in range(4):
            first = group * period + k * (beep + gap)
            if first + beep > count:
                break
            for n in range(beep):
                env = min(1.0, (n + 1) / ramp, (beep - n) / ramp)
                t = n / rate
                # odd harmonics give the square-ish buzz of a real alarm clock
                sig[first + n] = env * (math.sin(2 * math.pi * f * t)
                                        + 0.3 * math.sin(2 * math.pi * 3 * f * t))
        group += 1
    return wav_file(rate, to_pcm(sig, 0.75))


# --------------------------------------------------------------------------

def write_looks(put, scale, offset, encode):
    """Every look and the checkerboard at `scale`, as files named for their id plus `offset`."""
    def put_png(image_id, w, h, px):
        put("png_%d.png" % (image_id + offset), encode(w * scale, h * scale, px))

    def draw(svg, w, h):
        return render_svg(svg, w * scale, h * scale, (w, h))

    for build, ids, case_limit in LOOK_IDS:
        face, hour, minute, second, case = build()
        face_id, hour_id, minute_id, second_id, case_id = ids
        put_png(face_id, DIAL, DIAL, draw(face, DIAL, DIAL))
        for hid, (svg, w, h) in ((hour_id, hour), (minute_id, minute), (second_id, second)):
            put_png(hid, w, h, draw(svg, w, h))
        if case is None:
            px = bytearray(DIAL * DIAL * scale * scale * 4)
        else:
            px = clamp_alpha(draw(case, DIAL, DIAL), case_limit)
        put_png(case_id, DIAL, DIAL, px)
    put_png(CHECKERBOARD_ID, DIAL, DIAL, checkerboard(scale))


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_assets.py OUTPUT_DIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)

    def put(name, data):
        with open(os.path.join(out, name), "wb") as fh:
            fh.write(data)

    write_looks(put, 1, 0, png_encode)
    write_looks(put, HIDPI, HIDPI_ID_OFFSET, png_encode_smallest)

    def clock_icon(sizes):
        return ico_file([(s, render_svg(clock_icon_svg(s), s, s, (48, 48))) for s in sizes])

    put("icon_%d.ico" % CLOCK_ICON_ID, clock_icon((16, 32, 48)))
    put("icon_%d.ico" % CLOCK_ICON_SIZES_ID, clock_icon(CLOCK_ICON_SIZES))
    put("icon_187.ico", ico_file([(32, render_svg(NOTE_SVG, 32, 32))]))
    put("cursor_186.cur", cursor_file(CURSOR))
    for bid, (art, pal) in sorted(BITMAP_ART.items()):
        put("bitmap_%d.bmp" % bid, bmp_file(art, pal))
        put("bitmap_%d.bmp" % (bid + HIDPI_ID_OFFSET),
            bmp_from_svg(BUTTON_SVG[bid], BUTTON * HIDPI))
    put("wave_175.wav", chime())
    put("wave_179.wav", alarm())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
