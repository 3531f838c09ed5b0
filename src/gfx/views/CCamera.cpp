#include "gfx/views/CCamera.h"

#include <algorithm>
#include <cmath>

#include "core/Diagnostics.h"
#include "input/CInputEvent.h"
#include "input/UserCommands.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kDegPerRad = 57.295776f;
// The camera is a light body moved by springs and friction, like a cameraman's hands: the
// numbers are tuned so it follows a model smoothly and never visibly overshoots.
constexpr float kMass = 1.0f;     // kg: forces below read directly as accelerations
constexpr float kInertia = 0.04f; // kg*m^2 about each axis (1 kg at 0.2 m): turns within a fraction of a second
// N, free controls: against the linear friction the camera settles at about 5 m/s braked (a
// pilot walking the field) and 17 m/s unbraked.
constexpr float kMoveForce = 30.0f;
// N*m per radian of look-at error: on kInertia the view swings at about 2 Hz, and the rotational
// friction (0.64 N*m*s) damps it at a ratio near 0.65, so it keeps up with a low pass without a
// visible overshoot.
constexpr float kSteerGain = 6.0f;
constexpr float kHeightGain = 20.0f;  // N per metre, follow mode's height pull (about 0.7 Hz on 1 kg)
// A 1 m cushion above the terrain; 50 N at the ground stops a 5 m/s descent within it.
constexpr float kGroundClearance = 1.0f; // m
constexpr float kGroundGain = 50.0f;     // N per metre inside the clearance
constexpr float kMaxFrictionTorque = 10.0f; // N*m: a spinning camera is not kicked back harder
// On-board keys: a second held moves the camera 3 m or turns it about 34 degrees, fine enough
// to frame the model.
constexpr float kAttachedRate = 3.0f;    // m/s, attached distance keys
constexpr float kAttachedTurn = 0.6f;    // rad/s, attached yaw and pitch keys
// Within 50 m a model crosses the view fast enough that the camera must lead it (a lead factor
// rising from 2 to 4 as it comes closer); beyond, 2.
constexpr float kLookAtRange = 50.0f;    // m
const CVector3 kFollowPoint(0.0f, 0.0f, -0.051f); // body frame: ahead of the centre

float WrapPi(float a)
{
    while (a > kPi)
        a -= 2.0f * kPi;
    while (a < -kPi)
        a += 2.0f * kPi;
    return a;
}
} // namespace

CCamera::CCamera()
{
    Create();
}

CCamera::~CCamera() = default;

bool CCamera::Create()
{
    static const char* const kForceNames[F_COUNT] = {"Center", "Follow", "Ground Avoidance", "Friction"};
    static const char* const kTorqueNames[T_COUNT] = {"Vertical",
                                                      "Right",
                                                      "Front",
                                                      "Friction",
                                                      "Vertical Balance Front",
                                                      "Look At Target Right",
                                                      "Look At Target Vertical"};
    const int colour = 36;
    m_body.ResetBody();
    for (int i = 0; i < F_COUNT; ++i)
    {
        m_forces[i] = CForce(kForceNames[i], colour);
        m_body.AddForce(&m_forces[i]);
    }
    for (int i = 0; i < T_COUNT; ++i)
    {
        m_torques[i] = CTorque(kTorqueNames[i], colour);
        m_body.AddTorque(&m_torques[i]);
    }
    CMatrix3 inertia = CMatrix3::Identity() * kInertia;
    m_body.SetMassProperties(inertia, kMass, CVector3());
    m_body.SetMaxIntegrationStep(kMaxStep);
    m_body.SetSubStepCallback(&CCamera::SubStepCallback, this);
    return true;
}

void CCamera::SetTarget(const CVector3& position, const CVector3& velocity, const CMatrix3& attitude)
{
    m_targetPosition = position;
    m_targetVelocity = velocity;
    m_targetAttitude = attitude;
}

void CCamera::SetResetPose(const CVector3& position, float heading, float pitch, float roll)
{
    m_resetPosition = position;
    m_resetAngles[0] = heading;
    m_resetAngles[1] = pitch;
    m_resetAngles[2] = roll;
}

void CCamera::SetMode(int mode)
{
    if (mode >= MODE_FREE && mode <= MODE_ATTACHED)
        m_mode = mode;
}

uint32_t CCamera::HandleEvent(const CInputEvent& event)
{
    const uint32_t command = event.command;
    if (command < UC_CAMERA_MODE_LOOK_AT || command > UC_CAMERA_BRAKES)
        return 0;
    switch (command)
    {
    case UC_CAMERA_MODE_LOOK_AT: m_mode = MODE_LOOK_AT; return command;
    case UC_CAMERA_MODE_FOLLOW: m_mode = MODE_FOLLOW; return command;
    case UC_CAMERA_MODE_FREE: m_mode = MODE_FREE; return command;
    case UC_CAMERA_MODE_ATTACHED: m_mode = MODE_ATTACHED; return command;
    case UC_CAMERA_RESET_POSITION: Reset(); return command;
    case UC_CAMERA_AUTOZOOM:
        if (m_mode == MODE_LOOK_AT)
            m_autoZoomEnable = !m_autoZoomEnable;
        return command;
    case UC_CAMERA_ZOOM_IN: m_zoomIn = true; return command;
    case UC_CAMERA_ZOOM_OUT: m_zoomOut = true; return command;
    default: break;
    }
    // Held commands: a state change needs IS-DOWN or GOING-UP.
    const bool down = event.IsDown();
    const bool up = event.IsGoingUp();
    if (!down && !up)
        return 0;
    const bool on = down; // IS-DOWN wins when an event carries both
    switch (command)
    {
    case UC_CAMERA_MODIF_ROT_TRANSL: m_rotationModifier = on; break;
    case UC_CAMERA_LEFT: m_move[MOVE_LEFT] = on ? 1.0f : 0.0f; break;
    case UC_CAMERA_RIGHT: m_move[MOVE_RIGHT] = on ? 1.0f : 0.0f; break;
    case UC_CAMERA_UP: m_move[MOVE_UP] = on ? 1.0f : 0.0f; break;
    case UC_CAMERA_DOWN: m_move[MOVE_DOWN] = on ? 1.0f : 0.0f; break;
    case UC_CAMERA_FORWARD: m_move[MOVE_FORWARD] = on ? 1.0f : 0.0f; break;
    case UC_CAMERA_BACKWARDS: m_move[MOVE_BACKWARDS] = on ? 1.0f : 0.0f; break;
    case UC_CAMERA_ROLL_LEFT: m_move[MOVE_ROLL_LEFT] = on ? 1.0f : 0.0f; break;
    case UC_CAMERA_ROLL_RIGHT: m_move[MOVE_ROLL_RIGHT] = on ? 1.0f : 0.0f; break;
    case UC_CAMERA_BRAKES: m_brakes = !on; break;
    default: return 0;
    }
    return command;
}

void CCamera::Reset()
{
    m_body.SetPosition(m_resetPosition);
    m_body.SetOrientation(OrientationFromAngles(m_resetAngles[0], m_resetAngles[1], m_resetAngles[2]));
    m_body.SetVelocity(CVector3());
    m_body.SetAngularVelocity(CVector3());
    m_autoZoomRatio = kAutoZoomRatioDefault;
    m_targetHFOV = kDefaultHFOV;
    m_autoZoomHFOV = kDefaultHFOV;
    m_userHFOV = kDefaultHFOV;
    m_attachedDistance = kAttachedDistance;
    m_attachedYaw = 0.0f;
    m_attachedPitch = 0.0f;
}

void CCamera::Update(float frameTime)
{
    m_currentHFOV = StepHFOV(m_currentHFOV, m_targetHFOV);
    m_frameTime = frameTime;
    m_body.Update(frameTime);
    // Whatever the mode, the eye stays above the ground: from below it the view shows the
    // underside of the terrain and the haze of the sky under the horizon. The last sub-step of
    // the follow camera, a free camera steered down or an onboard camera behind a model on a
    // slope would all end there otherwise.
    if (m_terrain != nullptr)
    {
        const CVector3& position = m_body.GetPosition();
        CVector3 normal;
        const float ground = m_terrain->GetTerrainHeight(position.x, position.z, m_terrainHint, normal);
        if (position.y < ground + kMinEyeHeight)
            PutOnGround(ground + kMinEyeHeight);
    }
    ChooseZoom(frameTime);
}

bool CCamera::TakeProjectionChange(float& outHFOV)
{
    if (m_currentHFOV == m_projectionHFOV)
        return false;
    m_projectionHFOV = m_currentHFOV;
    outHFOV = m_currentHFOV;
    return true;
}

// ---------------------------------------------------------------- forces

void CCamera::SubStepCallback(void* context, float dt)
{
    static_cast<CCamera*>(context)->ComputeForces(dt);
}

void CCamera::ComputeForces(float h)
{
    // 1. Nothing of the last sub-step may leak into this one.
    for (CForce& force : m_forces)
    {
        force.vector = CVector3();
        force.point = CVector3();
    }
    for (CTorque& torque : m_torques)
        torque.vector = CVector3();

    // 2. Rotational friction, bounded so a spinning camera cannot be kicked back harder.
    const CVector3& omega = m_body.GetAngularVelocity();
    CVector3 friction = omega * -(0.64f + 0.134f * omega.Length());
    if (friction.Length() > kMaxFrictionTorque)
        friction = friction.Normalized() * kMaxFrictionTorque;
    m_torques[T_FRICTION].vector = friction;

    // 3. Linear friction; the look-at camera always brakes.
    const CVector3& v = m_body.GetVelocity();
    const bool braking = m_brakes || m_mode == MODE_LOOK_AT;
    const float a = braking ? 2.0f : 0.1f;
    const float b = braking ? 0.7f : 0.1f;
    m_forces[F_FRICTION].vector = v * -(a + b * v.Length());

    // 4. By mode.
    switch (m_mode)
    {
    case MODE_FREE:
        FreeControls();
        break;
    case MODE_LOOK_AT:
        FreeControls();
        LookAtSteering();
        RollLevelling();
        break;
    case MODE_FOLLOW:
        FreeControls();
        FollowSpring();
        LookAtSteering();
        m_forces[F_CENTER].vector.y += (m_targetPosition.y - m_body.GetPosition().y) * kHeightGain;
        RollLevelling();
        GroundAvoidance();
        break;
    case MODE_ATTACHED:
        AttachedMode(h);
        break;
    default:
        break;
    }
}

void CCamera::FreeControls()
{
    const CMatrix3& m = m_body.GetOrientation();
    const CVector3& right = m.row[0];
    const CVector3& up = m.row[1];
    const CVector3& back = m.row[2];
    CVector3& centre = m_forces[F_CENTER].vector;
    centre += back * (-kMoveForce * m_move[MOVE_FORWARD]);
    centre += back * (kMoveForce * m_move[MOVE_BACKWARDS]);
    if (m_rotationModifier)
    {
        centre += right * (-kMoveForce * m_move[MOVE_LEFT]);
        centre += right * (kMoveForce * m_move[MOVE_RIGHT]);
        centre += up * (kMoveForce * m_move[MOVE_UP]);
        centre += up * (-kMoveForce * m_move[MOVE_DOWN]);
        return;
    }
    // Applied in this order so that of a held pair Right, Up and Roll Right win.
    if (m_move[MOVE_LEFT] != 0.0f)
        m_torques[T_VERTICAL].vector = up;
    if (m_move[MOVE_RIGHT] != 0.0f)
        m_torques[T_VERTICAL].vector = -up;
    if (m_move[MOVE_DOWN] != 0.0f)
        m_torques[T_RIGHT].vector = -right;
    if (m_move[MOVE_UP] != 0.0f)
        m_torques[T_RIGHT].vector = right;
    if (m_move[MOVE_ROLL_LEFT] != 0.0f)
        m_torques[T_FRONT].vector = back;
    if (m_move[MOVE_ROLL_RIGHT] != 0.0f)
        m_torques[T_FRONT].vector = -back;
}

void CCamera::LookAtSteering()
{
    const CVector3& position = m_body.GetPosition();
    const float dist = std::clamp((position - m_targetPosition).Length(), 0.0f, kLookAtRange);
    // Lead the model more when it is close: it crosses the view faster.
    const float lead = 2.0f * (1.0f + 0.02f * (kLookAtRange - dist));
    const CVector3 aim = m_targetPosition + m_targetVelocity * (m_frameTime * lead);
    const CVector3 d = aim - position;
    if (d.LengthSquared() < 1e-12f)
        return;
    const float aimHeading = std::atan2(d.x, -d.z);
    const float aimPitch = std::atan2(d.y, std::sqrt(d.x * d.x + d.z * d.z));
    float heading = 0.0f;
    float pitch = 0.0f;
    float roll = 0.0f;
    AnglesFromOrientation(m_body.GetOrientation(), heading, pitch, roll);
    const float eH = WrapPi(aimHeading - heading);
    const float eP = WrapPi(aimPitch - pitch);

    const CVector3& right = m_body.GetOrientation().row[0];
    const CVector3 horizontal = CVector3(right.x, 0.0f, right.z).Normalized();
    m_torques[T_LOOK_AT_TARGET_RIGHT].vector += horizontal * (eP * kSteerGain);
    // A turn about world up by +a lowers the heading: steer with minus the error.
    m_torques[T_LOOK_AT_TARGET_VERTICAL].vector += CVector3(0.0f, 1.0f, 0.0f) * (-eH * kSteerGain);
}

void CCamera::RollLevelling()
{
    float heading = 0.0f;
    float pitch = 0.0f;
    float roll = 0.0f;
    AnglesFromOrientation(m_body.GetOrientation(), heading, pitch, roll);
    // A positive roll (right side down) is undone by a turn about +back.
    m_torques[T_VERTICAL_BALANCE_FRONT].vector += m_body.GetOrientation().row[2] * roll;
}

void CCamera::FollowSpring()
{
    CVector3 d = m_targetPosition - m_body.GetPosition();
    float dist = d.Length();
    if (dist < 1e-6f)
        return; // on the model: no direction to pull in
    if (dist > kFollowMaxDistance)
    {
        m_body.SetPosition(m_targetPosition - d * (kFollowMaxDistance / dist));
        d = d * (kFollowMaxDistance / dist);
        dist = kFollowMaxDistance;
    }
    m_forces[F_FOLLOW].vector += d * (FollowSpringForce(dist) / dist);
    m_forces[F_FOLLOW].point = kFollowPoint;
    m_brakes = true;
}

void CCamera::GroundAvoidance()
{
    if (m_terrain == nullptr)
        return;
    const CVector3& position = m_body.GetPosition();
    CVector3 normal;
    const float ground = m_terrain->GetTerrainHeight(position.x, position.z, m_terrainHint, normal);
    const float height = position.y - ground;
    if (height < kGroundClearance)
        m_forces[F_GROUND_AVOIDANCE].vector.y = (kGroundClearance - height) * kGroundGain;
    if (position.y < ground)
        PutOnGround(ground);
}

void CCamera::PutOnGround(float ground)
{
    const CVector3 position = m_body.GetPosition();
    m_body.SetPosition(CVector3(position.x, ground, position.z));
    // Whatever carried it into the ground must not carry it further.
    CVector3 v = m_body.GetVelocity();
    if (v.y < 0.0f)
        v.y = 0.0f;
    m_body.SetVelocity(v);
}

void CCamera::AttachedMode(float h)
{
    // The keys are rates: integrated over the sub-step so the speed does not depend on how many
    // sub-steps a frame has.
    m_attachedDistance += kAttachedRate * h * (m_move[MOVE_BACKWARDS] - m_move[MOVE_FORWARD]);
    if (!m_rotationModifier)
    {
        m_attachedYaw += kAttachedTurn * h * (m_move[MOVE_LEFT] - m_move[MOVE_RIGHT]);
        m_attachedPitch += kAttachedTurn * h * (m_move[MOVE_DOWN] - m_move[MOVE_UP]);
    }
    CMatrix3 m = OrientationFromAngles(m_attachedYaw, m_attachedPitch, 0.0f) * m_targetAttitude;
    m.row[1] = m.row[1].Normalized();
    m.row[2] = m.row[2].Normalized();
    m_body.SetPosition(m_targetPosition + m.row[2] * m_attachedDistance);
    m_body.SetOrientation(m);
}

// ---------------------------------------------------------------- zoom

void CCamera::ChooseZoom(float dt)
{
    if (m_mode == MODE_ATTACHED)
        m_targetHFOV = kDefaultHFOV;
    else if (m_mode == MODE_LOOK_AT && m_autoZoomEnable)
    {
        m_autoZoomRatio = AutoZoomRatioStep(m_autoZoomRatio, m_zoomIn, m_zoomOut);
        if (m_autoZoomRatio > 0.001f)
            m_autoZoomHFOV = AutoZoomHFOV((m_body.GetPosition() - m_targetPosition).Length(), m_autoZoomRatio);
        m_targetHFOV = m_autoZoomHFOV;
    }
    else
    {
        m_userHFOV = UserZoom(m_userHFOV, m_currentHFOV, m_zoomIn, m_zoomOut, dt);
        m_targetHFOV = m_userHFOV;
    }
    m_zoomIn = false;
    m_zoomOut = false;
}

float CCamera::StepHFOV(float current, float target)
{
    if (target > current)
        return std::min(current + kHFOVStep, target);
    return std::max(current - kHFOVStep, target);
}

float CCamera::UserZoom(float userHFOV, float currentHFOV, bool zoomIn, bool zoomOut, float dt)
{
    const float step = kUserZoomRate * dt;
    bool in = zoomIn && !zoomOut;
    bool out = zoomOut && !zoomIn;
    if (zoomIn && zoomOut)
    {
        // Both keys: back toward the default.
        in = currentHFOV > kDefaultHFOV + step;
        out = currentHFOV < kDefaultHFOV - step;
    }
    if (out)
        return std::min(currentHFOV + step, kMaxHFOV);
    if (in)
        return std::max(currentHFOV - step, kMinHFOV);
    return userHFOV;
}

float CCamera::AutoZoomRatioStep(float ratio, bool zoomIn, bool zoomOut)
{
    constexpr float kStep = 0.01f;
    if (zoomIn && !zoomOut)
        return std::min(ratio + kStep, 0.25f);
    if (zoomOut && !zoomIn)
        return std::max(ratio - kStep, 0.03f);
    if (zoomIn && zoomOut && std::fabs(ratio - kAutoZoomRatioDefault) > kStep)
        return ratio + (ratio < kAutoZoomRatioDefault ? kStep : -kStep);
    return ratio;
}

float CCamera::AutoZoomHFOV(float distance, float ratio)
{
    // Half the angle 1 m of model subtends, over the share of the view it should fill.
    const float d = std::max(distance, 1e-3f);
    const float hfov = std::atan(1.0f / d) * kDegPerRad * 0.5f / ratio;
    return std::clamp(hfov, kMinHFOV, kMaxHFOV);
}

float CCamera::FollowSpringForce(float distance)
{
    const float s = distance - kFollowRestDistance;
    return std::min(150.0f * s * std::fabs(s), kFollowMaxForce);
}

// ---------------------------------------------------------------- angles and matrices

CMatrix3 CCamera::OrientationFromAngles(float heading, float pitch, float roll)
{
    // Roll about the nose, then pitch about the right axis, then heading about world up (row
    // vectors: the first factor acts first). Signs match CEngineDynamic's measurement: heading
    // toward +X, nose up and right side down are positive.
    const CMatrix3 r = CMatrix3::FromAxisAngle(CVector3(0.0f, 0.0f, 1.0f), -roll);
    const CMatrix3 p = CMatrix3::FromAxisAngle(CVector3(1.0f, 0.0f, 0.0f), pitch);
    const CMatrix3 h = CMatrix3::FromAxisAngle(CVector3(0.0f, 1.0f, 0.0f), -heading);
    return r * p * h;
}

void CCamera::AnglesFromOrientation(const CMatrix3& m, float& outHeading, float& outPitch, float& outRoll)
{
    const CVector3 nose = -m.row[2];
    outHeading = std::atan2(nose.x, -nose.z);
    outPitch = std::asin(std::clamp(nose.y, -1.0f, 1.0f));
    outRoll = std::atan2(-m.row[0].y, m.row[1].y);
}

float CCamera::GetNearPlane() const
{
    const float dist = (m_body.GetPosition() - m_targetPosition).Length();
    return std::clamp(dist * 0.1f, 0.1f, 5.0f);
}

osg::Matrixd CCamera::GetViewMatrix() const
{
    // Both conventions use row vectors and a camera looking along its -Z: the camera's world
    // matrix is its orientation rows over its position; the view matrix is its inverse.
    const CMatrix3& m = m_body.GetOrientation();
    const CVector3& p = m_body.GetPosition();
    const osg::Matrixd world(m.row[0].x, m.row[0].y, m.row[0].z, 0.0, m.row[1].x, m.row[1].y, m.row[1].z, 0.0,
                             m.row[2].x, m.row[2].y, m.row[2].z, 0.0, p.x, p.y, p.z, 1.0);
    return osg::Matrixd::inverse(world);
}

double CCamera::VerticalFovDeg(double horizontalDeg, double aspect)
{
    const double half = horizontalDeg * 0.5 * 3.14159265358979 / 180.0;
    return 2.0 * std::atan(std::tan(half) / std::max(aspect, 1e-6)) * 180.0 / 3.14159265358979;
}

osg::Matrixd CCamera::GetProjectionMatrix(double aspect, double nearPlane, double farPlane) const
{
    return osg::Matrixd::perspective(VerticalFovDeg(m_currentHFOV, aspect), aspect, nearPlane, farPlane);
}

const char* CCamera::ModeButtonSprite(int mode)
{
    switch (mode)
    {
    case MODE_FREE: return "B_KEYS";
    case MODE_LOOK_AT: return "B_MAN";
    case MODE_FOLLOW: return "B_FEET";
    case MODE_ATTACHED: return "B_ANCHOR";
    default: return "";
    }
}

void CCamera::GetDebugText(std::string& ioText)
{
    for (const CForce& force : m_forces)
    {
        CEngineDynamic::AppendForceLine(force, ioText);
        ioText += "\n";
    }
    for (const CTorque& torque : m_torques)
    {
        CEngineDynamic::AppendTorqueLine(torque, ioText);
        ioText += "\n";
    }
    ioText += "\nCAMERA\n";
    m_body.GetDebugText(ioText);
    float heading = 0.0f;
    float pitch = 0.0f;
    float roll = 0.0f;
    AnglesFromOrientation(m_body.GetOrientation(), heading, pitch, roll);
    ioText += StringPrintf("H=%3.1f, P=%3.1f, R=%3.1f\n", heading * kDegPerRad, pitch * kDegPerRad, roll * kDegPerRad);
    ioText += StringPrintf("Current HFOV = %f deg\nTarget  HFOV = %f deg\n\nUser HFOV = %f deg\n\nAutoZoom Enable = "
                           "%i\nAutoZoom Ratio  = %f\nAutoZoom HFOV   = %f deg\n",
                           m_currentHFOV, m_targetHFOV, m_userHFOV, m_autoZoomEnable ? 1 : 0, m_autoZoomRatio,
                           m_autoZoomHFOV);
    static const char* const kMoveNames[MOVE_COUNT] = {"Left\n",       "Right\n",      "Up\n",      "Down\n",
                                                       "Roll Left\n",  "Roll Right\n", "Forward\n", "Backwards\n"};
    for (int i = 0; i < MOVE_COUNT; ++i)
        if (m_move[i] != 0.0f)
            ioText += kMoveNames[i];
    if (m_brakes)
        ioText += "Brakes\n";
    if (m_rotationModifier)
        ioText += "RotationModifier\n";
}
