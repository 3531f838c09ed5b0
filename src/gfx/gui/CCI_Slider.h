#pragma once
// A horizontal slider between min and max with its value shown as "%2.2f" and a label. Left /
// Right step by a hundredth of the range (Home / End go to the ends); a left press on the track
// jumps there and drags while the button is held. Every change by the user sets activated.

#include <string>

#include "gfx/gui/CBControlItem.h"

class CCI_Slider : public CBControlItem
{
public:
    CCI_Slider(int x, int y, int width, const std::string& label = std::string(), float min = 0.0f, float max = 1.0f);

    float GetValue() const { return m_value; }
    // Program-side: clamped, no activation.
    void SetValue(float value);
    void SetRange(float min, float max);
    void SetLabel(const std::string& label) { m_label = label; }
    bool IsDragging() const { return m_dragging; }

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Run() override;
    void Deactivate() override { m_dragging = false; }
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

    static constexpr int kHeight = 16;
    static constexpr int kValueWidth = 60; // the value text right of the track

private:
    // The value at an absolute pointer x.
    float ValueAt(int mouseX) const;
    void UserSet(float value);

    int m_width; // of the track
    std::string m_label;
    float m_min;
    float m_max;
    float m_value;
    bool m_dragging = false;
};
