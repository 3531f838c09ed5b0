"""NACA 0012 over 0..180 degrees at an RC Reynolds number, from the Sandia wind-tunnel tables.

Source: R.E. Sheldahl & P.C. Klimas, "Aerodynamic Characteristics of Seven Symmetrical Airfoil
Sections Through 180-Degree Angle of Attack for Use in Aerodynamic Analysis of Vertical Axis Wind
Turbines", SAND80-2114, Sandia National Laboratories, 1981. The tables used are in reference/
with their transcription notes.

The complete 0..180 table is only available at Re 2e6. Beyond stall Sheldahl & Klimas' data are
Reynolds independent, so that table is used as published from 18 degrees on. Below stall the
section is rebuilt for the design Reynolds number:
- drag: the measured 160k and 360k columns interpolated in log(Re) up to 10 degrees, where both
  are still attached; at 11 degrees the 360k column scaled to join them;
- stall between 11 and 12 degrees (the measured drag rise is at 11 degrees at 160k and at 14 at
  360k; 11.8 by log(Re) at 200k); from 12 degrees the common post-stall drag curve (12-16 degrees
  from the 160k column, 17 degrees from the report's note);
- lift: 0.11 per degree up to 8 degrees (Sheldahl & Klimas, every Re >= 160k), rounding over with
  a cubic to cl_max = 1.10 at 11 degrees with zero slope; the tables at hand give no low-Re
  lift maximum, so 1.10 is XFOIL's at 2e5 and meets the 2e6 measurements at 9 and 10 degrees
  within 0.01; from 12 to 17 degrees lift follows the post-stall drag as cl = k cd / tan(a), the
  flat-plate relation, with k fitted to the measured point at 18 degrees;
- moment: the measured quarter-chord cm at 360k (the lowest Reynolds number measured) up to 20
  degrees, turned into a centre of pressure (polar360.cp_attached); beyond 20 degrees the
  separated-flow law of polar360.cp_separated, fitted at 20 degrees.
"""

import csv
import math
import os

import numpy as np

import polar360

DESIGN_RE = 2.0e5
RE_LOW, RE_HIGH = 1.6e5, 3.6e5
LIFT_SLOPE = 0.11          # per degree, up to LINEAR_TO
LINEAR_TO = 8.0
CL_MAX, CL_MAX_ALPHA = 1.10, 11.0
STALL_TO = 12.0            # first angle on the post-stall branch
PUBLISHED_FROM = 18.0      # first angle taken as published from the 2e6 table
CM_TO = 20.0               # last angle of the measured moment


def read_csv(path):
    """Rows of a reference CSV (comment lines start with '#') as a dict of float columns."""
    with open(path) as f:
        lines = [line for line in f if not line.startswith("#") and line.strip()]
    reader = csv.reader(lines)
    header = next(reader)
    columns = {name: [] for name in header}
    for row in reader:
        for name, value in zip(header, row):
            columns[name].append(float(value))
    return {name: np.array(values) for name, values in columns.items()}


def build(reference_dir):
    """Returns (alpha, cl, cd, cp, cp_k, corner): the 0..180 degree table, and what the extension
    of the other sections shares with it: the separated-flow centre-of-pressure constant and the
    measured reverse-flow rows (alpha, cl, cd) from 140 degrees on."""
    full = read_csv(os.path.join(reference_dir, "naca0012_360.csv"))
    low = read_csv(os.path.join(reference_dir, "naca0012_sk_lowRe.csv"))
    moment = read_csv(os.path.join(reference_dir, "naca0012_sk_cm.csv"))

    alpha = full["alpha_deg"]
    cl = full["cl"].copy()
    cd = full["cd"].copy()

    # Attached drag at the design Reynolds number.
    w = math.log(DESIGN_RE / RE_LOW) / math.log(RE_HIGH / RE_LOW)
    cd_lo, cd_hi = low["cd_re160k"], low["cd_re360k"]
    attached = low["alpha_deg"] <= 10.0
    cd_design = dict(zip(low["alpha_deg"][attached],
                         cd_lo[attached] + w * (cd_hi[attached] - cd_lo[attached])))
    cd_design[11.0] = float(cd_hi[low["alpha_deg"] == 11.0][0] * cd_design[10.0]
                            / cd_hi[low["alpha_deg"] == 10.0][0])
    # Post-stall drag, the same at every Reynolds number the report measured.
    post_stall_cd = {a: float(cd_lo[low["alpha_deg"] == a][0])
                     for a in (12.0, 13.0, 14.0, 15.0, 16.0)}
    post_stall_cd[17.0] = 0.231

    ps_k = float(np.interp(PUBLISHED_FROM, alpha, cl) * math.tan(math.radians(PUBLISHED_FROM))
                 / np.interp(PUBLISHED_FROM, alpha, cd))
    for i, a in enumerate(alpha):
        if a < STALL_TO:
            cd[i] = cd_design[a]
            if a <= LINEAR_TO:
                cl[i] = LIFT_SLOPE * a
            else:
                # Cubic from (8, 0.88, slope 0.11/deg) to (11, 1.10, slope 0).
                span = CL_MAX_ALPHA - LINEAR_TO
                t = (a - LINEAR_TO) / span
                p0, m0, p1 = LIFT_SLOPE * LINEAR_TO, LIFT_SLOPE * span, CL_MAX
                cl[i] = (p0 + m0 * t + (3 * (p1 - p0) - 2 * m0) * t * t
                         + (m0 - 2 * (p1 - p0)) * t ** 3)
        elif a < PUBLISHED_FROM:
            cd[i] = post_stall_cd[a]
            cl[i] = ps_k * cd[i] / math.tan(math.radians(a))

    cm = np.interp(alpha, moment["alpha_deg"], moment["cm_re360k"])
    cp_k = polar360.cp_k_from(CM_TO, float(np.interp(CM_TO, alpha, cl)),
                              float(np.interp(CM_TO, alpha, cd)),
                              float(np.interp(CM_TO, moment["alpha_deg"], moment["cm_re360k"])))
    cp = np.where(alpha <= CM_TO, polar360.cp_attached(alpha, cl, cd, cm),
                  polar360.cp_separated(alpha, cp_k))
    reverse = alpha >= 140.0
    corner = (alpha[reverse], cl[reverse], cd[reverse])
    return alpha, cl, cd, cp, cp_k, corner


def published_post_stall(reference_dir):
    """The 2e6 table as published, for checking the extension method against it."""
    full = read_csv(os.path.join(reference_dir, "naca0012_360.csv"))
    return full["alpha_deg"], full["cl"], full["cd"]
