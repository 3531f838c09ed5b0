"""Pictures for checking the generated content by eye: a contact sheet and a screen mock-up.

Both read the data the way the program does (SpriteList.txt, Font.txt and the textures they
name), so a wrong rectangle or a glyph off its cell shows here first.
"""

import os
import re

import numpy as np
from PIL import Image

import drawing as dr


def _tokens(path):
    text = open(path, encoding="latin-1").read()
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\r\n]*", " ", text)
    return text.split()


def load_sprites(data):
    """{name: RGBA float image} cut from the textures as SpriteList.txt describes them."""
    toks = _tokens(os.path.join(data, "Config", "SpriteList.txt"))
    sprites, tex, i = {}, None, 0
    while i < len(toks):
        t = toks[i]
        if t == ".TEXTURE_FILE":
            tex = np.asarray(Image.open(os.path.join(data, "Textures", toks[i + 1])).convert("RGBA"),
                             dtype=np.float32) / 255.0
            i += 2
        elif t == ".SPRITE":
            name = toks[i + 1]
            assert toks[i + 2] == ".XY" and toks[i + 5] == ".DXDY", name
            x, y, w, h = (int(v) for v in (toks[i + 3], toks[i + 4], toks[i + 6], toks[i + 7]))
            sprites[name] = tex[y:y + h, x:x + w].copy()
            i += 8
        else:
            i += 1
    return sprites


def load_fonts(data):
    """{name: (glyph list, char width, char height)} as Font.txt describes them."""
    toks = _tokens(os.path.join(data, "Config", "Font.txt"))
    fonts, i = {}, 0
    while i < len(toks):
        if toks[i] == ".FONT":
            name, j, keys = toks[i + 1], i + 3, {}
            while toks[j] != "}":
                keys[toks[j][1:]] = toks[j + 1]
                j += 2
            tex = np.asarray(Image.open(os.path.join(data, "Textures", keys["TEXTURE"]))
                             .convert("RGBA"), dtype=np.float32) / 255.0
            cw, ch = int(keys["CHAR_WIDTH"]), int(keys["CHAR_HEIGHT"])
            cols = int(keys.get("NUM_COLUMNS", 0)) or tex.shape[1] // cw
            rows = int(keys.get("NUM_ROWS", 0)) or tex.shape[0] // ch
            glyphs = [tex[r * ch:(r + 1) * ch, c * cw:(c + 1) * cw]
                      for r in range(rows) for c in range(cols)]
            fonts[name] = (glyphs, cw, ch)
            i = j
        i += 1
    return fonts


def blit(canvas, img, x, y, tint=None):
    """Alpha-blends img onto an RGB canvas at (x, y), clipped; tint multiplies its colour."""
    h, w = img.shape[:2]
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(canvas.shape[1], x + w), min(canvas.shape[0], y + h)
    if x1 <= x0 or y1 <= y0:
        return
    src = img[y0 - y:y1 - y, x0 - x:x1 - x]
    rgb = src[..., :3] * (np.asarray(tint) if tint is not None else 1.0)
    a = src[..., 3:4]
    canvas[y0:y1, x0:x1] = canvas[y0:y1, x0:x1] * (1 - a) + rgb * a


def scaled(img, w, h, nearest=False):
    pil = Image.fromarray((np.clip(img, 0, 1) * 255 + 0.5).astype(np.uint8), "RGBA")
    pil = pil.resize((w, h), Image.NEAREST if nearest else Image.BILINEAR)
    return np.asarray(pil, dtype=np.float32) / 255.0


def text(canvas, font, x, y, s, colour=(1, 1, 1)):
    glyphs, cw, _ = font
    for k, ch in enumerate(s):
        if ch == " ":
            continue
        code = ord(ch)
        g = code - 32 if code > 31 and code - 32 < len(glyphs) else 10
        blit(canvas, glyphs[g], x + k * cw, y, colour)
    return x + len(s) * cw


def save(canvas, path):
    Image.fromarray((np.clip(canvas, 0, 1) * 255 + 0.5).astype(np.uint8), "RGB").save(path)


def contact_sheet(data, path):
    sprites, fonts = load_sprites(data), load_fonts(data)
    label = fonts["F06x12"]
    small = [n for n in sprites if max(sprites[n].shape[:2]) <= 32]
    cell_w, cell_h, cols = 190, 118, 7
    rows = (len(small) + cols - 1) // cols
    canvas = np.zeros((rows * cell_h + 300, cols * cell_w, 3), dtype=np.float32)
    canvas[...] = dr.hex_rgb("#40464f")
    for k, name in enumerate(small):
        img = sprites[name]
        r, c = divmod(k, cols)
        x, y = c * cell_w + 6, r * cell_h + 4
        h, w = img.shape[:2]
        # Light and dark backgrounds behind the 1x copy, a 3x nearest copy for detail,
        # and a 24-pixel (bilinear) copy of the 32-pixel icons for how they read when small.
        canvas[y:y + 36, x:x + 20] = dr.hex_rgb("#c8ccd2")
        canvas[y + 36:y + 72, x:x + 20] = dr.hex_rgb("#1a1d22")
        blit(canvas, img, x + 10 - w // 2, y + 18 - h // 2)
        blit(canvas, img, x + 10 - w // 2, y + 54 - h // 2)
        blit(canvas, scaled(img, w * 3, h * 3, nearest=True), x + 26, y)
        if w == 32:
            blit(canvas, scaled(img, 24, 24), x + 26 + w * 3 + 4, y)
        text(canvas, label, x, y + 100, name[:24])
    y = rows * cell_h + 10
    canvas[y:y + 280, 0:600] = dr.hex_rgb("#3a6ea8")
    blit(canvas, sprites["Sun2"], 10, y + 10)
    blit(canvas, sprites["Sun1"], 290, y + 10)
    text(canvas, label, 10, y + 268, "Sun2 (glare)")
    text(canvas, label, 290, y + 268, "Sun1 (disc)")
    bk = scaled(sprites["MenuMainBk"], 360, 270)
    blit(canvas, bk, 620, y + 4)
    text(canvas, label, 620, y + 280, "MenuMainBk")
    save(canvas, path)


def nine_slice(canvas, sprites, x, y, w, h):
    """Frame of any size from the nine pieces: corners as they are, edges and centre stretched."""
    tl = sprites["RECT_TOP_LEFT"]
    cw, ch = tl.shape[1], tl.shape[0]
    iw, ih = w - 2 * cw, h - 2 * ch
    blit(canvas, sprites["RECT_TOP_LEFT"], x, y)
    blit(canvas, scaled(sprites["RECT_TOP"], iw, ch), x + cw, y)
    blit(canvas, sprites["RECT_TOP_RIGHT"], x + cw + iw, y)
    blit(canvas, scaled(sprites["RECT_LEFT"], cw, ih), x, y + ch)
    blit(canvas, scaled(sprites["RECT_CENTER"], iw, ih), x + cw, y + ch)
    blit(canvas, scaled(sprites["RECT_RIGHT"], cw, ih), x + cw + iw, y + ch)
    blit(canvas, sprites["RECT_BOTTOM_LEFT"], x, y + ch + ih)
    blit(canvas, scaled(sprites["RECT_BOTTOM"], iw, ch), x + cw, y + ch + ih)
    blit(canvas, sprites["RECT_BOTTOM_RIGHT"], x + cw + iw, y + ch + ih)


def mockup(data, path):
    sprites, fonts = load_sprites(data), load_fonts(data)
    W, H = 1024, 768
    canvas = scaled(sprites["MenuMainBk"], W, H)[..., :3].copy()
    # Main-menu texts as the menu draws them (virtual 800 x 600 scaled to the window).
    big = fonts["F20x32Courier"]
    title = scaled(np.concatenate([big[0][ord(c) - 32] for c in "Kestro"], axis=1),
                   int(6 * 20 * 2.5 * 1.28 / 2), int(32 * 2.5 * 1.28 / 2))
    blit(canvas, title, W // 2 - title.shape[1] // 2 + 2, 22, (45 / 255, 198 / 255, 105 / 255))
    blit(canvas, title, W // 2 - title.shape[1] // 2, 20, (70 / 255, 1, 170 / 255))
    for k, item in enumerate(["Fly", "Controller", "Credits", "Exit"]):
        text(canvas, fonts["F09x13B"], 384, 154 + 41 * k, item)

    # A dialog window: frame, title bar (palette 27 -> 20), close button.
    x, y, w, h = 40, 330, 560, 400
    nine_slice(canvas, sprites, x, y, w, h)
    grad = np.linspace(0, 1, w)[None, :, None]
    canvas[y:y + 16, x:x + w] = np.array([0, 0, 1.0]) * (1 - grad) + np.array([1.0, 1, 1]) * grad
    blit(canvas, sprites["B_CLOSE"], x, y)
    text(canvas, fonts["F09x12"], x + 20, y + 4, "Weather and wind")
    canvas[y + 17, x:x + w] = 1.0
    blit(canvas, sprites["WIND"], x + 12, y + 28)
    text(canvas, fonts["F09x12"], x + 52, y + 40, "WIND", (0, 1, 1))
    samples = [("F06x12", "F06x12  Wind speed 4.5 m/s, gusts 7.0 m/s  ()[]{}"),
               ("F07x12S", "F07x12S Turbulence 0.2500  V_CH1..V_CH9  @#%&"),
               ("F07x12B", "F07x12B Engine RPM 11250  Throttle 68 %"),
               ("F09x12", "F09x12  Direction 270 deg"),
               ("F09x13B", "F09x13B Time of day: evening")]
    ty = y + 74
    for name, s in samples:
        text(canvas, fonts[name], x + 16, ty, s)
        ty += 18
    text(canvas, fonts["F20x32Courier"], x + 16, ty + 2, "12.5 m/s")
    ty += 40
    # Check boxes with labels, an edit field on the field background, number arrows.
    for k, (on, lab) in enumerate([(True, "Enable turbulence"), (False, "Show wind arrows")]):
        blit(canvas, sprites["CHECKBOX_ON" if on else "CHECKBOX_OFF"], x + 16, ty + k * 22)
        text(canvas, fonts["F09x12"], x + 38, ty + 2 + k * 22, lab)
    blit(canvas, scaled(sprites["BACKGND_BOX"], 120, 18), x + 300, ty)
    text(canvas, fonts["F07x12S"], x + 304, ty + 3, "3.5000")
    blit(canvas, sprites["ARROW_UP"], x + 422, ty - 1)
    blit(canvas, sprites["ARROW_DOWN"], x + 422, ty + 15)
    text(canvas, fonts["F09x12"], x + 296 - 9 * 6, ty + 3, "Speed", (1, 1, 1))
    ty += 52
    # Button bars: camera bar, editor toolbar rows, part buttons.
    row = ["B_HOME", "B_ZOOM_AUTO", "B_ZOOM_PLUS", "B_ZOOM_MINUS", "B_MAN", "B_FEET",
           "B_ANCHOR", "B_KEYS", "B_CLOSE_UP", "B_INS_PANEL", "B_FORCE", "B_GR_PHYSIC",
           "B_GR_ARTISTIC", "B_HOME2", "B_TURTLE", "B_PLAY", "B_RECORD", "B_STOP"]
    for k, n in enumerate(row):
        blit(canvas, sprites[n], x + 16 + 28 * k, ty)
    ty += 30
    row = ["B_GRID", "B_MASS", "B_VIEW_TOP", "B_VIEW_LEFT", "B_VIEW_FRONT", "B_VIEW_BOTTOM",
           "B_VIEW_RIGHT", "B_VIEW_BACK", "B_VIEW_PREV", "B_VIEW_NEXT", "B_ARR_LEFT",
           "B_ARR_RIGHT", "B_ARR_UP", "B_ARR_DOWN", "B_ARR_FORWARD", "B_ARR_BACKWARD",
           "B_DELETE"]
    for k, n in enumerate(row):
        blit(canvas, sprites[n], x + 16 + 28 * k, ty)
    ty += 32
    row = ["COLLISION_POINT", "DRAG", "ENGINE_PROP", "GRAVITY", "INPUT_FORCE", "SERVO",
           "PROPELLER", "VARIABLE", "WHEEL", "WING3", "MODEL_INFO", "BATTERY", "FUEL_TANK"]
    for k, n in enumerate(row):
        blit(canvas, sprites[n], x + 16 + 36 * k, ty)

    # A tree panel with expand / collapse and small icons, beside the dialog.
    x2, y2 = 630, 330
    nine_slice(canvas, sprites, x2, y2, 360, 220)
    tree = [("COLLAPSE", "WING3", "All WING3", 0), (None, "WING3", "WingLeft", 1),
            (None, "WING3", "WingRight", 1), ("EXPAND", "WHEEL", "All WHEEL", 0),
            (None, "ENGINE_PROP", "Engine", 0), (None, "SERVO", "ServoAileron", 0)]
    for k, (node, icon, lab, ind) in enumerate(tree):
        ry = y2 + 14 + k * 30
        if node:
            blit(canvas, sprites[node], x2 + 12, ry + 4)
        blit(canvas, scaled(sprites[icon], 24, 24), x2 + 32 + ind * 16, ry)
        text(canvas, fonts["F09x12"], x2 + 62 + ind * 16, ry + 6, lab)
        if not node:
            for b in range(3):
                blit(canvas, sprites["CHECKBOX_ON"], x2 + 270 + 22 * b, ry + 4)
    save(canvas, path)
