#pragma once
// The controller menu: the way to the key, radio and key-axis menus, and the list of input maps
// with new, delete, copy and edit. While the menu is open the highlighted map is the selected
// one and is applied every frame, so the pilot can try it. OK keeps the choice; Cancel brings
// back the map that was selected on entry; both return to the main menu.

#include "app/CProcMenuEx.h"
#include "data/CStringList.h"

class CCI_Button;
class CCI_ListBox;

class CProcMenuExController : public CProcMenuEx
{
public:
    CProcMenuExController() : CProcMenuEx(PROC_MENU_MAIN) {}
    bool Init(CProcessManager* manager) override;
    void Start() override;
    void Update() override;

protected:
    void RenderExtra() override;

private:
    void RefreshList(int select);

    CStringListDynamic m_mapNames;
    CCI_ListBox* m_list = nullptr; // owned by the base
    CCI_Button* m_new = nullptr;
    CCI_Button* m_delete = nullptr;
    CCI_Button* m_copy = nullptr;
    CCI_Button* m_ok = nullptr;
    CCI_Button* m_cancel = nullptr;
    int m_selectedOnEntry = 0;
};
