#include "sim/CFlightSession.h"

#include <cmath>

#include "core/CMatrix3.h"
#include "core/Diagnostics.h"
#include "env/CWind.h"
#include "model/CModel.h"
#include "model/CVariable.h"
#include "sim/CFlyWorldTerrain.h"
#include "sim/CGroundContacts.h"
#include "sim/CWeatherWindField.h"

namespace
{
constexpr float kDegToRad = 0.017453292519943295f;

// Forwards every query to the ground currently chosen.
class CSwitchedTerrain : public ITerrain
{
public:
    float GetTerrainHeight(float x, float z, TTerrainHint& ioHint, CVector3& outNormal) const override
    {
        return current->GetTerrainHeight(x, z, ioHint, outNormal);
    }
    float GetGroundCeiling(float x, float z) const override { return current->GetGroundCeiling(x, z); }
    const ITerrain* current = nullptr; // not owned: one of the session's two grounds
};

// Collects the diagnostic lines of one operation, then hands them on to the sink that was in
// place before.
class CDiagCapture
{
public:
    CDiagCapture()
    {
        m_previous = SetDiagnosticSink([this](const std::string& line) { m_text += line; });
    }
    ~CDiagCapture() { Release(); }
    // Ends the capture; the collected text goes out as it would have without it.
    std::string Release()
    {
        if (!m_active)
            return m_text;
        m_active = false;
        SetDiagnosticSink(std::move(m_previous));
        if (!m_text.empty())
            DiagPrint("%s", m_text.c_str());
        return m_text;
    }

private:
    std::function<void(const std::string&)> m_previous;
    std::string m_text;
    bool m_active = true;
};
} // namespace

CFlightSession::CFlightSession(CFlyWorld* site, CWind* wind)
{
    if (site == nullptr)
    {
        m_ownSite = std::make_unique<CFlyWorld>();
        site = m_ownSite.get();
    }
    m_site = site;
    m_flat = !m_site->IsValid();
    m_startPose = m_site->GetStartPose();

    if (wind == nullptr)
    {
        m_ownWind = std::make_unique<CWind>();
        m_ownWind->GetPropertySet().velocity = 0.0f;
        m_ownWind->GetPropertySet().thermalStrength = 0.0f;
        m_ownWind->GetPropertySet().StoreProperties();
        m_ownWind->ApplySettings();
        wind = m_ownWind.get();
    }
    m_wind = wind;

    m_siteTerrain = std::make_unique<CFlyWorldTerrain>(*m_site);
    m_flatTerrain = std::make_unique<CNullTerrain>();
    auto terrain = std::make_unique<CSwitchedTerrain>();
    terrain->current = m_flat ? m_flatTerrain.get() : m_siteTerrain.get();
    m_terrain = std::move(terrain);
    m_windField = std::make_unique<CWeatherWindField>(*m_wind);

    for (int i = 0; i < kChannelCount; ++i)
    {
        m_channels[i] = m_inputs.Add(StringPrintf("V_CH%d", i + 1));
        m_channels[i]->SetValue(0.0f); // resolved: an input is a plain value, never a link
    }
}

CFlightSession::~CFlightSession()
{
    // A borrowed wind must not keep pointing at the slope of a site that dies with us.
    if (m_ownSite && m_wind->GetSlopeLift() == &m_ownSite->GetSlopeLift())
        m_wind->SetSlopeLift(nullptr);
}

bool CFlightSession::LoadSite(const std::string& siteNameOrEmpty)
{
    m_siteError.clear();
    const std::string siteName = siteNameOrEmpty.empty() ? m_site->GetSiteName() : siteNameOrEmpty;
    const bool loaded = (m_site->IsValid() && m_site->GetSiteName() == siteName) || m_site->LoadWorld(siteName);
    if (!loaded)
        m_siteError = m_site->GetLoadError().empty() ? "the flying site cannot be loaded" : m_site->GetLoadError();
    m_startPose = m_site->GetStartPose();
    UseFlatGround(!loaded);
    return loaded;
}

void CFlightSession::UseFlatGround(bool flat)
{
    m_flat = flat;
    static_cast<CSwitchedTerrain&>(*m_terrain).current = flat ? m_flatTerrain.get() : m_siteTerrain.get();
    // Flat ground has no slopes to lift the air.
    m_wind->SetSlopeLift(flat ? nullptr : &m_site->GetSlopeLift());
}

float CFlightSession::GetGroundHeight(float x, float z) const
{
    TTerrainHint hint;
    return GetGroundHeight(x, z, hint);
}

float CFlightSession::GetGroundHeight(float x, float z, TTerrainHint& ioHint) const
{
    CVector3 normal;
    return m_terrain->GetTerrainHeight(x, z, ioHint, normal);
}

bool CFlightSession::CreateWind()
{
    return m_wind->Create();
}

void CFlightSession::SetWind(float speed, float headingDeg, float turbulence)
{
    CPropertySet_Wind& settings = m_wind->GetPropertySet();
    settings.velocity = speed;
    settings.heading = headingDeg;
    settings.pitch = 0.0f;
    settings.turbulence = turbulence;
    settings.StoreProperties();
    m_wind->ApplySettings();
}

void CFlightSession::SetThermals(float strength, float radius, float density)
{
    CPropertySet_Wind& settings = m_wind->GetPropertySet();
    settings.thermalStrength = strength;
    settings.thermalRadius = radius;
    settings.thermalDensity = density;
    settings.ClampThermals();
    settings.StoreProperties();
    m_wind->ApplySettings();
}

CVector3 CFlightSession::GetAirAt(const CVector3& worldPoint) const
{
    return m_wind->GetWindAt(worldPoint);
}

CModelServices CFlightSession::MakeServices()
{
    CModelServices services = m_displayServices;
    services.terrain = m_terrain.get();
    services.wind = m_windField.get();
    services.globalVariables = &m_inputs;
    return services;
}

bool CFlightSession::LoadModel(const std::string& name)
{
    return Load(name, nullptr);
}

bool CFlightSession::LoadModelText(const std::string& text, const std::string& fileName)
{
    return Load(fileName, &text);
}

bool CFlightSession::Load(const std::string& name, const std::string* text)
{
    // The motion carries over to the new model, as when the pilot swaps models in flight.
    CBodyState oldState;
    const bool hadModel = m_model != nullptr;
    if (hadModel)
        m_model->GetBody().GetState(oldState);
    m_model.reset();

    auto model = std::make_unique<CModel>(MakeServices());
    CDiagCapture capture;
    const bool loaded = text ? model->LoadModelText(*text, name) : model->LoadModel(name);
    std::string remarks = capture.Release();
    while (!remarks.empty() && remarks.back() == '\n')
        remarks.pop_back();

    if (!loaded)
    {
        m_loadMessage = remarks.empty() ? "Data/Model/" + name + ": the model cannot be loaded" : remarks;
        return false;
    }
    m_loadMessage = remarks;
    m_model = std::move(model);
    // Placed before its first frame, which links and weighs the parts: a model that spent a
    // frame at the origin would have its collision points in the ground.
    if (hadModel)
        m_model->GetBody().SetState(oldState);
    else
        ResetToStart();
    return true;
}

void CFlightSession::BuildOrientation(float headingDeg, float pitchDeg, float rollDeg, CMatrix3& outOrientation)
{
    const float h = headingDeg * kDegToRad;
    const float p = pitchDeg * kDegToRad;
    const float r = rollDeg * kDegToRad;
    const CVector3 nose(std::sin(h) * std::cos(p), std::sin(p), -std::cos(h) * std::cos(p));
    const CVector3 levelRight(std::cos(h), 0.0f, std::sin(h));
    const CVector3 levelUp = levelRight.Cross(nose);
    // A positive roll lowers the right wing.
    const CVector3 right = levelRight * std::cos(r) - levelUp * std::sin(r);
    const CVector3 up = levelUp * std::cos(r) + levelRight * std::sin(r);
    outOrientation = CMatrix3::FromRows(right, up, -nose);
}

void CFlightSession::ResetToStart()
{
    if (!m_model)
        return;
    CEngineDynamic& body = m_model->GetBody();
    CMatrix3 orientation;
    BuildOrientation(m_startPose.headingDeg, m_startPose.pitchDeg, m_startPose.rollDeg, orientation);
    CVector3 position = m_startPose.position;
    if (m_startOnGround)
        CGroundContacts::RestingHeight(*m_model, orientation, position.x, position.z, *m_terrain, position.y);
    body.SetPosition(position);
    body.SetOrientation(orientation);
    body.SetVelocity(CVector3());
    body.SetAngularVelocity(CVector3());
}

void CFlightSession::SetAltitude100()
{
    if (!m_model)
        return;
    CEngineDynamic& body = m_model->GetBody();
    CVector3 position = body.GetPosition();
    position.y = kAltitudeLow;
    body.SetPosition(position);
}

void CFlightSession::SetAltitude500()
{
    if (m_model)
        m_model->GetBody().SetPosition(CVector3(0.0f, kAltitudeHigh, 0.0f));
}

void CFlightSession::RequestUpright()
{
    if (m_model)
        m_model->SetUpright(true);
}

void CFlightSession::SetChannel(int index, float value)
{
    if (index >= 0 && index < kChannelCount)
        m_channels[index]->SetValue(value);
}

float CFlightSession::GetChannel(int index) const
{
    return index >= 0 && index < kChannelCount ? m_channels[index]->GetValue() : 0.0f;
}

CVector3 CFlightSession::ForwardAxis(const CModel& model)
{
    return -model.GetBody().GetOrientation().row[2];
}

void CFlightSession::Step(float frameTime, bool modelRuns)
{
    if (!m_model)
        return;
    m_wind->Update(m_model->GetBody().GetPosition(), ForwardAxis(*m_model), frameTime);
    if (modelRuns)
        m_model->UpdateModel(frameTime);
    m_model->SetUpright(false);
}
