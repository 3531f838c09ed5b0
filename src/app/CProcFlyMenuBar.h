#pragma once
// The flight screen's menu bar: one title per command group along the top of the window, each
// opening a list of entries that send their user command, with a check mark where a state
// function says so. A click on a title opens its list, a click on an entry sends the command and
// closes the list; a click anywhere else closes it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gfx/draw2d/Draw2D.h"
#include "input/CInputEvent.h"

class IGuiHost;

class CProcFlyMenuBar
{
public:
    static constexpr int kBarHeight = 18;
    static constexpr int kEntryHeight = 18;

    struct TEntry
    {
        uint32_t command = 0;
        std::string text;
        std::function<bool()> checked; // empty: no check mark
        std::function<void()> action;  // set: runs instead of sending the command (menu-only choices)
        bool gapAfter = false;
    };
    struct TMenu
    {
        std::string title;
        std::vector<TEntry> entries;
        int x = 0, width = 0; // title position in the bar (pixels)
    };

    int AddMenu(const std::string& title);
    void AddEntry(int menu, uint32_t command, std::function<bool()> checked = {});
    // An entry that only the menu offers (no command, no key): its text and what it does.
    void AddAction(int menu, const std::string& text, std::function<void()> action, std::function<bool()> checked = {});
    void SetPosition(int x, int y);
    // Where entries send their commands and clicks are heard (not owned; null: nowhere).
    void SetGuiHost(IGuiHost* host) { m_host = host; }

    // Mouse events (window pixels); the command sent, 120 when consumed, 0 otherwise.
    int OnMouse(const CInputEvent& event, int mouseX, int mouseY);
    void Close() { m_open = -1; }
    bool IsBusy() const { return m_open >= 0; }
    int OpenMenu() const { return m_open; }
    void Draw(int mouseX, int mouseY);

    // Geometry, for tests and the e2e driver: the title rectangle and an entry's rectangle.
    TRect2D TitleRect(int menu) const;
    TRect2D EntryRect(int menu, int entry) const;
    const std::vector<TMenu>& Menus() const { return m_menus; }

private:
    void LayoutTitles();
    int DropWidth(int menu) const;

    std::vector<TMenu> m_menus;
    int m_x = 0, m_y = 0;
    int m_open = -1;
    IGuiHost* m_host = nullptr;
};
