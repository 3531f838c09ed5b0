#pragma once
// The mouse as three normalised axes (x, y, wheel in -1..1) and three buttons. Motion counts
// arrive between frames and are summed; Read scales them (1/400 per count horizontally, 1/300
// vertically and per wheel notch), clamps, and with the recentre flag halves x and y every frame
// the left button is held. Also the window position of the pointer and its idle time.
//
// Buttons are read once per frame, yet a quick click lasts less than a frame: down and up arrive
// between two reads. So the changes of each button are queued and every Read shows the next one:
// the click gives its press edge in one frame and its release edge in the next. A button that
// changes no faster than the frames is seen exactly as before. When more changes wait than the
// queue holds, the newest pairs are merged (the button still ends in its latest state).

#include <cstdint>

class CInputMouse
{
public:
    static constexpr int kScreenWidth = 800;  // the scale reference, not the window size
    static constexpr int kScreenHeight = 600;

    // Buffered between frames.
    void AddMotion(int dx, int dy) { m_dx += dx; m_dy += dy; }
    void AddWheel(int notches) { m_wheelNotches += notches; }
    void SetButton(int button, bool down); // 0 left, 1 right, 2 centre
    // The pointer's window position; restarts the idle time.
    void SetPosition(int x, int y);
    // Focus lost: buttons up, wheel 0.
    void ReleaseAll();

    // Applies the frame's motion. now: input clock (s).
    void Read(double now);

    float x = 0.0f, y = 0.0f, wheel = 0.0f; // -1..1; y positive up
    uint8_t buttons[3] = {};                // 0x80 = down
    bool recentre = false;

    int GetWindowX() const { return m_windowX; }
    int GetWindowY() const { return m_windowY; }
    // Seconds since the pointer last moved or a button was held, as of the last Read.
    float GetIdleSeconds() const { return static_cast<float>(m_now - m_lastActivity); }

private:
    int m_dx = 0, m_dy = 0, m_wheelNotches = 0;
    // States each button went through since the last Read, oldest first, each differing from
    // the one before it (the first from the shown state).
    static constexpr int kQueuedChanges = 4;
    struct TButtonChanges
    {
        uint8_t states[kQueuedChanges] = {};
        int count = 0;
    };
    TButtonChanges m_changes[3];
    int m_windowX = 0, m_windowY = 0;
    bool m_moved = false;       // SetPosition since the last Read
    double m_now = 0.0;         // s, input clock at the last Read
    double m_lastActivity = 0.0; // s, input clock
};
