#!/usr/bin/env python3
"""Checks that a screenshot of a bare X screen shows one window of the given
size, drawn (not blank). Only the standard library.

usage: check_screenshot.py SCREENSHOT.png WIDTH HEIGHT
"""
import struct
import sys
import zlib


def pixels(path):
    with open(path, "rb") as file:
        data = file.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        sys.exit(f"{path}: not an 8-bit RGB or RGBA picture")
    raw, stride = zlib.decompress(idat), width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append([bytes(row[x:x + 3]) for x in range(0, stride, channels)])
        previous = row
    return width, height, rows


def main(path, want_width, want_height):
    width, height, rows = pixels(path)
    # The screen's own background: the colours of the bottom right corner,
    # which no window of this size reaches.
    background = {rows[y][x] for y in (height - 2, height - 1) for x in (width - 2, width - 1)}
    xs, ys = [], []
    for y, row in enumerate(rows):
        for x, colour in enumerate(row):
            if colour not in background:
                xs.append(x)
                ys.append(y)
    if not xs:
        sys.exit(f"{path}: the screen is blank")
    left, top, right, bottom = min(xs), min(ys), max(xs), max(ys)
    got_width, got_height = right - left + 1, bottom - top + 1
    colours = {colour for row in rows[top:bottom + 1] for colour in row[left:right + 1]}
    print(f"{path}: a window of {got_width}x{got_height} at {left},{top}, {len(colours)} colours")
    if (got_width, got_height) != (want_width, want_height):
        sys.exit(f"{path}: expected a window of {want_width}x{want_height}")
    # A drawn main window has text, lists and pictures: far more than a few colours.
    if len(colours) < 16:
        sys.exit(f"{path}: the window is not drawn")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]))
