#!/usr/bin/python3
"""Writes the string table Data/Config/String.txt and the identifier list tools/strings/ids.txt.

Usage: /usr/bin/python3 tools/strings/make_strings.py [--out FILE] [--ids FILE]

The texts live in the tables below, grouped by the screen or part of the program that shows them.
Short texts (_S) are labels; long texts (_L) are the one-line help shown on a right click or as a
tooltip. The file format has sharp edges that check_entries() guards against: "//" and "/*" start
comments anywhere in a line, a text that begins with "IDS" is looked up again as an identifier,
"\\n" and "\\r" are escapes, texts are single-byte, and the table holds at most 1000 entries.
"""

import argparse
import pathlib
import re
import sys

REPO = pathlib.Path(__file__).resolve().parents[2]
MAX_ENTRIES = 1000  # the loader ignores entries beyond this

# ---------------------------------------------------------------------------------------------
# Screens
# ---------------------------------------------------------------------------------------------

MAIN_MENU = [
    ("IDS_MENU_FLY_S", "Fly"),
    ("IDS_MENU_FLY_L", "Go to the flying site and fly the selected model."),
    ("IDS_MENU_CONTROLLER_S", "Controllers"),
    ("IDS_MENU_CONTROLLER_L",
     "Set up the transmitter, joystick, mouse and keyboard: input maps, key axes and keys."),
    ("IDS_MENU_CREDITS_S", "Credits"),
    ("IDS_MENU_CREDITS_L", "Who made Kestro."),
    ("IDS_MENU_EXIT_S", "Exit"),
    ("IDS_MENU_EXIT_L", "Close Kestro. Your settings are saved."),
]

BUTTONS = [
    ("IDS_BUTTON_OK_S", "OK"),
    ("IDS_BUTTON_OK_L", "Keep the changes and close this page."),
    ("IDS_BUTTON_CANCEL_S", "Cancel"),
    ("IDS_BUTTON_CANCEL_L", "Throw the changes away and close this page."),
    ("IDS_BUTTON_DEFAULT_S", "Default"),
    ("IDS_BUTTON_DEFAULT_L", "Put every value on this page back to its default."),
    ("IDS_BUTTON_RESETDEFAULTS_S", "Reset Defaults"),
    ("IDS_BUTTON_RESETDEFAULTS_L",
     "Fill in the default key of every command. Nothing is stored until you press OK."),
    ("IDS_BUTTON_NEWINPUTMAP_S", "New"),
    ("IDS_BUTTON_NEWINPUTMAP_L", "Add a new, empty input map to the list."),
    ("IDS_BUTTON_DELETEINPUTMAP_S", "Delete"),
    ("IDS_BUTTON_DELETEINPUTMAP_L", "Delete the highlighted input map."),
    ("IDS_BUTTON_EDITINPUTMAP_S", "Edit"),
    ("IDS_BUTTON_EDITINPUTMAP_L",
     "Change the name, the description and the axis of each channel of the highlighted map."),
    ("IDS_BUTTON_COPYINPUTMAP_S", "Copy"),
    ("IDS_BUTTON_COPYINPUTMAP_L",
     "Make a copy of the highlighted input map, to try changes without losing the original."),
]

INPUT_MAPS = [
    ("IDS_IM_INPUT_MAP", "Input Map"),
    ("IDS_IM_EDIT_INPUT_MAP", "Edit Input Map"),
    ("IDS_IM_INPUT_MAP_NAME", "Name"),
    ("IDS_IM_INPUT_MAP_DESCRIPTION", "Description"),
    ("IDS_IM_DEFAULT_INPUT_MAP_NAME", "New Input Map"),
    ("IDS_IM_DEFAULT_INPUT_MAP_DESCRIPTION", "Choose an axis for each channel with Edit."),
    ("IDS_IM_COPY_OF", "Copy of"),
    ("IDS_IM_AXIS", "Axis"),
    ("IDS_IM_REVERSE_AXIS", "Reverse"),
    ("IDS_IM_CHANNEL_1", "Channel 1 (Aileron)"),
    ("IDS_IM_CHANNEL_2", "Channel 2 (Elevator)"),
    ("IDS_IM_CHANNEL_3", "Channel 3 (Throttle)"),
    ("IDS_IM_CHANNEL_4", "Channel 4 (Rudder)"),
    ("IDS_IM_CHANNEL_5", "Channel 5"),
    ("IDS_IM_CHANNEL_6", "Channel 6"),
    ("IDS_IM_CHANNEL_7", "Channel 7"),
    ("IDS_IM_CHANNEL_8", "Channel 8"),
    ("IDS_IM_CHANNEL_9", "Channel 9"),
]

KEY_AXES = [
    ("IDS_KEYAXIS_KEY_UP_RIGHT", "Up or Right Key"),
    ("IDS_KEYAXIS_KEY_DOWN_LEFT", "Down or Left Key"),
    ("IDS_KEYAXIS_SECONDS_TO_FULL_RANGE", "Seconds from End to End"),
    ("IDS_KEYAXIS_AUTOCENTRE", "Return to Centre"),
]

KEY_DEFINITIONS = [
    ("IDS_KEYDEF_KEY_GROUP", "Command Group"),
    ("IDS_WARNING_KEY_DEFINED_TWICE", "Warning: the same key is used twice:"),
    ("IDS_WARNING_KEY_DEFINED_TWICE__AND", "and"),
]

RADIO = [
    ("IDS_SERIAL_PORT", "Serial Port"),
    ("IDS_REVERSE", "Reverse"),
    ("IDS_AUTOCENTRE", "Centre"),
    ("IDS_CHANNEL_POSITION", "Position"),
    ("IDS_CHANNEL_1", "Channel 1"),
    ("IDS_CHANNEL_2", "Channel 2"),
    ("IDS_CHANNEL_3", "Channel 3"),
    ("IDS_CHANNEL_4", "Channel 4"),
    ("IDS_CHANNEL_5", "Channel 5"),
    ("IDS_CHANNEL_6", "Channel 6"),
    ("IDS_CHANNEL_7", "Channel 7"),
    ("IDS_CHANNEL_8", "Channel 8"),
    ("IDS_CHANNEL_9", "Channel 9"),
    ("IDS_CHANNEL_REVERSE_S", "Reverse"),
    ("IDS_CHANNEL_REVERSE_L", "Reverse this channel: the stick moves the control the other way."),
    ("IDS_CHANNEL_AUTOCENTRE_S", "Centre"),
    ("IDS_CHANNEL_AUTOCENTRE_L",
     "Tick for a self-centring stick (the middle is 0); untick for the throttle "
     "(a straight sweep from -1 to 1)."),
    ("IDS_RXCAL_BUTTON_CALIBRATE_S", "Calibrate"),
    ("IDS_RXCAL_BUTTON_CALIBRATE_L",
     "Measure the centre and the ends of every stick of your transmitter."),
    ("IDS_RADIO_TRANSMITTER_STATUS", "Transmitter interface status:"),
    # The radio menu asks for this identifier with a C instead of the D; it points at the
    # entry above so both spellings show the same text.
    ("ICS_RADIO_TRANSMITTER_STATUS", "IDS_RADIO_TRANSMITTER_STATUS"),
    ("IDS_ERROR_INTERFACE_NOT_DETECTED",
     "Interface not detected: check the cable and the serial port."),
    ("IDS_ERROR_TRANSMITTER_NOT_DETECTED",
     "Interface found, but no transmitter: switch the transmitter on and plug it in."),
    ("IDS_INTERFACE_AND_TRANSMITTER_OK", "Interface and transmitter OK."),
    ("IDS_SERIAL_DEVICE_S", "Device"),
    ("IDS_SERIAL_DEVICE_L",
     "A device path for the interface (for example /dev/serial/by-id/... or a pseudo-terminal). "
     "When filled in, it is used instead of the serial port number."),
    ("IDS_FIRMWARE_VERSION", "Interface firmware version:"),
    ("IDS_FIRMWARE_UNKNOWN", "unknown"),
    ("IDS_RADIO_NEEDS_RECALIBRATION",
     "The interface sends another resolution than the calibration was made with: calibrate again."),
    ("IDS_MSG_NO_TRANSMITTER", "No transmitter detected: the input map's transmitter channels stay at 0."),
]

CALIBRATION = [
    ("IDS_RXCAL_CAL_RT", "Transmitter Calibration"),
    ("IDS_RXCAL_INTERFACE_NOT_DETECTED",
     "Looking for the interface... Check the cable and the serial port. Escape leaves."),
    ("IDS_RXCAL_RADIO_NOT_DETECTED",
     "Interface found. Switch the transmitter on and plug it in. Escape leaves."),
    ("IDS_RXCAL_CENTER_STICKS",
     "Centre all sticks and trims, put the throttle at idle, then press Return."),
    ("IDS_RXCAL_MOVE_STICKS",
     "Move every stick and the throttle to both ends a few times, then press Return."),
    ("IDS_RXCAL_CALIBRATION_FINISHED_OK", "Calibration finished and saved. Press any key."),
    ("IDS_RXCAL_CALIBRATION_UNCHANGED",
     "No stick went through its travel: the previous calibration stays. Press any key."),
    ("IDS_RXCAL_CALIBRATION_NOT_SAVED", "Calibration finished but NOT saved: this file could not be written:"),
    ("IDS_RXCAL_PREVIOUS_KEPT",
     "The file keeps the previous one; the new one is used for now. Press any key."),
    ("IDS_RXCAL_CALIBRATION_FINISHED_ERROR", "Calibration failed. Try again? (Y or N)"),
]

FLIGHT_SCREEN = [
    ("IDS_WIN_MAIN", "Flying Site"),
    ("IDS_WIN_CLOSEUP", "Close-up"),
    ("IDS_WIN_GR_EDIT", "Model View"),
    ("IDS_WIN_DLG_EDIT", "Part Editor"),
    ("IDS_WIN_SELECT_FILE", "Select Model"),
    ("IDS_WIN_LOAD_MODEL", "Load Model"),
    ("IDS_WIN_SAVE_MODEL", "Save Model"),
    ("IDS_WIN_WIND", "Wind"),
    ("IDS_WIN_SOUND", "Sound"),
    ("IDS_CLOSE_WINDOW", "Close this window"),
    ("IDS_MODEL_PAUSED_MSG", "PAUSED"),
    ("IDS_SITE_FLYINGSITE_S", "Site: Flat Field"),
    ("IDS_SITE_SLOPESITE_S", "Site: Slope"),
    ("IDS_AMBIENT_SHOW_THERMALS_S", "Show Thermals"),
]

MODEL_EDITOR = [
    ("IDS_PART_TOKEN_S", "Name"),
    ("IDS_PART_TOKEN_L",
     "Name of this part. Other parts and variables refer to it by this name; it must be unique."),
    ("IDS_SIDE_CHECK__ENABLE_FORCES_S", "Forces"),
    ("IDS_SIDE_CHECK__ENABLE_FORCES_L", "Untick to switch off the forces of this part."),
    ("IDS_SIDE_CHECK__ENABLE_MASS_S", "Mass"),
    ("IDS_SIDE_CHECK__ENABLE_MASS_L", "Untick to leave the mass of this part out of the model."),
    ("IDS_SIDE_CHECK__ENABLE_RENDER_S", "Show"),
    ("IDS_SIDE_CHECK__ENABLE_RENDER_L", "Untick to hide the debug drawing of this part."),
]

# ---------------------------------------------------------------------------------------------
# User commands: (group, short text, long text); then every command: (name, short, long).
# Short texts are menu entries and key-definition labels, so they are in Title Case.
# ---------------------------------------------------------------------------------------------

COMMAND_GROUPS = [
    ("IDS_UCG_APP", "Application", "Loading and saving models, pause, video sync and exit."),
    ("IDS_UCG_VIEW", "View", "Windows and what the flight view shows."),
    ("IDS_UCG_MODEL", "Model", "Put the model back, lift it up, turn it upright, pause it."),
    ("IDS_UCG_SOUND", "Sound", "Sound volumes and the engine sound."),
    ("IDS_UCG_CAM", "Camera", "Camera modes, zoom and moving the free camera."),
    ("IDS_UCG_AMBIENT", "Ambient", "Wind, turbulence and the time of day."),
    ("IDS_UCG_GR_EDIT", "Model View", "The graphic view of the model editor."),
    ("IDS_UCG_DL_EDIT", "Part Editor", "The part list and properties of the model editor."),
    ("IDS_UCG_REC", "Recording", "Record a flight and play it back."),
    ("IDS_UCG_CTRL", "Controller", "Controller menus and the keys of the six key axes."),
    ("IDS_UCG_DEBUG", "Debug", "Diagnostic displays for developers."),
]

COMMANDS = [
    # application
    ("UC_APP_LOAD_MODEL", "Load Model", "Choose a model file and fly it."),
    ("UC_APP_SAVE_MODEL", "Save Model", "Save the model with your changes to a model file."),
    ("UC_APP_PAUSE", "Pause", "Stop or restart the simulation."),
    ("UC_APP_PAUSE_STEP", "Single Step", "While paused, advance the simulation one frame."),
    ("UC_APP_VIDEO_SYNC", "Video Sync",
     "Wait for the screen refresh before showing a frame: smoother, but caps the frame rate."),
    ("UC_APP_ABOUT", "About", "Show who made Kestro."),
    ("UC_APP_EXIT_APPLICATION", "Exit", "Close Kestro. Your settings are saved."),
    # view
    ("UC_VIEW_TOGGLE_FULL_SCREEN", "Full Screen", "Switch between a window and the full screen."),
    ("UC_VIEW_CLOSE_UP_WINDOW", "Close-up Window",
     "Show or hide a small second view that keeps the model large."),
    ("UC_VIEW_INSTRUMENT_PANEL", "Instrument Panel", "Show or hide the model's instruments."),
    ("UC_VIEW_MODEL_FORCES", "Forces", "Draw the forces acting on the model as arrows."),
    ("UC_VIEW_MODEL_PHYSIC", "Physical Model",
     "Draw the parts as the physics sees them: wings, wheels, collision points."),
    ("UC_VIEW_MODEL_ARTISTIC", "3D Model", "Show or hide the model's 3D object."),
    ("UC_VIEW_SHOW_MODEL_SHADOW", "Shadow", "Show or hide the model's shadow on the ground."),
    # model
    ("UC_MODEL_RESET_POSITION", "Reset Position",
     "Put the model back at the start position, standing still."),
    ("UC_MODEL_SET_ALTITUDE_100M", "Height 100 m",
     "Put the model at a height of 100 m over the spot where it is, keeping its speed."),
    ("UC_MODEL_SET_ALTITUDE_500M", "Height 500 m",
     "Put the model 500 m above the middle of the flying site."),
    ("UC_MODEL_TURN_UPRIGHT", "Turn Upright",
     "Hold to turn a model that lies on its back the right way up."),
    ("UC_MODEL_PAUSE", "Pause Model",
     "Freeze the model in the air; the camera and the views keep running."),
    ("UC_MODEL_PAUSE_STEP", "Step Model", "While the model is paused, advance it one frame."),
    ("UC_MODEL_EDITOR", "Model Editor",
     "Open or close the model editor to change the model while it flies."),
    # sound
    ("UC_SOUND_CONFIG", "Sound Settings", "Show or hide the sound volume window."),
    ("UC_SOUND_ENGINE_ENABLE", "Engine Sound", "Switch the engine sound on or off."),
    # ambient
    ("UC_AMBIENT_WIND_CONFIG", "Wind Settings",
     "Show or hide the window for wind speed, direction and turbulence."),
    ("UC_AMBIENT_TIMEOFDAY_MORNING", "Morning", "Low sun in the morning."),
    ("UC_AMBIENT_TIMEOFDAY_MIDDAY", "Midday", "Sun high overhead."),
    ("UC_AMBIENT_TIMEOFDAY_NIGHT", "Night", "Fly at night."),
    # graphic editor
    ("UC_GR_EDIT_MASS_DISTRIB", "Mass Distribution",
     "Show where the mass of the model sits, and its centre of mass."),
    ("UC_GR_EDIT_SHOW_GRID", "Grid", "Show or hide the grid of the model view."),
    ("UC_GR_EDIT_VIEW_TOP", "View from Top", "Look at the model from above."),
    ("UC_GR_EDIT_VIEW_BOTTOM", "View from Bottom", "Look at the model from below."),
    ("UC_GR_EDIT_VIEW_LEFT", "View from Left", "Look at the model from its left side."),
    ("UC_GR_EDIT_VIEW_RIGHT", "View from Right", "Look at the model from its right side."),
    ("UC_GR_EDIT_VIEW_FRONT", "View from Front", "Look at the model from the front."),
    ("UC_GR_EDIT_VIEW_BACK", "View from Back", "Look at the model from behind."),
    ("UC_GR_EDIT_VIEW_NEXT", "Next View", "Go to the next of the six views."),
    ("UC_GR_EDIT_VIEW_PREV", "Previous View", "Go to the previous of the six views."),
    # dialog editor
    ("UC_DLG_EDIT_MODEL_NEXT_PART", "Next Part", "Select the next part of the model."),
    ("UC_DLG_EDIT_MODEL_PREV_PART", "Previous Part", "Select the previous part of the model."),
    ("UC_DLG_EDIT_MODEL_UNDO", "Undo", "Undo the last change (not available yet)."),
    ("UC_DLG_EDIT_MODEL_REDO", "Redo", "Redo the last undone change (not available yet)."),
    ("UC_DLG_DELETE_PART", "Delete Part", "Remove the selected part from the model."),
    ("UC_DLG_NEW_PART_COLLISION_POINT", "New Collision Point",
     "Add a point that must not sink into the ground, such as a wing tip."),
    ("UC_DLG_NEW_PART_DRAG", "New Drag", "Add drag and rotation damping of the airframe."),
    ("UC_DLG_NEW_PART_ENGINE_PROP", "New Engine", "Add an engine that turns a propeller."),
    ("UC_DLG_NEW_PART_GRAVITY", "New Gravity", "Add the weight of the model."),
    ("UC_DLG_NEW_PART_INPUT_FORCE", "New Input Force", "Add a force driven by a variable."),
    ("UC_DLG_NEW_PART_SERVO", "New Servo", "Add a servo that follows a channel."),
    ("UC_DLG_NEW_PART_PROPELLER", "New Propeller", "Add a propeller for an engine to turn."),
    ("UC_DLG_NEW_PART_VARIABLE", "New Variable",
     "Add a named value that can drive a property of another part."),
    ("UC_DLG_NEW_PART_WHEEL3", "New Wheel", "Add a sprung, steerable wheel with tyre grip."),
    ("UC_DLG_NEW_PART_WHEEL", "New Simple Wheel", "Add a simple sprung wheel."),
    ("UC_DLG_NEW_PART_WING2", "New Rectangular Wing",
     "Add a rectangular surface such as a tailplane or fin."),
    ("UC_DLG_NEW_PART_WING3", "New Wing", "Add a tapered, swept wing with control surfaces."),
    ("UC_DLG_NEW_PART_MODEL_INFO", "New Model Info",
     "Add the model's global settings (a model has one)."),
    ("UC_DLG_NEW_PART_BATTERY", "New Battery", "Add a flight battery and its mass."),
    ("UC_DLG_NEW_PART_FUEL_TANK", "New Fuel Tank", "Add a fuel tank and its mass."),
    # camera
    ("UC_CAMERA_MODE_LOOK_AT", "Pilot Camera",
     "Stand on the ground and watch the model, as a model pilot does."),
    ("UC_CAMERA_MODE_FOLLOW", "Chase Camera", "Follow the model from behind."),
    ("UC_CAMERA_MODE_FREE", "Free Camera", "Move the camera freely with the camera keys."),
    ("UC_CAMERA_MODE_ATTACHED", "Onboard Camera", "Ride on board the model."),
    ("UC_CAMERA_RESET_POSITION", "Reset Camera", "Put the camera back at its starting place."),
    ("UC_CAMERA_AUTOZOOM", "Auto Zoom",
     "Pilot camera: zoom in automatically so the model stays visible far away."),
    ("UC_CAMERA_ZOOM_IN", "Zoom In", "Hold to zoom in."),
    ("UC_CAMERA_ZOOM_OUT", "Zoom Out", "Hold to zoom out."),
    ("UC_CAMERA_MODIF_ROT_TRANSL", "Rotate Instead",
     "Hold to make the camera move keys turn the camera instead of moving it."),
    ("UC_CAMERA_LEFT", "Camera Left", "Hold to move the free camera to the left."),
    ("UC_CAMERA_RIGHT", "Camera Right", "Hold to move the free camera to the right."),
    ("UC_CAMERA_UP", "Camera Up", "Hold to move the free camera up."),
    ("UC_CAMERA_DOWN", "Camera Down", "Hold to move the free camera down."),
    ("UC_CAMERA_FORWARD", "Camera Forward", "Hold to move the free camera forward."),
    ("UC_CAMERA_BACKWARDS", "Camera Back", "Hold to move the free camera backwards."),
    ("UC_CAMERA_ROLL_LEFT", "Camera Roll Left", "Hold to roll the free camera to the left."),
    ("UC_CAMERA_ROLL_RIGHT", "Camera Roll Right", "Hold to roll the free camera to the right."),
    ("UC_CAMERA_BRAKES", "Camera Glide",
     "Hold to let the free camera glide on instead of stopping."),
    # recording
    ("UC_RECORDING_START", "Record", "Start recording the flight."),
    ("UC_RECORDING_STOP", "Stop", "Stop recording or playing back."),
    ("UC_RECORDING_PLAY", "Play", "Play back the last recorded flight."),
    # controller
    ("UC_MENU_CONTROLLER", "Controllers",
     "Choose and edit the input maps that connect sticks, mouse and keys to the channels."),
    ("UC_MENU_RADIO_TX", "Radio Transmitter",
     "Serial port, channel reverse and calibration of the transmitter interface."),
    ("UC_MENU_KEY_AXIS", "Key Axis",
     "Keys that move the six key axes, how fast they move and whether they return to centre."),
    ("UC_MENU_KEY_DEF", "Keys", "Change the key of every command."),
    ("UC_KEYAXIS_1_INC", "Key Axis 1 Up", "Hold to move key axis 1 up or right."),
    ("UC_KEYAXIS_1_DEC", "Key Axis 1 Down", "Hold to move key axis 1 down or left."),
    ("UC_KEYAXIS_2_INC", "Key Axis 2 Up", "Hold to move key axis 2 up or right."),
    ("UC_KEYAXIS_2_DEC", "Key Axis 2 Down", "Hold to move key axis 2 down or left."),
    ("UC_KEYAXIS_3_INC", "Key Axis 3 Up", "Hold to move key axis 3 up or right."),
    ("UC_KEYAXIS_3_DEC", "Key Axis 3 Down", "Hold to move key axis 3 down or left."),
    ("UC_KEYAXIS_4_INC", "Key Axis 4 Up", "Hold to move key axis 4 up or right."),
    ("UC_KEYAXIS_4_DEC", "Key Axis 4 Down", "Hold to move key axis 4 down or left."),
    ("UC_KEYAXIS_5_INC", "Key Axis 5 Up", "Hold to move key axis 5 up or right."),
    ("UC_KEYAXIS_5_DEC", "Key Axis 5 Down", "Hold to move key axis 5 down or left."),
    ("UC_KEYAXIS_6_INC", "Key Axis 6 Up", "Hold to move key axis 6 up or right."),
    ("UC_KEYAXIS_6_DEC", "Key Axis 6 Down", "Hold to move key axis 6 down or left."),
    # debug
    ("UC_DEBUG_FPS", "Frame Rate", "Show the frame rate."),
    ("UC_DEBUG_VARIABLES", "Variables", "List the model's variables and their values."),
    ("UC_DEBUG_CAMERA", "Camera Data", "Show the camera's forces, angles and zoom."),
    ("UC_DEBUG_COLISION_TRINGLES", "Collision Triangles",
     "Draw the ground triangles used for collisions."),
    ("UC_DEBUG_TIME_OF_DAY", "Time of Day Data", "Show the sun and lighting values."),
    ("UC_DEBUG_GRAPHIC_STATE", "Graphic State", "Show the viewport and projection values."),
    ("UC_DEBUG_WIREFRAME", "Wireframe", "Cycle the drawing between points, lines and filled."),
    ("UC_DEBUG_SCENEGRAPH_STATS", "Scene Statistics", "Show scene graph statistics."),
    ("UC_DEBUG_SCENE_MAIN", "Scene Dump", "Show the structure of the main scene."),
    ("UC_DEBUG_SCENE_OBJECT_ADMIN", "Scene Objects", "List the loaded scene objects."),
    ("UC_DEBUG_VDB_OBJECT_ADMIN", "VDB Objects", "List the visual database objects."),
    ("UC_DEBUG_TEXTURE_INFO", "Textures", "List the loaded textures."),
    ("UC_DEBUG_FONTS", "Fonts", "Show the loaded fonts."),
    ("UC_DEBUG_SOUND_ADMIN", "Sounds", "List the loaded sounds with their volume and pitch."),
    ("UC_DEBUG_TIME_STATS", "Time Statistics", "Show how long each part of a frame takes."),
    ("UC_DEBUG_TIME_HOG", "Time Hog",
     "Test switch: waste a random 1 to 20 ms every frame to test uneven frame times."),
    ("UC_DEBUG_INPUT_DATA", "Input Data", "Show the raw values of every input device."),
    ("UC_DEBUG_KEY_EVENTS", "Key Events", "List the key events of each frame."),
    ("UC_DEBUG_MOUSE_RECTS", "Mouse Rectangles", "Outline the areas that have help texts."),
    ("UC_DEBUG_CONTROL_PAGE_BOUNDING_RECTS", "Control Outlines",
     "Outline every control of the pages."),
    ("UC_DEBUG_STRINGS", "String Check",
     "Replace every text from the string table with X to show where texts come from."),
    ("UC_DEBUG_INERTIA", "Inertia", "Draw the mass points of the model."),
    ("UC_DEBUG_PART_INFO", "Part Info", "Show the properties and forces of one part."),
    ("UC_DEBUG_SELECT_PREV_PART", "Previous Part Info", "Show the part info of the previous part."),
    ("UC_DEBUG_SELECT_NEXT_PART", "Next Part Info", "Show the part info of the next part."),
]

# ---------------------------------------------------------------------------------------------
# Property sets: (set name, label, help, [(key, label, help with unit), ...]).
# Body axes: x to the right, y up, forward along -z.
# ---------------------------------------------------------------------------------------------

DESCRIPTION = ("DESCRIPTION", "Description", "Free text about this part, for your own notes.")


def position(what):
    return ("POSITION", "Position",
            f"{what} in body axes x y z, metres (x right, y up, -z forward).")


def part_name(key, label, part_type, what):
    return (key, label, f"Name of the {part_type} part {what}.")


def wing3_segment_keys(n):
    return [
        (f"SEG{n}_SERVO", f"Segment {n} Servo",
         f"Name of the SERVO part that moves the control surface of segment {n}; "
         "empty for none."),
        (f"SEG{n}_SERVO_SYMMETRICAL", f"Segment {n} Mirror Servo",
         f"Name of the SERVO part that moves the control surface of the mirrored segment {n}."),
        (f"SEG{n}_SERVO_REV", f"Segment {n} Reverse",
         f"Tick to reverse the control surface of segment {n}."),
        (f"SEG{n}_SERVO_REV_SYMMETRICAL", f"Segment {n} Mirror Reverse",
         f"Tick to reverse the control surface of the mirrored segment {n}."),
        (f"SEG{n}_CONTROL_CHORD_FRACTION", f"Segment {n} Control Chord",
         f"Control surface chord of segment {n} as a fraction of its chord (0 to 1)."),
        (f"SEG{n}_MAX_DEFLECTION_ANGLE", f"Segment {n} Max Deflection",
         f"Control surface deflection of segment {n} at full servo travel, degrees."),
        (f"SEG{n}_INCIDENCE_INC", f"Segment {n} Extra Incidence",
         f"Incidence added to the wing incidence for segment {n}, degrees "
         "(less towards the tip gives washout)."),
        (f"SEG{n}_DOF", f"Segment {n} 3D Hinge",
         f"Name of the moving part of the 3D object that turns with segment {n}'s control surface."),
        (f"SEG{n}_DOF_SYMMETRICAL", f"Segment {n} Mirror 3D Hinge",
         f"Name of the moving part of the 3D object that turns with the mirrored segment {n}."),
    ]


PROPERTY_SETS = [
    ("MODEL_INFO", "Model Info",
     "Settings of the whole model: 3D object, shadow, instrument panel and integration step.", [
         DESCRIPTION,
         ("DISPLAYED_SCALE_OF_FORCES", "Force Arrow Scale",
          "Length of the force arrows in metres per newton of force (0.01 to 10)."),
         ("3D_MODEL_FILE", "3D Object File",
          "Scene file (.osg) in Data/3D that shows the model."),
         ("3D_MODEL_SCALE", "3D Object Scale",
          "Scale factor of the 3D object, no unit (1 = as drawn, 0.001 to 1000)."),
         ("3D_MODEL_OFFSET_POS", "3D Object Offset",
          "Shift of the 3D object against the physical model, body axes x y z in metres."),
         ("SHADOW_TEXTURE_FILE", "Shadow Texture",
          "Image in Data/Textures drawn as the model's shadow; empty for no shadow."),
         ("SHADOW_SCALE", "Shadow Size", "Size factor of the shadow, no unit (0.01 to 100)."),
         ("SHADOW_OFFSET", "Shadow Offset",
          "Shift of the shadow on the ground, two values in metres."),
         ("MAX_INTEGRATION_STEP", "Max Physics Step",
          "Longest physics sub-step in seconds (0.001 to 0.05); smaller is steadier, but slower."),
         ("INSTRUMENT_PANEL_FILE", "Instrument Panel",
          "Instrument panel file of the model; empty for none."),
     ]),
    ("GRAVITY", "Gravity", "The weight of the model, pulling at its centre of mass.", [
        DESCRIPTION,
    ]),
    ("DRAG", "Drag",
     "Drag of the airframe parts the wings do not cover, and damping of its rotation.", [
         DESCRIPTION,
         ("FRONTAL_DRAG_AREA", "Frontal Area",
          "Frontal area of fuselage, undercarriage and other parts, square metres (0 to 100)."),
         ("FRONTAL_DRAG_COEFFICIENT", "Drag Coefficient",
          "Drag coefficient of the frontal area, no unit (0 to 10)."),
         ("ANGULAR_DAMPING_LIN", "Rotation Damping",
          "Damping of rotation in proportion to the turn rate, no unit (0 to 10)."),
         ("ANGULAR_DAMPING_SQ", "Rotation Damping (Square)",
          "Damping of rotation in proportion to the square of the turn rate, no unit (0 to 10)."),
     ]),
    ("SERVO", "Servo",
     "A servo that follows an input variable at limited speed; wings and engines read it.", [
         DESCRIPTION,
         ("VARIABLE", "Input", "Variable the servo follows, usually a channel V_CH1 to V_CH9."),
         position("Servo position"),
         ("MASS", "Mass", "Mass of the servo in kilograms (0 to 100)."),
         ("SPEED", "Travel Time",
          "Seconds the servo needs for one unit of travel, such as centre to full (0 to 10)."),
     ]),
    ("ENGINE_PROP", "Engine",
     "An engine that turns a propeller: throttle from a servo, thrust, torque and sound.", [
         DESCRIPTION,
         position("Propeller hub, where the thrust acts,"),
         ("HEADING", "Thrust Heading",
          "Side angle of the thrust line in degrees, positive to the right (right thrust)."),
         ("PITCH", "Thrust Pitch",
          "Up angle of the thrust line in degrees, negative for down thrust."),
         ("MAX_TORQUE", "Max Torque", "Engine torque at full throttle in newton metres."),
         ("MASS", "Mass", "Mass of the engine in kilograms."),
         part_name("TOKEN_PROPELLER", "Propeller", "PROPELLER", "that this engine turns"),
         part_name("TOKEN_COLLISION_POINT", "Stop Point", "COLLISION_POINT",
                   "that stops the engine when it hits the ground"),
         part_name("TOKEN_SERVO", "Throttle Servo", "SERVO", "whose position is the throttle"),
         ("SLIPSTREAM_SWIRL", "Slipstream Swirl",
          "Swirl of the slipstream, sideways speed per speed along it (about 0.2 to 0.4); 0 unless"
          " given. It pushes a fin above the thrust line to the right."),
         ("THROTTLE_EXPO", "Throttle Curve",
          "Curve from throttle to torque: 0.5 (unless given) a square root, 0 straight, -0.5"
          " little torque at small throttle, as a glow engine's carburettor gives."),
     ]),
    ("WING2", "Rectangular Wing",
     "A rectangular lifting surface with an optional control surface, such as a tailplane.", [
         DESCRIPTION,
         ("AIRFOIL", "Airfoil", "Airfoil file (.afl) in Data/Airfoil."),
         ("CHORD", "Chord", "Chord, leading edge to trailing edge, in metres."),
         ("SPAN", "Span", "Span of the surface in metres."),
         position("Leading-edge point chosen by Position Type,"),
         ("POSITION_TYPE", "Position Type",
          "Which leading-edge point Position gives: LEFT_LE, RIGHT_LE or CENTER_LE."),
         ("DIRECTION", "Forward Direction",
          "Direction towards the leading edge, body axes; 0 0 0 uses the three angles."),
         ("NORMAL", "Up Direction",
          "Direction of the upper surface, body axes; 0 0 0 uses the three angles."),
         ("HEADING", "Heading", "Heading of the surface in degrees, when the directions are 0."),
         ("PITCH", "Pitch",
          "Pitch (incidence) of the surface in degrees, when the directions are 0."),
         ("ROLL", "Roll",
          "Roll of the surface in degrees (90 for a fin), when the directions are 0."),
         ("CONTROL_SURFACE_MAX_ANGLE", "Control Max Angle",
          "Control surface deflection at a variable value of 1, degrees."),
         ("CONTROL_SURFACE_CHORD", "Control Chord",
          "Control surface chord as a fraction of the chord (0 to 1); 0 for none."),
         ("CONTROL_SURFACE_MAX_LIFT", "Control Max Lift",
          "Lift coefficient the control surface adds at 20 degrees with 30 % chord or more;"
          " 0.4 unless given, about 1.0 for a sealed hinge."),
         ("CONTROL_SURFACE_VARIABLE", "Control Variable",
          "Variable that moves the control surface, such as V_CH2."),
         ("3DMODEL_DOF", "3D Hinge",
          "Name of the moving part of the 3D object that turns with the control surface."),
     ]),
    ("WING3", "Wing",
     "A tapered, swept wing half of 1 to 4 segments with servo-driven control surfaces, "
     "mirrored to a whole wing when symmetrical.", [
         DESCRIPTION,
         ("AIRFOIL", "Airfoil", "Airfoil file (.afl) in Data/Airfoil."),
         ("SYMMETRICAL", "Symmetrical", "Tick to add the mirrored other half of the wing."),
         ("HALF_SPAN", "Half Span", "Span of one half, root to tip, in metres."),
         ("ROOT_CHORD", "Root Chord", "Chord at the root in metres."),
         ("TIP_CHORD", "Tip Chord", "Chord at the tip in metres."),
         ("EFFICIENCY", "Span Efficiency",
          "Span efficiency of the induced drag, no unit (about 0.7 to 0.95)."),
         ("INCIDENCE", "Incidence", "Incidence of the whole wing in degrees, leading edge up."),
         ("SWEEP_ANGLE", "Sweep", "Sweep of the leading edge in degrees, positive backwards."),
         ("DIHEDRAL", "Dihedral", "Dihedral in degrees, positive with the tips up."),
         position("Leading edge at the root"),
         ("ROLL_ANGLE", "Roll Angle",
          "Extra roll of the wing half in degrees, added to the dihedral (90 for a fin)."),
         ("NUMBER_OF_SEGMENTS", "Segments", "Number of spanwise segments per half (1 to 4)."),
         ("DENSITY_KG_PER_SQ_METER", "Surface Density",
          "Mass per wing area in kilograms per square metre."),
         ("CONTROL_MAX_LIFT", "Control Max Lift",
          "Lift coefficient each control surface adds at 20 degrees with 30 % chord or more;"
          " 0.4 unless given, about 1.0 for a sealed hinge."),
         ("DOWNWASH", "Downwash",
          "For a tail: the wing ahead turns its flow down by this times the model's angle of"
          " attack (0 to 1, about 0.3 to 0.5); 0 unless given."),
         ("LIFTING_LINE", "Lifting Line",
          "1: the airfoil's lift at the angle of attack less the induced angle CL / (pi AR e), as"
          " a short wing or fin lifts (a third of the section's lift slope at aspect ratio 1.3,"
          " and a later stall); 0 unless given."),
     ] + wing3_segment_keys(0) + wing3_segment_keys(1) + wing3_segment_keys(2)
       + wing3_segment_keys(3)),
    ("PROPELLER", "Propeller",
     "A fixed-pitch propeller; an ENGINE_PROP part turns it.", [
         DESCRIPTION,
         ("DIAMETER", "Diameter", "Propeller diameter in metres."),
         ("PITCH", "Pitch", "Geometric pitch: distance advanced per revolution, in metres."),
         ("CHORD_TO_DIAMETER_RATIO", "Blade Chord Ratio",
          "Blade chord divided by the diameter, no unit."),
         ("NUMBER_OF_BLADES", "Blades", "Number of blades."),
         ("AIRFOIL", "Blade Airfoil", "Airfoil file (.afl) in Data/Airfoil of the blades."),
     ]),
    ("VARIABLE", "Variable",
     "A named value of the model that can drive a property of another part.", [
         DESCRIPTION,
         ("LINK", "Link",
          "Property this variable drives: part name, a dot and a key, plus .X, .Y or .Z "
          "for one component; empty for none."),
         ("INITIAL_VALUE", "Initial Value",
          "Value when the model is loaded, in the unit of the linked property."),
     ]),
    ("WHEEL", "Simple Wheel",
     "A simple wheel: a sprung contact with friction; it plays the touchdown sound.", [
         DESCRIPTION,
         position("Wheel hub"),
         ("AXIS", "Axle Direction", "Direction of the axle in body axes (1 0 0 = across)."),
         ("DIAMETER", "Diameter", "Wheel diameter in metres."),
         ("WIDTH", "Width", "Wheel width in metres, for the drawing."),
         ("REST_LENGTH", "Spring Travel", "Length of the spring travel in metres."),
         ("SPRINGINESS", "Spring Rate", "Spring rate in newtons per metre."),
         ("DYNAMIC_FRICTION", "Sliding Friction",
          "Friction coefficient when the wheel slides fast, no unit."),
         ("STATIC_FRICTION", "Rolling Friction",
          "Friction coefficient at slow speed, no unit."),
         ("DAMPING", "Damping",
          "Spring damping while the wheel moves into the ground, no unit (0 to 1)."),
         ("MASS", "Mass", "Mass of the wheel in kilograms."),
         ("SIDE_STATIC_FRICTION", "Side Grip",
          "Static friction along the axle: the wheel holds sideways until pushed harder than this"
          " times its load (grass about 1); 0 unless given."),
     ]),
    ("WHEEL3", "Wheel",
     "A full wheel: sprung suspension, steering, drive torque, tyre grip and skidding.", [
         DESCRIPTION,
         position("Wheel hub"),
         ("HEADING", "Heading",
          "Direction the wheel points in the body, degrees (0 = straight ahead)."),
         ("INERTIA", "Wheel Inertia",
          "Moment of inertia of the wheel about its axle, kilogram square metres."),
         ("SUSPENSION_SPRING_REST_LENGTH", "Suspension Travel",
          "Length of the suspension travel in metres."),
         ("SUSPENSION_SPRINGINESS", "Spring Rate", "Suspension spring rate in newtons per metre."),
         ("SUSPENSION_DAMPING_SQ", "Damping (Square)",
          "Suspension damping that grows with the square of the compression speed, N s2/m2."),
         ("SUSPENSION_DAMPING_LIN", "Damping (Linear)",
          "Suspension damping in proportion to the compression speed, N s/m."),
         ("TRACTION_STRINGINESS", "Tyre Stiffness Forward",
          "Tyre stiffness along the rolling direction, newtons per metre (negative)."),
         ("AXIAL_STRINGINESS", "Tyre Stiffness Sideways",
          "Tyre stiffness along the axle, newtons per metre (negative)."),
         ("DYNAMIC_FRICTION", "Skid Friction",
          "Friction coefficient while skidding; grip returns below it, no unit."),
         ("STATIC_FRICTION", "Grip Limit",
          "Friction coefficient at which the tyre starts to skid, no unit."),
         ("RADIUS", "Radius", "Wheel radius in metres."),
         ("WIDTH", "Width", "Wheel width in metres, for the drawing."),
         ("SPIN_DAMPING", "Spin Damping",
          "Drag on the wheel's spin, k (w|w| + w) with w in rad/s; 0.002 unless given, 0 with"
          " Rolling Resistance."),
         ("ROLLING_RESISTANCE", "Rolling Resistance",
          "Rolling resistance coefficient: drag = coefficient x wheel load (grass 0.05-0.1,"
          " tarmac 0.02); 0 unless given."),
         ("CORNERING_STIFFNESS", "Cornering Stiffness",
          "Side force of the rolling tyre per radian of slip angle and per newton of load (tyres:"
          " about 5 to 10); 0 unless given, and then the tyre patch never relaxes as it rolls."),
         ("MAX_STEERING_ANGLE", "Max Steering Angle",
          "Steering angle at a steering value of 1, degrees."),
         ("STEERING_VARIABLE", "Steering Variable",
          "Variable that steers the wheel, such as V_CH4."),
         ("MAX_TORQUE", "Max Drive Torque",
          "Drive torque at a torque value of 1, newton metres."),
         ("VARIABLE_TORQUE", "Torque Variable", "Variable that drives the wheel."),
         ("VARIABLE_BRAKE", "Brake Variable",
          "Variable for the brake; the wheel needs all three variables to work."),
     ]),
    ("COLLISION_POINT", "Collision Point",
     "A point of the airframe that must not sink into the ground: wing tip, nose, tail.", [
         DESCRIPTION,
         position("The point"),
         ("STATIC_FRICTION", "Static Friction",
          "The point holds where it rests until pushed harder than this times its load (grass"
          " about 1); 0 unless given: friction only while sliding."),
     ]),
    ("INPUT_FORCE", "Input Force", "A force driven by a variable.", [
        DESCRIPTION,
        ("MAX_FORCE", "Max Force", "Force at a variable value of 1, newtons (0 to 100)."),
        position("Point where the force acts,"),
        ("HEADING", "Heading",
         "Side angle of the force in degrees, positive to the right (-180 to 180)."),
        ("PITCH", "Pitch", "Up angle of the force in degrees (-90 to 90)."),
        ("VARIABLE", "Variable", "Variable that scales the force."),
    ]),
    ("BATTERY", "Battery", "A flight battery; it adds its mass.", [
        DESCRIPTION,
        position("Battery"),
        ("MASS", "Mass", "Mass of the battery in kilograms (0 to 100)."),
        ("CAPACITY", "Capacity", "Capacity in milliampere hours (0.5 to 5000)."),
        ("NUM_CELLS", "Cells", "Number of cells in series (1 to 12)."),
    ]),
    ("FUEL_TANK", "Fuel Tank", "A fuel tank; it adds its own mass and that of the fuel.", [
        DESCRIPTION,
        position("Tank"),
        ("MASS_WHEN_EMPTY", "Empty Mass", "Mass of the empty tank in kilograms (0 to 100)."),
        ("CAPACITY", "Capacity", "Mass of fuel in a full tank, kilograms (0 to 10)."),
    ]),
    ("WIND", "Wind", "Mean wind, turbulence and thermals at the flying site.", [
        ("VELOCITY", "Wind Speed", "Mean wind speed in metres per second (0 to 20)."),
        ("HEADING", "Wind Direction", "Direction the wind blows towards, degrees."),
        ("PITCH", "Wind Slope",
         "Vertical angle of the wind in degrees, positive blowing upwards (-60 to 60)."),
        ("TURBULENCE_STRENGTH", "Turbulence",
         "Strength of the gusts, from 0 (smooth air) to 1 (rough)."),
        ("THERMAL_STRENGTH", "Thermal Strength",
         "Rising air at the core of a thermal, metres per second (0 switches thermals off, up to 8)."),
        ("THERMAL_RADIUS", "Thermal Radius",
         "Radius of a thermal's rising core in metres (10 to 150); a ring of sink lies around it."),
        ("THERMAL_DENSITY", "Thermals per km2", "How many thermals per square kilometre (0 to 10)."),
        ("THERMAL_LIFETIME", "Thermal Lifetime",
         "How long a thermal lives, seconds (30 to 1200); it drifts with the wind meanwhile."),
    ]),
    ("SOUND", "Sound", "Sound volumes and the engine sound switch.", [
        ("VOLUME_GLOBAL", "Master Volume", "Volume of all sounds, 0 (silent) to 1 (full)."),
        ("VOLUME_ENGINE", "Engine Volume", "Volume of the engine, 0 (silent) to 1 (full)."),
        ("ENABLE_ENGINE_SOUND", "Engine Sound", "Tick to hear the engine."),
        ("POSITIONAL_PANNING", "Stereo",
         "Tick to hear the model from where it is, left or right of the view."),
    ]),
]


# ---------------------------------------------------------------------------------------------
# Assembly and checks
# ---------------------------------------------------------------------------------------------

def command_entries():
    return [(f"IDS_{name}_{suffix}", text)
            for name, short, long in COMMANDS
            for suffix, text in (("S", short), ("L", long))]


def group_entries():
    return [(f"{base}_{suffix}", text)
            for base, short, long in COMMAND_GROUPS
            for suffix, text in (("S", short), ("L", long))]


def property_set_entries(set_name, label, help_text, keys):
    entries = [(f"IDS_{set_name}_S", label), (f"IDS_{set_name}_L", help_text)]
    for key, key_label, key_help in keys:
        entries.append((f"IDS_{set_name}__{key}_S", key_label))
        entries.append((f"IDS_{set_name}__{key}_L", key_help))
    return entries


def sections():
    """(heading, entries) in file order."""
    result = [
        ("Main menu", MAIN_MENU),
        ("Buttons", BUTTONS),
        ("Controller menu: input maps", INPUT_MAPS),
        ("Key axis menu", KEY_AXES),
        ("Key definition menu", KEY_DEFINITIONS),
        ("Radio transmitter menu", RADIO),
        ("Transmitter calibration", CALIBRATION),
        ("Flight screen", FLIGHT_SCREEN),
        ("Model editor", MODEL_EDITOR),
        ("Command groups", group_entries()),
        ("Commands", command_entries()),
    ]
    for set_name, label, help_text, keys in PROPERTY_SETS:
        result.append((f"Properties: {set_name}",
                       property_set_entries(set_name, label, help_text, keys)))
    return result


def group_short_text(group_index):
    """Short text of a command group, as the key definitions of Config.txt name it."""
    return COMMAND_GROUPS[group_index][1]


IDENTIFIER = re.compile(r"^I[DC]S_[A-Z0-9_]+$")
ALIASES = {"ICS_RADIO_TRANSMITTER_STATUS"}


def check_entries(entries):
    """Returns a list of problems; an empty list means the table is safe to write."""
    problems = []
    ids = [i for i, _ in entries]
    seen = set()
    for ident in ids:
        if ident in seen:
            problems.append(f"{ident}: defined twice")
        seen.add(ident)
    if len(entries) > MAX_ENTRIES:
        problems.append(f"{len(entries)} entries; the loader keeps only {MAX_ENTRIES}")
    for ident, text in entries:
        if not IDENTIFIER.match(ident):
            problems.append(f"{ident}: not an identifier")
        if not text or text != text.strip():
            problems.append(f"{ident}: empty text or blanks at its ends")
        if any(ord(c) < 32 or ord(c) > 126 for c in text):
            problems.append(f"{ident}: text is not plain single-byte ASCII")
        for marker in ("//", "/*", "*/"):
            if marker in text:
                problems.append(f"{ident}: '{marker}' would be taken as a comment")
        if "\\" in text.replace("\\n", ""):
            problems.append(f"{ident}: stray backslash")
        if ident in ALIASES:
            if text not in seen:
                problems.append(f"{ident}: alias of an unknown identifier {text}")
        elif text.startswith("IDS") or text in seen:
            problems.append(f"{ident}: text would be looked up again as an identifier")
        if ident.endswith("_S") and len(text) > 40:
            problems.append(f"{ident}: label longer than 40 characters")
    return problems


def all_entries():
    return [entry for _, entries in sections() for entry in entries]


def render_string_table():
    lines = [
        "// Kestro string table",
        "// Generated by tools/strings/make_strings.py: edit the texts there, not here.",
        "// One entry per line: identifier, blanks, text to the end of the line.",
        "",
    ]
    for heading, entries in sections():
        lines.append("// " + "-" * 76)
        lines.append(f"// {heading}")
        lines.append("// " + "-" * 76)
        width = max(len(i) for i, _ in entries) + 2
        for ident, text in entries:
            lines.append(f"{ident:<{width}}{text}")
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=REPO / "Data" / "Config" / "String.txt")
    parser.add_argument("--ids", type=pathlib.Path,
                        default=pathlib.Path(__file__).resolve().parent / "ids.txt")
    args = parser.parse_args(argv)

    entries = all_entries()
    problems = check_entries(entries)
    if problems:
        for problem in problems:
            print("make_strings: " + problem, file=sys.stderr)
        return 1
    args.out.parent.mkdir(parents=True, exist_ok=True)
    args.out.write_bytes(render_string_table().encode("ascii"))
    args.ids.write_text("\n".join(sorted(i for i, _ in entries)) + "\n", encoding="ascii")
    print(f"{args.out}: {len(entries)} entries")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
