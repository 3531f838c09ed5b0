#pragma once
// One of the six axis-aligned views of the graphic model editor: which model axes map to the
// screen's horizontal and vertical directions (and their signs), the point looked at and the
// scale (half the visible height, m). Pure arithmetic, so that zoom, panning, picking and grid
// snapping can be checked without a window.
//
// Screen (pixels, y down) from model (body frame, m):
//   sx = cx + (p[h] - c[h]) * hSign / step,  sy = cy + (p[v] - c[v]) * vSign / step,
// with step = MoveStep(viewport height) metres per pixel and (cx, cy) the viewport centre.

#include "core/CMatrix3.h"
#include "core/CVector3.h"

class CEditAxisView
{
public:
    enum EAxisView { TOP = 0, LEFT = 1, FRONT = 2, BOTTOM = 3, RIGHT = 4, BACK = 5, COUNT = 6 };
    static constexpr float kMinScale = 0.01f;  // m
    static constexpr float kMaxScale = 100.0f; // m
    static constexpr float kZoom = 1.1f;
    static constexpr float kPanFraction = 0.04f; // of the scale per pan command

    explicit CEditAxisView(int view = TOP);

    int Horizontal() const { return m_h; }
    int Vertical() const { return m_v; }
    float HorizontalSign() const { return m_hSign; }
    float VerticalSign() const { return m_vSign; }
    float Scale() const { return m_scale; }
    void SetScale(float scale);
    const CVector3& Centre() const { return m_centre; }
    void SetCentre(const CVector3& centre) { m_centre = centre; }

    void ZoomIn();  // scale / 1.1, at least kMinScale
    void ZoomOut(); // scale * 1.1, at most kMaxScale
    // direction -1 / +1 along the screen's horizontal / vertical axis.
    void PanHorizontal(int direction);
    void PanVertical(int direction);

    // Metres per pixel for a viewport of that height.
    float MoveStep(int viewportHeight) const;
    // The grid spacing (m) shown at this scale: a power of ten from 100 um to 10 m.
    float GridStep() const;
    void ToScreen(const CVector3& model, float cx, float cy, int viewportHeight, float& outX, float& outY) const;
    // The model point under a pixel, in the view plane (the third axis from the centre).
    CVector3 ToModel(float sx, float sy, float cx, float cy, int viewportHeight) const;
    // value rounded to the nearest multiple of grid (halves away from zero).
    static float Snap(float value, float grid);
    // Start position moved by a pixel movement, both in-plane coordinates snapped to the grid.
    CVector3 Drag(const CVector3& start, float dxPixels, float dyPixels, int viewportHeight) const;

    // The camera of the 3D picture under the overlay: rows = camera axes in model axes (+x to the
    // screen's right, +y up, looking along -z), right-handed, so that a model point lands on the
    // pixel ToScreen gives it.
    CMatrix3 CameraAxes() const;
    // The orthographic volume (camera metres, from the camera's axis through the centre) of a
    // viewport of x, y, width, height pixels whose overlay centre is the pixel (cx, cy).
    void OrthoExtents(int x, int y, int width, int height, float cx, float cy, float& outLeft, float& outRight,
                      float& outBottom, float& outTop) const;

private:
    int m_h = 0, m_v = 2;
    float m_hSign = 1.0f, m_vSign = 1.0f;
    float m_scale = 1.0f;
    CVector3 m_centre;
};
