#include "gfx/gui/CScrollBar.h"

#include <algorithm>

namespace
{
constexpr int kMinThumb = 16; // pixels, so the thumb stays grabbable on long pages
}

void CScrollBar::SetGeometry(const TRect2D& track, float visibleFraction)
{
    m_track = track;
    m_visible = std::clamp(visibleFraction, 0.01f, 1.0f);
}

void CScrollBar::SetPosition(float position)
{
    m_position = std::clamp(position, 0.0f, 1.0f);
}

TRect2D CScrollBar::ThumbRect() const
{
    const int thumbH = std::min(m_track.h, std::max(kMinThumb, static_cast<int>(m_track.h * m_visible)));
    const int y = m_track.y + static_cast<int>(m_position * static_cast<float>(m_track.h - thumbH) + 0.5f);
    return TRect2D{m_track.x, y, m_track.w, thumbH};
}

bool CScrollBar::OnMouse(const CInputEvent& event, int mouseX, int mouseY)
{
    if (event.key != KEY_MOUSE_LEFT)
        return false;
    if (event.IsGoingUp() && m_dragging)
    {
        m_dragging = false;
        return true;
    }
    if (!event.IsGoingDown() || !m_track.Contains(mouseX, mouseY))
        return false;
    const TRect2D thumb = ThumbRect();
    if (thumb.Contains(mouseX, mouseY))
    {
        m_dragging = true;
        m_dragOffset = mouseY - thumb.y;
    }
    else
    {
        // A press on the track pages by one visible height.
        const float range = 1.0f - m_visible;
        const float page = range > 0.0f ? m_visible / range : 1.0f;
        Scroll(mouseY < thumb.y ? -page : page);
    }
    return true;
}

void CScrollBar::Run(int mouseX, int mouseY)
{
    if (!m_dragging)
        return;
    const TRect2D thumb = ThumbRect();
    const int travel = m_track.h - thumb.h;
    if (travel > 0)
        SetPosition(static_cast<float>(mouseY - m_dragOffset - m_track.y) / static_cast<float>(travel));
}

void CScrollBar::Draw() const
{
    SetColor(PaletteColor(3));
    FillRect(m_track.x, m_track.y, m_track.w, m_track.h, 8);
    const TRect2D thumb = ThumbRect();
    SetColor(m_dragging ? 16 : 12);
    FillRect(thumb.x + 2, thumb.y + 2, thumb.w - 4, thumb.h - 4);
}
