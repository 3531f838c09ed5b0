// The flight screen headless, on a small site of its own: what the pilot is told when a model
// or a recording fails, that a replaced model leaves nothing behind in the scene, that the keys
// reach the commands bound to them (camera modes, Space) and that the shipped instrument panels
// load whole and lie clear of the menu bar.

#include <filesystem>
#include <iterator>
#include <optional>

#include <gtest/gtest.h>
#include <osg/NodeVisitor>

#include "app/CProcFly.h"
#include "app/CProcFlyMenuBar.h"
#include "data/CFile.h"
#include "data/StringTable.h"
#include "gfx/instruments/CInstrumentPanel.h"
#include "gfx/instruments/CInstrumentPanelFactory.h"
#include "gfx/views/CViewFly.h"
#include "gfx/scene/ModelPresentation.h"
#include "input/CKeyDefTable.h"
#include "input/UserCommands.h"
#include "model/CModel.h"
#include "model/CModelServices.h"
#include "model/CVariableTable.h"
#include "sim/CFlightSession.h"
#include "gfx/GuiTestSupport.h"
#include "support/DiagCapture.h"
#include "support/InputEvents.h"
#include "support/DataDir.h"
#include "support/TestSite.h"

namespace fs = std::filesystem;

namespace
{
// The dropping model of the test site, shown with the dummy aeroplane.
const std::string kModel = std::string(".MODEL_INFO M\n{\n .3D_MODEL_FILE \"Dummy.osg\"\n}\n") + test_site::kDropModel;

int CountNamed(osg::Node* root, const std::string& name)
{
    struct CCounter : osg::NodeVisitor
    {
        CCounter(const std::string& n) : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN), name(n) {}
        void apply(osg::Node& node) override
        {
            count += node.getName() == name ? 1 : 0;
            traverse(node);
        }
        std::string name;
        int count = 0;
    } counter(name);
    if (root)
        root->accept(counter);
    return counter.count;
}

std::string ScreenText(CMessageList& list)
{
    std::string text;
    for (const CMessageList::TLine& line : list.Update(0.0))
        text += line.text + "\n";
    return text;
}

// The event a press of the command's default key makes, resolved as the frame does.
CInputEvent KeyPress(const CKeyDefTable& keys, uint32_t command)
{
    const CKeyDef& def = keys.Get(command);
    CInputEvent event = KeyEventOf(def.key, (def.flags & IE_MODIFIER_MASK) | kPressed);
    keys.Resolve(event);
    return event;
}

class ProcFlyTest : public ::testing::Test
{
protected:
    ProcFlyTest()
    {
        {
            // The menu titles and entries are the shipped texts.
            DataDirAt shipped(SourceDir());
            EXPECT_TRUE(LoadStringTable());
        }
        // The parts reference goes to ../DeveloperOutput: keep it inside the temporary folder.
        const fs::path run = dir.Path() / "run";
        fs::create_directories(run / "Output");
        EXPECT_TRUE(test_site::WriteSquareSite(run / "Data" / "3D" / "FlyingSite.osg", 0.0f));
        fs::copy_file(SourceDir() / "Data" / "3D" / "Dummy.osg", run / "Data" / "3D" / "Dummy.osg");
        dir.Write("run/Data/Model/Box.mod", kModel);
        dir.Write("run/Data/Model/Other.mod", kModel);
        base.emplace(run);
        fly.SetGuiHost(&host);
        fly.Init(nullptr);
        fly.Start();
    }
    ~ProcFlyTest() override
    {
        fly.End();
        base.reset();
        FreeStringTable();
    }

    CRecordingHost host; // first: the menu bar measures its titles in the loaded fonts
    TempDir dir;
    std::optional<DataDirAt> base;
    CProcFly fly;
};
} // namespace

TEST_F(ProcFlyTest, ModelThatFailsToLoadIsNamedOnScreenWithTheLoadersReason)
{
    ASSERT_TRUE(fly.SwitchModel("Box.mod"));
    EXPECT_EQ(ScreenText(fly.Messages()), "");

    EXPECT_FALSE(fly.SwitchModel("Missing.mod"));
    EXPECT_FALSE(fly.Session()->HasModel());
    const std::string text = ScreenText(fly.Messages());
    EXPECT_NE(text.find("Missing.mod could not be loaded"), std::string::npos) << text;
    EXPECT_NE(text.find("cannot be read"), std::string::npos) << text; // the loader's words

    // A good model clears the complaint.
    ASSERT_TRUE(fly.SwitchModel("Box.mod"));
    fly.Messages().Update(1.0); // the cancelled message fades out
    EXPECT_EQ(ScreenText(fly.Messages()), "");
}

TEST_F(ProcFlyTest, RecordingThatCannotStartIsReportedAndFlightStaysFree)
{
    ASSERT_TRUE(fly.SwitchModel("Box.mod"));
    fly.SetRecordingPath((dir.Path() / "no-such-folder" / "Flight.rec").string());
    EXPECT_NE(fly.OnEvent(CommandEvent(UC_RECORDING_START)), 0);
    EXPECT_EQ(fly.GetMode(), CProcFly::MODE_FREE_FLIGHT);
    const std::string text = ScreenText(fly.Messages());
    EXPECT_NE(text.find("The recording could not start"), std::string::npos) << text;

    // Where it can be written, recording starts.
    fly.SetRecordingPath((dir.Path() / "Flight.rec").string());
    fly.OnEvent(CommandEvent(UC_RECORDING_START));
    EXPECT_EQ(fly.GetMode(), CProcFly::MODE_RECORDING);
    fly.OnEvent(CommandEvent(UC_RECORDING_STOP));
    EXPECT_EQ(fly.GetMode(), CProcFly::MODE_FREE_FLIGHT);
}

TEST_F(ProcFlyTest, ReplacedOrFailedModelLeavesNoObjectInTheScene)
{
    // objects: "SO_Model" nodes in the scene afterwards
    const struct { const char* model; bool loads; int objects; } steps[] = {
        {"Box.mod", true, 1},
        {"Other.mod", true, 1},   // the old object goes
        {"Box.mod", true, 1},     // and back
        {"Missing.mod", false, 0},
        {"Box.mod", true, 1},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.model);
        EXPECT_EQ(fly.SwitchModel(step.model), step.loads);
        fly.Update(); // the model builds its parts, and so its 3D object, in its first frame
        EXPECT_EQ(CountNamed(fly.SceneRoot(), CModelPresentation::kObjectName), step.objects);
        EXPECT_EQ(fly.Presentation()->GetObjectIndex() != 0, step.objects == 1);
    }
}

// Regressions: the first icon of the button bar held the keyboard focus, so Space toggled the
// close-up window instead of putting the model back; a click on a camera button or into the
// close-up window must not take the keys either: Space resets, Return rights the model and 7
// toggles the close-up whatever was clicked last.
TEST_F(ProcFlyTest, PilotKeysWorkWhateverWasClickedLast)
{
    ASSERT_TRUE(fly.SwitchModel("Box.mod"));
    CKeyDefTable keys;
    keys.SetDefaultKeys();
    CViewFly* closeUp = fly.CloseUpView();
    // A frame as the application runs it: the click goes to the mouse handler, then to the key
    // handler when nothing took it; commands the controls posted arrive as events of their own.
    const auto click = [&](const CViewFly& view, int x, int y) {
        const TRect2D rect = view.Viewport().PixelRect();
        host.MouseAt(rect.x + x, rect.y + y);
        for (const CInputEvent& event : {MouseDown(), MouseUp()})
            if (fly.OnMouseButton(event) == 0)
                fly.OnEvent(event);
        const std::vector<CInputEvent> posted = std::move(host.posted);
        host.posted.clear();
        for (const CInputEvent& event : posted)
            fly.OnEvent(event);
        fly.Update();
    };
    const auto press = [&](uint32_t command) {
        const int result = fly.OnEvent(KeyPress(keys, command));
        fly.Update();
        return result;
    };
    const int bar = CViewFly::kButtonSize / 2; // up from the bottom edge: the camera bar
    const struct
    {
        const char* what;
        bool closeUpShown;
        bool onCloseUp;
        int x, y; // from the view's top-left corner; y < 0: from its bottom edge
        const char* pressed; // the clicked view's lit camera button afterwards; null: no click
    } clicks[] = {
        // Clicks on the main view's buttons and into the close-up are the flight e2e run's too.
        {"B_FEET of the main view", false, false, 128 + 12, -bar, "B_FEET"},
        {"B_FEET of the main view, close-up shown", true, false, 128 + 12, -bar, "B_FEET"},
        {"into the close-up", true, true, 120, 100, "B_FEET"},
        {"B_MAN of the close-up", true, true, 104 + 12, -bar, "B_MAN"},
    };
    for (const auto& step : clicks)
    {
        SCOPED_TRACE(step.what);
        if (closeUp->IsVisible() != step.closeUpShown)
        {
            ASSERT_EQ(press(UC_VIEW_CLOSE_UP_WINDOW), static_cast<int>(UC_VIEW_CLOSE_UP_WINDOW));
        }
        ASSERT_EQ(closeUp->IsVisible(), step.closeUpShown);
        CViewFly& view = step.onCloseUp ? *closeUp : *fly.MainView();
        if (step.pressed)
        {
            click(view, step.x, step.y < 0 ? view.Viewport().PixelRect().h + step.y : step.y);
            ASSERT_NE(view.PressedModeButton(), nullptr);
            EXPECT_STREQ(view.PressedModeButton(), step.pressed);
        }

        fly.OnEvent(CommandEvent(UC_MODEL_SET_ALTITUDE_100M));
        EXPECT_EQ(press(UC_MODEL_RESET_POSITION), static_cast<int>(UC_MODEL_RESET_POSITION));
        EXPECT_LT(fly.Session()->GetModel()->GetBody().GetPosition().y, 5.0f);
        EXPECT_EQ(press(UC_MODEL_TURN_UPRIGHT), static_cast<int>(UC_MODEL_TURN_UPRIGHT));
        EXPECT_EQ(closeUp->IsVisible(), step.closeUpShown) << "Return closed or opened the close-up";
        EXPECT_EQ(press(UC_VIEW_CLOSE_UP_WINDOW), static_cast<int>(UC_VIEW_CLOSE_UP_WINDOW));
        EXPECT_NE(closeUp->IsVisible(), step.closeUpShown) << "7 did not toggle the close-up";
    }
}

// Opening each list, closing it with a click on the field and choosing the exit entry are the
// flight e2e run's; this checks what a screenshot cannot: every entry lies inside the window.
TEST_F(ProcFlyTest, EveryMenuOpensUnderItsTitleWithEveryEntryInTheWindow)
{
    const CProcFlyMenuBar& bar = fly.MenuBar();
    // Ambient: wind, three times of day, the thermals switch and one entry per flying site.
    const size_t entries[] = {8, 7, 6, 7, 3, 4, UC_DEBUG_SELECT_NEXT_PART - UC_DEBUG_VARIABLES + 1};
    ASSERT_EQ(bar.Menus().size(), std::size(entries));
    for (size_t i = 0; i < std::size(entries); ++i)
    {
        const int menu = static_cast<int>(i);
        SCOPED_TRACE(bar.Menus()[i].title);
        EXPECT_EQ(bar.Menus()[i].entries.size(), entries[i]);
        const TRect2D title = bar.TitleRect(menu);
        EXPECT_GT(title.w, 20);
        EXPECT_LE(title.x + title.w, WindowClientWidth() - 246); // clear of the button bar
        host.MouseAt(title.x + title.w / 2, title.y + title.h / 2);
        EXPECT_NE(fly.OnMouseButton(MouseDown()), 0);
        ASSERT_EQ(bar.OpenMenu(), menu);
        int bottom = title.y + title.h;
        for (int e = 0; e < static_cast<int>(entries[i]); ++e)
        {
            const TRect2D r = bar.EntryRect(menu, e);
            EXPECT_EQ(r.x, title.x);
            EXPECT_GE(r.y, bottom); // below the title and the entry before
            EXPECT_LE(r.y + r.h, WindowClientHeight());
            bottom = r.y + r.h;
        }
    }
}

// Every shipped model loads with its panel whole (every variable, wing and wheel a gauge names
// exists), and every gauge lies below the flight screen's menu bar.
TEST(ProcFlyPanels, ShippedPanelsLoadWholeAndLieBelowTheMenuBar)
{
    DataDirAt shipped(SourceDir());
    CInstrumentPanelFactory factory;
    CVariableTable inputs("Input");
    for (int i = 1; i <= 9; ++i)
        inputs.Add("V_CH" + std::to_string(i));
    CModelServices services;
    services.panels = &factory;
    services.globalVariables = &inputs;
    int panels = 0;
    for (const auto& entry : fs::directory_iterator(SourceDir() / "Data" / "Model"))
    {
        if (entry.path().extension() != ".mod")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        CDiagCapture diag;
        CModel model(services);
        ASSERT_TRUE(model.LoadModel(entry.path().filename().string())) << testing::PrintToString(diag.lines);
        const CInstrumentPanel* panel = CInstrumentPanel::OfModel(model);
        ASSERT_NE(panel, nullptr);
        ++panels;
        EXPECT_FALSE(diag.Contains("instrument dropped")) << testing::PrintToString(diag.lines);
        EXPECT_GE(panel->GetInstrumentCount(), 3);
        for (int i = 0; i < panel->GetInstrumentCount(); ++i)
            EXPECT_GE(panel->GetInstrument(i)->GetY(), CProcFlyMenuBar::kBarHeight) << i;
        for (int i = 0; i < 20; ++i)
            model.UpdateModel(0.02f);
    }
    EXPECT_GE(panels, 3) << "the trainer, the glider and the delta have panels";
}

// The site is loaded before the first flight (while the main menu shows); a site that failed
// is still said when the flight starts, not while nobody looks.
TEST(ProcFlyStartTest, MissingSiteIsSaidWhenTheFlightStarts)
{
    CRecordingHost host;
    TempDir dir;
    fs::create_directories(dir.Path() / "run" / "Output");
    ScopedWorkingDir cwd(dir.Path() / "run");
    InitBaseDirectory();
    CDiagCapture quiet;
    CProcFly fly;
    fly.Init(nullptr);
    fly.Prepare();
    EXPECT_EQ(ScreenText(fly.Messages()), "");
    fly.Start();
    const std::string text = ScreenText(fly.Messages());
    EXPECT_NE(text.find("The flying site cannot be loaded"), std::string::npos) << text;
    fly.End();
}
