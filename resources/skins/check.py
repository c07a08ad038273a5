#!/usr/bin/env python3
"""Reads the sample skin back with Python's own zipfile module (the first
two bytes put back to "PK"), so the archive and its encryption are checked
by an implementation that shares nothing with ours or the program's:

    check.py OUTDIR PASSWORD

Every element of the generator's table must be in the record chain, and
each bitmap record must be the BMP file written beside the skin.
"""
import io
import os
import struct
import sys
import zipfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from generate import ELEMENTS  # noqa: E402
from skinfile import BITMAP, MEMBER  # noqa: E402


def member(path, password):
    data = bytearray(open(path, 'rb').read())
    assert data[:2] == b'SK', path
    data[:2] = b'PK'
    with zipfile.ZipFile(io.BytesIO(bytes(data))) as z:
        info = z.getinfo(MEMBER.decode())
        assert info.compress_type == zipfile.ZIP_DEFLATED
        assert bool(info.flag_bits & 1) == (password is not None), path
        return z.read(info, pwd=password)  # zipfile checks the CRC-32 too


def records(data):
    assert struct.unpack_from('<I', data, 12)[0] == 24
    pos, found = struct.unpack_from('<I', data, 20)[0], {}
    while True:
        name = data[pos:pos + 64].split(b'\0')[0].decode()
        kind, at, size, following = struct.unpack_from('<BIII', data, pos + 64)
        if following == 0:
            return found
        found[name] = (kind, data[at:at + size])
        pos = following


def main(outdir, password):
    plain = member(os.path.join(outdir, 'Copper.skn'), None)
    assert member(os.path.join(outdir, 'CopperLocked.skn'), password.encode()) == plain
    found = records(plain)
    assert sorted(found) == sorted(key for key, _, _ in ELEMENTS), sorted(found)
    for key, kind, _ in ELEMENTS:
        if kind == BITMAP:
            with open(os.path.join(outdir, 'Copper', key + '.bmp'), 'rb') as f:
                assert found[key] == (BITMAP, f.read()), key
    try:
        member(os.path.join(outdir, 'CopperLocked.skn'), b'not the password')
    except RuntimeError:
        return 0
    raise AssertionError('a wrong password opened the locked copy')


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2]))
