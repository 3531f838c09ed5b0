#!/usr/bin/python3
"""The preflight check (kestro-fdm --check) against the simulation itself.

    preflight_checks.py <kestro-fdm> <Data dir> <check>

The checks assert physical relations between what --check predicts and what kestro-fdm then
flies, not today's figures, so a retune of the models keeps them meaningful.
"""
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

FDM, DATA, CHECK = sys.argv[1], sys.argv[2], sys.argv[3]
MODELS = ["Trainer.mod", "Glider.mod", "Delta.mod"]
failures = []


def expect(condition, text):
    print(("ok     " if condition else "FAILED ") + text)
    if not condition:
        failures.append(text)


def check(path):
    """--check on a model file; (exit code, the JSON line)."""
    run = subprocess.run([FDM, "--data", DATA, "--check", path], stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, text=True, timeout=120)
    lines = run.stdout.strip().splitlines()
    return run.returncode, json.loads(lines[-1]) if lines else {}


def fly(path, *args):
    """CSV rows (dicts of floats) of a kestro-fdm flight."""
    with tempfile.TemporaryDirectory() as tmp:
        csv_path = os.path.join(tmp, "flight.csv")
        cmd = [FDM, "--data", DATA, "--model", path, "--csv", csv_path] + list(args)
        run = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=120)
        if run.returncode != 0:
            sys.exit("%s failed (%d):\n%s" % (" ".join(cmd), run.returncode, run.stderr[-2000:]))
        with open(csv_path) as f:
            header = f.readline().strip().split(",")
            return [dict(zip(header, map(float, line.split(",")))) for line in f]


def model_text(name):
    with open(os.path.join(DATA, "Model", name)) as f:
        return f.read()


def copy_with(tmp, name, text):
    """A copy of a shipped model under another name, beside the original's data."""
    path = os.path.join(tmp, name)
    with open(path, "w") as f:
        f.write(text)
    return path


def block(text, kind, name):
    """(start, end) of the block '.KIND Name { ... }' in a model file."""
    m = re.search(r"^\.%s %s\s*\{.*?^\}" % (kind, re.escape(name)), text, re.M | re.S)
    return m.span() if m else None


def with_ballast(text, mass, z):
    return text + "\n.BATTERY CheckBallast\n{\n  .POSITION 0 0 %g\n  .MASS %g\n}\n" % (z, mass)


def shipped():
    for name in MODELS:
        code, result = check(os.path.join(DATA, "Model", name))
        expect(code == 0 and result.get("pass") is True and not result.get("warnings"),
               "%s passes the check (exit %d, warnings %s)" % (name, code, result.get("warnings")))
        # The margin as estimated and as flown agree on the side of the neutral point.
        expect(result["static_margin_percent"] > 0 and result["static_margin_flown_percent"] > 0,
               "%s: centre of mass ahead of the neutral point (%.1f %% estimated, %.1f %% flown)"
               % (name, result["static_margin_percent"], result["static_margin_flown_percent"]))


# Flight start for the slow-flight and hands-off checks: 150 m up, level, at a speed the model
# cruises at; the throttle closed (the engine never starts without a closed-open sequence).
CRUISE = {"Trainer.mod": 15, "Glider.mod": 8, "Delta.mod": 13}


def slowest(name):
    """Slowest steady speed: idle, elevator eased to full up and held; the median airspeed from
    20 s on while the wings are within 20 deg of level (a model whose wing drops at the stall
    spirals away, faster, with the stick held back)."""
    rows = fly(os.path.join(DATA, "Model", name), "--flat", "--seconds", "45", "--start", "0,150,0",
               "--speed", str(CRUISE[name]), "--set", "V_CH3=-1", "--ramp", "V_CH2=0:1:5:30")
    speeds = sorted(r["airspeed"] for r in rows if r["time"] >= 20 and abs(r["roll"]) < 20)
    return speeds[len(speeds) // 2]


def stall():
    for name in MODELS:
        _, result = check(os.path.join(DATA, "Model", name))
        flown = slowest(name)
        predicted = result["slowest_speed_mps"]
        expect(abs(predicted - flown) <= 0.15 * flown,
               "%s: predicted slowest steady speed %.1f m/s is within 15 %% of the %.1f m/s kestro-fdm flies"
               % (name, predicted, flown))
        # The wing's own stall is a floor: the model cannot fly steadily below it.
        expect(result["stall_speed_mps"] <= flown * 1.05,
               "%s: stall speed from Cl max %.1f m/s is not above the flown %.1f m/s"
               % (name, result["stall_speed_mps"], flown))


def pitch_excursion(path):
    """Largest |pitch| (deg) after the first second of a hands-off glide started level (a tail-heavy
    model pitches up within it and may tumble on to a smaller excursion)."""
    rows = fly(path, "--flat", "--seconds", "20", "--start", "0,200,0", "--speed", "15", "--set", "V_CH3=-1")
    return max(abs(r["pitch"]) for r in rows if r["time"] >= 1)


def ballast():
    name = "Trainer.mod"
    text = model_text(name)
    with tempfile.TemporaryDirectory() as tmp:
        shipped_path = os.path.join(DATA, "Model", name)
        _, result = check(shipped_path)
        tail_z = max(s["quarter_chord_z_m"] for s in result["surfaces"])
        # Ballast in the tail, doubled until the check reports the model unstable as flown.
        mass, path, heavy = 0.05, None, None
        while mass < 5:
            path = copy_with(tmp, "TailHeavy.mod", with_ballast(text, mass, tail_z))
            code, heavy = check(path)
            if heavy["static_margin_flown_percent"] < -5:
                break
            mass *= 1.5
        expect(code == 3 and any(w["code"] == "unstable_flown" for w in heavy["warnings"]),
               "%.2f kg of tail ballast: the check warns of a negative margin (%.1f %% flown, %.1f %% estimated)"
               % (mass, heavy["static_margin_flown_percent"], heavy["static_margin_percent"]))
        stable = pitch_excursion(shipped_path)
        diverged = pitch_excursion(path)
        expect(stable < 30, "shipped trim, hands off: pitch stays within %.0f deg" % stable)
        # (A wing that stalls sharply caps the divergence: the nose falls through once it breaks.)
        expect(diverged > max(45, 2 * stable), "tail-heavy, hands off: pitch diverges to %.0f deg" % diverged)


def broken():
    name = "Trainer.mod"
    text = model_text(name)
    with tempfile.TemporaryDirectory() as tmp:
        # Tail-heavy: enough ballast behind the tail for a negative estimated margin.
        _, result = check(os.path.join(DATA, "Model", name))
        tail_z = max(s["quarter_chord_z_m"] for s in result["surfaces"])
        mass = 0.05
        while mass < 5:
            code, heavy = check(copy_with(tmp, "TailHeavy.mod", with_ballast(text, mass, tail_z)))
            if heavy["static_margin_percent"] < 0:
                break
            mass *= 1.5
        codes = [(w["code"], w["part"]) for w in heavy["warnings"]]
        expect(code == 3 and ("unstable", result["main_wing"]) in codes,
               "tail-heavy copy (%.2f kg at the tail): 'unstable' naming the main wing (%s)" % (mass, codes))

        # Missing airfoil: the main wing names a file that does not exist.
        start, end = block(text, "WING3", result["main_wing"])
        wing = re.sub(r"\.AIRFOIL \S+", ".AIRFOIL NoSuchAirfoil.afl", text[start:end])
        code, res = check(copy_with(tmp, "NoAirfoil.mod", text[:start] + wing + text[end:]))
        codes = [(w["code"], w["part"]) for w in res["warnings"]]
        expect(code == 3 and ("no_airfoil", result["main_wing"]) in codes,
               "copy without the wing's airfoil: 'no_airfoil' naming it (%s)" % codes)

        # Reversed elevator: the tail's reverse flags flipped.
        start, end = block(text, "WING3", "Stabiliser")
        tail = re.sub(r"(\.SEG\d_SERVO_REV(?:_SYMMETRICAL)?) ([01])",
                      lambda m: "%s %d" % (m.group(1), 1 - int(m.group(2))), text[start:end])
        code, res = check(copy_with(tmp, "Reversed.mod", text[:start] + tail + text[end:]))
        codes = [(w["code"], w["part"]) for w in res["warnings"]]
        expect(code == 3 and ("control_reversed", "Stabiliser") in codes,
               "copy with the elevator reversed: 'control_reversed' naming the Stabiliser (%s)" % codes)

        # A file that is no model at all does not load: exit 1 and a JSON line that says so.
        code, res = check(copy_with(tmp, "Garbage.mod", ".WING3 W\n{\n .HALF_SPAN"))
        expect(code in (1, 3), "a broken file: exit %d, no crash" % code)
        code, res = check(os.path.join(tmp, "Missing.mod"))
        expect(code == 1 and res.get("loaded") is False, "a missing file: exit %d, loaded false" % code)


CHECKS = {"shipped": shipped, "stall": stall, "ballast": ballast, "broken": broken}
CHECKS[CHECK]()
sys.exit(1 if failures else 0)
