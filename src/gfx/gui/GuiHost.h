#pragma once
// What the GUI controls need from the rest of the program, behind two narrow interfaces:
//  - IGuiHost: posting events into the input queue (commands and keys, so a menu entry and its
//    hot key act alike), requesting a process, the mouse position, the focus glow and the
//    bounding-rectangle overlay;
//  - IGuiSounds: the interface sounds ("ht_pb1.wav", "Pip4.wav", ...), which the host offers
//    once the sound system is up.
// The owner of a top-level page (a menu screen, a view, the flight screen's bars) hands the host
// in; a control asks the page it sits on (CBControlItem::Host). Without a host, posted events and
// process requests go nowhere, nothing is heard and the mouse is at (-1, -1).

#include <cstdint>

#include "input/CInputEvent.h"

class IGuiSounds
{
public:
    virtual ~IGuiSounds() = default;
    // Plays the interface sound with this file name from Data/Sound/.
    virtual void Play(const char* fileName) = 0;
};

class IGuiHost
{
public:
    virtual ~IGuiHost() = default;
    // Appends an event to the frame's input queue.
    virtual void PostEvent(const CInputEvent& event) = 0;
    // Asks the process manager for a process (Part of the screen flow; 12 = none is never asked).
    virtual void RequestProcess(int processIndex) = 0;
    // The pointer in the coordinates the controls draw in (virtual screen pixels, y down).
    virtual void GetMousePosition(int& outX, int& outY) const = 0;
    // 0..1, running up and down: the glow of the focused control.
    virtual float FocusPulse() const { return 0.5f; }
    // Seconds since the mouse moved and since the last key (tooltips wait for both).
    virtual float MouseIdleSeconds() const { return 0.0f; }
    virtual float KeyIdleSeconds() const { return 0.0f; }
    // The interface sounds; null: silent.
    virtual IGuiSounds* Sounds() { return nullptr; }
    // Debug overlay: pages outline every control's rectangle.
    virtual bool ShowsBoundingRects() const { return false; }
};

// Helpers the controls use with their host; harmless with a null one.
void GuiPlaySound(IGuiHost* host, const char* fileName);
void GuiPostCommand(IGuiHost* host, uint32_t command);           // key KEY_NONE, GOING-DOWN | IS-DOWN
void GuiPostKey(IGuiHost* host, uint32_t key, uint32_t modifiers); // GOING-DOWN | IS-DOWN plus the modifiers
void GuiRequestProcess(IGuiHost* host, int processIndex);        // ignored for 12 (none)
void GuiMousePosition(const IGuiHost* host, int& outX, int& outY);
float GuiFocusPulse(const IGuiHost* host);

// Sound file names.
constexpr const char* kSoundButtonDown = "ht_pb1.wav";
constexpr const char* kSoundButtonUp = "ht_pb2.wav";
constexpr const char* kSoundSwitchOn = "ht_sw1.wav";
constexpr const char* kSoundSwitchOff = "ht_sw2.wav";
constexpr const char* kSoundPip1 = "Pip1.wav";
constexpr const char* kSoundFocusBack = "Pip4.wav";
constexpr const char* kSoundFocusNext = "Pip5.wav";
constexpr const char* kSoundClick = "ht_pb1.wav";

constexpr int kProcessNone = 12;

// Event tests shared by the controls.
constexpr uint32_t KEY_ENTER = 28;
constexpr uint32_t KEY_SPACE = 57;
inline bool NoModifier(const CInputEvent& e)
{
    return (e.flags & IE_MODIFIER_MASK) == 0;
}
