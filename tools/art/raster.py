"""A tiny RGBA canvas with anti-aliased shape filling, and BMP / PNG encoders.

Shapes are signed distance functions: negative inside, positive outside, in pixels. Filling
one covers each pixel by how far its centre lies inside the edge, which gives smooth edges
without supersampling and keeps the generator fast enough to run on every change.
"""

import math
import struct
import zlib


def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def mix(a, b, t):
    """Blends two colours; t = 0 gives a, t = 1 gives b."""
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def shade(colour, amount):
    """Lightens (amount > 0) or darkens (amount < 0) a colour, amount in -1 .. 1."""
    target = (255, 255, 255) if amount > 0 else (0, 0, 0)
    return mix(colour, target, abs(amount))


def noise(x, y, seed=0):
    """A repeatable value in [0, 1) for one pixel: white noise that never depends on libm."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return h / 4294967296.0


# Signed distance functions. Each returns a function of a point (px, py).


def circle(cx, cy, r):
    return lambda px, py: math.hypot(px - cx, py - cy) - r


def ellipse(cx, cy, rx, ry):
    # Not exact away from the edge, but exact enough at it for anti-aliasing.
    k = min(rx, ry)
    return lambda px, py: (math.hypot((px - cx) / rx, (py - cy) / ry) - 1.0) * k


def box(x0, y0, x1, y1, radius=0.0):
    """An axis-aligned rectangle from (x0, y0) to (x1, y1), corners rounded by radius."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(px, py):
        qx, qy = abs(px - cx) - hw, abs(py - cy) - hh
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return sdf


def segment(ax, ay, bx, by, r):
    """A bar of half-width r from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def sdf(px, py):
        t = clamp(((px - ax) * dx + (py - ay) * dy) / length2)
        return math.hypot(px - ax - dx * t, py - ay - dy * t) - r

    return sdf


def polygon(points):
    """Any simple polygon, given as a list of (x, y) corners."""
    n = len(points)

    def sdf(px, py):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[i - 1]
            ex, ey = bx - ax, by - ay
            wx, wy = px - ax, py - ay
            t = clamp((wx * ex + wy * ey) / ((ex * ex + ey * ey) or 1e-9))
            best = min(best, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > py) != (by > py) and px < ax + (py - ay) * ex / ey:
                inside = not inside
        return -best if inside else best

    return sdf


def union(*shapes):
    return lambda px, py: min(s(px, py) for s in shapes)


def outline(shape, half_width):
    """The ring of the given half-width along a shape's edge."""
    return lambda px, py: abs(shape(px, py)) - half_width


class Canvas:
    """Straight-alpha RGBA pixels as floats, row by row from the top."""

    def __init__(self, width, height, colour=(0, 0, 0), alpha=0.0):
        self.width, self.height = width, height
        self.rgb = [[tuple(float(c) for c in colour)] * width for _ in range(height)]
        self.alpha = [[alpha] * width for _ in range(height)]

    def paint(self, texture):
        """Sets every pixel opaque from texture(x, y) -> colour."""
        for y in range(self.height):
            self.rgb[y] = [tuple(float(c) for c in texture(x, y)) for x in range(self.width)]
            self.alpha[y] = [1.0] * self.width

    def put(self, x, y, colour, alpha=1.0):
        """Composites one colour over one pixel."""
        if not (0 <= x < self.width and 0 <= y < self.height) or alpha <= 0.0:
            return
        below_a = self.alpha[y][x]
        out_a = alpha + below_a * (1.0 - alpha)
        below = self.rgb[y][x]
        keep = below_a * (1.0 - alpha)
        self.rgb[y][x] = tuple((c * alpha + b * keep) / out_a for c, b in zip(colour, below))
        self.alpha[y][x] = out_a

    def fill(self, shape, colour, alpha=1.0, bounds=None):
        """Fills a signed distance shape. colour is a colour or a texture(x, y) -> colour.

        bounds (x0, y0, x1, y1) limits the pixels visited; it must contain the whole shape.
        """
        x0, y0, x1, y1 = bounds or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1)
        x1, y1 = min(self.width, int(math.ceil(x1)) + 1), min(self.height, int(math.ceil(y1)) + 1)
        textured = callable(colour)
        for y in range(y0, y1):
            for x in range(x0, x1):
                cover = clamp(0.5 - shape(x + 0.5, y + 0.5))
                if cover > 0.0:
                    self.put(x, y, colour(x, y) if textured else colour, alpha * cover)

    def pixel(self, x, y):
        """The pixel as 8-bit (r, g, b, a)."""
        r, g, b = (int(round(clamp(c, 0.0, 255.0))) for c in self.rgb[y][x])
        return r, g, b, int(round(clamp(self.alpha[y][x]) * 255))


def encode_bmp(canvas):
    """An uncompressed 24-bit Windows bitmap, rows bottom-up, each padded to 4 bytes."""
    row_size = (canvas.width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b, _ = canvas.pixel(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(row_size - len(row))
    info = struct.pack(
        "<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0
    )
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)


def encode_png(canvas):
    """An 8-bit RGBA PNG without filtering; zlib keeps it small enough for icons."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for y in range(canvas.height):
        raw.append(0)
        for x in range(canvas.width):
            raw += bytes(canvas.pixel(x, y))
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        + chunk(b"IEND", b"")
    )
