#include "app/CProcMenuEditInputMap.h"

#include <algorithm>

#include "app/CConfig.h"
#include "app/CMainKestro.h"
#include "core/Diagnostics.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/gui/CCI_ComboBox.h"
#include "gfx/gui/CCI_EditString.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/draw2d/CFontList.h"
#include "input/CInput.h"
#include "input/InputIds.h"

namespace
{
CInputMap* SelectedMap()
{
    CMainKestro* app = MainKestro();
    if (!app || !app->Config())
        return nullptr;
    CInputMapSet& maps = app->Config()->InputMaps();
    return maps.Get(maps.GetSelectedIndex());
}
} // namespace

bool CProcMenuEditInputMap::Init(CProcessManager* manager)
{
    if (!CProcMenuEx::Init(manager))
        return false;
    AddControl<CCI_StaticText>(400, 15, Text("IDS_IM_EDIT_INPUT_MAP"), ST_TITLE);
    m_name = AddControl<CCI_EditString>(260, 80, 300, Text("IDS_IM_INPUT_MAP_NAME"));
    m_description = AddControl<CCI_EditString>(260, 104, 480, Text("IDS_IM_INPUT_MAP_DESCRIPTION"));

    std::vector<std::string> axisNames;
    for (int axis = 0; axis < AXIS_COUNT; ++axis)
        axisNames.push_back(AxisDisplayName(axis));
    auto* axisHeading = AddControl<CCI_StaticText>(260, kRowTop - 22, Text("IDS_IM_AXIS"), ST_HEADING);
    axisHeading->SetColor(TColor{70, 255, 170, 255});
    auto* reverseHeading = AddControl<CCI_StaticText>(480, kRowTop - 22, Text("IDS_IM_REVERSE_AXIS"), ST_HEADING);
    reverseHeading->SetColor(TColor{70, 255, 170, 255});
    for (int row = 0; row < kChannelRowCount; ++row)
    {
        const int y = kRowTop + row * kRowSpacing;
        AddControl<CCI_StaticText>(60, y, Text(StringPrintf("IDS_IM_CHANNEL_%i", row + 1).c_str()), ST_PLAIN);
        m_axis[row] = AddControl<CCI_ComboBox>(260, y, 200);
        m_axis[row]->SetItems(axisNames);
        m_reverse[row] = AddControl<CCI_CheckBox>(480, y);
    }
    m_ok = AddControl<CCI_Button>(600, 470, 150, 32, "");
    m_ok->SetText(Text("IDS_BUTTON_OK_S"));
    m_ok->SetHelp(Text("IDS_BUTTON_OK_S"), Text("IDS_BUTTON_OK_L"));
    m_ok->SetTargetProcess(PROC_MENU_CONTROLLER);
    m_cancel = AddControl<CCI_Button>(600, 518, 150, 32, "");
    m_cancel->SetText(Text("IDS_BUTTON_CANCEL_S"));
    m_cancel->SetHelp(Text("IDS_BUTTON_CANCEL_S"), Text("IDS_BUTTON_CANCEL_L"));
    m_cancel->SetTargetProcess(PROC_MENU_CONTROLLER);
    return true;
}

void CProcMenuEditInputMap::Start()
{
    CProcMenuEx::Start();
    const CInputMap* map = SelectedMap();
    const std::vector<SChannelRow> rows = map ? ChannelRowsFromMap(*map) : std::vector<SChannelRow>(kChannelRowCount);
    m_name->SetText(map ? map->GetName() : "");
    m_description->SetText(map ? map->GetDescription() : "");
    for (int row = 0; row < kChannelRowCount; ++row)
    {
        m_axis[row]->SetSelected(rows[row].axis);
        m_reverse[row]->SetChecked(rows[row].reverse);
    }
    m_ok->WasActivated();
    m_cancel->WasActivated();
}

void CProcMenuEditInputMap::Update()
{
    CProcMenuEx::Update();
    m_cancel->WasActivated();
    if (!m_ok->WasActivated())
        return;
    CInputMap* map = SelectedMap();
    CMainKestro* app = MainKestro();
    if (!map || !app || !app->Config())
        return;
    std::vector<SChannelRow> rows(kChannelRowCount);
    for (int row = 0; row < kChannelRowCount; ++row)
    {
        const int axis = m_axis[row]->Selected();
        rows[row].axis = axis >= 0 && axis < AXIS_COUNT ? axis : AXIS_UNKNOWN;
        rows[row].reverse = m_reverse[row]->IsChecked();
    }
    ApplyChannelRows(*map, m_name->GetText(), m_description->GetText(), rows, app->Config()->InputVariables());
}

void CProcMenuEditInputMap::RenderExtra()
{
    CMainKestro* app = MainKestro();
    const CInput* input = app ? app->Input() : nullptr;
    if (!input || !input->HasJoystick())
        return;
    constexpr int kX = 560, kTop = 150, kBarWidth = 90;
    CFontList& fonts = Fonts();
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    SetColor(20, 20, 28, 200);
    const int shown = std::min(input->JoystickAxisCount(), CInputJoystick::kCalibratedCount);
    FillRect(kX - 8, kTop - 6, 240, 40 + 18 * std::max(shown, 1), 10);
    SetColor(70, 255, 170, 255);
    fonts.DrawText(fonts.f07x12S, kX, kTop, input->JoystickName().substr(0, 32));
    for (int i = 0; i < shown; ++i)
    {
        const int y = kTop + 20 + 18 * i;
        const float value = input->GetAxisValue(AXIS_JOYSTICK_X + i);
        SetColor(230, 230, 230, 255);
        fonts.DrawText(fonts.f07x12S, kX, y, StringPrintf("%i %s", i, AxisDisplayName(AXIS_JOYSTICK_X + i)));
        const int barX = kX + 130;
        SetColor(40, 40, 52, 255);
        FillRect(barX, y, kBarWidth, 12);
        const int half = kBarWidth / 2;
        const int length = static_cast<int>(std::clamp(value, -1.0f, 1.0f) * static_cast<float>(half));
        SetColor(70, 255, 170, 255);
        if (length > 0)
            FillRect(barX + half, y + 2, length, 8);
        else if (length < 0)
            FillRect(barX + half + length, y + 2, -length, 8);
    }
    if (input->JoystickAxisCount() > shown)
    {
        SetColor(255, 190, 90, 255);
        fonts.DrawText(fonts.f07x12S, kX, kTop + 20 + 18 * shown,
                       StringPrintf("axes %i.. not used", CInputJoystick::kCalibratedCount));
    }
    SetTextAlign(oldAlign);
}
