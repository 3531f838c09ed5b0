#pragma once
// Undo and redo of model edits over snapshots of the model file text: every edit (a property
// change as much as a new or deleted part) leaves the text the model had before it on the undo
// stack. Undoing hands back that text and keeps the present one for redo; a new edit after an
// undo drops the redo stack. The oldest snapshots go once the depth is reached.

#include <deque>
#include <string>

class CModelEditHistory
{
public:
    static constexpr int kDefaultDepth = 100;

    explicit CModelEditHistory(int depth = kDefaultDepth) : m_depth(depth < 1 ? 1 : depth) {}

    // before: the model text just before the edit.
    void Push(const std::string& before);
    // current: the model text now. False when there is nothing to undo / redo; else outText is
    // the text to load.
    bool Undo(const std::string& current, std::string& outText);
    bool Redo(const std::string& current, std::string& outText);
    void Clear();

    int UndoCount() const { return static_cast<int>(m_undo.size()); }
    int RedoCount() const { return static_cast<int>(m_redo.size()); }

private:
    int m_depth;
    std::deque<std::string> m_undo; // oldest first
    std::deque<std::string> m_redo; // most recently undone last
};
