#pragma once
// The controls' clicks and pips (IGuiSounds) played by the sound system's interface sounds. The
// controls live in the graphics and the sound system knows nothing of them; the application
// joins the two.

#include "gfx/gui/GuiHost.h"
#include "sound/CSoundSystem.h"

class CGuiSounds : public IGuiSounds
{
public:
    // The sound system belongs to the application and outlives this adapter.
    explicit CGuiSounds(CSoundSystem& sound) : m_sound(sound) {}
    void Play(const char* fileName) override { m_sound.PlayInterfaceSound(fileName); }

private:
    CSoundSystem& m_sound;
};
