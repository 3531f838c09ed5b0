// Loads every shipped model through the flight model's own loader and checks each reference it
// makes: airfoils, the 3D object and its DOF nodes, the shadow texture, and the variables and
// parts its servos, wheels, wings and engines name.
#include <gtest/gtest.h>

#include <osg/Image>
#include <osgDB/ReadFile>
#include <osgSim/DOFTransform>

#include <memory>
#include <set>
#include <string>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "model/CDegreeOfFreedomList.h"
#include "model/CPart.h"
#include "model/ModelTestSupport.h"
#include "model/PartClassTable.h"

namespace
{
const char* const kModels[] = {"Trainer.mod", "Glider.mod", "Delta.mod"};

std::string DataDir() { return (SourceDir() / "Data").string(); }

// Every DOFTransform node name of a loaded scene.
class CDofNames : public osg::NodeVisitor
{
public:
    CDofNames() : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN) {}
    void apply(osg::Transform& node) override
    {
        if (dynamic_cast<osgSim::DOFTransform*>(&node))
            names.insert(node.getName());
        traverse(node);
    }
    std::set<std::string> names;
};

struct CLoadedModel
{
    explicit CLoadedModel(const std::string& name)
    {
        InitBaseDirectory(); // the working directory is the source tree, which holds Data/
        services.globalVariables = &inputs;
        services.presentation = &presentation;
        services.panels = &panels;
        for (const char* channel : {"V_CH1", "V_CH2", "V_CH3", "V_CH4", "V_CH5", "V_CH6", "V_CH7", "V_CH8"})
            inputs.Add(channel)->SetValue(0.0f);
        SetDiagnosticSink([this](const std::string& line) { diagnostics += line; });
        model = std::make_unique<CModel>(services);
        loaded = model->LoadModel(name);
        if (loaded)
            for (int i = 0; i < 5; ++i)
                model->UpdateModel(0.02f);
        SetDiagnosticSink({});
    }
    // The files the model asked for: its 3D object, its shadow texture, its panel.
    const std::string& ObjectFile() const { return presentation.requested.at(0); }
    const std::string& ShadowFile() const { return presentation.requested.at(1); }
    const std::string& PanelFile() const { return panels.requested.at(0); }

    CVariableTable inputs{"Input"};
    CRecordingPresentation presentation;
    CRecordingPanels panels;
    CModelServices services;
    std::unique_ptr<CModel> model;
    std::string diagnostics;
    bool loaded = false;
};

class ShippedModel : public ::testing::TestWithParam<const char*>
{
protected:
    ShippedModel() : cwd(SourceDir()) {}
    ScopedWorkingDir cwd;
};

TEST_P(ShippedModel, LoadsWithoutAComplaint)
{
    CLoadedModel m(GetParam());
    ASSERT_TRUE(m.loaded);
    // Headless there is no panel to load: the only remark allowed is that one.
    std::string rest = m.diagnostics;
    const std::string panelRemark = "instrument panel '" + m.PanelFile() + "' not loaded";
    for (size_t at; (at = rest.find(panelRemark)) != std::string::npos;)
        rest.erase(rest.rfind('\n', at) == std::string::npos ? 0 : rest.rfind('\n', at), at + panelRemark.size());
    EXPECT_EQ(rest.find_first_not_of("\n"), std::string::npos) << m.diagnostics;
    // Every part linked: its airfoil, variables, servos and propeller were found.
    for (int i = 0; i < m.model->GetPartCount(); ++i)
    {
        const CPart* part = m.model->GetPart(i);
        EXPECT_TRUE(part->IsLinked()) << GetPartClass(part->GetClassIndex())->blockToken << " " << part->GetName();
    }
}

TEST_P(ShippedModel, ObjectAndShadowExistAndMatch)
{
    CLoadedModel m(GetParam());
    ASSERT_TRUE(m.loaded);
    ASSERT_EQ(m.presentation.requested.size(), 2u);
    ASSERT_EQ(m.panels.requested.size(), 1u);

    osg::ref_ptr<osg::Node> object = osgDB::readNodeFile(DataDir() + "/3D/" + m.ObjectFile());
    ASSERT_TRUE(object) << m.ObjectFile();
    CDofNames dofs;
    object->accept(dofs);
    // Each DOF the parts asked for by name is a node of the object.
    CDegreeOfFreedomList& list = m.model->GetDegreesOfFreedom();
    ASSERT_GT(list.Count(), 0);
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(dofs.names.count(list.At(i)->Name()), 1u) << list.At(i)->Name() << " missing from "
                                                              << m.ObjectFile();
    const osg::ref_ptr<osg::Image> shadow = osgDB::readImageFile(DataDir() + "/Textures/" + m.ShadowFile());
    EXPECT_TRUE(shadow) << m.ShadowFile();
    // (The panel, through the panel loader itself: ProcFlyPanels.ShippedPanelsLoadWholeAndLieBelowTheMenuBar.)
}

INSTANTIATE_TEST_SUITE_P(Content, ShippedModel, ::testing::ValuesIn(kModels));

// Between them the shipped models use every part class, so each one is exercised by real content.
TEST(ShippedModels, UseEveryPartClass)
{
    ScopedWorkingDir cwd(SourceDir());
    std::set<int> used;
    for (const char* name : kModels)
    {
        CLoadedModel m(name);
        ASSERT_TRUE(m.loaded) << name;
        for (int i = 0; i < m.model->GetPartCount(); ++i)
            used.insert(m.model->GetPart(i)->GetClassIndex());
    }
    for (int index = 0; index < PART_CLASS_COUNT; ++index)
        EXPECT_EQ(used.count(index), 1u) << GetPartClass(index)->blockToken;
}
} // namespace
