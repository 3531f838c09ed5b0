#include "app/CMainKestro.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <SDL2/SDL_syswm.h>
#include <GL/glu.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/CConfig.h"
#include "app/CGuiSounds.h"
#include "app/CProcCalibrateTX.h"
#include "app/CProcCredits.h"
#include "app/CProcFly.h"
#include "app/CProcMenuEditInputMap.h"
#include "app/CProcMenuExController.h"
#include "app/CProcMenuKeyAxis.h"
#include "app/CProcMenuKeyDef.h"
#include "app/CProcMenuMain.h"
#include "app/CProcMenuRadio.h"
#include "app/CProcessManager.h"
#include "core/CTimeStatistics.h"
#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/StringTable.h"
#include "gfx/gui/CControlPageEx.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CTextureManager.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/draw2d/Gfx2D.h"
#include "gfx/draw2d/Palette.h"
#include "gfx/views/CDiagnosticMenu.h"
#include "input/CInput.h"
#include "input/CKeyboardAxes.h"
#include "input/CMouseRectRegistry.h"
#include "input/CRadioInterface.h"
#include "input/KeyCodes.h"
#include "input/UserCommands.h"
#include "sound/CSoundSystem.h"

namespace
{
CMainKestro* g_mainKestro = nullptr;

constexpr double kCommandEchoSeconds = 2.0;
constexpr double kNoticeSeconds = 20.0;

void MakeFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
        DiagPrint("Folder %s cannot be created: %s\n", path.c_str(), std::strerror(errno));
}

// Whether an X window manager runs: without one a message box never gets mapped and blocks.
bool WindowManagerPresent(SDL_Window* window)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, AnyPropertyType,
                                          &type, &format, &count, &after, &data);
    const bool present = status == Success && data != nullptr && count > 0;
    if (data)
        XFree(data);
    return present;
#else
    return window != nullptr;
#endif
}
} // namespace

CMainKestro* MainKestro()
{
    return g_mainKestro;
}

CMainKestro::CMainKestro()
{
    g_mainKestro = this;
}

CMainKestro::~CMainKestro()
{
    Shutdown();
    if (g_mainKestro == this)
        g_mainKestro = nullptr;
}

bool CMainKestro::Init()
{
    bool ok = true;
    auto fail = [this, &ok](const char* step) {
        if (ok)
            m_failedStep = step;
        ok = false;
    };

    // The frame clock first: everything after it may ask for the frame time.
    m_frameClock = std::make_unique<CFrameClock>();
    m_stopwatch.Start();

    InitBaseDirectory();
    m_outputFolder = BuildDataPath(DF_OUTPUT, "");
    MakeFolder(m_outputFolder);
    MakeFolder(BuildDataPath(DF_DEVELOPER_OUTPUT, ""));

    // The string table runs even after a failure: the failure message may need it.
    const std::string stringsPath = BuildDataPath(DF_CONFIG, "String.txt");
    if (!LoadStringTable() || StringTableCount() == 0)
        fail("string table: Data/Config/String.txt cannot be read (start Kestro in the folder that holds Data/)");

    m_timeStatistics = std::make_unique<CTimeStatistics>();
    m_debugOverlays.SetTimeStatistics(m_timeStatistics.get());
    m_mouseRects = std::make_unique<CMouseRectRegistry>();

    if (ok && !InitGfx2D())
        DiagPrint("Kestro: sprites or fonts incomplete; missing texts and pictures are not drawn\n");
    m_gfxLoaded = true;
    if (ok)
        m_keyboardAxes = std::make_unique<CKeyboardAxes>();
    m_diagnosticMenu = std::make_unique<CDiagnosticMenu>();
    m_diagnosticMenu->SetGuiHost(this);

    // The window runs even after a failure, so that a failure can be shown in a box.
    if (!CreateWindowAndContext())
        fail("window and OpenGL context");

    if (ok)
    {
        m_input = std::make_unique<CInput>();
        m_input->BindKeyboardAxes(*m_keyboardAxes);
        if (!m_input->Init())
            fail("input devices");
    }
    if (ok)
    {
        // Without an audio device the program runs silent; the sound system has said why.
        m_sound = std::make_unique<CSoundSystem>();
        m_sound->Create();
        m_guiSounds = std::make_unique<CGuiSounds>(*m_sound);
    }
    if (ok)
    {
        m_config = std::make_unique<CConfig>(*m_keyboardAxes);
        std::string message;
        if (!m_config->Load(m_outputFolder, BuildDataPath(DF_CONFIG, CConfig::kFileName), message))
            fail("configuration");
        if (!message.empty())
            ShowWarning(message);
        const std::string lastSave = CConfig::TakeSaveFailureNote(m_outputFolder);
        if (!lastSave.empty())
            ShowWarning(lastSave);
        if (ok)
        {
            m_input->SetKeyDefs(&m_config->KeyDefs());
            m_input->SetJoystickCalibrations(&m_config->JoystickCalibrations());
            if (CRadioInterface* radio = m_input->Radio())
                radio->SetPort(m_config->GetComPort(), m_config->GetComDevice());
            SetVideoSync(m_config->GetSwapInterval() != 0);
        }
    }
    if (ok)
    {
        m_processManager = std::make_unique<CProcessManager>();
        if (!CreateProcesses())
            fail("screens (process manager)");
        else
            m_processManager->Request(PROC_MENU_MAIN);
    }
    m_initialised = ok;
    return ok;
}

bool CMainKestro::CreateWindowAndContext()
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0)
    {
        DiagPrint("SDL with joystick support: %s; trying without\n", SDL_GetError());
        if (SDL_Init(SDL_INIT_VIDEO) != 0)
        {
            DiagPrint("SDL video: %s\n", SDL_GetError());
            return false;
        }
    }
    m_sdlStarted = true;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    m_window = SDL_CreateWindow(kTitle, 0, 0, kClientWidth, kClientHeight,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    if (!m_window)
    {
        DiagPrint("Window: %s\n", SDL_GetError());
        return false;
    }
    SDL_RaiseWindow(m_window);
    SDL_ShowCursor(SDL_ENABLE);
    m_glContext = SDL_GL_CreateContext(m_window);
    if (!m_glContext)
    {
        DiagPrint("OpenGL context: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(m_window, m_glContext);
    int depthBits = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits);
    DiagPrint("Depth Buffer %i bits\n", depthBits);
    int width = kClientWidth, height = kClientHeight;
    SDL_GL_GetDrawableSize(m_window, &width, &height);
    glViewport(0, 0, width, height);
    m_cursors.Load(BuildDataPath(DF_TEXTURES, ""));
    return true;
}

bool CMainKestro::CreateProcesses()
{
    CProcessManager& manager = *m_processManager;
    // The order in which they are built.
    return manager.Add(PROC_MENU_MAIN, std::make_unique<CProcMenuMain>()) &&
           manager.Add(PROC_FLY, std::make_unique<CProcFly>()) &&
           manager.Add(PROC_MENU_CONTROLLER, std::make_unique<CProcMenuExController>()) &&
           manager.Add(PROC_MENU_RADIO, std::make_unique<CProcMenuRadio>()) &&
           manager.Add(PROC_MENU_EDIT_INPUT_MAP, std::make_unique<CProcMenuEditInputMap>()) &&
           manager.Add(PROC_MENU_KEY_AXIS, std::make_unique<CProcMenuKeyAxis>()) &&
           manager.Add(PROC_MENU_KEY_DEF, std::make_unique<CProcMenuKeyDef>()) &&
           manager.Add(PROC_CALIBRATE_TX, std::make_unique<CProcCalibrateTX>()) &&
           manager.Add(PROC_CREDITS, std::make_unique<CProcCredits>());
}

void CMainKestro::RunFrame()
{
    if (m_loopStartSeconds < 0.0)
    {
        m_loopStartSeconds = m_stopwatch.Seconds();
        const char* frameLog = std::getenv("KESTRO_FRAME_LOG");
        if (frameLog != nullptr && *frameLog != '\0')
        {
            m_frameLog.reset(std::fopen(frameLog, "w"));
            if (!m_frameLog)
                std::fprintf(stderr, "Kestro: KESTRO_FRAME_LOG %s cannot be written\n", frameLog);
        }
    }
    if (m_timeStatistics)
    {
        m_timeStatistics->BeginFrame();
        m_timeStatistics->BeginSection("Total");
    }
    {
        CTimeSection section(m_timeStatistics.get(), "DispatchMessage");
        DispatchWindowEvents();
    }
    {
        CTimeSection section(m_timeStatistics.get(), "Run");
        Update();
    }
    if (m_frameDue && m_window)
    {
        if (!m_othersPrepared && m_framesShown > 0 && m_processManager)
        {
            CTimeSection section(m_timeStatistics.get(), "Prepare");
            m_processManager->PrepareOthers();
            m_othersPrepared = true;
        }
        {
            CTimeSection section(m_timeStatistics.get(), "Render");
            Render();
        }
        {
            CTimeSection section(m_timeStatistics.get(), "Swap Video Buffer");
            SDL_GL_SwapWindow(m_window);
        }
        ++m_framesShown;
        if (m_frameLog)
            std::fprintf(m_frameLog.get(), "%.6f %d\n", m_stopwatch.Seconds(),
                         m_processManager ? m_processManager->GetCurrentIndex() : -1);
        ReportGlErrors();
    }
    {
        CTimeSection section(m_timeStatistics.get(), "Sync");
        m_frameClock->Sync();
    }
    if (m_timeStatistics)
        m_timeStatistics->EndSection("Total");
    if (m_processManager && m_processManager->IsQuitRequested())
        m_quit = true;
}

void CMainKestro::ReportGlErrors()
{
    // Drained every frame so that an old error does not stand for a new one; each code is
    // reported once, since a fault in a drawing path repeats every frame. The bound keeps a lost
    // context, which may answer an error for ever, from hanging the frame.
    constexpr int kMaxErrorsPerFrame = 16;
    for (int i = 0; i < kMaxErrorsPerFrame; ++i)
    {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR)
            return;
        if (std::find(m_glErrorsReported.begin(), m_glErrorsReported.end(), error) != m_glErrorsReported.end())
            continue;
        m_glErrorsReported.push_back(error);
        DiagPrint("OpenGL error 0x%04x (%s) in a frame; later ones of this code are not reported\n", error,
                  reinterpret_cast<const char*>(gluErrorString(error)));
    }
}

void CMainKestro::DispatchWindowEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        HandleWindowEvent(event);
}

void CMainKestro::HandleWindowEvent(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_QUIT: // the close button, and SIGTERM
        m_quit = true;
        return;
    case SDL_WINDOWEVENT:
        switch (event.window.event)
        {
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            m_frameDue = false;
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
            m_frameDue = true;
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            m_frameDue = true;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        {
            int width = event.window.data1, height = event.window.data2;
            SDL_GL_GetDrawableSize(m_window, &width, &height);
            glViewport(0, 0, width, height);
            break;
        }
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // A key released in another window would keep an axis ramping.
            if (m_keyboardAxes)
                m_keyboardAxes->ReleaseKeys();
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
    if (m_input)
        m_input->HandleEvent(event);
}

void CMainKestro::Update()
{
    const float frameTime = m_frameClock ? m_frameClock->GetFrameTime() : 0.0f;
    if (m_timeHog)
    {
        CTimeSection section(m_timeStatistics.get(), "TimeHog");
        SDL_Delay(1 + static_cast<Uint32>(20 * (std::rand() % 32768) / 32768));
    }
    for (CPulse& pulse : m_pulses)
        pulse.Update(m_frameClock->GetRealDt());
    {
        CTimeSection section(m_timeStatistics.get(), "Input");
        if (m_input)
        {
            m_input->Update(frameTime);
            int x = 0, y = 0;
            m_input->GetMousePosition(x, y);
            m_mouseRects->Update(x, y, m_input->GetButtonState(BUTTON_MOUSE_RIGHT) != 0, m_input->GetMouseIdleSeconds(),
                                 m_input->GetSecondsSinceLastKeyEvent());
            m_cursors.SetRequest(5, m_mouseRects->GetCursor() == HC_SHORT_HELP);
            m_cursors.SetRequest(6, m_mouseRects->GetCursor() == HC_LONG_HELP);
        }
    }
    {
        CTimeSection section(m_timeStatistics.get(), "Keyboard Axes");
        if (m_keyboardAxes)
            m_keyboardAxes->Update(frameTime);
    }
    {
        CTimeSection section(m_timeStatistics.get(), "Current Process");
        if (m_processManager && (!m_paused || m_pauseStep))
        {
            m_pauseStep = false;
            m_processManager->Update();
        }
    }
    {
        CTimeSection section(m_timeStatistics.get(), "Sound");
        if (m_sound)
            m_sound->Update();
    }
    {
        CTimeSection section(m_timeStatistics.get(), "Key Events");
        OfferFrameEvents();
    }
    if (m_diagnosticMenu)
        m_diagnosticMenu->Run();
    m_commandEcho.Expire(Seconds());
    m_notices.Expire(Seconds());
}

void CMainKestro::OfferFrameEvents()
{
    if (!m_input)
        return;
    for (CInputEvent* event = m_input->FirstEvent(); event; event = m_input->NextEvent())
    {
        int result = m_diagnosticMenu ? m_diagnosticMenu->OnEvent(*event) : 0;
        if (result == 0 && m_processManager)
            result = m_processManager->OnEvent(*event);
        if (result == 0 && m_keyboardAxes)
            result = m_keyboardAxes->HandleEvent(*event);
        if (result == 0)
            result = HandleUserCommand(*event);
        if (result == 0)
            result = m_mouseRects->HandleEvent(*event);
        if (result != 0 && result != static_cast<int>(UC_UNDEFINED) && result < kUserCommandCount)
        {
            const char* text = UserCommandShortText(static_cast<uint32_t>(result));
            if (text && *text)
            {
                // Dark green at half opacity: a quiet acknowledgement in the corner, not a message
                // that competes with the model's.
                TColor color = PaletteColor(26);
                color.a = 128;
                m_commandEcho.Add(text, color, Seconds(), kCommandEchoSeconds);
            }
        }
    }
}

int CMainKestro::HandleUserCommand(const CInputEvent& event)
{
    // Commands fire on the states their key definition names; posted commands carry GOING-DOWN.
    // Each handler answers whether it took the command.
    struct TCommandHandler
    {
        uint32_t command;
        bool (*handle)(CMainKestro& app);
    };
    static const TCommandHandler kHandlers[] = {
        {UC_APP_PAUSE, [](CMainKestro&) { return true; }},
        {UC_APP_VIDEO_SYNC, [](CMainKestro& app) { app.SetVideoSync(app.m_videoSync == 0); return true; }},
        {UC_APP_ABOUT, [](CMainKestro& app) { app.RequestProcess(PROC_CREDITS); return true; }},
        {UC_APP_EXIT_APPLICATION, [](CMainKestro& app) { app.m_quit = true; return true; }},
        {UC_VIEW_TOGGLE_FULL_SCREEN, [](CMainKestro& app) { app.ToggleFullScreen(); return true; }},
        {UC_MODEL_PAUSE_STEP,
         [](CMainKestro& app) {
             if (!app.m_paused)
                 return false; // the flight's own pause takes it
             app.m_pauseStep = true;
             return true;
         }},
        {UC_MENU_CONTROLLER, [](CMainKestro& app) { app.RequestProcess(PROC_MENU_CONTROLLER); return true; }},
        {UC_MENU_RADIO_TX, [](CMainKestro& app) { app.RequestProcess(PROC_MENU_RADIO); return true; }},
        {UC_MENU_KEY_AXIS, [](CMainKestro& app) { app.RequestProcess(PROC_MENU_KEY_AXIS); return true; }},
        {UC_MENU_KEY_DEF, [](CMainKestro& app) { app.RequestProcess(PROC_MENU_KEY_DEF); return true; }},
        {UC_DEBUG_TIME_HOG, [](CMainKestro& app) { app.m_timeHog = !app.m_timeHog; return true; }},
    };
    const uint32_t command = event.command;
    for (const TCommandHandler& handler : kHandlers)
    {
        if (handler.command == command)
            return handler.handle(*this) ? static_cast<int>(command) : 0;
    }
    const int result = m_debugOverlays.HandleCommand(command);
    return result != 0 ? result : HandleSoundCommand(command);
}

int CMainKestro::HandleSoundCommand(uint32_t command)
{
    if (command != UC_SOUND_ENGINE_ENABLE || !m_sound)
        return 0;
    m_sound->ToggleEngineSound();
    return static_cast<int>(command);
}

bool CMainKestro::IsDebugSwitchOn(uint32_t command) const
{
    return command == UC_DEBUG_TIME_HOG ? m_timeHog : m_debugOverlays.IsOn(command);
}

void CMainKestro::Render()
{
    if (m_menuActive)
    {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    if (m_processManager)
        m_processManager->Render();
    RenderOverlays();
    if (m_diagnosticMenu)
        m_diagnosticMenu->Draw();
}

void CMainKestro::RenderOverlays()
{
    CDraw2DScope scope;
    Set2DProjectionWindow();
    const int width = WindowClientWidth();
    const int height = WindowClientHeight();
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    CFontList& fonts = Fonts();

    if (m_paused)
    {
        CTimeSection section(m_timeStatistics.get(), "Paused");
        SetTextAlign(TA_CENTER_MIDDLE);
        SetColor(255, 20, 25, 150);
        fonts.DrawText(fonts.f09x13B, width / 2.0f, height / 2.0f, "PAUSED", 3.0f);
        SetTextAlign(TA_LEFT_TOP);
    }
    m_debugOverlays.Draw(m_input.get(), m_mouseRects.get(), m_sound.get(),
                         m_processManager ? m_processManager->GetCurrent() : nullptr, height);
    int mouseX = 0, mouseY = 0;
    if (m_input)
        m_input->GetMousePosition(mouseX, mouseY);
    const std::string help = m_mouseRects ? m_mouseRects->GetHelpText() : std::string();
    if (!help.empty())
    {
        float w = 0.0f, h = 0.0f;
        fonts.TextExtent(fonts.f09x12, help, 1.0f, w, h);
        const int x = std::min(mouseX + 16, width - static_cast<int>(w) - 8);
        const int y = std::min(mouseY + 20, height - static_cast<int>(h) - 8);
        SetColor(30, 30, 40, 230);
        FillRect(x - 4, y - 3, static_cast<int>(w) + 8, static_cast<int>(h) + 6, 12);
        SetColor(255, 255, 230, 255);
        fonts.DrawMultiLineText(fonts.f09x12, static_cast<float>(x), static_cast<float>(y), help);
    }
    m_commandEcho.DrawBottomRight(fonts.f09x13B, width - 10.0f, height - 10.0f, 16.0f);
    m_notices.DrawCentredBoxes(fonts.f09x12, width / 2.0f, height * 0.45f);
    m_debugOverlays.DrawFps(m_frameClock.get(), width);
    SetTextAlign(oldAlign);
}

void CMainKestro::SetVideoSync(bool on)
{
    m_videoSync = on ? 1 : 0;
    if (m_config)
        m_config->SetSwapInterval(m_videoSync);
    if (!m_glContext)
        return;
    if (SDL_GL_SetSwapInterval(m_videoSync) != 0 && !m_swapWarned)
    {
        // Virtual displays (Xvfb) cannot sync; the frame simply is not limited.
        DiagPrint("Swap interval %i not supported: %s\n", m_videoSync, SDL_GetError());
        m_swapWarned = true;
    }
}

void CMainKestro::SetWindowTitle(const std::string& text)
{
    if (m_window)
        SDL_SetWindowTitle(m_window, (std::string(kTitle) + " <" + text + ">").c_str());
}

void CMainKestro::SetRelativeMouse(bool on)
{
    if (on == m_relativeMouse || (on && m_relativeMouseUnavailable))
        return;
    if (SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE) != 0)
    {
        if (on)
        {
            // The pointer then simply stays free: mouse flying works inside the window.
            DiagPrint("Relative mouse mode not available: %s\n", SDL_GetError());
            m_relativeMouseUnavailable = true;
        }
        return;
    }
    m_relativeMouse = on;
}

void CMainKestro::ToggleFullScreen()
{
    if (!m_window)
        return;
    if (m_maximised)
        SDL_RestoreWindow(m_window);
    else
        SDL_MaximizeWindow(m_window);
    m_maximised = !m_maximised;
}

bool CMainKestro::CanShowMessageBox() const
{
    const char* noBox = std::getenv("KESTRO_NO_MESSAGE_BOX");
    if (noBox && *noBox)
        return false;
    return WindowManagerPresent(m_window);
}

void CMainKestro::ShowMessage(const char* title, const std::string& text, bool fatal)
{
    std::fprintf(stderr, "Kestro: %s: %s\n", title, text.c_str());
    if (CanShowMessageBox())
    {
        SDL_ShowSimpleMessageBox(fatal ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING, title, text.c_str(), m_window);
        return;
    }
    m_notices.Add(std::string(title) + "\n\n" + text, fatal ? TColor{255, 120, 100, 255} : TColor{255, 230, 150, 255},
                  Seconds(), kNoticeSeconds);
}

void CMainKestro::ShowFatalError(const std::string& text)
{
    ShowMessage("Fatal Error", text, true);
}

void CMainKestro::ShowWarning(const std::string& text)
{
    ShowMessage("Warning", text, false);
}

void CMainKestro::PostEvent(const CInputEvent& event)
{
    if (!m_input)
        return;
    CInputEvent posted = event;
    if (posted.command == kCommandNone && posted.key != KEY_NONE && m_config)
        m_config->KeyDefs().Resolve(posted);
    if (posted.key == KEY_NONE)
        m_input->PostCommand(posted.command, posted.flags);
    else
        m_input->Events().Post(posted, 0.0);
}

void CMainKestro::RequestProcess(int processIndex)
{
    if (m_processManager && processIndex != PROC_NONE)
        m_processManager->Request(processIndex);
}

IGuiSounds* CMainKestro::Sounds()
{
    return m_guiSounds.get();
}

bool CMainKestro::ShowsBoundingRects() const
{
    return m_debugOverlays.IsOn(UC_DEBUG_CONTROL_PAGE_BOUNDING_RECTS);
}

void CMainKestro::GetMousePosition(int& outX, int& outY) const
{
    int x = -1, y = -1;
    if (m_input)
        m_input->GetMousePosition(x, y);
    // The menus' controls draw in an 800 x 600 virtual screen; the flight screen in pixels.
    if (!m_menuActive)
    {
        outX = x;
        outY = y;
        return;
    }
    const int width = std::max(1, WindowClientWidth());
    const int height = std::max(1, WindowClientHeight());
    outX = x * CProcMenuEx::kVirtualWidth / width;
    outY = y * CProcMenuEx::kVirtualHeight / height;
}

float CMainKestro::MouseIdleSeconds() const
{
    return m_input ? m_input->GetMouseIdleSeconds() : 0.0f;
}

float CMainKestro::KeyIdleSeconds() const
{
    return m_input ? m_input->GetSecondsSinceLastKeyEvent() : 0.0f;
}

void CMainKestro::Shutdown()
{
    const bool wasRunning = m_frameClock != nullptr;
    const uint32_t frames = m_frameClock ? m_frameClock->GetFrameCount() : 0;
    const double seconds = m_loopStartSeconds >= 0.0 ? m_stopwatch.Seconds() - m_loopStartSeconds : 0.0;

    m_processManager.reset();
    if (m_config && m_initialised)
    {
        if (!m_config->Save(m_outputFolder))
        {
            // The window is about to close: the next start tells the pilot as well.
            if (!m_config->WriteSaveFailureNote(m_outputFolder))
                std::fprintf(stderr, "Kestro: no note of this for the next start could be written either\n");
            ShowWarning("The settings could not be saved: " + m_config->SaveError());
        }
    }
    if (m_gfxLoaded)
        ShutdownGfx2D();
    m_gfxLoaded = false;
    m_debugOverlays.SetTimeStatistics(nullptr);
    m_timeStatistics.reset();
    m_mouseRects.reset();
    m_config.reset();
    if (m_input)
        m_input->Shutdown();
    m_input.reset();
    m_guiSounds.reset();
    m_sound.reset();
    m_keyboardAxes.reset();
    m_diagnosticMenu.reset();
    FreeStringTable();
    m_frameClock.reset();
    m_cursors.Free();
    if (m_glContext)
    {
        SDL_GL_MakeCurrent(m_window, nullptr);
        SDL_GL_DeleteContext(m_glContext);
        m_glContext = nullptr;
    }
    if (m_window)
        SDL_DestroyWindow(m_window);
    m_window = nullptr;
    if (m_sdlStarted)
        SDL_Quit();
    m_sdlStarted = false;
    m_initialised = false;
    if (wasRunning && m_loopStartSeconds >= 0.0)
    {
        std::fprintf(stderr, "Kestro: %u frames in %.1f s, %.1f fps\n", frames, seconds,
                     seconds > 0.0 ? frames / seconds : 0.0);
    }
    m_loopStartSeconds = -1.0;
}

int RunKestro()
{
    auto app = std::make_unique<CMainKestro>();
    if (!app->Init())
    {
        const std::string text = "Kestro could not start: " + app->FailedStep() + " failed.";
        app->ShowFatalError(text);
        app.reset();
        return 1;
    }
    while (!app->IsQuitRequested())
        app->RunFrame();
    app->Shutdown();
    app.reset();
    return 0;
}
