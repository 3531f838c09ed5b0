#pragma once
// 3x3 single-precision matrix stored row by row. For an orientation the rows are the body axes
// expressed in world axes, and vectors are row vectors: world = body * M, body = world * M^-1.

#include "core/CVector3.h"

struct CMatrix3
{
    CVector3 row[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    static CMatrix3 Identity() { return CMatrix3(); }
    static CMatrix3 Zero();
    static CMatrix3 FromRows(const CVector3& r0, const CVector3& r1, const CVector3& r2);

    // Element k of the nine in storage order (row-major: m0 m1 m2 are row 0).
    float& operator[](int k) { return row[k / 3][k % 3]; }
    float operator[](int k) const { return row[k / 3][k % 3]; }

    CMatrix3 operator*(const CMatrix3& o) const; // inline below
    CMatrix3 operator+(const CMatrix3& o) const;
    CMatrix3 operator*(float s) const;
    bool operator==(const CMatrix3& o) const;
    bool operator!=(const CMatrix3& o) const { return !(*this == o); }

    float Determinant() const;
    CMatrix3 Transposed() const;

    // General inverse; the zero matrix when |determinant| < 1e-9 (a singular inertia tensor then
    // simply stops rotation instead of blowing up).
    CMatrix3 Inverse() const;

    // Gram-Schmidt on rows 0 and 1, row 2 rebuilt as their cross product: undoes integration drift.
    void Orthonormalize();

    // Rotation by |rotationVector| radians about its direction, in the row-vector convention
    // (right-handed). Identity when the angle is 1e-8 rad or less.
    static CMatrix3 FromRotationVector(const CVector3& rotationVector);
    static CMatrix3 FromAxisAngle(const CVector3& unitAxis, float angleRad);

    // Euler-angle matrix of the angles (a, b, c) in radians. Parts mount themselves with
    // (heading - 90 deg, -roll, pitch); the flight recorder stores (a, b, c) from ToEulerAngles.
    static CMatrix3 FromEuler(float a, float b, float c);
    // Inverse of FromEuler: angles (a, b, c) with a in [-pi, pi].
    void ToEulerAngles(float& outA, float& outB, float& outC) const;
};

// Row vector times matrix: v * M.
inline CVector3 operator*(const CVector3& v, const CMatrix3& m)
{
    return m.row[0] * v.x + m.row[1] * v.y + m.row[2] * v.z;
}

inline CMatrix3 CMatrix3::operator*(const CMatrix3& o) const
{
    CMatrix3 m;
    m.row[0] = row[0] * o;
    m.row[1] = row[1] * o;
    m.row[2] = row[2] * o;
    return m;
}
