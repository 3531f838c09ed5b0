#pragma once
// ARTIFICIAL_HORIZON: pitch and roll, published in radians into VARIABLE_PITCH_ANGLE and
// VARIABLE_ROLL_ANGLE: a window of sky over ground whose horizon tilts against the roll (a right
// bank lifts the horizon's right end, as seen from the cockpit) and sinks as the nose rises (one
// pixel per degree), a fixed model symbol, and the texts "Pitch % 3.1f" and "Roll % 3.1f" in
// degrees.

#include "gfx/instruments/CBInstrument.h"
#include "gfx/instruments/CBInstrumentFace.h"

class CInsArtificialHorizon : public CBInstrument
{
public:
    // The horizon window, gauge pixels.
    static constexpr float kLeft = 8.0f, kTop = 16.0f, kRight = 71.0f, kBottom = 52.0f;
    static constexpr float kPixelsPerRad = 57.295776f; // one pixel per degree of pitch

    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    float GetPitch() const { return m_pitch; } // rad, nose up positive
    float GetRoll() const { return m_roll; }   // rad, right wing down positive
    std::string GetPitchText() const;
    std::string GetRollText() const;
    // The ground part of the window: the window clipped to the side of the horizon below it.
    // Empty when the horizon lies below the window, the whole window when it lies above.
    static TFacePolygon GroundPolygon(float pitchRad, float rollRad);

private:
    CVariable* m_pitchVariable = nullptr; // the panel's; not owned
    CVariable* m_rollVariable = nullptr;
    float m_pitch = 0.0f;
    float m_roll = 0.0f;
};
