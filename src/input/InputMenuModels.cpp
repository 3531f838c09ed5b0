#include "input/InputMenuModels.h"

#include "core/Diagnostics.h"
#include "input/CInputMap.h"
#include "input/CInputMapSet.h"
#include "input/CKeyDefTable.h"
#include "input/KeyCodes.h"
#include "input/UserCommands.h"
#include "model/CVariable.h"
#include "model/CVariableTable.h"

namespace
{
std::string ChannelName(int row)
{
    return StringPrintf("V_CH%d", row + 1);
}

// The row of a V_CH1 .. V_CH9 variable name, or -1.
int ChannelRow(const std::string& name)
{
    for (int row = 0; row < kChannelRowCount; ++row)
        if (name == ChannelName(row))
            return row;
    return -1;
}
} // namespace

std::vector<SChannelRow> ChannelRowsFromMap(const CInputMap& map)
{
    std::vector<SChannelRow> rows(kChannelRowCount);
    // Back to front, like Apply: the front link of a channel is what the row shows.
    for (int i = map.GetLinkCount() - 1; i >= 0; --i)
    {
        const CInputMapLink& link = map.GetLink(i);
        const std::string name = link.variable != nullptr ? link.variable->GetName() : link.variableName;
        const int row = ChannelRow(name);
        if (row < 0)
            continue;
        rows[row].axis = link.axis;
        rows[row].reverse = link.reverse;
    }
    return rows;
}

void ApplyChannelRows(CInputMap& ioMap, const std::string& name, const std::string& description,
                      const std::vector<SChannelRow>& rows, CVariableTable& inputVariables)
{
    ioMap.Clear();
    ioMap.SetName(name);
    ioMap.SetDescription(description);
    for (int row = 0; row < kChannelRowCount && row < static_cast<int>(rows.size()); ++row)
    {
        if (rows[row].axis == AXIS_UNKNOWN || rows[row].axis < 0 || rows[row].axis >= AXIS_COUNT)
            continue;
        const std::string variableName = ChannelName(row);
        ioMap.AddLink(inputVariables.Find(variableName), variableName, rows[row].axis, rows[row].reverse);
    }
}

std::string DescribeMapLinks(const CInputMap& map)
{
    std::string text;
    for (int i = 0; i < map.GetLinkCount(); ++i)
    {
        const CInputMapLink& link = map.GetLink(i);
        const std::string name = link.variable != nullptr ? link.variable->GetName() : link.variableName;
        if (!text.empty())
            text += '\n';
        text += StringPrintf("%s  %s", name.c_str(), AxisDisplayName(link.axis));
    }
    return text;
}

int CopyMap(CInputMapSet& ioSet, int index, const std::string& copyPrefix)
{
    if (ioSet.Get(index) == nullptr)
        return -1;
    const int added = ioSet.Add();
    if (added < 0)
        return -1;
    CInputMap* copy = ioSet.Get(added);
    copy->CopyFrom(*ioSet.Get(index));
    copy->SetName(copyPrefix + " " + ioSet.Get(index)->GetName());
    return added;
}

std::vector<SKeyDefRow> KeyDefMenuRows()
{
    std::vector<SKeyDefRow> rows;
    uint32_t group = kGroupNone;
    int y = 10;
    for (uint32_t command = 0; command < kUserCommandCount; ++command)
    {
        const SUserCommandDesc* desc = UserCommandDesc(command);
        if (desc->menuFlags & UCM_HIDDEN)
            continue;
        if (desc->group != group)
        {
            group = desc->group;
            y = 10;
        }
        rows.push_back({command, group, y});
        y += 20;
        if (desc->menuFlags & UCM_GAP)
            y += 8;
    }
    return rows;
}

std::vector<std::string> StoredKeyTexts(const CKeyDefTable& table)
{
    std::vector<std::string> texts(kUserCommandCount);
    for (uint32_t command = 0; command < kUserCommandCount; ++command)
        texts[command] = table.GetKeyText(command);
    return texts;
}

std::vector<std::string> DefaultKeyTexts()
{
    std::vector<std::string> texts(kUserCommandCount);
    for (uint32_t command = 0; command < kUserCommandCount; ++command)
    {
        uint32_t key = KEY_NONE;
        uint32_t modifiers = 0;
        ParseKey(UserCommandDesc(command)->defaultKey, key, modifiers);
        texts[command] = FormatKey(key, modifiers);
    }
    return texts;
}

void ApplyKeyTexts(CKeyDefTable& ioTable, const std::vector<std::string>& boxTexts)
{
    for (uint32_t command = 0; command < kUserCommandCount && command < boxTexts.size(); ++command)
        ioTable.SetKeyFromText(command, boxTexts[command]);
}
