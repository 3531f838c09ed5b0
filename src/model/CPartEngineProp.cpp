#include "model/CPartEngineProp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/Diagnostics.h"
#include "model/CDegreeOfFreedom.h"
#include "model/CModel.h"
#include "model/CPartCollisionPoint.h"
#include "model/CPartPropeller.h"
#include "model/CPartServo.h"
#include "model/ExpoCurve.h"
#include "model/IDebugDraw.h"
#include "model/IModelSounds.h"
#include "model/IOverlayMessages.h"
#include "model/IWindField.h"
#include "model/PartClassTable.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kRadPerDeg = kPi / 180.0f;
constexpr float kTorqueExpo = 0.5f;       // engine torque ~ sqrt(throttle) unless THROTTLE_EXPO says else
constexpr float kLengthExpo = -0.25f;     // slipstream decay along the stream
constexpr float kRadialExpo = -0.5f;      // slipstream profile across it
constexpr float kFrictionQuadratic = 1e-6f; // N*m per (rev/s)^2
constexpr float kFrictionLinear = 1e-4f;    // N*m per rev/s
constexpr int kSlipstreamDotColour = 27;

float ThrottleFromServo(const CPartServo* servo)
{
    if (servo == nullptr)
        return 0.0f;
    const float t = (servo->GetServoPosition() + 1.0f) * 0.5f;
    // A variable outside -1 .. 1 must not ask for the square root of a negative throttle.
    return std::isfinite(t) ? std::clamp(t, 0.0f, 1.0f) : 0.0f;
}
} // namespace

CPartEngineProp::CPartEngineProp() : CPartPhysic(PART_ENGINE_PROP)
{
    m_stoppedMessage.text = "Engine is stopped.\nTHROTTLE BACK to start the engine";
    m_pushMessage.text = "PUSH THROTTLE to start the engine";
}

CPartEngineProp::~CPartEngineProp()
{
    // The overlay outlives the model: take our texts off the screen with us.
    RemoveMessage(m_stoppedMessage);
    RemoveMessage(m_pushMessage);
}

std::string CPartEngineProp::Who() const
{
    return (m_model != nullptr ? m_model->GetFileName() : std::string("?")) + ": ENGINE_PROP '" + GetName() + "'";
}

bool CPartEngineProp::AttachToModel(CModel& model)
{
    const bool ok = CPartPhysic::AttachToModel(model);
    m_sound = model.GetServices().sounds->CreateEngineSound();
    return ok;
}

bool CPartEngineProp::ApplyProperties()
{
    const float h = m_set.heading * kRadPerDeg;
    const float p = m_set.pitch * kRadPerDeg;
    m_axis = CVector3(std::sin(h) * std::cos(p), std::sin(p), -std::cos(h) * std::cos(p));

    m_servo = nullptr;
    m_propeller = nullptr;
    m_collisionPoint = nullptr;
    m_dof = nullptr;
    if (m_model != nullptr)
    {
        m_servo = dynamic_cast<CPartServo*>(m_model->FindPart(PART_SERVO, m_set.servo));
        m_propeller = dynamic_cast<CPartPropeller*>(m_model->FindPart(PART_PROPELLER, m_set.propeller));
        if (!m_set.collisionPoint.empty())
        {
            m_collisionPoint =
                dynamic_cast<CPartCollisionPoint*>(m_model->FindPart(PART_COLLISION_POINT, m_set.collisionPoint));
            if (m_collisionPoint == nullptr)
                DiagPrint("%s: TOKEN_COLLISION_POINT '%s' is no COLLISION_POINT of the model; the engine never "
                          "stops by itself\n",
                          Who().c_str(), m_set.collisionPoint.c_str());
        }
        if (m_propeller != nullptr)
            m_dof = m_model->GetDegreesOfFreedom().Get(m_propeller->GetName());
    }

    CForce& thrust = m_forces[0];
    thrust.point = m_set.position;
    thrust.vector = CVector3();
    m_torques[0].vector = CVector3();

    // A cube of 5 cm edge weighing MASS: density MASS / 0.05^3 = MASS * 8000.
    m_massElement.Reset();
    const CVector3 half(0.5f * kMassCubeEdge, 0.5f * kMassCubeEdge, 0.5f * kMassCubeEdge);
    if (const float mass = UsableMass(m_set.mass, "MASS"); mass > 0.0f)
        m_massElement.AddBox(mass * 8000.0f, m_set.position - half, m_set.position + half);
    if (m_model != nullptr)
        m_model->SetMassMustBeRecomputed();

    m_linked = m_servo != nullptr && m_propeller != nullptr;
    if (m_model != nullptr && !m_linked)
        DiagPrint("%s: %s%s%s; the engine produces nothing\n", Who().c_str(),
                  m_propeller == nullptr ? ("TOKEN_PROPELLER '" + m_set.propeller + "' is no PROPELLER").c_str() : "",
                  m_propeller == nullptr && m_servo == nullptr ? ", " : "",
                  m_servo == nullptr ? ("TOKEN_SERVO '" + m_set.servo + "' is no SERVO").c_str() : "");
    return m_linked;
}

void CPartEngineProp::CalcForces(float dt)
{
    CForce& thrustForce = m_forces[0];
    CTorque& dragTorque = m_torques[0];
    thrustForce.point = m_set.position;
    if (!m_linked || m_model == nullptr)
    {
        thrustForce.vector = CVector3();
        dragTorque.vector = CVector3();
        m_thrust = m_torque = m_wake = 0.0f;
        return;
    }
    if (m_diagnostics)
        m_info.clear();

    CEngineDynamic& body = m_model->GetBody();
    const float throttle = m_state == kRunning ? ThrottleFromServo(m_servo) : 0.0f;
    // THROTTLE_EXPO 0.5 (unless given) is a square root: a third of the torque at a tenth of
    // the throttle; 0 is linear, negative values hold the torque back at small throttle.
    const float expo = std::isfinite(m_set.throttleExpo) ? std::clamp(m_set.throttleExpo, -0.9f, 0.9f) : kTorqueExpo;
    // The throttle moves once a frame: the power is taken again only when it or the curve does.
    if (std::memcmp(&throttle, &m_curveThrottle, sizeof throttle) != 0 || std::memcmp(&expo, &m_curveExpo, sizeof expo) != 0)
    {
        m_curveThrottle = throttle;
        m_curveExpo = expo;
        m_curveValue = Expo(throttle, expo);
    }
    const float engineTorque = m_set.maxTorque * m_curveValue;

    m_worldAxis = body.BodyToWorldVector(m_axis);
    const CVector3 centre = body.BodyToWorldPoint(body.GetCentreOfMass());
    // Only the air that flows through the disk counts: a breeze from the side (a parked model)
    // or from behind must not drive the propeller as if it came head on.
    const float axial = -(m_model->GetWindField().GetWind(centre) - body.GetVelocity()).Dot(m_worldAxis);
    const float airSpeed = std::isfinite(axial) ? std::max(axial, 0.0f) : 0.0f;

    float thrust = 0.0f, torque = 0.0f;
    m_propeller->Calc(airSpeed, m_revPerSecond, thrust, torque);
    const float area = m_propeller->GetCalculator().GetDiskArea();
    m_wake = thrust > 0.0f && area > 0.0f ? std::sqrt(thrust / (area * kAirDensity)) : 0.0f;
    // A negative torque is the air driving the propeller: it windmills up instead of braking the
    // model at idle speed. Only a running engine keeps the idle speed; a stopped one runs down.
    const float friction = (m_revPerSecond * kFrictionQuadratic + kFrictionLinear) * m_revPerSecond;
    const float minimum = m_state == kRunning ? kMinRevPerSecond : 0.0f;
    float n = m_revPerSecond + (engineTorque - torque - friction) * dt * kSpinUpGain;
    if (!std::isfinite(n))
        n = minimum;
    m_revPerSecond = std::clamp(n, minimum, kMaxRevPerSecond);
    m_thrust = thrust;
    m_torque = torque;

    thrustForce.vector = m_worldAxis * thrust;
    dragTorque.vector = m_worldAxis * -torque;
}

namespace
{
// The same bits: a cached result is then exactly what the computation would give, signed zeros
// included.
bool SameBits(const CVector3& a, const CVector3& b)
{
    return std::memcmp(&a, &b, sizeof(CVector3)) == 0;
}
} // namespace

const CPartEngineProp::TStreamPoint& CPartEngineProp::StreamPoint(const CVector3& bodyPoint, float radius)
{
    if (std::memcmp(&radius, &m_streamRadius, sizeof radius) != 0 || !SameBits(m_set.position, m_streamPosition) ||
        !SameBits(m_axis, m_streamAxis))
    {
        m_streamPointsUsed = m_nextStreamPoint = 0;
        m_streamRadius = radius;
        m_streamPosition = m_set.position;
        m_streamAxis = m_axis;
    }
    int index = m_nextStreamPoint;
    for (int k = 0; k < m_streamPointsUsed; ++k, ++index)
    {
        if (index == m_streamPointsUsed)
            index = 0;
        if (SameBits(m_streamPoints[index].bodyPoint, bodyPoint))
        {
            m_nextStreamPoint = index + 1 == m_streamPointsUsed ? 0 : index + 1;
            return m_streamPoints[index];
        }
    }
    index = m_streamPointsUsed < kStreamPointCount ? m_streamPointsUsed++ : m_nextStreamPoint;
    m_nextStreamPoint = index + 1 == m_streamPointsUsed ? 0 : index + 1;
    TStreamPoint& p = m_streamPoints[index];
    p = TStreamPoint();
    p.bodyPoint = bodyPoint;
    const CVector3 d = bodyPoint - m_set.position;
    p.along = d.Dot(m_axis); // negative behind the disk
    p.radial = (d - m_axis * p.along).Length();
    const float streamEnd = -kSlipstreamLength * radius;
    p.inside = p.along < 0.0f && p.radial < kSlipstreamWidth * radius && p.along > streamEnd;
    if (p.inside)
    {
        const float x = p.along / streamEnd;
        p.lengthFactor = 1.0f - Expo(x, kLengthExpo);
        const float s = std::clamp(p.radial / (radius * (1.0f + 4.0f * x)), 0.0f, 1.0f);
        p.radialFactor = 1.0f - Expo(s, kRadialExpo);
        p.shape = p.lengthFactor * p.radialFactor;
        if (p.radial > 0.0f)
            p.swirlDirection = m_axis.Cross((d - m_axis * p.along) * (1.0f / p.radial));
    }
    return p;
}

bool CPartEngineProp::GetInducedWind(CVector3& outWind, const CVector3& bodyPoint)
{
    outWind = CVector3();
    if (!m_linked || !(m_thrust > 0.0f))
        return false;
    const float radius = m_propeller->GetCalculator().GetRadius();
    const TStreamPoint& p = StreamPoint(bodyPoint, radius);
    const float along = p.along, radial = p.radial;
    const float streamEnd = -kSlipstreamLength * radius;
    const bool inside = p.inside;
    float lengthFactor = 0.0f, radialFactor = 0.0f, speed = 0.0f;
    if (inside)
    {
        lengthFactor = p.lengthFactor;
        radialFactor = p.radialFactor;
        speed = p.shape * m_wake;
        // Swirl: the stream turns with the propeller (rotation along +axis, the sense its reaction
        // torque implies), so a fin above the thrust line is blown towards +x.
        CVector3 swirl;
        if (m_set.slipstreamSwirl != 0.0f && radial > 0.0f)
            swirl = p.swirlDirection * (m_set.slipstreamSwirl * speed);
        outWind = m_worldAxis * -speed + m_model->GetBody().BodyToWorldVector(swirl);
    }
    if (m_diagnostics)
    {
        m_info += StringPrintf("Induced Wind at (% 8.3f, % 8.3f, % 8.3f)\nfLongitudinalDistance = % 8.3f\n",
                               static_cast<double>(bodyPoint.x), static_cast<double>(bodyPoint.y),
                               static_cast<double>(bodyPoint.z), static_cast<double>(along));
        m_info += StringPrintf("fRadialDistance = % 8.3f  bPointIsInsideSlipStream = %i\n",
                               static_cast<double>(radial), inside ? 1 : 0);
        m_info += StringPrintf("    m_fAirVelocityBehindPropeller    % 8.3f\n"
                               "    fLongitudinalDistanceToEngine    % 8.3f\n"
                               "    fZeroLongitudinalDistance        % 8.3f\n"
                               "    fLongitudinalDistanceFactor      % 8.3f\n"
                               "    fRadialDistanceFactor            % 8.3f\n"
                               "    fAirVelocityAtRequestedPoint     % 8.3f (% 8.3fkm/h)\n"
                               "    v3AirStream                      (% 8.3f, % 8.3f, % 8.3f)\n",
                               static_cast<double>(m_wake), static_cast<double>(along),
                               static_cast<double>(streamEnd), static_cast<double>(lengthFactor),
                               static_cast<double>(radialFactor), static_cast<double>(speed),
                               static_cast<double>(speed * 3.6f), static_cast<double>(outWind.x),
                               static_cast<double>(outWind.y), static_cast<double>(outWind.z));
    }
    return inside;
}

void CPartEngineProp::UpdateFrame(float frameTime)
{
    m_throttle = ThrottleFromServo(m_servo);
    if (m_linked && m_model != nullptr)
        RunStateMachine();
    UpdateMessages(frameTime);

    if (m_sound && m_model != nullptr)
    {
        m_sound->SetState(m_revPerSecond, m_throttle, m_state == kRunning);
        m_sound->SetPosition(m_model->GetBody().GetPosition(), m_model->GetBody().GetVelocity());
        m_sound->Update();
    }
    if (m_dof != nullptr)
    {
        m_propellerAngle = std::fmod(m_propellerAngle + 2.0f * kPi * m_revPerSecond * frameTime, 2.0f * kPi);
        if (!std::isfinite(m_propellerAngle) || m_propellerAngle < 0.0f)
            m_propellerAngle = 0.0f;
        m_dof->SetRotation(CVector3(0.0f, 0.0f, m_propellerAngle));
    }
}

void CPartEngineProp::RunStateMachine()
{
    // A crashed model lies on its collision points with the reset prompt up: the start
    // messages wait until it is reset.
    const bool crashed = m_model->IsResetMessageShown();
    switch (m_state)
    {
    case kRunning:
        if (m_collisionPoint != nullptr && m_collisionPoint->WasHit())
            m_state = kStopped;
        break;
    case kStopped:
        if (!crashed)
        {
            PostMessage(m_stoppedMessage, kStoppedMessageDelay);
            m_state = kWaitThrottleBack;
        }
        break;
    case kWaitThrottleBack:
        if (crashed)
        {
            RemoveMessage(m_stoppedMessage);
            m_state = kStopped;
        }
        else if (m_throttle < kThrottleBack)
        {
            RemoveMessage(m_stoppedMessage);
            PostMessage(m_pushMessage, kPushMessageDelay);
            m_state = kWaitThrottleUp;
        }
        break;
    case kWaitThrottleUp:
        if (crashed)
        {
            RemoveMessage(m_pushMessage);
            m_state = kStopped;
        }
        else if (m_throttle >= kThrottleUp)
        {
            RemoveMessage(m_pushMessage);
            m_state = kRunning;
        }
        break;
    default: m_state = kStopped; break;
    }
}

void CPartEngineProp::PostMessage(TMessage& message, float delay)
{
    RemoveMessage(message);
    message.posted = true;
    message.shown = false;
    message.delay = delay;
}

void CPartEngineProp::RemoveMessage(TMessage& message)
{
    if (message.shown && message.handle > 0 && m_model != nullptr)
        m_model->GetServices().messages->Remove(message.handle);
    message.posted = false;
    message.shown = false;
    message.handle = -1;
}

void CPartEngineProp::UpdateMessages(float frameTime)
{
    if (m_model == nullptr)
        return;
    for (TMessage* message : {&m_stoppedMessage, &m_pushMessage})
    {
        if (!message->posted || message->shown)
            continue;
        message->delay -= frameTime;
        if (message->delay <= 0.0f)
        {
            const int handle = m_model->GetServices().messages->Show(message->text, 0.0f);
            message->shown = true;
            message->handle = handle > 0 ? handle : -1;
        }
    }
}

void CPartEngineProp::GetDebugText(std::string& ioText)
{
    CPartPhysic::GetDebugText(ioText);
    ioText += StringPrintf("RPM = %8.1f\n", static_cast<double>(m_revPerSecond * 60.0f));
    ioText += StringPrintf("Torque Drag = %8.5f\n", static_cast<double>(m_torque));
    ioText += StringPrintf("Air Velocity Behind Propeller = %8.1f km/h\n", static_cast<double>(m_wake * 3.6f));
    ioText += m_info;
}

void CPartEngineProp::DrawDebugExtra(IDebugDraw& draw)
{
    if (!m_linked || m_model == nullptr)
        return;
    const float radius = m_propeller->GetCalculator().GetRadius();
    if (!(radius > 0.0f))
        return;
    // A plane through the axis: ten stations along the stream, nine across it.
    CVector3 across = m_axis.Cross(CVector3(0.0f, 1.0f, 0.0f)).Normalized();
    if (across.IsZero())
        across = CVector3(1.0f, 0.0f, 0.0f);
    CEngineDynamic& body = m_model->GetBody();
    const bool diagnostics = m_diagnostics;
    m_diagnostics = false; // the drawing must not flood the information text
    for (int i = 1; i <= 10; ++i)
        for (int j = -4; j <= 4; ++j)
        {
            const CVector3 point = m_set.position - m_axis * (kSlipstreamLength * radius * 0.1f * i - 0.01f) +
                                   across * (radius * static_cast<float>(j));
            CVector3 wind;
            if (!GetInducedWind(wind, point))
                continue;
            const CVector3 world = body.BodyToWorldPoint(point);
            draw.Point(world, kSlipstreamDotColour, 3.0f);
            draw.Line(world, world + wind * 0.05f, kSlipstreamDotColour);
        }
    m_diagnostics = diagnostics;
}

int CPartEngineProp::SaveState(std::vector<unsigned char>& ioBytes)
{
    unsigned char bytes[8];
    const float n = m_revPerSecond;
    const std::int32_t state = m_state;
    std::memcpy(bytes, &n, 4);
    std::memcpy(bytes + 4, &state, 4);
    ioBytes.insert(ioBytes.end(), bytes, bytes + 8);
    return 8;
}

int CPartEngineProp::LoadState(const unsigned char* bytes, int count)
{
    if (bytes == nullptr || count < 8)
        return 0;
    float n = 0.0f;
    std::int32_t state = 0;
    std::memcpy(&n, bytes, 4);
    std::memcpy(&state, bytes + 4, 4);
    // A damaged recording must not put a NaN speed or an unknown state into the engine.
    if (!std::isfinite(n) || state < kRunning || state > kWaitThrottleUp)
        return 0;
    m_revPerSecond = n;
    if (state == kRunning && m_state != kRunning)
    {
        RemoveMessage(m_stoppedMessage);
        RemoveMessage(m_pushMessage);
        m_state = kRunning;
    }
    else if (state != kRunning && m_state == kRunning)
        m_state = state;
    return 8;
}
