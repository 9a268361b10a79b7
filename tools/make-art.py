#!/usr/bin/env python3
"""Draws the sample tile set, the sample levels, the application icon and the button pictures.

    python3 tools/make-art.py            # rewrites every generated file in place
    python3 tools/make-art.py --check    # exits 1, naming the files, when any is out of date

Needs nothing beyond the Python 3 standard library. The output is committed beside the code;
run the first command after changing anything under tools/art and commit what it changes.

Tile codes of the sample set (samples/_resources):

    01 grass                  11 road east-west
    02 forest                 12 crossroads
    03 sand                   13 bridge north-south (over water)
    04 deep water             14 bridge east-west (over water)
    05 shallow water          15 stone wall
    06 shore, water east      16 brick wall
    07 shore, water west      17 rocks
    08 shore, water north     18 dirt track
    09 shore, water south     19 start / finish line
    10 road north-south       20 checkpoint marker (arrow points the way of play)
    98 bmpOBJ_WarnOpen.bmp    warning sign: open ground or water ahead
    99 bmpOBJ_WarnFunnel.bmp  warning sign: the way narrows ahead

21.bmp (lava), 22.bmp (ice) and 40.bmp (crate) are there only for the graphical key, which lists
every numbered bitmap of a folder; no level can show them.
"""

import argparse
import os
import sys
import zlib

sys.dont_write_bytecode = True  # keep tools/art free of __pycache__

from art import icons, levels, tiles  # noqa: E402  (after the bytecode switch on purpose)
from art.raster import encode_bmp, encode_png  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def outputs():
    """Repository path -> file bytes, for every generated file."""
    files = {}
    for name, canvas in tiles.tile_set().items():
        files[f"samples/_resources/{name}"] = encode_bmp(canvas)
    for name, canvas in icons.pictures().items():
        files[f"src/app/resources/{name}"] = encode_png(canvas)
    for name, data in levels.levels().items():
        files[f"samples/{name}"] = data
    return files


def png_pixels(data):
    """The header and pixel bytes of a PNG, so that another zlib's output still compares equal."""
    pos, parts = 8, []
    while pos < len(data):
        length = int.from_bytes(data[pos : pos + 4], "big")
        kind = data[pos + 4 : pos + 8]
        if kind in (b"IHDR", b"IDAT"):
            parts.append((kind, data[pos + 8 : pos + 8 + length]))
        pos += 12 + length
    header = b"".join(body for kind, body in parts if kind == b"IHDR")
    compressed = b"".join(body for kind, body in parts if kind == b"IDAT")
    return header + zlib.decompress(compressed)


def same(path, data):
    try:
        with open(path, "rb") as f:
            old = f.read()
    except OSError:
        return False
    if path.endswith(".png"):
        try:
            return png_pixels(old) == png_pixels(data)
        except (zlib.error, ValueError):
            return False
    return old == data


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    parser.add_argument("--root", default=ROOT, help="repository to write into (default: this one)")
    args = parser.parse_args()

    stale = []
    for rel, data in sorted(outputs().items()):
        path = os.path.join(args.root, rel)
        if same(path, data):
            continue
        stale.append(rel)
        if not args.check:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
    if args.check:
        for rel in stale:
            print(f"out of date: {rel}")
        return 1 if stale else 0
    print(f"{len(stale)} file(s) written")
    return 0


if __name__ == "__main__":
    sys.exit(main())
