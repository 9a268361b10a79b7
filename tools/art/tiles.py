"""The 40 x 40 tile bitmaps of the sample tile set.

Textures are functions of the pixel's place in the tile, and every wave period divides 40, so
any two tiles that share a texture along an edge meet without a seam (a shore's water side
continues the deep-water tile next to it, its land side the grass tile).
"""

import math

from .raster import (
    Canvas,
    box,
    circle,
    clamp,
    ellipse,
    mix,
    noise,
    outline,
    polygon,
    segment,
    shade,
    union,
)

SIZE = 40
TAU = 2 * math.pi

GRASS = (78, 148, 58)
FOREST_FLOOR = (38, 84, 36)
SAND = (222, 202, 142)
DEEP = (28, 62, 142)
SHALLOW = (64, 172, 190)
ASPHALT = (72, 72, 78)
WOOD = (164, 112, 62)
STONE = (152, 152, 158)
BRICK = (168, 62, 46)
DIRT = (122, 88, 54)
SIGN_YELLOW = (250, 204, 24)
INK = (24, 24, 24)


def jitter(colour, x, y, seed, amount):
    """Colour varied per pixel by up to +/- amount in brightness."""
    return shade(colour, (noise(x, y, seed) - 0.5) * 2 * amount)


def grass(x, y):
    n = noise(x, y, 11)
    if n < 0.06:
        return shade(GRASS, -0.28)
    if n > 0.97:
        return shade(GRASS, 0.3)
    return jitter(GRASS, x, y, 12, 0.08)


def sand(x, y):
    ripple = math.sin(TAU * (x / 40 + 3 * y / 40)) * 0.05
    if noise(x, y, 21) < 0.05:
        return shade(SAND, -0.2)
    return jitter(shade(SAND, ripple), x, y, 22, 0.05)


def deep_water(x, y):
    """Dark water with broken, wavy crest lines."""
    crest = math.sin(TAU * (y / 10 + 0.25 * math.sin(TAU * x / 20)))
    gate = math.sin(TAU * (x / 40 + y / 20)) + math.sin(TAU * (3 * x / 40 - y / 40))
    if crest > 0.9 and gate > -0.3:
        return shade(DEEP, 0.32)
    swell = math.sin(TAU * (2 * x / 40 + y / 40)) * 0.06
    return jitter(shade(DEEP, swell), x, y, 31, 0.04)


def shallow_water(x, y):
    """Clear water over sand: bright rippling caustics and a few pebbles on the bottom."""
    light = (
        math.sin(TAU * (2 * x / 40 + y / 40))
        + math.sin(TAU * (3 * y / 40 - x / 40))
        + math.sin(TAU * (3 * x / 40 + 2 * y / 40))
    )
    if abs(light - 0.6) < 0.3:
        return shade(SHALLOW, 0.4)
    if noise(x, y, 41) < 0.04:
        return mix(SHALLOW, SAND, 0.45)
    return jitter(shade(SHALLOW, light * 0.03), x, y, 42, 0.04)


def asphalt(x, y):
    return jitter(ASPHALT, x, y, 51, 0.07)


def dirt(x, y):
    if noise(x, y, 61) < 0.05:
        return shade(DIRT, 0.25)
    return jitter(DIRT, x, y, 62, 0.08)


def tile(texture):
    canvas = Canvas(SIZE, SIZE)
    canvas.paint(texture)
    return canvas


def forest():
    """Round crowns, each lit from the top left, with a shadow below and to the right."""
    canvas = tile(lambda x, y: jitter(FOREST_FLOOR, x, y, 72, 0.1))
    crowns = [(9, 9, 8), (29, 7, 7), (20, 21, 9), (7, 31, 7), (31, 31, 8)]
    for cx, cy, r in crowns:
        canvas.fill(circle(cx + 2, cy + 2, r), (16, 40, 18), 0.6)
    for cx, cy, r in crowns:
        canvas.fill(circle(cx, cy, r), lambda x, y: jitter((40, 112, 44), x, y, 71, 0.12))
        canvas.fill(circle(cx - r * 0.3, cy - r * 0.3, r * 0.45), (92, 168, 76), 0.7)
    return canvas


def shore(water_side):
    """Grass, a sand beach, a foam line and water that deepens away from the land.

    water_side is "east", "west", "north" or "south": the side where the water lies.
    """

    def texture(x, y):
        # across: distance from the land edge towards the water; along: position on the coast.
        across, along = {
            "east": (x, y),
            "west": (SIZE - 1 - x, y),
            "south": (y, x),
            "north": (SIZE - 1 - y, x),
        }[water_side]
        coast = 19 + 2.5 * math.sin(TAU * 2 * along / 40)
        if across < coast - 7:
            return grass(x, y)
        if across < coast:
            return sand(x, y)
        if across < coast + 1.5:
            return jitter((236, 246, 250), x, y, 81, 0.05)
        depth = clamp((across - coast) / (SIZE - 1 - coast))
        return mix(shallow_water(x, y), deep_water(x, y), depth**0.7)

    return tile(texture)


def road(direction):
    """Asphalt with white edge lines and a dashed yellow centre line."""

    def texture(x, y):
        across, along = (x, y) if direction == "north-south" else (y, x)
        if across in (3, 4, 35, 36):
            return jitter((232, 232, 226), x, y, 91, 0.04)
        if across in (19, 20) and (along + 5) % 20 < 10:
            return jitter((238, 196, 40), x, y, 92, 0.04)
        return asphalt(x, y)

    return tile(texture)


def crossroads():
    """The edge lines of all four roads stop at the corners; a yellow box marks the middle."""

    def texture(x, y):
        near_x, near_y = min(x, 39 - x), min(y, 39 - y)
        if (near_x in (3, 4) and near_y <= 4) or (near_y in (3, 4) and near_x <= 4):
            return (232, 232, 226)
        if max(abs(x - 19.5), abs(y - 19.5)) in (7.5, 8.5):
            return (238, 196, 40)
        return asphalt(x, y)

    return tile(texture)


def bridge(direction):
    """Planks laid across the way, rails with posts on both sides, water beyond."""

    def texture(x, y):
        across, along = (x, y) if direction == "north-south" else (y, x)
        side = min(across, 39 - across)
        if side < 4:
            return deep_water(x, y)
        if side < 7:
            post = along % 10 < 3
            return jitter(shade(WOOD, -0.35 if post else -0.55), x, y, 101, 0.05)
        if along % 5 == 4:
            return shade(WOOD, -0.6)
        plank = along // 5
        if side == 7 or (side == 8 and along % 5 == 1):
            return shade(WOOD, -0.3)
        return jitter(shade(WOOD, (noise(plank, 0, 102) - 0.5) * 0.25), x, y, 103, 0.06)

    return tile(texture)


def masonry(colour, mortar, block_w, block_h, seed):
    """Blocks in running bond, each with its own shade and a lit top-left edge."""

    def texture(x, y):
        row = y // block_h
        shift = (block_w // 2) * (row % 2)
        col = (x + shift) // block_w
        bx, by = (x + shift) % block_w, y % block_h
        if bx == block_w - 1 or by == block_h - 1:
            return jitter(mortar, x, y, seed, 0.05)
        base = shade(colour, (noise(col, row, seed + 1) - 0.5) * 0.3)
        if bx == 0 or by == 0:
            base = shade(base, 0.18)
        elif bx == block_w - 2 or by == block_h - 2:
            base = shade(base, -0.18)
        return jitter(base, x, y, seed + 2, 0.05)

    return tile(texture)


def rocks():
    canvas = tile(dirt)
    boulders = [(12, 12, 9, 7), (29, 15, 7, 6), (17, 30, 8, 6), (33, 33, 5, 4)]
    for cx, cy, rx, ry in boulders:
        canvas.fill(ellipse(cx + 2, cy + 3, rx, ry * 0.8), (50, 36, 24), 0.6)
    for cx, cy, rx, ry in boulders:
        canvas.fill(ellipse(cx, cy, rx, ry), lambda x, y: jitter((128, 126, 122), x, y, 111, 0.1))
        highlight = ellipse(cx - rx * 0.3, cy - ry * 0.35, rx * 0.45, ry * 0.35)
        canvas.fill(highlight, (190, 188, 182), 0.8)
        canvas.fill(outline(ellipse(cx, cy, rx, ry), 0.5), (60, 58, 56), 0.7)
    return canvas


def dirt_track():
    """Packed earth with two darker wheel ruts running north-south."""

    def texture(x, y):
        if x in range(9, 14) or x in range(26, 31):
            return jitter(shade(DIRT, -0.25), x, y, 121, 0.08)
        return dirt(x, y)

    return tile(texture)


def finish_line():
    return tile(lambda x, y: (238, 238, 238) if (x // 5 + y // 5) % 2 == 0 else (20, 20, 20))


def checkpoint():
    """A concrete pad with a yellow arrow pointing the way the level plays (up)."""

    def texture(x, y):
        if min(x, y, 39 - x, 39 - y) == 1:
            return (96, 96, 96)
        return jitter((186, 186, 180), x, y, 131, 0.05)

    canvas = tile(texture)
    arrow = polygon([(20, 5), (33, 19), (25, 19), (25, 34), (15, 34), (15, 19), (7, 19)])
    canvas.fill(arrow, (238, 190, 20))
    canvas.fill(outline(arrow, 0.6), (90, 70, 10))
    return canvas


def roadside_sign(sign_shape, draw_symbol):
    """A yellow sign with a black rim on a post, standing in grass."""
    canvas = tile(grass)
    canvas.fill(box(18.5, 24, 21.5, 38), (110, 110, 116))
    canvas.fill(box(19, 37, 24, 39), (30, 60, 24), 0.6)
    canvas.fill(sign_shape, INK)
    rim = 2.2
    canvas.fill(lambda px, py: sign_shape(px, py) + rim, SIGN_YELLOW)
    draw_symbol(canvas)
    return canvas


def warn_open():
    """Hazard triangle with an exclamation mark: open ground or water ahead."""
    triangle = polygon([(20, 2), (38, 33), (2, 33)])

    def symbol(canvas):
        canvas.fill(polygon([(18, 12), (22, 12), (21, 25), (19, 25)]), INK)
        canvas.fill(circle(20, 28.5, 1.8), INK)

    return roadside_sign(triangle, symbol)


def warn_funnel():
    """Diamond sign with a funnel: the way narrows ahead."""
    diamond = polygon([(20, 1), (38, 19), (20, 37), (2, 19)])

    def symbol(canvas):
        canvas.fill(polygon([(10, 11), (30, 11), (22, 20), (22, 28), (18, 28), (18, 20)]), INK)

    return roadside_sign(diamond, symbol)


def lava():
    """Molten rock under a dark crust (shown by the key only)."""

    def texture(x, y):
        crack = abs(math.sin(TAU * (x / 40 + 2 * y / 40)) + math.sin(TAU * (3 * x / 40 - y / 40)))
        if crack < 0.35:
            return mix((255, 230, 80), (255, 120, 20), crack / 0.35)
        return jitter((60, 28, 22), x, y, 141, 0.12)

    return tile(texture)


def ice():
    """Pale ice with white cracks (shown by the key only)."""

    def texture(x, y):
        crack = abs(math.sin(TAU * (2 * x / 40 - y / 40)) - math.sin(TAU * (x / 40 + y / 20)))
        if crack < 0.08:
            return (250, 252, 255)
        return jitter((186, 222, 240), x, y, 151, 0.04)

    return tile(texture)


def crate():
    """A wooden crate seen from above (shown by the key only)."""
    canvas = tile(grass)
    canvas.fill(box(4, 4, 36, 36), shade(WOOD, -0.45))
    canvas.fill(box(6, 6, 34, 34), lambda x, y: jitter(WOOD, x, y, 161, 0.08))
    braces = union(segment(8, 8, 32, 32, 2), segment(32, 8, 8, 32, 2))
    canvas.fill(braces, shade(WOOD, -0.3))
    canvas.fill(outline(box(6, 6, 34, 34), 0.7), shade(WOOD, -0.6))
    return canvas


def tile_set():
    """File name -> canvas for every bitmap of the sample resources folder."""
    return {
        "01.bmp": tile(grass),
        "02.bmp": forest(),
        "03.bmp": tile(sand),
        "04.bmp": tile(deep_water),
        "05.bmp": tile(shallow_water),
        "06.bmp": shore("east"),
        "07.bmp": shore("west"),
        "08.bmp": shore("north"),
        "09.bmp": shore("south"),
        "10.bmp": road("north-south"),
        "11.bmp": road("east-west"),
        "12.bmp": crossroads(),
        "13.bmp": bridge("north-south"),
        "14.bmp": bridge("east-west"),
        "15.bmp": masonry(STONE, (92, 92, 98), 20, 10, 171),
        "16.bmp": masonry(BRICK, (206, 196, 184), 10, 5, 181),
        "17.bmp": rocks(),
        "18.bmp": dirt_track(),
        "19.bmp": finish_line(),
        "20.bmp": checkpoint(),
        "21.bmp": lava(),
        "22.bmp": ice(),
        "40.bmp": crate(),
        "bmpOBJ_WarnOpen.bmp": warn_open(),
        "bmpOBJ_WarnFunnel.bmp": warn_funnel(),
    }
