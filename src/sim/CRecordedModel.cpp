#include "sim/CRecordedModel.h"

#include "model/CModel.h"
#include "model/CPart.h"
#include "model/CVariable.h"

namespace
{
const char* const kChannelNames[IRecordedModel::kChannelCount] = {"V_CH1", "V_CH2", "V_CH3", "V_CH4", "V_CH5",
                                                                  "V_CH6", "V_CH7", "V_CH8", "V_CH9"};

// Looked up on every call: the input tables can be reloaded while a model flies, and nine
// lookups per frame cost nothing.
CVariable* FindChannel(CModel& model, int index)
{
    if (index < 0 || index >= IRecordedModel::kChannelCount)
        return nullptr;
    return model.GetVariableSearchList().Find(kChannelNames[index]);
}
} // namespace

CVector3 CRecordedModel::GetPosition() const
{
    return m_model.GetBody().GetPosition();
}

CMatrix3 CRecordedModel::GetOrientation() const
{
    return m_model.GetBody().GetOrientation();
}

CVector3 CRecordedModel::GetVelocity() const
{
    return m_model.GetBody().GetVelocity();
}

CVector3 CRecordedModel::GetAngularVelocity() const
{
    return m_model.GetBody().GetAngularVelocity();
}

CVector3 CRecordedModel::GetAcceleration() const
{
    return m_model.GetBody().GetAcceleration();
}

CVector3 CRecordedModel::GetAngularAcceleration() const
{
    return m_model.GetBody().GetAngularAcceleration();
}

void CRecordedModel::SetMotion(const CVector3& position, const CMatrix3& orientation, const CVector3& velocity,
                               const CVector3& angularVelocity)
{
    // The body's setters mark its cached attitude, inverse and terrain height as stale, which is
    // all the model derives from its motion between two frames.
    CEngineDynamic& body = m_model.GetBody();
    body.SetPosition(position);
    body.SetOrientation(orientation);
    body.SetVelocity(velocity);
    body.SetAngularVelocity(angularVelocity);
}

float CRecordedModel::GetChannel(int index) const
{
    const CVariable* channel = FindChannel(m_model, index);
    return channel != nullptr ? channel->GetValue() : 0.0f;
}

void CRecordedModel::SetChannel(int index, float value)
{
    if (CVariable* channel = FindChannel(m_model, index))
        channel->SetValue(value);
}

int CRecordedModel::GetPartCount() const
{
    return m_model.GetPartCount();
}

int CRecordedModel::SavePartState(int partIndex, std::vector<unsigned char>& ioBytes)
{
    CPart* part = m_model.GetPart(partIndex);
    return part != nullptr ? part->SaveState(ioBytes) : 0;
}

int CRecordedModel::LoadPartState(int partIndex, const unsigned char* bytes, int count)
{
    CPart* part = m_model.GetPart(partIndex);
    return part != nullptr ? part->LoadState(bytes, count) : 0;
}
