#pragma once
// A push button: a sprite (or the frame with a text) that fires when released.
//
// Keyboard (focused): Enter or Space going down without modifier presses it ("ht_pb1.wav"),
// runs the repeat action and sets activated; the going-up fires it ("ht_pb2.wav"); auto-repeat
// while held runs the repeat action again. Mouse: a left press inside presses it; the release
// fires it only when the pointer is still inside; repeats inside run the repeat action.
// Firing posts the release command, requests the target process and posts the release key, each
// when set. Commands and keys are posted as GOING-DOWN | IS-DOWN events.

#include <string>

#include "gfx/gui/CBControlItem.h"

class CCI_Button : public CBControlItem
{
public:
    // spriteName may be empty (a framed text button); an unknown name draws the frame.
    CCI_Button(int x, int y, int width, int height, const std::string& spriteName);

    void SetText(const std::string& text) { m_text = text; }
    const std::string& Text() const { return m_text; }
    void SetSprite(const std::string& spriteName);
    // kCommandNone (120) = none.
    void SetReleaseCommand(uint32_t command) { m_releaseCommand = command; }
    void SetRepeatCommand(uint32_t command) { m_repeatCommand = command; }
    // kProcessNone (12) = none.
    void SetTargetProcess(int process) { m_targetProcess = process; }
    // KEY_NONE (304) = none.
    void SetReleaseKey(uint32_t key, uint32_t modifiers) { m_releaseKey = key; m_releaseKeyFlags = modifiers; }
    void SetRepeatKey(uint32_t key, uint32_t modifiers) { m_repeatKey = key; m_repeatKeyFlags = modifiers; }

    bool IsPressed() const { return m_pressed != Pressed::None; }
    // Reads and clears a one-shot flag set when the button fired. Activated is already set by
    // the press, which a dialog must not act on: the pointer may still leave the button.
    bool WasFired();

    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Deactivate() override { m_pressed = Pressed::None; }
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;

private:
    enum class Pressed { None, Keyboard, Mouse };
    void RepeatAction();
    void Fire();

    int m_width;
    int m_height;
    int m_sprite = -1;
    std::string m_text;
    uint32_t m_releaseCommand = kCommandNone;
    uint32_t m_repeatCommand = kCommandNone;
    int m_targetProcess = 12;
    uint32_t m_releaseKey = KEY_NONE;
    uint32_t m_releaseKeyFlags = 0;
    uint32_t m_repeatKey = KEY_NONE;
    uint32_t m_repeatKeyFlags = 0;
    Pressed m_pressed = Pressed::None;
    bool m_fired = false;
};
