#include "gfx/gui/CCI_EditString.h"

#include <algorithm>

#include "gfx/draw2d/CFontList.h"
#include "gfx/gui/GuiHost.h"

namespace
{
constexpr int kFieldHeight = 16;
}

CCI_EditString::CCI_EditString(int x, int y, int width, const std::string& label)
    : CBControlItem(x, y), m_width(width), m_label(label)
{
    m_enabled = true;
}

void CCI_EditString::Apply(const std::string& text)
{
    if (text != m_text)
    {
        m_text = text;
        SetActivated();
    }
    GuiPlaySound(Host(), kSoundPip1);
}

int CCI_EditString::OnKey(const CInputEvent& event)
{
    if (!IsLive())
        return kEventNotHandled;
    switch (m_editor.OnKey(event, m_text))
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

int CCI_EditString::OnMouse(const CInputEvent& event)
{
    // A click only takes the focus (the page does that for an answered press).
    if (!IsLive() || event.key != KEY_MOUSE_LEFT || !event.IsGoingDown() || !IsMouseInside())
        return kEventNotHandled;
    return kEventConsumed;
}

void CCI_EditString::SetFocus(bool focus)
{
    // Leaving the field (Tab, or a click on OK) keeps what was typed; only Escape throws it away.
    std::string typed;
    if (!focus && m_editor.Finish(typed))
        Apply(typed);
    CBControlItem::SetFocus(focus);
}

void CCI_EditString::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_width;
    outHeight = kFieldHeight;
}

void CCI_EditString::Draw()
{
    const TRect2D r = AbsoluteRect();
    const bool editing = m_editor.IsEditing();
    DrawField(r, editing ? m_editor.Text() : m_text, editing);
    if (editing)
    {
        // Text cursor after the edited character (the field shows the text's tail when long).
        const CFont* font = Fonts().Get(Fonts().f09x12);
        if (font != nullptr)
        {
            const int advance = font->charWidth + font->interChar;
            const int fit = advance > 0 ? (r.w - 8) / advance : 0;
            const int hidden = std::max(0, static_cast<int>(m_editor.Text().size()) - fit);
            const int cx = r.x + 4 + (static_cast<int>(m_editor.Cursor()) - hidden) * advance;
            SetColor(36);
            FillRect(cx, r.y + 2, 1, r.h - 4);
        }
    }
    DrawLabel(m_label, r.x, r.y, r.w, r.h);
}
