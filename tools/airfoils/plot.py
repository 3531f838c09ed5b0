"""Draws an airfoil file's coefficient curves as the program will see them (PNG, for checking by
eye): the whole circle on top, the attached range below. Lines are the 360-row combined table;
dots are the rows written in the file (mirrored ones included)."""

import numpy as np
from PIL import Image, ImageDraw

import afl

WIDTH, PANEL_H, MARGIN = 1400, 420, 50
COLOURS = {"cl": (30, 80, 220), "cd": (210, 40, 40), "cp": (20, 150, 60)}


def _panel(draw, top, a_range, v_range, a_tick, v_tick, title):
    left, right = MARGIN, WIDTH - 20
    bottom = top + PANEL_H

    def px(a, v):
        x = left + (a - a_range[0]) / (a_range[1] - a_range[0]) * (right - left)
        y = bottom - (v - v_range[0]) / (v_range[1] - v_range[0]) * PANEL_H
        return x, y

    for a in np.arange(a_range[0], a_range[1] + 1e-9, a_tick):
        x, _ = px(a, 0)
        draw.line([(x, top), (x, bottom)], fill=(225, 225, 225))
        draw.text((x - 10, bottom + 4), "%g" % a, fill="black")
    for v in np.arange(v_range[0], v_range[1] + 1e-9, v_tick):
        _, y = px(a_range[0], v)
        draw.line([(left, y), (right, y)], fill=(225, 225, 225) if abs(v) > 1e-9 else (90, 90, 90))
        draw.text((5, y - 6), "%.1f" % v, fill="black")
    draw.rectangle([left, top, right, bottom], outline="black")
    draw.text((left + 5, top + 5), title, fill="black")
    return px


def draw(afl_path, png_path):
    airfoil = afl.read_file(afl_path)
    a, cl, cd, cp = afl.combined_table(airfoil)
    rows = airfoil["TABLE_ALPHA_CL_CD_CP"]
    if airfoil["SYMMETRICAL"]:
        mirror = rows.copy()
        mirror[:, 0] *= -1
        mirror[:, 1] *= -1
        rows = np.vstack([rows, mirror])

    image = Image.new("RGB", (WIDTH, 2 * PANEL_H + 3 * MARGIN), "white")
    draw_ = ImageDraw.Draw(image)
    title = "%s   %s   cl blue, cd red, cp green" % (airfoil["NAME"], afl_path)
    panels = [((-180, 180), (-1.6, 2.0), 30, 0.2, title, MARGIN // 2),
              ((-30, 30), (-1.6, 2.0), 5, 0.2, "-30..30 deg", PANEL_H + 2 * MARGIN)]
    for a_range, v_range, a_tick, v_tick, text, top in panels:
        px = _panel(draw_, top, a_range, v_range, a_tick, v_tick, text)
        inside = (a >= a_range[0]) & (a <= a_range[1])
        for name, values, column in (("cl", cl, 1), ("cd", cd, 2), ("cp", cp, 3)):
            draw_.line([px(x, y) for x, y in zip(a[inside], values[inside])],
                       fill=COLOURS[name], width=2)
            for x, y in zip(rows[:, 0], rows[:, column]):
                if a_range[0] <= x <= a_range[1]:
                    cx, cy = px(x, y)
                    draw_.ellipse([cx - 2, cy - 2, cx + 2, cy + 2], outline=COLOURS[name])
    image.save(png_path)
