#pragma once
// The rectangle of the application window a view draws into, and the 3D camera onto a scene
// that fills it. The rectangle is kept both in pixels (origin top-left) and as fractions of the
// window, so a resize re-lays out every view at the same proportions; OpenGL gets it with its y
// axis flipped (bottom = window height - y - height).
//
// Rendering goes through an osgUtil::SceneView created on the first render (so the rectangle
// logic runs without a GL context). Every viewport shares one osg::State: they draw into the
// same context, and separate states would each believe they know what is bound.
//
// Wireframe: the polygon-mode index cycles 0 -> 1 -> 2 -> 0; 0 shows points, 1 lines, 2 filled
// polygons. Until the first cycle no polygon-mode attribute is applied at all (index 0, filled).

#include <osg/Matrixd>
#include <osg/Node>
#include <osg/Vec4>
#include <osg/ref_ptr>
#include <string>

#include "core/CMatrix3.h"
#include "core/CVector3.h"
#include "gfx/draw2d/Draw2D.h"

namespace osg
{
class Group;
class StateSet;
} // namespace osg
namespace osgUtil
{
class SceneView;
}

class CViewport
{
public:
    CViewport();
    ~CViewport();
    CViewport(const CViewport&) = delete;
    CViewport& operator=(const CViewport&) = delete;

    // Pixel rectangle (window pixels, y down); recomputes the normalised one.
    void SetPixelRect(const TRect2D& rect);
    const TRect2D& PixelRect() const { return m_pixel; }
    // Fractions of the window; recomputes the pixel one.
    void SetNormalisedRect(float x, float y, float w, float h);
    void GetNormalisedRect(float& outX, float& outY, float& outW, float& outH) const;
    // After a window resize: the pixel rectangle from the normalised one.
    void Relayout();
    // The rectangle as OpenGL wants it (y from the bottom).
    void GetGlRect(int& outX, int& outY, int& outW, int& outH) const;

    // Perspective: horizontal field of view (deg), aspect width/height, planes (m).
    void SetPerspective(float hfovDeg, float aspect, float nearM, float farM);
    // Orthographic (the model editor's axis views): the view volume in camera metres; the next
    // SetPerspective goes back to perspective.
    void SetOrthographic(float left, float right, float bottom, float top, float nearM, float farM);
    bool IsOrthographic() const { return m_orthographic; }
    void SetNearPlane(float nearM) { m_near = nearM; }
    float NearPlane() const { return m_near; }
    float FarPlane() const { return m_far; }
    float HorizontalFov() const { return m_hfov; }
    // Eye at position (world, m) with orientation rows = camera axes (+x right, +y up, looking
    // along -z), the body convention of the flight model.
    void SetEye(const CVector3& position, const CMatrix3& orientation);
    const CVector3& EyePosition() const { return m_eyePosition; }
    osg::Matrixd ViewMatrix() const;
    osg::Matrixd ProjectionMatrix() const;

    // 0 points (or nothing applied yet), 1 lines, 2 filled.
    void CyclePolygonMode();
    int PolygonModeIndex() const { return m_polygonMode; }
    // Points or lines are applied (the wireframe debug switch is on).
    bool IsWireframe() const { return m_polygonModeApplied && m_polygonMode != 2; }

    // The scene the viewport draws (shared between viewports; not copied).
    void SetScene(osg::Node* root);
    osg::Node* Scene() const { return m_scene.get(); }
    // The wrapper that carries this viewport's own state (polygon mode) above the scene.
    osg::Group* Root() const { return m_root.get(); }

    // Update, cull and draw into the current GL context; the clear colour is the sky's.
    void Render(double simulatedTime, bool clear);
    void SetClearColor(float r, float g, float b);
    // glViewport and the matrices of this camera, for immediate-mode 3D drawing after Render.
    void ApplyForImmediateDrawing() const;

    // "RectPixel [x ...]" etc.: the description the debug-text switch shows.
    std::string Describe() const;
    // Node, drawable and primitive counts of the scene (the scene-graph statistics switch).
    std::string DescribeSceneStatistics() const;

private:
    TRect2D m_pixel;
    float m_nx = 0.0f, m_ny = 0.0f, m_nw = 1.0f, m_nh = 1.0f;
    float m_hfov = 45.0f;   // deg
    float m_aspect = 4.0f / 3.0f;
    float m_near = 0.1f;    // m
    float m_far = 15000.0f; // m
    bool m_orthographic = false;
    float m_orthoLeft = 0.0f, m_orthoRight = 0.0f, m_orthoBottom = 0.0f, m_orthoTop = 0.0f; // m
    CVector3 m_eyePosition;
    CMatrix3 m_eyeOrientation;
    int m_polygonMode = 0;
    bool m_polygonModeApplied = false; // false: the scene's own (filled) polygons
    osg::Vec4 m_clearColor{0.45f, 0.62f, 0.85f, 1.0f};
    osg::ref_ptr<osg::Node> m_scene;
    osg::ref_ptr<osg::Group> m_root;
    osg::ref_ptr<osgUtil::SceneView> m_sceneView; // created on the first Render
};
