#include "gfx/views/CViewManager.h"

#include "core/CTimeStatistics.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/gui/GuiHost.h"
#include "input/UserCommands.h"

namespace
{
constexpr int kConsumed = static_cast<int>(UC_UNDEFINED);
}

int CViewManager::Add(CView* view)
{
    if (!view || m_count >= kMaxViews)
        return -1;
    const int slot = m_count++;
    m_views[slot] = view;
    view->SetTimeStatistics(m_timeStats);
    view->SetGuiHost(m_host);
    // New views go behind the others, in front of the background.
    m_stack[slot] = slot;
    if (m_background >= 0)
        MoveToBack(m_background);
    return slot;
}

CView* CViewManager::View(int slot) const
{
    return slot >= 0 && slot < m_count ? m_views[slot] : nullptr;
}

void CViewManager::Activate(int slot)
{
    if (slot < 0 || slot >= m_count)
        return;
    if (CView* old = View(m_active))
        old->SetActive(false);
    m_active = slot;
    m_views[slot]->SetActive(true);
    MoveToFront(slot);
    if (m_background >= 0)
        MoveToBack(m_background);
}

void CViewManager::SetBackground(int slot)
{
    m_background = slot >= 0 && slot < m_count ? slot : -1;
    if (m_background >= 0)
        MoveToBack(m_background);
}

void CViewManager::BringToFront(int slot)
{
    if (slot < 0 || slot >= m_count)
        return;
    MoveToFront(slot);
    if (m_background >= 0)
        MoveToBack(m_background);
}

void CViewManager::MoveToFront(int slot)
{
    int i = 0;
    while (i < m_count && m_stack[i] != slot)
        ++i;
    for (; i > 0; --i)
        m_stack[i] = m_stack[i - 1];
    m_stack[0] = slot;
}

void CViewManager::MoveToBack(int slot)
{
    int i = 0;
    while (i < m_count && m_stack[i] != slot)
        ++i;
    for (; i + 1 < m_count; ++i)
        m_stack[i] = m_stack[i + 1];
    m_stack[m_count - 1] = slot;
}

int CViewManager::HitTest(int x, int y) const
{
    for (int i = 0; i < m_count; ++i)
    {
        const CView* view = m_views[m_stack[i]];
        if (view->IsVisible() && view->Viewport().PixelRect().Contains(x, y))
            return m_stack[i];
    }
    return -1;
}

int CViewManager::OnCommand(const CInputEvent& event)
{
    CView* active = ActiveView();
    if (!active || !active->IsVisible())
        return 0;
    const int result = active->OnCommand(event);
    return active->IsModal() && result == 0 ? kConsumed : result;
}

int CViewManager::OnMouse(const CInputEvent& event)
{
    const bool button = event.key == KEY_MOUSE_LEFT || event.key == KEY_MOUSE_RIGHT;
    if (button && event.IsGoingDown())
    {
        int mx = 0, my = 0;
        GuiMousePosition(m_host, mx, my);
        const int hit = HitTest(mx, my);
        CView* active = ActiveView();
        if (hit >= 0 && hit != m_active)
        {
            if (active && active->IsModal() && active->IsVisible())
            {
                GuiPlaySound(m_host, kSoundPip1);
                active->StartActivationFlash();
            }
            else
            {
                Activate(hit);
            }
        }
    }
    CView* active = ActiveView();
    if (!active || !active->IsVisible())
        return 0;
    const int result = active->OnMouse(event);
    return active->IsModal() && result == 0 ? kConsumed : result;
}

void CViewManager::SetTimeStatistics(CTimeStatistics* stats)
{
    m_timeStats = stats;
    for (int slot = 0; slot < m_count; ++slot)
        m_views[slot]->SetTimeStatistics(stats);
}

void CViewManager::SetGuiHost(IGuiHost* host)
{
    m_host = host;
    for (int slot = 0; slot < m_count; ++slot)
        m_views[slot]->SetGuiHost(host);
}

void CViewManager::Run()
{
    if (WindowClientWidth() != m_laidOutWidth || WindowClientHeight() != m_laidOutHeight)
        RelayoutAll();
    for (int slot = 0; slot < m_count; ++slot)
    {
        CView* view = m_views[slot];
        if (!view->IsVisible())
            continue;
        CTimeSection section(m_timeStats, view->Name());
        view->Run();
    }
}

void CViewManager::Draw()
{
    for (int i = m_count - 1; i >= 0; --i)
    {
        CView* view = m_views[m_stack[i]];
        if (!view->IsVisible())
            continue;
        CTimeSection section(m_timeStats, view->Name());
        view->PreDraw();
        view->RenderScene();
        {
            CDraw2DScope scope;
            Set2DProjectionWindow();
            view->Draw();
            if (!m_suppressFrame && m_stack[i] == m_active)
            {
                const TRect2D& r = view->Viewport().PixelRect();
                SetColor(21);
                DrawRect(r.x, r.y, r.w, r.h);
            }
        }
    }
}

void CViewManager::DeactivateAll()
{
    for (int slot = 0; slot < m_count; ++slot)
        m_views[slot]->Deactivate();
}

void CViewManager::RelayoutAll()
{
    m_laidOutWidth = WindowClientWidth();
    m_laidOutHeight = WindowClientHeight();
    for (int slot = 0; slot < m_count; ++slot)
        m_views[slot]->Layout();
}
