#include "model/CPartInputForce.h"

#include <cmath>

#include "core/Diagnostics.h"
#include "model/CModel.h"
#include "model/CVariable.h"
#include "model/CVariableSearchList.h"
#include "model/PartClassTable.h"

namespace
{
constexpr float kDegToRad = 0.017453292f;
} // namespace

CPartInputForce::CPartInputForce() : CPartPhysic(PART_INPUT_FORCE) {}

bool CPartInputForce::ApplyProperties()
{
    const float h = m_set.headingDeg * kDegToRad;
    const float p = m_set.pitchDeg * kDegToRad;
    m_direction = CVector3(std::sin(h) * std::cos(p), std::sin(p), -std::cos(h) * std::cos(p));
    m_forces[0].point = m_set.position;

    m_variable = nullptr;
    if (m_model != nullptr && !m_set.variable.empty())
        m_variable = m_model->GetVariableSearchList().Find(m_set.variable);
    if (m_variable == nullptr && m_model != nullptr)
        DiagPrint("%s: INPUT_FORCE '%s': variable '%s' not found, the part pushes nothing\n",
                  m_model->GetFileName().c_str(), GetName().c_str(), m_set.variable.c_str());
    m_linked = m_variable != nullptr;
    return m_linked;
}

void CPartInputForce::CalcForces(float)
{
    CForce& force = m_forces[0];
    if (!m_linked || m_variable == nullptr || m_model == nullptr)
    {
        force.vector = CVector3();
        return;
    }
    force.point = m_set.position;
    force.vector = m_model->GetBody().BodyToWorldVector(m_direction * (m_variable->GetValue() * m_set.maxForce));
}
