#!/usr/bin/env python3
"""Writes the seed corpora of the skin file fuzzers (inflate, archive,
records) under the given folder, default fuzz/corpus. Deterministic, so
the committed corpus can be made again."""
import os
import struct
import sys
import zlib

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "skins"))
from skinfile import BOOLEAN, BITMAP, INTEGER, STRING, Member, archive, encrypt, raw_deflate, record_file  # noqa: E402

CRC_HIGH = 0x5A


def bmp(width, height, rgb):
    row = bytes([rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16]) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 54) + info + pixels


def seed_records():
    return record_file([(b"SKIN2_FORMCOLOR", INTEGER, struct.pack("<i", 0x336699)),
                        (b"SKIN2_TITLEFIVESECT", BOOLEAN, b"\x01"), (b"Note", STRING, b"hello"),
                        (b"Unknown", 9, b"xyz"), (b"SKIN2_BUTTON", BITMAP, bmp(3, 2, 0xFF0000))])


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--member":
        with open(sys.argv[2], "wb") as f:
            f.write(seed_records())
        return
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    text = b"".join(b"skin title bar button border %d\n" % i for i in range(400))
    records = seed_records()
    seeds = {
        "inflate": {
            "stored": raw_deflate(text, 0), "fast": raw_deflate(text, 1), "default": raw_deflate(text),
            "best": raw_deflate(text, 9), "fixed": raw_deflate(text, 6, zlib.Z_FIXED),
            "huffman": raw_deflate(text, 6, zlib.Z_HUFFMAN_ONLY), "runs": raw_deflate(b"\0" * 5000, 6, zlib.Z_RLE),
            "empty": raw_deflate(b""),
        },
        "records": {"all-types": records, "empty-chain": record_file([])},
        "archive": {
            "deflated": archive([Member(b"SKINDATA.SK2", raw_deflate(records), len(records))]),
            "stored-blocks": archive([Member(b"skindata.sk2", raw_deflate(records, 0), len(records))]),
            "two-members": archive([Member(b"OTHER", raw_deflate(b"x"), 1),
                                    Member(b"SKINDATA.SK2", raw_deflate(records), len(records))]),
        },
    }
    encrypted = bytearray(archive([Member(b"SKINDATA.SK2", encrypt(raw_deflate(records), b"secret", CRC_HIGH),
                                           len(records), flags=1)]))
    encrypted[3] |= 1  # the fuzzer's sign to use the password
    seeds["archive"]["encrypted"] = bytes(encrypted)
    for target, files in seeds.items():
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
