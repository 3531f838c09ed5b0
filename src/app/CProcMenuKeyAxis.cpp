#include "app/CProcMenuKeyAxis.h"

#include "app/CConfig.h"
#include "app/CMainKestro.h"
#include "core/Diagnostics.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/gui/CCI_EditNumber.h"
#include "gfx/gui/CCI_KeyDefBox.h"
#include "gfx/gui/CCI_StaticText.h"
#include "input/UserCommands.h"

namespace
{
uint32_t IncreaseCommand(int slot)
{
    return UC_KEYAXIS_1_INC + 2 * static_cast<uint32_t>(slot);
}
uint32_t DecreaseCommand(int slot)
{
    return UC_KEYAXIS_1_DEC + 2 * static_cast<uint32_t>(slot);
}
} // namespace

bool CProcMenuKeyAxis::Init(CProcessManager* manager)
{
    if (!CProcMenuEx::Init(manager))
        return false;
    const std::string title = Text("IDS_UC_MENU_KEY_AXIS_S");
    AddControl<CCI_StaticText>(400, 15, title, ST_TITLE);
    for (int slot = 0; slot < CKeyboardAxes::kCount; ++slot)
    {
        const int y = kRowTop + slot * kRowSpacing;
        auto* label = AddControl<CCI_StaticText>(30, y, StringPrintf("%s %i", title.c_str(), slot + 1), ST_HEADING);
        label->SetColor(TColor{70, 255, 170, 255});
        SRow& row = m_rows[slot];
        row.increase = AddControl<CCI_KeyDefBox>(kFieldX, y, kFieldWidth, Text("IDS_KEYAXIS_KEY_UP_RIGHT"));
        row.decrease = AddControl<CCI_KeyDefBox>(kFieldX, y + 18, kFieldWidth, Text("IDS_KEYAXIS_KEY_DOWN_LEFT"));
        row.timeFullRange = AddControl<CCI_EditNumber>(kFieldX, y + 36, kFieldWidth,
                                                       Text("IDS_KEYAXIS_SECONDS_TO_FULL_RANGE"), 0.1f, 0.1f, 100.0f);
        row.autoCentre = AddControl<CCI_CheckBox>(kFieldX + kFieldWidth + 20, y + 18, Text("IDS_KEYAXIS_AUTOCENTRE"));
    }
    for (int i = 0; i < 2; ++i)
    {
        auto* button = AddControl<CCI_Button>(600, i == 0 ? 470 : 518, 150, 32, "");
        const char* id = i == 0 ? "IDS_BUTTON_OK_S" : "IDS_BUTTON_CANCEL_S";
        button->SetText(Text(id));
        button->SetHelp(Text(id), Text(i == 0 ? "IDS_BUTTON_OK_L" : "IDS_BUTTON_CANCEL_L"));
        button->SetTargetProcess(PROC_MENU_CONTROLLER);
    }
    return true;
}

void CProcMenuKeyAxis::Start()
{
    CProcMenuEx::Start();
    CMainKestro* app = MainKestro();
    if (!app || !app->Config())
        return;
    const CKeyDefTable& keys = app->Config()->KeyDefs();
    for (int slot = 0; slot < CKeyboardAxes::kCount; ++slot)
    {
        const CKeyboardAxis& axis = app->Config()->KeyboardAxes().Get(slot);
        SRow& row = m_rows[slot];
        const CKeyDef& inc = keys.Get(IncreaseCommand(slot));
        const CKeyDef& dec = keys.Get(DecreaseCommand(slot));
        row.increase->SetKey(inc.key, inc.flags & IE_MODIFIER_MASK);
        row.decrease->SetKey(dec.key, dec.flags & IE_MODIFIER_MASK);
        // A slot never configured shows the time a newly read axis gets.
        row.timeFullRange->SetValue(axis.axisId == AXIS_UNKNOWN ? 5.0f : axis.timeFullRange);
        row.autoCentre->SetChecked(axis.autoCentre);
        row.timeFullRange->WasActivated();
        row.autoCentre->WasActivated();
    }
}

void CProcMenuKeyAxis::Apply()
{
    CMainKestro* app = MainKestro();
    if (!app || !app->Config())
        return;
    CKeyDefTable& keys = app->Config()->KeyDefs();
    for (int slot = 0; slot < CKeyboardAxes::kCount; ++slot)
    {
        SRow& row = m_rows[slot];
        keys.SetKeyFromText(IncreaseCommand(slot), row.increase->KeyText());
        keys.SetKeyFromText(DecreaseCommand(slot), row.decrease->KeyText());
        CKeyboardAxis& axis = app->Config()->KeyboardAxes().Get(slot);
        const bool timeChanged = row.timeFullRange->WasActivated();
        const bool centreChanged = row.autoCentre->WasActivated();
        // Values are applied only when the pilot touched them: a slot that was never configured
        // must not start moving because the page shows a number for it. Once touched, the slot
        // is configured and is written to Config.txt.
        if (timeChanged || centreChanged || axis.axisId != AXIS_UNKNOWN)
        {
            axis.SetTimeFullRange(row.timeFullRange->GetValue());
            axis.autoCentre = row.autoCentre->IsChecked();
            if (axis.axisId == AXIS_UNKNOWN)
                axis.axisId = AXIS_KEYBOARD_1 + static_cast<uint32_t>(slot);
        }
    }
}

void CProcMenuKeyAxis::Update()
{
    CProcMenuEx::Update();
    Apply();
}

void CProcMenuKeyAxis::End()
{
    Apply();
    CProcMenuEx::End();
}
