#include "gfx/views/CDiagnosticMenu.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "data/CFile.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/draw2d/Palette.h"
#include "gfx/gui/CCI_Slider.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/views/CAirfoilPlot.h"
#include "input/KeyCodes.h"
#include "input/UserCommands.h"
#include "model/CAirfoil.h"
#include "model/CAirfoilList.h"

namespace
{
constexpr int kPanelWidth = 330;  // pixels, at the window's right edge
constexpr int kTrackWidth = 140;
constexpr int kRowPitch = 26;
constexpr int kMaxAirfoilIndex = 1000;
const char* const kPageNames[2] = {"Main", "Airfoil"};

// The *.afl files of the airfoil folder, sorted by name (letter case ignored for the suffix).
std::vector<std::string> ListAirfoils()
{
    std::vector<std::string> files;
    std::error_code error;
    const std::filesystem::path folder = BuildDataPath(DF_AIRFOIL, "");
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    {
        std::string name = it->path().filename().string();
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (ext == ".afl" && it->is_regular_file(error))
            files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    return files;
}
} // namespace

CDiagnosticMenu::CDiagnosticMenu()
{
    m_pageSlider = std::make_unique<CCI_Slider>(70, 30, kTrackWidth, "Page", 0.0f, 1.0f);
    m_mainText = std::make_unique<CCI_StaticText>(
        10, 30 + kRowPitch,
        "Page 1: the airfoil viewer, Cl, Cd\nand Cp of a loaded airfoil and a\nNACA section.\n"
        "Tab: next slider. Left / Right:\nchange it. Ctrl+Shift+F1: hide.");
    m_airfoilSlider = std::make_unique<CCI_Slider>(70, 30 + kRowPitch, kTrackWidth, "Airfoil #", 0.0f,
                                                   static_cast<float>(kMaxAirfoilIndex));
    for (int i = 0; i < 4; ++i)
        m_digitSliders[i] = std::make_unique<CCI_Slider>(70, 30 + (i + 2) * kRowPitch, kTrackWidth,
                                                         "Digit " + std::to_string(i + 1), 0.0f, 9.0f);
    m_controls.SetEnabled(true);
    BuildPage();
}

CDiagnosticMenu::~CDiagnosticMenu()
{
    m_controls.Clear();
}

void CDiagnosticMenu::BuildPage()
{
    m_controls.Clear();
    m_pageSlider->SetValue(static_cast<float>(m_page));
    m_controls.Add(m_pageSlider.get());
    if (m_page == PAGE_MAIN)
        m_controls.Add(m_mainText.get());
    else
    {
        m_airfoilSlider->SetValue(static_cast<float>(m_airfoilIndex));
        m_controls.Add(m_airfoilSlider.get());
        for (int i = 0; i < 4; ++i)
        {
            m_digitSliders[i]->SetValue(static_cast<float>(m_digits[i]));
            m_controls.Add(m_digitSliders[i].get());
        }
    }
    m_controls.SetRect(TRect2D{WindowClientWidth() - kPanelWidth, 20, kPanelWidth, 6 * kRowPitch + 40});
    m_controls.SetFocusTo(m_pageSlider.get());
}

void CDiagnosticMenu::Show(bool shown)
{
    m_shown = shown;
    if (!shown)
        m_controls.Deactivate();
    else if (m_page == PAGE_AIRFOIL)
        ApplyAirfoil();
}

int CDiagnosticMenu::OnEvent(const CInputEvent& event)
{
    if (event.key == kToggleKey && (event.flags & kToggleFlags) == kToggleFlags && (event.flags & IE_ALT) == 0)
    {
        Show(!m_shown);
        return static_cast<int>(kCommandNone);
    }
    if (!m_shown)
        return 0;
    const int result = event.key >= KEY_BUTTON_BASE ? m_controls.OnMouse(event) : m_controls.OnKey(event);
    // The sliders' keys are the menu's in every state (down, repeat, up), so the release of a
    // key a slider took does not reach the keyboard axes behind it.
    const bool sliderKey = event.key == DIK_LEFT || event.key == DIK_RIGHT || event.key == DIK_TAB ||
                           event.key == DIK_HOME || event.key == DIK_END;
    return result != 0 || sliderKey ? static_cast<int>(kCommandNone) : 0;
}

int CDiagnosticMenu::TakeWhole(CCI_Slider& slider, float range, int& ioValue)
{
    const float raw = slider.GetValue();
    const float keyStep = range / 100.0f; // what Left / Right move the slider by
    if (!slider.IsDragging() && std::fabs(raw - static_cast<float>(ioValue)) <= keyStep + 1e-3f)
        ioValue += raw > static_cast<float>(ioValue) ? 1 : raw < static_cast<float>(ioValue) ? -1 : 0;
    else
        ioValue = static_cast<int>(std::lround(raw));
    slider.SetValue(static_cast<float>(ioValue));
    return ioValue;
}

void CDiagnosticMenu::Run()
{
    if (!m_shown)
        return;
    m_controls.Run();
    if (m_pageSlider->WasActivated())
    {
        int page = m_page;
        TakeWhole(*m_pageSlider, 1.0f, page);
        SetPage(std::clamp(page, 0, 1));
    }
    if (m_page != PAGE_AIRFOIL)
        return;
    bool changed = false;
    if (m_airfoilSlider->WasActivated())
    {
        TakeWhole(*m_airfoilSlider, static_cast<float>(kMaxAirfoilIndex), m_airfoilIndex);
        changed = true;
    }
    for (int i = 0; i < 4; ++i)
        if (m_digitSliders[i]->WasActivated())
        {
            TakeWhole(*m_digitSliders[i], 9.0f, m_digits[i]);
            m_digits[i] = std::clamp(m_digits[i], 0, 9);
            changed = true;
        }
    if (changed)
        ApplyAirfoil();
}

void CDiagnosticMenu::SetPage(int page)
{
    const int wanted = std::clamp(page, 0, 1);
    if (wanted == m_page && m_controls.Count() > 0)
        return;
    m_page = wanted;
    BuildPage();
    if (m_page == PAGE_AIRFOIL)
        ApplyAirfoil();
}

void CDiagnosticMenu::SelectAirfoil(int index)
{
    m_airfoilIndex = std::clamp(index, 0, kMaxAirfoilIndex);
    ApplyAirfoil();
}

void CDiagnosticMenu::SetDigits(int d1, int d2, int d3, int d4)
{
    const int digits[4] = {d1, d2, d3, d4};
    for (int i = 0; i < 4; ++i)
        m_digits[i] = std::clamp(digits[i], 0, 9);
    ApplyAirfoil();
}

void CDiagnosticMenu::ApplyAirfoil()
{
    m_files = ListAirfoils();
    if (!m_files.empty())
    {
        if (m_airfoilIndex >= static_cast<int>(m_files.size()))
            m_airfoilIndex = static_cast<int>(m_files.size()) - 1;
        m_airfoilIndex = std::max(m_airfoilIndex, 0);
        m_airfoil = CAirfoilList::Shared().Get(m_files[static_cast<size_t>(m_airfoilIndex)]);
    }
    else
        m_airfoil = nullptr;
    m_airfoilSlider->SetValue(static_cast<float>(m_airfoilIndex));
    for (int i = 0; i < 4; ++i)
        m_digitSliders[i]->SetValue(static_cast<float>(m_digits[i]));
    if (m_airfoil != nullptr)
        m_airfoil->GenerateNacaShape("NACA" + std::to_string(m_digits[0]) + std::to_string(m_digits[1]) +
                                     std::to_string(m_digits[2]) + std::to_string(m_digits[3]));
}

void CDiagnosticMenu::Draw()
{
    if (!m_shown)
        return;
    CDraw2DScope scope;
    if (m_page == PAGE_AIRFOIL && m_airfoil != nullptr)
        CAirfoilPlot::Draw(*m_airfoil);
    Set2DProjectionWindow();
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    m_controls.SetRect(TRect2D{WindowClientWidth() - kPanelWidth, 20, kPanelWidth, 6 * kRowPitch + 40});
    const TRect2D& r = m_controls.PageRect();
    SetColor(20, 24, 32, 225);
    FillRect(r.x, r.y, r.w, r.h, 12);
    SetColor(255, 255, 255, 255);
    CFontList& fonts = Fonts();
    fonts.DrawText(fonts.f09x13B, static_cast<float>(r.x + 8), static_cast<float>(r.y + 6),
                   std::string("Diagnostics: ") + kPageNames[m_page]);
    if (m_page == PAGE_AIRFOIL)
    {
        const std::string shape = "NACA" + std::to_string(m_digits[0]) + std::to_string(m_digits[1]) +
                                  std::to_string(m_digits[2]) + std::to_string(m_digits[3]);
        const std::string file = m_files.empty() ? std::string("no *.afl in Data/Airfoil")
                                                 : std::to_string(m_airfoilIndex) + ": " +
                                                       m_files[static_cast<size_t>(m_airfoilIndex)] + " of " +
                                                       std::to_string(m_files.size());
        fonts.DrawText(fonts.f07x12S, static_cast<float>(r.x + 8), static_cast<float>(r.y + r.h - 16),
                       file + "   shape " + shape);
    }
    m_controls.Draw();
    SetTextAlign(oldAlign);
}
