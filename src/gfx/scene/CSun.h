#pragma once
// The sun: one directional light whose direction and colours follow a time-of-day angle, and
// the glare that builds up while the camera looks into it. Pure state and arithmetic; the
// drawing is CSunRenderer's, so all of this is testable without a window.
//
// Time of day: an angle a (degrees) of the sun's elevation in the x-y plane: 0 sunrise on the
// +x horizon, 90 overhead, 180 sunset on the -x horizon, below the horizon beyond. The sun's
// direction (from the scene towards the sun) is D = (cos a, sin a, 0); the light travels -D.
// The ambient, diffuse and specular colours come from the lighting table at a (linear between
// rows), each component times 255 truncated to a byte, alpha 255.
//
// Glare, per frame with the camera's forward direction V and frame time dt (s):
//   c = D . V, t = cos 10 deg; g += dt * 2.5 * (c - t) / (1 - t) when c > t, else g -= 0.3 dt;
//   g is clamped to 0 .. 0.5. A full stare (c = 1) at 50 fps adds 0.05 per frame: 0.5 in 0.2 s.

#include <osg/Light>
#include <osg/Matrix>

#include "core/CVector3.h"
#include "core/TTableData.h"
#include "gfx/draw2d/Palette.h"

class CSun
{
public:
    static constexpr float kMaxGlare = 0.5f;

    // Builds the table and applies 90 degrees (midday); glare on.
    CSun();

    // Applies the angle (degrees) unless it equals the one applied last.
    void SetTimeOfDay(float angleDeg);
    // Every flight starts as a fresh sun does: midday, glare enabled and none built up.
    void ResetToMidday();
    float GetTimeOfDay() const { return m_angle; }
    const CVector3& GetDirection() const { return m_direction; } // world, unit, towards the sun
    const TColor& GetAmbient() const { return m_ambient; }
    const TColor& GetDiffuse() const { return m_diffuse; }
    const TColor& GetSpecular() const { return m_specular; }
    const TTableData& GetLightingTable() const { return m_table; }

    // The three colours and the direction into a scene light (a directional light at -D).
    void ApplyToLight(osg::Light& light) const;

    // Advances the glare (see the class comment); forward: the camera's unit forward vector
    // (world), frameTime: s. Returns the new glare. Without the glare enabled nothing changes.
    float UpdateGlare(const CVector3& forward, float frameTime);
    float GetGlare() const { return m_glare; }
    void SetGlareEnabled(bool enabled) { m_glareEnabled = enabled; }
    bool IsGlareEnabled() const { return m_glareEnabled; }

    // The sky dome's placement: a quarter turn about (-1, 0, 0) (the dome is authored with z up)
    // and then a translation to the camera, so the sky never moves relative to the viewer.
    static osg::Matrix SkyDomeMatrix(const CVector3& cameraPosition);

private:
    TTableData m_table;
    float m_angle = 90.0f;
    bool m_applied = false; // false until the first SetTimeOfDay, so that one always applies
    CVector3 m_direction;
    TColor m_ambient, m_diffuse, m_specular;
    float m_glare = 0.0f;
    bool m_glareEnabled = true;
};
