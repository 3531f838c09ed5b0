#include "app/CProcFly.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <SDL2/SDL.h>

#include "app/CConfig.h"
#include "app/CMainKestro.h"
#include "app/CProcessManager.h"
#include "sim/CRecordedModel.h"
#include "core/CTimeStatistics.h"
#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/StringTable.h"
#include "editor/CModelEditor.h"
#include "editor/CViewDialogEditModel.h"
#include "editor/CViewGraphicEditModel.h"
#include "editor/CViewSelectModel.h"
#include "env/CFlyWorld.h"
#include "env/CWind.h"
#include "env/SceneCache.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/gui/CCI_EditString.h"
#include "gfx/views/CCamera.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/instruments/CInstrumentPanelFactory.h"
#include "app/CPartInfoOverlay.h"
#include "gfx/scene/CSceneAdmin.h"
#include "gfx/scene/CSceneObjectAdmin.h"
#include "gfx/scene/CSun.h"
#include "gfx/scene/CSunRenderer.h"
#include "gfx/scene/CVdbObjectAdmin.h"
#include "gfx/views/CViewSound.h"
#include "sound/CSoundSystem.h"
#include "gfx/views/CViewWeather.h"
#include "gfx/scene/DebugDraw3D.h"
#include "gfx/scene/TerrainShading.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/gui/GuiHost.h"
#include "gfx/scene/ModelPresentation.h"
#include "app/CFrameClock.h"
#include "input/KeyCodes.h"
#include "input/CInput.h"
#include "input/CRadioInterface.h"
#include "input/UserCommands.h"
#include "model/CModel.h"
#include "model/CVariable.h"
#include "model/CVariableTable.h"
#include "model/IOverlayMessages.h"
#include "sim/CFlightSession.h"
#include "sim/CFlyWorldTerrain.h"

namespace
{
constexpr int kConsumed = static_cast<int>(UC_UNDEFINED);
const TColor kWarning{255, 200, 120, 255};

// Time-of-day angles (degrees of sun elevation, see CSun). Morning: 25 above the +x horizon,
// low enough for long shadows and a warm light, high enough that the sun is not in the pilot's
// eyes over the field. Midday: overhead. Night: 16 below the -x horizon, where the lighting
// table is at deep dusk (ambient 0.12): dark, yet the model still shows against the sky.
constexpr float kMorningSunDeg = 25.0f;
constexpr float kMiddaySunDeg = 90.0f;
constexpr float kNightSunDeg = 196.0f;

bool Toggle(bool& flag)
{
    flag = !flag;
    return true;
}

// The model's and the engine's messages, into the centre list.
class CMessageListOverlay : public IOverlayMessages
{
public:
    explicit CMessageListOverlay(CMessageList& list) : m_list(list) {}
    int Show(const std::string& text, float seconds) override
    {
        const double duration = seconds <= 0.0f ? CMessageList::kUntilCancelled : seconds;
        return m_list.Post(Now(), 0.0, PaletteColor(24), text, duration) + 1;
    }
    void Remove(int handle) override
    {
        int slot = handle - 1;
        m_list.Cancel(slot, Now());
    }
    static double Now() { return MainKestro() ? MainKestro()->Seconds() : 0.0; }

private:
    CMessageList& m_list;
};

double Now()
{
    return MainKestro() ? MainKestro()->Seconds() : 0.0;
}

CConfig* Config()
{
    return MainKestro() ? MainKestro()->Config() : nullptr;
}
} // namespace

CProcFly::CProcFly()
{
    SetGuiHost(MainKestro());
}

void CProcFly::SetGuiHost(IGuiHost* host)
{
    m_guiHost = host;
    m_views.SetGuiHost(host);
    m_menuBar.SetGuiHost(host);
    m_buttonBar.SetGuiHost(host);
}

CProcFly::~CProcFly()
{
    m_editGraphic.reset();
    m_editDialog.reset();
    if (m_maxHeight > 0.0f)
        std::fprintf(stderr, "Kestro: flight: highest %.1f m above the ground\n", m_maxHeight);
    m_buttonBar.Clear();
    // The model refers to the presentation, panels and site: it goes first.
    m_session.reset();
    m_presentation.reset();
}

bool CProcFly::Init(CProcessManager* manager)
{
    CProcess::Init(manager);
    m_recordingPath = BuildDataPath(DF_OUTPUT, "Flight.rec");
    BuildMenuBar();
    BuildButtonBar();
    CModel::WritePartHelp();
    return true;
}

void CProcFly::BuildMenuBar()
{
    auto check = [](bool* flag) { return [flag] { return *flag; }; };
    auto viewSwitch = [this](bool CViewFly::*member) {
        return [this, member] { return m_mainView && (m_mainView.get()->*member); };
    };
    const int app = m_menuBar.AddMenu(UserCommandGroupShortText(UCG_APP));
    for (uint32_t c : {UC_APP_LOAD_MODEL, UC_APP_SAVE_MODEL, UC_MODEL_EDITOR, UC_APP_PAUSE, UC_SOUND_CONFIG})
        m_menuBar.AddEntry(app, c);
    m_menuBar.AddEntry(app, UC_APP_VIDEO_SYNC, [] { return MainKestro() && MainKestro()->GetVideoSync(); });
    m_menuBar.AddEntry(app, UC_APP_ABOUT);
    m_menuBar.AddEntry(app, UC_APP_EXIT_APPLICATION);
    const int view = m_menuBar.AddMenu(UserCommandGroupShortText(UCG_VIEW));
    m_menuBar.AddEntry(view, UC_VIEW_TOGGLE_FULL_SCREEN);
    m_menuBar.AddEntry(view, UC_VIEW_CLOSE_UP_WINDOW, [this] { return CloseUpShown(); });
    m_menuBar.AddEntry(view, UC_VIEW_INSTRUMENT_PANEL, viewSwitch(&CViewFly::m_showInstrumentPanel));
    m_menuBar.AddEntry(view, UC_VIEW_MODEL_FORCES, viewSwitch(&CViewFly::m_showForces));
    m_menuBar.AddEntry(view, UC_VIEW_MODEL_PHYSIC, viewSwitch(&CViewFly::m_showPhysical));
    m_menuBar.AddEntry(view, UC_VIEW_MODEL_ARTISTIC, viewSwitch(&CViewFly::m_showArtistic));
    m_menuBar.AddEntry(view, UC_VIEW_SHOW_MODEL_SHADOW, viewSwitch(&CViewFly::m_showShadow));
    const int model = m_menuBar.AddMenu(UserCommandGroupShortText(UCG_MODEL));
    for (uint32_t c : {UC_MODEL_RESET_POSITION, UC_MODEL_SET_ALTITUDE_100M, UC_MODEL_SET_ALTITUDE_500M,
                       UC_MODEL_TURN_UPRIGHT, UC_MODEL_PAUSE, UC_MODEL_PAUSE_STEP})
        m_menuBar.AddEntry(model, c);
    const int ambient = m_menuBar.AddMenu(UserCommandGroupShortText(UCG_AMBIENT));
    for (uint32_t c : {UC_AMBIENT_WIND_CONFIG, UC_AMBIENT_TIMEOFDAY_MORNING, UC_AMBIENT_TIMEOFDAY_MIDDAY,
                       UC_AMBIENT_TIMEOFDAY_NIGHT})
        m_menuBar.AddEntry(ambient, c);
    m_menuBar.AddAction(
        ambient, LookupString("IDS_AMBIENT_SHOW_THERMALS_S") ? LookupString("IDS_AMBIENT_SHOW_THERMALS_S") : "Show Thermals",
        [this] {
            for (CViewFly* view : {m_mainView.get(), m_closeUpView.get()})
                if (view)
                    view->m_showThermals = !view->m_showThermals;
        },
        [this] { return m_mainView && m_mainView->m_showThermals; });
    for (const TSiteInfo& site : CFlyWorld::kSites)
    {
        const std::string id = std::string("IDS_SITE_") + site.name + "_S";
        std::string upper = id;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const char* text = LookupString(upper.c_str());
        const std::string name = site.name;
        m_menuBar.AddAction(
            ambient, text && *text ? text : name, [this, name] { SwitchSite(name); },
            [this, name] { return m_site && m_site->GetSiteName() == name; });
    }
    const int rec = m_menuBar.AddMenu(UserCommandGroupShortText(UCG_REC));
    for (uint32_t c : {UC_RECORDING_PLAY, UC_RECORDING_START, UC_RECORDING_STOP})
        m_menuBar.AddEntry(rec, c);
    const int ctrl = m_menuBar.AddMenu(UserCommandGroupShortText(UCG_CTRL));
    for (uint32_t c : {UC_MENU_CONTROLLER, UC_MENU_RADIO_TX, UC_MENU_KEY_AXIS, UC_MENU_KEY_DEF})
        m_menuBar.AddEntry(ctrl, c);
    // Every switch of the debug menu shows its state; the part steppers are actions.
    const int debug = m_menuBar.AddMenu("Debug");
    for (uint32_t c = UC_DEBUG_VARIABLES; c <= UC_DEBUG_SELECT_NEXT_PART; ++c)
    {
        std::function<bool()> state;
        if (c == UC_DEBUG_VARIABLES)
            state = check(&m_showVariables);
        else if (c == UC_DEBUG_CAMERA)
            state = check(&m_showCameraData);
        else if (c == UC_DEBUG_TIME_OF_DAY)
            state = check(&m_showTimeOfDay);
        else if (c == UC_DEBUG_PART_INFO)
            state = check(&m_showPartInfo);
        else if (c == UC_DEBUG_COLISION_TRINGLES)
            state = viewSwitch(&CViewFly::m_showCollisionTriangles);
        else if (c == UC_DEBUG_INERTIA)
            state = viewSwitch(&CViewFly::m_showInertia);
        else if (c == UC_DEBUG_GRAPHIC_STATE)
            state = [this] { return m_mainView && m_mainView->IsShowingGraphicState(); };
        else if (c == UC_DEBUG_SCENEGRAPH_STATS)
            state = [this] { return m_mainView && m_mainView->IsShowingSceneStatistics(); };
        else if (c == UC_DEBUG_WIREFRAME)
            state = [this] { return m_mainView && m_mainView->Viewport().IsWireframe(); };
        else if (c != UC_DEBUG_SELECT_PREV_PART && c != UC_DEBUG_SELECT_NEXT_PART)
            state = [c] { return MainKestro() && MainKestro()->IsDebugSwitchOn(c); };
        m_menuBar.AddEntry(debug, c, state);
    }
    m_menuBar.SetPosition(0, 0);
}

void CProcFly::BuildButtonBar()
{
    struct TBarButton
    {
        const char* sprite;
        uint32_t command;
        int gapAfter;
    };
    const TBarButton buttons[7] = {
        {"B_CLOSE_UP", UC_VIEW_CLOSE_UP_WINDOW, 0},  {"B_INS_PANEL", UC_VIEW_INSTRUMENT_PANEL, 0},
        {"B_FORCE", UC_VIEW_MODEL_FORCES, 0},        {"B_GR_PHYSIC", UC_VIEW_MODEL_PHYSIC, 0},
        {"B_GR_ARTISTIC", UC_VIEW_MODEL_ARTISTIC, 8}, {"B_HOME2", UC_MODEL_RESET_POSITION, 0},
        {"B_TURTLE", UC_MODEL_TURN_UPRIGHT, 8},
    };
    m_buttonBar.SetEnabled(true);
    m_buttonBar.SetMouseOnly(true);
    auto viewSwitch = [this](bool CViewFly::*member) {
        return [this, member] { return m_mainView && (m_mainView.get()->*member); };
    };
    m_barChecks[0] = [this] { return CloseUpShown(); };
    m_barChecks[1] = viewSwitch(&CViewFly::m_showInstrumentPanel);
    m_barChecks[2] = viewSwitch(&CViewFly::m_showForces);
    m_barChecks[3] = viewSwitch(&CViewFly::m_showPhysical);
    m_barChecks[4] = viewSwitch(&CViewFly::m_showArtistic);
    int x = 0;
    for (int i = 0; i < 7; ++i)
    {
        m_barButtons[i] = std::make_unique<CCI_Button>(x, 0, 24, 24, buttons[i].sprite);
        // The upright aid acts while held; the others once per press.
        if (buttons[i].command == UC_MODEL_TURN_UPRIGHT)
            m_barButtons[i]->SetRepeatCommand(buttons[i].command);
        else
            m_barButtons[i]->SetReleaseCommand(buttons[i].command);
        const char* s = UserCommandShortText(buttons[i].command);
        const char* l = UserCommandLongText(buttons[i].command);
        m_barButtons[i]->SetHelp(s ? s : "", l ? l : "");
        m_buttonBar.Add(m_barButtons[i].get());
        x += 28 + buttons[i].gapAfter;
    }
}

std::string CProcFly::ConfiguredSite() const
{
    const std::string name = Config() ? Config()->GetFlyingSite() : std::string(CFlyWorld::kDefaultSite);
    if (CFlyWorld::FindSite(name) != nullptr)
        return name;
    DiagPrint("%s: FLYING_SITE '%s' is no flying site; the flat field is used\n", CConfig::kFileName, name.c_str());
    return CFlyWorld::kDefaultSite;
}

void CProcFly::SwitchSite(const std::string& name)
{
    if (!m_site || !m_session || (m_site->GetSiteName() == name && m_site->IsValid()))
        return;
    if (Config())
        Config()->SetFlyingSite(name);
    osg::Group* root = m_scenes->Scene(m_sceneIndex)->GetRoot();
    if (m_site->GetTerrainNode())
        root->removeChild(m_site->GetTerrainNode());
    if (!m_site->LoadWorld(name))
        ShowMessage("The flying site cannot be loaded: " + m_site->GetLoadError(), kWarning, 15.0);
    if (m_site->GetTerrainNode())
    {
        ApplyTerrainShading(*m_site->GetTerrainNode());
        root->addChild(m_site->GetTerrainNode());
    }
    m_session->LoadSite(name);
    m_session->ResetToStart();
    const CStartPose& pilot = m_site->GetSecondPose();
    for (CViewFly* view : {m_mainView.get(), m_closeUpView.get()})
        if (view)
            view->SetPilotPose(pilot.position, pilot.headingDeg, pilot.pitchDeg);
    std::fprintf(stderr, "Kestro: flight: flying site %s\n", name.c_str());
}

void CProcFly::CreateWorld()
{
    m_site = std::make_unique<CFlyWorld>();
    std::fprintf(stderr, "Kestro: flight: flying site %s\n", ConfiguredSite().c_str());
    m_site->UseSceneCache(true);
    m_site->LoadWorld(ConfiguredSite()); // a failure is shown when the flight starts
    m_cameraTerrain = std::make_unique<CFlyWorldTerrain>(*m_site);
    m_wind = std::make_unique<CWind>();
    m_wind->Create();

    m_vdbs = std::make_unique<CVdbObjectAdmin>();
    m_objects = std::make_unique<CSceneObjectAdmin>(*m_vdbs);
    m_scenes = std::make_unique<CSceneAdmin>(*m_objects);
    m_sceneIndex = m_scenes->Create("Fly");
    osg::Group* root = m_scenes->Scene(m_sceneIndex)->GetRoot();

    // The sky first: it is drawn behind everything (its own render bin, no depth writes).
    m_skyDome = new osg::MatrixTransform;
    osg::ref_ptr<osg::Node> sky = ReadSceneFile(BuildDataPath(DF_3D, "SkyDome.osg"));
    if (sky.valid())
        m_skyDome->addChild(sky.get());
    else
        DiagPrint("Data/3D/SkyDome.osg cannot be read: the sky is plain\n");
    root->addChild(m_skyDome.get());
    if (m_site->GetTerrainNode())
    {
        ApplyTerrainShading(*m_site->GetTerrainNode());
        root->addChild(m_site->GetTerrainNode());
    }

    m_sun = std::make_unique<CSun>();
    m_light = new osg::LightSource;
    m_light->getLight()->setLightNum(0);
    m_sun->ApplyToLight(*m_light->getLight());
    root->addChild(m_light.get());
    root->getOrCreateStateSet()->setMode(GL_LIGHT0, osg::StateAttribute::ON);
    m_sunRenderer = std::make_unique<CSunRenderer>();
    m_debugDraw = std::make_unique<CDebugDraw3D>();
    root->addChild(m_debugDraw->GetNode());

    m_presentation = std::make_unique<CModelPresentation>(*m_objects, *m_scenes, m_sceneIndex);
    m_panels = std::make_unique<CInstrumentPanelFactory>();
    m_overlay = std::make_unique<CMessageListOverlay>(m_messages);
    m_session = std::make_unique<CFlightSession>(m_site.get(), m_wind.get());
    m_session->LoadSite();
    CModelServices services;
    services.presentation = m_presentation.get();
    services.messages = m_overlay.get();
    services.panels = m_panels.get();
    if (Config())
        services.keyNames = &Config()->KeyDefs();
    if (MainKestro() && MainKestro()->Sound())
        services.sounds = MainKestro()->Sound();
    m_session->SetDisplayServices(services);
    m_recorder = std::make_unique<CFlightRecorder>();

    m_world.sceneRoot = root;
    m_world.skyDome = m_skyDome.get();
    m_world.light = m_light.get();
    m_world.sun = m_sun.get();
    m_world.sunRenderer = m_sunRenderer.get();
    m_world.debugDraw = m_debugDraw.get();
    m_world.presentation = m_presentation.get();
    m_world.wind = m_wind.get();
    m_world.site = m_site.get();
    m_world.terrain = m_cameraTerrain.get();
    m_world.showCameraData = &m_showCameraData;
}

void CProcFly::Prepare()
{
    if (m_site != nullptr)
        return;
    CreateWorld();
    if (SDL_GL_GetCurrentContext() == nullptr)
        return; // headless: the first flight frame does the rest
    // One small frame of the site from the pilot's place, into a corner of the back buffer
    // that the current screen paints over: the textures go up, the display lists are built and
    // the software rasteriser compiles its code for each kind of surface now, not in the first
    // flight frame.
    const CStartPose& pilot = m_site->GetSecondPose();
    constexpr float kDegToRad = 0.017453292519943295f;
    CViewport view;
    view.SetPixelRect(TRect2D{0, 0, 64, 48});
    view.SetPerspective(CCamera::kDefaultHFOV, 4.0f / 3.0f, 0.5f, 15000.0f);
    view.SetEye(pilot.position,
                CCamera::OrientationFromAngles(pilot.headingDeg * kDegToRad, pilot.pitchDeg * kDegToRad, 0.0f));
    m_skyDome->setMatrix(CSun::SkyDomeMatrix(pilot.position));
    view.SetScene(m_scenes->Scene(m_sceneIndex)->GetRoot());
    view.Render(0.0, true);
}

void CProcFly::Start()
{
    if (MainKestro())
        MainKestro()->SetCursorRequest(0, true);
    if (m_site == nullptr)
        CreateWorld();
    m_views.SetTimeStatistics(MainKestro() ? MainKestro()->TimeStatistics() : nullptr);
    m_sun->ResetToMidday();
    const bool first = m_mainView == nullptr;
    if (first)
    {
        if (!m_site->IsValid())
            ShowMessage("The flying site cannot be loaded: " + m_site->GetLoadError(), kWarning, 15.0);
        // The camera stands where the pilot stands: the site's second pose, beside the field.
        const CStartPose& pilot = m_site->GetSecondPose();
        m_mainView = std::make_unique<CViewFly>("View Main", 0);
        m_mainView->SetTitle(LookupString("IDS_WIN_MAIN") ? LookupString("IDS_WIN_MAIN") : "");
        m_mainView->Open(&m_world, pilot.position, pilot.headingDeg, pilot.pitchDeg);
        m_closeUpView = std::make_unique<CViewFly>("View CloseUp", CView::VS_TITLE_BAR | CView::VS_CLOSE_BUTTON);
        m_closeUpView->SetTitle(LookupString("IDS_WIN_CLOSEUP") ? LookupString("IDS_WIN_CLOSEUP") : "");
        m_closeUpView->Open(&m_world, pilot.position, pilot.headingDeg, pilot.pitchDeg);
        m_closeUpView->SetAdvancesGlare(false);
        if (m_closeUpView->Camera())
            m_closeUpView->Camera()->SetMode(CCamera::MODE_FOLLOW);
        m_mainSlot = m_views.Add(m_mainView.get());
        m_closeUpSlot = m_views.Add(m_closeUpView.get());
        m_weatherView = std::make_unique<CViewWeather>("View Weather", *m_wind);
        m_weatherView->SetTitle(LookupString("IDS_WIN_WIND") ? LookupString("IDS_WIN_WIND") : "");
        m_weatherSlot = m_views.Add(m_weatherView.get());
        if (MainKestro() && MainKestro()->Sound())
        {
            m_soundView = std::make_unique<CViewSound>("View Sound", *MainKestro()->Sound());
            m_soundView->SetTitle(LookupString("IDS_WIN_SOUND") ? LookupString("IDS_WIN_SOUND") : "");
            m_soundSlot = m_views.Add(m_soundView.get());
        }
        CreateEditorViews();
        m_views.SetBackground(m_mainSlot);
        ApplyLayout(LAYOUT_NORMAL);
        m_mainView->m_showInstrumentPanel = true;
    }
    m_radioNotice.Reset();
    if (!m_session->HasModel() && Config())
        SwitchModel(Config()->GetSelectedModel().empty() ? "Trainer.mod" : Config()->GetSelectedModel());
    if (MainKestro() && MainKestro()->Sound())
        MainKestro()->Sound()->SetEnginesMuted(m_layout == LAYOUT_EDITOR);
    // Mouse flying: holding the left button brings the mouse sticks back to the centre.
    if (MainKestro() && MainKestro()->Input())
        MainKestro()->Input()->SetRecentre(true);
    m_mouseFlying.Start();
    if (MainKestro())
        MainKestro()->SetCursorRequest(0, false);
}

void CProcFly::End()
{
    // One line per visit for whoever checks a flight from outside (the end-to-end tests).
    std::fprintf(stderr, "Kestro: flight: highest %.1f m above the ground\n", m_maxHeight);
    m_maxHeight = 0.0f;
    if (MainKestro())
    {
        MainKestro()->SetCursorRequest(1, false);
        MainKestro()->SetCursorRequest(0, false);
    }
    Release();
    if (MainKestro())
        MainKestro()->SetRelativeMouse(false);
    // The engine is not heard over the menus; it sounds again on return.
    if (MainKestro() && MainKestro()->Sound())
        MainKestro()->Sound()->SetEnginesMuted(true);
}

void CProcFly::Release()
{
    m_views.DeactivateAll();
    m_menuBar.Close();
    m_buttonBar.Deactivate();
}

bool CProcFly::SwitchModel(const std::string& name)
{
    if (MainKestro())
        MainKestro()->SetCursorRequest(0, true);
    m_messages.Cancel(m_loadMessageSlot, Now());
    if (m_presentation)
        m_presentation->Unload();
    const bool loaded = m_session->LoadModel(name);
    m_world.model = m_session->GetModel();
    if (!loaded)
    {
        // Whatever the failed file had already put into the scene goes with it.
        if (m_presentation)
            m_presentation->Unload();
        const std::string text = "The model " + name + " could not be loaded:\n" + m_session->GetLoadMessage();
        std::fprintf(stderr, "Kestro: %s\n", text.c_str());
        m_loadMessageSlot = m_messages.Post(Now(), 0.0, PaletteColor(21), text, 30.0);
        if (m_mode == MODE_RECORDING)
            StopRecording();
    }
    else if (MainKestro())
    {
        MainKestro()->SetWindowTitle(name);
        m_site->SetModelHint(nullptr);
    }
    if (m_modelEditor)
        m_modelEditor->Reset();
    if (MainKestro())
        MainKestro()->SetCursorRequest(0, false);
    return loaded;
}

void CProcFly::ApplyLayout(int layout)
{
    m_layout = layout;
    if (!m_mainView)
        return;
    m_mainView->Viewport().SetNormalisedRect(0.0f, 0.0f, 1.0f, 1.0f);
    m_closeUpView->Viewport().SetNormalisedRect(0.7f, 0.05f, 0.25f, 0.25f);
    m_mainView->Show(true);
    m_closeUpView->Show(layout == LAYOUT_CLOSE_UP);
    const bool editor = layout == LAYOUT_EDITOR && m_editDialog;
    if (m_editDialog)
    {
        m_editGraphic->Viewport().SetNormalisedRect(0.0f, 0.0f, 0.5f, 0.5f);
        m_editDialog->Viewport().SetNormalisedRect(0.0f, 0.5f, 1.0f, 0.5f);
        m_editGraphic->Show(editor);
        m_editDialog->Show(editor);
    }
    if (editor)
    {
        m_mainView->Viewport().SetNormalisedRect(0.5f, 0.0f, 0.5f, 0.5f);
        m_views.BringToFront(m_editGraphicSlot);
        m_views.BringToFront(m_editDialogSlot);
        m_views.Activate(m_editDialogSlot);
    }
    else
        m_views.Activate(m_mainSlot);
    m_cursorAutoHide = layout != LAYOUT_EDITOR;
    m_views.RelayoutAll();
    // The designer works on the model in silence; leaving the editor brings the engine back.
    if (MainKestro() && MainKestro()->Sound())
        MainKestro()->Sound()->SetEnginesMuted(editor);
}

void CProcFly::ShowSound(bool show)
{
    if (!m_soundView)
        return;
    m_soundView->Show(show);
    m_views.Activate(show ? m_soundSlot : m_mainSlot);
}

void CProcFly::ShowWeather(bool show)
{
    if (!m_weatherView)
        return;
    m_weatherView->Show(show);
    // The dialog takes the keys while it is open; closing it gives them back to the flight.
    m_views.Activate(show ? m_weatherSlot : m_mainSlot);
}

bool CProcFly::CloseUpShown() const
{
    return m_closeUpView && m_closeUpView->IsVisible();
}

float CProcFly::GetTimeOfDay() const
{
    return m_sun ? m_sun->GetTimeOfDay() : 90.0f;
}

void CProcFly::CheckTransmitter(const CConfig& config, const CInput& input, float frameTime)
{
    // Flying on zeros without a word would look like a broken model.
    const CInputMap* map = config.InputMaps().GetSelected();
    const CRadioInterface* radio = input.Radio();
    const bool reads = map && CRadioAbsenceNotice::MapReadsRadio(*map);
    if (!m_radioNotice.Update(frameTime, reads, radio && radio->IsRadioDetected()))
        return;
    std::string text = LookupString("IDS_MSG_NO_TRANSMITTER") ? LookupString("IDS_MSG_NO_TRANSMITTER") : "";
    if (radio)
    {
        const char* status = LookupString(CRadioInterface::StatusStringId(radio->GetStatus()));
        text += std::string("\n") + (status ? status : "");
        if (!radio->IsPortOpen())
            text += " " + radio->GetPortProblem();
    }
    ShowMessage(text, kWarning, 10.0);
}

void CProcFly::ShowMessage(const std::string& text, const TColor& color, double seconds)
{
    std::fprintf(stderr, "Kestro: %s\n", text.c_str());
    m_messages.Post(Now(), 0.0, color, text, seconds);
}

void CProcFly::StartRecording()
{
    const double t = MainKestro() && MainKestro()->FrameClock() ? MainKestro()->FrameClock()->GetSimulatedTime() : 0.0;
    // A recording that cannot be written is no recording: "REC" must not blink over nothing.
    if (!m_recorder->StartRecording(m_recordingPath, t))
    {
        ShowMessage("The recording could not start: " + m_recordingPath + " cannot be written", kWarning, 6.0);
        m_mode = MODE_FREE_FLIGHT;
        return;
    }
    m_mode = MODE_RECORDING;
}

void CProcFly::StopRecording()
{
    // A full disk: the pilot must not believe the flight was kept.
    if (!m_recorder->StopRecording())
        ShowMessage("The recording could not be saved (is the disk full?); " + m_recordingPath +
                        " still holds the previous one",
                    kWarning, 8.0);
    m_mode = MODE_FREE_FLIGHT;
}

void CProcFly::StartPlayback()
{
    if (m_mode == MODE_RECORDING)
        StopRecording();
    if (!m_recorder->Load(m_recordingPath))
    {
        ShowMessage("The recording " + m_recordingPath + " cannot be played", kWarning, 6.0);
        return;
    }
    const double t = MainKestro() && MainKestro()->FrameClock() ? MainKestro()->FrameClock()->GetSimulatedTime() : 0.0;
    m_recorder->StartPlayback(t);
    m_mode = MODE_PLAYBACK;
}

int CProcFly::OnEvent(const CInputEvent& event)
{
    if (event.key == DIK_ESCAPE && event.IsGoingDown() && m_mouseFlying.OnEscape())
        return static_cast<int>(UC_UNDEFINED); // the pointer is free for the menus
    int result = m_views.OnCommand(event);
    if (result != 0)
        return result;
    result = m_buttonBar.OnKey(event);
    if (result != 0)
        return result;
    const uint32_t command = event.command;
    if (command == kCommandNone || !event.IsGoingDown())
        return 0;
    // The editor's keys (undo, redo, parts) also while another window of its layout is active.
    if (m_layout == LAYOUT_EDITOR && m_editDialog)
        if (const int edited = m_editDialog->OnEditCommand(event))
            return edited;
    // Each handler answers whether it took the command; one that did not leaves it to later
    // receivers.
    struct TCommandHandler
    {
        uint32_t command;
        bool (*handle)(CProcFly& fly, uint32_t command);
    };
    static const TCommandHandler kHandlers[] = {
        {UC_APP_LOAD_MODEL, &CProcFly::ShowModelSelect},
        {UC_APP_SAVE_MODEL, &CProcFly::ShowModelSelect},
        {UC_MODEL_EDITOR,
         [](CProcFly& fly, uint32_t) {
             if (!fly.m_session || !fly.m_session->HasModel())
                 return false;
             if (fly.m_layout == LAYOUT_EDITOR)
                 fly.ApplyLayout(fly.m_layoutBeforeEditor);
             else
             {
                 fly.m_layoutBeforeEditor = fly.m_layout;
                 fly.ApplyLayout(LAYOUT_EDITOR);
             }
             return true;
         }},
        {UC_VIEW_CLOSE_UP_WINDOW,
         [](CProcFly& fly, uint32_t) {
             if (fly.m_layout == LAYOUT_EDITOR)
                 return false;
             fly.ApplyLayout(fly.m_layout == LAYOUT_NORMAL ? LAYOUT_CLOSE_UP : LAYOUT_NORMAL);
             return true;
         }},
        {UC_AMBIENT_WIND_CONFIG,
         [](CProcFly& fly, uint32_t) {
             fly.ShowWeather(!(fly.m_weatherView && fly.m_weatherView->IsVisible()));
             return true;
         }},
        {UC_SOUND_CONFIG,
         [](CProcFly& fly, uint32_t) {
             if (!fly.m_soundView)
                 return false;
             fly.ShowSound(!fly.m_soundView->IsVisible());
             return true;
         }},
        {UC_VIEW_INSTRUMENT_PANEL,
         [](CProcFly& fly, uint32_t) {
             if (fly.m_mainView)
                 fly.m_mainView->m_showInstrumentPanel = !fly.m_mainView->m_showInstrumentPanel;
             return true;
         }},
        {UC_MODEL_RESET_POSITION,
         [](CProcFly& fly, uint32_t) {
             if (fly.m_session)
                 fly.m_session->ResetToStart();
             std::fprintf(stderr, "Kestro: flight: reset, highest %.1f m above the ground before\n", fly.m_maxHeight);
             fly.m_maxHeight = 0.0f;
             return true;
         }},
        {UC_MODEL_SET_ALTITUDE_100M, [](CProcFly& fly, uint32_t) { return fly.WithModel(&CFlightSession::SetAltitude100); }},
        {UC_MODEL_SET_ALTITUDE_500M, [](CProcFly& fly, uint32_t) { return fly.WithModel(&CFlightSession::SetAltitude500); }},
        {UC_MODEL_TURN_UPRIGHT, [](CProcFly& fly, uint32_t) { return fly.WithModel(&CFlightSession::RequestUpright); }},
        {UC_MODEL_PAUSE, [](CProcFly& fly, uint32_t) { return Toggle(fly.m_modelPaused); }},
        {UC_MODEL_PAUSE_STEP,
         [](CProcFly& fly, uint32_t) {
             if (fly.m_modelPaused)
                 fly.m_pauseStep = true;
             return true;
         }},
        {UC_AMBIENT_TIMEOFDAY_MORNING, &CProcFly::SetTimeOfDay},
        {UC_AMBIENT_TIMEOFDAY_MIDDAY, &CProcFly::SetTimeOfDay},
        {UC_AMBIENT_TIMEOFDAY_NIGHT, &CProcFly::SetTimeOfDay},
        {UC_RECORDING_START, [](CProcFly& fly, uint32_t) {
             fly.StartRecording();
             return true;
         }},
        {UC_RECORDING_STOP,
         [](CProcFly& fly, uint32_t) {
             if (fly.m_mode == MODE_RECORDING)
                 fly.StopRecording();
             else if (fly.m_mode == MODE_PLAYBACK)
                 fly.m_mode = MODE_FREE_FLIGHT;
             return true;
         }},
        {UC_RECORDING_PLAY, [](CProcFly& fly, uint32_t) {
             fly.StartPlayback();
             return true;
         }},
        {UC_DEBUG_VARIABLES, [](CProcFly& fly, uint32_t) { return Toggle(fly.m_showVariables); }},
        {UC_DEBUG_CAMERA, [](CProcFly& fly, uint32_t) { return Toggle(fly.m_showCameraData); }},
        {UC_DEBUG_TIME_OF_DAY, [](CProcFly& fly, uint32_t) { return Toggle(fly.m_showTimeOfDay); }},
        {UC_DEBUG_PART_INFO, [](CProcFly& fly, uint32_t) { return Toggle(fly.m_showPartInfo); }},
        {UC_DEBUG_SELECT_PREV_PART, &CProcFly::SelectPart},
        {UC_DEBUG_SELECT_NEXT_PART, &CProcFly::SelectPart},
    };
    for (const TCommandHandler& handler : kHandlers)
    {
        if (handler.command == command)
            return handler.handle(*this, command) ? static_cast<int>(command) : 0;
    }
    return 0;
}

bool CProcFly::WithModel(void (CFlightSession::*action)())
{
    if (!m_session || !m_session->HasModel())
        return false;
    (m_session.get()->*action)();
    return true;
}

bool CProcFly::ShowModelSelect(CProcFly& fly, uint32_t command)
{
    fly.ShowSelect(command == UC_APP_LOAD_MODEL);
    return true;
}

bool CProcFly::SetTimeOfDay(CProcFly& fly, uint32_t command)
{
    if (fly.m_sun)
    {
        const float angle = command == UC_AMBIENT_TIMEOFDAY_MORNING ? kMorningSunDeg
                            : command == UC_AMBIENT_TIMEOFDAY_MIDDAY ? kMiddaySunDeg
                                                                      : kNightSunDeg;
        fly.m_sun->SetTimeOfDay(angle);
        fly.m_sun->SetGlareEnabled(command != UC_AMBIENT_TIMEOFDAY_NIGHT);
    }
    return false; // later receivers see the time of day too
}

bool CProcFly::SelectPart(CProcFly& fly, uint32_t command)
{
    if (fly.m_session && fly.m_session->HasModel())
    {
        const int count = fly.m_session->GetModel()->GetPartCount();
        if (count > 0)
            fly.m_selectedPart = (fly.m_selectedPart + (command == UC_DEBUG_SELECT_NEXT_PART ? 1 : count - 1)) % count;
    }
    return true;
}

int CProcFly::OnMouseButton(const CInputEvent& event)
{
    int mx = 0, my = 0;
    GuiMousePosition(m_guiHost, mx, my);
    // The bars lie over the views: they see the click first.
    int result = m_menuBar.OnMouse(event, mx, my);
    if (result == 0)
        result = m_buttonBar.OnMouse(event);
    if (result == 0)
        result = m_views.OnMouse(event);
    if (result == 0 && event.IsGoingDown() && (event.key == KEY_MOUSE_LEFT || event.key == KEY_MOUSE_RIGHT))
    {
        if (!m_menuBar.IsBusy())
            m_mouseFlying.OnFlightViewClick();
        m_menuBar.Close();
    }
    return result;
}

void CProcFly::Update()
{
    CMainKestro* app = MainKestro();
    const float frameTime = app && app->FrameClock() ? app->FrameClock()->GetFrameTime() : 0.0f;
    CInput* input = app ? app->Input() : nullptr;
    if (app && input)
        app->SetCursorRequest(1, m_cursorAutoHide && input->GetMouseIdleSeconds() > 3.0f);
    if (app && Config())
    {
        const bool pointerNeeded = m_layout == LAYOUT_EDITOR || m_menuBar.IsBusy() ||
                                   (m_weatherView && m_weatherView->IsVisible()) ||
                                   (m_soundView && m_soundView->IsVisible()) ||
                                   (m_selectView && m_selectView->IsVisible());
        app->SetRelativeMouse(m_mouseFlying.Update(Config()->InputMaps().SelectedReadsMouse(), pointerNeeded));
    }

    // The pilot's sticks, unless the recording flies.
    CConfig* config = Config();
    if (m_mode != MODE_PLAYBACK && config && input)
    {
        config->InputMaps().ApplySelected(*input);
        for (int i = 0; i < CFlightSession::kChannelCount; ++i)
        {
            const CVariable* channel = config->InputVariables().Find(StringPrintf("V_CH%d", i + 1));
            if (channel)
                m_session->SetChannel(i, channel->GetValue());
        }
        CheckTransmitter(*config, *input, frameTime);
    }

    const bool modelRuns = !m_modelPaused || m_pauseStep;
    m_session->Step(frameTime, modelRuns);
    if (m_session->HasModel() && modelRuns)
    {
        CRecordedModel recorded(*m_session->GetModel());
        const double t = app && app->FrameClock() ? app->FrameClock()->GetSimulatedTime() : 0.0;
        if (m_mode == MODE_RECORDING)
        {
            const bool failedBefore = m_recorder->HasWriteFailed();
            m_recorder->RecordFrame(recorded, t);
            if (!failedBefore && m_recorder->HasWriteFailed())
                ShowMessage("The recording cannot be written (is the disk full?); it will not be kept", kWarning,
                            8.0);
        }
        else if (m_mode == MODE_PLAYBACK && !m_recorder->PlayFrame(recorded, t))
            m_mode = MODE_FREE_FLIGHT;
    }
    m_pauseStep = false;

    m_world.model = m_session->GetModel();
    m_world.frameTime = frameTime;
    if (const CModel* model = m_session->GetModel())
    {
        const CVector3& p = model->GetBody().GetPosition();
        m_maxHeight = std::max(m_maxHeight, p.y - m_session->GetGroundHeight(p.x, p.z, m_maxHeightHint));
    }
    UpdateListener();
    m_buttonBar.SetRect(TRect2D{WindowClientWidth() - 246, 1, 240, 24});
    m_buttonBar.Run();
    m_views.Run();

    if (m_weatherView && m_weatherView->IsVisible() && m_weatherView->IsCloseRequested())
    {
        m_weatherView->ClearCloseRequest();
        PostToggle(UC_AMBIENT_WIND_CONFIG);
    }
    if (m_soundView && m_soundView->IsVisible() && m_soundView->IsCloseRequested())
    {
        m_soundView->ClearCloseRequest();
        PostToggle(UC_SOUND_CONFIG);
    }
    TakeSelection();
    if (m_closeUpView && m_closeUpView->IsVisible() && m_closeUpView->IsCloseRequested())
    {
        m_closeUpView->ClearCloseRequest();
        PostToggle(UC_VIEW_CLOSE_UP_WINDOW);
    }
}

void CProcFly::UpdateListener()
{
    CSoundSystem* sound = MainKestro() ? MainKestro()->Sound() : nullptr;
    const CCamera* camera = m_mainView ? m_mainView->Camera() : nullptr;
    if (sound == nullptr || camera == nullptr)
        return;
    // The pilot hears from where the main view looks, moving with its camera (Doppler) and
    // turned like it (stereo placement).
    sound->SetListener(camera->GetPosition(), camera->GetVelocity(), camera->GetViewDirection(),
                       camera->GetOrientation().row[1]);
}

void CProcFly::PostToggle(uint32_t command)
{
    GuiPostCommand(m_guiHost, command);
}

void CProcFly::Render()
{
    m_views.Draw();
    CDraw2DScope scope;
    Set2DProjectionWindow();
    DrawOverlays();
}

void CProcFly::DescribeForDebug(uint32_t command, std::string& ioText) const
{
    if (command == UC_DEBUG_SCENE_MAIN && m_scenes)
        m_scenes->Describe(ioText);
    else if (command == UC_DEBUG_SCENE_OBJECT_ADMIN && m_objects)
        m_objects->Describe(ioText);
    else if (command == UC_DEBUG_VDB_OBJECT_ADMIN && m_vdbs)
        m_vdbs->Describe(ioText);
}

void CProcFly::DrawOverlays()
{
    CFontList& fonts = Fonts();
    const int width = WindowClientWidth();
    const int height = WindowClientHeight();
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    CModel* model = m_session ? m_session->GetModel() : nullptr;
    if (m_showTimeOfDay && m_sun)
        CSunRenderer::DrawDiagnostics(*m_sun);
    if (m_modelPaused)
    {
        TColor c = PaletteColor(24);
        c.a = 120;
        SetColor(c);
        const char* text = LookupString("IDS_MODEL_PAUSED_MSG");
        fonts.DrawText(fonts.f09x13B, width / 2.0f - 30.0f, height / 2.0f + 20.0f, text && *text ? text : "Model paused");
    }
    if (m_showVariables && model)
    {
        CTimeSection section(m_views.TimeStatistics(), "Variables");
        std::string text;
        CVariableTable& table = model->GetVariableTable();
        for (int i = 0; i < table.Count(); ++i)
        {
            const CVariable* v = table.At(i);
            text += StringPrintf("%-24s %10.3f\n", v->GetName().c_str(), v->GetValue());
        }
        for (int i = 0; i < CFlightSession::kChannelCount; ++i)
            text += StringPrintf("V_CH%-20d %10.3f\n", i + 1, m_session->GetChannel(i));
        const CVector3& p = model->GetBody().GetPosition();
        text += StringPrintf("POSITION %.2f %.2f %.2f\nHEIGHT_ABOVE_GROUND %.2f\n", p.x, p.y, p.z,
                             p.y - m_session->GetGroundHeight(p.x, p.z));
        fonts.DrawTextPanel(fonts.f07x12S, 20.0f, 60.0f, text, PaletteColor(20));
    }
    if (m_showPartInfo && model)
    {
        CTimeSection section(m_views.TimeStatistics(), "Part Info");
        if (!m_partInfo)
            m_partInfo = std::make_unique<CPartInfoOverlay>();
        m_partInfo->Draw(*model, m_selectedPart, Config() ? &Config()->KeyDefs() : nullptr);
    }
    if (m_mode != MODE_FREE_FLIGHT && MainKestro() && MainKestro()->RecordBlinker().IsOn(MainKestro()->Seconds()))
    {
        TColor c = PaletteColor(m_mode == MODE_RECORDING ? 21 : 27);
        c.a = 120;
        SetColor(c);
        SetTextAlign(TA_RIGHT | TA_TOP);
        fonts.DrawText(fonts.f09x13B, width - 5.0f, 37.0f, m_mode == MODE_RECORDING ? "REC" : "PLAYBACK");
        SetTextAlign(TA_LEFT_TOP);
    }
    for (int i = 0; i < 7; ++i)
    {
        if (m_barChecks[i] && m_barChecks[i]() && m_barButtons[i])
            CCI_CheckBox::DrawLitPlate(m_barButtons[i]->AbsoluteRect());
    }
    m_buttonBar.Draw();
    int mx = 0, my = 0;
    GuiMousePosition(m_guiHost, mx, my);
    m_menuBar.Draw(mx, my);
    m_messages.Draw(Now(), fonts.f09x13B, width / 2.0f, 2.0f * height / 3.0f, CMessageList::ANCHOR_CENTRED);
    SetTextAlign(oldAlign);
}

void CProcFly::CreateEditorViews()
{
    auto title = [](const char* id) { return std::string(LookupString(id) ? LookupString(id) : ""); };
    // Edits go through a scratch file of the output folder, never the pilot's model folder.
    m_modelEditor = std::make_unique<CModelEditor>(
        [this] { return m_session ? m_session->GetModel() : nullptr; },
        [this](const std::string& text, const std::string& fileName) { return ReloadEdited(text, fileName); },
        BuildDataPath(DF_OUTPUT, "ModelEdit.tmp"));
    m_editDialog = std::make_unique<CViewDialogEditModel>("CViewDialogEditModel", *m_modelEditor);
    m_editDialog->SetTitle(title("IDS_WIN_DLG_EDIT"));
    m_editGraphic = std::make_unique<CViewGraphicEditModel>("CViewGraphicEditModel", *m_editDialog);
    m_editGraphic->SetTitle(title("IDS_WIN_GR_EDIT"));
    m_editGraphic->SetPresentation(m_presentation.get());
    m_selectView = std::make_unique<CViewSelectModel>("CViewSelectModel");
    m_selectView->SetTitle(title("IDS_WIN_SELECT_FILE"));
    m_editGraphicSlot = m_views.Add(m_editGraphic.get());
    m_editDialogSlot = m_views.Add(m_editDialog.get());
    m_selectSlot = m_views.Add(m_selectView.get());
}

CModel* CProcFly::ReloadEdited(const std::string& text, const std::string& fileName)
{
    if (m_presentation)
        m_presentation->Unload();
    const bool loaded = m_session->LoadModelText(text, fileName);
    m_world.model = m_session->GetModel();
    if (!loaded)
        ShowMessage("The edited model could not be loaded:\n" + m_session->GetLoadMessage(), kWarning, 10.0);
    return m_session->GetModel();
}

void CProcFly::ShowSelect(bool load)
{
    if (!m_selectView)
        return;
    m_selectForLoad = load;
    const char* title = LookupString(load ? "IDS_WIN_LOAD_MODEL" : "IDS_WIN_SAVE_MODEL");
    m_selectView->SetTitle(title ? title : (load ? "Load model" : "Save model"));
    if (!load && m_session && m_session->HasModel())
        m_selectView->FileEdit().SetText(m_session->GetModel()->GetFileName());
    m_selectView->Show(true);
    m_views.BringToFront(m_selectSlot);
    m_views.Activate(m_selectSlot);
}

bool CProcFly::SaveModel(const std::string& name)
{
    CModel* model = m_session ? m_session->GetModel() : nullptr;
    if (model == nullptr)
        return false;
    if (!model->SaveModel(name))
    {
        ShowMessage("The model could not be saved to Data/Model/" + name + "; the file on disk is unchanged",
                    PaletteColor(21), 10.0);
        return false;
    }
    model->SetFileName(name);
    ShowMessage("Model saved to Data/Model/" + name, PaletteColor(24), 4.0);
    return true;
}

void CProcFly::TakeSelection()
{
    if (!m_selectView || !m_selectView->IsVisible())
        return;
    const bool chosen = m_selectView->TakeResult();
    if (!chosen && !m_selectView->IsCloseRequested())
        return;
    m_selectView->ClearCloseRequest();
    m_selectView->Show(false);
    m_views.Activate(m_layout == LAYOUT_EDITOR ? m_editDialogSlot : m_mainSlot);
    if (!chosen)
        return;
    const std::string name = m_selectView->ResultText();
    const bool done = m_selectForLoad ? SwitchModel(name) : SaveModel(name);
    // A model chosen from the dialog starts afresh where the pilot puts models down.
    if (done && m_selectForLoad)
        m_session->ResetToStart();
    if (done && Config())
    {
        Config()->SetSelectedModel(name);
        // Kept at once: the next start flies it even if this run does not end cleanly.
        Config()->Save(BuildDataPath(DF_OUTPUT, ""));
    }
}
