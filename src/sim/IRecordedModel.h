#pragma once
// What the flight recorder needs from a model: its motion, its accelerations (to decide when to
// write a keyframe), the nine input channels, and the parts' own recording state in part order.
// CRecordedModel answers it for a CModel; tests and the fuzz target answer it with small fakes.

#include <vector>

#include "core/CMatrix3.h"
#include "core/CVector3.h"

class IRecordedModel
{
public:
    static constexpr int kChannelCount = 9; // V_CH1 .. V_CH9

    virtual ~IRecordedModel() = default;

    virtual CVector3 GetPosition() const = 0;        // world, m
    virtual CMatrix3 GetOrientation() const = 0;     // rows = body axes in world axes
    virtual CVector3 GetVelocity() const = 0;        // world, m/s
    virtual CVector3 GetAngularVelocity() const = 0; // world, rad/s
    // As the last integration step computed them.
    virtual CVector3 GetAcceleration() const = 0;        // world, m/s^2
    virtual CVector3 GetAngularAcceleration() const = 0; // world, rad/s^2

    // Puts the model into a played-back state and lets it refresh what it derives from it.
    virtual void SetMotion(const CVector3& position, const CMatrix3& orientation, const CVector3& velocity,
                           const CVector3& angularVelocity) = 0;

    // Channel index 0..8 is V_CH1..V_CH9; a channel the model does not have reads 0 and ignores
    // writes.
    virtual float GetChannel(int index) const = 0;
    virtual void SetChannel(int index, float value) = 0;

    virtual int GetPartCount() const = 0;
    // Appends the part's state to ioBytes; returns the number of bytes appended.
    virtual int SavePartState(int partIndex, std::vector<unsigned char>& ioBytes) = 0;
    // Reads the part's state from at most count bytes; returns the bytes used (0 when too few).
    virtual int LoadPartState(int partIndex, const unsigned char* bytes, int count) = 0;
};
