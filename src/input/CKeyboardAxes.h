#pragma once
// The six keyboard axes that feed AXIS_KEYBOARD_1 .. AXIS_KEYBOARD_6, their handling of the
// twelve UC_KEYAXIS_ commands, and their section of Config.txt:
//
//   //---------------
//   // Keyboard Axes
//   //---------------
//   .AXIS_KEYBOARD AXIS_KEYBOARD_1
//   {
//     .AUTO_CENTRE 1
//     .TIME_FULL_RANGE 0.800000
//   }
//
// Only configured slots are written. Created by the application before the input system, which
// binds the six value addresses as axes.

#include <string>

#include "input/CInputEvent.h"
#include "input/CKeyboardAxis.h"

class CFile;
class CTokenFile;

class CKeyboardAxes
{
public:
    static constexpr int kCount = 6;

    // Advances all six by the frame time (s).
    void Update(float frameTime);
    // INC/DEC commands set or clear the held flags (IS-DOWN sets, GOING-UP clears); returns the
    // command when it is one of the twelve, else 0.
    int HandleEvent(const CInputEvent& event);

    // Slot 0..5 (asserted).
    CKeyboardAxis& Get(int slot);
    const CKeyboardAxis& Get(int slot) const;
    const float* GetValuePtr(int slot) const { return &Get(slot).value; }

    // Releases every key (e.g. when the window loses the keyboard).
    void ReleaseKeys();

    // Resets every slot, then reads AXIS_KEYBOARD blocks until none is left. False with a message
    // naming the file and token for a token that is not AXIS_KEYBOARD_1 .. _6 or a slot read
    // twice.
    bool Read(CTokenFile& file, std::string& outMessage);
    // The whole section with its header.
    void Write(CFile& file) const;

private:
    CKeyboardAxis m_axes[kCount];
};
