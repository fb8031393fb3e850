#!/usr/bin/python3
"""Writes the one content file the input checks need, DIR/data/levelboundings.ms3d: a collision
model whose first group holds no triangles, so the player may go anywhere. The display checks run
the game in DIR until the generated content carries everything the game loads."""
import os
import struct
import sys


def bounds_model():
    header = b"MS3D000000" + struct.pack("<i", 4)
    vertices = struct.pack("<H", 0)
    triangles = struct.pack("<H", 0)
    group = struct.pack("<B", 0) + b"bounds".ljust(32, b"\0") + struct.pack("<H", 0) + struct.pack("<b", -1)
    groups = struct.pack("<H", 1) + group
    materials = struct.pack("<H", 0)
    return header + vertices + triangles + groups + materials


def main():
    data = os.path.join(sys.argv[1], "data")
    os.makedirs(data, exist_ok=True)
    with open(os.path.join(data, "levelboundings.ms3d"), "wb") as out:
        out.write(bounds_model())
    return 0


if __name__ == "__main__":
    sys.exit(main())
