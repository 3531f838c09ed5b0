#pragma once
// The twelve mouse cursors and the request mask that picks one of them.
//
// Index: 0 system wait, 1 hidden, 2 Rotate, 3 Translate, 4 Zoom, 5 ShortHelp, 6 LongHelp,
// 7 west-east arrow, 8 north-south, 9 north-west/south-east, 10 north-east/south-west,
// 11 Default. Images 2..6 and 11 are Data/Textures/<Name>.png with their hot spots in
// Data/Textures/Cursors.txt; an image that cannot be read falls back to the system arrow.
//
// Request bit k asks for cursor k (k = 0..10). The cursor shown is the one of the highest
// priority set bit: 7, 8, 9, 10 first, then 0 to 6 ascending; with no bit set, cursor 11.

#include <cstdint>
#include <string>

struct SDL_Cursor;

class CCursorTable
{
public:
    static constexpr int kCount = 12;
    static constexpr int kDefault = 11;
    static constexpr int kHidden = 1;

    CCursorTable() = default;
    ~CCursorTable();
    CCursorTable(const CCursorTable&) = delete;
    CCursorTable& operator=(const CCursorTable&) = delete;

    // Needs SDL's video subsystem. texturesFolder ends with '/'. Returns how many image cursors
    // were built (missing ones are reported and use the system arrow).
    int Load(const std::string& texturesFolder);
    void Free();

    void SetRequest(int index, bool on);
    uint32_t RequestMask() const { return m_mask; }
    // The cursor index the mask asks for.
    static int Choose(uint32_t mask);
    int Shown() const { return m_shown; }

private:
    void Show(int index);

    SDL_Cursor* m_cursors[kCount] = {}; // owned; null for the hidden one
    uint32_t m_mask = 0;
    int m_shown = -1;
};
