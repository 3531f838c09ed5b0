#pragma once
// The graphic model editor: the model's parts seen along one of six axes (top, left, front,
// bottom, right, back) with a grid and its scale label, each part drawn at its position with
// its type's icon (the physical representation) and its name (the artistic labels), the mass
// samples of the parts (mass distribution) and the centre of mass.
//
// Mouse: a left press on a part selects it in the part editor and drags it; its two in-plane
// coordinates follow the mouse, snapped to the grid, and the drag is one undo step. The right
// button drags the view. Keys: the cursor keys move the selected part by one pixel's worth of
// metres, Page Up / Page Down step through the views; the camera commands zoom (the scale stays
// within 0.01 .. 100 m) and pan; Home centres the model.
// 3D: under the overlay the view renders a scene of its own ("ViewEdit": no terrain, no sky)
// through an orthographic camera along the current axis, centred and scaled like the overlay:
// the model's 3D object (artistic; the flight scene's node, shared, not copied) and the parts'
// outlines (physical), both brought from the world into the model's body frame.
// Text: the mouse position in the view plane and "Mass %3.3fkg (%3.3f,%3.3f,%3.3f)".

#include <memory>
#include <string>
#include <vector>

#include <osg/Group>
#include <osg/LightSource>
#include <osg/MatrixTransform>
#include <osg/ref_ptr>

#include "editor/CEditAxisView.h"
#include "gfx/views/CView.h"

class CCI_Button;
class CDebugDraw3D;
class CModelPresentation;
class CModel;
class CViewDialogEditModel;

class CViewGraphicEditModel : public CView
{
public:
    CViewGraphicEditModel(const std::string& name, CViewDialogEditModel& dialog);
    ~CViewGraphicEditModel() override;

    // The flight scene's model presentation whose 3D object the view shows (may be null; must
    // outlive the view or be reset to null first).
    void SetPresentation(CModelPresentation* presentation);

    int OnCommand(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Run() override;
    void PreDraw() override;
    void RenderScene() override;
    void Draw() override;

    // The view index 0 .. 5 (CEditAxisView order).
    void SetAxisView(int view);
    int AxisView() const { return m_view; }
    CEditAxisView& Axes() { return m_axes[m_view]; }
    // Centre (0, 0, 0) and the scale of every view to twice the model's radius.
    void Home();

    bool m_showGrid = true;
    bool m_showArtistic = true;
    bool m_showPhysical = true;
    bool m_showMass = false;

private:
    CModel* Model() const;
    void MoveSelected(int horizontal, int vertical);
    int PartUnder(int mx, int my) const;
    void Centre(float& outX, float& outY) const;
    // The model's 3D object under the body frame when it should show, else nothing.
    void AttachArtistic();

    CViewDialogEditModel& m_dialog;
    CEditAxisView m_axes[CEditAxisView::COUNT];
    int m_view = CEditAxisView::TOP;
    std::vector<std::unique_ptr<CCI_Button>> m_buttons;
    CControlPageEx m_toolbar;
    // Dragging a part (left button) or the view (right button).
    int m_dragPart = -1;
    bool m_dragView = false;
    int m_pressX = 0, m_pressY = 0;
    CVector3 m_startPosition;
    CVector3 m_startCentre;
    bool m_moved = false;
    bool m_homed = false;
    // The 3D scene: root -> light, body frame (world -> body) -> [3D object], outlines.
    CModelPresentation* m_presentation = nullptr;
    osg::ref_ptr<osg::Group> m_sceneRoot;
    osg::ref_ptr<osg::LightSource> m_light;
    osg::ref_ptr<osg::MatrixTransform> m_bodyFrame;
    osg::ref_ptr<osg::Node> m_artistic; // the node attached to m_bodyFrame, if any
    std::unique_ptr<CDebugDraw3D> m_physical;
};
