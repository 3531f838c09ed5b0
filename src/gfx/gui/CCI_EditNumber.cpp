#include "gfx/gui/CCI_EditNumber.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/Diagnostics.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/gui/GuiHost.h"
#include "input/KeyCodes.h"

namespace
{
constexpr int kFieldHeight = 16;
constexpr int kArrowWidth = 16; // the up and down arrows share this column, 8 pixels high each
} // namespace

CCI_EditNumber::CCI_EditNumber(int x, int y, int width, const std::string& label, float step, float min, float max)
    : CBControlItem(x, y), m_width(width), m_label(label), m_step(step), m_min(std::min(min, max)),
      m_max(std::max(min, max)), m_editor("0123456789-+.eE", 40)
{
    m_enabled = true;
    SetValue(0.0f);
}

void CCI_EditNumber::SetValue(float value)
{
    if (std::isnan(value))
        return;
    m_value = std::clamp(value, m_min, m_max);
}

void CCI_EditNumber::SetRange(float min, float max)
{
    m_min = std::min(min, max);
    m_max = std::max(min, max);
    SetValue(m_value);
}

std::string CCI_EditNumber::DisplayText() const
{
    return StringPrintf("%.4f", m_value);
}

std::string CCI_EditNumber::FitText(float value, size_t columns)
{
    std::string text = StringPrintf("%.4f", value);
    if (text.size() <= columns)
        return text;
    const size_t dot = text.find('.');
    if (dot != std::string::npos && dot <= columns)
    {
        text.resize(columns);
        if (text.back() == '.')
            text.pop_back();
        return text;
    }
    text = StringPrintf("%g", value);
    return text.size() <= columns ? text : std::string(columns, '#');
}

void CCI_EditNumber::UserSet(float value)
{
    const float old = m_value;
    SetValue(value);
    if (m_value != old)
        SetActivated();
}

void CCI_EditNumber::StepBy(int direction)
{
    m_editor.Cancel();
    GuiPlaySound(Host(), direction > 0 ? kSoundFocusNext : kSoundFocusBack);
    UserSet(m_value + static_cast<float>(direction) * m_step);
}

void CCI_EditNumber::Apply(const std::string& text)
{
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value))
    {
        DiagPrint("Number field '%s': '%s' is not a number, value kept\n", m_label.c_str(), text.c_str());
        return;
    }
    GuiPlaySound(Host(), kSoundPip1);
    UserSet(value);
}

int CCI_EditNumber::OnKey(const CInputEvent& event)
{
    if (!IsLive())
        return kEventNotHandled;
    if ((event.key == DIK_UP || event.key == DIK_DOWN) && (event.flags & (IE_GOING_DOWN | IE_REPEAT)) != 0 &&
        NoModifier(event))
    {
        StepBy(event.key == DIK_UP ? +1 : -1);
        return kEventConsumed;
    }
    switch (m_editor.OnKey(event, DisplayText()))
    {
    case CLineEditor::Result::Ignored:
        return kEventNotHandled;
    case CLineEditor::Result::Committed:
        Apply(m_editor.Text());
        return kEventConsumed;
    case CLineEditor::Result::Consumed:
    case CLineEditor::Result::Cancelled:
        return kEventConsumed;
    }
    return kEventNotHandled;
}

int CCI_EditNumber::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT || (event.flags & (IE_GOING_DOWN | IE_REPEAT)) == 0)
        return kEventNotHandled;
    const TRect2D r = AbsoluteRect();
    int mx = 0, my = 0;
    GuiMousePosition(Host(), mx, my);
    if (!r.Contains(mx, my))
        return kEventNotHandled;
    if (mx >= r.x + r.w - kArrowWidth)
    {
        // Held on an arrow, the repeats keep stepping.
        StepBy(my < r.y + r.h / 2 ? +1 : -1);
        return kEventConsumed;
    }
    return event.IsGoingDown() ? kEventConsumed : kEventNotHandled;
}

void CCI_EditNumber::SetFocus(bool focus)
{
    // Leaving the field (Tab, or a click on OK) keeps what was typed; only Escape throws it away.
    std::string typed;
    if (!focus && m_editor.Finish(typed))
        Apply(typed);
    CBControlItem::SetFocus(focus);
}

void CCI_EditNumber::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_width;
    outHeight = kFieldHeight;
}

void CCI_EditNumber::Draw()
{
    const TRect2D r = AbsoluteRect();
    const bool editing = m_editor.IsEditing();
    const TRect2D field{r.x, r.y, r.w - kArrowWidth, r.h};
    std::string shown = editing ? m_editor.Text() + "_" : DisplayText();
    // The field clips from the left (the end of a typed text matters); a shown value is fitted
    // from the right instead.
    const CFont* font = Fonts().Get(Fonts().f09x12);
    if (!editing && font != nullptr && font->charWidth + font->interChar > 0 && field.w > 8)
        shown = FitText(m_value, static_cast<size_t>((field.w - 8) / (font->charWidth + font->interChar)));
    DrawField(field, shown, editing);
    const TInterfaceSprites& ui = SpriteList().Interface();
    SetColor(IsEnabled() ? 20 : 10);
    const float ax = static_cast<float>(r.x + r.w - kArrowWidth);
    const float half = r.h * 0.5f;
    if (ui.arrowUp >= 0 && ui.arrowDown >= 0)
    {
        DrawSprite(ui.arrowUp, ax, static_cast<float>(r.y), kArrowWidth, half);
        DrawSprite(ui.arrowDown, ax, r.y + half, kArrowWidth, half);
    }
    DrawLabel(m_label, r.x, r.y, r.w, r.h);
}
