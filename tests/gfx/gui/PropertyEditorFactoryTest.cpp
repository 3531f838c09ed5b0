#include <gtest/gtest.h>

#include "gfx/GuiTestSupport.h"
#include "data/CStringList.h"
#include "data/PropertyTestSets.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/gui/CCI_ComboBox.h"
#include "gfx/gui/CCI_EditNumber.h"
#include "gfx/gui/CCI_EditString.h"
#include "gfx/gui/CCI_Slider.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/gui/CControlPageEx.h"
#include "gfx/gui/PropertyEditorFactory.h"

namespace
{
template <typename T>
std::vector<T*> ControlsOf(const CControlPageEx& page)
{
    std::vector<T*> found;
    for (int i = 0; i < page.Count(); ++i)
        if (T* control = dynamic_cast<T*>(page.At(i)))
            found.push_back(control);
    return found;
}

class PropertyEditorTest : public ::testing::Test
{
protected:
    PropertyEditorTest()
    {
        m_page.SetEnabled(true);
        for (const char* choice : {"", "Aileron", "Elevator"})
            m_choices.Add(choice);
        m_set.FindProperty("SERVO")->SetChoiceList(&m_choices);
    }
    ~PropertyEditorTest() override
    {
        m_set.ClearControls();
    }

    CRecordingHost m_host;
    CControlPageEx m_page;
    CStringListDynamic m_choices;
    CEveryTypeSet m_set{"GRAVITY"};
};

TEST_F(PropertyEditorTest, EveryTypeGetsItsControlKind)
{
    m_set.BuildControls(GuiPropertyEditorFactory(), m_page, 3, 10, 20);
    // Numbers: COUNT, MASS, 3 x POSITION, 2 x OFFSET, 2 x SIZE.
    EXPECT_EQ(ControlsOf<CCI_EditNumber>(m_page).size(), 9u);
    EXPECT_EQ(ControlsOf<CCI_CheckBox>(m_page).size(), 1u);
    EXPECT_EQ(ControlsOf<CCI_Slider>(m_page).size(), 1u);
    EXPECT_EQ(ControlsOf<CCI_ComboBox>(m_page).size(), 1u);
    // TARGET, DESCRIPTION and the header's token edit.
    EXPECT_EQ(ControlsOf<CCI_EditString>(m_page).size(), 3u);
    EXPECT_EQ(ControlsOf<CCI_Button>(m_page).size(), 1u);
    EXPECT_EQ(ControlsOf<CCI_StaticText>(m_page).size(), 1u);
    // Where the rows go is BuildControls' (PropertySet.BuildControlsLaysOutRows).
    EXPECT_EQ(ControlsOf<CCI_ComboBox>(m_page)[0]->Items().size(), 3u);
}

TEST_F(PropertyEditorTest, RefreshShowsTheValuesAndEditsFlowBack)
{
    m_set.FindProperty("MASS")->SetFloat(2.5f);
    m_set.FindProperty("SERVO")->SetString("Elevator");
    m_set.BuildControls(GuiPropertyEditorFactory(), m_page, 0, 0, 0);
    EXPECT_EQ(m_page.Count(), 14);
    const auto numbers = ControlsOf<CCI_EditNumber>(m_page);
    EXPECT_FLOAT_EQ(numbers[1]->GetValue(), 2.5f);
    EXPECT_EQ(ControlsOf<CCI_ComboBox>(m_page)[0]->SelectedText(), "Elevator");
    EXPECT_FALSE(m_set.ReadControls());

    const int applied = m_set.applyCount;
    m_page.SetFocusTo(numbers[1]);
    m_page.OnKey(KeyDown(DIK_UP)); // MASS step 0.1
    CCI_CheckBox* box = ControlsOf<CCI_CheckBox>(m_page)[0];
    box->Toggle();
    EXPECT_TRUE(m_set.ReadControls());
    EXPECT_FLOAT_EQ(m_set.FindProperty("MASS")->GetFloat(), 2.6f);
    EXPECT_EQ(m_set.FindProperty("ENABLED")->GetInt(), 1);
    EXPECT_GT(m_set.applyCount, applied);
    EXPECT_FALSE(m_set.ReadControls()) << "each change is reported once";
}

TEST_F(PropertyEditorTest, VectorEditTruncatesIntegersAndKeepsOtherComponents)
{
    m_set.FindProperty("SIZE")->SetVectorI2(3, 4);
    m_set.BuildControls(GuiPropertyEditorFactory(), m_page, 0, 0, 0);
    const auto numbers = ControlsOf<CCI_EditNumber>(m_page);
    CCI_EditNumber* sizeY = numbers[8];
    m_page.SetFocusTo(sizeY);
    PressKeys(m_page, {0x07, 0x34, 0x0A, 0x1C}); // "6.9" Enter
    EXPECT_TRUE(m_set.ReadControls());
    std::pair<int, int> size;
    m_set.FindProperty("SIZE")->GetVectorI2(size.first, size.second);
    EXPECT_EQ(size, std::make_pair(3, 6));

    m_set.ClearControls();
    EXPECT_EQ(m_page.Count(), 0) << "cleared controls leave the page";
    EXPECT_EQ(m_page.FocusIndex(), -1);
}

TEST_F(PropertyEditorTest, HeaderTokenEditReportsTheNewName)
{
    m_set.SetToken("Tail");
    m_set.BuildControls(GuiPropertyEditorFactory(), m_page, 1, 0, 0);
    CCI_EditString* token = ControlsOf<CCI_EditString>(m_page)[0];
    EXPECT_EQ(token->GetText(), "Tail");
    std::string name;
    EXPECT_FALSE(m_set.ReadTokenControl(name));
    m_page.SetFocusTo(token);
    PressKeys(m_page, {0x2E, 0x1C}); // "c" Enter
    EXPECT_TRUE(m_set.ReadTokenControl(name));
    EXPECT_EQ(name, "c");
}

} // namespace
