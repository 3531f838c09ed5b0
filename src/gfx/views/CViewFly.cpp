#include "gfx/views/CViewFly.h"

#include <algorithm>
#include <cmath>

#include "core/CTimeStatistics.h"
#include "core/Diagnostics.h"
#include "env/CFlyWorld.h"
#include "env/CWind.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/views/CCamera.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/instruments/CInstrumentPanel.h"
#include "gfx/scene/CSun.h"
#include "gfx/scene/CSunRenderer.h"
#include "gfx/scene/DebugDraw3D.h"
#include "gfx/scene/ModelPresentation.h"
#include "input/UserCommands.h"
#include "model/CModel.h"

namespace
{
constexpr float kDegToRad = 0.017453292519943295f;

void SetCommandHelp(CBControlItem& control, uint32_t command)
{
    const char* shortText = UserCommandShortText(command);
    const char* longText = UserCommandLongText(command);
    control.SetHelp(shortText ? shortText : "", longText ? longText : "");
}
} // namespace

CViewFly::CViewFly(const std::string& name, int style) : CView(name, style)
{
    m_buttons.SetEnabled(true);
    m_buttons.SetVisible(true);
    m_buttons.SetMouseOnly(true);
}

CViewFly::~CViewFly()
{
    m_buttons.Clear();
}

void CViewFly::Open(const TFlightWorld* world, const CVector3& cameraPosition, float headingDeg, float pitchDeg)
{
    m_world = world;
    Viewport().SetPerspective(45.0f, 4.0f / 3.0f, kMinNear, kFar);
    if (world && world->sceneRoot)
        Viewport().SetScene(world->sceneRoot);
    m_camera = std::make_unique<CCamera>();
    m_camera->Create();
    m_camera->SetTerrain(world ? world->terrain : nullptr);
    m_camera->SetResetPose(cameraPosition, headingDeg * kDegToRad, pitchDeg * kDegToRad, 0.0f);
    m_camera->Reset();
    BuildButtons();
}

void CViewFly::SetPilotPose(const CVector3& cameraPosition, float headingDeg, float pitchDeg)
{
    if (!m_camera)
        return;
    m_camera->SetResetPose(cameraPosition, headingDeg * kDegToRad, pitchDeg * kDegToRad, 0.0f);
    m_camera->Reset();
}

void CViewFly::BuildButtons()
{
    m_buttons.Clear();
    m_home = std::make_unique<CCI_Button>(0, 0, kButtonSize, kButtonSize, "B_HOME");
    m_home->SetReleaseCommand(UC_CAMERA_RESET_POSITION);
    SetCommandHelp(*m_home, UC_CAMERA_RESET_POSITION);
    m_autoZoom = std::make_unique<CCI_CheckBox>(28, 0);
    m_autoZoom->SetSprites("B_ZOOM_AUTO", "B_ZOOM_AUTO");
    m_autoZoom->SetCommand(UC_CAMERA_AUTOZOOM);
    SetCommandHelp(*m_autoZoom, UC_CAMERA_AUTOZOOM);
    m_zoomIn = std::make_unique<CCI_Button>(52, 0, kButtonSize, kButtonSize, "B_ZOOM_PLUS");
    m_zoomIn->SetRepeatCommand(UC_CAMERA_ZOOM_IN);
    SetCommandHelp(*m_zoomIn, UC_CAMERA_ZOOM_IN);
    m_zoomOut = std::make_unique<CCI_Button>(76, 0, kButtonSize, kButtonSize, "B_ZOOM_MINUS");
    m_zoomOut->SetRepeatCommand(UC_CAMERA_ZOOM_OUT);
    SetCommandHelp(*m_zoomOut, UC_CAMERA_ZOOM_OUT);
    struct TModeBox
    {
        int mode;
        int x;
        const char* sprite;
        uint32_t command;
    };
    const TModeBox boxes[] = {
        {CCamera::MODE_LOOK_AT, 104, "B_MAN", UC_CAMERA_MODE_LOOK_AT},
        {CCamera::MODE_FOLLOW, 128, "B_FEET", UC_CAMERA_MODE_FOLLOW},
        {CCamera::MODE_ATTACHED, 152, "B_ANCHOR", UC_CAMERA_MODE_ATTACHED},
        {CCamera::MODE_FREE, 176, "B_KEYS", UC_CAMERA_MODE_FREE},
    };
    m_buttons.Add(m_home.get());
    m_buttons.Add(m_autoZoom.get());
    m_buttons.Add(m_zoomIn.get());
    m_buttons.Add(m_zoomOut.get());
    for (const TModeBox& box : boxes)
    {
        auto check = std::make_unique<CCI_CheckBox>(box.x, 0);
        check->SetSprites(box.sprite, box.sprite);
        check->SetCommand(box.command);
        SetCommandHelp(*check, box.command);
        m_buttons.Add(check.get());
        m_modeBoxes[box.mode] = std::move(check);
    }
    SyncModeButtons();
}

void CViewFly::PlaceButtons()
{
    const TRect2D& rect = Viewport().PixelRect();
    m_buttons.SetRect(TRect2D{rect.x, rect.y + rect.h - kButtonSize, 200, kButtonSize});
}

const char* CViewFly::PressedModeButton() const
{
    for (int mode = 0; mode < 4; ++mode)
    {
        if (m_modeBoxes[mode] && m_modeBoxes[mode]->IsChecked())
            return CCamera::ModeButtonSprite(mode);
    }
    return nullptr;
}

void CViewFly::SyncModeButtons()
{
    if (!m_camera)
        return;
    for (int mode = 0; mode < 4; ++mode)
    {
        if (m_modeBoxes[mode])
            m_modeBoxes[mode]->SetChecked(mode == m_camera->GetMode());
    }
    if (m_autoZoom)
        m_autoZoom->SetChecked(m_camera->IsAutoZoomEnabled());
}

float CViewFly::NearPlaneFor(float distance, float heightAboveGround)
{
    return std::clamp(std::min(distance / 10.0f, heightAboveGround / 2.0f), kMinNear, kMaxNear);
}

int CViewFly::OnCommand(const CInputEvent& event)
{
    if (m_camera)
    {
        const int result = static_cast<int>(m_camera->HandleEvent(event));
        if (result != 0)
        {
            // The pressed button follows a mode key in the same frame.
            SyncModeButtons();
            return result;
        }
    }
    const int base = CView::OnCommand(event);
    if (base != 0 && base != static_cast<int>(UC_UNDEFINED))
        return base;
    if (!event.IsGoingDown())
        return base;
    bool* toggle = nullptr;
    switch (event.command)
    {
    case UC_VIEW_MODEL_FORCES: toggle = &m_showForces; break;
    case UC_VIEW_MODEL_PHYSIC: toggle = &m_showPhysical; break;
    case UC_VIEW_MODEL_ARTISTIC: toggle = &m_showArtistic; break;
    case UC_VIEW_SHOW_MODEL_SHADOW: toggle = &m_showShadow; break;
    case UC_DEBUG_COLISION_TRINGLES: toggle = &m_showCollisionTriangles; break;
    case UC_DEBUG_INERTIA: toggle = &m_showInertia; break;
    default: return base;
    }
    *toggle = !*toggle;
    if (toggle == &m_showShadow && m_world && m_world->presentation)
        m_world->presentation->SetShadowVisible(m_showShadow);
    return static_cast<int>(event.command);
}

int CViewFly::OnMouse(const CInputEvent& event)
{
    PlaceButtons(); // the viewport may have moved or been resized since the last frame
    const int result = m_buttons.OnMouse(event);
    if (result != 0)
        return result;
    return CView::OnMouse(event);
}

void CViewFly::SetGuiHost(IGuiHost* host)
{
    CView::SetGuiHost(host);
    // The camera buttons lie over the viewport on a page of their own.
    m_buttons.SetGuiHost(host);
}

void CViewFly::Deactivate()
{
    m_buttons.Deactivate();
    CView::Deactivate();
}

void CViewFly::Run()
{
    if (!IsVisible())
        return;
    CModel* model = m_world ? m_world->model : nullptr;
    const float frameTime = m_world ? m_world->frameTime : 0.0f;
    if (m_camera)
    {
        if (model)
        {
            const CEngineDynamic& body = model->GetBody();
            m_camera->SetTarget(body.GetPosition(), body.GetVelocity(), body.GetOrientation());
        }
        {
            CTimeSection section(TimeStatistics(), "CameraShip");
            m_camera->Update(frameTime);
        }
        Viewport().SetEye(m_camera->GetPosition(), m_camera->GetOrientation());
        Viewport().SetPerspective(m_camera->GetCurrentHFOV(), 4.0f / 3.0f, Viewport().NearPlane(), kFar);
        const CVector3& eye = m_camera->GetPosition();
        float height = kFar;
        if (m_world && m_world->terrain)
        {
            CVector3 normal;
            height = eye.y - m_world->terrain->GetTerrainHeight(eye.x, eye.z, m_eyeHint, normal);
        }
        const float distance = model ? (model->GetBody().GetPosition() - eye).Length() : kFar;
        if (model || height < kFar)
            Viewport().SetNearPlane(NearPlaneFor(distance, height));
        SyncModeButtons();
    }
    m_buttons.Run();
    CView::Run();
}

void CViewFly::PreDraw()
{
    if (!m_world || !m_world->debugDraw)
        return;
    CDebugDraw3D& draw = *m_world->debugDraw;
    draw.BeginFrame();
    if (m_world->model)
    {
        CTimeSection section(TimeStatistics(), "Model");
        m_world->model->RenderDebug(draw, m_showPhysical, m_showForces);
    }
    if (m_showInertia && m_world->model)
    {
        CTimeSection section(TimeStatistics(), "Model Inertia");
        // The centre of mass, and through it a cross along the body axes whose arms are the
        // radii of gyration sqrt(I / m) about those axes (the inertia about the centre of mass).
        const CEngineDynamic& body = m_world->model->GetBody();
        const CVector3 centre = body.BodyToWorldPoint(body.GetCentreOfMass());
        draw.Point(centre, 36, 8.0f);
        const float mass = body.GetMass();
        const CVector3& cg = body.GetCentreOfMass();
        const float inertiaAboutCg[3] = {body.GetInertia().row[0].x - mass * (cg.y * cg.y + cg.z * cg.z),
                                         body.GetInertia().row[1].y - mass * (cg.x * cg.x + cg.z * cg.z),
                                         body.GetInertia().row[2].z - mass * (cg.x * cg.x + cg.y * cg.y)};
        const int colours[3] = {21, 24, 33};
        for (int axis = 0; axis < 3 && mass > 0.0f; ++axis)
        {
            const float radius = std::sqrt(std::max(inertiaAboutCg[axis], 0.0f) / mass);
            const CVector3 arm = body.GetOrientation().row[axis] * radius;
            draw.Line(centre - arm, centre + arm, colours[axis]);
        }
        draw.Text(centre, StringPrintf("CG  %.2f kg", static_cast<double>(mass)), 36);
    }
    if (m_world->wind && m_showPhysical)
    {
        CTimeSection section(TimeStatistics(), "Wind");
        draw.DrawWind(*m_world->wind, m_world->model ? m_world->model->GetBody().GetPosition() : CVector3());
    }
    if (m_world->wind && m_showThermals)
        draw.DrawThermals(m_world->wind->GetThermals(), m_world->terrain,
                          m_camera ? m_camera->GetPosition() : CVector3());
    if (m_showCollisionTriangles && m_world->site)
    {
        // The current triangle follows the model: the one its body's height query found last.
        if (m_world->model && m_world->model->GetBody().GetTerrainHint().current >= 0)
            m_world->site->SetCurrentTriangle(m_world->model->GetBody().GetTerrainHint().current);
        draw.DrawCollisionMesh(m_world->site->GetCollisionMesh());
    }
    draw.EndFrame();
}

void CViewFly::RenderScene()
{
    if (!IsVisible())
        return;
    if (m_layoutPending)
        Layout();
    const CVector3 eye = Viewport().EyePosition();
    if (m_world)
    {
        if (m_world->skyDome)
            m_world->skyDome->setMatrix(CSun::SkyDomeMatrix(eye));
        if (m_world->sun && m_world->light)
            m_world->sun->ApplyToLight(*m_world->light->getLight());
        if (m_world->presentation)
            m_world->presentation->SetObjectVisible(m_showArtistic);
    }
    Viewport().Render(0.0, true);
    if (m_world && m_world->sun && m_world->sunRenderer && m_camera)
    {
        const osg::Matrixd view = Viewport().ViewMatrix();
        const osg::Matrixd projection = Viewport().ProjectionMatrix();
        Viewport().ApplyForImmediateDrawing();
        {
            CTimeSection section(TimeStatistics(), "Sun");
            m_world->sunRenderer->DrawDisc(*m_world->sun, view, projection, eye);
        }
        {
            CTimeSection section(TimeStatistics(), "SunBurn");
            m_world->sunRenderer->DrawGlare(*m_world->sun, view, projection, eye, m_camera->GetViewDirection(),
                                            m_advancesGlare ? m_world->frameTime : 0.0f);
        }
    }
}

void CViewFly::Draw()
{
    if (!IsVisible())
        return;
    const TRect2D& rect = Viewport().PixelRect();
    PlaceButtons();
    m_buttons.Draw();
    if (m_world && m_world->debugDraw)
        m_world->debugDraw->DrawTexts(Viewport().ViewMatrix(), Viewport().ProjectionMatrix(), rect);
    if (m_camera && m_world && m_world->showCameraData && *m_world->showCameraData)
    {
        std::string text;
        m_camera->GetDebugText(text);
        if (text.size() > 3000)
            text.resize(3000);
        const int oldAlign = TextAlign();
        SetTextAlign(TA_LEFT_TOP);
        SetColor(37);
        Fonts().DrawMultiLineText(Fonts().f07x12S, static_cast<float>(rect.x + 100), static_cast<float>(rect.y + 100),
                                  text, 1.0f);
        SetTextAlign(oldAlign);
    }
    if (m_showCollisionTriangles && m_world && m_world->site)
    {
        const int oldAlign = TextAlign();
        SetTextAlign(TA_LEFT_TOP);
        Fonts().DrawTextPanel(Fonts().f09x13B, static_cast<float>(rect.x + 250), static_cast<float>(rect.y + 250),
                              StringPrintf("ColTriangle: %i", m_world->site->GetCollisionMesh().GetCurrentTriangle()),
                              PaletteColor(21));
        SetTextAlign(oldAlign);
    }
    if (m_showInstrumentPanel && m_world && m_world->model)
    {
        if (CInstrumentPanel* panel = CInstrumentPanel::OfModel(*m_world->model))
        {
            panel->SetShown(true);
            CTimeSection section(TimeStatistics(), "Instrument Panel");
            panel->Draw(rect.x, rect.y);
        }
    }
    CView::Draw();
}
