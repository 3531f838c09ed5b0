#pragma once
// Rows with indentation: group rows carry an "EXPAND" / "COLLAPSE" sprite and hide their
// children when collapsed; every row may have an icon sprite and up to three check boxes (the
// part editor's visibility switches). One row is selected.
//
// Keys (focused): Up / Down select the previous / next visible row; Right expands and Left
// collapses a group (Left on a child selects its group); Enter toggles a group. Mouse: a click
// on the expander toggles, on a check box toggles it, elsewhere selects. Selection changes and
// check changes by the user set activated (LastCheckChange tells which check changed).

#include <string>
#include <vector>

#include "gfx/gui/CBControlItem.h"

struct TTreeRow
{
    std::string text;
    int indent = 0;          // level; children follow their group with a higher level
    bool group = false;      // has children
    bool expanded = true;
    int icon = -1;           // sprite id, -1 none
    int checks[3] = {-1, -1, -1}; // -1 no box, 0 off, 1 on
    int userData = 0;        // the owner's tag (part index ...)
};

class CCI_Tree : public CBControlItem
{
public:
    static constexpr int kRowHeight = 18;
    static constexpr int kIndent = 14;

    CCI_Tree(int x, int y, int width, int rows);

    void Clear();
    int AddRow(const TTreeRow& row);
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    TTreeRow& Row(int index) { return m_rows[index]; }
    const TTreeRow& Row(int index) const { return m_rows[index]; }
    void SetExpanded(int index, bool expanded);
    // Row index (-1 none); program-side: no activation.
    int Selected() const { return m_selected; }
    void SetSelected(int index);
    // Rows shown (collapsed groups hide their children), in order.
    std::vector<int> VisibleRows() const;
    // Row and check box index of the last check the user toggled (-1 when none).
    void LastCheckChange(int& outRow, int& outCheck) const;

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    void UserSelect(int row);
    void EnsureVisible(int row);
    int ParentOf(int row) const;

    int m_width;
    int m_visibleRows;
    std::vector<TTreeRow> m_rows;
    int m_selected = -1;
    int m_top = 0; // first visible-row position shown
    int m_lastCheckRow = -1;
    int m_lastCheck = -1;
};
