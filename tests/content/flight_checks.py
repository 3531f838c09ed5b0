#!/usr/bin/python3
"""Flight checks of the shipped models, flown headless with kestro-fdm.

    flight_checks.py <kestro-fdm> <Data dir> <check>

Each check flies one or two short flights (a few hundred milliseconds of wall time) and
prints what it measured; the exit status is 0 when the model behaves as its class should.
"""
import csv
import json
import math
import os
import re
import subprocess
import sys
import tempfile

FDM, DATA, CHECK = sys.argv[1], sys.argv[2], sys.argv[3]
failures = []


def fly(model, *args):
    """Runs kestro-fdm; returns (summary, rows of the CSV as dicts of floats)."""
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "flight.csv")
        cmd = [FDM, "--data", DATA, "--model", model, "--csv", path] + list(args)
        run = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=120)
        if run.returncode != 0:
            sys.exit("%s failed (%d):\n%s" % (" ".join(cmd), run.returncode, run.stderr[-2000:]))
        summary = json.loads(run.stdout.strip().splitlines()[-1])
        with open(path) as f:
            rows = [{k: float(v) for k, v in row.items()} for row in csv.DictReader(f)]
    return summary, rows


def expect(condition, text):
    print(("ok     " if condition else "FAILED ") + text)
    if not condition:
        failures.append(text)


def between(rows, t0, t1):
    return [r for r in rows if t0 <= r["time"] <= t1]


# Without --start a model stands on the ground at the site's start pose. The engine starts only
# after the throttle was closed once, as the pilot does at the field.
THROTTLE_UP = ["--ramp", "V_CH3=-1:1:0.3:0.8"]


def trainer_cruise():
    summary, rows = fly("Trainer.mod", "--flat", "--seconds", "60", "--start", "0,80,0", "--speed", "15",
                        "--ramp", "V_CH3=-1:-0.3:0.2:0.5")
    settled = between(rows, 10, 60)
    max_bank = max(abs(r["roll"]) for r in settled)
    max_pitch = max(abs(r["pitch"]) for r in settled)
    speeds = [r["airspeed"] for r in settled]
    expect(summary["min_height_above_terrain"] > 40, "trainer holds its height at part throttle (lowest %.1f m)"
           % summary["min_height_above_terrain"])
    expect(max_bank < 60 and max_pitch < 30, "trainer does not diverge: bank up to %.0f deg, pitch up to %.0f deg"
           % (max_bank, max_pitch))
    expect(10 < min(speeds) and max(speeds) < 30, "trainer cruises at %.1f .. %.1f m/s" % (min(speeds), max(speeds)))


def glider_glide():
    summary, rows = fly("Glider.mod", "--flat", "--seconds", "60", "--start", "0,100,0", "--speed", "8")
    glide = between(rows, 15, 60)
    a, b = glide[0], glide[-1]
    distance = math.hypot(b["x"] - a["x"], b["z"] - a["z"])
    ratio = distance / (a["y"] - b["y"])
    expect(10 <= ratio <= 25, "glider glide ratio %.1f is within 10..25" % ratio)
    # Sink rate averaged over 5 s windows of the trimmed glide; its minimum.
    sinks = []
    for t in range(15, 56, 5):
        w = between(rows, t, t + 5)
        sinks.append((w[0]["y"] - w[-1]["y"]) / (w[-1]["time"] - w[0]["time"]))
    expect(0.3 <= min(sinks) <= 0.8, "glider minimum sink %.2f m/s is within 0.3..0.8 m/s" % min(sinks))


def on_ground(model):
    # From the site's own start pose: the model is set down on its gear, as the pilot puts it
    # on the field.
    summary, rows = fly(model, "--seconds", "60", "--set", "V_CH3=-1")
    expect(summary["damage"] == 0, "%s takes no damage standing 60 s (%.2f)" % (model, summary["damage"]))
    heights = [r["y"] for r in between(rows, 2, 60)]
    expect(max(heights) - min(heights) < 0.02, "%s does not bounce (height varies %.3f m)"
           % (model, max(heights) - min(heights)))
    sink = -min(r["climb_rate"] for r in between(rows, 0, 2))
    expect(sink < 1.0, "%s is set down, not dropped (sinks at up to %.2f m/s)" % (model, sink))
    if model == "Glider.mod":
        moved = math.hypot(rows[-1]["x"] - rows[0]["x"], rows[-1]["z"] - rows[0]["z"])
        expect(moved < 0.05, "the glider stays where it was put (moved %.3f m)" % moved)


def delta_takeoff():
    # Off its skid wheels at full throttle with a touch of up elevon, released once it rolls.
    summary, rows = fly("Delta.mod", "--seconds", "16", *THROTTLE_UP, "--ramp", "V_CH2=0.1:0:3:4")
    ground = between(rows, 0.8, 1.0)[0]["y"]
    airborne = [r for r in rows if r["y"] - ground > 1.0]
    t_off = airborne[0]["time"] if airborne else math.inf
    expect(t_off < 6.0, "delta leaves the ground within 6 s at full throttle (%.1f s)" % t_off)
    climb = between(rows, 8, 16)
    rate = (climb[-1]["y"] - climb[0]["y"]) / (climb[-1]["time"] - climb[0]["time"])
    expect(rate > 2.0, "delta keeps climbing: %.1f m/s from 8 to 16 s" % rate)
    max_bank = max(abs(r["roll"]) for r in between(rows, t_off, 16))
    expect(max_bank < 60, "delta climbs out without rolling away (bank up to %.0f deg)" % max_bank)
    expect(summary["damage"] == 0, "delta takes no damage on the takeoff (%.1f)" % summary["damage"])


def delta_cruise():
    # Part throttle, sticks centred: the elevon trim holds it level against the motor's torque.
    summary, rows = fly("Delta.mod", "--flat", "--seconds", "60", "--start", "0,80,0", "--speed", "13",
                        "--ramp", "V_CH3=-1:-0.35:0.2:0.5")
    settled = between(rows, 10, 60)
    max_bank = max(abs(r["roll"]) for r in settled)
    max_pitch = max(abs(r["pitch"]) for r in settled)
    speeds = [r["airspeed"] for r in settled]
    heights = [r["y"] for r in settled]
    expect(max(heights) - min(heights) < 15, "delta holds its height at part throttle (%.1f .. %.1f m)"
           % (min(heights), max(heights)))
    expect(max_bank < 20 and max_pitch < 20, "delta does not diverge: bank up to %.0f deg, pitch up to %.0f deg"
           % (max_bank, max_pitch))
    expect(10 < min(speeds) and max(speeds) < 18, "delta cruises at %.1f .. %.1f m/s" % (min(speeds), max(speeds)))


def delta_stall():
    # Motor idle, elevons eased to full up over 30 s: the slowest steady speed.
    summary, rows = fly("Delta.mod", "--flat", "--seconds", "40", "--start", "0,150,0", "--speed", "13",
                        "--ramp", "V_CH2=0:1:5:35")
    stall = min(r["airspeed"] for r in between(rows, 30, 40))
    expect(6.0 <= stall <= 10.0, "delta stall speed %.1f m/s is within 6..10 m/s" % stall)



# --- Flight realism: each check flies the shortest runs that show one figure of the real class.
# A pilot's inputs are ramps of a few tenths of a second; "idle" is a running engine at closed
# throttle (started by opening and closing the throttle once, as at the field).
IDLE = ["--ramp", "V_CH3=-1:-0.4:0.1:0.2", "--ramp", "V_CH3=-0.4:-1:0.5:0.6"]
ALOFT = ["--flat", "--start", "0,150,0"]


def unwrapped(rows, key):
    """The angle column without its jumps at +-180 deg."""
    out, offset, previous = [], 0.0, None
    for r in rows:
        a = r[key]
        if previous is not None:
            if a - previous > 180:
                offset -= 360
            elif a - previous < -180:
                offset += 360
        out.append(a + offset)
        previous = a
    return out


def rate(rows, key, t0, t1):
    """Mean rate (deg/s) of an angle column between two times."""
    w = between(rows, t0, t1)
    angles = unwrapped(w, key)
    return (angles[-1] - angles[0]) / (w[-1]["time"] - w[0]["time"])


def peak_rate(rows, key, t0, t1, window=0.3):
    """Largest mean rate (deg/s, by magnitude) over any `window` seconds between t0 and t1."""
    w = between(rows, t0, t1)
    angles = unwrapped(w, key)
    best = 0.0
    for i, r in enumerate(w):
        for j in range(i + 1, len(w)):
            if w[j]["time"] - r["time"] >= window:
                v = (angles[j] - angles[i]) / (w[j]["time"] - r["time"])
                best = v if abs(v) > abs(best) else best
                break
    return best


def trainer_stall_break():
    # Idle, from 14 m/s the elevator is eased back to full up over 8 s: where the nose drops or a
    # wing drops is the stall, and the slowest speed in the second before it the stall speed.
    # Released at 11 s; the pilot then eases back to a little up elevator to level off.
    summary, rows = fly("Trainer.mod", *ALOFT, "--seconds", "16", "--speed", "14", *IDLE,
                        "--ramp", "V_CH2=0:1:2:10", "--ramp", "V_CH2=1:0:11:11.2", "--ramp", "V_CH2=0:0.3:12:12.5")
    w = between(rows, 6, 11)
    top, brk = -90.0, None
    for r in w:
        top = max(top, r["pitch"])
        if top - r["pitch"] >= 8.0 or abs(r["roll"]) >= 20.0:
            brk = r
            break
    expect(brk is not None, "the trainer's nose or a wing drops at the stall with the stick held back")
    if brk is None:
        return
    stall = min(r["airspeed"] for r in between(rows, brk["time"] - 1.0, brk["time"]))
    expect(7.5 <= stall <= 10.0, "trainer stalls at %.1f m/s (a real one: 8-9)" % stall)
    after = between(rows, 11.0, 16)
    level = next((r for r in between(rows, 11.5, 16) if r["climb_rate"] >= 0.0), None)
    lost = after[0]["y"] - (level["y"] if level else after[-1]["y"])
    expect(level is not None and lost <= 15.0, "released, the trainer recovers within %.1f m (a real one: 5-10)" % lost)


def trainer_spin():
    # On high rates (the dual-rate switch V_CH6 up), full up and full right rudder as it stalls;
    # centred after about three turns. A spin, not a spiral dive: the speed stays low.
    summary, rows = fly("Trainer.mod", *ALOFT, "--seconds", "16", "--speed", "12", *IDLE, "--set", "V_CH6=1",
                        "--ramp", "V_CH2=0:1:1:2", "--ramp", "V_CH4=0:1:1.5:2", "--ramp", "V_CH2=1:0:9:9.2",
                        "--ramp", "V_CH4=1:0:9:9.2")
    spin = rate(rows, "heading", 6, 9) / 360.0
    fastest = max(r["airspeed"] for r in between(rows, 6, 9))
    expect(0.4 <= spin <= 1.2 and fastest <= 15.0,
           "trainer spins at %.2f rev/s, at up to %.1f m/s (a real one: 0.5-1, slow)" % (spin, fastest))
    headings = unwrapped(rows, "heading")
    times = [r["time"] for r in rows]
    start = next(i for i, t in enumerate(times) if t >= 9.0)
    # Stopped: the rotation falls below a tenth of a turn per second.
    stop = next((i for i in range(start, len(rows) - 6)
                 if abs(headings[i + 6] - headings[i]) / (times[i + 6] - times[i]) < 36.0), None)
    turns = abs(headings[stop] - headings[start]) / 360.0 if stop else math.inf
    expect(turns <= 2.0, "centred, it stops spinning within %.2f turns (a real one: within two)" % turns)


def roll_rate(model, speed, channel, low, high, text):
    summary, rows = fly(model, *ALOFT, "--seconds", "3", "--speed", str(speed), "--ramp", channel + "=0:1:0.5:0.7")
    r = peak_rate(rows, "roll", 0.5, 3.0)
    expect(low <= abs(r) <= high, text % abs(r))


def trainer_roll():
    roll_rate("Trainer.mod", 18, "V_CH1", 80, 200, "trainer rolls at %.0f deg/s with full aileron at 18 m/s "
              "(a real one: 90-180)")


def delta_roll():
    roll_rate("Delta.mod", 14, "V_CH1", 180, 450, "delta rolls at %.0f deg/s with full elevons (a real one: 200-400)")


def glider_bank():
    summary, rows = fly("Glider.mod", *ALOFT, "--seconds", "8", "--speed", "8", "--ramp", "V_CH4=0:1:1:1.3")
    banked = next((r for r in rows if abs(r["roll"]) >= 30.0), None)
    t = banked["time"] - 1.0 if banked else math.inf
    expect(1.5 <= t <= 4.0, "glider banks 30 deg %.1f s after full rudder (a real one: 2-3)" % t)


def trainer_glide():
    summary, rows = fly("Trainer.mod", *ALOFT, "--seconds", "40", "--speed", "14", *IDLE)
    glide = between(rows, 15, 40)
    a, b = glide[0], glide[-1]
    ratio = math.hypot(b["x"] - a["x"], b["z"] - a["z"]) / (a["y"] - b["y"])
    expect(5.5 <= ratio <= 10.0, "trainer glides at idle, hands off, at %.1f (a real one: 6-9)" % ratio)


def trainer_landing():
    summary, rows = fly("Trainer.mod", "--flat", "--start", "0,20,0", "--seconds", "25", "--speed", "13", *IDLE)
    expect(summary["damage"] == 0, "hands-off idle approach from 20 m: damage %.0f" % summary["damage"])
    bounced = [r for r in between(rows, 5, 25) if r["climb_rate"] > 1.0 and r["y"] < 2.0]
    expect(not bounced, "the trainer arrives without bouncing (%d frames climbing near the ground)" % len(bounced))


def trainer_takeoff_run():
    # Full throttle; the pilot rotates with half up elevator at walking-pace-plus (2 s) and eases
    # to 0.15 up once it flies.
    summary, rows = fly("Trainer.mod", "--flat", "--seconds", "8", *THROTTLE_UP, "--ramp", "V_CH2=0:0.5:2:2.3",
                        "--ramp", "V_CH2=0.5:0.15:3.5:4")
    ground = between(rows, 1.0, 1.1)[0]["y"]
    off = next((r for r in rows if r["y"] - ground > 0.15), None)
    expect(off is not None, "the trainer lifts off")
    if off is None:
        return
    distance = math.hypot(off["x"] - rows[0]["x"], off["z"] - rows[0]["z"])
    swing = off["heading"] - rows[0]["heading"]
    expect(9.0 <= off["airspeed"] <= 14.0, "trainer lifts off at %.1f m/s (a real one: 10-13)" % off["airspeed"])
    expect(12.0 <= distance <= 35.0, "after a %.0f m run (a real one: 15-30)" % distance)
    expect(-15.0 <= swing <= 0.5, "swinging %.1f deg (a real one swings gently left)" % swing)


def trainer_hands_off_full_throttle():
    summary, rows = fly("Trainer.mod", *ALOFT, "--seconds", "10", "--speed", "14", *THROTTLE_UP)
    rolls = [r["roll"] for r in between(rows, 1, 10)]
    expect(max(rolls) <= 10.0 and min(rolls) >= -45.0,
           "hands off at full throttle the trainer banks %.0f .. %.0f deg (holds or drifts left)"
           % (min(rolls), max(rolls)))


def trainer_taxi():
    # Throttle in steps from idle; each held 6 s.
    steps = [-1.0, -0.8, -0.7, -0.6, -0.5]
    args = list(IDLE)
    for k, value in enumerate(steps[1:]):
        t = 6.0 * (k + 1)
        args += ["--ramp", "V_CH3=%g:%g:%g:%g" % (steps[k], value, t, t + 0.3)]
    summary, rows = fly("Trainer.mod", "--flat", "--seconds", str(6 * len(steps)), *args)
    speeds = []
    for k in range(len(steps)):
        w = between(rows, 6.0 * k + 4.0, 6.0 * k + 6.0)
        speeds.append(sum(r["airspeed"] for r in w) / len(w))
    text = ", ".join("%.1f" % v for v in speeds)
    expect(all(b > a for a, b in zip(speeds, speeds[1:])), "taxi speed grows with the throttle: %s m/s" % text)
    expect(speeds[-1] <= 10.0 and max(r["y"] for r in rows) - rows[0]["y"] < 0.2,
           "the trainer stays on the ground taxiing at throttle -0.5 (%.1f m/s)" % speeds[-1])
    jumps = [abs(b["airspeed"] - a["airspeed"]) for a, b in zip(rows, rows[1:])]
    expect(max(jumps) < 0.2, "taxi speed changes smoothly (largest step %.2f m/s per frame)" % max(jumps))


def trainer_crosswind():
    # The breeze from the left: the pilot holds a little left aileron (into wind) and 0.4 right
    # rudder against the weathervaning, and steers the heading with rudder and nose wheel on top,
    # closed loop (a further full rudder for 18 deg of swing). Flown in 4 m/s from the side and in
    # 10 % less and more wind, and 15 deg either way.
    for wind in ("4,90", "3.6,90", "4.4,90", "4,75", "4,105"):
        summary, rows = fly("Trainer.mod", "--flat", "--seconds", "8", "--wind", wind, *THROTTLE_UP,
                            "--set", "V_CH2=0.15", "--set", "V_CH1=-0.3", "--set", "V_CH4=0.4",
                            "--hold-heading", "V_CH4=18")
        ground = rows[0]["y"]
        roll = [r for r in rows if r["y"] - ground < 0.3]
        swing = max(abs(r["heading"] - rows[0]["heading"]) for r in roll)
        expect(swing <= 10.0 and roll[-1]["time"] < 7.0,
               "take-off run in %s m/s blowing towards %s deg swings %.1f deg (held to 10), off at %.1f s"
               % (tuple(wind.split(",")) + (swing, roll[-1]["time"])))


def propellers():
    for model, zero in (("Trainer.mod", 0.78), ("Delta.mod", None)):
        run = subprocess.run([FDM, "--data", DATA, "--model", model, "--report", "--seconds", "0.1"],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=120)
        merit = float(re.search(r"figure of merit ([-\d.]+)", run.stdout).group(1))
        expect(0.45 <= merit <= 0.8, "%s propeller's figure of merit %.2f (a real one: 0.5-0.75)" % (model, merit))
        if zero:
            j = float(re.search(r"zero thrust at J ([-\d.]+)", run.stdout).group(1))
            expect(abs(j - zero) <= 0.15 * zero, "10x6 thrust falls to zero at J %.2f (APC: 0.78)" % j)


def trainer_phugoid():
    # Trimmed cruise, nudged 3 m/s fast, hands off: the period of the speed oscillation.
    summary, rows = fly("Trainer.mod", *ALOFT, "--seconds", "40", "--speed", "20",
                        "--ramp", "V_CH3=-1:-0.3:0.2:0.5")
    w = between(rows, 3, 40)
    peaks = [w[i]["time"] for i in range(1, len(w) - 1)
             if w[i]["airspeed"] > w[i - 1]["airspeed"] and w[i]["airspeed"] >= w[i + 1]["airspeed"]
             and w[i]["airspeed"] == max(r["airspeed"] for r in between(w, w[i]["time"] - 2, w[i]["time"] + 2))]
    mean_speed = sum(r["airspeed"] for r in w) / len(w)
    textbook = math.pi * math.sqrt(2) * mean_speed / 9.81
    period = (peaks[-1] - peaks[0]) / (len(peaks) - 1) if len(peaks) >= 2 else math.inf
    expect(abs(period - textbook) <= 0.3 * textbook,
           "phugoid period %.1f s against the textbook %.1f s at %.1f m/s" % (period, textbook, mean_speed))


def parked_in_wind(model):
    # Its resting attitude in still air first (the glider, set down level, topples onto a wing
    # tip within 10 s), then a 5 m/s breeze from four directions (towards heading 0, 90, 180,
    # 270); the tilt counts once it has settled.
    summary, rows = fly(model, "--seconds", "10", "--set", "V_CH3=-1")
    rest = abs(rows[-1]["roll"])
    for heading in (0, 90, 180, 270):
        summary, rows = fly(model, "--seconds", "60", "--set", "V_CH3=-1", "--wind", "5,%d" % heading)
        turned = max(abs(h - rows[0]["heading"]) for h in unwrapped(rows, "heading"))
        tilted = max(abs(abs(r["roll"]) - rest) for r in between(rows, 15, 60))
        expect(turned <= 15 and tilted <= 5 and summary["damage"] == 0,
               "%s parked 60 s in 5 m/s towards %d deg: turns %.1f deg, tilts %.1f deg from its %.1f deg at rest, "
               "damage %.0f" % (model, heading, turned, tilted, rest, summary["damage"]))


def air_at(site, points, *args):
    """kestro-fdm --air: one {"point", "ground", "air"} per (x, y, z) over the site."""
    cmd = [FDM, "--data", DATA, "--site", site] + list(args)
    for p in points:
        cmd += ["--air", "%g,%g,%g" % p]
    run = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=120)
    if run.returncode != 0:
        sys.exit("%s failed (%d):\n%s" % (" ".join(cmd), run.returncode, run.stderr[-2000:]))
    return [json.loads(line) for line in run.stdout.strip().splitlines()]


def slope_air():
    """7 m/s straight at the slope site's ridge (heading 180 blows towards +Z, up the face)."""
    # Over the windward face, over the lee behind the crest, far upwind over the valley; the
    # first run (still air) finds the ground under them.
    places = [(0, -150, 20), (0, 300, 10), (0, -1200, 20)]
    still = air_at("SlopeSite", [(x, 0, z) for x, z, _ in places])
    wind = air_at("SlopeSite", [(x, s["ground"] + h, z) for (x, z, h), s in zip(places, still)], "--wind", "7,180")
    face, lee, flat = [w["air"] for w in wind]
    expect(face[1] > 1.5, "20 m above the windward face the air rises %.2f m/s (> 1.5)" % face[1])
    expect(lee[1] < -0.05, "10 m above the lee side it sinks %.2f m/s" % lee[1])
    expect(abs(flat[1]) < 0.05 and abs(flat[2] - 7) < 1e-3,
           "far upwind over the valley the air is level: %.3f m/s up, %.2f m/s along" % (flat[1], flat[2]))
    expect(all(s["air"] == [0, 0, 0] for s in still), "in still air nothing moves")


CHECKS = {
    "trainer_cruise": trainer_cruise,
    "glider_glide": glider_glide,
    "ground_trainer": lambda: on_ground("Trainer.mod"),
    "ground_glider": lambda: on_ground("Glider.mod"),
    "ground_delta": lambda: on_ground("Delta.mod"),
    "delta_takeoff": delta_takeoff,
    "delta_cruise": delta_cruise,
    "delta_stall": delta_stall,
    "trainer_stall_break": trainer_stall_break,
    "trainer_spin": trainer_spin,
    "trainer_roll": trainer_roll,
    "delta_roll": delta_roll,
    "glider_bank": glider_bank,
    "trainer_glide": trainer_glide,
    "trainer_landing": trainer_landing,
    "trainer_takeoff_run": trainer_takeoff_run,
    "trainer_hands_off_full_throttle": trainer_hands_off_full_throttle,
    "trainer_taxi": trainer_taxi,
    "trainer_crosswind": trainer_crosswind,
    "propellers": propellers,
    "trainer_phugoid": trainer_phugoid,
    "parked_trainer": lambda: parked_in_wind("Trainer.mod"),
    "parked_glider": lambda: parked_in_wind("Glider.mod"),
    "parked_delta": lambda: parked_in_wind("Delta.mod"),
    "slope_air": slope_air,
}

for name in (CHECKS if CHECK == "all" else [CHECK]):
    CHECKS[name]()
sys.exit(1 if failures else 0)
