#include "model/CPartBattery.h"

#include "model/CModel.h"
#include "model/PartClassTable.h"

CPartBattery::CPartBattery() : CPartPhysic(PART_BATTERY) {}

bool CPartBattery::ApplyProperties()
{
    m_massElement.Reset();
    if (const float mass = UsableMass(m_set.mass, "MASS"); mass > 0.0f)
        m_massElement.AddSmallCube(mass, m_set.position);
    if (m_model != nullptr)
        m_model->SetMassMustBeRecomputed();
    m_linked = true;
    return true;
}
