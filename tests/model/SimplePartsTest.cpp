#include <cmath>
#include <gtest/gtest.h>

#include "model/CPartServo.h"
#include "model/PartClassTable.h"
#include "model/ModelTestSupport.h"

namespace
{
constexpr float kPi = 3.14159265f;

// Seconds until the servo's position first equals target, in frames of frameTime.
float TravelTime(CModel& model, CPartServo& servo, float target, float frameTime)
{
    float time = 0.0f;
    for (int i = 0; i < 100000 && servo.GetServoPosition() != target; ++i)
    {
        model.UpdateModel(frameTime);
        time += frameTime;
    }
    return time;
}

class ServoTest : public testing::Test
{
protected:
    std::unique_ptr<CModel> Load(const char* speed)
    {
        auto model = fixture.Load(std::string(".SERVO S { .VARIABLE V_CH2 .SPEED ") + speed + " }\n");
        servo = static_cast<CPartServo*>(model->FindPart(PART_SERVO, "S"));
        model->UpdateModel(0.0f);
        return model;
    }
    CModelFixture fixture;
    CPartServo* servo = nullptr;
};

TEST_F(ServoTest, TravelTimeIsSpeedPerUnitAndSpeedZeroActsAsOneHundredthOfASecond)
{
    CVariable* channel = fixture.Input("V_CH2", 0.0f);
    auto model = Load("0.6");
    ASSERT_NE(servo, nullptr);
    for (const auto& [target, seconds] : {std::pair{1.0f, 0.6f}, {-1.0f, 1.2f}, {1.0f, 1.2f}})
    {
        channel->SetValue(target);
        EXPECT_NEAR(TravelTime(*model, *servo, target, 0.01f), seconds, 0.011f) << target;
    }
    channel->SetValue(0.0f);
    model = Load("0");
    channel->SetValue(1.0f);
    model->UpdateModel(0.005f);
    EXPECT_NEAR(servo->GetServoPosition(), 0.5f, 1e-5f);
    model->UpdateModel(0.005f);
    EXPECT_FLOAT_EQ(servo->GetServoPosition(), 1.0f);
}

TEST_F(ServoTest, LoadStateNeverReadsPastItsRecord)
{
    CVariable* channel = fixture.Input("V_CH2", 0.5f);
    auto model = Load("0.01");
    RunFrames(*model, 5);
    std::vector<unsigned char> bytes;
    EXPECT_EQ(servo->SaveState(bytes), 4);
    ASSERT_EQ(bytes.size(), 4u);
    channel->SetValue(-1.0f);
    RunFrames(*model, 5);
    // A short record is refused whole: nothing read, state kept.
    EXPECT_EQ(servo->LoadState(bytes.data(), 3), 0);
    EXPECT_EQ(servo->LoadState(nullptr, 4), 0);
    EXPECT_FLOAT_EQ(servo->GetServoPosition(), -1.0f);
    EXPECT_EQ(servo->LoadState(bytes.data(), 4), 4);
    EXPECT_FLOAT_EQ(servo->GetServoPosition(), 0.5f);
}

TEST(SimpleParts, WithoutTheirVariableAServoStaysAtZeroAndAnInputForcePushesNothing)
{
    CModelFixture fixture;
    CDiagCapture diag;
    auto model = fixture.Load(".SERVO S { .VARIABLE V_CH2 .SPEED 0.6 }\n.INPUT_FORCE F { .VARIABLE NOPE }\n");
    RunFrames(*model, 10);
    EXPECT_EQ(static_cast<CPartServo*>(model->FindPart(PART_SERVO, "S"))->GetServoPosition(), 0.0f);
    EXPECT_TRUE(diag.Contains("variable 'V_CH2' not found"));
    CPart* force = model->FindPart(PART_INPUT_FORCE, "F");
    EXPECT_FALSE(force->IsLinked());
    EXPECT_EQ(force->AsPhysic()->GetForce(0).vector, CVector3());
}

TEST(SimpleParts, GravityPullsAtTheCentreOfMassWithoutTorque)
{
    CModelFixture fixture;
    auto model = fixture.Load(".GRAVITY G { }\n.BATTERY B { .MASS 2 .POSITION 0.3 0 0 }\n");
    model->GetBody().SetPosition(CVector3(0.0f, 50.0f, 0.0f));
    RunFrames(*model, 5);
    const CForce& weight = model->FindPart(PART_GRAVITY, "G")->AsPhysic()->GetForce(0);
    EXPECT_NEAR(weight.vector.y, -2.0f * 9.81f, 1e-4f);
    EXPECT_NEAR(weight.point.x, 0.3f, 1e-5f);
    EXPECT_EQ(model->GetBody().GetAngularVelocity(), CVector3());
}

TEST(SimpleParts, DragOpposesTheAirVelocitySquared)
{
    CModelFixture fixture;
    CConstantWind wind(CVector3(5.0f, 0.0f, 0.0f));
    fixture.services.wind = &wind;
    auto model = fixture.Load(".DRAG D { .FRONTAL_DRAG_AREA 0.5 .FRONTAL_DRAG_COEFFICIENT 0.8 }\n");
    model->UpdateModel(0.0f);
    model->GetBody().SetVelocity(CVector3(5.0f, 0.0f, -10.0f)); // with the wind: 10 m/s of air from ahead
    model->UpdateModel(0.004f);
    const CForce& drag = model->FindPart(PART_DRAG, "D")->AsPhysic()->GetForce(0);
    // 0.6125 * 0.5 * 0.8 * 10^2 = 24.5 N backwards (+Z), on the 1 kg fallback cube.
    EXPECT_NEAR(drag.vector.z, 24.5f, 0.1f);
    EXPECT_NEAR(drag.vector.x, 0.0f, 1e-3f);
    EXPECT_NEAR(model->GetAirspeed(), 10.0f, 0.1f);
}

TEST(SimpleParts, DragWithZeroAreaStillDampsRotation)
{
    CModelFixture fixture;
    auto model = fixture.Load(".DRAG D { .ANGULAR_DAMPING_LIN 0.5 .ANGULAR_DAMPING_SQ 0.1 }\n");
    model->UpdateModel(0.0f);
    CEngineDynamic& body = model->GetBody();
    body.SetVelocity(CVector3(10.0f, 0.0f, 0.0f));
    body.SetAngularVelocity(CVector3(0.0f, 2.0f, 0.0f));
    model->UpdateModel(0.004f);
    CPartPhysic* drag = model->FindPart(PART_DRAG, "D")->AsPhysic();
    EXPECT_EQ(drag->GetForce(0).vector, CVector3());
    // -(0.5 * 2 + 0.1 * 2 * 2) about Y, give or take the one sub-step's slowing.
    EXPECT_NEAR(drag->GetTorque(0).vector.y, -1.4f, 0.01f);
    EXPECT_LT(body.GetAngularVelocity().y, 2.0f);
    EXPECT_FLOAT_EQ(body.GetVelocity().x, 10.0f);
}

TEST(SimpleParts, InputForceFollowsHeadingAndPitch)
{
    struct TCase { float heading, pitch; CVector3 direction; /* body frame */ } cases[] = {
        {0.0f, 0.0f, {0.0f, 0.0f, -1.0f}}, // forward
        {90.0f, 0.0f, {1.0f, 0.0f, 0.0f}}, // right: body +X
        {0.0f, 90.0f, {0.0f, 1.0f, 0.0f}}, // up
        {-90.0f, 0.0f, {-1.0f, 0.0f, 0.0f}},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.heading << " " << c.pitch);
        CModelFixture fixture;
        fixture.Input("V_CH1", 0.5f);
        auto model = fixture.Load(StringPrintf(".INPUT_FORCE F { .MAX_FORCE 10 .HEADING %f .PITCH %f .VARIABLE V_CH1"
                                               " .POSITION 0 0 -1 }\n",
                                               static_cast<double>(c.heading), static_cast<double>(c.pitch)));
        // Yawed 90 deg: the body's axes are not the world's, so the test sees the conversion.
        const CMatrix3 yaw = CMatrix3::FromAxisAngle(CVector3(0.0f, 1.0f, 0.0f), 0.5f * kPi);
        model->GetBody().SetOrientation(yaw);
        model->UpdateModel(0.004f);
        const CForce& force = model->FindPart(PART_INPUT_FORCE, "F")->AsPhysic()->GetForce(0);
        const CVector3 expected = c.direction * 5.0f * yaw; // forces are computed before the step
        EXPECT_LT((force.vector - expected).Length(), 1e-4f);
        EXPECT_EQ(force.point, CVector3(0.0f, 0.0f, -1.0f));
    }
}

TEST(SimpleParts, MassPartsWeighWhatTheySay)
{
    CModelFixture fixture;
    auto model = fixture.Load(".SERVO S { .MASS 0.05 .POSITION 1 0 0 }\n"
                              ".BATTERY B { .POSITION -1 0 0 }\n" // default 0.1 kg
                              ".FUEL_TANK T { .CAPACITY 0.25 }\n");
    model->UpdateModel(0.02f);
    const CEngineDynamic& body = model->GetBody();
    EXPECT_NEAR(body.GetMass(), 0.05f + 0.1f + 0.25f, 1e-5f);
    EXPECT_NEAR(body.GetCentreOfMass().x, (0.05f - 0.1f) / 0.4f, 1e-5f);
}

// NegativeOrNaNMassIsDroppedWithoutAWord.
TEST(SimpleParts, AMassThatIsNoMassIsReportedNamingThePartAndTheKey)
{
    for (const char* block : {"SERVO", "BATTERY", "ENGINE_PROP", "WHEEL"})
        for (const char* mass : {"-2", "nan"})
        {
            SCOPED_TRACE(std::string(block) + " " + mass);
            CModelFixture fixture;
            CDiagCapture diag;
            auto model = fixture.Load(std::string(".") + block + " P { .MASS " + mass + " }\n");
            model->UpdateModel(0.02f);
            EXPECT_TRUE(diag.Contains(std::string(block) + " 'P': MASS " + mass)) << (diag.lines.empty() ? "" : diag.lines[0]);
            EXPECT_TRUE(std::isfinite(model->GetBody().GetMass()));
        }
}
} // namespace
