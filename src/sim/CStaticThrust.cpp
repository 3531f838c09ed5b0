#include "sim/CStaticThrust.h"

#include <cmath>

#include "model/CModel.h"
#include "model/CPartEngineProp.h"
#include "model/CPartServo.h"
#include "model/CPropertySet_Servo.h"
#include "model/CVariable.h"
#include "model/PartClassTable.h"
#include "sim/CFlightSession.h"

namespace
{
constexpr float kFrame = 1.0f / 60.0f;

void RunHeld(CFlightSession& session, float seconds)
{
    for (float t = 0.0f; t < seconds; t += kFrame)
    {
        session.Step(kFrame);
        session.ResetToStart();
    }
}
} // namespace

TStaticThrust CStaticThrust::Measure(const std::string& modelName, int engineIndex)
{
    TStaticThrust result;
    CFlightSession session;
    CStartPose pose = session.GetStartPose();
    pose.position = CVector3(0.0f, 100.0f, 0.0f); // far from any ground contact
    session.SetStartPose(pose);
    if (!session.LoadModel(modelName))
        return result.reason = session.GetLoadMessage(), result;
    CModel& model = *session.GetModel();
    const std::vector<CPart*> engines = model.GetPartsOfClass(PART_ENGINE_PROP);
    if (engineIndex < 0 || engineIndex >= static_cast<int>(engines.size()))
        return result.reason = "no such engine", result;
    auto* engine = static_cast<CPartEngineProp*>(engines[static_cast<size_t>(engineIndex)]);
    model.UpdateModel(0.0f); // links the parts
    if (!engine->IsLinked())
        return result.reason = "the engine is not linked", result;

    const std::string& servoName = engine->GetSettings().servo;
    CPart* servo = model.FindPart(PART_SERVO, servoName);
    if (servo == nullptr)
        return result.reason = "no throttle servo '" + servoName + "'", result;
    const std::string& variableName = static_cast<CPropertySet_Servo&>(servo->GetPropertySet()).variable;
    CVariable* throttle = model.GetVariableSearchList().Find(variableName);
    if (throttle == nullptr)
        return result.reason = "the throttle servo's variable '" + variableName + "' is not found", result;

    // The start sequence: throttle back, then full (the servo needs its travel time).
    const float travel = 2.0f * std::fmax(static_cast<CPropertySet_Servo&>(servo->GetPropertySet()).speed,
                                          CPartServo::kMinSpeed);
    throttle->SetValue(-1.0f);
    RunHeld(session, travel + 0.5f);
    throttle->SetValue(1.0f);
    RunHeld(session, travel + 0.5f);
    if (engine->GetState() != CPartEngineProp::kRunning)
        return result.reason = "the engine did not start", result;

    // Spin up at zero airspeed on the engine's own sub-steps; the body stays where it is.
    const float dt = model.GetBody().GetMaxIntegrationStep() > 0.0f ? model.GetBody().GetMaxIntegrationStep() : 0.005f;
    const int stepsPerSecond = static_cast<int>(std::lround(1.0f / dt));
    float previous = engine->GetRevPerSecond();
    for (int second = 1; second <= static_cast<int>(kMaxSpinUpSeconds); ++second)
    {
        for (int i = 0; i < stepsPerSecond; ++i)
            engine->CalcForces(dt);
        const float now = engine->GetRevPerSecond();
        result.seconds = static_cast<float>(second);
        if (std::fabs(now - previous) < kSettledRevPerSecond)
            break;
        previous = now;
    }
    result.evaluated = true;
    result.thrust = engine->GetThrust();
    result.rpm = engine->GetRevPerSecond() * 60.0f;
    return result;
}
