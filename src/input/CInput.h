#pragma once
// The input system: keyboard, mouse, joystick and the transmitter seam gathered into two views
// refreshed once per frame:
//  - 31 analogue axes and 47 buttons (InputIds.h), each read through a pointer; unbound entries
//    read 0;
//  - the frame's queue of key events with edge, held and repeat states and modifier bits, each
//    already resolved to a user command through the key definitions.
//
// The platform layer is one function: the application's message pump hands every SDL event to
// HandleEvent, which only buffers what happened. Update(frameTime) then does the frame's work in
// this order: empty the queue; keyboard (its records in order, then the held keys); mouse;
// joystick; transmitter; the edges of the 47 device buttons (event code 256 + id, with the
// keyboard's modifiers, and the same repeat rule as keys); resolution of every device event to a
// command. Time is the sum of the frame times handed to Update, so tests drive it exactly.
//
// Created by the application after the keyboard axes (BindKeyboardAxes) and before the
// configuration (SetKeyDefs); both are held, not owned.

#include <cstdint>
#include <memory>
#include <string>

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_joystick.h>

#include "input/CInputJoystick.h"
#include "input/CJoystickCalibrationSet.h"
#include "input/CInputKeyboard.h"
#include "input/CInputMouse.h"
#include "input/IAxisSource.h"
#include "input/InputIds.h"

class CKeyDefTable;
class CKeyboardAxes;
class CRadioInterface;
class IRadioInput;

class CInput : public IAxisSource
{
public:
    static constexpr float kRepeatDelay = 0.2f;    // s to the first repeat of a device button
    static constexpr float kRepeatInterval = 0.1f; // s between later repeats

    CInput();
    ~CInput() override;
    CInput(const CInput&) = delete;
    CInput& operator=(const CInput&) = delete;

    // Opens the first game controller when SDL's joystick subsystem is up (a missing controller
    // is no error: its axes read 0) and, unless one is attached already, creates the serial
    // transmitter interface with the calibration of Output/TXCalibr.txt (its port stays closed
    // until the configuration sets it). Always true.
    bool Init();
    // Closes the controller.
    void Shutdown();

    // The message pump's hand-off: keys, mouse, joystick (with hot-plug), focus changes.
    void HandleEvent(const SDL_Event& event);
    // The frame's work (see above). frameTime in s.
    void Update(float frameTime);

    // Axes and buttons.
    float GetAxisValue(int axisId) const override;
    uint8_t GetButtonState(int buttonId) const;
    // Points an axis at a value (keyboard axes, transmitter); null unbinds it.
    void BindAxis(int axisId, const float* value);
    void BindKeyboardAxes(const CKeyboardAxes& axes);
    // The transmitter seam; null detaches it (its axes read 0).
    void SetRadio(IRadioInput* radio);
    // The serial transmitter interface made by Init (null before, or when another was attached).
    CRadioInterface* Radio() const { return m_ownedRadio.get(); }
    // Where events are resolved to commands; null leaves every event at UC_UNDEFINED.
    void SetKeyDefs(const CKeyDefTable* keyDefs) { m_keyDefs = keyDefs; }
    // The joysticks' axis calibrations by device (the configuration's): the connected device
    // reads its own, found again whenever another one is plugged in; null reads the raw ranges.
    void SetJoystickCalibrations(const CJoystickCalibrationSet* calibrations) { m_joystickCalibrations = calibrations; }

    // The frame's events. Walk with First/Next (or by index); PostCommand appends.
    CInputEventQueue& Events() { return m_keyboard.Queue(); }
    const CInputEventQueue& Events() const { return m_keyboard.Queue(); }
    CInputEvent* FirstEvent() { return Events().First(); }
    CInputEvent* NextEvent() { return Events().Next(); }
    // Appends an event for a command (key KEY_NONE, group 12) so that menus and hot keys act
    // alike.
    void PostCommand(uint32_t command, uint32_t flags);
    // Appends a whole event as it stands (already resolved or deliberately not); false when the
    // queue is full. It counts as key activity for the tooltip delay like any other event.
    bool PostEvent(const CInputEvent& event);

    // The pointer's window position (client pixels).
    void GetMousePosition(int& outX, int& outY) const;
    void SetMousePosition(int x, int y);
    // Seconds since the mouse last moved or had a button held.
    float GetMouseIdleSeconds() const { return m_mouse.GetIdleSeconds(); }
    // Seconds since the last key event was posted.
    float GetSecondsSinceLastKeyEvent() const;
    // While set, holding the left button walks the mouse axes back to 0 (the flight sets it).
    void SetRecentre(bool on) { m_mouse.recentre = on; }

    uint32_t GetModifiers() const { return m_keyboard.GetModifiers(); }
    const CInputKeyboard& Keyboard() const { return m_keyboard; }
    const CInputJoystick& Joystick() const { return m_joystick; }
    bool HasJoystick() const { return m_joystick.present; }
    // The controller's name and how many axes it reports (SDL numbers them 0.., the first six
    // feed X .. RZ and the next two the sliders; further axes are not used).
    const std::string& JoystickName() const { return m_joystickName; }
    // SDL's GUID of the controller as hexadecimal text ("" without one).
    const std::string& JoystickGuid() const { return m_joystickGuid; }
    int JoystickAxisCount() const { return m_joystickAxisCount; }

    // "%s=%3.3f\n" per bound axis and "%s=%i\n" per button (at most 3000 characters).
    std::string GetDumpText() const;
    // The transmitter's status text ("" without one).
    std::string GetRadioStatusText() const;

    // Test seam: treat joystick events with this instance id as the controller's (no SDL device
    // is opened). -1 detaches it.
    void AttachJoystickForTest(SDL_JoystickID instanceId);

private:
    void BindDefaultPointers();
    void OpenFirstJoystick();
    void CloseJoystick();
    void UpdateButtonEdges();

    CInputKeyboard m_keyboard;
    CInputMouse m_mouse;
    CInputJoystick m_joystick;
    IRadioInput* m_radio = nullptr;          // the transmitter interface: m_ownedRadio or a test's
    std::unique_ptr<CRadioInterface> m_ownedRadio;
    const CKeyDefTable* m_keyDefs = nullptr; // not owned: the configuration's table
    const CJoystickCalibrationSet* m_joystickCalibrations = nullptr; // not owned: the configuration's

    const float* m_axisPtr[AXIS_COUNT];
    const uint8_t* m_buttonPtr[BUTTON_COUNT];
    uint8_t m_previousButtons[BUTTON_COUNT] = {};
    double m_buttonDownTime[BUTTON_COUNT] = {};
    uint32_t m_buttonRepeatCount[BUTTON_COUNT] = {};
    uint32_t m_buttonDownModifiers[BUTTON_COUNT] = {}; // a button's GOING-UP carries them

    SDL_Joystick* m_sdlJoystick = nullptr; // owned through SDL_JoystickOpen/Close
    SDL_JoystickID m_joystickId = -1;
    std::string m_joystickName;
    std::string m_joystickGuid;
    int m_joystickAxisCount = 0;
    double m_now = 0.0; // s: sum of the frame times
};
