"""Dummy.osg and the part markers of the model editor.

Markers are drawn at scale 1 at a part's position in body axes (+X right, +Y up, forward -Z),
so they are sized in metres like the parts of a 1 to 2 m model and coloured so that each kind
is told apart at a glance: collision point red, wheel black, engine orange, battery blue,
fuel tank green, servo purple.

Dummy.osg stands in for any 3D file that cannot be read, most often a model's own shape, so it
is a crude checkered aeroplane (nose towards -Z, 1 m span) rather than a cube: a pilot can
still fly with it and see which way it points.
"""
import numpy as np

import shapes
from osgtext import StateSet, write_geometry


def _lit(texture=None):
    ss = StateSet().mode("GL_LIGHTING", True).mode("GL_CULL_FACE", True)
    ss.material((1, 1, 1, 1), (1, 1, 1, 1), specular=(0.3, 0.3, 0.3, 1), shininess=20,
                color_mode="AMBIENT_AND_DIFFUSE")
    if texture:
        ss.texture(0, texture, env="MODULATE")
    return ss


def _object(w, name, parts, texture=None):
    """parts: list of (shape, rgba). One Geometry per colour, all sharing one state set."""
    ss = _lit(texture)
    w.block("Geode")
    w.node_header(name)
    w.line("num_drawables %d" % len(parts))
    for shape, rgba in parts:
        v, n, t = shape
        write_geometry(w, ss, v, normals=n, color_overall=rgba,
                       texcoords=(((t, 3),) if texture else ()), vertex_decimals=4)
    w.end()


RED = (0.9, 0.1, 0.08, 1)
BLACK = (0.1, 0.1, 0.1, 1)
GREY = (0.7, 0.7, 0.72, 1)
ORANGE = (1.0, 0.55, 0.05, 1)
BLUE = (0.1, 0.3, 0.95, 1)
GREEN = (0.15, 0.75, 0.2, 1)
PURPLE = (0.6, 0.15, 0.8, 1)
WHITE = (0.95, 0.95, 0.95, 1)


def marker_parts():
    """Name -> list of (shape, colour); kept apart from writing so sizes can be checked."""
    cyl = shapes.cylinder
    box = shapes.box
    return {
        # A bead where the point touches.
        "CollisionPoint": [(shapes.sphere((0, 0, 0), 0.015), RED)],
        # An 80 mm wheel turning about X, with its hub.
        "Wheel": [(cyl((0, 0, 0), (1, 0, 0), 0.04, 0.022, 24), BLACK),
                  (cyl((0, 0, 0), (1, 0, 0), 0.013, 0.03, 12), GREY)],
        # Motor body along the thrust line, spinner and propeller at the front (-Z).
        "Engine": [(cyl((0, 0, 0.01), (0, 0, 1), 0.022, 0.06, 20), ORANGE),
                   (cyl((0, 0, -0.035), (0, 0, -1), 0.014, 0.03, 16, radius2=0.002), GREY),
                   (box((0, 0, -0.026), (0.18, 0.014, 0.004)), BLACK)],
        # A pack with its leads.
        "Battery": [(box((0, 0, 0), (0.035, 0.03, 0.1)), BLUE),
                    (box((0.006, 0, -0.056), (0.006, 0.006, 0.012)), RED),
                    (box((-0.006, 0, -0.056), (0.006, 0.006, 0.012)), BLACK)],
        # Tank along Z with rounded ends and the clunk line out of the front.
        "FuelTank": [(cyl((0, 0, 0), (0, 0, 1), 0.03, 0.08, 20), GREEN),
                     (cyl((0, 0, -0.05), (0, 0, -1), 0.03, 0.02, 20, radius2=0.012), GREEN),
                     (cyl((0, 0, 0.05), (0, 0, 1), 0.03, 0.02, 20, radius2=0.012), GREEN),
                     (cyl((0, 0, -0.07), (0, 0, -1), 0.003, 0.02, 8), WHITE)],
        # Servo case with mounting lugs and the output arm on top.
        "Servo": [(box((0, 0, 0), (0.02, 0.036, 0.04)), PURPLE),
                  (box((0, 0.008, 0), (0.02, 0.003, 0.056)), PURPLE),
                  (cyl((0, 0.021, -0.01), (0, 1, 0), 0.005, 0.006, 12), WHITE),
                  (box((0, 0.025, -0.018), (0.006, 0.003, 0.03)), WHITE)],
    }


def dummy_parts():
    box = shapes.box
    # uv_scale 0.25: one checker image per 25 cm, squares about 3 cm.
    return [
        (box((0, 0, 0.0), (0.09, 0.09, 0.9), 0.25), WHITE),        # fuselage
        (box((0, 0.03, -0.1), (1.0, 0.02, 0.2), 0.25), WHITE),     # wing
        (box((0, 0.01, 0.4), (0.36, 0.012, 0.1), 0.25), WHITE),    # tailplane
        (box((0, 0.08, 0.41), (0.012, 0.14, 0.09), 0.25), WHITE),  # fin
    ]


def write_marker(w, name, log):
    parts = marker_parts()[name]
    _object(w, name, parts)
    size = max(np.abs(p[0][0]).max() for p in parts)
    log("%s.osg: %d parts, reaches %.3f m from its origin" % (name, len(parts), size))


def write_dummy(w, log):
    _object(w, "Dummy", dummy_parts(), texture="../Textures/DummyTexture.bmp")
    log("Dummy.osg: checkered aeroplane, 1 m span, nose towards -Z")
