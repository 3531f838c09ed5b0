// Engine and propeller: the blade-element sum against hand values and the table flown against it, the
// engine's speed balance, its start/stop logic with its messages, the slipstream, and the
// flight-recording record.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "AeroTestSupport.h"
#include "GroundTestSupport.h"
#include "ModelTestSupport.h"
#include "model/CPartEngineProp.h"
#include "model/CPropellerCalculator.h"
#include "model/ExpoCurve.h"
#include "model/PartClassTable.h"

namespace
{
constexpr float kPi = 3.14159265f;

// APC 10x6: 10 in diameter, 6 in pitch.
constexpr float kDiameter10 = 0.254f;
constexpr float kPitch6 = 0.1524f;
} // namespace

TEST(ExpoCurveTest, Table)
{
    struct TRow { float x, k, expected; } rows[] = {
        {0.25f, 0.5f, 0.5f},                          // square root
        {-0.25f, 0.5f, -0.5f},                        // odd for k > 0
        {0.0f, 0.5f, 0.0f},
        {0.5f, -0.25f, 1.0f - std::pow(0.5f, 0.75f)}, // 1 - (1 - x)^(1 + k)
        {-0.5f, -0.5f, std::sqrt(0.5f) - 1.0f},       // (1 + x)^(1 + k) - 1
        {1.0f, -0.25f, 1.0f},
        {0.0f, -0.5f, 0.0f},
    };
    for (const TRow& row : rows)
        EXPECT_NEAR(Expo(row.x, row.k), row.expected, 1e-6f) << "x " << row.x << " k " << row.k;
}

// --- Propeller calculation with an airfoil of Cl = alpha / 100 (deg) and Cd = 0.02.

class PropellerCalcTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        airfoil = aero_test::AirfoilFromText(aero_test::kLinearAirfoil);
        calculator.Setup(airfoil.get(), 2, kDiameter10, kPitch6, 0.075f);
    }
    std::unique_ptr<CAirfoil> airfoil;
    CPropellerCalculator calculator;
};

TEST_F(PropellerCalcTest, ForcesAgainstHandValues)
{
    // Values from a calculator script of the same formulas in double precision: sections centred
    // at r = 0.05 (i - 0.5) D, the axial speed raised by 1.15 times the momentum-theory induced
    // speed (converged: 5.773 m/s static at 200 rev/s, 0.524 m/s at 20 m/s). Without the induced
    // speed the static thrust at 200 rev/s would be 4.34 N.
    struct TRow { float airSpeed, revs, thrust, torque; } rows[] = {
        {0.0f, 200.0f, 3.12877f, 0.062256f},  // static: thrust from the blade angle alone
        {20.0f, 200.0f, 1.15620f, 0.069022f}, // forward flight: inflow angle eats the thrust
        {0.0f, 100.0f, 0.78219f, 0.015564f},  // half the speed: a quarter of both
    };
    for (const TRow& row : rows)
    {
        float thrust = 0.0f, torque = 0.0f;
        calculator.Calc(row.airSpeed, row.revs, thrust, torque);
        EXPECT_NEAR(thrust, row.thrust, row.thrust * 1e-3f) << "V " << row.airSpeed << " n " << row.revs;
        EXPECT_NEAR(torque, row.torque, row.torque * 1e-3f) << "V " << row.airSpeed << " n " << row.revs;
    }
}

TEST_F(PropellerCalcTest, NothingWithoutAirfoilOrDiameter)
{
    // (Below one revolution per minute: the end of TableAgreesWithTheBladeElementSum.)
    CPropellerCalculator invalid;
    invalid.Setup(nullptr, 2, kDiameter10, kPitch6, 0.075f);
    float thrust = 1.0f, torque = 1.0f;
    invalid.Calc(0.0f, 200.0f, thrust, torque);
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_TRUE(thrust == 0.0f && torque == 0.0f);

    // A zero diameter is no propeller (and no division by a zero disk later).
    CPropellerCalculator flat;
    flat.Setup(airfoil.get(), 2, 0.0f, kPitch6, 0.075f);
    EXPECT_FALSE(flat.IsValid());
}

// --- The engine in a model.

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string airfoil;
        ASSERT_TRUE(ReadWholeFile((SourceDir() / "Data/Airfoil/NACA0012.afl").string(), airfoil))
            << "Data/Airfoil/NACA0012.afl not found below " << SourceDir();
        fixture.dir.Write("Data/Airfoil/NACA0012.afl", airfoil);
        fixture.services.messages = &messages;
        fixture.services.sounds = &sounds;
    }

    // A .40 glow engine on an APC 10x6 sport propeller, throttled by V_CH3.
    void Load(const std::string& extra = "", float maxTorque = 0.4f)
    {
        channel = fixture.Input("V_CH3", -1.0f);
        model = fixture.Load(".SERVO Throttle { .VARIABLE V_CH3 .SPEED 0.01 }\n"
                             ".PROPELLER Prop { .DIAMETER 0.254 .PITCH 0.1524 .AIRFOIL NACA0012.afl }\n"
                             ".ENGINE_PROP Engine { .MAX_TORQUE " + std::to_string(maxTorque) +
                             " .MASS 0.3 .TOKEN_PROPELLER Prop .TOKEN_SERVO Throttle .TOKEN_COLLISION_POINT Nose }\n"
                             ".COLLISION_POINT Nose { .POSITION 0 0 -0.5 }\n" + extra);
        ASSERT_TRUE(fixture.loaded);
        engine = dynamic_cast<CPartEngineProp*>(model->FindPart(PART_ENGINE_PROP, "Engine"));
        ASSERT_NE(engine, nullptr);
        model->UpdateModel(0.0f); // links the parts
    }

    // Takes the engine through its start sequence (throttle back, then up to t).
    void Start(float throttle)
    {
        channel->SetValue(-1.0f);
        RunFrames(*model, 5);
        channel->SetValue(2.0f * throttle - 1.0f);
        RunFrames(*model, 2);
        ASSERT_EQ(engine->GetState(), CPartEngineProp::kRunning);
    }

    // Spins the engine up in place: force steps only, the body stays where it is.
    void SpinFor(float seconds, float dt = 0.005f)
    {
        for (float t = 0.0f; t < seconds; t += dt)
            engine->CalcForces(dt);
    }

    bool Shown(const std::string& text, bool removed = false) const
    {
        for (const auto& message : messages.shown)
            if (message.text == text && message.removed == removed)
                return true;
        return false;
    }

    CModelFixture fixture;
    CRecordingMessages messages;
    ground_test::CCountingSounds sounds;
    std::unique_ptr<CModel> model;
    CPartEngineProp* engine = nullptr;
    CVariable* channel = nullptr;
};

const char* const kStoppedText = "Engine is stopped.\nTHROTTLE BACK to start the engine";
const char* const kPushText = "PUSH THROTTLE to start the engine";

TEST_F(EngineTest, StartSequenceNeedsThrottleBackThenUpAndItsMessagesWaitForTheirDelay)
{
    Load();
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kWaitThrottleBack);
    // A throttle left open does not start it; "stopped" shows 2 s after the stop, until removed.
    channel->SetValue(0.5f);
    RunFrames(*model, 95); // 1.9 s
    EXPECT_TRUE(messages.shown.empty());
    RunFrames(*model, 10);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kWaitThrottleBack);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kStoppedText);
    EXPECT_LE(messages.shown[0].seconds, 0.0f);
    EXPECT_FALSE(sounds.running);

    // t = 0.15: between the thresholds, not yet "back"; t = 0.075 < 0.1 is.
    channel->SetValue(-0.7f);
    RunFrames(*model, 5);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kWaitThrottleBack);
    channel->SetValue(-0.85f);
    RunFrames(*model, 2);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kWaitThrottleUp);
    EXPECT_TRUE(Shown(kStoppedText, true));

    // t = 0.175 < 0.2: still waiting; "push" shows 1 s after the throttle came back.
    channel->SetValue(-0.65f);
    RunFrames(*model, 45);
    EXPECT_EQ(messages.shown.size(), 1u);
    RunFrames(*model, 10);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kWaitThrottleUp);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, kPushText);
    channel->SetValue(-0.59f); // t = 0.205
    RunFrames(*model, 2);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kRunning);
    EXPECT_TRUE(Shown(kPushText, true));
    EXPECT_TRUE(sounds.running);
}

TEST_F(EngineTest, HitOnItsCollisionPointStopsIt)
{
    Load();
    Start(0.5f);
    EXPECT_TRUE(messages.shown.empty()) << "a start before a message showed removes it unseen";
    ground_test::PlaceBody(model->GetBody(), CVector3(0, -0.05f, 0)); // nose 5 cm in the ground
    RunFrames(*model, 2);
    EXPECT_NE(engine->GetState(), CPartEngineProp::kRunning);
    EXPECT_FALSE(sounds.running);
}

TEST_F(EngineTest, CrashedModelWaitsBeforeAskingForThrottle)
{
    Load();
    // Resting on its collision points long enough raises the model's reset prompt.
    model->AddContact(0, 20.0f);
    RunFrames(*model, 1);
    ASSERT_TRUE(model->IsResetMessageShown());
    RunFrames(*model, 1);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kStopped);
    channel->SetValue(-1.0f);
    RunFrames(*model, 5);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kStopped);
}

TEST_F(EngineTest, SpeedBalancesTorquesAndThrustActsAlongTheAxis)
{
    Load();
    engine->GetSettings().heading = 90.0f; // thrust along +X
    engine->GetSettings().StoreProperties();
    engine->ApplyProperties();
    Start(1.0f);
    SpinFor(3.0f);
    const float n = engine->GetRevPerSecond();
    const float friction = (n * 1e-6f + 1e-4f) * n;
    EXPECT_NEAR(engine->GetPropellerTorque() + friction, 0.4f, 0.004f);
    EXPECT_TRUE(n > 20.0f && n < 333.0f) << n;
    aero_test::ExpectNear(engine->GetForce(0).vector, CVector3(engine->GetThrust(), 0.0f, 0.0f), 1e-3f, "thrust");
    aero_test::ExpectNear(engine->GetTorque(0).vector, CVector3(-engine->GetPropellerTorque(), 0.0f, 0.0f), 1e-5f,
                          "reaction torque");
    EXPECT_GT(engine->GetThrust(), 0.0f);
    // (Throttled back it idles at 20 rev/s: AnIdlingPropellerWindmillsInsteadOfBraking.)
}

TEST_F(EngineTest, MissingServoOrPropellerMakesNothing)
{
    CDiagCapture diag;
    channel = fixture.Input("V_CH3", 1.0f);
    model = fixture.Load(".PROPELLER Prop { .AIRFOIL NACA0012.afl }\n"
                         ".ENGINE_PROP Engine { .MAX_TORQUE 1 .TOKEN_PROPELLER Prop .TOKEN_SERVO None }\n");
    engine = dynamic_cast<CPartEngineProp*>(model->FindPart(PART_ENGINE_PROP, "Engine"));
    ASSERT_NE(engine, nullptr);
    RunFrames(*model, 10);
    EXPECT_FALSE(engine->IsLinked());
    EXPECT_TRUE(engine->GetForce(0).vector.IsZero());
    EXPECT_TRUE(diag.Contains("TOKEN_SERVO 'None' is no SERVO"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EngineTest, SlipstreamInsideAndOutside)
{
    Load();
    Start(1.0f);
    SpinFor(2.0f);
    const float w = engine->GetAirVelocityBehindPropeller();
    ASSERT_GT(w, 1.0f);
    const float r = 0.5f * kDiameter10;
    // Thrust axis -Z: behind the propeller is +Z.
    struct TRow { CVector3 point; bool inside; float speed; /* m/s, blown backwards (+Z) */ const char* what; } rows[] = {
        {CVector3(0, 0, 0), false, 0.0f, "in the disk plane"},
        {CVector3(0, 0, -0.1f), false, 0.0f, "in front"},
        {CVector3(0, 0, 15 * r), true, w * std::pow(0.5f, 0.75f), "on the axis, half way"},
        {CVector3(1.5f * r, 0, 15 * r), true, w * std::pow(0.5f, 0.75f) * std::sqrt(0.5f), "half the stream radius"},
        {CVector3(3.0f * r, 0, 15 * r), true, 0.0f, "beyond the widened stream, within 4 R"},
        {CVector3(4.1f * r, 0, 15 * r), false, 0.0f, "beyond 4 R"},
        {CVector3(0, 0, 30 * r), false, 0.0f, "at the end of the stream"},
        {CVector3(0, 0, 0.01f), true, w * std::pow(1.0f - 0.01f / (30 * r), 0.75f), "just behind the hub"},
    };
    // Twice: the second time the points' places in the stream are remembered ones.
    for (int pass = 0; pass < 2; ++pass)
        for (const TRow& row : rows)
        {
            CVector3 wind(9, 9, 9);
            EXPECT_EQ(engine->GetInducedWind(wind, row.point), row.inside) << row.what;
            aero_test::ExpectNear(wind, CVector3(0, 0, row.speed), 1e-3f * w, row.what);
        }
    // (The model hands the parts' answers to the wings: WingTest.SlipstreamRaisesTheLocalAirspeed.)

    // SLIPSTREAM_SWIRL turns the stream with the propeller: above the axis it blows towards +X
    // (a fin there is pushed right, the nose yawed left), below it towards -X.
    engine->GetSettings().slipstreamSwirl = 0.2f;
    const float axial = w * std::pow(0.5f, 0.75f) * std::sqrt(0.5f);
    for (const float y : {1.5f * r, -1.5f * r})
    {
        CVector3 wind;
        ASSERT_TRUE(engine->GetInducedWind(wind, CVector3(0, y, 15 * r)));
        aero_test::ExpectNear(wind, CVector3(y > 0.0f ? 0.2f * axial : -0.2f * axial, 0, axial), 1e-3f * w, "swirl");
    }
    // An engine moved back to that point (the editor moves parts in flight) no longer blows it.
    engine->GetSettings().position = CVector3(0, 1.5f * r, 15 * r);
    CVector3 wind;
    EXPECT_FALSE(engine->GetInducedWind(wind, CVector3(0, 1.5f * r, 15 * r)));
}

TEST_F(EngineTest, AnIdlingPropellerWindmillsInsteadOfBraking)
{
    // At idle in a 15 m/s airflow the air drives the propeller above the idle speed, until it
    // neither drives nor brakes much; held at 20 rev/s it braked the model with about 4 N. A
    // stopped engine's propeller runs down to a stop on the ground.
    Load();
    Start(0.25f);
    channel->SetValue(-1.0f);
    RunFrames(*model, 2);
    ground_test::PlaceBody(model->GetBody(), CVector3(), CVector3(0, 0, -15.0f));
    SpinFor(3.0f);
    EXPECT_GT(engine->GetRevPerSecond(), 60.0f);
    EXPECT_GT(engine->GetThrust(), -1.5f);
    EXPECT_LT(engine->GetPropellerTorque(), 0.0f); // the air drives it
    // The same air from the side passes the disk by: it idles at 20 rev/s (it once windmilled a
    // parked model's propeller in a breeze, and the drag rolled the model away).
    ground_test::PlaceBody(model->GetBody(), CVector3(), CVector3(15.0f, 0, 0));
    SpinFor(3.0f);
    EXPECT_FLOAT_EQ(engine->GetRevPerSecond(), CPartEngineProp::kMinRevPerSecond);
    Load(); // a fresh model: its engine is stopped
    SpinFor(3.0f);
    EXPECT_NE(engine->GetState(), CPartEngineProp::kRunning);
    EXPECT_LT(engine->GetRevPerSecond(), 1.0f);
}

TEST_F(EngineTest, RecordedStateRoundTripsAndRejectsDamage)
{
    Load();
    Start(0.6f);
    SpinFor(0.5f);
    std::vector<unsigned char> bytes;
    ASSERT_EQ(engine->SaveState(bytes), 8);
    ASSERT_EQ(bytes.size(), 8u);
    const float savedRevs = engine->GetRevPerSecond();

    // Stopped in the recording: restoring it stops the running engine.
    std::vector<unsigned char> stopped = bytes;
    const std::int32_t one = 1;
    std::memcpy(stopped.data() + 4, &one, 4);
    SpinFor(0.5f);
    EXPECT_EQ(engine->LoadState(stopped.data(), 8), 8);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kStopped);
    EXPECT_FLOAT_EQ(engine->GetRevPerSecond(), savedRevs);
    RunFrames(*model, 1);
    EXPECT_FALSE(sounds.running);

    // Running again: the pending start message goes.
    EXPECT_EQ(engine->LoadState(bytes.data(), 8), 8);
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kRunning);

    // Too short, a NaN speed, an unknown state: refused, nothing changes.
    EXPECT_EQ(engine->LoadState(bytes.data(), 7), 0);
    const float nan = std::nanf("");
    const std::int32_t unknown = 7;
    for (const auto& [offset, value] : {std::pair{0, static_cast<const void*>(&nan)}, {4, &unknown}})
    {
        std::vector<unsigned char> bad = bytes;
        std::memcpy(bad.data() + offset, value, 4);
        EXPECT_EQ(engine->LoadState(bad.data(), 8), 0) << "offset " << offset;
    }
    EXPECT_EQ(engine->GetState(), CPartEngineProp::kRunning);
}

// --- The shipped propeller section. (Its figures against APC's published 10x6 data, static
// thrust, figure of merit and the advance ratio of zero thrust, are the flight check
// `propellers`'s; a thrust off by a third fails it or delta_takeoff.)

// The table flight reads against the blade-element sum it is sampled from, for the shipped
// trainer's 10x6 and the delta's 8x4, over every air speed and propeller speed a model flies at.
// Both scale with s^2 (s = V + pi n D), so the error is measured against the static sum scaled
// to the same s: within 0.1 %. Below one revolution per minute there is nothing, as in the sum.
TEST(PropellerFiguresTest, TableAgreesWithTheBladeElementSum)
{
    std::string text;
    ASSERT_TRUE(ReadWholeFile((SourceDir() / "Data/Airfoil/ClarkYProp.afl").string(), text));
    const std::unique_ptr<CAirfoil> airfoil = aero_test::AirfoilFromText(text, "ClarkYProp.afl");
    struct TPropeller
    {
        float diameter, pitch, chordRatio;
    } propellers[] = {{kDiameter10, kPitch6, 0.075f}, {0.2032f, 0.1016f, 0.08f}};
    for (const TPropeller& p : propellers)
    {
        CPropellerCalculator propeller;
        propeller.Setup(airfoil.get(), 2, p.diameter, p.pitch, p.chordRatio);
        float worstThrust = 0.0f, worstTorque = 0.0f;
        for (float n = 1.0f; n <= 350.0f; n *= 1.06f)
        {
            float staticThrust = 0.0f, staticTorque = 0.0f;
            propeller.CalcBladeElements(0.0f, n, staticThrust, staticTorque);
            const float tip = n * kPi * p.diameter; // m/s
            for (float v = 0.0f; v <= 50.0f; v += 0.125f)
            {
                float thrust = 0.0f, torque = 0.0f, sumThrust = 0.0f, sumTorque = 0.0f;
                propeller.Calc(v, n, thrust, torque);
                propeller.CalcBladeElements(v, n, sumThrust, sumTorque);
                const float scale = (v + tip) * (v + tip) / (tip * tip);
                worstThrust = std::max(worstThrust, std::fabs(thrust - sumThrust) / (staticThrust * scale));
                worstTorque = std::max(worstTorque, std::fabs(torque - sumTorque) / (staticTorque * scale));
            }
        }
        EXPECT_LT(worstThrust, 1e-3f) << "diameter " << p.diameter;
        EXPECT_LT(worstTorque, 1e-3f) << "diameter " << p.diameter;
        float thrust = 1.0f, torque = 1.0f;
        propeller.Calc(5.0f, 1.0f / 60.0f, thrust, torque);
        EXPECT_EQ(thrust, 0.0f);
        EXPECT_EQ(torque, 0.0f);
    }
}
