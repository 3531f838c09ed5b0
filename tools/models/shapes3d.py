"""The 3D objects of the shipped models, built from the same part lists as the model files.

Authored in body axes (+X right, +Y up, forward -Z, metres), so that the object sits where the
flight model's parts act. Control surfaces, propellers and steered/spinning wheels are
osgSim::DOFTransform nodes named exactly as the model file's DOF keys:
  - a control surface turns by its deflection as "pitch", i.e. about the node's own X axis, so
    the node's X axis is the hinge line, pointing so that a positive deflection lowers the
    trailing edge (the side the surface's lift points to);
  - a propeller's node is named after its PROPELLER part and spins as "roll", about the node's
    Y axis, so Y is the thrust axis;
  - a wheel's node is named after the wheel, steers as "heading" about Z (up) and spins as
    "pitch" about X (the axle).
The geometry under a DOF node stays in body axes; the node's PutMatrix is the inverse of its
frame (rows X, Y, Z, pivot), the frame the DOF's angles turn about.
"""
import math

import numpy as np

import shapes
from osgtext import StateSet, Writer, write_geometry

RED = (0.85, 0.08, 0.06, 1)
WHITE = (0.95, 0.95, 0.93, 1)
BLACK = (0.08, 0.08, 0.08, 1)
GREY = (0.6, 0.6, 0.62, 1)
CANOPY = (0.12, 0.18, 0.3, 1)
YELLOW = (1.0, 0.8, 0.05, 1)
ORANGE = (1.0, 0.45, 0.02, 1)
BLUE = (0.1, 0.3, 0.9, 1)
SILVER = (0.8, 0.8, 0.82, 1)


# --- shapes ------------------------------------------------------------------------------

def _section(kind, n=24):
    """Airfoil outline as (x, y) in chords, from the trailing edge over the upper surface to the
    leading edge and back along the lower one (NACA four-digit formulas)."""
    m, p, t = {"ClarkY.afl": (0.035, 0.3, 0.117), "ClarkYWing.afl": (0.035, 0.3, 0.117), "NACA2412.afl": (0.02, 0.4, 0.12),
               "NACA0012.afl": (0.0, 0.4, 0.12), "flat": (0.0, 0.4, 0.06)}[kind]
    beta = np.linspace(0, math.pi, n)
    x = 0.5 * (1 - np.cos(beta))
    yt = 5 * t * (0.2969 * np.sqrt(x) - 0.126 * x - 0.3516 * x ** 2 + 0.2843 * x ** 3 - 0.1036 * x ** 4)
    yc = np.where(x < p, m / p ** 2 * (2 * p * x - x ** 2) if m else 0 * x,
                  m / (1 - p) ** 2 * ((1 - 2 * p) + 2 * p * x - x ** 2) if m else 0 * x)
    upper = np.stack([x, yc + yt], 1)[::-1]
    lower = np.stack([x, yc - yt], 1)[1:]
    return np.concatenate([upper, lower])


def _tri_normals(v):
    tri = v.reshape(-1, 3, 3)
    n = np.cross(tri[:, 1] - tri[:, 0], tri[:, 2] - tri[:, 0])
    ln = np.linalg.norm(n, axis=1, keepdims=True)
    n = n / np.where(ln > 0, ln, 1)
    return np.repeat(n, 3, axis=0)


def _shape(tris):
    v = np.asarray(tris, float).reshape(-1, 3)
    return v, _tri_normals(v), np.zeros((len(v), 2))


def loft(rings, close_ends=True):
    """Surface through closed rings of equal point count (each ring counter-clockwise seen
    from the end the rings advance to)."""
    tris = []
    for a, b in zip(rings[:-1], rings[1:]):
        k = len(a)
        for i in range(k):
            j = (i + 1) % k
            tris += [a[i], b[i], b[j], a[i], b[j], a[j]]
    if close_ends:
        for ring, flip in ((rings[0], True), (rings[-1], False)):
            c = np.mean(ring, axis=0)
            for i in range(len(ring)):
                j = (i + 1) % len(ring)
                tris += [c, ring[j], ring[i]] if flip else [c, ring[i], ring[j]]
    return _shape(tris)


def panel(le0, le1, c0, c1, chord_dir, up, section, x_from=0.0, x_to=1.0):
    """A wing panel between two leading-edge points, its chords and axes, over the chord
    fraction x_from..x_to of the section (a control surface is the rear part)."""
    sec = _section(section)
    xs = x_from + (x_to - x_from) * sec[:, 0]
    # Keep the section's thickness at that part of the chord: evaluate y at xs.
    full = _section(section, 61)
    up_x, up_y = full[:31][::-1, 0], full[:31][::-1, 1]
    lo_x, lo_y = full[30:, 0], full[30:, 1]
    half = len(sec) // 2
    ys = np.concatenate([np.interp(xs[:half + 1], up_x, up_y), np.interp(xs[half + 1:], lo_x, lo_y)])
    chord_dir = np.asarray(chord_dir, float)
    up = np.asarray(up, float)
    rings = []
    for le, c in ((le0, c0), (le1, c1)):
        rings.append([np.asarray(le, float) + c * (x * chord_dir + y * up) for x, y in zip(xs, ys)])
    v, n, t = loft(rings)
    # Make the winding face outwards whichever way the panel runs.
    centre = np.mean(np.concatenate(rings), axis=0)
    tri = v.reshape(-1, 3, 3)
    out = tri.mean(axis=1) - centre
    if np.einsum("ij,ij->i", n.reshape(-1, 3, 3)[:, 0], out).mean() < 0:
        tri = tri[:, ::-1]
        v = tri.reshape(-1, 3)
        n = _tri_normals(v)
    return v, n, t


def fuselage(stations):
    """stations: (z, centre y, half width, half height); a rounded-box cross section."""
    rings = []
    k = 20
    for z, yc, hw, hh in stations:
        ring = []
        for i in range(k):
            a = 2 * math.pi * i / k
            c, s = math.cos(a), math.sin(a)
            # Superellipse, exponent 2.5: boxy but rounded, like a sheeted fuselage.
            x = hw * np.sign(c) * abs(c) ** 0.8
            y = hh * np.sign(s) * abs(s) ** 0.8
            ring.append((x, yc + y, z))
        rings.append(ring)
    # Rings advance towards +Z; make them counter-clockwise seen from +Z.
    return loft(rings)


def ellipsoid(centre, radii, segments=16, rings=10):
    v, n, t = shapes.sphere((0, 0, 0), 1.0, segments, rings)
    r = np.asarray(radii, float)
    v = v * r + np.asarray(centre, float)
    n = n / r
    n /= np.linalg.norm(n, axis=1, keepdims=True)
    return v, n, t


def box(centre, size):
    return shapes.box(centre, size)


def cylinder(centre, axis, radius, length, segments=20, radius2=None):
    return shapes.cylinder(centre, axis, radius, length, segments, radius2)


def strut(p0, p1, radius=0.004):
    p0, p1 = np.asarray(p0, float), np.asarray(p1, float)
    d = p1 - p0
    return cylinder((p0 + p1) / 2, d, radius, np.linalg.norm(d), 8)


# --- scene writing -----------------------------------------------------------------------

class Node:
    def __init__(self, name, parts, dof=None, children=()):
        self.name = name          # node name (the DOF key for a DOF node)
        self.parts = parts        # [(shape, rgba)]
        self.dof = dof            # None or (x axis, y axis, z axis, origin)
        self.children = list(children)


def _lit():
    ss = StateSet().mode("GL_LIGHTING", True).mode("GL_CULL_FACE", True).mode("GL_NORMALIZE", True)
    ss.material((1, 1, 1, 1), (1, 1, 1, 1), specular=(0.35, 0.35, 0.35, 1), shininess=30,
                color_mode="AMBIENT_AND_DIFFUSE")
    return ss


def _geode(w, ss, name, parts):
    w.block("Geode")
    w.node_header(name)
    # One Geometry per colour keeps the file small and the draw calls few.
    by_colour = {}
    for shape, rgba in parts:
        by_colour.setdefault(tuple(rgba), []).append(shape)
    w.line("num_drawables %d" % len(by_colour))
    for rgba, group in by_colour.items():
        v, n, _ = shapes.merge(*group)
        write_geometry(w, ss, v, normals=n, color_overall=rgba, vertex_decimals=4)
    w.end()


def _write_node(w, ss, node):
    if node.dof is None:
        w.block("Group")
        w.node_header(node.name)
    else:
        x, y, z, o = (np.asarray(a, float) for a in node.dof)
        w.block("osgSim::DOFTransform")
        w.node_header(node.name)
        w.line("referenceFrame RELATIVE")
        # osgSim applies put * rotation * put^-1 to the geometry below (row vectors), so the
        # put matrix takes body axes into the node's frame: the inverse of (axes, pivot).
        frame = np.identity(4)
        frame[:3, :3] = np.stack([x, y, z])
        frame[3, :3] = o
        put = np.linalg.inv(frame)
        w.block("PutMatrix")
        for row in put:
            w.line(" ".join("%.6g" % (0.0 if abs(c) < 1e-12 else c) for c in row))
        w.end()
        for key in ("minHPR", "maxHPR", "incrementHPR", "currentHPR", "minTranslate", "maxTranslate",
                    "incrementTranslate", "currentTranslate", "minScale", "maxScale", "incrementScale"):
            w.line("%s 0 0 0" % key)
        w.line("currentScale 1 1 1")
        w.line("multOrder PRH")
        w.line("limitationFlags 0x0")
        w.line("animationOn FALSE")
    count = (1 if node.parts else 0) + len(node.children)
    w.line("num_children %d" % count)
    if node.parts:
        _geode(w, ss, node.name + "_Geometry", node.parts)
    for child in node.children:
        _write_node(w, ss, child)
    w.end()


def scene_text(root):
    w = Writer()
    _write_node(w, _lit(), root)
    return w.text()


def hinge_frame(span_dir, chord_dir, up, origin):
    """DOF axes of a control surface: X = hinge (up x chord), Y = forward (-chord), Z = up."""
    c = np.asarray(chord_dir, float)
    u = np.asarray(up, float)
    x = np.cross(u, c)
    x /= np.linalg.norm(x)
    return (x, -c, np.cross(x, -c), origin)


WHEEL_FRAME = ((1, 0, 0), (0, 0, -1), (0, 1, 0))


def wheel_node(name, hub, radius, width, colour=BLACK):
    parts = [(cylinder(hub, (1, 0, 0), radius, width, 20), colour),
             (cylinder(hub, (1, 0, 0), radius * 0.45, width * 1.3, 12), SILVER)]
    return Node(name, parts, dof=WHEEL_FRAME + (hub,))


def propeller_node(name, centre, diameter, colour=BLACK, spinner=None, pusher=False):
    c = np.asarray(centre, float)
    r = diameter / 2
    blade = 0.075 * diameter
    parts = []
    for sign in (1, -1):
        # Blades twisted a little so the disc reads as a propeller from the side too.
        mid = c + (sign * r * 0.52, 0, 0)
        parts.append((box(mid, (r * 0.96, blade * 0.18, blade)), colour))
    if spinner:
        axis = (0, 0, 1) if pusher else (0, 0, -1)
        parts.append((cylinder(c, axis, spinner, spinner * 2.0, 16, radius2=spinner * 0.15), spinner_colour(colour)))
    return Node(name, parts, dof=WHEEL_FRAME + (c,))


def spinner_colour(colour):
    return RED if colour == BLACK else WHITE


# --- wings from the part keys ------------------------------------------------------------

def wing3_nodes(keys, colours, section, tip_colour=None):
    """Fixed geometry and control-surface DOF nodes of a WING3 part, per segment and half."""
    p = dict(keys)
    n = p["NUMBER_OF_SEGMENTS"]
    half = p["HALF_SPAN"]
    phi = math.radians(p["ROLL_ANGLE"] + p["DIHEDRAL"])
    sweep = math.tan(math.radians(p["SWEEP_ANGLE"]))
    base = np.asarray(p["POSITION"], float)
    fixed = []
    dofs = {}
    sides = [1, -1] if p["SYMMETRICAL"] else [1]
    for i in range(n):
        f0, f1 = i / n, (i + 1) / n
        s = "SEG%d_" % i
        theta = math.radians(p["INCIDENCE"] + p[s + "INCIDENCE_INC"])
        chord_dir = np.array((math.sin(theta) * math.sin(phi), -math.sin(theta) * math.cos(phi), math.cos(theta)))
        up = np.array((-math.cos(theta) * math.sin(phi), math.cos(theta) * math.cos(phi), math.sin(theta)))
        cf = p[s + "CONTROL_CHORD_FRACTION"] if p[s + "MAX_DEFLECTION_ANGLE"] else 0.0
        for side in sides:
            m = np.array((side, 1, 1))
            # The mirrored half is the right half with x negated, as the flight model builds it.
            le = [(base + np.array((math.cos(phi) * f * half, math.sin(phi) * f * half, sweep * half * f))) * m
                  for f in (f0, f1)]
            chords = [p["ROOT_CHORD"] + (p["TIP_CHORD"] - p["ROOT_CHORD"]) * f for f in (f0, f1)]
            cd = chord_dir * m
            u = up * m
            colour = colours[i % len(colours)]
            if tip_colour is not None and i == n - 1:
                colour = tip_colour
            fixed.append((panel(le[0], le[1], chords[0], chords[1], cd, u, section, 0.0, 1.0 - cf), colour))
            if cf > 0:
                dof_name = p[s + "DOF"] if side > 0 else p[s + "DOF_SYMMETRICAL"]
                surface = panel(le[0], le[1], chords[0], chords[1], cd, u, section, 1.0 - cf, 1.0)
                hinge0 = le[0] + chords[0] * (1 - cf) * cd
                hinge1 = le[1] + chords[1] * (1 - cf) * cd
                if dof_name:
                    node = dofs.get(dof_name)
                    if node is None:
                        # The hinge axis: the hinge line itself, turned to point along up x chord.
                        hinge = hinge1 - hinge0
                        hinge /= np.linalg.norm(hinge)
                        if np.dot(hinge, np.cross(u, cd)) < 0:
                            hinge = -hinge
                        fwd = np.cross(u, hinge)  # completes a right-handed frame with Z ~ up
                        fwd /= np.linalg.norm(fwd)
                        z = np.cross(hinge, fwd)
                        origin = (hinge0 + hinge1) / 2
                        if p["SYMMETRICAL"] and dof_name == p[s + "DOF_SYMMETRICAL"] == p[s + "DOF"]:
                            origin = np.array((0.0, origin[1], origin[2]))
                        node = Node(dof_name, [], dof=(hinge, fwd, z, origin))
                        dofs[dof_name] = node
                    node.parts.append((surface, colour))
                else:
                    fixed.append((surface, colour))
    return fixed, list(dofs.values())


def wing2_geometry(keys, colour, section="NACA0012.afl"):
    """(surface parts outside the DOF, DOF node or None) of a WING2 strip."""
    p = dict(keys)
    x = np.asarray(p["DIRECTION"], float)
    x /= np.linalg.norm(x)
    y = np.cross(np.cross(x, p["NORMAL"]), x)
    y /= np.linalg.norm(y)
    z = np.cross(x, y)
    span, chord = p["SPAN"], p["CHORD"]
    z0 = {"LEFT_LE": 0.0, "RIGHT_LE": -span, "CENTER_LE": -span / 2}[p["POSITION_TYPE"]]
    le0 = np.asarray(p["POSITION"], float) + z0 * z
    le1 = le0 + span * z
    cf = p["CONTROL_SURFACE_CHORD"] if p["CONTROL_SURFACE_MAX_ANGLE"] else 0.0
    parts = [(panel(le0, le1, chord, chord, -x, y, section, 0.0, 1.0 - cf), colour)]
    node = None
    if cf > 0:
        surface = panel(le0, le1, chord, chord, -x, y, section, 1.0 - cf, 1.0)
        if p["3DMODEL_DOF"]:
            h0 = le0 - chord * (1 - cf) * x
            frame = hinge_frame(z, -x, y, h0 + span * z / 2)
            node = Node(p["3DMODEL_DOF"], [(surface, colour)], dof=frame)
        else:
            parts.append((surface, colour))
    return parts, node


# --- the models --------------------------------------------------------------------------

def _parts(parts, token):
    return [(name, dict(keys)) for t, name, keys in parts if t == token]


def _part(parts, token, name):
    for t, n, keys in parts:
        if t == token and n == name:
            return dict(keys)
    raise KeyError(name)


def trainer_scene(parts):
    import designs
    t = designs.TRAINER
    root = Node("Trainer", [])
    fixed = []
    fixed.append((fuselage([
        (t["prop_z"] + 0.04, t["prop_y"], 0.030, 0.030),
        (t["prop_z"] + 0.08, 0.015, 0.055, 0.060),
        (-0.30, 0.01, 0.065, 0.090),
        (-0.02, 0.01, 0.065, 0.090),
        (0.30, 0.015, 0.040, 0.050),
        (0.72, 0.02, 0.012, 0.020),
    ]), RED))
    # Cabin windows under the wing's leading edge, a stripe along the side.
    fixed.append((ellipsoid((0, 0.075, -0.27), (0.058, 0.05, 0.10)), CANOPY))
    fixed.append((box((0, 0.0, 0.10), (0.11, 0.03, 0.45)), WHITE))
    # Engine cylinder head and muffler on the side of the nose.
    fixed.append((box((0.07, 0.02, t["prop_z"] + 0.12), (0.05, 0.05, 0.05)), GREY))
    fixed.append((cylinder((0.075, -0.04, t["prop_z"] + 0.15), (0, 0, 1), 0.018, 0.09, 12), SILVER))
    for name, keys in _parts(parts, "WING3"):
        section = keys["AIRFOIL"]
        if name == "Wing":
            f, dofs = wing3_nodes(list(keys.items()), [WHITE, WHITE], section, tip_colour=None)
            # Red wing tips over the outer 12 cm.
            half = keys["HALF_SPAN"]
            phi = math.radians(keys["DIHEDRAL"])
            for side in (1, -1):
                x0 = side * (half - 0.10) * math.cos(phi)
                x1 = side * half * math.cos(phi)
                y0 = keys["POSITION"][1] + (half - 0.10) * math.sin(phi) + 0.002
                y1 = keys["POSITION"][1] + half * math.sin(phi) + 0.002
                le = keys["POSITION"][2]
                fixed.append((panel((x0, y0 + 0.003, le - 0.002), (x1, y1 + 0.003, le - 0.002), 0.302 * 0.78,
                                    0.302 * 0.78, (0, 0, 1), (0, 1, 0), section), RED))
        else:
            f, dofs = wing3_nodes(list(keys.items()), [WHITE if name == "Stabiliser" else RED], section)
            for d in dofs:
                d.parts = [(s, RED) for s, _ in d.parts]
        fixed += f
        root.children += dofs
    # Gear: struts and wheels.
    r = t["wheel_r_drawn"]
    for name, keys in _parts(parts, "WHEEL3"):
        hub = np.asarray(keys["POSITION"], float) - (0, keys["RADIUS"] + keys["SUSPENSION_SPRING_REST_LENGTH"] - r, 0)
        top = (hub[0] * 0.2, -0.06, hub[2])
        fixed.append((strut(top, hub + (0, 0.0, 0), 0.004), SILVER))
        root.children.append(wheel_node(name, hub, r, 0.022))
    prop = _part(parts, "PROPELLER", "Propeller")
    root.children.append(propeller_node("Propeller", (0, t["prop_y"], t["prop_z"]), prop["DIAMETER"], BLACK, spinner=0.028))
    root.parts = fixed
    return root


def glider_scene(parts):
    import designs
    g = designs.GLIDER
    root = Node("Glider", [])
    fixed = [(fuselage([
        (-0.46, 0.0, 0.012, 0.014),
        (-0.40, 0.0, 0.034, 0.042),
        (-0.15, 0.01, 0.036, 0.048),
        (0.05, 0.02, 0.026, 0.032),
        (0.40, 0.025, 0.011, 0.012),
        (0.95, 0.03, 0.006, 0.007),
    ]), WHITE)]
    fixed.append((ellipsoid((0, 0.045, -0.28), (0.028, 0.03, 0.12)), CANOPY))
    for name, keys in _parts(parts, "WING3"):
        section = keys["AIRFOIL"]
        colours = [WHITE, WHITE]
        f, dofs = wing3_nodes(list(keys.items()), colours, section,
                              tip_colour=ORANGE if name == "Wing" else None)
        if name != "Wing":
            f = [(s, ORANGE) for s, _ in f]
            for d in dofs:
                d.parts = [(s, ORANGE) for s, _ in d.parts]
        fixed += f
        root.children += dofs
    # The rudder: a fixed fin was drawn above; its rudder is a DOF from the fin part's segment.
    fixed.append((box((0, -0.035, -0.10), (0.01, 0.015, 0.08)), BLACK))  # skid
    fixed.append((cylinder((0, -0.04, -0.08), (0, -1, 0), 0.003, 0.015, 6), SILVER))  # tow hook
    root.parts = fixed
    return root


def delta_scene(parts):
    import designs
    d = designs.DELTA
    root = Node("Delta", [])
    nose, tail = d["nose_z"], d["pod_end_z"]
    fixed = [(fuselage([
        (nose, 0.0, 0.012, 0.012),
        (nose + 0.05, 0.008, 0.034, 0.030),
        (nose + 0.25, 0.012, 0.040, 0.036),
        (tail - 0.05, 0.01, 0.030, 0.028),
        (tail, 0.01, 0.020, 0.020),
    ]), BLACK)]
    fixed.append((ellipsoid((0, 0.032, nose + 0.12), (0.026, 0.026, 0.09)), CANOPY))
    # The flight model's strips approximate the tapered swept wing; draw the wing itself: per
    # side the inner part, then the outer part ahead of the elevon band, then the band (a
    # quarter of the chord) from the inner end of the outer panel to the tip.
    half = d["span"] / 2
    x_elevon = d["inner"]
    chord_dir = np.array((0, 0, 1.0))
    dihedral = math.radians(d["dihedral"])
    for side, sign in (("Left", -1), ("Right", 1)):
        up = np.array((-sign * math.sin(dihedral), math.cos(dihedral), 0))

        def le(x):
            return np.array((sign * x, designs.delta_height(x), designs.delta_le_z(x)))
        c0, c1 = designs.delta_chord(x_elevon), designs.delta_chord(half)
        fixed.append((panel(le(0), le(x_elevon), designs.delta_chord(0), c0, chord_dir, up, "flat"), YELLOW))
        fixed.append((panel(le(x_elevon), le(half), 0.75 * c0, 0.75 * c1, chord_dir, up, "flat"), YELLOW))
        h0 = le(x_elevon) + chord_dir * 0.75 * c0
        h1 = le(half) + chord_dir * 0.75 * c1
        surface = panel(h0, h1, 0.25 * c0, 0.25 * c1, chord_dir, up, "flat")
        hinge = (h1 - h0) * sign
        hinge /= np.linalg.norm(hinge)
        fwd = np.cross(up, hinge)
        root.children.append(Node("Elevon" + side, [(surface, ORANGE)],
                                  dof=(hinge, fwd, np.cross(hinge, fwd), (h0 + h1) / 2)))
    for name, keys in _parts(parts, "WING2"):
        if "Fin" in name:
            fixed += wing2_geometry(list(keys.items()), BLACK)[0]
    for name, keys in _parts(parts, "WHEEL"):
        pos = np.asarray(keys["POSITION"], float)
        r = keys["DIAMETER"] / 2
        fixed.append((cylinder(pos - (0, keys["REST_LENGTH"] - r, 0), (1, 0, 0), r, keys["WIDTH"], 12), BLACK))
        fixed.append((strut(pos + (0, 0.03, 0), pos - (0, keys["REST_LENGTH"] - r, 0), 0.003), SILVER))
    engine = _part(parts, "ENGINE_PROP", "Motor")
    prop = _part(parts, "PROPELLER", "Propeller")
    pos = np.asarray(engine["POSITION"], float)
    fixed.append((cylinder(pos - (0, 0, 0.025), (0, 0, 1), 0.014, 0.03, 14), SILVER))
    root.children.append(propeller_node("Propeller", pos + (0, 0, 0.01), prop["DIAMETER"], BLACK))
    root.parts = fixed
    return root


def build_all(parts_by_model):
    return {
        "Trainer.osg": scene_text(trainer_scene(parts_by_model["Trainer.mod"])),
        "Glider.osg": scene_text(glider_scene(parts_by_model["Glider.mod"])),
        "Delta.osg": scene_text(delta_scene(parts_by_model["Delta.mod"])),
    }
