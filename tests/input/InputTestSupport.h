#pragma once
// Helpers for the input tests: synthetic SDL events and writers captured as text.

#include <SDL2/SDL_events.h>

#include <functional>
#include <string>

#include "data/CFile.h"
#include "support/TempDir.h"

inline SDL_Event KeyEvent(SDL_Scancode scancode, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    return event;
}

inline SDL_Event MouseMotion(int dx, int dy, int x = 100, int y = 100)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

inline SDL_Event MouseButton(uint8_t button, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    return event;
}

inline SDL_Event FocusLost()
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    return event;
}

// What a writer puts into a file, as text (CR LF line ends included).
inline std::string WrittenText(const std::function<void(CFile&)>& write)
{
    TempDir dir;
    const std::string path = (dir.Path() / "out.txt").string();
    {
        CFileDisk file;
        if (!file.Open(path, FM_WRITE))
            return "<cannot open>";
        write(file);
        file.Close();
    }
    return dir.Read("out.txt");
}
