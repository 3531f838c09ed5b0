#include "core/CMatrix3.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kPi = 3.14159265358979f;
}

CMatrix3 CMatrix3::Zero()
{
    return FromRows({}, {}, {});
}

CMatrix3 CMatrix3::FromRows(const CVector3& r0, const CVector3& r1, const CVector3& r2)
{
    CMatrix3 m;
    m.row[0] = r0;
    m.row[1] = r1;
    m.row[2] = r2;
    return m;
}

CMatrix3 CMatrix3::operator+(const CMatrix3& o) const
{
    return FromRows(row[0] + o.row[0], row[1] + o.row[1], row[2] + o.row[2]);
}

CMatrix3 CMatrix3::operator*(float s) const
{
    return FromRows(row[0] * s, row[1] * s, row[2] * s);
}

bool CMatrix3::operator==(const CMatrix3& o) const
{
    return row[0] == o.row[0] && row[1] == o.row[1] && row[2] == o.row[2];
}

float CMatrix3::Determinant() const
{
    return row[0].Dot(row[1].Cross(row[2]));
}

CMatrix3 CMatrix3::Transposed() const
{
    return FromRows({row[0].x, row[1].x, row[2].x}, {row[0].y, row[1].y, row[2].y},
                    {row[0].z, row[1].z, row[2].z});
}

CMatrix3 CMatrix3::Inverse() const
{
    const float det = Determinant();
    if (std::fabs(det) < 1e-9f)
        return Zero();
    // The columns of the inverse are the cross products of the rows, divided by the determinant.
    const CVector3 c0 = row[1].Cross(row[2]);
    const CVector3 c1 = row[2].Cross(row[0]);
    const CVector3 c2 = row[0].Cross(row[1]);
    return FromRows(c0, c1, c2).Transposed() * (1.0f / det);
}

void CMatrix3::Orthonormalize()
{
    row[0] = row[0].Normalized();
    row[1] = row[1].Normalized();
    // Normalising the third row too: when rows 0 and 1 have drifted off the right angle their
    // cross product is shorter than one, and the matrix would stay slightly shrunk.
    row[2] = row[0].Cross(row[1]).Normalized();
    row[1] = row[2].Cross(row[0]);
}

CMatrix3 CMatrix3::FromRotationVector(const CVector3& rotationVector)
{
    const float angle = rotationVector.Length();
    if (angle <= 1e-8f)
        return Identity();
    return FromAxisAngle(rotationVector / angle, angle);
}

CMatrix3 CMatrix3::FromAxisAngle(const CVector3& u, float angleRad)
{
    const float c = std::cos(angleRad);
    const float s = std::sin(angleRad);
    const float t = 1.0f - c;
    return FromRows({c + t * u.x * u.x, t * u.x * u.y + s * u.z, t * u.x * u.z - s * u.y},
                    {t * u.x * u.y - s * u.z, c + t * u.y * u.y, t * u.y * u.z + s * u.x},
                    {t * u.x * u.z + s * u.y, t * u.y * u.z - s * u.x, c + t * u.z * u.z});
}

CMatrix3 CMatrix3::FromEuler(float a, float b, float c)
{
    const float ca = std::cos(a), sa = std::sin(a);
    const float cb = std::cos(-b), sb = std::sin(-b);
    const float cc = std::cos(-c), sc = std::sin(-c);
    return FromRows({ca * cc - sa * sb * sc, -cb * sc, ca * sb * sc + sa * cc},
                    {ca * sc + sa * sb * cc, cb * cc, sa * sc - ca * sb * cc},
                    {-sa * cb, sb, ca * cb});
}

void CMatrix3::ToEulerAngles(float& outA, float& outB, float& outC) const
{
    const CMatrix3& m = *this;
    outB = std::asin(std::clamp(-m[7], -1.0f, 1.0f));
    outC = std::atan2(m[1], m[4]);
    float a = outB > 0.0f ? std::atan2(m[2] - m[3], m[5] + m[0]) - outC
                          : outC - std::atan2(-m[3] - m[2], m[0] - m[5]);
    if (a > kPi)
        a -= 2.0f * kPi;
    else if (a < -kPi)
        a += 2.0f * kPi;
    outA = a;
}
