#pragma once
// The configuration's input maps: at most 20, the number in use and the selected one, with the
// map section of Config.txt:
//
//   //------------
//   // Input Maps
//   //------------
//   .SELECTED_INPUT_MAP  "Keyboard"
//   (two empty lines, then every INPUT_MAP block followed by an empty line)

#include <string>

#include "input/CInputMap.h"

class CInputMapSet
{
public:
    static constexpr int kMaxMaps = 20;

    // Appends a cleared map; -1 when 20 exist.
    int Add();
    // Maps above move down one place; the selected index is not changed (but kept in range).
    // The last map is never deleted (false): without one, the sticks would drive nothing and the
    // saved configuration would not load.
    bool Delete(int index);
    CInputMap* Get(int index);
    const CInputMap* Get(int index) const;
    int GetCount() const { return m_count; }
    void Select(int index);
    int GetSelectedIndex() const { return m_selected; }
    const CInputMap* GetSelected() const;
    void Clear();
    // Whether the selected map reads the mouse (the pointer then flies the model).
    bool SelectedReadsMouse() const;

    // Applies the selected map (nothing when there is none).
    void ApplySelected(const IAxisSource& axes) const;

    // Reads INPUT_MAP blocks until none is left or one fails, then SELECTED_INPUT_MAP (the first
    // map whose name equals it, ignoring case; else map 0). False with a message naming the
    // problem when a map fails or no map exists.
    bool Read(CTokenFile& file, CVariableTable& inputVariables, std::string& outMessage);
    // The whole section with its header.
    void Write(CFile& file) const;

private:
    CInputMap m_maps[kMaxMaps];
    int m_count = 0;
    int m_selected = 0;
};
