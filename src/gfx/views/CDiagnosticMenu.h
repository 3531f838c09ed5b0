#pragma once
// The diagnostic overlay menu: the first receiver of every key event of the frame, shown and
// hidden by Ctrl+Shift+F1 going down. Two pages of sliders, chosen with the "Page" slider:
//   0 "Main"     what the menu offers;
//   1 "Airfoil"  the airfoil viewer: "Airfoil #" picks a file of Data/Airfoil/*.afl (sorted by
//                name; an index past the last file is taken back to it, on the slider too),
//                "Digit 1" .. "Digit 4" give the NACA section drawn beside it (CAirfoilPlot).
// While shown, the other key events go to the sliders (Tab steps between them, Left / Right
// change a value by one, a click or drag sets it; those keys stay the menu's); the other keys
// pass on, so the model still flies. While hidden it takes nothing.

#include <memory>
#include <string>
#include <vector>

#include "gfx/gui/CControlPageEx.h"
#include "input/CInputEvent.h"

class CAirfoil;
class CCI_Slider;
class CCI_StaticText;

class CDiagnosticMenu
{
public:
    enum EPage
    {
        PAGE_MAIN = 0,
        PAGE_AIRFOIL = 1,
    };
    static constexpr uint32_t kToggleKey = 59;                       // F1
    static constexpr uint32_t kToggleFlags = IE_GOING_DOWN | IE_CTRL | IE_SHIFT;

    CDiagnosticMenu();
    ~CDiagnosticMenu();
    // The GUI host of the menu's controls (not owned).
    void SetGuiHost(IGuiHost* host) { m_controls.SetGuiHost(host); }

    // 0 when the event was not for the menu, 120 (consumed) otherwise.
    int OnEvent(const CInputEvent& event);
    // Per frame while shown: applies slider changes.
    void Run();
    void Draw();

    bool IsShown() const { return m_shown; }
    void Show(bool shown);
    int GetPage() const { return m_page; }
    // Selects the page, and on the airfoil page the file and the four digits, as the sliders
    // would (for tests and scripted use).
    void SetPage(int page);
    void SelectAirfoil(int index);
    void SetDigits(int d1, int d2, int d3, int d4);
    // The airfoil shown (null when Data/Airfoil holds none that loads) and its file index.
    const CAirfoil* GetAirfoil() const { return m_airfoil; }
    int GetAirfoilIndex() const { return m_airfoilIndex; }
    const std::vector<std::string>& GetFiles() const { return m_files; }

private:
    void BuildPage();
    void ApplyAirfoil();
    // A slider moved by the user: a key step moves one whole unit in its direction, a drag
    // rounds; returns the new whole value.
    int TakeWhole(CCI_Slider& slider, float range, int& ioValue);

    bool m_shown = false;
    int m_page = PAGE_MAIN;
    CControlPageEx m_controls;
    std::unique_ptr<CCI_Slider> m_pageSlider;
    std::unique_ptr<CCI_StaticText> m_mainText;
    std::unique_ptr<CCI_Slider> m_airfoilSlider;
    std::unique_ptr<CCI_Slider> m_digitSliders[4];
    int m_pageValue = PAGE_MAIN;
    int m_digits[4] = {2, 4, 1, 2};
    std::vector<std::string> m_files;
    int m_airfoilIndex = 0;
    CAirfoil* m_airfoil = nullptr; // owned by CAirfoilList, lives until exit
};
