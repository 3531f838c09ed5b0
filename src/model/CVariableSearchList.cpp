#include "model/CVariableSearchList.h"

#include "model/CVariableTable.h"

bool CVariableSearchList::Add(CVariableTable* table)
{
    if (table == nullptr || m_count >= kMaxTables)
        return false;
    m_tables[m_count++] = table;
    return true;
}

CVariable* CVariableSearchList::Find(const std::string& name) const
{
    for (int i = 0; i < m_count; ++i)
        if (CVariable* variable = m_tables[i]->Find(name))
            return variable;
    return nullptr;
}
