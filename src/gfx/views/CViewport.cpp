#include "gfx/views/CViewport.h"

#include <osg/GL>
#include <osg/Group>
#include <osg/PolygonMode>
#include <osg/State>
#include <osg/StateSet>
#include <osg/DisplaySettings>
#include <osgUtil/SceneView>
#include <osgUtil/Statistics>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/Diagnostics.h"

namespace
{
// One GL context, one record of its state: see the class comment.
osg::ref_ptr<osg::State>& SharedState()
{
    static osg::ref_ptr<osg::State> state;
    return state;
}
} // namespace

CViewport::CViewport() : m_root(new osg::Group)
{
    SetNormalisedRect(0.0f, 0.0f, 1.0f, 1.0f);
}

CViewport::~CViewport() = default;

void CViewport::SetPixelRect(const TRect2D& rect)
{
    m_pixel = rect;
    const float width = static_cast<float>(std::max(1, WindowClientWidth()));
    const float height = static_cast<float>(std::max(1, WindowClientHeight()));
    m_nx = static_cast<float>(rect.x) / width;
    m_ny = static_cast<float>(rect.y) / height;
    m_nw = static_cast<float>(rect.w) / width;
    m_nh = static_cast<float>(rect.h) / height;
}

void CViewport::SetNormalisedRect(float x, float y, float w, float h)
{
    m_nx = x;
    m_ny = y;
    m_nw = w;
    m_nh = h;
    Relayout();
}

void CViewport::GetNormalisedRect(float& outX, float& outY, float& outW, float& outH) const
{
    outX = m_nx;
    outY = m_ny;
    outW = m_nw;
    outH = m_nh;
}

void CViewport::Relayout()
{
    const float width = static_cast<float>(WindowClientWidth());
    const float height = static_cast<float>(WindowClientHeight());
    m_pixel.x = static_cast<int>(std::lround(m_nx * width));
    m_pixel.y = static_cast<int>(std::lround(m_ny * height));
    m_pixel.w = static_cast<int>(std::lround(m_nw * width));
    m_pixel.h = static_cast<int>(std::lround(m_nh * height));
}

void CViewport::GetGlRect(int& outX, int& outY, int& outW, int& outH) const
{
    outX = m_pixel.x;
    outY = WindowClientHeight() - m_pixel.y - m_pixel.h;
    outW = m_pixel.w;
    outH = m_pixel.h;
}

void CViewport::SetPerspective(float hfovDeg, float aspect, float nearM, float farM)
{
    m_hfov = hfovDeg;
    m_aspect = aspect > 0.0f ? aspect : 4.0f / 3.0f;
    m_near = nearM;
    m_far = farM;
    m_orthographic = false;
}

void CViewport::SetOrthographic(float left, float right, float bottom, float top, float nearM, float farM)
{
    m_orthographic = true;
    m_orthoLeft = left;
    m_orthoRight = right;
    m_orthoBottom = bottom;
    m_orthoTop = top;
    m_near = nearM;
    m_far = farM;
}

void CViewport::SetEye(const CVector3& position, const CMatrix3& orientation)
{
    m_eyePosition = position;
    m_eyeOrientation = orientation;
}

osg::Matrixd CViewport::ViewMatrix() const
{
    // Camera to world: rows are the camera axes (row vectors, as OSG uses them), then the position.
    const CMatrix3& m = m_eyeOrientation;
    const osg::Matrixd cameraToWorld(m.row[0].x, m.row[0].y, m.row[0].z, 0.0, m.row[1].x, m.row[1].y, m.row[1].z, 0.0,
                                     m.row[2].x, m.row[2].y, m.row[2].z, 0.0, m_eyePosition.x, m_eyePosition.y,
                                     m_eyePosition.z, 1.0);
    return osg::Matrixd::inverse(cameraToWorld);
}

osg::Matrixd CViewport::ProjectionMatrix() const
{
    if (m_orthographic)
        return osg::Matrixd::ortho(m_orthoLeft, m_orthoRight, m_orthoBottom, m_orthoTop, m_near, m_far);
    // The pixel shape wins over the nominal 4:3 so a resized window does not stretch the scene.
    const double aspect = m_pixel.w > 0 && m_pixel.h > 0 ? static_cast<double>(m_pixel.w) / m_pixel.h : m_aspect;
    const double halfH = osg::DegreesToRadians(static_cast<double>(m_hfov)) / 2.0;
    const double vfov = 2.0 * std::atan(std::tan(halfH) / aspect);
    return osg::Matrixd::perspective(osg::RadiansToDegrees(vfov), aspect, m_near, m_far);
}

void CViewport::CyclePolygonMode()
{
    m_polygonMode = (m_polygonMode + 1) % 3;
    m_polygonModeApplied = true;
    static const osg::PolygonMode::Mode modes[3] = {osg::PolygonMode::POINT, osg::PolygonMode::LINE,
                                                     osg::PolygonMode::FILL};
    m_root->getOrCreateStateSet()->setAttributeAndModes(
        new osg::PolygonMode(osg::PolygonMode::FRONT_AND_BACK, modes[m_polygonMode]),
        osg::StateAttribute::ON | osg::StateAttribute::OVERRIDE);
}

void CViewport::SetScene(osg::Node* root)
{
    if (m_scene.valid())
        m_root->removeChild(m_scene.get());
    m_scene = root;
    if (root)
        m_root->addChild(root);
}

void CViewport::Render(double simulatedTime, bool clear)
{
    if (m_pixel.w <= 0 || m_pixel.h <= 0)
        return;
    if (!m_sceneView.valid())
    {
        // One GL context for the whole program: OpenSceneGraph may then drop a texture's
        // image once it is uploaded (see env/SceneCache.h) instead of keeping it for contexts
        // that never come.
        osg::DisplaySettings::instance()->setMaxNumberOfGraphicsContexts(1);
        m_sceneView = new osgUtil::SceneView;
        m_sceneView->setDefaults(osgUtil::SceneView::STANDARD_SETTINGS);
        if (!SharedState().valid())
            SharedState() = m_sceneView->getState();
        else
            m_sceneView->setState(SharedState().get());
        // The scene sets its own light; the head light of the defaults would add to it.
        m_sceneView->setLightingMode(osgUtil::SceneView::NO_SCENEVIEW_LIGHT);
        m_sceneView->setComputeNearFarMode(osg::CullSettings::DO_NOT_COMPUTE_NEAR_FAR);
        m_sceneView->setSceneData(m_root.get());
        m_sceneView->setClearColor(m_clearColor);
    }
    int x = 0, y = 0, w = 0, h = 0;
    GetGlRect(x, y, w, h);
    m_sceneView->setViewport(x, y, w, h);
    m_sceneView->setProjectionMatrix(ProjectionMatrix());
    m_sceneView->setViewMatrix(ViewMatrix());
    m_sceneView->getCamera()->setClearMask(clear ? (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT) : GL_DEPTH_BUFFER_BIT);
    osg::FrameStamp* stamp = m_sceneView->getFrameStamp();
    if (!stamp)
    {
        m_sceneView->setFrameStamp(new osg::FrameStamp);
        stamp = m_sceneView->getFrameStamp();
    }
    stamp->setSimulationTime(simulatedTime);
    stamp->setReferenceTime(simulatedTime);
    stamp->setFrameNumber(stamp->getFrameNumber() + 1);
    m_sceneView->update();
    m_sceneView->cull();
    m_sceneView->draw();
}

void CViewport::SetClearColor(float r, float g, float b)
{
    m_clearColor = osg::Vec4(r, g, b, 1.0f);
    if (m_sceneView.valid())
        m_sceneView->setClearColor(m_clearColor);
}

void CViewport::ApplyForImmediateDrawing() const
{
    int x = 0, y = 0, w = 0, h = 0;
    GetGlRect(x, y, w, h);
    glViewport(x, y, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(ProjectionMatrix().ptr());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(ViewMatrix().ptr());
}

std::string CViewport::Describe() const
{
    const double aspect = m_pixel.h > 0 ? static_cast<double>(m_pixel.w) / m_pixel.h : m_aspect;
    std::string text = StringPrintf("RectPixel [x %i, y %i, w %i, h %i]\n", m_pixel.x, m_pixel.y, m_pixel.w, m_pixel.h);
    text += StringPrintf("Normalized[x %f, y %f, w %f, h %f]\n", m_nx, m_ny, m_nw, m_nh);
    text += StringPrintf("HFOV [%f]\n", m_hfov);
    text += StringPrintf("AspectH2V [%f]\n", aspect);
    text += StringPrintf("Persp Near [%f]\n", m_near);
    text += StringPrintf("Persp Far [%f]\n", m_far);
    text += StringPrintf("Ortho Near [%f]\n", m_near);
    text += StringPrintf("Ortho Far [%f]\n", m_far);
    text += StringPrintf("Ortho meters [Left %f, Right %f, Top %f, Bottom %f]\n", m_orthoLeft, m_orthoRight, m_orthoTop,
                         m_orthoBottom);
    return text;
}

std::string CViewport::DescribeSceneStatistics() const
{
    if (!m_scene.valid())
        return "Scene graph: empty\n";
    osgUtil::StatsVisitor stats;
    m_scene->accept(stats);
    stats.totalUpStats();
    std::ostringstream text;
    text << "Scene graph statistics\n";
    stats.print(text);
    return text.str();
}
