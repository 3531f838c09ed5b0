#pragma once
// Keyboard scan codes (the DirectInput DIK numbering that Config.txt and the key names use), the
// 305-entry key name table, and the text form of keys: "SHIFT+CTRL+W", "ALT+F4", "NumPad 5".

#include <cstdint>
#include <string>

#include "input/CInputEvent.h"

// Scan codes of the keys the program names in code or tests. Every code 0..255 is a valid key;
// the ones without a name here are named "0x" and two upper-case hex digits.
enum EScanCode : uint32_t
{
    DIK_ESCAPE = 0x01,
    DIK_1 = 0x02, // .. DIK_9 = 0x0A, DIK_0 = 0x0B
    DIK_0 = 0x0B,
    DIK_MINUS = 0x0C,
    DIK_EQUALS = 0x0D,
    DIK_BACK = 0x0E,
    DIK_TAB = 0x0F,
    DIK_Q = 0x10,
    DIK_W = 0x11,
    DIK_E = 0x12,
    DIK_R = 0x13,
    DIK_T = 0x14,
    DIK_Y = 0x15,
    DIK_U = 0x16,
    DIK_I = 0x17,
    DIK_O = 0x18,
    DIK_P = 0x19,
    DIK_LBRACKET = 0x1A,
    DIK_RBRACKET = 0x1B,
    DIK_RETURN = 0x1C,
    DIK_LCONTROL = 0x1D,
    DIK_A = 0x1E,
    DIK_S = 0x1F,
    DIK_D = 0x20,
    DIK_F = 0x21,
    DIK_G = 0x22,
    DIK_H = 0x23,
    DIK_J = 0x24,
    DIK_K = 0x25,
    DIK_L = 0x26,
    DIK_SEMICOLON = 0x27,
    DIK_APOSTROPHE = 0x28,
    DIK_GRAVE = 0x29,
    DIK_LSHIFT = 0x2A,
    DIK_BACKSLASH = 0x2B,
    DIK_Z = 0x2C,
    DIK_X = 0x2D,
    DIK_C = 0x2E,
    DIK_V = 0x2F,
    DIK_B = 0x30,
    DIK_N = 0x31,
    DIK_M = 0x32,
    DIK_COMMA = 0x33,
    DIK_PERIOD = 0x34,
    DIK_SLASH = 0x35,
    DIK_RSHIFT = 0x36,
    DIK_MULTIPLY = 0x37, // NumPad Multiply
    DIK_LMENU = 0x38,    // Left Alt
    DIK_SPACE = 0x39,
    DIK_CAPITAL = 0x3A,
    DIK_F1 = 0x3B, // .. DIK_F10 = 0x44
    DIK_F10 = 0x44,
    DIK_NUMLOCK = 0x45,
    DIK_SCROLL = 0x46,
    DIK_NUMPAD7 = 0x47,
    DIK_NUMPAD8 = 0x48,
    DIK_NUMPAD9 = 0x49,
    DIK_SUBTRACT = 0x4A,
    DIK_NUMPAD4 = 0x4B,
    DIK_NUMPAD5 = 0x4C,
    DIK_NUMPAD6 = 0x4D,
    DIK_ADD = 0x4E,
    DIK_NUMPAD1 = 0x4F,
    DIK_NUMPAD2 = 0x50,
    DIK_NUMPAD3 = 0x51,
    DIK_NUMPAD0 = 0x52,
    DIK_DECIMAL = 0x53,
    DIK_OEM_102 = 0x56,
    DIK_F11 = 0x57,
    DIK_F12 = 0x58,
    DIK_F13 = 0x64,
    DIK_F14 = 0x65,
    DIK_F15 = 0x66,
    DIK_KANA = 0x70,
    DIK_ABNT_C1 = 0x73,
    DIK_CONVERT = 0x79,
    DIK_NOCONVERT = 0x7B,
    DIK_YEN = 0x7D,
    DIK_ABNT_C2 = 0x7E,
    DIK_NUMPADEQUALS = 0x8D,
    DIK_PREVTRACK = 0x90,
    DIK_AT = 0x91,
    DIK_COLON = 0x92,
    DIK_UNDERLINE = 0x93,
    DIK_KANJI = 0x94,
    DIK_STOP = 0x95,
    DIK_AX = 0x96,
    DIK_UNLABELED = 0x97,
    DIK_NEXTTRACK = 0x99,
    DIK_NUMPADENTER = 0x9C,
    DIK_RCONTROL = 0x9D,
    DIK_MUTE = 0xA0,
    DIK_CALCULATOR = 0xA1,
    DIK_PLAYPAUSE = 0xA2,
    DIK_MEDIASTOP = 0xA4,
    DIK_VOLUMEDOWN = 0xAE,
    DIK_VOLUMEUP = 0xB0,
    DIK_WEBHOME = 0xB2,
    DIK_NUMPADCOMMA = 0xB3,
    DIK_DIVIDE = 0xB5, // NumPad Divide
    DIK_SYSRQ = 0xB7,
    DIK_RMENU = 0xB8, // Right Alt
    DIK_PAUSE = 0xC5,
    DIK_HOME = 0xC7,
    DIK_UP = 0xC8,
    DIK_PRIOR = 0xC9, // Page Up
    DIK_LEFT = 0xCB,
    DIK_RIGHT = 0xCD,
    DIK_END = 0xCF,
    DIK_DOWN = 0xD0,
    DIK_NEXT = 0xD1, // Page Down
    DIK_INSERT = 0xD2,
    DIK_DELETE = 0xD3,
    DIK_LWIN = 0xDB,
    DIK_RWIN = 0xDC,
    DIK_APPS = 0xDD,
    DIK_POWER = 0xDE,
    DIK_SLEEP = 0xDF,
    DIK_WAKE = 0xE3,
    DIK_WEBSEARCH = 0xE5,
    DIK_WEBFAVORITES = 0xE6,
    DIK_WEBREFRESH = 0xE7,
    DIK_WEBSTOP = 0xE8,
    DIK_WEBFORWARD = 0xE9,
    DIK_WEBBACK = 0xEA,
    DIK_MYCOMPUTER = 0xEB,
    DIK_MAIL = 0xEC,
    DIK_MEDIASELECT = 0xED,
};

// The name of a key code 0..304 ("Escape", "0x54", "Mouse Left Button", "BOTH KEYS", "");
// the empty text for codes outside the table.
const char* KeyName(uint32_t keyCode);

// "SHIFT+" "CTRL+" "ALT+" (each when its bit is set, in that order), then the key's name.
std::string FormatKey(uint32_t keyCode, uint32_t flags);

// Parses the text form. Leading "SHIFT+", "CTRL+", "ALT+" (case-sensitive, any order and
// repetition) set modifier bits; the rest is compared case-insensitively with the key names,
// first match wins. outKey is KEY_NONE when nothing matched. False only when the text was not
// empty and named no key (the empty text is the valid "no key").
bool ParseKey(const std::string& text, uint32_t& outKey, uint32_t& outModifiers);

// The formatted key, then " IS-DOWN", " GOING-DOWN", " GOING-UP", " REPEAT" for each set state
// bit, then a blank and the command's name (for the key-event overlay).
std::string DescribeEvent(const CInputEvent& event);
