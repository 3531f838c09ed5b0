#pragma once
// A page of controls: an ordered list (not owned: the page's owner creates and deletes them),
// one of which has the keyboard focus. The page routes events, lays its controls out in a
// vertically scrollable area and draws them.
//
// Keys (while enabled, not locked and some control has the focus):
//   1. the focused control's OnKey; a non-zero answer is returned;
//   2. Tab going down or repeating without Control or Alt: focus to the next focusable control
//      ("Pip5.wav"), with Shift to the previous one ("Pip4.wav"), wrapping; 120;
//   3. Control+Up / Control+Down going down or repeating: scroll by 16 pixels when the content
//      is taller than the page; 120.
// Mouse: the focused control first, then every other visible control in list order until one
// answers, then the scroll bar. A left press on a focusable control gives it the focus.
//
// Help line (optional, see SetHelpLine): a strip at the bottom of the page shows the long help
// of the control under the pointer, or of the focused control when the pointer is on none, word
// wrapped to the page width. Dialogs built from property sets use it: their labels are short and
// the long text says what the value means and in which unit.
//
// The page starts disabled (like every control): its owner enables it.

#include <memory>
#include <string>
#include <vector>

#include "gfx/gui/CBControlItem.h"
#include "gfx/gui/CPropertyEditorPage.h"
#include "gfx/gui/CScrollBar.h"

class CControlPageEx : public CBControlItem, public CPropertyEditorPage
{
public:
    static constexpr int kScrollStep = 16; // pixels per Control+Up/Down

    CControlPageEx();
    ~CControlPageEx() override;

    // Appends the control, makes the page its parent, settles the focus on a focusable control
    // and lays the page out again. Returns the control's index; -1 for null or a control
    // already on the page.
    int Add(CBControlItem* control);
    // Takes a control off the page (its owner is deleting it); false when it is not here.
    bool Remove(CBControlItem* control);
    int IndexOf(const CBControlItem* control) const;
    int Count() const { return static_cast<int>(m_controls.size()); }
    CBControlItem* At(int index) const;
    // Deactivates the page and empties the list (nothing is deleted).
    void Clear();

    // Page rectangle relative to the parent (800 x 600 until set); lays out when it changed.
    void SetRect(const TRect2D& rect);
    const TRect2D& PageRect() const { return m_rect; }
    // Content height from the controls; the scroll bar appears when it exceeds the page.
    void Layout();
    int ContentHeight() const { return m_contentHeight; }
    bool HasScrollBar() const { return m_scrollBar != nullptr; }
    // Pixels the content is scrolled up.
    int ScrollOffset() const;
    void ScrollBy(int pixels);

    // Once per frame: keeps the focused control in view, drags the scroll bar, tracks the
    // control under the pointer for the tooltip, then each control's Run.
    void Run() override;
    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Draw() override;
    // The frame goes around the focused control inside, not around the whole page.
    void DrawFocus() const override {}
    void Deactivate() override;
    void GetSize(int& outWidth, int& outHeight) const override;

    // Focus. FocusStep moves to the previous (-1) or next (+1) focusable control, wrapping.
    void FocusStep(int direction);
    // Gives the focus to the control (when it can take it); false otherwise.
    bool SetFocusTo(CBControlItem* control);
    int FocusIndex() const { return m_focusIndex; }
    CBControlItem* Focused() const { return m_mouseOnly ? nullptr : At(m_focusIndex); }

    // A locked page ignores keys (a modal sub-page is open).
    void SetLocked(bool locked) { m_locked = locked; }
    bool IsLocked() const { return m_locked; }

    // The control whose tooltip is shown (null when none).
    CBControlItem* TooltipControl() const { return m_tooltip; }

    // Reserves the bottom lines of the page (0 = none) for the help line.
    void SetHelpLine(int lines);
    int HelpLineHeight() const;
    // The text the help line shows now (empty when none), and that text broken into the lines
    // that fit the page width.
    std::string HelpLineText() const;
    std::vector<std::string> HelpLineRows() const;

private:
    bool Focusable(int index) const;
    void SetFocusIndex(int index);
    void ScrollFocusIntoView();

    std::vector<CBControlItem*> m_controls; // not owned
    int m_focusIndex = -1;
    bool m_locked = false;
    TRect2D m_rect{0, 0, 800, 600};
    int m_contentHeight = 0;
    std::unique_ptr<CScrollBar> m_scrollBar; // only while the content is taller than the page
    bool m_scrollToFocusPending = false;
    CBControlItem* m_hover = nullptr;   // under the pointer
    CBControlItem* m_tooltip = nullptr; // shown
    int m_helpLines = 0;                // rows reserved at the bottom for the long help
};
