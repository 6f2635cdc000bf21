#!/usr/bin/env python3
"""Converts the Hershey simplex Roman font into the stroke-font table of naval/PolyFontGlyphs.cpp.

Usage: scripts/polyfont/convert.py [futural.jhf] > naval/PolyFontGlyphs.cpp

Glyphs are written in shape-code notation on a grid of whole units: capitals 6 units high on the
baseline, every glyph within an advance of 6. The line feed, "L" and "-" keep their definitions as
written by hand. Latin-1 letters are composed from the Roman letters and hand-drawn accents; the few
signs the Hershey set lacks are drawn by hand on the same grid. See HERSHEY-NOTICE beside this file.
"""
import math
import sys

FONT = "/usr/share/hershey-fonts/futural.jhf"
SCALE = 6.0 / 21.0      # capital height in Hershey units: 21
BASELINE = 9            # Hershey y of the baseline (y grows downwards)
ADVANCE = 6
MAX_WIDTH = 5

FIXED = {
    10: "2,0ac,14,8,(9,10),0",
    45: "2,14,8,(-2,-3),034,1,040,2,020,03c,14,048,0",
    76: "2,14,8,(-2,-6),064,1,06c,040,2,020,14,8,(-4,-3),0",
}

CODES = ([10] + list(range(32, 127)) + [128] + list(range(160, 164)) +
         [165, 167, 170, 171, 176, 177, 181] + list(range(186, 190)) + list(range(191, 215)) +
         list(range(216, 256)))


def read_hershey(path):
    text = open(path, encoding="ascii").read().replace("\n", "").replace("\r", "")
    glyphs, i = [], 0
    while i < len(text):
        count = int(text[i + 5:i + 8])
        data = text[i + 8:i + 8 + 2 * count]
        i += 8 + 2 * count
        left = ord(data[0]) - ord("R")
        strokes, current = [], []
        for k in range(2, len(data), 2):
            pair = data[k:k + 2]
            if pair == " R":
                if current:
                    strokes.append(current)
                current = []
                continue
            x = ord(pair[0]) - ord("R") - left
            y = BASELINE - (ord(pair[1]) - ord("R"))
            current.append((x * SCALE, y * SCALE))
        if current:
            strokes.append(current)
        glyphs.append(strokes)
    return glyphs


def ink(strokes):
    xs = [p[0] for s in strokes for p in s]
    return (min(xs), max(xs)) if xs else (0.0, 0.0)


def fit(strokes, lo=0.0, hi=None):
    """Float strokes moved (and narrowed when too wide) into whole units from x = lo."""
    width = MAX_WIDTH if hi is None else hi - lo
    x0, x1 = ink(strokes)
    k = min(1.0, width / (x1 - x0)) if x1 > x0 else 1.0
    return [[((x - x0) * k + lo, y) for x, y in s] for s in strokes]


def snap(strokes):
    """Whole units, repeated points dropped, a stroke shrunk to one point kept as a short tick."""
    out = []
    for s in strokes:
        pts = []
        for x, y in s:
            p = (math.floor(x + 0.5), math.floor(y + 0.5))
            if not pts or pts[-1] != p:
                pts.append(p)
        if len(pts) == 1:
            pts.append((pts[0][0], pts[0][1] + 1))
        out.append(pts)
    return out


def centred(strokes):
    """Narrow glyphs stand in the middle of the 4-unit letter cell."""
    if not strokes:
        return strokes
    x0 = min(p[0] for s in strokes for p in s)
    x1 = max(p[0] for s in strokes for p in s)
    dx = (4 - (x1 - x0)) // 2 - x0 if x1 - x0 < 4 else -x0
    return [[(x + dx, y) for x, y in s] for s in strokes]


def shifted(strokes, dx, dy):
    return [[(x + dx, y + dy) for x, y in s] for s in strokes]


def flipped(strokes):
    """Turned half a turn in the letter cell and lowered by two units (inverted marks)."""
    x1 = max(p[0] for s in strokes for p in s)
    return [[(x1 - x, 4 - y) for x, y in s] for s in strokes]


ACCENTS = {
    "grave": [[(-1, 1), (0, 0)]],
    "acute": [[(0, 0), (1, 1)]],
    "circ": [[(-1, 0), (0, 1), (1, 0)]],
    "tilde": [[(-2, 0), (-1, 1), (1, 0), (2, 1)]],
    "diaer": [[(-1, 0), (-1, 1)], [(1, 0), (1, 1)]],
    "ring": [[(0, 0), (1, 1), (0, 2), (-1, 1), (0, 0)]],
}


def accented(base, accent, capital):
    xs = [p[0] for s in base for p in s]
    cx = (min(xs) + max(xs) + 1) // 2
    top = 7 if capital else 5
    return base + shifted(ACCENTS[accent], cx, top)


def with_cedilla(base):
    xs = [p[0] for s in base for p in s]
    cx = (min(xs) + max(xs) + 1) // 2
    return base + [[(cx, 0), (cx, -1), (cx - 1, -2)]]


HAND = {
    51: [[(0, 6), (4, 6), (2, 4), (3, 4), (4, 3), (4, 1), (3, 0), (1, 0), (0, 1)]],
    63: [[(0, 5), (1, 6), (3, 6), (4, 5), (4, 4), (2, 3), (2, 2)], [(2, 0), (2, 1)]],
    163: [[(4, 5), (3, 6), (2, 6), (1, 5), (1, 0)], [(0, 3), (3, 3)], [(0, 0), (4, 0)]],
    165: [[(0, 6), (2, 3), (4, 6)], [(2, 3), (2, 0)], [(1, 2), (3, 2)]],
    167: [[(3, 6), (1, 6), (0, 5), (1, 4), (3, 3), (4, 2), (3, 1)],
          [(1, 5), (0, 4), (1, 3), (3, 2), (4, 1), (3, 0), (1, 0)]],
    170: [[(1, 6), (3, 6), (3, 4), (1, 4), (1, 5), (3, 5)], [(1, 3), (3, 3)]],
    171: [[(2, 4), (0, 2), (2, 0)], [(4, 4), (2, 2), (4, 0)]],
    176: [[(2, 4), (3, 5), (2, 6), (1, 5), (2, 4)]],
    177: [[(2, 5), (2, 1)], [(0, 3), (4, 3)], [(0, 0), (4, 0)]],
    181: [[(0, 4), (0, -2)], [(0, 1), (1, 0), (3, 0), (4, 1)], [(4, 4), (4, 0)]],
    186: [[(2, 4), (3, 5), (2, 6), (1, 5), (2, 4)], [(1, 3), (3, 3)]],
    187: [[(0, 4), (2, 2), (0, 0)], [(2, 4), (4, 2), (2, 0)]],
    188: [[(0, 5), (1, 6), (1, 3)], [(4, 6), (0, 0)], [(4, 0), (4, 3), (2, 1), (5, 1)]],
    189: [[(0, 5), (1, 6), (1, 3)], [(4, 6), (0, 0)], [(2, 3), (4, 3), (4, 2), (2, 1), (2, 0), (4, 0)]],
    222: [[(0, 6), (0, 0)], [(0, 5), (3, 5), (4, 4), (4, 2), (3, 1), (0, 1)]],
    223: [[(0, -1), (0, 5), (1, 6), (3, 6), (4, 5), (3, 3), (4, 2), (4, 1), (3, 0), (1, 0)]],
    247: [[(0, 3), (4, 3)], [(2, 5), (2, 6)], [(2, 0), (2, 1)]],
}

LATIN1 = {  # code: (base letter, accent)
    192: ("A", "grave"), 193: ("A", "acute"), 194: ("A", "circ"), 195: ("A", "tilde"),
    196: ("A", "diaer"), 197: ("A", "ring"), 200: ("E", "grave"), 201: ("E", "acute"),
    202: ("E", "circ"), 203: ("E", "diaer"), 204: ("I", "grave"), 205: ("I", "acute"),
    206: ("I", "circ"), 207: ("I", "diaer"), 209: ("N", "tilde"), 210: ("O", "grave"),
    211: ("O", "acute"), 212: ("O", "circ"), 213: ("O", "tilde"), 214: ("O", "diaer"),
    217: ("U", "grave"), 218: ("U", "acute"), 219: ("U", "circ"), 220: ("U", "diaer"),
    221: ("Y", "acute"),
    224: ("a", "grave"), 225: ("a", "acute"), 226: ("a", "circ"), 227: ("a", "tilde"),
    228: ("a", "diaer"), 229: ("a", "ring"), 232: ("e", "grave"), 233: ("e", "acute"),
    234: ("e", "circ"), 235: ("e", "diaer"), 236: ("dotless i", "grave"),
    237: ("dotless i", "acute"), 238: ("dotless i", "circ"), 239: ("dotless i", "diaer"),
    241: ("n", "tilde"), 242: ("o", "grave"), 243: ("o", "acute"), 244: ("o", "circ"),
    245: ("o", "tilde"), 246: ("o", "diaer"), 249: ("u", "grave"), 250: ("u", "acute"),
    251: ("u", "circ"), 252: ("u", "diaer"), 253: ("y", "acute"), 255: ("y", "diaer"),
}


def glyph_strokes(code, raw):
    def roman(ch):
        return HAND.get(ord(ch)) or centred(snap(fit(raw[ord(ch) - 32])))

    def pair(a, b):
        return centred(snap(fit(raw[ord(a) - 32], 0.0, 2.5) + fit(raw[ord(b) - 32], 2.5, 5.0)))

    def bbox(s):
        xs = [p[0] for t in s for p in t]
        return min(xs), max(xs)

    if code in HAND:
        return HAND[code]
    if 32 <= code <= 126:
        return roman(chr(code))
    if code == 160:
        return []
    if code in LATIN1:
        letter, accent = LATIN1[code]
        if letter == "dotless i":
            base = [s for s in roman("i") if max(p[1] for p in s) <= 4]
        else:
            base = roman(letter)
        return accented(base, accent, letter.isupper())
    if code == 128:
        c = roman("C")
        return c + [[(0, 2), (3, 2)], [(0, 4), (3, 4)]]
    if code in (161, 191):
        return centred(flipped(roman("!") if code == 161 else HAND[ord("?")]))
    if code == 162:
        c = roman("c")
        x0, x1 = bbox(c)
        return c + [[((x0 + x1 + 1) // 2, -1), ((x0 + x1 + 1) // 2, 5)]]
    if code in (199, 231):
        return with_cedilla(roman("C" if code == 199 else "c"))
    if code == 198:
        return pair("A", "E")
    if code == 230:
        return pair("a", "e")
    if code == 208:
        return shifted(roman("D"), 1, 0) + [[(0, 3), (3, 3)]]
    if code in (216, 248):
        o = roman("O" if code == 216 else "o")
        x0, x1 = bbox(o)
        return o + [[(x0, 0), (x1, 6 if code == 216 else 4)]]
    if code == 240:
        o = roman("o")
        x0, x1 = bbox(o)
        return o + [[(x1, 2), (x1 - 1, 5), (x0 + 1, 6)]]
    if code == 254:
        p = roman("p")
        x0, _ = bbox(p)
        return p + [[(x0, 4), (x0, 6)]]
    raise SystemExit(f"no glyph for code {code}")


DIRECTIONS = [(1, 0), (1, 0.5), (1, 1), (0.5, 1), (0, 1), (-0.5, 1), (-1, 1), (-1, 0.5),
              (-1, 0), (-1, -0.5), (-1, -1), (-0.5, -1), (0, -1), (0.5, -1), (1, -1), (1, -0.5)]


def move(dx, dy):
    if dx == 0 and dy == 0:
        return []
    for d, (sx, sy) in enumerate(DIRECTIONS):
        n = dx / sx if sx else dy / sy
        if n == int(n) and 1 <= n <= 15 and n * sx == dx and n * sy == dy:
            return ["0%x%x" % (int(n), d)]
    return ["8", "(%d,%d)" % (dx, dy)]


def encode(strokes):
    tokens, pos = ["2"], (0, 0)
    for s in strokes:
        tokens += move(s[0][0] - pos[0], s[0][1] - pos[1])
        tokens.append("1")
        for a, b in zip(s, s[1:]):
            tokens += move(b[0] - a[0], b[1] - a[1])
        tokens.append("2")
        pos = s[-1]
    tokens += move(ADVANCE - pos[0], -pos[1])
    tokens.append("0")
    return ",".join(tokens)


def main():
    raw = read_hershey(sys.argv[1] if len(sys.argv) > 1 else FONT)
    out = sys.stdout
    out.write("// The glyphs of the program's single-stroke font, one definition per character code in\n"
              "// shape-code notation. Written by scripts/polyfont/convert.py: edit the converter, not this file.\n"
              "//\n"
              "// Derived from the Hershey fonts (simplex Roman). Acknowledgements that travel with the data:\n"
              "// - The Hershey Fonts were originally created by Dr. A. V. Hershey while working at the\n"
              "//   U. S. National Bureau of Standards.\n"
              "// - The format of the Font data in this distribution was originally created by James Hurt,\n"
              "//   Cognition, Inc., 900 Technology Park Drive, Billerica, MA 01821.\n"
              "// See scripts/polyfont/HERSHEY-NOTICE.\n"
              "#include \"naval/PolyFont.h\"\n\n"
              "namespace sarnova {\n\n"
              "const std::array<TGlyphEntry, %d> GGlyphDefinitions = {{\n" % len(CODES))
    for code in CODES:
        text = FIXED.get(code) or encode(glyph_strokes(code, raw))
        out.write('    {%d, "%s"},\n' % (code, text))
    out.write("}};\n\n}  // namespace sarnova\n")


if __name__ == "__main__":
    main()
