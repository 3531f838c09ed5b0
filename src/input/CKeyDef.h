#pragma once
// The key bound to one user command: key code, modifier bits and the states that trigger it,
// with the key's text form as shown in menus and written to Config.txt.

#include <cstdint>
#include <string>

#include "input/CInputEvent.h"

class CKeyDef
{
public:
    uint32_t key = KEY_NONE;         // key code; KEY_NONE = no key
    uint32_t flags = 0;              // modifier bits of the key together with the state mask
    const char* defaultKeyText = ""; // the command descriptor's (static text)
    uint32_t command = kCommandNone; // UC_ index; 120 = none
    uint32_t group = kGroupNone;     // 12 = none
    std::string keyText;             // FormatKey(key, flags), at most 100 characters

    // Makes this the record of command i with no key: group, default key text and state mask
    // come from the command's descriptor.
    void ResetToCommand(uint32_t commandIndex);

    // Replaces key and modifiers by the parsed text, keeps the state bits and formats the key
    // text again. A text that does not parse leaves KEY_NONE with the modifiers it recognised;
    // returns whether it parsed.
    bool SetKeyFromText(const std::string& text);

    // Key code equal, modifiers exactly equal, and at least one state bit in common.
    bool Matches(const CInputEvent& event) const;
};
