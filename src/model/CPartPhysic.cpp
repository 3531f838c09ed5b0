#include "model/CPartPhysic.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "model/CEngineDynamic.h"
#include "model/CModel.h"
#include "model/PartClassTable.h"

CPartPhysic::CPartPhysic(int classIndex) : CPart(classIndex)
{
    if (const TPartClassDescriptor* descriptor = GetPartClass(classIndex))
    {
        m_forces.reserve(static_cast<size_t>(descriptor->forceCount));
        for (int i = 0; i < descriptor->forceCount; ++i)
            m_forces.emplace_back(descriptor->forces[i].name, descriptor->forces[i].colour);
        m_torques.reserve(static_cast<size_t>(descriptor->torqueCount));
        for (int i = 0; i < descriptor->torqueCount; ++i)
            m_torques.emplace_back(descriptor->torques[i].name, descriptor->torques[i].colour);
    }
}

bool CPartPhysic::AttachToModel(CModel& model)
{
    CPart::AttachToModel(model);
    return RegisterRecords(model.GetBody());
}

bool CPartPhysic::RegisterRecords(CEngineDynamic& body)
{
    bool ok = true;
    const int used = std::clamp(GetUsedForceCount(), 0, GetForceCount());
    for (int i = 0; i < used; ++i)
        ok = body.AddForce(&m_forces[static_cast<size_t>(i)]) && ok;
    for (CTorque& torque : m_torques)
        ok = body.AddTorque(&torque) && ok;
    m_registeredForceCount = used;
    return ok;
}

void CPartPhysic::GetDebugText(std::string& ioText)
{
    CPart::GetDebugText(ioText);
    ioText += StringPrintf("\nNum Forces: %i\n", GetForceCount());
    for (const CForce& force : m_forces)
    {
        CEngineDynamic::AppendForceLine(force, ioText, m_model ? &m_model->GetBody() : nullptr);
        ioText += "\n";
    }
    ioText += StringPrintf("\nNum Torques: %i\n", GetTorqueCount());
    for (const CTorque& torque : m_torques)
    {
        CEngineDynamic::AppendTorqueLine(torque, ioText);
        ioText += "\n";
    }
}

void CPartPhysic::CalcForces(float) {}

bool CPartPhysic::GetInducedWind(CVector3& outWind, const CVector3&)
{
    outWind = CVector3();
    return false;
}

void CPartPhysic::ZeroForces()
{
    for (CForce& force : m_forces)
        force.vector = CVector3();
    for (CTorque& torque : m_torques)
        torque.vector = CVector3();
}
