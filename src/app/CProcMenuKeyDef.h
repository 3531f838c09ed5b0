#pragma once
// The key of every command the pilot may change, one page per command group (chosen in the
// group list on the left). Nothing is stored until OK; Reset Defaults fills every box with its
// command's default key. A key bound to two commands is listed in a warning under the page.

#include <memory>
#include <string>
#include <vector>

#include "app/CProcMenuEx.h"
#include "data/CStringList.h"
#include "input/UserCommands.h"

class CCI_Button;
class CCI_KeyDefBox;
class CCI_ListBox;
class CCI_StaticText;

class CProcMenuKeyDef : public CProcMenuEx
{
public:
    CProcMenuKeyDef() : CProcMenuEx(PROC_MENU_CONTROLLER) {}
    ~CProcMenuKeyDef() override;
    bool Init(CProcessManager* manager) override;
    void Start() override;
    void Update() override;

    // The boxes' texts for commands 0..119 (the stored text for commands not offered).
    std::vector<std::string> BoxTexts() const;

protected:
    void RenderExtra() override;

private:
    void ShowGroup(int listIndex);

    struct SGroupPage
    {
        uint32_t group = 0;
        std::unique_ptr<CControlPageEx> page;
        std::vector<std::unique_ptr<CBControlItem>> controls; // listed by the page
    };
    std::vector<SGroupPage> m_groups;
    CCI_KeyDefBox* m_boxes[kUserCommandCount] = {}; // null for commands not offered
    CStringListDynamic m_groupNames;
    CCI_ListBox* m_groupList = nullptr; // owned by the base
    CCI_Button* m_ok = nullptr;
    CCI_Button* m_cancel = nullptr;
    CCI_Button* m_reset = nullptr;
    int m_shownGroup = -1;
    std::string m_warning; // rebuilt every frame
};
