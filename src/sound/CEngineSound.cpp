#include "sound/CEngineSound.h"

#include <algorithm>

#include "core/TTableDataEntryND.h"
#include "sound/CPropertySet_Sound.h"
#include "sound/CSoundList.h"

namespace
{
const char* const kVoiceFiles[CEngineSound::kVoiceCount] = {"Engine21_01680_13s_22m.wav", "Engine21_06780_1s_22m.wav",
                                                            "Engine21_10140_2s_22m.wav", "Engine21_10140_2s_22m.wav"};

const TTableDataEntry4D kMixTable[] = {
    {0.0f, 0.1f, 0.0f, 0.0f, 0.0f},     {3280.0f, 0.1f, 0.0f, 0.0f, 0.0f},  {3480.0f, 0.02f, 0.7f, 0.0f, 0.0f},
    {7800.0f, 0.0f, 0.7f, 0.0f, 0.0f},  {8000.0f, 0.0f, 0.0f, 1.0f, 0.0f},  {40040.0f, 0.0f, 0.0f, 1.0f, 0.0f},
    {40240.0f, 0.0f, 0.0f, 0.0f, 1.0f}, {99999.9f, 0.0f, 0.0f, 0.0f, 1.0f},
};
constexpr float kMaxTableRpm = 99999.9f; // the table's last key: it is not extrapolated
} // namespace

CEngineSound::CEngineSound(CSoundList& list, const CPropertySet_Sound& settings, const bool& muted)
    : m_list(list), m_settings(settings), m_muted(muted)
{
}

CEngineSound::~CEngineSound()
{
    Destroy();
}

void CEngineSound::Create()
{
    for (int i = 0; i < kVoiceCount; ++i)
        m_voices[i] = m_list.Load(kVoiceFiles[i]);
    m_mix.SetFromEntries(kMixTable, sizeof(kMixTable) / sizeof(kMixTable[0]));
}

void CEngineSound::Start()
{
    m_playing = true;
    if (m_muted)
        return;
    for (int handle : m_voices)
    {
        m_list.SetVolume(handle, 0.0f);
        m_list.Play(handle, true);
    }
    m_voicesSounding = true;
}

void CEngineSound::Stop()
{
    m_playing = false;
    for (int handle : m_voices)
        m_list.Stop(handle);
    m_voicesSounding = false;
}

void CEngineSound::Destroy()
{
    Stop();
    for (int& handle : m_voices)
    {
        m_list.Release(handle);
        handle = 0;
    }
}

void CEngineSound::SetState(float revPerSecond, float /*throttle*/, bool running)
{
    SetSpeed(revPerSecond);
    if (running && !m_playing)
        Start();
    else if (!running && m_playing)
        Stop();
}

void CEngineSound::SetPosition(const CVector3& positionWorld, const CVector3& velocityWorld)
{
    for (int handle : m_voices)
        m_list.SetPosition(handle, positionWorld, velocityWorld);
}

void CEngineSound::MixGains(float rpm, float outGains[kVoiceCount]) const
{
    std::fill(outGains, outGains + kVoiceCount, 0.0f);
    if (!(rpm >= 0.0f))
        rpm = 0.0f;
    m_mix.Lookup(std::min(rpm, kMaxTableRpm), outGains, kVoiceCount);
}

void CEngineSound::Update()
{
    if (m_playing && m_muted && m_voicesSounding)
    {
        for (int handle : m_voices)
            m_list.Stop(handle);
        m_voicesSounding = false;
    }
    else if (m_playing && !m_muted && !m_voicesSounding)
    {
        Start();
    }

    float gains[kVoiceCount];
    MixGains(m_revPerSecond * 60.0f, gains);
    const float volume = m_settings.engineEnabled ? m_settings.engineVolume : 0.0f;
    for (int i = 0; i < kVoiceCount; ++i)
    {
        m_list.SetVolume(m_voices[i], gains[i] * volume);
        m_list.SetFrequency(m_voices[i], m_revPerSecond * kNaturalRate * kRateMultiplier[i]);
    }
}
