"""Picture files written with the standard library only: BMP, PNG and ICO,
drawn on a small palette canvas (text from the Unifont glyph table)."""
import struct
import zlib


class Canvas:
    """Palette-indexed picture, one byte per pixel, top row first."""

    def __init__(self, width, height, background=0):
        self.width, self.height = width, height
        self.pixels = bytearray((background,)) * (width * height)

    def fill(self, x, y, w, h, colour):
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + w, self.width), min(y + h, self.height)
        if x1 <= x0:
            return
        run = bytes((colour,)) * (x1 - x0)
        for row in range(y0, y1):
            start = row * self.width + x0
            self.pixels[start:start + len(run)] = run

    def frame(self, x, y, w, h, colour):
        self.fill(x, y, w, 1, colour)
        self.fill(x, y + h - 1, w, 1, colour)
        self.fill(x, y, 1, h, colour)
        self.fill(x + w - 1, y, 1, h, colour)

    def text(self, x, y, string, font, colour, scale=1):
        """Draws a string with 16-pixel-high glyphs of font (the glyph
        table and the set of half-width code points); returns the x after
        it."""
        glyphs, narrow = font
        for ch in string:
            code = ord(ch) if ord(ch) in glyphs else ord("?")
            rows = glyphs[code]
            width = 8 if code in narrow else 16
            for ry, bits in enumerate(rows):
                for rx in range(width):
                    if bits & (0x8000 >> rx):
                        self.fill(x + rx * scale, y + ry * scale, scale, scale, colour)
            x += width * scale
        return x

    def rows(self):
        w = self.width
        return [self.pixels[r * w:(r + 1) * w] for r in range(self.height)]


def bmp(canvas, palette):
    """8-bit (palette of up to 256) or 4-bit (up to 16 colours) BMP,
    bottom-up rows padded to 4 bytes."""
    bpp = 4 if len(palette) <= 16 else 8
    colours = len(palette)
    row_bytes = ((canvas.width * bpp + 31) // 32) * 4
    body = bytearray()
    for row in reversed(canvas.rows()):
        if bpp == 8:
            packed = bytes(row)
        else:
            padded = bytes(row) + b"\0"
            packed = bytes((padded[i] << 4) | padded[i + 1] for i in range(0, canvas.width, 2))
        body += packed + b"\0" * (row_bytes - len(packed))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, bpp, 0,
                       len(body), 2835, 2835, colours, colours)
    return header + info + pal + bytes(body)


def _chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(canvas, palette):
    """8-bit palette PNG."""
    raw = b"".join(b"\0" + bytes(row) for row in canvas.rows())
    ihdr = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 3, 0, 0, 0)
    plte = b"".join(struct.pack("BBB", *c) for c in palette)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr) + _chunk(b"PLTE", plte)
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def ico(images):
    """Icon file from (canvas, palette) pairs of square canvases; each image
    is stored as a 32-bit BGRA bitmap with its AND mask, palette index 0 being
    transparent."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for canvas, palette in images:
        size = canvas.width
        xor = bytearray()
        mask_row = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(canvas.rows()):
            bits = bytearray(mask_row)
            for x, index in enumerate(row):
                r, g, b = palette[index]
                xor += struct.pack("BBBB", b, g, r, 0 if index == 0 else 255)
                if index == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + bytes(xor) + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)
