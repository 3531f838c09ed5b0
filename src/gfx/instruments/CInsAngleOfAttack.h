#pragma once
// ANGLE_OF_ATTACK: the angles of attack of two WING2 parts, LEFT_WING and RIGHT_WING (the left
// one published in radians into VARIABLE_ANGLE_ATTACK). REPRESENTATION_MODEL chooses the picture:
//   MAX_ANGLE     one 48-pixel line from the gauge's left side at the larger angle, with its value;
//   BOTH_ANGLES   two 32-pixel lines from the centre at the left and right angles with their
//                 values, and a third at their difference;
//   AVERAGE_ANGLE one 48-pixel line from the left side at the mean of the two, with its value.
// Above the stall limit (14 degrees) for the larger angle, "Stall Warning" shows under the gauge.
// A named wing that is not a WING2 part of the model fails the Init; a side left unnamed reads 0.

#include "gfx/instruments/CBInstrument.h"

class CPartWing2;

class CInsAngleOfAttack : public CBInstrument
{
public:
    enum ERepresentation
    {
        REPRESENT_AVERAGE = 0,
        REPRESENT_MAX = 1,
        REPRESENT_BOTH = 2
    };
    static constexpr float kStallLimit = 0.2443461f; // rad, 14 degrees

    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    float GetLeftAngle() const { return m_left; }   // rad
    float GetRightAngle() const { return m_right; } // rad
    bool IsStallWarning() const;
    int GetRepresentation() const { return m_representation; }

private:
    CPartWing2* m_leftWing = nullptr; // the model's parts; not owned
    CPartWing2* m_rightWing = nullptr;
    CVariable* m_variable = nullptr;  // the panel's; not owned
    int m_representation = REPRESENT_MAX;
    float m_left = 0.0f;
    float m_right = 0.0f;
    float m_stallLimit = kStallLimit;
};
