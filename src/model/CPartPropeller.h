#pragma once
// PROPELLER: a fixed-pitch propeller, without mass and without forces of its own. The engine
// that names it (ENGINE_PROP's TOKEN_PROPELLER) asks it for thrust and torque at the current
// air speed and propeller speed; see CPropellerCalculator for the blade-element sum.
//
// A propeller whose airfoil cannot be loaded stays in the model with an invalid calculator:
// it gives zero thrust and torque (reported once per ApplyProperties, naming file and part).

#include <string>

#include "model/CPart.h"
#include "model/CPropellerCalculator.h"
#include "model/CPropertySet_Propeller.h"

class CPartPropeller : public CPart
{
public:
    CPartPropeller();

    bool AttachToModel(CModel& model) override;
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }

    // Thrust (N) and torque (N*m) at an axial air speed (m/s) and a speed (rev/s).
    void Calc(float airSpeed, float revPerSecond, float& outThrust, float& outTorque,
              std::string* trace = nullptr) const
    {
        m_calculator.Calc(airSpeed, revPerSecond, outThrust, outTorque, trace);
    }
    const CPropellerCalculator& GetCalculator() const { return m_calculator; }
    CPropertySet_Propeller& GetSettings() { return m_set; }

private:
    CPropertySet_Propeller m_set;
    CPropellerCalculator m_calculator; // filled by ApplyProperties
};
