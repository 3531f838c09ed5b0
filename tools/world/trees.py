"""Tree lines and forest edges: crossed, alpha-tested quads (node "trees").

Alpha testing instead of blending keeps the trees out of the depth-sorted bin, and the count
stays under a thousand so that the pixel work of overlapping crowns stays small. Trees are not
part of the "terrain" node, so the program does not reshape them: they are placed directly on
the final surface, sunk a little so that no gap shows under the trunk on a slope.
"""
import math

import numpy as np
from PIL import Image

import sitegen as sg
from noise import value_noise
from osgtext import StateSet, write_geometry
from terrain import terrain_surface_height

ATLAS_W, ATLAS_H = 512, 256
VARIANTS = 4                 # deciduous, poplar, conifer, broad oak: 128 x 256 cells each
# Crown shape of each variant: width to height of the whole picture (for the quad's size).
ASPECT = [0.62, 0.34, 0.50, 0.80]


def _paint_tree(kind, rng):
    w, h = ATLAS_W // VARIANTS, ATLAS_H
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float64)
    u = (xx + 0.5) / w          # 0 left .. 1 right
    v = 1.0 - (yy + 0.5) / h    # 0 ground .. 1 top
    alpha = np.zeros((h, w))
    rgb = np.zeros((h, w, 3))

    # Trunk.
    trunk_w = [0.07, 0.05, 0.06, 0.09][kind]
    trunk_top = [0.45, 0.3, 0.25, 0.4][kind]
    trunk = (np.abs(u - 0.5) < trunk_w / 2 * (1.3 - 0.6 * v)) & (v < trunk_top)
    alpha[trunk] = 1
    rgb[trunk] = (0.30, 0.23, 0.16)

    # Crown: many small leaf clumps inside the variant's outline, lit from the upper left.
    if kind == 0:
        inside = lambda uu, vv: ((uu - 0.5) / 0.44) ** 2 + ((vv - 0.6) / 0.37) ** 2 < 1
        base = np.array((0.20, 0.34, 0.12))
    elif kind == 1:
        inside = lambda uu, vv: ((uu - 0.5) / 0.24) ** 2 + ((vv - 0.56) / 0.43) ** 2 < 1
        base = np.array((0.24, 0.36, 0.13))
    elif kind == 2:
        inside = lambda uu, vv: (vv > 0.1) & (vv < 0.99) & \
            (np.abs(uu - 0.5) < 0.46 * (1 - (vv - 0.1) / 0.9) * (0.8 + 0.2 * np.cos(vv * 40)))
        base = np.array((0.11, 0.22, 0.12))
    else:
        inside = lambda uu, vv: ((uu - 0.5) / 0.48) ** 2 + ((vv - 0.55) / 0.33) ** 2 < 1
        base = np.array((0.18, 0.30, 0.10))
    clumps = 900 if kind != 1 else 600
    for _ in range(clumps):
        cu, cv = rng.rand(), rng.rand()
        if not inside(np.array(cu), np.array(cv)):
            continue
        rad = (rng.rand() * 0.045 + 0.025) * (0.7 if kind == 1 else 1.0)
        d = ((u - cu) * w) ** 2 + ((v - cv) * h) ** 2
        m = d < (rad * w) ** 2
        light = 0.75 + 0.5 * (cv - 0.3) - 0.35 * (cu - 0.5) + 0.25 * (rng.rand() - 0.5)
        # Darker inside each clump towards its lower right: leaves in their own shade.
        shade = 1.0 - 0.25 * np.clip(((u - cu) * w - (v - cv) * h) / (rad * w + 1e-9), 0, 1)
        col = base[None, :] * (light * shade[m])[:, None]
        rgb[m] = col
        alpha[m] = 1
    # Gaps in the crown: let some sky through the outer leaves.
    holes = value_noise(u * 14 + kind * 5.1, v * 28, 61 + kind) > 0.78
    edge = ~inside(u, v)
    alpha[holes & edge & (v > trunk_top)] = 0
    return rgb, alpha


def make_tree_atlas(path, log):
    rng = np.random.RandomState(60)
    cells = [_paint_tree(k, rng) for k in range(VARIANTS)]
    rgb = np.concatenate([c[0] for c in cells], axis=1)
    alpha = np.concatenate([c[1] for c in cells], axis=1)
    # Transparent texels take the mean leaf colour: mipmaps then fade to green, not black.
    mean = rgb[alpha > 0.5].mean(axis=0)
    rgb[alpha < 0.5] = mean
    img = np.dstack([np.clip(rgb, 0, 1) * 255, alpha * 255]).astype(np.uint8)
    Image.fromarray(img, "RGBA").save(path, optimize=True)
    log("wrote %s (%dx%d RGBA, %d variants)" % (path, ATLAS_W, ATLAS_H, VARIANTS))


def _line(rng, p0, p1, spacing, variants, jitter=2.0):
    p0, p1 = np.array(p0, float), np.array(p1, float)
    length = np.linalg.norm(p1 - p0)
    n = max(2, int(length / spacing))
    t = (np.arange(n) + rng.rand(n) * 0.6) / n
    pts = p0[None, :] + t[:, None] * (p1 - p0)[None, :]
    pts += rng.randn(n, 2) * jitter
    keep = rng.rand(n) > 0.08           # the odd gap makes a line look grown, not planted
    kinds = rng.choice(variants, size=n)
    return pts[keep], kinds[keep]


def place_trees():
    """Positions (N x 2, x and z), variants and heights of all trees."""
    rng = np.random.RandomState(70)
    pts, kinds = [], []

    def add(p, k):
        pts.append(p)
        kinds.append(k)

    # Hedgerows framing the field: ahead across the end of the runway, on both sides, behind.
    add(*_line(rng, (-700, -470), (650, -520), 9.0, [0, 0, 1, 3]))
    add(*_line(rng, (-430, -420), (-450, 560), 10.0, [0, 3, 0, 2]))
    add(*_line(rng, (470, -480), (420, 500), 10.0, [0, 1, 1, 0]))
    add(*_line(rng, (-500, 540), (600, 520), 11.0, [0, 3, 2]))
    # Lines along field edges further out, parallel to the farm grid.
    ang = 0.33
    du = np.array([math.cos(ang), -math.sin(ang)])   # grid u axis in (x, z)
    dv = np.array([math.sin(ang), math.cos(ang)])
    for i in range(16):
        c = rng.rand(2) * 2800 - 1400
        if np.hypot(*c) < 650 or np.hypot(*c) > 1500:
            continue
        d = du if rng.rand() < 0.5 else dv
        half = 90 + rng.rand() * 160
        add(*_line(rng, c - half * d, c + half * d, 12.0, [0, 1, 3]))
    # The near edges of the woods: sample points and keep those at a forest edge.
    cand = rng.rand(40000, 2) * 3200 - 1600
    r = np.hypot(cand[:, 0], cand[:, 1])
    cand = cand[(r > 430) & (r < 1500)]
    cover = sg.forest_cover(cand[:, 0], cand[:, 1])
    edge = cand[(cover > 0.35) & (cover < 0.9)]
    rng.shuffle(edge)
    edge = edge[:260]
    add(edge, rng.choice([0, 2, 2, 3], size=len(edge)))

    pts = np.concatenate(pts)
    kinds = np.concatenate(kinds)
    # Keep the runway's approaches and the farm track clear.
    clear = np.abs(pts[:, 1] - sg.road_offset(pts[:, 0])) > 6.0
    pts, kinds = pts[clear], kinds[clear]
    heights = np.array([14, 20, 16, 13], float)[kinds] * (0.75 + 0.5 * rng.rand(len(kinds)))
    return pts, kinds, heights


def write_trees(w, mesh, log):
    pts, kinds, heights = place_trees()
    ground = terrain_surface_height(pts[:, 0], pts[:, 1], mesh) - 0.4
    rng = np.random.RandomState(80)

    # Sectors by bearing from the origin, so culling drops the trees behind the camera.
    sectors = 8
    bearing = np.mod(np.arctan2(pts[:, 0], -pts[:, 1]), 2 * math.pi)
    sector = np.floor(bearing / (2 * math.pi / sectors)).astype(int)

    ss = StateSet().texture(0, "../Textures/Trees.png", wrap="CLAMP_TO_EDGE", env="MODULATE")
    ss.mode("GL_CULL_FACE", False).alpha_test(0.5)
    ss.material((0.8, 0.8, 0.8, 1), (0.8, 0.8, 0.8, 1), color_mode="AMBIENT_AND_DIFFUSE")

    w.block("Geode")
    w.node_header("trees")
    w.line("num_drawables %d" % sectors)
    for s in range(sectors):
        sel = np.nonzero(sector == s)[0]
        verts, tcs, cols = [], [], []
        for i in sel:
            k = kinds[i]
            hgt = heights[i]
            half = 0.5 * hgt * ASPECT[k]
            x0, z0 = pts[i]
            y0 = ground[i]
            turn = rng.rand() * math.pi
            tint = 0.85 + 0.3 * rng.rand()
            u0, u1 = k / VARIANTS, (k + 1) / VARIANTS
            for q in range(2):
                a = turn + q * math.pi / 2
                dx, dz = math.cos(a) * half, math.sin(a) * half
                p = [(x0 - dx, y0, z0 - dz), (x0 + dx, y0, z0 + dz),
                     (x0 + dx, y0 + hgt, z0 + dz), (x0 - dx, y0 + hgt, z0 - dz)]
                t = [(u0, 0), (u1, 0), (u1, 1), (u0, 1)]
                for tri in ((0, 1, 2), (0, 2, 3)):
                    for j in tri:
                        verts.append(p[j])
                        tcs.append(t[j])
                        cols.append((tint, tint, tint * 0.95, 1))
        write_geometry(w, ss, np.array(verts), normal_overall=(0, 1, 0),
                       colors=np.array(cols), texcoords=((np.array(tcs), 4),),
                       vertex_decimals=2)
    w.end()
    log("trees: %d trees (%d triangles) in %d sectors" % (len(pts), 4 * len(pts), sectors))
