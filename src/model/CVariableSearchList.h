#pragma once
// Where a name is looked up: up to three tables searched in order (global "Input", the model's,
// the instrument panel's). The first match wins, so a global name hides a model name.

#include <string>

class CVariable;
class CVariableTable;

class CVariableSearchList
{
public:
    static constexpr int kMaxTables = 3;

    // Appends a table (not owned); false when the list is full or the table is null.
    bool Add(CVariableTable* table);
    // The first record of that name over the tables in order, or null.
    CVariable* Find(const std::string& name) const;
    void Clear() { m_count = 0; }
    int Count() const { return m_count; }

private:
    CVariableTable* m_tables[kMaxTables] = {}; // not owned
    int m_count = 0;
};
