#include "input/CKeyDefTable.h"

#include <algorithm>
#include <cassert>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "data/StringTable.h"
#include "input/KeyCodes.h"

namespace
{
constexpr size_t kMaxFunctionName = 50;
// What a record can hold: the longest key text ("SHIFT+CTRL+ALT+Mouse Center Button") has 34
// characters, so a narrower limit would lose keys the writer wrote.
constexpr size_t kMaxKeyTextRead = 100;
constexpr size_t kKeyTextColumn = 20; // key texts are padded to this width in Config.txt
const char* const kGroupRule = "//--------------------------------------";
} // namespace

CKeyDefTable::CKeyDefTable()
{
    ResetToCommands();
}

void CKeyDefTable::ResetToCommands()
{
    for (uint32_t i = 0; i < kUserCommandCount; ++i)
        m_defs[i].ResetToCommand(i);
}

void CKeyDefTable::SetDefaultKeys()
{
    for (uint32_t i = 0; i < kUserCommandCount; ++i)
        m_defs[i].SetKeyFromText(m_defs[i].defaultKeyText);
}

void CKeyDefTable::Resolve(const CInputEvent& event, uint32_t& outCommand, uint32_t& outGroup) const
{
    for (const CKeyDef& def : m_defs)
        if (def.Matches(event))
        {
            outCommand = def.command;
            outGroup = def.group;
            return;
        }
    outCommand = kCommandNone;
    outGroup = kGroupNone;
}

void CKeyDefTable::Resolve(CInputEvent& ioEvent) const
{
    Resolve(ioEvent, ioEvent.command, ioEvent.group);
}

const CKeyDef& CKeyDefTable::Get(uint32_t command) const
{
    assert(command < kUserCommandCount);
    return m_defs[command < kUserCommandCount ? command : 0];
}

CKeyDef& CKeyDefTable::Get(uint32_t command)
{
    assert(command < kUserCommandCount);
    return m_defs[command < kUserCommandCount ? command : 0];
}

const std::string& CKeyDefTable::GetKeyText(uint32_t command) const
{
    return Get(command).keyText;
}

bool CKeyDefTable::SetKeyFromText(uint32_t command, const std::string& text)
{
    if (command >= kUserCommandCount)
        return false;
    return m_defs[command].SetKeyFromText(text);
}

uint32_t CKeyDefTable::FindCommandWithKeyText(const std::string& text, uint32_t exceptCommand) const
{
    for (uint32_t i = 0; i < kUserCommandCount; ++i)
        if (i != exceptCommand && m_defs[i].keyText == text)
            return i; // 0 when it is command 0: "none" by convention
    return 0;
}

std::string CKeyDefTable::GetCommandKeyText(const char* commandName) const
{
    const int command = LookupUserCommand(commandName);
    if (command < 0 || command >= kUserCommandCount)
        return std::string();
    return m_defs[command].keyText;
}

void CKeyDefTable::Write(CFile& file) const
{
    file.WriteLine("//--------------------");
    file.WriteLine("// Key Defs");
    file.WriteLine("//--------------------");
    uint32_t group = kGroupNone;
    for (const CKeyDef& def : m_defs)
    {
        if (def.group != group)
        {
            group = def.group;
            file.WriteLine(kGroupRule);
            file.WriteLine(StringPrintf("// %s", UserCommandGroupShortText(group)).c_str());
            file.WriteLine(kGroupRule);
        }
        // A quote would end the string early when read back; key texts never hold one.
        const std::string padding(def.keyText.size() < kKeyTextColumn ? kKeyTextColumn - def.keyText.size() : 0, ' ');
        file.WriteLine(StringPrintf(".%s { .%s \"%s\"%s   .%s %s }", "KEY_DEF", "KEY", def.keyText.c_str(),
                                    padding.c_str(), "FUNCTION", UserCommandName(def.command))
                           .c_str());
    }
    file.WriteLine("");
    file.WriteLine("");
}

void CKeyDefTable::Read(CTokenFile& file, std::string& outWarnings)
{
    ResetToCommands();
    int index = 0;
    for (CTokenFile* block; (block = file.OpenBlock("KEY_DEF")) != nullptr; ++index)
    {
        std::string function;
        std::string keyText;
        block->GetToken("FUNCTION", function, "", kMaxFunctionName + 1);
        const bool hasKey = block->GetString("KEY", keyText, "", kMaxKeyTextRead + 1);
        const int command = LookupUserCommand(function.c_str());
        if (command < 0 || command >= kUserCommandCount)
        {
            outWarnings += StringPrintf("%s: KEY_DEF %d: unknown FUNCTION '%s'; ignored\n",
                                        file.FileName().c_str(), index + 1, function.c_str());
            continue;
        }
        uint32_t key = KEY_NONE;
        uint32_t modifiers = 0;
        if (!ParseKey(keyText, key, modifiers))
        {
            outWarnings += StringPrintf("%s: KEY_DEF %s: KEY \"%s\" names no key; the command has no key\n",
                                        file.FileName().c_str(), function.c_str(), keyText.c_str());
            continue;
        }
        if (!hasKey && keyText.empty())
            DiagPrint("%s: KEY_DEF %s: no readable KEY\n", file.FileName().c_str(), function.c_str());
        if (key == KEY_NONE)
            continue; // no key: the command stays unbound
        m_defs[command].SetKeyFromText(keyText);
    }
}

std::vector<std::pair<uint32_t, uint32_t>> FindDuplicateKeys(const std::vector<std::string>& keyTexts)
{
    std::vector<std::pair<uint32_t, uint32_t>> pairs;
    const size_t count = std::min<size_t>(keyTexts.size(), kUserCommandCount);
    for (size_t later = 1; later < count; ++later)
    {
        if (keyTexts[later].empty())
            continue;
        for (size_t earlier = 0; earlier < later; ++earlier)
            if (keyTexts[earlier] == keyTexts[later])
            {
                pairs.emplace_back(static_cast<uint32_t>(earlier), static_cast<uint32_t>(later));
                break;
            }
    }
    return pairs;
}

std::string FormatDuplicateWarning(const std::vector<std::pair<uint32_t, uint32_t>>& duplicates,
                                   const std::vector<std::string>& keyTexts)
{
    if (duplicates.empty())
        return std::string();
    std::string text = LookupString("IDS_WARNING_KEY_DEFINED_TWICE");
    const char* andText = LookupString("IDS_WARNING_KEY_DEFINED_TWICE__AND");
    for (const auto& [first, second] : duplicates)
    {
        const SUserCommandDesc* firstDesc = UserCommandDesc(first);
        const SUserCommandDesc* secondDesc = UserCommandDesc(second);
        text += "\n     ";
        text += UserCommandGroupShortText(firstDesc != nullptr ? firstDesc->group : kGroupNone);
        text += ": ";
        text += UserCommandShortText(first);
        text += "  ";
        text += andText;
        text += "  ";
        text += UserCommandGroupShortText(secondDesc != nullptr ? secondDesc->group : kGroupNone);
        text += ": ";
        text += UserCommandShortText(second);
        text += " (";
        text += second < keyTexts.size() ? keyTexts[second] : std::string();
        text += ")";
    }
    return text;
}
