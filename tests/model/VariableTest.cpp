#include <gtest/gtest.h>

#include "data/CComponentNode.h"
#include "data/CTokenFile.h"
#include "model/CPartVariable.h"
#include "model/CPropertySet_Servo.h"
#include "model/ModelTestSupport.h"
#include "model/PartClassTable.h"

namespace
{
// A component tree "MODEL" with one servo's properties below "Servo1", as the model builds it.
struct CServoTree
{
    CServoTree()
    {
        partNode = root.AddChild("Servo1", CLASS_CPartServo, nullptr);
        set = std::make_unique<CPropertySet_Servo>();
        set->RegisterComponents(*partNode);
    }
    float Speed() const { return set->FindProperty("SPEED")->GetFloat(); }
    CVector3 Position() const { return set->FindProperty("POSITION")->GetVector3(); }

    CComponentNode root{"MODEL", CLASS_CModel};
    CComponentNode* partNode = nullptr;
    std::unique_ptr<CPropertySet_Servo> set;
};

TEST(Variable, LinksResolveOnTheFirstAssignmentAndWriteTheirPropertyOrComponent)
{
    CServoTree tree;
    CVariable variable;
    variable.Init("V", "", "Servo1.SPEED", &tree.root, 0.7f);
    // Unresolved: reads 0, neither its own value nor the property's.
    EXPECT_EQ(variable.GetValue(), 0.0f);
    EXPECT_FLOAT_EQ(tree.Speed(), 0.6f);

    variable.SetValue(2.0f);
    EXPECT_FLOAT_EQ(tree.Speed(), 2.0f);
    EXPECT_FLOAT_EQ(variable.GetValue(), 2.0f);
    // Reads follow the property, whoever changes it.
    tree.set->FindProperty("SPEED")->SetFloat(3.5f);
    EXPECT_FLOAT_EQ(variable.GetValue(), 3.5f);

    // A link to a vector component writes that component only.
    tree.set->FindProperty("POSITION")->SetVector3(CVector3(1.0f, 2.0f, 3.0f));
    CVariable component;
    component.Init("C", "", "Servo1.POSITION.Y", &tree.root, 0.0f);
    EXPECT_EQ(component.GetValue(), 0.0f);
    component.SetValue(0.25f);
    EXPECT_EQ(tree.Position(), CVector3(1.0f, 0.25f, 3.0f));
    EXPECT_FLOAT_EQ(component.GetValue(), 0.25f);
}

TEST(Variable, UnresolvableLinksKeepTheOwnValue)
{
    const struct { const char* link; bool withRoot; } cases[] = {
        {"Servo1.NOPE", true},        // no such key (the paths themselves are the tree's business)
        {"Servo1", true},             // a part, not a property
        {"Servo1.DESCRIPTION", true}, // a text property cannot hold the value
        {"", true},                   // no link at all
        {"Servo1.SPEED", false},      // nothing to resolve against
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.link);
        CServoTree tree;
        CDiagCapture diag;
        CVariable variable;
        variable.Init("V", "", c.link, c.withRoot ? &tree.root : nullptr, 0.0f);
        EXPECT_EQ(variable.GetValue(), 0.0f);
        variable.SetValue(3.0f);
        EXPECT_FLOAT_EQ(variable.GetValue(), 3.0f);
        EXPECT_FLOAT_EQ(tree.Speed(), 0.6f);
        EXPECT_TRUE(c.link[0] == '\0' || !c.withRoot || diag.Contains(c.link));
    }
}

TEST(Variable, ALinkWhosePropertyWentAwayNeitherDanglesNorStaysLost)
{
    CServoTree tree;
    CVariable variable;
    variable.Init("V", "", "Servo1.POSITION.X", &tree.root, 0.0f);
    variable.SetValue(1.0f);
    EXPECT_FLOAT_EQ(tree.Position().x, 1.0f);

    // The part is deleted: its properties take their nodes with them.
    tree.set.reset();
    EXPECT_EQ(variable.GetValue(), 0.0f); // the own value; a dangling read would trip the sanitizer

    // A part of the same name comes back: the next assignment finds its property.
    tree.set = std::make_unique<CPropertySet_Servo>();
    tree.set->RegisterComponents(*tree.partNode);
    variable.SetValue(5.0f);
    EXPECT_FLOAT_EQ(tree.Position().x, 5.0f);

    // Gone for good: the variable holds the value itself.
    tree.set.reset();
    CDiagCapture diag;
    variable.SetValue(4.0f);
    EXPECT_FLOAT_EQ(variable.GetValue(), 4.0f);
    EXPECT_TRUE(diag.Contains("not found"));
}

TEST(VariableTable, LoadReadsEveryBlockAndLinksOnlyWithARoot)
{
    const std::string text = ".VARIABLE V_CH1 { .DESCRIPTION \"Aileron\" .VAL 0.5 }\n"
                             ".VARIABLE Trim { .LINK Servo1.SPEED .VAL 2 }\n.VARIABLE " + std::string(60, 'N') + " { }\n";
    CServoTree tree;
    for (bool withRoot : {true, false})
    {
        SCOPED_TRACE(withRoot);
        CTokenFile file;
        ASSERT_TRUE(file.LoadText(text, "Config.txt"));
        CVariableTable table;
        table.Add("Stale"); // loading starts from an empty table
        EXPECT_TRUE(table.Load(file, "Input", withRoot ? &tree.root : nullptr));
        ASSERT_EQ(table.Count(), 3);
        EXPECT_EQ(table.At(0)->GetDescription(), "Aileron");
        EXPECT_FLOAT_EQ(table.At(0)->GetOwnValue(), 0.5f);
        EXPECT_EQ(table.At(1)->GetLinkText(), withRoot ? "Servo1.SPEED" : "");
        EXPECT_EQ(table.At(2)->GetName(), std::string(50, 'N'));
        EXPECT_EQ(table.Find("V_CH1"), table.At(0)); // exact names only
        for (const char* missing : {"v_ch1", "V_CH", "Stale"})
            EXPECT_EQ(table.Find(missing), nullptr) << missing;
    }
}

TEST(VariableTable, SaveReadsBackWithoutValues)
{
    CVariableTable table("Input");
    table.Add("A")->Init("A", "first \"quoted\"", "", nullptr, 1.0f);
    table.Add("")->Init("", "nameless", "", nullptr, 0.0f); // would end the reading of the file
    table.Add("B")->Init("B", "second", "Servo1.POSITION.X", nullptr, 2.0f);
    TempDir dir;
    const std::string path = (dir.Path() / "Config.txt").string();
    {
        auto out = OpenFile(path, FM_WRITE);
        ASSERT_TRUE(out);
        CDiagCapture diag;
        EXPECT_FALSE(table.Save(*out));
    }
    EXPECT_EQ(dir.Read("Config.txt").find("VAL"), std::string::npos);

    CTokenFile file;
    ASSERT_TRUE(file.Load(path));
    CServoTree tree;
    CVariableTable back;
    back.Load(file, "Input", &tree.root);
    ASSERT_EQ(back.Count(), 2);
    const char* const expected[2][3] = {{"A", "first  quoted ", ""}, {"B", "second", "Servo1.POSITION.X"}};
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(back.At(i)->GetName(), expected[i][0]);
        EXPECT_EQ(back.At(i)->GetDescription(), expected[i][1]);
        EXPECT_EQ(back.At(i)->GetLinkText(), expected[i][2]);
    }
}

// A function writes its variable every frame; through a link that must cost the linked part
// nothing while the value stays the same. Every re-application of this servo repeats its
// "not found" remark, so the remarks count how often the part was re-applied (and the model
// re-weighed).
TEST(PartVariable, AnUnchangedValueWrittenEveryFrameDoesNotReapplyTheLinkedPart)
{
    struct TCase { const char* link; const char* what; } cases[] = {
        {"S.POSITION.X", "a component of a vector property"},
        {"S.MASS", "a float property"},
    };
    for (const TCase& c : cases)
    {
        CModelFixture fixture;
        fixture.Input("V_CH1", 0.5f);
        auto model = fixture.Load(std::string(".SERVO S { .VARIABLE Missing .MASS 1.0 }\n.BATTERY B { .MASS 1.0 }\n"
                                              ".VARIABLE Trim { .LINK \"") + c.link + "\" }\n.FUNCTION F { .OPS PUSH V_CH1 POP Trim }\n");
        ASSERT_TRUE(fixture.loaded) << c.what;
        CDiagCapture diag;
        const auto reapplications = [&] {
            int count = 0;
            for (const std::string& line : diag.lines)
                count += line.find("'Missing' not found") != std::string::npos ? 1 : 0;
            return count;
        };
        // The first frame links every part, and the first write changes the value once.
        RunFrames(*model, 1);
        EXPECT_EQ(reapplications(), 2) << c.what;
        RunFrames(*model, 10);
        EXPECT_EQ(reapplications(), 2) << c.what << ": the same value again is no change";

        // A real change still reaches the part and the mass properties.
        const CVector3 centre = model->GetBody().GetCentreOfMass();
        const float mass = model->GetBody().GetMass();
        fixture.Input("V_CH1", 2.0f);
        RunFrames(*model, 2); // the model weighs itself before the functions run
        EXPECT_EQ(reapplications(), 3) << c.what;
        EXPECT_TRUE(model->GetBody().GetCentreOfMass() != centre || model->GetBody().GetMass() != mass) << c.what;
    }
}

TEST(PartVariable, ApplyPropertiesResetsTheVariable)
{
    CModelFixture fixture;
    auto model = fixture.Load(".VARIABLE Trim { .INITIAL_VALUE 0.25 }\n");
    ASSERT_TRUE(fixture.loaded);
    auto* part = static_cast<CPartVariable*>(model->FindPart(PART_VARIABLE, "Trim"));
    ASSERT_NE(part, nullptr);
    RunFrames(*model, 1);
    CVariable& variable = part->GetVariable();
    EXPECT_EQ(variable.GetValue(), 0.0f); // unresolved until assigned
    EXPECT_FLOAT_EQ(variable.GetOwnValue(), 0.25f);
    variable.SetValue(0.9f);

    // An edit of the part starts the variable over.
    part->GetPropertySet().FindProperty("INITIAL_VALUE")->SetFloat(0.5f);
    EXPECT_EQ(variable.GetValue(), 0.0f);
    EXPECT_FLOAT_EQ(variable.GetOwnValue(), 0.5f);
}
} // namespace
