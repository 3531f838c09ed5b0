#include "gfx/views/CViewWeather.h"

#include "env/CWind.h"

CViewWeather::CViewWeather(const std::string& name, CWind& wind)
    : CViewSettingsDialog(name, kLeft, kTop, wind.GetPropertySet().PropertyCount()), m_wind(wind)
{
    BuildRows(m_wind.GetPropertySet());
}

void CViewWeather::ApplySettings()
{
    m_wind.ApplySettings();
}

bool CViewWeather::SaveSettings(std::string& outError)
{
    if (m_wind.Save())
        return true;
    // CWind::Save has reported the full path; the dialog says it where the pilot looks.
    outError = std::string("Output/") + CWind::kFileName + " cannot be written";
    return false;
}

void CViewWeather::SetDefaults()
{
    m_wind.GetPropertySet().SetDefaults();
}

void CViewWeather::TakeSnapshot()
{
    const CPropertySet_Wind& settings = m_wind.GetPropertySet();
    m_start = TSnapshot{settings.velocity,        settings.heading,         settings.pitch,
                        settings.turbulence,      settings.thermalStrength, settings.thermalRadius,
                        settings.thermalDensity,  settings.thermalLifetime};
}

void CViewWeather::RestoreSnapshot()
{
    CPropertySet_Wind& settings = m_wind.GetPropertySet();
    settings.velocity = m_start.velocity;
    settings.heading = m_start.heading;
    settings.pitch = m_start.pitch;
    settings.turbulence = m_start.turbulence;
    settings.thermalStrength = m_start.thermalStrength;
    settings.thermalRadius = m_start.thermalRadius;
    settings.thermalDensity = m_start.thermalDensity;
    settings.thermalLifetime = m_start.thermalLifetime;
}
