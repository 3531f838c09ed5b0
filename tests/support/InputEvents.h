#pragma once
// Input events as the frame hands them to screens and cameras: a key with its state bits, or a
// command posted with no key.

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
