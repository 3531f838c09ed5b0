#include "input/CInputKeyboard.h"

#include "core/Diagnostics.h"
#include "input/KeyCodes.h"

namespace
{
// Records are normally a handful per frame; this bounds a pump that runs without frames.
constexpr size_t kMaxPendingRecords = 4096;
} // namespace

void CInputKeyboard::QueueRecord(uint32_t scanCode, bool down)
{
    if (scanCode >= 256)
        return;
    if (m_pending.size() >= kMaxPendingRecords)
    {
        DiagPrint("CInputKeyboard: more than %zu key records without a frame; further ones dropped\n",
                  kMaxPendingRecords);
        return;
    }
    m_pending.push_back({scanCode, down});
}

void CInputKeyboard::SetLockStates(bool capsLock, bool scrollLock, bool numLock)
{
    m_capsLock = capsLock;
    m_scrollLock = scrollLock;
    m_numLock = numLock;
}

void CInputKeyboard::ReleaseAll()
{
    m_releaseAll = true;
}

void CInputKeyboard::RecomputeModifiers()
{
    m_modifiers = 0;
    if (m_keyState[DIK_LMENU] || m_keyState[DIK_RMENU])
        m_modifiers |= IE_ALT;
    if (m_keyState[DIK_LCONTROL] || m_keyState[DIK_RCONTROL])
        m_modifiers |= IE_CTRL;
    if (m_keyState[DIK_LSHIFT] || m_keyState[DIK_RSHIFT])
        m_modifiers |= IE_SHIFT;
}

void CInputKeyboard::Post(uint32_t key, uint32_t flags, double now)
{
    CInputEvent event;
    event.key = key;
    event.flags = flags;
    m_queue.Post(event, now); // a full queue drops the event
}

void CInputKeyboard::Read(double now)
{
    if (m_releaseAll)
    {
        m_releaseAll = false;
        for (uint32_t key = 0; key < 256; ++key)
            m_pending.push_back({key, false});
    }
    for (const SRecord& record : m_pending)
    {
        const uint32_t key = record.scanCode;
        const bool wasDown = m_keyState[key] != 0;
        m_keyState[key] = record.down ? 0x80 : 0;
        RecomputeModifiers();
        if (record.down && !wasDown)
        {
            Post(key, IE_GOING_DOWN | IE_IS_DOWN | m_modifiers, now);
            m_keyDownTime[key] = now;
            m_repeatCount[key] = 0;
            m_downModifiers[key] = m_modifiers;
        }
        else if (!record.down && wasDown)
        {
            Post(key, IE_GOING_UP | m_downModifiers[key], now);
        }
    }
    m_pending.clear();

    for (uint32_t key = 0; key < 256; ++key)
    {
        if (!m_keyState[key])
            continue;
        // A plain press already says the key is down this frame.
        if (m_queue.Contains(key, IE_GOING_DOWN | IE_IS_DOWN))
            continue;
        uint32_t flags = IE_IS_DOWN | m_modifiers;
        const double wait = m_repeatCount[key] == 0 ? kRepeatDelay : kRepeatInterval;
        // The small tolerance absorbs float sums of frame times (0.1 + 0.1 < 0.2 in binary).
        if (now - m_keyDownTime[key] >= wait - 1e-6)
        {
            m_keyDownTime[key] = now;
            ++m_repeatCount[key];
            flags |= IE_REPEAT;
        }
        Post(key, flags, now);
    }
}
