// The shipped glider soars: flown in-process by a simple pilot (hold a bank and a speed), beating
// along the slope site's ridge it gains height in a wind straight at the face. (In a thermal: the
// air rises there (ThermalField), the model's wind field is that air
// (FlightSessionTest.TheModelsWindFieldIsTheSessionsWindWithItsRisingAir), and the glider sinks
// at 0.3 .. 0.8 m/s (the flight check glider_glide).)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "env/CWind.h"
#include "model/CModel.h"
#include "sim/CFlightSession.h"
#include "support/DataDir.h"
#include "support/DiagCapture.h"

namespace fs = std::filesystem;

namespace
{
constexpr float kFrame = 1.0f / 60.0f;
constexpr float kDegToRad = 0.017453292519943295f;

// The shipped data by links, an Output/ of its own (the collision cache lands there).
struct TShippedData
{
    TShippedData()
    {
        fs::create_directories(temp.dir.Path() / "Data");
        fs::create_directories(temp.dir.Path() / "Output");
        for (const auto& entry : fs::directory_iterator(source / "Data"))
            fs::create_symlink(entry.path(), temp.dir.Path() / "Data" / entry.path().filename());
    }
    const fs::path source = fs::absolute(SourceDir()); // before the working directory moves
    TempDataDir temp;
};

// Holds a bank angle (aileron stick, which the glider mixes into its rudder) and an airspeed
// (elevator), as a pilot flying by eye would.
class CSimplePilot
{
public:
    CSimplePilot(CFlightSession& session, float speed) : m_session(session), m_speed(speed) {}

    void Step(float bankDeg)
    {
        const CModel& model = *m_session.GetModel();
        const float roll = model.GetRoll();
        const float rollRate = (roll - m_lastRoll) / kFrame;
        const float pitchRate = (model.GetPitch() - m_lastPitch) / kFrame;
        m_lastRoll = roll;
        m_lastPitch = model.GetPitch();
        m_session.SetChannel(0, std::clamp(2.0f * (bankDeg * kDegToRad - roll) - 0.3f * rollRate, -1.0f, 1.0f));
        m_session.SetChannel(1, std::clamp(0.12f * (model.GetAirspeed() - m_speed) - 0.2f * pitchRate, -1.0f, 1.0f));
        m_session.Step(kFrame);
    }

private:
    CFlightSession& m_session;
    float m_speed; // m/s
    float m_lastRoll = 0.0f, m_lastPitch = 0.0f;
};

float Height(const CFlightSession& session)
{
    return session.GetModel()->GetBody().GetPosition().y;
}

void StartFlying(CFlightSession& session, const CVector3& position, float headingDeg, float speed)
{
    CStartPose pose = session.GetStartPose();
    pose.position = position;
    pose.headingDeg = headingDeg;
    session.SetStartPose(pose, false);
    session.ResetToStart();
    CModel& model = *session.GetModel();
    model.GetBody().SetVelocity(CFlightSession::ForwardAxis(model) * speed + session.GetWind().GetMeanWind());
}

// (In still air the same flight loses height: the flight check glider_glide.)
TEST(Soaring, GliderBeatingAlongTheRidgeGainsHeightInWind)
{
    TShippedData data;
    CDiagCapture quiet; // the collision cache's progress lines
    CFlightSession session;
    ASSERT_TRUE(session.LoadSite("SlopeSite")) << session.GetSiteError();
    ASSERT_TRUE(session.LoadModel("Glider.mod")) << session.GetLoadMessage();

    const float trackZ = -90.0f; // m: over the upper face, in front of the crest at z = 0
    const float wind = 7.0f, speed = 10.0f; // m/s
    session.SetWind(wind, 180.0f, 0.0f); // straight at the face
    session.SetThermals(0.0f, 40.0f, 0.0f);
    // The crab angle that holds the track along the ridge against the wind.
    const float crab = std::asin(wind / speed) / kDegToRad;
    StartFlying(session, CVector3(-200, 30, trackZ), 90.0f - crab, speed);
    CSimplePilot pilot(session, speed);
    const float start = Height(session);
    int leg = 1; // +1 towards +x, -1 towards -x
    for (int i = 0, n = static_cast<int>(120.0f / kFrame); i < n; ++i)
    {
        const CModel& model = *session.GetModel();
        const CVector3 p = model.GetBody().GetPosition();
        if (leg * p.x > 250.0f)
            leg = -leg; // turn away from the ridge, into the wind
        // Off the track downwind (towards the crest): point further into the wind.
        const float correction = std::clamp(0.5f * (p.z - trackZ), -30.0f, 30.0f);
        const float heading = leg * std::clamp(90.0f - crab - correction, 0.0f, 120.0f);
        const float error = std::remainder(heading - model.GetHeading() / kDegToRad, 360.0f);
        pilot.Step(std::clamp(1.2f * error, -35.0f, 35.0f));
    }
    EXPECT_GT(Height(session), start + 10.0f); // measured: +65 m
}
} // namespace
