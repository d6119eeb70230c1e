#!/usr/bin/python3
"""Check the generated Tenkora Cells font.

Usage: test_cell_font.py FONT.ttf

For each of the 128 cell code points (U+E000..U+E03F, U+2800..U+283F) the
glyph's contours must be circles on the 2x3 dot grid, and the large circles
must sit exactly on the raised dots of that cell.  Small guide marks, if the
font has them, must sit exactly on the unraised positions.  The grid itself
is recovered from the font (two distinct x centres, three distinct y
centres), so the check does not depend on the exact geometry chosen by the
generator, only on the dot pattern.

Exits non-zero if anything fails and ends with 'N passed, M failed'.
"""

import sys

from fontTools.ttLib import TTFont

# NABCC characters indexed by dot mask (bit 0 = dot 1 ... bit 5 = dot 6).
# Written independently of the generator's table so that a wrong mapping
# there is caught here.
NABCC_BY_MASK = (" A1B'K2L@CIF/MSP\"E3H9O6R^DJG>NTQ,*5<-U8V.%[$+X!&;:4\\0Z7(_?W]#Y)=")

FAMILY = "Tenkora Cells"


def expected_mask(cp):
    if 0xE000 <= cp <= 0xE03F:
        return NABCC_BY_MASK.index(chr(0x20 + cp - 0xE000))
    if 0x2800 <= cp <= 0x283F:
        return cp - 0x2800
    raise ValueError(cp)


def contours_of(glyph, glyf):
    """Return a list of point lists, one per contour."""
    if glyph.numberOfContours <= 0:
        return []
    coords, end_pts, _flags = glyph.getCoordinates(glyf)
    out = []
    start = 0
    for end in end_pts:
        out.append([tuple(p) for p in coords[start:end + 1]])
        start = end + 1
    return out


def circle_info(points):
    """(cx2, cy2, w, h, signed_area) with doubled centres to stay integral."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    area = 0
    n = len(points)
    for i in range(n):
        x0, y0 = points[i]
        x1, y1 = points[(i + 1) % n]
        area += x0 * y1 - x1 * y0
    return (min(xs) + max(xs), min(ys) + max(ys),
            max(xs) - min(xs), max(ys) - min(ys), area)


class Results:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("FAIL:", what)
        return ok


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: %s FONT.ttf\n" % argv[0])
        return 2
    font = TTFont(argv[1])
    res = Results()

    # Naming and global metrics.
    family = font["name"].getDebugName(1)
    res.check(family == FAMILY, "family name is %r, want %r" % (family, FAMILY))
    order = font.getGlyphOrder()
    res.check(order[0] == ".notdef", "glyph 0 is %r, want .notdef" % order[0])
    cmap = font.getBestCmap()
    res.check(0x20 in cmap, "U+0020 space is mapped")
    advances = {font["hmtx"][g][0] for g in order}
    res.check(len(advances) == 1, "all advances equal (got %s)" % sorted(advances))
    res.check(font["post"].isFixedPitch != 0, "post.isFixedPitch is set")
    hhea = font["hhea"]
    res.check(hhea.ascent > 0 and hhea.descent < 0,
              "hhea ascent/descent %d/%d" % (hhea.ascent, hhea.descent))

    code_points = list(range(0xE000, 0xE040)) + list(range(0x2800, 0x2840))
    glyf = font["glyf"]

    # First pass: collect circles for every cell glyph.
    circles = {}
    missing = [cp for cp in code_points if cp not in cmap]
    res.check(not missing, "all 128 cell code points mapped (missing %s)"
              % ", ".join("U+%04X" % cp for cp in missing))
    for cp in code_points:
        if cp in cmap:
            circles[cp] = [circle_info(c) for c in contours_of(glyf[cmap[cp]], glyf)]

    all_circles = [c for cs in circles.values() for c in cs]
    sizes = sorted({c[2] for c in all_circles})
    xs = sorted({c[0] for c in all_circles})
    ys = sorted({c[1] for c in all_circles}, reverse=True)   # top row first
    shape_ok = res.check(
        all(c[2] == c[3] for c in all_circles),
        "every contour has a square bounding box")
    res.check(all(c[4] < 0 for c in all_circles),
              "every contour is clockwise")
    grid_ok = res.check(len(xs) == 2 and len(ys) == 3,
                        "contour centres form a 2x3 grid (x %s, y %s)" % (
                            [x / 2 for x in xs], [y / 2 for y in ys]))
    size_ok = res.check(1 <= len(sizes) <= 2,
                        "at most two circle sizes (got %s)" % sizes)
    if not (shape_ok and grid_ok and size_ok and all_circles):
        print("%d passed, %d failed" % (res.passed, res.failed + 1))
        return 1
    raised_size = sizes[-1]
    guide_size = sizes[0] if len(sizes) == 2 else None

    def dot_at(cx2, cy2):
        return xs.index(cx2) * 3 + ys.index(cy2) + 1

    # Second pass: per code point, compare against the expected pattern.
    for cp in code_points:
        if cp not in circles:
            continue
        mask = expected_mask(cp)
        want_raised = {d for d in range(1, 7) if mask & (1 << (d - 1))}
        raised = [dot_at(c[0], c[1]) for c in circles[cp] if c[2] == raised_size]
        guides = [dot_at(c[0], c[1]) for c in circles[cp] if c[2] == guide_size]
        want_guides = set(range(1, 7)) - want_raised if guide_size else set()
        ok = (sorted(raised) == sorted(want_raised)
              and sorted(guides) == sorted(want_guides))
        label = "U+%04X" % cp
        if cp >= 0xE000:
            label += " (NABCC %r)" % chr(0x20 + cp - 0xE000)
        res.check(ok, "%s: raised dots %s guides %s, want raised %s guides %s" % (
            label, sorted(raised), sorted(guides),
            sorted(want_raised), sorted(want_guides)))

    print("%d passed, %d failed" % (res.passed, res.failed))
    return 1 if res.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
