#pragma once
// The wind dialog: one row of controls per wind setting (number edits for speed, direction and
// slope, a slider for the turbulence) laid out from (0, 10), 30 pixels apart, and three buttons
// at y = 165, 64 x 24 pixels: OK at x = 10, Cancel at 86, Default at 162. The coordinates are
// those of the client area below the title bar; a help line under the buttons shows the long
// text of the setting under the pointer or in focus.
//
// Edits act at once: every frame the controls the user changed are read into the wind's
// settings and the wind recomputes its mean vector, so the pilot feels the wind while setting it.
//   OK       writes Output/Weather.txt and closes (a file that cannot be written is said in the
//            dialog, which stays open: nothing is lost, Cancel still works);
//   Cancel   puts back the values the dialog opened with, applies them and closes;
//   Default  puts the defaults on the page and applies them; nothing is written until OK.
// Hiding the dialog any other way (its close button, the menu command) counts as Cancel: only OK
// keeps new settings, so a flight never runs on values Weather.txt does not hold.
//
// Closing raises the view's close request; the flight screen answers it with the command that
// hides the window. The wind belongs to the flight screen and must outlive the dialog.

#include <memory>
#include <string>

#include "gfx/views/CView.h"

class CCI_Button;
class CWind;

class CViewWeather : public CView
{
public:
    static constexpr int kRowX = 0;
    static constexpr int kRowY = 10;
    static constexpr int kRowHeight = 30;
    static constexpr int kButtonY = 165;
    static constexpr int kButtonWidth = 64;
    static constexpr int kButtonHeight = 24;
    static constexpr int kOkX = 10;
    static constexpr int kCancelX = 86;
    static constexpr int kDefaultX = 162;
    // Window size (pixels): wide enough for a label, the slider and its value; tall enough for
    // the title bar, the rows, the buttons and two lines of help.
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 252;
    static constexpr int kClientTop = kTitleBarHeight + 2; // below the title bar and its line
    // Where it first opens: under the menu bar and the instrument panel, at the left.
    static constexpr int kLeft = 20;
    static constexpr int kTop = 110;

    CViewWeather(const std::string& name, CWind& wind);
    ~CViewWeather() override;

    void Show(bool visible) override;
    void Run() override;
    // A dialog has no 3D scene: it fills its rectangle instead.
    void RenderScene() override;
    void Draw() override;
    // Keeps the pixel size when the window is resized; only the position follows the window.
    void Layout() override;

    // The buttons' actions (the buttons call them when they fire).
    void Ok();
    void Cancel();
    void Default();

    // Whether the dialog is between showing and OK or Cancel.
    bool IsEditing() const { return m_editing; }
    const std::string& GetError() const { return m_error; }
    CControlPageEx& Client() { return m_client; }
    CCI_Button& OkButton() { return *m_ok; }
    CCI_Button& CancelButton() { return *m_cancel; }
    CCI_Button& DefaultButton() { return *m_default; }

private:
    // The settings as they were when the dialog was shown.
    struct TSnapshot
    {
        float velocity = 0.0f;
        float heading = 0.0f;
        float pitch = 0.0f;
        float turbulence = 0.0f;
    };

    void BuildRows();
    void Restore(const TSnapshot& values);

    CWind& m_wind; // not owned: the flight screen's, which outlives the dialog
    CControlPageEx m_client; // the dialog's controls, below the title bar
    std::unique_ptr<CCI_Button> m_ok;
    std::unique_ptr<CCI_Button> m_cancel;
    std::unique_ptr<CCI_Button> m_default;
    bool m_rowsBuilt = false;
    bool m_editing = false;
    TSnapshot m_start;
    std::string m_error; // shown over the buttons until the next OK or Default
};
