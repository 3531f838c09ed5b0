#include "app/CProcCredits.h"

#include "app/CMainKestro.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/gui/GuiHost.h"
#include "input/CInput.h"
#include "input/KeyCodes.h"

namespace
{
const char* const kCreditLines[] = {
    "Kestro",
    "",
    "A flight simulator for radio-controlled model aircraft",
    "",
    "Flight model, terrain, wind, input, graphics and sound:",
    "the Kestro developers",
    "",
    "Fonts: DejaVu",
};
const char* const kContactLines[] = {
    "Fly safely, and always over open ground.",
    "Press Escape, Enter or click to return.",
};
} // namespace

void CProcCredits::Start()
{
    CProcMenuEx::Start();
    SetBackground("MenuMainBk");
}

int CProcCredits::OnEvent(const CInputEvent& event)
{
    const bool returnKey = event.key == DIK_ESCAPE || event.key == KEY_ENTER || event.key == KEY_MOUSE_LEFT;
    if (returnKey && (event.flags & IE_GOING_DOWN) != 0 && (event.flags & IE_MODIFIER_MASK) == 0)
    {
        RequestProcess(PROC_MENU_MAIN);
        return kEventConsumed;
    }
    return 0;
}

void CProcCredits::RenderExtra()
{
    float mouseX = 0.0f, mouseY = 0.0f;
    if (CMainKestro* app = MainKestro(); app && app->Input())
    {
        mouseX = app->Input()->GetAxisValue(AXIS_MOUSE_X);
        mouseY = app->Input()->GetAxisValue(AXIS_MOUSE_Y);
    }
    const int oldAlign = TextAlign();
    SetTextAlign(TA_CENTER | TA_TOP);
    float y = 150.0f - 15.0f * mouseY;
    for (const char* line : kCreditLines)
    {
        SetColor(line == kCreditLines[0] ? TColor{70, 255, 170, 255} : TColor{235, 235, 235, 255});
        Fonts().DrawText(Fonts().f09x13B, 400.0f + 15.0f * mouseX, y, line, line == kCreditLines[0] ? 2.0f : 1.0f);
        y += line == kCreditLines[0] ? 34.0f : 20.0f;
    }
    y = 470.0f + 10.0f * mouseY;
    SetColor(200, 220, 255, 255);
    for (const char* line : kContactLines)
    {
        Fonts().DrawText(Fonts().f09x12, 400.0f - 10.0f * mouseX, y, line);
        y += 18.0f;
    }
    SetTextAlign(oldAlign);
}
