#!/usr/bin/env python3
"""Writes the seed corpora of the skin file fuzzers (inflate, archive,
records) under the given folder, default fuzz/corpus. Deterministic, so
the committed corpus can be made again. With --member FILE it writes only
the record file that every archive seed holds, the known answer of the
extraction tests."""
import os
import struct
import sys
import zlib

CRC_HIGH = 0x5A


def raw_deflate(data, level=6, strategy=zlib.Z_DEFAULT_STRATEGY):
    c = zlib.compressobj(level, zlib.DEFLATED, -15, 8, strategy)
    return c.compress(data) + c.flush()


def bmp(width, height, rgb):
    row = bytes([rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16]) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 54) + info + pixels


def record_file(records):
    out = bytearray(b"\0" * 12 + struct.pack("<III", 24, 0, 24))
    for name, kind, data in records:
        pos = len(out) + 77
        out += name.ljust(64, b"\0")[:64] + bytes([kind]) + struct.pack("<III", pos, len(data), pos + len(data))
        out += data
    out += b"LAST".ljust(64, b"\0") + bytes([1]) + struct.pack("<III", 0, 4, 0)
    return bytes(out)


def crc_step(crc, byte):
    crc ^= byte
    for _ in range(8):
        crc = (crc >> 1) ^ 0xEDB88320 if crc & 1 else crc >> 1
    return crc


def encrypt(payload, password, check):
    k0, k1, k2 = 0x12345678, 0x23456789, 0x34567890

    def update(b):
        nonlocal k0, k1, k2
        k0 = crc_step(k0, b)
        k1 = ((k1 + (k0 & 0xFF)) * 0x08088405 + 1) & 0xFFFFFFFF
        k2 = crc_step(k2, k1 >> 24)

    for c in password:
        update(c)
    out = bytearray()
    for b in bytes([0x3C] * 11 + [check]) + payload:
        t = (k2 | 2) & 0xFFFF
        out.append(b ^ (((t * (t ^ 1)) >> 8) & 0xFF))
        update(b)
    return bytes(out)


def archive(members):
    out, central = bytearray(), bytearray()
    for name, payload, size, flags in members:
        offset = len(out)
        crc = CRC_HIGH << 24
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, 8, 0, 0, crc, len(payload), size, len(name), 0)
        out += name + payload
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flags, 8, 0, 0, crc, len(payload), size,
                               len(name), 0, 0, 0, 0, 0, offset)
        central += name
    start = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(members), len(members), len(central), start, 0)
    out[0:2] = b"SK"
    return bytes(out)


def seed_records():
    return record_file([(b"SKIN2_FORMCOLOR", 1, struct.pack("<i", 0x336699)),
                        (b"SKIN2_TITLEFIVESECT", 2, b"\x01"), (b"Note", 3, b"hello"),
                        (b"Unknown", 9, b"xyz"), (b"SKIN2_BUTTON", 0, bmp(3, 2, 0xFF0000))])


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
            "deflated": archive([(b"SKINDATA.SK2", raw_deflate(records), len(records), 0)]),
            "stored-blocks": archive([(b"skindata.sk2", raw_deflate(records, 0), len(records), 0)]),
            "two-members": archive([(b"OTHER", raw_deflate(b"x"), 1, 0),
                                    (b"SKINDATA.SK2", raw_deflate(records), len(records), 0)]),
        },
    }
    encrypted = bytearray(archive([(b"SKINDATA.SK2", encrypt(raw_deflate(records), b"secret", CRC_HIGH),
                                    len(records), 1)]))
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
