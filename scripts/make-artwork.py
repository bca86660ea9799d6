#!/usr/bin/env python3
"""Draws the program's own artwork and writes it as RGBA PNG files.

Writes src/gui/resources/KorvexRes/*.png and src/gui/resources/korvex.qrc.
The generated files are committed, so the build never runs this script.
Standard library only: a small scanline rasteriser (16 sample rows per pixel,
exact horizontal coverage) and a PNG writer on zlib + struct.

    python3 scripts/make-artwork.py
"""
import bisect
import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
RES = os.path.join(ROOT, "src", "gui", "resources")
OUT = os.path.join(RES, "KorvexRes")
SUB = 16  # sample rows per pixel row


def rgb(hexstr, alpha=1.0):
    h = hexstr.lstrip("#")
    return (int(h[0:2], 16) / 255, int(h[2:4], 16) / 255, int(h[4:6], 16) / 255, alpha)


RED = rgb("#fb4d63")
RED_DARK = rgb("#d93a50")
RED_PALE = rgb("#ffd3d9")
DARK = rgb("#333333")
GREY = rgb("#8c8c8c")
GREY_LINE = rgb("#9a9a9a")
LIGHT = rgb("#e4e4e8")
WHITE = rgb("#ffffff")


# ---------------------------------------------------------------- geometry
# A shape is a list of closed contours (lists of (x, y)), filled even-odd;
# the shapes handed to one Canvas.fill call are united.

def rect(x0, y0, x1, y1):
    return [[(x0, y0), (x1, y0), (x1, y1), (x0, y1)]]


def circle(cx, cy, r):
    n = max(12, int(r * 6))
    return [[(cx + r * math.cos(2 * math.pi * i / n), cy + r * math.sin(2 * math.pi * i / n))
             for i in range(n)]]


def ring(cx, cy, r, width):
    return circle(cx, cy, r + width / 2) + circle(cx, cy, r - width / 2)


def rounded(points, radius):
    """Polygon with circular fillets; radius is a number or one per vertex."""
    n = len(points)
    radii = radius if isinstance(radius, (list, tuple)) else [radius] * n
    out = []
    for i, (px, py) in enumerate(points):
        (ax, ay), (bx, by) = points[i - 1], points[(i + 1) % n]
        la, lb = math.hypot(ax - px, ay - py), math.hypot(bx - px, by - py)
        ux, uy, vx, vy = (ax - px) / la, (ay - py) / la, (bx - px) / lb, (by - py) / lb
        half = math.acos(max(-1.0, min(1.0, ux * vx + uy * vy))) / 2
        if radii[i] <= 0 or half > math.pi / 2 - 1e-6:
            out.append((px, py))
            continue
        t = min(radii[i] / math.tan(half), la / 2, lb / 2)
        r = t * math.tan(half)
        bxn, byn = ux + vx, uy + vy
        bl = math.hypot(bxn, byn)
        cx, cy = px + bxn / bl * r / math.sin(half), py + byn / bl * r / math.sin(half)
        a1 = math.atan2(py + uy * t - cy, px + ux * t - cx)
        a2 = math.atan2(py + vy * t - cy, px + vx * t - cx)
        sweep = (a2 - a1 + math.pi) % (2 * math.pi) - math.pi
        steps = max(2, int(abs(sweep) * r * 2))
        out += [(cx + r * math.cos(a1 + sweep * k / steps), cy + r * math.sin(a1 + sweep * k / steps))
                for k in range(steps + 1)]
    return out


def arc(cx, cy, rx, ry, degrees):
    return [(cx + rx * math.cos(math.radians(a)), cy + ry * math.sin(math.radians(a))) for a in degrees]


def rrect(x0, y0, x1, y1, r):
    return [rounded([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], r)]


def frame(x0, y0, x1, y1, width):
    """Outline of a rectangle drawn inside its bounds."""
    return rect(x0, y0, x1, y1) + rect(x0 + width, y0 + width, x1 - width, y1 - width)


def stroke(points, width, cap="round"):
    """A polyline of the given width as a list of shapes: round joins, round or butt caps."""
    h = width / 2
    shapes = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        length = math.hypot(x1 - x0, y1 - y0)
        if length == 0:
            continue
        nx, ny = -(y1 - y0) / length * h, (x1 - x0) / length * h
        shapes.append([[(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]])
    joins = points if cap == "round" else points[1:-1]
    return shapes + [circle(x, y, h) for x, y in joins]


def dashes(contour, dash, gap):
    """Splits a closed contour into dash polylines; the pattern is stretched to close evenly."""
    pts = contour + [contour[0]]
    seglens = [math.hypot(b[0] - a[0], b[1] - a[1]) for a, b in zip(pts, pts[1:])]
    total = sum(seglens)
    count = max(1, round(total / (dash + gap)))
    period = total / count
    on = period * dash / (dash + gap)
    cum = [0.0]
    for length in seglens:
        cum.append(cum[-1] + length)

    def at(s):
        i = min(bisect.bisect_right(cum, s), len(seglens)) - 1
        f = (s - cum[i]) / seglens[i] if seglens[i] else 0
        a, b = pts[i], pts[i + 1]
        return (a[0] + (b[0] - a[0]) * f, a[1] + (b[1] - a[1]) * f)

    result = []
    for k in range(count):
        s0, s1 = k * period, k * period + on
        line = [at(s0)] + [pts[i] for i in range(1, len(pts)) if s0 < cum[i] < s1] + [at(s1)]
        result.append(line)
    return result


def clip(contour, a, b, c):
    """Part of a contour where a*x + b*y + c >= 0 (Sutherland-Hodgman)."""
    out = []
    for i, p in enumerate(contour):
        q = contour[(i + 1) % len(contour)]
        dp, dq = a * p[0] + b * p[1] + c, a * q[0] + b * q[1] + c
        if dp >= 0:
            out.append(p)
        if (dp >= 0) != (dq >= 0):
            t = dp / (dp - dq)
            out.append((p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t))
    return out


def split(contour, p, q, gap):
    """Two pieces of a contour on either side of the line p-q, gap apart."""
    dx, dy = q[0] - p[0], q[1] - p[1]
    length = math.hypot(dx, dy)
    a, b = -dy / length, dx / length
    c = -(a * p[0] + b * p[1])
    return [[clip(contour, a, b, c - gap / 2)], [clip(contour, -a, -b, -c - gap / 2)]]


def scaled(shape, factor):
    return [[(x * factor, y * factor) for x, y in contour] for contour in shape]


# ---------------------------------------------------------------- raster

class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [0.0] * (w * h * 4)  # premultiplied RGBA

    def coverage(self, shapes):
        """Yields (row, {column: coverage}) for the union of shapes."""
        edges = []  # per shape: list of (ymin, ymax, x at ymin, dx/dy)
        ymin, ymax = self.h, 0
        for shape in shapes:
            es = []
            for contour in shape:
                for (x0, y0), (x1, y1) in zip(contour, contour[1:] + contour[:1]):
                    if y0 == y1:
                        continue
                    if y0 > y1:
                        x0, y0, x1, y1 = x1, y1, x0, y0
                    es.append((y0, y1, x0, (x1 - x0) / (y1 - y0)))
                    ymin, ymax = min(ymin, y0), max(ymax, y1)
            edges.append(es)
        for row in range(max(0, int(ymin)), min(self.h, int(math.ceil(ymax)))):
            cov = {}
            for s in range(SUB):
                y = row + (s + 0.5) / SUB
                spans = []
                for es in edges:
                    xs = sorted(x + (y - y0) * k for y0, y1, x, k in es if y0 <= y < y1)
                    spans += zip(xs[0::2], xs[1::2])
                spans.sort()
                merged = []
                for a, b in spans:
                    if merged and a <= merged[-1][1]:
                        merged[-1][1] = max(merged[-1][1], b)
                    else:
                        merged.append([a, b])
                for a, b in merged:
                    a, b = max(a, 0.0), min(b, float(self.w))
                    if a >= b:
                        continue
                    pa, pb = int(a), int(b)
                    if pa == pb:
                        cov[pa] = cov.get(pa, 0) + (b - a) / SUB
                        continue
                    cov[pa] = cov.get(pa, 0) + (pa + 1 - a) / SUB
                    for p in range(pa + 1, pb):
                        cov[p] = cov.get(p, 0) + 1 / SUB
                    if pb < self.w and b > pb:
                        cov[pb] = cov.get(pb, 0) + (b - pb) / SUB
            yield row, cov

    def fill(self, shapes, color):
        """Paints the union of shapes; color is RGBA or a function (x, y) -> RGBA."""
        for row, cov in self.coverage(shapes):
            for col, c in cov.items():
                r, g, b, a = color(col + 0.5, row + 0.5) if callable(color) else color
                a *= min(c, 1.0)
                i = (row * self.w + col) * 4
                p = self.px
                p[i], p[i + 1], p[i + 2], p[i + 3] = (r * a + p[i] * (1 - a), g * a + p[i + 1] * (1 - a),
                                                      b * a + p[i + 2] * (1 - a), a + p[i + 3] * (1 - a))

    def erase(self, shapes):
        """Cuts the union of shapes out of what is drawn so far."""
        for row, cov in self.coverage(shapes):
            for col, c in cov.items():
                i = (row * self.w + col) * 4
                for k in range(4):
                    self.px[i + k] *= 1 - min(c, 1.0)

    def png(self):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                i = (y * self.w + x) * 4
                a = self.px[i + 3]
                if a <= 1e-6:
                    raw += b"\0\0\0\0"
                    continue
                raw += bytes(min(255, round(v / a * 255)) for v in self.px[i:i + 3])
                raw.append(min(255, round(a * 255)))

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data
                    + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        return (b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


# ---------------------------------------------------------------- pictures

def page(x0, y0, x1, y1, fold, r=0):
    """A document outline with its top right corner folded over."""
    pts = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    return rounded(pts, [r, 0, 0, r, r])


def file_icon(band):
    c = Canvas(16, 16)
    c.fill([[page(2, 0, 14, 16, 4)]], GREY_LINE)
    c.fill([[page(3, 1, 13, 15, 3.6)]], WHITE)
    c.fill([[[(10, 0), (10, 4), (14, 4)]]], GREY_LINE)
    c.fill([[[(10.9, 1.8), (10.9, 3.1), (12.2, 3.1)]]], LIGHT)
    if band == "pic":
        c.fill([rrect(1, 7, 12, 14, 1)], rgb("#4aa3df"))
        c.fill([circle(9.2, 9.2, 1.2)], rgb("#ffd65a"))
        c.fill([[[(1.5, 14), (5, 9.6), (8.5, 14)]], [[(6, 14), (8.3, 11.4), (11.6, 14)]]], rgb("#2e8b57"))
        c.fill([rect(1, 13, 12, 14)], rgb("#2e8b57"))
    else:
        c.fill([rrect(1, 7, 12, 13, 1)], rgb(band))
        c.fill([rect(3, 9, 10, 11)], rgb("#ffffff", 0.7))
    c.fill([rect(5, 3, 9, 4), rect(5, 5, 11, 6)], rgb("#d4d4d8"))
    return c


def check():
    c = Canvas(20, 20)
    c.fill([circle(10, 10, 9.6)], rgb("#2eaa5c"))
    c.fill(stroke([(5.6, 10.2), (8.7, 13.2), (14.4, 7.2)], 2.2), WHITE)
    return c


def hint():
    c = Canvas(40, 40)
    c.fill([circle(20, 20, 19.5)], rgb("#3b8beb"))
    c.fill([circle(20, 11.8, 2.7)], WHITE)
    c.fill([rrect(17.6, 16.5, 22.4, 30.5, 1.6)], WHITE)
    return c


def warning():
    c = Canvas(16, 16)
    c.fill([circle(8, 8, 7.7)], RED)
    c.fill([rrect(7, 3.2, 9, 9.6, 1)], WHITE)
    c.fill([circle(8, 12, 1.15)], WHITE)
    return c


def question():
    c = Canvas(16, 16)
    c.fill([circle(8, 8, 7.7)], GREY)
    hook = arc(8, 6.2, 2.5, 2.5, range(190, 400, 15))
    c.fill(stroke(hook + [(8, 8.8), (8, 9.6)], 1.7), WHITE)
    c.fill([circle(8, 12, 1.1)], WHITE)
    return c


def user():
    c = Canvas(22, 22)
    body = arc(11, 22, 8.5, 9.5, range(180, 361, 6))
    c.fill([[rounded(body + [(19.5, 21), (2.5, 21)], [0] * len(body) + [1, 1])]], GREY)
    c.fill([circle(11, 7, 4.6)], GREY)
    return c


def center_button():
    w, h = 424, 286
    c = Canvas(w, h)
    border = rounded([(2, 2), (w - 2, 2), (w - 2, h - 2), (2, h - 2)], 13)
    c.fill([[border]], rgb("#fff7f8"))
    for line in dashes(border, 10, 7):
        c.fill(stroke(line, 2, cap="butt"), rgb("#fb4d63", 0.6))
    x0, y0, x1, y1, fold = 160, 66, 256, 192, 28
    c.fill([[page(x0, y0, x1, y1, fold, 6)]], RED)
    c.fill([[page(x0 + 4, y0 + 4, x1 - 4, y1 - 4, fold - 1.7, 3)]], WHITE)
    c.fill([[rounded([(x1 - fold, y0 + 1), (x1 - fold, y0 + fold), (x1 - 1, y0 + fold)], [0, 4, 0])]], RED)
    for i, length in enumerate((50, 64, 40)):
        c.fill([rrect(x0 + 18, y0 + 52 + i * 16, x0 + 18 + length, y0 + 58 + i * 16, 3)], RED_PALE)
    cx, cy = x1 + 2, y1 - 6
    c.fill([circle(cx, cy, 31)], rgb("#fff7f8"))
    c.fill([circle(cx, cy, 26)], RED)
    c.fill([rrect(cx - 13, cy - 3, cx + 13, cy + 3, 2), rrect(cx - 3, cy - 13, cx + 3, cy + 13, 2)], WHITE)
    return c


def capture_prompt():
    w, h = 254, 139
    c = Canvas(w, h)
    top, bottom = rgb("#ffe6ea"), rgb("#e9efff")
    c.fill([rrect(0, 0, w, h, 10)], lambda x, y: mix(top, bottom, (x / w + y / h) / 2))
    cx, cy = w / 2, h / 2
    fx0, fy0, fx1, fy1, arm = cx - 46, cy - 36, cx + 46, cy + 36, 16
    for sx, sy, ex, ey in ((fx0, fy0, 1, 1), (fx1, fy0, -1, 1), (fx1, fy1, -1, -1), (fx0, fy1, 1, -1)):
        c.fill(stroke([(sx + ex * arm, sy), (sx, sy), (sx, sy + ey * arm)], 4), rgb("#fb4d63", 0.85))
    # scissors: two blades crossing at a pivot, ring handles below
    px, py = cx, cy + 1
    for side, color in ((1, RED_DARK), (-1, RED)):
        tip, handle = (cx - side * 15, cy - 30), (cx + side * 9, cy + 14)
        dx, dy = tip[0] - handle[0], tip[1] - handle[1]
        length = math.hypot(dx, dy)
        nx, ny = -dy / length * side, dx / length * side
        blade = [(handle[0] + nx * 2.5, handle[1] + ny * 2.5), (px + nx * 4.5, py + ny * 4.5), tip,
                 (px - nx * 2, py - ny * 2), (handle[0] - nx * 2.5, handle[1] - ny * 2.5)]
        c.fill([[blade]], color)
        c.fill([ring(cx + side * 13, cy + 22, 7.5, 4)], color)
    c.fill([circle(px, py, 2.2)], WHITE)
    return c


def brand(w):
    """The mark alone at the left; the window draws its title beside it."""
    c = Canvas(w, 40)
    c.fill([rrect(13, 2, 36, 31, 3)], rgb("#fb4d63", 0.4))
    c.erase([rrect(2, 7, 30, 40, 4.5)])
    c.fill([[page(4, 9, 28, 38, 7, 3)]], RED)
    c.fill([[[(21, 9), (21, 16), (28, 16)]]], RED_PALE)
    c.erase(stroke([(0, 33), (40, 13)], 3, cap="butt"))
    return c


def app_icon(size):
    """Drawn on a 256 grid and scaled to size before rasterising."""
    s = size / 256
    c = Canvas(size, size)
    c.fill([scaled(rrect(8, 8, 248, 248, 54), s)], RED)
    x0, y0, x1, y1, fold = 64, 40, 192, 216, 40
    halves = split(page(x0, y0, x1, y1, fold, 12), (40, 160), (216, 100), 14)
    c.fill([scaled(h, s) for h in halves], WHITE)
    c.fill([scaled([rounded([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], [0, 8, 0])], s)],
           RED_PALE)
    return c


def caption(kind):
    c = Canvas(16, 16)
    if kind == "close":
        c.fill(stroke([(3.5, 3.5), (12.5, 12.5)], 1.5, cap="butt") + stroke([(12.5, 3.5), (3.5, 12.5)], 1.5, cap="butt"),
               DARK)
    elif kind == "min":
        c.fill([rect(3, 7.5, 13, 9)], DARK)
    elif kind == "max":
        c.fill([frame(3, 3, 13, 13, 1.5)], DARK)
    else:
        c.fill([frame(5.5, 2.5, 13.5, 10.5, 1.5)], DARK)
        c.erase([rect(2.5, 5.5, 10.5, 13.5)])
        c.fill([frame(2.5, 5.5, 10.5, 13.5, 1.5)], DARK)
    return c


IMAGES = {
    "16pdf": lambda: file_icon("#fb4d63"),
    "16word": lambda: file_icon("#2b579a"),
    "16xls": lambda: file_icon("#217346"),
    "16ppt": lambda: file_icon("#d24726"),
    "16txt": lambda: file_icon("#777777"),
    "16pic": lambda: file_icon("pic"),
    "check": check,
    "hint": hint,
    "warning": warning,
    "question": question,
    "user": user,
    "centerBtn": center_button,
    "capturePrompt_1": capture_prompt,
    "brand": lambda: brand(204),
    "brand_e": lambda: brand(300),
    "close": lambda: caption("close"),
    "min": lambda: caption("min"),
    "max": lambda: caption("max"),
    "restore": lambda: caption("restore"),
    "korvex": lambda: app_icon(256),
    "korvex-48": lambda: app_icon(48),
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in IMAGES.items():
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(draw().png())
    entries = "".join(f"    <file>KorvexRes/{name}.png</file>\n" for name in sorted(IMAGES))
    with open(os.path.join(RES, "korvex.qrc"), "w") as f:
        f.write(f'<!DOCTYPE RCC>\n<RCC version="1.0">\n  <qresource prefix="/">\n{entries}  </qresource>\n</RCC>\n')
    print(f"wrote {len(IMAGES)} images to {os.path.relpath(OUT, ROOT)}")


if __name__ == "__main__":
    main()
