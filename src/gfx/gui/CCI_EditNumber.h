#pragma once
// A number field shown with "%.4f", an "ARROW_UP" and an "ARROW_DOWN" button at its right end
// and a label. Up / Down (or clicks on the arrows) step the value by the step, within min..max
// ("Pip5.wav" up, "Pip4.wav" down); typing edits the number, Enter takes it ("Pip1.wav"),
// Escape drops it. Every change by the user sets activated.

#include <string>

#include "gfx/gui/CBControlItem.h"
#include "gfx/gui/CLineEditor.h"

class CCI_EditNumber : public CBControlItem
{
public:
    CCI_EditNumber(int x, int y, int width, const std::string& label = std::string(), float step = 0.1f,
                   float min = -1.0e30f, float max = 1.0e30f);

    float GetValue() const { return m_value; }
    // Program-side: clamped, no activation.
    void SetValue(float value);
    void SetRange(float min, float max);
    void SetStep(float step) { m_step = step; }
    void SetLabel(const std::string& label) { m_label = label; }
    std::string DisplayText() const;
    // The value as a field of that many characters shows it: "%.4f" when it fits, else with
    // fewer decimals, else "%g", else '#' marks. Never the tail of the text: "180.0000" in seven
    // columns must not read "80.0000".
    static std::string FitText(float value, size_t columns);
    bool IsEditing() const { return m_editor.IsEditing(); }

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void SetFocus(bool focus) override;
    void Deactivate() override { m_editor.Cancel(); }
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    void StepBy(int direction);
    void UserSet(float value);
    // The typed text as the new value; text that is not a number is reported and the value kept.
    void Apply(const std::string& text);

    int m_width;
    std::string m_label;
    float m_value = 0.0f;
    float m_step;
    float m_min;
    float m_max;
    CLineEditor m_editor;
};
