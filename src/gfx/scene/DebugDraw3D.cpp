#include "gfx/scene/DebugDraw3D.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <osg/Depth>
#include <osg/Point>

#include "env/CCollisionMesh.h"
#include "env/CThermalField.h"
#include "env/CWind.h"
#include "model/ITerrain.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/draw2d/Palette.h"

namespace
{
// After the shadow: lines lie on the ground and the model.
constexpr int kDebugRenderBin = 6;

osg::Vec4 Colour(int paletteIndex)
{
    const TColor c = PaletteColor(paletteIndex);
    return osg::Vec4(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, c.a / 255.0f);
}

osg::Vec3 ToOsg(const CVector3& v)
{
    return osg::Vec3(v.x, v.y, v.z);
}

// A geometry rebuilt every frame: no display list, vertex buffers instead.
osg::Geometry* DynamicGeometry(osg::Vec3Array* vertices, osg::Vec4Array* colours, osg::DrawArrays* set)
{
    auto* geometry = new osg::Geometry;
    geometry->setDataVariance(osg::Object::DYNAMIC);
    geometry->setUseDisplayList(false);
    geometry->setUseVertexBufferObjects(true);
    geometry->setVertexArray(vertices);
    geometry->setColorArray(colours, osg::Array::BIND_PER_VERTEX);
    geometry->addPrimitiveSet(set);
    return geometry;
}
} // namespace

CDebugDraw3D::CDebugDraw3D()
    : m_root(new osg::Group), m_meshGeode(new osg::Geode), m_lineVertices(new osg::Vec3Array),
      m_lineColours(new osg::Vec4Array), m_lineSet(new osg::DrawArrays(GL_LINES, 0, 0)),
      m_pointVertices(new osg::Vec3Array), m_pointColours(new osg::Vec4Array),
      m_pointSet(new osg::DrawArrays(GL_POINTS, 0, 0))
{
    m_root->setName("DebugDraw3D");
    osg::StateSet* state = m_root->getOrCreateStateSet();
    state->setMode(GL_LIGHTING, osg::StateAttribute::OFF | osg::StateAttribute::PROTECTED);
    state->setTextureMode(0, GL_TEXTURE_2D, osg::StateAttribute::OFF);
    state->setMode(GL_CULL_FACE, osg::StateAttribute::OFF);
    // The highlight lies exactly on the outline: equal depth must pass.
    state->setAttributeAndModes(new osg::Depth(osg::Depth::LEQUAL), osg::StateAttribute::ON);
    state->setRenderBinDetails(kDebugRenderBin, "RenderBin");

    m_meshGeode->setName("CollisionTriangles");
    m_root->addChild(m_meshGeode.get());

    osg::ref_ptr<osg::Geode> frame = new osg::Geode;
    frame->setName("DebugFrame");
    m_lines = DynamicGeometry(m_lineVertices.get(), m_lineColours.get(), m_lineSet.get());
    m_points = DynamicGeometry(m_pointVertices.get(), m_pointColours.get(), m_pointSet.get());
    frame->addDrawable(m_lines.get());
    frame->addDrawable(m_points.get());
    m_root->addChild(frame.get());
}

CDebugDraw3D::~CDebugDraw3D() = default;

void CDebugDraw3D::BeginFrame()
{
    m_lineVertices->clear();
    m_lineColours->clear();
    m_pointVertices->clear();
    m_pointColours->clear();
    m_texts.clear();
    m_pointSize = 1.0f;
    m_meshDrawnThisFrame = false;
}

void CDebugDraw3D::EndFrame()
{
    m_lineSet->setCount(static_cast<GLsizei>(m_lineVertices->size()));
    m_pointSet->setCount(static_cast<GLsizei>(m_pointVertices->size()));
    for (osg::Array* array : {static_cast<osg::Array*>(m_lineVertices.get()),
                              static_cast<osg::Array*>(m_lineColours.get()),
                              static_cast<osg::Array*>(m_pointVertices.get()),
                              static_cast<osg::Array*>(m_pointColours.get())})
        array->dirty();
    m_lineSet->dirty();
    m_pointSet->dirty();
    m_lines->dirtyBound();
    m_points->dirtyBound();
    m_points->getOrCreateStateSet()->setAttributeAndModes(new osg::Point(m_pointSize), osg::StateAttribute::ON);
    m_meshGeode->setNodeMask(m_meshDrawnThisFrame ? ~0u : 0u);
}

void CDebugDraw3D::Line(const CVector3& from, const CVector3& to, int colour)
{
    const osg::Vec4 c = Colour(colour);
    m_lineVertices->push_back(ToOsg(from));
    m_lineVertices->push_back(ToOsg(to));
    m_lineColours->push_back(c);
    m_lineColours->push_back(c);
}

void CDebugDraw3D::Point(const CVector3& at, int colour, float sizePixels)
{
    m_pointVertices->push_back(ToOsg(at));
    m_pointColours->push_back(Colour(colour));
    // One size per frame: the largest asked for.
    m_pointSize = std::max(m_pointSize, sizePixels);
}

void CDebugDraw3D::Text(const CVector3& at, const std::string& text, int colour)
{
    m_texts.push_back(TText{at, text, colour});
}

int CDebugDraw3D::GetMeshOutlineLineCount() const
{
    if (!m_meshLines || m_meshLines->getNumPrimitiveSets() == 0)
        return 0;
    return static_cast<int>(m_meshLines->getPrimitiveSet(0)->getNumIndices() / 2);
}

void CDebugDraw3D::DrawCollisionMesh(const CCollisionMesh& mesh)
{
    m_meshDrawnThisFrame = true;
    const std::vector<CColTriangle>& triangles = mesh.GetTriangles();
    if (&mesh != m_mesh || static_cast<int>(triangles.size()) != m_meshTriangles)
    {
        m_mesh = &mesh;
        m_meshTriangles = static_cast<int>(triangles.size());
        osg::ref_ptr<osg::Vec3Array> vertices = new osg::Vec3Array;
        vertices->reserve(triangles.size() * 6);
        for (const CColTriangle& t : triangles)
            for (const auto& [p, q] : {std::pair{&t.a, &t.b}, std::pair{&t.b, &t.c}, std::pair{&t.c, &t.a}})
            {
                vertices->push_back(ToOsg(*p));
                vertices->push_back(ToOsg(*q));
            }
        osg::ref_ptr<osg::Vec4Array> colour = new osg::Vec4Array;
        colour->push_back(Colour(kTriangleColour));
        m_meshLines = new osg::Geometry;
        m_meshLines->setVertexArray(vertices.get());
        m_meshLines->setColorArray(colour.get(), osg::Array::BIND_OVERALL);
        m_meshLines->addPrimitiveSet(new osg::DrawArrays(GL_LINES, 0, static_cast<GLsizei>(vertices->size())));
        m_meshGeode->removeDrawables(0, m_meshGeode->getNumDrawables());
        m_meshGeode->addDrawable(m_meshLines.get());
    }
    const int current = mesh.GetCurrentTriangle();
    if (current < 0 || current >= static_cast<int>(triangles.size()))
        return;
    auto outline = [this](const CColTriangle& t, int colour) {
        Line(t.a, t.b, colour);
        Line(t.b, t.c, colour);
        Line(t.c, t.a, colour);
    };
    for (int n : triangles[static_cast<size_t>(current)].neighbours)
        if (n >= 0 && n < static_cast<int>(triangles.size()))
            outline(triangles[static_cast<size_t>(n)], kNeighbourColour);
    outline(triangles[static_cast<size_t>(current)], kCurrentTriangleColour);
}

void CDebugDraw3D::DrawWind(const CWind& wind, const CVector3& around)
{
    const CVector3 base = around + CVector3(0.0f, 2.0f, 0.0f);
    const CVector3 mean = wind.GetMeanWind();
    Line(base, base + mean, 30);
    // Arrow head: two short strokes back from the tip, in the horizontal plane.
    const CVector3 back = mean.Normalized() * -0.3f;
    const CVector3 side = CVector3(-back.z, 0.0f, back.x);
    Line(base + mean, base + mean + back + side, 30);
    Line(base + mean, base + mean + back - side, 30);
    for (int i = 0; i < CWind::kBlobCount; ++i)
    {
        const CWindBlob& blob = wind.GetBlob(i);
        const float r = 0.2f;
        Line(blob.centre - CVector3(r, 0, 0), blob.centre + CVector3(r, 0, 0), 33);
        Line(blob.centre - CVector3(0, r, 0), blob.centre + CVector3(0, r, 0), 33);
        Line(blob.centre - CVector3(0, 0, r), blob.centre + CVector3(0, 0, r), 33);
        Line(blob.centre, blob.centre + blob.amplitude, 33);
    }
    // Vertical air on a grid around the model, at its height.
    for (int i = -3; i <= 3; ++i)
        for (int k = -3; k <= 3; ++k)
        {
            const CVector3 at = around + CVector3(20.0f * static_cast<float>(i), 0.0f, 20.0f * static_cast<float>(k));
            const float w = wind.GetVerticalAirAt(at);
            if (std::fabs(w) > 0.01f)
                Line(at, at + CVector3(0.0f, kVerticalAirScale * w, 0.0f), w > 0.0f ? kRisingColour : kSinkingColour);
        }
    char text[48];
    std::snprintf(text, sizeof(text), "air %+.1f m/s", static_cast<double>(wind.GetVerticalAirAt(around)));
    Text(base, text, 30);
}

void CDebugDraw3D::DrawThermals(const CThermalField& thermals, const ITerrain* terrain, const CVector3& around)
{
    const float radius = thermals.GetSettings().radius;
    const float strongest = std::max(0.1f, thermals.GetSettings().strength);
    constexpr int kSegments = 24;
    for (const CThermalField::TThermal& thermal : thermals.GetThermals())
    {
        // The pattern repeats every tile: draw the copy nearest to the viewer.
        float x = thermal.x, z = thermal.z;
        x += CThermalField::kTileSize * std::round((around.x - x) / CThermalField::kTileSize);
        z += CThermalField::kTileSize * std::round((around.z - z) / CThermalField::kTileSize);
        if ((x - around.x) * (x - around.x) + (z - around.z) * (z - around.z) > kThermalReach * kThermalReach)
            continue;
        float ground = 0.0f;
        if (terrain != nullptr)
        {
            TTerrainHint hint;
            CVector3 normal;
            ground = terrain->GetTerrainHeight(x, z, hint, normal);
        }
        // Strong thermals bright, those being born or dying dark.
        const int colour = thermal.strength > 0.5f * strongest ? kRisingColour : kWeakThermalColour;
        const CVector3 foot(x, ground + 0.5f, z);
        for (int s = 0; s < kSegments; ++s)
        {
            const float a0 = 6.2831853f * static_cast<float>(s) / kSegments;
            const float a1 = 6.2831853f * static_cast<float>(s + 1) / kSegments;
            Line(foot + CVector3(radius * std::cos(a0), 0.0f, radius * std::sin(a0)),
                 foot + CVector3(radius * std::cos(a1), 0.0f, radius * std::sin(a1)), colour);
        }
        Line(foot, foot + CVector3(0.0f, kThermalColumn * thermal.strength / strongest, 0.0f), colour);
    }
}

void CDebugDraw3D::DrawTexts(const osg::Matrixd& view, const osg::Matrixd& projection, const TRect2D& viewRect) const
{
    if (m_texts.empty())
        return;
    const osg::Matrixd viewProjection = view * projection;
    CDraw2DScope scope;
    Set2DProjection(viewRect.x, viewRect.y, viewRect.w, viewRect.h);
    const double width = viewRect.w;
    const double height = viewRect.h;
    for (const TText& t : m_texts)
    {
        const osg::Vec4d clip = osg::Vec4d(t.at.x, t.at.y, t.at.z, 1.0) * viewProjection;
        if (clip.w() <= 0.0)
            continue; // behind the camera
        const double x = (clip.x() / clip.w() * 0.5 + 0.5) * width;
        const double y = (0.5 - clip.y() / clip.w() * 0.5) * height;
        SetColor(t.colour);
        Fonts().DrawText(Fonts().f07x12S, static_cast<float>(x), static_cast<float>(y), t.text);
    }
}
