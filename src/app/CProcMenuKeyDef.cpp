#include "app/CProcMenuKeyDef.h"

#include "app/CConfig.h"
#include "app/CMainKestro.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_KeyDefBox.h"
#include "gfx/gui/CCI_ListBox.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/draw2d/CFontList.h"
#include "input/InputMenuModels.h"
#include "input/KeyCodes.h"

namespace
{
constexpr int kPageX = 240;
constexpr int kPageY = 100;
constexpr int kPageWidth = 540;
constexpr int kPageHeight = 350;
constexpr int kBoxX = 250; // the label takes the left part of the row
constexpr int kBoxWidth = 270;

CKeyDefTable* KeyDefs()
{
    CMainKestro* app = MainKestro();
    return app && app->Config() ? &app->Config()->KeyDefs() : nullptr;
}

void SetBoxText(CCI_KeyDefBox* box, const std::string& text)
{
    uint32_t key = KEY_NONE;
    uint32_t modifiers = 0;
    ParseKey(text, key, modifiers);
    box->SetKey(key, key == KEY_NONE ? 0 : modifiers);
}

CCI_Button* MakeButton(CCI_Button* button, const char* id, const char* helpId)
{
    button->SetText(Text(id));
    button->SetHelp(Text(id), Text(helpId));
    return button;
}
} // namespace

CProcMenuKeyDef::~CProcMenuKeyDef()
{
    for (SGroupPage& group : m_groups)
    {
        Page().Remove(group.page.get());
        group.page->Clear();
    }
}

bool CProcMenuKeyDef::Init(CProcessManager* manager)
{
    if (!CProcMenuEx::Init(manager))
        return false;
    AddControl<CCI_StaticText>(400, 15, Text("IDS_UC_MENU_KEY_DEF_S"), ST_TITLE);
    auto* heading = AddControl<CCI_StaticText>(50, 100, Text("IDS_KEYDEF_KEY_GROUP"), ST_HEADING);
    heading->SetColor(TColor{70, 255, 170, 255});
    m_groupList = AddControl<CCI_ListBox>(50, 120, 160, 260 / 16, &m_groupNames);

    for (const SKeyDefRow& row : KeyDefMenuRows())
    {
        // UC_NULL has no group and nothing a key could do.
        if (row.command == UC_NULL || row.group >= kUserCommandGroupCount)
            continue;
        if (m_groups.empty() || m_groups.back().group != row.group)
        {
            SGroupPage group;
            group.group = row.group;
            group.page = std::make_unique<CControlPageEx>();
            group.page->SetPosition(kPageX, kPageY);
            group.page->SetRect(TRect2D{kPageX, kPageY, kPageWidth, kPageHeight});
            m_groupNames.Add(UserCommandGroupShortText(row.group));
            m_groups.push_back(std::move(group));
        }
        SGroupPage& group = m_groups.back();
        auto label = std::make_unique<CCI_StaticText>(10, row.y + 2, UserCommandShortText(row.command), ST_PLAIN);
        label->SetHelp(UserCommandShortText(row.command), UserCommandLongText(row.command));
        auto box = std::make_unique<CCI_KeyDefBox>(kBoxX, row.y, kBoxWidth);
        box->SetHelp(UserCommandShortText(row.command), UserCommandLongText(row.command));
        m_boxes[row.command] = box.get();
        group.page->Add(label.get());
        group.page->Add(box.get());
        group.controls.push_back(std::move(label));
        group.controls.push_back(std::move(box));
    }
    for (SGroupPage& group : m_groups)
    {
        group.page->SetVisible(false);
        Page().Add(group.page.get());
    }

    m_ok = MakeButton(AddControl<CCI_Button>(600, 470, 150, 32, ""), "IDS_BUTTON_OK_S", "IDS_BUTTON_OK_L");
    m_ok->SetTargetProcess(PROC_MENU_CONTROLLER);
    m_cancel = MakeButton(AddControl<CCI_Button>(600, 518, 150, 32, ""), "IDS_BUTTON_CANCEL_S", "IDS_BUTTON_CANCEL_L");
    m_cancel->SetTargetProcess(PROC_MENU_CONTROLLER);
    m_reset = MakeButton(AddControl<CCI_Button>(400, 518, 150, 32, ""), "IDS_BUTTON_RESETDEFAULTS_S",
                         "IDS_BUTTON_RESETDEFAULTS_L");
    return true;
}

void CProcMenuKeyDef::ShowGroup(int listIndex)
{
    if (listIndex == m_shownGroup || listIndex < 0 || listIndex >= static_cast<int>(m_groups.size()))
        return;
    for (int i = 0; i < static_cast<int>(m_groups.size()); ++i)
    {
        m_groups[i].page->SetVisible(i == listIndex);
        m_groups[i].page->SetEnabled(i == listIndex);
    }
    m_shownGroup = listIndex;
}

void CProcMenuKeyDef::Start()
{
    CProcMenuEx::Start();
    const CKeyDefTable* keys = KeyDefs();
    for (uint32_t command = 0; command < kUserCommandCount; ++command)
    {
        if (m_boxes[command] && keys)
        {
            const CKeyDef& def = keys->Get(command);
            m_boxes[command]->SetKey(def.key, def.key == KEY_NONE ? 0 : def.flags & IE_MODIFIER_MASK);
        }
    }
    m_shownGroup = -1;
    m_groupList->SetSelected(0);
    ShowGroup(0);
    m_ok->WasActivated();
    m_cancel->WasActivated();
    m_reset->WasActivated();
}

std::vector<std::string> CProcMenuKeyDef::BoxTexts() const
{
    const CKeyDefTable* keys = KeyDefs();
    std::vector<std::string> texts(kUserCommandCount);
    for (uint32_t command = 0; command < kUserCommandCount; ++command)
    {
        if (m_boxes[command])
            texts[command] = m_boxes[command]->KeyText();
        else if (keys)
            texts[command] = keys->GetKeyText(command);
    }
    return texts;
}

void CProcMenuKeyDef::Update()
{
    CProcMenuEx::Update();
    ShowGroup(m_groupList->Selected());
    if (m_reset->WasActivated())
    {
        const std::vector<std::string> defaults = DefaultKeyTexts();
        for (uint32_t command = 0; command < kUserCommandCount; ++command)
        {
            if (m_boxes[command])
                SetBoxText(m_boxes[command], defaults[command]);
        }
    }
    m_cancel->WasActivated();
    const std::vector<std::string> texts = BoxTexts();
    if (m_ok->WasActivated())
    {
        if (CKeyDefTable* keys = KeyDefs())
            ApplyKeyTexts(*keys, texts);
    }
    m_warning = FormatDuplicateWarning(FindDuplicateKeys(texts), texts);
}

void CProcMenuKeyDef::RenderExtra()
{
    if (m_warning.empty())
        return;
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    SetColor(255, 120, 100, 255);
    Fonts().DrawMultiLineText(Fonts().f07x12S, 12, 470, m_warning);
    SetTextAlign(oldAlign);
}
