#pragma once
// An input map: which device axis drives which channel variable. Applying it copies axis values
// (negated when reversed) into the variables of the configuration's "Input" table, V_CH1 ..
// V_CH9 normally. Links are applied from the last to the first, so when two links write the same
// variable the one nearer the front wins.
//
// The maps write CVariable records (not raw floats) because a channel variable may be linked to
// a property and forwards what it receives.
//
// File form (inside Config.txt):
//   .INPUT_MAP
//   {
//     .NAME  "Keyboard"
//     .DESCRIPTION  "..."
//     .LINK {  .VARIABLE V_CH1  .INPUT_AXIS AXIS_KEYBOARD_1  .REVERSE 0  }
//   }

#include <string>
#include <vector>

#include "input/InputIds.h"

class CFile;
class CTokenFile;
class CVariable;
class CVariableTable;
class IAxisSource;

struct CInputMapLink
{
    CVariable* variable = nullptr; // not owned: a record of the "Input" table; null = skipped
    std::string variableName;      // as read or set (kept to write the map back)
    int axis = AXIS_UNKNOWN;
    bool reverse = false;
};

class CInputMap
{
public:
    void Clear();
    void CopyFrom(const CInputMap& other);

    const std::string& GetName() const { return m_name; }
    const std::string& GetDescription() const { return m_description; }
    void SetName(const std::string& name) { m_name = name; }
    void SetDescription(const std::string& description) { m_description = description; }

    // Appends a link; the variable may be null (the link is then skipped when applied).
    void AddLink(CVariable* variable, const std::string& variableName, int axis, bool reverse);
    int GetLinkCount() const { return static_cast<int>(m_links.size()); }
    const CInputMapLink& GetLink(int index) const { return m_links.at(index); }

    // Writes every linked variable, last link first.
    void Apply(const IAxisSource& axes) const;

    // Reads NAME, DESCRIPTION and the LINK blocks of an INPUT_MAP block, variables looked up in
    // the table. An unknown INPUT_AXIS stops the map: the link stays with AXIS_UNKNOWN, the map
    // is invalid, outMessage names the file, map, link and token, and the result is false. A
    // variable missing from the table leaves the link without a variable (diagnostic line).
    bool Read(CTokenFile& block, CVariableTable& inputVariables, std::string& outMessage);
    void Write(CFile& file) const;

    bool IsValid() const { return m_valid; }

private:
    std::string m_name;        // at most 100 characters when read
    std::string m_description; // at most 200 characters when read
    std::vector<CInputMapLink> m_links;
    bool m_valid = true;
};
