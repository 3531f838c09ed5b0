#pragma once
// A part that carries mass or produces forces. Its force and torque records are made from the
// class table (names, colours, count) at construction and never reallocated, so the body can
// keep pointers to them; AttachToModel registers them with the body and builds nothing else.
// Only the records the part actually fills are registered (a WING3 owns twenty but fills two
// per segment): every registered record costs its share of the force sum in each sub-step.
// The mass element is rebuilt by the concrete ApplyProperties, which then calls
// CModel::SetMassMustBeRecomputed().

#include <string>
#include <vector>

#include "core/CVector3.h"
#include "model/CForce.h"
#include "model/CMassElement.h"
#include "model/CPart.h"

class CEngineDynamic;

class CPartPhysic : public CPart
{
public:
    explicit CPartPhysic(int classIndex);

    // Stores the model and registers the used force and torque records with the body.
    bool AttachToModel(CModel& model) override;
    // Registers the first GetUsedForceCount() force records and every torque record with the
    // body; false when the body refused any.
    bool RegisterRecords(CEngineDynamic& body);
    // Base text, then "\nNum Forces: %i\n" with one line per force, and the same for torques.
    void GetDebugText(std::string& ioText) override;
    CPartPhysic* AsPhysic() override { return this; }

    // 13. Once per integration sub-step (dt in s): fill the force and torque records. Only
    // called while enable bit 0 is set; the model zeroes the records otherwise.
    virtual void CalcForces(float dt);
    // 14. Wind induced by the part (propeller slipstream) at a body point, as a world-frame
    // velocity (m/s) stored in outWind (zero when outside); true when the point is inside the
    // part's influence. The model sums the answers of all parts.
    virtual bool GetInducedWind(CVector3& outWind, const CVector3& bodyPoint);

    // Sets every force and torque vector to zero (the points stay).
    void ZeroForces();

    // The force records the part fills with its current settings, the first ones of its
    // array; the others stay zero and are not handed to the body. All of them by default.
    virtual int GetUsedForceCount() const { return GetForceCount(); }
    // The force records handed to the body at the last registration.
    int GetRegisteredForceCount() const { return m_registeredForceCount; }
    // Whether GetInducedWind can ever answer true; the model asks only those parts.
    virtual bool InducesWind() const { return false; }

    int GetForceCount() const { return static_cast<int>(m_forces.size()); }
    int GetTorqueCount() const { return static_cast<int>(m_torques.size()); }
    CForce& GetForce(int index) { return m_forces[static_cast<size_t>(index)]; }
    CTorque& GetTorque(int index) { return m_torques[static_cast<size_t>(index)]; }
    const CMassElement& GetMassElement() const { return m_massElement; }

protected:
    // Sized once by the constructor; never resized (the body points into them).
    std::vector<CForce> m_forces;
    std::vector<CTorque> m_torques;
    CMassElement m_massElement;

private:
    int m_registeredForceCount = 0;
};
