#include "editor/CModelEditHistory.h"

void CModelEditHistory::Push(const std::string& before)
{
    m_undo.push_back(before);
    while (static_cast<int>(m_undo.size()) > m_depth)
        m_undo.pop_front();
    m_redo.clear();
}

bool CModelEditHistory::Undo(const std::string& current, std::string& outText)
{
    if (m_undo.empty())
        return false;
    outText = m_undo.back();
    m_undo.pop_back();
    m_redo.push_back(current);
    return true;
}

bool CModelEditHistory::Redo(const std::string& current, std::string& outText)
{
    if (m_redo.empty())
        return false;
    outText = m_redo.back();
    m_redo.pop_back();
    m_undo.push_back(current);
    return true;
}

void CModelEditHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
}
