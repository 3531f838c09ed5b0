#include "gfx/gui/CBControlItem.h"

#include <cmath>

#include "gfx/gui/CControlPageEx.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/gui/GuiHost.h"

CBControlItem::~CBControlItem()
{
    // A control deleted while still on a page must not leave the page pointing at it.
    if (m_parent != nullptr)
        m_parent->Remove(this);
}

int CBControlItem::OnKey(const CInputEvent&)
{
    return kEventNotHandled;
}

int CBControlItem::OnMouse(const CInputEvent&)
{
    return kEventNotHandled;
}

void CBControlItem::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    m_activated = false;
}

bool CBControlItem::WasActivated()
{
    const bool was = m_activated;
    m_activated = false;
    return was;
}

void CBControlItem::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = 0;
    outHeight = 0;
}

void CBControlItem::GetRect(TRect2D& outRect) const
{
    outRect.x = m_x;
    outRect.y = m_y;
    GetSize(outRect.w, outRect.h);
}

void CBControlItem::GetAbsolutePosition(int& outX, int& outY) const
{
    TRect2D rect;
    GetRect(rect);
    outX = rect.x;
    outY = rect.y;
    for (const CControlPageEx* page = m_parent; page != nullptr; page = page->Parent())
    {
        outX += page->X();
        outY += page->Y() - page->ScrollOffset();
    }
}

IGuiHost* CBControlItem::Host() const
{
    for (const CBControlItem* item = this; item != nullptr; item = item->m_parent)
    {
        if (item->m_host != nullptr)
            return item->m_host;
    }
    return nullptr;
}

TRect2D CBControlItem::AbsoluteRect() const
{
    TRect2D rect;
    GetRect(rect);
    GetAbsolutePosition(rect.x, rect.y);
    return rect;
}

bool CBControlItem::IsMouseInside() const
{
    int mx = 0, my = 0;
    GuiMousePosition(Host(), mx, my);
    return AbsoluteRect().Contains(mx, my);
}

void CBControlItem::SetHelp(const std::string& shortText, const std::string& longText)
{
    m_shortHelp = shortText;
    m_longHelp = longText;
}

void CBControlItem::DrawFocus() const
{
    const TRect2D r = AbsoluteRect();
    const float pulse = GuiFocusPulse(Host());
    const TColor glow = PaletteColor(36);
    SetColor(glow.r, glow.g, glow.b, static_cast<uint8_t>(120 + 135 * pulse));
    DrawRect(r.x - 2, r.y - 2, r.w + 4, r.h + 4);
    SetColor(glow.r, glow.g, glow.b, static_cast<uint8_t>(40 + 60 * pulse));
    DrawRect(r.x - 3, r.y - 3, r.w + 6, r.h + 6);
}

void CBControlItem::DrawLabel(const std::string& label, int absX, int absY, int fieldWidth, int fieldHeight,
                              bool onRight)
{
    if (label.empty())
        return;
    const int saved = TextAlign();
    SetTextAlign((onRight ? TA_LEFT : TA_RIGHT) | TA_MIDDLE);
    SetColor(18);
    const float x = onRight ? static_cast<float>(absX + fieldWidth + 4) : static_cast<float>(absX - 4);
    Fonts().DrawText(Fonts().f09x12, x, static_cast<float>(absY) + fieldHeight * 0.5f, label, 1.0f);
    SetTextAlign(saved);
}

void CBControlItem::DrawField(const TRect2D& rect, const std::string& text, bool highlighted)
{
    SetColor(highlighted ? 5 : 2);
    FillRect(rect.x, rect.y, rect.w, rect.h, highlighted ? 16 : 9);
    const int saved = TextAlign();
    SetTextAlign(TA_LEFT | TA_MIDDLE);
    SetColor(20);
    // Clip the text to the field by characters: the fonts are monospaced.
    const CFont* font = Fonts().Get(Fonts().f09x12);
    std::string shown = text;
    if (font != nullptr)
    {
        const int advance = font->charWidth + font->interChar;
        const size_t fit = advance > 0 && rect.w > 8 ? static_cast<size_t>((rect.w - 8) / advance) : 0;
        if (shown.size() > fit)
            shown = shown.substr(shown.size() - fit);
    }
    Fonts().DrawText(Fonts().f09x12, static_cast<float>(rect.x + 4), rect.y + rect.h * 0.5f, shown, 1.0f);
    SetTextAlign(saved);
}
