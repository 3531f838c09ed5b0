#pragma once
// The camera of a flight view: a small rigid body (1 kg, 0.04 kg*m^2 about each axis, sub-steps
// of at most 1/30 s) pushed by forces and turned by torques, so it moves smoothly, lags a little
// behind the model and never jumps. Its orientation rows are its right, up and back axes in world
// axes; it looks along minus back, like an OSG camera.
//
// Modes: 0 free (flown with the camera keys), 1 look-at (stands still and turns to the model; the
// default), 2 follow (stays about 2 m from the model, at its height), 3 attached (rigidly placed
// AttachedDistance behind the model along a yaw and pitch around it).
//
// Every sub-step (ComputeForces), dt the frame time of Update and h the sub-step:
//   1. zero the records;
//   2. friction: torque -(0.64 + 0.134|w|) w, at most 10 N*m; force -(a + b|v|) v with (2.0, 0.7)
//      while braking (always in look-at) and (0.1, 0.1) while gliding;
//   3. by mode: free controls (30 N along or unit torques about the camera axes), look-at
//      steering (torques 6 per radian of heading and pitch error toward the model led by its
//      velocity times 2..4 dt), roll levelling, the follow spring (150 s|s| N toward a point 2 m
//      from the model, at most 700 N, at a point 5 cm ahead of the centre so it also turns the
//      camera), the height pull (20 N/m), ground avoidance (50 N per metre below 1 m above the
//      terrain, never below the ground), attached placement.
// Each frame (Update): the field of view steps 1 degree toward its target, the body integrates,
// then the zoom chooses the target: the user's (20 deg/s, 3..60 degrees) or, in look-at with the
// automatic zoom, the one that keeps 1 m of model at AutoZoomRatio of the field of view.

#include <cstdint>
#include <string>

#include <osg/Matrixd>

#include "core/CMatrix3.h"
#include "core/CVector3.h"
#include "model/CEngineDynamic.h"
#include "model/CForce.h"
#include "model/ITerrain.h"

struct CInputEvent;

class CCamera
{
public:
    enum EMode
    {
        MODE_FREE = 0,
        MODE_LOOK_AT = 1,
        MODE_FOLLOW = 2,
        MODE_ATTACHED = 3
    };
    enum EMove
    {
        MOVE_LEFT = 0,
        MOVE_RIGHT,
        MOVE_UP,
        MOVE_DOWN,
        MOVE_ROLL_LEFT,
        MOVE_ROLL_RIGHT,
        MOVE_FORWARD,
        MOVE_BACKWARDS,
        MOVE_COUNT
    };
    enum EForceRecord
    {
        F_CENTER = 0,
        F_FOLLOW,
        F_GROUND_AVOIDANCE,
        F_FRICTION,
        F_COUNT
    };
    enum ETorqueRecord
    {
        T_VERTICAL = 0,
        T_RIGHT,
        T_FRONT,
        T_FRICTION,
        T_VERTICAL_BALANCE_FRONT,
        T_LOOK_AT_TARGET_RIGHT,
        T_LOOK_AT_TARGET_VERTICAL,
        T_COUNT
    };

    // degrees: narrower than a monitor's natural angle at arm's length (about 50), so a model
    // 50 m out looks about as large as the pilot sees it rather than lost in a wide lens.
    static constexpr float kDefaultHFOV = 28.5f;
    static constexpr float kMinHFOV = 3.0f;        // degrees
    static constexpr float kMaxHFOV = 60.0f;       // degrees
    static constexpr float kHFOVStep = 1.0f;       // degrees per frame toward the target
    static constexpr float kUserZoomRate = 20.0f;  // degrees per second
    // The automatic zoom narrows the view in inverse proportion to the distance (about 20
    // degrees at 10 m), so the model keeps roughly its size on the screen.
    static constexpr float kAutoZoomRatioDefault = 0.14f;
    static constexpr float kAttachedDistance = 4.0f; // m
    static constexpr float kFollowMaxDistance = 30.0f; // m
    static constexpr float kFollowRestDistance = 2.0f; // m
    static constexpr float kMinEyeHeight = 0.25f;      // m above the terrain, every mode: a camera in the grass
    static constexpr float kFollowMaxForce = 700.0f;   // N: on 1 kg it catches a model leaving at racing speed
    static constexpr float kMaxStep = 1.0f / 30.0f;    // s: a slow frame cannot make the springs unstable

    CCamera();
    ~CCamera();
    CCamera(const CCamera&) = delete;
    CCamera& operator=(const CCamera&) = delete;

    // Builds the records and the body; a second call starts over. Always true here (nothing
    // can fail without allocation failing, which ends the program).
    bool Create();

    // The model's pose, every frame before Update: position (m) and velocity (m/s), world, and
    // its orientation.
    void SetTarget(const CVector3& position, const CVector3& velocity, const CMatrix3& attitude);
    // The start pose: position (m) and heading, pitch, roll (radians).
    void SetResetPose(const CVector3& position, float heading, float pitch, float roll);
    // Terrain for ground avoidance; null (the default) means none is loaded. Not owned.
    void SetTerrain(const ITerrain* terrain) { m_terrain = terrain; }

    // The camera commands (58..75); returns the command when handled, else 0.
    uint32_t HandleEvent(const CInputEvent& event);
    // Once per frame; frameTime (s) is the application's smoothed frame time.
    void Update(float frameTime);
    // Back to the reset pose, at rest, default zoom and attached placement.
    void Reset();

    // --- Pose and projection for the viewport and the sound listener
    const CVector3& GetPosition() const { return m_body.GetPosition(); }
    const CMatrix3& GetOrientation() const { return m_body.GetOrientation(); }
    CVector3 GetViewDirection() const { return -m_body.GetOrientation().row[2]; }
    const CVector3& GetVelocity() const { return m_body.GetVelocity(); } // world, m/s
    float GetCurrentHFOV() const { return m_currentHFOV; } // degrees
    float GetTargetHFOV() const { return m_targetHFOV; }   // degrees
    // True once after the field of view changed since the last call (the projection needs it).
    bool TakeProjectionChange(float& outHFOV);
    // Near plane (m): a tenth of the distance to the model, kept within 0.1..5.0.
    float GetNearPlane() const;
    // OSG view matrix (world to eye) of the camera.
    osg::Matrixd GetViewMatrix() const;
    // OSG perspective of the current field of view for a viewport aspect (width / height).
    osg::Matrixd GetProjectionMatrix(double aspect, double nearPlane, double farPlane) const;
    static double VerticalFovDeg(double horizontalDeg, double aspect);

    // --- State the flight view shows on its buttons
    int GetMode() const { return m_mode; }
    void SetMode(int mode);
    bool IsAutoZoomEnabled() const { return m_autoZoomEnable; }
    // The check box sprite of a mode: "B_KEYS", "B_MAN", "B_FEET", "B_ANCHOR".
    static const char* ModeButtonSprite(int mode);

    // The UC_DEBUG_CAMERA listing.
    void GetDebugText(std::string& ioText);

    // --- The rules, as functions of state and time (tested on their own)
    // Current field of view one frame later: toward target by at most kHFOVStep.
    static float StepHFOV(float current, float target);
    // UserHFOV after a frame of the zoom keys; unchanged when neither or a settled pair is held.
    static float UserZoom(float userHFOV, float currentHFOV, bool zoomIn, bool zoomOut, float dt);
    // AutoZoomRatio after a frame of the zoom keys.
    static float AutoZoomRatioStep(float ratio, bool zoomIn, bool zoomOut);
    // Field of view (degrees, 3..60) that shows 1 m of model at distance (m) as ratio of it.
    static float AutoZoomHFOV(float distance, float ratio);
    // Pull (N, positive toward the model) of the follow spring at a distance (m).
    static float FollowSpringForce(float distance);
    // Orientation from heading, pitch, roll (radians), as CEngineDynamic measures them.
    static CMatrix3 OrientationFromAngles(float heading, float pitch, float roll);
    static void AnglesFromOrientation(const CMatrix3& m, float& outHeading, float& outPitch, float& outRoll);

    // Records and body, for tests and the debug drawing.
    const CForce& GetForce(int index) const { return m_forces[index]; }
    const CTorque& GetTorque(int index) const { return m_torques[index]; }
    CEngineDynamic& GetBody() { return m_body; }
    bool GetBrakes() const { return m_brakes; }
    float GetAttachedDistance() const { return m_attachedDistance; }

private:
    static void SubStepCallback(void* context, float dt);
    void ComputeForces(float h);
    void FreeControls();
    void LookAtSteering();
    void RollLevelling();
    void FollowSpring();
    void GroundAvoidance();
    void PutOnGround(float ground);
    void AttachedMode(float h);
    void ChooseZoom(float dt);

    CForce m_forces[F_COUNT];
    CTorque m_torques[T_COUNT];
    CEngineDynamic m_body;

    int m_mode = MODE_LOOK_AT;
    CVector3 m_targetPosition;  // world, m
    CVector3 m_targetVelocity;  // world, m/s
    CMatrix3 m_targetAttitude;
    CVector3 m_resetPosition;   // world, m
    float m_resetAngles[3] = {}; // heading, pitch, roll, rad
    float m_attachedDistance = kAttachedDistance; // m
    float m_attachedYaw = 0.0f;   // rad
    float m_attachedPitch = 0.0f; // rad
    const ITerrain* m_terrain = nullptr; // not owned; the flying site outlives the view
    TTerrainHint m_terrainHint;

    float m_move[MOVE_COUNT] = {}; // 0 or 1
    bool m_brakes = true;
    bool m_rotationModifier = false;
    bool m_zoomIn = false;  // this frame only
    bool m_zoomOut = false; // this frame only
    bool m_autoZoomEnable = false;
    float m_autoZoomHFOV = kDefaultHFOV;
    float m_autoZoomRatio = kAutoZoomRatioDefault;
    float m_userHFOV = kDefaultHFOV;
    float m_currentHFOV = kDefaultHFOV;
    float m_targetHFOV = kDefaultHFOV;
    float m_projectionHFOV = -1.0f; // last given to the projection
    float m_frameTime = 0.0f;       // s, of the running Update
};
