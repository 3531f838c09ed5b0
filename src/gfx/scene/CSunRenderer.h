#pragma once
// Draws the sun's disc and glare as camera-facing billboards in the 3D pass (after the scene
// graph), and the sun's diagnostic display. Needs a current GL context; every call saves and
// restores the GL state it touches, so it can sit between OSG passes.
//
// Disc: sprite "Sun1", 100 x 100 units, colour (100, 100, 100, 255), at camera + 500 D (drawn
// at night too, below the horizon). Glare: sprite "Sun2", 2000 x 2000 units at camera + 490 D,
// alpha = glare * 255, depth test off; only while the glare is above 0.

#include "core/CVector3.h"

#include <osg/Matrix>

class CSun;

class CSunRenderer
{
public:
    // Looks up "Sun1" and "Sun2" in the program's sprite list (reported once when missing; the
    // missing billboard is then not drawn).
    CSunRenderer();

    // view: the camera's view matrix (world -> eye), projection: its projection, both as OSG
    // hands them to GL. Draws into the current viewport.
    void DrawDisc(const CSun& sun, const osg::Matrixd& view, const osg::Matrixd& projection,
                  const CVector3& cameraPosition) const;
    // Advances the sun's glare with the camera's forward direction and the frame time (s),
    // then draws it.
    void DrawGlare(CSun& sun, const osg::Matrixd& view, const osg::Matrixd& projection,
                   const CVector3& cameraPosition, const CVector3& cameraForward, float frameTime) const;

    // Three 20 x 20 swatches at (50, 50), (50, 72), (50, 94) labelled "Ambient", "Diffuse",
    // "Specular" at x = 70, and the lighting table as a graph in 100 x 100 at (50, 116). In the
    // current 2D projection (window pixels, y down).
    static void DrawDiagnostics(const CSun& sun);

    // The viewport to draw into (GL pixels, origin bottom-left), as the view's camera has it;
    // the scene graph does not leave its viewport behind in GL. Unset: the current GL viewport.
    void SetViewport(int x, int y, int width, int height)
    {
        m_viewport[0] = x;
        m_viewport[1] = y;
        m_viewport[2] = width;
        m_viewport[3] = height;
    }

    int GetDiscSprite() const { return m_disc; }
    int GetGlareSprite() const { return m_glare; }

private:
    int m_disc = -1;
    int m_glare = -1;
    int m_viewport[4] = {0, 0, 0, 0};
};
