#!/usr/bin/env python3
"""The installer's larger Chinese glyphs, for screens above 96 dpi: the
characters of its own texts (the string literals of its sources and the
Chinese licence it carries) rendered from an outline font at several cell
sizes, 1 bit per pixel, as one zlib stream. The 16x16 atlas stays as it is.

The inflated stream, little-endian:
  u16 characters, u16 sizes
  u16 codes[characters]       GBK codes (lead byte x 256 + trail byte), ascending
  0 or 2 bytes of padding to a multiple of 4
  per size: u16 pixels, u16 baseline row, u32 offset, u32 length
  per size: its plane at that offset: 32 cells to a cell row, one cell row
            after the other, each cell pixels x pixels; rows of 4 x pixels
            bytes, top row first, most significant bit leftmost, a set bit
            paper (as the atlas's planes, so a plane becomes a bitmap as is).
Character k is cell k of every plane. The font's baseline lies on the top
edge of the baseline row.

usage: large_glyphs.py --font FILE --out FILE.z [--sizes 20,24,28,32]
                       [--text-stream FILE.z ...] SOURCE...
"""
import argparse
import os
import struct
import sys
import zlib

sys.dont_write_bytecode = True   # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import outline_font   # noqa: E402

SIZES = (20, 24, 28, 32)
CELLS_PER_ROW = 32
HEADER = struct.Struct("<HH")
SIZE_ENTRY = struct.Struct("<HHII")


def literals(source):
    """The contents of the string literals of C++ source text; comments and
    character literals are skipped."""
    i, n = 0, len(source)
    while i < n:
        c = source[i]
        if source.startswith("//", i):
            i = source.find("\n", i)
            i = n if i < 0 else i
        elif source.startswith("/*", i):
            i = source.find("*/", i + 2)
            i = n if i < 0 else i + 2
        elif c in "\"'":
            j = i + 1
            while j < n and source[j] != c and source[j] != "\n":
                j += 2 if source[j] == "\\" else 1
            if c == '"':
                yield source[i + 1:j]
            i = j + 1
        else:
            i += 1


def double_byte_codes(text):
    """The codes of the double-byte characters of a MixedText byte string,
    read as the installer reads it: a byte with its top bit set and the byte
    after it."""
    codes, i = set(), 0
    while i < len(text):
        if text[i] & 0x80:
            if i + 1 < len(text):
                codes.add(text[i] << 8 | text[i + 1])
            i += 2
        else:
            i += 1
    return codes


def text_codes(sources, streams):
    """Every double-byte GBK code of the installer's texts: the literals of
    its sources (UTF-8, compiled to GBK) and the zlib streams of GBK text it
    carries. A character GBK cannot spell is no text of the painter's."""
    codes = set()
    for path in sources:
        with open(path, encoding="utf-8") as f:
            for literal in literals(f.read()):
                codes |= double_byte_codes(literal.encode("gbk", errors="ignore"))
    for path in streams:
        with open(path, "rb") as f:
            codes |= double_byte_codes(zlib.decompress(f.read()))
    return sorted(codes)


def character(code):
    try:
        return bytes((code >> 8, code & 0xFF)).decode("gbk")
    except UnicodeDecodeError:
        return None


def ideograph_centre(font):
    """Where ideographs stand, in font units: the middle between the 1st and
    the 99th percentile of the lowest and highest ink of GB2312's level-1
    hanzi. The cell's middle row goes there, from the font alone, so the
    same font gives the same baseline whatever the texts are."""
    lows, highs = [], []
    for lead in range(0xB0, 0xD8):
        for trail in range(0xA1, 0xFF):
            ch = character(lead << 8 | trail)
            glyph = font.glyph(ord(ch)) if ch else None
            box = font.bounds(glyph) if glyph else None
            if box:
                lows.append(box[1])
                highs.append(box[3])
    if not lows:
        raise SystemExit("the font has no GB2312 hanzi")
    lows.sort()
    highs.sort()
    return (lows[len(lows) // 100] + highs[-1 - len(highs) // 100]) / 2


def baseline_row(font, size, centre):
    return round(size / 2 + centre * size / font.units_per_em)


def cell(font, glyph, size, baseline):
    """The ink rows of one character in its cell: a full-width glyph as the
    font places it, a narrower one centred."""
    shift = max(0, font.units_per_em - font.advance(glyph)) / 2 * size / font.units_per_em
    return outline_font.rasterize(font, glyph, size, baseline, shift)


def plane(cells, size):
    """The plane bytes of one size from its cells' ink rows."""
    row_bytes = CELLS_PER_ROW * size // 8
    cell_rows = -(-len(cells) // CELLS_PER_ROW)
    out = bytearray(b"\xff" * (row_bytes * cell_rows * size))
    for k, rows in enumerate(cells):
        top = (k // CELLS_PER_ROW) * size
        bit = (k % CELLS_PER_ROW) * size
        for y, ink in enumerate(rows):
            line = (top + y) * row_bytes
            for x in range(size):
                if ink >> (size - 1 - x) & 1:
                    at = line + (bit + x) // 8
                    out[at] &= ~(0x80 >> ((bit + x) % 8)) & 0xFF
    return bytes(out)


def build(font, codes, sizes):
    """The inflated stream for codes (those the font can draw) at sizes."""
    centre = ideograph_centre(font)
    glyphs = [font.glyph(ord(character(c))) for c in codes]
    header = HEADER.pack(len(codes), len(sizes)) + struct.pack("<%dH" % len(codes), *codes)
    header += b"\0" * (-len(header) % 4)
    offset = len(header) + SIZE_ENTRY.size * len(sizes)
    entries, planes = b"", b""
    for size in sizes:
        baseline = baseline_row(font, size, centre)
        data = plane([cell(font, g, size, baseline) for g in glyphs], size)
        entries += SIZE_ENTRY.pack(size, baseline, offset + len(planes), len(data))
        planes += data
    return header + entries + planes


def parse(blob):
    """(codes, {pixels: (baseline row, plane bytes)}) of an inflated stream."""
    count, sizes = HEADER.unpack_from(blob, 0)
    codes = list(struct.unpack_from("<%dH" % count, blob, HEADER.size))
    at = HEADER.size + 2 * count
    at += -at % 4
    planes = {}
    for i in range(sizes):
        pixels, baseline, offset, length = SIZE_ENTRY.unpack_from(blob, at + i * SIZE_ENTRY.size)
        planes[pixels] = (baseline, blob[offset:offset + length])
    return codes, planes


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--font", required=True, help="TrueType font or collection")
    ap.add_argument("--face", type=int, default=0, help="face of a collection")
    ap.add_argument("--out", required=True)
    ap.add_argument("--sizes", default=",".join(map(str, SIZES)))
    ap.add_argument("--text-stream", action="append", default=[],
                    help="a zlib stream of GBK text the installer draws")
    ap.add_argument("sources", nargs="*", help="sources whose string literals are GBK texts")
    args = ap.parse_args()

    font = outline_font.OutlineFont(args.font, args.face)
    codes = text_codes(args.sources, args.text_stream)
    drawable = [c for c in codes if character(c) and font.glyph(ord(character(c)))]
    for code in sorted(set(codes) - set(drawable)):
        # Drawn from the 16x16 atlas instead, centred in the larger cell.
        print("warning: %s has no glyph for GBK %04X; the atlas's is drawn" % (args.font, code),
              file=sys.stderr)
    sizes = [int(s) for s in args.sizes.split(",")]
    data = build(font, drawable, sizes)
    stream = zlib.compress(data, 9)
    tmp = args.out + ".tmp"
    with open(tmp, "wb") as f:
        f.write(stream)
    os.replace(tmp, args.out)
    print("larger glyphs: %d characters at %s pixels, %d bytes, %d compressed"
          % (len(drawable), "/".join(map(str, sizes)), len(data), len(stream)))


if __name__ == "__main__":
    main()
