#include "model/CPartGravity.h"

#include "model/CModel.h"
#include "model/PartClassTable.h"

CPartGravity::CPartGravity() : CPartPhysic(PART_GRAVITY) {}

bool CPartGravity::ApplyProperties()
{
    m_linked = true;
    return true;
}

void CPartGravity::CalcForces(float)
{
    CForce& weight = m_forces[0];
    if (!m_linked || m_model == nullptr)
    {
        weight.vector = CVector3();
        return;
    }
    const CEngineDynamic& body = m_model->GetBody();
    weight.vector = CVector3(0.0f, -kGravity * body.GetMass(), 0.0f);
    weight.point = body.GetCentreOfMass();
}
