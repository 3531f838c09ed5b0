#pragma once
// The rigid body of a model: its state, its mass properties, the force and torque records the
// parts fill, and the integrator.
//
// Frames: world Y up (gravity along -Y). The orientation M has the body axes as rows; vectors
// are row vectors, so body b -> world b*M, world w -> body w*M^-1, and a body point p sits at
// position + p*M. Body axes: +X right, +Y up, forward along -Z.
//
// Update(T), with h = the maximum integration step:
//   sub-steps: one of length T when h == 0 or T <= h, else n = trunc(T/h) + 1 of length T/n
//   (a frame of exactly 2h gives 3). Per sub-step:
//     1. the sub-step callback lets the parts compute their forces (CModel);
//     2. force summation: total force = sum of the force records; torque = sum of
//        (point - centre of mass) x F in body axes, taken to world, plus the torque records.
//        A record with a component above 99999.9 N or not finite, or a sum that is not finite,
//        stops the body (v = w = 0) and zeroes every record and the sums for this sub-step: a
//        runaway part must not launch the model nor make its state NaN;
//     3. the optional force-sum callback;
//     4. semi-implicit Euler, velocity first: v += h*F/m, x += h*v; w += h*alpha where
//        alpha = ((tau*M^-1)*I^-1)*M (no gyroscopic term); M = M*R(h*w), R the rotation by
//        |h*w| about its direction in world axes (identity at or below 1e-8 rad).
//   After the last sub-step the cached values (Euler angles, terrain height) are marked not
//   computed (1e8). Every 100 frames (starting with the first) M is re-orthonormalised.
//
// Force and torque lists are fixed arrays of pointers: no allocation during integration. The
// body never owns the records; parts must unregister nothing because they die with the model,
// which dies with the body.

#include <string>

#include "core/CMatrix3.h"
#include "core/CVector3.h"
#include "model/CEngine.h"
#include "model/CForce.h"
#include "model/ITerrain.h"

class IDebugDraw;

// The state the flight process saves and restores as a whole (reset, model reload).
struct CBodyState
{
    CVector3 position;              // world, m
    CMatrix3 orientation;           // rows = body axes in world axes
    CMatrix3 inverse;               // M^-1, valid when !inverseDirty
    bool inverseDirty = true;
    CMatrix3 display;               // a derived matrix for the graphics, valid when !displayDirty
    bool displayDirty = true;
    CVector3 velocity;              // world, m/s
    CVector3 angularVelocity;       // world, rad/s
};

// Called once per sub-step with the sub-step length (s): the parts compute their forces.
using TSubStepFn = void (*)(void* context, float dt);
// Called after each force summation with the total force and torque (world).
using TForceSumFn = void (*)(void* context, const CVector3& totalForce, const CVector3& totalTorque);

class CEngineDynamic : public CEngine
{
public:
    static constexpr int kMaxForces = 128;
    static constexpr int kMaxTorques = 32;
    // A force component above this (N) means a part ran away.
    static constexpr float kRunawayForce = 99999.9f;
    // Mark of a cached value not computed in this frame.
    static constexpr float kNotComputed = 1.0e8f;
    // Frames between two re-orthonormalisations of M.
    static constexpr int kOrthonormalizeFrames = 100;

    CEngineDynamic();

    void ResetBody() override;
    void Update(float frameTime) override;

    // Mass properties, from the model's mass accumulator. I is about the body origin; its
    // inverse is the zero matrix when I is singular (the body then does not rotate).
    void SetMassProperties(const CMatrix3& inertia, float mass, const CVector3& centreOfMass);
    float GetMass() const { return m_mass; }                          // kg
    const CVector3& GetCentreOfMass() const { return m_centreOfMass; } // body frame, m
    const CMatrix3& GetInertia() const { return m_inertia; }
    const CMatrix3& GetInverseInertia() const { return m_inverseInertia; }

    // Registration of the parts' records; false (nothing stored) when the list is full. The
    // model checks the counts before any part registers, so a refusal here is a programming
    // error, reported once.
    bool AddForce(CForce* force);
    bool AddTorque(CTorque* torque);
    // Forgets every registered record (the model registers them again after a part changed
    // how many it fills).
    void ClearRecords();
    int GetForceCount() const { return m_forceCount; }
    int GetTorqueCount() const { return m_torqueCount; }
    CForce* GetForce(int index) const;
    CTorque* GetTorque(int index) const;
    // Sets the display scale of every registered record.
    void SetForceDisplayScale(float scale);

    void SetSubStepCallback(TSubStepFn callback, void* context);
    void SetForceSumCallback(TForceSumFn callback, void* context);

    // Maximum sub-step length (s); 0 means one sub-step per frame.
    void SetMaxIntegrationStep(float seconds) { m_maxStep = seconds; }
    float GetMaxIntegrationStep() const { return m_maxStep; }

    // The terrain the height queries ask (not owned; the model's services keep it alive).
    void SetTerrain(const ITerrain* terrain) { m_terrain = terrain; }

    // --- State
    const CVector3& GetPosition() const { return m_state.position; }
    const CMatrix3& GetOrientation() const { return m_state.orientation; }
    const CMatrix3& GetInverseOrientation()
    {
        if (m_state.inverseDirty)
        {
            m_state.inverse = m_state.orientation.Inverse();
            m_state.inverseDirty = false;
        }
        return m_state.inverse;
    }
    const CVector3& GetVelocity() const { return m_state.velocity; }
    const CVector3& GetAngularVelocity() const { return m_state.angularVelocity; }
    void SetPosition(const CVector3& position);
    void SetOrientation(const CMatrix3& orientation);
    void SetVelocity(const CVector3& velocity) { m_state.velocity = velocity; }
    void SetAngularVelocity(const CVector3& omega) { m_state.angularVelocity = omega; }
    void GetState(CBodyState& outState) const { outState = m_state; }
    void SetState(const CBodyState& state);

    // --- Questions the parts ask (world results unless said otherwise)
    // Velocity (m/s) of a body point: v + w x (p*M).
    // Inline: every wing segment, wheel and collision point asks several times per sub-step.
    CVector3 GetPointVelocity(const CVector3& bodyPoint) const
    {
        return m_state.velocity + m_state.angularVelocity.Cross(bodyPoint * m_state.orientation);
    }
    CVector3 BodyToWorldPoint(const CVector3& bodyPoint) const
    {
        return m_state.position + bodyPoint * m_state.orientation;
    }
    CVector3 BodyToWorldVector(const CVector3& bodyVector) const { return bodyVector * m_state.orientation; }
    CVector3 WorldToBodyVector(const CVector3& worldVector) { return worldVector * GetInverseOrientation(); }
    CVector3 WorldToBodyPoint(const CVector3& worldPoint);
    // A force record's vector in world axes, whichever axes its part fills it in (N).
    CVector3 WorldForce(const CForce& force) const
    {
        return force.bodyAxes ? BodyToWorldVector(force.vector) : force.vector;
    }
    // Attitude (radians, cached per frame): heading of the nose (-Z axis) clockwise from -Z
    // seen from above (+X is 90 deg), pitch of the nose above the horizon, roll positive with
    // the right wing down.
    float GetHeading();
    float GetPitch();
    float GetRoll();
    // Ground height (m) under the body position and the ground normal, cached per frame; asked
    // through the body's own terrain hint. Inline: every collision point asks every sub-step.
    float GetTerrainHeight(CVector3& outNormal)
    {
        if (m_terrainHeight == kNotComputed)
            ComputeTerrainHeight();
        outNormal = m_terrainNormal;
        return m_terrainHeight;
    }
    // Position Y minus the terrain height, cached per frame.
    float GetHeightAboveTerrain(CVector3& outNormal)
    {
        const float ground = GetTerrainHeight(outNormal);
        if (m_heightAboveTerrain == kNotComputed)
            m_heightAboveTerrain = m_state.position.y - ground;
        return m_heightAboveTerrain;
    }
    TTerrainHint& GetTerrainHint() { return m_terrainHint; }

    // --- Results of the last step
    const CVector3& GetTotalForce() const { return m_totalForce; }             // world, N
    const CVector3& GetTotalTorque() const { return m_totalTorque; }           // world, N*m
    const CVector3& GetAcceleration() const { return m_acceleration; }         // world, m/s^2
    const CVector3& GetAngularAcceleration() const { return m_angularAcceleration; } // world, rad/s^2
    // Sub-steps of the last Update (for tests and the time statistics).
    int GetLastSubStepCount() const { return m_lastSubSteps; }
    float GetLastSubStepLength() const { return m_lastSubStepLength; }

    // Arrow per force record from its world point along scale*force; line per torque record
    // from the body position along the torque (unscaled).
    void DrawForces(IDebugDraw& draw);
    // The "Dynamics:" block, then one line per force and torque record.
    void GetDebugText(std::string& ioText);
    // The force's direction in world axes when the body is given (its record may be in body axes).
    static void AppendForceLine(const CForce& force, std::string& ioText, const CEngineDynamic* body = nullptr);
    static void AppendTorqueLine(const CTorque& torque, std::string& ioText);

private:
    void ComputeTerrainHeight(); // fills m_terrainHeight and m_terrainNormal
    void SumForces();
    // Stops the body and zeroes every record and sum; the first runaway of an episode is reported
    // with the record's name.
    void StopRunaway(const char* kind, const std::string& name, const CVector3& value);
    void Integrate(float h);
    void MarkOrientationChanged();
    void InvalidateCaches();
    void ComputeAttitude();

    CBodyState m_state;

    float m_mass = 0.0f;
    CVector3 m_centreOfMass;
    CMatrix3 m_inertia;
    CMatrix3 m_inverseInertia;

    CForce* m_forces[kMaxForces] = {};   // not owned: the parts own the records
    int m_forceCount = 0;
    CTorque* m_torques[kMaxTorques] = {}; // not owned
    int m_torqueCount = 0;

    CVector3 m_totalForce;
    CVector3 m_totalTorque;
    CVector3 m_acceleration;
    CVector3 m_angularAcceleration;

    float m_maxStep = 0.005f; // s
    int m_lastSubSteps = 0;
    float m_lastSubStepLength = 0.0f;

    TSubStepFn m_subStep = nullptr;
    void* m_subStepContext = nullptr; // the model; not owned
    TForceSumFn m_forceSum = nullptr;
    void* m_forceSumContext = nullptr; // not owned

    // Cached per frame; kNotComputed until asked.
    float m_heading = kNotComputed;
    float m_pitch = kNotComputed;
    float m_roll = kNotComputed;
    float m_terrainHeight = kNotComputed;
    CVector3 m_terrainNormal{0.0f, 1.0f, 0.0f};
    float m_heightAboveTerrain = kNotComputed;

    const ITerrain* m_terrain = nullptr; // not owned; null = flat ground at 0
    TTerrainHint m_terrainHint;
    int m_framesToOrthonormalize = 0; // 0: re-orthonormalise after this frame
    bool m_runawayReported = false;   // one diagnostic line per runaway episode
};
