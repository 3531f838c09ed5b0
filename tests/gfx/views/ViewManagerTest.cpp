// Views and their manager without GL: stacking, click activation, dragging by the
// title bar, the close button and wireframe cycling.

#include <gtest/gtest.h>

#include "gfx/GuiTestSupport.h"
#include "gfx/views/CViewManager.h"
#include "input/UserCommands.h"

namespace
{

// A plain view at a given place.
class CProbeView : public CView
{
public:
    CProbeView(const char* name, TRect2D rect, int style = 0) : CView(name, style) { Viewport().SetPixelRect(rect); }
};

class ViewManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        manager.SetGuiHost(&host);
        manager.Add(&background);
        manager.Add(&left);
        manager.Add(&right);
        manager.SetBackground(0);
        manager.Activate(0);
    }

    void ClickAt(int x, int y)
    {
        host.MouseAt(x, y);
        manager.OnMouse(MouseDown());
        manager.OnMouse(MouseUp());
    }

    CRecordingHost host;
    CViewManager manager;
    CProbeView background{"Main", {0, 0, 1024, 768}};
    CProbeView left{"Left", {100, 100, 200, 200}, CView::VS_TITLE_BAR | CView::VS_CLOSE_BUTTON};
    CProbeView right{"Right", {250, 150, 200, 200}, CView::VS_TITLE_BAR};
};
} // namespace

// A click activates the front-most shown view under the mouse and brings it to the front; the
// background stays at the back of the stack whatever is clicked, even when it is active.
TEST_F(ViewManagerTest, ClickActivatesTheFrontMostViewUnderTheMouse)
{
    struct TClick { int x, y; int active; const char* what; };
    const TClick clicks[] = {
        {280, 180, 1, "in both small views: \"left\" was added first and is in front"},
        {400, 300, 2, "only \"right\""},
        {280, 180, 2, "now \"right\" is in front there"},
        {10, 10, 0, "the background"},
        {10, 700, 0, "the background again"},
        {150, 150, 1, "\"left\""},
    };
    for (const TClick& click : clicks)
    {
        ClickAt(click.x, click.y);
        EXPECT_EQ(manager.ActiveSlot(), click.active) << click.what;
        for (int slot = 0; slot < manager.Count(); ++slot)
            EXPECT_EQ(manager.View(slot)->IsActive(), slot == click.active) << click.what;
        EXPECT_EQ(manager.StackEntry(manager.Count() - 1), 0) << click.what;
        EXPECT_TRUE(click.active == 0 || manager.StackEntry(0) == click.active) << click.what << ": in front";
    }
    left.Show(false); // hidden views are not hit
    ClickAt(150, 150);
    EXPECT_EQ(manager.ActiveSlot(), 0);
}

TEST_F(ViewManagerTest, NonModalViewPassesUnhandledCommandsOn)
{
    EXPECT_EQ(manager.OnCommand(CommandEvent(UC_MODEL_RESET_POSITION)), 0);
    EXPECT_EQ(manager.OnCommand(CommandEvent(UC_DEBUG_SCENEGRAPH_STATS)), static_cast<int>(UC_DEBUG_SCENEGRAPH_STATS));
}

TEST_F(ViewManagerTest, DraggingMovesTheViewByExactlyTheMouseMovement)
{
    host.MouseAt(150, 105); // title bar of "left"
    EXPECT_EQ(manager.OnMouse(MouseDown()), static_cast<int>(UC_UNDEFINED));
    EXPECT_TRUE(left.IsDragging());
    host.MouseAt(187, 80);
    left.Run();
    EXPECT_EQ(manager.OnMouse(KeyDown(KEY_MOUSE_RIGHT)), static_cast<int>(UC_UNDEFINED));
    EXPECT_EQ(manager.OnMouse(MouseUp()), static_cast<int>(UC_UNDEFINED));
    EXPECT_FALSE(left.IsDragging());
    const TRect2D& rect = left.Viewport().PixelRect();
    EXPECT_EQ(rect.x, 137);
    EXPECT_EQ(rect.y, 75);

    // Pressed below the title bar: activated, not dragged.
    host.MouseAt(250, 300);
    manager.OnMouse(MouseDown());
    EXPECT_EQ(manager.ActiveSlot(), 2);
    EXPECT_FALSE(right.IsDragging());
}

TEST_F(ViewManagerTest, CloseButtonRequestsClosingUntilTheOwnerClearsIt)
{
    ClickAt(108, 108); // the close button sits in the title bar's left corner
    left.Run();
    EXPECT_TRUE(left.IsCloseRequested());
    EXPECT_FALSE(left.IsDragging());
    left.ClearCloseRequest();
    left.Run();
    EXPECT_FALSE(left.IsCloseRequested());

    // Clicked into, the view leaves Space and Return to the pilot: its close button takes neither.
    ClickAt(250, 250);
    ASSERT_EQ(manager.ActiveSlot(), 1);
    for (uint32_t key : {uint32_t(DIK_SPACE), uint32_t(DIK_RETURN)})
    {
        EXPECT_EQ(manager.OnCommand(KeyDown(key)), 0) << "key " << key << " went to the close button";
        left.Run();
        EXPECT_FALSE(left.IsCloseRequested());
    }
}

TEST(ViewTest, ThreeWireframeCommandsReturnToTheStartingMode)
{
    CView view("V", 0);
    const int start = view.Viewport().PolygonModeIndex();
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i)
    {
        view.OnCommand(CommandEvent(UC_DEBUG_WIREFRAME));
        seen.push_back(view.Viewport().PolygonModeIndex());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(view.Viewport().PolygonModeIndex(), start);
}

// Without a window the size is 1024 x 768; the GL suite resizes a real one.
TEST(ViewportTest, PixelAndNormalisedRectanglesFollowEachOther)
{
    CViewport viewport;
    viewport.SetNormalisedRect(0.75f, 0.05f, 0.25f, 0.25f);
    EXPECT_EQ(viewport.PixelRect().x, 768);
    EXPECT_EQ(viewport.PixelRect().y, 38); // 38.4 rounded
    EXPECT_EQ(viewport.PixelRect().w, 256);
    EXPECT_EQ(viewport.PixelRect().h, 192);
    int x, y, w, h;
    viewport.GetGlRect(x, y, w, h);
    EXPECT_EQ(y, 768 - 38 - 192); // OpenGL counts from the bottom
}
