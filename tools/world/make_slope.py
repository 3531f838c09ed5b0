#!/usr/bin/python3
"""Generates Kestro's slope site: Data/3D/SlopeSite.osg and Data/Textures/SlopeColor.png.

    /usr/bin/python3 tools/world/make_slope.py            # both, into Data/
    /usr/bin/python3 tools/world/make_slope.py --scenes   # only the .osg file

The site's shape and colours are in slopegen.py. The mesh is a rectilinear grid, 10 m apart
over the face, the crest and the landing area, widening by 8 % a step towards the 6 km rim;
every cell is two triangles wound so that (B - A) x (C - B) points up, and the grid has no
T-junctions, so the collision mesh finds every neighbour. The colour image is the field's
radially warped overview (terrain.overview_coords): about 1 m a texel at the pilot, 20 m at
the rim. Output is deterministic.
"""
import argparse
import os
import sys
import time

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import sky          # noqa: E402
import slopegen as sl  # noqa: E402
import terrain      # noqa: E402
from osgtext import StateSet, Writer, write_geometry  # noqa: E402

REPO = os.path.dirname(os.path.dirname(HERE))
FOG_DENSITY = 0.00012
FINE = 10.0         # m: grid step over the face and the crest
GROWTH = 0.08      # each step outside the fine zone is 8 % longer than the last
EXTENT = 6000.0     # m: half width of the site
TILE = 24           # grid cells per tile side


def axis(lo_fine, hi_fine):
    """Grid coordinates: FINE steps over [lo_fine, hi_fine], growing outwards to +-EXTENT."""
    inner = np.arange(lo_fine, hi_fine + 0.5 * FINE, FINE)
    out_hi, out_lo = [], []
    step, c = FINE, inner[-1]
    while c < EXTENT:
        step *= 1.0 + GROWTH
        c = min(EXTENT, c + step)
        out_hi.append(c)
    step, c = FINE, inner[0]
    while c > -EXTENT:
        step *= 1.0 + GROWTH
        c = max(-EXTENT, c - step)
        out_lo.append(c)
    return np.concatenate([out_lo[::-1], inner, out_hi])


def build_grid():
    xs = axis(-240.0, 240.0)
    zs = axis(-sl.FACE_DEPTH - 80.0, 96.0)
    x, z = np.meshgrid(xs, zs)          # [j, i]: row j along z
    h = sl.height(x, z)
    return xs, zs, x, z, h


def triangles(nx, nz):
    """Vertex index triples of the grid, two per cell, split along alternating diagonals."""
    i, j = np.meshgrid(np.arange(nx - 1), np.arange(nz - 1))
    i, j = i.ravel(), j.ravel()
    v00 = j * nx + i
    v10 = v00 + 1
    v01 = v00 + nx
    v11 = v01 + 1
    alt = (i + j) % 2 == 0
    t1 = np.where(alt[:, None], np.stack([v00, v01, v11], 1), np.stack([v00, v01, v10], 1))
    t2 = np.where(alt[:, None], np.stack([v00, v11, v10], 1), np.stack([v10, v01, v11], 1))
    cell = np.stack([i, j], 1)
    return np.concatenate([t1, t2]), np.concatenate([cell, cell])


def write_terrain(w, log):
    xs, zs, X, Z, H = build_grid()
    nz, nx = X.shape
    x, z, h = X.ravel(), Z.ravel(), H.ravel()
    tris, cells = triangles(nx, nz)
    nrm = terrain.wind_up_with_normals(x, z, h, tris)

    ss = StateSet().texture(0, "../Textures/SlopeColor.png", wrap="CLAMP_TO_EDGE", env="MODULATE")
    ss.texture(1, "../Textures/Detail.png", env="MODULATE")
    u0, v0 = terrain.overview_coords(x, z)
    du, dv = x / terrain.DETAIL_PERIOD, z / terrain.DETAIL_PERIOD

    ti = cells[:, 0] // TILE
    tj = cells[:, 1] // TILE
    keys = sorted(set(zip(tj.tolist(), ti.tolist())))
    w.block("Geode")
    w.node_header("terrain")
    w.line("num_drawables %d" % len(keys))
    for kj, ki in keys:
        m = (tj == kj) & (ti == ki)
        idx = tris[m].reshape(-1)
        verts = np.stack([x[idx], h[idx], z[idx]], axis=-1)
        tc0 = (np.stack([u0[idx], v0[idx]], axis=-1), 5)
        tc1 = (np.stack([du[idx], dv[idx]], axis=-1), 2)
        write_geometry(w, ss, verts, normals=nrm[idx], color_overall=(1, 1, 1, 1),
                       texcoords=(tc0, tc1), vertex_decimals=2, normal_decimals=3)
    w.end()
    log("slope terrain: %d x %d grid, %d triangles in %d tiles" % (nx, nz, len(tris), len(keys)))


def make_site(path, log):
    w = Writer()
    w.block("Group")
    w.node_header("SlopeSite")
    ss = StateSet().fog("EXP", FOG_DENSITY, 0, 1, tuple(sky.HORIZON) + (1.0,))
    ss.material((0.45, 0.45, 0.45, 1), (0.78, 0.78, 0.78, 1))
    ss.write(w)
    w.line("num_children 1")
    write_terrain(w, log)
    w.end()
    with open(path, "w", newline="\n") as f:
        f.write(w.text())
    log("wrote %s (%.2f MB)" % (path, os.path.getsize(path) / 1e6))


def make_color_image(path, log, size):
    c = (np.arange(size) + 0.5) / size
    u, v = np.meshgrid(c, c)
    x, z = terrain.overview_world(u, v)
    r = np.hypot(x, z)
    scale = np.where(r > terrain.R_MAX * 1.02, terrain.R_MAX * 1.02 / np.maximum(r, 1e-9), 1.0)
    x, z = x * scale, z * scale
    texel = 2.0 * terrain.WARP_R0 * (1 + np.hypot(x, z) / terrain.WARP_R0) * \
        np.log1p(terrain.R_MAX / terrain.WARP_R0) / size
    out = np.zeros((size, size, 3))
    for lo, hi, fine in ((0, 2.5, 2.0), (2.5, 8.0, 5.0), (8.0, 1e9, 10.0)):
        m = (texel >= lo) & (texel < hi)
        if m.any():
            out[m] = sl.ground_color(x[m], z[m], fine)
    terrain._to_image(out).save(path, optimize=True)
    log("wrote %s (%dx%d, warped overview)" % (path, size, size))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    ap.add_argument("--out", default=os.path.join(REPO, "Data"), help="Data folder to write")
    ap.add_argument("--scenes", action="store_true", help="only the .osg file")
    ap.add_argument("--preview", action="store_true", help="half-size image, for quick looks")
    args = ap.parse_args()
    t0 = time.time()
    os.makedirs(os.path.join(args.out, "3D"), exist_ok=True)
    os.makedirs(os.path.join(args.out, "Textures"), exist_ok=True)
    log = lambda msg: print(msg, flush=True)  # noqa: E731
    if not args.scenes:
        size = terrain.OVERVIEW_SIZE // (2 if args.preview else 1)
        make_color_image(os.path.join(args.out, "Textures", "SlopeColor.png"), log, size)
    make_site(os.path.join(args.out, "3D", "SlopeSite.osg"), log)
    log("done in %.0f s" % (time.time() - t0))
    return 0


if __name__ == "__main__":
    sys.exit(main())
