#include "editor/CEditAxisView.h"

#include <algorithm>
#include <cmath>

namespace
{
float& Axis(CVector3& v, int axis)
{
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}
float Axis(const CVector3& v, int axis)
{
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

struct TAxisMap
{
    int h;
    float hSign;
    int v;
    float vSign;
};
// The nose points to -Z, up is +Y, the right wing +X; screen y grows downwards.
constexpr TAxisMap kMaps[CEditAxisView::COUNT] = {
    {0, 1.0f, 2, 1.0f},   // top: seen from above, nose up
    {2, 1.0f, 1, -1.0f},  // left: seen from the left wing, nose to the left
    {0, -1.0f, 1, -1.0f}, // front: looking at the nose
    {0, 1.0f, 2, -1.0f},  // bottom: seen from below, nose down
    {2, -1.0f, 1, -1.0f}, // right: seen from the right wing, nose to the right
    {0, 1.0f, 1, -1.0f},  // back: looking forward from behind
};
} // namespace

CEditAxisView::CEditAxisView(int view)
{
    const TAxisMap& map = kMaps[std::clamp(view, 0, COUNT - 1)];
    m_h = map.h;
    m_hSign = map.hSign;
    m_v = map.v;
    m_vSign = map.vSign;
}

void CEditAxisView::SetScale(float scale)
{
    m_scale = std::clamp(scale, kMinScale, kMaxScale);
}

void CEditAxisView::ZoomIn()
{
    m_scale = std::max(m_scale / kZoom, kMinScale);
}

void CEditAxisView::ZoomOut()
{
    m_scale = std::min(m_scale * kZoom, kMaxScale);
}

void CEditAxisView::PanHorizontal(int direction)
{
    Axis(m_centre, m_h) += direction * m_scale * kPanFraction * m_hSign;
}

void CEditAxisView::PanVertical(int direction)
{
    Axis(m_centre, m_v) += direction * m_scale * kPanFraction * m_vSign;
}

float CEditAxisView::MoveStep(int viewportHeight) const
{
    return 2.0f * m_scale / static_cast<float>(std::max(viewportHeight, 1));
}

float CEditAxisView::GridStep() const
{
    const float exponent = std::floor(std::log10(m_scale)) - 1.0f;
    return std::clamp(std::pow(10.0f, exponent), 1.0e-4f, 10.0f);
}

void CEditAxisView::ToScreen(const CVector3& model, float cx, float cy, int viewportHeight, float& outX,
                             float& outY) const
{
    const float step = MoveStep(viewportHeight);
    outX = cx + (Axis(model, m_h) - Axis(m_centre, m_h)) * m_hSign / step;
    outY = cy + (Axis(model, m_v) - Axis(m_centre, m_v)) * m_vSign / step;
}

CVector3 CEditAxisView::ToModel(float sx, float sy, float cx, float cy, int viewportHeight) const
{
    const float step = MoveStep(viewportHeight);
    CVector3 p = m_centre;
    Axis(p, m_h) += (sx - cx) * step * m_hSign;
    Axis(p, m_v) += (sy - cy) * step * m_vSign;
    return p;
}

float CEditAxisView::Snap(float value, float grid)
{
    if (grid <= 0.0f)
        return value;
    return std::round(value / grid) * grid;
}

CVector3 CEditAxisView::Drag(const CVector3& start, float dxPixels, float dyPixels, int viewportHeight) const
{
    const float step = MoveStep(viewportHeight);
    const float grid = GridStep();
    CVector3 p = start;
    Axis(p, m_h) = Snap(Axis(start, m_h) + dxPixels * step * m_hSign, grid);
    Axis(p, m_v) = Snap(Axis(start, m_v) + dyPixels * step * m_vSign, grid);
    return p;
}

CMatrix3 CEditAxisView::CameraAxes() const
{
    CMatrix3 axes;
    CVector3 right, up;
    Axis(right, m_h) = m_hSign;
    Axis(up, m_v) = -m_vSign; // screen y grows downwards
    axes.row[0] = right;
    axes.row[1] = up;
    axes.row[2] = right.Cross(up);
    return axes;
}

void CEditAxisView::OrthoExtents(int x, int y, int width, int height, float cx, float cy, float& outLeft,
                                 float& outRight, float& outBottom, float& outTop) const
{
    const float step = MoveStep(height);
    outLeft = (static_cast<float>(x) - cx) * step;
    outRight = (static_cast<float>(x + width) - cx) * step;
    outTop = (cy - static_cast<float>(y)) * step;
    outBottom = (cy - static_cast<float>(y + height)) * step;
}
