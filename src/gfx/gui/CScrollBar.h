#pragma once
// The vertical scroll bar of a control page: a track along the page's right edge and a thumb
// whose length is the visible fraction. Position 0 shows the top of the content, 1 the bottom.

#include "gfx/draw2d/Draw2D.h"
#include "input/CInputEvent.h"

class CScrollBar
{
public:
    static constexpr int kWidth = 12; // pixels

    // The track rectangle (absolute) and the visible fraction of the content (0..1].
    void SetGeometry(const TRect2D& track, float visibleFraction);
    float Position() const { return m_position; }
    // Clamped to 0..1.
    void SetPosition(float position);
    // Moves by delta (fraction of the scroll range).
    void Scroll(float delta) { SetPosition(m_position + delta); }
    // A left press on the track starts dragging (or pages); consumed events give true.
    bool OnMouse(const CInputEvent& event, int mouseX, int mouseY);
    // While dragging, follows the pointer.
    void Run(int mouseX, int mouseY);
    void Draw() const;
    bool IsDragging() const { return m_dragging; }
    TRect2D ThumbRect() const;

private:
    TRect2D m_track;
    float m_visible = 1.0f;
    float m_position = 0.0f;
    bool m_dragging = false;
    int m_dragOffset = 0; // pointer y minus thumb top when the drag began
};
