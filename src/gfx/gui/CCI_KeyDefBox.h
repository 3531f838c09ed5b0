#pragma once
// Shows a key with its modifiers in the key-name form ("SHIFT+CTRL+W"). Enter going down
// without modifier (or a left click) starts capturing: the next key going down, other than a
// lone modifier key, becomes the key with the modifiers held; Escape while capturing cancels,
// Delete while capturing clears the key. A captured key sets activated.

#include <string>

#include "gfx/gui/CBControlItem.h"

class CCI_KeyDefBox : public CBControlItem
{
public:
    CCI_KeyDefBox(int x, int y, int width, const std::string& label = std::string());

    uint32_t Key() const { return m_key; }
    uint32_t Modifiers() const { return m_modifiers; }
    void SetKey(uint32_t key, uint32_t modifiers);
    void SetLabel(const std::string& label) { m_label = label; }
    bool IsCapturing() const { return m_capturing; }
    std::string KeyText() const;

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Deactivate() override { m_capturing = false; }
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    int m_width;
    std::string m_label;
    uint32_t m_key = KEY_NONE;
    uint32_t m_modifiers = 0;
    bool m_capturing = false;
};
