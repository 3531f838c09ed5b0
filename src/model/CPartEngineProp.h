#pragma once
// ENGINE_PROP: a motor turning a PROPELLER, throttled by a SERVO; optionally stopped by a hit
// on a COLLISION_POINT.
//
// Per sub-step (CalcForces):
//   t  = (servo position + 1) / 2 in 0 .. 1, and 0 unless the engine runs
//   Qe = MAX_TORQUE * Expo(t, 0.5) = MAX_TORQUE * sqrt(t)            engine torque, N*m
//   V  = |wind at the centre of mass - body velocity|                 axial inflow, m/s (the
//        relative air speed whatever its direction)
//   (T, Q) = propeller at (V, n);  w = sqrt(T / (A * 1.225))           air speed behind the disk
//   Qf = (1e-6 n + 1e-4) n                                            friction, N*m
//   n += (Qe - max(Q, 0) - Qf) * dt * 2000, kept in 20 .. 333.3 rev/s (1200 .. 20000 rpm): the
//        factor 2000 stands for the inverse inertia of crankshaft and propeller, and the lower
//        clamp keeps a stopped engine's propeller windmilling (with its thrust)
//   "Thrust" = T along the thrust axis at POSITION; "Drag" torque = -Q along it.
//
// Slipstream (GetInducedWind): behind the disk (l = (p - POSITION) . axis < 0), up to 30 R back
// and within 4 R of the axis, the air is blown backwards with w * fl * fr, fl = (1 - x)^0.75 along
// the stream (x = l / -30R) and fr = sqrt(1 - s) across it (s = radial distance over the
// stream's radius R (1 + 4x), which widens to 5 R at the end).
//
// Start/stop (UpdateFrame, once per frame): 0 running -> (hit on the collision point) 1 stopped
// -> (model not crashed) 2 "throttle back" -> (t < 0.1) 3 "push throttle" -> (t >= 0.2) 0. A
// crashed model (its reset prompt showing) sends states 2 and 3 back to 1. So a throttle left
// open after a stop never restarts the engine by itself.

#include <memory>
#include <string>

#include "core/CVector3.h"
#include "model/CPartPhysic.h"
#include "model/CPropertySet_EngineProp.h"

class CDegreeOfFreedom;
class CPartCollisionPoint;
class CPartPropeller;
class CPartServo;
class IEngineSound;

class CPartEngineProp : public CPartPhysic
{
public:
    enum EState
    {
        kRunning = 0,
        kStopped = 1,
        kWaitThrottleBack = 2,
        kWaitThrottleUp = 3
    };

    static constexpr float kMinRevPerSecond = 20.0f;        // 1200 rpm
    static constexpr float kMaxRevPerSecond = 333.33334f;   // 20000 rpm
    static constexpr float kSpinUpGain = 2000.0f;           // rev/s^2 per N*m
    static constexpr float kAirDensity = 1.225f;            // kg/m^3, sea level
    static constexpr float kThrottleBack = 0.1f;            // below: ready to start
    static constexpr float kThrottleUp = 0.2f;              // at or above: starts
    static constexpr float kStoppedMessageDelay = 2.0f;     // s
    static constexpr float kPushMessageDelay = 1.0f;        // s
    static constexpr float kSlipstreamLength = 30.0f;       // propeller radii
    static constexpr float kSlipstreamWidth = 4.0f;         // propeller radii
    static constexpr float kMassCubeEdge = 0.05f;           // m

    CPartEngineProp();
    ~CPartEngineProp() override;

    bool AttachToModel(CModel& model) override;
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void UpdateFrame(float frameTime) override;
    void CalcForces(float dt) override;
    bool GetInducedWind(CVector3& outWind, const CVector3& bodyPoint) override;
    bool InducesWind() const override { return true; }
    void GetDebugText(std::string& ioText) override;
    void DrawDebugExtra(IDebugDraw& draw) override;
    const char* GetMarkerNode() const override { return "Engine.osg"; }
    // 8 bytes: the propeller speed (32-bit float, rev/s) and the state (32-bit integer).
    int SaveState(std::vector<unsigned char>& ioBytes) override;
    int LoadState(const unsigned char* bytes, int count) override;

    // Appends the slipstream queries' working to the information text (cleared every step).
    void SetDiagnostics(bool on) { m_diagnostics = on; }

    CPropertySet_EngineProp& GetSettings() { return m_set; }
    int GetState() const { return m_state; }
    float GetRevPerSecond() const { return m_revPerSecond; }
    float GetThrust() const { return m_thrust; }               // N
    float GetPropellerTorque() const { return m_torque; }      // N*m
    float GetAirVelocityBehindPropeller() const { return m_wake; } // m/s
    float GetThrottle() const { return m_throttle; }           // 0 .. 1, last UpdateFrame
    const CVector3& GetThrustAxis() const { return m_axis; }   // body frame, unit
    const std::string& GetInfoText() const { return m_info; }

private:
    // One of the two start messages: posted with a delay, shown until removed.
    struct TMessage
    {
        const char* text = "";
        bool posted = false;
        bool shown = false;
        float delay = 0.0f; // s left before it shows
        int handle = -1;    // the overlay's handle while shown, -1 when none
    };

    // Where a body point lies in the slipstream: everything of the slipstream query that does
    // not change from one sub-step to the next. The wings ask for the same few points (their
    // segments) every sub-step, and the two powers of the stream's shape cost a fifth of it.
    struct TStreamPoint
    {
        CVector3 bodyPoint;
        float along = 0.0f;        // m along the axis, negative behind the disk
        float radial = 0.0f;       // m from the axis
        bool inside = false;
        float lengthFactor = 0.0f; // fl
        float radialFactor = 0.0f; // fr
        float shape = 0.0f;        // fl * fr
        CVector3 swirlDirection;   // unit, body frame; valid when radial > 0
    };
    const TStreamPoint& StreamPoint(const CVector3& bodyPoint, float radius);

    void PostMessage(TMessage& message, float delay);
    void RemoveMessage(TMessage& message);
    void UpdateMessages(float frameTime);
    void RunStateMachine();
    std::string Who() const;

    CPropertySet_EngineProp m_set;

    // Linked parts of the same model (not owned; they live as long as this part).
    CPartServo* m_servo = nullptr;
    CPartPropeller* m_propeller = nullptr;
    CPartCollisionPoint* m_collisionPoint = nullptr;
    CDegreeOfFreedom* m_dof = nullptr; // the propeller's spin, named after the propeller part

    CVector3 m_axis{0.0f, 0.0f, -1.0f};      // thrust axis, body frame
    CVector3 m_worldAxis{0.0f, 0.0f, -1.0f}; // thrust axis, world frame, last step
    float m_revPerSecond = 1.0f;  // n, rev/s
    float m_thrust = 0.0f;        // T, N
    float m_torque = 0.0f;        // Q, N*m
    float m_wake = 0.0f;          // w, m/s
    float m_throttle = 0.0f;      // 0 .. 1
    float m_propellerAngle = 0.0f; // rad, for the DOF
    int m_state = kStopped;
    TMessage m_stoppedMessage;
    TMessage m_pushMessage;
    bool m_diagnostics = false;
    // The torque curve's last input and value: Expo(0, 0) is 0.
    float m_curveThrottle = 0.0f;
    float m_curveExpo = 0.0f;
    float m_curveValue = 0.0f;
    std::string m_info;           // diagnostic text
    std::unique_ptr<IEngineSound> m_sound; // null headless

    // The stream points, valid for the disk below (radius, position and axis, body frame);
    // replaced round the ring when more points ask.
    static constexpr int kStreamPointCount = 16;
    TStreamPoint m_streamPoints[kStreamPointCount];
    int m_streamPointsUsed = 0;
    int m_nextStreamPoint = 0; // where the search starts: the wings ask in the same order
    float m_streamRadius = -1.0f;
    CVector3 m_streamPosition;
    CVector3 m_streamAxis;
};
