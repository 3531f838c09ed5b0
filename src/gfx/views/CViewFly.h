#pragma once
// A view of the flight: the main window of the flight screen and the close-up window. Each owns
// a camera that follows the model, a bar of camera buttons at its bottom-left corner and the
// switches of what it draws (model object, part outlines, forces, collision triangles, inertia,
// shadow, instrument panel).
//
// Per frame:
//   Run         camera target = the model's pose; the camera moves ("CameraShip"); the viewport's
//               eye and field of view follow it; the near plane is a tenth of the distance to the
//               model within 0.1 .. 5 m (close enough for a model at arm's length, far enough to
//               keep depth precision over a 15 km far plane) and at most half the eye's height
//               above the ground; the pressed mode button follows the camera's mode.
//   PreDraw     the debug geometry of this view's switches is rebuilt (it is part of the scene).
//   RenderScene the sky dome moves to the camera and the sun lights the scene; the scene is drawn;
//               then the sun's disc and glare.
//   Draw        buttons, camera text, instrument panel, then the base view's 2D.
//
// The world the view shows is shared by every flight view and belongs to the flight process;
// the view reads it through TFlightWorld, whose pointers may be null (nothing loaded yet).

#include <memory>
#include <string>

#include <osg/LightSource>
#include <osg/MatrixTransform>
#include <osg/ref_ptr>

#include "gfx/views/CView.h"
#include "model/ITerrain.h"

class CCamera;
class CCI_Button;
class CCI_CheckBox;
class CDebugDraw3D;
class CFlyWorld;
class CModel;
class CModelPresentation;
class CSun;
class CSunRenderer;
class CWind;
class ITerrain;
struct CStartPose;

// What every flight view draws, owned by the flight process.
struct TFlightWorld
{
    osg::Group* sceneRoot = nullptr;           // terrain, model, debug geometry
    osg::MatrixTransform* skyDome = nullptr;   // moved to each view's camera
    osg::LightSource* light = nullptr;         // the sun's light
    CSun* sun = nullptr;
    CSunRenderer* sunRenderer = nullptr;
    CDebugDraw3D* debugDraw = nullptr;
    CModel* model = nullptr;                   // null when none is loaded
    CModelPresentation* presentation = nullptr;
    CWind* wind = nullptr;
    CFlyWorld* site = nullptr;
    const ITerrain* terrain = nullptr;         // for the camera's ground avoidance
    const bool* showCameraData = nullptr;      // the flight process's UC_DEBUG_CAMERA switch
    float frameTime = 0.0f;                    // s, this frame's
};

class CViewFly : public CView
{
public:
    static constexpr float kMinNear = 0.1f;  // m
    static constexpr float kMaxNear = 5.0f;  // m
    static constexpr float kFar = 15000.0f;  // m
    static constexpr int kButtonSize = 24;

    CViewFly(const std::string& name, int style);
    ~CViewFly() override;

    // world: the flight process's (outlives the view). cameraPosition and heading/pitch (deg):
    // where the camera stands after a reset.
    void Open(const TFlightWorld* world, const CVector3& cameraPosition, float headingDeg, float pitchDeg);
    // Moves the camera's reset pose (another flying site) and puts the camera there.
    void SetPilotPose(const CVector3& cameraPosition, float headingDeg, float pitchDeg);

    int OnCommand(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void SetGuiHost(IGuiHost* host) override;
    void Deactivate() override;
    void Run() override;
    void PreDraw() override;
    void Draw() override;
    void RenderScene() override;

    // Near plane (m) for a camera at distance (m) from the model and heightAboveGround (m)
    // above the terrain under it. A tenth of the distance within 0.1 .. 5 m, and never more
    // than half the height: every ground point in view is then farther than the near plane
    // (at least the height away, and less than 60 degrees off the view axis), so the ground
    // under a low camera is not cut away to show the sky's haze below the horizon.
    static float NearPlaneFor(float distance, float heightAboveGround);

    CCamera* Camera() const { return m_camera.get(); }
    // Only the main view advances the glare (it is one sun for every view).
    void SetAdvancesGlare(bool advances) { m_advancesGlare = advances; }

    bool m_showArtistic = true; // the model's 3D object
    bool m_showPhysical = false;
    bool m_showCollisionTriangles = false;
    bool m_showThermals = false; // a training aid: where the thermals stand
    bool m_showInstrumentPanel = false;
    bool m_showInertia = false;
    bool m_showForces = false;
    bool m_showShadow = true;

    // The mode check box currently shown pressed ("B_KEYS", "B_MAN", "B_FEET", "B_ANCHOR"),
    // or null.
    const char* PressedModeButton() const;

private:
    void BuildButtons();
    // The camera bar along the bottom edge of the viewport.
    void PlaceButtons();
    void SyncModeButtons();

    const TFlightWorld* m_world = nullptr; // not owned
    std::unique_ptr<CCamera> m_camera;
    CControlPageEx m_buttons;
    std::unique_ptr<CCI_Button> m_home, m_zoomIn, m_zoomOut;
    std::unique_ptr<CCI_CheckBox> m_autoZoom;
    std::unique_ptr<CCI_CheckBox> m_modeBoxes[4]; // indexed by the camera's mode
    bool m_advancesGlare = true;
    TTerrainHint m_eyeHint; // the ground under the eye, for the near plane
};
