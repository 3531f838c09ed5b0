#include "gfx/gui/GuiHost.h"

namespace
{
IGuiHost* g_host = nullptr;     // not owned
IGuiSounds* g_sounds = nullptr; // not owned
} // namespace

void SetGuiHost(IGuiHost* host)
{
    g_host = host;
}

IGuiHost* GuiHost()
{
    return g_host;
}

void SetGuiSounds(IGuiSounds* sounds)
{
    g_sounds = sounds;
}

void GuiPlaySound(const char* fileName)
{
    if (g_sounds != nullptr && fileName != nullptr)
        g_sounds->Play(fileName);
}

void GuiPostCommand(uint32_t command)
{
    if (g_host == nullptr || command >= kCommandNone)
        return;
    CInputEvent event;
    event.key = KEY_NONE;
    event.flags = IE_GOING_DOWN | IE_IS_DOWN;
    event.command = command;
    event.group = kGroupNone;
    g_host->PostEvent(event);
}

void GuiPostKey(uint32_t key, uint32_t modifiers)
{
    if (g_host == nullptr || key >= KEY_NONE)
        return;
    CInputEvent event;
    event.key = key;
    event.flags = IE_GOING_DOWN | IE_IS_DOWN | (modifiers & IE_MODIFIER_MASK);
    g_host->PostEvent(event);
}

void GuiRequestProcess(int processIndex)
{
    if (g_host != nullptr && processIndex != kProcessNone)
        g_host->RequestProcess(processIndex);
}

void GuiMousePosition(int& outX, int& outY)
{
    outX = -1;
    outY = -1;
    if (g_host != nullptr)
        g_host->GetMousePosition(outX, outY);
}

float GuiFocusPulse()
{
    return g_host != nullptr ? g_host->FocusPulse() : 0.5f;
}
