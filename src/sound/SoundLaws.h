#pragma once
// The level, pan and 3D laws every sound obeys, as plain functions of their inputs.
//
// Levels are hundredths of a decibel (0 = full, -10000 = silent), the scale the sound list's
// volume and pan settings have always been given in:
//   volume  v = 100 * 16.609640474436812 * log10(x) for x > 0.001, else -10000
//           (16.6096 = 5 / log10(2): every halving of x costs 5 dB)
//   pan     Pan > 0 attenuates the right channel by the volume law of 1 - Pan,
//           Pan < 0 the left one by that of 1 + Pan (positive result = left attenuated)
// A level becomes a linear gain as 10^(v / 2000); -10000 is taken as true silence.
//
// Distance and Doppler are computed here, not by the audio library, from the listener and the
// source (world frame, m and m/s): the sound fades quadratically to nothing at 350 m and its
// pitch follows (w.u + c) / (v.u + c) with c = 346.65 m/s, u the unit vector from listener to
// source, w the listener's and v the source's velocity.

#include "core/CVector3.h"

namespace sound_laws
{
constexpr int kSilent = -10000;             // hundredths of dB
constexpr float kSpeedOfSound = 346.65f;    // m/s
constexpr float kSilentDistance = 350.0f;   // m
constexpr float kMinFrequency = 100.0f;     // Hz: the lowest and highest rates a voice may be
constexpr float kMaxFrequency = 200000.0f;  // given, as sound cards have always bounded them

// Hundredths of dB for the volume product x (global * attenuation * maximum * volume).
int VolumeToHundredthsDb(float x);
// Hundredths of dB for Pan in -1 .. 1 (values beyond are clamped): negative = right channel
// attenuated, positive = left channel attenuated.
int PanToHundredthsDb(float pan);
// Linear amplitude gain of a level; 0 for kSilent and below, 1 for 0 and above.
float HundredthsDbToGain(int hundredthsDb);
// Left and right channel gains for a volume level and a pan level.
void ChannelGains(int volume, int pan, float& outLeft, float& outRight);

// 1 - |d|^2 / 350^2, 0 from 350 m on; d = source - listener (m).
float DistanceAttenuation(const CVector3& sourceMinusListener);
// Pitch factor of a source seen by a listener (positions m, velocities m/s, world frame).
float DopplerFactor(const CVector3& sourcePosition, const CVector3& sourceVelocity, const CVector3& listenerPosition,
                    const CVector3& listenerVelocity);
// The rate a voice plays at: trunc(base * doppler), kept within kMinFrequency .. kMaxFrequency
// (a stopped propeller or a broken factor would otherwise ask for 0 Hz or infinity).
float PlaybackFrequency(float baseHz, float doppler);
} // namespace sound_laws
