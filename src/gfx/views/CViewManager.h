#pragma once
// The views of the flight screen: up to ten, their stacking order (entry 0 in front), the active
// view that gets commands and mouse events, an optional background view that always stays at
// the back, and modal views that keep the input to themselves.
//
// Mouse buttons (left or right going down) pick the front-most visible view under the mouse:
//   - none hit, or the active one: the event goes to the active view;
//   - the active view is modal: "Pip1.wav" plays, the modal view flashes and keeps the event;
//   - otherwise the hit view becomes active and comes to the front (the background view goes
//     back behind everything), then gets the event.
// A modal active view turns "not handled" (0) into "consumed" (120).
//
// The views are not owned: the flight process creates and deletes them and must remove nothing
// while the manager runs.

#include "gfx/views/CView.h"

class CTimeStatistics;

class CViewManager
{
public:
    static constexpr int kMaxViews = 10;

    // The slot (0, 1, 2, ... in order of adding), or -1 when full or view is null.
    int Add(CView* view);
    int Count() const { return m_count; }
    CView* View(int slot) const;

    void Activate(int slot);
    int ActiveSlot() const { return m_active; }
    bool IsActive(int slot) const { return slot >= 0 && slot == m_active; }
    CView* ActiveView() const { return View(m_active); }
    void SetBackground(int slot);
    // Moves the slot to the front of the stacking order (the background still stays at the back).
    void BringToFront(int slot);
    // Stacking order: entry 0 is the front-most slot.
    int StackEntry(int index) const { return m_stack[index]; }

    int OnCommand(const CInputEvent& event);
    int OnMouse(const CInputEvent& event);
    // Every visible view's Run, each in its own time-statistics section.
    void Run();
    // Back to front: PreDraw, RenderScene, Draw, then the active view's frame (palette 21).
    void Draw();
    void DeactivateAll();
    void SetSuppressActiveFrame(bool suppress) { m_suppressFrame = suppress; }
    // Every view lays out again at its proportions. Run does it by itself whenever the window's
    // client size changed (a resize, maximising, full screen).
    void RelayoutAll();

    // The GUI host (not owned; null: none), handed to every view added.
    void SetGuiHost(IGuiHost* host);

    // Where the views' work is timed (not owned; null: nowhere), handed to every view added.
    void SetTimeStatistics(CTimeStatistics* stats);
    CTimeStatistics* TimeStatistics() const { return m_timeStats; }

private:
    int HitTest(int x, int y) const;
    void MoveToFront(int slot);
    void MoveToBack(int slot);

    CView* m_views[kMaxViews] = {};
    int m_count = 0;
    int m_stack[kMaxViews] = {};
    int m_active = -1;
    int m_background = -1;
    bool m_suppressFrame = false;
    CTimeStatistics* m_timeStats = nullptr;
    IGuiHost* m_host = nullptr;
    int m_laidOutWidth = -1;  // client pixels at the last RelayoutAll
    int m_laidOutHeight = -1;
};
