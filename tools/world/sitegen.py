"""The flying site's shape and ground cover, as functions of the world position (x, z).

World axes: Y up, X-Z horizontal; the model starts at the origin facing -Z, so the runway runs
along Z and the pilot, standing a few metres behind the model, looks down it towards -Z.

Heights here are the heights the user sees. The program flattens the loaded terrain around
the origin by scaling every vertex height with (x^2 + z^2) / 1e6, so the mesh writer divides
by that factor before writing (see terrain.py); everything else uses these functions directly.
"""
import numpy as np

from noise import fbm, ridged, smoothstep

FLAT_R = 250.0          # m: the field and its surroundings are exactly flat inside this radius
RUNWAY_HALF_W = 7.5     # m: runway 15 m wide, along Z
RUNWAY_HALF_L = 50.0    # m: and 100 m long, centred on the origin
MOWN_HALF_W = 35.0      # m: the mown area around the runway
MOWN_HALF_L = 85.0
PITS = (38.0, 56.0, -4.0, 18.0)   # x0, x1, z0, z1: worn grass where models are prepared


def _circle_noise(az, scale, seed):
    """Noise along the horizon: periodic in the azimuth by sampling a circle in the plane."""
    return fbm(1000.0 * np.cos(az), 1000.0 * np.sin(az), scale, 3, seed)


def height(x, z):
    """Terrain height (m) as seen in the program."""
    r = np.hypot(x, z)
    az = np.arctan2(x, -z)   # 0 = down the runway (-Z), growing towards +X

    # Farmland: long gentle swells that begin behind the first tree lines.
    swell = (12.0 + 10.0 * fbm(x, z, 900.0, 4, 11)) * smoothstep(280.0, 900.0, r)
    swell += 6.0 * fbm(x, z, 240.0, 3, 12) * smoothstep(320.0, 650.0, r)
    swell += 40.0 * smoothstep(800.0, 2000.0, r) * (0.5 + 0.5 * fbm(x, z, 1400.0, 3, 13))

    # The front range at 1.5 to 3 km: highest down the runway, lower behind the pilot, with
    # passes where the horizon noise dips.
    bearing = 0.62 + 0.30 * np.cos(az) + 0.35 * _circle_noise(az, 500.0, 14)
    bearing = np.clip(bearing, 0.15, 1.3)
    belt = smoothstep(1350.0, 2300.0, r)
    front = belt * bearing * (60.0 + 300.0 * ridged(x, z, 1000.0, 6, 21))

    # A higher, hazier back range closes the horizon between 4 and 6.5 km.
    back = smoothstep(3400.0, 4700.0, r) * (280.0 + 560.0 * ridged(x, z, 1700.0, 6, 22))
    back *= np.clip(0.75 + 0.4 * _circle_noise(az, 700.0, 15), 0.35, 1.2)

    h = swell + front + back
    return h * smoothstep(FLAT_R, 430.0, r)


def slope(x, z, eps=4.0):
    """Gradient magnitude (rise over run) by central differences."""
    dx = (height(x + eps, z) - height(x - eps, z)) / (2 * eps)
    dz = (height(x, z + eps) - height(x, z - eps)) / (2 * eps)
    return np.hypot(dx, dz)


def _mix(a, b, t):
    t = np.asarray(t)[..., None]
    return a * (1.0 - t) + b * t


def _rgb(*c):
    return np.array(c, dtype=np.float64)


MEADOW_DARK = _rgb(0.27, 0.38, 0.15)
MEADOW_LIGHT = _rgb(0.42, 0.50, 0.22)
MOWN = _rgb(0.30, 0.47, 0.17)
RUNWAY = _rgb(0.45, 0.58, 0.26)
WORN = _rgb(0.50, 0.46, 0.31)
GRAVEL = _rgb(0.58, 0.54, 0.46)
FOREST = _rgb(0.12, 0.21, 0.08)
ROCK = _rgb(0.47, 0.45, 0.42)
SNOW = _rgb(0.93, 0.94, 0.97)
CROPS = np.array([
    (0.74, 0.65, 0.36),   # ripe wheat
    (0.40, 0.57, 0.19),   # young cereal
    (0.24, 0.38, 0.12),   # maize, dark
    (0.43, 0.33, 0.23),   # ploughed
    (0.52, 0.60, 0.30),   # hay meadow
    (0.60, 0.55, 0.34),   # stubble
    (0.82, 0.78, 0.26),   # rapeseed in flower
    (0.34, 0.48, 0.17),   # pasture
])
CROP_WEIGHTS = np.array([3, 3, 2, 2, 3, 2, 1, 3], dtype=np.float64)


def road_offset(x):
    """Z of the farm track that leaves the pits towards +X (m)."""
    return 8.0 + 30.0 * np.sin(x / 260.0) * smoothstep(80.0, 400.0, x)


def _box_mask(x, z, x0, x1, z0, z1, soft):
    mx = smoothstep(x0 - soft, x0 + soft, x) * (1 - smoothstep(x1 - soft, x1 + soft, x))
    mz = smoothstep(z0 - soft, z0 + soft, z) * (1 - smoothstep(z1 - soft, z1 + soft, z))
    return mx * mz


def _hash01(i, j, seed):
    """Per-cell pseudo random number in [0, 1) from integer cell coordinates."""
    h = (i * 73856093) ^ (j * 19349663) ^ (seed * 83492791)
    h = (h ^ (h >> 13)) * 1274126177
    h = h ^ (h >> 16)
    return (h & 0xFFFFFF) / float(0x1000000)


def field_cells(x, z, centres=False):
    """Cell coordinates of the farm-field grid, turned against the site's axes."""
    ang = 0.33
    u = x * np.cos(ang) + z * np.sin(ang)
    v = -x * np.sin(ang) + z * np.cos(ang)
    # Row of fields of varying depth: jitter the column boundaries per row.
    iv = np.floor(v / 120.0).astype(np.int64)
    shift = _hash01(iv, np.zeros_like(iv), 5) * 170.0
    width = 140.0 + 90.0 * _hash01(iv, np.ones_like(iv), 6)
    uu = (u + shift) / width
    iu = np.floor(uu).astype(np.int64)
    fu = (uu - iu) * width          # m from the cell's edge along u
    fv = (v / 120.0 - iv) * 120.0
    edge = np.minimum(np.minimum(fu, width - fu), np.minimum(fv, 120.0 - fv))
    if not centres:
        return iu, iv, u, v, edge
    uc = (iu + 0.5) * width - shift
    vc = (iv + 0.5) * 120.0
    cx = uc * np.cos(ang) - vc * np.sin(ang)
    cz = uc * np.sin(ang) + vc * np.cos(ang)
    return iu, iv, u, v, edge, cx, cz


def farm_zone(x, z, h):
    """1 where farm fields lie: whole fields between the hedgerows round the flying field and
    the mountain sides, with the odd field left as meadow."""
    iu, iv, _, _, _, cx, cz = field_cells(x, z, centres=True)
    rc = np.hypot(cx, cz)
    zone = (rc > 520.0) & (rc < 2300.0) & (_hash01(iu, iv, 8) > 0.12)
    return zone * (1 - smoothstep(60.0, 140.0, h))


def forest_cover(x, z, h=None, in_fields=None):
    """0..1 forest density: patches on the swells, woods on the lower mountain slopes."""
    r = np.hypot(x, z)
    if h is None:
        h = height(x, z)
    if in_fields is None:
        in_fields = farm_zone(x, z, h)
    f = fbm(x, z, 420.0, 5, 41) + 0.35 * smoothstep(120.0, 300.0, h) - 0.25 * in_fields
    forest = smoothstep(0.18, 0.24, f) * smoothstep(420.0, 560.0, r)
    return forest * (1 - smoothstep(420.0, 600.0, h))   # the tree line


def ground_color(x, z, fine):
    """Ground colour (linear 0..1 RGB, before the detail texture's darkening).

    fine is the texel size (m) of the image being made; features below it are left out so
    that the coarse overview does not alias.
    """
    r = np.hypot(x, z)
    h = height(x, z)
    # One sampling distance for every image: rock must not change where two images (or two
    # detail bands of one image) meet.
    s = slope(x, z, 8.0)

    # Meadow everywhere first, varied at several scales.
    n = smoothstep(0.3, 0.7, 0.5 + 0.5 * fbm(x, z, 160.0, 4, 31))
    col = _mix(MEADOW_DARK, MEADOW_LIGHT, n)
    if fine < 1.0:
        spots = 0.5 + 0.5 * fbm(x, z, 6.0, 3, 32)
        col = _mix(col, _rgb(0.40, 0.47, 0.20), 0.5 * smoothstep(0.55, 0.75, spots))
        clover = 0.5 + 0.5 * fbm(x, z, 2.5, 2, 33)
        col = _mix(col, _rgb(0.26, 0.40, 0.14), 0.35 * smoothstep(0.6, 0.8, clover))

    # Farm fields between the first tree lines and the mountains.
    iu, iv, u, v, edge = field_cells(x, z)
    pick = _hash01(iu, iv, 7)
    cum = np.cumsum(CROP_WEIGHTS) / CROP_WEIGHTS.sum()
    kind = np.searchsorted(cum, pick)
    crop = CROPS[np.clip(kind, 0, len(CROPS) - 1)]
    crop = crop * (0.93 + 0.14 * (0.5 + 0.5 * fbm(x, z, 90.0, 3, 34)))[..., None]
    if fine < 4.0:
        rows = 0.5 + 0.5 * np.sin(u * (2 * np.pi / 5.0))
        crop = crop * (0.95 + 0.06 * rows)[..., None]
    in_fields = farm_zone(x, z, h)
    margin = smoothstep(1.5, 1.5 + max(1.0, fine), edge)  # grass strips between fields
    col = _mix(col, crop, in_fields * margin)

    forest = forest_cover(x, z, h, in_fields)
    tex = 0.5 + 0.5 * fbm(x, z, 25.0, 3, 42)
    fcol = FOREST * (0.8 + 0.45 * tex)[..., None]
    col = _mix(col, fcol, forest)

    # Bare rock on steep slopes and high up, snow on the high summits.
    rock = np.clip(smoothstep(0.55, 0.95, s) + smoothstep(420.0, 650.0, h), 0, 1)
    rock *= smoothstep(600.0, 1200.0, r)
    rcol = ROCK * (0.8 + 0.35 * (0.5 + 0.5 * fbm(x, z, 60.0, 4, 43)))[..., None]
    col = _mix(col, rcol, rock)
    snowline = 590.0 + 80.0 * fbm(x, z, 300.0, 3, 44)
    snow = smoothstep(snowline, snowline + 60.0, h) * (1 - smoothstep(0.9, 1.3, s))
    col = _mix(col, SNOW, snow)

    # Farm track from the pits towards +X.
    road_d = np.abs(z - road_offset(x))
    road = (1 - smoothstep(2.0, 2.0 + max(0.6, fine), road_d)) * smoothstep(54.0, 58.0, x)
    road *= 1 - smoothstep(1500.0, 1600.0, x)
    col = _mix(col, GRAVEL * (0.9 + 0.15 * (0.5 + 0.5 * fbm(x, z, 3.0, 2, 45)))[..., None],
               road)

    # The flying field itself.
    soft = max(0.25, fine)
    mown = _box_mask(x, z, -MOWN_HALF_W, MOWN_HALF_W, -MOWN_HALF_L, MOWN_HALF_L, soft)
    stripe = np.floor((x + MOWN_HALF_W) / 2.5) % 2
    mcol = MOWN * (0.95 + 0.10 * stripe)[..., None]
    col = _mix(col, mcol, mown)
    runway = _box_mask(x, z, -RUNWAY_HALF_W, RUNWAY_HALF_W, -RUNWAY_HALF_L, RUNWAY_HALF_L, soft)
    rstripe = np.floor((x + RUNWAY_HALF_W) / 1.875) % 2
    rcol = RUNWAY * (0.95 + 0.09 * rstripe)[..., None]
    # Worn where models touch down and take off: near the centre line, towards both ends.
    wear = (1 - smoothstep(1.0, 4.5, np.abs(x))) * smoothstep(15.0, 40.0, np.abs(z))
    wear *= 0.5 + 0.5 * fbm(x, z, 4.0, 3, 46)
    rcol = _mix(rcol, WORN, 0.4 * wear)
    col = _mix(col, rcol, runway)
    pits = _box_mask(x, z, PITS[0], PITS[1], PITS[2], PITS[3], soft)
    pwear = smoothstep(0.45, 0.7, 0.5 + 0.5 * fbm(x, z, 5.0, 3, 47))
    pcol = _mix(MOWN * 1.05, WORN, 0.6 * pwear)
    col = _mix(col, pcol, pits)
    return np.clip(col, 0.0, 1.0)
