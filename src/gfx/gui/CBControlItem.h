#pragma once
// Base of every GUI control and of the control page. A control sits at (x, y) relative to its
// parent page; its absolute position adds the positions of every enclosing page.
//
// Events: OnKey gets key and command events while the control has the focus, OnMouse gets mouse
// button events (key KEY_MOUSE_LEFT/RIGHT) and reads the pointer from the GUI host. Both return
// 0 when not handled, UC_UNDEFINED (120) when consumed without a command, or a command code.
//
// Activated is a one-shot flag the owner polls every frame (WasActivated reads and clears it);
// value controls set it when the user changed their value.

#include <string>

#include "gfx/draw2d/Draw2D.h"
#include "input/CInputEvent.h"

class CControlPageEx;
class IGuiHost;

constexpr int kEventNotHandled = 0;
constexpr int kEventConsumed = 120; // UC_UNDEFINED

class CBControlItem
{
public:
    CBControlItem(int x = 0, int y = 0) : m_x(x), m_y(y) {}
    virtual ~CBControlItem();
    CBControlItem(const CBControlItem&) = delete;
    CBControlItem& operator=(const CBControlItem&) = delete;

    virtual void SetParent(CControlPageEx* page) { m_parent = page; }
    virtual int OnKey(const CInputEvent& event);
    virtual void Draw() {}
    virtual int OnMouse(const CInputEvent& event);
    // Drops any pressed or editing state.
    virtual void Deactivate() {}
    // Also clears activated.
    virtual void SetEnabled(bool enabled);
    virtual void SetVisible(bool visible) { m_visible = visible; }
    virtual bool IsEnabled() const { return m_enabled; }
    virtual bool IsVisible() const { return m_visible; }
    virtual void SetFocus(bool focus) { m_focus = focus; }
    virtual bool HasFocus() const { return m_focus; }
    virtual bool CanTakeFocus() const { return !m_mouseOnly; }
    // Worked with the mouse only: the control never takes the focus, so Space and Enter reach
    // the commands bound to them instead of the last button clicked (title-bar and camera-bar
    // buttons must not take the keys from the pilot). A page that is mouse-only also takes no
    // keys and shows no focus inside.
    void SetMouseOnly(bool mouseOnly) { m_mouseOnly = mouseOnly; }
    bool IsMouseOnly() const { return m_mouseOnly; }
    // Reads and clears the one-shot flag.
    virtual bool WasActivated();
    virtual void OnPageShown() {}
    virtual void OnPageHidden() {}
    // Per-frame work (dragging, auto-scroll); called by the page's Run.
    virtual void Run() {}
    virtual void GetSize(int& outWidth, int& outHeight) const;
    // (x, y) relative to the parent, plus GetSize.
    virtual void GetRect(TRect2D& outRect) const;

    int X() const { return m_x; }
    int Y() const { return m_y; }
    void SetPosition(int x, int y) { m_x = x; m_y = y; }
    CControlPageEx* Parent() const { return m_parent; }
    // The GUI host: the control's own when one was handed in, else its page's (null: none). The
    // owner of a top-level page, or of a control on no page, hands it in.
    void SetGuiHost(IGuiHost* host) { m_host = host; }
    IGuiHost* Host() const;
    // Top-left corner in drawing coordinates (scroll offsets of the pages applied).
    void GetAbsolutePosition(int& outX, int& outY) const;
    // The absolute rectangle.
    TRect2D AbsoluteRect() const;
    // Whether the pointer is inside the absolute rectangle.
    bool IsMouseInside() const;

    // The glow drawn around the focused control (the page calls it).
    virtual void DrawFocus() const;

    // Help texts (string-table texts), shown by the page as tooltip and help line.
    void SetHelp(const std::string& shortText, const std::string& longText);
    const std::string& ShortHelp() const { return m_shortHelp; }
    const std::string& LongHelp() const { return m_longHelp; }

protected:
    void SetActivated() { m_activated = true; }
    // True when the control is usable for input: enabled and visible.
    bool IsLive() const { return m_enabled && m_visible; }
    // Draws a field label in F09x12: right-aligned 4 pixels left of the field at (absX, absY),
    // or left-aligned 4 pixels right of it (fieldWidth later) when onRight.
    static void DrawLabel(const std::string& label, int absX, int absY, int fieldWidth, int fieldHeight,
                          bool onRight = false);
    // A field box: frame, background and the text inside, left-aligned.
    static void DrawField(const TRect2D& rect, const std::string& text, bool highlighted);

    int m_x;
    int m_y;
    CControlPageEx* m_parent = nullptr; // not owned: the page the control was added to
    IGuiHost* m_host = nullptr;         // not owned
    bool m_enabled = false;
    bool m_visible = true;
    bool m_activated = false;
    bool m_focus = false;
    bool m_mouseOnly = false; // see SetMouseOnly
    std::string m_shortHelp;
    std::string m_longHelp;
};
