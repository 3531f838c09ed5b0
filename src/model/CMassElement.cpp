#include "model/CMassElement.h"

#include <algorithm>
#include <cmath>

namespace
{
// Grid spacing of the box sampling, m. With extents clamped to 0.2 .. 1.0 m this gives 4 to 20
// samples per axis: fine enough for the inertia, cheap enough to rebuild on every edit.
constexpr float kCellSize = 0.05f;
constexpr float kSmallCubeEdge = 0.04f; // m

// Outer product r r^T subtracted from |r|^2 E: the inertia of a unit point mass at r.
CMatrix3 PointInertia(const CVector3& r)
{
    const float r2 = r.LengthSquared();
    return CMatrix3::FromRows({r2 - r.x * r.x, -r.x * r.y, -r.x * r.z},
                              {-r.y * r.x, r2 - r.y * r.y, -r.y * r.z},
                              {-r.z * r.x, -r.z * r.y, r2 - r.z * r.z});
}
} // namespace

void CMassElement::Reset()
{
    m_inertia = CMatrix3::Zero();
    m_mass = 0.0f;
    m_centre = CVector3();
    m_points.clear();
}

void CMassElement::AddSample(float mass, const CVector3& position)
{
    m_inertia = m_inertia + PointInertia(position) * mass;
    m_points.push_back({position, mass});
}

void CMassElement::AddBox(float density, const CVector3& corner1, const CVector3& corner2,
                          const CVector3& framePosition, const CMatrix3& frameOrientation)
{
    const CVector3 size = corner2 - corner1;
    const float volume = std::fabs(size.x * size.y * size.z);
    const float boxMass = density * volume;

    float fraction[3];
    int samples[3];
    for (int axis = 0; axis < 3; ++axis)
    {
        const float extent = std::clamp(std::fabs(size[axis]), 0.2f, 1.0f);
        fraction[axis] = kCellSize / extent;
        // Fractions f/2, 3f/2, ... strictly below 1.
        int n = 0;
        while ((static_cast<float>(n) + 0.5f) * fraction[axis] < 1.0f)
            ++n;
        samples[axis] = n;
    }
    const float cellMass = boxMass * fraction[0] * fraction[1] * fraction[2];

    CVector3 momentSum;
    float sampleMass = 0.0f;
    for (int i = 0; i < samples[0]; ++i)
        for (int j = 0; j < samples[1]; ++j)
            for (int k = 0; k < samples[2]; ++k)
            {
                const CVector3 t((static_cast<float>(i) + 0.5f) * fraction[0],
                                 (static_cast<float>(j) + 0.5f) * fraction[1],
                                 (static_cast<float>(k) + 0.5f) * fraction[2]);
                const CVector3 local(corner1.x + t.x * size.x, corner1.y + t.y * size.y, corner1.z + t.z * size.z);
                const CVector3 body = framePosition + local * frameOrientation;
                AddSample(cellMass, body);
                momentSum += body * cellMass;
                sampleMass += cellMass;
            }

    if (boxMass == 0.0f || sampleMass == 0.0f)
        return;
    // The box's own centre is that of its samples; it enters the element with the box mass.
    const CVector3 boxCentre = momentSum / sampleMass;
    const float newMass = m_mass + boxMass;
    if (newMass != 0.0f)
        m_centre = (m_centre * m_mass + boxCentre * boxMass) / newMass;
    m_mass = newMass;
}

void CMassElement::AddSmallCube(float mass, const CVector3& centre)
{
    const float half = 0.5f * kSmallCubeEdge;
    const float density = mass / (kSmallCubeEdge * kSmallCubeEdge * kSmallCubeEdge);
    AddBox(density, centre - CVector3(half, half, half), centre + CVector3(half, half, half));
}

void CMassElement::AddPoint(float mass, const CVector3& position)
{
    AddSample(mass, position);
    const float newMass = m_mass + mass;
    if (newMass != 0.0f)
        m_centre = (m_centre * m_mass + position * mass) / newMass;
    m_mass = newMass;
}

void CMassElement::Add(const CMassElement& other)
{
    m_inertia = m_inertia + other.m_inertia;
    const float newMass = m_mass + other.m_mass;
    if (newMass != 0.0f)
        m_centre = (m_centre * m_mass + other.m_centre * other.m_mass) / newMass;
    m_mass = newMass;
    m_points.insert(m_points.end(), other.m_points.begin(), other.m_points.end());
}
