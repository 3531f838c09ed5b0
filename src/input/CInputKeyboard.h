#pragma once
// The keyboard: key states by scan code, the modifier bits, the lock toggles and the event
// queue. Key changes arrive as buffered records (from the platform layer, between frames); Read
// turns them into GOING-DOWN / GOING-UP events in record order, then posts an IS-DOWN event for
// every held key, with REPEAT 0.2 s after the key went down and every 0.1 s after that.

#include <cstdint>
#include <vector>

#include "input/CInputEventQueue.h"

class CInputKeyboard
{
public:
    static constexpr float kRepeatDelay = 0.2f;    // s to the first repeat
    static constexpr float kRepeatInterval = 0.1f; // s between later repeats

    // Buffers one key change (scan code 0..255; others are ignored).
    void QueueRecord(uint32_t scanCode, bool down);
    // Buffers the lock toggles as the platform last reported them.
    void SetLockStates(bool capsLock, bool scrollLock, bool numLock);
    // The keyboard went away (focus lost): every held key is released, with a GOING-UP event in
    // the next Read, so that nothing that follows held keys stays stuck.
    void ReleaseAll();

    // Processes the buffered records and the held keys into the queue. now: input clock (s).
    void Read(double now);

    bool IsKeyDown(uint32_t scanCode) const { return scanCode < 256 && m_keyState[scanCode] != 0; }
    uint32_t GetModifiers() const { return m_modifiers; }
    bool IsCapsLock() const { return m_capsLock; }
    bool IsScrollLock() const { return m_scrollLock; }
    bool IsNumLock() const { return m_numLock; }

    CInputEventQueue& Queue() { return m_queue; }
    const CInputEventQueue& Queue() const { return m_queue; }

private:
    struct SRecord
    {
        uint32_t scanCode;
        bool down;
    };

    void RecomputeModifiers();
    void Post(uint32_t key, uint32_t flags, double now);

    CInputEventQueue m_queue;
    std::vector<SRecord> m_pending; // records since the last Read
    uint8_t m_keyState[256] = {};   // 0x80 = down
    uint32_t m_modifiers = 0;       // IE_ALT | IE_CTRL | IE_SHIFT
    double m_keyDownTime[256] = {}; // s: when the key went down or last repeated
    uint32_t m_repeatCount[256] = {};
    uint32_t m_downModifiers[256] = {}; // modifiers when the key went down: its GOING-UP carries them
    bool m_releaseAll = false;
    bool m_capsLock = false;
    bool m_scrollLock = false;
    bool m_numLock = false;
};
