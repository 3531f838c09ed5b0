#pragma once
// Who made the program. Escape, Enter or a click returns to the main menu; the credit and
// contact blocks drift with the mouse in opposite directions.

#include "app/CProcMenuEx.h"

class CProcCredits : public CProcMenuEx
{
public:
    CProcCredits() : CProcMenuEx(PROC_MENU_MAIN) {}
    void Start() override;
    int OnEvent(const CInputEvent& event) override;
    int OnMouseButton(const CInputEvent& event) override { return OnEvent(event); }

protected:
    void RenderExtra() override;
};
