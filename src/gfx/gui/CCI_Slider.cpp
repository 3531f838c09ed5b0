#include "gfx/gui/CCI_Slider.h"

#include <algorithm>
#include <cmath>

#include "core/Diagnostics.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/gui/GuiHost.h"
#include "input/KeyCodes.h"

namespace
{
constexpr int kKnobWidth = 8;
}

CCI_Slider::CCI_Slider(int x, int y, int width, const std::string& label, float min, float max)
    : CBControlItem(x, y), m_width(width), m_label(label), m_min(std::min(min, max)), m_max(std::max(min, max)),
      m_value(m_min)
{
    m_enabled = true;
}

void CCI_Slider::SetValue(float value)
{
    if (!std::isnan(value))
        m_value = std::clamp(value, m_min, m_max);
}

void CCI_Slider::SetRange(float min, float max)
{
    m_min = std::min(min, max);
    m_max = std::max(min, max);
    SetValue(m_value);
}

void CCI_Slider::UserSet(float value)
{
    const float old = m_value;
    SetValue(value);
    if (m_value != old)
        SetActivated();
}

float CCI_Slider::ValueAt(int mouseX) const
{
    int ax = 0, ay = 0;
    GetAbsolutePosition(ax, ay);
    const int travel = m_width - kKnobWidth;
    if (travel <= 0)
        return m_min;
    const float t = std::clamp(static_cast<float>(mouseX - ax - kKnobWidth / 2) / static_cast<float>(travel), 0.0f, 1.0f);
    return m_min + t * (m_max - m_min);
}

int CCI_Slider::OnKey(const CInputEvent& event)
{
    if (!IsLive() || (event.flags & (IE_GOING_DOWN | IE_REPEAT)) == 0 || !NoModifier(event))
        return kEventNotHandled;
    const float step = (m_max - m_min) / 100.0f;
    switch (event.key)
    {
    case DIK_LEFT:
        UserSet(m_value - step);
        return kEventConsumed;
    case DIK_RIGHT:
        UserSet(m_value + step);
        return kEventConsumed;
    case DIK_HOME:
        UserSet(m_min);
        return kEventConsumed;
    case DIK_END:
        UserSet(m_max);
        return kEventConsumed;
    default:
        return kEventNotHandled;
    }
}

int CCI_Slider::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT)
        return kEventNotHandled;
    if (event.IsGoingUp() && m_dragging)
    {
        m_dragging = false;
        return kEventConsumed;
    }
    if (!event.IsGoingDown() || !IsMouseInside())
        return m_dragging ? kEventConsumed : kEventNotHandled;
    int mx = 0, my = 0;
    GuiMousePosition(Host(), mx, my);
    m_dragging = true;
    UserSet(ValueAt(mx));
    return kEventConsumed;
}

void CCI_Slider::Run()
{
    if (!m_dragging)
        return;
    int mx = 0, my = 0;
    GuiMousePosition(Host(), mx, my);
    UserSet(ValueAt(mx));
}

void CCI_Slider::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_width;
    outHeight = kHeight;
}

void CCI_Slider::Draw()
{
    const TRect2D r = AbsoluteRect();
    SetColor(3);
    FillRect(r.x, r.y + r.h / 2 - 2, r.w, 4, 9);
    const float t = m_max > m_min ? (m_value - m_min) / (m_max - m_min) : 0.0f;
    const int knobX = r.x + static_cast<int>(t * static_cast<float>(r.w - kKnobWidth) + 0.5f);
    SetColor(IsEnabled() ? (m_dragging ? 36 : 17) : 10);
    FillRect(knobX, r.y, kKnobWidth, r.h, 6);
    const int saved = TextAlign();
    SetTextAlign(TA_LEFT | TA_MIDDLE);
    SetColor(20);
    Fonts().DrawText(Fonts().f09x12, static_cast<float>(r.x + r.w + 6), r.y + r.h * 0.5f,
                     StringPrintf("%2.2f", m_value), 1.0f);
    SetTextAlign(saved);
    DrawLabel(m_label, r.x, r.y, r.w, r.h);
}
