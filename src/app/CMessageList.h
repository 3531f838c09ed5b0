#pragma once
// Short on-screen messages that appear after a delay, stay for their duration and fade out
// over half a second: the model's and engine's messages (centred), the echo of every executed
// command (bottom-right) and notices that would otherwise need a message box.
//
// Ten slots. Post reuses an active slot holding the same text (a message repeated every frame
// stays one line instead of filling the list), else takes the first free slot, else slot 9:
// the newest message always gets through. A slot's life, with t the seconds since it was shown:
//   waiting  active, not shown, until its delay has passed since Post;
//   shown    drawn at full alpha while t <= duration, then alpha * (1 - 2 (t - duration));
//   free     once t >= duration + 0.5.
// Cancel removes a waiting message at once and lets a shown one fade from now on.
//
// Times are the caller's clock in seconds (the main stopwatch), passed in explicitly.

#include <limits>
#include <string>
#include <vector>

#include "gfx/draw2d/Palette.h"

class CMessageList
{
public:
    static constexpr int kSlotCount = 10;
    static constexpr double kFadeSeconds = 0.5;
    static constexpr double kUntilCancelled = std::numeric_limits<float>::max();

    enum EAnchor
    {
        ANCHOR_CENTRED = 0,      // first line centred at the anchor point, further lines below
        ANCHOR_BOTTOM_RIGHT = 1, // right- and bottom-aligned at the anchor, further lines above
    };

    // One line to draw this frame.
    struct TLine
    {
        int slot = -1;
        std::string text;
        TColor color; // alpha already faded
    };

    // Returns the slot used.
    int Post(double now, double delay, const TColor& color, const std::string& text, double duration);
    // ioSlot becomes -1; out-of-range slots are ignored.
    void Cancel(int& ioSlot, double now);
    // Advances every slot to now (waiting -> shown -> faded -> free) and returns the lines to
    // draw, in slot order.
    std::vector<TLine> Update(double now);
    void Clear();

    bool IsActive(int slot) const;
    bool IsShown(int slot) const;
    int ActiveCount() const;

    // One row of text on the screen: a message with line breaks ("\n") takes one row per line.
    struct TRow
    {
        std::string text;
        TColor color;
        float y = 0.0f; // pixels: the row's top (centred) or bottom (bottom-right)
    };
    // Rows of the lines from the anchor's y, rowHeight apart. Centred: messages in slot order
    // downwards, each message's lines top to bottom. Bottom-right: slot 0 ends at the anchor
    // and each further message sits above the one before, its own lines still reading top to
    // bottom.
    static std::vector<TRow> LayoutRows(const std::vector<TLine>& lines, float y, float rowHeight, EAnchor anchor);

    // Update, then draws the lines in font at (x, y) with the anchor's alignment.
    void Draw(double now, int font, float x, float y, EAnchor anchor);

    // The older calls of the application: post at once, nothing but Update on "expire".
    void Add(const std::string& text, const TColor& color, double now, double seconds)
    {
        Post(now, 0.0, color, text, seconds);
    }
    void Expire(double now) { m_lastLines = Update(now); }
    // Draws what the last Expire left (lines of lineHeight, newest at the bottom).
    void DrawBottomRight(int font, float rightX, float bottomY, float lineHeight) const;
    // Each message as a block of lines in a dark frame, centred on centreX from top down.
    void DrawCentredBoxes(int font, float centreX, float top) const;

private:
    struct TSlot
    {
        std::string text;
        bool active = false;
        bool shown = false;
        double started = 0.0;  // s, Post or the moment it was shown
        double delay = 0.0;    // s
        double duration = 0.0; // s
        TColor color;
    };
    TSlot m_slots[kSlotCount];
    std::vector<TLine> m_lastLines;
};
