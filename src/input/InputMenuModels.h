#pragma once
// What the controller screens edit, as plain data and functions: the nine channel rows of the
// input-map editor, the rows of the key-definition menu, the map list's panel text. The screens
// themselves (controls, drawing) belong to the application.

#include <cstdint>
#include <string>
#include <vector>

#include "input/InputIds.h"

class CInputMap;
class CInputMapSet;
class CKeyDefTable;
class CVariableTable;

// One row of the input-map editor: channel n (1..9) is variable "V_CHn".
struct SChannelRow
{
    int axis = AXIS_UNKNOWN; // AXIS_UNKNOWN shows as "-"
    bool reverse = false;
};
constexpr int kChannelRowCount = 9;

// Rows from the map's links to V_CH1 .. V_CH9 (other variables are not shown; for a channel
// linked twice the link nearer the front, the one that wins when applied).
std::vector<SChannelRow> ChannelRowsFromMap(const CInputMap& map);
// The editor's confirmation: the map is cleared, takes the name and description and one link
// per row whose axis is not AXIS_UNKNOWN, in row order, to V_CHn of the table.
void ApplyChannelRows(CInputMap& ioMap, const std::string& name, const std::string& description,
                      const std::vector<SChannelRow>& rows, CVariableTable& inputVariables);

// The map list's panel: one line per link, "%s  %s" (variable name, axis display name).
std::string DescribeMapLinks(const CInputMap& map);
// Adds a copy of the map named copyPrefix + " " + its name ("IDS_IM_COPY_OF"); -1 when 20 maps
// exist or the index is invalid.
int CopyMap(CInputMapSet& ioSet, int index, const std::string& copyPrefix);

// One row of the key-definition menu (commands offered there: menu flag bit 0 clear).
struct SKeyDefRow
{
    uint32_t command = 0;
    uint32_t group = 0; // each group is its own page
    int y = 10;         // pixels within the group's page: 10, then +20, +8 more after a gap flag
};
std::vector<SKeyDefRow> KeyDefMenuRows();

// The texts the menu's boxes start from: the stored key text of every command 0..119.
std::vector<std::string> StoredKeyTexts(const CKeyDefTable& table);
// "Reset defaults": the default key text of every command 0..119 (formatted canonically).
std::vector<std::string> DefaultKeyTexts();
// OK: every command takes the key of its box text.
void ApplyKeyTexts(CKeyDefTable& ioTable, const std::vector<std::string>& boxTexts);
