"""Tests of the world generator: run with  /usr/bin/python3 -m unittest discover tools/world

They check the properties the program relies on and that a quick look would miss: the
terrain covers its disk without gaps, overlaps or T-junctions, faces up, comes out of the
program's reshape at the heights we meant, and the images tile.
"""
import math
import os
import sys
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import noise          # noqa: E402
import osgtext        # noqa: E402
import sitegen        # noqa: E402
import terrain        # noqa: E402


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
