#!/usr/bin/env python3
"""Skin archives made by Info-ZIP, an encryption and a Deflate coder
independent of ours, as known answers for the extraction tests.

    make_infozip_archives.py OUTDIR PASSWORD

writes into OUTDIR:
  content.bin    the known content (deterministic)
  cloaked.skn    compressed by zip, then encrypted by zipcloak: flag bit 3
                 clear, so the check byte is the CRC's high byte
  streamed.skn   zip reading the content from standard input: flag bit 3
                 set, check byte from the modification time
Both start with "SK" in place of "PK". zip itself always streams an
encrypted entry (bit 3, check byte from the time), even from a file; only
zipcloak, which knows the CRC of the entry it encrypts, writes the other
kind, and it reads the password from the terminal only: it gets one here.
"""
import os
import pty
import select
import signal
import struct
import subprocess
import sys
import termios
import time


def known_content():
    # Text with long and short repeats, then bytes of every value: enough
    # for several Deflate blocks of Info-ZIP's own choosing.
    lines = b"".join(b"known answer line %05d: %s\n" % (i, b"abcdefgh"[: i % 8] * (i % 5)) for i in range(6000))
    state, noise = 12345, bytearray()
    for _ in range(40000):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        noise.append((state >> 16) & 0x3F)
    return lines + bytes(range(256)) * 8 + bytes(noise)


def run_with_terminal(command, answer, timeout=60):
    """Runs Command on a terminal of its own, answering every password
    prompt with Answer; returns the exit status and what it printed.
    Each answer waits until the program has turned echo off: turning it
    off discards what was typed before."""
    pid, fd = pty.fork()
    if pid == 0:
        try:
            os.execvp(command[0], command)
        finally:
            os._exit(127)
    output, answered = b"", 0
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.05)
        if ready:
            try:
                chunk = os.read(fd, 1024)
            except OSError:  # the terminal closes with the program
                break
            if not chunk:
                break
            output += chunk
        if output.lower().count(b"password") > answered and not termios.tcgetattr(fd)[3] & termios.ECHO:
            os.write(fd, answer.encode() + b"\n")
            answered += 1
    else:
        os.kill(pid, signal.SIGKILL)
    os.close(fd)
    _, status = os.waitpid(pid, 0)
    return os.waitstatus_to_exitcode(status), output.decode(errors="replace")


def central_flags(archive):
    """The general-purpose flags of the first central directory entry."""
    central = struct.unpack_from("<I", archive, len(archive) - 6)[0]
    if archive[central:central + 4] != b"PK\x01\x02":
        raise SystemExit("no central directory entry where the end record says")
    return struct.unpack_from("<H", archive, central + 8)[0]


def to_skin(zip_file, skin_file, want_bit3):
    with open(zip_file, "rb") as f:
        archive = bytearray(f.read())
    flags = central_flags(archive)
    if not flags & 1 or bool(flags & 8) != want_bit3:
        raise SystemExit("%s: flags %#x, wanted encrypted with bit 3 %s" % (zip_file, flags, want_bit3))
    if archive[:2] != b"PK" or archive[-2:] != b"\0\0":
        raise SystemExit("%s: not a plain ZIP file without comment" % zip_file)
    archive[:2] = b"SK"
    with open(skin_file, "wb") as f:
        f.write(archive)
    os.remove(zip_file)


def main():
    out, password = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    content = known_content()
    with open(os.path.join(out, "content.bin"), "wb") as f:
        f.write(content)

    work = os.path.join(out, "work")
    os.makedirs(work, exist_ok=True)
    member = os.path.join(work, "SKINDATA.SK2")
    with open(member, "wb") as f:
        f.write(content)

    cloaked = os.path.join(out, "cloaked.zip")
    for name in (cloaked, os.path.join(out, "streamed.zip")):
        if os.path.exists(name):
            os.remove(name)
    # The file's extra fields (times, owner) stay: the reader skips them.
    subprocess.run(["zip", "-q", "-j", cloaked, member], check=True)
    status, said = run_with_terminal(["zipcloak", cloaked], password)
    if status != 0:
        raise SystemExit("zipcloak failed: " + said)
    to_skin(cloaked, os.path.join(out, "cloaked.skn"), want_bit3=False)

    # From standard input the entry is named "-"; -fz- keeps Zip64 out.
    streamed = os.path.join(out, "streamed.zip")
    subprocess.run(["zip", "-q", "-fz-", "-P", password, streamed, "-"], input=content, check=True)
    to_skin(streamed, os.path.join(out, "streamed.skn"), want_bit3=True)
    os.remove(member)
    os.rmdir(work)


if __name__ == "__main__":
    main()
