"""Glyph outlines of a TrueType font or collection (quadratic "glyf"
outlines, as WenQuanYi Zen Hei has them), turned into 1-bit pixels.

Only what the installer's larger glyphs need: the Unicode (3, 1) character
map of format 4, simple and composite glyphs, advances and bounding boxes.
The rasteriser samples every pixel on a 4 x 4 grid with the non-zero
winding rule and inks the pixels that the outline covers at least half:
no hinting, and no grey, so the result is as crisp as the atlas cells.
"""
import math
import struct

SAMPLES = 4     # sub-rows and sub-columns per pixel
CURVE_STEPS = 8  # line segments per quadratic curve


class OutlineFont:
    def __init__(self, path, face=0):
        with open(path, "rb") as f:
            self.data = data = f.read()
        start = 0
        if data[:4] == b"ttcf":
            count = struct.unpack_from(">I", data, 8)[0]
            if face >= count:
                raise SystemExit("%s holds %d faces, not %d" % (path, count, face + 1))
            start = struct.unpack_from(">I", data, 12 + 4 * face)[0]
        tables = struct.unpack_from(">H", data, start + 4)[0]
        self.tables = {}
        for i in range(tables):
            tag, _, offset, _ = struct.unpack_from(">4sIII", data, start + 12 + 16 * i)
            self.tables[tag.decode("latin-1")] = offset
        for tag in ("head", "hhea", "hmtx", "loca", "glyf", "cmap"):
            if tag not in self.tables:
                raise SystemExit("%s: no '%s' table (a TrueType outline font is needed)" % (path, tag))
        head = self.tables["head"]
        self.units_per_em = struct.unpack_from(">H", data, head + 18)[0]
        self.long_offsets = struct.unpack_from(">h", data, head + 50)[0] == 1
        self.metrics = struct.unpack_from(">H", data, self.tables["hhea"] + 34)[0]
        self.map = self._character_map()

    def _character_map(self):
        data, cmap = self.data, self.tables["cmap"]
        for i in range(struct.unpack_from(">H", data, cmap + 2)[0]):
            platform, encoding, offset = struct.unpack_from(">HHI", data, cmap + 4 + 8 * i)
            at = cmap + offset
            if (platform, encoding) == (3, 1) and struct.unpack_from(">H", data, at)[0] == 4:
                return self._format4(at)
        raise SystemExit("the font has no Unicode character map of format 4")

    def _format4(self, at):
        data = self.data
        segments = struct.unpack_from(">H", data, at + 6)[0] // 2
        ends = struct.unpack_from(">%dH" % segments, data, at + 14)
        starts_at = at + 16 + 2 * segments
        starts = struct.unpack_from(">%dH" % segments, data, starts_at)
        deltas = struct.unpack_from(">%dh" % segments, data, starts_at + 2 * segments)
        ranges_at = starts_at + 4 * segments
        ranges = struct.unpack_from(">%dH" % segments, data, ranges_at)
        glyphs = {}
        for k in range(segments):
            for code in range(starts[k], min(ends[k], 0xFFFE) + 1):
                if ranges[k] == 0:
                    glyph = (code + deltas[k]) & 0xFFFF
                else:
                    where = ranges_at + 2 * k + ranges[k] + 2 * (code - starts[k])
                    glyph = struct.unpack_from(">H", data, where)[0]
                    if glyph:
                        glyph = (glyph + deltas[k]) & 0xFFFF
                if glyph:
                    glyphs[code] = glyph
        return glyphs

    def glyph(self, code_point):
        """The glyph id of a character, or None where the font has none."""
        return self.map.get(code_point)

    def advance(self, glyph):
        index = min(glyph, self.metrics - 1)
        return struct.unpack_from(">H", self.data, self.tables["hmtx"] + 4 * index)[0]

    def _extent(self, glyph):
        loca = self.tables["loca"]
        if self.long_offsets:
            return struct.unpack_from(">II", self.data, loca + 4 * glyph)
        a, b = struct.unpack_from(">HH", self.data, loca + 2 * glyph)
        return 2 * a, 2 * b

    def bounds(self, glyph):
        """(x min, y min, x max, y max) in font units; None for an empty glyph."""
        start, end = self._extent(glyph)
        if start == end:
            return None
        return struct.unpack_from(">4h", self.data, self.tables["glyf"] + start + 2)

    def contours(self, glyph):
        """Closed contours, each a list of (x, y, on-curve) points in font units."""
        start, end = self._extent(glyph)
        if start == end:
            return []
        at = self.tables["glyf"] + start
        count = struct.unpack_from(">h", self.data, at)[0]
        if count < 0:
            return self._composite(at + 10)
        return self._simple(at + 10, count)

    def _simple(self, at, count):
        data = self.data
        ends = struct.unpack_from(">%dH" % count, data, at)
        at += 2 * count
        at += 2 + struct.unpack_from(">H", data, at)[0]     # instructions
        points = ends[-1] + 1 if count else 0
        flags = []
        while len(flags) < points:
            flag = data[at]
            at += 1
            flags.append(flag)
            if flag & 8:
                flags.extend([flag] * data[at])
                at += 1
        coordinates = []
        for short, same in ((2, 16), (4, 32)):
            value, values = 0, []
            for flag in flags:
                if flag & short:
                    value += data[at] if flag & same else -data[at]
                    at += 1
                elif not flag & same:
                    value += struct.unpack_from(">h", data, at)[0]
                    at += 2
                values.append(value)
            coordinates.append(values)
        xs, ys = coordinates
        result, first = [], 0
        for last in ends:
            result.append([(xs[i], ys[i], flags[i] & 1) for i in range(first, last + 1)])
            first = last + 1
        return result

    def _composite(self, at):
        data = self.data
        result = []
        while True:
            flags, glyph = struct.unpack_from(">HH", data, at)
            at += 4
            if flags & 1:
                dx, dy = struct.unpack_from(">hh", data, at)
                at += 4
            else:
                dx, dy = struct.unpack_from(">bb", data, at)
                at += 2
            xx, xy, yx, yy = 1.0, 0.0, 0.0, 1.0
            if flags & 8:
                xx = yy = struct.unpack_from(">h", data, at)[0] / 16384
                at += 2
            elif flags & 0x40:
                xx, yy = (v / 16384 for v in struct.unpack_from(">hh", data, at))
                at += 4
            elif flags & 0x80:
                xx, xy, yx, yy = (v / 16384 for v in struct.unpack_from(">4h", data, at))
                at += 8
            for contour in self.contours(glyph):
                result.append([(x * xx + y * yx + dx, x * xy + y * yy + dy, on)
                               for x, y, on in contour])
            if not flags & 0x20:
                return result


def _curve(p0, control, p1, out):
    for step in range(1, CURVE_STEPS + 1):
        t = step / CURVE_STEPS
        a, b, c = (1 - t) * (1 - t), 2 * (1 - t) * t, t * t
        out.append((a * p0[0] + b * control[0] + c * p1[0],
                    a * p0[1] + b * control[1] + c * p1[1]))


def polygon(contour):
    """A contour of on- and off-curve points as a closed polygon."""
    if not any(on for _, _, on in contour):
        # Only off-curve points: the implied on-curve point between the
        # first two starts the walk.
        (x0, y0, _), (x1, y1, _) = contour[0], contour[1]
        contour = [((x0 + x1) / 2, (y0 + y1) / 2, 1)] + contour[1:] + contour[:1]
    first = next(i for i, p in enumerate(contour) if p[2])
    points = contour[first:] + contour[:first] + [contour[first]]
    out = [points[0][:2]]
    current, control = points[0], None
    for point in points[1:]:
        if point[2]:
            if control is None:
                out.append(point[:2])
            else:
                _curve(current, control, point, out)
            current, control = point, None
        elif control is None:
            control = point
        else:
            middle = ((control[0] + point[0]) / 2, (control[1] + point[1]) / 2, 1)
            _curve(current, control, middle, out)
            current, control = middle, point
    return out


def rasterize(font, glyph, size, baseline, shift=0.0):
    """The glyph in a size x size cell: a list of size rows, each an int with
    bit (size - 1 - x) set where pixel x is ink. Font units scale by
    size / units per em; the font's baseline lies on the top edge of pixel
    row baseline, its origin shift pixels right of the cell's left edge."""
    scale = size / font.units_per_em
    grid = size * SAMPLES
    crossings = [[] for _ in range(grid)]
    for contour in font.contours(glyph):
        points = [((x * scale + shift) * SAMPLES, (baseline - y * scale) * SAMPLES)
                  for x, y in polygon(contour)]
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            if y0 == y1:
                continue
            direction = 1 if y1 > y0 else -1
            low, high = (y0, y1) if y0 < y1 else (y1, y0)
            # The sub-rows whose centre the edge crosses: low <= row + 0.5 < high.
            for row in range(max(0, math.ceil(low - 0.5)), min(grid, math.ceil(high - 0.5))):
                x = x0 + (row + 0.5 - y0) * (x1 - x0) / (y1 - y0)
                crossings[row].append((x, direction))
    coverage = [[0] * size for _ in range(size)]
    for row, found in enumerate(crossings):
        if not found:
            continue
        found.sort()
        counts = coverage[row // SAMPLES]
        winding = 0
        for (x, direction), (next_x, _) in zip(found, found[1:]):
            winding += direction
            if winding:
                # The sub-columns whose centre lies in [x, next_x).
                for column in range(max(0, math.ceil(x - 0.5)), min(grid, math.ceil(next_x - 0.5))):
                    counts[column // SAMPLES] += 1
    half = SAMPLES * SAMPLES // 2
    rows = []
    for counts in coverage:
        bits = 0
        for x, count in enumerate(counts):
            if count >= half:
                bits |= 1 << (size - 1 - x)
        rows.append(bits)
    return rows
