#include "app/CProcMenuMain.h"

#include "gfx/gui/CCI_StaticText.h"

bool CProcMenuMain::Init(CProcessManager* manager)
{
    if (!CProcMenuEx::Init(manager))
        return false;
    AddControl<CCI_StaticText>(400, 15, "Kestro", ST_TITLE);
    struct SEntry
    {
        const char* text;
        const char* help;
        int y;
        int target;
    };
    const SEntry entries[] = {
        {"IDS_MENU_FLY_S", "IDS_MENU_FLY_L", 120, PROC_FLY},
        {"IDS_MENU_CONTROLLER_S", "IDS_MENU_CONTROLLER_L", 152, PROC_MENU_CONTROLLER},
        {"IDS_MENU_CREDITS_S", "IDS_MENU_CREDITS_L", 184, PROC_CREDITS},
        {"IDS_MENU_EXIT_S", "IDS_MENU_EXIT_L", 216, PROC_EXIT},
    };
    for (const SEntry& entry : entries)
    {
        auto* link = AddControl<CCI_StaticText>(300, entry.y, Text(entry.text), ST_MENU_LINK);
        link->SetTargetProcess(entry.target);
        link->SetHelp(Text(entry.text), Text(entry.help));
    }
    SetBackground("MenuMainBk");
    return true;
}
