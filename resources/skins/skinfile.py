"""Writers of skin files: the record file held in the member SKINDATA.SK2
and the archive around it (the ZIP layout with "SK" first), optionally
with traditional PKWARE encryption. Standard library only; the output
depends on nothing but the arguments.

Shared by the sample skin generator and the fuzzers' seed writer.
"""

import struct
import zlib

BITMAP, INTEGER, BOOLEAN, STRING = 0, 1, 2, 3
MEMBER = b"SKINDATA.SK2"
RECORD_HEADER = 77


def raw_deflate(data, level=6, strategy=zlib.Z_DEFAULT_STRATEGY):
    c = zlib.compressobj(level, zlib.DEFLATED, -15, 8, strategy)
    return c.compress(data) + c.flush()


def integer(value):
    return struct.pack("<i", value)


def boolean(value):
    return bytes([1 if value is True else 0 if value is False else value])


def record_file(records):
    """records: (name bytes, type, data bytes). The chain ends with a header
    whose next position is 0; readers take no record from it, so it is
    named and typed like one that would show if read by mistake."""
    out = bytearray(b"\0" * 12 + struct.pack("<III", 24, 0, 24))
    for name, kind, data in records:
        pos = len(out) + RECORD_HEADER
        out += name.ljust(64, b"\0")[:64] + bytes([kind]) + struct.pack("<III", pos, len(data), pos + len(data))
        out += data
    out += b"LAST".ljust(64, b"\0") + bytes([INTEGER]) + struct.pack("<III", 0, 4, 0)
    return bytes(out)


def _crc_step(crc, byte):
    crc ^= byte
    for _ in range(8):
        crc = (crc >> 1) ^ 0xEDB88320 if crc & 1 else crc >> 1
    return crc


def encrypt(payload, password, check):
    """Traditional PKWARE encryption (APPNOTE 6.1): a 12-byte header whose
    last byte is Check, then the payload. The other header bytes are fixed,
    so the output is reproducible."""
    k0, k1, k2 = 0x12345678, 0x23456789, 0x34567890

    def update(b):
        nonlocal k0, k1, k2
        k0 = _crc_step(k0, b)
        k1 = ((k1 + (k0 & 0xFF)) * 0x08088405 + 1) & 0xFFFFFFFF
        k2 = _crc_step(k2, k1 >> 24)

    for c in password:
        update(c)
    out = bytearray()
    for b in bytes([0x3C] * 11 + [check]) + payload:
        t = (k2 | 2) & 0xFFFF
        out.append(b ^ (((t * (t ^ 1)) >> 8) & 0xFF))
        update(b)
    return bytes(out)


def password_bytes(password):
    """The low byte of every UTF-16 code unit, as skin readers key it."""
    units = password.encode("utf-16-le")
    return bytes(units[0::2])


class Member:
    def __init__(self, name, payload, size, flags=0, crc=0x5A << 24, time=0, date=0):
        self.name, self.payload, self.size = name, payload, size
        self.flags, self.crc, self.time, self.date = flags, crc, time, date


def archive(members):
    out, central = bytearray(), bytearray()
    for m in members:
        offset = len(out)
        shared = struct.pack("<HHHHIIIHH", m.flags, 8, m.time, m.date, m.crc, len(m.payload), m.size, len(m.name), 0)
        out += struct.pack("<IH", 0x04034B50, 20) + shared + m.name + m.payload
        central += struct.pack("<IHH", 0x02014B50, 20, 20) + shared + struct.pack("<HHHII", 0, 0, 0, 0, offset)
        central += m.name
    start = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(members), len(members), len(central), start, 0)
    out[0:2] = b"SK"
    return bytes(out)


def skin_archive(records, password=None, time=0x6000, date=0x5821):
    """A skin file holding Records: one Deflate member SKINDATA.SK2 with its
    true CRC-32, encrypted when a password is given (check byte from the
    CRC)."""
    data = record_file(records)
    crc = zlib.crc32(data) & 0xFFFFFFFF
    payload = raw_deflate(data, 9)
    flags = 0
    if password:
        payload = encrypt(payload, password_bytes(password), crc >> 24)
        flags = 1
    return archive([Member(MEMBER, payload, len(data), flags, crc, time, date)])
