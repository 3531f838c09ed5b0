#include "input/CInputMap.h"

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "input/IAxisSource.h"
#include "model/CVariable.h"
#include "model/CVariableTable.h"

namespace
{
constexpr size_t kMaxName = 100;
constexpr size_t kMaxDescription = 200;
constexpr size_t kMaxVariableName = 50;
constexpr size_t kMaxAxisToken = 50;

// A quoted string ends at a quote or a line break.
std::string Quotable(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        if (c == '"' || c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return result;
}
} // namespace

void CInputMap::Clear()
{
    m_name.clear();
    m_description.clear();
    m_links.clear();
    m_valid = true;
}

void CInputMap::CopyFrom(const CInputMap& other)
{
    if (&other == this)
        return;
    m_name = other.m_name;
    m_description = other.m_description;
    m_links = other.m_links;
    m_valid = other.m_valid;
}

void CInputMap::AddLink(CVariable* variable, const std::string& variableName, int axis, bool reverse)
{
    CInputMapLink link;
    link.variable = variable;
    link.variableName = variableName;
    link.axis = axis >= 0 && axis < AXIS_COUNT ? axis : AXIS_UNKNOWN;
    link.reverse = reverse;
    m_links.push_back(link);
}

void CInputMap::Apply(const IAxisSource& axes) const
{
    // Last to first: the link nearest the front writes last and wins.
    for (auto it = m_links.rbegin(); it != m_links.rend(); ++it)
    {
        if (it->variable == nullptr)
            continue;
        float value = it->axis == AXIS_UNKNOWN ? 0.0f : axes.GetAxisValue(it->axis);
        if (it->reverse)
            value = -value;
        it->variable->SetValue(value);
    }
}

bool CInputMap::Read(CTokenFile& block, CVariableTable& inputVariables, std::string& outMessage)
{
    Clear();
    block.GetString("NAME", m_name, "", kMaxName + 1);
    block.GetString("DESCRIPTION", m_description, "", kMaxDescription + 1);
    int index = 0;
    for (CTokenFile* linkBlock; (linkBlock = block.OpenBlock("LINK")) != nullptr;)
    {
        ++index;
        std::string variableName;
        std::string axisToken;
        bool reverse = false;
        linkBlock->GetToken("VARIABLE", variableName, "", kMaxVariableName + 1);
        const bool hasAxis = linkBlock->GetToken("INPUT_AXIS", axisToken, "", kMaxAxisToken + 1);
        linkBlock->GetBool("REVERSE", reverse, false);
        CVariable* variable = inputVariables.Find(variableName);
        if (variable == nullptr)
            DiagPrint("%s: INPUT_MAP \"%s\": LINK %d: variable '%s' is not in the \"%s\" table; the link "
                      "writes nothing\n",
                      block.FileName().c_str(), m_name.c_str(), index, variableName.c_str(),
                      inputVariables.GetName().c_str());
        if (!hasAxis || !IsKnownAxisToken(axisToken.c_str()))
        {
            AddLink(variable, variableName, AXIS_UNKNOWN, reverse);
            m_valid = false;
            outMessage = hasAxis ? StringPrintf("%s: INPUT_MAP \"%s\": LINK %d: unknown INPUT_AXIS '%s'",
                                                block.FileName().c_str(), m_name.c_str(), index,
                                                axisToken.c_str())
                                 : StringPrintf("%s: INPUT_MAP \"%s\": LINK %d: no INPUT_AXIS",
                                                block.FileName().c_str(), m_name.c_str(), index);
            return false;
        }
        AddLink(variable, variableName, LookupAxisToken(axisToken.c_str()), reverse);
    }
    return true;
}

void CInputMap::Write(CFile& file) const
{
    file.WriteLine(".INPUT_MAP ");
    file.WriteLine("{");
    file.WriteLine(StringPrintf("  .NAME  \"%s\"", Quotable(m_name).c_str()).c_str());
    file.WriteLine(StringPrintf("  .DESCRIPTION  \"%s\"", Quotable(m_description).c_str()).c_str());
    for (const CInputMapLink& link : m_links)
    {
        std::string name = link.variable != nullptr ? link.variable->GetName() : link.variableName;
        // An empty name would make the reader take the next key as the name.
        if (name.empty())
            name = "-";
        file.WriteLine(StringPrintf("  .%s {  .%s %s  .%s %s  .%s %d  }", "LINK", "VARIABLE", name.c_str(),
                                    "INPUT_AXIS", AxisToken(link.axis), "REVERSE", link.reverse ? 1 : 0)
                           .c_str());
    }
    file.WriteLine("}");
    file.WriteLine("");
}
