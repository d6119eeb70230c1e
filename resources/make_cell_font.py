#!/usr/bin/python3
"""Generate the Tenkora Cells TrueType font.

The font shows the six-dot pattern of
  * U+E000..U+E03F  editor cell characters; U+E000 + k is NABCC code 0x20 + k
  * U+2800..U+283F  Unicode braille patterns, dot mask m = code - 0x2800
                    (bit 0 = dot 1 ... bit 5 = dot 6)
plus .notdef and U+0020 space.

Usage: make_cell_font.py OUTPUT.ttf [--no-guides]

Glyph layout (1000 units per em, every glyph advances 600):

        x=175   x=425
         dot1    dot4     y=630
         dot2    dot5     y=380
         dot3    dot6     y=130

Raised dots are filled circles of radius 80.  Unraised positions get a
small filled guide mark of radius 16 so that a blank cell still shows its
width and the layout stays readable (omit them with --no-guides).  The
middle row sits at the centre of a 880/-120 em box, which is where Japanese
fonts centre their ideographs, so cells line up with Japanese text set at
the same point size.

The output is deterministic: fixed timestamps, no environment-dependent data.
"""

import math
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables.O_S_2f_2 import Panose

FAMILY = "Tenkora Cells"
STYLE = "Regular"
PS_NAME = "TenkoraCells-Regular"
VERSION = "1.000"

UPM = 1000
ADVANCE = 600
ASCENT = 880
DESCENT = -120

COLUMN_X = (175, 425)            # left column: dots 1-3, right column: dots 4-6
ROW_Y = (630, 380, 130)          # top, middle, bottom row
DOT_RADIUS = 80
GUIDE_RADIUS = 16

# 2015-01-01T00:00:00Z in seconds since 1904-01-01 (the TrueType epoch).
FIXED_TIMESTAMP = 3502828800

# NABCC (North American Braille ASCII) character for each dot set.
NABCC_BY_DOTS = {
    "": " ", "2346": "!", "5": '"', "3456": "#", "1246": "$", "146": "%",
    "12346": "&", "3": "'", "12356": "(", "23456": ")", "16": "*", "346": "+",
    "6": ",", "36": "-", "46": ".", "34": "/", "356": "0", "2": "1", "23": "2",
    "25": "3", "256": "4", "26": "5", "235": "6", "2356": "7", "236": "8",
    "35": "9", "156": ":", "56": ";", "126": "<", "123456": "=", "345": ">",
    "1456": "?", "4": "@", "1": "A", "12": "B", "14": "C", "145": "D",
    "15": "E", "124": "F", "1245": "G", "125": "H", "24": "I", "245": "J",
    "13": "K", "123": "L", "134": "M", "1345": "N", "135": "O", "1234": "P",
    "12345": "Q", "1235": "R", "234": "S", "2345": "T", "136": "U",
    "1236": "V", "2456": "W", "1346": "X", "13456": "Y", "1356": "Z",
    "246": "[", "1256": "\\", "12456": "]", "45": "^", "456": "_",
}


def dots_to_mask(dots):
    mask = 0
    for d in dots:
        mask |= 1 << (int(d) - 1)
    return mask


def nabcc_mask_table():
    """Return a list mapping k (NABCC code 0x20 + k) to its dot mask."""
    table = [None] * 64
    for dots, ch in NABCC_BY_DOTS.items():
        k = ord(ch) - 0x20
        if not 0 <= k < 64 or table[k] is not None:
            raise ValueError("bad NABCC table entry %r -> %r" % (dots, ch))
        table[k] = dots_to_mask(dots)
    if None in table or sorted(table) != list(range(64)):
        raise ValueError("NABCC table is not a bijection onto the 64 cells")
    return table


def dot_centre(dot):
    """Centre (x, y) of dot number 1..6."""
    col = (dot - 1) // 3
    row = (dot - 1) % 3
    return COLUMN_X[col], ROW_Y[row]


def draw_circle(pen, cx, cy, r):
    """Clockwise quadratic circle: 8 arcs of 45 degrees.

    On-curve points sit at multiples of 45 degrees, the off-curve control
    point of each arc at r / cos(22.5 deg) on the bisecting angle.  All
    offsets are rounded symmetrically about the integer centre, so the
    contour's point bounding box is centred exactly on (cx, cy).
    """
    k = r / math.cos(math.pi / 8)

    def pt(angle_deg, radius):
        a = math.radians(angle_deg)
        return (cx + round(radius * math.cos(a)), cy + round(radius * math.sin(a)))

    # Clockwise in y-up coordinates means decreasing angle.
    pen.moveTo(pt(0, r))
    for i in range(8):
        start = -45 * i
        pen.qCurveTo(pt(start - 22.5, k), pt(start - 45, r))
    pen.closePath()


def cell_glyph(mask, guides):
    pen = TTGlyphPen(None)
    for dot in range(1, 7):
        cx, cy = dot_centre(dot)
        if mask & (1 << (dot - 1)):
            draw_circle(pen, cx, cy, DOT_RADIUS)
        elif guides:
            draw_circle(pen, cx, cy, GUIDE_RADIUS)
    return pen.glyph()


def notdef_glyph():
    pen = TTGlyphPen(None)
    x0, x1, y0, y1, w = 60, ADVANCE - 60, 0, 760, 50
    # Outer contour clockwise, inner counter-clockwise.
    pen.moveTo((x0, y0)); pen.lineTo((x0, y1)); pen.lineTo((x1, y1)); pen.lineTo((x1, y0))
    pen.closePath()
    pen.moveTo((x0 + w, y0 + w)); pen.lineTo((x1 - w, y0 + w))
    pen.lineTo((x1 - w, y1 - w)); pen.lineTo((x0 + w, y1 - w))
    pen.closePath()
    return pen.glyph()


def build(guides=True):
    nabcc = nabcc_mask_table()

    glyph_order = [".notdef", "space"]
    cmap = {0x20: "space"}
    glyphs = {".notdef": notdef_glyph(), "space": TTGlyphPen(None).glyph()}

    for k in range(64):
        name = "uni%04X" % (0xE000 + k)
        glyph_order.append(name)
        cmap[0xE000 + k] = name
        glyphs[name] = cell_glyph(nabcc[k], guides)
    for m in range(64):
        name = "uni%04X" % (0x2800 + m)
        glyph_order.append(name)
        cmap[0x2800 + m] = name
        glyphs[name] = cell_glyph(m, guides)

    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(glyph_order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    metrics = {}
    glyf = fb.font["glyf"]
    for name in glyph_order:
        g = glyf[name]
        lsb = getattr(g, "xMin", 0) if g.numberOfContours else 0
        metrics[name] = (ADVANCE, lsb)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=DESCENT, lineGap=0)
    fb.setupNameTable({
        "familyName": FAMILY,
        "styleName": STYLE,
        "uniqueFontIdentifier": "%s;%s" % (PS_NAME, VERSION),
        "fullName": "%s %s" % (FAMILY, STYLE),
        "psName": PS_NAME,
        "version": "Version %s" % VERSION,
        "description": "Six-dot braille cell shapes for the Tenkora editor",
    })
    fb.setupOS2(
        version=4,
        xAvgCharWidth=ADVANCE,
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,
        fsSelection=0x40 | 0x80,          # REGULAR | USE_TYPO_METRICS
        sTypoAscender=ASCENT,
        sTypoDescender=DESCENT,
        sTypoLineGap=0,
        usWinAscent=ASCENT,
        usWinDescent=-DESCENT,
        sxHeight=500,
        sCapHeight=700,
        usDefaultChar=0,
        usBreakChar=0x20,
        usMaxContext=0,
        achVendID="TNKR",
        ulCodePageRange1=0,
        ulCodePageRange2=0,
    )
    os2 = fb.font["OS/2"]
    panose = Panose()
    for field in ("bFamilyType", "bSerifStyle", "bWeight", "bProportion",
                  "bContrast", "bStrokeVariation", "bArmStyle", "bLetterForm",
                  "bMidline", "bXHeight"):
        setattr(panose, field, 0)
    panose.bFamilyType = 5              # pictorial
    panose.bProportion = 9              # monospaced
    os2.panose = panose
    os2.recalcUnicodeRanges(fb.font)
    fb.setupPost(isFixedPitch=1, underlinePosition=-100, underlineThickness=50)
    fb.setupHead(
        unitsPerEm=UPM,
        fontRevision=float(VERSION),
        created=FIXED_TIMESTAMP,
        modified=FIXED_TIMESTAMP,
        macStyle=0,
    )
    fb.font.recalcTimestamp = False
    return fb.font


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    flags = [a for a in argv[1:] if a.startswith("--")]
    unknown = [f for f in flags if f != "--no-guides"]
    if len(args) != 1 or unknown:
        sys.stderr.write("usage: %s OUTPUT.ttf [--no-guides]\n" % argv[0])
        return 2
    font = build(guides="--no-guides" not in flags)
    font.save(args[0])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
