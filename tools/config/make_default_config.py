#!/usr/bin/python3
"""Writes the default configuration Data/Config/Config.txt.

Usage: /usr/bin/python3 tools/config/make_default_config.py [--out FILE]

The program starts from this file when Output/Config.txt does not exist yet. It holds the nine
channel variables, input maps for keyboard, mouse, joystick and transmitter, the six keyboard axes,
the key of every command, the trainer as the selected model, serial port 1 and no video sync. The
layout is the one the program itself writes when it saves its configuration, so the first save
changes nothing but what the user changed.
"""

import argparse
import pathlib
import sys

REPO = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tools" / "strings"))

import make_strings  # noqa: E402  (group names of the key definition comments)

NO_GROUP = 12

# Every command in command order: (name, group, default key text). Group numbers: 0 application,
# 1 view, 2 model, 3 sound, 4 camera, 5 ambient, 6 model view, 7 part editor, 8 recording,
# 9 controller, 10 debug, 12 none. An empty key text means no default key.
COMMANDS = [
    ("UC_NULL", NO_GROUP, ""),
    ("UC_APP_LOAD_MODEL", 0, "CTRL+O"),
    ("UC_APP_SAVE_MODEL", 0, "CTRL+S"),
    ("UC_APP_PAUSE", 0, "P"),
    ("UC_APP_PAUSE_STEP", 0, "F10"),
    ("UC_APP_VIDEO_SYNC", 0, "SHIFT+CTRL+W"),
    ("UC_APP_ABOUT", 0, "CTRL+F1"),
    ("UC_APP_EXIT_APPLICATION", 0, "ALT+F4"),
    ("UC_VIEW_TOGGLE_FULL_SCREEN", 1, "ALT+Return"),
    ("UC_VIEW_CLOSE_UP_WINDOW", 1, "7"),
    ("UC_VIEW_INSTRUMENT_PANEL", 1, "1"),
    ("UC_VIEW_MODEL_FORCES", 1, "4"),
    ("UC_VIEW_MODEL_PHYSIC", 1, "CTRL+6"),
    ("UC_VIEW_MODEL_ARTISTIC", 1, "6"),
    ("UC_VIEW_SHOW_MODEL_SHADOW", 1, "3"),
    ("UC_MODEL_RESET_POSITION", 2, "Space"),
    ("UC_MODEL_SET_ALTITUDE_100M", 2, "0"),
    ("UC_MODEL_SET_ALTITUDE_500M", 2, "9"),
    ("UC_MODEL_TURN_UPRIGHT", 2, "Return"),
    ("UC_MODEL_PAUSE", 2, "SHIFT+P"),
    ("UC_MODEL_PAUSE_STEP", 2, "O"),
    ("UC_MODEL_EDITOR", 2, "F3"),
    ("UC_SOUND_CONFIG", 3, "SHIFT+S"),
    ("UC_SOUND_ENGINE_ENABLE", 3, "SHIFT+E"),
    ("UC_AMBIENT_WIND_CONFIG", 5, "SHIFT+W"),
    ("UC_AMBIENT_TIMEOFDAY_MORNING", 5, ""),
    ("UC_AMBIENT_TIMEOFDAY_MIDDAY", 5, ""),
    ("UC_AMBIENT_TIMEOFDAY_NIGHT", 5, ""),
    ("UC_GR_EDIT_MASS_DISTRIB", 6, "SHIFT+M"),
    ("UC_GR_EDIT_SHOW_GRID", 6, "SHIFT+G"),
    ("UC_GR_EDIT_VIEW_TOP", 6, ""),
    ("UC_GR_EDIT_VIEW_BOTTOM", 6, ""),
    ("UC_GR_EDIT_VIEW_LEFT", 6, ""),
    ("UC_GR_EDIT_VIEW_RIGHT", 6, ""),
    ("UC_GR_EDIT_VIEW_FRONT", 6, ""),
    ("UC_GR_EDIT_VIEW_BACK", 6, ""),
    ("UC_GR_EDIT_VIEW_NEXT", 6, ""),
    ("UC_GR_EDIT_VIEW_PREV", 6, ""),
    ("UC_DLG_EDIT_MODEL_NEXT_PART", 7, ""),
    ("UC_DLG_EDIT_MODEL_PREV_PART", 7, ""),
    ("UC_DLG_EDIT_MODEL_UNDO", 7, "CTRL+Z"),
    ("UC_DLG_EDIT_MODEL_REDO", 7, "CTRL+Y"),
    ("UC_DLG_DELETE_PART", 7, ""),
    ("UC_DLG_NEW_PART_COLLISION_POINT", 7, ""),
    ("UC_DLG_NEW_PART_DRAG", 7, ""),
    ("UC_DLG_NEW_PART_ENGINE_PROP", 7, ""),
    ("UC_DLG_NEW_PART_GRAVITY", 7, ""),
    ("UC_DLG_NEW_PART_INPUT_FORCE", 7, ""),
    ("UC_DLG_NEW_PART_SERVO", 7, ""),
    ("UC_DLG_NEW_PART_PROPELLER", 7, ""),
    ("UC_DLG_NEW_PART_VARIABLE", 7, ""),
    ("UC_DLG_NEW_PART_WHEEL3", 7, ""),
    ("UC_DLG_NEW_PART_WHEEL", 7, ""),
    ("UC_DLG_NEW_PART_WING2", 7, ""),
    ("UC_DLG_NEW_PART_WING3", 7, ""),
    ("UC_DLG_NEW_PART_MODEL_INFO", 7, ""),
    ("UC_DLG_NEW_PART_BATTERY", 7, ""),
    ("UC_DLG_NEW_PART_FUEL_TANK", 7, ""),
    ("UC_CAMERA_MODE_LOOK_AT", 4, "NumLock"),
    ("UC_CAMERA_MODE_FOLLOW", 4, "NumPad Divide"),
    ("UC_CAMERA_MODE_FREE", 4, "NumPad Multiply"),
    ("UC_CAMERA_MODE_ATTACHED", 4, "CTRL+NumPad Divide"),
    ("UC_CAMERA_RESET_POSITION", 4, "NumPad Decimal"),
    ("UC_CAMERA_AUTOZOOM", 4, "NumPad Enter"),
    ("UC_CAMERA_ZOOM_IN", 4, "NumPad 1"),
    ("UC_CAMERA_ZOOM_OUT", 4, "NumPad 3"),
    ("UC_CAMERA_MODIF_ROT_TRANSL", 4, "NumPad 0"),
    ("UC_CAMERA_LEFT", 4, "NumPad 4"),
    ("UC_CAMERA_RIGHT", 4, "NumPad 6"),
    ("UC_CAMERA_UP", 4, "NumPad 8"),
    ("UC_CAMERA_DOWN", 4, "NumPad 2"),
    ("UC_CAMERA_FORWARD", 4, "NumPad Add"),
    ("UC_CAMERA_BACKWARDS", 4, "NumPad Minus"),
    ("UC_CAMERA_ROLL_LEFT", 4, "NumPad 7"),
    ("UC_CAMERA_ROLL_RIGHT", 4, "NumPad 9"),
    ("UC_CAMERA_BRAKES", 4, "NumPad 5"),
    ("UC_RECORDING_START", 8, "Home"),
    ("UC_RECORDING_STOP", 8, "End"),
    ("UC_RECORDING_PLAY", 8, "Insert"),
    ("UC_MENU_CONTROLLER", 9, ""),
    ("UC_MENU_RADIO_TX", 9, ""),
    ("UC_MENU_KEY_AXIS", 9, ""),
    ("UC_MENU_KEY_DEF", 9, ""),
    ("UC_KEYAXIS_1_INC", 9, "T"),
    ("UC_KEYAXIS_1_DEC", 9, "R"),
    ("UC_KEYAXIS_2_INC", 9, "Q"),
    ("UC_KEYAXIS_2_DEC", 9, "A"),
    ("UC_KEYAXIS_3_INC", 9, "W"),
    ("UC_KEYAXIS_3_DEC", 9, "S"),
    ("UC_KEYAXIS_4_INC", 9, "V"),
    ("UC_KEYAXIS_4_DEC", 9, "C"),
    ("UC_KEYAXIS_5_INC", 9, "Y"),
    ("UC_KEYAXIS_5_DEC", 9, "H"),
    ("UC_KEYAXIS_6_INC", 9, "U"),
    ("UC_KEYAXIS_6_DEC", 9, "J"),
    ("UC_DEBUG_FPS", 10, "SHIFT+CTRL+F"),
    ("UC_DEBUG_VARIABLES", 10, "SHIFT+CTRL+F2"),
    ("UC_DEBUG_CAMERA", 10, "SHIFT+CTRL+C"),
    ("UC_DEBUG_COLISION_TRINGLES", 10, "SHIFT+CTRL+F6"),
    ("UC_DEBUG_TIME_OF_DAY", 10, "SHIFT+CTRL+F7"),
    ("UC_DEBUG_GRAPHIC_STATE", 10, "SHIFT+CTRL+G"),
    ("UC_DEBUG_WIREFRAME", 10, "SHIFT+CTRL+X"),
    ("UC_DEBUG_SCENEGRAPH_STATS", 10, "SHIFT+CTRL+P"),
    ("UC_DEBUG_SCENE_MAIN", 10, "SHIFT+CTRL+D"),
    ("UC_DEBUG_SCENE_OBJECT_ADMIN", 10, "CTRL+ALT+D"),
    ("UC_DEBUG_VDB_OBJECT_ADMIN", 10, "SHIFT+CTRL+ALT+D"),
    ("UC_DEBUG_TEXTURE_INFO", 10, "SHIFT+CTRL+A"),
    ("UC_DEBUG_FONTS", 10, "SHIFT+CTRL+R"),
    ("UC_DEBUG_SOUND_ADMIN", 10, "SHIFT+CTRL+S"),
    ("UC_DEBUG_TIME_STATS", 10, "SHIFT+CTRL+T"),
    ("UC_DEBUG_TIME_HOG", 10, "SHIFT+CTRL+H"),
    ("UC_DEBUG_INPUT_DATA", 10, "SHIFT+CTRL+I"),
    ("UC_DEBUG_KEY_EVENTS", 10, "SHIFT+CTRL+K"),
    ("UC_DEBUG_MOUSE_RECTS", 10, "SHIFT+CTRL+F3"),
    ("UC_DEBUG_CONTROL_PAGE_BOUNDING_RECTS", 10, "SHIFT+CTRL+F4"),
    ("UC_DEBUG_STRINGS", 10, "SHIFT+CTRL+Y"),
    ("UC_DEBUG_INERTIA", 10, "SHIFT+CTRL+M"),
    ("UC_DEBUG_PART_INFO", 10, "CTRL+F3"),
    ("UC_DEBUG_SELECT_PREV_PART", 10, "CTRL+F4"),
    ("UC_DEBUG_SELECT_NEXT_PART", 10, "CTRL+F5"),
]

# Flying with the keyboard alone: the arrow keys take over key axes 1 (aileron) and 2 (elevator);
# throttle (key axis 3: W and S) and rudder (key axis 4: V and C) keep their default keys. The
# arrow keys are free: no other command uses them. Resetting the key definitions to their defaults
# brings back R/T and Q/A for aileron and elevator, which still fly the trainer.
FLYING_KEYS = {
    "UC_KEYAXIS_1_INC": "Right",
    "UC_KEYAXIS_1_DEC": "Left",
    "UC_KEYAXIS_2_INC": "Up",
    "UC_KEYAXIS_2_DEC": "Down",
}

# The channels the input maps write: V_CH1 .. V_CH9, in the model files' convention.
CHANNELS = [
    ("V_CH1", "Aileron: +1 rolls right"),
    ("V_CH2", "Elevator: +1 pitches the nose up"),
    ("V_CH3", "Throttle: -1 idle, +1 full"),
    ("V_CH4", "Rudder: +1 yaws right"),
    ("V_CH5", "Channel 5: free, for example flaps"),
    ("V_CH6", "Channel 6: free, for example spoilers"),
    ("V_CH7", "Channel 7: free"),
    ("V_CH8", "Channel 8: free"),
    ("V_CH9", "Channel 9: free"),
]

# Keyboard axes: (slot, auto-centre, seconds from one end to the other). Stick axes spring back;
# throttle and the auxiliary channels stay where they are left.
KEYBOARD_AXES = [
    (1, True, 0.8),   # aileron
    (2, True, 1.0),   # elevator
    (3, False, 3.0),  # throttle
    (4, True, 0.8),   # rudder
    (5, False, 2.0),  # channel 5
    (6, False, 2.0),  # channel 6
]

# Input maps: (name, description, [(variable, axis token, reversed)]). The elevator links are
# reversed so that pushing the stick, the mouse or the Up key lowers the nose, as on a
# transmitter and in every desktop flight simulator.
INPUT_MAPS = [
    ("Keyboard", "Arrows: aileron and elevator. W/S: throttle. C/V: rudder.", [
        ("V_CH1", "AXIS_KEYBOARD_1", False),
        ("V_CH2", "AXIS_KEYBOARD_2", True),
        ("V_CH3", "AXIS_KEYBOARD_3", False),
        ("V_CH4", "AXIS_KEYBOARD_4", False),
        ("V_CH5", "AXIS_KEYBOARD_5", False),
        ("V_CH6", "AXIS_KEYBOARD_6", False),
    ]),
    ("Mouse", "Mouse: aileron and elevator. Wheel: throttle. C/V: rudder.", [
        ("V_CH1", "AXIS_MOUSE_X", False),
        ("V_CH2", "AXIS_MOUSE_Y", True),
        ("V_CH3", "AXIS_MOUSE_Z", False),
        ("V_CH4", "AXIS_KEYBOARD_4", False),
        ("V_CH5", "AXIS_KEYBOARD_5", False),
        ("V_CH6", "AXIS_KEYBOARD_6", False),
    ]),
    ("Joystick", "Stick: aileron and elevator. Slider: throttle. Twist: rudder.", [
        ("V_CH1", "AXIS_JOYSTICK_X", False),
        ("V_CH2", "AXIS_JOYSTICK_Y", True),
        ("V_CH3", "AXIS_JOYSTICK_SL0", False),
        ("V_CH4", "AXIS_JOYSTICK_RZ", False),
        ("V_CH5", "AXIS_KEYBOARD_5", False),
        ("V_CH6", "AXIS_KEYBOARD_6", False),
    ]),
    ("Radio Transmitter", "Transmitter channels 1 to 9 through the serial interface.", [
        (f"V_CH{n}", f"AXIS_RADIOCONTROL_CH{n}", False) for n in range(1, 10)
    ]),
]
SELECTED_INPUT_MAP = "Keyboard"
SELECTED_MODEL = "Trainer.mod"
COM_PORT = 1
SWAP_INTERVAL = 0

AXIS_TOKENS = (
    ["AXIS_MOUSE_X", "AXIS_MOUSE_Y", "AXIS_MOUSE_Z"]
    + [f"AXIS_JOYSTICK_{a}" for a in ("X", "Y", "Z", "RX", "RY", "RZ", "SL0", "SL1")]
    + [f"AXIS_JOYSTICK_POV{n}" for n in range(1, 5)]
    + [f"AXIS_RADIOCONTROL_CH{n}" for n in range(1, 10)]
    + [f"AXIS_KEYBOARD_{n}" for n in range(1, 7)]
)

# Key names the key texts above may use (the program's key-name table has more).
KEY_NAMES = (
    {chr(c) for c in range(ord("A"), ord("Z") + 1)} | {str(d) for d in range(10)}
    | {f"F{n}" for n in range(1, 16)}
    | {"Escape", "Return", "Space", "Tab", "Backspace", "Home", "End", "Insert", "Delete",
       "Page Up", "Page Down", "Up", "Down", "Left", "Right", "NumLock", "NumPad Divide",
       "NumPad Multiply", "NumPad Minus", "NumPad Add", "NumPad Enter", "NumPad Decimal",
       "Comma", "Period", "Slash", "Semicolon"}
    | {f"NumPad {d}" for d in range(10)}
)
MODIFIERS = ("SHIFT+", "CTRL+", "ALT+")


def key_text(name, default_key):
    return FLYING_KEYS.get(name, default_key)


def check_key_text(text):
    """Checks that text is in the program's own written form: SHIFT, CTRL, ALT, then the key."""
    rest = text
    for modifier in MODIFIERS:
        if rest.startswith(modifier):
            rest = rest[len(modifier):]
    return rest in KEY_NAMES


def check_tables():
    problems = []
    if len(COMMANDS) != 120:
        problems.append(f"{len(COMMANDS)} commands instead of 120")
    names = [name for name, _, _ in COMMANDS]
    for name in FLYING_KEYS:
        if name not in names:
            problems.append(f"flying key for unknown command {name}")
    string_ids = {ident for ident, _ in make_strings.all_entries()}
    keys_in_use = {}
    for name, _, default_key in COMMANDS[1:]:
        for suffix in ("_S", "_L"):
            if f"IDS_{name}{suffix}" not in string_ids:
                problems.append(f"{name}: no string IDS_{name}{suffix}")
        text = key_text(name, default_key)
        if text and not check_key_text(text):
            problems.append(f"{name}: key text '{text}' is not a key name")
        if text in keys_in_use:
            problems.append(f"{name}: key '{text}' is also used by {keys_in_use[text]}")
        if text:
            keys_in_use[text] = name
    channel_names = {name for name, _ in CHANNELS}
    for map_name, description, links in INPUT_MAPS:
        if len(map_name) > 100 or len(description) > 200:
            problems.append(f"input map {map_name}: name or description too long")
        for variable, axis, _ in links:
            if variable not in channel_names:
                problems.append(f"input map {map_name}: unknown variable {variable}")
            if axis not in AXIS_TOKENS:
                problems.append(f"input map {map_name}: unknown axis {axis}")
    if SELECTED_INPUT_MAP.lower() not in {m[0].lower() for m in INPUT_MAPS}:
        problems.append(f"selected input map {SELECTED_INPUT_MAP} does not exist")
    for text in [d for _, d in CHANNELS] + [m[0] for m in INPUT_MAPS] + [m[1] for m in INPUT_MAPS]:
        if "//" in text or "/*" in text or '"' in text:
            problems.append(f"'{text}' would break the token format")
    return problems


def variable_lines():
    lines = []
    for name, description in CHANNELS:
        lines += [f".VARIABLE {name} {{", f'  .DESCRIPTION "{description}"', "}"]
    return lines


def input_map_lines():
    lines = ["//------------", "// Input Maps", "//------------",
             f'.SELECTED_INPUT_MAP  "{SELECTED_INPUT_MAP}"', "", ""]
    for name, description, links in INPUT_MAPS:
        lines += [".INPUT_MAP ", "{", f'  .NAME  "{name}"', f'  .DESCRIPTION  "{description}"']
        for variable, axis, reverse in links:
            lines.append(f"  .LINK {{  .VARIABLE {variable}  .INPUT_AXIS {axis}"
                         f"  .REVERSE {int(reverse)}  }}")
        lines += ["}", ""]
    return lines


def keyboard_axis_lines():
    lines = ["//---------------", "// Keyboard Axes", "//---------------"]
    for slot, auto_centre, seconds in KEYBOARD_AXES:
        lines += [f".AXIS_KEYBOARD AXIS_KEYBOARD_{slot}", "{",
                  f"  .AUTO_CENTRE {int(auto_centre)}", f"  .TIME_FULL_RANGE {seconds:f}",
                  "}", ""]
    return lines


def key_definition_lines():
    lines = ["//--------------------", "// Key Defs", "//--------------------"]
    rule = "//" + "-" * 38
    group = NO_GROUP
    for name, command_group, default_key in COMMANDS:
        if command_group != group:
            group = command_group
            lines += [rule, "// " + make_strings.group_short_text(group), rule]
        text = key_text(name, default_key)
        padding = " " * max(0, 20 - len(text))
        lines.append(f'.KEY_DEF {{ .KEY "{text}"{padding}   .FUNCTION {name} }}')
    return lines + ["", ""]


def setting_section(title, lines):
    rule = "//----------------"
    return [rule, f"// {title}", rule] + lines + ["", ""]


def render_config():
    lines = ["//--------------------", "// Configuration File", "//--------------------", "", ""]
    lines += variable_lines()
    lines += input_map_lines()
    lines += keyboard_axis_lines()
    lines += key_definition_lines()
    lines += setting_section("Selected Model", [f'.SELECTED_MODEL  "{SELECTED_MODEL}"'])
    lines += setting_section("Selected Driver and Video Mode",
                             ['.DRIVER  ""', '.VIDEO_MODE  ""'])
    lines += setting_section("Selected Com Port for Radio TX Interface",
                             [f".COM_PORT  {COM_PORT}", '.COM_DEVICE  ""'])
    lines += setting_section("Video Sync", [f".SWAP_INTERVAL  {SWAP_INTERVAL}"])
    return "\r\n".join(lines) + "\r\n"


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=REPO / "Data" / "Config" / "Config.txt")
    args = parser.parse_args(argv)
    problems = check_tables()
    if problems:
        for problem in problems:
            print("make_default_config: " + problem, file=sys.stderr)
        return 1
    args.out.parent.mkdir(parents=True, exist_ok=True)
    args.out.write_bytes(render_config().encode("ascii"))
    print(f"{args.out}: {len(COMMANDS)} key definitions, {len(INPUT_MAPS)} input maps")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
