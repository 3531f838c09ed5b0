#include "model/CPartPropeller.h"

#include "core/Diagnostics.h"
#include "model/CAirfoilList.h"
#include "model/CModel.h"
#include "model/PartClassTable.h"

CPartPropeller::CPartPropeller() : CPart(PART_PROPELLER) {}

bool CPartPropeller::AttachToModel(CModel& model)
{
    CPart::AttachToModel(model);
    m_calculator.Invalidate();
    return true;
}

bool CPartPropeller::ApplyProperties()
{
    // The part is always linked: an engine may name it whatever its airfoil; without the
    // airfoil the calculator is invalid and the engine sees zero thrust.
    m_linked = true;
    const std::string who = (m_model != nullptr ? m_model->GetFileName() : std::string("?")) + ": PROPELLER '" +
                            GetName() + "'";
    const CAirfoil* airfoil = Airfoils().GetForPart(m_set.airfoil, who);
    m_calculator.Setup(airfoil, m_set.numberOfBlades, m_set.diameter, m_set.pitch, m_set.chordToDiameterRatio);
    if (airfoil != nullptr && !m_calculator.IsValid())
        DiagPrint("%s: DIAMETER %g, PITCH %g, NUMBER_OF_BLADES %i give no propeller; it makes no thrust\n",
                  who.c_str(), static_cast<double>(m_set.diameter), static_cast<double>(m_set.pitch),
                  m_set.numberOfBlades);
    return true;
}
