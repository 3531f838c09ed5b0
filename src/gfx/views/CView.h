#pragma once
// A rectangular, movable window inside the application window: an optional title bar with a
// close button, its own page of GUI controls and its own 3D viewport. The flight screen is made
// of views (main flight view, close-up, dialogs); CViewManager stacks them and routes input.
//
// Event handlers return 0 when they did not handle an event, a user command when they did, and
// 120 (UC_UNDEFINED) when they consumed it without a command. A modal view consumes everything
// offered to it: its 0 becomes 120.
//
// Dragging: a button going down on the title bar starts a drag; until the button goes up every
// mouse event is consumed and the view follows the mouse by exactly its movement.
//
// Drawing happens in window pixels (Set2DProjectionWindow); the control page is laid over the
// viewport rectangle, so the controls' absolute positions are window pixels too.

#include <memory>
#include <string>

#include "core/CTimer.h"
#include "gfx/gui/CControlPageEx.h"
#include "gfx/views/CViewport.h"
#include "input/CInputEvent.h"

class CCI_Button;
class CTimeStatistics;

class CView
{
public:
    // Style bits.
    static constexpr int VS_TITLE_BAR = 1;    // a 16-pixel title bar at the top
    static constexpr int VS_CLOSE_BUTTON = 2; // the close button is part of the control page
    static constexpr int kTitleBarHeight = 16;
    static constexpr double kFlashSeconds = 0.3;

    // name: the view's time-statistics section (kept for the view's life).
    CView(const std::string& name, int style);
    virtual ~CView();
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    virtual int OnCommand(const CInputEvent& event);
    virtual int OnMouse(const CInputEvent& event);
    virtual void Deactivate();
    // Once per frame while visible.
    virtual void Run();
    virtual void PreDraw() {}
    // The 2D part (title bar, controls, debug text).
    virtual void Draw();
    // The 3D part.
    virtual void RenderScene();
    virtual void Layout();
    virtual void Show(bool visible);

    bool IsVisible() const { return m_visible; }
    bool IsActive() const { return m_active; }
    void SetActive(bool active) { m_active = active; }
    bool IsModal() const { return m_modal; }
    void SetModal(bool modal) { m_modal = modal; }
    bool IsDragging() const { return m_dragging; }
    int Style() const { return m_style; }

    // Read and cleared by the owner, which hides or closes the view.
    bool IsCloseRequested() const { return m_closeRequested; }
    void ClearCloseRequest() { m_closeRequested = false; }

    void SetTitle(const std::string& title) { m_title = title; }
    const std::string& Title() const { return m_title; }
    const char* Name() const { return m_name.c_str(); }

    // The flash a modal view shows when a click went to another view.
    void StartActivationFlash();
    bool IsFlashing() const;

    // The debug switches of the view's 2D text (UC_DEBUG_GRAPHIC_STATE, _SCENEGRAPH_STATS).
    bool IsShowingGraphicState() const { return m_debugText; }
    bool IsShowingSceneStatistics() const { return m_sceneStats; }

    CViewport& Viewport() { return m_viewport; }
    const CViewport& Viewport() const { return m_viewport; }
    CControlPageEx& Page() { return m_page; }
    bool IsLayoutPending() const { return m_layoutPending; }
    // Title-bar hit rectangle in window pixels (the close button's corner left out).
    TRect2D TitleBarRect() const;

    // The GUI host of the view's controls and of its own mouse handling (not owned; null: none);
    // the view manager hands it in. Views with pages of their own beside the view's page pass it on.
    virtual void SetGuiHost(IGuiHost* host) { m_page.SetGuiHost(host); }
    IGuiHost* GuiHost() const { return m_page.Host(); }

    // Where the view times its work (not owned; null: nowhere); the view manager hands it in.
    void SetTimeStatistics(CTimeStatistics* stats) { m_timeStats = stats; }
    CTimeStatistics* TimeStatistics() const { return m_timeStats; }

    // s since the view was made (or its clock replaced): the clock of its flashes and refreshes.
    double Now() const { return m_clock.Seconds(); }
    // Restarts the clock on another counter (tests drive it by hand).
    void SetClock(CTimer::CountSource source) { m_clock = CTimer(source); }

protected:
    // What the close button does, for dialogs whose own buttons close them.
    void RequestClose() { m_closeRequested = true; }

    bool m_layoutPending = false;
    bool m_debugText = false;
    bool m_sceneStats = false;
    std::string m_sceneStatsText; // counted once a second: a walk of the whole terrain
    double m_sceneStatsTime = -1.0;

private:
    CViewport m_viewport;
    bool m_visible = true;
    bool m_active = false;
    bool m_modal = false;
    CControlPageEx m_page;
    std::unique_ptr<CCI_Button> m_closeButton;
    bool m_closeRequested = false;
    int m_style = 0;
    std::string m_title;
    std::string m_name;
    bool m_dragging = false;
    int m_dragMouseX = 0, m_dragMouseY = 0; // window pixels at the start of the drag
    TRect2D m_dragStartRect;
    bool m_flash = false;
    double m_flashStart = 0.0; // s, Now()
    CTimeStatistics* m_timeStats = nullptr;
    CTimer m_clock;
};
