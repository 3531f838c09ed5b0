#pragma once
// The sound dialog: master volume, engine volume, the engine sound switch and stereo placement,
// from the sound settings (see CViewSettingsDialog for the rows, the buttons and what OK, Cancel
// and Default do). Every change is heard at once; OK writes Output/Sound.txt.

#include "gfx/views/CViewSettingsDialog.h"
#include <string>

class CSoundSystem;

class CViewSound : public CViewSettingsDialog
{
public:
    // Where it first opens: right of the wind dialog, under the menu bar and the panel.
    static constexpr int kLeft = 400;
    static constexpr int kTop = 110;

    // The sound system belongs to the application and outlives the dialog.
    CViewSound(const std::string& name, CSoundSystem& sound);

protected:
    void ApplySettings() override;
    bool SaveSettings(std::string& outError) override;
    void SetDefaults() override;
    void TakeSnapshot() override;
    void RestoreSnapshot() override;

private:
    // The settings as they were when the dialog was shown.
    struct TSnapshot
    {
        float globalVolume = 1.0f;
        float engineVolume = 1.0f;
        bool engineEnabled = true;
        bool positionalPanning = true;
    };

    CSoundSystem& m_sound;
    TSnapshot m_start;
};
