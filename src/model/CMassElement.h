#pragma once
// The mass a part adds to the model, as a cloud of point masses. One element per CPartPhysic,
// and one more in the model that accumulates all of them (the mass accumulator).
//
// The inertia tensor is taken about the BODY ORIGIN, not about the centre of mass: the sum
// I = sum m * (|r|^2 E - r r^T) over all points, used by the integrator as it is.
//
// A box is replaced by a grid of equal point masses. Per axis the extent e = |c2 - c1| is
// clamped to 0.2 .. 1.0 m and the cell fraction is f = 0.05 / e; samples lie at the fractions
// f/2, 3f/2, ... below 1 (4 samples for boxes up to 0.2 m, 20 for boxes of 1 m and more). Each
// sample carries density * volume * fx * fy * fz, so a box of up to 0.2 m or of at least 1 m in
// every direction weighs exactly density * volume; boxes in between come out slightly off, as
// the grid does not tile them exactly (a known property of the sampling, kept for fidelity).

#include <vector>

#include "core/CMatrix3.h"
#include "core/CVector3.h"

// One sample of a mass element (drawn by the editor's mass display).
struct TPointMass
{
    CVector3 position; // body frame, m
    float mass = 0.0f; // kg
};

class CMassElement
{
public:
    // No mass, centre 0, zero tensor, no points.
    void Reset();

    // A box between two corners given in a frame (position and orientation in the body frame):
    // a sample point p of the box lies at framePosition + p * frameOrientation in the body.
    // Density in kg/m^3.
    void AddBox(float density, const CVector3& corner1, const CVector3& corner2,
                const CVector3& framePosition = CVector3(), const CMatrix3& frameOrientation = CMatrix3());

    // A cube of edge 0.04 m centred on a body point weighing exactly mass (servos, batteries,
    // tanks, engines): a box of density mass / 0.04^3.
    void AddSmallCube(float mass, const CVector3& centre);

    // One point mass at a body point.
    void AddPoint(float mass, const CVector3& position);

    // Accumulates another element: tensors and masses add, the centre becomes the mass-weighted
    // mean, the points are appended.
    void Add(const CMassElement& other);

    float Mass() const { return m_mass; }                         // kg
    const CVector3& CentreOfMass() const { return m_centre; }     // body frame, m
    const CMatrix3& Inertia() const { return m_inertia; }         // about the body origin, kg*m^2
    const std::vector<TPointMass>& Points() const { return m_points; }

private:
    // Adds one sample without touching the element's total mass (AddBox adds the box mass once).
    void AddSample(float mass, const CVector3& position);

    CMatrix3 m_inertia = CMatrix3::Zero();
    float m_mass = 0.0f;
    CVector3 m_centre;
    std::vector<TPointMass> m_points;
};
