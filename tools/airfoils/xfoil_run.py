"""Runs Debian's xfoil in batch mode and reads back its polar.

xfoil 6.99 as packaged arms floating-point traps at start-up and then dies with SIGFPE at its
first viscous point on this platform. nofpe.c (next to this file) is built into a small shared
library and preloaded so that the traps stay off; xfoil's own convergence checks then report a
failed point as non-converged instead of killing the run. Graphics are switched off with `plop` /
`g f` so that no X display is needed.
"""

import os
import shutil
import subprocess
import tempfile

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
XFOIL = "xfoil"
PANELS = 200           # the reference polars were run with 200 panels too
NCRIT = 9              # free transition in an average wind tunnel / outdoor air
ITERATIONS = 200       # per point; low-Re separation bubbles need more than xfoil's default 20
RETRY_STEP = 0.1       # degrees between the points that lead up to a retried angle
TIMEOUT_S = 300        # per sweep; a sweep takes 10-30 s on an idle machine
RETRY_TIMEOUT_S = 60   # per retried angle


class XfoilError(RuntimeError):
    pass


def build_preload(work_dir):
    """Compiles nofpe.c into work_dir and returns the library's path."""
    source = os.path.join(HERE, "nofpe.c")
    library = os.path.join(work_dir, "nofpe.so")
    compiler = shutil.which("cc") or shutil.which("gcc")
    if compiler is None:
        raise XfoilError("no C compiler (cc/gcc) found to build " + source)
    result = subprocess.run([compiler, "-shared", "-fPIC", "-O2", "-o", library, source, "-lm"],
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise XfoilError("building %s failed:\n%s" % (source, result.stderr))
    return library


def _run_xfoil(commands, work_dir, preload, timeout_s=None):
    """Feeds commands to xfoil; returns (finished, output text). A run that hangs (xfoil can loop
    on a hopeless point) is killed after TIMEOUT_S; what it saved until then stays usable."""
    env = dict(os.environ)
    env["LD_PRELOAD"] = preload
    env.pop("DISPLAY", None)
    try:
        result = subprocess.run([XFOIL], input="\n".join(commands) + "\n", capture_output=True,
                                text=True, cwd=work_dir, env=env, timeout=timeout_s or TIMEOUT_S)
    except FileNotFoundError:
        raise XfoilError("xfoil not found; install the Debian package 'xfoil'")
    except subprocess.TimeoutExpired:
        return False, ""
    if result.returncode != 0:
        raise XfoilError("xfoil exited with %d:\n%s" % (result.returncode, result.stdout[-2000:]))
    return True, result.stdout


def _analysis_commands(geometry_commands, reynolds):
    """Graphics off, airfoil into the buffer, panelled, OPER in viscous mode at reynolds."""
    return (["plop", "g f", ""] + list(geometry_commands)
            + ["ppar", "n %d" % PANELS, "", ""]
            + ["oper", "visc %g" % reynolds, "vpar", "n %d" % NCRIT, "", "iter %d" % ITERATIONS])


def run_polar(geometry_commands, reynolds, alpha_min, alpha_max, step, work_dir, preload):
    """Runs two sweeps outward from 0 degrees, each in its own xfoil process so that a sweep that
    fails cannot spoil the other, and returns the converged points as a dict of numpy arrays
    (alpha, cl, cd, cdp, cm, xtr_top, xtr_bot) sorted by alpha, plus the list of angles that did
    not converge under "failed".

    geometry_commands: xfoil commands at top level that leave the wanted airfoil in the buffer
    (for example ["naca 2412"] or ["load /path/file.dat"])."""
    sweeps = (np.arange(0.0, alpha_max + 1e-9, step), np.arange(-step, alpha_min - 1e-9, -step))
    rows = {}
    for index, alphas in enumerate(sweeps):
        polar = os.path.join(work_dir, "polar%d.txt" % index)
        if os.path.exists(polar):
            os.remove(polar)
        commands = _analysis_commands(geometry_commands, reynolds) + ["pacc", polar, ""]
        commands += ["alfa %.2f" % a for a in alphas]
        commands += ["pacc", "", "quit"]
        finished, output = _run_xfoil(commands, work_dir, preload)
        if not finished:
            print("  xfoil sweep towards %+.1f deg timed out; keeping the points it saved"
                  % alphas[-1])
        for row in read_polar_file(polar):
            rows[round(row[0], 3)] = row
    _retry_failed(rows, np.concatenate(sweeps), geometry_commands, reynolds, work_dir, preload)
    if len(rows) < 10:
        raise XfoilError("xfoil converged at only %d angles" % len(rows))
    table = np.array([rows[k] for k in sorted(rows)])
    names = ("alpha", "cl", "cd", "cdp", "cm", "xtr_top", "xtr_bot")
    result = {name: table[:, i] for i, name in enumerate(names)}
    wanted = np.concatenate(sweeps)
    result["failed"] = sorted(a for a in wanted if round(a, 3) not in rows)
    return result


def _retry_failed(rows, wanted, geometry_commands, reynolds, work_dir, preload):
    """Second try at each angle a sweep missed. In a sweep every point starts from the previous
    solution, so one failed point can drag the next ones down with it; here each missed angle is
    approached afresh from its converged neighbour nearer 0 degrees in small steps, and only the
    wanted angle is kept. Only holes inside the converged range are retried: beyond it the section
    is deep in stall, where xfoil has nothing useful to say and can spin until the time-out."""
    lowest, highest = min(rows), max(rows)
    holes = [a for a in wanted if round(a, 3) not in rows and lowest < a < highest]
    for target in sorted(holes, key=abs):
        inner = [k for k in rows if k * target >= 0.0 and abs(k) < abs(target)]
        if not inner:
            continue
        start = max(inner, key=abs)
        steps = np.linspace(start, target, int(round(abs(target - start) / RETRY_STEP)) + 1)
        polar = os.path.join(work_dir, "polar_retry.txt")
        if os.path.exists(polar):
            os.remove(polar)
        commands = _analysis_commands(geometry_commands, reynolds)
        commands += ["alfa %.3f" % start, "pacc", polar, ""]
        commands += ["alfa %.3f" % a for a in steps[1:]]
        commands += ["pacc", "", "quit"]
        _run_xfoil(commands, work_dir, preload, RETRY_TIMEOUT_S)
        for row in read_polar_file(polar):
            if abs(row[0] - target) < 1e-3:
                rows[round(target, 3)] = row


def read_polar_file(path):
    """Data rows of an xfoil polar save file: alpha, CL, CD, CDp, CM, Top_Xtr, Bot_Xtr."""
    if not os.path.exists(path):
        return []
    rows = []
    with open(path) as f:
        seen_rule = False
        for line in f:
            if line.strip().startswith("------"):
                seen_rule = True
                continue
            if not seen_rule:
                continue
            fields = line.split()
            if len(fields) < 7:
                continue
            try:
                rows.append([float(v) for v in fields[:7]])
            except ValueError:
                continue
    return rows


def naca_coordinates(digits, work_dir, preload):
    """Coordinates of a NACA four-digit section as xfoil's NACA command makes them (x, y arrays,
    from the trailing edge over the upper surface to the leading edge and back)."""
    path = os.path.join(work_dir, "naca%s.dat" % digits)
    if os.path.exists(path):
        os.remove(path)
    commands = ["plop", "g f", "", "naca %s" % digits, "ppar", "n %d" % PANELS, "", "",
                "save %s" % path, "quit"]
    _run_xfoil(commands, work_dir, preload)
    if not os.path.exists(path):
        raise XfoilError("xfoil did not save the NACA %s coordinates" % digits)
    data = np.loadtxt(path, skiprows=1)
    return data[:, 0], data[:, 1]


def temporary_work_dir():
    return tempfile.TemporaryDirectory(prefix="kestro-airfoils-")
