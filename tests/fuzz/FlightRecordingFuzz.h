#pragma once
// What the flight-recording fuzz target does with one input, shared with the corpus replay test
// in tests/app: the input is a Flight.rec; it is loaded and, when it holds a playback, played at
// times around and between its keyframes on a dummy model.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/CFlightRecorder.h"
#include "sim/IRecordedModel.h"

namespace fuzz
{
[[noreturn]] inline void FailRecording()
{
    __builtin_trap();
}

// A model of three parts that take 8, 0 and 3 bytes of state, and a fourth that claims more
// than it was given. Every part touches every byte it is offered, so the address sanitizer sees
// a read past the data.
class CDummyRecordedModel : public IRecordedModel
{
public:
    CVector3 GetPosition() const override { return {}; }
    CMatrix3 GetOrientation() const override { return {}; }
    CVector3 GetVelocity() const override { return {}; }
    CVector3 GetAngularVelocity() const override { return {}; }
    CVector3 GetAcceleration() const override { return {}; }
    CVector3 GetAngularAcceleration() const override { return {}; }
    void SetMotion(const CVector3& position, const CMatrix3& orientation, const CVector3& velocity,
                   const CVector3& angularVelocity) override
    {
        for (const CVector3& v : {position, orientation.row[0], orientation.row[1], orientation.row[2], velocity,
                                  angularVelocity})
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
                FailRecording();
    }
    float GetChannel(int) const override { return 0.0f; }
    void SetChannel(int index, float value) override
    {
        if (index < 0 || index >= kChannelCount || !std::isfinite(value))
            FailRecording();
    }
    int GetPartCount() const override { return 4; }
    int SavePartState(int, std::vector<unsigned char>&) override { return 0; }
    int LoadPartState(int partIndex, const unsigned char* bytes, int count) override
    {
        if (count < 0 || (count > 0 && bytes == nullptr))
            FailRecording();
        for (int i = 0; i < count; ++i)
            checksum += bytes[i];
        static const int kNeeds[] = {8, 0, 3, 1000};
        const int need = kNeeds[partIndex % 4];
        if (partIndex == 3)
            return need; // more than it was given
        return count >= need ? need : 0;
    }
    unsigned checksum = 0;
};

inline void FlightRecording(const uint8_t* data, size_t size)
{
    CFlightRecorder recorder;
    if (!recorder.LoadBytes(std::vector<unsigned char>(data, data + size), "fuzz.rec"))
        return;
    const int n = recorder.GetKeyframeCount();
    if (n < 2)
        FailRecording();
    std::vector<double> times = {recorder.GetKeyframeTime(0) - 1.0};
    for (int i = 0; i < n && i < 64; ++i)
    {
        times.push_back(recorder.GetKeyframeTime(i));
        if (i + 1 < n)
            times.push_back(recorder.GetKeyframeTime(i) / 2 + recorder.GetKeyframeTime(i + 1) / 2);
    }
    times.push_back(recorder.GetKeyframeTime(n - 1) + 1.0);
    times.push_back(0.0);

    CDummyRecordedModel model;
    recorder.StartPlayback(0.0);
    for (double t : times)
        recorder.PlayFrame(model, t);
}
} // namespace fuzz
