#!/usr/bin/python3
"""Builds Kestro's sprite textures, SpriteList.txt, cursors and the main-menu background.

Icons are authored as SVG pictograms on a 24-unit grid in tools/sprites/svg/ (2-unit strokes,
light strokes with amber, red, green and sky-blue accents). This script rasterises them with
rsvg-convert, puts every button and part icon on the same raised plate with the same drop shadow
(light from the top left), draws the nine-slice frame, the boxes, the sun sprites and the
background picture procedurally, packs the small sprites into one atlas and writes
Data/Config/SpriteList.txt.

Usage: tools/sprites/make_sprites.py [--data DIR] [--sheet PNG] [--mockup PNG]
"""

import argparse
import os
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
SVG_DIR = os.path.join(HERE, "svg")
sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, HERE)
import drawing as dr  # noqa: E402
import scenery  # noqa: E402

# Sprite tables: name and size in pixels. Button sizes follow the screens that use them: the
# window close button is 16 x 16, camera bars and editor toolbars 24 x 24, property-set icons
# 32 x 32 (they double as editor buttons and tree icons, and stay readable at 24 x 24).
BUTTONS_24 = [
    "B_CLOSE_UP", "B_INS_PANEL", "B_FORCE", "B_GR_PHYSIC", "B_GR_ARTISTIC", "B_HOME", "B_HOME2",
    "B_TURTLE", "B_PLAY", "B_RECORD", "B_STOP", "B_ZOOM_AUTO", "B_ZOOM_PLUS", "B_ZOOM_MINUS",
    "B_MAN", "B_FEET", "B_ANCHOR", "B_KEYS", "B_DELETE", "B_GRID", "B_MASS",
    "B_VIEW_TOP", "B_VIEW_LEFT", "B_VIEW_FRONT", "B_VIEW_BOTTOM", "B_VIEW_RIGHT", "B_VIEW_BACK",
    "B_VIEW_PREV", "B_VIEW_NEXT", "B_ARR_LEFT", "B_ARR_RIGHT", "B_ARR_UP", "B_ARR_DOWN",
    "B_ARR_FORWARD", "B_ARR_BACKWARD",
]
SET_ICONS_32 = [
    "MODEL_INFO", "GRAVITY", "DRAG", "SERVO", "ENGINE_PROP", "WING2", "WING3", "PROPELLER",
    "VARIABLE", "WHEEL", "WHEEL3", "COLLISION_POINT", "INPUT_FORCE", "BATTERY", "FUEL_TANK",
    "WIND", "SOUND",
]
CONTROLS_16 = ["CHECKBOX_OFF", "CHECKBOX_ON", "EXPAND", "COLLAPSE"]
FRAME_PIECES = [
    ["RECT_TOP_LEFT", "RECT_TOP", "RECT_TOP_RIGHT"],
    ["RECT_LEFT", "RECT_CENTER", "RECT_RIGHT"],
    ["RECT_BOTTOM_LEFT", "RECT_BOTTOM", "RECT_BOTTOM_RIGHT"],
]
FRAME_PIECE = 8      # pixels per frame piece; edges and centre are uniform along their length
ATLAS_PAD = 2        # pixels of edge extrusion around each sprite against filtering bleed
CURSORS = {          # name: hot spot (x, y) in the 32 x 32 image
    "Default": (2, 2), "Rotate": (16, 16), "Translate": (16, 16), "Zoom": (13, 13),
    "ShortHelp": (2, 2), "LongHelp": (2, 2),
}


def rasterise(svg_file, width, height=None):
    """An SVG rendered by rsvg-convert, as float RGBA (premultiplied=False) in 0..1."""
    height = height or width
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.png")
        subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height), "-o", out,
                        svg_file], check=True)
        return np.asarray(Image.open(out).convert("RGBA"), dtype=np.float32) / 255.0


def pictogram(name, size):
    return rasterise(os.path.join(SVG_DIR, name + ".svg"), size)


def plated_icon(name, size, plate_style="button"):
    """Plate, drop shadow and pictogram: the one look shared by every icon button."""
    img = dr.plate(size, plate_style)
    pic = pictogram(name, size)
    img = dr.over(dr.drop_shadow(pic, size / 24.0), img)
    return dr.over(pic, img)


def build_interface_sprites():
    sprites = []
    sprites.append(("B_CLOSE", plated_icon("B_CLOSE", 16, "close")))
    for name in BUTTONS_24:
        sprites.append((name, plated_icon(name, 24)))
    for name in SET_ICONS_32:
        sprites.append((name, plated_icon(name, 32)))
    for name in CONTROLS_16:
        sprites.append((name, pictogram(name, 16)))
    for name in ("ARROW_UP", "ARROW_DOWN"):
        img = dr.plate(16, "button")
        sprites.append((name, dr.over(pictogram(name, 16), img)))
    sprites.append(("SMALL_BOX", dr.plate(16, "button")))
    sprites.append(("BACKGND_BOX", dr.field_box(32)))
    panel = dr.frame_panel(FRAME_PIECE * 3)
    for r, row in enumerate(FRAME_PIECES):
        for c, name in enumerate(row):
            piece = panel[r * FRAME_PIECE:(r + 1) * FRAME_PIECE,
                          c * FRAME_PIECE:(c + 1) * FRAME_PIECE]
            sprites.append((name, piece.copy()))
    return sprites


def pack(sprites, width):
    """Shelf packing, tallest first; returns the atlas and each sprite's (x, y, w, h)."""
    order = sorted(range(len(sprites)), key=lambda i: (-sprites[i][1].shape[0], i))
    x = y = shelf_h = 0
    places = {}
    for i in order:
        h, w = sprites[i][1].shape[:2]
        cw, ch = w + 2 * ATLAS_PAD, h + 2 * ATLAS_PAD
        if x + cw > width:
            x, y, shelf_h = 0, y + shelf_h, 0
        places[i] = (x + ATLAS_PAD, y + ATLAS_PAD, w, h)
        x += cw
        shelf_h = max(shelf_h, ch)
    height = dr.next_pow2(y + shelf_h)
    atlas = np.zeros((height, width, 4), dtype=np.float32)
    for i, (px, py, w, h) in places.items():
        img = np.pad(sprites[i][1], ((ATLAS_PAD, ATLAS_PAD), (ATLAS_PAD, ATLAS_PAD), (0, 0)),
                     mode="edge")
        atlas[py - ATLAS_PAD:py + h + ATLAS_PAD, px - ATLAS_PAD:px + w + ATLAS_PAD] = img
    return atlas, [(sprites[i][0], places[i]) for i in range(len(sprites))]


SPRITELIST_HEAD = """// Sprites: named rectangles of textures in Data/Textures/.
// Generated by tools/sprites/make_sprites.py; do not edit by hand.
// Each SPRITE gives its name, .XY (left, top, pixels from the texture's top-left corner),
// .DXDY (width, height) and .CENTER (always written, 0 0 = no offset).
"""


def sprite_block(texture, entries):
    lines = ["", ".SPRITES_IN_TEXTURE", "{", "  .TEXTURE_FILE %s" % texture]
    for name, (x, y, w, h) in entries:
        lines.append("  .SPRITE %-18s .XY %4d %4d  .DXDY %4d %4d  .CENTER 0 0" %
                     (name, x, y, w, h))
    lines.append("}")
    return "\n".join(lines) + "\n"


def write_cursors(tex_dir):
    lines = ["// Mouse cursors: .CURSOR <name> .HOT_SPOT <x> <y>: the image is Data/Textures/<name>.png",
             "// (32 x 32, RGBA); the hot spot is in pixels from its top-left corner. Read like the",
             "// sprite list: each CURSOR token, then the next HOT_SPOT.",
             "// Generated by tools/sprites/make_sprites.py; do not edit by hand."]
    for name, (hx, hy) in CURSORS.items():
        pic = rasterise(os.path.join(SVG_DIR, "cursor_%s.svg" % name), 32)
        img = dr.over(pic, dr.drop_shadow(pic, 1.0, strength=0.45))
        dr.save_png(img, os.path.join(tex_dir, name + ".png"))
        lines.append(".CURSOR %-10s .HOT_SPOT %2d %2d" % (name, hx, hy))
    with open(os.path.join(tex_dir, "Cursors.txt"), "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--data", default=os.path.join(HERE, "..", "..", "Data"))
    ap.add_argument("--sheet", help="write a contact sheet of every sprite here")
    ap.add_argument("--mockup", help="write a sample screen built from the sprites and fonts")
    args = ap.parse_args()
    tex_dir = os.path.join(args.data, "Textures")
    cfg_dir = os.path.join(args.data, "Config")
    os.makedirs(tex_dir, exist_ok=True)
    os.makedirs(cfg_dir, exist_ok=True)

    text = SPRITELIST_HEAD
    atlas, entries = pack(build_interface_sprites(), 256)
    dr.save_png(atlas, os.path.join(tex_dir, "Sprites_Interface.png"))
    text += sprite_block("Sprites_Interface.png", entries)

    sun_atlas, sun_entries = pack([("Sun2", scenery.sun_glare(252)),
                                   ("Sun1", scenery.sun_disc(128))], 512)
    dr.save_png(sun_atlas, os.path.join(tex_dir, "Sprites_Sun.png"))
    text += sprite_block("Sprites_Sun.png", sun_entries)

    # The menu picture is stretched over the whole window; its texture is padded to a power of
    # two below the picture so that OSG uploads it without resampling.
    menu = scenery.menu_background(1024, 768, os.path.join(SVG_DIR, "menu_plane.svg"))
    padded = np.concatenate([menu, np.repeat(menu[-1:], 256, axis=0)], axis=0)
    Image.fromarray((padded * 255 + 0.5).astype(np.uint8), "RGB").save(
        os.path.join(tex_dir, "MenuMainBk.jpg"), quality=90, optimize=True)
    text += sprite_block("MenuMainBk.jpg", [("MenuMainBk", (0, 0, 1024, 768))])

    with open(os.path.join(cfg_dir, "SpriteList.txt"), "w", newline="\r\n") as f:
        f.write(text)
    write_cursors(tex_dir)

    print("Sprites_Interface.png %dx%d, %d sprites; Sprites_Sun.png %dx%d; MenuMainBk.jpg" %
          (atlas.shape[1], atlas.shape[0], len(entries), sun_atlas.shape[1],
           sun_atlas.shape[0]))
    if args.sheet or args.mockup:
        import preview
        if args.sheet:
            preview.contact_sheet(args.data, args.sheet)
        if args.mockup:
            preview.mockup(args.data, args.mockup)


if __name__ == "__main__":
    main()
