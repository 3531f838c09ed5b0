#include <gtest/gtest.h>

#include <memory>

#include "gfx/GuiTestSupport.h"
#include "env/CWind.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_EditNumber.h"
#include "gfx/views/CViewWeather.h"
#include "support/DataDir.h"

namespace
{
constexpr float kTol = 1e-5f;

// What Output/Weather.txt holds now for a key.
float Stored(const char* key)
{
    CPropertySet_Wind stored;
    stored.ReadFile(CWind::kFileName, "Wind");
    return stored.FindProperty(key)->GetFloat();
}

class ViewWeatherTest : public ::testing::Test
{
protected:
    explicit ViewWeatherTest(bool withOutputFolder = true)
    {
        if (withOutputFolder)
            m_out.Write("Output/Weather.txt", ".VELOCITY 7\n.HEADING 90\n.PITCH 0\n.TURBULENCE_STRENGTH 0.5\n");
        m_wind.Create();
        m_view = std::make_unique<CViewWeather>("View Weather", m_wind);
        m_view->SetGuiHost(&m_host);
    }
    ~ViewWeatherTest() override
    {
        m_view.reset();
    }

    // A left click at a control's centre, pressed and released in two frames.
    void Click(CBControlItem& control)
    {
        const TRect2D r = control.AbsoluteRect();
        m_host.MouseAt(r.x + r.w / 2, r.y + r.h / 2);
        m_view->OnMouse(MouseDown());
        m_view->Run();
        m_view->OnMouse(MouseUp());
        m_view->Run();
    }
    // Up on the focused row (the wind speed when the dialog opens): one step up.
    void StepFocusedUp()
    {
        m_view->OnCommand(KeyDown(DIK_UP));
        m_view->Run();
    }
    CCI_EditNumber* Number(int index) { return dynamic_cast<CCI_EditNumber*>(m_view->Client().At(index)); }

    CRecordingHost m_host;
    TempDataDir m_out; // Output/Weather.txt, or no Output folder
    CWind m_wind;
    std::unique_ptr<CViewWeather> m_view; // goes before the wind it edits
};

class ViewWeatherNoOutputTest : public ViewWeatherTest
{
protected:
    ViewWeatherNoOutputTest() : ViewWeatherTest(false) {}
};
} // namespace

TEST_F(ViewWeatherTest, OneRowPerSettingThenTheThreeButtonsAndNoScrollBar)
{
    const CControlPageEx& page = m_view->Client();
    ASSERT_EQ(page.Count(), 11); // eight settings, three buttons
    // The rows come first: Tab walks the dialog from the top.
    EXPECT_EQ(page.IndexOf(&m_view->OkButton()), 8);
    EXPECT_FALSE(m_view->IsVisible()) << "the owner's command shows it";
    // The client page once joined the view's page at its default 800 x 600 size: the view's page
    // kept a scroll bar over the dialog.
    EXPECT_FALSE(m_view->Page().HasScrollBar());
    EXPECT_FALSE(m_view->Client().HasScrollBar());
}

TEST_F(ViewWeatherTest, EditsApplyAtOnceAndOnlyOkWritesWeatherTxt)
{
    m_view->Show(true);
    EXPECT_NEAR(Number(0)->GetValue(), 7.0f, kTol) << "the page shows the settings in force";
    StepFocusedUp();
    EXPECT_NEAR(m_wind.GetMeanWind().x, 8.0f, kTol) << "heading 90 blows towards +x";
    EXPECT_NEAR(Stored("VELOCITY"), 7.0f, kTol) << "nothing written before OK";

    Click(m_view->OkButton());
    EXPECT_NEAR(Stored("VELOCITY"), 8.0f, kTol);
    EXPECT_NEAR(Stored("TURBULENCE_STRENGTH"), 0.5f, kTol);
    EXPECT_TRUE(m_view->IsCloseRequested());
    EXPECT_FALSE(m_view->IsEditing());
    m_view->Show(false); // as the flight screen does next frame: the saved values stay
    EXPECT_NEAR(m_wind.GetMeanWind().x, 8.0f, kTol);
}

TEST_F(ViewWeatherTest, CancelAndClosingOtherwisePutBackTheOpeningValues)
{
    m_view->Show(true);
    StepFocusedUp();
    m_view->Client().SetFocusTo(m_view->Client().At(3));
    m_view->OnCommand(KeyDown(DIK_END));
    m_view->Run();
    EXPECT_NEAR(m_wind.GetTurbulenceStrength(), 1.0f, kTol);
    m_view->Client().SetFocusTo(m_view->Client().At(4));
    StepFocusedUp();
    EXPECT_NEAR(m_wind.GetThermals().GetSettings().strength, 2.0f, kTol) << "the thermals act at once too";

    Click(m_view->CancelButton());
    EXPECT_TRUE(m_view->IsCloseRequested());
    EXPECT_NEAR(m_wind.GetMeanWind().x, 7.0f, kTol);
    EXPECT_NEAR(m_wind.GetTurbulenceStrength(), 0.5f, kTol);
    EXPECT_NEAR(m_wind.GetThermals().GetSettings().strength, 1.5f, kTol);
    EXPECT_NEAR(Number(0)->GetValue(), 7.0f, kTol) << "the page shows the restored value";

    // Hidden by the menu command or the close button, without OK: the same.
    m_view->ClearCloseRequest();
    m_view->Show(false);
    m_view->Show(true);
    StepFocusedUp();
    m_view->Show(false);
    EXPECT_NEAR(m_wind.GetMeanWind().x, 7.0f, kTol);
}

TEST_F(ViewWeatherTest, DefaultResetsThePageAndTheWindButWritesNothing)
{
    m_view->Show(true);
    Click(m_view->DefaultButton());
    EXPECT_FALSE(m_view->IsCloseRequested()) << "Default keeps the dialog open";
    EXPECT_NEAR(Number(0)->GetValue(), CPropertySet_Wind::kDefaultVelocity, kTol);
    EXPECT_NEAR(m_wind.GetMeanWind().z, CPropertySet_Wind::kDefaultVelocity, kTol);
    EXPECT_NEAR(m_wind.GetTurbulenceStrength(), 0.0f, kTol);
    EXPECT_NEAR(Stored("VELOCITY"), 7.0f, kTol);

    Click(m_view->CancelButton());
    EXPECT_NEAR(m_wind.GetMeanWind().x, 7.0f, kTol) << "Cancel undoes Default too";
}

TEST_F(ViewWeatherNoOutputTest, OkThatCannotWriteSaysSoAndStaysOpen)
{
    m_view->Show(true);
    StepFocusedUp();
    Click(m_view->OkButton());
    EXPECT_FALSE(m_view->IsCloseRequested());
    EXPECT_TRUE(m_view->IsEditing());
    EXPECT_NE(m_view->GetError().find("Weather.txt"), std::string::npos);
    EXPECT_NEAR(m_wind.GetPropertySet().velocity, 3.0f, kTol) << "defaults (no file) plus one step, kept";
}
