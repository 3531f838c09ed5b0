#include "gfx/gui/CCI_ListBox.h"

#include <algorithm>

#include "data/CStringList.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/gui/GuiHost.h"
#include "input/KeyCodes.h"

namespace
{
constexpr int kArrowSize = 16;
}

CCI_ListBox::CCI_ListBox(int x, int y, int width, int rows, const CStringList* list)
    : CBControlItem(x, y), m_width(width), m_rows(std::max(1, rows)), m_list(list)
{
    m_enabled = true;
}

int CCI_ListBox::Count() const
{
    return m_list != nullptr ? m_list->Count() : 0;
}

void CCI_ListBox::SetList(const CStringList* list)
{
    m_list = list;
    m_top = 0;
    m_selected = Count() > 0 ? std::min(std::max(m_selected, 0), Count() - 1) : -1;
}

void CCI_ListBox::ScrollTo(int top)
{
    m_top = std::clamp(top, 0, std::max(0, Count() - m_rows));
}

void CCI_ListBox::SetSelected(int index)
{
    m_selected = index >= 0 && index < Count() ? index : -1;
    if (m_selected >= 0)
    {
        if (m_selected < m_top)
            ScrollTo(m_selected);
        else if (m_selected >= m_top + m_rows)
            ScrollTo(m_selected - m_rows + 1);
    }
}

std::string CCI_ListBox::SelectedText() const
{
    return m_selected >= 0 && m_list != nullptr ? m_list->Get(m_selected) : "";
}

bool CCI_ListBox::SelectText(const std::string& text)
{
    const int index = m_list != nullptr ? m_list->Find(text.c_str()) : -1;
    if (index < 0)
        return false;
    SetSelected(index);
    return true;
}

void CCI_ListBox::UserSelect(int index)
{
    if (Count() == 0)
        return;
    index = std::clamp(index, 0, Count() - 1);
    if (index == m_selected)
        return;
    GuiPlaySound(Host(), index > m_selected ? kSoundFocusNext : kSoundFocusBack);
    SetSelected(index);
    SetActivated();
}

int CCI_ListBox::OnKey(const CInputEvent& event)
{
    if (!IsLive() || (event.flags & (IE_GOING_DOWN | IE_REPEAT)) == 0 || !NoModifier(event))
        return kEventNotHandled;
    switch (event.key)
    {
    case DIK_UP:
        UserSelect(m_selected < 0 ? 0 : m_selected - 1);
        return kEventConsumed;
    case DIK_DOWN:
        UserSelect(m_selected + 1);
        return kEventConsumed;
    case DIK_PRIOR:
        UserSelect(m_selected - m_rows);
        return kEventConsumed;
    case DIK_NEXT:
        UserSelect(m_selected + m_rows);
        return kEventConsumed;
    case DIK_HOME:
        UserSelect(0);
        return kEventConsumed;
    case DIK_END:
        UserSelect(Count() - 1);
        return kEventConsumed;
    case KEY_ENTER:
        if (!event.IsGoingDown())
            return kEventNotHandled;
        SetActivated();
        return kEventConsumed;
    default:
        return kEventNotHandled;
    }
}

int CCI_ListBox::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT || (event.flags & (IE_GOING_DOWN | IE_REPEAT)) == 0)
        return kEventNotHandled;
    const TRect2D r = AbsoluteRect();
    int mx = 0, my = 0;
    GuiMousePosition(Host(), mx, my);
    if (!r.Contains(mx, my))
        return kEventNotHandled;
    if (mx >= r.x + r.w - kArrowSize)
    {
        // Arrow column: the top half scrolls up, the bottom half down; held, it keeps going.
        ScrollTo(m_top + (my < r.y + r.h / 2 ? -1 : 1));
        GuiPlaySound(Host(), kSoundPip1);
        return kEventConsumed;
    }
    if (!event.IsGoingDown())
        return kEventNotHandled;
    const int row = m_top + (my - r.y) / kRowHeight;
    if (row < Count())
        UserSelect(row);
    return kEventConsumed;
}

void CCI_ListBox::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_width;
    outHeight = m_rows * kRowHeight;
}

void CCI_ListBox::Draw()
{
    const TRect2D r = AbsoluteRect();
    SetColor(2);
    FillRect(r.x, r.y, r.w, r.h, 9);
    const int saved = TextAlign();
    SetTextAlign(TA_LEFT | TA_MIDDLE);
    const int textWidth = r.w - kArrowSize - 6;
    const CFont* font = Fonts().Get(Fonts().f09x12);
    const int advance = font != nullptr ? std::max(1, font->charWidth + font->interChar) : 9;
    for (int i = 0; i < m_rows && m_top + i < Count(); ++i)
    {
        const int row = m_top + i;
        const int y = r.y + i * kRowHeight;
        if (row == m_selected)
        {
            // Without the focus the selection stays blue, only darker: on grey its text read as
            // disabled (the key menu's selected group, once a key box had the focus).
            SetColor(HasFocus() ? 28 : 29);
            FillRect(r.x + 1, y + 1, r.w - kArrowSize - 2, kRowHeight - 2);
        }
        SetColor(20);
        std::string text = m_list->Get(row);
        if (static_cast<int>(text.size()) * advance > textWidth)
            text = text.substr(0, std::max(0, textWidth / advance));
        Fonts().DrawText(Fonts().f09x12, static_cast<float>(r.x + 4), y + kRowHeight * 0.5f, text, 1.0f);
    }
    SetTextAlign(saved);
    const TInterfaceSprites& ui = SpriteList().Interface();
    const float ax = static_cast<float>(r.x + r.w - kArrowSize);
    SetColor(m_top > 0 ? 20 : 9);
    if (ui.arrowUp >= 0)
        DrawSprite(ui.arrowUp, ax, static_cast<float>(r.y));
    SetColor(m_top + m_rows < Count() ? 20 : 9);
    if (ui.arrowDown >= 0)
        DrawSprite(ui.arrowDown, ax, static_cast<float>(r.y + r.h - kArrowSize));
}
