#pragma once
// A one-line text field with a label. Typing edits a copy of the text (see CLineEditor); Enter
// takes it and sets activated, Escape or losing the focus drops it.

#include <string>

#include "gfx/gui/CBControlItem.h"
#include "gfx/gui/CLineEditor.h"

class CCI_EditString : public CBControlItem
{
public:
    // width of the field (pixels); the label is drawn left of the field, right-aligned.
    CCI_EditString(int x, int y, int width, const std::string& label = std::string());

    const std::string& GetText() const { return m_text; }
    void SetText(const std::string& text) { m_text = text; }
    void SetLabel(const std::string& label) { m_label = label; }
    bool IsEditing() const { return m_editor.IsEditing(); }

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void SetFocus(bool focus) override;
    void Deactivate() override { m_editor.Cancel(); }
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    // The typed text as the new text (activated when it changed).
    void Apply(const std::string& text);
    int m_width;
    std::string m_label;
    std::string m_text;
    CLineEditor m_editor;
};
