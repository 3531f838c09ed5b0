#include "model/CPartDrag.h"

#include "model/CModel.h"
#include "model/IWindField.h"
#include "model/PartClassTable.h"

CPartDrag::CPartDrag() : CPartPhysic(PART_DRAG) {}

bool CPartDrag::ApplyProperties()
{
    m_linked = true;
    return true;
}

void CPartDrag::CalcForces(float)
{
    CForce& drag = m_forces[0];
    CTorque& damping = m_torques[0];
    if (!m_linked || m_model == nullptr)
    {
        drag.vector = CVector3();
        damping.vector = CVector3();
        return;
    }
    const CEngineDynamic& body = m_model->GetBody();
    drag.point = body.GetCentreOfMass();

    const CVector3 air = body.GetVelocity() - m_model->GetWindField().GetWind(body.GetPosition());
    drag.vector = air * (-kHalfAirDensity * m_set.frontalArea * m_set.frontalCoefficient * air.Length());

    const CVector3& omega = body.GetAngularVelocity();
    damping.vector = -(omega * m_set.angularDampingLin + omega * (m_set.angularDampingSq * omega.Length()));
}
