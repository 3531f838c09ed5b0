#include "input/KeyCodes.h"

#include <strings.h>

#include <array>
#include <cstdio>

#include "input/UserCommands.h"

namespace
{
struct SNamedKey
{
    uint32_t code;
    const char* name;
};

// Every scan code with a name of its own; the rest are named by their hex value.
const SNamedKey kNamedScanCodes[] = {
    {0x01, "Escape"}, {0x02, "1"}, {0x03, "2"}, {0x04, "3"}, {0x05, "4"}, {0x06, "5"}, {0x07, "6"},
    {0x08, "7"}, {0x09, "8"}, {0x0A, "9"}, {0x0B, "0"}, {0x0C, "-"}, {0x0D, "Equals"}, {0x0E, "Backspace"},
    {0x0F, "Tab"}, {0x10, "Q"}, {0x11, "W"}, {0x12, "E"}, {0x13, "R"}, {0x14, "T"}, {0x15, "Y"}, {0x16, "U"},
    {0x17, "I"}, {0x18, "O"}, {0x19, "P"}, {0x1A, "Left Bracket"}, {0x1B, "Right Bracket"}, {0x1C, "Return"},
    {0x1D, "Left Control"}, {0x1E, "A"}, {0x1F, "S"}, {0x20, "D"}, {0x21, "F"}, {0x22, "G"}, {0x23, "H"},
    {0x24, "J"}, {0x25, "K"}, {0x26, "L"}, {0x27, "Semicolon"}, {0x28, "Apostrophe"}, {0x29, "Grave"},
    {0x2A, "Left Shift"}, {0x2B, "Backslash"}, {0x2C, "Z"}, {0x2D, "X"}, {0x2E, "C"}, {0x2F, "V"},
    {0x30, "B"}, {0x31, "N"}, {0x32, "M"}, {0x33, "Comma"}, {0x34, "Period"}, {0x35, "Slash"},
    {0x36, "Right Shift"}, {0x37, "NumPad Multiply"}, {0x38, "Left Alt"}, {0x39, "Space"}, {0x3A, "Capslock"},
    {0x3B, "F1"}, {0x3C, "F2"}, {0x3D, "F3"}, {0x3E, "F4"}, {0x3F, "F5"}, {0x40, "F6"}, {0x41, "F7"},
    {0x42, "F8"}, {0x43, "F9"}, {0x44, "F10"}, {0x45, "NumLock"}, {0x46, "Scroll"}, {0x47, "NumPad 7"},
    {0x48, "NumPad 8"}, {0x49, "NumPad 9"}, {0x4A, "NumPad Minus"}, {0x4B, "NumPad 4"}, {0x4C, "NumPad 5"},
    {0x4D, "NumPad 6"}, {0x4E, "NumPad Add"}, {0x4F, "NumPad 1"}, {0x50, "NumPad 2"}, {0x51, "NumPad 3"},
    {0x52, "NumPad 0"}, {0x53, "NumPad Decimal"}, {0x56, "OEM_102"}, {0x57, "F11"}, {0x58, "F12"},
    {0x64, "F13"}, {0x65, "F14"}, {0x66, "F15"}, {0x70, "KANA"}, {0x73, "ABNT_C1"}, {0x79, "Convert"},
    {0x7B, "No Convert"}, {0x7D, "Yen"}, {0x7E, "ABNT_C2"}, {0x8D, "NumPad Equals"}, {0x90, "Prev Track"},
    {0x91, "AT"}, {0x92, "Colon"}, {0x93, "Underline"}, {0x94, "Kanji"}, {0x95, "Stop"}, {0x96, "AX"},
    {0x97, "Unlabeled"}, {0x99, "Next Track"}, {0x9C, "NumPad Enter"}, {0x9D, "Right Contol"}, {0xA0, "Mute"},
    {0xA1, "Calculator"}, {0xA2, "Play/Pause"}, {0xA4, "Media Stop"}, {0xAE, "Volume Down"},
    {0xB0, "Volume Up"}, {0xB2, "Web Home"}, {0xB3, "NumPad Comma"}, {0xB5, "NumPad Divide"},
    {0xB7, "Sys Rq"}, {0xB8, "Right Alt"}, {0xC5, "Pause"}, {0xC7, "Home"}, {0xC8, "Up"}, {0xC9, "Page Up"},
    {0xCB, "Left"}, {0xCD, "Right"}, {0xCF, "End"}, {0xD0, "Down"}, {0xD1, "Page Down"}, {0xD2, "Insert"},
    {0xD3, "Delete"}, {0xDB, "Left Win"}, {0xDC, "Right Win"}, {0xDD, "Apps"}, {0xDE, "Power"},
    {0xDF, "Sleep"}, {0xE3, "WAKE"}, {0xE5, "Web Search"}, {0xE6, "Web Favorites"}, {0xE7, "Web Refresh"},
    {0xE8, "Web Stop"}, {0xE9, "Web Forward"}, {0xEA, "Web Back"}, {0xEB, "My Computer"}, {0xEC, "Mail"},
    {0xED, "Media Select"},
};

const char* const kHatDirectionNames[kHatDirectionCount] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

// The 305 names, built once.
const std::array<std::string, KEY_CODE_COUNT>& KeyNameTable()
{
    static const std::array<std::string, KEY_CODE_COUNT> table = [] {
        std::array<std::string, KEY_CODE_COUNT> names;
        char buffer[32];
        for (uint32_t code = 0; code < KEY_SCANCODE_COUNT; ++code)
        {
            std::snprintf(buffer, sizeof buffer, "0x%02X", code);
            names[code] = buffer;
        }
        for (const SNamedKey& key : kNamedScanCodes)
            names[key.code] = key.name;
        names[KEY_BUTTON_BASE + BUTTON_MOUSE_LEFT] = "Mouse Left Button";
        names[KEY_BUTTON_BASE + BUTTON_MOUSE_RIGHT] = "Mouse Right Button";
        names[KEY_BUTTON_BASE + BUTTON_MOUSE_CENTER] = "Mouse Center Button";
        for (int i = 0; i < kJoystickButtonCount; ++i)
        {
            std::snprintf(buffer, sizeof buffer, "Joystick Button %d", i + 1);
            names[KEY_BUTTON_BASE + BUTTON_JOYSTICK_1 + i] = buffer;
        }
        for (int hat = 0; hat < kHatCount; ++hat)
            for (int d = 0; d < kHatDirectionCount; ++d)
            {
                std::snprintf(buffer, sizeof buffer, "Joystick POV%d %s", hat + 1, kHatDirectionNames[d]);
                names[KEY_BUTTON_BASE + BUTTON_JOYSTICK_POV1_N + 8 * hat + d] = buffer;
            }
        names[KEY_BOTH_KEYS] = "BOTH KEYS";
        names[KEY_NONE] = "";
        return names;
    }();
    return table;
}

bool StripPrefix(const std::string& text, size_t& ioPos, const char* prefix)
{
    const size_t length = std::char_traits<char>::length(prefix);
    if (text.compare(ioPos, length, prefix) != 0)
        return false;
    ioPos += length;
    return true;
}
} // namespace

const char* KeyName(uint32_t keyCode)
{
    return keyCode < KEY_CODE_COUNT ? KeyNameTable()[keyCode].c_str() : "";
}

std::string FormatKey(uint32_t keyCode, uint32_t flags)
{
    std::string text;
    if (flags & IE_SHIFT)
        text += "SHIFT+";
    if (flags & IE_CTRL)
        text += "CTRL+";
    if (flags & IE_ALT)
        text += "ALT+";
    text += KeyName(keyCode);
    return text;
}

bool ParseKey(const std::string& text, uint32_t& outKey, uint32_t& outModifiers)
{
    outKey = KEY_NONE;
    outModifiers = 0;
    size_t pos = 0;
    for (;;)
    {
        if (StripPrefix(text, pos, "SHIFT+"))
            outModifiers |= IE_SHIFT;
        else if (StripPrefix(text, pos, "CTRL+"))
            outModifiers |= IE_CTRL;
        else if (StripPrefix(text, pos, "ALT+"))
            outModifiers |= IE_ALT;
        else
            break;
    }
    if (text.empty())
        return true;
    // Modifiers with nothing after them name no key.
    if (pos == text.size())
        return false;
    const char* rest = text.c_str() + pos;
    const auto& names = KeyNameTable();
    for (uint32_t code = 0; code < KEY_NONE; ++code)
        if (strcasecmp(rest, names[code].c_str()) == 0)
        {
            outKey = code;
            return true;
        }
    return false;
}

std::string DescribeEvent(const CInputEvent& event)
{
    std::string text = FormatKey(event.key, event.flags);
    if (event.flags & IE_IS_DOWN)
        text += " IS-DOWN";
    if (event.flags & IE_GOING_DOWN)
        text += " GOING-DOWN";
    if (event.flags & IE_GOING_UP)
        text += " GOING-UP";
    if (event.flags & IE_REPEAT)
        text += " REPEAT";
    text += ' ';
    text += UserCommandName(event.command);
    return text;
}
