#include "gfx/scene/CSun.h"

#include <algorithm>
#include <cmath>

#include "core/TTableDataEntryND.h"

namespace
{
constexpr float kDegToRad = 0.017453292f;
// The glare starts inside a cone of 10 degrees around the sun.
constexpr float kGlareConeRad = 0.17453294f;
constexpr float kGlareRise = 2.5f;  // per second at c = 1
constexpr float kGlareDecay = 0.3f; // per second

// Angle (deg) -> ambient RGB, diffuse RGB, specular RGB. Dark from 20 degrees below the horizon,
// a reddish specular just after sunset.
const TTableDataEntryND<9> kLighting[] = {
    {-90.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-20.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-10.0f, 0.3f, 0.3f, 0.3f, 0.7f, 0.7f, 0.7f, 0.6f, 0.6f, 0.6f},
    {0.0f, 0.45f, 0.45f, 0.45f, 0.9f, 0.9f, 0.9f, 0.6f, 0.6f, 0.6f},
    {90.0f, 0.5f, 0.5f, 0.5f, 1, 1, 1, 1, 1, 1},
    {180.0f, 0.45f, 0.45f, 0.45f, 0.9f, 0.9f, 0.9f, 0.6f, 0.6f, 0.6f},
    {190.0f, 0.3f, 0.3f, 0.3f, 0.7f, 0.7f, 0.7f, 0.9f, 0.86f, 0},
    {200.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {270.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

uint8_t ToByte(float value)
{
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f);
}

osg::Vec4 ToVec4(const TColor& c)
{
    return osg::Vec4(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, c.a / 255.0f);
}
} // namespace

CSun::CSun()
{
    m_table.SetFromEntries(kLighting, sizeof(kLighting) / sizeof(kLighting[0]));
    SetTimeOfDay(90.0f);
}

void CSun::ResetToMidday()
{
    SetTimeOfDay(90.0f);
    m_glareEnabled = true;
    m_glare = 0.0f;
}

void CSun::SetTimeOfDay(float angleDeg)
{
    if (m_applied && angleDeg == m_angle)
        return;
    m_applied = true;
    m_angle = angleDeg;
    float values[9] = {};
    m_table.Lookup(angleDeg, values, 9);
    m_ambient = TColor{ToByte(values[0]), ToByte(values[1]), ToByte(values[2]), 255};
    m_diffuse = TColor{ToByte(values[3]), ToByte(values[4]), ToByte(values[5]), 255};
    m_specular = TColor{ToByte(values[6]), ToByte(values[7]), ToByte(values[8]), 255};
    const float a = angleDeg * kDegToRad;
    m_direction = CVector3(std::cos(a), std::sin(a), 0.0f);
}

void CSun::ApplyToLight(osg::Light& light) const
{
    light.setAmbient(ToVec4(m_ambient));
    light.setDiffuse(ToVec4(m_diffuse));
    light.setSpecular(ToVec4(m_specular));
    // w = 0: a directional light, given by the direction towards it.
    light.setPosition(osg::Vec4(m_direction.x, m_direction.y, m_direction.z, 0.0f));
}

float CSun::UpdateGlare(const CVector3& forward, float frameTime)
{
    if (!m_glareEnabled)
        return m_glare;
    const float c = m_direction.Dot(forward);
    const float t = std::cos(kGlareConeRad);
    if (c > t)
        m_glare += frameTime * kGlareRise * (c - t) / (1.0f - t);
    else
        m_glare -= frameTime * kGlareDecay;
    m_glare = std::clamp(m_glare, 0.0f, 1.0f);
    m_glare = std::min(m_glare, kMaxGlare);
    return m_glare;
}

osg::Matrix CSun::SkyDomeMatrix(const CVector3& cameraPosition)
{
    return osg::Matrix::rotate(1.5707964, osg::Vec3d(-1.0, 0.0, 0.0)) *
           osg::Matrix::translate(cameraPosition.x, cameraPosition.y, cameraPosition.z);
}
