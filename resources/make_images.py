#!/usr/bin/env python3
"""Draws the program's images and writes them as PNG files beside this script.

The tab images (20 x 20) and the toolbar strips (16 x 15 per image) are
16-colour palette images whose last-but-one free entry is transparent, so the
buttons show the toolbar's own face; the icon is a 48 x 48 RGBA image drawn
with 4 x 4 supersampling, also written at the desktop's icon sizes and as a
scalable drawing under icons/. Only the standard library is used:

    python3 resources/make_images.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16-colour palette; entry CLEAR is fully transparent.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (255, 255, 255),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, CLEAR, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_palette_png(path, pixels):
    """pixels: rows of palette indices (0..15); written with 4 bits a pixel."""
    height, width = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            raw.append((hi << 4) | lo)
    header = struct.pack(">IIBBBBB", width, height, 4, 3, 0, 0, 0)
    plte = b"".join(struct.pack("BBB", *c) for c in PALETTE)
    alpha = bytes(0 if i == CLEAR else 255 for i in range(CLEAR + 1))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(png_chunk(b"IHDR", header))
        f.write(png_chunk(b"PLTE", plte))
        f.write(png_chunk(b"tRNS", alpha))
        f.write(png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(png_chunk(b"IEND", b""))


def write_rgba_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(png_chunk(b"IHDR", header))
        f.write(png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(png_chunk(b"IEND", b""))


class Canvas:
    """A palette image; shapes are tested at pixel centres."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[CLEAR] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def each(self):
        for y in range(self.height):
            for x in range(self.width):
                yield x, y, x + 0.5, y + 0.5

    def disc(self, cx, cy, r, fill, rim=None):
        for x, y, px, py in self.each():
            d = math.hypot(px - cx, py - cy)
            if d <= r:
                self.set(x, y, rim if rim is not None and d > r - 1.0 else fill)

    def ring(self, cx, cy, r, colour, width=1.0):
        for x, y, px, py in self.each():
            if abs(math.hypot(px - cx, py - cy) - r) <= width / 2:
                self.set(x, y, colour)

    def ellipse(self, cx, cy, rx, ry, colour, width=1.0):
        for x, y, px, py in self.each():
            # Distance to the ellipse, approximated through the gradient.
            fx, fy = (px - cx) / rx, (py - cy) / ry
            f = math.hypot(fx, fy)
            g = math.hypot(2 * fx / rx, 2 * fy / ry) or 1.0
            if abs(f * f - 1) / g <= width / 2:
                self.set(x, y, colour)

    def rect(self, x0, y0, x1, y1, fill, rim=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                self.set(x, y, rim if rim is not None and edge else fill)

    def line(self, x0, y0, x1, y1, colour, width=1.0):
        for x, y, px, py in self.each():
            dx, dy = x1 - x0, y1 - y0
            length2 = dx * dx + dy * dy or 1.0
            t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length2))
            if math.hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width / 2:
                self.set(x, y, colour)

    def polygon(self, points, fill, rim=None):
        def inside(px, py):
            result = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
                    result = not result
            return result

        for x, y, px, py in self.each():
            if inside(px, py):
                self.set(x, y, fill)
        if rim is not None:
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                self.line(ax, ay, bx, by, rim)

    def ball(self, cx, cy, r, fill, rim, shine=WHITE):
        """A lit sphere: rim, body and a highlight up and to the left."""
        self.disc(cx, cy, r, fill, rim)
        self.disc(cx - r * 0.35, cy - r * 0.35, max(0.8, r * 0.28), shine)

    def paste(self, other, at_x):
        for y in range(other.height):
            for x in range(other.width):
                if other.pixels[y][x] != CLEAR:
                    self.set(at_x + x, y, other.pixels[y][x])


# ------------------------------------------------------------ toolbar images
W, H = 16, 15
CX, CY = 7.5, 7.5


def img():
    return Canvas(W, H)


def stop():
    c = img()
    c.rect(3, 3, 12, 12, RED, MAROON)
    return c


def run():
    c = img()
    c.polygon([(4.0, 2.0), (13.5, 7.5), (4.0, 13.0)], LIME, GREEN)
    return c


def show_cm():
    c = img()
    c.ring(CX, CY, 5.0, NAVY)
    c.line(CX, 0.5, CX, 14.5, NAVY)
    c.line(0.5, CY, 15.5, CY, NAVY)
    c.disc(CX, CY, 1.8, RED)
    return c


def fixed_frame():
    c = img()
    c.line(3.5, 12.5, 3.5, 1.5, BLACK)   # y axis
    c.line(3.5, 12.5, 14.5, 12.5, BLACK)  # x axis
    c.polygon([(3.5, 0.5), (1.0, 4.0), (6.0, 4.0)], BLACK)
    c.polygon([(15.5, 12.5), (12.0, 10.0), (12.0, 15.0)], BLACK)
    c.ball(10.0, 6.0, 2.6, BLUE, NAVY)
    return c


def cm_frame():
    c = img()
    c.ball(3.5, 7.5, 2.8, BLUE, NAVY)
    c.ball(12.5, 7.5, 2.3, YELLOW, GRAY)
    c.line(8.0, 4.0, 8.0, 11.0, RED)
    c.line(4.5, 7.5, 11.5, 7.5, RED)
    return c


def rotating_frame():
    c = img()
    for x, y, px, py in c.each():
        d = math.hypot(px - CX, py - CY)
        angle = math.degrees(math.atan2(py - CY, px - CX)) % 360
        if abs(d - 5.5) <= 0.75 and not (300 <= angle <= 350):
            c.set(x, y, NAVY)
    c.polygon([(11.0, 1.5), (15.5, 5.5), (10.0, 6.5)], NAVY)
    c.disc(CX, CY, 1.8, RED)
    return c


def moving_frame():
    c = img()
    for y0 in (4.5, 7.5, 10.5):
        c.line(0.5, y0, 6.0, y0, GRAY)
    c.ball(10.5, 7.5, 4.0, BLUE, NAVY)
    return c


def orbit_frame():
    c = img()
    c.ellipse(CX, CY, 7.0, 4.5, NAVY)
    c.ball(CX, CY, 2.5, YELLOW, RED)
    c.ball(13.5, 9.5, 1.8, BLUE, NAVY)
    return c


def sign(plus):
    c = img()
    c.ring(CX, CY, 6.5, NAVY)
    c.line(4.0, CY, 11.0, CY, BLUE, 2.0)
    if plus:
        c.line(CX, 4.0, CX, 11.0, BLUE, 2.0)
    return c


def unassisted():
    c = img()
    c.ball(11.0, 10.0, 3.5, RED, MAROON)
    c.polygon([(1.0, 1.0), (1.0, 11.0), (3.5, 8.5), (5.5, 12.5), (7.0, 11.7), (5.0, 7.8),
               (8.5, 7.8)], WHITE, BLACK)
    return c


def circle():
    c = img()
    c.ring(CX, CY, 5.5, NAVY)
    c.ball(CX, CY, 2.2, YELLOW, RED)
    c.ball(CX + 3.9, CY - 3.9, 1.6, BLUE, NAVY)
    return c


def circles():
    c = img()
    c.ring(CX, CY, 3.6, NAVY)
    c.ring(CX, CY, 6.6, NAVY)
    c.ball(CX, CY, 1.8, YELLOW, RED)
    return c


def binary():
    c = img()
    c.ellipse(CX, CY, 6.0, 4.0, GRAY)
    c.ball(CX - 5.0, CY + 2.0, 2.5, YELLOW, RED)
    c.ball(CX + 5.0, CY - 2.0, 2.5, BLUE, NAVY)
    return c


def ring():
    c = img()
    for k in range(8):
        a = k * math.pi / 4
        c.disc(CX + 5.6 * math.cos(a), CY + 5.6 * math.sin(a), 1.3, BLUE)
    c.ball(CX, CY, 2.2, YELLOW, RED)
    return c


def size(r):
    c = img()
    if r < 1.5:
        c.disc(CX, CY, r, NAVY)
    else:
        c.ball(CX, CY, r, BLUE, NAVY)
    return c


def colour_ball(fill, rim):
    c = img()
    c.ball(CX, CY, 5.8, fill, rim)
    return c


def reflective():
    c = img()
    c.disc(CX, CY, 6.5, GRAY, BLACK)
    c.disc(CX - 0.8, CY - 0.8, 4.6, SILVER)
    c.disc(CX - 1.8, CY - 1.8, 2.4, WHITE)
    return c


def glowing():
    c = img()
    for k in range(8):
        a = k * math.pi / 4 + math.pi / 8
        c.line(CX + 4.6 * math.cos(a), CY + 4.6 * math.sin(a),
               CX + 7.2 * math.cos(a), CY + 7.2 * math.sin(a), RED)
    c.disc(CX, CY, 4.2, YELLOW, RED)
    c.disc(CX - 1.2, CY - 1.2, 1.4, WHITE)
    return c


def strip(images):
    result = Canvas(W * len(images), H)
    for i, image in enumerate(images):
        result.paste(image, i * W)
    return result


# The 3D view's buttons in image order: Stop, Run, Show CM, the five frames,
# Decrease and Increase timestep.
TOOLBAR_3D = [stop(), run(), show_cm(), fixed_frame(), cm_frame(), rotating_frame(),
              moving_frame(), orbit_frame(), sign(False), sign(True)]

# The interactive view's buttons in image order: Stop, Run, the five
# placement modes, the five sizes, the seven colours, the two materials.
TOOLBAR_INTERACTIVE = [
    stop(), run(), unassisted(), circle(), circles(), binary(), ring(),
    size(7.0), size(5.5), size(4.0), size(2.6), size(1.2),
    colour_ball(RED, MAROON), colour_ball(LIME, GREEN), colour_ball(BLUE, NAVY),
    colour_ball(FUCHSIA, PURPLE), colour_ball(YELLOW, GRAY), colour_ball(AQUA, TEAL),
    colour_ball(WHITE, GRAY), reflective(), glowing(),
]


# ---------------------------------------------------------------- tab images
def tab_stopwatch():
    c = Canvas(20, 20)
    c.rect(8, 0, 11, 2, GRAY, BLACK)
    c.disc(10.0, 11.0, 8.5, WHITE, BLACK)
    for k in range(12):
        a = k * math.pi / 6
        c.set(int(10.0 + 6.5 * math.cos(a)), int(11.0 + 6.5 * math.sin(a)), GRAY)
    c.line(10.0, 11.0, 10.0, 5.0, NAVY, 1.2)
    c.line(10.0, 11.0, 14.0, 13.0, RED, 1.2)
    c.disc(10.0, 11.0, 1.2, BLACK)
    return c


def tab_camera():
    c = Canvas(20, 20)
    c.rect(6, 3, 11, 6, GRAY, BLACK)
    c.rect(1, 5, 18, 16, GRAY, BLACK)
    c.disc(10.0, 11.0, 4.6, BLACK)
    c.disc(10.0, 11.0, 3.4, NAVY)
    c.disc(10.0, 11.0, 2.0, BLUE)
    c.disc(9.0, 10.0, 0.9, AQUA)
    c.rect(14, 7, 16, 8, YELLOW)
    return c


def tab_sphere():
    c = Canvas(20, 20)
    c.disc(10.0, 10.0, 9.0, NAVY, BLACK)
    c.disc(8.8, 8.8, 7.0, BLUE)
    c.disc(7.6, 7.6, 4.0, AQUA)
    c.disc(6.8, 6.8, 1.8, WHITE)
    return c


# ---------------------------------------------------------------------- icon
def icon_rgba(size=48, samples=4):
    s = size / 48.0

    def over(dst, src, a):
        return tuple(d * (1 - a) + c * a for d, c in zip(dst, src))

    def colour_at(x, y):
        # Rounded dark square of night sky.
        r = 9 * s
        qx = max(abs(x - 24 * s) - (24 * s - r), 0)
        qy = max(abs(y - 24 * s) - (24 * s - r), 0)
        if math.hypot(qx, qy) > r:
            return (0, 0, 0, 0)
        rgb = (14, 20, 64)
        # The orbit, tilted a little.
        a = math.radians(-20)
        ox, oy = x - 24 * s, y - 25 * s
        ex = ox * math.cos(a) - oy * math.sin(a)
        ey = ox * math.sin(a) + oy * math.cos(a)
        f = math.hypot(ex / (19 * s), ey / (9 * s))
        if abs(f - 1) < 0.07:
            rgb = over(rgb, (150, 190, 255), 0.85)
        # The star with its glow.
        d = math.hypot(x - 24 * s, y - 25 * s)
        glow = max(0.0, 1 - d / (13 * s))
        rgb = over(rgb, (255, 200, 60), glow * glow * 0.9)
        if d < 6.5 * s:
            rgb = over((255, 170, 30), (255, 250, 200), max(0.0, 1 - d / (6.5 * s)))
        # The planet on its orbit, lit from the star.
        t = math.radians(-50)
        ex, ey = 19 * s * math.cos(t), 9 * s * math.sin(t)
        px = 24 * s + ex * math.cos(a) + ey * math.sin(a)
        py = 25 * s - ex * math.sin(a) + ey * math.cos(a)
        dp = math.hypot(x - px, y - py)
        if dp < 4.2 * s:
            lit = max(0.0, ((24 * s - px) * (x - px) + (25 * s - py) * (y - py)) /
                      (math.hypot(24 * s - px, 25 * s - py) * 4.2 * s))
            rgb = over((30, 70, 170), (130, 200, 255), min(1.0, 0.3 + lit))
        return tuple(int(round(v)) for v in rgb) + (255,)

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for j in range(samples):
                for i in range(samples):
                    r, g, b, alpha = colour_at(x + (i + 0.5) / samples, y + (j + 0.5) / samples)
                    acc[0] += r * alpha
                    acc[1] += g * alpha
                    acc[2] += b * alpha
                    acc[3] += alpha
            n = samples * samples
            alpha = acc[3] / n
            if acc[3] > 0:
                row.append(tuple(int(round(acc[k] / acc[3])) for k in range(3)) + (int(round(alpha)),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_svg():
    """The icon as a scalable drawing of the same sky, orbit, star and planet."""
    a = math.radians(-20)
    t = math.radians(-50)
    ex, ey = 19 * math.cos(t), 9 * math.sin(t)
    px = 24 + ex * math.cos(a) + ey * math.sin(a)
    py = 25 - ex * math.sin(a) + ey * math.cos(a)
    # The planet is lit on the side facing the star.
    d = math.hypot(24 - px, 25 - py)
    ux, uy = (24 - px) / d, (25 - py) / d
    x1, y1, x2, y2 = px - 4.2 * ux, py - 4.2 * uy, px + 4.2 * ux, py + 4.2 * uy
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <defs>
    <radialGradient id="glow" cx="24" cy="25" r="13" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#ffc83c" stop-opacity="0.9"/>
      <stop offset="0.25" stop-color="#ffc83c" stop-opacity="0.51"/>
      <stop offset="0.5" stop-color="#ffc83c" stop-opacity="0.23"/>
      <stop offset="0.75" stop-color="#ffc83c" stop-opacity="0.06"/>
      <stop offset="1" stop-color="#ffc83c" stop-opacity="0"/>
    </radialGradient>
    <radialGradient id="star" cx="24" cy="25" r="6.5" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#fffac8"/>
      <stop offset="1" stop-color="#ffaa1e"/>
    </radialGradient>
    <linearGradient id="planet" x1="{x1:.3f}" y1="{y1:.3f}" x2="{x2:.3f}" y2="{y2:.3f}" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#3c6dc4"/>
      <stop offset="0.5" stop-color="#3c6dc4"/>
      <stop offset="1" stop-color="#82c8ff"/>
    </linearGradient>
  </defs>
  <rect width="48" height="48" rx="9" fill="#0e1440"/>
  <ellipse cx="24" cy="25" rx="19" ry="9" transform="rotate(20 24 25)" fill="none"
           stroke="#96beff" stroke-opacity="0.85" stroke-width="1.8"/>
  <circle cx="24" cy="25" r="13" fill="url(#glow)"/>
  <circle cx="24" cy="25" r="6.5" fill="url(#star)"/>
  <circle cx="{px:.3f}" cy="{py:.3f}" r="4.2" fill="url(#planet)"/>
</svg>
"""


# The sizes of the desktop's icon theme, written to icons/ beside the program's own icon.
ICON_SIZES = (16, 32, 48, 64, 128, 256)


def main():
    write_palette_png(os.path.join(HERE, "toolbar3d.png"), strip(TOOLBAR_3D).pixels)
    write_palette_png(os.path.join(HERE, "toolbar_interactive.png"), strip(TOOLBAR_INTERACTIVE).pixels)
    write_palette_png(os.path.join(HERE, "tab_stelo.png"), tab_stopwatch().pixels)
    write_palette_png(os.path.join(HERE, "tab_viewing.png"), tab_camera().pixels)
    write_palette_png(os.path.join(HERE, "tab_rendering.png"), tab_sphere().pixels)
    write_rgba_png(os.path.join(HERE, "stelo.png"), icon_rgba())
    icons = os.path.join(HERE, "icons")
    os.makedirs(icons, exist_ok=True)
    for size in ICON_SIZES:
        write_rgba_png(os.path.join(icons, f"stelo-{size}.png"), icon_rgba(size))
    with open(os.path.join(icons, "stelo.svg"), "w") as f:
        f.write(icon_svg())


if __name__ == "__main__":
    main()
