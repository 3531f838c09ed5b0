#pragma once
// Three-component single-precision vector of the flight model. Row vector by convention:
// a body vector b becomes the world vector b * M (see CMatrix3).

#include <cmath>

struct CVector3
{
    float x = 0.0f, y = 0.0f, z = 0.0f;

    constexpr CVector3() = default;
    constexpr CVector3(float inX, float inY, float inZ) : x(inX), y(inY), z(inZ) {}

    float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    constexpr CVector3 operator+(const CVector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr CVector3 operator-(const CVector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr CVector3 operator-() const { return {-x, -y, -z}; }
    constexpr CVector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    constexpr CVector3 operator/(float s) const { return {x / s, y / s, z / s}; }
    CVector3& operator+=(const CVector3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    CVector3& operator-=(const CVector3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    CVector3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    constexpr bool operator==(const CVector3& o) const { return x == o.x && y == o.y && z == o.z; }
    constexpr bool operator!=(const CVector3& o) const { return !(*this == o); }

    constexpr float Dot(const CVector3& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr CVector3 Cross(const CVector3& o) const
    {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    float Length() const { return std::sqrt(Dot(*this)); }
    constexpr float LengthSquared() const { return Dot(*this); }
    bool IsZero() const { return x == 0.0f && y == 0.0f && z == 0.0f; }
    float MaxAbsComponent() const { return std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z))); }

    // Unit vector in the same direction; the zero vector stays zero.
    CVector3 Normalized() const
    {
        const float len = Length();
        return len > 0.0f ? *this / len : CVector3();
    }
};

inline constexpr CVector3 operator*(float s, const CVector3& v) { return v * s; }
