#include "model/CPartFuelTank.h"

#include <algorithm>

#include "model/CModel.h"
#include "model/PartClassTable.h"

CPartFuelTank::CPartFuelTank() : CPartPhysic(PART_FUEL_TANK) {}

bool CPartFuelTank::ApplyProperties()
{
    m_fuelMass = m_set.capacity; // a full tank
    RebuildMass();
    m_linked = true;
    return true;
}

void CPartFuelTank::SetFuelMass(float kg)
{
    m_fuelMass = std::clamp(kg, 0.0f, std::max(0.0f, m_set.capacity));
    RebuildMass();
}

void CPartFuelTank::RebuildMass()
{
    m_massElement.Reset();
    if (m_fuelMass > 0.0f)
        m_massElement.AddSmallCube(m_fuelMass, m_set.position);
    if (m_model != nullptr)
        m_model->SetMassMustBeRecomputed();
}
