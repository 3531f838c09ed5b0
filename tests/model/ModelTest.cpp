#include <gtest/gtest.h>

#include "data/CPropertySet.h"
#include "model/CPart.h"
#include "model/CPartModelInfo.h"
#include "model/CPartPhysic.h"
#include "model/PartClassTable.h"
#include "model/ModelTestSupport.h"

namespace
{
const char* const kGravityOnly = ".GRAVITY G\n{\n}\n";

// A model with a recording of its overlay messages.
class ModelMessages : public ::testing::Test
{
protected:
    void SetUp() override { fixture.services.messages = &messages; }
    CModelFixture fixture;
    CRecordingMessages messages;
};

TEST(Model, PartsComeInClassOrderThenFileOrder)
{
    CModelFixture fixture;
    auto model = fixture.Load(".BATTERY Second { }\n.SERVO S { }\n.MODEL_INFO M { }\n.BATTERY First { }\n.GRAVITY G { }\n");
    ASSERT_TRUE(fixture.loaded);
    const char* const expected[][2] = {
        {"MODEL_INFO", "M"}, {"GRAVITY", "G"}, {"SERVO", "S"}, {"BATTERY", "Second"}, {"BATTERY", "First"}};
    ASSERT_EQ(model->GetPartCount(), 5);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_STREQ(GetPartClass(model->GetPart(i)->GetClassIndex())->blockToken, expected[i][0]) << i;
        EXPECT_EQ(model->GetPart(i)->GetName(), expected[i][1]) << i;
    }
    EXPECT_EQ(model->GetModelInfo(), model->GetPart(0));
}

TEST(Model, MasslessModelFallsAsAOneKilogramCubeCoveringHalfGTSquared)
{
    CModelFixture fixture;
    auto model = fixture.Load(kGravityOnly);
    CEngineDynamic& body = model->GetBody();
    body.SetPosition(CVector3(0.0f, 100.0f, 0.0f));
    RunFrames(*model, 1);
    EXPECT_FLOAT_EQ(body.GetMass(), 1.0f);
    EXPECT_NEAR(body.GetCentreOfMass().Length(), 0.0f, 1e-5f);
    // A metre cube sampled 20 per axis: 0.025^2 * (1^2 + 3^2 + ... + 19^2) / 10 * 2 = 0.16625.
    for (int k : {0, 4, 8})
        EXPECT_NEAR(body.GetInertia()[k], 0.16625f, 1e-4f);
    ASSERT_NE(model->GetModelInfo(), nullptr); // made up

    RunFrames(*model, 49); // 1 s in all
    // Semi-implicit Euler with 0.004 s steps overshoots by g*h*t/2 = 0.0196 m.
    EXPECT_NEAR(100.0f - body.GetPosition().y, 4.905f, 0.03f);
    EXPECT_NEAR(body.GetVelocity().y, -9.81f, 1e-3f);
    EXPECT_NEAR(body.GetPosition().x, 0.0f, 1e-6f);
    // Still air: the model sees the air rise past it.
    EXPECT_NEAR(model->GetVerticalAirSpeed(), 9.81f, 1e-3f);
}

TEST(Model, EnableMaskDropsForcesOrMass)
{
    CModelFixture fixture;
    auto model = fixture.Load(".GRAVITY G\n{\n}\n.BATTERY B\n{\n .MASS 2.0\n}\n.BATTERY C\n{\n .MASS 3.0\n}\n");
    CPart* gravity = model->FindPart(PART_GRAVITY, "G");
    ASSERT_NE(gravity, nullptr);
    gravity->SetEnableMask(CPart::kEnableMass | CPart::kEnableRender);
    model->FindPart(PART_BATTERY, "C")->SetEnableMask(CPart::kEnableForces);
    model->GetBody().SetPosition(CVector3(0.0f, 10.0f, 0.0f));
    RunFrames(*model, 10);
    // Gravity without its force bit pulls at nothing; the battery without its mass bit weighs nothing.
    EXPECT_EQ(gravity->AsPhysic()->GetForce(0).vector, CVector3());
    EXPECT_FLOAT_EQ(model->GetBody().GetPosition().y, 10.0f);
    EXPECT_NEAR(model->GetBody().GetMass(), 2.0f, 1e-5f);
}

TEST(Model, UprightAidLiftsNearTheGroundAndOnlyDampsFromThreeMetres)
{
    CModelFixture fixture;
    auto model = fixture.Load("");
    CEngineDynamic& body = model->GetBody();
    model->UpdateModel(0.0f); // link and weigh
    body.SetPosition(CVector3(0.0f, 0.5f, 0.0f));
    model->SetUpright(true);
    model->UpdateModel(0.004f); // one sub-step at 0.5 m
    ASSERT_EQ(body.GetForce(body.GetForceCount() - 1)->name, "Upright Model");
    ASSERT_EQ(body.GetTorque(body.GetTorqueCount() - 1)->name, "Upright Model");
    const CForce* force = body.GetForce(body.GetForceCount() - 1);
    const CTorque* torque = body.GetTorque(body.GetTorqueCount() - 1);
    // k = 1 - 0.5 * 0.5, times 1 kg times 19.62 m/s^2, at the body point one metre up.
    EXPECT_NEAR(force->vector.y, 0.75f * 19.62f, 1e-4f);
    EXPECT_EQ(force->point, CVector3(0.0f, 1.0f, 0.0f));

    body.SetPosition(CVector3(0.0f, 3.0f, 0.0f));
    body.SetAngularVelocity(CVector3(0.0f, 1.0f, 0.0f));
    model->UpdateModel(0.02f);
    EXPECT_EQ(force->vector, CVector3());
    EXPECT_LT(torque->vector.y, 0.0f);
    EXPECT_LT(body.GetAngularVelocity().y, 1.0f);

    model->SetUpright(false);
    model->UpdateModel(0.004f);
    EXPECT_EQ(torque->vector, CVector3());
}

TEST_F(ModelMessages, DamageMessageAfterTwoSecondsOfHardContacts)
{
    auto model = fixture.Load("");
    model->UpdateModel(0.0f);
    model->GetBody().SetVelocity(CVector3(5.0f, 0.0f, 0.0f));
    model->GetBody().SetPosition(CVector3(0.0f, 1000.0f, 0.0f));
    model->AddContact(0, 8.0f);
    model->AddContact(0, 8.0f);
    model->AddContact(1, 100.0f); // other kinds never count
    RunFrames(*model, 90);        // 1.8 s
    EXPECT_TRUE(messages.shown.empty());
    RunFrames(*model, 20);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Damage: 16");
    EXPECT_FLOAT_EQ(messages.shown[0].seconds, 4.0f);
    EXPECT_EQ(model->GetDamageSum(), 0.0f);
}

TEST_F(ModelMessages, ResetHintShowsWhileRestingAndGoesWhenContactsStop)
{
    auto model = fixture.Load("");
    model->UpdateModel(0.0f);
    model->AddContact(0, 11.0f); // at rest: into the rest sum
    model->UpdateModel(0.02f);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Press <key> to reset model position\nor\nPress <key> to turn model upright");
    EXPECT_LE(messages.shown[0].seconds, 0.0f);
    // Still resting during the first second: the hint stays.
    model->AddContact(0, 1.0f);
    RunFrames(*model, 60);
    EXPECT_FALSE(messages.shown[0].removed);
    // A full second without contacts removes it.
    RunFrames(*model, 60);
    EXPECT_TRUE(messages.shown[0].removed);
    EXPECT_FALSE(model->IsResetMessageShown());
}

TEST(Model, WingRecordsFollowAnEditedSegmentCountInListOrder)
{
    CModelFixture fixture;
    auto model = fixture.Load(".GRAVITY G { }\n.WING3 W { .SYMMETRICAL 0 .NUMBER_OF_SEGMENTS 1 }\n.COLLISION_POINT C { }\n");
    ASSERT_TRUE(fixture.loaded);
    auto* wing = model->FindPart(PART_WING3, "W")->AsPhysic();
    const auto names = [&] {
        std::string text;
        for (int i = 0; i < model->GetBody().GetForceCount(); ++i)
            text += model->GetBody().GetForce(i)->name + ",";
        return text;
    };
    model->UpdateModel(0.02f);
    EXPECT_EQ(names(), "Gravity,Seg0 Lift,Seg0 Drag,Collision Point,Upright Model,");

    CPropertySet& set = wing->GetPropertySet();
    set.FindProperty("NUMBER_OF_SEGMENTS")->SetInt(2);
    set.FindProperty("SYMMETRICAL")->SetInt(1);
    model->UpdateModel(0.02f);
    EXPECT_EQ(names(), "Gravity,Seg0 Lift,Seg0 Drag,Seg1 Lift,Seg1 Drag,Seg2 Lift,Seg2 Drag,Seg3 Lift,Seg3 Drag,"
                       "Collision Point,Upright Model,");
    EXPECT_EQ(model->GetBody().GetForce(8), &wing->GetForce(7)) << "the body sums the part's own records";

    set.FindProperty("SYMMETRICAL")->SetInt(0);
    model->UpdateModel(0.02f);
    EXPECT_EQ(names(), "Gravity,Seg0 Lift,Seg0 Drag,Seg1 Lift,Seg1 Drag,Collision Point,Upright Model,");
    EXPECT_EQ(wing->GetForce(7).vector, CVector3()) << "a record left out carries no stale force";
}

// --- Refusals: what the model file must not be able to do.

TEST(ModelRefusals, TooManyForceRecordsAreRefusedAtLoad)
{
    struct TCase { const char* block; int count; bool loads; const char* what; } cases[] = {
        {"INPUT_FORCE", 127, true, "127 + the upright record: exactly 128 forces"},
        {"INPUT_FORCE", 128, false, "129 forces"},
        {"DRAG", 31, true, "31 + 1 = 32 torques"},
        {"DRAG", 32, false, "33 torques"},
        // A WING3 hands the body two records per segment it has, not all twenty it owns.
        {"WING3", 15, true, "default wings (2 segments, mirrored): 15 x 8 + 1 = 121 forces"},
        {"WING3", 16, false, "16 x 8 + 1 = 129 forces"},
    };
    for (const TCase& c : cases)
    {
        CModelFixture fixture;
        CDiagCapture diag;
        std::string text;
        for (int i = 0; i < c.count; ++i)
            text += StringPrintf(".%s P%i\n{\n}\n", c.block, i);
        auto model = fixture.Load(text, "many.mod");
        EXPECT_EQ(fixture.loaded, c.loads) << c.what;
        if (!c.loads)
        {
            EXPECT_TRUE(diag.Contains("many.mod") && diag.Contains("at most 128 and 32")) << c.what;
            EXPECT_EQ(model->GetBody().GetForceCount(), 0) << "no record registered: " << c.what;
            EXPECT_EQ(model->GetPartCount(), 0) << c.what;
        }
        model->UpdateModel(0.02f); // it runs; a refused one is a harmless empty model
    }
}

TEST(ModelRefusals, FileNamesThatClimbOutOfTheirFolderAreRefused)
{
    CModelFixture fixture;
    CRecordingPresentation presentation;
    CRecordingPanels panels;
    fixture.services.presentation = &presentation;
    fixture.services.panels = &panels;
    CDiagCapture diag;
    fixture.dir.Write("secret.txt", ".OUTPUT_FILE\n{\n .FILE_NAME \"x.txt\"\n}\n");
    auto model = fixture.Load(".OUTPUT_FILE \"../secret.txt\"\n.MODEL_INFO M { .3D_MODEL_FILE \"../../etc/passwd\""
                              " .SHADOW_TEXTURE_FILE \"/etc/shadow\" .INSTRUMENT_PANEL_FILE \"..\\\\Panel.txt\" }\n");
    EXPECT_TRUE(fixture.loaded);
    model->UpdateModel(0.02f);
    EXPECT_TRUE(presentation.requested.empty());
    EXPECT_TRUE(panels.requested.empty());
    EXPECT_EQ(model->GetOutputFile(), nullptr);
    for (const char* refusal : {"OUTPUT_FILE '../secret.txt' refused", "3D_MODEL_FILE '../../etc/passwd' refused",
                                "SHADOW_TEXTURE_FILE '/etc/shadow' refused", "INSTRUMENT_PANEL_FILE"})
        EXPECT_TRUE(diag.Contains(refusal)) << refusal;

    // Plain names are asked for.
    model = fixture.Load(".MODEL_INFO M { .3D_MODEL_FILE \"Trainer.osg\" .SHADOW_TEXTURE_FILE \"Shadow.bmp\""
                         " .INSTRUMENT_PANEL_FILE \"Panel.txt\" }\n");
    model->UpdateModel(0.02f);
    EXPECT_EQ(panels.requested, std::vector<std::string>{"Panel.txt"});
    EXPECT_EQ(presentation.requested, (std::vector<std::string>{"Trainer.osg", "Shadow.bmp"}));
    ASSERT_NE(model->GetModelInfo(), nullptr);
    EXPECT_TRUE(model->GetModelInfo()->Is3DObjectLoaded());
}

TEST(ModelRefusals, IntegrationStepOutsideItsRangeIsClamped)
{
    CModelFixture fixture;
    CDiagCapture diag;
    auto model = fixture.Load(".MODEL_INFO M\n{\n .MAX_INTEGRATION_STEP 0.0000001\n}\n");
    model->UpdateModel(0.02f);
    EXPECT_FLOAT_EQ(model->GetBody().GetMaxIntegrationStep(), 0.001f);
    EXPECT_LE(model->GetBody().GetLastSubStepLength(), 0.001f);
    EXPECT_GE(model->GetBody().GetLastSubStepCount(), 20);
    EXPECT_TRUE(diag.Contains("MAX_INTEGRATION_STEP"));
}
} // namespace
