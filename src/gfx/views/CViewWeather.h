#pragma once
// The wind dialog: number edits for speed, direction and slope, a slider for the turbulence,
// number edits for the thermals' strength, radius, density and lifetime (see
// CViewSettingsDialog for the rows, the buttons and what OK, Cancel and Default do). Every
// change blows at once; OK writes Output/Weather.txt.

#include <string>

#include "gfx/views/CViewSettingsDialog.h"

class CWind;

class CViewWeather : public CViewSettingsDialog
{
public:
    // Where it first opens: under the menu bar and the instrument panel, at the left.
    static constexpr int kLeft = 20;
    static constexpr int kTop = 110;

    // The wind belongs to the flight screen and outlives the dialog.
    CViewWeather(const std::string& name, CWind& wind);

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
        float velocity = 0.0f;
        float heading = 0.0f;
        float pitch = 0.0f;
        float turbulence = 0.0f;
        float thermalStrength = 0.0f;
        float thermalRadius = 0.0f;
        float thermalDensity = 0.0f;
        float thermalLifetime = 0.0f;
    };

    CWind& m_wind;
    TSnapshot m_start;
};
