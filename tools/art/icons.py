"""The application icon (a red lattice cube) and the two button pictures."""

import math

from .raster import Canvas, box, circle, mix, outline, polygon, segment, shade

ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)

# Bars are lit by their direction, so each face of the cube reads as a plane.
BAR_COLOURS = {0: (226, 38, 34), 1: (184, 22, 24), 2: (246, 84, 70)}
BAR_EDGE = (84, 0, 4)


def lattice_bars(cells):
    """Every bar of a cube cut into cells x cells x cells, as (start, end, axis) in 0 .. 1.

    Bars run the whole edge length, so a joint shows one bar passing over another rather than
    a seam at every node.
    """
    steps = [i / cells for i in range(cells + 1)]
    bars = []
    for axis in range(3):
        for u in steps:
            for v in steps:
                start, end = [u, v], [u, v]
                start.insert(axis, 0.0)
                end.insert(axis, 1.0)
                bars.append((tuple(start), tuple(end), axis))
    return bars


def app_icon(size):
    """An isometric cube of red bars. Small sizes keep only the twelve edges so they stay crisp."""
    cells = 1 if size < 64 else 2
    canvas = Canvas(size, size)
    half_width = max(0.75, size * (0.05 if cells == 1 else 0.03))
    rim = 0.0 if size < 32 else max(0.6, size * 0.008)
    edge = (size - 2 * (half_width + rim) - 1) / 2  # the cube spans 2 * edge from top to bottom
    cx, cy = size / 2, size / 2 - edge

    def project(point):
        x, y, z = point
        return (cx + (x - y) * edge * math.cos(math.pi / 6), cy + (x + y + 2 - 2 * z) * edge / 2)

    # The viewer looks along (-1, -1, -1): bars with a larger x + y + z are nearer.
    bars = sorted(lattice_bars(cells), key=lambda bar: sum(bar[0]) + sum(bar[1]))
    for start, end, axis in bars:
        (ax, ay), (bx, by) = project(start), project(end)
        nearness = (sum(start) + sum(end) - 1) / 4
        colour = shade(BAR_COLOURS[axis], -0.5 * (1 - nearness))
        reach = half_width + rim + 1
        bounds = (
            min(ax, bx) - reach,
            min(ay, by) - reach,
            max(ax, bx) + reach,
            max(ay, by) + reach,
        )
        if rim:
            canvas.fill(segment(ax, ay, bx, by, half_width + rim), BAR_EDGE, bounds=bounds)
        canvas.fill(segment(ax, ay, bx, by, half_width), colour, bounds=bounds)
        # A thin highlight along the bar gives it some roundness at the larger sizes.
        if size >= 48:
            lift = half_width * 0.35
            shine = segment(ax - lift, ay - lift, bx - lift, by - lift, half_width * 0.28)
            canvas.fill(shine, shade(colour, 0.4), 0.55, bounds=bounds)
    return canvas


def car():
    """A small green car seen from above, driving up the screen."""
    canvas = Canvas(24, 24)
    tyre = (28, 28, 30)
    for x0 in (4, 16.5):
        for y0 in (5, 15):
            canvas.fill(box(x0, y0, x0 + 3.5, y0 + 5, 1.2), tyre)
    body = box(6, 1.5, 18, 22.5, 4)
    canvas.fill(body, (34, 168, 64))
    canvas.fill(outline(body, 0.6), (14, 86, 34))
    glass = (44, 64, 84)
    canvas.fill(polygon([(7.5, 7.5), (16.5, 7.5), (15.5, 10.5), (8.5, 10.5)]), glass)
    canvas.fill(polygon([(8.5, 16.5), (15.5, 16.5), (16, 19), (8, 19)]), glass)
    canvas.fill(box(8.5, 11, 15.5, 16, 1), (64, 196, 92))
    for x in (8.2, 15.8):
        canvas.fill(circle(x, 3.2, 1.2), (255, 236, 120))
    return canvas


def folder_search():
    """A yellow folder with a magnifying glass over its lower right corner."""
    canvas = Canvas(16, 16)
    dark = (164, 112, 16)
    canvas.fill(box(0.5, 2, 7, 5, 1), dark)
    canvas.fill(box(1, 2.5, 6.5, 5, 0.8), (232, 176, 40))
    folder = box(0.5, 4, 15, 14, 1)
    canvas.fill(folder, (250, 206, 64))
    canvas.fill(box(1, 6.5, 14.5, 13.5, 0.8), (255, 224, 110))
    canvas.fill(outline(folder, 0.5), dark)
    canvas.fill(segment(12.3, 12.3, 14.8, 14.8, 1.2), (48, 48, 54))
    canvas.fill(circle(10, 10, 3.4), mix((196, 228, 255), (255, 255, 255), 0.3), 0.9)
    canvas.fill(outline(circle(10, 10, 3.4), 0.75), (56, 60, 72))
    canvas.fill(circle(9, 9, 1), (255, 255, 255), 0.8)
    return canvas


def pictures():
    """Path below src/app/resources -> canvas."""
    result = {f"icons/hollenby-level-editor-{n}.png": app_icon(n) for n in ICON_SIZES}
    result["car.png"] = car()
    result["folder-search.png"] = folder_search()
    return result
