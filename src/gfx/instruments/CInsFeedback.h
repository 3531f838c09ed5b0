#pragma once
// INPUT_FEEDBACK: where the sticks are. LEFT_STICK_X, LEFT_STICK_Y, RIGHT_STICK_X and
// RIGHT_STICK_Y name model variables (each optional; a missing one reads 0); values -1..1 put a
// cross in one of two stick boxes side by side (x to the right, y upwards). Publishes nothing.

#include "gfx/instruments/CBInstrument.h"

class CInsFeedback : public CBInstrument
{
public:
    enum EAxis
    {
        kLeftX = 0,
        kLeftY,
        kRightX,
        kRightY,
        kAxisCount
    };
    static constexpr float kBoxSize = 33.0f; // pixels
    static constexpr float kBoxTop = 20.0f;

    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    float GetAxis(int axis) const { return m_values[axis]; } // -1..1 as read (clamped)
    // Centre of a stick's cross in gauge pixels (stick 0 left, 1 right).
    void CrossPosition(int stick, float& outX, float& outY) const;

private:
    CVariable* m_variables[kAxisCount] = {}; // the model's search list; not owned
    float m_values[kAxisCount] = {};
};
