#pragma once
// The flight model's debug drawing (part outlines, force arrows, mass points), the terrain's
// collision triangles and the wind, as 3D line geometry in the scene. Rebuilt every frame:
// BeginFrame empties it, the drawers add to it, EndFrame hands the arrays to the scene graph.
// Everything is in world coordinates and palette colours (Palette.h).
//
// The terrain's outline (every triangle in palette colour 27) is built once per mesh and kept;
// per frame only the highlight is added: the current triangle's neighbours in 37 and the
// current triangle in 21. Texts are projected and drawn in 2D by DrawTexts after the 3D pass.

#include <string>
#include <vector>

#include <osg/Geode>
#include <osg/Geometry>
#include <osg/Group>
#include <osg/Matrix>
#include <osg/ref_ptr>

#include "gfx/draw2d/Draw2D.h"
#include "model/IDebugDraw.h"

class CCollisionMesh;
class CThermalField;
class CWind;
class ITerrain;

class CDebugDraw3D : public IDebugDraw
{
public:
    static constexpr int kTriangleColour = 27;
    static constexpr int kNeighbourColour = 37;
    static constexpr int kCurrentTriangleColour = 21;

    CDebugDraw3D();
    ~CDebugDraw3D() override;
    CDebugDraw3D(const CDebugDraw3D&) = delete;
    CDebugDraw3D& operator=(const CDebugDraw3D&) = delete;

    // The node to add to a scene (lighting off, depth tested, drawn after the opaque scene).
    osg::Group* GetNode() const { return m_root.get(); }

    void BeginFrame();
    void EndFrame();

    void Line(const CVector3& from, const CVector3& to, int colour) override;
    void Point(const CVector3& at, int colour, float sizePixels) override;
    void Text(const CVector3& at, const std::string& text, int colour) override;

    // The terrain's triangles (see the class comment); the outline is hidden when not called
    // in a frame.
    void DrawCollisionMesh(const CCollisionMesh& mesh);
    // The wind: the mean wind as an arrow 2 m above around (colour 30), every turbulence blob as
    // a cross at its centre with its amplitude as a line (colour 33), and the vertical air (the
    // thermals' and the slope's) as upright sticks 10 m per m/s on a 20 m grid around, rising in
    // kRisingColour, sinking in kSinkingColour, with the figure at around.
    void DrawWind(const CWind& wind, const CVector3& around);
    // The thermals within kThermalReach of around, for training: each as a ring of its core's
    // radius on the ground and a faint column up to kThermalColumn above it, brighter the
    // stronger it is now. terrain may be null (ground at 0).
    void DrawThermals(const CThermalField& thermals, const ITerrain* terrain, const CVector3& around);
    static constexpr int kRisingColour = 25;      // light green
    static constexpr int kSinkingColour = 22;     // light red
    static constexpr int kWeakThermalColour = 26; // dark green
    static constexpr float kThermalReach = 2500.0f; // m
    static constexpr float kVerticalAirScale = 10.0f; // m of stick per m/s
    static constexpr float kThermalColumn = 600.0f; // m

    // Draws the frame's texts at the projected points inside the view's rectangle (window
    // pixels, y down), with a 2D guard around (needs a GL context).
    void DrawTexts(const osg::Matrixd& view, const osg::Matrixd& projection, const TRect2D& viewRect) const;

    int GetLineCount() const { return static_cast<int>(m_lineVertices->size() / 2); }
    int GetPointCount() const { return static_cast<int>(m_pointVertices->size()); }
    int GetMeshOutlineLineCount() const;

private:
    struct TText
    {
        CVector3 at;
        std::string text;
        int colour;
    };

    osg::ref_ptr<osg::Group> m_root;
    osg::ref_ptr<osg::Geode> m_meshGeode;   // the terrain outline, kept between frames
    osg::ref_ptr<osg::Geometry> m_meshLines;
    const CCollisionMesh* m_mesh = nullptr; // whose outline m_meshLines holds (identity only)
    int m_meshTriangles = -1;
    bool m_meshDrawnThisFrame = false;

    osg::ref_ptr<osg::Geometry> m_lines;
    osg::ref_ptr<osg::Vec3Array> m_lineVertices;
    osg::ref_ptr<osg::Vec4Array> m_lineColours;
    osg::ref_ptr<osg::DrawArrays> m_lineSet;
    osg::ref_ptr<osg::Geometry> m_points;
    osg::ref_ptr<osg::Vec3Array> m_pointVertices;
    osg::ref_ptr<osg::Vec4Array> m_pointColours;
    osg::ref_ptr<osg::DrawArrays> m_pointSet;
    float m_pointSize = 1.0f;
    std::vector<TText> m_texts;
};
