#include "gfx/gui/GuiHost.h"

void GuiPlaySound(IGuiHost* host, const char* fileName)
{
    IGuiSounds* sounds = host != nullptr ? host->Sounds() : nullptr;
    if (sounds != nullptr && fileName != nullptr)
        sounds->Play(fileName);
}

void GuiPostCommand(IGuiHost* host, uint32_t command)
{
    if (host == nullptr || command >= kCommandNone)
        return;
    CInputEvent event;
    event.key = KEY_NONE;
    event.flags = IE_GOING_DOWN | IE_IS_DOWN;
    event.command = command;
    event.group = kGroupNone;
    host->PostEvent(event);
}

void GuiPostKey(IGuiHost* host, uint32_t key, uint32_t modifiers)
{
    if (host == nullptr || key >= KEY_NONE)
        return;
    CInputEvent event;
    event.key = key;
    event.flags = IE_GOING_DOWN | IE_IS_DOWN | (modifiers & IE_MODIFIER_MASK);
    host->PostEvent(event);
}

void GuiRequestProcess(IGuiHost* host, int processIndex)
{
    if (host != nullptr && processIndex != kProcessNone)
        host->RequestProcess(processIndex);
}

void GuiMousePosition(const IGuiHost* host, int& outX, int& outY)
{
    outX = -1;
    outY = -1;
    if (host != nullptr)
        host->GetMousePosition(outX, outY);
}

float GuiFocusPulse(const IGuiHost* host)
{
    return host != nullptr ? host->FocusPulse() : 0.5f;
}
