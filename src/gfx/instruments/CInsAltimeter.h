#pragma once
// ALTIMETER: the body's world height Y, published in metres into VARIABLE_ALTITUDE and shown in
// UNITS (a length; METER when missing or unknown): a needle making one turn per 100 display
// units, like the hundreds hand of a full-size altimeter, and the text "%4.1f<unit>".

#include "gfx/instruments/CBInstrument.h"
#include "gfx/instruments/Units.h"

class CInsAltimeter : public CBInstrument
{
public:
    static constexpr float kUnitsPerTurn = 100.0f;

    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    float GetDisplayValue() const { return m_display; }
    std::string GetText() const;
    float GetNeedleAngle() const; // rad clockwise from up

private:
    CVariable* m_variable = nullptr; // the panel's; not owned
    int m_unit = UNIT_METER;
    float m_display = 0.0f;
};
