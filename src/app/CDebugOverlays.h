#pragma once
// The developer's overlays over every screen, each switched by its UC_DEBUG_ command: the frame
// rate, the input devices' and the transmitter's state, the queued key events, the sound list,
// the loaded textures, the fonts, the help rectangles, the control pages' bounding rectangles
// and the current process's scene registries. The time-statistics table is
// always drawn here too (it switches itself, UC_DEBUG_TIME_STATS).
//
// Drawn in 2D window coordinates after the current process: Draw before the application's own
// texts (help, command echo, notices), DrawFps after them, so the frame rate stays on top.

#include <cstdint>

class CFrameClock;
class CInput;
class CMouseRectRegistry;
class CProcess;
class CSoundSystem;
class CTimeStatistics;

class CDebugOverlays
{
public:
    // Toggles the overlay of a UC_DEBUG_ command; the command when it is one, else 0.
    int HandleCommand(uint32_t command);

    // Whether the switch of that UC_DEBUG_ command is on (false for other commands).
    bool IsOn(uint32_t command) const;
    bool IsSoundAdminShown() const { return m_showSoundAdmin; }

    // input, mouseRects, sound, process (the current one, which describes its scenes): may be
    // null (nothing of theirs is drawn).
    void Draw(const CInput* input, const CMouseRectRegistry* mouseRects, const CSoundSystem* sound,
              const CProcess* process, int height) const;
    void DrawFps(const CFrameClock* clock, int width) const;

    // The table drawn and switched here, and where the overlays time themselves (not owned;
    // null: none).
    void SetTimeStatistics(CTimeStatistics* stats) { m_timeStats = stats; }

private:
    CTimeStatistics* m_timeStats = nullptr;
    bool m_showInputData = false;
    bool m_showFps = false;
    bool m_showTextureInfo = false;
    bool m_showKeyEvents = false;
    bool m_showMouseRects = false;
    bool m_showControlPageRects = false;
    bool m_showFonts = false;
    bool m_showSoundAdmin = false;
    bool m_showSceneMain = false;        // the scenes and their objects
    bool m_showSceneObjectAdmin = false; // every placed scene object
    bool m_showVdbObjectAdmin = false;   // every loaded 3D file

    struct TSwitch
    {
        uint32_t command;
        bool CDebugOverlays::*shown;
    };
    static const TSwitch kSwitches[];
};
