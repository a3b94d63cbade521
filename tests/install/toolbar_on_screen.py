#!/usr/bin/env python3
"""Reads an X window dump (xwd, 24-bit TrueColor) on standard input and tells
how many of the 3D view's toolbar images it shows pixel for pixel; exits 0
when it shows all of them. The images are drawn again by the project's own
image script, so the check does not trust any installed file.

    xwd -root -silent | toolbar_on_screen.py RESOURCES_DIR
"""
import struct
import sys


def read_screen(data):
    """Returns (width, height, rgb bytes, 3 per pixel, rows top to bottom)."""
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
    masks = fields[14:17]
    if bits_per_pixel not in (24, 32) or masks != (0xFF0000, 0xFF00, 0xFF):
        sys.exit(f"unexpected screen format: {bits_per_pixel} bits, masks {masks}")
    start = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    # Bytes of red, green and blue within a pixel for the server's byte order.
    r, g, b = (2, 1, 0) if byte_order == 0 else (step - 3, step - 2, step - 1)
    rgb = bytearray(width * height * 3)
    for y in range(height):
        row = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        out = y * width * 3
        rgb[out:out + width * 3:3] = row[r::step]
        rgb[out + 1:out + width * 3:3] = row[g::step]
        rgb[out + 2:out + width * 3:3] = row[b::step]
    return width, height, bytes(rgb)


def shows(image, palette, clear, screen):
    """True when the image's opaque pixels appear somewhere on the screen."""
    width, height, rgb = screen
    opaque = [(x, y, bytes(palette[c])) for y, row in enumerate(image.pixels)
              for x, c in enumerate(row) if c != clear]
    # Look for the row run with the most colours first, then check the rest.
    best = None
    for y, row in enumerate(image.pixels):
        x = 0
        while x < len(row):
            if row[x] == clear:
                x += 1
                continue
            end = x
            while end < len(row) and row[end] != clear:
                end += 1
            key = (len(set(row[x:end])), end - x)
            if best is None or key > best[0]:
                best = (key, x, y, end)
            x = end
    _, run_x, run_y, run_end = best
    pattern = b"".join(bytes(palette[c]) for c in image.pixels[run_y][run_x:run_end])
    at = rgb.find(pattern)
    while at >= 0:
        if at % 3 == 0:
            ox, oy = (at // 3) % width - run_x, (at // 3) // width - run_y
            if 0 <= ox <= width - image.width and 0 <= oy <= height - image.height and all(
                    rgb[3 * ((oy + y) * width + ox + x):3 * ((oy + y) * width + ox + x) + 3] == colour
                    for x, y, colour in opaque):
                return True
        at = rgb.find(pattern, at + 1)
    return False


def main():
    sys.path.insert(0, sys.argv[1])
    import make_images
    screen = read_screen(sys.stdin.buffer.read())
    shown = sum(shows(image, make_images.PALETTE, make_images.CLEAR, screen)
                for image in make_images.TOOLBAR_3D)
    print(f"{shown} of the {len(make_images.TOOLBAR_3D)} toolbar images of the 3D view on the screen")
    sys.exit(0 if shown == len(make_images.TOOLBAR_3D) else 1)

if __name__ == "__main__":
    main()
