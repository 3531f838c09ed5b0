#include "input/InputIds.h"

#include <cstring>

namespace
{
const char* const kAxisTokens[AXIS_COUNT] = {
    "AXIS_MOUSE_X",          "AXIS_MOUSE_Y",          "AXIS_MOUSE_Z",
    "AXIS_JOYSTICK_X",       "AXIS_JOYSTICK_Y",       "AXIS_JOYSTICK_Z",
    "AXIS_JOYSTICK_RX",      "AXIS_JOYSTICK_RY",      "AXIS_JOYSTICK_RZ",
    "AXIS_JOYSTICK_SL0",     "AXIS_JOYSTICK_SL1",     "AXIS_JOYSTICK_POV1",
    "AXIS_JOYSTICK_POV2",    "AXIS_JOYSTICK_POV3",    "AXIS_JOYSTICK_POV4",
    "AXIS_RADIOCONTROL_CH1", "AXIS_RADIOCONTROL_CH2", "AXIS_RADIOCONTROL_CH3",
    "AXIS_RADIOCONTROL_CH4", "AXIS_RADIOCONTROL_CH5", "AXIS_RADIOCONTROL_CH6",
    "AXIS_RADIOCONTROL_CH7", "AXIS_RADIOCONTROL_CH8", "AXIS_RADIOCONTROL_CH9",
    "AXIS_KEYBOARD_1",       "AXIS_KEYBOARD_2",       "AXIS_KEYBOARD_3",
    "AXIS_KEYBOARD_4",       "AXIS_KEYBOARD_5",       "AXIS_KEYBOARD_6",
    "AXIS_UNKNOWN",
};

const char* const kAxisDisplayNames[AXIS_COUNT] = {
    "Mouse X",     "Mouse Y",     "Mouse Z",       "Joystick X",    "Joystick Y",
    "Joystick Z",  "Joystick RX", "Joystick RY",   "Joystick RZ",   "Joystick SL0",
    "Joystick SL1", "Joystick POV1", "Joystick POV2", "Joystick POV3", "Joystick POV4",
    "RadioTX CH1", "RadioTX CH2", "RadioTX CH3",   "RadioTX CH4",   "RadioTX CH5",
    "RadioTX CH6", "RadioTX CH7", "RadioTX CH8",   "RadioTX CH9",   "Key Axis 1",
    "Key Axis 2",  "Key Axis 3",  "Key Axis 4",    "Key Axis 5",    "Key Axis 6",
    "-",
};

const char* const kButtonTokens[BUTTON_COUNT] = {
    "BUTTON_MOUSE_LEFT",        "BUTTON_MOUSE_RIGHT",       "BUTTON_MOUSE_CENTER",
    "BUTTON_JOYSTICK_1",        "BUTTON_JOYSTICK_2",        "BUTTON_JOYSTICK_3",
    "BUTTON_JOYSTICK_4",        "BUTTON_JOYSTICK_5",        "BUTTON_JOYSTICK_6",
    "BUTTON_JOYSTICK_7",        "BUTTON_JOYSTICK_8",        "BUTTON_JOYSTICK_9",
    "BUTTON_JOYSTICK_10",       "BUTTON_JOYSTICK_11",       "BUTTON_JOYSTICK_12",
    "BUTTON_JOYSTICK_POV1_N",   "BUTTON_JOYSTICK_POV1_NE",  "BUTTON_JOYSTICK_POV1_E",
    "BUTTON_JOYSTICK_POV1_SE",  "BUTTON_JOYSTICK_POV1_S",   "BUTTON_JOYSTICK_POV1_SW",
    "BUTTON_JOYSTICK_POV1_W",   "BUTTON_JOYSTICK_POV1_NW",  "BUTTON_JOYSTICK_POV2_N",
    "BUTTON_JOYSTICK_POV2_NE",  "BUTTON_JOYSTICK_POV2_E",   "BUTTON_JOYSTICK_POV2_SE",
    "BUTTON_JOYSTICK_POV2_S",   "BUTTON_JOYSTICK_POV2_SW",  "BUTTON_JOYSTICK_POV2_W",
    "BUTTON_JOYSTICK_POV2_NW",  "BUTTON_JOYSTICK_POV3_N",   "BUTTON_JOYSTICK_POV3_NE",
    "BUTTON_JOYSTICK_POV3_E",   "BUTTON_JOYSTICK_POV3_SE",  "BUTTON_JOYSTICK_POV3_S",
    "BUTTON_JOYSTICK_POV3_SW",  "BUTTON_JOYSTICK_POV3_W",   "BUTTON_JOYSTICK_POV3_NW",
    "BUTTON_JOYSTICK_POV4_N",   "BUTTON_JOYSTICK_POV4_NE",  "BUTTON_JOYSTICK_POV4_E",
    "BUTTON_JOYSTICK_POV4_SE",  "BUTTON_JOYSTICK_POV4_S",   "BUTTON_JOYSTICK_POV4_SW",
    "BUTTON_JOYSTICK_POV4_W",   "BUTTON_JOYSTICK_POV4_NW",
};
} // namespace

const char* AxisToken(int axisId)
{
    return axisId >= 0 && axisId < AXIS_COUNT ? kAxisTokens[axisId] : nullptr;
}

const char* AxisDisplayName(int axisId)
{
    return axisId >= 0 && axisId < AXIS_COUNT ? kAxisDisplayNames[axisId] : nullptr;
}

const char* const* AxisDisplayNames()
{
    return kAxisDisplayNames;
}

int LookupAxisToken(const char* token)
{
    if (token != nullptr)
        for (int i = 0; i < AXIS_COUNT; ++i)
            if (std::strcmp(token, kAxisTokens[i]) == 0)
                return i;
    return AXIS_UNKNOWN;
}

bool IsKnownAxisToken(const char* token)
{
    if (token == nullptr)
        return false;
    for (const char* known : kAxisTokens)
        if (std::strcmp(token, known) == 0)
            return true;
    return false;
}

const char* ButtonToken(int buttonId)
{
    return buttonId >= 0 && buttonId < BUTTON_COUNT ? kButtonTokens[buttonId] : nullptr;
}
