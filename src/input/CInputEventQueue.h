#pragma once
// The frame's key events: at most 32, in the order they were posted; further events of the frame
// are dropped. Emptied at the start of every frame. Remembers when the last event was posted
// (tooltips wait for the keys to be idle).

#include "input/CInputEvent.h"

class CInputEventQueue
{
public:
    static constexpr int kCapacity = 32;

    void Clear() { m_count = 0; m_cursor = 0; }
    // False when the queue is full (the event is dropped). now: input clock (s).
    bool Post(const CInputEvent& event, double now);

    int Count() const { return m_count; }
    const CInputEvent& At(int index) const { return m_events[index]; }
    CInputEvent& At(int index) { return m_events[index]; }

    // Walks the queue once: null at the end. Events posted during the walk are reached too.
    CInputEvent* First();
    CInputEvent* Next();

    // Whether an event with this key and exactly these flags is queued.
    bool Contains(uint32_t key, uint32_t flags) const;

    double SecondsSinceLastPost(double now) const { return now - m_lastPostTime; }

private:
    CInputEvent m_events[kCapacity];
    int m_count = 0;
    int m_cursor = 0;
    double m_lastPostTime = 0.0;
};
