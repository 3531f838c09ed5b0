#pragma once
// The identifiers every input consumer shares: the 31 analogue axes, the 47 digital buttons and
// the key-code space in which keyboard keys, device buttons and the two pseudo keys live.
//
// Axis tokens (AXIS_MOUSE_X ...) are what Config.txt stores; display names ("Mouse X" ...) are
// what list boxes show. AXIS_UNKNOWN is the "none" value and always reads 0.

#include <cstdint>

enum EAxisId
{
    AXIS_MOUSE_X = 0,
    AXIS_MOUSE_Y,
    AXIS_MOUSE_Z, // the wheel
    AXIS_JOYSTICK_X,
    AXIS_JOYSTICK_Y,
    AXIS_JOYSTICK_Z,
    AXIS_JOYSTICK_RX,
    AXIS_JOYSTICK_RY,
    AXIS_JOYSTICK_RZ,
    AXIS_JOYSTICK_SL0,
    AXIS_JOYSTICK_SL1,
    AXIS_JOYSTICK_POV1, // hat angle as a fraction of a turn (0 north, clockwise), -1 centred
    AXIS_JOYSTICK_POV2,
    AXIS_JOYSTICK_POV3,
    AXIS_JOYSTICK_POV4,
    AXIS_RADIOCONTROL_CH1,
    AXIS_RADIOCONTROL_CH2,
    AXIS_RADIOCONTROL_CH3,
    AXIS_RADIOCONTROL_CH4,
    AXIS_RADIOCONTROL_CH5,
    AXIS_RADIOCONTROL_CH6,
    AXIS_RADIOCONTROL_CH7,
    AXIS_RADIOCONTROL_CH8,
    AXIS_RADIOCONTROL_CH9,
    AXIS_KEYBOARD_1,
    AXIS_KEYBOARD_2,
    AXIS_KEYBOARD_3,
    AXIS_KEYBOARD_4,
    AXIS_KEYBOARD_5,
    AXIS_KEYBOARD_6,
    AXIS_UNKNOWN, // 30: none, always 0.0
    AXIS_COUNT    // 31
};

enum EButtonId
{
    BUTTON_MOUSE_LEFT = 0,
    BUTTON_MOUSE_RIGHT,
    BUTTON_MOUSE_CENTER,
    BUTTON_JOYSTICK_1, // 3 .. 14: joystick buttons 1 .. 12
    BUTTON_JOYSTICK_12 = BUTTON_JOYSTICK_1 + 11,
    // 15 .. 46: hat p (1..4), direction d in the order N NE E SE S SW W NW:
    // BUTTON_JOYSTICK_POV1_N + 8 * (p - 1) + d.
    BUTTON_JOYSTICK_POV1_N = 15,
    BUTTON_JOYSTICK_POV1_NW = 22,
    BUTTON_JOYSTICK_POV2_N = 23,
    BUTTON_JOYSTICK_POV3_N = 31,
    BUTTON_JOYSTICK_POV4_N = 39,
    BUTTON_JOYSTICK_POV4_NW = 46,
    BUTTON_COUNT = 47
};

constexpr int kJoystickButtonCount = 12; // joystick buttons that have a button id
constexpr int kHatCount = 4;
constexpr int kHatDirectionCount = 8; // N NE E SE S SW W NW

// Key codes: one space for every event source (u32).
constexpr uint32_t KEY_SCANCODE_COUNT = 256; // 0..255: keyboard keys by DIK scan code
constexpr uint32_t KEY_BUTTON_BASE = 256;    // 256 + button id: device buttons
constexpr uint32_t KEY_MOUSE_LEFT = KEY_BUTTON_BASE + BUTTON_MOUSE_LEFT;   // 256
constexpr uint32_t KEY_MOUSE_RIGHT = KEY_BUTTON_BASE + BUTTON_MOUSE_RIGHT; // 257
constexpr uint32_t KEY_BOTH_KEYS = 303; // pseudo key "BOTH KEYS" (keyboard-axis menu)
constexpr uint32_t KEY_NONE = 304;      // no key; its name is the empty text
constexpr uint32_t KEY_CODE_COUNT = 305;

// "AXIS_MOUSE_X" ...; "AXIS_UNKNOWN" for id 30; null outside 0..30.
const char* AxisToken(int axisId);
// "Mouse X" ... "-"; null outside 0..30.
const char* AxisDisplayName(int axisId);
// The 31 display names in id order, for list boxes.
const char* const* AxisDisplayNames();
// Exact, case-sensitive token lookup; AXIS_UNKNOWN when nothing matches.
int LookupAxisToken(const char* token);
// Whether the token is one of the 31 (so "AXIS_UNKNOWN" is known, "AXIS_FOO" is not).
bool IsKnownAxisToken(const char* token);

// "BUTTON_MOUSE_LEFT" ... "BUTTON_JOYSTICK_POV4_NW"; null outside 0..46.
const char* ButtonToken(int buttonId);
