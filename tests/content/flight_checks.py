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


def trainer_takeoff():
    # A little up elevator for the takeoff, eased off once the model climbs away.
    summary, rows = fly("Trainer.mod", "--seconds", "16", *THROTTLE_UP, "--ramp", "V_CH2=0.15:0:5:7")
    ground = between(rows, 0.8, 1.0)[0]["y"]  # rolling on its wheels
    airborne = [r for r in rows if r["y"] - ground > 1.0]
    t_off = airborne[0]["time"] if airborne else math.inf
    expect(t_off < 10.0, "trainer leaves the ground within 10 s at full throttle (%.1f s)" % t_off)
    end = rows[-1]["y"] - ground
    expect(end > 15.0, "trainer keeps climbing: %.1f m up after 16 s" % end)
    expect(summary["damage"] == 0, "trainer takes no damage on the takeoff (%.1f)" % summary["damage"])


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


def trainer_stall():
    # Engine idle, elevator eased back to full up over 30 s: the slowest steady speed.
    summary, rows = fly("Trainer.mod", "--flat", "--seconds", "40", "--start", "0,150,0", "--speed", "15",
                        "--ramp", "V_CH2=0:1:5:35")
    slow = between(rows, 30, 40)
    stall = min(r["airspeed"] for r in slow)
    expect(8.0 <= stall <= 12.0, "trainer stall speed %.1f m/s is within 8..12 m/s" % stall)


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


CHECKS = {
    "trainer_takeoff": trainer_takeoff,
    "trainer_cruise": trainer_cruise,
    "trainer_stall": trainer_stall,
    "glider_glide": glider_glide,
    "ground_trainer": lambda: on_ground("Trainer.mod"),
    "ground_glider": lambda: on_ground("Glider.mod"),
    "ground_delta": lambda: on_ground("Delta.mod"),
    "delta_takeoff": delta_takeoff,
    "delta_cruise": delta_cruise,
    "delta_stall": delta_stall,
}

CHECKS[CHECK]()
sys.exit(1 if failures else 0)
