#!/usr/bin/env python3
"""Draws the installer's pictures as PNG files (standard library only).

  icon.png     program icon, 32 x 32
  header.png   picture of the header of the system and progress pages
  welcome.png  side picture of the welcome page

The PNG files are kept in the repository; run this only to change them.
"""
import os
import struct
import zlib


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.w, self.h = width, height
        self.px = [list(fill) for _ in range(width * height)]

    def put(self, x, y, rgba):
        if 0 <= x < self.w and 0 <= y < self.h:
            r, g, b, a = rgba
            dst = self.px[y * self.w + x]
            alpha = a / 255.0
            for i, c in enumerate((r, g, b)):
                dst[i] = round(c * alpha + dst[i] * (1 - alpha))
            dst[3] = max(dst[3], a)

    def rect(self, x0, y0, x1, y1, rgba):
        for y in range(int(y0), int(y1)):
            for x in range(int(x0), int(x1)):
                self.put(x, y, rgba)

    def frame(self, x0, y0, x1, y1, fill, line, width):
        self.rect(x0, y0, x1, y1, line)
        self.rect(x0 + width, y0 + width, x1 - width, y1 - width, fill)

    def circle(self, cx, cy, r, rgba):
        for y in range(int(cy - r), int(cy + r) + 1):
            for x in range(int(cx - r), int(cx + r) + 1):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, rgba)

    def gradient(self, top, bottom):
        for y in range(self.h):
            t = y / max(1, self.h - 1)
            c = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)) + (255,)
            for x in range(self.w):
                self.px[y * self.w + x] = list(c)

    def save(self, path):
        raw = b"".join(b"\0" + bytes(v for p in self.px[y * self.w:(y + 1) * self.w] for v in p)
                       for y in range(self.h))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
               + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
        with open(path, "wb") as f:
            f.write(png)


BODY = (216, 221, 230, 255)
LINE = (74, 85, 104, 255)
SLOT = (45, 55, 72, 255)
PAPER = (255, 255, 255, 255)
PRINT = (113, 128, 150, 255)
LAMP = (56, 161, 105, 255)


def printer(c, ox, oy, s):
    """A receipt printer seen from the front, in a square of side s."""
    u = s / 32.0
    c.frame(ox + 3 * u, oy + 12 * u, ox + 29 * u, oy + 28 * u, BODY, LINE, max(1, round(u)))
    c.rect(ox + 8 * u, oy + 14 * u, ox + 24 * u, oy + 16 * u, SLOT)
    c.frame(ox + 10 * u, oy + 2 * u, ox + 22 * u, oy + 15 * u, PAPER, LINE, max(1, round(u * 0.7)))
    for row, length in ((5, 8), (8, 6), (11, 7)):
        c.rect(ox + 12 * u, oy + row * u, ox + (12 + length) * u, oy + row * u + max(1, u * 0.8), PRINT)
    c.circle(ox + 24 * u, oy + 23 * u, 1.6 * u, LAMP)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    icon = Canvas(32, 32)
    printer(icon, 0, 0, 32)
    icon.save(os.path.join(here, "icon.png"))

    header = Canvas(48, 48)
    printer(header, 0, 0, 48)
    header.save(os.path.join(here, "header.png"))

    welcome = Canvas(192, 252)
    welcome.gradient((43, 108, 176), (144, 205, 244))
    printer(welcome, 32, 78, 128)
    welcome.save(os.path.join(here, "welcome.png"))


if __name__ == "__main__":
    main()
