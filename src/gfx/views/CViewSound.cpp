#include "gfx/views/CViewSound.h"

#include "sound/CSoundSystem.h"

CViewSound::CViewSound(const std::string& name, CSoundSystem& sound)
    : CViewSettingsDialog(name, kLeft, kTop), m_sound(sound)
{
    BuildRows(m_sound.Settings());
}

void CViewSound::ApplySettings()
{
    m_sound.ApplySettings();
}

bool CViewSound::SaveSettings(std::string& outError)
{
    if (m_sound.SaveSettings())
        return true;
    // The settings have reported the full path; the dialog says it where the pilot looks.
    outError = std::string("Output/") + CSoundSystem::kFileName + " cannot be written";
    return false;
}

void CViewSound::SetDefaults()
{
    m_sound.Settings().SetDefaults();
}

void CViewSound::TakeSnapshot()
{
    const CPropertySet_Sound& now = m_sound.Settings();
    m_start = TSnapshot{now.globalVolume, now.engineVolume, now.engineEnabled, now.positionalPanning};
}

void CViewSound::RestoreSnapshot()
{
    CPropertySet_Sound& now = m_sound.Settings();
    now.globalVolume = m_start.globalVolume;
    now.engineVolume = m_start.engineVolume;
    now.engineEnabled = m_start.engineEnabled;
    now.positionalPanning = m_start.positionalPanning;
}
