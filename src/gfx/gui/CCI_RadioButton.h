#pragma once
// One choice of a group: selecting it (Enter or Space going down without modifier, or a left
// press inside) deselects every other button of its group and sets activated.

#include <string>
#include <vector>

#include "gfx/gui/CBControlItem.h"

class CCI_RadioButton;

// The buttons that exclude each other; holds them, does not own them.
class CRadioGroup
{
public:
    void Add(CCI_RadioButton* button);
    void Remove(CCI_RadioButton* button);
    // Selects this one, deselects the others.
    void Select(CCI_RadioButton* button);
    // Index (in the order added) of the selected button, or -1.
    int SelectedIndex() const;
    void SelectIndex(int index);

private:
    std::vector<CCI_RadioButton*> m_buttons;
};

class CCI_RadioButton : public CBControlItem
{
public:
    // group may be null (a lone radio button); the button registers itself.
    CCI_RadioButton(int x, int y, const std::string& label, CRadioGroup* group);
    ~CCI_RadioButton() override;

    bool IsSelected() const { return m_selected; }
    // Program-side: no activation. Selecting through the group deselects the others.
    void SetSelected(bool selected) { m_selected = selected; }
    // What the user does.
    void Choose();

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    std::string m_label;
    CRadioGroup* m_group; // not owned
    bool m_selected = false;
};
