#include "gfx/gui/CCI_CheckBox.h"

#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/gui/GuiHost.h"

namespace
{
constexpr int kBoxSize = 16; // pixels, the check box sprites' size
}

CCI_CheckBox::CCI_CheckBox(int x, int y, const std::string& label, bool checked)
    : CBControlItem(x, y), m_checked(checked), m_label(label)
{
    m_enabled = true;
}

void CCI_CheckBox::SetSprites(const std::string& onSprite, const std::string& offSprite)
{
    m_spriteOn = SpriteList().Find(onSprite);
    m_spriteOff = SpriteList().Find(offSprite);
}

int CCI_CheckBox::BoxSprite() const
{
    if (m_spriteOn >= 0 || m_spriteOff >= 0)
        return m_checked ? m_spriteOn : m_spriteOff;
    const TInterfaceSprites& ui = SpriteList().Interface();
    return m_checked ? ui.checkboxOn : ui.checkboxOff;
}

void CCI_CheckBox::Toggle()
{
    m_checked = !m_checked;
    GuiPlaySound(Host(), m_checked ? kSoundSwitchOn : kSoundSwitchOff);
    if (m_command != kCommandNone)
        GuiPostCommand(Host(), m_command);
    SetActivated();
}

int CCI_CheckBox::OnKey(const CInputEvent& event)
{
    if (!IsLive() || (event.key != KEY_ENTER && event.key != KEY_SPACE) || !NoModifier(event) || !event.IsGoingDown())
        return kEventNotHandled;
    Toggle();
    return kEventConsumed;
}

int CCI_CheckBox::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT || !event.IsGoingDown() || !IsMouseInside())
        return kEventNotHandled;
    Toggle();
    return kEventConsumed;
}

void CCI_CheckBox::GetSize(int& outWidth, int& outHeight) const
{
    if (m_spriteOn >= 0 || m_spriteOff >= 0)
    {
        const CSprite& sprite = SpriteList().Get(m_spriteOn >= 0 ? m_spriteOn : m_spriteOff);
        outWidth = sprite.width;
        outHeight = sprite.height;
        return;
    }
    outWidth = kBoxSize;
    outHeight = kBoxSize;
}

void CCI_CheckBox::Draw()
{
    const TRect2D r = AbsoluteRect();
    const int sprite = BoxSprite();
    // One picture for both states: the state must show some other way.
    const bool lit = m_checked && sprite >= 0 && m_spriteOn == m_spriteOff;
    if (lit)
        DrawLitPlate(r);
    SetColor(IsEnabled() ? 20 : 10);
    if (sprite >= 0)
        DrawSprite(sprite, static_cast<float>(r.x + (lit ? 1 : 0)), static_cast<float>(r.y + (lit ? 1 : 0)),
                   static_cast<float>(r.w), static_cast<float>(r.h));
    else
    {
        SetColor(2);
        FillRect(r.x, r.y, r.w, r.h, 16);
        if (m_checked)
        {
            SetColor(24);
            FillRect(r.x + 4, r.y + 4, r.w - 8, r.h - 8);
        }
    }
    DrawLabel(m_label, r.x, r.y, r.w, r.h, !m_labelOnLeft);
}

void CCI_CheckBox::DrawLitPlate(const TRect2D& r)
{
    // Amber: it stands out of sky, grass and the dark icon faces alike.
    SetColor(255, 176, 32, 255);
    FillRect(r.x - 2, r.y - 2, r.w + 4, r.h + 4);
}
