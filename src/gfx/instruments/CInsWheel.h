#pragma once
// WHEEL: the state of one wheel part named by the key WHEEL (a WHEEL3 part first, else a WHEEL
// part): "Skid" / "No Skid" and "Contact" / "No Contact" in the gauge, and the wheel's
// diagnostic lines under it (angular velocity and position, the hub velocity in wheel axes,
// the suspension compression). A plain WHEEL part only knows its contact. Publishes nothing.

#include <string>
#include <vector>

#include "gfx/instruments/CBInstrument.h"

class CPartWheel;
class CPartWheel3;

class CInsWheel : public CBInstrument
{
public:
    bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName) override;
    void Update() override;
    void BuildFace(CInstrumentFace& outFace) const override;

    bool IsSkidding() const { return m_skidding; }
    bool IsInContact() const { return m_contact; }
    // The diagnostic lines of the last update.
    const std::vector<std::string>& GetLines() const { return m_lines; }

private:
    CPartWheel3* m_wheel3 = nullptr; // the model's parts; not owned
    CPartWheel* m_wheel = nullptr;
    bool m_skidding = false;
    bool m_contact = false;
    std::vector<std::string> m_lines;
};
