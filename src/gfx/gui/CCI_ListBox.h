#pragma once
// A scrolling list over a string list (not owned), one selected row, scroll arrows "ARROW_UP" /
// "ARROW_DOWN" at the right. Up / Down / Page Up / Page Down / Home / End move the selection
// ("Pip5.wav" / "Pip4.wav"), a left click selects a row, the arrows scroll. Every selection change
// by the user sets activated; Enter going down without modifier also sets it.

#include <string>

#include "gfx/gui/CBControlItem.h"

class CStringList;

class CCI_ListBox : public CBControlItem
{
public:
    static constexpr int kRowHeight = 16;

    // rows: visible rows; the list may be null (empty).
    CCI_ListBox(int x, int y, int width, int rows, const CStringList* list = nullptr);

    void SetList(const CStringList* list);
    const CStringList* List() const { return m_list; }
    // -1 = none. Program-side: no activation; scrolls the row into view.
    int Selected() const { return m_selected; }
    void SetSelected(int index);
    // The selected text ("" when none); selecting by text gives false when it is not listed.
    std::string SelectedText() const;
    bool SelectText(const std::string& text);
    int TopRow() const { return m_top; }
    int Rows() const { return m_rows; }

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    int Count() const;
    void UserSelect(int index);
    void ScrollTo(int top);

    int m_width;
    int m_rows;
    const CStringList* m_list; // not owned
    int m_selected = -1;
    int m_top = 0;
};
