#include "gfx/gui/CCI_KeyDefBox.h"

#include "gfx/gui/GuiHost.h"
#include "input/KeyCodes.h"

namespace
{
constexpr int kFieldHeight = 16;

bool IsModifierKey(uint32_t key)
{
    return key == DIK_LSHIFT || key == DIK_RSHIFT || key == DIK_LCONTROL || key == DIK_RCONTROL || key == DIK_LMENU ||
           key == DIK_RMENU;
}
} // namespace

CCI_KeyDefBox::CCI_KeyDefBox(int x, int y, int width, const std::string& label)
    : CBControlItem(x, y), m_width(width), m_label(label)
{
    m_enabled = true;
}

void CCI_KeyDefBox::SetKey(uint32_t key, uint32_t modifiers)
{
    m_key = key < KEY_CODE_COUNT ? key : KEY_NONE;
    m_modifiers = modifiers & IE_MODIFIER_MASK;
}

std::string CCI_KeyDefBox::KeyText() const
{
    return m_key == KEY_NONE ? std::string() : FormatKey(m_key, m_modifiers);
}

int CCI_KeyDefBox::OnKey(const CInputEvent& event)
{
    if (!IsLive())
        return kEventNotHandled;
    if (!m_capturing)
    {
        if (event.key == KEY_ENTER && event.IsGoingDown() && NoModifier(event))
        {
            m_capturing = true;
            GuiPlaySound(Host(), kSoundPip1);
            return kEventConsumed;
        }
        return kEventNotHandled;
    }
    // While capturing every key event is ours: the key being defined must not act as well.
    if (!event.IsGoingDown() || event.key >= KEY_BUTTON_BASE || IsModifierKey(event.key))
        return event.key < KEY_BUTTON_BASE ? kEventConsumed : kEventNotHandled;
    m_capturing = false;
    if (event.key == DIK_ESCAPE && NoModifier(event))
        return kEventConsumed;
    if (event.key == DIK_DELETE && NoModifier(event))
        SetKey(KEY_NONE, 0);
    else
        SetKey(event.key, event.Modifiers());
    SetActivated();
    GuiPlaySound(Host(), kSoundPip1);
    return kEventConsumed;
}

int CCI_KeyDefBox::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT || !event.IsGoingDown() || !IsMouseInside())
        return kEventNotHandled;
    m_capturing = !m_capturing;
    return kEventConsumed;
}

void CCI_KeyDefBox::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_width;
    outHeight = kFieldHeight;
}

void CCI_KeyDefBox::Draw()
{
    const TRect2D r = AbsoluteRect();
    DrawField(r, m_capturing ? std::string("...") : KeyText(), m_capturing);
    DrawLabel(m_label, r.x, r.y, r.w, r.h);
}
