#pragma once
// Edits the selected input map: its name, its description and, for each of the nine channels
// V_CH1 .. V_CH9, the axis that drives it and whether it is reversed. OK rebuilds the map from
// the rows (links to other variables are dropped); Cancel and Escape leave it as it was.

#include <vector>

#include "app/CProcMenuEx.h"
#include "input/InputMenuModels.h"

class CCI_Button;
class CCI_CheckBox;
class CCI_ComboBox;
class CCI_EditString;

class CProcMenuEditInputMap : public CProcMenuEx
{
public:
    static constexpr int kRowTop = 170;   // y of channel 1
    static constexpr int kRowSpacing = 18; // pixels between channel rows

    CProcMenuEditInputMap() : CProcMenuEx(PROC_MENU_CONTROLLER) {}
    bool Init(CProcessManager* manager) override;
    void Start() override;
    void Update() override;

protected:
    // Every axis of the connected joystick, moving live with its SDL number, so the pilot finds
    // which stick arrives on which axis.
    void RenderExtra() override;

private:
    CCI_EditString* m_name = nullptr; // owned by the base
    CCI_EditString* m_description = nullptr;
    CCI_ComboBox* m_axis[kChannelRowCount] = {};
    CCI_CheckBox* m_reverse[kChannelRowCount] = {};
    CCI_Button* m_ok = nullptr;
    CCI_Button* m_cancel = nullptr;
};
