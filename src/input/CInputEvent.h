#pragma once
// The event record that keys, mouse buttons, joystick buttons and user commands travel in, and
// the bits of its flags word. Key definitions share the flags word layout.

#include <cstdint>

#include "input/InputIds.h"

// Flags word bits.
constexpr uint32_t IE_ALT = 0x1000;        // an Alt key is held       ("ALT+")
constexpr uint32_t IE_CTRL = 0x2000;       // a Control key is held    ("CTRL+")
constexpr uint32_t IE_SHIFT = 0x4000;      // a Shift key is held      ("SHIFT+")
constexpr uint32_t IE_GOING_DOWN = 0x8000; // went down this frame     (" GOING-DOWN")
constexpr uint32_t IE_GOING_UP = 0x10000;  // went up this frame       (" GOING-UP")
constexpr uint32_t IE_IS_DOWN = 0x20000;   // is down                  (" IS-DOWN")
constexpr uint32_t IE_REPEAT = 0x40000;    // auto-repeat fired        (" REPEAT")

constexpr uint32_t IE_MODIFIER_MASK = IE_ALT | IE_CTRL | IE_SHIFT;
constexpr uint32_t IE_STATE_MASK = IE_GOING_DOWN | IE_GOING_UP | IE_IS_DOWN | IE_REPEAT;

constexpr uint32_t kCommandNone = 120; // UC_UNDEFINED: no command
constexpr uint32_t kGroupNone = 12;    // no command group

// One key event (or a posted command). Commands posted by screens carry key KEY_NONE and group
// kGroupNone.
struct CInputEvent
{
    uint32_t key = KEY_NONE;        // key code (InputIds.h)
    uint32_t flags = 0;             // IE_ bits
    uint32_t param = 0;             // 0 for device events
    uint32_t command = kCommandNone; // resolved user command (UserCommands.h)
    uint32_t group = kGroupNone;     // the command's group

    uint32_t Modifiers() const { return flags & IE_MODIFIER_MASK; }
    bool IsGoingDown() const { return (flags & IE_GOING_DOWN) != 0; }
    bool IsGoingUp() const { return (flags & IE_GOING_UP) != 0; }
    bool IsDown() const { return (flags & IE_IS_DOWN) != 0; }
    bool IsRepeat() const { return (flags & IE_REPEAT) != 0; }
};
