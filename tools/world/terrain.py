"""Terrain mesh and its textures: FlyingSite.osg (node "terrain") and the ground images.

Mesh: concentric rings around the origin, closer together near the field and further apart
towards the mountains, neighbouring rings stitched by a zipper so that rings may differ in
vertex count without T-junctions (no cracks, and the collision mesh's vertex-distance
neighbour test finds every neighbour). Every triangle is written as three vertices of a plain
triangle list, wound so that (B - A) x (C - B) points up.

Heights are written divided by (x^2 + z^2) / 1e6, because the program multiplies every vertex
height of the "terrain" node by that factor after loading. It turns the normals with the same
map, so the normals written are the pre-images of the final surface's normals (see
authored_normals).

Textures: unit 0 carries the ground colour, unit 1 a tiling grey detail image (modulated).
Near the origin unit 0 is Field.png, a fine image of the field; elsewhere it is
TerrainColor.png, a radially warped overview whose texel grows with the distance (about 1 m at
the field's edge, 20 m at the horizon), so one image covers 13 km and stays sharp where the
pilot looks.
"""
import math

import numpy as np
from PIL import Image

from noise import tileable_fbm
import sitegen as sg
from osgtext import StateSet, write_geometry

R_MAX = 6500.0              # m: outer edge of the terrain
FIELD_R = 150.0             # m: inside this ring unit 0 is Field.png
FIELD_TEX_HALF = 160.0      # m: Field.png covers [-160, 160] in X and Z
FIELD_TEX_SIZE = 1024
OVERVIEW_SIZE = 2048
WARP_R0 = 300.0             # m: warp scale; at 2048 texels a texel is 0.9 m at the origin,
                            # 2 m at the hedgerows, 20 m at the rim
DETAIL_PERIOD = 4.0         # m: one repeat of Detail.png
DETAIL_SIZE = 512
DETAIL_MEAN = 0.86          # mean of Detail.png; the colour images are brightened to match
RESHAPE_R2 = 1.0e6          # m^2: the program's height factor is (x^2 + z^2) / RESHAPE_R2


def ring_plan():
    """Ring radii (m) and vertex counts; the zones match the site's features."""
    def spacing(r):
        if r < 60.0:
            return 12.0
        if r < sg.FLAT_R:
            return 0.16 * r                   # flat: only needs to be round
        if r < 1250.0:
            return 0.036 * r                  # swells, tree lines, fields
        if r < 3400.0:
            return 0.032 * r                  # front range
        return 0.05 * r                       # back range in the haze
    radii = [0.0]
    r = 12.0
    fixed = [FIELD_R, sg.FLAT_R]
    while r < R_MAX:
        radii.append(r)
        nxt = r + spacing(r)
        for f in fixed:
            if r < f < nxt + 0.3 * spacing(r):
                nxt = f
        r = nxt
    radii.append(R_MAX)
    counts = [1]
    for r in radii[1:]:
        n = int(round(2 * math.pi * r / spacing(r) / 8.0)) * 8
        counts.append(max(8, n))
    return radii, counts


def build_mesh():
    """Unique vertices (x, z) and triangles as vertex index triples."""
    radii, counts = ring_plan()
    xs = [np.zeros(1)]
    zs = [np.zeros(1)]
    first = [0]
    for r, n in zip(radii[1:], counts[1:]):
        a = 2 * math.pi * np.arange(n) / n
        xs.append(r * np.sin(a))
        zs.append(-r * np.cos(a))
        first.append(first[-1] + len(xs[-2]))
    x = np.concatenate(xs)
    z = np.concatenate(zs)
    tris = []
    # Centre fan.
    n1 = counts[1]
    for k in range(n1):
        tris.append((0, first[1] + k, first[1] + (k + 1) % n1))
    # Zipper between consecutive rings: always advance on the ring whose next vertex comes
    # first in angle, so every triangle joins two vertices of one ring and one of the other.
    for i in range(1, len(radii) - 1):
        ni, no = counts[i], counts[i + 1]
        fi, fo = first[i], first[i + 1]
        a = b = 0
        while a < ni or b < no:
            ta = (a + 1) / ni
            tb = (b + 1) / no
            if b >= no or (a < ni and ta <= tb):
                tris.append((fi + a % ni, fo + b % no, fi + (a + 1) % ni))
                a += 1
            else:
                tris.append((fi + a % ni, fo + b % no, fo + (b + 1) % no))
                b += 1
    tris = np.array(tris, dtype=np.int64)
    return x, z, tris


def overview_coords(x, z):
    """Texture coordinates of the warped overview image for world points."""
    r = np.hypot(x, z)
    g = np.log1p(r / WARP_R0) / math.log1p(R_MAX / WARP_R0)
    with np.errstate(invalid="ignore", divide="ignore"):
        k = np.where(r > 0, 0.5 * g / np.maximum(r, 1e-9), 0.0)
    return 0.5 + k * x, 0.5 + k * z


def overview_world(u, v):
    """Inverse of overview_coords."""
    dx = u - 0.5
    dz = v - 0.5
    s = np.hypot(dx, dz) * 2.0
    r = WARP_R0 * np.expm1(s * math.log1p(R_MAX / WARP_R0))
    with np.errstate(invalid="ignore", divide="ignore"):
        k = np.where(s > 0, r / np.maximum(np.hypot(dx, dz), 1e-12), 0.0)
    return dx * k, dz * k


def _to_image(rgb_t_up):
    """Rows in texture-t order (t = 0 first) to an image (top row first)."""
    arr = np.clip(rgb_t_up / DETAIL_MEAN, 0, 1)
    return Image.fromarray((np.flipud(arr) * 255.0 + 0.5).astype(np.uint8), "RGB")


def make_field_image(path, log):
    n = FIELD_TEX_SIZE
    c = (np.arange(n) + 0.5) / n * 2 * FIELD_TEX_HALF - FIELD_TEX_HALF
    x, z = np.meshgrid(c, c)      # row index = t, column = s
    col = sg.ground_color(x, z, fine=2 * FIELD_TEX_HALF / n)
    _to_image(col).save(path, optimize=True)
    log("wrote %s (%dx%d, %.2f m per texel)" % (path, n, n, 2 * FIELD_TEX_HALF / n))


def make_overview_image(path, log):
    n = OVERVIEW_SIZE
    c = (np.arange(n) + 0.5) / n
    u, v = np.meshgrid(c, c)
    x, z = overview_world(u, v)
    r = np.hypot(x, z)
    # Beyond the terrain's edge the image is never sampled: clamp to keep the maths sane.
    scale = np.where(r > R_MAX * 1.02, R_MAX * 1.02 / np.maximum(r, 1e-9), 1.0)
    x, z = x * scale, z * scale
    # Texel size grows with the distance; tell the colour function so it drops fine detail.
    texel = 2.0 * WARP_R0 * (1 + np.hypot(x, z) / WARP_R0) * math.log1p(R_MAX / WARP_R0) / n
    out = np.zeros((n, n, 3))
    # Bands of similar texel size, each coloured with its own level of detail.
    for lo, hi, fine in ((0, 2.5, 2.0), (2.5, 8.0, 5.0), (8.0, 1e9, 10.0)):
        m = (texel >= lo) & (texel < hi)
        if m.any():
            out[m] = sg.ground_color(x[m], z[m], fine)
    _to_image(out).save(path, optimize=True)
    log("wrote %s (%dx%d, warped overview)" % (path, n, n))


def make_detail_image(path, log):
    """Grey grain that tiles: grass blades and soil crumbs at several scales."""
    n = DETAIL_SIZE
    base = tileable_fbm(n, 8, 6, 51, gain=0.6)
    # Blades: fine noise smeared along one axis, so the grass has a grain.
    blades = tileable_fbm(n, 64, 2, 52) * 0.5 + 0.5
    streak = np.roll(blades, 1, axis=0) + blades + np.roll(blades, -1, axis=0) \
        + np.roll(blades, 2, axis=0) + np.roll(blades, -2, axis=0)
    streak = streak / 5.0
    img = 0.5 + 0.5 * (0.55 * base + 0.45 * (2 * streak - 1))
    img = (img - img.mean()) / max(img.std(), 1e-6)
    img = np.clip(DETAIL_MEAN + 0.085 * img, 0.55, 1.0)
    img = img - (img.mean() - DETAIL_MEAN)
    Image.fromarray((np.clip(img, 0, 1) * 255 + 0.5).astype(np.uint8), "L").save(path, optimize=True)
    log("wrote %s (%dx%d grey, mean %.3f)" % (path, n, n, img.mean()))


def authored_height(x, z, h):
    """Height to write so that the program's reshape yields h."""
    r2 = x * x + z * z
    with np.errstate(invalid="ignore", divide="ignore"):
        return np.where(r2 > 1e-6, h * RESHAPE_R2 / np.maximum(r2, 1e-12), 0.0)


def terrain_surface_height(x, z, mesh):
    """Height of the final, piecewise-planar terrain at points (x, z): trees stand on it."""
    vx, vz, vh, tris = mesh
    out = np.zeros(len(x))
    a, b, c = tris[:, 0], tris[:, 1], tris[:, 2]
    for i, (px, pz) in enumerate(zip(x, z)):
        # Barycentric coordinates in the X-Z plane against all triangles near the point.
        r = math.hypot(px, pz)
        cand = np.nonzero(np.abs(np.hypot(vx[a], vz[a]) - r) < 400.0)[0]
        ax, az = vx[a[cand]], vz[a[cand]]
        bx, bz = vx[b[cand]], vz[b[cand]]
        cx, cz = vx[c[cand]], vz[c[cand]]
        det = (bz - cz) * (ax - cx) + (cx - bx) * (az - cz)
        l1 = ((bz - cz) * (px - cx) + (cx - bx) * (pz - cz)) / det
        l2 = ((cz - az) * (px - cx) + (ax - cx) * (pz - cz)) / det
        l3 = 1 - l1 - l2
        inside = np.nonzero((l1 >= -1e-9) & (l2 >= -1e-9) & (l3 >= -1e-9))[0]
        if len(inside) == 0:
            out[i] = sg.height(np.array([px]), np.array([pz]))[0]
            continue
        k = inside[0]
        t = cand[k]
        out[i] = l1[k] * vh[a[t]] + l2[k] * vh[b[t]] + l3[k] * vh[c[t]]
    return out


def prepare_mesh():
    """The terrain as it is written: vertices, final and authored heights, normals, and
    triangles wound so that (B - A) x (C - B) points up."""
    x, z, tris = build_mesh()
    h = sg.height(x, z)
    y = authored_height(x, z, h)
    nrm = wind_up_with_normals(x, z, h, tris)
    return x, z, h, y, nrm, tris


def wind_up_with_normals(x, z, h, tris):
    """Winds the triangles (in place) so that (B - A) x (C - B) points up, and returns vertex
    normals from the faces, weighted by area: shading then follows the mesh that is drawn,
    whatever finer detail the height function has."""
    ax, az = x[tris[:, 0]], z[tris[:, 0]]
    bx, bz = x[tris[:, 1]], z[tris[:, 1]]
    cx, cz = x[tris[:, 2]], z[tris[:, 2]]
    ny = (bz - az) * (cx - bx) - (bx - ax) * (cz - bz)
    flip = ny < 0
    tris[flip] = tris[flip][:, [0, 2, 1]]
    p = np.stack([x, h, z], axis=1)
    a, b, c = p[tris[:, 0]], p[tris[:, 1]], p[tris[:, 2]]
    face = np.cross(b - a, c - b)
    nrm = np.zeros_like(p)
    for k in range(3):
        np.add.at(nrm, tris[:, k], face)
    nrm /= np.linalg.norm(nrm, axis=1, keepdims=True)
    return nrm


def authored_normals(x, z, y, nrm):
    """Normals to write so that the program's reshape of them yields nrm.

    The program maps every vertex (x, y, z) to (x, y s, z), s = (x^2 + z^2) / 1e6, and turns
    each per-vertex normal n with the cofactor of that map's Jacobian:
    n' = (s n.x - y s_x n.y, n.y, s n.z - y s_z n.y), s_x = 2x / 1e6, s_z = 2z / 1e6.
    Its inverse, up to length, is the transposed Jacobian: n = (N.x + y s_x N.y, s N.y,
    N.z + y s_z N.y).
    """
    s = (x * x + z * z) / RESHAPE_R2
    sx = 2.0 * x / RESHAPE_R2
    sz = 2.0 * z / RESHAPE_R2
    n = np.stack([nrm[:, 0] + y * sx * nrm[:, 1], s * nrm[:, 1],
                  nrm[:, 2] + y * sz * nrm[:, 1]], axis=1)
    length = np.linalg.norm(n, axis=1, keepdims=True)
    # Only at the origin (s = 0) is there nothing to invert; the field is flat there.
    return np.where(length > 1e-12, n / np.maximum(length, 1e-12), np.array([0.0, 1.0, 0.0]))


def reshaped_normals(x, z, y, n):
    """What the program makes of written normals n at authored vertices (x, y, z)."""
    s = (x * x + z * z) / RESHAPE_R2
    r = np.stack([s * n[:, 0] - y * 2.0 * x / RESHAPE_R2 * n[:, 1], n[:, 1],
                  s * n[:, 2] - y * 2.0 * z / RESHAPE_R2 * n[:, 1]], axis=1)
    length = np.linalg.norm(r, axis=1, keepdims=True)
    return np.where(length > 0, r / np.maximum(length, 1e-300), n)


def write_terrain(w, log):
    """Writes the "terrain" Geode; returns (x, z, h, tris) for placing scenery on it."""
    x, z, h, y, nrm, tris = prepare_mesh()
    radii, _ = ring_plan()
    written_nrm = authored_normals(x, z, y, nrm)

    cen_x = x[tris].mean(axis=1)
    cen_z = z[tris].mean(axis=1)
    cen_r = np.hypot(cen_x, cen_z)
    cen_a = np.mod(np.arctan2(cen_x, -cen_z), 2 * math.pi)

    field_ss = StateSet().texture(0, "../Textures/Field.png", wrap="CLAMP_TO_EDGE",
                                  env="MODULATE")
    field_ss.texture(1, "../Textures/Detail.png", env="MODULATE")
    land_ss = StateSet().texture(0, "../Textures/TerrainColor.png", wrap="CLAMP_TO_EDGE",
                                 env="MODULATE")
    land_ss.texture(1, "../Textures/Detail.png", env="MODULATE")

    u0, v0 = overview_coords(x, z)
    fu = (x + FIELD_TEX_HALF) / (2 * FIELD_TEX_HALF)
    fv = (z + FIELD_TEX_HALF) / (2 * FIELD_TEX_HALF)
    du, dv = x / DETAIL_PERIOD, z / DETAIL_PERIOD

    # Tiles: a few around the field, then 16 sectors in three distance bands.
    tiles = []
    inner = cen_r < FIELD_R
    for q in range(4):
        tiles.append(("field", inner & (np.floor(cen_a / (math.pi / 2)) == q)))
    flat = (cen_r >= FIELD_R) & (cen_r < sg.FLAT_R)
    for s in range(8):
        tiles.append(("land", flat & (np.floor(cen_a / (math.pi / 4)) == s)))
    bands = [(sg.FLAT_R, 900.0), (900.0, 2400.0), (2400.0, R_MAX + 1)]
    for lo, hi in bands:
        for s in range(16):
            m = (cen_r >= lo) & (cen_r < hi) & (np.floor(cen_a / (math.pi / 8)) == s)
            tiles.append(("land", m))
    assigned = np.zeros(len(tris), dtype=np.int64)
    for _, m in tiles:
        assigned += m
    assert (assigned == 1).all(), "every terrain triangle must land in exactly one tile"

    w.block("Geode")
    w.node_header("terrain")
    w.line("num_drawables %d" % len(tiles))
    for kind, m in tiles:
        idx = tris[m].reshape(-1)
        verts = np.stack([x[idx], y[idx], z[idx]], axis=-1)
        n = written_nrm[idx]
        flat_normals = np.allclose(nrm[idx], [0.0, 1.0, 0.0], atol=1e-6)
        if kind == "field":
            tc0 = (np.stack([fu[idx], fv[idx]], axis=-1), 5)
            ss = field_ss
        else:
            tc0 = (np.stack([u0[idx], v0[idx]], axis=-1), 4)
            ss = land_ss
        tc1 = (np.stack([du[idx], dv[idx]], axis=-1), 2)
        write_geometry(w, ss, verts,
                       normals=None if flat_normals else n,
                       normal_overall=(0, 1, 0) if flat_normals else None,
                       color_overall=(1, 1, 1, 1), texcoords=(tc0, tc1), vertex_decimals=2,
                       normal_decimals=3)
    w.end()
    log("terrain: %d rings, %d vertices, %d triangles in %d tiles" %
        (len(radii), len(x), len(tris), len(tiles)))
    return x, z, h, tris
