#pragma once
// The platform layer's key identifiers mapped onto the scan-code slots the key names and
// Config.txt use: SDL scancodes to DIK scan codes, and SDL's joystick units to the raw units of
// CInputJoystick.

#include <cstdint>

#include <SDL2/SDL_joystick.h>
#include <SDL2/SDL_scancode.h>

// The DIK scan code of an SDL scancode; 0 for keys without a slot (they are ignored).
uint32_t ScanCodeFromSdl(SDL_Scancode scancode);

// SDL axis -32768..32767 to -1000..1000.
int JoystickAxisFromSdl(int16_t value);
// SDL axis -32768..32767 to 0..1000 (sliders).
int JoystickSliderFromSdl(int16_t value);
// SDL hat bits to hundredths of a degree clockwise from north, or 0xFFFFFFFF when centred.
uint32_t JoystickHatFromSdl(uint8_t hat);
