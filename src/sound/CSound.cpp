#include "sound/CSound.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/Diagnostics.h"
#include "sound/CWavReader.h"
#include "sound/SoundLaws.h"

#ifndef AL_DIRECT_CHANNELS_SOFT
#define AL_DIRECT_CHANNELS_SOFT 0x1033
#endif

namespace
{
// OpenAL Soft's stereo panning puts a mono source straight ahead at 0.595 of full level on each
// channel (measured: -4.5 dB), where the pan law's centre is full level on both. Positional
// panning is lifted by the inverse, so that switching it on does not make the model (which the
// camera keeps in front of the pilot) quieter.
constexpr float kPositionalCentreGain = 1.68f;

void SetupSource(ALuint source, ALuint buffer, bool direct)
{
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    if (direct)
    {
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    }
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f); // our distance law applies
    alSourcef(source, AL_MAX_GAIN, kPositionalCentreGain);
}
} // namespace

CSound::CSound(const std::string& fileName, const CWavReader& wav, int voiceCount) : m_fileName(fileName)
{
    const std::vector<int16_t>& mono = wav.Samples();
    std::vector<int16_t> left(mono.size() * 2, 0);
    std::vector<int16_t> right(mono.size() * 2, 0);
    for (size_t i = 0; i < mono.size(); ++i)
    {
        left[2 * i] = mono[i];
        right[2 * i + 1] = mono[i];
    }
    m_sampleRate = static_cast<float>(wav.SampleRate());
    m_baseFrequency = m_sampleRate;

    alGetError();
    ALuint buffers[3] = {0, 0, 0};
    alGenBuffers(3, buffers);
    m_monoBuffer = buffers[0];
    m_leftBuffer = buffers[1];
    m_rightBuffer = buffers[2];
    const ALsizei rate = static_cast<ALsizei>(wav.SampleRate());
    alBufferData(m_monoBuffer, AL_FORMAT_MONO16, mono.data(), static_cast<ALsizei>(mono.size() * sizeof(int16_t)), rate);
    alBufferData(m_leftBuffer, AL_FORMAT_STEREO16, left.data(), static_cast<ALsizei>(left.size() * sizeof(int16_t)), rate);
    alBufferData(m_rightBuffer, AL_FORMAT_STEREO16, right.data(), static_cast<ALsizei>(right.size() * sizeof(int16_t)), rate);
    if (alGetError() != AL_NO_ERROR)
    {
        DiagPrint("%s: the audio library refused its samples\n", fileName.c_str());
        return;
    }
    m_voices.resize(static_cast<size_t>(std::max(voiceCount, 1)));
    for (TVoice& voice : m_voices)
    {
        ALuint sources[3] = {0, 0, 0};
        alGenSources(3, sources);
        if (alGetError() != AL_NO_ERROR)
        {
            DiagPrint("%s: no more voices in the audio library\n", fileName.c_str());
            return;
        }
        voice.left = sources[0];
        voice.right = sources[1];
        voice.mono = sources[2];
        SetupSource(voice.left, m_leftBuffer, true);
        SetupSource(voice.right, m_rightBuffer, true);
        SetupSource(voice.mono, m_monoBuffer, false);
    }
    m_valid = alGetError() == AL_NO_ERROR;
}

CSound::~CSound()
{
    for (TVoice& voice : m_voices)
    {
        const ALuint sources[3] = {voice.left, voice.right, voice.mono};
        alSourceStopv(3, sources);
        alDeleteSources(3, sources);
    }
    const ALuint buffers[3] = {m_monoBuffer, m_leftBuffer, m_rightBuffer};
    alDeleteBuffers(3, buffers);
}

void CSound::SetVolume(float vol)
{
    m_vol = vol;
    m_volumeChanged = true;
}

void CSound::SetVolumeMax(float volMax)
{
    m_volMax = volMax;
    m_volumeChanged = true;
}

void CSound::SetFrequency(float hz)
{
    m_baseFrequency = hz;
    m_frequencyChanged = true;
}

void CSound::SetPan(float pan)
{
    m_pan = pan;
    m_panChanged = true;
}

void CSound::SetPlacement(float attenuation, float doppler, const CVector3& worldPosition)
{
    m_att = attenuation;
    m_doppler = doppler;
    m_position = worldPosition;
    m_hasPosition = true;
    m_volumeChanged = true;
    m_frequencyChanged = true;
}

void CSound::ApplyChanges(float globalVolume, bool positionalPanning)
{
    if (!m_valid)
        return;
    if (m_frequencyChanged)
    {
        const float pitch = sound_laws::PlaybackFrequency(m_baseFrequency, m_doppler) / m_sampleRate;
        for (const TVoice& voice : m_voices)
            for (ALuint source : {voice.left, voice.right, voice.mono})
                alSourcef(source, AL_PITCH, pitch);
    }
    if (m_volumeChanged || m_panChanged)
    {
        m_applied = globalVolume * m_att * m_volMax * m_vol;
        const int level = sound_laws::VolumeToHundredthsDb(m_applied);
        sound_laws::ChannelGains(level, sound_laws::PanToHundredthsDb(m_pan), m_leftGain, m_rightGain);
        m_monoGain = sound_laws::HundredthsDbToGain(level) * kPositionalCentreGain;
        for (const TVoice& voice : m_voices)
        {
            alSourcef(voice.left, AL_GAIN, m_leftGain);
            alSourcef(voice.right, AL_GAIN, m_rightGain);
            alSourcef(voice.mono, AL_GAIN, m_monoGain);
        }
    }
    if (m_hasPosition)
        for (const TVoice& voice : m_voices)
            alSource3f(voice.mono, AL_POSITION, m_position.x, m_position.y, m_position.z);
    m_volumeChanged = m_frequencyChanged = m_panChanged = false;

    // The way a playing voice is heard follows the switch (and a sound that got its first
    // position while playing), without restarting it.
    const bool wantPositional = positionalPanning && m_hasPosition;
    for (TVoice& voice : m_voices)
        if (voice.positional != wantPositional)
            ApplyToVoice(voice, positionalPanning);
}

void CSound::ApplyToVoice(TVoice& voice, bool positionalPanning)
{
    const bool wantPositional = positionalPanning && m_hasPosition;
    const ALuint from = voice.positional ? voice.mono : voice.left;
    ALint state = AL_STOPPED;
    alGetSourcei(from, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING)
    {
        voice.positional = wantPositional;
        return;
    }
    ALint offset = 0;
    ALint looping = AL_FALSE;
    alGetSourcei(from, AL_SAMPLE_OFFSET, &offset);
    alGetSourcei(from, AL_LOOPING, &looping);
    const ALuint all[3] = {voice.left, voice.right, voice.mono};
    alSourceStopv(3, all);
    voice.positional = wantPositional;
    if (wantPositional)
    {
        alSourcei(voice.mono, AL_LOOPING, looping);
        alSourcei(voice.mono, AL_SAMPLE_OFFSET, offset);
        alSourcePlay(voice.mono);
    }
    else
    {
        const ALuint pair[2] = {voice.left, voice.right};
        for (ALuint source : pair)
        {
            alSourcei(source, AL_LOOPING, looping);
            alSourcei(source, AL_SAMPLE_OFFSET, offset);
        }
        alSourcePlayv(2, pair);
    }
}

bool CSound::SourcePlaying(ALuint source)
{
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void CSound::Play(bool loop, float globalVolume, bool positionalPanning)
{
    if (!m_valid)
        return;
    ApplyChanges(globalVolume, positionalPanning);
    // The first voice that is silent, else any (a sound asked for faster than it lasts).
    TVoice* chosen = nullptr;
    for (TVoice& voice : m_voices)
        if (!SourcePlaying(voice.positional ? voice.mono : voice.left))
        {
            chosen = &voice;
            break;
        }
    if (chosen == nullptr)
        chosen = &m_voices[static_cast<size_t>(std::rand()) % m_voices.size()];

    const ALint looping = loop ? AL_TRUE : AL_FALSE;
    const bool positional = positionalPanning && m_hasPosition;
    const ALuint playing = chosen->positional ? chosen->mono : chosen->left;
    if (SourcePlaying(playing) && chosen->positional == positional)
    {
        // Already sounding: it goes on from where it is, only the looping follows the call.
        for (ALuint source : {chosen->left, chosen->right, chosen->mono})
            alSourcei(source, AL_LOOPING, looping);
        return;
    }
    const ALuint all[3] = {chosen->left, chosen->right, chosen->mono};
    alSourceStopv(3, all);
    chosen->positional = positional;
    for (ALuint source : all)
        alSourcei(source, AL_LOOPING, looping);
    if (positional)
    {
        alSourcePlay(chosen->mono);
    }
    else
    {
        const ALuint pair[2] = {chosen->left, chosen->right};
        alSourcePlayv(2, pair);
    }
}

void CSound::Stop()
{
    for (const TVoice& voice : m_voices)
    {
        const ALuint all[3] = {voice.left, voice.right, voice.mono};
        alSourceStopv(3, all);
    }
}

bool CSound::IsPlaying() const
{
    for (const TVoice& voice : m_voices)
        if (SourcePlaying(voice.left) || SourcePlaying(voice.mono))
            return true;
    return false;
}
