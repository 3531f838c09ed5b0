#include "sim/CModelCheck.h"
#include "sim/JsonText.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "core/CMatrix3.h"
#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CProperty.h"
#include "data/CPropertySet.h"
#include "model/CAirfoil.h"
#include "model/CFunction.h"
#include "model/CFunctionList.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/CPartDrag.h"
#include "model/CPartModelInfo.h"
#include "model/CPartServo.h"
#include "model/CPartWing2.h"
#include "model/CPartWing3.h"
#include "model/CPropertySet_Drag.h"
#include "model/CPropertySet_ModelInfo.h"
#include "model/CPropertySet_Servo.h"
#include "model/CVariable.h"
#include "model/PartClassTable.h"
#include "sim/CFlightSession.h"
#include "sim/CStaticThrust.h"

namespace
{
constexpr float kPi = 3.14159265358979f;
constexpr float kRadPerDeg = kPi / 180.0f;
constexpr float kFrame = 1.0f / 60.0f;
// Full control effect at a control chord fraction of 0.3 (the lift increment of the airfoil
// routine); a surface without a control surface has no effect.
constexpr float kFullEffectChordFraction = 0.3f;
// A control part whose moment opposes the convention by more than this share of the channel's
// total is reported as reversed.
constexpr float kReversedShare = 0.05f;

struct TChannel
{
    int index;        // 0-based: V_CH1 is 0
    const char* role; // for messages
    int axis;         // 0 pitch (nose up), 1 roll (right), 2 yaw (right)
};
const TChannel kPrimaryChannels[] = {{0, "aileron: +1 rolls right", 1},
                                     {1, "elevator: +1 pitches the nose up", 0},
                                     {3, "rudder: +1 yaws right", 2}};

std::string ChannelName(int index)
{
    return StringPrintf("V_CH%d", index + 1);
}

// dCl/dalpha (1/rad) of the airfoil around zero angle of attack.
float SectionLiftSlope(const CAirfoil& airfoil)
{
    const float step = 2.0f * kRadPerDeg;
    float clPlus = 0.0f, clMinus = 0.0f, cd = 0.0f, cp = 0.0f;
    airfoil.GetCoefficients(step, clPlus, cd, cp);
    airfoil.GetCoefficients(-step, clMinus, cd, cp);
    return (clPlus - clMinus) / (2.0f * step);
}

float FiniteLiftSlope(float sectionSlope, float aspectRatio, float efficiency)
{
    if (aspectRatio <= 0.0f || efficiency <= 0.0f)
        return sectionSlope;
    return sectionSlope / (1.0f + sectionSlope / (kPi * efficiency * aspectRatio));
}

// Largest Cl between 0 and 30 deg, and its angle (rad).
float MaxLift(const CAirfoil& airfoil, float& outAlpha)
{
    float best = -1.0e9f;
    outAlpha = 0.0f;
    for (int i = 0; i <= 120; ++i)
    {
        const float alpha = static_cast<float>(i) * 0.25f * kRadPerDeg;
        float cl = 0.0f, cd = 0.0f, cp = 0.0f;
        airfoil.GetCoefficients(alpha, cl, cd, cp);
        if (cl > best)
            best = cl, outAlpha = alpha;
    }
    return best;
}

// The names of the DOFTransform nodes of an ASCII .osg file: a text scan, so the check needs no
// scene library. False when the file cannot be read.
bool ReadDofNames(const std::string& fileName, std::set<std::string>& outNames)
{
    std::string text;
    if (fileName.empty() || !ReadWholeFile(BuildDataPath(DF_3D, fileName), text))
        return false;
    for (size_t at = text.find("DOFTransform"); at != std::string::npos; at = text.find("DOFTransform", at + 1))
    {
        const size_t name = text.find("name \"", at);
        const size_t brace = text.find('{', at);
        if (name == std::string::npos || brace == std::string::npos || name > text.find('\n', brace) + 200)
            continue;
        const size_t end = text.find('"', name + 6);
        if (end != std::string::npos)
            outNames.insert(text.substr(name + 6, end - name - 6));
    }
    return true;
}

// Every value of a part's name-valued properties (servos, variables, DOFs, other parts).
std::vector<std::pair<std::string, std::string>> NameReferences(const CPart& part)
{
    std::vector<std::pair<std::string, std::string>> refs;
    const CPropertySet& set = part.GetPropertySet();
    for (int i = 0; i < set.PropertyCount(); ++i)
    {
        const CProperty* property = set.PropertyAt(i);
        if ((property->Type() == EPropertyType::TOKEN || property->Type() == EPropertyType::TOKEN_EXT) &&
            !property->GetString().empty())
            refs.emplace_back(property->Key(), property->GetString());
    }
    return refs;
}

std::string PartLabel(const CPart& part)
{
    const TPartClassDescriptor* cls = GetPartClass(part.GetClassIndex());
    return std::string(cls != nullptr ? cls->blockToken : "?") + " '" + part.GetName() + "'";
}

void RunHeld(CFlightSession& session, float seconds)
{
    for (float t = 0.0f; t < seconds; t += kFrame)
    {
        session.Step(kFrame);
        session.ResetToStart();
    }
}

// Lift (N, world up, weight removed) and pitching moment (N m about the centre of mass, nose
// up positive) of the model flying level at speed (m/s) with the nose pitched alphaDeg up.
void Probe(CFlightSession& session, float alphaDeg, float speed, float& outLift, float& outMoment)
{
    CModel& model = *session.GetModel();
    CEngineDynamic& body = model.GetBody();
    CMatrix3 orientation;
    CFlightSession::BuildOrientation(0.0f, alphaDeg, 0.0f, orientation);
    body.SetPosition(CVector3(0.0f, 100.0f, 0.0f));
    body.SetOrientation(orientation);
    body.SetVelocity(CVector3(0.0f, 0.0f, -speed)); // heading 0 flies along -Z
    body.SetAngularVelocity(CVector3());
    session.Step(0.001f);
    outLift = body.GetTotalForce().y + body.GetMass() * CModelCheck::kGravity;
    outMoment = (body.GetTotalTorque() * orientation.Transposed()).x;
}

// A control surface as the channel test sees it.
struct TControl
{
    const CPart* part = nullptr;
    CVector3 point;       // quarter chord, body frame, m
    CVector3 normal;      // body frame
    float weight = 0.0f;  // area * effectiveness, m^2
};

// Deflection of every control surface of the model (rad), in a fixed order.
std::vector<float> Deflections(const CModel& model)
{
    std::vector<float> out;
    for (CPart* part : model.GetPartsOfClass(PART_WING3))
    {
        const auto* wing = static_cast<const CPartWing3*>(part);
        for (int s = 0; s < wing->GetSegmentCount(); ++s)
            out.push_back(wing->GetSegment(s).deflection);
    }
    for (CPart* part : model.GetPartsOfClass(PART_WING2))
        out.push_back(static_cast<const CPartWing2*>(part)->GetDeflection());
    return out;
}

std::vector<TControl> Controls(const CModel& model)
{
    std::vector<TControl> out;
    for (CPart* part : model.GetPartsOfClass(PART_WING3))
    {
        const auto* wing = static_cast<const CPartWing3*>(part);
        for (int s = 0; s < wing->GetSegmentCount(); ++s)
        {
            const CPartWing3::TSegment& segment = wing->GetSegment(s);
            TControl control;
            control.part = part;
            control.point = segment.point + segment.chordDirection * (0.25f * segment.chord);
            control.normal = segment.normal;
            control.weight = segment.area * std::min(segment.controlChordFraction / kFullEffectChordFraction, 1.0f);
            out.push_back(control);
        }
    }
    for (CPart* part : model.GetPartsOfClass(PART_WING2))
    {
        auto* wing = static_cast<CPartWing2*>(part);
        const auto& settings = wing->GetSettings();
        TControl control;
        control.part = part;
        control.point = wing->GetLeadingEdgeCentre() - wing->GetFrame().row[0] * (0.25f * settings.chord);
        control.normal = wing->GetFrame().row[1];
        control.weight = settings.chord * settings.span *
                         std::min(std::max(settings.controlSurfaceChord, 0.0f) / kFullEffectChordFraction, 1.0f);
        out.push_back(control);
    }
    return out;
}
} // namespace

bool CModelCheck::Run(const std::string& modelName)
{
    m_modelName = modelName;
    m_error.clear();
    m_figures = TFigures();
    m_surfaces.clear();
    m_warnings.clear();
    auto warn = [this](const char* code, const std::string& part, const std::string& text) {
        m_warnings.push_back({code, part, text});
    };

    CFlightSession session;
    CStartPose pose = session.GetStartPose();
    pose.position = CVector3(0.0f, 100.0f, 0.0f); // far from any ground contact
    session.SetStartPose(pose);
    if (!session.LoadModel(modelName))
    {
        m_error = session.GetLoadMessage().empty() ? "the model does not load" : session.GetLoadMessage();
        return false;
    }
    CModel& model = *session.GetModel();
    model.UpdateModel(0.0f); // links and weighs; a zero-length frame moves nothing
    TFigures& f = m_figures;
    f.massKg = model.GetBody().GetMass();
    f.centreOfMass = model.GetBody().GetCentreOfMass();
    const float weight = f.massKg * kGravity;

    // --- Engines
    const std::vector<CPart*> engines = model.GetPartsOfClass(PART_ENGINE_PROP);
    f.powered = !engines.empty();
    f.staticThrustN = f.powered ? 0.0f : NAN;
    for (size_t i = 0; i < engines.size(); ++i)
    {
        const TStaticThrust thrust = CStaticThrust::Measure(modelName, static_cast<int>(i));
        if (thrust.evaluated)
            f.staticThrustN += thrust.thrust;
        else
            warn("thrust_unknown", engines[i]->GetName(),
                 PartLabel(*engines[i]) + ": static thrust not measured: " + thrust.reason);
    }
    f.thrustToWeight = f.powered && weight > 0.0f ? f.staticThrustN / weight : NAN;
    if (f.powered && f.thrustToWeight < kMinThrustToWeight)
        warn("thrust_low", engines.front()->GetName(),
             PartLabel(*engines.front()) +
                 StringPrintf(": thrust-to-weight %.2f is below %.1f: the model will hardly climb",
                              static_cast<double>(f.thrustToWeight), static_cast<double>(kMinThrustToWeight)));

    // --- Lifting surfaces
    struct TPartInfo
    {
        const CPart* part;
        const CAirfoil* airfoil;
        float aspectRatio;
        float efficiency;
        float projected = 0.0f; // m^2, area * ny
    };
    std::vector<TPartInfo> lifting;
    for (CPart* part : model.GetPartsOfClass(PART_WING3))
    {
        auto* wing = static_cast<CPartWing3*>(part);
        const CAirfoil* airfoil = wing->GetAirfoil();
        TPartInfo info{part, airfoil, wing->GetAspectRatio(), wing->GetSettings().efficiency};
        const float slope = airfoil ? FiniteLiftSlope(SectionLiftSlope(*airfoil), info.aspectRatio, info.efficiency) : 0.0f;
        for (int s = 0; s < wing->GetSegmentCount(); ++s)
        {
            const CPartWing3::TSegment& segment = wing->GetSegment(s);
            TSurface surface;
            surface.part = part->GetName();
            surface.segment = s;
            surface.area = segment.area;
            surface.chord = segment.chord;
            surface.normalY = segment.normal.y;
            surface.liftSlope = slope;
            surface.quarterChord = segment.point + segment.chordDirection * (0.25f * segment.chord);
            info.projected += segment.area * std::fabs(segment.normal.y);
            m_surfaces.push_back(surface);
        }
        lifting.push_back(info);
    }
    for (CPart* part : model.GetPartsOfClass(PART_WING2))
    {
        auto* wing = static_cast<CPartWing2*>(part);
        const auto& settings = wing->GetSettings();
        const CAirfoil* airfoil = wing->GetAirfoil();
        const float aspectRatio = settings.chord > 0.0f ? settings.span / settings.chord : 0.0f;
        TPartInfo info{part, airfoil, aspectRatio, CPartWing2::kSpanEfficiency};
        TSurface surface;
        surface.part = part->GetName();
        surface.area = settings.chord * settings.span;
        surface.chord = settings.chord;
        surface.normalY = wing->GetFrame().row[1].y;
        surface.liftSlope = airfoil ? FiniteLiftSlope(SectionLiftSlope(*airfoil), aspectRatio, info.efficiency) : 0.0f;
        surface.quarterChord = wing->GetLeadingEdgeCentre() - wing->GetFrame().row[0] * (0.25f * settings.chord);
        info.projected = surface.area * std::fabs(surface.normalY);
        m_surfaces.push_back(surface);
        lifting.push_back(info);
    }
    for (const TPartInfo& info : lifting)
        if (info.airfoil == nullptr)
            warn("no_airfoil", info.part->GetName(),
                 PartLabel(*info.part) + ": its airfoil is not found: the wing produces no lift");

    const TPartInfo* main = nullptr;
    for (const TPartInfo& info : lifting)
        if (info.airfoil != nullptr && (main == nullptr || info.projected > main->projected))
            main = &info;
    if (main == nullptr || main->projected <= 0.0f)
    {
        warn("no_wing", "", "no horizontal lifting surface with an airfoil: the model cannot fly");
        f.neutralPointZ = f.staticMarginPercent = f.stallSpeedMps = f.clMax = NAN;
        f.meanChordM = f.wingAreaM2 = f.wingLoadingNPerM2 = f.aspectRatio = NAN;
    }
    else
    {
        f.mainWing = main->part->GetName();
        f.aspectRatio = main->aspectRatio;
        float area = 0.0f, areaChord = 0.0f, areaZ = 0.0f, slopeSum = 0.0f;
        for (const TSurface& s : m_surfaces)
            if (s.part == f.mainWing)
            {
                const float projected = s.area * std::fabs(s.normalY);
                area += projected;
                areaChord += projected * s.chord;
                areaZ += projected * s.quarterChord.z;
                slopeSum += projected * s.liftSlope;
            }
        f.meanChordM = areaChord / area;
        const float wingZ = areaZ / area;
        const float wingSlope = slopeSum / area;
        f.downwashGradient =
            std::clamp(2.0f * wingSlope / (kPi * std::max(main->aspectRatio, 0.1f)), 0.0f, 0.9f);

        float lift = 0.0f, moment = 0.0f;
        f.wingAreaM2 = 0.0f;
        for (TSurface& s : m_surfaces)
        {
            s.tail = s.part != f.mainWing && s.quarterChord.z > wingZ + kTailDistanceChords * f.meanChordM;
            s.downwashFactor = s.tail ? 1.0f - f.downwashGradient : 1.0f;
            const float k = s.liftSlope * s.area * s.normalY * s.normalY * s.downwashFactor;
            lift += k;
            moment += k * s.quarterChord.z;
            if (!s.tail && s.liftSlope > 0.0f)
                f.wingAreaM2 += s.area * std::fabs(s.normalY);
        }
        f.neutralPointZ = lift > 0.0f ? moment / lift : NAN;
        f.staticMarginPercent = (f.neutralPointZ - f.centreOfMass.z) / f.meanChordM * 100.0f;
        f.wingLoadingNPerM2 = weight / f.wingAreaM2;
        float stallAlpha = 0.0f;
        f.clMax = MaxLift(*main->airfoil, stallAlpha);
        f.stallSpeedMps = f.clMax > 0.0f ? std::sqrt(2.0f * weight / (kAirDensity * f.wingAreaM2 * f.clMax)) : NAN;

        const std::string& wingPart = f.mainWing;
        if (!std::isfinite(f.staticMarginPercent))
            warn("unstable", wingPart, "no neutral point: the lifting surfaces give no lift slope");
        else if (f.staticMarginPercent < 0.0f)
            warn("unstable", wingPart,
                 StringPrintf("centre of mass %.0f mm behind the neutral point (static margin %.1f %% of the mean "
                              "chord of '%s'): unstable in pitch; move weight forward",
                              static_cast<double>(-(f.neutralPointZ - f.centreOfMass.z) * 1000.0f),
                              static_cast<double>(f.staticMarginPercent), wingPart.c_str()));
        else if (f.staticMarginPercent < kMinMarginPercent)
            warn("margin_low", wingPart,
                 StringPrintf("static margin %.1f %% of the mean chord of '%s' is below %.0f %%: touchy in pitch",
                              static_cast<double>(f.staticMarginPercent), wingPart.c_str(),
                              static_cast<double>(kMinMarginPercent)));
        else if (f.staticMarginPercent > kMaxMarginPercent)
            warn("margin_high", wingPart,
                 StringPrintf("static margin %.1f %% of the mean chord of '%s' is above %.0f %%: nose-heavy, the "
                              "elevator may not flare it",
                              static_cast<double>(f.staticMarginPercent), wingPart.c_str(),
                              static_cast<double>(kMaxMarginPercent)));

        // Glide polar of an unpowered model.
        f.glideRatio = f.glideSpeedMps = f.glideSinkMps = NAN;
        if (!f.powered && f.clMax > 0.0f)
        {
            float otherDrag = 0.0f; // m^2: drag area of everything but the wing group
            for (const TSurface& s : m_surfaces)
            {
                const TPartInfo* info = nullptr;
                for (const TPartInfo& i : lifting)
                    if (i.part->GetName() == s.part)
                        info = &i;
                if ((s.tail || std::fabs(s.normalY) < 0.5f) && info != nullptr && info->airfoil != nullptr)
                {
                    float cl = 0.0f, cd = 0.0f, cp = 0.0f;
                    info->airfoil->GetCoefficients(0.0f, cl, cd, cp);
                    otherDrag += s.area * cd;
                }
            }
            for (CPart* part : model.GetPartsOfClass(PART_DRAG))
            {
                const auto& drag = static_cast<CPropertySet_Drag&>(part->GetPropertySet());
                otherDrag += drag.frontalArea * drag.frontalCoefficient;
            }
            for (int i = 1; i <= 95; ++i)
            {
                const float cl = f.clMax * static_cast<float>(i) * 0.01f;
                // The angle at which the wing's airfoil gives cl, searched up to the stall.
                float bestCd = NAN, bestError = 1.0e9f;
                for (float alpha = -10.0f * kRadPerDeg; alpha <= stallAlpha; alpha += 0.1f * kRadPerDeg)
                {
                    float c = 0.0f, cd = 0.0f, cp = 0.0f;
                    main->airfoil->GetCoefficients(alpha, c, cd, cp);
                    if (std::fabs(c - cl) < bestError)
                        bestError = std::fabs(c - cl), bestCd = cd;
                }
                const float induced = cl * cl / (kPi * main->efficiency * std::max(main->aspectRatio, 0.1f));
                const float dragArea = f.wingAreaM2 * (bestCd + induced) + otherDrag;
                const float ratio = cl * f.wingAreaM2 / dragArea;
                if (std::isfinite(ratio) && !(ratio <= f.glideRatio))
                {
                    f.glideRatio = ratio;
                    f.glideSpeedMps = std::sqrt(2.0f * weight / (kAirDensity * f.wingAreaM2 * cl));
                    f.glideSinkMps = f.glideSpeedMps / ratio;
                }
            }
        }
    }

    // --- Flown figures
    f.neutralPointFlownZ = f.staticMarginFlownPercent = f.trimAlphaFullUpDeg = f.slowestSpeedMps = NAN;
    float travel = 0.5f;
    for (CPart* servo : model.GetPartsOfClass(PART_SERVO))
        travel = std::max(travel, 2.0f * static_cast<CPropertySet_Servo&>(servo->GetPropertySet()).speed);
    travel = std::min(travel, 5.0f);
    session.SetChannel(2, -1.0f); // throttle closed: the engine stays off
    RunHeld(session, travel + 0.2f);
    {
        float lift1 = 0.0f, moment1 = 0.0f, lift5 = 0.0f, moment5 = 0.0f;
        Probe(session, 1.0f, kProbeSpeed, lift1, moment1);
        Probe(session, 5.0f, kProbeSpeed, lift5, moment5);
        if (lift5 - lift1 > 0.0f)
        {
            f.neutralPointFlownZ = f.centreOfMass.z - (moment5 - moment1) / (lift5 - lift1);
            f.staticMarginFlownPercent = (f.neutralPointFlownZ - f.centreOfMass.z) / f.meanChordM * 100.0f;
        }
        if (f.staticMarginFlownPercent < 0.0f)
            warn("unstable_flown", f.mainWing,
                 StringPrintf("as Kestro flies it, the centre of mass lies %.0f mm behind the neutral point (static "
                              "margin %.1f %%): it will diverge in pitch hands off; move weight forward",
                              static_cast<double>(-(f.neutralPointFlownZ - f.centreOfMass.z) * 1000.0f),
                              static_cast<double>(f.staticMarginFlownPercent)));
        session.SetChannel(1, 1.0f);
        RunHeld(session, travel + 0.2f);
        float bestLift = 0.0f, bestAlpha = NAN, trimLift = NAN, previousMoment = NAN;
        for (float alpha = -5.0f; alpha <= 30.0f; alpha += 0.5f)
        {
            float lift = 0.0f, moment = 0.0f;
            Probe(session, alpha, kProbeSpeed, lift, moment);
            if (lift > bestLift)
                bestLift = lift, bestAlpha = alpha;
            if (previousMoment > 0.0f && moment <= 0.0f)
            {
                f.trimAlphaFullUpDeg = alpha;
                trimLift = lift;
                break;
            }
            previousMoment = moment;
        }
        const float lift = std::isfinite(trimLift) && !(bestAlpha < f.trimAlphaFullUpDeg) ? trimLift : bestLift;
        if (lift > 0.0f)
            f.slowestSpeedMps = kProbeSpeed * std::sqrt(weight / lift);
        session.SetChannel(1, 0.0f);
        RunHeld(session, travel + 0.2f);
    }

    // --- References: servos used, channels read, DOFs present
    std::set<std::string> referenced;
    std::set<std::string> dofs;
    const std::string objectFile = static_cast<CPropertySet_ModelInfo&>(model.GetModelInfo()->GetPropertySet()).modelFile;
    const bool haveObject = ReadDofNames(objectFile, dofs);
    for (int i = 0; i < model.GetPartCount(); ++i)
    {
        const CPart& part = *model.GetPart(i);
        for (const auto& [key, value] : NameReferences(part))
        {
            referenced.insert(value);
            if (key.find("DOF") != std::string::npos && dofs.count(value) == 0)
                warn("dof_missing", part.GetName(),
                     PartLabel(part) + ": " + key + " '" + value + "' is not in the 3D object" +
                         (haveObject ? " '" + objectFile + "'" : std::string(" (no 3D object)")) +
                         ": the surface does not move on screen");
        }
    }
    if (CFunctionList* functions = model.GetFunctions())
        for (int i = 0; i < functions->Count(); ++i)
            for (const TFunctionInstruction& instruction : functions->At(i)->GetInstructions())
                if (instruction.variable != nullptr)
                    referenced.insert(instruction.variable->GetName());
    for (CPart* servo : model.GetPartsOfClass(PART_SERVO))
    {
        bool used = false;
        for (int i = 0; i < model.GetPartCount() && !used; ++i)
            if (model.GetPart(i) != servo)
                for (const auto& ref : NameReferences(*model.GetPart(i)))
                    used = used || ref.second == servo->GetName();
        if (!used)
            warn("servo_unused", servo->GetName(), PartLabel(*servo) + ": no surface, engine or wheel uses this servo");
    }
    const bool readsRoll = referenced.count("V_CH1") > 0;
    const bool readsYaw = referenced.count("V_CH4") > 0;
    if (referenced.count("V_CH2") == 0)
        warn("channel_unread", "V_CH2", "channel V_CH2 (elevator) is read by no part or function: no pitch control");
    if (f.powered && referenced.count("V_CH3") == 0)
        warn("channel_unread", "V_CH3", "channel V_CH3 (throttle) is read by no part or function: the engine "
                                        "cannot be controlled");
    if (!readsRoll && !readsYaw)
        warn("channel_unread", "V_CH1", "channels V_CH1 (aileron) and V_CH4 (rudder) are read by no part or function: "
                                        "the model cannot be turned");

    // --- Controls, flown on a still copy
    const std::vector<TControl> controls = Controls(model);
    for (const TChannel& channel : kPrimaryChannels)
    {
        session.SetChannel(channel.index, 0.5f);
        RunHeld(session, travel + 0.2f);
        const std::vector<float> plus = Deflections(model);
        session.SetChannel(channel.index, -0.5f);
        RunHeld(session, 2.0f * travel + 0.2f);
        const std::vector<float> minus = Deflections(model);
        session.SetChannel(channel.index, 0.0f);
        RunHeld(session, travel + 0.2f);
        if (plus.size() != controls.size() || minus.size() != controls.size())
            continue;

        // Per part: the moment about the centre of mass as (nose up, roll right, yaw right).
        std::vector<std::pair<const CPart*, CVector3>> byPart;
        float total = 0.0f;
        for (size_t i = 0; i < controls.size(); ++i)
        {
            const TControl& c = controls[i];
            const CVector3 force = c.normal * ((plus[i] - minus[i]) * c.weight);
            const CVector3 moment = (c.point - f.centreOfMass).Cross(force);
            // Body axes: +X right, +Y up, forward -Z. Nose up turns about +X, a right roll about
            // -Z, a right yaw about -Y.
            const CVector3 response(moment.x, -moment.z, -moment.y);
            auto it = std::find_if(byPart.begin(), byPart.end(), [&](const auto& p) { return p.first == c.part; });
            if (it == byPart.end())
                byPart.emplace_back(c.part, response);
            else
                it->second += response;
            total += response.Length();
        }
        // A part is judged on the axis it mostly works on: the elevator channel on pitch; the
        // turning channels (aileron, rudder) on roll or yaw, so a rudder that a mixer drives
        // from the aileron stick turns the model the right way too.
        for (const auto& [part, response] : byPart)
        {
            const float pitch = response.x, roll = response.y, yaw = response.z;
            const float mostly = std::fabs(pitch) >= std::fabs(roll) && std::fabs(pitch) >= std::fabs(yaw) ? pitch
                                 : std::fabs(roll) >= std::fabs(yaw)                                     ? roll
                                                                                                         : yaw;
            const bool pitchAxis = mostly == pitch;
            if ((channel.axis == 0) != pitchAxis || !(mostly < -kReversedShare * total))
                continue;
            warn("control_reversed", part->GetName(),
                 PartLabel(*part) + ": its control surface works against " + ChannelName(channel.index) + " (" +
                     channel.role + "); reverse its servo");
        }
    }
    return true;
}

std::string CModelCheck::FormatText() const
{
    const TFigures& f = m_figures;
    auto d = [](float v) { return static_cast<double>(v); };
    std::string text = "Preflight check of " + m_modelName + "\n";
    text += StringPrintf("  mass                %.3f kg\n", d(f.massKg));
    text += StringPrintf("  centre of mass      (%.3f, %.3f, %.3f) m (body frame, z aft)\n", d(f.centreOfMass.x),
                         d(f.centreOfMass.y), d(f.centreOfMass.z));
    if (f.powered)
        text += StringPrintf("  static thrust       %.2f N, thrust-to-weight %.2f\n", d(f.staticThrustN),
                             d(f.thrustToWeight));
    else
        text += "  no engine\n";
    text += "  main wing           '" + f.mainWing + "'" +
            StringPrintf(", aspect ratio %.2f, mean chord %.3f m\n", d(f.aspectRatio), d(f.meanChordM));
    text += StringPrintf("  wing area           %.4f m^2, wing loading %.1f N/m^2\n", d(f.wingAreaM2),
                         d(f.wingLoadingNPerM2));
    for (const TSurface& s : m_surfaces)
        if (std::fabs(s.normalY) > 0.1f)
            text += StringPrintf("    %-14s seg %2d  area %.4f m^2  lift slope %.2f /rad  quarter chord z %.3f m%s\n",
                                 s.part.c_str(), s.segment, d(s.area * std::fabs(s.normalY)), d(s.liftSlope),
                                 d(s.quarterChord.z),
                                 s.tail ? StringPrintf("  tail, downwash factor %.2f", d(s.downwashFactor)).c_str() : "");
    text += StringPrintf("  neutral point       z %.3f m, centre of mass z %.3f m\n", d(f.neutralPointZ),
                         d(f.centreOfMass.z));
    text += StringPrintf("  static margin       %.1f %% of the mean chord\n", d(f.staticMarginPercent));
    text += StringPrintf("  stall speed         %.1f m/s (Cl max %.2f)\n", d(f.stallSpeedMps), d(f.clMax));
    text += StringPrintf("  as Kestro flies it  neutral point z %.3f m, static margin %.1f %%;\n"
                         "                      full up elevator trims at %.1f deg, slowest steady speed %.1f m/s\n",
                         d(f.neutralPointFlownZ), d(f.staticMarginFlownPercent), d(f.trimAlphaFullUpDeg),
                         d(f.slowestSpeedMps));
    if (!f.powered && std::isfinite(f.glideRatio))
        text += StringPrintf("  best glide          ratio %.1f at %.1f m/s, sink %.2f m/s\n", d(f.glideRatio),
                             d(f.glideSpeedMps), d(f.glideSinkMps));
    if (m_warnings.empty())
        text += "  no warnings\n";
    for (const TWarning& w : m_warnings)
        text += "  WARNING " + w.text + "\n";
    return text;
}

std::string CModelCheck::FormatSummary(int width) const
{
    const TFigures& f = m_figures;
    auto d = [](float v) { return static_cast<double>(v); };
    std::string text = "Preflight check\n";
    text += StringPrintf("mass %.3f kg, CG z %.3f m\n", d(f.massKg), d(f.centreOfMass.z));
    if (f.powered)
        text += StringPrintf("static thrust %.1f N, T/W %.2f\n", d(f.staticThrustN), d(f.thrustToWeight));
    text += StringPrintf("wing '%s' %.3f m^2, %.0f N/m^2\n", f.mainWing.c_str(), d(f.wingAreaM2),
                         d(f.wingLoadingNPerM2));
    text += StringPrintf("mean chord %.3f m, aspect ratio %.1f\n", d(f.meanChordM), d(f.aspectRatio));
    text += StringPrintf("neutral point z %.3f m\n", d(f.neutralPointZ));
    text += StringPrintf("static margin %.1f %% (flown %.1f %%)\n", d(f.staticMarginPercent),
                         d(f.staticMarginFlownPercent));
    text += StringPrintf("stall %.1f m/s, slowest %.1f m/s\n", d(f.stallSpeedMps), d(f.slowestSpeedMps));
    if (!f.powered && std::isfinite(f.glideRatio))
        text += StringPrintf("glide %.1f at %.1f m/s\n", d(f.glideRatio), d(f.glideSpeedMps));
    if (m_warnings.empty())
        text += "no warnings\n";
    for (const TWarning& w : m_warnings)
    {
        // Word-wrapped, continuation lines indented.
        std::string line = "! ";
        size_t at = 0;
        while (at < w.text.size())
        {
            size_t end = w.text.find(' ', at);
            if (end == std::string::npos)
                end = w.text.size();
            const std::string word = w.text.substr(at, end - at);
            if (line.size() + word.size() + 1 > static_cast<size_t>(width) && line.size() > 2)
            {
                text += line + "\n";
                line = "  ";
            }
            line += word + " ";
            at = end + 1;
        }
        text += line + "\n";
    }
    return text;
}

std::string CModelCheck::FormatJson() const
{
    const TFigures& f = m_figures;
    std::string json = "{\"model\":" + JsonString(m_modelName);
    json += ",\"mass_kg\":" + JsonNumber(f.massKg, 6);
    json += ",\"centre_of_mass\":[" + JsonNumber(f.centreOfMass.x, 6) + "," + JsonNumber(f.centreOfMass.y, 6) + "," +
            JsonNumber(f.centreOfMass.z, 6) + "]";
    json += std::string(",\"powered\":") + (f.powered ? "true" : "false");
    json += ",\"static_thrust_n\":" + JsonNumber(f.staticThrustN, 6);
    json += ",\"thrust_to_weight\":" + JsonNumber(f.thrustToWeight, 6);
    json += ",\"main_wing\":" + JsonString(f.mainWing);
    json += ",\"wing_area_m2\":" + JsonNumber(f.wingAreaM2, 6);
    json += ",\"wing_loading_n_per_m2\":" + JsonNumber(f.wingLoadingNPerM2, 6);
    json += ",\"mean_chord_m\":" + JsonNumber(f.meanChordM, 6);
    json += ",\"aspect_ratio\":" + JsonNumber(f.aspectRatio, 6);
    json += ",\"downwash_gradient\":" + JsonNumber(f.downwashGradient, 6);
    json += ",\"neutral_point_z_m\":" + JsonNumber(f.neutralPointZ, 6);
    json += ",\"static_margin_percent\":" + JsonNumber(f.staticMarginPercent, 6);
    json += ",\"cl_max\":" + JsonNumber(f.clMax, 6);
    json += ",\"stall_speed_mps\":" + JsonNumber(f.stallSpeedMps, 6);
    json += ",\"neutral_point_flown_z_m\":" + JsonNumber(f.neutralPointFlownZ, 6);
    json += ",\"static_margin_flown_percent\":" + JsonNumber(f.staticMarginFlownPercent, 6);
    json += ",\"trim_alpha_full_up_deg\":" + JsonNumber(f.trimAlphaFullUpDeg, 6);
    json += ",\"slowest_speed_mps\":" + JsonNumber(f.slowestSpeedMps, 6);
    json += ",\"glide_ratio\":" + JsonNumber(f.glideRatio, 6);
    json += ",\"glide_speed_mps\":" + JsonNumber(f.glideSpeedMps, 6);
    json += ",\"glide_sink_mps\":" + JsonNumber(f.glideSinkMps, 6);
    json += ",\"surfaces\":[";
    for (size_t i = 0; i < m_surfaces.size(); ++i)
    {
        const TSurface& s = m_surfaces[i];
        json += (i ? ",{" : "{") + std::string("\"part\":") + JsonString(s.part) + ",\"segment\":" +
                std::to_string(s.segment) + ",\"area_m2\":" + JsonNumber(s.area, 6) + ",\"normal_y\":" + JsonNumber(s.normalY, 6) +
                ",\"lift_slope_per_rad\":" + JsonNumber(s.liftSlope, 6) + ",\"quarter_chord_z_m\":" +
                JsonNumber(s.quarterChord.z, 6) + ",\"downwash_factor\":" + JsonNumber(s.downwashFactor, 6) +
                ",\"tail\":" + (s.tail ? "true" : "false") + "}";
    }
    json += "],\"warnings\":[";
    for (size_t i = 0; i < m_warnings.size(); ++i)
        json += (i ? ",{" : "{") + std::string("\"code\":") + JsonString(m_warnings[i].code) +
                ",\"part\":" + JsonString(m_warnings[i].part) + ",\"text\":" + JsonString(m_warnings[i].text) + "}";
    json += "],\"warning_count\":" + std::to_string(m_warnings.size());
    json += std::string(",\"pass\":") + (m_warnings.empty() ? "true" : "false") + "}";
    return json;
}
