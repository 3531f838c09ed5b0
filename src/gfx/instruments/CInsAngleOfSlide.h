#pragma once
// ANGLE_OF_SLIDE: the model's angle of slide (the air angle of the air data, positive when the
// air comes from the right of the nose), published in radians into VARIABLE_ANGLE_SLIDE: a
// needle hanging from the top of the dial toward the side the air comes from (clamped to 90
// degrees) and the text "% 3.1fo" in degrees.

#include "gfx/instruments/CBInstrument.h"

class CInsAngleOfSlide : public CBInstrument
{
public:
    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    float GetAngle() const { return m_angle; } // rad
    std::string GetText() const;
    float GetNeedleAngle() const; // rad clockwise from up

private:
    CVariable* m_variable = nullptr; // the panel's; not owned
    float m_angle = 0.0f;            // rad
};
