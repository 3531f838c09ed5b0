#pragma once
// The application object: owns the window, the OpenGL context, the frame clock, the debug
// overlays and every long-lived subsystem, creates them in a fixed order and deletes
// them in a fixed order. One instance, reachable through MainKestro() between creation and
// shutdown.
//
// The frame (RunFrame) is variable-step and single-threaded: window events, Update (input,
// keyboard axes, the current process, then every event of the frame offered to the current
// process, the keyboard axes, the application's own commands and the help rectangles), Render
// and the buffer swap when the window is visible, then the frame clock. Each block is a
// time-statistics section.
//
// Messages the pilot must see (a configuration that could not be read, a failed start-up) go
// to stderr and, when a window manager can show them and KESTRO_NO_MESSAGE_BOX is not set, into
// a message box; otherwise onto the screen, so a headless run never blocks.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/CBlinker.h"
#include "app/CCursorTable.h"
#include "app/CDebugOverlays.h"
#include "app/CFrameClock.h"
#include "app/CMessageList.h"
#include "app/CPulse.h"
#include "core/CTimer.h"
#include "gfx/gui/GuiHost.h"
#include "input/CInputEvent.h"

struct SDL_Window;
union SDL_Event;
class CConfig;
class CGuiSounds;
class CDiagnosticMenu;
class CInput;
class CKeyboardAxes;
class CMouseRectRegistry;
class CProcessManager;
class CSoundSystem;
class CTimeStatistics;

class CMainKestro : public IGuiHost
{
public:
    static constexpr int kClientWidth = 1024;
    static constexpr int kClientHeight = 768;
    static constexpr const char* kTitle = "Kestro";

    CMainKestro();
    ~CMainKestro() override;
    CMainKestro(const CMainKestro&) = delete;
    CMainKestro& operator=(const CMainKestro&) = delete;

    // The start-up sequence. False when a step failed; FailedStep names it.
    bool Init();
    const std::string& FailedStep() const { return m_failedStep; }
    // One iteration of the frame loop.
    void RunFrame();
    bool IsQuitRequested() const { return m_quit; }
    void RequestQuit() { m_quit = true; }
    void Shutdown();

    void Update();
    void Render();
    // The application's own commands; the command when consumed, else 0.
    int HandleUserCommand(const CInputEvent& event);
    // The sound settings' commands: only UC_SOUND_ENGINE_ENABLE (switches the engine sound);
    // 0 for anything else.
    int HandleSoundCommand(uint32_t command);

    void SetVideoSync(bool on);
    bool GetVideoSync() const { return m_videoSync != 0; }
    void SetWindowTitle(const std::string& text);
    void ToggleFullScreen();
    void SetCursorRequest(int index, bool on) { m_cursors.SetRequest(index, on); }
    // SDL's relative mouse mode: the pointer is hidden and its motion is not stopped by the
    // window's edge (mouse flying).
    void SetRelativeMouse(bool on);
    // A message the pilot must read: a modal box when one can be shown, otherwise stderr and
    // the screen.
    void ShowFatalError(const std::string& text);
    void ShowWarning(const std::string& text);

    // Whether the debug overlay switched by a UC_DEBUG_ command of the application is on (the
    // menu's check marks); false for the commands of other receivers.
    bool IsDebugSwitchOn(uint32_t command) const;

    void SetMenuActive(bool active) { m_menuActive = active; }
    bool IsMenuActive() const { return m_menuActive; }

    CInput* Input() const { return m_input.get(); }
    CConfig* Config() const { return m_config.get(); }
    // Null before start-up and after shutdown; silent (not null) without an audio device.
    CSoundSystem* Sound() const { return m_sound.get(); }
    bool IsSoundAdminShown() const { return m_debugOverlays.IsSoundAdminShown(); }
    CKeyboardAxes* KeyboardAxes() const { return m_keyboardAxes.get(); }
    CDiagnosticMenu* DiagnosticMenu() const { return m_diagnosticMenu.get(); }
    CProcessManager* ProcessManager() const { return m_processManager.get(); }
    CMessageList& CommandEcho() { return m_commandEcho; }
    const CFrameClock* FrameClock() const { return m_frameClock.get(); }
    // Where the frame's work is timed; null before start-up and after shutdown.
    CTimeStatistics* TimeStatistics() const { return m_timeStatistics.get(); }
    // s since start-up: the clock of blinkers and messages.
    double Seconds() const { return m_stopwatch.Seconds(); }
    const CBlinker& RecordBlinker() const { return m_blinkers[0]; }

    // IGuiHost: what the menus' controls need.
    void PostEvent(const CInputEvent& event) override;
    void RequestProcess(int processIndex) override;
    void GetMousePosition(int& outX, int& outY) const override;
    float FocusPulse() const override { return m_pulses[0].Value(); }
    float MouseIdleSeconds() const override;
    float KeyIdleSeconds() const override;
    IGuiSounds* Sounds() override;
    bool ShowsBoundingRects() const override;

private:
    bool CreateWindowAndContext();
    bool CreateProcesses();
    void DispatchWindowEvents();
    void HandleWindowEvent(const SDL_Event& event);
    void OfferFrameEvents();
    // Reports each OpenGL error code the first time the frame loop meets it.
    void ReportGlErrors();
    void RenderOverlays();
    bool CanShowMessageBox() const;
    void ShowMessage(const char* title, const std::string& text, bool fatal);

    CDebugOverlays m_debugOverlays;
    int32_t m_videoSync = 0; // 0/1: the swap waits for the vertical retrace
    bool m_menuActive = false;
    bool m_relativeMouse = false; // as last set through SDL
    bool m_relativeMouseUnavailable = false; // SDL refused it once: not asked again
    // The application-level pause: nothing sets it (the flight has its own pause), but a pause
    // step and the "PAUSED" overlay stay wired for it.
    bool m_paused = false;
    bool m_pauseStep = false;
    bool m_timeHog = false; // test switch: sleep 1..20 ms every frame
    bool m_initialised = false;
    // The other screens prepare once, after the first frame is shown: the window shows at
    // once and the flight starts without loading.
    int m_framesShown = 0;
    bool m_othersPrepared = false;

    bool m_quit = false;
    bool m_frameDue = true;      // false while the window is minimised or hidden
    bool m_maximised = false;    // ToggleFullScreen's state
    bool m_swapWarned = false;   // the swap interval's failure is reported once
    std::vector<unsigned int> m_glErrorsReported; // OpenGL error codes already reported
    std::string m_failedStep;
    std::string m_outputFolder;  // "Output/" below the base directory

    std::unique_ptr<CFrameClock> m_frameClock;
    CTimer m_stopwatch; // the main stopwatch
    CPulse m_pulses[2] = {CPulse(1.0f), CPulse(3.0f)};
    CBlinker m_blinkers[2] = {CBlinker(1.0f, 0.5f), CBlinker(1.0f, 0.2f)};
    std::unique_ptr<CTimeStatistics> m_timeStatistics;
    std::unique_ptr<CMouseRectRegistry> m_mouseRects;
    std::unique_ptr<CKeyboardAxes> m_keyboardAxes;
    std::unique_ptr<CDiagnosticMenu> m_diagnosticMenu; // Ctrl+Shift+F1, first receiver of events
    std::unique_ptr<CInput> m_input;
    std::unique_ptr<CSoundSystem> m_sound;
    std::unique_ptr<CGuiSounds> m_guiSounds;
    std::unique_ptr<CConfig> m_config;
    std::unique_ptr<CProcessManager> m_processManager;
    CCursorTable m_cursors;
    CMessageList m_commandEcho; // bottom-right: every executed command
    CMessageList m_notices;     // centre: messages that would have needed a box
    bool m_gfxLoaded = false;

    SDL_Window* m_window = nullptr;  // owned
    void* m_glContext = nullptr;     // SDL_GLContext, owned
    bool m_sdlStarted = false;
    double m_loopStartSeconds = -1.0; // main stopwatch at the first frame
    // KESTRO_FRAME_LOG names a file that gets one line per shown frame: the main stopwatch (s)
    // at the buffer swap and the current process index. The screen benchmark reads it.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_frameLog{nullptr, &std::fclose};
};

// The one instance between creation and shutdown, else null.
CMainKestro* MainKestro();

// The program: creates the application, runs the loop, shuts down. Returns the exit code: 0
// after a normal end, 1 when the start-up failed.
int RunKestro();
