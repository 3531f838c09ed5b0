#!/usr/bin/python3
"""Renders Kestro's bitmap fonts from DejaVu and writes Data/Config/Font.txt.

Each font is a grid of fixed-size cells, one glyph per cell, for the single-byte character codes
32 to 255 (Windows-1252; codes that page leaves undefined repeat the '*' glyph, which is also what
the program draws for a code it has no glyph for). Glyphs are hinted by FreeType to the cell's
exact pixel size, so at scale 1 every stem lands on whole pixels; the texture keeps the coverage
in alpha over white so that the current drawing colour tints the text.

Usage: tools/fonts/make_fonts.py [--data DIR] [--preview PNG]
"""

import argparse
import os
import sys

import numpy as np
from PIL import Image

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import freetype_glyphs as ft  # noqa: E402

DEJAVU = "/usr/share/fonts/truetype/dejavu/"
FIRST_CODE = 32
LAST_CODE = 255
GLYPH_COUNT = LAST_CODE - FIRST_CODE + 1  # 224 = 16 x 14 = 28 x 8
FALLBACK_CODE = ord("*")  # glyph 10: what the program draws for a code outside the font

# name, face file, cell width and height (pixels), blank columns kept between neighbouring glyphs
# (none for the 6-pixel font: there the natural 6-pixel advance of DejaVu Sans Mono reads better
# than a condensed glyph, though "mm" and "ww" may touch).
# The pixel sizes handed to FreeType are fitted to the cell (fit_sizes): the largest height whose
# ASCII glyphs fit the line, and independently the largest width whose glyphs leave the gap, so a
# 9 x 12 cell gets a slightly wide glyph rather than a narrow one lost in empty space.
FONTS = [
    ("F06x12", "DejaVuSansMono.ttf", (6, 12), 0),
    ("F07x12S", "DejaVuSansMono.ttf", (7, 12), 1),
    ("F07x12B", "DejaVuSansMono-Bold.ttf", (7, 12), 1),
    ("F09x12", "DejaVuSansMono.ttf", (9, 12), 1),
    ("F09x13B", "DejaVuSansMono-Bold.ttf", (9, 13), 1),
    ("F20x32Courier", "DejaVuSansMono-Bold.ttf", (20, 32), 2),
]

HINTING = ft.FT_LOAD_TARGET_NORMAL
SAMPLE = "!#$%&'()*+,-./ 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ [\\]^_`abcdefghijklmnopqrstuvwxyz"


def unicode_of(code):
    """The character a single-byte code stands for, or None where Windows-1252 has none."""
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return None


def next_pow2(n):
    p = 1
    while p < n:
        p *= 2
    return p


def grid_layout(cell_w, cell_h):
    """Columns, rows and power-of-two texture size holding every glyph with the least area.

    The texture is padded to powers of two because OSG would otherwise rescale it on upload,
    smearing glyphs that must stay pixel-exact.
    """
    best = None
    for cols in range(1, GLYPH_COUNT + 1):
        if GLYPH_COUNT % cols:
            continue
        rows = GLYPH_COUNT // cols
        tw, th = next_pow2(cols * cell_w), next_pow2(rows * cell_h)
        key = (tw * th, abs(tw - th))
        if best is None or key < best[0]:
            best = (key, cols, rows, tw, th)
    return best[1:]


def ascii_extent(face, ppem):
    """Largest ascent, descent and ink width (pixels) of the printable ASCII glyphs."""
    face.set_pixel_sizes(*ppem)
    glyphs = [face.render(c, HINTING) for c in range(33, 127)]
    return (max(g.top for g in glyphs), max(g.rows - g.top for g in glyphs),
            max(g.width for g in glyphs))


def fit_sizes(face_file, cell, gap):
    """The largest (x, y) pixel sizes whose ASCII glyphs fit the cell with the given gap."""
    face = ft.Face(DEJAVU + face_file)
    cell_w, cell_h = cell
    y = cell_h * 2
    while y > 4 and sum(ascii_extent(face, (y, y))[:2]) > cell_h:
        y -= 1
    x = cell_w * 3
    while x > 4 and ascii_extent(face, (x, y))[2] > cell_w - gap:
        x -= 1
    return x, y


def render_font(face_file, ppem, cell):
    """Returns a list of GLYPH_COUNT coverage arrays (cell_h x cell_w) and a clip report."""
    face = ft.Face(DEJAVU + face_file)
    face.set_pixel_sizes(*ppem)
    cell_w, cell_h = cell
    glyphs = {}
    for code in range(FIRST_CODE, LAST_CODE + 1):
        ch = unicode_of(code)
        if ch is None or not face.has_char(ord(ch)):
            ch = chr(FALLBACK_CODE)
        glyphs[code] = face.render(ord(ch), HINTING)

    # The baseline is placed so that every printable ASCII glyph fits the cell, with any spare
    # rows shared between top and bottom; accents of Latin capitals may be cut at the top.
    ascii_codes = range(33, 127)
    ascent = max(glyphs[c].top for c in ascii_codes)
    descent = max(glyphs[c].rows - glyphs[c].top for c in ascii_codes)
    if ascent + descent > cell_h:
        raise RuntimeError("%s at %s does not fit a %d-pixel line (%d + %d)" %
                           (face_file, ppem, cell_h, ascent, descent))
    spare = cell_h - ascent - descent
    baseline = ascent + (spare + 1) // 2

    # Accented capitals reach higher than anything in ASCII, and a few Latin-1 letters are wider;
    # they are drawn a little smaller, on the same baseline, rather than cut by the cell edge.
    for code, g in glyphs.items():
        y = ppem[1]
        while (g.top > baseline or g.width > cell_w) and y > ppem[1] // 2:
            y -= 1
            face.set_pixel_sizes(max(1, ppem[0] * y // ppem[1]), y)
            g = face.render(ord(unicode_of(code) or chr(FALLBACK_CODE)), HINTING)
        glyphs[code] = g
    face.set_pixel_sizes(*ppem)

    cells = []
    clipped = []
    for code in range(FIRST_CODE, LAST_CODE + 1):
        g = glyphs[code]
        img = np.zeros((cell_h, cell_w), dtype=np.uint8)
        # Centre the hinted advance in the cell, apply the glyph's own bearing, and pull ink
        # that would stick out of the cell back in (a hinted stem may reach past the advance).
        x0 = int(round((cell_w - g.advance) / 2.0)) + g.left
        x0 = max(0, min(x0, cell_w - g.width)) if g.width <= cell_w else (cell_w - g.width) // 2
        y0 = baseline - g.top
        cov = np.array(g.coverage, dtype=np.uint8).reshape(g.rows, g.width)
        sx0, sy0 = max(0, -x0), max(0, -y0)
        sx1, sy1 = min(g.width, cell_w - x0), min(g.rows, cell_h - y0)
        if sx1 > sx0 and sy1 > sy0:
            img[y0 + sy0:y0 + sy1, x0 + sx0:x0 + sx1] = cov[sy0:sy1, sx0:sx1]
        if (sx0, sy0, sx1, sy1) != (0, 0, g.width, g.rows) and cov.any():
            lost = int(cov.sum()) - int(cov[sy0:sy1, sx0:sx1].sum()) if sx1 > sx0 and sy1 > sy0 \
                else int(cov.sum())
            if lost > 0:
                clipped.append(code)
        cells.append(img)
    return cells, clipped


def build_texture(cells, cell, cols, rows, tex_size):
    cell_w, cell_h = cell
    alpha = np.zeros((tex_size[1], tex_size[0]), dtype=np.uint8)
    for k, img in enumerate(cells):
        r, c = divmod(k, cols)
        alpha[r * cell_h:(r + 1) * cell_h, c * cell_w:(c + 1) * cell_w] = img
    rgba = np.zeros((tex_size[1], tex_size[0], 4), dtype=np.uint8)
    rgba[..., 0:3] = 255
    rgba[..., 3] = alpha
    return Image.fromarray(rgba, "RGBA")


FONT_TXT_HEAD = """// Bitmap fonts. Generated by tools/fonts/make_fonts.py from DejaVu; do not edit by hand.
// Each texture is a grid of NUM_COLUMNS x NUM_ROWS cells of CHAR_WIDTH x CHAR_HEIGHT pixels,
// read row by row from the top left; cell k holds the character with code 32 + k
// (Windows-1252, codes 32 to 255). Glyph coverage is in alpha over white.
"""


def font_block(name, texture, cell, cols, rows):
    return ("\n.FONT %s\n{\n"
            "  .TEXTURE      %s\n"
            "  .CHAR_WIDTH   %d\n"
            "  .CHAR_HEIGHT  %d\n"
            "  .INTERCHAR    0\n"
            "  .INTERLINE    0\n"
            "  .NUM_COLUMNS  %d\n"
            "  .NUM_ROWS     %d\n"
            "}\n") % (name, texture, cell[0], cell[1], cols, rows)


def draw_text(canvas, font, x, y, text):
    """Pastes glyph cells like the program's text drawing at scale 1 (for the preview)."""
    cells, cell = font
    for i, ch in enumerate(text):
        code = ord(ch)
        k = code - FIRST_CODE if FIRST_CODE < code <= LAST_CODE else FALLBACK_CODE - FIRST_CODE
        if ch == " ":
            continue
        a = cells[k].astype(np.float32) / 255.0
        px = x + i * cell[0]
        region = canvas[y:y + cell[1], px:px + cell[0]]
        h, w = region.shape[0], region.shape[1]
        region[...] = region * (1 - a[:h, :w, None]) + 255.0 * a[:h, :w, None]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--data", default=os.path.join(here, "..", "..", "Data"))
    ap.add_argument("--preview", help="also write a scale-1 and 3x sample of every font here")
    args = ap.parse_args()
    if not ft.use_full_hinting():
        print("warning: FreeType refused the v35 interpreter; stems may be soft", file=sys.stderr)

    tex_dir = os.path.join(args.data, "Textures")
    cfg_dir = os.path.join(args.data, "Config")
    os.makedirs(tex_dir, exist_ok=True)
    os.makedirs(cfg_dir, exist_ok=True)

    text = FONT_TXT_HEAD
    rendered = []
    for name, face_file, cell, gap in FONTS:
        ppem = fit_sizes(face_file, cell, gap)
        cells, clipped = render_font(face_file, ppem, cell)
        cols, rows, tw, th = grid_layout(*cell)
        texture = "Font_%s.png" % name
        build_texture(cells, cell, cols, rows, (tw, th)).save(
            os.path.join(tex_dir, texture), optimize=True)
        text += font_block(name, texture, cell, cols, rows)
        rendered.append((name, cells, cell))
        note = " (cut: %s)" % "".join(unicode_of(c) or "?" for c in clipped) if clipped else ""
        print("%-14s %-24s ppem %2dx%-2d -> %s %dx%d grid %dx%d%s" %
              (name, face_file, ppem[0], ppem[1], texture, tw, th, cols, rows, note))

    with open(os.path.join(cfg_dir, "Font.txt"), "w", newline="\r\n") as f:
        f.write(text)

    if args.preview:
        lines = [SAMPLE, "Kestro  V_CH1 = -0.4375  12.5 m/s  \"OK\" {a|b} 0O 1lI g,y;q ~@"]
        width = max(len(l) for l in lines) * 20 + 20
        height = sum((c[1] + 4) * len(lines) + 6 for _, _, c in rendered) + 10
        canvas = np.full((height, width, 3), 40.0, dtype=np.float32)
        canvas[:, width // 2:] = (70, 90, 120)
        y = 5
        for _, cells, cell in rendered:
            for line in lines:
                draw_text(canvas, (cells, cell), 10, y, line)
                y += cell[1] + 4
            y += 6
        img = Image.fromarray(canvas.clip(0, 255).astype(np.uint8), "RGB")
        img.save(args.preview)
        img.resize((img.width * 3, img.height * 3), Image.NEAREST).save(
            args.preview.replace(".png", "_x3.png"))


if __name__ == "__main__":
    main()
