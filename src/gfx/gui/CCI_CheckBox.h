#pragma once
// A two-state box ("CHECKBOX_ON" / "CHECKBOX_OFF", or sprites of its own as a toggle button)
// with an optional label to its right. Enter or Space going down without modifier, or a left
// press inside, toggles it: "ht_sw1.wav" when it turns on, "ht_sw2.wav" off; the box's command,
// when set, is posted; activated is set.

#include <string>

#include "gfx/gui/CBControlItem.h"

class CCI_CheckBox : public CBControlItem
{
public:
    CCI_CheckBox(int x, int y, const std::string& label = std::string(), bool checked = false);

    bool IsChecked() const { return m_checked; }
    // No sound, no command, no activation: the program sets the state.
    void SetChecked(bool checked) { m_checked = checked; }
    void SetLabel(const std::string& label) { m_label = label; }
    // Label left of the box, right-aligned (property rows); right of it by default.
    void SetLabelOnLeft(bool left) { m_labelOnLeft = left; }
    void SetCommand(uint32_t command) { m_command = command; }
    // A toggle button: these sprites instead of the check box (size from the sprite).
    void SetSprites(const std::string& onSprite, const std::string& offSprite);
    // What the user does: toggles with sound and command.
    void Toggle();

    // How an icon that is switched on looks when it has no picture of its own for that state
    // (a toggle button with one sprite for both, the flight screen's bars): pressed in, on a
    // lit plate. Drawn under the icon's rectangle r.
    static void DrawLitPlate(const TRect2D& r);

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    int BoxSprite() const;

    bool m_checked;
    std::string m_label;
    bool m_labelOnLeft = false;
    uint32_t m_command = kCommandNone;
    int m_spriteOn = -1;  // own sprites (toggle button), -1 = the check box's
    int m_spriteOff = -1;
};
