#include "input/CKeyDef.h"

#include "input/KeyCodes.h"
#include "input/UserCommands.h"

namespace
{
constexpr size_t kMaxKeyText = 100;
}

void CKeyDef::ResetToCommand(uint32_t commandIndex)
{
    const SUserCommandDesc* desc = UserCommandDesc(commandIndex);
    key = KEY_NONE;
    keyText.clear();
    if (desc == nullptr)
    {
        flags = 0;
        defaultKeyText = "";
        command = kCommandNone;
        group = kGroupNone;
        return;
    }
    flags = desc->stateMask;
    defaultKeyText = desc->defaultKey;
    command = commandIndex;
    group = desc->group;
}

bool CKeyDef::SetKeyFromText(const std::string& text)
{
    uint32_t newKey = KEY_NONE;
    uint32_t modifiers = 0;
    const bool ok = ParseKey(text, newKey, modifiers);
    key = newKey;
    flags = (flags & ~IE_MODIFIER_MASK) | modifiers;
    keyText = FormatKey(key, flags);
    if (keyText.size() > kMaxKeyText)
        keyText.resize(kMaxKeyText);
    return ok;
}

bool CKeyDef::Matches(const CInputEvent& event) const
{
    return key != KEY_NONE && key == event.key && (flags & IE_MODIFIER_MASK) == event.Modifiers() &&
           (flags & event.flags & IE_STATE_MASK) != 0;
}
