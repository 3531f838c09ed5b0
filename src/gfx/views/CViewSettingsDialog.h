#pragma once
// A settings dialog built from a property set: one row of controls per setting laid out from
// (0, 10), 30 pixels apart, and three buttons at y = 165 (35 pixels below the fourth row, or
// below the last row of a longer set), 64 x 24 pixels: OK at x = 10, Cancel at 86, Default at
// 162; a longer set makes the dialog as much taller. The coordinates are those of the client area below the title bar; a
// help line under the buttons shows the long text of the setting under the pointer or in focus.
//
// Edits act at once: every frame the controls the user changed are read into the settings and
// the owner applies them, so the pilot feels (or hears) a setting while choosing it.
//   OK       saves the settings and closes (a file that cannot be written is said in the dialog,
//            which stays open: nothing is lost, Cancel still works);
//   Cancel   puts back the values the dialog opened with, applies them and closes;
//   Default  puts the defaults on the page and applies them; nothing is saved until OK.
// Hiding the dialog any other way (its close button, the menu command) counts as Cancel: only OK
// keeps new settings, so the program never runs on values its file does not hold.
//
// Closing raises the view's close request; the flight screen answers it with the command that
// hides the window. The settings belong to the flight screen or the application and must outlive
// the dialog. A concrete dialog says which set it edits, how it is applied and saved, and how
// the opening values are kept.

#include <memory>
#include <string>

#include "gfx/views/CView.h"

class CCI_Button;
class CPropertySet;

class CViewSettingsDialog : public CView
{
public:
    static constexpr int kRowX = 0;
    static constexpr int kRowY = 10;
    static constexpr int kRowHeight = 30;
    static constexpr int kMinRows = 4;
    static constexpr int kButtonY = kRowY + kMinRows * kRowHeight + 35; // 165 up to four rows
    static constexpr int kButtonWidth = 64;
    static constexpr int kButtonHeight = 24;
    static constexpr int kOkX = 10;
    static constexpr int kCancelX = 86;
    static constexpr int kDefaultX = 162;
    // Window size (pixels): wide enough for a label, a control and its value; tall enough for
    // the title bar, the rows, the buttons and two lines of help.
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 252;
    static constexpr int kClientTop = kTitleBarHeight + 2; // below the title bar and its line

    // left, top: where it first opens (window pixels); rowCount: the settings it will show.
    CViewSettingsDialog(const std::string& name, int left, int top, int rowCount = kMinRows);
    ~CViewSettingsDialog() override;

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
    // The buttons' row and the dialog's height for its number of rows (pixels).
    int ButtonY() const { return m_buttonY; }
    int Height() const { return m_height; }

protected:
    // Builds the rows of settings (which outlive the dialog); a derived constructor calls it.
    void BuildRows(CPropertySet& settings);

    // The settings' members changed: the owner takes them into use.
    virtual void ApplySettings() = 0;
    // Writes the settings; false with the text to show when they could not be written.
    virtual bool SaveSettings(std::string& outError) = 0;
    virtual void SetDefaults() = 0;
    // Keeps the settings' members as they are now; puts the kept ones back.
    virtual void TakeSnapshot() = 0;
    virtual void RestoreSnapshot() = 0;

private:
    void Restore();

    int m_buttonY = kButtonY;
    int m_height = kHeight;
    CPropertySet* m_settings = nullptr; // not owned; null until BuildRows
    bool m_rowsBuilt = false;
    CControlPageEx m_client; // the dialog's controls, below the title bar
    std::unique_ptr<CCI_Button> m_ok;
    std::unique_ptr<CCI_Button> m_cancel;
    std::unique_ptr<CCI_Button> m_default;
    bool m_editing = false;
    std::string m_error; // shown over the buttons until the next OK or Default
};
