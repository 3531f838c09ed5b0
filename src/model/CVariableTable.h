#pragma once
// A named list of variables read from VARIABLE blocks: the application's "Input" table (the
// channels), the model's "Model" table, the instrument panel's table. Owns its records; a
// record's address never changes while the table lives (parts and functions keep pointers).
// VARIABLE parts add their records to the model's table when they attach.

#include <memory>
#include <string>
#include <vector>

#include "model/CVariable.h"

class CComponentNode;
class CFile;
class CTokenFile;

class CVariableTable
{
public:
    explicit CVariableTable(std::string name = std::string()) : m_name(std::move(name)) {}

    // Empties the table, then one record per VARIABLE block (name at most 50 characters):
    // DESCRIPTION (string, at most 200), LINK (token, at most 50, only with a link root), VAL
    // (float, default 0). Returns true: a record cannot fail to read.
    bool Load(CTokenFile& file, const std::string& tableName, CComponentNode* linkRoot);
    // One VARIABLE block per record: name, LINK when it has one, DESCRIPTION (not the value).
    bool Save(CFile& file) const;

    // The first record with exactly this name, or null.
    CVariable* Find(const std::string& name) const;
    // Appends a record (unresolved, value 0) and returns it.
    CVariable* Add(const std::string& name);
    void Clear() { m_records.clear(); }

    int Count() const { return static_cast<int>(m_records.size()); }
    CVariable* At(int index) const;
    const std::string& GetName() const { return m_name; }

    // "Variables\n", then "%s %s %f\n" (description, name, value) per record.
    void GetDebugText(std::string& ioText) const;

private:
    std::string m_name;
    std::vector<std::unique_ptr<CVariable>> m_records;
};
