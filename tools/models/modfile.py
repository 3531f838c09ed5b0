"""Text of model files (.mod) and instrument panels, and the mass and balance of a model.

A model is described as a list of parts, each (block token, name, [(key, value), ...]); values
are written in the token text forms the loader reads: numbers, vectors as "x y z", bare tokens
(file and part names), quoted strings. Every text key a part reads is written out, because a
missing one reads as empty rather than as the part's default.
"""
import math

import numpy as np


class Quoted(str):
    """A free-text value, written in double quotes."""


def _value(v):
    if isinstance(v, Quoted):
        return '"%s"' % v
    if isinstance(v, bool):
        return "1" if v else "0"
    if isinstance(v, (int, np.integer)):
        return str(int(v))
    if isinstance(v, (float, np.floating)):
        return _num(v)
    if isinstance(v, (tuple, list, np.ndarray)):
        return " ".join(_num(x) for x in v)
    return str(v)


def _num(x):
    s = "%.5f" % float(x)
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


# Keys of free-text type: always quoted, even when empty. Token keys (names of files, parts,
# variables) are bare words; an empty one is left out, which reads as empty.
STRING_KEYS = {"DESCRIPTION", "3D_MODEL_FILE", "SHADOW_TEXTURE_FILE", "INSTRUMENT_PANEL_FILE", "LINK"}


def block(token, name, keys):
    lines = [".%s %s" % (token, name) if name else "." + token, "{"]
    for key, value in keys:
        if key in STRING_KEYS:
            value = Quoted(value)
        elif isinstance(value, str) and not value:
            continue
        lines.append("  .%s %s" % (key, _value(value)))
    lines.append("}")
    return "\n".join(lines) + "\n"


def model_text(header, parts, functions=()):
    out = ["// " + line + "\n" for line in header]
    out.append("\n")
    for token, name, keys in parts:
        out.append(block(token, name, keys))
        out.append("\n")
    for name, ops in functions:
        out.append(".FUNCTION %s\n{\n  .OPS %s\n}\n\n" % (name, ops))
    return "".join(out)


# --- mass and balance, mirroring what each part adds to the body ---------------------------

CUBE_EDGE = 0.04  # m, the mass cube of servos, batteries, tanks


def wing3_masses(p):
    """(mass, centre) of each WING3 segment box (span by 0.2 chord by chord behind the LE)."""
    n = p["NUMBER_OF_SEGMENTS"]
    half = p["HALF_SPAN"]
    phi = math.radians(p.get("ROLL_ANGLE", 0.0) + p["DIHEDRAL"])
    sweep = math.tan(math.radians(p["SWEEP_ANGLE"]))
    rho = p["DENSITY_KG_PER_SQ_METER"] / 0.03
    out = []
    for i in range(n):
        f = (i + 0.5) / n
        d = f * half
        chord = p["ROOT_CHORD"] + (p["TIP_CHORD"] - p["ROOT_CHORD"]) * f
        span = half / n
        theta = math.radians(p["INCIDENCE"])
        cdir = np.array((math.sin(theta) * math.sin(phi), -math.sin(theta) * math.cos(phi),
                         math.cos(theta)))
        point = np.array((math.cos(phi) * d, math.sin(phi) * d, sweep * half * f)) + p["POSITION"]
        m = rho * span * 0.2 * chord * chord
        c = point + cdir * chord * 0.5
        out.append((m, c))
        if p["SYMMETRICAL"]:
            out.append((m, c * np.array((-1, 1, 1))))
    return out


def wing2_mass(p):
    chord, span = p["CHORD"], p["SPAN"]
    x = np.asarray(p["DIRECTION"], float)
    x /= np.linalg.norm(x)
    y = np.cross(np.cross(x, p["NORMAL"]), x)
    y /= np.linalg.norm(y)
    z = np.cross(x, y)
    z0 = {"LEFT_LE": span / 2, "RIGHT_LE": -span / 2, "CENTER_LE": 0.0}[p["POSITION_TYPE"]]
    a = np.asarray(p["POSITION"], float) + z0 * z
    return [(37.5 * span * 0.2 * chord * chord, a - 0.5 * chord * x)]


def mass_items(parts):
    """(name, mass, centre) of everything that carries mass."""
    items = []
    for token, name, keys in parts:
        p = dict(keys)
        if token == "WING3":
            items += [(name, m, c) for m, c in wing3_masses(p)]
        elif token == "WING2":
            items += [(name, m, c) for m, c in wing2_mass(p)]
        elif token in ("SERVO", "BATTERY", "ENGINE_PROP", "WHEEL"):
            if p.get("MASS", 0) > 0:
                items.append((name, p["MASS"], np.asarray(p["POSITION"], float)))
        elif token == "FUEL_TANK":
            items.append((name, p["MASS_WHEN_EMPTY"] + p["CAPACITY"], np.asarray(p["POSITION"], float)))
    return items


def balance(parts):
    items = mass_items(parts)
    total = sum(m for _, m, _ in items)
    cg = sum(m * c for _, m, c in items) / total
    return total, cg


def solve_structure(parts, total_mass, cg_z, z_front, z_rear, y=0.0):
    """Two fuselage-structure masses at z_front and z_rear that bring the model to total_mass
    with its centre of mass at cg_z."""
    m0, c0 = balance(parts)
    rest = total_mass - m0
    # rest = a + b; a z_front + b z_rear = total cg_z - m0 c0z
    moment = total_mass * cg_z - m0 * c0[2]
    b = (moment - rest * z_front) / (z_rear - z_front)
    a = rest - b
    if a <= 0 or b <= 0:
        raise ValueError("cannot balance: structure masses %.3f, %.3f" % (a, b))
    return a, b


def panel_text(header, instruments, variables):
    """instruments: (token, [(key, value)...]); variables: names defined in the panel."""
    out = ["// " + line + "\n" for line in header]
    out.append("\n.Instruments\n{\n")
    for v in variables:
        out.append("  .VARIABLE %s { .DESCRIPTION \"%s\" .VAL 0 }\n" % (v, v))
    out.append("}\n\n")
    for token, keys in instruments:
        out.append(block(token, None, keys))
        out.append("\n")
    return "".join(out)
