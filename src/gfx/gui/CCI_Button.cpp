#include "gfx/gui/CCI_Button.h"

#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/gui/GuiHost.h"

CCI_Button::CCI_Button(int x, int y, int width, int height, const std::string& spriteName)
    : CBControlItem(x, y), m_width(width), m_height(height)
{
    SetSprite(spriteName);
    m_enabled = true;
}

void CCI_Button::SetSprite(const std::string& spriteName)
{
    m_sprite = spriteName.empty() ? -1 : SpriteList().Find(spriteName);
}

void CCI_Button::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_width;
    outHeight = m_height;
}

void CCI_Button::RepeatAction()
{
    if (m_repeatCommand != kCommandNone)
        GuiPostCommand(Host(), m_repeatCommand);
    if (m_repeatKey != KEY_NONE)
        GuiPostKey(Host(), m_repeatKey, m_repeatKeyFlags);
}

bool CCI_Button::WasFired()
{
    const bool fired = m_fired;
    m_fired = false;
    return fired;
}

void CCI_Button::Fire()
{
    m_fired = true;
    if (m_releaseCommand != kCommandNone)
        GuiPostCommand(Host(), m_releaseCommand);
    if (m_targetProcess != kProcessNone)
    {
        GuiRequestProcess(Host(), m_targetProcess);
        SetActivated();
    }
    if (m_releaseKey != KEY_NONE)
        GuiPostKey(Host(), m_releaseKey, m_releaseKeyFlags);
    GuiPlaySound(Host(), kSoundButtonDown);
}

int CCI_Button::OnKey(const CInputEvent& event)
{
    if (!IsLive() || (event.key != KEY_ENTER && event.key != KEY_SPACE) || !NoModifier(event))
        return kEventNotHandled;
    if (event.IsGoingDown() && m_pressed == Pressed::None)
    {
        m_pressed = Pressed::Keyboard;
        RepeatAction();
        SetActivated();
        GuiPlaySound(Host(), kSoundButtonDown);
        return kEventConsumed;
    }
    if (m_pressed != Pressed::Keyboard)
        return kEventNotHandled;
    if (event.IsGoingUp())
    {
        m_pressed = Pressed::None;
        Fire();
        SetActivated();
        GuiPlaySound(Host(), kSoundButtonUp);
        return kEventConsumed;
    }
    if (event.IsRepeat())
    {
        RepeatAction();
        return kEventConsumed;
    }
    // Held without a repeat this frame: still ours.
    return event.IsDown() ? kEventConsumed : kEventNotHandled;
}

int CCI_Button::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT)
        return kEventNotHandled;
    const bool inside = IsMouseInside();
    if (event.IsGoingDown())
    {
        if (m_pressed != Pressed::None || !inside)
            return kEventNotHandled;
        m_pressed = Pressed::Mouse;
        SetActivated();
        GuiPlaySound(Host(), kSoundButtonDown);
        return kEventConsumed;
    }
    if (m_pressed != Pressed::Mouse)
        return kEventNotHandled;
    if (event.IsGoingUp())
    {
        m_pressed = Pressed::None;
        if (inside)
        {
            Fire();
            GuiPlaySound(Host(), kSoundButtonUp);
        }
        return kEventConsumed;
    }
    if (event.IsRepeat() && inside)
        RepeatAction();
    return kEventConsumed;
}

void CCI_Button::Draw()
{
    const TRect2D r = AbsoluteRect();
    const bool pressed = m_pressed != Pressed::None;
    const int shift = pressed ? 1 : 0;
    if (m_sprite >= 0)
    {
        SetColor(IsEnabled() ? (pressed ? 16 : 20) : 10);
        DrawSprite(m_sprite, static_cast<float>(r.x + shift), static_cast<float>(r.y + shift),
                   static_cast<float>(r.w), static_cast<float>(r.h));
    }
    else
    {
        SetColor(IsEnabled() ? (pressed ? 14 : 20) : 12);
        DrawFrame(r.x + shift, r.y + shift, r.w, r.h);
    }
    if (!m_text.empty())
    {
        const int saved = TextAlign();
        SetTextAlign(TA_CENTER_MIDDLE);
        SetColor(IsEnabled() ? 20 : 11);
        Fonts().DrawText(Fonts().f09x13B, r.x + r.w * 0.5f + shift, r.y + r.h * 0.5f + shift, m_text, 1.0f);
        SetTextAlign(saved);
    }
}
