#include "editor/CViewGraphicEditModel.h"

#include <algorithm>
#include <cmath>

#include "core/Diagnostics.h"
#include "data/CProperty.h"
#include "data/CPropertySet.h"
#include "editor/CViewDialogEditModel.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/GuiHost.h"
#include "gfx/scene/CSceneObject.h"
#include "gfx/scene/DebugDraw3D.h"
#include "gfx/scene/ModelPresentation.h"
#include "input/KeyCodes.h"
#include "input/UserCommands.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/CPartPhysic.h"
#include "model/PartClassTable.h"

namespace
{
const TColor kBackground{24, 28, 36, 255};
const TColor kGridColour{60, 70, 90, 255};
const TColor kAxisColour{110, 120, 150, 255};
constexpr int kPickRadius = 8; // pixels
// The eye stands this far from the centre along the view axis; the depth range is twice it.
constexpr float kEyeDistance = 500.0f; // m

struct TToolButton
{
    const char* sprite;
    int x, y;
    uint32_t command;
};
const TToolButton kTools[] = {
    {"B_GRID", 0, 0, UC_GR_EDIT_SHOW_GRID},         {"B_GR_ARTISTIC", 28, 0, UC_VIEW_MODEL_ARTISTIC},
    {"B_GR_PHYSIC", 52, 0, UC_VIEW_MODEL_PHYSIC},    {"B_MASS", 76, 0, UC_GR_EDIT_MASS_DISTRIB},
    {"B_VIEW_TOP", 0, 24, UC_GR_EDIT_VIEW_TOP},      {"B_VIEW_LEFT", 24, 24, UC_GR_EDIT_VIEW_LEFT},
    {"B_VIEW_FRONT", 48, 24, UC_GR_EDIT_VIEW_FRONT}, {"B_VIEW_BOTTOM", 72, 24, UC_GR_EDIT_VIEW_BOTTOM},
    {"B_VIEW_RIGHT", 96, 24, UC_GR_EDIT_VIEW_RIGHT}, {"B_VIEW_BACK", 120, 24, UC_GR_EDIT_VIEW_BACK},
    {"B_VIEW_PREV", 144, 24, UC_GR_EDIT_VIEW_PREV},  {"B_VIEW_NEXT", 168, 24, UC_GR_EDIT_VIEW_NEXT},
    {"B_HOME", 0, 48, UC_CAMERA_RESET_POSITION},     {"B_ARR_LEFT", 24, 48, UC_CAMERA_LEFT},
    {"B_ARR_RIGHT", 48, 48, UC_CAMERA_RIGHT},        {"B_ARR_UP", 72, 48, UC_CAMERA_UP},
    {"B_ARR_DOWN", 96, 48, UC_CAMERA_DOWN},          {"B_ARR_FORWARD", 120, 48, UC_CAMERA_FORWARD},
    {"B_ARR_BACKWARD", 144, 48, UC_CAMERA_BACKWARDS},
};
const uint32_t kViewCommands[CEditAxisView::COUNT] = {UC_GR_EDIT_VIEW_TOP,    UC_GR_EDIT_VIEW_LEFT,
                                                       UC_GR_EDIT_VIEW_FRONT,  UC_GR_EDIT_VIEW_BOTTOM,
                                                       UC_GR_EDIT_VIEW_RIGHT,  UC_GR_EDIT_VIEW_BACK};
const char* const kViewNames[CEditAxisView::COUNT] = {"top", "left", "front", "bottom", "right", "back"};

std::string GridLabel(float grid)
{
    const char* const labels[] = {"10 m", "1 m", "1 dm", "1 cm", "1 mm", "100 um"};
    const int index = std::clamp(static_cast<int>(std::lround(1.0f - std::log10(grid))), 0, 5);
    return labels[index];
}

CProperty* PositionOf(CPart& part)
{
    return part.GetPropertySet().FindProperty("POSITION");
}
} // namespace

CViewGraphicEditModel::CViewGraphicEditModel(const std::string& name, CViewDialogEditModel& dialog)
    : CView(name, VS_TITLE_BAR), m_dialog(dialog)
{
    for (int i = 0; i < CEditAxisView::COUNT; ++i)
        m_axes[i] = CEditAxisView(i);
    m_toolbar.SetEnabled(true);
    m_toolbar.SetMouseOnly(true);
    m_toolbar.SetRect(TRect2D{4, kTitleBarHeight + 4, 200, 76});
    for (const TToolButton& tool : kTools)
    {
        auto button = std::make_unique<CCI_Button>(tool.x, tool.y, 24, 24, tool.sprite);
        button->SetReleaseCommand(tool.command);
        const char* s = UserCommandShortText(tool.command);
        const char* l = UserCommandLongText(tool.command);
        button->SetHelp(s && *s ? s : tool.sprite, l ? l : "");
        m_toolbar.Add(button.get());
        m_buttons.push_back(std::move(button));
    }
    Page().Add(&m_toolbar);
    CView::Show(false);

    m_sceneRoot = new osg::Group;
    m_sceneRoot->setName("ViewEdit");
    m_light = new osg::LightSource;
    m_light->getLight()->setLightNum(0);
    m_light->getLight()->setAmbient(osg::Vec4(0.35f, 0.35f, 0.35f, 1.0f));
    m_light->getLight()->setDiffuse(osg::Vec4(0.8f, 0.8f, 0.8f, 1.0f));
    m_light->getLight()->setSpecular(osg::Vec4(0.2f, 0.2f, 0.2f, 1.0f));
    m_sceneRoot->addChild(m_light.get());
    m_sceneRoot->getOrCreateStateSet()->setMode(GL_LIGHT0, osg::StateAttribute::ON);
    m_bodyFrame = new osg::MatrixTransform;
    m_physical = std::make_unique<CDebugDraw3D>();
    m_bodyFrame->addChild(m_physical->GetNode());
    m_sceneRoot->addChild(m_bodyFrame.get());
    Viewport().SetScene(m_sceneRoot.get());
    Viewport().SetClearColor(kBackground.r / 255.0f, kBackground.g / 255.0f, kBackground.b / 255.0f);
}

CViewGraphicEditModel::~CViewGraphicEditModel()
{
    m_toolbar.Clear();
}

void CViewGraphicEditModel::SetPresentation(CModelPresentation* presentation)
{
    m_presentation = presentation;
    AttachArtistic();
}

void CViewGraphicEditModel::AttachArtistic()
{
    // The presentation swaps its object when the model is reloaded: follow it.
    CSceneObject* object = m_presentation && m_showArtistic ? m_presentation->GetObject() : nullptr;
    osg::Node* node = object ? object->GetTransformNode() : nullptr;
    if (node == m_artistic.get())
        return;
    if (m_artistic.valid())
        m_bodyFrame->removeChild(m_artistic.get());
    m_artistic = node;
    if (node != nullptr)
        m_bodyFrame->addChild(node);
}

CModel* CViewGraphicEditModel::Model() const
{
    return m_dialog.Editor().Model();
}

void CViewGraphicEditModel::SetAxisView(int view)
{
    m_view = ((view % CEditAxisView::COUNT) + CEditAxisView::COUNT) % CEditAxisView::COUNT;
}

void CViewGraphicEditModel::Home()
{
    float radius = 0.5f;
    if (CModel* model = Model())
        for (int i = 0; i < model->GetPartCount(); ++i)
        {
            CVector3 p;
            if (CPart* part = model->GetPart(i); part && part->GetPosition(p))
                radius = std::max(radius, p.Length());
        }
    for (CEditAxisView& axes : m_axes)
    {
        axes.SetCentre(CVector3());
        axes.SetScale(radius * 1.2f);
    }
    m_homed = true;
}

void CViewGraphicEditModel::Centre(float& outX, float& outY) const
{
    const TRect2D& r = Viewport().PixelRect();
    outX = r.x + r.w * 0.5f;
    outY = r.y + (r.h + kTitleBarHeight) * 0.5f;
}

int CViewGraphicEditModel::OnCommand(const CInputEvent& event)
{
    const int result = CView::OnCommand(event);
    if (result != 0)
        return result;
    if (event.command == kCommandNone && (event.IsGoingDown() || event.IsRepeat()))
    {
        // The cursor keys move the selected part, Page Up / Down step through the views.
        const bool press = true;
        switch (event.key)
        {
        case DIK_LEFT: if (press) MoveSelected(-1, 0); return kCommandNone;
        case DIK_RIGHT: if (press) MoveSelected(1, 0); return kCommandNone;
        case DIK_UP: if (press) MoveSelected(0, -1); return kCommandNone;
        case DIK_DOWN: if (press) MoveSelected(0, 1); return kCommandNone;
        case DIK_PRIOR: if (event.IsGoingDown()) GuiPostCommand(GuiHost(), UC_GR_EDIT_VIEW_NEXT); return kCommandNone;
        case DIK_NEXT: if (event.IsGoingDown()) GuiPostCommand(GuiHost(), UC_GR_EDIT_VIEW_PREV); return kCommandNone;
        default: break;
        }
    }
    if (!event.IsGoingDown() && !event.IsRepeat())
        return 0;
    const uint32_t command = event.command;
    switch (command)
    {
    case UC_GR_EDIT_VIEW_TOP: SetAxisView(CEditAxisView::TOP); break;
    case UC_GR_EDIT_VIEW_LEFT: SetAxisView(CEditAxisView::LEFT); break;
    case UC_GR_EDIT_VIEW_FRONT: SetAxisView(CEditAxisView::FRONT); break;
    case UC_GR_EDIT_VIEW_BOTTOM: SetAxisView(CEditAxisView::BOTTOM); break;
    case UC_GR_EDIT_VIEW_RIGHT: SetAxisView(CEditAxisView::RIGHT); break;
    case UC_GR_EDIT_VIEW_BACK: SetAxisView(CEditAxisView::BACK); break;
    case UC_GR_EDIT_VIEW_NEXT: SetAxisView(m_view + 1); break;
    case UC_GR_EDIT_VIEW_PREV: SetAxisView(m_view - 1); break;
    case UC_CAMERA_FORWARD: Axes().ZoomIn(); break;
    case UC_CAMERA_BACKWARDS: Axes().ZoomOut(); break;
    case UC_CAMERA_LEFT: Axes().PanHorizontal(-1); break;
    case UC_CAMERA_RIGHT: Axes().PanHorizontal(1); break;
    case UC_CAMERA_UP: Axes().PanVertical(-1); break;
    case UC_CAMERA_DOWN: Axes().PanVertical(1); break;
    case UC_CAMERA_RESET_POSITION: Home(); break;
    case UC_VIEW_MODEL_ARTISTIC: m_showArtistic = !m_showArtistic; break;
    case UC_VIEW_MODEL_PHYSIC: m_showPhysical = !m_showPhysical; break;
    case UC_GR_EDIT_MASS_DISTRIB: m_showMass = !m_showMass; break;
    case UC_GR_EDIT_SHOW_GRID: m_showGrid = !m_showGrid; break;
    default: return m_dialog.OnEditCommand(event);
    }
    return static_cast<int>(command);
}

void CViewGraphicEditModel::MoveSelected(int horizontal, int vertical)
{
    CModel* model = Model();
    CPart* part = model ? model->GetPart(m_dialog.Editor().Selected()) : nullptr;
    CProperty* position = part ? PositionOf(*part) : nullptr;
    if (position == nullptr)
        return;
    const CVector3 start = position->GetVector3();
    const CEditAxisView& axes = Axes();
    const float step = axes.MoveStep(Viewport().PixelRect().h);
    CVector3 p = start;
    float* h = axes.Horizontal() == 0 ? &p.x : axes.Horizontal() == 1 ? &p.y : &p.z;
    float* v = axes.Vertical() == 0 ? &p.x : axes.Vertical() == 1 ? &p.y : &p.z;
    *h += horizontal * step * axes.HorizontalSign();
    *v += vertical * step * axes.VerticalSign();
    position->SetVector3(p);
    part->GetPropertySet().RefreshControls();
    m_dialog.Editor().PropertyChanged();
}

int CViewGraphicEditModel::PartUnder(int mx, int my) const
{
    CModel* model = Model();
    if (model == nullptr)
        return -1;
    float cx = 0.0f, cy = 0.0f;
    Centre(cx, cy);
    int best = -1;
    float bestDistance = static_cast<float>(kPickRadius * kPickRadius);
    for (int i = 0; i < model->GetPartCount(); ++i)
    {
        CVector3 p;
        CPart* part = model->GetPart(i);
        if (part == nullptr || !part->GetPosition(p))
            continue;
        float sx = 0.0f, sy = 0.0f;
        m_axes[m_view].ToScreen(p, cx, cy, Viewport().PixelRect().h, sx, sy);
        const float d = (sx - mx) * (sx - mx) + (sy - my) * (sy - my);
        if (d <= bestDistance)
        {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int CViewGraphicEditModel::OnMouse(const CInputEvent& event)
{
    const int result = CView::OnMouse(event);
    if (result != 0 || IsDragging())
        return result;
    int mx = 0, my = 0;
    GuiMousePosition(GuiHost(), mx, my);
    if (event.key == KEY_MOUSE_LEFT && event.IsGoingDown())
    {
        const int part = PartUnder(mx, my);
        if (part < 0)
            return 0;
        m_dialog.SelectPart(part);
        CPart* selected = Model()->GetPart(part);
        CProperty* position = selected ? PositionOf(*selected) : nullptr;
        if (position != nullptr)
        {
            m_dragPart = part;
            m_startPosition = position->GetVector3();
            m_pressX = mx;
            m_pressY = my;
            m_moved = false;
        }
        return static_cast<int>(UC_UNDEFINED);
    }
    if (event.key == KEY_MOUSE_RIGHT && event.IsGoingDown())
    {
        m_dragView = true;
        m_pressX = mx;
        m_pressY = my;
        m_startCentre = Axes().Centre();
        return static_cast<int>(UC_UNDEFINED);
    }
    if (event.IsGoingUp() && (m_dragPart >= 0 || m_dragView))
    {
        if (m_dragPart >= 0 && m_moved)
            m_dialog.Editor().PropertyChanged();
        m_dragPart = -1;
        m_dragView = false;
        return static_cast<int>(UC_UNDEFINED);
    }
    return 0;
}

void CViewGraphicEditModel::Run()
{
    CView::Run();
    if (!m_homed && Model() != nullptr)
        Home();
    int mx = 0, my = 0;
    GuiMousePosition(GuiHost(), mx, my);
    const int height = Viewport().PixelRect().h;
    if (m_dragPart >= 0)
    {
        CModel* model = Model();
        CPart* part = model ? model->GetPart(m_dragPart) : nullptr;
        CProperty* position = part ? PositionOf(*part) : nullptr;
        if (position == nullptr)
            m_dragPart = -1;
        else
        {
            const CVector3 p = Axes().Drag(m_startPosition, static_cast<float>(mx - m_pressX),
                                           static_cast<float>(my - m_pressY), height);
            if (!(p == position->GetVector3()))
            {
                position->SetVector3(p);
                part->GetPropertySet().RefreshControls();
                m_moved = true;
            }
        }
    }
    else if (m_dragView)
    {
        const CVector3 offset = Axes().ToModel(static_cast<float>(mx), static_cast<float>(my),
                                               static_cast<float>(m_pressX), static_cast<float>(m_pressY), height) -
                                Axes().Centre();
        Axes().SetCentre(m_startCentre - offset);
    }
}

void CViewGraphicEditModel::PreDraw()
{
    CModel* model = Model();
    m_physical->BeginFrame();
    if (model != nullptr && m_showPhysical)
        model->RenderDebug(*m_physical, true, false);
    m_physical->EndFrame();
}

void CViewGraphicEditModel::RenderScene()
{
    if (!IsVisible())
        return;
    if (m_layoutPending)
        Layout();
    AttachArtistic();
    // The object and the outlines are placed in the world where the model flies; the body
    // frame takes them back to the model's own axes, which the overlay draws in.
    if (CModel* model = Model())
    {
        const CEngineDynamic& body = model->GetBody();
        m_bodyFrame->setMatrix(
            osg::Matrix::inverse(CSceneObject::PlacementMatrix(body.GetPosition(), body.GetOrientation(), 1.0f)));
    }
    const CEditAxisView& axes = m_axes[m_view];
    const TRect2D& r = Viewport().PixelRect();
    float cx = 0.0f, cy = 0.0f;
    Centre(cx, cy);
    float left = 0.0f, right = 0.0f, bottom = 0.0f, top = 0.0f;
    axes.OrthoExtents(r.x, r.y, r.w, r.h, cx, cy, left, right, bottom, top);
    Viewport().SetOrthographic(left, right, bottom, top, 0.0f, 2.0f * kEyeDistance);
    const CMatrix3 camera = axes.CameraAxes();
    Viewport().SetEye(axes.Centre() + camera.row[2] * kEyeDistance, camera);
    // Light from over the viewer's shoulder, so faces turned to the view are lit.
    const CVector3 toLight = camera.row[2] + camera.row[1] * 0.5f + camera.row[0] * 0.3f;
    m_light->getLight()->setPosition(osg::Vec4(toLight.x, toLight.y, toLight.z, 0.0f));
    // The flight views switch the shared object for themselves before they draw.
    if (m_presentation != nullptr)
        m_presentation->SetObjectVisible(true);
    Viewport().Render(0.0, true);
}

void CViewGraphicEditModel::Draw()
{
    const TRect2D& r = Viewport().PixelRect();
    CModel* model = Model();
    const CEditAxisView& axes = m_axes[m_view];
    float cx = 0.0f, cy = 0.0f;
    Centre(cx, cy);
    const int height = r.h;
    const float step = axes.MoveStep(height);
    const int saved = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    CFontList& fonts = Fonts();
    if (m_showGrid)
    {
        const float grid = axes.GridStep();
        const CVector3 topLeft = axes.ToModel(static_cast<float>(r.x), static_cast<float>(r.y), cx, cy, height);
        const float pixels = grid / step;
        if (pixels >= 4.0f)
        {
            // Lines at the multiples of the grid step, the model's axes brighter.
            float ox = 0.0f, oy = 0.0f;
            axes.ToScreen(CVector3(), cx, cy, height, ox, oy);
            const float firstX = ox - std::floor((ox - r.x) / pixels) * pixels;
            const float firstY = oy - std::floor((oy - r.y) / pixels) * pixels;
            SetColor(kGridColour);
            for (float x = firstX; x < r.x + r.w; x += pixels)
                DrawLine(x, static_cast<float>(r.y + kTitleBarHeight), x, static_cast<float>(r.y + r.h));
            for (float y = std::max(firstY, static_cast<float>(r.y + kTitleBarHeight)); y < r.y + r.h; y += pixels)
                DrawLine(static_cast<float>(r.x), y, static_cast<float>(r.x + r.w), y);
            SetColor(kAxisColour);
            if (ox >= r.x && ox < r.x + r.w)
                DrawLine(ox, static_cast<float>(r.y + kTitleBarHeight), ox, static_cast<float>(r.y + r.h));
            if (oy >= r.y + kTitleBarHeight && oy < r.y + r.h)
                DrawLine(static_cast<float>(r.x), oy, static_cast<float>(r.x + r.w), oy);
        }
        (void)topLeft;
        SetColor(30);
        fonts.DrawText(fonts.f07x12S, static_cast<float>(r.x + r.w - 120), static_cast<float>(r.y + kTitleBarHeight + 4),
                       "grid " + GridLabel(grid) + ", " + kViewNames[m_view], 1.0f);
    }
    if (model != nullptr)
    {
        if (m_showMass)
        {
            SetColor(TColor{90, 160, 255, 160});
            for (int i = 0; i < model->GetPartCount(); ++i)
            {
                CPart* part = model->GetPart(i);
                CPartPhysic* physic = part ? part->AsPhysic() : nullptr;
                if (physic == nullptr)
                    continue;
                for (const TPointMass& sample : physic->GetMassElement().Points())
                {
                    float sx = 0.0f, sy = 0.0f;
                    axes.ToScreen(sample.position, cx, cy, height, sx, sy);
                    FillRect(static_cast<int>(sx) - 1, static_cast<int>(sy) - 1, 3, 3);
                }
            }
        }
        const int selected = m_dialog.Editor().Selected();
        for (int i = 0; i < model->GetPartCount(); ++i)
        {
            CPart* part = model->GetPart(i);
            CVector3 p;
            if (part == nullptr || !part->GetPosition(p))
                continue;
            float sx = 0.0f, sy = 0.0f;
            axes.ToScreen(p, cx, cy, height, sx, sy);
            if (sx < r.x || sy < r.y + kTitleBarHeight || sx >= r.x + r.w || sy >= r.y + r.h)
                continue;
            if (m_showPhysical)
            {
                const int icon = SpriteList().Find(GetPartClass(part->GetClassIndex())->blockToken);
                // Sprites take the current colour: white keeps their own.
                SetColor(TColor{255, 255, 255, 255});
                if (icon >= 0)
                    DrawSprite(icon, sx - 8.0f, sy - 8.0f, 16.0f, 16.0f);
                else
                {
                    SetColor(24);
                    FillRect(static_cast<int>(sx) - 3, static_cast<int>(sy) - 3, 7, 7);
                }
            }
            if (i == selected)
            {
                SetColor(21);
                DrawRect(static_cast<int>(sx) - 10, static_cast<int>(sy) - 10, 21, 21);
            }
            if (m_showArtistic)
            {
                SetColor(i == selected ? 21 : 20);
                fonts.DrawText(fonts.f07x12S, sx + 11.0f, sy - 6.0f, part->GetName(), 1.0f);
            }
        }
        // Centre of mass: a cross.
        const CMassElement& mass = model->GetMassAccumulator();
        float mx = 0.0f, my = 0.0f;
        axes.ToScreen(mass.CentreOfMass(), cx, cy, height, mx, my);
        SetColor(27);
        DrawLine(mx - 8.0f, my, mx + 8.0f, my);
        DrawLine(mx, my - 8.0f, mx, my + 8.0f);
        SetColor(20);
        const CVector3& c = mass.CentreOfMass();
        fonts.DrawText(fonts.f07x12S, static_cast<float>(r.x + 20), static_cast<float>(r.y + 78 + kTitleBarHeight),
                       StringPrintf("Mass %3.3fkg (%3.3f,%3.3f,%3.3f)", mass.Mass(), c.x, c.y, c.z), 1.0f);
    }
    int px = 0, py = 0;
    GuiMousePosition(GuiHost(), px, py);
    const CVector3 under = axes.ToModel(static_cast<float>(px), static_cast<float>(py), cx, cy, height);
    const float h = axes.Horizontal() == 0 ? under.x : axes.Horizontal() == 1 ? under.y : under.z;
    const float v = axes.Vertical() == 0 ? under.x : axes.Vertical() == 1 ? under.y : under.z;
    SetColor(20);
    fonts.DrawText(fonts.f07x12S, static_cast<float>(r.x + 20), static_cast<float>(r.y + 62 + kTitleBarHeight),
                   StringPrintf("%3.3f %3.3f", h, v), 1.0f);
    SetTextAlign(saved);
    CView::Draw();
    // The pressed view button.
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (kTools[i].command == kViewCommands[m_view] ||
            (kTools[i].command == UC_GR_EDIT_SHOW_GRID && m_showGrid) ||
            (kTools[i].command == UC_VIEW_MODEL_ARTISTIC && m_showArtistic) ||
            (kTools[i].command == UC_VIEW_MODEL_PHYSIC && m_showPhysical) ||
            (kTools[i].command == UC_GR_EDIT_MASS_DISTRIB && m_showMass))
        {
            const TRect2D b = m_buttons[i]->AbsoluteRect();
            SetColor(21);
            DrawRect(b.x, b.y, b.w, b.h);
        }
}
