#include "sim/CFlightRecorder.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "sim/IRecordedModel.h"
#include "core/CMatrix3.h"
#include "core/Diagnostics.h"
#include "data/CFile.h"

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr size_t kTableGrowth = 10000; // records or keyframes; a long flight has thousands

// Little-endian encoding, whatever the host.
void PutU32(std::vector<unsigned char>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutU16(std::vector<unsigned char>& out, uint16_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void PutF32(std::vector<unsigned char>& out, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(out, bits);
}

void PutF64(std::vector<unsigned char>& out, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

void PutHeader(std::vector<unsigned char>& out, uint32_t type, size_t length)
{
    PutU32(out, type);
    PutU16(out, static_cast<uint16_t>(length));
}

uint32_t GetU32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t GetU16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

float GetF32(const unsigned char* p)
{
    const uint32_t bits = GetU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double GetF64(const unsigned char* p)
{
    const uint64_t bits = static_cast<uint64_t>(GetU32(p)) | static_cast<uint64_t>(GetU32(p + 4)) << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Reads count floats; false when any is not finite (a nan would poison the whole flight).
bool GetFiniteFloats(const unsigned char* p, float* out, int count)
{
    for (int i = 0; i < count; ++i)
    {
        out[i] = GetF32(p + 4 * i);
        if (!std::isfinite(out[i]))
            return false;
    }
    return true;
}

// Into [0, 2 pi).
double WrapPositive(double angle)
{
    angle = std::fmod(angle, kTwoPi);
    if (angle < 0.0)
        angle += kTwoPi;
    return angle >= kTwoPi ? 0.0 : angle;
}

// From a towards b along the shorter arc, weight f for b.
float InterpolateAngle(float a, float b, double f)
{
    const double from = WrapPositive(a);
    double difference = WrapPositive(b) - from; // (-2 pi, 2 pi)
    if (difference > kPi)
        difference -= kTwoPi;
    else if (difference <= -kPi)
        difference += kTwoPi;
    return static_cast<float>(from + f * difference);
}
} // namespace

CFlightRecorder::CFlightRecorder() = default;

CFlightRecorder::~CFlightRecorder()
{
    StopRecording();
}

bool CFlightRecorder::StartRecording(const std::string& path, double simulatedTime)
{
    StopRecording();
    m_outputPath = path;
    m_recordingStart = simulatedTime;
    m_writeFailureReported = false;
    m_partsOverflowReported = false;
    // Written beside the previous recording: a full disk or a crash must not cost the pilot the
    // flight recorded before.
    m_output = std::fopen((path + ".tmp").c_str(), "wb");
    if (m_output == nullptr)
    {
        DiagPrint("%s: cannot be opened for writing; the flight is not recorded\n", path.c_str());
        return false;
    }
    return true;
}

bool CFlightRecorder::StopRecording()
{
    if (m_output == nullptr)
        return true;
    const std::string temporary = m_outputPath + ".tmp";
    const bool closed = CloseDurably(m_output);
    m_output = nullptr;
    if (closed && !m_writeFailureReported && RenameDurably(temporary, m_outputPath))
        return true;
    DiagPrint("%s: the recording could not be written completely (%s); the previous recording is kept\n",
              m_outputPath.c_str(), std::strerror(errno));
    std::remove(temporary.c_str());
    m_writeFailureReported = true;
    return false;
}

void CFlightRecorder::RecordFrame(IRecordedModel& model, double simulatedTime)
{
    // A model that blew up (nan) must not poison the sums for the rest of the program.
    const float linear = model.GetAcceleration().Length();
    const float angular = model.GetAngularAcceleration().Length();
    if (std::isfinite(linear))
        m_linearSum += linear;
    if (std::isfinite(angular))
        m_angularSum += angular;
    if (m_linearSum <= kKeyframeThreshold && m_angularSum <= kKeyframeThreshold)
        return;
    m_linearSum = 0.0f;
    m_angularSum = 0.0f;
    WriteKeyframe(model, simulatedTime);
}

void CFlightRecorder::WriteKeyframe(IRecordedModel& model, double simulatedTime)
{
    if (m_output == nullptr)
        return; // recording without a file: the keyframes go nowhere

    std::vector<unsigned char> out;
    out.reserve(kTimeLength + kMotionLength + kChannelLength + 64);

    PutHeader(out, RT_TIME, kTimeLength);
    PutF64(out, simulatedTime - m_recordingStart);

    PutHeader(out, RT_MOTION, kMotionLength);
    for (const CVector3& v : {model.GetPosition(), model.GetVelocity(), model.GetAngularVelocity()})
    {
        PutF32(out, v.x);
        PutF32(out, v.y);
        PutF32(out, v.z);
    }
    float a = 0.0f, b = 0.0f, c = 0.0f;
    model.GetOrientation().ToEulerAngles(a, b, c);
    PutF32(out, a);
    PutF32(out, b);
    PutF32(out, c);

    PutHeader(out, RT_CHANNELS, kChannelLength);
    for (int channel = 0; channel < IRecordedModel::kChannelCount; ++channel)
        PutF32(out, model.GetChannel(channel));

    // The parts record's length is known only after the parts wrote their bytes.
    const size_t partsHeader = out.size();
    PutHeader(out, RT_PARTS, kHeaderLength);
    for (int part = 0; part < model.GetPartCount(); ++part)
        model.SavePartState(part, out);
    const size_t partsLength = out.size() - partsHeader;
    if (partsLength > static_cast<size_t>(kMaxRecordLength))
    {
        // The length field has 16 bits: a longer record would misalign every record after it.
        if (!m_partsOverflowReported)
            DiagPrint("%s: the part states (%zu bytes) do not fit a record; they are not recorded\n",
                      m_outputPath.c_str(), partsLength - kHeaderLength);
        m_partsOverflowReported = true;
        out.resize(partsHeader + kHeaderLength);
    }
    else
    {
        out[partsHeader + 4] = static_cast<unsigned char>(partsLength);
        out[partsHeader + 5] = static_cast<unsigned char>(partsLength >> 8);
    }

    // Flushed per keyframe, so a full disk shows at once (and is told) rather than at the end.
    const bool written = std::fwrite(out.data(), 1, out.size(), m_output) == out.size() && std::fflush(m_output) == 0;
    if (!written && !m_writeFailureReported)
    {
        DiagPrint("%s: write failed (%s); the recording cannot be kept\n", m_outputPath.c_str(), std::strerror(errno));
        m_writeFailureReported = true;
    }
}

bool CFlightRecorder::Load(const std::string& path)
{
    std::vector<unsigned char> bytes;
    if (!ReadWholeFileBinary(path, bytes))
    {
        DiagPrint("%s: cannot be read; no playback\n", path.c_str());
        return false;
    }
    return LoadBytes(std::move(bytes), path);
}

bool CFlightRecorder::LoadBytes(std::vector<unsigned char> bytes, const std::string& name)
{
    // 1. The record index: walk the records by their lengths.
    // Room for the records a file of this size can hold, up to one growth step.
    std::vector<size_t> recordIndex;
    recordIndex.reserve(std::min(kTableGrowth, bytes.size() / kHeaderLength + 1));
    size_t offset = 0;
    while (offset < bytes.size())
    {
        if (bytes.size() - offset < static_cast<size_t>(kHeaderLength))
        {
            DiagPrint("%s: %zu stray bytes at the end are ignored\n", name.c_str(), bytes.size() - offset);
            break;
        }
        const size_t length = GetU16(&bytes[offset + 4]);
        if (length < static_cast<size_t>(kHeaderLength))
        {
            DiagPrint("%s: record at byte %zu has the length %zu; the rest is ignored\n", name.c_str(), offset, length);
            break;
        }
        if (length > bytes.size() - offset)
        {
            DiagPrint("%s: record at byte %zu runs past the end; the rest is ignored\n", name.c_str(), offset);
            break;
        }
        recordIndex.push_back(offset);
        offset += length;
    }

    // 2. The keyframe table: a time record opens a keyframe, the others attach to the latest.
    std::vector<TKeyframe> keyframes;
    keyframes.reserve(std::min(kTableGrowth, bytes.size() / kTimeLength + 1));
    int malformed = 0;
    for (size_t record = 0; record < recordIndex.size(); ++record)
    {
        const unsigned char* header = &bytes[recordIndex[record]];
        const unsigned char* payload = header + kHeaderLength;
        const uint32_t type = GetU32(header);
        const size_t length = GetU16(header + 4);
        TKeyframe* latest = keyframes.empty() ? nullptr : &keyframes.back();
        switch (type)
        {
        case RT_TIME:
        {
            const double time = length == kTimeLength ? GetF64(payload) : NAN;
            if (!std::isfinite(time))
            {
                ++malformed;
                break;
            }
            TKeyframe keyframe;
            keyframe.timeRecord = record;
            keyframe.time = time;
            keyframes.push_back(keyframe);
            break;
        }
        case RT_MOTION:
        {
            float motion[12];
            if (length != kMotionLength || !GetFiniteFloats(payload, motion, 12))
                ++malformed;
            else if (latest != nullptr)
            {
                std::copy(motion, motion + 12, latest->motion);
                latest->hasMotion = true;
            }
            break;
        }
        case RT_CHANNELS:
        {
            float channels[9];
            if (length != kChannelLength || !GetFiniteFloats(payload, channels, 9))
                ++malformed;
            else if (latest != nullptr)
            {
                std::copy(channels, channels + 9, latest->channels);
                latest->hasChannels = true;
            }
            break;
        }
        case RT_PARTS:
            if (latest != nullptr)
            {
                latest->hasParts = true;
                latest->partsOffset = recordIndex[record] + kHeaderLength;
                latest->partsLength = length - kHeaderLength;
            }
            break;
        default:
            break; // other types are for other readers
        }
    }
    if (malformed > 0)
        DiagPrint("%s: %i records of a wrong length or with numbers that are not finite are ignored\n", name.c_str(),
                  malformed);

    // 3. A playback needs a pair of keyframes to interpolate between.
    if (keyframes.size() < 2)
    {
        DiagPrint("%s: %zu keyframes; a playback needs at least two\n", name.c_str(), keyframes.size());
        return false;
    }
    m_bytes = std::move(bytes);
    m_recordIndex = std::move(recordIndex);
    m_keyframes = std::move(keyframes);
    m_nextKeyframe = 0;
    return true;
}

void CFlightRecorder::StartPlayback(double simulatedTime)
{
    m_playbackStart = simulatedTime;
    m_playbackTime = 0.0;
    m_nextKeyframe = 0;
}

bool CFlightRecorder::FindBracket(double t, int& outIndex) const
{
    const int n = GetKeyframeCount();
    int i = std::clamp(m_nextKeyframe, 0, n - 2);
    for (;;)
    {
        if (m_keyframes[static_cast<size_t>(i)].time <= t)
        {
            if (t < m_keyframes[static_cast<size_t>(i) + 1].time)
            {
                outIndex = i;
                return true;
            }
            if (++i >= n - 1)
                return false;
        }
        else
        {
            if (i == 0)
                return false;
            --i;
        }
    }
}

bool CFlightRecorder::PlayFrame(IRecordedModel& model, double simulatedTime)
{
    if (m_keyframes.size() < 2)
        return false;
    const double t = simulatedTime - m_playbackStart;
    m_playbackTime = t;

    int i = 0;
    if (!FindBracket(t, i))
        return m_keyframes.back().time >= t; // before the first keyframe: wait; after the last: done

    const TKeyframe& from = m_keyframes[static_cast<size_t>(i)];
    const TKeyframe& to = m_keyframes[static_cast<size_t>(i) + 1];
    // In [0, 1) for any sane recording; the clamp keeps keyframe times near the limits of a
    // double (an overflowing difference) from producing nan.
    double f = (t - from.time) / (to.time - from.time);
    f = f >= 0.0 ? std::min(f, 1.0) : 0.0;

    if (from.hasMotion && to.hasMotion)
    {
        const float* m0 = from.motion;
        const float* m1 = to.motion;
        CVector3 position;
        for (int k = 0; k < 3; ++k)
            position[k] = static_cast<float>((1.0 - f) * m0[k] + f * m1[k]);
        const float a = InterpolateAngle(m0[9], m1[9], f);
        const float b = InterpolateAngle(m0[10], m1[10], f);
        const float c = InterpolateAngle(m0[11], m1[11], f);
        model.SetMotion(position, CMatrix3::FromEuler(a, b, c), CVector3(m0[3], m0[4], m0[5]),
                        CVector3(m0[6], m0[7], m0[8]));
    }

    if (from.hasChannels && to.hasChannels)
    {
        for (int channel = 0; channel < IRecordedModel::kChannelCount; ++channel)
            model.SetChannel(channel,
                             static_cast<float>((1.0 - f) * from.channels[channel] + f * to.channels[channel]));
    }

    if (i >= m_nextKeyframe)
    {
        // Once per keyframe passed since the last application; a part state is absolute, so the
        // states of keyframe i are what the parts end up with.
        for (int k = m_nextKeyframe; k <= i; ++k)
            ApplyParts(model, from);
        m_nextKeyframe = i + 1;
    }
    return true;
}

void CFlightRecorder::ApplyParts(IRecordedModel& model, const TKeyframe& keyframe)
{
    if (!keyframe.hasParts)
        return;
    const unsigned char* bytes = m_bytes.data() + keyframe.partsOffset;
    size_t remaining = keyframe.partsLength;
    for (int part = 0; part < model.GetPartCount(); ++part)
    {
        // A part never sees past the end of the record, and a part that claims more than it
        // was given cannot move the others beyond it.
        const int used = model.LoadPartState(part, bytes, static_cast<int>(remaining));
        const size_t consumed = used > 0 ? std::min(static_cast<size_t>(used), remaining) : 0;
        bytes += consumed;
        remaining -= consumed;
    }
}
