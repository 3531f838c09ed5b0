#include <gtest/gtest.h>

#include "data/CComponentNode.h"
#include "data/PropertyTestSets.h"

namespace
{
// MainKestro > MODEL > Wing (a part with every property type), Tail (part), Wing (a second
// part of the same name, registered later).
struct TTree
{
    CComponentNode root{"MainKestro", CLASS_CMainKestro};
    CEveryTypeSet wingSet;
    CEveryTypeSet tailSet;
    CComponentNode* model = nullptr;
    CComponentNode* wing = nullptr;
    CComponentNode* tail = nullptr;
    CComponentNode* secondWing = nullptr;

    TTree()
    {
        model = root.AddChild("MODEL", CLASS_CModel, nullptr);
        wing = model->AddChild("Wing", CLASS_CPartWing3, &wingSet);
        wingSet.RegisterComponents(*wing);
        tail = model->AddChild("Tail", CLASS_PartWing2, &tailSet);
        tailSet.RegisterComponents(*tail);
        secondWing = model->AddChild("Wing", CLASS_PartDrag, nullptr);
    }
};
} // namespace

TEST(ComponentNode, ResolvesPathsBelowTheModel)
{
    TTree tree;
    CProperty* position = tree.wingSet.FindProperty("POSITION");
    // classType: -1: no result
    struct TCase { const char* path; int classType; const void* object; };
    const TCase cases[] = {
        {"Wing.POSITION.X", CLASS_CPropertyComponent, position->Component(0)},
        {"Wing.POSITION.Z", CLASS_CPropertyComponent, position->Component(2)},
        {"Wing.POSITION", CLASS_CProperty, position},
        {"Wing.MASS", CLASS_CProperty, tree.wingSet.FindProperty("MASS")},
        {"Tail.MASS", CLASS_CProperty, tree.tailSet.FindProperty("MASS")},
        {"Wing", CLASS_CPartWing3, &tree.wingSet}, // the first of two equal names
        {"Wing.MASS.X", -1, nullptr},              // only vectors have components
        {"Wing.POSITION.W", -1, nullptr},
        {"wing.MASS", -1, nullptr}, // case-sensitive
        {"Fin.MASS", -1, nullptr},
        {"Wing.", -1, nullptr},
        {".Wing", -1, nullptr},
        {"Wing..MASS", -1, nullptr},
        {"", -1, nullptr},
    };
    for (const TCase& c : cases)
    {
        int classType = 99;
        CComponentNode* node = tree.model->Resolve(c.path, &classType);
        EXPECT_EQ(classType, c.classType) << c.path;
        EXPECT_EQ(node != nullptr ? node->Object() : nullptr, c.object) << c.path;
    }
    EXPECT_NE(tree.root.Resolve("MODEL.Tail.POSITION.Y"), nullptr);
}

TEST(ComponentNode, FirstMatchingSlotWinsAndEmptySlotsAreReused)
{
    TTree tree;
    const int slots = tree.model->SlotCount();

    tree.wingSet.UnregisterComponents();
    EXPECT_TRUE(tree.model->RemoveChild(tree.wing));
    EXPECT_EQ(tree.model->Resolve("Wing"), tree.secondWing);
    EXPECT_EQ(tree.model->Resolve("Wing.MASS"), nullptr);
    EXPECT_FALSE(tree.model->RemoveChild(tree.wing)) << "already gone";

    CComponentNode* third = tree.model->AddChild("Wing", CLASS_CPartWing3, nullptr);
    EXPECT_EQ(tree.model->SlotCount(), slots) << "the emptied slot is reused";
    EXPECT_EQ(tree.model->ChildAt(0), third);
    EXPECT_EQ(tree.model->Resolve("Wing"), third) << "slot order, not age, decides";
}

TEST(ComponentNode, OverlongPathsAreRefusedNotCut)
{
    CComponentNode root("MainKestro", CLASS_CMainKestro);
    const std::string name(CComponentNode::kMaxPathLength, 'A');
    root.AddChild(name, CLASS_CVariable, nullptr);
    root.AddChild(name.substr(0, 10), CLASS_CVariable, nullptr);
    EXPECT_NE(root.Resolve(name), nullptr);
    CDiagCapture diag;
    EXPECT_EQ(root.Resolve(name + "A"), nullptr);
    EXPECT_EQ(root.Resolve(name.substr(0, 10) + "." + name), nullptr);
    EXPECT_FALSE(diag.lines.empty());
}

TEST(ComponentNode, RegistrationFollowsTheLifeOfSetAndTree)
{
    CComponentNode root("MainKestro", CLASS_CMainKestro);
    CComponentNode* part = root.AddChild("Wing", CLASS_CPartWing3, nullptr);
    {
        CEveryTypeSet set;
        set.RegisterComponents(*part);
        set.RegisterComponents(*part);
        EXPECT_EQ(part->ChildCount(), kEveryTypeCount) << "registering again replaces";
        EXPECT_EQ(set.FindProperty("POSITION")->ComponentNode()->ChildCount(), 3);
    }
    EXPECT_EQ(part->ChildCount(), 0) << "a destroyed set leaves no dangling nodes";

    // The other order: the part's node goes first, the set later (ASan checks the access).
    auto set = std::make_unique<CEveryTypeSet>();
    set->RegisterComponents(*part);
    EXPECT_TRUE(root.RemoveChild(part));
    EXPECT_EQ(set->FindProperty("MASS")->ComponentNode(), nullptr);
    set.reset();
}

TEST(ClassTypes, TokensMatchTheirNumbers)
{
    for (int outside : {-1, int(CLASS_TYPE_COUNT), CLASS_TYPE_COUNT + 1})
        EXPECT_STREQ(ClassTypeToken(outside), "CLASS_TYPE_UNKNOWN") << outside;
    for (int i = 0; i < CLASS_TYPE_COUNT; ++i)
        EXPECT_EQ(FindClassType(ClassTypeToken(i)), i);
    EXPECT_EQ(FindClassType("CLASS_CPartWing"), -1);
}
