#!/usr/bin/env python3
"""Saves a picture of the whole X screen as PNG, for builds without the Qt
screenshot tool (the Windows cross build, whose scenarios drive the launcher
under Wine). Only the standard library and libX11.

usage: screenshot.py OUTPUT.png
"""
import ctypes
import ctypes.util
import struct
import sys
import zlib


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, up to the pixel layout.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


def png(width, height, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def main(output):
    x = ctypes.CDLL(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XGetImage.restype = ctypes.POINTER(XImage)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                            ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("screenshot.py: cannot open the display")
    width, height = x.XDisplayWidth(display, 0), x.XDisplayHeight(display, 0)
    all_planes, z_pixmap = 0xFFFFFFFF, 2
    image = x.XGetImage(display, x.XDefaultRootWindow(display), 0, 0, width, height,
                        all_planes, z_pixmap)
    if not image or image.contents.bits_per_pixel != 32:
        sys.exit("screenshot.py: no 32-bit picture of the screen")
    stride = image.contents.bytes_per_line
    data = ctypes.string_at(image.contents.data, stride * height)
    # 32 bits a pixel, little-endian BGRX on the X servers we run.
    rows = []
    for y in range(height):
        line = data[y * stride:y * stride + width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
        rows.append(bytes(rgb))
    x.XCloseDisplay(display)
    with open(output, "wb") as file:
        file.write(png(width, height, rows))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
