#include "app/CProcMenuExController.h"

#include "app/CConfig.h"
#include "app/CMainKestro.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_ListBox.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/draw2d/CFontList.h"
#include "input/CInput.h"
#include "input/InputMenuModels.h"
#include "input/UserCommands.h"

namespace
{
CCI_Button* MakeButton(CCI_Button* button, const char* id, const char* helpId)
{
    button->SetText(Text(id));
    button->SetHelp(Text(id), Text(helpId));
    return button;
}

CInputMapSet* Maps()
{
    CMainKestro* app = MainKestro();
    return app && app->Config() ? &app->Config()->InputMaps() : nullptr;
}
} // namespace

bool CProcMenuExController::Init(CProcessManager* manager)
{
    if (!CProcMenuEx::Init(manager))
        return false;
    AddControl<CCI_StaticText>(400, 15, Text("IDS_MENU_CONTROLLER_S"), ST_TITLE);

    struct SSubMenu
    {
        const char* text;
        const char* help;
        int target;
    };
    const SSubMenu subMenus[] = {
        {"IDS_UC_MENU_KEY_DEF_S", "IDS_UC_MENU_KEY_DEF_L", PROC_MENU_KEY_DEF},
        {"IDS_UC_MENU_RADIO_TX_S", "IDS_UC_MENU_RADIO_TX_L", PROC_MENU_RADIO},
        {"IDS_UC_MENU_KEY_AXIS_S", "IDS_UC_MENU_KEY_AXIS_L", PROC_MENU_KEY_AXIS},
    };
    int y = 100;
    for (const SSubMenu& subMenu : subMenus)
    {
        MakeButton(AddControl<CCI_Button>(50, y, 200, 32, ""), subMenu.text, subMenu.help)->SetTargetProcess(subMenu.target);
        y += 44;
    }

    auto* heading = AddControl<CCI_StaticText>(300, 80, Text("IDS_IM_INPUT_MAP"), ST_HEADING);
    heading->SetColor(TColor{70, 255, 170, 255});
    m_list = AddControl<CCI_ListBox>(300, 100, 200, 12, &m_mapNames);
    m_new = MakeButton(AddControl<CCI_Button>(300, 302, 96, 28, ""), "IDS_BUTTON_NEWINPUTMAP_S", "IDS_BUTTON_NEWINPUTMAP_L");
    m_delete = MakeButton(AddControl<CCI_Button>(404, 302, 96, 28, ""), "IDS_BUTTON_DELETEINPUTMAP_S",
                          "IDS_BUTTON_DELETEINPUTMAP_L");
    m_copy = MakeButton(AddControl<CCI_Button>(300, 338, 96, 28, ""), "IDS_BUTTON_COPYINPUTMAP_S", "IDS_BUTTON_COPYINPUTMAP_L");
    MakeButton(AddControl<CCI_Button>(404, 338, 96, 28, ""), "IDS_BUTTON_EDITINPUTMAP_S", "IDS_BUTTON_EDITINPUTMAP_L")
        ->SetTargetProcess(PROC_MENU_EDIT_INPUT_MAP);

    m_ok = MakeButton(AddControl<CCI_Button>(600, 470, 150, 32, ""), "IDS_BUTTON_OK_S", "IDS_BUTTON_OK_L");
    m_ok->SetTargetProcess(PROC_MENU_MAIN);
    m_cancel = MakeButton(AddControl<CCI_Button>(600, 518, 150, 32, ""), "IDS_BUTTON_CANCEL_S", "IDS_BUTTON_CANCEL_L");
    m_cancel->SetTargetProcess(PROC_MENU_MAIN);
    return true;
}

void CProcMenuExController::RefreshList(int select)
{
    m_mapNames.Clear();
    if (CInputMapSet* maps = Maps())
    {
        for (int i = 0; i < maps->GetCount(); ++i)
            m_mapNames.Add(maps->Get(i)->GetName());
        if (select >= maps->GetCount())
            select = maps->GetCount() - 1;
        maps->Select(select);
    }
    m_list->SetList(&m_mapNames);
    m_list->SetSelected(m_mapNames.Count() > 0 ? select : -1);
}

void CProcMenuExController::Start()
{
    CProcMenuEx::Start();
    CInputMapSet* maps = Maps();
    // Coming back from one of its sub-menus is not a new visit: the entry selection stays.
    const int previous = Manager() ? Manager()->GetPreviousIndex() : PROC_NONE;
    const bool fromSubMenu = previous == PROC_MENU_EDIT_INPUT_MAP || previous == PROC_MENU_RADIO ||
                             previous == PROC_MENU_KEY_AXIS || previous == PROC_MENU_KEY_DEF;
    if (maps && !fromSubMenu)
        m_selectedOnEntry = maps->GetSelectedIndex();
    RefreshList(maps ? maps->GetSelectedIndex() : 0);
}

void CProcMenuExController::Update()
{
    CProcMenuEx::Update();
    CInputMapSet* maps = Maps();
    if (!maps)
        return;
    if (m_new->WasActivated() && maps->GetCount() < CInputMapSet::kMaxMaps)
    {
        const int index = maps->Add();
        if (index >= 0)
        {
            maps->Get(index)->SetName(Text("IDS_IM_DEFAULT_INPUT_MAP_NAME"));
            maps->Get(index)->SetDescription(Text("IDS_IM_DEFAULT_INPUT_MAP_DESCRIPTION"));
            RefreshList(index);
        }
    }
    if (m_delete->WasActivated() && maps->Delete(m_list->Selected()))
        RefreshList(m_list->Selected());
    if (m_delete->IsEnabled() != (maps->GetCount() > 1))
        m_delete->SetEnabled(maps->GetCount() > 1); // the last map stays
    if (m_copy->WasActivated() && m_list->Selected() >= 0)
    {
        const int index = CopyMap(*maps, m_list->Selected(), Text("IDS_IM_COPY_OF"));
        if (index >= 0)
            RefreshList(index);
    }
    if (m_cancel->WasActivated())
        maps->Select(m_selectedOnEntry);
    else if (m_list->Selected() >= 0)
        maps->Select(m_list->Selected());
    m_ok->WasActivated();

    if (CMainKestro* app = MainKestro(); app && app->Input())
        maps->ApplySelected(*app->Input());
}

void CProcMenuExController::RenderExtra()
{
    const CInputMapSet* maps = Maps();
    const CInputMap* map = maps ? maps->Get(m_list->Selected()) : nullptr;
    if (!map)
        return;
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    SetColor(20, 20, 28, 200);
    FillRect(520, 100, 270, 266, 10);
    SetColor(70, 255, 170, 255);
    Fonts().DrawText(Fonts().f09x13B, 530, 108, map->GetName());
    SetColor(230, 230, 230, 255);
    // The description may be long: wrap it at the panel's width.
    std::string wrapped;
    std::string line;
    std::string word;
    const size_t kColumns = 36;
    std::string description = map->GetDescription() + " ";
    for (char c : description)
    {
        if (c != ' ')
        {
            word += c;
            continue;
        }
        if (!line.empty() && line.size() + 1 + word.size() > kColumns)
        {
            wrapped += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        word.clear();
    }
    wrapped += line;
    Fonts().DrawMultiLineText(Fonts().f07x12S, 530, 130, wrapped);
    SetColor(200, 220, 255, 255);
    Fonts().DrawMultiLineText(Fonts().f07x12S, 530, 200, DescribeMapLinks(*map));
    SetTextAlign(oldAlign);
}
