#include <gtest/gtest.h>

#include <memory>

#include "gfx/GuiTestSupport.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/gui/CControlPageEx.h"
#include "gfx/draw2d/CFontList.h"

namespace
{
class ControlPageTest : public ::testing::Test
{
protected:
    ControlPageTest()
    {
        m_page.SetEnabled(true);
        m_page.SetGuiHost(&m_host);
    }

    // Links at rows 0, 2, 4 and plain texts at rows 1, 3 (Tab must skip those).
    void AddMenu()
    {
        for (int i = 0; i < 5; ++i)
        {
            m_texts.push_back(std::make_unique<CCI_StaticText>(10, 10 + 40 * i, "Entry", i % 2 == 0 ? ST_MENU_LINK : ST_PLAIN));
            m_page.Add(m_texts.back().get());
        }
    }

    CRecordingHost m_host;
    CControlPageEx m_page;
    std::vector<std::unique_ptr<CCI_StaticText>> m_texts;
};

TEST_F(ControlPageTest, FirstFocusableControlAddedTakesTheFocus)
{
    CCI_StaticText title(400, 15, "Kestro", ST_TITLE);
    m_page.Add(&title);
    EXPECT_EQ(m_page.FocusIndex(), -1);
    CCI_StaticText link(300, 120, "Fly", ST_MENU_LINK);
    m_page.Add(&link);
    EXPECT_EQ(m_page.Focused(), &link);
    EXPECT_TRUE(link.HasFocus());
    CCI_StaticText second(300, 152, "Exit", ST_MENU_LINK);
    m_page.Add(&second);
    EXPECT_EQ(m_page.Focused(), &link) << "adding more must not move the focus";
}

TEST_F(ControlPageTest, TabWalksFocusableControlsAndWraps)
{
    AddMenu();
    // sound: none when the key is not taken
    struct Step { CInputEvent event; int focus; const char* sound; };
    const Step steps[] = {
        {KeyDown(DIK_TAB, IE_CTRL), 0, nullptr}, {KeyDown(DIK_TAB, IE_ALT), 0, nullptr}, {KeyUp(DIK_TAB), 0, nullptr},
        {KeyDown(DIK_TAB), 2, "Pip5.wav"},
        {KeyRepeat(DIK_TAB), 4, "Pip5.wav"},
        {KeyDown(DIK_TAB), 0, "Pip5.wav"},            // wraps past the last
        {KeyDown(DIK_TAB, IE_SHIFT), 4, "Pip4.wav"}, // and back past the first
        {KeyDown(DIK_TAB, IE_SHIFT), 2, "Pip4.wav"},
    };
    for (const Step& step : steps)
    {
        m_host.sounds.clear();
        EXPECT_EQ(m_page.OnKey(step.event), step.sound ? kEventConsumed : kEventNotHandled);
        EXPECT_EQ(m_page.FocusIndex(), step.focus);
        EXPECT_EQ(m_host.sounds, step.sound ? std::vector<std::string>{step.sound} : std::vector<std::string>{});
    }
    // Nor on a disabled page.
    m_page.SetEnabled(false);
    EXPECT_EQ(m_page.OnKey(KeyDown(DIK_TAB)), kEventNotHandled);
}

TEST_F(ControlPageTest, MenuLinkArrowsMoveFocusAndEnterRequestsItsProcess)
{
    AddMenu();
    m_texts[4]->SetTargetProcess(0);
    EXPECT_EQ(m_page.OnKey(KeyDown(DIK_UP)), kEventConsumed);
    EXPECT_EQ(m_page.FocusIndex(), 4);
    EXPECT_EQ(m_page.OnKey(KeyDown(KEY_ENTER, IE_SHIFT)), kEventNotHandled);
    EXPECT_TRUE(m_host.requests.empty());
    EXPECT_EQ(m_page.OnKey(KeyDown(KEY_ENTER)), kEventConsumed);
    EXPECT_EQ(m_host.requests, std::vector<int>{0});
    EXPECT_TRUE(m_texts[4]->WasActivated());
    EXPECT_FALSE(m_texts[4]->WasActivated()) << "one-shot";
    EXPECT_EQ(m_page.OnKey(KeyDown(DIK_DOWN)), kEventConsumed);
    EXPECT_EQ(m_page.FocusIndex(), 0);
}

TEST_F(ControlPageTest, TallContentScrollsWithControlArrows)
{
    AddMenu();
    m_page.SetRect(TRect2D{0, 0, 300, 100});
    ASSERT_TRUE(m_page.HasScrollBar());
    EXPECT_EQ(m_page.ContentHeight(), 10 + 160 + 32);
    EXPECT_EQ(m_page.OnKey(KeyDown(DIK_DOWN, IE_CTRL)), kEventConsumed);
    EXPECT_EQ(m_page.ScrollOffset(), 16);
    EXPECT_EQ(m_page.OnKey(KeyRepeat(DIK_UP, IE_CTRL)), kEventConsumed);
    EXPECT_EQ(m_page.ScrollOffset(), 0);
    // Scrolled, the controls move up with the content.
    m_page.ScrollBy(32);
    EXPECT_EQ(m_texts[1]->AbsoluteRect().y, 50 - 32);
    // The focused control is scrolled into view.
    m_page.ScrollBy(-32);
    m_page.SetFocusTo(m_texts[4].get());
    m_page.Run();
    const TRect2D r = m_texts[4]->AbsoluteRect();
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.y + r.h, 100);
    m_page.SetRect(TRect2D{0, 0, 300, 600});
    EXPECT_FALSE(m_page.HasScrollBar());
}

TEST_F(ControlPageTest, RemovingOrDeletingTheFocusedControlMovesTheFocusOn)
{
    AddMenu();
    EXPECT_TRUE(m_page.Remove(m_texts[0].get()));
    EXPECT_EQ(m_page.Focused(), m_texts[2].get());
    m_texts[2].reset(); // deleted while on the page
    EXPECT_EQ(m_page.Count(), 3);
    EXPECT_EQ(m_page.Focused(), m_texts[4].get());
    m_page.Clear();
    EXPECT_EQ(m_page.Count(), 0);
    EXPECT_EQ(m_page.FocusIndex(), -1);
    EXPECT_EQ(m_texts[4]->Parent(), nullptr);
}

TEST_F(ControlPageTest, ClickGoesToTheControlUnderThePointerAndFocusesIt)
{
    AddMenu();
    m_texts[2]->SetTargetProcess(4);
    m_host.MouseAt(15, 10 + 80 + 5);
    EXPECT_EQ(m_page.OnMouse(MouseDown()), kEventConsumed);
    EXPECT_EQ(m_page.FocusIndex(), 2);
    EXPECT_EQ(m_host.requests, std::vector<int>{4});
    m_host.MouseAt(700, 95);
    EXPECT_EQ(m_page.OnMouse(MouseDown()), kEventNotHandled);

    // On a mouse-only page (a title or camera bar) the click still works but leaves no focus
    // behind to take the pilot's keys.
    m_page.SetMouseOnly(true);
    m_texts[4]->SetTargetProcess(5);
    m_host.MouseAt(15, 10 + 160 + 5);
    EXPECT_EQ(m_page.OnMouse(MouseDown()), kEventConsumed);
    EXPECT_EQ(m_host.requests, (std::vector<int>{4, 5}));
    EXPECT_EQ(m_page.Focused(), nullptr);
    EXPECT_FALSE(m_texts[4]->HasFocus());
}

TEST_F(ControlPageTest, TooltipWaitsForThePointerToRest)
{
    CCI_Button button(50, 50, 40, 20, "");
    button.SetHelp("Short help", "Long help");
    m_page.Add(&button);
    m_host.MouseAt(60, 60);
    m_page.Run();
    EXPECT_EQ(m_page.TooltipControl(), nullptr);
    m_host.idle = 0.5f;
    m_page.Run();
    EXPECT_EQ(m_page.TooltipControl(), &button);
    m_host.MouseAt(10, 60);
    m_page.Run();
    EXPECT_EQ(m_page.TooltipControl(), nullptr);
}

TEST_F(ControlPageTest, HelpLineShowsTheLongHelpUnderThePointerElseOfTheFocus)
{
    CCI_Button first(10, 10, 40, 20, "");
    first.SetHelp("First", "What the first button does.");
    CCI_Button second(10, 40, 40, 20, "");
    second.SetHelp("Second", "What the second button does.");
    m_page.Add(&first);
    m_page.Add(&second);
    m_page.SetRect(TRect2D{0, 0, 300, 200});
    EXPECT_EQ(m_page.HelpLineText(), "") << "off until asked for";
    EXPECT_EQ(m_page.HelpLineHeight(), 0);

    m_page.SetHelpLine(2);
    EXPECT_GT(m_page.HelpLineHeight(), 0);
    m_page.Run();
    EXPECT_EQ(m_page.HelpLineText(), "What the first button does.") << "nothing under the pointer: the focus";
    m_host.MouseAt(20, 45);
    m_page.Run();
    EXPECT_EQ(m_page.HelpLineText(), "What the second button does.") << "no resting needed, unlike the tooltip";
}

TEST_F(ControlPageTest, HelpLineWrapsAtWordsToThePageWidthAndKeepsItsLines)
{
    float charWidth = 0.0f, h = 0.0f;
    Fonts().TextExtent(Fonts().f07x12S, "M", 1.0f, charWidth, h);
    ASSERT_GT(charWidth, 0.0f);
    // Room for 20 characters between the margins.
    const int width = static_cast<int>(20.0f * charWidth) + 8 + 1;
    CCI_Button button(10, 10, 40, 20, "");
    button.SetHelp("B", "Wind speed in metres per second, from 0 to 20, aaaaaaaaaaaaaaaaaaaaaaaaa");
    m_page.Add(&button);
    m_page.SetRect(TRect2D{0, 0, width, 200});
    m_page.SetHelpLine(5);
    const std::vector<std::string> rows = m_page.HelpLineRows();
    // A word that fits exactly stays on its row; one longer than a row is cut.
    EXPECT_EQ(rows, (std::vector<std::string>{"Wind speed in metres", "per second, from 0", "to 20,",
                                              "aaaaaaaaaaaaaaaaaaaa", "aaaaa"}));
    m_page.SetHelpLine(2);
    EXPECT_EQ(m_page.HelpLineRows().size(), 2u) << "what does not fit the reserved lines is left out";
}

TEST(ControlPageNesting, AbsolutePositionAddsEveryEnclosingPage)
{
    CControlPageEx outer;
    outer.SetRect(TRect2D{100, 50, 600, 400});
    CControlPageEx inner;
    inner.SetRect(TRect2D{20, 30, 200, 200});
    outer.Add(&inner);
    CCI_Button button(5, 6, 10, 10, "");
    inner.Add(&button);
    std::pair<int, int> xy;
    button.GetAbsolutePosition(xy.first, xy.second);
    EXPECT_EQ(xy, std::make_pair(125, 86));
}
} // namespace
