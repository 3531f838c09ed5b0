#include "gfx/gui/CCI_Tree.h"

#include <algorithm>

#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/gui/GuiHost.h"
#include "input/KeyCodes.h"

namespace
{
constexpr int kBox = 16;       // expander, icon and check box size (pixels)
constexpr int kCheckStep = 18; // check box columns at the right end
} // namespace

CCI_Tree::CCI_Tree(int x, int y, int width, int rows)
    : CBControlItem(x, y), m_width(width), m_visibleRows(std::max(1, rows))
{
    m_enabled = true;
}

void CCI_Tree::Clear()
{
    m_rows.clear();
    m_selected = -1;
    m_top = 0;
    m_lastCheckRow = -1;
    m_lastCheck = -1;
}

int CCI_Tree::AddRow(const TTreeRow& row)
{
    m_rows.push_back(row);
    return static_cast<int>(m_rows.size()) - 1;
}

void CCI_Tree::SetExpanded(int index, bool expanded)
{
    if (index < 0 || index >= RowCount() || !m_rows[index].group)
        return;
    m_rows[index].expanded = expanded;
    // The selection must stay on a visible row.
    if (m_selected >= 0)
    {
        const std::vector<int> visible = VisibleRows();
        if (std::find(visible.begin(), visible.end(), m_selected) == visible.end())
            m_selected = index;
    }
}

void CCI_Tree::SetSelected(int index)
{
    m_selected = index >= 0 && index < RowCount() ? index : -1;
    if (m_selected >= 0)
        EnsureVisible(m_selected);
}

std::vector<int> CCI_Tree::VisibleRows() const
{
    std::vector<int> visible;
    int hideDeeperThan = -1; // indent of a collapsed group whose children are being skipped
    for (int i = 0; i < RowCount(); ++i)
    {
        const TTreeRow& row = m_rows[i];
        if (hideDeeperThan >= 0)
        {
            if (row.indent > hideDeeperThan)
                continue;
            hideDeeperThan = -1;
        }
        visible.push_back(i);
        if (row.group && !row.expanded)
            hideDeeperThan = row.indent;
    }
    return visible;
}

void CCI_Tree::LastCheckChange(int& outRow, int& outCheck) const
{
    outRow = m_lastCheckRow;
    outCheck = m_lastCheck;
}

int CCI_Tree::ParentOf(int row) const
{
    for (int i = row - 1; i >= 0; --i)
        if (m_rows[i].indent < m_rows[row].indent)
            return i;
    return -1;
}

void CCI_Tree::EnsureVisible(int row)
{
    const std::vector<int> visible = VisibleRows();
    const auto it = std::find(visible.begin(), visible.end(), row);
    if (it == visible.end())
        return;
    const int pos = static_cast<int>(it - visible.begin());
    if (pos < m_top)
        m_top = pos;
    else if (pos >= m_top + m_visibleRows)
        m_top = pos - m_visibleRows + 1;
}

void CCI_Tree::UserSelect(int row)
{
    if (row < 0 || row >= RowCount() || row == m_selected)
        return;
    SetSelected(row);
    m_lastCheckRow = -1;
    m_lastCheck = -1;
    SetActivated();
}

int CCI_Tree::OnKey(const CInputEvent& event)
{
    if (!IsLive() || (event.flags & (IE_GOING_DOWN | IE_REPEAT)) == 0 || !NoModifier(event) || m_rows.empty())
        return kEventNotHandled;
    const std::vector<int> visible = VisibleRows();
    const auto it = std::find(visible.begin(), visible.end(), m_selected);
    const int pos = it == visible.end() ? -1 : static_cast<int>(it - visible.begin());
    switch (event.key)
    {
    case DIK_UP:
        UserSelect(visible[std::max(0, pos - 1)]);
        return kEventConsumed;
    case DIK_DOWN:
        UserSelect(visible[std::min(static_cast<int>(visible.size()) - 1, pos + 1)]);
        return kEventConsumed;
    case DIK_RIGHT:
        if (m_selected >= 0)
            SetExpanded(m_selected, true);
        return kEventConsumed;
    case DIK_LEFT:
        if (m_selected >= 0)
        {
            if (m_rows[m_selected].group && m_rows[m_selected].expanded)
                SetExpanded(m_selected, false);
            else
                UserSelect(ParentOf(m_selected));
        }
        return kEventConsumed;
    case KEY_ENTER:
        if (m_selected >= 0 && m_rows[m_selected].group && event.IsGoingDown())
            SetExpanded(m_selected, !m_rows[m_selected].expanded);
        return kEventConsumed;
    default:
        return kEventNotHandled;
    }
}

int CCI_Tree::OnMouse(const CInputEvent& event)
{
    if (!IsLive() || event.key != KEY_MOUSE_LEFT || !event.IsGoingDown())
        return kEventNotHandled;
    const TRect2D r = AbsoluteRect();
    int mx = 0, my = 0;
    GuiMousePosition(Host(), mx, my);
    if (!r.Contains(mx, my))
        return kEventNotHandled;
    const std::vector<int> visible = VisibleRows();
    const int pos = m_top + (my - r.y) / kRowHeight;
    if (pos >= static_cast<int>(visible.size()))
        return kEventConsumed;
    const int row = visible[pos];
    TTreeRow& data = m_rows[row];
    const int indentX = r.x + data.indent * kIndent;
    if (data.group && mx >= indentX && mx < indentX + kBox)
    {
        SetExpanded(row, !data.expanded);
        return kEventConsumed;
    }
    for (int c = 0; c < 3; ++c)
    {
        const int cx = r.x + r.w - (3 - c) * kCheckStep;
        if (data.checks[c] >= 0 && mx >= cx && mx < cx + kBox)
        {
            data.checks[c] = data.checks[c] ? 0 : 1;
            GuiPlaySound(Host(), data.checks[c] ? kSoundSwitchOn : kSoundSwitchOff);
            m_lastCheckRow = row;
            m_lastCheck = c;
            SetActivated();
            return kEventConsumed;
        }
    }
    UserSelect(row);
    return kEventConsumed;
}

void CCI_Tree::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_width;
    outHeight = m_visibleRows * kRowHeight;
}

void CCI_Tree::Draw()
{
    const TRect2D r = AbsoluteRect();
    SetColor(2);
    FillRect(r.x, r.y, r.w, r.h, 9);
    const TInterfaceSprites& ui = SpriteList().Interface();
    const std::vector<int> visible = VisibleRows();
    const int saved = TextAlign();
    SetTextAlign(TA_LEFT | TA_MIDDLE);
    for (int i = 0; i < m_visibleRows && m_top + i < static_cast<int>(visible.size()); ++i)
    {
        const int row = visible[m_top + i];
        const TTreeRow& data = m_rows[row];
        const int y = r.y + i * kRowHeight;
        const int boxY = y + (kRowHeight - kBox) / 2;
        if (row == m_selected)
        {
            SetColor(HasFocus() ? 28 : 29); // unfocused: darker blue, not the grey of a disabled row
            FillRect(r.x + 1, y + 1, r.w - 2, kRowHeight - 2);
        }
        int x = r.x + data.indent * kIndent;
        SetColor(20);
        if (data.group)
        {
            const int sprite = data.expanded ? ui.collapse : ui.expand;
            if (sprite >= 0)
                DrawSprite(sprite, static_cast<float>(x), static_cast<float>(boxY));
        }
        x += kBox + 2;
        if (data.icon >= 0)
        {
            DrawSprite(data.icon, static_cast<float>(x), static_cast<float>(boxY), kBox, kBox);
            x += kBox + 4;
        }
        Fonts().DrawText(Fonts().f09x12, static_cast<float>(x), y + kRowHeight * 0.5f, data.text, 1.0f);
        for (int c = 0; c < 3; ++c)
        {
            if (data.checks[c] < 0)
                continue;
            const int sprite = data.checks[c] ? ui.checkboxOn : ui.checkboxOff;
            if (sprite >= 0)
                DrawSprite(sprite, static_cast<float>(r.x + r.w - (3 - c) * kCheckStep), static_cast<float>(boxY));
        }
    }
    SetTextAlign(saved);
}
