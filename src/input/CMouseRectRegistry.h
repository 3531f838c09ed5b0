#pragma once
// The registry of mouse-sensitive screen rectangles with their help texts. Every frame, after the
// input update, the rectangles under the mouse are found; the top hit (the lowest slot) picks the
// cursor shape and, once mouse and keys have been idle for 0.3 s, becomes the tooltip. Pressing
// the right mouse button over a rectangle turns on help mode: its long text is shown until the
// button is released. Drawing is the GUI's; this class decides what to show.

#include <cstdint>
#include <string>

#include "input/CInputEvent.h"

// What the registry asks of the cursor (SetCursorRequest bits 5 and 6 of the application).
enum EHelpCursor
{
    HC_NONE = 0,
    HC_SHORT_HELP, // the top hit has a short text only: pointer-with-text cursor
    HC_LONG_HELP,  // the top hit has a long text: help cursor
};

class CMouseRectRegistry
{
public:
    static constexpr int kSlotCount = 200;
    static constexpr int kMaxHits = 10;
    static constexpr float kTooltipDelay = 0.3f; // s of mouse and key idleness before a tooltip

    struct SRect
    {
        int x = 0, y = 0, width = 0, height = 0; // screen pixels
        std::string shortText, longText, keyText;
        bool used = false;
    };
    struct SHit
    {
        int slot = -1;
        int relX = 0, relY = 0; // mouse position relative to the rectangle's corner
    };

    // Frees the handle's previous slot, clips the rectangle (relative to the view) to the view,
    // and stores it in screen coordinates in the first free slot; the handle becomes that slot,
    // or -1 when the clipped rectangle is empty or all slots are used.
    void Register(int& ioHandle, int x, int y, int width, int height, int viewX, int viewY,
                  int viewWidth, int viewHeight, const std::string& shortText,
                  const std::string& longText, const std::string& keyText);
    // Frees the slot and sets the handle to -1 (a handle of -1 is ignored).
    void Release(int& ioHandle);

    // Once per frame after the input update: rebuilds the hit list, ends help mode when the right
    // button is up, picks the cursor and the tooltip.
    void Update(int mouseX, int mouseY, bool rightButtonDown, float mouseIdleSeconds,
                float keyIdleSeconds);
    // A right-button GOING-DOWN over a rectangle turns help mode on and is consumed
    // (UC_UNDEFINED); anything else returns 0.
    int HandleEvent(const CInputEvent& event);

    // Hits of the last Update, top first.
    int GetHitCount() const { return m_hitCount; }
    const SHit& GetHit(int index) const { return m_hits[index]; }
    int GetTopHit() const { return m_hitCount > 0 ? m_hits[0].slot : -1; }
    bool IsHit(int slot) const;
    const SRect& GetSlot(int slot) const { return m_slots[slot]; }
    int GetUsedCount() const;

    bool IsHelpMode() const { return m_helpMode; }
    int GetTooltipSlot() const { return m_tooltip; }
    EHelpCursor GetCursor() const { return m_cursor; }
    // The text to show now: in help mode the top hit's long text (or its short text when that
    // is empty); else the tooltip's short text plus "  (" key text ")" when it has a key; else "".
    std::string GetHelpText() const;
    // The debug listing: "MousePos[%i,%i]  MouseRects[%i]  \nHits:\n" and one line per hit.
    std::string GetDebugText(int mouseX, int mouseY) const;

private:
    SRect m_slots[kSlotCount];
    SHit m_hits[kMaxHits];
    int m_hitCount = 0;
    bool m_helpMode = false;
    int m_tooltip = -1;
    EHelpCursor m_cursor = HC_NONE;
};
