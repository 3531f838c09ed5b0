#pragma once
// A field showing the chosen entry of a list of strings, with an "ARROW_DOWN" button. Enter,
// Space or a click opens the list below the field; while open, Up / Down move the highlight,
// Enter or a click chooses, Escape closes. While closed, Up / Down choose the previous / next
// entry directly. Every choice by the user sets activated.

#include <string>
#include <vector>

#include "gfx/gui/CBControlItem.h"

class CStringList;

class CCI_ComboBox : public CBControlItem
{
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kMaxOpenRows = 10;

    CCI_ComboBox(int x, int y, int width, const std::string& label = std::string());

    void SetItems(const std::vector<std::string>& items);
    // Copies the list's entries.
    void SetItems(const CStringList& list);
    const std::vector<std::string>& Items() const { return m_items; }
    void SetLabel(const std::string& label) { m_label = label; }
    // -1 = none. Program-side: no activation.
    int Selected() const { return m_selected; }
    void SetSelected(int index);
    std::string SelectedText() const;
    // Chooses the entry equal to text (exact); false (selection unchanged) when absent.
    bool SelectText(const std::string& text);
    bool IsOpen() const { return m_open; }

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Deactivate() override { m_open = false; }
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    void UserChoose(int index);
    int OpenRows() const;
    TRect2D OpenListRect() const;

    int m_width;
    std::string m_label;
    std::vector<std::string> m_items;
    int m_selected = -1;
    bool m_open = false;
    int m_highlight = -1;
    int m_openTop = 0; // first row shown in the open list
};
