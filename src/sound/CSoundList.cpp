#include "sound/CSoundList.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cassert>
#include <cmath>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "sound/CSound.h"
#include "sound/CWavReader.h"
#include "sound/SoundLaws.h"

CSoundList::CSoundList() : m_slots(kSlotCount) {}

CSoundList::~CSoundList()
{
    Shutdown();
}

bool CSoundList::Init()
{
    Shutdown();
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr)
    {
        m_failure = "no audio output device could be opened";
        DiagPrint("Sound: %s; the program runs silent\n", m_failure.c_str());
        return false;
    }
    return Open(device, nullptr);
}

bool CSoundList::InitLoopback(int sampleRate)
{
    Shutdown();
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
    {
        m_failure = "the audio library cannot render into memory (ALC_SOFT_loopback)";
        DiagPrint("Sound: %s\n", m_failure.c_str());
        return false;
    }
    ALCdevice* device = alcLoopbackOpenDeviceSOFT(nullptr);
    if (device == nullptr)
    {
        m_failure = "no loopback device";
        DiagPrint("Sound: %s\n", m_failure.c_str());
        return false;
    }
    // Plain stereo without head-related filtering or a limiter, so that levels are the gains.
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY, sampleRate, ALC_HRTF_SOFT, ALC_FALSE, ALC_OUTPUT_LIMITER_SOFT,
                                 ALC_FALSE, 0};
    m_loopback = true;
    return Open(device, attributes);
}

bool CSoundList::Open(ALCdevice* device, const int* attributes)
{
    m_device = device;
    m_context = alcCreateContext(device, attributes);
    if (m_context == nullptr || alcMakeContextCurrent(m_context) != ALC_TRUE)
    {
        m_failure = "the audio device gave no context";
        DiagPrint("Sound: %s; the program runs silent\n", m_failure.c_str());
        Shutdown();
        return false;
    }
    // Distance and Doppler are ours (SoundLaws.h); the library only places and mixes.
    alDistanceModel(AL_NONE);
    alDopplerFactor(0.0f);
    m_initialised = true;
    m_failure.clear();
    CWavReader dummy;
    if (!dummy.Load(BuildDataPath(DF_SOUND, kDummyFile)))
        dummy.SetSilence(64, 22050); // handle 0 must stand for something; the reader said why
    m_slots[0] = std::make_unique<CSound>(kDummyFile, dummy, 1);
    return true;
}

void CSoundList::Shutdown()
{
    for (auto& slot : m_slots)
        slot.reset();
    if (m_context != nullptr)
    {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_context);
        m_context = nullptr;
    }
    if (m_device != nullptr)
    {
        alcCloseDevice(m_device);
        m_device = nullptr;
    }
    m_initialised = false;
    m_loopback = false;
}

void CSoundList::Render(float* outFrames, int frameCount)
{
    assert(outFrames != nullptr && frameCount >= 0);
    if (!m_initialised || !m_loopback)
        return;
    alcRenderSamplesSOFT(m_device, outFrames, frameCount);
}

int CSoundList::Load(const std::string& fileName, int voiceCount)
{
    if (!m_initialised)
        return 0;
    int slot = 1;
    while (slot < kSlotCount && m_slots[static_cast<size_t>(slot)])
        ++slot;
    if (slot == kSlotCount)
    {
        DiagPrint("Sound: all %d slots are in use; %s is not loaded\n", kSlotCount, fileName.c_str());
        return 0;
    }
    if (!IsPlainDataName(fileName))
    {
        DiagPrint("Sound: '%s' is not a file name in %s\n", fileName.c_str(), BuildDataPath(DF_SOUND, "").c_str());
        return 0;
    }
    CWavReader wav;
    if (!wav.Load(BuildDataPath(DF_SOUND, fileName)))
        return 0;
    auto sound = std::make_unique<CSound>(fileName, wav, voiceCount);
    if (!sound->IsValid())
        return 0;
    m_slots[static_cast<size_t>(slot)] = std::move(sound);
    return slot;
}

void CSoundList::Release(int handle)
{
    if (handle > 0 && handle < kSlotCount)
        m_slots[static_cast<size_t>(handle)].reset();
}

CSound* CSoundList::Find(int handle) const
{
    if (!m_initialised || handle < 0 || handle >= kSlotCount)
        return nullptr;
    return m_slots[static_cast<size_t>(handle)].get();
}

const CSound* CSoundList::GetSound(int handle) const
{
    return Find(handle);
}

int CSoundList::LoadedCount() const
{
    int count = 0;
    for (const auto& slot : m_slots)
        count += slot ? 1 : 0;
    return count;
}

void CSoundList::Play(int handle, bool loop)
{
    if (CSound* sound = Find(handle))
        sound->Play(loop, m_globalVolume, m_positionalPanning);
}

void CSoundList::Stop(int handle)
{
    if (CSound* sound = Find(handle))
        sound->Stop();
}

bool CSoundList::IsPlaying(int handle) const
{
    const CSound* sound = Find(handle);
    return sound != nullptr && sound->IsPlaying();
}

void CSoundList::SetVolume(int handle, float vol)
{
    if (CSound* sound = Find(handle))
        sound->SetVolume(vol);
}

void CSoundList::SetVolumeMax(int handle, float volMax)
{
    if (CSound* sound = Find(handle))
        sound->SetVolumeMax(volMax);
}

void CSoundList::SetFrequency(int handle, float hz)
{
    if (CSound* sound = Find(handle))
        sound->SetFrequency(hz);
}

void CSoundList::SetPan(int handle, float pan)
{
    if (CSound* sound = Find(handle))
        sound->SetPan(pan);
}

void CSoundList::SetPosition(int handle, const CVector3& position, const CVector3& velocity)
{
    CSound* sound = Find(handle);
    if (sound == nullptr)
        return;
    const float attenuation = sound_laws::DistanceAttenuation(position - m_listenerPosition);
    const float doppler = sound_laws::DopplerFactor(position, velocity, m_listenerPosition, m_listenerVelocity);
    sound->SetPlacement(attenuation, doppler, position);
}

void CSoundList::SetListener(const CVector3& position, const CVector3& velocity)
{
    m_listenerPosition = position;
    m_listenerVelocity = velocity;
    if (m_initialised)
        alListener3f(AL_POSITION, position.x, position.y, position.z);
}

void CSoundList::SetListenerOrientation(const CVector3& forward, const CVector3& up)
{
    if (!m_initialised)
        return;
    const ALfloat orientation[6] = {forward.x, forward.y, forward.z, up.x, up.y, up.z};
    alListenerfv(AL_ORIENTATION, orientation);
}

void CSoundList::SetGlobalVolume(float volume)
{
    if (volume == m_globalVolume)
        return;
    m_globalVolume = volume;
    for (auto& slot : m_slots)
        if (slot)
            slot->MarkVolumeChanged();
}

void CSoundList::SetPositionalPanning(bool on)
{
    m_positionalPanning = on;
}

void CSoundList::Update()
{
    if (!m_initialised)
        return;
    for (auto& slot : m_slots)
        if (slot)
            slot->ApplyChanges(m_globalVolume, m_positionalPanning);
}

std::string CSoundList::GetDiagnosticText() const
{
    std::string text = "Sound\n";
    if (!m_initialised)
        return text + " Sound Not Initialized\n";
    text += StringPrintf("Global Volume = %f\n", static_cast<double>(m_globalVolume));
    for (int i = 0; i < kSlotCount; ++i)
    {
        const CSound* sound = m_slots[static_cast<size_t>(i)].get();
        if (sound == nullptr)
            continue;
        text += StringPrintf("%2.2i <%-30.30s>  Frq(%7.0liHz)  Doppler=% 6.3f  VolMax=% 3.3f  Vol=% 3.3f  Att=% 3.3f "
                             "Pan=% 3.3f\n",
                             i, sound->FileName().c_str(), std::lround(sound->BaseFrequency()),
                             static_cast<double>(sound->Doppler()), static_cast<double>(sound->VolumeMax()),
                             static_cast<double>(sound->Volume()), static_cast<double>(sound->Attenuation()),
                             static_cast<double>(sound->Pan()));
    }
    return text;
}
