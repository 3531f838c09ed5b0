// kestro-fdm: flies a model file headless, exactly as the flight screen would (the same
// CFlightSession frame: wind at the model, model step; the same site, start pose and channel
// variables), with a fixed frame time. Prints a JSON summary as its last line.
//
// With --air X,Y,Z (repeatable) nothing is flown: it prints, one line per point, {"point":[x,y,z],"ground":h,"air":[u,v,w]}, the
// air velocity there (world, m/s) with the ground height under the point.
//
// Exit codes: 0 flown; 1 the model or the site failed to load, or an output file cannot be
// written; 2 bad arguments (with the usage text). --check: 0 the model passed, 3 it has
// warnings, 1 it does not load; the check's text, then its JSON line.
//
// A frame: the channels take their values for the frame's start time t, the session steps by
// the frame time, then the frame is measured. A CSV row is the state at the frame's end,
// t + frame, with the channel values that drove it. The summary: model, frames,
// frame_seconds, simulated_seconds, wall_seconds (the flight loop only), real_time_factor,
// final_position [x, y, z], min/max_height_above_terrain (body origin, over every frame's end),
// max_airspeed (against the mean wind), damage (every damage contact of the flight),
// final_speed, final_angular_speed, came_to_rest (both below 0.05 m/s and 0.05 rad/s at the
// end), flat. Non-finite numbers are written as null.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "sim/JsonText.h"
#include "sim/CFlightRecorder.h"
#include "sim/CRecordedModel.h"
#include "core/Diagnostics.h"
#include "env/CFlyWorld.h"
#include "env/CWind.h"
#include "fdm/CFdmOptions.h"
#include "fdm/CHeadingPilot.h"
#include "fdm/CFdmRunDir.h"
#include "fdm/CModelReport.h"
#include "model/CModel.h"
#include "model/CPartEngineProp.h"
#include "model/PartClassTable.h"
#include "sim/CFlightSession.h"
#include "sim/CModelCheck.h"

namespace
{
constexpr float kRadToDeg = 57.29577951308232f;
constexpr float kRestSpeed = 0.05f;        // m/s: below this at the end the model is at rest
constexpr float kRestAngularSpeed = 0.05f; // rad/s

int BadArguments(const std::string& reason)
{
    std::fprintf(stderr, "kestro-fdm: %s\n%s", reason.c_str(), CFdmOptions::Usage());
    return 2;
}

// What the summary line reports, gathered frame by frame.
struct TFlightStats
{
    float minHeight = INFINITY;  // m above the terrain under the body origin
    float maxHeight = -INFINITY;
    float maxAirspeed = 0.0f;    // m/s
};

// Set by SIGINT / SIGTERM / SIGHUP: the flight stops at the next frame, so that the private run
// folder is removed on the way out instead of being left in the temporary directory.
volatile std::sig_atomic_t g_stopSignal = 0;

extern "C" void OnStopSignal(int signal)
{
    g_stopSignal = signal;
}

// --check on a model that does not load: the reason, and the JSON line that says so.
int CheckNotLoaded(const std::string& model, const std::string& reason)
{
    std::fprintf(stderr, "kestro-fdm: %s: %s\n", model.c_str(), reason.c_str());
    std::fflush(stderr);
    std::printf("{\"model\":%s,\"loaded\":false,\"error\":%s}\n", JsonString(model).c_str(), JsonString(reason).c_str());
    return 1;
}

float EngineRpm(const CModel& model)
{
    const std::vector<CPart*> engines = model.GetPartsOfClass(PART_ENGINE_PROP);
    return engines.empty() ? 0.0f : static_cast<CPartEngineProp*>(engines.front())->GetRevPerSecond() * 60.0f;
}
} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
        {
            std::fputs(CFdmOptions::Usage(), stdout);
            return 0;
        }

    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, OnStopSignal);

    CFdmOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error))
        return BadArguments(error);

    CFdmRunDir runDir;
    if (!runDir.Create(options.dataDir, options.model, error))
        return options.check ? CheckNotLoaded(options.model, error) : BadArguments(error);
    if (options.check)
    {
        CModelCheck check;
        if (!check.Run(runDir.GetModelName()))
            return CheckNotLoaded(options.model, check.GetError());
        std::fputs(check.FormatText().c_str(), stdout);
        std::fflush(stderr);
        std::printf("%s\n", check.FormatJson().c_str());
        return check.GetWarnings().empty() ? 0 : 3;
    }
    const std::string csvPath = options.csvFile.empty() ? std::string() : runDir.FromCaller(options.csvFile);
    [[maybe_unused]] const std::string recordPath = options.recordFile.empty() ? std::string() : runDir.FromCaller(options.recordFile);

    CFlightSession session;
    if (!options.site.empty() && CFlyWorld::FindSite(options.site) == nullptr)
        return BadArguments("--site: no flying site named '" + options.site + "'");
    if (!options.flat && !session.LoadSite(options.site))
    {
        std::fprintf(stderr, "kestro-fdm: %s (use --flat to fly over flat ground)\n", session.GetSiteError().c_str());
        return 1;
    }
    session.UseFlatGround(options.flat);
    // Still air unless asked: a batch flight must not depend on the pilot's Weather.txt.
    session.SetWind(options.hasWind ? options.windSpeed : 0.0f, options.hasWind ? options.windHeadingDeg : 0.0f,
                    options.hasTurbulence ? options.turbulence : 0.0f);
    if (options.hasThermals)
        session.SetThermals(options.thermalStrength, options.thermalRadius, options.thermalDensity);
    session.GetWind().SeedRandom(options.seed);

    for (const CVector3& p : options.airPoints)
    {
        const CVector3 air = session.GetAirAt(p);
        std::printf("{\"point\":[%s,%s,%s],\"ground\":%s,\"air\":[%s,%s,%s]}\n", JsonNumber(p.x, 9).c_str(),
                    JsonNumber(p.y, 9).c_str(), JsonNumber(p.z, 9).c_str(), JsonNumber(session.GetGroundHeight(p.x, p.z), 9).c_str(),
                    JsonNumber(air.x, 9).c_str(), JsonNumber(air.y, 9).c_str(), JsonNumber(air.z, 9).c_str());
    }
    if (!options.airPoints.empty())
        return 0;

    CStartPose pose = session.GetStartPose();
    if (options.hasStart)
        pose.position = options.start;
    if (options.hasHeading)
        pose.headingDeg = options.headingDeg;
    // The site's start sets the model down on the ground; --start puts it exactly there.
    session.SetStartPose(pose, !options.hasStart);

    if (!session.LoadModel(runDir.GetModelName()))
    {
        std::fprintf(stderr, "kestro-fdm: %s\n", session.GetLoadMessage().c_str());
        return 1;
    }
    CModel& model = *session.GetModel();
    if (model.GetOutputFile() != nullptr)
    {
        runDir.Keep();
        std::fprintf(stderr, "kestro-fdm: the model's output file is kept in %s\n", runDir.GetOutputFolder().c_str());
    }

    if (options.report)
        std::fputs(CModelReport::Build(runDir.GetModelName()).c_str(), stdout);

    for (int c = 0; c < CFdmOptions::kChannelCount; ++c)
        session.SetChannel(c, options.ChannelAt(c, 0.0f));
    session.ResetToStart();
    if (options.hasSpeed)
    {
        // Level flight at that airspeed: the air meets the nose head on.
        const CVector3 forward = CFlightSession::ForwardAxis(model);
        model.GetBody().SetVelocity(forward * options.speed + session.GetWind().GetMeanWind());
    }

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> csv(nullptr, &std::fclose);
    if (!csvPath.empty())
    {
        csv.reset(std::fopen(csvPath.c_str(), "w"));
        if (!csv)
        {
            std::fprintf(stderr, "kestro-fdm: %s: cannot be written\n", csvPath.c_str());
            return 1;
        }
        std::fputs("time,x,y,z,heading,pitch,roll,airspeed,climb_rate", csv.get());
        for (int c = 1; c <= CFdmOptions::kChannelCount; ++c)
            std::fprintf(csv.get(), ",V_CH%d", c);
        std::fputs(",rpm\n", csv.get());
    }

    CFlightRecorder recorder;
    CRecordedModel recorded(model);
    if (!recordPath.empty() && !recorder.StartRecording(recordPath, 0.0))
    {
        std::fprintf(stderr, "kestro-fdm: %s: cannot be written\n", recordPath.c_str());
        return 1;
    }

    CHeadingPilot pilot;
    pilot.Start(model.GetHeading(), options.holdHeadingFullDeg);
    const int frames = options.FrameCount();
    const float dt = options.frame;
    TFlightStats stats;
    CEngineDynamic& body = model.GetBody();
    const auto wallStart = std::chrono::steady_clock::now();
    for (int frame = 0; frame < frames; ++frame)
    {
        if (g_stopSignal != 0)
        {
            std::fprintf(stderr, "kestro-fdm: stopped by signal %d after %d frames\n", static_cast<int>(g_stopSignal), frame);
            return 128 + g_stopSignal;
        }
        const float t = static_cast<float>(frame) * dt;
        float channels[CFdmOptions::kChannelCount];
        for (int c = 0; c < CFdmOptions::kChannelCount; ++c)
        {
            channels[c] = options.ChannelAt(c, t);
            if (c == options.holdHeadingChannel)
                channels[c] = std::clamp(channels[c] + pilot.Stick(model.GetHeading(), t), -1.0f, 1.0f);
            session.SetChannel(c, channels[c]);
        }
        session.Step(dt);
        const double simulated = static_cast<double>(frame + 1) * dt;
        if (!recordPath.empty())
            recorder.RecordFrame(recorded, simulated);

        CVector3 normal;
        const float height = body.GetHeightAboveTerrain(normal);
        stats.minHeight = std::fmin(stats.minHeight, height);
        stats.maxHeight = std::fmax(stats.maxHeight, height);
        stats.maxAirspeed = std::fmax(stats.maxAirspeed, model.GetAirspeed());

        if (csv)
        {
            const CVector3& p = body.GetPosition();
            std::fprintf(csv.get(), "%.6f,%.6g,%.6g,%.6g,%.5g,%.5g,%.5g,%.6g,%.6g", simulated,
                         static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z),
                         static_cast<double>(model.GetHeading() * kRadToDeg),
                         static_cast<double>(model.GetPitch() * kRadToDeg),
                         static_cast<double>(model.GetRoll() * kRadToDeg), static_cast<double>(model.GetAirspeed()),
                         static_cast<double>(body.GetVelocity().y));
            for (const float value : channels)
                std::fprintf(csv.get(), ",%.6g", static_cast<double>(value));
            std::fprintf(csv.get(), ",%.6g\n", static_cast<double>(EngineRpm(model)));
        }
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    if (!recordPath.empty() && !recorder.StopRecording())
    {
        std::fprintf(stderr, "kestro-fdm: %s: the recording could not be written\n", recordPath.c_str());
        return 1;
    }
    if (csv && std::fflush(csv.get()) != 0)
    {
        std::fprintf(stderr, "kestro-fdm: %s: write failed\n", csvPath.c_str());
        return 1;
    }

    const double simulatedSeconds = static_cast<double>(frames) * dt;
    const CVector3& p = body.GetPosition();
    const float speed = body.GetVelocity().Length();
    const float angularSpeed = body.GetAngularVelocity().Length();
    const bool atRest = speed < kRestSpeed && angularSpeed < kRestAngularSpeed;
    std::string json = "{\"model\":" + JsonString(runDir.GetModelName());
    json += ",\"frames\":" + std::to_string(frames);
    json += ",\"frame_seconds\":" + JsonNumber(dt, 9);
    json += ",\"simulated_seconds\":" + JsonNumber(simulatedSeconds, 9);
    json += ",\"wall_seconds\":" + JsonNumber(wall, 9);
    json += ",\"real_time_factor\":" + JsonNumber(wall > 0.0 ? simulatedSeconds / wall : INFINITY, 9);
    json += ",\"final_position\":[" + JsonNumber(p.x, 9) + "," + JsonNumber(p.y, 9) + "," + JsonNumber(p.z, 9) + "]";
    json += ",\"min_height_above_terrain\":" + JsonNumber(stats.minHeight, 9);
    json += ",\"max_height_above_terrain\":" + JsonNumber(stats.maxHeight, 9);
    json += ",\"max_airspeed\":" + JsonNumber(stats.maxAirspeed, 9);
    json += ",\"damage\":" + JsonNumber(model.GetDamageTotal(), 9);
    json += ",\"final_speed\":" + JsonNumber(speed, 9);
    json += ",\"final_angular_speed\":" + JsonNumber(angularSpeed, 9);
    json += std::string(",\"came_to_rest\":") + (atRest ? "true" : "false");
    json += ",\"flat\":" + std::string(session.IsFlatGround() ? "true" : "false") + "}";
    std::fflush(stderr);
    std::printf("%s\n", json.c_str());
    return 0;
}
