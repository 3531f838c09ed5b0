#pragma once
// Mouse flying: while the selected input map reads the mouse, the pointer is captured (SDL's
// relative mode, applied by the application) so that motion past the window's edge still moves
// the sticks instead of being lost. The pilot frees the pointer with Escape to reach the menus; a
// click into the flight view captures it again. A dialog, the editor or an open menu needs the
// pointer, so while one is up nothing is captured.

class CMouseFlying
{
public:
    // A flight begins: the pointer is captured again.
    void Start() { m_freed = false; }
    // Once per frame; true while the pointer is to be captured.
    bool Update(bool mapReadsMouse, bool pointerNeeded)
    {
        m_captured = mapReadsMouse && !pointerNeeded && !m_freed;
        return m_captured;
    }
    // Escape going down: true when it freed a captured pointer (the key is used up).
    bool OnEscape()
    {
        if (!m_captured)
            return false;
        m_freed = true;
        m_captured = false;
        return true;
    }
    // A click into the flight view that nothing else took.
    void OnFlightViewClick() { m_freed = false; }
    bool IsCaptured() const { return m_captured; }

private:
    bool m_freed = false;    // by Escape, until the next click or flight
    bool m_captured = false; // as of the last Update
};
