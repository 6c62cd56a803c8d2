#!/usr/bin/env python3
"""Writes the hicolor icons (icons/<size>.png) from the same picture as
zelvo.exe's icon (frontends/win32/resources/make_icon.py). Run it again only
when the picture changes; the PNGs are checked in so that building and
packaging need no drawing tool."""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "frontends", "win32", "resources"))
from make_icon import render  # noqa: E402

SIZES = (16, 24, 32, 48, 64, 128, 256)


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(pixels, size):
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    for size in SIZES:
        with open(os.path.join(HERE, "icons", f"{size}.png"), "wb") as f:
            f.write(png(render(size), size))


if __name__ == "__main__":
    main()
