"""Structured binary stand-ins: fixed-size records whose columns are a
running index, constants, or symbols drawn from small alphabets with a seeded
generator. Built column-wise with extended slices, so tens of megabytes take
a fraction of a second, and they compress moderately (neither zeros nor
noise)."""
import array
import random
import struct
import sys
import zlib

HANZI_LEAD = bytes(range(0xB0, 0xD8))       # GB2312 level-1 hanzi
HANZI_TRAIL = bytes(range(0xA1, 0xFF))
KEYS = b"abcdefghijklmnopqrstuvwxyz"


def seed_of(name):
    """A fixed seed per file name, the same in every run (no hash()
    randomisation)."""
    return zlib.crc32(name.encode("ascii"))


def _weighted(alphabet):
    """Translation table sending the 256 byte values onto an alphabet; the
    first symbols are repeated more often, as in real frequency data."""
    table = bytearray(256)
    n = len(alphabet)
    for i in range(256):
        # quadratic skew towards the start of the alphabet
        table[i] = alphabet[min(n - 1, (i * i * n) // (256 * 256))]
    return bytes(table)


def records(size, name, columns, header=b""):
    """size bytes: header, then records laid out by columns, cut at size.

    columns: list of (kind, width, arg):
      ("index", w, start)   little-endian running number (w <= 4)
      ("sym", w, alphabet)  each byte drawn from the alphabet
      ("const", w, bytes)   the same bytes in every record
      ("step", w, period)   a slowly rising group number (index // period)
    """
    rnd = random.Random(seed_of(name))
    rec = sum(c[1] for c in columns)
    body = max(0, size - len(header))
    n = body // rec + 1
    buf = bytearray(n * rec)
    off = 0
    for kind, width, arg in columns:
        if kind in ("index", "step"):
            if kind == "index":
                values = array.array("I", range(arg, arg + n))
            else:
                values = array.array("I", (i // arg for i in range(n)))
            assert values.itemsize == 4
            if sys.byteorder == "big":
                values.byteswap()
            data = values.tobytes()
            for k in range(width):
                buf[off + k::rec] = data[k::4]
        elif kind == "sym":
            table = _weighted(arg)
            for k in range(width):
                buf[off + k::rec] = rnd.randbytes(n).translate(table)
        elif kind == "const":
            for k in range(width):
                buf[off + k::rec] = bytes((arg[k],)) * n
        else:
            raise ValueError(kind)
        off += width
    return (header + bytes(buf))[:size]


def table_header(magic, name, count, version=1):
    """A small header as a dictionary file might carry one: 4-byte magic
    (ASCII, so the first byte has its top bit clear), version, count."""
    return struct.pack("<4sHHI", magic, version, 0, count) + name.encode("ascii")[:16].ljust(16, b"\0")


def word_records(size, name, magic):
    """Word index: key codes, a GBK word of two or three characters, a
    frequency class and a link to the next record of the same key."""
    cols = [("index", 3, 1), ("sym", 1, b"\x02\x02\x03\x03\x04"),
            ("sym", 1, HANZI_LEAD), ("sym", 1, HANZI_TRAIL),
            ("sym", 1, HANZI_LEAD), ("sym", 1, HANZI_TRAIL),
            ("sym", 4, KEYS), ("sym", 2, b"\x00\x00\x01\x02\x05\x10"),
            ("step", 2, 37), ("const", 1, b"\0")]
    return records(size, name, cols, table_header(magic, name, size // 17))


def char_records(size, name, magic):
    """Per-character table: GBK code in order, codes from a key alphabet,
    small attribute numbers."""
    cols = [("const", 1, b"\xb0"), ("index", 1, 0xA1), ("sym", 4, KEYS + b"\0\0"),
            ("sym", 2, bytes(range(1, 25))), ("step", 2, 94)]
    return records(size, name, cols, table_header(magic, name, size // 10))


def map_records(size, name, magic):
    """Link or conversion map: pairs of GBK codes and a weight."""
    cols = [("sym", 1, HANZI_LEAD), ("sym", 1, HANZI_TRAIL),
            ("sym", 1, HANZI_LEAD), ("sym", 1, HANZI_TRAIL),
            ("index", 2, 0), ("sym", 2, b"\x00\x01\x02\x03")]
    return records(size, name, cols, table_header(magic, name, size // 8))
