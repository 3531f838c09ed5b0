"""The slope site's shape and ground cover, as functions of the world position (x, z).

A long grassy ridge runs along X through the origin. The prevailing wind (heading 180) blows
towards +Z, so the windward face falls away towards -Z into a farmed valley 100 m below; the
pilot stands on the crest at the origin looking out over the valley (-Z), and the landing area
lies on the gentle back slope behind him (+Z). Far hills close the horizon on both sides.

Heights are final: the program does not reshape this site (unlike the field, see sitegen.py).
"""
import numpy as np

from noise import fbm, smoothstep
import sitegen as sg

VALLEY = -100.0         # m: valley floor below the crest
FACE_DEPTH = 300.0      # m: horizontal extent of the windward face, crest to valley floor
BOWL = 40.0             # m: the ridge's ends come this far forward at |x| = 800 m
RIDGE_HALF_LEN = 2300.0  # m: the ridge fades into lower hills beyond this
LANDING = (-45.0, 45.0, 12.0, 70.0)   # x0, x1, z0, z1: mown landing area behind the crest


def crest_z(x):
    """Z of the crest line (m): a shallow bowl facing the wind, with a little wander."""
    return -BOWL * (x / 800.0) ** 2 * (1 - smoothstep(900.0, 2000.0, np.abs(x))) \
        - BOWL * 1.5 * smoothstep(900.0, 2000.0, np.abs(x)) \
        + 6.0 * fbm(x, 0.0 * x, 500.0, 2, 61) * smoothstep(150.0, 400.0, np.abs(x))


def crest_height(x):
    """Height of the crest (m): level at the pilot, gently rolling along the ridge."""
    roll = 12.0 * fbm(x, 0.0 * x, 700.0, 3, 62) * smoothstep(200.0, 600.0, np.abs(x))
    fade = smoothstep(RIDGE_HALF_LEN - 400.0, RIDGE_HALF_LEN + 600.0, np.abs(x))
    return roll * (1 - fade) + (VALLEY + 45.0) * fade


def height(x, z):
    """Terrain height (m)."""
    x = np.asarray(x, dtype=np.float64)
    z = np.asarray(z, dtype=np.float64)
    zc = crest_z(x)
    hc = crest_height(x)
    d = zc - z                       # m in front of the crest (upwind) when positive
    t = np.clip(d / FACE_DEPTH, 0.0, 1.0)
    # Steepest (about 27 degrees) half way down, rounded at the crest and at the foot.
    face = hc + (VALLEY - hc) * t * t * (3.0 - 2.0 * t)
    # The valley: nearly level meadows and fields, a faint swell far out.
    valley = VALLEY + 2.0 * fbm(x, z, 900.0, 2, 63) * smoothstep(FACE_DEPTH + 200.0, 900.0, d)
    # Hills across the valley, 2.5 km and more upwind.
    across = 260.0 * smoothstep(2300.0, 4200.0, d) * (0.55 + 0.45 * fbm(x, z, 1600.0, 4, 64))
    front = np.where(d > FACE_DEPTH, valley + across, face)
    # Behind the crest: the back slope goes gently down into rolling farmland, and higher
    # ground rises far behind the pilot.
    b = np.maximum(-d, 0.0)
    back = hc - 28.0 * smoothstep(20.0, 700.0, b) + 10.0 * fbm(x, z, 600.0, 3, 65) * smoothstep(200.0, 700.0, b)
    back += 220.0 * smoothstep(1800.0, 4500.0, b) * (0.6 + 0.4 * fbm(x, z, 1400.0, 4, 66))
    return np.where(d >= 0.0, front, back)


def slope(x, z, eps=4.0):
    dx = (height(x + eps, z) - height(x - eps, z)) / (2 * eps)
    dz = (height(x, z + eps) - height(x, z - eps)) / (2 * eps)
    return np.hypot(dx, dz)


ROUGH = sg._rgb(0.36, 0.42, 0.20)       # tussocky grass of the face
BRACKEN = sg._rgb(0.45, 0.36, 0.18)     # dead bracken patches
GORSE = sg._rgb(0.20, 0.27, 0.10)       # dark gorse bushes
PATH = sg._rgb(0.52, 0.47, 0.36)        # worn path along the crest
SCREE = sg._rgb(0.55, 0.53, 0.48)


def ground_color(x, z, fine):
    """Ground colour (linear 0..1 RGB, before the detail texture's darkening)."""
    x = np.asarray(x, dtype=np.float64)
    z = np.asarray(z, dtype=np.float64)
    d = crest_z(x) - z
    s = slope(x, z, 8.0)

    n = smoothstep(0.3, 0.7, 0.5 + 0.5 * fbm(x, z, 140.0, 4, 71))
    col = sg._mix(sg.MEADOW_DARK, sg.MEADOW_LIGHT, n)

    # The face: rough grass, bracken and gorse, more of them where it is steep.
    on_face = smoothstep(-10.0, 10.0, d) * (1 - smoothstep(FACE_DEPTH - 40.0, FACE_DEPTH + 30.0, d))
    face = sg._mix(ROUGH, BRACKEN, 0.6 * smoothstep(0.55, 0.75, 0.5 + 0.5 * fbm(x, z, 90.0, 4, 72)))
    gorse = smoothstep(0.62, 0.70, 0.5 + 0.5 * fbm(x, z, 28.0 if fine < 4 else 60.0, 3, 73))
    face = sg._mix(face, GORSE, gorse * smoothstep(0.2, 0.4, s))
    scree = smoothstep(0.5, 0.56, s) * smoothstep(0.6, 0.75, 0.5 + 0.5 * fbm(x, z, 40.0, 3, 74))
    face = sg._mix(face, SCREE, 0.7 * scree)
    col = sg._mix(col, face, on_face)

    # Farm fields in the valley and behind the ridge (the field's patchwork, same crops).
    iu, iv, u, v, edge = sg.field_cells(x, z)
    pick = sg._hash01(iu, iv, 17)
    cum = np.cumsum(sg.CROP_WEIGHTS) / sg.CROP_WEIGHTS.sum()
    crop = sg.CROPS[np.clip(np.searchsorted(cum, pick), 0, len(sg.CROPS) - 1)]
    crop = crop * (0.93 + 0.14 * (0.5 + 0.5 * fbm(x, z, 90.0, 3, 75)))[..., None]
    fields = np.maximum(smoothstep(FACE_DEPTH + 60.0, FACE_DEPTH + 160.0, d),
                        smoothstep(350.0, 500.0, -d)) * (sg._hash01(iu, iv, 18) > 0.15)
    fields = fields * (1 - smoothstep(2600.0, 3200.0, np.abs(d)))
    margin = smoothstep(2.0, 2.0 + max(1.0, fine), edge)
    col = sg._mix(col, crop, fields * margin)
    hedge = (1 - smoothstep(0.5, 0.5 + max(1.5, fine), edge)) * fields
    col = sg._mix(col, sg.FOREST * 1.2, 0.8 * hedge)

    # Woods on the far hills and in the valley's corners.
    wood = smoothstep(0.2, 0.26, fbm(x, z, 380.0, 5, 76) + 0.3 * smoothstep(1500.0, 3000.0, np.abs(d)))
    wood *= smoothstep(FACE_DEPTH + 250.0, FACE_DEPTH + 450.0, d) + smoothstep(500.0, 700.0, -d)
    col = sg._mix(col, sg.FOREST * (0.8 + 0.45 * (0.5 + 0.5 * fbm(x, z, 25.0, 3, 77)))[..., None],
                  np.clip(wood, 0, 1))

    # The crest path and the landing area.
    soft = max(0.3, fine)
    path = (1 - smoothstep(0.8, 0.8 + soft, np.abs(d + 4.0))) * (1 - smoothstep(1500.0, 1700.0, np.abs(x)))
    col = sg._mix(col, PATH * (0.9 + 0.15 * (0.5 + 0.5 * fbm(x, z, 3.0, 2, 78)))[..., None], 0.8 * path)
    land = sg._box_mask(x, z, LANDING[0], LANDING[1], LANDING[2], LANDING[3], soft)
    stripe = np.floor((x - LANDING[0]) / 3.0) % 2
    col = sg._mix(col, sg.MOWN * (0.95 + 0.10 * stripe)[..., None], land)
    return np.clip(col, 0.0, 1.0)
