"""SkyDome.osg: a vertex-coloured dome, authored with Z up.

The program turns the dome by 90 degrees about -X (Z up becomes Y up) and moves it to the
camera every frame, so the dome's centre is always the eye. Vertex colours cost almost no
pixel work, unlike a textured dome; the dome is drawn first (render bin -1) without writing
depth, so its radius only has to stay inside the far plane and nothing can be hidden by it.
Below the horizon it reaches only 15 degrees down: enough for the terrain's rim seen from a
few hundred metres up, without filling the lower screen twice.
The horizon colour equals the terrain's fog colour (FlyingSite.osg), so the mountains fade
into the haze.
"""
import math

import numpy as np

from osgtext import StateSet, write_geometry

RADIUS = 10000.0          # m: inside the flight view's 15 km far plane
SEGMENTS = 48
HORIZON = np.array((0.79, 0.85, 0.91))
ZENITH = np.array((0.20, 0.39, 0.75))
BELOW = np.array((0.62, 0.68, 0.72))   # seen only past the terrain's edge, from high up
# Ring elevations (degrees): dense near the horizon, where the colour changes fastest.
ELEVATIONS = [-15, -8, -3, -1, 0, 1, 2.5, 4, 6, 9, 13, 18, 25, 34, 45, 58, 72, 90]


def sky_color(e_deg):
    if e_deg <= 0:
        t = min(1.0, -e_deg / 12.0)
        return HORIZON * (1 - t) + BELOW * t
    # Haze thins out exponentially with the elevation; a little extra blue right above it.
    t = 1.0 - math.exp(-e_deg / 11.0)
    t = t ** 0.85
    return HORIZON * (1 - t) + ZENITH * t


def write_sky(w, log):
    rings = []
    for e in ELEVATIONS:
        er = math.radians(e)
        ring = []
        for k in range(SEGMENTS if e < 90 else 1):
            a = 2 * math.pi * k / SEGMENTS
            ring.append((RADIUS * math.cos(er) * math.cos(a),
                         RADIUS * math.cos(er) * math.sin(a),
                         RADIUS * math.sin(er)))
        rings.append((ring, sky_color(e)))
    verts, cols = [], []

    def tri(p, q, s):
        for v, c in (p, q, s):
            verts.append(v)
            cols.append((c[0], c[1], c[2], 1.0))
    for i in range(len(rings) - 1):
        (lo, clo), (hi, chi) = rings[i], rings[i + 1]
        for k in range(SEGMENTS):
            k1 = (k + 1) % SEGMENTS
            # Wound counter-clockwise seen from the centre: the inside is the front face.
            if len(hi) == 1:
                tri((lo[k], clo), (hi[0], chi), (lo[k1], clo))
            else:
                tri((lo[k], clo), (hi[k], chi), (lo[k1], clo))
                tri((lo[k1], clo), (hi[k], chi), (hi[k1], chi))
    ss = StateSet().mode("GL_LIGHTING", False).mode("GL_FOG", False)
    ss.mode("GL_CULL_FACE", False).depth(write=False).render_bin(-1, "RenderBin")
    w.block("Geode")
    w.node_header("SkyDome")
    w.line("num_drawables 1")
    write_geometry(w, ss, np.array(verts), colors=np.array(cols), vertex_decimals=1)
    w.end()
    log("sky dome: radius %.0f m, %d triangles" % (RADIUS, len(verts) // 3))
