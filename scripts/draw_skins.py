#!/usr/bin/env python3
"""Draws the player's skin pictures, the idle-screen logo and the program icon into resources/.

Python 3 standard library only. Shapes are rasterised into supersampled coverage masks (4 x 4 samples per
pixel) and blended into straight-alpha RGBA pictures, so every edge is anti-aliased and every transparent
pixel around a glyph is exactly transparent. Run it from anywhere; it rewrites the files in place:

    python3 scripts/draw_skins.py [output-folder]

Every skin picture is drawn for each display scale the player knows (SCALES): the 100 % pictures beside the
resource script, the others in a folder per scale ("150/play.png"), each of them drawn from the same shapes at
that scale rather than stretched, so that edges stay sharp. A picture of n pixels at 100 % has n x scale / 100
pixels, rounded half up as the player rounds its layout. The resource lines of the scaled pictures (type
PNG_150 for 150 %) go to scaled_skins.rc, which the resource script includes; the icon carries the small and
large sizes of every scale.
"""

import math
import os
import struct
import sys
import zlib

SS = 4  # samples per pixel along each axis

# The display scales the pictures are drawn for, in percent; the player picks the one of its screen, or the
# next larger one. Every scale's pictures have the names of the 100 % ones, with the resource type
# PNG_PERCENT instead of PNG: types sort after PNG, so the 100 % pictures come first in the program's
# resources, together, and the others (never read at 100 %) after them.
SCALES = (100, 125, 150, 175, 200, 250, 300)
# The scale being drawn. Every shape, size and colour position below is given in pixels of the 100 % picture.
_percent = 100


def px(n):
    """Pixels of n 100 % pixels at the scale being drawn, rounded half up."""
    return (n * _percent + 50) // 100


def whole_pixels(n):
    """A distance of n 100 % pixels as a whole number of pixels at the scale being drawn (at least one)."""
    return max(1, int(n * _percent / 100 + 0.5))

# The control bar's gradient; the button pictures are drawn to sit on it.
BAR_TOP = (225, 225, 225)
BAR_BOTTOM = (152, 151, 151)
GLYPH = (52, 58, 66)
ACCENT_LIGHT = (96, 190, 255)
ACCENT_DARK = (28, 98, 196)


# ---------------------------------------------------------------------------------------------- masks

class Mask:
    """A supersampled coverage mask of a picture of width x height 100 % pixels, at the scale being drawn;
    shapes are given in 100 % pixels too."""

    def __init__(self, width, height, scaled=True):
        self.width, self.height = (px(width), px(height)) if scaled else (width, height)
        self.scale = _percent / 100
        self.sw, self.sh = self.width * SS, self.height * SS
        self.bits = bytearray(self.sw * self.sh)

    def _span(self, row, x0, x1, value):
        # Samples whose centres lie in [x0, x1) (sample units) are set or cleared.
        a = max(0, math.ceil(x0 - 0.5))
        b = min(self.sw, math.ceil(x1 - 0.5))
        if b > a:
            start = row * self.sw
            self.bits[start + a:start + b] = bytes([value]) * (b - a)

    def polygon(self, points, value=1):
        """Fills a polygon given in pixel coordinates (non-zero winding of a simple outline)."""
        pts = [(x * self.scale * SS, y * self.scale * SS) for x, y in points]
        ys = [p[1] for p in pts]
        top = max(0, int(math.floor(min(ys))))
        bottom = min(self.sh, int(math.ceil(max(ys))) + 1)
        n = len(pts)
        for row in range(top, bottom):
            cy = row + 0.5
            xs = []
            for i in range(n):
                (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % n]
                if (ya <= cy < yb) or (yb <= cy < ya):
                    xs.append(xa + (cy - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                self._span(row, xs[i], xs[i + 1], value)
        return self

    def ellipse(self, cx, cy, rx, ry, value=1):
        k = self.scale * SS
        cx, cy, rx, ry = cx * k, cy * k, rx * k, ry * k
        top = max(0, int(math.floor(cy - ry)))
        bottom = min(self.sh, int(math.ceil(cy + ry)) + 1)
        for row in range(top, bottom):
            dy = (row + 0.5 - cy) / ry
            if abs(dy) < 1:
                half = rx * math.sqrt(1 - dy * dy)
                self._span(row, cx - half, cx + half, value)
        return self

    def circle(self, cx, cy, r, value=1):
        return self.ellipse(cx, cy, r, r, value)

    def rounded_rect(self, x0, y0, x1, y1, r, value=1):
        r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)
        pts = []
        for (cx, cy, start) in ((x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0), (x0 + r, y1 - r, 90),
                                (x0 + r, y0 + r, 180)):
            for k in range(9):
                a = math.radians(start + k * 90 / 8)
                pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        return self.polygon(pts, value)

    def stroke(self, points, width, value=1):
        """A polyline of the given width with round joins and caps."""
        half = width / 2
        for (xa, ya), (xb, yb) in zip(points, points[1:]):
            length = math.hypot(xb - xa, yb - ya)
            if length > 0:
                nx, ny = -(yb - ya) / length * half, (xb - xa) / length * half
                self.polygon([(xa + nx, ya + ny), (xb + nx, yb + ny), (xb - nx, yb - ny), (xa - nx, ya - ny)],
                             value)
        for x, y in points:
            self.circle(x, y, half, value)
        return self

    def shifted(self, dx, dy):
        """A copy moved by whole pixels (dx and dy 100 % pixels, at least one pixel each way they move)."""
        out = Mask(self.width, self.height, scaled=False)
        sx = whole_pixels(abs(dx)) * SS * (1 if dx > 0 else -1) if dx else 0
        sy = whole_pixels(abs(dy)) * SS * (1 if dy > 0 else -1) if dy else 0
        for row in range(self.sh):
            src = row - sy
            if 0 <= src < self.sh:
                line = self.bits[src * self.sw:(src + 1) * self.sw]
                if sx >= 0:
                    line = bytes(sx) + line[:self.sw - sx]
                else:
                    line = line[-sx:] + bytes(-sx)
                out.bits[row * self.sw:(row + 1) * self.sw] = line
        return out

    def coverage(self):
        """Per-pixel coverage 0..1, row by row."""
        area = SS * SS
        result = []
        for y in range(self.height):
            rows = [self.bits[(y * SS + k) * self.sw:(y * SS + k + 1) * self.sw] for k in range(SS)]
            line = []
            for x in range(self.width):
                a, b = x * SS, x * SS + SS
                line.append(sum(sum(r[a:b]) for r in rows) / area)
            result.append(line)
        return result


# -------------------------------------------------------------------------------------------- pictures

class Picture:
    """A straight-alpha RGBA picture of width x height 100 % pixels at the scale being drawn, kept
    premultiplied while drawing."""

    def __init__(self, width, height, scaled=True):
        self.base = (width, height)
        self.width, self.height = (px(width), px(height)) if scaled else (width, height)
        self.scale = _percent / 100 if scaled else 1
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.width * self.height)]

    def paint(self, mask, colour, opacity=1.0):
        """Blends a colour (an (r, g, b) tuple or a function of x, y in 100 % pixels) through the mask, over
        what is already drawn."""
        cov = mask.coverage()
        for y in range(self.height):
            for x in range(self.width):
                a = cov[y][x] * opacity
                if a <= 0:
                    continue
                r, g, b = colour((x + 0.5) / self.scale, (y + 0.5) / self.scale) if callable(colour) else colour
                p = self.px[y * self.width + x]
                keep = 1 - a
                p[0] = r * a + p[0] * keep
                p[1] = g * a + p[1] * keep
                p[2] = b * a + p[2] * keep
                p[3] = a + p[3] * keep

    def fill(self, colour):
        m = Mask(self.width, self.height, scaled=False)
        m.bits[:] = b"\1" * len(m.bits)
        self.paint(m, colour)

    def rgba_rows(self):
        rows = []
        for y in range(self.height):
            row = bytearray()
            for x in range(self.width):
                r, g, b, a = self.px[y * self.width + x]
                if a <= 1e-6:
                    row += b"\0\0\0\0"
                    continue
                row += bytes([min(255, max(0, round(c / a))) for c in (r, g, b)])
                row.append(min(255, max(0, round(a * 255))))
            rows.append(bytes(row))
        return rows


def vertical(top, bottom, y0, y1):
    """A colour function running from top at y0 to bottom at y1."""

    def colour(_x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return colour


# ---------------------------------------------------------------------------------------------- files

def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter(row, previous, kind):
    n = len(row)
    left = bytes(4) + row[:n - 4]
    if kind == 0:
        return row
    if kind == 1:
        return bytes((row[i] - left[i]) & 255 for i in range(n))
    if kind == 2:
        return bytes((row[i] - previous[i]) & 255 for i in range(n))
    if kind == 3:
        return bytes((row[i] - ((left[i] + previous[i]) >> 1)) & 255 for i in range(n))
    up_left = bytes(4) + previous[:n - 4]
    return bytes((row[i] - _paeth(left[i], previous[i], up_left[i])) & 255 for i in range(n))


def _filtered(rows, choose):
    """The rows with a PNG filter byte each; choose(candidates) picks the filter of a row."""
    out = []
    previous = bytes(len(rows[0])) if rows else b""
    for row in rows:
        candidates = [_filter(row, previous, kind) for kind in range(5)]
        kind = choose(candidates)
        out.append(bytes([kind]) + candidates[kind])
        previous = row
    return b"".join(out)


def png_bytes(width, height, rows):
    """The smallest of a few encodings: one filter for every row, or per row the filter that leaves the
    smallest sum of (signed) bytes. Small pictures with wide transparent parts often pack best unfiltered,
    smooth large ones filtered."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    def signed_sum(data):
        return sum(v if v < 128 else 256 - v for v in data)

    encodings = [_filtered(rows, lambda _c, k=kind: k) for kind in range(5)]
    encodings.append(_filtered(rows, lambda c: min(range(5), key=lambda k: signed_sum(c[k]))))
    data = min((zlib.compress(raw, 9) for raw in encodings), key=len)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def write_png(folder, name, picture):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(png_bytes(picture.width, picture.height, picture.rgba_rows()))


def ico_bytes(pictures, png_sizes=()):
    """An icon file with one 32-bit entry per picture: a BMP (colour plus AND mask), or for the sizes in
    png_sizes a PNG, which takes a fraction of the room."""
    images = []
    for pic in pictures:
        w, h = pic.width, pic.height
        rows = pic.rgba_rows()
        if w in png_sizes:
            images.append((w, h, png_bytes(w, h, rows)))
            continue
        colour = bytearray()
        for row in reversed(rows):  # DIB rows run bottom-up
            for x in range(w):
                r, g, b, a = row[4 * x:4 * x + 4]
                colour += bytes([b, g, r, a])
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            line = bytearray(mask_stride)
            for x in range(w):
                if row[4 * x + 3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
        images.append((w, h, header + colour + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _w, _h, data in images:
        out += data
    return out


# ------------------------------------------------------------------------------------------- the font

# A small stroke font: each letter is a list of polylines on a grid where the baseline is y = 0, the
# x-height is 5 and the cap height 7 (y grows upwards here); the width follows the name.
def _arc(cx, cy, rx, ry, start, end, steps=10):
    return [(cx + rx * math.cos(math.radians(start + (end - start) * k / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * k / steps))) for k in range(steps + 1)]


FONT = {
    "V": (5.4, [[(0, 7), (2.7, 0), (5.4, 7)]]),
    "P": (4.4, [[(0, 0), (0, 7), (2.4, 7)] + _arc(2.4, 5.0, 2.0, 2.0, 90, -90) + [(0, 3.0)]]),
    "e": (4.4, [[(0.1, 2.5), (4.3, 2.5)] + _arc(2.2, 2.5, 2.1, 2.5, 0, 300, 16)]),
    "l": (0.0, [[(0, 7.4), (0, 0)]]),
    "m": (6.6, [[(0, 0), (0, 5)], [(0, 3.4)] + _arc(1.65, 3.4, 1.65, 1.6, 180, 0, 8) + [(3.3, 0)],
                [(3.3, 3.4)] + _arc(4.95, 3.4, 1.65, 1.6, 180, 0, 8) + [(6.6, 0)]]),
    "o": (4.6, [_arc(2.3, 2.5, 2.3, 2.5, 0, 360, 24)]),
    "r": (3.0, [[(0, 0), (0, 5)], [(0, 2.8)] + _arc(2.2, 2.9, 2.2, 2.1, 180, 75, 8)]),
    "a": (4.4, [[(4.4, 5), (4.4, 0)], _arc(2.15, 2.5, 2.25, 2.5, 15, 345, 20)]),
    "y": (4.6, [[(0, 5), (2.3, 0)], [(4.6, 5), (1.8, -1.6), (1.2, -2.2), (0.4, -2.3)]]),
    " ": (1.6, []),
}


def text_width(text, size, spacing):
    unit = size / 7
    return sum(FONT[c][0] * unit for c in text) + spacing * unit * (len(text) - 1)


def draw_text(mask, text, x, baseline, size, weight, spacing=1.9):
    """Strokes the text with its left edge at x; size is the cap height in pixels."""
    unit = size / 7
    for c in text:
        width, strokes = FONT[c]
        for line in strokes:
            mask.stroke([(x + px * unit, baseline - py * unit) for px, py in line], weight)
        x += (width + spacing) * unit
    return x


# ------------------------------------------------------------------------------------------- the skins

def bar_background():
    pic = Picture(10, 36)
    pic.fill(vertical(BAR_TOP, BAR_BOTTOM, 1, 34))
    # The light top edge and the dark bottom edge are whole pixels at every scale, across the whole tile
    # (wider than 10 where the tile's width was rounded up).
    line = whole_pixels(1) / pic.scale
    top = Mask(10, 36).polygon([(0, 0), (20, 0), (20, line), (0, line)])
    pic.paint(top, (246, 246, 246))
    bottom = Mask(10, 36).polygon([(0, 36 - line), (20, 36 - line), (20, 36), (0, 36)])
    pic.paint(bottom, (128, 127, 127))
    return pic


def button_face(width, height, radius, cx=None, cy=None):
    """A round, softly lit button with a faint shadow; the glyph goes on top."""
    pic = Picture(width, height)
    cx = width / 2 if cx is None else cx
    cy = height / 2 - 0.5 if cy is None else cy
    shadow = Mask(width, height).circle(cx, cy + 1.2, radius + 0.3)
    pic.paint(shadow, (70, 70, 70), 0.28)
    rim = Mask(width, height).circle(cx, cy, radius)
    pic.paint(rim, vertical((150, 150, 152), (112, 112, 116), cy - radius, cy + radius))
    face = Mask(width, height).circle(cx, cy, radius - 1.0)
    pic.paint(face, vertical((255, 255, 255), (204, 205, 208), cy - radius, cy + radius))
    gloss = Mask(width, height).ellipse(cx, cy - radius * 0.42, radius * 0.72, radius * 0.42)
    pic.paint(gloss, (255, 255, 255), 0.55)
    return pic, cx, cy


def glyph(pic, mask, colour=GLYPH):
    pic.paint(mask.shifted(0, 1), (255, 255, 255), 0.6)  # engraved: a light edge below the glyph
    pic.paint(mask, colour)


def play_triangle(mask, cx, cy, size):
    # The optical centre of a triangle pointing right sits left of its box centre.
    h = size
    w = size * 0.9
    x0 = cx - w * 0.4
    mask.polygon([(x0, cy - h / 2), (x0 + w, cy), (x0, cy + h / 2)])


def glyph_shape(m, kind, cx, cy, k=1.0):
    """The glyph of a button kind centred at (cx, cy), k times the size it has on the bar."""
    if kind == "play":
        play_triangle(m, cx + 0.3 * k, cy, 11 * k)
    elif kind == "pause":
        m.rounded_rect(cx - 4.6 * k, cy - 5.2 * k, cx - 1.4 * k, cy + 5.2 * k, 0.8 * k)
        m.rounded_rect(cx + 1.4 * k, cy - 5.2 * k, cx + 4.6 * k, cy + 5.2 * k, 0.8 * k)
    elif kind == "stop":
        m.rounded_rect(cx - 4.6 * k, cy - 4.6 * k, cx + 4.6 * k, cy + 4.6 * k, 1.2 * k)
    elif kind == "open":
        m.polygon([(cx - 5.5 * k, cy + 0.6 * k), (cx, cy - 5.4 * k), (cx + 5.5 * k, cy + 0.6 * k)])
        m.rounded_rect(cx - 5.5 * k, cy + 2.4 * k, cx + 5.5 * k, cy + 4.9 * k, 0.6 * k)
    elif kind in ("prev", "next"):
        s = -1 if kind == "prev" else 1  # the side the bar is on
        m.rounded_rect(cx + min(3.6 * s, 5.6 * s) * k, cy - 4.8 * k, cx + max(3.6 * s, 5.6 * s) * k, cy + 4.8 * k,
                       0.5 * k)
        m.polygon([(cx + 3.4 * s * k, cy), (cx - 1.2 * s * k, cy - 4.8 * k), (cx - 1.2 * s * k, cy + 4.8 * k)])
        m.polygon([(cx - 0.9 * s * k, cy), (cx - 5.5 * s * k, cy - 4.8 * k), (cx - 5.5 * s * k, cy + 4.8 * k)])
    return m


def button(kind):
    pic, cx, cy = button_face(36, 32, 13.5)
    m = glyph_shape(Mask(36, 32), kind, cx, cy)
    glyph(pic, m, ACCENT_DARK if kind == "play" else GLYPH)
    return pic


def thumb_icon(kind):
    """A button of the taskbar's thumbnail toolbar, 16 x 16 at 100 %: the bar's glyph in white over a soft
    dark shadow, which reads on the light and the dark previews alike."""
    pic = Picture(16, 16)
    m = glyph_shape(Mask(16, 16), kind, 8, 8, 1.15)
    pic.paint(m.shifted(0, 1), (0, 0, 0), 0.5)
    pic.paint(m, (255, 255, 255))
    return pic


def speaker(m, left, cy):
    m.polygon([(left, cy - 1.9), (left + 2.6, cy - 1.9), (left + 6.0, cy - 4.8), (left + 6.0, cy + 4.8),
               (left + 2.6, cy + 1.9), (left, cy + 1.9)])


def speaker_button(left_of_centre):
    """The Mute button's face with a speaker and its first wave; the caller adds the rest of the glyph."""
    pic, cx, cy = button_face(28, 24, 10.5)
    m = Mask(28, 24)
    left = cx - left_of_centre
    speaker(m, left, cy)
    m.stroke(_arc_screen(left + 6.2, cy, 2.6, -45, 45), 1.2)
    return pic, m, cx, cy, left


def mute_button():
    pic, m, _cx, cy, left = speaker_button(5.6)
    m.stroke(_arc_screen(left + 6.2, cy, 5.0, -45, 45), 1.2)
    glyph(pic, m)
    return pic


# The Mute button while the sound is off: the speaker with one wave, struck through in red, with a gap cut
# around the stroke so that it reads at 100 %.
MUTED_STROKE = (196, 40, 36)


def muted_button():
    pic, m, cx, cy, _left = speaker_button(4.2)
    line = [(cx - 5.6, cy + 5.6), (cx + 5.6, cy - 5.6)]
    m.stroke(line, 3.4, value=0)
    glyph(pic, m)
    pic.paint(Mask(28, 24).stroke(line, 1.6), MUTED_STROKE)
    return pic


def _arc_screen(cx, cy, r, start, end, steps=10):
    return [(cx + r * math.cos(math.radians(start + (end - start) * k / steps)),
             cy + r * math.sin(math.radians(start + (end - start) * k / steps))) for k in range(steps + 1)]


def fullscreen_button(leave):
    pic, cx, cy = button_face(32, 26, 11.5)
    m = Mask(32, 26)
    d, arm, w = 5.2, 3.0, 1.5  # corner distance, arm length, stroke width
    for sx in (-1, 1):
        for sy in (-1, 1):
            x, y = cx + sx * d, cy + sy * d
            if leave:
                # Corners pointing inwards: the picture shrinks back into the window.
                x, y = cx + sx * (d - arm + 0.6), cy + sy * (d - arm + 0.6)
                m.stroke([(x + sx * arm, y), (x, y), (x, y + sy * arm)], w)
            else:
                m.stroke([(x - sx * arm, y), (x, y), (x, y - sy * arm)], w)
    glyph(pic, m)
    return pic


def time_track():
    pic = Picture(4, 12)
    groove = Mask(4, 12).polygon([(0, 4.5), (4, 4.5), (4, 8.5), (0, 8.5)])
    pic.paint(groove.shifted(0, 1), (255, 255, 255), 0.55)
    pic.paint(groove, vertical((96, 98, 102), (140, 142, 146), 4.5, 8.5))
    return pic


def knob(width, height, radius):
    pic = Picture(width, height)
    cx, cy = width / 2, height / 2
    pic.paint(Mask(width, height).circle(cx, cy + 0.5, radius), (60, 60, 60), 0.3)
    pic.paint(Mask(width, height).circle(cx, cy, radius - 0.3), vertical((120, 122, 128), (84, 86, 92),
                                                                         cy - radius, cy + radius))
    pic.paint(Mask(width, height).circle(cx, cy, radius - 1.3),
              vertical((255, 255, 255), (206, 208, 212), cy - radius, cy + radius))
    pic.paint(Mask(width, height).circle(cx, cy, 1.6), ACCENT_DARK)
    return pic


def volume_bar():
    pic = Picture(68, 12)
    # A ramp that grows to the right: louder is taller.
    ramp = [(2, 9.5), (66, 9.5), (66, 2.5)]
    outline = Mask(68, 12).polygon(ramp)
    pic.paint(outline.shifted(0, 1), (255, 255, 255), 0.55)
    pic.paint(outline, vertical((104, 106, 110), (146, 148, 152), 2.5, 9.5))
    return pic


def logo():
    width, height = 316, 155
    pic = Picture(width, height)
    cx, cy, r = width / 2, 58, 40
    accent = vertical(ACCENT_LIGHT, ACCENT_DARK, cy - r, cy + r)
    glow = Mask(width, height).circle(cx, cy, r + 5)
    pic.paint(glow, ACCENT_DARK, 0.18)
    ring = Mask(width, height).circle(cx, cy, r).circle(cx, cy, r - 5, value=0)
    pic.paint(ring, accent)
    tri = Mask(width, height)
    size = 34
    x0 = cx - size * 0.36
    corners = [(x0, cy - size / 2), (x0 + size * 0.9, cy), (x0, cy + size / 2)]
    tri.polygon(corners)
    # Rounded corners: a stroke around the outline softens the points.
    tri.stroke(corners + [corners[0]], 3.0)
    pic.paint(tri, accent)

    text = "Velmora Player"
    cap, weight = 17, 2.6
    tw = text_width(text, cap, 1.9)
    letters = Mask(width, height)
    draw_text(letters, text, cx - tw / 2, 135, cap, weight)
    pic.paint(letters, (214, 218, 224))
    return pic


def icon(size):
    pic = Picture(size, size)
    pad = size / 16
    r = size * 0.22
    body = Mask(size, size).rounded_rect(pad, pad, size - pad, size - pad, r)
    pic.paint(body, vertical(ACCENT_LIGHT, ACCENT_DARK, pad, size - pad))
    if size >= 32:
        sheen = Mask(size, size).rounded_rect(pad * 2, pad * 1.6, size - pad * 2, size * 0.5, r * 0.8)
        pic.paint(sheen, (255, 255, 255), 0.18)
    tri = Mask(size, size)
    play_triangle(tri, size / 2 + size * 0.02, size / 2, size * 0.5)
    pic.paint(tri, (255, 255, 255))
    return pic


# Each skin picture: its resource name, its file and how it is drawn.
SKINS = (
    ("IDB_BAR_BKG", "bar_bkg.png", bar_background),
    ("IDB_OPEN", "open.png", lambda: button("open")),
    ("IDB_PLAY", "play.png", lambda: button("play")),
    ("IDB_PAUSE", "pause.png", lambda: button("pause")),
    ("IDB_STOP", "stop.png", lambda: button("stop")),
    ("IDB_PREV", "prev.png", lambda: button("prev")),
    ("IDB_NEXT", "next.png", lambda: button("next")),
    ("IDB_MUTE", "mute.png", mute_button),
    ("IDB_MUTED", "muted.png", muted_button),
    ("IDB_FULLSCREEN1", "fullscreen1.png", lambda: fullscreen_button(False)),
    ("IDB_FULLSCREEN2", "fullscreen2.png", lambda: fullscreen_button(True)),
    # The played part of the track shares the track's picture.
    ("IDB_TIME_BKG", "time_bkg.png", time_track),
    ("IDB_TIME_FORG", "time_forg.png", time_track),
    ("IDB_TIME_BALL", "time_ball.png", lambda: knob(12, 12, 5.5)),
    ("IDB_VOLUME_BAR", "volume_bar.png", volume_bar),
    ("IDB_VOLUME_BALL", "volume_ball.png", lambda: knob(16, 12, 5.5)),
    # The logo is found by its number, 142 (resource.h).
    ("IDB_LOGO", "logo.png", logo),
)

# The window's small and large icons at every scale (16 and 32 pixels at 100 %); the 16, 32 and 48 pixel
# pictures stay plain bitmaps for any reader of icons, the others are PNGs.
ICON_SIZES = sorted({(16 * p + 50) // 100 for p in SCALES} | {(32 * p + 50) // 100 for p in SCALES})


# The thumbnail toolbar's buttons, each an icon with the small-icon size of every scale (16 pixels at 100 %).
THUMBS = ("prev", "play", "pause", "next")


def write_thumb_icons(out):
    global _percent
    for kind in THUMBS:
        pictures = []
        for percent in SCALES:
            _percent = percent
            pictures.append(thumb_icon(kind))
        _percent = 100
        with open(os.path.join(out, "thumb_%s.ico" % kind), "wb") as f:
            f.write(ico_bytes(pictures, png_sizes={p.width for p in pictures} - {16, 32, 48}))


def main():
    global _percent
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    lines = ["// Written by scripts/draw_skins.py: the skin pictures drawn for display scales above 100 %.", ""]
    for percent in SCALES:
        _percent = percent
        folder = out if percent == 100 else os.path.join(out, str(percent))
        os.makedirs(folder, exist_ok=True)
        for name, file_name, draw in SKINS:
            write_png(folder, file_name, draw())
            if percent != 100:
                lines.append("%-20s PNG_%d \"%d/%s\"" % (name, percent, percent, file_name))
    with open(os.path.join(out, "scaled_skins.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")
    _percent = 100
    with open(os.path.join(out, "player.ico"), "wb") as f:
        f.write(ico_bytes([icon(size) for size in ICON_SIZES], png_sizes=set(ICON_SIZES) - {16, 32, 48}))
    write_thumb_icons(out)


if __name__ == "__main__":
    main()
