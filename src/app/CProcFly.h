#pragma once
// The flight screen: owns the flying site, the wind, the sun and sky, the scene, the flight
// session (model, channels, stepping: the same code kestro-fdm flies), the recorder, the views
// and the menu bar, and runs one simulation frame per application frame.
//
// Update, in order: cursor auto-hide; the selected input map drives V_CH1..V_CH9 (not during
// playback); the site; "Wind" and "Model" through the session's Step (unless paused; a pause
// step lets one frame through), then the recorder writes or replays the frame; the views and
// cameras; close requests of the windows become their toggle commands.
//
// Layouts (window fractions x, y, w, h): 0 normal = main view full; 1 close-up = main full plus
// the close-up at (0.7, 0.05, 0.25, 0.25); 2 editor (F3) = graphic editor (0, 0, 0.5, 0.5), main
// view (0.5, 0, 0.5, 0.5), part editor (0, 0.5, 1, 0.5), and back to the layout before it.
//
// Failures the pilot must see go to the centre message list: a model that does not load (with
// the loader's reason), a recording that cannot start, a playback file that cannot be read.

#include <functional>
#include <memory>
#include <string>

#include <osg/Group>
#include <osg/LightSource>
#include <osg/MatrixTransform>
#include <osg/ref_ptr>

#include "sim/CFlightRecorder.h"
#include "app/CMouseFlying.h"
#include "app/CMessageList.h"
#include "input/CRadioAbsenceNotice.h"
#include "app/CProcFlyMenuBar.h"
#include "app/CProcess.h"
#include "model/ITerrain.h"
#include "gfx/gui/CControlPageEx.h"
#include "gfx/views/CViewFly.h"
#include "gfx/views/CViewManager.h"

class CCI_Button;
class CDebugDraw3D;
class CFlightSession;
class CFlyWorld;
class CInstrumentPanelFactory;
class CModelPresentation;
class CPartInfoOverlay;
class CSceneAdmin;
class CSceneObjectAdmin;
class CSun;
class CSunRenderer;
class CVdbObjectAdmin;
class CViewSound;
class CModelEditor;
class CViewDialogEditModel;
class CViewGraphicEditModel;
class CViewSelectModel;
class CViewWeather;
class CWind;
class CConfig;
class CInput;
class IOverlayMessages;
class ITerrain;

class CProcFly : public CProcess
{
public:
    enum EMode
    {
        MODE_FREE_FLIGHT = 0,
        MODE_RECORDING = 1,
        MODE_PLAYBACK = 2,
    };
    enum ELayout
    {
        LAYOUT_NORMAL = 0,
        LAYOUT_CLOSE_UP = 1,
        LAYOUT_EDITOR = 2,
    };

    // The GUI host is the application's; tests hand in their own.
    CProcFly();
    ~CProcFly() override;
    void SetGuiHost(IGuiHost* host);

    bool Init(CProcessManager* manager) override;
    // Loads the site and draws it once off screen while another screen shows.
    void Prepare() override;
    void Start() override;
    void End() override;
    int OnEvent(const CInputEvent& event) override;
    int OnMouseButton(const CInputEvent& event) override;
    void Release() override;
    void Update() override;
    void Render() override;
    // The scene's registries for UC_DEBUG_SCENE_MAIN, _SCENE_OBJECT_ADMIN and _VDB_OBJECT_ADMIN.
    void DescribeForDebug(uint32_t command, std::string& ioText) const override;

    // Loads Data/Model/<name>; on failure there is no model and the centre list says why.
    bool SwitchModel(const std::string& name);

    // The model editor (layout 2) and the model selection dialog (null before the first Start).
    CModelEditor* Editor() const { return m_modelEditor.get(); }
    CViewDialogEditModel* EditDialog() const { return m_editDialog.get(); }
    CViewGraphicEditModel* EditGraphic() const { return m_editGraphic.get(); }
    CViewSelectModel* SelectView() const { return m_selectView.get(); }
    // Saves the flying model as Data/Model/<name> (safely replaced); the centre list says
    // whether it worked.
    bool SaveModel(const std::string& name);

    // The layout's window rectangles (see the class comment).
    void ApplyLayout(int layout);
    int GetLayout() const { return m_layout; }
    int GetMode() const { return m_mode; }
    bool IsModelPaused() const { return m_modelPaused; }
    CFlightSession* Session() const { return m_session.get(); }
    CViewFly* MainView() const { return m_mainView.get(); }
    CViewFly* CloseUpView() const { return m_closeUpView.get(); }
    CViewWeather* WeatherView() const { return m_weatherView.get(); }
    CViewSound* SoundView() const { return m_soundView.get(); }
    CMessageList& Messages() { return m_messages; }
    // The world's scene and the model's objects in it (null before the first Start).
    osg::Group* SceneRoot() const { return m_world.sceneRoot; }
    CModelPresentation* Presentation() const { return m_presentation.get(); }
    const CProcFlyMenuBar& MenuBar() const { return m_menuBar; }
    // The time-of-day angle the ambient commands set last (degrees).
    float GetTimeOfDay() const;
    // Output/Flight.rec, or another path for tests.
    void SetRecordingPath(const std::string& path) { m_recordingPath = path; }

private:
    void BuildMenuBar();
    void BuildButtonBar();
    void CreateWorld();
    // The flying site Config.txt names, or the field (said once) when it names none we know.
    std::string ConfiguredSite() const;
    // Flies at another site from now on: its terrain in the scene and under the model, the model
    // at its start, the pilot's place, and the choice kept in the configuration.
    void SwitchSite(const std::string& name);
    void StartRecording();
    void StopRecording();
    void StartPlayback();
    // Command handlers of OnEvent that serve more than one command; true when taken.
    static bool ShowModelSelect(CProcFly& fly, uint32_t command);
    static bool SetTimeOfDay(CProcFly& fly, uint32_t command);
    static bool SelectPart(CProcFly& fly, uint32_t command);
    // Runs a model command of the session; false (not taken) without a model.
    bool WithModel(void (CFlightSession::*action)());
    void ShowMessage(const std::string& text, const TColor& color, double seconds);
    // Says once when the input map reads the transmitter and none is detected.
    void CheckTransmitter(const CConfig& config, const CInput& input, float frameTime);
    void DrawOverlays();
    void PostToggle(uint32_t command);
    bool CloseUpShown() const;
    void ShowWeather(bool show);
    void ShowSound(bool show);
    // The sound system's listener from the main view's camera.
    void UpdateListener();
    void CreateEditorViews();
    void ShowSelect(bool load);
    void TakeSelection();
    CModel* ReloadEdited(const std::string& text, const std::string& fileName);

    int m_layout = LAYOUT_NORMAL;
    int m_layoutBeforeEditor = LAYOUT_NORMAL;
    bool m_showTimeOfDay = false;
    bool m_showVariables = false;
    bool m_showPartInfo = false;
    bool m_showCameraData = false;
    int m_selectedPart = 0;
    std::unique_ptr<CPartInfoOverlay> m_partInfo;
    bool m_modelPaused = false;
    bool m_pauseStep = false;
    bool m_cursorAutoHide = true;
    int m_mode = MODE_FREE_FLIGHT;
    std::string m_recordingPath;

    // The world: created on the first start and kept across visits.
    std::unique_ptr<CFlyWorld> m_site;
    std::unique_ptr<ITerrain> m_cameraTerrain; // the cameras' ground: an adapter on m_site
    std::unique_ptr<CWind> m_wind;
    std::unique_ptr<CVdbObjectAdmin> m_vdbs;
    std::unique_ptr<CSceneObjectAdmin> m_objects;
    std::unique_ptr<CSceneAdmin> m_scenes;
    int m_sceneIndex = 0;
    osg::ref_ptr<osg::MatrixTransform> m_skyDome;
    osg::ref_ptr<osg::LightSource> m_light;
    std::unique_ptr<CSun> m_sun;
    std::unique_ptr<CSunRenderer> m_sunRenderer;
    std::unique_ptr<CDebugDraw3D> m_debugDraw;
    std::unique_ptr<CModelPresentation> m_presentation;
    std::unique_ptr<CInstrumentPanelFactory> m_panels;
    std::unique_ptr<IOverlayMessages> m_overlay;
    std::unique_ptr<CFlightSession> m_session; // the model goes before the world it refers to
    std::unique_ptr<CFlightRecorder> m_recorder;
    TFlightWorld m_world;

    CViewManager m_views;
    std::unique_ptr<CViewFly> m_mainView;
    std::unique_ptr<CViewFly> m_closeUpView;
    int m_mainSlot = -1, m_closeUpSlot = -1;
    std::unique_ptr<CViewWeather> m_weatherView; // edits m_wind: declared after it, so it goes first
    int m_weatherSlot = -1;
    std::unique_ptr<CViewSound> m_soundView; // edits the application's sound settings
    int m_soundSlot = -1;
    // The model editor: the edit core first, the views that use it after it.
    std::unique_ptr<CModelEditor> m_modelEditor;
    std::unique_ptr<CViewDialogEditModel> m_editDialog;
    std::unique_ptr<CViewGraphicEditModel> m_editGraphic;
    std::unique_ptr<CViewSelectModel> m_selectView;
    int m_editDialogSlot = -1, m_editGraphicSlot = -1, m_selectSlot = -1;
    bool m_selectForLoad = true;

    CProcFlyMenuBar m_menuBar;
    CControlPageEx m_buttonBar;
    IGuiHost* m_guiHost = nullptr; // not owned
    std::unique_ptr<CCI_Button> m_barButtons[7];
    std::function<bool()> m_barChecks[7]; // the button's state, shown lit; empty: none
    CMessageList m_messages; // centre: the model's and the engine's messages
    int m_loadMessageSlot = -1;
    CRadioAbsenceNotice m_radioNotice; // the no-transmitter message, once per absence
    CMouseFlying m_mouseFlying;
    float m_maxHeight = 0.0f; // m above the ground, highest since the last reset or visit
    TTerrainHint m_maxHeightHint; // keeps that per-frame query off the whole-mesh search
};
