#pragma once
// COMPASS: the heading, published in radians into VARIABLE_HEADING and shown as "%04.1f" degrees
// in 0..360 (360 is added to negative headings), over a card with N, E, S and W that turns
// under a fixed mark at the top.

#include "gfx/instruments/CBInstrument.h"

class CInsCompass : public CBInstrument
{
public:
    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    float GetDegrees() const; // 0..360
    std::string GetText() const;

private:
    CVariable* m_variable = nullptr; // the panel's; not owned
    float m_heading = 0.0f;          // rad, as the body gives it (-pi..pi)
};
