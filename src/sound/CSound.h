#pragma once
// One loaded sound of the sound list: its samples in the audio library, one or more voices that
// play them, and the settings that decide how it is heard.
//
// Settings (Vol, VolMax, Att, Pan, base frequency, Doppler) are only stored and marked changed
// when set; ApplyChanges turns them into the library's gains and pitch once per frame, so that
// a dozen changes in a frame cost one update.
//
// How a voice is heard: the level law and the pan law (see SoundLaws.h) give a gain per channel,
// and each voice is a pair of sources, one playing the samples on the left channel only and one
// on the right only (stereo buffers sent straight to the outputs), started together so they stay
// in step. That makes the pan exactly the level difference the law asks for. A sound that has a
// position (the engine, a crash) may instead be placed by the library's own positional panning:
// then a third, mono source plays at the source's world position, relative to a listener turned
// like the camera, with the library's distance and Doppler switched off (ours apply).

#include <AL/al.h>

#include <string>
#include <vector>

#include "core/CVector3.h"

class CWavReader;

class CSound
{
public:
    // A voice that plays the sound; more than one lets a second copy start while the first
    // still sounds.
    struct TVoice
    {
        ALuint left = 0;
        ALuint right = 0;
        ALuint mono = 0;
        bool positional = false; // which of the two ways it was started with
    };

    // Makes the library's buffers and voices; IsValid tells whether that worked.
    CSound(const std::string& fileName, const CWavReader& wav, int voiceCount);
    ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    bool IsValid() const { return m_valid; }

    void SetVolume(float vol);
    void SetVolumeMax(float volMax);
    void SetFrequency(float hz);
    void SetPan(float pan);
    // Distance attenuation and Doppler factor, and the world position for positional panning.
    void SetPlacement(float attenuation, float doppler, const CVector3& worldPosition);
    // The global volume changed: the level is due again.
    void MarkVolumeChanged() { m_volumeChanged = true; }

    // Applies pending changes. positionalPanning: place a positioned sound by the library.
    void ApplyChanges(float globalVolume, bool positionalPanning);
    void Play(bool loop, float globalVolume, bool positionalPanning);
    void Stop();
    bool IsPlaying() const;

    const std::string& FileName() const { return m_fileName; }
    float BaseFrequency() const { return m_baseFrequency; } // Hz
    float Doppler() const { return m_doppler; }
    float VolumeMax() const { return m_volMax; }
    float Volume() const { return m_vol; }
    float Attenuation() const { return m_att; }
    float Pan() const { return m_pan; }
    float AppliedVolume() const { return m_applied; } // the last product x applied

private:
    void ApplyToVoice(TVoice& voice, bool positionalPanning);
    static bool SourcePlaying(ALuint source);

    std::string m_fileName;
    bool m_valid = false;
    ALuint m_monoBuffer = 0;
    ALuint m_leftBuffer = 0;  // stereo, samples on the left channel
    ALuint m_rightBuffer = 0; // stereo, samples on the right channel
    std::vector<TVoice> m_voices;
    float m_sampleRate = 22050.0f;    // Hz, the samples' own
    float m_baseFrequency = 22050.0f; // Hz
    float m_doppler = 1.0f;
    float m_vol = 1.0f;
    float m_volMax = 1.0f;
    float m_att = 1.0f;
    float m_applied = 1.0f;
    float m_pan = 0.0f; // -1 .. 1
    bool m_hasPosition = false;
    CVector3 m_position;  // world, m
    float m_leftGain = 1.0f;  // last applied, linear
    float m_rightGain = 1.0f;
    float m_monoGain = 1.0f;
    bool m_volumeChanged = true;
    bool m_frequencyChanged = true;
    bool m_panChanged = true;
};
