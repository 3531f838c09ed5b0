#include "sound/CSoundSystem.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "sound/CEngineSound.h"

namespace
{
constexpr float kSwitchVolumeMax = 0.1f;
constexpr float kEventVolumeMax = 0.3f;
constexpr int kFirstCrash = 7; // Crash1 .. Crash3 in the table below
constexpr int kTouch = 10;
} // namespace

CSoundSystem::CSoundSystem()
    : m_sounds{{"ht_sw1.wav", kSwitchVolumeMax, 0}, {"ht_sw2.wav", kSwitchVolumeMax, 0}, {"ht_pb1.wav", kEventVolumeMax, 0},
               {"ht_pb2.wav", kEventVolumeMax, 0},  {"Pip1.wav", kEventVolumeMax, 0},     {"Pip4.wav", kEventVolumeMax, 0},
               {"Pip5.wav", kEventVolumeMax, 0},    {"Crash1.wav", kEventVolumeMax, 0},   {"Crash2.wav", kEventVolumeMax, 0},
               {"Crash3.wav", kEventVolumeMax, 0},  {"Touch1.wav", kEventVolumeMax, 0},   {"Dummy.wav", 1.0f, 0}}
{
}

CSoundSystem::~CSoundSystem()
{
    Destroy();
}

bool CSoundSystem::Create(EDevice device)
{
    bool opened = false;
    if (device == EDevice::kDefault)
        opened = m_list.Init();
    else if (device == EDevice::kLoopback)
        opened = m_list.InitLoopback(kLoopbackRate);
    if (opened)
        for (TInterfaceSound& sound : m_sounds)
        {
            if (std::strcmp(sound.file, CSoundList::kDummyFile) == 0)
                continue; // handle 0 already
            sound.handle = m_list.Load(sound.file);
            if (sound.handle != 0)
                m_list.SetVolumeMax(sound.handle, sound.volumeMax);
        }
    m_settings.ReadFile(kFileName, "Sound");
    ApplySettings();
    SaveSettings();
    return opened;
}

void CSoundSystem::Destroy()
{
    for (TInterfaceSound& sound : m_sounds)
    {
        m_list.Release(sound.handle);
        sound.handle = 0;
    }
    m_list.Shutdown();
}

void CSoundSystem::ApplySettings()
{
    m_list.SetGlobalVolume(m_settings.globalVolume);
    m_list.SetPositionalPanning(m_settings.positionalPanning);
}

bool CSoundSystem::SaveSettings()
{
    return m_settings.WriteFile(kFileName);
}

void CSoundSystem::ToggleEngineSound()
{
    m_settings.engineEnabled = !m_settings.engineEnabled;
    m_settings.StoreProperties();
    m_settings.RefreshControls();
    ApplySettings();
}

int CSoundSystem::InterfaceHandle(const char* fileName) const
{
    if (fileName == nullptr)
        return 0;
    for (const TInterfaceSound& sound : m_sounds)
        if (std::strcmp(sound.file, fileName) == 0)
            return sound.handle;
    return 0;
}

void CSoundSystem::PlayInterfaceSound(const char* fileName)
{
    const int handle = InterfaceHandle(fileName);
    if (handle != 0)
        m_list.Play(handle, false);
}

void CSoundSystem::SetListener(const CVector3& position, const CVector3& velocity, const CVector3& forward,
                               const CVector3& up)
{
    m_list.SetListener(position, velocity);
    m_list.SetListenerOrientation(forward, up);
}

void CSoundSystem::Update()
{
    m_list.Update();
}

std::unique_ptr<IEngineSound> CSoundSystem::CreateEngineSound()
{
    if (!m_list.IsInitialised())
        return nullptr;
    auto sound = std::make_unique<CEngineSound>(m_list, m_settings, m_enginesMuted);
    sound->Create();
    return sound;
}

void CSoundSystem::PlayEvent(int handle, float strength, const CVector3& position, const CVector3& velocity)
{
    if (handle == 0)
        return;
    m_list.SetVolume(handle, std::clamp(strength, 0.0f, 1.0f));
    m_list.SetPosition(handle, position, velocity);
    m_list.Play(handle, false);
}

void CSoundSystem::PlayCrash(float strength, const CVector3& position, const CVector3& velocity)
{
    PlayEvent(m_sounds[kFirstCrash + std::rand() % 3].handle, strength, position, velocity);
}

void CSoundSystem::PlayTouch(float strength, const CVector3& position, const CVector3& velocity)
{
    PlayEvent(m_sounds[kTouch].handle, strength, position, velocity);
}
