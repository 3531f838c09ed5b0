#include "gfx/gui/CCI_StaticText.h"

#include "gfx/gui/CControlPageEx.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/gui/GuiHost.h"
#include "input/KeyCodes.h"

namespace
{
constexpr float kTitleScale = 2.5f;
const TColor kTitleColor{70, 255, 170, 255};
const TColor kTitleShadow{45, 198, 105, 255};
const TColor kLinkColor{235, 240, 245, 255};
const TColor kLinkFocusColor{255, 200, 60, 255};
} // namespace

CCI_StaticText::CCI_StaticText(int x, int y, const std::string& text, int style)
    : CBControlItem(x, y), m_text(text), m_style(style)
{
    m_enabled = true;
}

int CCI_StaticText::FontIndex() const
{
    if (m_font >= 0)
        return m_font;
    switch (m_style)
    {
    case ST_TITLE:
        return Fonts().f09x13B;
    case ST_MENU_LINK:
        return Fonts().f20x32Courier;
    case ST_HEADING:
        return Fonts().f09x13B;
    default:
        return Fonts().f09x12;
    }
}

float CCI_StaticText::Scale() const
{
    if (m_style == ST_TITLE)
        return kTitleScale;
    return m_font >= 0 ? m_scale : 1.0f;
}

void CCI_StaticText::GetSize(int& outWidth, int& outHeight) const
{
    float w = 0.0f, h = 0.0f;
    Fonts().TextExtent(FontIndex(), m_text, Scale(), w, h);
    outWidth = static_cast<int>(w + 0.5f);
    outHeight = static_cast<int>(h + 0.5f);
}

void CCI_StaticText::GetRect(TRect2D& outRect) const
{
    GetSize(outRect.w, outRect.h);
    // A title is centred on its x.
    outRect.x = m_style == ST_TITLE ? m_x - outRect.w / 2 : m_x;
    outRect.y = m_y;
}

void CCI_StaticText::Activate()
{
    GuiPlaySound(Host(), kSoundClick);
    SetActivated();
    GuiRequestProcess(Host(), m_targetProcess);
}

int CCI_StaticText::OnKey(const CInputEvent& event)
{
    if (!IsLive() || !CanTakeFocus())
        return kEventNotHandled;
    if (event.key == KEY_ENTER && event.IsGoingDown() && NoModifier(event))
    {
        Activate();
        return kEventConsumed;
    }
    if (m_style == ST_MENU_LINK && (event.key == DIK_UP || event.key == DIK_DOWN) &&
        (event.flags & (IE_GOING_DOWN | IE_REPEAT)) != 0 && NoModifier(event) && m_parent != nullptr)
    {
        m_parent->FocusStep(event.key == DIK_UP ? -1 : +1);
        return kEventConsumed;
    }
    return kEventNotHandled;
}

int CCI_StaticText::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || !CanTakeFocus() || event.key != KEY_MOUSE_LEFT || !event.IsGoingDown() || !IsMouseInside())
        return kEventNotHandled;
    Activate();
    return kEventConsumed;
}

void CCI_StaticText::Draw()
{
    int ax = 0, ay = 0;
    GetAbsolutePosition(ax, ay);
    const int saved = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    const int font = FontIndex();
    if (m_style == ST_TITLE)
    {
        ::SetColor(kTitleColor);
        Fonts().DrawText(font, static_cast<float>(ax), static_cast<float>(ay), m_text, kTitleScale);
        ::SetColor(kTitleShadow);
        Fonts().DrawText(font, static_cast<float>(ax + 2), static_cast<float>(ay + 2), m_text, kTitleScale);
    }
    else if (m_style == ST_MENU_LINK)
    {
        ::SetColor(HasFocus() ? kLinkFocusColor : kLinkColor);
        Fonts().DrawText(font, static_cast<float>(ax), static_cast<float>(ay), m_text, Scale());
    }
    else
    {
        ::SetColor(IsEnabled() ? m_color : PaletteColor(10));
        Fonts().DrawMultiLineText(font, static_cast<float>(ax), static_cast<float>(ay), m_text, Scale());
    }
    SetTextAlign(saved);
}
