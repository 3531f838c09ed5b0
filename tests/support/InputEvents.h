#pragma once
// Input events as the frame hands them to screens and cameras: a key with its state bits, or a
// command posted with no key.

#include <ostream>

#include "input/CInputEvent.h"

constexpr uint32_t kPressed = IE_GOING_DOWN | IE_IS_DOWN; // the frame a key goes down

inline CInputEvent KeyEventOf(uint32_t key, uint32_t flags)
{
    return {key, flags};
}

inline CInputEvent CommandEvent(uint32_t command, uint32_t flags = kPressed)
{
    return {KEY_NONE, flags, 0, command};
}

// Key, state bits and command: what a screen acts on (the group follows from the command).
inline bool operator==(const CInputEvent& a, const CInputEvent& b)
{
    return a.key == b.key && a.flags == b.flags && a.command == b.command;
}

inline std::ostream& operator<<(std::ostream& out, const CInputEvent& e)
{
    return out << "{key " << e.key << ", flags " << e.flags << ", command " << e.command << "}";
}
