#include "app/CProcFlyMenuBar.h"

#include <algorithm>

#include "data/StringTable.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/gui/GuiHost.h"
#include "input/UserCommands.h"

namespace
{
constexpr int kPad = 10;

int TextWidth(const std::string& text)
{
    float w = 0.0f, h = 0.0f;
    Fonts().TextExtent(Fonts().f09x12, text, 1.0f, w, h);
    return static_cast<int>(w);
}
} // namespace

int CProcFlyMenuBar::AddMenu(const std::string& title)
{
    TMenu menu;
    menu.title = title;
    m_menus.push_back(menu);
    LayoutTitles();
    return static_cast<int>(m_menus.size()) - 1;
}

void CProcFlyMenuBar::AddEntry(int menu, uint32_t command, std::function<bool()> checked)
{
    if (menu < 0 || menu >= static_cast<int>(m_menus.size()))
        return;
    TEntry entry;
    entry.command = command;
    // "IDS_UC_" + the command's name without "UC_" + "_S"; the short text when the id is missing.
    const char* name = UserCommandName(command);
    std::string id = std::string("IDS_") + (name ? name : "") + "_S";
    const char* text = LookupString(id.c_str());
    if (!text || !*text)
        text = UserCommandShortText(command);
    entry.text = text ? text : id;
    entry.checked = std::move(checked);
    const SUserCommandDesc* desc = UserCommandDesc(command);
    entry.gapAfter = desc && (desc->menuFlags & UCM_GAP) != 0;
    m_menus[static_cast<size_t>(menu)].entries.push_back(std::move(entry));
}

void CProcFlyMenuBar::SetPosition(int x, int y)
{
    m_x = x;
    m_y = y;
    LayoutTitles();
}

void CProcFlyMenuBar::LayoutTitles()
{
    int x = m_x + 4;
    for (TMenu& menu : m_menus)
    {
        menu.x = x;
        menu.width = TextWidth(menu.title) + 2 * kPad;
        x += menu.width;
    }
}

int CProcFlyMenuBar::DropWidth(int menu) const
{
    int width = 120;
    for (const TEntry& entry : m_menus[static_cast<size_t>(menu)].entries)
        width = std::max(width, TextWidth(entry.text) + 2 * kPad + 20);
    return width;
}

TRect2D CProcFlyMenuBar::TitleRect(int menu) const
{
    const TMenu& m = m_menus[static_cast<size_t>(menu)];
    return TRect2D{m.x, m_y, m.width, kBarHeight};
}

TRect2D CProcFlyMenuBar::EntryRect(int menu, int entry) const
{
    const TMenu& m = m_menus[static_cast<size_t>(menu)];
    int y = m_y + kBarHeight + 2;
    for (int i = 0; i < entry; ++i)
        y += kEntryHeight + (m.entries[static_cast<size_t>(i)].gapAfter ? 6 : 0);
    return TRect2D{m.x, y, DropWidth(menu), kEntryHeight};
}

void CProcFlyMenuBar::AddAction(int menu, const std::string& text, std::function<void()> action,
                                std::function<bool()> checked)
{
    if (menu < 0 || menu >= static_cast<int>(m_menus.size()))
        return;
    TEntry entry;
    entry.command = UC_UNDEFINED;
    entry.text = text;
    entry.action = std::move(action);
    entry.checked = std::move(checked);
    m_menus[static_cast<size_t>(menu)].entries.push_back(std::move(entry));
}

int CProcFlyMenuBar::OnMouse(const CInputEvent& event, int mouseX, int mouseY)
{
    if (event.key != KEY_MOUSE_LEFT || !event.IsGoingDown())
        return 0;
    for (int i = 0; i < static_cast<int>(m_menus.size()); ++i)
    {
        if (TitleRect(i).Contains(mouseX, mouseY))
        {
            m_open = m_open == i ? -1 : i;
            GuiPlaySound(m_host, kSoundClick);
            return static_cast<int>(UC_UNDEFINED);
        }
    }
    if (m_open < 0)
        return 0;
    const TMenu& menu = m_menus[static_cast<size_t>(m_open)];
    for (int i = 0; i < static_cast<int>(menu.entries.size()); ++i)
    {
        if (EntryRect(m_open, i).Contains(mouseX, mouseY))
        {
            const TEntry& entry = menu.entries[static_cast<size_t>(i)];
            const uint32_t command = entry.command;
            const std::function<void()> action = entry.action; // the action may rebuild the menus
            m_open = -1;
            GuiPlaySound(m_host, kSoundClick);
            if (action)
                action();
            else
                GuiPostCommand(m_host, command);
            return static_cast<int>(UC_UNDEFINED);
        }
    }
    return 0;
}

void CProcFlyMenuBar::Draw(int mouseX, int mouseY)
{
    CFontList& fonts = Fonts();
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    if (!m_menus.empty())
    {
        const TMenu& last = m_menus.back();
        SetColor(30, 34, 44, 190);
        FillRect(m_x, m_y, last.x + last.width - m_x + 4, kBarHeight);
    }
    for (int i = 0; i < static_cast<int>(m_menus.size()); ++i)
    {
        const TRect2D r = TitleRect(i);
        if (i == m_open || r.Contains(mouseX, mouseY))
        {
            SetColor(27);
            FillRect(r.x, r.y, r.w, r.h);
        }
        SetColor(20);
        fonts.DrawText(fonts.f09x12, static_cast<float>(r.x + kPad), static_cast<float>(r.y + 3), m_menus[static_cast<size_t>(i)].title);
    }
    if (m_open >= 0)
    {
        const TMenu& menu = m_menus[static_cast<size_t>(m_open)];
        const int n = static_cast<int>(menu.entries.size());
        if (n > 0)
        {
            const TRect2D first = EntryRect(m_open, 0);
            const TRect2D last = EntryRect(m_open, n - 1);
            SetColor(24, 26, 34, 235);
            FillRect(first.x, first.y - 2, first.w, last.y + last.h - first.y + 4, 10);
        }
        for (int i = 0; i < n; ++i)
        {
            const TEntry& entry = menu.entries[static_cast<size_t>(i)];
            const TRect2D r = EntryRect(m_open, i);
            if (r.Contains(mouseX, mouseY))
            {
                SetColor(27);
                FillRect(r.x + 1, r.y, r.w - 2, r.h);
            }
            SetColor(20);
            if (entry.checked && entry.checked())
                fonts.DrawText(fonts.f09x12, static_cast<float>(r.x + 5), static_cast<float>(r.y + 3), "x");
            fonts.DrawText(fonts.f09x12, static_cast<float>(r.x + kPad + 10), static_cast<float>(r.y + 3), entry.text);
        }
    }
    SetTextAlign(oldAlign);
}
