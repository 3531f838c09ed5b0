#include "sound/SoundLaws.h"

#include <algorithm>
#include <cmath>

namespace sound_laws
{
namespace
{
constexpr double kDecibelFactor = 16.609640474436812; // 5 / log10(2)
constexpr float kAudibleMin = 0.001f;                 // at or below: silent
} // namespace

int VolumeToHundredthsDb(float x)
{
    if (!(x > kAudibleMin))
        return kSilent;
    const double value = 100.0 * kDecibelFactor * std::log10(static_cast<double>(x));
    return static_cast<int>(std::lround(std::clamp(value, static_cast<double>(kSilent), 0.0)));
}

int PanToHundredthsDb(float pan)
{
    if (!std::isfinite(pan) || pan == 0.0f)
        return 0;
    pan = std::clamp(pan, -1.0f, 1.0f);
    const float p = pan > 0.0f ? 1.0f - pan : 1.0f + pan;
    const int attenuation = p > kAudibleMin ? static_cast<int>(std::lround(100.0 * kDecibelFactor * std::log10(static_cast<double>(p))))
                                            : kSilent;
    return pan > 0.0f ? attenuation : -attenuation;
}

float HundredthsDbToGain(int hundredthsDb)
{
    if (hundredthsDb <= kSilent)
        return 0.0f;
    if (hundredthsDb >= 0)
        return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

void ChannelGains(int volume, int pan, float& outLeft, float& outRight)
{
    const float gain = HundredthsDbToGain(volume);
    // A negative pan level attenuates the right channel, a positive one the left.
    outLeft = pan > 0 ? gain * HundredthsDbToGain(-pan) : gain;
    outRight = pan < 0 ? gain * HundredthsDbToGain(pan) : gain;
}

float DistanceAttenuation(const CVector3& sourceMinusListener)
{
    const float squared = sourceMinusListener.LengthSquared();
    constexpr float kSilentSquared = kSilentDistance * kSilentDistance; // 122500 m^2
    if (!(squared <= kSilentSquared))
        return 0.0f;
    return 1.0f - squared / kSilentSquared;
}

float DopplerFactor(const CVector3& sourcePosition, const CVector3& sourceVelocity, const CVector3& listenerPosition,
                    const CVector3& listenerVelocity)
{
    CVector3 u = sourcePosition - listenerPosition;
    const float distance = u.Length();
    if (distance > 0.0f)
        u = u * (1.0f / distance);
    const float heard = listenerVelocity.Dot(u) + kSpeedOfSound;
    const float sent = sourceVelocity.Dot(u) + kSpeedOfSound;
    // A source at or beyond the speed of sound away from the listener has no defined pitch;
    // keep the last sensible bound instead of a division by zero or a negative rate.
    if (!(sent > 1.0f) || !std::isfinite(heard))
        return 1.0f;
    return std::max(heard, 0.0f) / sent;
}

float PlaybackFrequency(float baseHz, float doppler)
{
    const float hz = std::trunc(baseHz * doppler);
    if (!std::isfinite(hz))
        return kMinFrequency;
    return std::clamp(hz, kMinFrequency, kMaxFrequency);
}
} // namespace sound_laws
