"""Small solid shapes as plain triangle lists with normals (and optional texture coordinates).

Every builder returns (vertices, normals, texcoords) arrays of equal length, wound
counter-clockwise seen from outside so that back-face culling keeps the outside.
"""
import math

import numpy as np


def _quad(p0, p1, p2, p3, n, uv_scale):
    v = [p0, p1, p2, p0, p2, p3]
    w = np.linalg.norm(np.subtract(p1, p0)) / uv_scale
    h = np.linalg.norm(np.subtract(p3, p0)) / uv_scale
    t = [(0, 0), (w, 0), (w, h), (0, 0), (w, h), (0, h)]
    return v, [n] * 6, t


def box(center, size, uv_scale=0.1):
    cx, cy, cz = center
    hx, hy, hz = (s / 2.0 for s in size)
    c = lambda sx, sy, sz: (cx + sx * hx, cy + sy * hy, cz + sz * hz)
    faces = [
        ((c(1, -1, 1), c(1, -1, -1), c(1, 1, -1), c(1, 1, 1)), (1, 0, 0)),
        ((c(-1, -1, -1), c(-1, -1, 1), c(-1, 1, 1), c(-1, 1, -1)), (-1, 0, 0)),
        ((c(-1, 1, 1), c(1, 1, 1), c(1, 1, -1), c(-1, 1, -1)), (0, 1, 0)),
        ((c(-1, -1, -1), c(1, -1, -1), c(1, -1, 1), c(-1, -1, 1)), (0, -1, 0)),
        ((c(-1, -1, 1), c(1, -1, 1), c(1, 1, 1), c(-1, 1, 1)), (0, 0, 1)),
        ((c(1, -1, -1), c(-1, -1, -1), c(-1, 1, -1), c(1, 1, -1)), (0, 0, -1)),
    ]
    vs, ns, ts = [], [], []
    for (p0, p1, p2, p3), n in faces:
        v, nn, t = _quad(p0, p1, p2, p3, n, uv_scale)
        vs += v
        ns += nn
        ts += t
    return np.array(vs), np.array(ns, float), np.array(ts, float)


def _frame(axis):
    a = np.array(axis, float)
    a /= np.linalg.norm(a)
    helper = np.array((0, 1, 0)) if abs(a[1]) < 0.9 else np.array((1, 0, 0))
    u = np.cross(helper, a)
    u /= np.linalg.norm(u)
    v = np.cross(a, u)
    return a, u, v


def cylinder(center, axis, radius, length, segments=20, radius2=None):
    """Closed cylinder (or cone frustum when radius2 is given) along axis."""
    a, u, v = _frame(axis)
    c = np.array(center, float)
    r2 = radius if radius2 is None else radius2
    p_lo = c - a * length / 2
    p_hi = c + a * length / 2
    slope = (radius - r2) / length
    vs, ns = [], []
    for k in range(segments):
        t0 = 2 * math.pi * k / segments
        t1 = 2 * math.pi * (k + 1) / segments
        d0 = math.cos(t0) * u + math.sin(t0) * v
        d1 = math.cos(t1) * u + math.sin(t1) * v
        n0 = d0 + slope * a
        n1 = d1 + slope * a
        n0 /= np.linalg.norm(n0)
        n1 /= np.linalg.norm(n1)
        a0, a1 = p_lo + radius * d0, p_lo + radius * d1
        b0, b1 = p_hi + r2 * d0, p_hi + r2 * d1
        vs += [a0, a1, b1, a0, b1, b0]
        ns += [n0, n1, n1, n0, n1, n0]
        vs += [p_hi, b0, b1]
        ns += [a, a, a]
        vs += [p_lo, a1, a0]
        ns += [-a, -a, -a]
    vs = np.array(vs)
    return vs, np.array(ns), np.zeros((len(vs), 2))


def sphere(center, radius, segments=16, rings=10):
    c = np.array(center, float)

    def p(i, k):
        th = math.pi * i / rings
        ph = 2 * math.pi * k / segments
        return np.array((math.sin(th) * math.cos(ph), math.cos(th), -math.sin(th) * math.sin(ph)))
    vs, ns = [], []
    for i in range(rings):
        for k in range(segments):
            q = [p(i, k), p(i + 1, k), p(i + 1, k + 1), p(i, k + 1)]
            for tri in ((0, 1, 2), (0, 2, 3)):
                pts = [q[j] for j in tri]
                if np.linalg.norm(np.cross(pts[1] - pts[0], pts[2] - pts[1])) < 1e-9:
                    continue   # the poles' collapsed triangles
                for d in pts:
                    vs.append(c + radius * d)
                    ns.append(d)
    vs = np.array(vs)
    return vs, np.array(ns), np.zeros((len(vs), 2))


def merge(*parts):
    return tuple(np.concatenate([p[i] for p in parts]) for i in range(3))


def outward_ok(shape, center):
    """True when every triangle's (B - A) x (C - B) points away from center (convex parts)."""
    v = shape[0].reshape(-1, 3, 3)
    n = np.cross(v[:, 1] - v[:, 0], v[:, 2] - v[:, 1])
    out = v.mean(axis=1) - np.asarray(center)
    return bool((np.einsum("ij,ij->i", n, out) > 0).all())
