#include "gfx/gui/CCI_ComboBox.h"

#include <algorithm>

#include "data/CStringList.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/gui/GuiHost.h"
#include "input/KeyCodes.h"

namespace
{
constexpr int kFieldHeight = 16;
constexpr int kArrowSize = 16;
} // namespace

CCI_ComboBox::CCI_ComboBox(int x, int y, int width, const std::string& label)
    : CBControlItem(x, y), m_width(width), m_label(label)
{
    m_enabled = true;
}

void CCI_ComboBox::SetItems(const std::vector<std::string>& items)
{
    const std::string chosen = SelectedText();
    m_items = items;
    m_selected = -1;
    m_open = false;
    if (!chosen.empty())
        SelectText(chosen);
}

void CCI_ComboBox::SetItems(const CStringList& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Get(i));
    SetItems(items);
}

void CCI_ComboBox::SetSelected(int index)
{
    m_selected = index >= 0 && index < static_cast<int>(m_items.size()) ? index : -1;
}

std::string CCI_ComboBox::SelectedText() const
{
    return m_selected >= 0 ? m_items[m_selected] : std::string();
}

bool CCI_ComboBox::SelectText(const std::string& text)
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i] == text)
        {
            m_selected = static_cast<int>(i);
            return true;
        }
    return false;
}

void CCI_ComboBox::UserChoose(int index)
{
    if (m_items.empty())
        return;
    index = std::clamp(index, 0, static_cast<int>(m_items.size()) - 1);
    if (index != m_selected)
    {
        m_selected = index;
        SetActivated();
    }
    GuiPlaySound(Host(), kSoundPip1);
}

int CCI_ComboBox::OpenRows() const
{
    return std::min(kMaxOpenRows, static_cast<int>(m_items.size()));
}

TRect2D CCI_ComboBox::OpenListRect() const
{
    const TRect2D r = AbsoluteRect();
    return TRect2D{r.x, r.y + r.h, r.w, OpenRows() * kRowHeight};
}

int CCI_ComboBox::OnKey(const CInputEvent& event)
{
    if (!IsLive() || (event.flags & (IE_GOING_DOWN | IE_REPEAT)) == 0 || !NoModifier(event))
        return kEventNotHandled;
    const int count = static_cast<int>(m_items.size());
    if (m_open)
    {
        switch (event.key)
        {
        case DIK_UP:
        case DIK_DOWN:
            m_highlight = std::clamp(m_highlight + (event.key == DIK_UP ? -1 : 1), 0, std::max(0, count - 1));
            if (m_highlight < m_openTop)
                m_openTop = m_highlight;
            else if (m_highlight >= m_openTop + OpenRows())
                m_openTop = m_highlight - OpenRows() + 1;
            return kEventConsumed;
        case KEY_ENTER:
        case KEY_SPACE:
            if (!event.IsGoingDown())
                return kEventConsumed;
            m_open = false;
            UserChoose(m_highlight);
            return kEventConsumed;
        case DIK_ESCAPE:
            m_open = false;
            return kEventConsumed;
        default:
            return kEventNotHandled;
        }
    }
    switch (event.key)
    {
    case KEY_ENTER:
    case KEY_SPACE:
        if (!event.IsGoingDown() || count == 0)
            return kEventNotHandled;
        m_open = true;
        m_highlight = std::max(0, m_selected);
        m_openTop = std::clamp(m_highlight - OpenRows() / 2, 0, std::max(0, count - OpenRows()));
        return kEventConsumed;
    case DIK_UP:
        UserChoose(m_selected < 0 ? 0 : m_selected - 1);
        return kEventConsumed;
    case DIK_DOWN:
        UserChoose(m_selected + 1);
        return kEventConsumed;
    default:
        return kEventNotHandled;
    }
}

int CCI_ComboBox::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT || !event.IsGoingDown())
        return kEventNotHandled;
    int mx = 0, my = 0;
    GuiMousePosition(Host(), mx, my);
    if (m_open)
    {
        const TRect2D list = OpenListRect();
        m_open = false;
        if (list.Contains(mx, my))
        {
            UserChoose(m_openTop + (my - list.y) / kRowHeight);
            return kEventConsumed;
        }
        // A click elsewhere closes the list; on the field it is consumed, elsewhere it goes on.
        return AbsoluteRect().Contains(mx, my) ? kEventConsumed : kEventNotHandled;
    }
    if (!AbsoluteRect().Contains(mx, my) || m_items.empty())
        return kEventNotHandled;
    m_open = true;
    m_highlight = std::max(0, m_selected);
    m_openTop = std::clamp(m_highlight - OpenRows() / 2, 0, std::max(0, static_cast<int>(m_items.size()) - OpenRows()));
    return kEventConsumed;
}

void CCI_ComboBox::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_width;
    outHeight = kFieldHeight;
}

void CCI_ComboBox::Draw()
{
    const TRect2D r = AbsoluteRect();
    DrawField(TRect2D{r.x, r.y, r.w - kArrowSize, r.h}, SelectedText(), m_open);
    const TInterfaceSprites& ui = SpriteList().Interface();
    SetColor(IsEnabled() ? 20 : 10);
    if (ui.arrowDown >= 0)
        DrawSprite(ui.arrowDown, static_cast<float>(r.x + r.w - kArrowSize), static_cast<float>(r.y),
                   static_cast<float>(kArrowSize), static_cast<float>(r.h));
    DrawLabel(m_label, r.x, r.y, r.w, r.h);
    if (!m_open)
        return;
    // The open list is drawn over whatever lies below the field.
    const TRect2D list = OpenListRect();
    SetColor(3);
    FillRect(list.x, list.y, list.w, list.h, 16);
    const int saved = TextAlign();
    SetTextAlign(TA_LEFT | TA_MIDDLE);
    for (int i = 0; i < OpenRows(); ++i)
    {
        const int index = m_openTop + i;
        const int y = list.y + i * kRowHeight;
        if (index == m_highlight)
        {
            SetColor(28);
            FillRect(list.x + 1, y + 1, list.w - 2, kRowHeight - 2);
        }
        SetColor(20);
        Fonts().DrawText(Fonts().f09x12, static_cast<float>(list.x + 4), y + kRowHeight * 0.5f, m_items[index], 1.0f);
    }
    SetTextAlign(saved);
}
