"""Tests of the world generator: run with  /usr/bin/python3 -m unittest discover tools/world

They check the properties the program relies on and that a quick look would miss: the
terrain covers its disk without gaps, overlaps or T-junctions, faces up, comes out of the
program's reshape at the heights we meant, and the images tile; and the committed sites'
ground has no hole.
"""
import math
import os
import re
import sys
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import noise          # noqa: E402
import osgtext        # noqa: E402
import sitegen        # noqa: E402
import terrain        # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class TerrainMeshTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.x, cls.z, cls.h, cls.y, cls.nrm, cls.tris = terrain.prepare_mesh()

    def test_triangles_tile_the_disk_exactly(self):
        x, z, t = self.x, self.z, self.tris
        ax, az = x[t[:, 0]], z[t[:, 0]]
        bx, bz = x[t[:, 1]], z[t[:, 1]]
        cx, cz = x[t[:, 2]], z[t[:, 2]]
        area = 0.5 * np.abs((bx - ax) * (cz - az) - (cx - ax) * (bz - az))
        self.assertGreater(area.min(), 1.0, "no sliver or degenerate triangles")
        _, counts = terrain.ring_plan()
        n = counts[-1]
        polygon = 0.5 * n * terrain.R_MAX ** 2 * math.sin(2 * math.pi / n)
        self.assertAlmostEqual(area.sum() / polygon, 1.0, places=9, msg="no gap, no overlap")

    def test_every_inner_edge_is_shared_by_two_triangles(self):
        # A T-junction or a missing triangle leaves an inner edge used once.
        t = self.tris
        edges = np.sort(np.concatenate([t[:, [0, 1]], t[:, [1, 2]], t[:, [2, 0]]]), axis=1)
        _, uses = np.unique(edges, axis=0, return_counts=True)
        _, counts = terrain.ring_plan()
        self.assertEqual(int((uses == 1).sum()), counts[-1], "only the outer rim is open")
        self.assertEqual(int((uses > 2).sum()), 0)

    def test_reshaped_triangles_face_up_at_the_intended_heights(self):
        # The program's reshape, in single precision as it computes it.
        x = self.x.astype(np.float32)
        z = self.z.astype(np.float32)
        y = np.round(self.y, 2).astype(np.float32)   # as written: two decimals
        final = (x * x * np.float32(0.0001) + z * z * np.float32(0.0001)) * y * np.float32(0.01)
        r = np.hypot(self.x, self.z)
        # Two decimals written, multiplied back by up to 42 at the rim: a few cm far out.
        bound = 0.0051 * (r * r / 1e6) + 1e-5 * np.abs(self.h) + 1e-4
        self.assertTrue((np.abs(final - self.h) <= bound).all())
        a, b, c = (np.stack([x, final, z], axis=1)[self.tris[:, k]] for k in range(3))
        n = np.cross(b - a, c - b)
        self.assertTrue((n[:, 1] > 0).all(), "(B - A) x (C - B) must point up")
        self.assertEqual(np.abs(final[r < sitegen.FLAT_R]).max(), 0.0, "flat field")

    def test_normals_agree_with_the_faces(self):
        a, b, c = (np.stack([self.x, self.h, self.z], axis=1)[self.tris[:, k]] for k in range(3))
        face = np.cross(b - a, c - b)
        face /= np.linalg.norm(face, axis=1, keepdims=True)
        for k in range(3):
            dots = np.einsum("ij,ij->i", face, self.nrm[self.tris[:, k]])
            self.assertGreater(np.percentile(dots, 1), 0.85)
            self.assertGreater(dots.min(), 0.3)

    def test_written_normals_become_the_surface_normals_after_the_reshape(self):
        written = terrain.authored_normals(self.x, self.z, self.y, self.nrm)
        written = np.round(written, 3)        # as written: three decimals
        got = terrain.reshaped_normals(self.x, self.z, np.round(self.y, 2), written)
        far = np.hypot(self.x, self.z) > sitegen.FLAT_R
        dots = np.einsum("ij,ij->i", got[far], self.nrm[far])
        self.assertGreater(dots.min(), 0.999)

    def test_trees_stand_on_the_surface(self):
        mesh = (self.x, self.z, self.h, self.tris)
        pick = np.array([5000, 9000, 12000])
        got = terrain.terrain_surface_height(self.x[pick] * 0.999, self.z[pick] * 0.999, mesh)
        near = sitegen.height(self.x[pick] * 0.999, self.z[pick] * 0.999)
        self.assertLess(np.abs(got - near).max(), 15.0)
        got = terrain.terrain_surface_height(self.x[pick], self.z[pick], mesh)
        np.testing.assert_allclose(got, self.h[pick], atol=1e-6)


def read_terrain_triangles(path):
    """The triangles of the node "terrain" of a written site as the program takes them: the
    DrawArrays TRIANGLES ranges of every Geometry over its vertex array, (N, 3, 3) in x, y, z."""
    with open(path) as f:
        text = f.read()
    start = text.index('name "terrain"')
    depth, end = 1, start
    for brace in re.finditer(r"[{}]", text[start:]):
        depth += 1 if brace.group() == "{" else -1
        if depth == 0:
            end = start + brace.start()
            break
    pieces = re.finditer(r"PrimitiveSets \d+\s*\{([^}]*)\}\s*VertexArray Vec3Array \d+\s*\{([^}]*)\}",
                         text[start:end])
    out = []
    for piece in pieces:
        vertices = np.array(piece.group(2).split(), dtype=np.float32).reshape(-1, 3)
        for mode, first, count in re.findall(r"DrawArrays (\w+) (\d+) (\d+)", piece.group(1)):
            assert mode == "TRIANGLES", "the program takes plain triangle lists only"
            first, count = int(first), int(count) // 3 * 3
            out.append(vertices[first:first + count])
    return np.concatenate(out).astype(np.float64).reshape(-1, 3, 3)


def convex_hull(points):
    """Corners of the convex hull of (x, z) points, counter-clockwise (monotone chain)."""
    pts = sorted(map(tuple, points))

    def chain(seq):
        out = []
        for p in seq:
            while len(out) >= 2 and ((out[-1][0] - out[-2][0]) * (p[1] - out[-2][1]) -
                                     (out[-1][1] - out[-2][1]) * (p[0] - out[-2][0])) <= 0:
                out.pop()
            out.append(p)
        return out[:-1]
    return np.array(chain(pts) + chain(pts[::-1]))


class ShippedSiteTest(unittest.TestCase):
    """The committed sites as the program reads them. A point of the site in no triangle gets
    height 0 (the model meets the ground at the wrong height or falls through it), so the
    triangles seen from above must tile the site's whole convex outline: every inner edge is
    shared by exactly one other triangle wound the other way, and only the outline is open."""

    def assert_ground_has_no_hole(self, name):
        t = read_terrain_triangles(os.path.join(REPO, "Data", "3D", name + ".osg"))
        xz = t[:, :, [0, 2]]
        # Shared corners are written as the same text, so they read back as the same numbers.
        corners, index = np.unique(xz.reshape(-1, 2), axis=0, return_inverse=True)
        tri = index.reshape(-1, 3)
        a, b, c = xz[:, 0], xz[:, 1], xz[:, 2]
        area2 = (b[:, 0] - a[:, 0]) * (c[:, 1] - a[:, 1]) - (b[:, 1] - a[:, 1]) * (c[:, 0] - a[:, 0])
        self.assertTrue((area2 > 0).all() or (area2 < 0).all(),
                        "%s: triangles without area seen from above, or folded over" % name)
        if area2[0] < 0:
            tri = tri[:, ::-1]
        edges = np.concatenate([tri[:, [0, 1]], tri[:, [1, 2]], tri[:, [2, 0]]])
        edge_keys = edges[:, 0] * len(corners) + edges[:, 1]
        self.assertEqual(len(np.unique(edge_keys)), len(edge_keys), "%s: overlapping triangles" % name)
        open_edges = edges[~np.isin(edge_keys, edges[:, 1] * len(corners) + edges[:, 0])]
        hull = convex_hull(corners)
        mid = corners[open_edges].mean(axis=1)
        # Depth inside the outline: the least distance to the line of any hull edge.
        p, q = hull, np.roll(hull, -1, axis=0)
        d = q - p
        depth = ((d[:, 0] * (mid[:, None, 1] - p[:, 1]) - d[:, 1] * (mid[:, None, 0] - p[:, 0])) /
                 np.hypot(d[:, 0], d[:, 1])).min(axis=1)
        holes = mid[depth > 0.01]
        self.assertEqual(len(holes), 0, "%s: %d open edges inside the site, e.g. at (x, z) %s" %
                         (name, len(holes), np.round(holes[:4], 2).tolist()))
        outline = 0.5 * np.sum(p[:, 0] * q[:, 1] - q[:, 0] * p[:, 1])
        perimeter = np.hypot(d[:, 0], d[:, 1]).sum()
        self.assertLess(abs(0.5 * np.abs(area2).sum() - outline), 0.01 * perimeter,
                        "%s: the triangles cover more or less than the outline" % name)

    def test_flying_site_ground_has_no_hole(self):
        self.assert_ground_has_no_hole("FlyingSite")

    def test_slope_site_ground_has_no_hole(self):
        self.assert_ground_has_no_hole("SlopeSite")


class MappingTest(unittest.TestCase):
    def test_overview_warp_round_trip_and_range(self):
        rng = np.random.RandomState(1)
        r = rng.rand(1000) * terrain.R_MAX
        a = rng.rand(1000) * 2 * math.pi
        x, z = r * np.cos(a), r * np.sin(a)
        u, v = terrain.overview_coords(x, z)
        self.assertTrue(((u >= 0) & (u <= 1) & (v >= 0) & (v <= 1)).all())
        bx, bz = terrain.overview_world(u, v)
        np.testing.assert_allclose(bx, x, atol=1e-6)
        np.testing.assert_allclose(bz, z, atol=1e-6)

    def test_authored_height_inverts_the_reshape(self):
        cases = [  # x, z, wanted height
            (1000.0, 0.0, 5.0),    # unchanged at 1 km
            (100.0, 0.0, 0.05),    # written 100 times higher at 100 m
            (0.0, 2000.0, 400.0),  # a quarter at 2 km
            (0.0, 0.0, 0.0),       # the origin itself
        ]
        for x, z, h in cases:
            y = terrain.authored_height(np.array(x), np.array(z), np.array(h))
            self.assertAlmostEqual(float(y) * (x * x + z * z) / 1e6, h, places=9)


class ImageTest(unittest.TestCase):
    def test_tileable_noise_has_no_seam(self):
        img = noise.tileable_fbm(128, 4, 5, 7)
        inner = np.abs(np.diff(img, axis=1)).mean()
        seam = np.abs(img[:, 0] - img[:, -1]).mean()
        self.assertLess(seam, 2.0 * inner)
        seam_v = np.abs(img[0, :] - img[-1, :]).mean()
        self.assertLess(seam_v, 2.0 * np.abs(np.diff(img, axis=0)).mean())


class OsgTextTest(unittest.TestCase):
    def test_numbers_are_short_and_never_negative_zero(self):
        rows = osgtext._fmt_rows([[1.50, -0.0001, 2.0], [0.125, -3.0, 10.0]], 2)
        self.assertEqual(rows, ["1.5 0 2", "0.12 -3 10"])

    def test_triangle_list_needs_whole_triangles(self):
        w = osgtext.Writer()
        with self.assertRaises(AssertionError):
            osgtext.write_geometry(w, None, np.zeros((4, 3)))


if __name__ == "__main__":
    unittest.main()
