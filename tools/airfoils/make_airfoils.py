#!/usr/bin/python3
"""Writes Kestro's airfoil files, Data/Airfoil/*.afl.

- NACA0012.afl: the Sandia wind-tunnel tables (Sheldahl & Klimas 1981) rebuilt for Re 2e5 below
  stall, symmetric form over 0..180 degrees (see sandia.py).
- NACA2412.afl, ClarkY.afl: XFOIL polars at Re 2e5, run here in batch mode, extended to
  +-180 degrees with Viterna-Corrigan (see polar360.py).

Every file is read back the way the program reads it, and the checks and sanity values are
printed. With --plot DIR the combined coefficient curves are drawn into DIR/<name>.png.

Needs the Debian packages xfoil, python3-numpy, python3-pil (for --plot) and a C compiler.
Usage: tools/airfoils/make_airfoils.py [--data DIR] [--plot DIR]
"""

import argparse
import os
import sys

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import afl  # noqa: E402
import geometry  # noqa: E402
import polar360  # noqa: E402
import sandia  # noqa: E402
import xfoil_run  # noqa: E402

REPO = os.path.dirname(os.path.dirname(HERE))
REFERENCE = os.path.join(HERE, "reference")
REYNOLDS = 2.0e5
SWEEP_MIN, SWEEP_MAX, SWEEP_STEP = -14.0, 20.0, 0.5
ANCHOR_PAST_MAX = 4.0   # positive anchor: this far past the lift maximum (degrees)
ANCHOR_PAST_MIN = 1.0   # negative anchor: this far past the lift minimum (degrees)
SHAPE_STATIONS = 41     # chord stations per surface in the coordinate tables
GENERATOR = "tools/airfoils/make_airfoils.py"

SOURCE_SK = ("Sheldahl, R.E. & Klimas, P.C., Aerodynamic Characteristics of Seven Symmetrical "
             "Airfoil Sections Through 180-Degree Angle of Attack, SAND80-2114, Sandia 1981")
SOURCE_VC = ("Viterna, L.A. & Corrigan, R.D., Fixed pitch rotor performance of large horizontal "
             "axis wind turbines, NASA CP-2230, 1982")


def choose_anchors(polar):
    """Stall points on each side where the XFOIL data hand over to the extension."""
    alpha, cl = polar["alpha"], polar["cl"]
    pos, neg = alpha >= 0.0, alpha <= 0.0
    a_max = alpha[pos][np.argmax(cl[pos])]
    a_min = alpha[neg][np.argmin(cl[neg])]
    hi = min(a_max + ANCHOR_PAST_MAX, alpha.max())
    lo = max(a_min - ANCHOR_PAST_MIN, alpha.min())
    # The anchor itself must be a converged point.
    hi = alpha[pos][np.argmin(np.abs(alpha[pos] - hi))]
    lo = alpha[neg][np.argmin(np.abs(alpha[neg] - lo))]
    return float(lo), float(hi)


def polar_values(polar):
    """cl_max and its angle, cl and cm at 0 degrees, and cd at 0 degrees of an XFOIL polar."""
    alpha, cl = polar["alpha"], polar["cl"]
    i = int(np.argmax(cl))
    return {"cl_max": cl[i], "alpha_cl_max": alpha[i],
            "cl0": float(np.interp(0.0, alpha, cl)),
            "cm0": float(np.interp(0.0, alpha, polar["cm"])),
            "cd0": float(np.interp(0.0, alpha, polar["cd"]))}


def compare_with_reference(label, polar, reference_csv):
    ref = sandia.read_csv(reference_csv)
    ref_polar = {"alpha": ref["alpha_deg"], "cl": ref["cl"], "cd": ref["cd"], "cm": ref["cm"]}
    mine, theirs = polar_values(polar), polar_values(ref_polar)
    common = np.intersect1d(np.round(polar["alpha"], 2), np.round(ref["alpha_deg"], 2))
    pick = lambda a, v: v[np.isin(np.round(a, 2), common)]  # noqa: E731
    dcl = pick(polar["alpha"], polar["cl"]) - pick(ref["alpha_deg"], ref["cl"])
    dcd = pick(polar["alpha"], polar["cd"]) - pick(ref["alpha_deg"], ref["cd"])
    print("  %s vs %s:" % (label, os.path.relpath(reference_csv, REPO)))
    for key in ("cl_max", "alpha_cl_max", "cl0", "cm0", "cd0"):
        print("    %-13s this run %8.4f   reference %8.4f" % (key, mine[key], theirs[key]))
    print("    at %d common angles: max |dcl| %.4f, rms dcl %.4f; max |dcd| %.5f"
          % (len(common), np.abs(dcl).max(), np.sqrt(np.mean(dcl ** 2)), np.abs(dcd).max()))


def sanity_values(path):
    """What the program will see, from the combined table: lift maximum (within 20 degrees) and
    negative-stall minimum (the first one below 0 degrees) with their angles, zero-lift angle, values at 0
    degrees with the quarter-chord moment that cp implies there, the cp range within 20 degrees,
    drag at 90 and 180 degrees and the best lift-to-drag ratio."""
    a, cl, cd, cp = afl.combined_table(afl.read_file(path))
    fine = np.linspace(-20.0, 20.0, 4001)
    cl_f, cd_f, cp_f = (np.interp(fine, a, v) for v in (cl, cd, cp))
    i = int(np.argmax(cl_f))
    j = int(np.searchsorted(fine, 0.0))
    while j > 0 and cl_f[j - 1] <= cl_f[j]:  # negative stall: first minimum below 0 degrees
        j -= 1
    cl0, cd0, cp0 = (float(np.interp(0.0, a, v)) for v in (cl, cd, cp))
    near = np.abs(fine) <= 10.0
    return {"cl_max": cl_f[i], "alpha_cl_max": fine[i], "cl_min": cl_f[j], "alpha_cl_min": fine[j],
            "alpha_zero_lift": float(fine[near][np.argmin(np.abs(cl_f[near]))]),
            "cl0": cl0, "cd0": cd0, "cp0": cp0, "cm0": -(cp0 - polar360.CP_QUARTER) * cl0,
            "cd_min": cd_f.min(), "cp_lo": cp_f.min(), "cp_hi": cp_f.max(),
            "cd90": float(np.interp(90.0, a, cd)), "cd180": float(np.interp(180.0, a, cd)),
            "ld_max": float((cl_f / cd_f).max())}


def print_sanity(path):
    v = sanity_values(path)
    print("  %s (combined table as the program builds it):" % os.path.relpath(path, REPO))
    print("    cl_max %.3f at %.1f deg, cl_min %.3f at %.1f deg, zero lift at %.2f deg"
          % (v["cl_max"], v["alpha_cl_max"], v["cl_min"], v["alpha_cl_min"], v["alpha_zero_lift"]))
    print("    at 0 deg: cl %.3f, cd %.4f, cp %.3f (cm %.3f); cd_min %.4f; (cl/cd)max %.0f"
          % (v["cl0"], v["cd0"], v["cp0"], v["cm0"], v["cd_min"], v["ld_max"]))
    print("    cp %.2f..%.2f within 20 deg; cd at 90 deg %.3f, at 180 deg %.3f"
          % (v["cp_lo"], v["cp_hi"], v["cd90"], v["cd180"]))


def check_continuity(path):
    """Largest step of cl and cd between neighbouring rows of the combined table, and where."""
    a, cl, cd, _ = afl.combined_table(afl.read_file(path))
    dcl = np.abs(np.diff(cl))
    dcd = np.abs(np.diff(cd))
    i, j = int(np.argmax(dcl)), int(np.argmax(dcd))
    wrap_cl = abs(cl[0] - cl[-1])
    wrap_cd = abs(cd[0] - cd[-1])
    print("    largest row-to-row step: cl %.3f at %.0f deg, cd %.3f at %.0f deg; "
          "-180/+180 mismatch cl %.4f, cd %.4f" % (dcl[i], a[i], dcd[j], a[j], wrap_cl, wrap_cd))


def write(path, text):
    with open(path, "w", newline="") as f:
        f.write(text)
    print("wrote %s" % os.path.relpath(path, REPO))


def make_naca0012(data_dir):
    alpha, cl, cd, cp, cp_k, corner = sandia.build(REFERENCE)
    x = geometry.cosine_stations(SHAPE_STATIONS)
    upper, lower = geometry.naca4_vertical("0012", x)
    comments = [
        "NACA 0012, symmetric section, Reynolds number 200,000. Generated by %s; do not edit."
        % GENERATOR,
        "Source: " + SOURCE_SK + ".",
        "Rows 0..180 deg, mirrored to negative angles by the SYMMETRICAL flag"
        " (cl odd, cd and cp even).",
        "From 18 deg: the Re 2e6 table as published (post-stall data are Reynolds independent).",
        "Below: drag from the 160k and 360k columns at Re 2e5, stall at 11-12 deg, lift 0.11/deg",
        "  rounding to cl_max 1.10 at 11 deg; cp from the measured quarter-chord moment"
        " at Re 360k.",
        "Coordinates: the NACA four-digit thickness formula, 12 percent thick.",
    ]
    path = os.path.join(data_dir, "NACA0012.afl")
    write(path, afl.format_file("NACA 0012", True, comments, (alpha, cl, cd, cp),
                                (x, upper), (x, lower)))
    return path, cp_k, corner


def run_xfoil_sections(work, preload):
    """XFOIL polars of the two wing sections, and of NACA 0012 for checking the method."""
    cx, cy, _ = geometry.clark_y_outline(121)
    clarky_dat = os.path.join(work, "clarky.dat")
    with open(clarky_dat, "w") as f:
        f.write(geometry.outline_dat("Clark Y", cx, cy))
    polars = {}
    for label, commands in (("NACA 2412", ["naca 2412"]), ("Clark Y", ["load " + clarky_dat]),
                            ("NACA 0012", ["naca 0012"])):
        print("xfoil: %s at Re %.0f, alpha %.0f..%.0f step %.1f"
              % (label, REYNOLDS, SWEEP_MIN, SWEEP_MAX, SWEEP_STEP))
        polars[label] = xfoil_run.run_polar(commands, REYNOLDS, SWEEP_MIN, SWEEP_MAX, SWEEP_STEP,
                                            work, preload)
        failed = polars[label]["failed"]
        print("  %d converged; not converged: %s" % (len(polars[label]["alpha"]),
                                                     ", ".join("%g" % a for a in failed) or "none"))
    return polars


def make_xfoil_section(data_dir, file_name, name, polar, shape, cp_k, corner, notes):
    lo, hi = choose_anchors(polar)
    print("  %s: XFOIL data used from %.1f to %.1f deg" % (name, lo, hi))
    table, (v_lo, v_hi) = polar360.extend_polar(polar["alpha"], polar["cl"], polar["cd"],
                                                polar["cm"], lo, hi, cp_k, corner)
    comments = [
        "%s, Reynolds number 200,000. Generated by %s; do not edit." % (name, GENERATOR),
        "Source: XFOIL 6.99 (Debian package xfoil), viscous, Re 2e5, Ncrit %d, %d panels;"
        % (xfoil_run.NCRIT, xfoil_run.PANELS),
        "  alpha %.1f..%.1f deg as computed, blended over %.0f deg into the extension at each end."
        % (lo, hi, polar360.BLEND_DEG),
        "Beyond: " + SOURCE_VC + ",",
        "  CDmax %.1f, anchored at (%.1f deg, cl %.3f, cd %.4f) and (%.1f deg, cl %.3f, cd %.4f);"
        % (polar360.CD_MAX, v_hi.alpha_s, v_hi.cl_s, v_hi.cd_s, v_lo.alpha_s, v_lo.cl_s, v_lo.cd_s),
        "  past 90 deg reflected (lift scaled by %.2f), from %.0f deg on blended into the"
        " reverse-flow rows measured on NACA 0012 (Sheldahl & Klimas), the same for every section."
        % (polar360.REVERSE_LIFT, polar360.REVERSE_CORNER_FROM),
        "cp from XFOIL's quarter-chord moment; separated flow cp = 0.5 - %.3f cos(alpha)." % cp_k,
    ] + notes
    path = os.path.join(data_dir, file_name)
    write(path, afl.format_file(name, False, comments, table, shape[0], shape[1]))
    return path


def check_method_against_sandia(polar, cp_k, corner):
    """Extends XFOIL's NACA 0012 the same way and compares it with the published 2e6 table from
    30 to 180 degrees, where that table is Reynolds independent."""
    lo, hi = choose_anchors(polar)
    (alpha, cl, cd, _), _ = polar360.extend_polar(polar["alpha"], polar["cl"], polar["cd"],
                                                  polar["cm"], lo, hi, cp_k, corner)
    ref_a, ref_cl, ref_cd = sandia.published_post_stall(REFERENCE)
    pick = ref_a >= 30.0
    dcl = np.interp(ref_a[pick], alpha, cl) - ref_cl[pick]
    dcd = np.interp(ref_a[pick], alpha, cd) - ref_cd[pick]
    print("  method check: XFOIL NACA 0012 extended vs Sheldahl & Klimas, 30..180 deg:")
    print("    max |dcl| %.3f (rms %.3f), max |dcd| %.3f (rms %.3f)"
          % (np.abs(dcl).max(), np.sqrt(np.mean(dcl ** 2)), np.abs(dcd).max(),
             np.sqrt(np.mean(dcd ** 2))))


def shape_tables(upper_xy, lower_xy):
    x = geometry.cosine_stations(SHAPE_STATIONS)
    return ((x, geometry.resample_surface(upper_xy, x)),
            (x, geometry.resample_surface(lower_xy, x)))


def main():
    sys.stdout.reconfigure(line_buffering=True)
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data", default=os.path.join(REPO, "Data", "Airfoil"),
                        help="output folder (default: Data/Airfoil of this repository)")
    parser.add_argument("--plot", metavar="DIR", help="also draw the curves into DIR/<name>.png")
    args = parser.parse_args()
    os.makedirs(args.data, exist_ok=True)

    naca0012, cp_k, corner = make_naca0012(args.data)
    outputs = [naca0012]
    with xfoil_run.temporary_work_dir() as work:
        preload = xfoil_run.build_preload(work)
        polars = run_xfoil_sections(work, preload)
        nx, ny = xfoil_run.naca_coordinates("2412", work, preload)
        naca2412_shape = shape_tables(*geometry.split_outline(nx, ny))

    cx, cy, clarky_angle = geometry.clark_y_outline(121)
    clarky_shape = shape_tables(*geometry.split_outline(cx, cy))
    outputs.append(make_xfoil_section(
        args.data, "NACA2412.afl", "NACA 2412", polars["NACA 2412"], naca2412_shape, cp_k, corner,
        ["Coordinates: xfoil's NACA 2412 (thickness normal to the camber line)."]))
    outputs.append(make_xfoil_section(
        args.data, "ClarkY.afl", "Clark Y", polars["Clark Y"], clarky_shape, cp_k, corner,
        ["Coordinates: the published Clark Y ordinates (11.7 percent thick, flat lower surface"
         " from 30 percent chord), splined, turned so that the chord line (leading edge to the"
         " middle of the trailing edge) is the x axis. Alpha counts from that chord line, which"
         " lies %.2f deg nose-up from the flat lower surface: alpha from the flat bottom ="
         " alpha - %.2f."
         % (clarky_angle, clarky_angle)]))

    print("checks:")
    for label, csv_name in (("NACA 2412", "naca2412_re200k.csv"), ("Clark Y", "clarky_re200k.csv"),
                            ("NACA 0012", "naca0012_re200k.csv")):
        compare_with_reference(label, polars[label], os.path.join(REFERENCE, "xfoil", csv_name))
    check_method_against_sandia(polars["NACA 0012"], cp_k, corner)
    for path in outputs:
        print_sanity(path)
        check_continuity(path)

    if args.plot:
        import plot  # only needs PIL when asked for
        os.makedirs(args.plot, exist_ok=True)
        for path in outputs:
            png = os.path.join(args.plot, os.path.splitext(os.path.basename(path))[0] + ".png")
            plot.draw(path, png)
            print("drew %s" % png)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (xfoil_run.XfoilError, OSError, ValueError) as error:
        print("make_airfoils: %s" % error, file=sys.stderr)
        sys.exit(1)
