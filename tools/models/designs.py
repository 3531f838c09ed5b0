"""The three shipped models as part lists: the .40 trainer, the 2 m thermal glider, the delta.

Body axes: +X right, +Y up, forward along -Z, metres; the body origin is the nose-tail
datum, and the centre of mass ends up where the structure masses put it (solved so that
each model weighs what its class weighs, balanced at the chosen point of the wing).

Channels: V_CH1 aileron (+1 rolls right), V_CH2 elevator (+1 nose up), V_CH3 throttle
(-1 idle, +1 full), V_CH4 rudder (+1 yaws right), V_CH5 free (glider: launch line).

Wheels: the WHEEL3 rolling resistance is a torque on the wheel's spin that grows with the
square of the spin rate (so with 1 / RADIUS^2 at a given ground speed). Measured on the
trainer's takeoff at full throttle: speed after 5 s 23.1 / 23.0 / 22.7 m/s and lift-off after
4.8 / 4.7 / 4.3 s with radius 0.032 / 0.08 / 0.16 m (INERTIA 0.01), so the true 2.5 inch wheel
rolls freely enough and is kept. The hub POSITION sits one RADIUS plus the spring's rest length
above the wheel's ground contact.
"""
import math

import numpy as np

import modfile
from modfile import Quoted as Q

# --- shared pieces -----------------------------------------------------------------------

# Lift coefficient a control surface adds at 20 deg (chord fraction 0.3 or more): thin-aerofoil
# flap theory gives about 1.4 for a 30 % surface, a sealed-hinge RC surface about 1.0 of it.
CONTROL_LIFT = 1.0
# Rolling resistance of small model wheels on a mown field (drag per newton of wheel load); the
# spin damping of the older wheel formula (which grows with the square of the spin, 1/r^2 at a
# given speed) is switched off.
ROLLING_RESISTANCE = 0.05
# Static friction on grass of an airframe at rest (skid, wing tip, tail: the grass catches them)
# and of a skid wheel's side grip: a parked model holds against a breeze until pushed harder
# than this times the load. (Contact friction that grows from zero with the sliding speed lets
# any steady wind creep it round; at 0.6 the glider, resting on its skid, tail and one tip,
# still turned 53 deg in 5 m/s from the side, at 1.0 it turns 10 deg.)
GRASS_STATIC_FRICTION = 1.0
# The propellers' blade section: Clark Y with the drag of a propeller blade's Reynolds numbers.
PROP_AIRFOIL = "ClarkYProp.afl"


def model_info(description, osg, panel, max_step=0.005, shadow_scale=1.6):
    return ("MODEL_INFO", "M", [
        ("DESCRIPTION", Q(description)),
        ("DISPLAYED_SCALE_OF_FORCES", 0.1),
        ("3D_MODEL_FILE", osg),
        ("3D_MODEL_SCALE", 1.0),
        ("3D_MODEL_OFFSET_POS", (0, 0, 0)),
        ("SHADOW_TEXTURE_FILE", "Shadow.png"),
        ("SHADOW_SCALE", shadow_scale),
        ("SHADOW_OFFSET", (0, 0)),
        ("MAX_INTEGRATION_STEP", max_step),
        ("INSTRUMENT_PANEL_FILE", panel),
    ])


def servo(name, variable, position, description, mass=0.045, speed=0.15):
    return ("SERVO", name, [("DESCRIPTION", Q(description)), ("VARIABLE", variable),
                            ("POSITION", position), ("MASS", mass), ("SPEED", speed)])


def battery(name, description, position, mass, capacity=600, cells=4):
    return ("BATTERY", name, [("DESCRIPTION", Q(description)), ("POSITION", position),
                              ("MASS", mass), ("CAPACITY", capacity), ("NUM_CELLS", cells)])


def collision(name, position, static=0.0):
    keys = [("POSITION", position)]
    if static > 0.0:
        keys.append(("STATIC_FRICTION", static))
    return ("COLLISION_POINT", name, keys)


def segment_keys(n, servo="", rev=False, servo_sym="", rev_sym=False, chord_fraction=0.0,
                 max_deflection=0.0, incidence_inc=0.0, dof="", dof_sym=""):
    s = "SEG%d_" % n
    return [(s + "SERVO", servo), (s + "SERVO_SYMMETRICAL", servo_sym),
            (s + "SERVO_REV", rev), (s + "SERVO_REV_SYMMETRICAL", rev_sym),
            (s + "CONTROL_CHORD_FRACTION", chord_fraction),
            (s + "MAX_DEFLECTION_ANGLE", max_deflection),
            (s + "INCIDENCE_INC", incidence_inc), (s + "DOF", dof), (s + "DOF_SYMMETRICAL", dof_sym)]


def wing3(name, description, airfoil, position, half_span, root, tip, segments,
          symmetrical=True, incidence=0.0, sweep=0.0, dihedral=0.0, roll=0.0, density=0.5,
          efficiency=0.85, control_lift=CONTROL_LIFT, downwash=0.0, lifting_line=False):
    keys = [("DESCRIPTION", Q(description)), ("AIRFOIL", airfoil), ("SYMMETRICAL", symmetrical),
            ("HALF_SPAN", half_span), ("ROOT_CHORD", root), ("TIP_CHORD", tip),
            ("EFFICIENCY", efficiency), ("INCIDENCE", incidence), ("SWEEP_ANGLE", sweep),
            ("DIHEDRAL", dihedral), ("POSITION", position), ("ROLL_ANGLE", roll),
            ("NUMBER_OF_SEGMENTS", len(segments)), ("DENSITY_KG_PER_SQ_METER", density),
            ("CONTROL_MAX_LIFT", control_lift), ("DOWNWASH", downwash)]
    if lifting_line:
        keys.append(("LIFTING_LINE", True))
    for i, seg in enumerate(segments):
        keys += segment_keys(i, **seg)
    return ("WING3", name, keys)


def wheel3(name, description, contact, radius, steering="V_ZERO", heading=0.0, max_steer=0.0,
           rest=0.03, spring=400.0, inertia=0.01, rolling=ROLLING_RESISTANCE, dynamic=0.5, static=0.9,
           lateral=-500.0, cornering=0.0):
    """contact: where the drawn wheel touches the ground with the gear unloaded."""
    hub = np.asarray(contact, float) + (0, radius + rest, 0)
    return ("WHEEL3", name, [
        ("DESCRIPTION", Q(description)), ("POSITION", hub), ("HEADING", heading),
        ("INERTIA", inertia), ("SUSPENSION_SPRING_REST_LENGTH", rest),
        ("SUSPENSION_SPRINGINESS", spring), ("SUSPENSION_DAMPING_SQ", 20.0),
        ("SUSPENSION_DAMPING_LIN", 20.0), ("TRACTION_STRINGINESS", -500.0),
        ("AXIAL_STRINGINESS", lateral), ("DYNAMIC_FRICTION", dynamic), ("STATIC_FRICTION", static),
        ("RADIUS", radius), ("WIDTH", 0.02), ("SPIN_DAMPING", 0.0), ("ROLLING_RESISTANCE", rolling),
        ("MAX_STEERING_ANGLE", max_steer),
        ("STEERING_VARIABLE", steering), ("MAX_TORQUE", 0.5), ("VARIABLE_TORQUE", "V_ZERO"),
        ("VARIABLE_BRAKE", "V_ZERO")] + ([("CORNERING_STIFFNESS", cornering)] if cornering > 0.0 else []))


def zero_variable():
    """A constant 0 for the wheels' drive and brake inputs (a WHEEL3 needs all three)."""
    return ("VARIABLE", "V_ZERO", [("DESCRIPTION", Q("constant 0: no wheel drive, no brake")),
                                    ("LINK", ""), ("INITIAL_VALUE", 0.0)])


# --- the trainer -------------------------------------------------------------------------

# Tuned against the flight checks (tests/content/flight_checks.py): the centre of mass at 33 % of
# the chord and a tail at the wing's zero-lift trim the model at about 12 m/s gliding; 3 deg down
# thrust against the power's pitch-up; 1.1 deg right thrust and a little slipstream swirl leave a
# gentle left drift at full power; a soft, long nose leg (6 cm, 250 N/m) takes a hands-off arrival;
# the mains 10 cm behind the centre of mass keep enough load on the nose wheel in a side wind; a
# linear throttle (THROTTLE_EXPO 0) lets it taxi at walking pace just above idle. Elevator and
# rudder go through a dual-rate switch on V_CH6: the low rates (15 / 25 deg) fly every check; the
# high rates (30 / 35 deg) are what a pilot flips to for a spin, since only that much up elevator
# holds the wing stalled while the rudder yaws it round (on low rates it falls into a spiral dive).
# The fin (aspect ratio 1.3) lifts as a short wing (LIFTING_LINE: a third of the section's lift
# slope and no stall below about 30 deg) and the tyres corner with their load (CORNERING_STIFFNESS
# 5 per rad, the soft end of tyres' 5-10): with the section's slope and its stall at 12 deg the
# fin in the slipstream weathervaned in a crosswind hard enough to break the wheels' grip at
# 7-8 m/s, swinging the take-off run 11 deg however the rudder was worked; now 4-6.5 deg.
TRAINER = dict(
    span=1.70, chord=0.30, wing_le_z=-0.25, wing_y=0.10, dihedral=6.0, incidence=2.0,
    mass=2.70, cg_chord=0.33,
    stab_half=0.30, stab_root=0.17, stab_tip=0.13, stab_le_z=0.55, stab_y=0.02,
    fin_height=0.22, fin_root=0.22, fin_tip=0.11, fin_le_z=0.52,
    prop_z=-0.66, prop_y=0.03, gear_y=-0.25, main_z=-0.05, main_x=0.20, nose_z=-0.55, wheel_r_drawn=0.032,
    wheel_r_physics=0.032, drag_area=0.03, drag_cd=0.4, swirl=0.05, right_thrust=1.1, down_thrust=3.0,
    downwash=0.0, aileron_travel=15, elevator_travel=15, rudder_travel=25, stab_incidence=0.0,
    elevator_high_rate=30, rudder_high_rate=35,
    mu_static=0.9, mu_dynamic=0.5, nose_steer=12.0, nose_drop=0.03, throttle_expo=0.0, nose_travel=0.06,
    nose_spring=250.0, fin_lifting_line=True, cornering=5.0,
)


def trainer_parts():
    t = TRAINER
    half = t["span"] / 2
    wing = wing3("Wing", "high wing, Clark Y, ailerons on the outer half", "ClarkYWing.afl",
                 (0, t["wing_y"], t["wing_le_z"]), half, t["chord"], t["chord"],
                 [dict(),
                  dict(servo="Aileron", rev=True, servo_sym="Aileron", rev_sym=False,
                       chord_fraction=0.22, max_deflection=t["aileron_travel"], dof="AileronRight",
                       dof_sym="AileronLeft")],
                 incidence=t["incidence"], dihedral=t["dihedral"], density=0.55, efficiency=0.85)
    stab = wing3("Stabiliser", "horizontal tail with elevator", "NACA0012.afl",
                 (0, t["stab_y"], t["stab_le_z"]), t["stab_half"], t["stab_root"], t["stab_tip"],
                 [dict(servo="Elevator", rev=True, servo_sym="Elevator", rev_sym=True,
                       chord_fraction=0.4, max_deflection=t["elevator_high_rate"], dof="Elevator",
                       dof_sym="Elevator")],
                 sweep=math.degrees(math.atan((t["stab_root"] - t["stab_tip"]) * 0.5 / t["stab_half"])),
                 incidence=t["stab_incidence"], density=0.9, efficiency=0.8, downwash=t["downwash"])
    fin_sweep = math.degrees(math.atan((t["fin_root"] - t["fin_tip"]) / t["fin_height"]))
    fin = wing3("Fin", "fin and rudder", "NACA0012.afl", (0, 0.04, t["fin_le_z"]), t["fin_height"],
                t["fin_root"], t["fin_tip"],
                [dict(servo="Rudder", rev=False, chord_fraction=0.45, max_deflection=t["rudder_high_rate"], dof="Rudder")],
                symmetrical=False, roll=90.0, sweep=fin_sweep, density=0.9, efficiency=0.7,
                lifting_line=t["fin_lifting_line"])
    r = t["wheel_r_physics"]
    gy = t["gear_y"]
    parts = [
        model_info("Kestro Trainer: high-wing .40 trainer, 1.70 m, 2.7 kg", "Trainer.osg",
                   "Trainer_Panel.txt", shadow_scale=1.8),
        ("GRAVITY", "Gravity", [("DESCRIPTION", Q("gravity"))]),
        ("DRAG", "Drag", [("DESCRIPTION", Q("fuselage, gear and tail: parasitic drag and rotation damping")),
                          ("FRONTAL_DRAG_AREA", t["drag_area"]), ("FRONTAL_DRAG_COEFFICIENT", t["drag_cd"]),
                          ("ANGULAR_DAMPING_LIN", 0.02), ("ANGULAR_DAMPING_SQ", 0.002)]),
        servo("Aileron", "V_CH1", (0.0, t["wing_y"] - 0.01, t["wing_le_z"] + 0.12), "aileron servo"),
        servo("Elevator", "ElevatorThrow", (0.03, -0.02, -0.10), "elevator servo, through the dual rate"),
        servo("Throttle", "V_CH3", (-0.03, -0.02, -0.16), "throttle servo"),
        servo("Rudder", "RudderThrow", (0.0, -0.02, -0.10), "rudder servo, through the dual rate"),
        ("ENGINE_PROP", "Engine", [("DESCRIPTION", Q(".40 two-stroke glow engine")),
                                   ("POSITION", (0, t["prop_y"], t["prop_z"])), ("HEADING", t["right_thrust"]),
                                   ("PITCH", -t["down_thrust"]),
                                   ("MAX_TORQUE", 0.42), ("MASS", 0.45), ("TOKEN_PROPELLER", "Propeller"),
                                   ("TOKEN_COLLISION_POINT", "Nose"), ("TOKEN_SERVO", "Throttle"),
                                   ("SLIPSTREAM_SWIRL", t["swirl"]), ("THROTTLE_EXPO", t["throttle_expo"])]),
        wing, stab, fin,
        ("PROPELLER", "Propeller", [("DESCRIPTION", Q("10x6 two-blade sport propeller")),
                                    ("DIAMETER", 0.254), ("PITCH", 0.1524),
                                    ("CHORD_TO_DIAMETER_RATIO", 0.075), ("NUMBER_OF_BLADES", 2),
                                    ("AIRFOIL", PROP_AIRFOIL)]),
        ("VARIABLE", "V_ZERO", zero_variable()[2]),
        ("VARIABLE", "ElevatorThrow", [("DESCRIPTION", Q("elevator command after the dual-rate switch (V_CH6)")),
                                       ("LINK", ""), ("INITIAL_VALUE", 0.0)]),
        ("VARIABLE", "RudderThrow", [("DESCRIPTION", Q("rudder command after the dual-rate switch (V_CH6)")),
                                     ("LINK", ""), ("INITIAL_VALUE", 0.0)]),
        wheel3("NoseWheel", "steerable nose wheel", (0, gy - t["nose_drop"], t["nose_z"]), r, steering="V_CH4",
               static=t["mu_static"], dynamic=t["mu_dynamic"], rest=t["nose_travel"], spring=t["nose_spring"],
               max_steer=t["nose_steer"], cornering=t["cornering"]),
        wheel3("LeftWheel", "left main wheel", (-t["main_x"], gy, t["main_z"]), r, static=t["mu_static"],
               dynamic=t["mu_dynamic"], cornering=t["cornering"]),
        wheel3("RightWheel", "right main wheel", (t["main_x"], gy, t["main_z"]), r, static=t["mu_static"],
               dynamic=t["mu_dynamic"], cornering=t["cornering"]),
        collision("Nose", (0, t["prop_y"], t["prop_z"] - 0.03)),
        collision("Spinner", (0, -0.06, t["prop_z"] + 0.02)),
        collision("LeftTip", (-half * math.cos(math.radians(3)), t["wing_y"] + half * math.sin(math.radians(3)), t["wing_le_z"] + 0.15)),
        collision("RightTip", (half * math.cos(math.radians(3)), t["wing_y"] + half * math.sin(math.radians(3)), t["wing_le_z"] + 0.15)),
        collision("Tail", (0, -0.03, 0.75)),
        collision("FinTop", (0, 0.04 + t["fin_height"], 0.70)),
        collision("Belly", (0, -0.09, -0.15)),
        collision("WingTop", (0, t["wing_y"] + 0.04, -0.15)),
        battery("RxBattery", "receiver battery, 4.8 V NiMH", (0, -0.04, -0.45), 0.11),
        ("FUEL_TANK", "Tank", [("DESCRIPTION", Q("10 oz fuel tank, full")), ("POSITION", (0, 0.0, -0.44)),
                               ("MASS_WHEN_EMPTY", 0.05), ("CAPACITY", 0.25)]),
    ]
    cg_z = t["wing_le_z"] + t["cg_chord"] * t["chord"]
    functions = [("ElevatorRate", dual_rate("V_CH2", "ElevatorThrow", t["elevator_travel"], t["elevator_high_rate"])),
                 ("RudderRate", dual_rate("V_CH4", "RudderThrow", t["rudder_travel"], t["rudder_high_rate"]))]
    return parts, cg_z, functions


def dual_rate(stick, out, low, high, switch="V_CH6"):
    """A transmitter's dual-rate switch: `low` deg of throw at full stick with the switch at or
    below the middle, `high` deg with it up (+1). The surface's MAX_DEFLECTION_ANGLE is `high`."""
    low_fraction = low / high
    return ("PUSH %s PUSH %s ABS ADD PUSH %s MUL PUSH %s ADD PUSH %s MUL POP %s"
            % (switch, switch, _trim((1.0 - low_fraction) / 2), _trim(low_fraction), stick, out))


TRAINER_FUSELAGE = ((0, -0.02, -0.40), (0, 0.0, 0.45))  # structure mass points


# --- the glider --------------------------------------------------------------------------

GLIDER = dict(
    span=1.99, root=0.245, tip=0.193, wing_le_z=-0.12, wing_y=0.06, dihedral=7.0, incidence=2.0,
    mass=0.85, cg_chord=0.36,
    stab_half=0.22, stab_root=0.12, stab_tip=0.09, stab_le_z=0.78, stab_y=0.03,
    fin_height=0.20, fin_root=0.17, fin_tip=0.09, fin_le_z=0.76, wheel_z=-0.02,
)


def glider_parts():
    g = GLIDER
    half = g["span"] / 2
    wing = wing3("Wing", "polyhedral wing, NACA 2412", "NACA2412.afl", (0, g["wing_y"], g["wing_le_z"]),
                 half, g["root"], g["tip"], [dict(), dict(incidence_inc=-0.5)],
                 incidence=g["incidence"], dihedral=g["dihedral"], density=0.45, efficiency=0.9)
    stab = wing3("Stabiliser", "horizontal tail with elevator", "NACA0012.afl",
                 (0, g["stab_y"], g["stab_le_z"]), g["stab_half"], g["stab_root"], g["stab_tip"],
                 [dict(servo="Elevator", rev=True, servo_sym="Elevator", rev_sym=True,
                       chord_fraction=0.35, max_deflection=15, dof="Elevator", dof_sym="Elevator")],
                 sweep=math.degrees(math.atan((g["stab_root"] - g["stab_tip"]) * 0.5 / g["stab_half"])),
                 incidence=0.0, density=0.5, efficiency=0.8)
    fin_sweep = math.degrees(math.atan((g["fin_root"] - g["fin_tip"]) / g["fin_height"]))
    fin = wing3("Fin", "fin and rudder", "NACA0012.afl", (0, 0.03, g["fin_le_z"]), g["fin_height"],
                g["fin_root"], g["fin_tip"],
                [dict(servo="Rudder", rev=False, chord_fraction=0.45, max_deflection=30, dof="Rudder")],
                symmetrical=False, roll=90.0, sweep=fin_sweep, density=0.5, efficiency=0.7)
    tip_y = g["wing_y"] + half * math.sin(math.radians(g["dihedral"]))
    tip_x = half * math.cos(math.radians(g["dihedral"]))
    parts = [
        model_info("Kestro Glider: 2 m rudder-elevator thermal glider, 0.85 kg", "Glider.osg",
                   "Glider_Panel.txt", shadow_scale=2.0),
        ("GRAVITY", "Gravity", [("DESCRIPTION", Q("gravity"))]),
        ("DRAG", "Drag", [("DESCRIPTION", Q("slim fuselage: parasitic drag and rotation damping")),
                          ("FRONTAL_DRAG_AREA", 0.008), ("FRONTAL_DRAG_COEFFICIENT", 0.4),
                          ("ANGULAR_DAMPING_LIN", 0.01), ("ANGULAR_DAMPING_SQ", 0.001)]),
        servo("Elevator", "V_CH2", (0.02, 0.0, -0.20), "elevator servo", mass=0.02, speed=0.12),
        servo("Rudder", "Steer", (-0.02, 0.0, -0.20), "rudder servo, driven by the aileron and rudder sticks",
              mass=0.02, speed=0.12),
        wing, stab, fin,
        ("VARIABLE", "Steer", [("DESCRIPTION", Q("rudder command: aileron stick plus rudder stick")),
                               ("LINK", ""), ("INITIAL_VALUE", 0.0)]),
        collision("Nose", (0, -0.01, -0.44), GRASS_STATIC_FRICTION),
        collision("Skid", (0, -0.045, -0.10), GRASS_STATIC_FRICTION),
        collision("Tail", (0, -0.01, 0.92), GRASS_STATIC_FRICTION),
        collision("FinTop", (0, 0.03 + g["fin_height"], 0.93), GRASS_STATIC_FRICTION),
        collision("LeftTip", (-tip_x, tip_y, g["wing_le_z"] + 0.1), GRASS_STATIC_FRICTION),
        collision("RightTip", (tip_x, tip_y, g["wing_le_z"] + 0.1), GRASS_STATIC_FRICTION),
        ("INPUT_FORCE", "LaunchLine", [("DESCRIPTION", Q("hi-start line on the tow hook, pulled with V_CH5")),
                                        ("MAX_FORCE", 25.0), ("POSITION", (0, -0.04, -0.08)),
                                        ("HEADING", 0.0), ("PITCH", -20.0), ("VARIABLE", "V_CH5")]),
        battery("RxBattery", "receiver battery, 4.8 V NiMH", (0, -0.01, -0.36), 0.06),
    ]
    cg_z = g["wing_le_z"] + g["cg_chord"] * (g["root"] + g["tip"]) / 2
    functions = [("RudderMix", "PUSH V_CH1 PUSH V_CH4 ADD PUSH 1 CROP POP Steer")]
    return parts, cg_z, functions


GLIDER_FUSELAGE = ((0, 0.0, -0.38), (0, 0.0, 0.55))


# --- the delta ---------------------------------------------------------------------------

# A 1 m foam flying wing of the park-flyer class, 0.55 kg: a 2212-size outrunner on three cells
# (about 150 W in at full throttle, 8 N static thrust), 8x4 pusher, 1300 mAh pack.
#   Planform: a straight-tapered wing of `span`, `root` and `tip` chords, leading edge at `le_z`
#   on the centre line, swept by `sweep` and raised by `dihedral` (deg) on each side. The inner
#   wing, out to `inner` on each side, is a mirrored WING3 of two segments; each outer panel is
#   one WING2 strip carrying its elevon, its lift acting well behind the centre of mass as on
#   the swept panel. (A strip's induced drag counts its own span over chord, so every strip
#   costs as much as a whole wing of its chord: the wing is not cut into more of them.)
#   incidence: of the inner wing; washout: the inner wing's outer segment and the outer panels
#   fly that much and twice that much lower, so the swept tips lift less behind the centre of
#   mass: the reflex that trims the tailless wing at about 13 m/s with the elevons neutral.
#   reflex: extra trim of both elevons (deg, trailing edge up) in the mixer.
#   roll_trim: elevon difference (deg, right one up) that balances the propeller's reaction
#     torque at cruise power, as the pilot's aileron trim would.
#   static_margin: of the mean chord, ahead of the quarter-chord estimate of the neutral point,
#     which lies aft of the flight model's own: at 8 % the trim speed followed every millimetre
#     of the thrust line.
#   thrust_offset: the thrust line passes this far above the centre of mass, so full power
#     pitches the nose down a little: with it at the centre of mass the wing zooms into a
#     wing-over after a full-power take-off.
#   damping: the body's rotation damping (N m s): the tip fins leave the spiral mode nearly
#     neutral under power, and this keeps a small trim error a gentle turn (3 % aileron held
#     at cruise: 26 deg of bank, 39 deg at 0.005).
#   wheel_mu: the skid wheels' dynamic friction (static twice that): rolling wheels, so the
#     take-off run stays straight.
DELTA = dict(mass=0.55, span=1.00, root=0.29, tip=0.13, le_z=-0.20, sweep=28.0, dihedral=5.0, inner=0.2,
             incidence=1.0, washout=2.0, reflex=0.0, roll_trim=0.6, static_margin=0.15, thrust_offset=0.03,
             max_torque=0.10, density=0.6, damping=0.05, wheel_mu=0.1,
             fin_chord=0.07, fin_height=0.07, nose_z=-0.33, pod_end_z=0.12, pod_area=0.004)
DELTA_ELEVON_TRAVEL = 18.0  # deg at full stick


def delta_le_z(x):
    d = DELTA
    return d["le_z"] + math.tan(math.radians(d["sweep"])) * abs(x)


def delta_chord(x):
    d = DELTA
    return d["root"] + (d["tip"] - d["root"]) * abs(x) / (d["span"] / 2)


def delta_height(x):
    """Height of the wing's leading edge at x across the span (the dihedral)."""
    return abs(x) * math.tan(math.radians(DELTA["dihedral"]))


def delta_surfaces():
    """The lifting surfaces of one half as (inner x, width, LE z, chord) as the flight model
    places them: the two inner-wing segments, then the outer panel."""
    d = DELTA
    a = d["inner"]
    out = []
    for i in range(2):
        xc = a * (i + 0.5) / 2
        out.append((a * i / 2, a / 2, delta_le_z(xc), delta_chord(xc)))
    xc = (a + d["span"] / 2) / 2
    out.append((a, d["span"] / 2 - a, delta_le_z(xc), delta_chord(xc)))
    return out


def delta_parts():
    d = DELTA
    half = d["span"] / 2
    a = d["inner"]
    dihedral = math.radians(d["dihedral"])
    cg_z = delta_cg_z()
    parts = [
        model_info("Kestro Delta: 1.0 m electric flying wing with elevons", "Delta.osg", "Delta_Panel.txt",
                   shadow_scale=1.2),
        ("GRAVITY", "Gravity", [("DESCRIPTION", Q("gravity"))]),
        ("DRAG", "Drag", [("DESCRIPTION", Q("centre pod, motor and gear: parasitic drag and rotation damping")),
                          ("FRONTAL_DRAG_AREA", d["pod_area"]), ("FRONTAL_DRAG_COEFFICIENT", 0.35),
                          ("ANGULAR_DAMPING_LIN", d["damping"]), ("ANGULAR_DAMPING_SQ", 0.0005)]),
        servo("Motor", "V_CH3", (0, 0.0, cg_z + 0.04), "speed controller", mass=0.025, speed=0.05),
        ("ENGINE_PROP", "Motor", [("DESCRIPTION", Q("2212 brushless outrunner, pusher")),
                                  ("POSITION", (0, 0.0, d["pod_end_z"] + 0.02)), ("HEADING", 0.0), ("PITCH", 0.0),
                                  ("MAX_TORQUE", d["max_torque"]), ("MASS", 0.06), ("TOKEN_PROPELLER", "Propeller"),
                                  ("TOKEN_COLLISION_POINT", "Tail"), ("TOKEN_SERVO", "Motor")]),
        wing3("Wing", "inner wing, NACA 0012, swept, outer segment washed out", "NACA0012.afl",
              (0, 0, d["le_z"]), a, d["root"], delta_chord(a), [dict(), dict(incidence_inc=-d["washout"])],
              incidence=d["incidence"], sweep=d["sweep"], dihedral=d["dihedral"], density=d["density"],
              efficiency=0.85),
    ]
    x0, width, le, chord = delta_surfaces()[-1]
    angle = math.radians(d["incidence"] - 2 * d["washout"])
    for side, sign in (("Left", -1), ("Right", 1)):
        parts.append(("WING2", side + "Panel", [
            ("DESCRIPTION", Q("%s outer panel with its elevon" % side.lower())),
            ("AIRFOIL", "NACA0012.afl"), ("CHORD", chord), ("SPAN", width / math.cos(dihedral)),
            ("POSITION", (sign * x0, delta_height(x0), le)), ("POSITION_TYPE", "LEFT_LE" if sign > 0 else "RIGHT_LE"),
            ("DIRECTION", (0, math.sin(angle), -math.cos(angle))),
            ("NORMAL", (-sign * math.sin(dihedral), math.cos(dihedral), 0)),
            ("HEADING", 0.0), ("PITCH", 0.0), ("ROLL", 0.0),
            # The mixer's outputs are "trailing edge up" commands, hence the negative angle.
            ("CONTROL_SURFACE_MAX_ANGLE", -DELTA_ELEVON_TRAVEL), ("CONTROL_SURFACE_CHORD", 0.25),
            ("CONTROL_SURFACE_MAX_LIFT", CONTROL_LIFT),
            ("CONTROL_SURFACE_VARIABLE", "Elevon" + side), ("3DMODEL_DOF", "Elevon" + side)]))
    fin_x = half - 0.02
    fin_le = delta_le_z(fin_x) + delta_chord(fin_x) - d["fin_chord"]
    for side, sign in (("Left", -1), ("Right", 1)):
        parts.append(("WING2", side + "Fin", [
            ("DESCRIPTION", Q("%s wing-tip fin" % side.lower())), ("AIRFOIL", "NACA0012.afl"),
            ("CHORD", d["fin_chord"]), ("SPAN", d["fin_height"]),
            ("POSITION", (sign * fin_x, delta_height(fin_x), fin_le)), ("POSITION_TYPE", "LEFT_LE"),
            ("DIRECTION", (0, 0, -1)), ("NORMAL", (-1, 0, 0)), ("HEADING", 0.0), ("PITCH", 0.0), ("ROLL", 0.0),
            ("CONTROL_SURFACE_MAX_ANGLE", 0.0), ("CONTROL_SURFACE_CHORD", 0.0),
            ("CONTROL_SURFACE_VARIABLE", ""), ("3DMODEL_DOF", "")]))
    parts += [
        ("PROPELLER", "Propeller", [("DESCRIPTION", Q("8x4 pusher propeller")), ("DIAMETER", 0.2032),
                                    ("PITCH", 0.1016), ("CHORD_TO_DIAMETER_RATIO", 0.08),
                                    ("NUMBER_OF_BLADES", 2), ("AIRFOIL", PROP_AIRFOIL)]),
        ("VARIABLE", "ElevonLeft", [("DESCRIPTION", Q("left elevon, trailing edge up: elevator minus aileron")),
                                    ("LINK", ""), ("INITIAL_VALUE", 0.0)]),
        ("VARIABLE", "ElevonRight", [("DESCRIPTION", Q("right elevon, trailing edge up: elevator plus aileron")),
                                     ("LINK", ""), ("INITIAL_VALUE", 0.0)]),
    ]
    # Tricycle skid wheels; the nose one stands tallest, so the wing sits at a few degrees of
    # incidence on the ground and lifts off by itself once fast enough.
    for name, pos, rest in (("NoseSkid", (0, -0.04, d["nose_z"] + 0.07), 0.06),
                            ("LeftSkid", (-0.12, -0.03, cg_z + 0.07), 0.045),
                            ("RightSkid", (0.12, -0.03, cg_z + 0.07), 0.045)):
        parts.append(("WHEEL", name, [("DESCRIPTION", Q("sprung skid wheel")), ("POSITION", pos),
                                      ("AXIS", (1, 0, 0)), ("DIAMETER", 0.035), ("WIDTH", 0.012),
                                      ("REST_LENGTH", rest), ("SPRINGINESS", 200.0),
                                      ("DYNAMIC_FRICTION", d["wheel_mu"]), ("STATIC_FRICTION", 2 * d["wheel_mu"]),
                                      ("DAMPING", 0.3), ("MASS", 0.008),
                                      ("SIDE_STATIC_FRICTION", GRASS_STATIC_FRICTION)]))
    tip_y = delta_height(half)
    tip_le = delta_le_z(half)
    parts += [
        collision("Nose", (0, 0.0, d["nose_z"])),
        collision("LeftTip", (-half, tip_y, tip_le + 0.05)),
        collision("RightTip", (half, tip_y, tip_le + 0.05)),
        collision("Tail", (0, -0.02, d["pod_end_z"] + 0.03)),
        collision("LeftFinTop", (-fin_x, tip_y + d["fin_height"], fin_le + 0.06)),
        collision("RightFinTop", (fin_x, tip_y + d["fin_height"], fin_le + 0.06)),
        battery("FlightPack", "3-cell 1300 mAh lithium-polymer flight pack", (0, 0.0, d["nose_z"] + 0.06), 0.105,
                capacity=1300, cells=3),
        ("INPUT_FORCE", "HandLaunch", [("DESCRIPTION", Q("launch throw, pulled with V_CH5")),
                                        ("MAX_FORCE", 12.0), ("POSITION", (0, 0.0, cg_z)),
                                        ("HEADING", 0.0), ("PITCH", 10.0), ("VARIABLE", "V_CH5")]),
    ]
    # The thrust line `thrust_offset` above the centre of mass (a few millimetres below it, the
    # power alone pulls the wing into a loop). The fuselage structure, added later on the body's
    # Y = 0, does not move the centre of mass up or down.
    total, cg = modfile.balance(parts)
    engine = next(keys for token, _, keys in parts if token == "ENGINE_PROP")
    engine[1] = ("POSITION", (0, round(total * cg[1] / d["mass"] + d["thrust_offset"], 4), d["pod_end_z"] + 0.02))
    # Elevon mixer: up-elevator raises both, right aileron raises the right one and lowers the
    # left; the constant terms are the linkages' trim (reflex, and the roll trim against the
    # propeller's torque), as fractions of the full travel.
    reflex = d["reflex"] / DELTA_ELEVON_TRAVEL
    roll = d["roll_trim"] / 2 / DELTA_ELEVON_TRAVEL
    left, right = reflex - roll, reflex + roll
    functions = [("ElevonLeftMix", "PUSH V_CH2 PUSH V_CH1 SUB PUSH %s ADD PUSH 1 CROP POP ElevonLeft" % _trim(left)),
                 ("ElevonRightMix", "PUSH V_CH2 PUSH V_CH1 ADD PUSH %s ADD PUSH 1 CROP POP ElevonRight" % _trim(right))]
    return parts, functions


def _trim(x):
    return ("%.4f" % x).rstrip("0").rstrip(".") if x else "0"


def delta_fuselage():
    d = DELTA
    return (0, 0.0, d["nose_z"] + 0.04), (0, 0.0, d["pod_end_z"] - 0.02)


def delta_cg_z():
    """Centre of mass a static margin (fraction of the mean chord) ahead of the neutral point,
    taken as the area-weighted quarter-chord point of the lifting surfaces."""
    surfaces = delta_surfaces()
    area = sum(w * c for _, w, _, c in surfaces)
    neutral = sum(w * c * (le + 0.25 * c) for _, w, le, c in surfaces) / area
    mean_chord = sum(w * c * c for _, w, _, c in surfaces) / area
    return neutral - DELTA["static_margin"] * mean_chord
