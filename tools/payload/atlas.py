"""The installer's 16x16 glyph atlas, drawn from GNU Unifont.

Four planes of 512x944 pixels, 1 bit per pixel, most significant bit
leftmost, a set bit is paper. Cells of 16x16 pixels run row by row, 32 to a
cell row, 59 cell rows to a plane.
"""

PLANES = 4
ROW_BYTES = 64
PLANE_ROWS = 944
PLANE_BYTES = ROW_BYTES * PLANE_ROWS          # 60,416
ATLAS_BYTES = PLANES * PLANE_BYTES            # 241,664
CELLS = PLANES * (PLANE_ROWS // 16) * 32      # 7,552

FIRST_HANZI_CELL = 658
SPARE_CELLS = list(range(7426, 7456)) + list(range(7458, 7488))
SPARE_FILL = 0xCD
CELL_U9555 = 7456      # GBK 0xE946, outside GB2312
CELL_U2500 = 7457      # GBK 0xA9A4, the light horizontal line


def cell_offset(cell):
    """Byte offset of the cell's top row in the atlas."""
    r = cell // 32
    plane, row = divmod(r, 59)
    return plane * PLANE_BYTES + row * 16 * ROW_BYTES + (cell % 32) * 2


def load_unifont(path):
    """Code point -> list of 16 row bitmaps (16-bit, ink set, MSB left), and
    the code points that are 8 pixels wide."""
    glyphs, narrow = {}, set()
    with open(path, "r", encoding="ascii") as f:
        for line in f:
            cp, _, bits = line.strip().partition(":")
            code = int(cp, 16)
            if code > 0xFFFF:
                continue
            if len(bits) == 32:
                glyphs[code] = [int(bits[i:i + 2], 16) << 8 for i in range(0, 32, 2)]
                narrow.add(code)
            elif len(bits) == 64:
                glyphs[code] = [int(bits[i:i + 4], 16) for i in range(0, 64, 4)]
    return glyphs, narrow


def joins_neighbours(code):
    """Glyphs drawn as lines that meet the next cell: box drawing, and the
    horizontal bar that Chinese text doubles into a dash."""
    return 0x2500 <= code <= 0x257F or code == 0x2015


def _stretch(byte_row):
    """Doubles each of the 8 pixels of a half-width row (in the high byte)."""
    src = byte_row >> 8
    out = 0
    for i in range(8):
        if src & (0x80 >> i):
            out |= 0xC000 >> (2 * i)
    return out


def cell_rows(code, glyphs, narrow):
    """The 16 ink rows of a character's cell. Half-width glyphs are centred,
    except lines meant to join (box drawing, the dash bar), which are
    stretched so that they reach both edges."""
    rows = glyphs[code]
    if code in narrow:
        if joins_neighbours(code):
            return [_stretch(r) for r in rows]
        return [r >> 4 for r in rows]
    return rows


def gb2312_char(lead, trail):
    """Unicode code point of a GB2312 code, or None where GB2312 has none."""
    try:
        return ord(bytes((lead, trail)).decode("gb2312"))
    except UnicodeDecodeError:
        return None


def cell_codes():
    """GB2312 code (lead, trail) for every glyph cell that holds a
    GB2312 character position, in cell order: rows 1-5, row 9 in the row-6
    slot, row 7, hanzi rows 16-87."""
    layout = []
    lead_rows = [0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA9, 0xA7] + list(range(0xB0, 0xF8))
    cell = 0
    for lead in lead_rows:
        for trail in range(0xA1, 0xFF):
            layout.append((cell, lead, trail))
            cell += 1
    return layout


def all_gb2312():
    """Every character GB2312 defines (7,445 of them)."""
    chars = []
    for lead in range(0xA1, 0xF8):
        for trail in range(0xA1, 0xFF):
            cp = gb2312_char(lead, trail)
            if cp is not None:
                chars.append(cp)
    return chars


def build_atlas(font, report=None):
    """The 241,664 atlas bytes from the font loaded by load_unifont."""
    glyphs, narrow = font
    defined = all_gb2312()
    missing = [cp for cp in defined if cp not in glyphs]
    if missing:
        raise SystemExit("unifont lacks %d GB2312 characters, e.g. U+%04X"
                         % (len(missing), missing[0]))
    if report:
        half = sum(1 for cp in defined if cp in narrow)
        report("glyph atlas: all %d GB2312 characters found in Unifont (%d half-width)"
               % (len(defined), half))

    atlas = bytearray(b"\xff" * ATLAS_BYTES)

    def put(cell, code):
        off = cell_offset(cell)
        for row, ink in enumerate(cell_rows(code, glyphs, narrow)):
            paper = ~ink & 0xFFFF
            atlas[off + row * ROW_BYTES] = paper >> 8
            atlas[off + row * ROW_BYTES + 1] = paper & 0xFF

    for cell, lead, trail in cell_codes():
        cp = gb2312_char(lead, trail)
        if cp is not None and cp != 0x3000:
            put(cell, cp)
    for cell in SPARE_CELLS:
        off = cell_offset(cell)
        for row in range(16):
            atlas[off + row * ROW_BYTES:off + row * ROW_BYTES + 2] = bytes((SPARE_FILL,) * 2)
    put(CELL_U9555, 0x9555)
    put(CELL_U2500, 0x2500)
    return bytes(atlas)
