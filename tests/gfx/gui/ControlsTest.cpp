#include <gtest/gtest.h>

#include "gfx/GuiTestSupport.h"
#include "data/CStringList.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/gui/CCI_ComboBox.h"
#include "gfx/gui/CCI_EditNumber.h"
#include "gfx/gui/CCI_EditString.h"
#include "gfx/gui/CCI_KeyDefBox.h"
#include "gfx/gui/CCI_ListBox.h"
#include "gfx/gui/CCI_RadioButton.h"
#include "gfx/gui/CCI_Slider.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/gui/CCI_Tree.h"
#include "input/UserCommands.h"

namespace
{
class ButtonTest : public ::testing::Test
{
protected:
    ButtonTest() : m_button(100, 100, 80, 24, "B_HOME")
    {
        m_button.SetReleaseCommand(UC_CAMERA_RESET_POSITION);
        m_button.SetRepeatCommand(UC_CAMERA_ZOOM_IN);
        m_button.SetGuiHost(&m_host);
    }
    CRecordingHost m_host;
    CCI_Button m_button;
};

// Controls on the recording host.
class ControlTest : public ::testing::Test
{
protected:
    CRecordingHost host;
};

TEST_F(ButtonTest, KeyboardPressRepeatsThenReleaseFires)
{
    EXPECT_EQ(m_button.OnKey(KeyDown(KEY_ENTER, IE_SHIFT)), kEventNotHandled);
    EXPECT_EQ(m_button.OnKey(KeyDown(DIK_A)), kEventNotHandled);
    EXPECT_EQ(m_button.OnKey(KeyUp(KEY_SPACE)), kEventNotHandled) << "a release it never saw pressed";
    EXPECT_TRUE(m_host.posted.empty());

    EXPECT_EQ(m_button.OnKey(KeyDown(KEY_ENTER)), kEventConsumed);
    EXPECT_TRUE(m_button.IsPressed());
    EXPECT_TRUE(m_button.WasActivated());
    ASSERT_EQ(m_host.posted.size(), 1u);
    EXPECT_EQ(m_host.posted[0], CommandEvent(UC_CAMERA_ZOOM_IN));
    EXPECT_EQ(m_button.OnKey(KeyRepeat(KEY_ENTER)), kEventConsumed);
    EXPECT_EQ(m_host.posted.size(), 2u);
    EXPECT_EQ(m_button.OnKey(KeyUp(KEY_ENTER)), kEventConsumed);
    EXPECT_FALSE(m_button.IsPressed());
    ASSERT_EQ(m_host.posted.size(), 3u);
    EXPECT_EQ(m_host.posted[2].command, UC_CAMERA_RESET_POSITION);
    EXPECT_EQ(m_host.sounds.front(), "ht_pb1.wav");
    EXPECT_EQ(m_host.sounds.back(), "ht_pb2.wav");
}

TEST_F(ButtonTest, MouseFiresOnlyWhenPressedAndReleasedInside)
{
    m_host.MouseAt(180, 110); // the right edge is exclusive: left for others
    EXPECT_EQ(m_button.OnMouse(MouseDown()), kEventNotHandled);
    m_host.MouseAt(110, 110);
    EXPECT_EQ(m_button.OnMouse(MouseDown()), kEventConsumed);
    EXPECT_TRUE(m_button.IsPressed());
    m_host.MouseAt(500, 110);
    EXPECT_EQ(m_button.OnMouse(MouseUp()), kEventConsumed);
    EXPECT_FALSE(m_button.IsPressed());
    EXPECT_TRUE(m_host.posted.empty());

    m_button.SetTargetProcess(9);
    m_host.MouseAt(179, 123);
    EXPECT_EQ(m_button.OnMouse(MouseDown()), kEventConsumed);
    m_button.WasActivated();
    EXPECT_EQ(m_button.OnMouse(MouseUp()), kEventConsumed);
    ASSERT_EQ(m_host.posted.size(), 1u);
    EXPECT_EQ(m_host.posted[0].command, UC_CAMERA_RESET_POSITION);
    EXPECT_EQ(m_host.requests, std::vector<int>{9});
    EXPECT_TRUE(m_button.WasActivated());
}

TEST_F(ControlTest, CheckBoxTogglePlaysOnOffSoundsAndPostsItsCommand)
{
    CCI_CheckBox box(0, 0, "Sound");
    box.SetCommand(UC_SOUND_ENGINE_ENABLE);
    box.SetGuiHost(&host);
    EXPECT_EQ(box.OnKey(KeyDown(KEY_SPACE)), kEventConsumed);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(box.OnKey(KeyDown(KEY_ENTER)), kEventConsumed);
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(box.OnKey(KeyRepeat(KEY_ENTER)), kEventNotHandled);
    EXPECT_EQ(host.sounds, (std::vector<std::string>{"ht_sw1.wav", "ht_sw2.wav"}));
    ASSERT_EQ(host.posted.size(), 2u);
    EXPECT_EQ(host.posted[1].command, UC_SOUND_ENGINE_ENABLE);
    EXPECT_TRUE(box.WasActivated());
}

TEST_F(ControlTest, RadioButtonChoosingOneDeselectsTheGroup)
{
    CRadioGroup group;
    CCI_RadioButton a(0, 0, "A", &group), b(0, 20, "B", &group), c(0, 40, "C", &group);
    for (CCI_RadioButton* button : {&a, &b, &c})
        button->SetGuiHost(&host);
    group.SelectIndex(0);
    EXPECT_EQ(b.OnKey(KeyDown(KEY_ENTER)), kEventConsumed);
    EXPECT_FALSE(a.IsSelected());
    EXPECT_TRUE(b.IsSelected());
    EXPECT_EQ(group.SelectedIndex(), 1);
    host.MouseAt(5, 45);
    EXPECT_EQ(c.OnMouse(MouseDown()), kEventConsumed);
    EXPECT_EQ(group.SelectedIndex(), 2);
}

TEST_F(ControlTest, EditStringTypingCommitsOnEnterAndEscapeDropsTheEdit)
{
    CCI_EditString edit(0, 0, 200, "Name");
    edit.SetGuiHost(&host);
    edit.SetText("Old");
    EXPECT_TRUE(PressKeys(edit, {DIK_W}, IE_SHIFT));
    EXPECT_TRUE(PressKeys(edit, {DIK_I, DIK_N, DIK_G, DIK_BACK, 0x03})); // "ing", back, "2"
    EXPECT_EQ(edit.GetText(), "Old") << "nothing taken before Enter";
    EXPECT_EQ(edit.OnKey(KeyDown(DIK_RETURN)), kEventConsumed);
    EXPECT_EQ(edit.GetText(), "Win2");
    EXPECT_TRUE(edit.WasActivated());

    EXPECT_TRUE(PressKeys(edit, {DIK_X, DIK_ESCAPE}));
    EXPECT_EQ(edit.GetText(), "Win2");
    EXPECT_FALSE(edit.WasActivated());
    EXPECT_EQ(edit.OnKey(KeyDown(DIK_TAB)), kEventNotHandled) << "Tab stays the page's";
    EXPECT_EQ(edit.OnKey(KeyDown(DIK_X, IE_CTRL)), kEventNotHandled) << "hot keys pass";
}

TEST_F(ControlTest, EditFieldsLeavingTheFieldKeepsWhatWasTyped)
{
    CCI_EditString text(0, 0, 200);
    text.SetGuiHost(&host);
    text.SetText("Keep");
    text.OnKey(KeyDown(DIK_Z));
    text.SetFocus(false);
    EXPECT_FALSE(text.IsEditing());
    EXPECT_EQ(text.GetText(), "z");
    EXPECT_TRUE(text.WasActivated());

    CCI_EditNumber number(0, 0, 100, "Wind", 0.1f, 0.0f, 20.0f);
    number.SetValue(2.0f);
    number.OnKey(KeyDown(0x06)); // "5", then Tab or a click on OK takes the focus
    number.SetFocus(false);
    EXPECT_FLOAT_EQ(number.GetValue(), 5.0f);
    number.OnKey(KeyDown(0x34)); // "." alone is no number
    number.SetFocus(false);
    EXPECT_FLOAT_EQ(number.GetValue(), 5.0f);
}

TEST_F(ControlTest, EditNumberArrowsStepWithinTheRange)
{
    CCI_EditNumber edit(0, 0, 100, "Mass", 0.5f, 0.0f, 1.0f);
    edit.SetGuiHost(&host);
    edit.SetValue(0.75f);
    EXPECT_EQ(edit.OnKey(KeyDown(DIK_UP)), kEventConsumed);
    EXPECT_FLOAT_EQ(edit.GetValue(), 1.0f);
    EXPECT_TRUE(edit.WasActivated());
    EXPECT_EQ(edit.OnKey(KeyRepeat(DIK_UP)), kEventConsumed);
    EXPECT_FALSE(edit.WasActivated()) << "clamped: no change, no activation";
    EXPECT_EQ(edit.OnKey(KeyDown(DIK_DOWN)), kEventConsumed);
    EXPECT_FLOAT_EQ(edit.GetValue(), 0.5f);
    EXPECT_EQ(edit.DisplayText(), "0.5000");
    EXPECT_EQ(host.sounds.back(), "Pip4.wav");
}

TEST_F(ControlTest, EditNumberTypedNumberIsTakenAndGarbageIsRefused)
{
    CCI_EditNumber edit(0, 0, 100, "X", 0.1f, -100.0f, 100.0f);
    edit.SetGuiHost(&host);
    EXPECT_TRUE(PressKeys(edit, {0x0C, 0x02, 0x03, 0x34, 0x06})); // "-12.5"
    EXPECT_EQ(edit.OnKey(KeyDown(DIK_Q)), kEventNotHandled) << "letters are not typed into numbers";
    EXPECT_EQ(edit.OnKey(KeyDown(DIK_RETURN)), kEventConsumed);
    EXPECT_FLOAT_EQ(edit.GetValue(), -12.5f);
    EXPECT_TRUE(edit.WasActivated());
    PressKeys(edit, {0x02, 0x0C, 0x0C, 0x1C}); // "1--" Enter
    EXPECT_FLOAT_EQ(edit.GetValue(), -12.5f);
    EXPECT_FALSE(edit.WasActivated());
    PressKeys(edit, {0x0A, 0x0A, 0x0A, 0x1C}); // "999" Enter
    EXPECT_FLOAT_EQ(edit.GetValue(), 100.0f) << "typed values are clamped too";
}

// A heading of 180 in a narrow field read "80.0000": the field kept the tail of the text.
TEST(EditNumber, ShownValueLosesDecimalsNeverLeadingDigits)
{
    const struct { float value; size_t columns; const char* shown; } cases[] = {
        {2.0f, 7, "2.0000"},        // fits
        {180.0f, 7, "180.000"},     // decimals go first
        {-360.0f, 5, "-360"},       // no dot left dangling
        {123456.0f, 4, "####"},     // even %g is too wide: marked, not cut
        {1.0e30f, 9, "1e+30"},      // too many digits: %g
    };
    for (const auto& c : cases)
        EXPECT_EQ(CCI_EditNumber::FitText(c.value, c.columns), c.shown) << c.value;
}

TEST_F(ControlTest, SliderKeysAndDraggingSetTheValue)
{
    CCI_Slider slider(100, 0, 108, "Gain", -1.0f, 1.0f);
    slider.SetGuiHost(&host);
    slider.SetValue(0.0f);
    EXPECT_EQ(slider.OnKey(KeyDown(DIK_RIGHT)), kEventConsumed);
    EXPECT_NEAR(slider.GetValue(), 0.02f, 1e-6f);
    EXPECT_EQ(slider.OnKey(KeyDown(DIK_END)), kEventConsumed);
    EXPECT_FLOAT_EQ(slider.GetValue(), 1.0f);
    host.MouseAt(104, 5); // knob centre at the left end
    EXPECT_EQ(slider.OnMouse(MouseDown()), kEventConsumed);
    EXPECT_FLOAT_EQ(slider.GetValue(), -1.0f);
    host.MouseAt(154, 5); // half of the 100-pixel travel
    slider.Run();
    EXPECT_NEAR(slider.GetValue(), 0.0f, 1e-6f);
    EXPECT_EQ(slider.OnMouse(MouseUp()), kEventConsumed);
    host.MouseAt(300, 5);
    slider.Run();
    EXPECT_NEAR(slider.GetValue(), 0.0f, 1e-6f) << "released: no more dragging";
}

TEST_F(ControlTest, ListBoxKeysAndClicksSelectRowsAndScroll)
{
    CStringListDynamic list;
    for (const char* name : {"Alpha", "Bravo", "Charlie", "Delta", "Echo"})
        list.Add(name);
    CCI_ListBox box(0, 0, 200, 3, &list);
    box.SetGuiHost(&host);
    EXPECT_EQ(box.OnKey(KeyDown(DIK_DOWN)), kEventConsumed);
    EXPECT_EQ(box.SelectedText(), "Alpha");
    EXPECT_EQ(box.OnKey(KeyDown(DIK_END)), kEventConsumed);
    EXPECT_EQ(box.Selected(), 4);
    EXPECT_EQ(box.TopRow(), 2);
    EXPECT_TRUE(box.WasActivated());
    host.MouseAt(20, 5); // first shown row: Charlie
    EXPECT_EQ(box.OnMouse(MouseDown()), kEventConsumed);
    EXPECT_EQ(box.SelectedText(), "Charlie");
    EXPECT_TRUE(box.SelectText("Bravo"));
    EXPECT_EQ(box.TopRow(), 1);
    EXPECT_FALSE(box.SelectText("Zulu"));
    EXPECT_EQ(box.SelectedText(), "Bravo");
    CCI_ListBox empty(0, 0, 100, 3, nullptr);
    EXPECT_EQ(empty.OnKey(KeyDown(DIK_DOWN)), kEventConsumed);
    EXPECT_EQ(empty.Selected(), -1);
}

TEST_F(ControlTest, ComboBoxOpensChoosesAndCloses)
{
    CCI_ComboBox combo(0, 0, 150, "Servo");
    combo.SetGuiHost(&host);
    combo.SetItems(std::vector<std::string>{"", "Aileron", "Elevator", "Rudder"});
    combo.SelectText("Aileron");
    EXPECT_EQ(combo.OnKey(KeyDown(KEY_ENTER)), kEventConsumed);
    EXPECT_TRUE(combo.IsOpen());
    PressKeys(combo, {DIK_DOWN, DIK_DOWN});
    EXPECT_EQ(combo.OnKey(KeyDown(KEY_ENTER)), kEventConsumed);
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(combo.SelectedText(), "Rudder");
    EXPECT_TRUE(combo.WasActivated());
    combo.OnKey(KeyDown(KEY_SPACE));
    EXPECT_EQ(combo.OnKey(KeyDown(DIK_ESCAPE)), kEventConsumed);
    EXPECT_EQ(combo.SelectedText(), "Rudder");
    EXPECT_FALSE(combo.WasActivated());
    // Opened by a click, chosen by a click on the second row below the field.
    host.MouseAt(10, 8);
    EXPECT_EQ(combo.OnMouse(MouseDown()), kEventConsumed);
    host.MouseAt(10, 16 + 16 + 4);
    EXPECT_EQ(combo.OnMouse(MouseDown()), kEventConsumed);
    EXPECT_EQ(combo.SelectedText(), "Aileron");
}

TEST_F(ControlTest, TreeCollapsedGroupsHideTheirChildren)
{
    CCI_Tree tree(0, 0, 250, 10);
    tree.SetGuiHost(&host);
    tree.AddRow({"Wings", 0, true});
    tree.AddRow({"Left", 1, false, true, -1, {1, -1, -1}});
    tree.AddRow({"Right", 1, false, true, -1, {1, -1, -1}});
    tree.AddRow({"Engine"});
    EXPECT_EQ(tree.VisibleRows(), (std::vector<int>{0, 1, 2, 3}));
    tree.SetSelected(2);
    EXPECT_EQ(tree.OnKey(KeyDown(DIK_LEFT)), kEventConsumed);
    EXPECT_EQ(tree.Selected(), 0) << "Left on a child selects its group";
    EXPECT_EQ(tree.OnKey(KeyDown(DIK_LEFT)), kEventConsumed);
    EXPECT_EQ(tree.VisibleRows(), (std::vector<int>{0, 3}));
    EXPECT_EQ(tree.OnKey(KeyDown(DIK_DOWN)), kEventConsumed);
    EXPECT_EQ(tree.Selected(), 3);
    tree.SetExpanded(0, true);
    // Click on the first check box of row 1.
    host.MouseAt(250 - 3 * 18 + 2, 18 + 5);
    EXPECT_EQ(tree.OnMouse(MouseDown()), kEventConsumed);
    EXPECT_EQ(tree.Row(1).checks[0], 0);
    std::pair<int, int> rowAndCheck;
    tree.LastCheckChange(rowAndCheck.first, rowAndCheck.second);
    EXPECT_EQ(rowAndCheck, std::make_pair(1, 0));
}

TEST_F(ControlTest, KeyDefBoxCapturesTheNextKeyWithItsModifiers)
{
    CCI_KeyDefBox box(0, 0, 150);
    box.SetGuiHost(&host);
    box.SetKey(DIK_P, 0);
    EXPECT_EQ(box.KeyText(), "P");
    EXPECT_EQ(box.OnKey(KeyDown(KEY_ENTER)), kEventConsumed);
    EXPECT_TRUE(box.IsCapturing());
    EXPECT_EQ(box.OnKey(KeyDown(DIK_LCONTROL, IE_CTRL)), kEventConsumed) << "a lone modifier waits";
    EXPECT_TRUE(box.IsCapturing());
    EXPECT_EQ(box.OnKey(KeyDown(DIK_W, IE_CTRL | IE_SHIFT)), kEventConsumed);
    EXPECT_FALSE(box.IsCapturing());
    EXPECT_EQ(box.KeyText(), "SHIFT+CTRL+W");
    EXPECT_TRUE(box.WasActivated());
    box.OnKey(KeyDown(KEY_ENTER));
    EXPECT_EQ(box.OnKey(KeyDown(DIK_ESCAPE)), kEventConsumed);
    EXPECT_EQ(box.KeyText(), "SHIFT+CTRL+W");
    EXPECT_FALSE(box.WasActivated());
}
} // namespace
