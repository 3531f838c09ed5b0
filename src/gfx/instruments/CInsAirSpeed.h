#pragma once
// AIR_SPEED: the airspeed (length of the air velocity relative to the model), published in m/s
// into VARIABLE_AIR_SPEED and shown in UNITS (a speed; KILOMETER_PER_HOUR when missing or
// unknown): a needle making one turn per 100 display units and the text "%04.1f<unit>".

#include "gfx/instruments/CBInstrument.h"
#include "gfx/instruments/Units.h"

class CInsAirSpeed : public CBInstrument
{
public:
    static constexpr float kUnitsPerTurn = 100.0f;

    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    float GetDisplayValue() const { return m_display; } // in the unit
    int GetUnit() const { return m_unit; }
    std::string GetText() const;
    float GetNeedleAngle() const; // rad clockwise from up

private:
    CVariable* m_variable = nullptr; // the panel's; not owned
    int m_unit = UNIT_KILOMETER_PER_HOUR;
    float m_display = 0.0f;
};
