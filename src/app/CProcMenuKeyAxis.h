#pragma once
// The six keyboard axes on one page: for each, the key that increases it, the key that
// decreases it, the seconds from end to end and whether it returns to centre. Changes apply at
// once (the pilot can try them); OK, Cancel and Escape all keep them and return to the
// controller menu.

#include "app/CProcMenuEx.h"
#include "input/CKeyboardAxes.h"

class CCI_Button;
class CCI_CheckBox;
class CCI_EditNumber;
class CCI_KeyDefBox;

class CProcMenuKeyAxis : public CProcMenuEx
{
public:
    // The fields' labels stand left of them, so the fields sit right of the page's middle and
    // the rows are packed to leave the OK and Cancel buttons free.
    static constexpr int kRowTop = 90;     // y of axis 1
    static constexpr int kRowSpacing = 64; // pixels between axes
    static constexpr int kFieldX = 400;
    static constexpr int kFieldWidth = 180;

    CProcMenuKeyAxis() : CProcMenuEx(PROC_MENU_CONTROLLER) {}
    bool Init(CProcessManager* manager) override;
    void Start() override;
    void End() override;
    void Update() override;

private:
    void Apply();

    struct SRow
    {
        CCI_KeyDefBox* increase = nullptr; // owned by the base
        CCI_KeyDefBox* decrease = nullptr;
        CCI_EditNumber* timeFullRange = nullptr;
        CCI_CheckBox* autoCentre = nullptr;
    };
    SRow m_rows[CKeyboardAxes::kCount];
};
