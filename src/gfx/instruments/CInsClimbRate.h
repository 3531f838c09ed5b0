#pragma once
// CLIMB_RATE: the vertical speed relative to the air, positive upwards (minus the Y component of
// the model's air velocity), published in m/s into VARIABLE_VERTICAL_SPEED and shown in UNITS (a
// speed; KILOMETER_PER_HOUR when missing or unknown): a needle that rests at nine o'clock and
// turns clockwise for a climb, full deflection (170 degrees) at 10 m/s either way, and the text
// "%+04.1f<unit>".

#include "gfx/instruments/CBInstrument.h"
#include "gfx/instruments/Units.h"

class CInsClimbRate : public CBInstrument
{
public:
    static constexpr float kFullScale = 10.0f; // m/s at full deflection

    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    float GetDisplayValue() const { return m_display; }
    std::string GetText() const;
    float GetNeedleAngle() const; // rad clockwise from up

private:
    CVariable* m_variable = nullptr; // the panel's; not owned
    int m_unit = UNIT_KILOMETER_PER_HOUR;
    float m_climb = 0.0f;   // m/s, up
    float m_display = 0.0f; // in the unit
};
