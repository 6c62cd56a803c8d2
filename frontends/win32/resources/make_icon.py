#!/usr/bin/env python3
"""Writes zelvo.ico: the program icon (a parcel on a blue rounded square, as
the Qt frontend draws it) at 48, 32, 24 and 16 pixels, each at 8 and at 32
bits per pixel. Run it again only when the picture changes; the .ico is
checked in so that the cross build needs no drawing tool."""
import struct
import sys

DEEP_BLUE = (18, 70, 140)
SKY = (64, 150, 220)
PARCEL_TOP = (238, 184, 110)
PARCEL = (226, 160, 72)
PARCEL_SHADE = (186, 120, 44)
EDGE = (130, 84, 30)
SAMPLES = 4  # per axis, for smooth edges


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def rounded(size, x, y):
    r = size / 6.0
    cx = min(max(x, r), size - r)
    cy = min(max(y, r), size - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def colour_at(size, x, y):
    """RGBA of one sample point."""
    if not rounded(size, x, y):
        return None
    t = y / size
    sky = tuple(round(SKY[k] + (DEEP_BLUE[k] - SKY[k]) * t) for k in range(3))
    inset = size * 0.14
    s = size - 2 * inset

    def at(fx, fy):
        return (inset + s * fx, inset + s * fy)

    top, left, right = at(0.5, 0.08), at(0.08, 0.3), at(0.92, 0.3)
    mid, bottom = at(0.5, 0.52), at(0.5, 0.94)
    left_bottom, right_bottom = at(0.08, 0.72), at(0.92, 0.72)
    for poly, fill in (([top, right, mid, left], PARCEL_TOP),
                       ([left, mid, bottom, left_bottom], PARCEL),
                       ([mid, right, right_bottom, bottom], PARCEL_SHADE)):
        if inside(poly, x, y):
            return fill
    return sky


def render(size):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at(size, px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c:
                        covered += 1
                        for k in range(3):
                            acc[k] += c[k]
            n = SAMPLES * SAMPLES
            if covered:
                row.append((acc[0] // covered, acc[1] // covered, acc[2] // covered,
                            255 * covered // n))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


# The 8-bit images use a 6x6x6 colour cube plus greys.
PALETTE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
PALETTE += [(i * 255 // 39, i * 255 // 39, i * 255 // 39) for i in range(40)]


def nearest(c):
    return min(range(len(PALETTE)),
               key=lambda i: sum((PALETTE[i][k] - c[k]) ** 2 for k in range(3)))


def and_mask(pixels, size):
    stride = ((size + 31) // 32) * 4
    data = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bytes(bits)
    return data


def image(pixels, size, bpp):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, 0, 0, 0,
                         256 if bpp == 8 else 0, 0)
    body = b""
    if bpp == 32:
        for row in reversed(pixels):
            for r, g, b, a in row:
                body += bytes((b, g, r, a))
    else:
        body += b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
        stride = (size + 3) // 4 * 4
        for row in reversed(pixels):
            line = bytearray(nearest(p) if p[3] >= 128 else 0 for p in row)
            body += bytes(line) + bytes(stride - size)
    return header + body + and_mask(pixels, size)


def main(path):
    entries = []
    for size in (48, 32, 24, 16):
        pixels = render(size)
        for bpp in (8, 32):
            entries.append((size, bpp, image(pixels, size, bpp)))
    offset = 6 + 16 * len(entries)
    out = struct.pack("<HHH", 0, 1, len(entries))
    for size, bpp, data in entries:
        out += struct.pack("<BBBBHHII", size, size, 0 if bpp == 32 else 0, 0, 1, bpp,
                           len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in entries)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "zelvo.ico")
