#include "model/CVariableTable.h"

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"

namespace
{
constexpr size_t kMaxNameLength = 50;
constexpr size_t kMaxDescriptionLength = 200;
constexpr size_t kMaxLinkLength = 50;

// A name the reader can take back as the block's name: one token, no brace.
bool IsWritableName(const std::string& name)
{
    if (name.empty())
        return false;
    for (char c : name)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '{' || c == '}' || c == '\0')
            return false;
    return true;
}

// A quoted string ends at a quote or a line break; anything else stands as it is.
std::string QuotableText(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        if (c == '"' || c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return result;
}
} // namespace

bool CVariableTable::Load(CTokenFile& file, const std::string& tableName, CComponentNode* linkRoot)
{
    m_name = tableName;
    m_records.clear();
    for (;;)
    {
        std::string name;
        CTokenFile* block = file.OpenBlock("VARIABLE", &name, kMaxNameLength + 1);
        if (block == nullptr)
            break;
        std::string description;
        std::string link;
        float value = 0.0f;
        block->GetString("DESCRIPTION", description, "", kMaxDescriptionLength + 1);
        // Without a root there is nothing to resolve a link against.
        if (linkRoot != nullptr)
            block->GetToken("LINK", link, "", kMaxLinkLength + 1);
        block->GetFloat("VAL", value, 0.0f);
        if (Find(name) != nullptr)
            DiagPrint("%s: VARIABLE '%s' appears twice in the table \"%s\"; the first one is used\n",
                      file.FileName().c_str(), name.c_str(), m_name.c_str());
        Add(name)->Init(name, description, link, linkRoot, value);
    }
    return true;
}

bool CVariableTable::Save(CFile& file) const
{
    bool ok = true;
    for (const auto& record : m_records)
    {
        // Such a block would not read back, and the reader would stop at it, losing every
        // variable after it.
        if (!IsWritableName(record->GetName()))
        {
            DiagPrint("Variable table \"%s\": variable '%s' not saved: its name is not a single word\n",
                      m_name.c_str(), record->GetName().c_str());
            ok = false;
            continue;
        }
        std::string text = StringPrintf(".VARIABLE %s\r\n{\r\n", record->GetName().c_str());
        if (!record->GetLinkText().empty() && IsWritableName(record->GetLinkText()))
            text += StringPrintf("  .LINK %s\r\n", record->GetLinkText().c_str());
        text += StringPrintf("  .DESCRIPTION \"%s\"\r\n}\r\n", QuotableText(record->GetDescription()).c_str());
        if (file.Write(text.c_str()) != text.size())
            ok = false;
    }
    return ok;
}

CVariable* CVariableTable::Find(const std::string& name) const
{
    for (const auto& record : m_records)
        if (record->GetName() == name)
            return record.get();
    return nullptr;
}

CVariable* CVariableTable::Add(const std::string& name)
{
    m_records.push_back(std::make_unique<CVariable>());
    m_records.back()->Init(name, "", "", nullptr, 0.0f);
    return m_records.back().get();
}

CVariable* CVariableTable::At(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_records[static_cast<size_t>(index)].get();
}

void CVariableTable::GetDebugText(std::string& ioText) const
{
    ioText += "Variables\n";
    for (const auto& record : m_records)
        ioText += StringPrintf("%s %s %f\n", record->GetDescription().c_str(), record->GetName().c_str(),
                               static_cast<double>(record->GetValue()));
}
