#include "gfx/gui/CCI_RadioButton.h"

#include <algorithm>

#include "gfx/draw2d/CSpriteList.h"
#include "gfx/gui/GuiHost.h"

namespace
{
constexpr int kBoxSize = 16;
}

void CRadioGroup::Add(CCI_RadioButton* button)
{
    if (button != nullptr && std::find(m_buttons.begin(), m_buttons.end(), button) == m_buttons.end())
        m_buttons.push_back(button);
}

void CRadioGroup::Remove(CCI_RadioButton* button)
{
    m_buttons.erase(std::remove(m_buttons.begin(), m_buttons.end(), button), m_buttons.end());
}

void CRadioGroup::Select(CCI_RadioButton* button)
{
    for (CCI_RadioButton* b : m_buttons)
        b->SetSelected(b == button);
}

int CRadioGroup::SelectedIndex() const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i]->IsSelected())
            return static_cast<int>(i);
    return -1;
}

void CRadioGroup::SelectIndex(int index)
{
    Select(index >= 0 && index < static_cast<int>(m_buttons.size()) ? m_buttons[index] : nullptr);
}

CCI_RadioButton::CCI_RadioButton(int x, int y, const std::string& label, CRadioGroup* group)
    : CBControlItem(x, y), m_label(label), m_group(group)
{
    m_enabled = true;
    if (m_group != nullptr)
        m_group->Add(this);
}

CCI_RadioButton::~CCI_RadioButton()
{
    if (m_group != nullptr)
        m_group->Remove(this);
}

void CCI_RadioButton::Choose()
{
    if (m_group != nullptr)
        m_group->Select(this);
    else
        m_selected = true;
    GuiPlaySound(Host(), kSoundSwitchOn);
    SetActivated();
}

int CCI_RadioButton::OnKey(const CInputEvent& event)
{
    if (!IsLive() || (event.key != KEY_ENTER && event.key != KEY_SPACE) || !NoModifier(event) || !event.IsGoingDown())
        return kEventNotHandled;
    Choose();
    return kEventConsumed;
}

int CCI_RadioButton::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT || !event.IsGoingDown() || !IsMouseInside())
        return kEventNotHandled;
    Choose();
    return kEventConsumed;
}

void CCI_RadioButton::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = kBoxSize;
    outHeight = kBoxSize;
}

void CCI_RadioButton::Draw()
{
    const TRect2D r = AbsoluteRect();
    SetColor(2);
    FillRect(r.x + 1, r.y + 1, r.w - 2, r.h - 2, IsEnabled() ? 16 : 9);
    if (m_selected)
    {
        SetColor(24);
        FillRect(r.x + 5, r.y + 5, r.w - 10, r.h - 10);
    }
    DrawLabel(m_label, r.x, r.y, r.w, r.h, true);
}
