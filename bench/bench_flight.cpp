// Real-time factor of a powered flight: simulated seconds per wall-clock second of
// CFlightSession::Step, the whole flight frame of the flight screen without the graphics.
//
// The model is the .40-size trainer below (--data-trainer: Data/Model/Trainer.mod, whose
// channel mapping the simple pilot may not suit):
// engine and propeller, a two-segment WING3 wing with ailerons, WING3 tailplane and fin, three
// wheels, four collision points, gravity and drag. It starts 50 m up at cruise speed, the engine
// is started through its throttle-back sequence, and it flies 600 s at 1/60 s frames over flat
// ground (--site: over Data/3D/FlyingSite.osg; --site SlopeSite over the slope), a simple pilot
// holding the wings level. The target is 2000x real time on one core in a Release build.
// --air adds a 7 m/s wind and the default thermals, so every wind query also pays for the
// thermals and (over a site) the slope lift: a frame must stay under 0.1 ms.
//
// --shipped [MODEL.mod ...] flies the shipped models instead (default Trainer.mod, Glider.mod
// and Delta.mod from Data/Model), each from the ground at the site's start in still air: throttle
// closed for half a second (so that the engine starts), opened to 0.3 over the next second and
// left there, the other sticks centred; the run `kestro-fdm --model Trainer.mod --seconds 600
// --ramp V_CH3=-1:0.3:0.5:1.5` makes. The trainer takes off and climbs, so the propeller, wings,
// wheels and terrain all work. The target for it is 3000x real time on one core.
//
// Run from the repository root (or with KESTRO_SOURCE_DIR set) so that Data/ is found:
//   bench_flight [--seconds S] [--site [NAME]] [--air] [--data-trainer]
//   bench_flight --shipped [--seconds S] [--site [NAME]] [MODEL.mod ...]

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/CFile.h"
#include "env/CPropertySet_Wind.h"
#include "model/CModel.h"
#include "model/CPartEngineProp.h"
#include "model/PartClassTable.h"
#include "sim/CFlightSession.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace
{
const char* const kTrainer = R"(.GRAVITY G
{
}
.BATTERY Fuselage
{
 .MASS 1.2
 .POSITION 0 0 0
}
.BATTERY Receiver
{
 .MASS 0.3
 .POSITION 0 0 -0.25
}
.BATTERY TailBoom
{
 .MASS 0.25
 .POSITION 0 0 0.5
}
.SERVO Aileron
{
 .VARIABLE V_CH1
 .SPEED 0.3
 .MASS 0.04
}
.SERVO Elevator
{
 .VARIABLE V_CH2
 .SPEED 0.3
 .MASS 0.04
}
.SERVO Throttle
{
 .VARIABLE V_CH3
 .SPEED 0.3
 .MASS 0.04
}
.SERVO Rudder
{
 .VARIABLE V_CH4
 .SPEED 0.3
 .MASS 0.04
}
.ENGINE_PROP Engine
{
 .POSITION 0 0 -0.45
 .MAX_TORQUE 0.4
 .MASS 0.45
 .TOKEN_PROPELLER Prop
 .TOKEN_SERVO Throttle
 .TOKEN_COLLISION_POINT Nose
}
.PROPELLER Prop
{
 .DIAMETER 0.254
 .PITCH 0.1524
 .AIRFOIL NACA0012.afl
}
.WING3 Wing
{
 .AIRFOIL ClarkY.afl
 .SYMMETRICAL 1
 .HALF_SPAN 0.78
 .ROOT_CHORD 0.28
 .TIP_CHORD 0.24
 .INCIDENCE 1.5
 .DIHEDRAL 3
 .POSITION 0 0.06 -0.12
 .NUMBER_OF_SEGMENTS 2
 .DENSITY_KG_PER_SQ_METER 1.2
 .SEG1_SERVO Aileron
 .SEG1_SERVO_SYMMETRICAL Aileron
 .SEG1_SERVO_REV 0
 .SEG1_SERVO_REV_SYMMETRICAL 1
 .SEG1_CONTROL_CHORD_FRACTION 0.25
 .SEG1_MAX_DEFLECTION_ANGLE 15
}
.WING3 Tailplane
{
 .AIRFOIL NACA0012.afl
 .SYMMETRICAL 1
 .HALF_SPAN 0.3
 .ROOT_CHORD 0.16
 .TIP_CHORD 0.13
 .POSITION 0 0.02 0.68
 .NUMBER_OF_SEGMENTS 1
 .DENSITY_KG_PER_SQ_METER 0.8
 .SEG0_SERVO Elevator
 .SEG0_SERVO_SYMMETRICAL Elevator
 .SEG0_CONTROL_CHORD_FRACTION 0.35
 .SEG0_MAX_DEFLECTION_ANGLE 15
}
.WING3 Fin
{
 .AIRFOIL NACA0012.afl
 .SYMMETRICAL 0
 .HALF_SPAN 0.2
 .ROOT_CHORD 0.18
 .TIP_CHORD 0.12
 .ROLL_ANGLE 90
 .POSITION 0 0.04 0.68
 .NUMBER_OF_SEGMENTS 1
 .DENSITY_KG_PER_SQ_METER 0.8
 .SEG0_SERVO Rudder
 .SEG0_CONTROL_CHORD_FRACTION 0.35
 .SEG0_MAX_DEFLECTION_ANGLE 20
}
.DRAG Fuselage
{
 .FRONTAL_DRAG_AREA 0.02
 .FRONTAL_DRAG_COEFFICIENT 0.8
}
.WHEEL NoseWheel
{
 .POSITION 0 -0.18 -0.38
 .REST_LENGTH 0.05
}
.WHEEL LeftWheel
{
 .POSITION -0.2 -0.2 -0.05
 .REST_LENGTH 0.05
}
.WHEEL RightWheel
{
 .POSITION 0.2 -0.2 -0.05
 .REST_LENGTH 0.05
}
.COLLISION_POINT Nose
{
 .POSITION 0 0 -0.5
}
.COLLISION_POINT Tail
{
 .POSITION 0 0.05 0.8
}
.COLLISION_POINT LeftTip
{
 .POSITION -0.78 0.1 -0.05
}
.COLLISION_POINT RightTip
{
 .POSITION 0.78 0.1 -0.05
}
)";

// The pilot's gains on the roll and pitch angles (rad) for the aileron and elevator channels.
constexpr float kAileronGain = 1.5f;
constexpr float kElevatorGain = 2.0f;

void Link(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    fs::create_symlink(fs::absolute(from), to, error);
}

constexpr float kFrame = 1.0f / 60.0f; // s
constexpr float kCruiseThrottle = 0.3f;

// The throttle of kestro-fdm's --ramp V_CH3=-1:0.3:0.5:1.5 at time t (s).
float Throttle(float t)
{
    const float t0 = 0.5f, t1 = 1.5f, from = -1.0f;
    if (t <= t0)
        return from;
    if (t >= t1)
        return kCruiseThrottle;
    return from + (kCruiseThrottle - from) * (t - t0) / (t1 - t0);
}

bool FlyShipped(const std::string& name, float seconds, bool flat, const std::string& siteName)
{
    CFlightSession session;
    if (!flat && !session.LoadSite(siteName))
    {
        std::fprintf(stderr, "bench_flight: %s\n", session.GetSiteError().c_str());
        return false;
    }
    session.UseFlatGround(flat);
    session.SetStartPose(session.GetStartPose(), true);
    if (!session.LoadModel(name))
    {
        std::fprintf(stderr, "bench_flight: %s\n", session.GetLoadMessage().c_str());
        return false;
    }
    CModel& model = *session.GetModel();
    for (int c = 0; c < CFlightSession::kChannelCount; ++c)
        session.SetChannel(c, 0.0f);
    session.ResetToStart();

    const int frames = static_cast<int>(seconds / kFrame + 0.5f);
    long subSteps = 0;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < frames; ++i)
    {
        session.SetChannel(2, Throttle(static_cast<float>(i) * kFrame));
        session.Step(kFrame);
        subSteps += model.GetBody().GetLastSubStepCount();
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    const double simulated = frames * static_cast<double>(kFrame);
    const CVector3& p = model.GetBody().GetPosition();
    std::printf("%s (%d parts) over %s: %.0f s in %d frames, %ld sub-steps\n", name.c_str(), model.GetPartCount(),
                flat ? "flat ground" : "the flying site", simulated, frames, subSteps);
    std::printf("  real-time factor %.0f by CPU time (%.3f s), %.0f by the wall clock (%.3f s)\n",
                cpu > 0.0 ? simulated / cpu : 0.0, cpu, simulated / wall, wall);
    std::printf("  %.2f us of CPU per frame, %.2f us per sub-step; end (%.1f, %.1f, %.1f), %.1f m/s\n",
                1e6 * cpu / frames, 1e6 * cpu / static_cast<double>(subSteps), static_cast<double>(p.x),
                static_cast<double>(p.y), static_cast<double>(p.z), static_cast<double>(model.GetAirspeed()));
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    float seconds = 600.0f;
    bool site = false;
    std::string siteName;
    bool air = false;
    bool useDataTrainer = false;
    bool shipped = false;
    std::vector<std::string> shippedModels;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
            seconds = static_cast<float>(std::atof(argv[++i]));
        else if (std::strcmp(argv[i], "--site") == 0)
        {
            site = true;
            if (i + 1 < argc && argv[i + 1][0] != '-')
                siteName = argv[++i];
        }
        else if (std::strcmp(argv[i], "--air") == 0)
            air = true;
        else if (std::strcmp(argv[i], "--data-trainer") == 0)
            useDataTrainer = true;
        else if (std::strcmp(argv[i], "--shipped") == 0)
            shipped = true;
        else if (shipped && argv[i][0] != '-')
            shippedModels.emplace_back(argv[i]);
        else
        {
            std::fprintf(stderr, "usage: bench_flight [--seconds S] [--site [NAME]] [--air] [--data-trainer]\n"
                                 "       bench_flight --shipped [--seconds S] [--site [NAME]] [MODEL.mod ...]\n");
            return 2;
        }
    }

    const fs::path data = SourceDir() / "Data";
    if (!fs::exists(data / "Airfoil" / "ClarkY.afl") || !fs::exists(data / "Airfoil" / "NACA0012.afl"))
    {
        std::fprintf(stderr, "bench_flight: %s has no ClarkY.afl and NACA0012.afl; run from the repository root\n",
                     (data / "Airfoil").string().c_str());
        return 1;
    }
    // A private base directory: the data by links, Output/ of its own.
    TempDir dir;
    if (shipped)
    {
        if (shippedModels.empty())
            shippedModels = {"Trainer.mod", "Glider.mod", "Delta.mod"};
        fs::create_directories(dir.Path() / "Data");
        fs::create_directories(dir.Path() / "Output");
        for (const char* folder : {"Airfoil", "3D", "Model"})
            Link(data / folder, dir.Path() / "Data" / folder);
        ScopedWorkingDir cwd(dir.Path());
        InitBaseDirectory();
        std::printf("target: the trainer at 3000x real time or more by CPU time (Release build)\n");
        bool allFlown = true;
        for (const std::string& name : shippedModels)
            allFlown = FlyShipped(name, seconds, !site, siteName) && allFlown;
        return allFlown ? 0 : 1;
    }
    fs::create_directories(dir.Path() / "Data" / "Model");
    fs::create_directories(dir.Path() / "Output");
    Link(data / "Airfoil", dir.Path() / "Data" / "Airfoil");
    Link(data / "3D", dir.Path() / "Data" / "3D");
    const bool dataTrainer = useDataTrainer && fs::exists(data / "Model" / "Trainer.mod");
    if (useDataTrainer && !dataTrainer)
    {
        std::fprintf(stderr, "bench_flight: %s not found\n", (data / "Model" / "Trainer.mod").string().c_str());
        return 1;
    }
    if (dataTrainer)
        Link(data / "Model" / "Trainer.mod", dir.Path() / "Data" / "Model" / "Trainer.mod");
    else
        dir.Write("Data/Model/Trainer.mod", kTrainer);
    ScopedWorkingDir cwd(dir.Path());
    InitBaseDirectory();

    CFlightSession session;
    if (site && !session.LoadSite(siteName))
    {
        std::fprintf(stderr, "bench_flight: %s\n", session.GetSiteError().c_str());
        return 1;
    }
    if (air)
    {
        session.SetWind(7.0f, 180.0f, 0.0f);
        session.SetThermals(CPropertySet_Wind::kDefaultThermalStrength, CPropertySet_Wind::kDefaultThermalRadius,
                            CPropertySet_Wind::kDefaultThermalDensity);
    }
    CStartPose pose = session.GetStartPose();
    pose.position = CVector3(0.0f, 50.0f, 0.0f);
    session.SetStartPose(pose);
    if (!session.LoadModel("Trainer.mod"))
    {
        std::fprintf(stderr, "bench_flight: %s\n", session.GetLoadMessage().c_str());
        return 1;
    }
    CModel& model = *session.GetModel();
    model.GetBody().SetVelocity(CFlightSession::ForwardAxis(model) * 18.0f);

    const float frame = 1.0f / 60.0f;
    const int frames = static_cast<int>(seconds / frame + 0.5f);
    const int startFrames = 60; // throttle back for a second, so that the engine starts
    int subSteps = 0;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < frames; ++i)
    {
        // A simple pilot keeps it airborne: wings level, nose level, throttle by the height.
        const float roll = model.GetRoll();
        const float pitch = model.GetPitch();
        const float throttle = std::clamp(0.1f * (50.0f - model.GetBody().GetPosition().y), -0.6f, 0.6f);
        session.SetChannel(0, std::clamp(kAileronGain * roll, -1.0f, 1.0f));
        session.SetChannel(1, std::clamp(kElevatorGain * pitch, -1.0f, 1.0f));
        session.SetChannel(2, i < startFrames ? -1.0f : throttle);
        session.Step(frame);
        subSteps += model.GetBody().GetLastSubStepCount();
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // On a shared machine the wall clock counts other processes too; the process's CPU time
    // is what one free core would take.
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    const double simulated = frames * static_cast<double>(frame);
    const std::vector<CPart*> engines = model.GetPartsOfClass(PART_ENGINE_PROP);
    const float rpm = engines.empty() ? 0.0f : static_cast<CPartEngineProp*>(engines.front())->GetRevPerSecond() * 60.0f;
    const CVector3& p = model.GetBody().GetPosition();
    std::printf("model %s (%d parts), %s%s\n", dataTrainer ? "Data/Model/Trainer.mod" : "built-in trainer",
                model.GetPartCount(), site ? ("over " + (siteName.empty() ? std::string("the flying site") : siteName)).c_str() : "over flat ground",
                air ? ", 7 m/s wind and thermals" : "");
    std::printf("simulated %.1f s in %d frames (%d sub-steps) in %.3f s wall\n", simulated, frames, subSteps, wall);
    std::printf("simulated %.1f s in %.3f s of CPU time\n", simulated, cpu);
    std::printf("real-time factor %.0f by the wall clock, %.0f by CPU time (target 2000)\n", simulated / wall,
                cpu > 0.0 ? simulated / cpu : 0.0);
    std::printf("%.2f us of CPU per frame, %.2f us per sub-step\n", 1e6 * cpu / frames, 1e6 * cpu / subSteps);
    std::printf("end: position (%.1f, %.1f, %.1f), airspeed %.1f m/s, engine %.0f rpm, damage %.0f\n",
                static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z),
                static_cast<double>(model.GetAirspeed()), static_cast<double>(rpm),
                static_cast<double>(model.GetDamageTotal()));
    return 0;
}
