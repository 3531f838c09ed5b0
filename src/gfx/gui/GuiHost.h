#pragma once
// What the GUI controls need from the rest of the program, behind two narrow interfaces that the
// application installs at start-up:
//  - IGuiHost: posting events into the input queue (commands and keys, so a menu entry and its
//    hot key act alike), requesting a process, the mouse position and the focus glow;
//  - IGuiSounds: the interface sounds ("ht_pb1.wav", "Pip4.wav", ...), silent until the sound
//    system installs itself.
// Without a host, posted events and process requests go nowhere and the mouse is at (-1, -1).

#include <cstdint>

#include "input/CInputEvent.h"

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
};

class IGuiSounds
{
public:
    virtual ~IGuiSounds() = default;
    // Plays the interface sound with this file name from Data/Sound/.
    virtual void Play(const char* fileName) = 0;
};

// Installs the host and the sounds (null removes them); not owned.
void SetGuiHost(IGuiHost* host);
IGuiHost* GuiHost();
void SetGuiSounds(IGuiSounds* sounds);

// Helpers the controls use; harmless without a host.
void GuiPlaySound(const char* fileName);
void GuiPostCommand(uint32_t command);           // key KEY_NONE, GOING-DOWN | IS-DOWN
void GuiPostKey(uint32_t key, uint32_t modifiers); // GOING-DOWN | IS-DOWN plus the modifiers
void GuiRequestProcess(int processIndex);        // ignored for 12 (none)
void GuiMousePosition(int& outX, int& outY);
float GuiFocusPulse();

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
