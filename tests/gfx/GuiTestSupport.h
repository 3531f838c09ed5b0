#pragma once
// A recording GUI host and sound sink, and makers of the events the input system delivers.

#include <string>
#include <vector>

#include "data/CFile.h"
#include "gfx/draw2d/Gfx2D.h"
#include "gfx/gui/CBControlItem.h"
#include "gfx/gui/GuiHost.h"
#include "support/InputEvents.h"
#include "support/DataDir.h"
#include "input/CInputEvent.h"
#include "input/KeyCodes.h"

// The shipped sprites and fonts in the program's shared lists (control sizes come from the
// fonts). Loaded once; needs no GL context.
inline void EnsureGfx2DLoaded()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    DataDirAt shipped(SourceDir());
    InitGfx2D();
}

class CRecordingHost : public IGuiHost, public IGuiSounds
{
public:
    CRecordingHost() { EnsureGfx2DLoaded(); }

    void PostEvent(const CInputEvent& event) override { posted.push_back(event); }
    void RequestProcess(int processIndex) override { requests.push_back(processIndex); }
    void GetMousePosition(int& outX, int& outY) const override
    {
        outX = mouseX;
        outY = mouseY;
    }
    float MouseIdleSeconds() const override { return idle; }
    float KeyIdleSeconds() const override { return idle; }
    IGuiSounds* Sounds() override { return this; }
    void Play(const char* fileName) override { sounds.push_back(fileName); }
    void MouseAt(int x, int y)
    {
        mouseX = x;
        mouseY = y;
    }

    std::vector<CInputEvent> posted;
    std::vector<int> requests;
    std::vector<std::string> sounds;
    int mouseX = -1;
    int mouseY = -1;
    float idle = 0.0f;
};

inline CInputEvent KeyDown(uint32_t key, uint32_t modifiers = 0)
{
    return KeyEventOf(key, kPressed | modifiers);
}

inline CInputEvent KeyRepeat(uint32_t key, uint32_t modifiers = 0)
{
    return KeyEventOf(key, IE_IS_DOWN | IE_REPEAT | modifiers);
}

inline CInputEvent KeyUp(uint32_t key, uint32_t modifiers = 0)
{
    return KeyEventOf(key, IE_GOING_UP | modifiers);
}

inline CInputEvent MouseDown()
{
    return KeyDown(KEY_MOUSE_LEFT);
}

inline CInputEvent MouseUp()
{
    return KeyUp(KEY_MOUSE_LEFT);
}

// Presses the keys on a control one after another; true when it took every one.
inline bool PressKeys(CBControlItem& control, std::initializer_list<uint32_t> keys, uint32_t modifiers = 0)
{
    bool all = true;
    for (uint32_t key : keys)
        all = control.OnKey(KeyDown(key, modifiers)) == kEventConsumed && all;
    return all;
}
