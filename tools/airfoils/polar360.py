"""Extends a measured or computed polar to the whole circle of angles of attack, and turns the
pitching moment into the centre of pressure that the program's wings apply their forces at.

Beyond stall (Viterna & Corrigan, "Fixed pitch rotor performance of large horizontal axis wind
turbines", NASA CP-2230, 1982), with CDmax = 1.8, the 2-D value of Sheldahl & Klimas' NACA 0012
data at 90 degrees:
    cl = A1 sin 2a + A2 cos^2 a / sin a,   A1 = CDmax / 2,
                                           A2 = (cl_s - CDmax sin a_s cos a_s) sin a_s / cos^2 a_s
    cd = B1 sin^2 a + B2 cos a,            B1 = CDmax, B2 = (cd_s - CDmax sin^2 a_s) / cos a_s
anchored at a stall point (a_s, cl_s, cd_s) on each side, so that the curve passes through it.
Viterna's formula holds up to 90 degrees. Past 90 degrees the section meets the flow trailing
edge first. As in the usual wind-turbine practice (the AirfoilPrep procedure) lift there is the
positive-side curve reflected about 90 degrees and scaled, drag is reflected unscaled; the scale
is 0.9 rather than AirfoilPrep's 0.7 because 0.9 reproduces the Sandia NACA 0012 table between 90
and 150 degrees best (rms cl error 0.06, against 0.17 with 0.7). Within 30 degrees of +-180 the
flow meets a sharp trailing edge, which behaves alike on every section: there the measured
reverse-flow rows of that table are used (lift peak near 170 degrees, cd 0.025 at 180), blended in
over 140..150 degrees. The data are blended into the extension over a window of BLEND_DEG before
each anchor with a smoothstep weight, so the curves stay continuous with a continuous slope at
both ends of every window.

Centre of pressure. The program applies lift and drag on the chord line at Cp chords behind the
leading edge, and reads no moment coefficient. A quarter-chord moment cm with normal-force
coefficient cn = cl cos a + cd sin a is reproduced by Cp = 0.25 - cm / cn. At cn = 0 that is
infinite, so it is regularised as Cp = 0.25 - cm cn / (cn^2 + CN_EPS^2): exact when |cn| is well
above CN_EPS, fading the moment out at zero lift and bounding Cp to 0.25 +- |cm| / (2 CN_EPS).
In separated flow the centre of pressure moves aft towards mid-chord as on a flat plate, and
further aft when the flow comes from the trailing edge; that is modelled as Cp = 0.5 - K cos a,
with K fitted to the measured NACA 0012 moment at 20 degrees (cp_k_from), about 0.16.
"""

import math

import numpy as np

CD_MAX = 1.8          # 2-D drag at 90 degrees (Sheldahl & Klimas, NACA 0012, Re independent)
REVERSE_LIFT = 0.9    # lift beyond 90 degrees relative to the forward-flow curve
BLEND_DEG = 3.0       # width of the blend from the data into the extension (degrees)
REVERSE_CORNER_FROM = 150.0  # beyond this |alpha| the measured reverse-flow rows are used
BLEND_REVERSE_DEG = 10.0     # width of the blend into them (degrees)
CN_EPS = 0.1          # normal-force coefficient below which the moment fades out
CP_QUARTER = 0.25


def smoothstep(t):
    t = np.clip(t, 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


class Viterna:
    """Viterna-Corrigan curve through one stall point (angle in degrees, either sign)."""

    def __init__(self, alpha_s, cl_s, cd_s, cd_max=CD_MAX):
        a = math.radians(alpha_s)
        s, c = math.sin(a), math.cos(a)
        self.alpha_s, self.cl_s, self.cd_s = alpha_s, cl_s, cd_s
        self.a1 = cd_max / 2.0
        self.a2 = (cl_s - cd_max * s * c) * s / (c * c)
        self.b1 = cd_max
        self.b2 = (cd_s - cd_max * s * s) / c

    def cl(self, alpha):
        a = np.radians(alpha)
        return self.a1 * np.sin(2.0 * a) + self.a2 * np.cos(a) ** 2 / np.sin(a)

    def cd(self, alpha):
        a = np.radians(alpha)
        return self.b1 * np.sin(a) ** 2 + self.b2 * np.cos(a)


def normal_coefficient(alpha, cl, cd):
    a = np.radians(alpha)
    return cl * np.cos(a) + cd * np.sin(a)


def cp_attached(alpha, cl, cd, cm):
    cn = normal_coefficient(alpha, cl, cd)
    return CP_QUARTER - cm * cn / (cn * cn + CN_EPS * CN_EPS)


def cp_separated(alpha, k):
    return 0.5 - k * np.cos(np.radians(alpha))


def cp_k_from(alpha, cl, cd, cm):
    """K of cp_separated that reproduces a measured moment at one post-stall angle."""
    return (0.5 - cp_attached(alpha, cl, cd, cm)) / math.cos(math.radians(alpha))


def reverse_flow(alpha, forward, corner):
    """cl, cd for 90 <= |alpha| <= 180.

    forward: the positive-side Viterna curve; corner: measured (alpha, cl, cd) rows for
    REVERSE_CORNER_FROM..180 degrees (positive side), used within that range of +-180 degrees."""
    alpha = np.asarray(alpha, float)
    beta = 180.0 - np.abs(alpha)                 # angle between the flow and the reversed chord
    sign = np.where(alpha > 0.0, 1.0, -1.0)      # the reversed range is odd in lift like the rest
    beta_far = np.maximum(beta, 180.0 - REVERSE_CORNER_FROM)  # keeps away from the pole at 0
    cl = -sign * REVERSE_LIFT * forward.cl(beta_far)
    cd = forward.cd(beta_far)
    c_alpha, c_cl, c_cd = corner
    corner_cl = sign * np.interp(np.abs(alpha), c_alpha, c_cl)
    corner_cd = np.interp(np.abs(alpha), c_alpha, c_cd)
    w = smoothstep((np.abs(alpha) - (REVERSE_CORNER_FROM - BLEND_REVERSE_DEG)) / BLEND_REVERSE_DEG)
    return (1.0 - w) * cl + w * corner_cl, (1.0 - w) * cd + w * corner_cd


def extension_grid(alpha_lo, alpha_hi):
    """Angles beyond the data: 1 degree steps to 30 degrees, then 5 degrees, on each side."""
    pos = [a for a in np.arange(math.floor(alpha_hi) + 1.0, 30.0, 1.0) if a > alpha_hi]
    pos += list(np.arange(30.0, 180.0 + 1e-9, 5.0))
    neg = [-a for a in np.arange(math.floor(-alpha_lo) + 1.0, 30.0, 1.0) if -a < alpha_lo]
    neg += list(-np.arange(30.0, 180.0 + 1e-9, 5.0))
    return np.array(sorted(neg)), np.array(pos)


def extend_polar(alpha, cl, cd, cm, anchor_lo, anchor_hi, cp_k, corner):
    """Full-circle table from a polar known between anchor_lo < 0 < anchor_hi (degrees).

    Returns (alpha, cl, cd, cp) arrays sorted by alpha from -180 to 180 degrees, and the two
    Viterna curves (for the record)."""
    alpha, cl, cd, cm = (np.asarray(v, float) for v in (alpha, cl, cd, cm))
    keep = (alpha >= anchor_lo - 1e-9) & (alpha <= anchor_hi + 1e-9)
    alpha, cl, cd, cm = alpha[keep], cl[keep].copy(), cd[keep].copy(), cm[keep]

    def at(a):
        return float(np.interp(a, alpha, cl)), float(np.interp(a, alpha, cd))

    hi = Viterna(anchor_hi, *at(anchor_hi))
    lo = Viterna(anchor_lo, *at(anchor_lo))

    # Inside the data range: the data, blended into the extension next to each anchor.
    cp = cp_attached(alpha, cl, cd, cm)
    w_hi = smoothstep((alpha - (anchor_hi - BLEND_DEG)) / BLEND_DEG)
    w_lo = smoothstep(((anchor_lo + BLEND_DEG) - alpha) / BLEND_DEG)
    for w, curve in ((w_hi, hi), (w_lo, lo)):
        inside = w > 0.0  # the curve has a pole at 0 degrees, where its weight is 0 anyway
        a = alpha[inside]
        cl[inside] = (1.0 - w[inside]) * cl[inside] + w[inside] * curve.cl(a)
        cd[inside] = (1.0 - w[inside]) * cd[inside] + w[inside] * curve.cd(a)
        cp[inside] = (1.0 - w[inside]) * cp[inside] + w[inside] * cp_separated(a, cp_k)

    grid_lo, grid_hi = extension_grid(anchor_lo, anchor_hi)
    ext_alpha = np.concatenate([grid_lo, grid_hi])
    ext_alpha = np.unique(np.round(ext_alpha, 6))
    ext_cl = np.empty_like(ext_alpha)
    ext_cd = np.empty_like(ext_alpha)
    for i, a in enumerate(ext_alpha):
        if abs(a) >= 90.0:
            c_l, c_d = reverse_flow(a, hi, corner)
        else:
            curve = hi if a > 0.0 else lo
            c_l, c_d = curve.cl(a), curve.cd(a)
        ext_cl[i], ext_cd[i] = c_l, c_d
    ext_cp = cp_separated(ext_alpha, cp_k)

    all_alpha = np.concatenate([alpha, ext_alpha])
    order = np.argsort(all_alpha, kind="stable")
    table = (all_alpha[order], np.concatenate([cl, ext_cl])[order],
             np.concatenate([cd, ext_cd])[order], np.concatenate([cp, ext_cp])[order])
    return table, (lo, hi)
