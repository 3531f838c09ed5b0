#pragma once
// The flight recorder's view of a CModel: motion from its rigid body, channels from the variables
// V_CH1 .. V_CH9 through the model's search list, part states from its parts in list order.
// Holds the model by reference (not owned): the flight process makes one per loaded model.

#include "sim/IRecordedModel.h"

class CModel;

class CRecordedModel : public IRecordedModel
{
public:
    explicit CRecordedModel(CModel& model) : m_model(model) {}

    CVector3 GetPosition() const override;
    CMatrix3 GetOrientation() const override;
    CVector3 GetVelocity() const override;
    CVector3 GetAngularVelocity() const override;
    CVector3 GetAcceleration() const override;
    CVector3 GetAngularAcceleration() const override;
    void SetMotion(const CVector3& position, const CMatrix3& orientation, const CVector3& velocity,
                   const CVector3& angularVelocity) override;
    float GetChannel(int index) const override;
    void SetChannel(int index, float value) override;
    int GetPartCount() const override;
    int SavePartState(int partIndex, std::vector<unsigned char>& ioBytes) override;
    int LoadPartState(int partIndex, const unsigned char* bytes, int count) override;

private:
    CModel& m_model; // not owned: the flight process owns the model and this adapter
};
