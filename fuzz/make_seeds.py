#!/usr/bin/env python3
"""Writes a small seed corpus for bmp_fuzzer: one file per header kind,
bit depth and orientation the decoder takes, each a few pixels large."""
import os
import struct
import sys


def rows_bytes(rows):
    out = b""
    for row in rows:
        out += row + b"\0" * (-len(row) % 4)
    return out


def info_header(size, width, height, bpp, compression=0, colors=0, masks=()):
    if size == 12:
        return struct.pack("<IHHHH", 12, width, height, 1, bpp)
    head = struct.pack("<IiiHHIIiiII", size, width, height, 1, bpp, compression, 0, 2835, 2835, colors, 0)
    head += b"".join(struct.pack("<I", m) for m in masks)
    return head + b"\0" * max(0, size - len(head))


def bmp(info, palette, pixels, entry=4):
    table = b"".join(struct.pack("<I", c)[:entry] for c in palette)
    offset = 14 + len(info) + len(table)
    body = info + table + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def seeds():
    grey = [0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF]
    yield "1bpp_odd", bmp(info_header(40, 9, 2, 1), [0, 0xFFFFFF], rows_bytes([b"\xA5\x80", b"\x5A\x00"]))
    yield "4bpp_topdown", bmp(info_header(40, 3, -2, 4, colors=4), grey, rows_bytes([b"\x01\x20", b"\x32\x10"]))
    yield "8bpp", bmp(info_header(40, 5, 2, 8, colors=4), grey, rows_bytes([b"\0\1\2\3\0", b"\3\2\1\0\7"]))
    yield "8bpp_core", bmp(info_header(12, 3, 1, 8), grey, rows_bytes([b"\0\1\3"]), entry=3)
    yield "16bpp_555", bmp(info_header(40, 3, 1, 16), [], rows_bytes([b"\x00\x7c\xe0\x03\x1f\x00"]))
    yield "16bpp_565", bmp(info_header(40, 3, 1, 16, 3) + struct.pack("<III", 0xF800, 0x07E0, 0x001F),
                           [], rows_bytes([b"\x00\xf8\xe0\x07\x1f\x00"]))
    yield "24bpp", bmp(info_header(40, 3, 2, 24), [], rows_bytes([b"\x01\x02\x03" * 3, b"\xff\x00\x80" * 3]))
    yield "32bpp", bmp(info_header(40, 2, 2, 32), [], rows_bytes([b"\x01\x02\x03\x04" * 2, b"\x05\x06\x07\x08" * 2]))
    yield "32bpp_v4_alpha", bmp(info_header(108, 2, 1, 32, 3, masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
                                [], rows_bytes([b"\x10\x20\x30\x80\x40\x50\x60\xff"]))
    yield "16bpp_v5_4444", bmp(info_header(124, 2, 1, 16, 3, masks=(0x0F00, 0x00F0, 0x000F, 0xF000)),
                               [], rows_bytes([b"\x34\x12\xcd\xab"]))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "corpus"
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(folder, name + ".bmp"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
