#include "fdm/CModelReport.h"

#include <cmath>

#include "core/Diagnostics.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/CPartEngineProp.h"
#include "model/CPartPhysic.h"
#include "model/CPartPropeller.h"
#include "model/CPartServo.h"
#include "model/CPartWing2.h"
#include "model/CPartWing3.h"
#include "model/CPropellerCalculator.h"
#include "model/CPropertySet_Servo.h"
#include "model/CVariable.h"
#include "model/PartClassTable.h"
#include "sim/CFlightSession.h"
#include "sim/CStaticThrust.h"

namespace
{
constexpr float kReportRevPerSecond = 10000.0f / 60.0f; // the speed of the published tables

std::string Vector(const CVector3& v)
{
    return StringPrintf("(%.4f, %.4f, %.4f)", static_cast<double>(v.x), static_cast<double>(v.y),
                        static_cast<double>(v.z));
}

// The propeller at a fixed speed against the advance ratio J = V / (n D): thrust and power
// coefficients CT = T / (rho n^2 D^4), CP = 2 pi Q / (rho n^2 D^5), efficiency J CT / CP, and the
// static figure of merit T^1.5 / (P sqrt(2 rho A)), which momentum theory caps at 1.
std::string PropellerTable(const CPropellerCalculator& calculator)
{
    if (!calculator.IsValid())
        return "\n      (no propeller figures: the propeller is not valid)";
    constexpr float kRho = CPropellerCalculator::kAirDensity;
    constexpr float kPi = 3.14159265f;
    const float n = kReportRevPerSecond;
    const float d = calculator.GetDiameter();
    float thrust = 0.0f, torque = 0.0f;
    calculator.Calc(0.0f, n, thrust, torque);
    const float power = 2.0f * kPi * n * torque;
    const float merit = power > 0.0f && thrust > 0.0f
                            ? std::pow(thrust, 1.5f) / (power * std::sqrt(2.0f * kRho * calculator.GetDiskArea()))
                            : 0.0f;
    std::string text = StringPrintf("\n      at %.0f rpm: static thrust %.3f N, power %.1f W, figure of merit %.3f",
                                    static_cast<double>(n * 60.0f), static_cast<double>(thrust),
                                    static_cast<double>(power), static_cast<double>(merit));
    text += "\n      J      CT      CP      efficiency";
    float zeroThrustJ = -1.0f, previousCt = 0.0f, previousJ = 0.0f, peak = 0.0f, peakJ = 0.0f;
    for (int i = 0; i <= 24; ++i)
    {
        const float j = 0.05f * static_cast<float>(i);
        calculator.Calc(j * n * d, n, thrust, torque);
        const float ct = thrust / (kRho * n * n * std::pow(d, 4.0f));
        const float cp = 2.0f * kPi * torque / (kRho * n * n * std::pow(d, 5.0f));
        const float efficiency = cp > 0.0f && ct > 0.0f ? j * ct / cp : 0.0f;
        if (efficiency > peak)
            peak = efficiency, peakJ = j;
        if (zeroThrustJ < 0.0f && i > 0 && previousCt > 0.0f && ct <= 0.0f)
            zeroThrustJ = previousJ + (j - previousJ) * previousCt / (previousCt - ct);
        previousCt = ct;
        previousJ = j;
        text += StringPrintf("\n      %.2f   %.4f  %.4f  %.3f", static_cast<double>(j), static_cast<double>(ct),
                             static_cast<double>(cp), static_cast<double>(efficiency));
    }
    text += StringPrintf("\n      zero thrust at J %.3f, peak efficiency %.3f at J %.2f",
                         static_cast<double>(zeroThrustJ), static_cast<double>(peak), static_cast<double>(peakJ));
    return text;
}

} // namespace

std::string CModelReport::Build(const std::string& modelName)
{
    CFlightSession session;
    CStartPose pose = session.GetStartPose();
    pose.position = CVector3(0.0f, 100.0f, 0.0f);
    session.SetStartPose(pose);
    if (!session.LoadModel(modelName))
        return "Model " + modelName + ": " + session.GetLoadMessage() + "\n";
    CModel& model = *session.GetModel();
    model.UpdateModel(0.0f); // links the parts and weighs them; a zero-length frame moves nothing
    const CEngineDynamic& body = model.GetBody();
    std::string text = "Model " + modelName + "\n";
    text += StringPrintf("  mass %.4f kg\n", static_cast<double>(body.GetMass()));
    text += "  centre of mass " + Vector(body.GetCentreOfMass()) + " m (body frame)\n";
    text += "  inertia about the body origin (kg m^2):\n";
    for (const CVector3& row : body.GetInertia().row)
        text += "    " + Vector(row) + "\n";
    text += StringPrintf("  max integration step %.4f s\n", static_cast<double>(body.GetMaxIntegrationStep()));
    text += StringPrintf("  parts: %d\n", model.GetPartCount());

    int engineIndex = 0;
    for (int i = 0; i < model.GetPartCount(); ++i)
    {
        CPart* part = model.GetPart(i);
        const TPartClassDescriptor* cls = GetPartClass(part->GetClassIndex());
        text += StringPrintf("  %-16s %-20s", cls != nullptr ? cls->blockToken : "?", part->GetName().c_str());
        if (!part->IsLinked())
            text += " (not linked: produces no force)";
        if (CPartPhysic* physic = part->AsPhysic(); physic != nullptr && physic->GetMassElement().Mass() > 0.0f)
            text += StringPrintf(" mass %.4f kg", static_cast<double>(physic->GetMassElement().Mass()));
        CVector3 position;
        if (part->GetPosition(position))
            text += " at " + Vector(position);

        switch (part->GetClassIndex())
        {
        case PART_WING3:
        {
            auto* wing = static_cast<CPartWing3*>(part);
            float area = 0.0f;
            for (int s = 0; s < wing->GetSegmentCount(); ++s)
                area += wing->GetSegment(s).area;
            const auto& settings = wing->GetSettings();
            const float span = settings.halfSpan * (settings.symmetrical ? 2.0f : 1.0f);
            text += StringPrintf("\n      area %.4f m^2, span %.3f m, aspect ratio %.2f, %d segments, airfoil %s",
                                 static_cast<double>(area), static_cast<double>(span),
                                 static_cast<double>(wing->GetAspectRatio()), wing->GetSegmentCount(),
                                 wing->GetAirfoil() != nullptr ? settings.airfoil.c_str() : "(none)");
            break;
        }
        case PART_WING2:
        {
            auto* wing = static_cast<CPartWing2*>(part);
            const auto& settings = wing->GetSettings();
            text += StringPrintf("\n      area %.4f m^2, span %.3f m, chord %.3f m, airfoil %s",
                                 static_cast<double>(settings.chord * settings.span),
                                 static_cast<double>(settings.span), static_cast<double>(settings.chord),
                                 wing->GetAirfoil() != nullptr ? settings.airfoil.c_str() : "(none)");
            break;
        }
        case PART_PROPELLER:
        {
            auto* propeller = static_cast<CPartPropeller*>(part);
            const auto& settings = propeller->GetSettings();
            text += StringPrintf("\n      diameter %.4f m, pitch %.4f m", static_cast<double>(settings.diameter),
                                 static_cast<double>(settings.pitch));
            text += PropellerTable(propeller->GetCalculator());
            break;
        }
        case PART_ENGINE_PROP:
        {
            auto* engine = static_cast<CPartEngineProp*>(part);
            text += StringPrintf("\n      max torque %.4f N m, propeller %s, throttle servo %s",
                                 static_cast<double>(engine->GetSettings().maxTorque),
                                 engine->GetSettings().propeller.c_str(), engine->GetSettings().servo.c_str());
            const TStaticThrust thrust = CStaticThrust::Measure(modelName, engineIndex++);
            if (thrust.evaluated)
                text += StringPrintf("\n      static thrust at full throttle %.3f N at %.0f rpm (settled after %.0f s)",
                                     static_cast<double>(thrust.thrust), static_cast<double>(thrust.rpm),
                                     static_cast<double>(thrust.seconds));
            else
                text += "\n      static thrust not measured: " + thrust.reason;
            break;
        }
        default:
            break;
        }
        text += "\n";
    }
    return text;
}
