#include "env/TerrainGeometry.h"

#include <cmath>
#include <set>

#include <osg/Geometry>
#include <osg/NodeVisitor>
#include <osg/PrimitiveSet>
#include <osg/Transform>

#include "core/Diagnostics.h"

namespace
{
class CNodeFinder : public osg::NodeVisitor
{
public:
    explicit CNodeFinder(const std::string& name) : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN), m_name(name) {}

    void apply(osg::Node& node) override
    {
        if (m_found != nullptr)
            return;
        if (node.getName() == m_name) {
            m_found = &node;
            return;
        }
        traverse(node);
    }

    osg::Node* m_found = nullptr;

private:
    std::string m_name;
};

// One triangle-list geometry of the terrain: its vertex array and the DrawArrays ranges.
struct CTerrainPiece
{
    osg::Geometry* geometry;
    osg::Vec3Array* vertices;
    std::vector<osg::DrawArrays*> ranges;
};

// Gathers the geometries below the terrain node in traversal order and stops at the first
// thing the collision mesh cannot take.
class CTerrainCollector : public osg::NodeVisitor
{
public:
    explicit CTerrainCollector(const std::string& sceneName)
        : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN), m_sceneName(sceneName)
    {
    }

    void apply(osg::Transform& transform) override
    {
        if (!m_error.empty())
            return;
        osg::Matrix matrix;
        transform.computeLocalToWorldMatrix(matrix, this);
        if (!matrix.isIdentity()) {
            m_error = StringPrintf("%s: transform '%s' below node 'terrain' moves the terrain; the collision mesh "
                                   "needs the vertices in world coordinates",
                                   m_sceneName.c_str(), transform.getName().c_str());
            return;
        }
        traverse(transform);
    }

    void apply(osg::Drawable& drawable) override
    {
        if (m_error.empty())
            m_error = StringPrintf("%s: drawable '%s' below node 'terrain' is not a geometry", m_sceneName.c_str(),
                                   drawable.getName().c_str());
    }

    void apply(osg::Geometry& geometry) override
    {
        if (!m_error.empty())
            return;
        const std::string label = StringPrintf("%s: geometry %zu ('%s') below node 'terrain'", m_sceneName.c_str(),
                                               m_pieces.size(), geometry.getName().c_str());
        CTerrainPiece piece{&geometry, dynamic_cast<osg::Vec3Array*>(geometry.getVertexArray()), {}};
        if (geometry.getNumPrimitiveSets() == 0)
            return; // nothing drawn, nothing to collide with
        if (piece.vertices == nullptr) {
            m_error = label + " has no array of 3-component float vertices";
            return;
        }
        const long vertexCount = static_cast<long>(piece.vertices->size());
        for (unsigned int i = 0; i < geometry.getNumPrimitiveSets(); ++i) {
            osg::PrimitiveSet* primitives = geometry.getPrimitiveSet(i);
            osg::DrawArrays* range = dynamic_cast<osg::DrawArrays*>(primitives);
            if (range == nullptr) {
                m_error = label + " uses indexed or multi-range primitives; the terrain must be plain "
                                  "triangle lists (DrawArrays TRIANGLES)";
                return;
            }
            if (range->getMode() != osg::PrimitiveSet::TRIANGLES) {
                m_error = label + StringPrintf(" draws primitive mode %u; the terrain must be plain triangle "
                                               "lists (DrawArrays TRIANGLES)",
                                               range->getMode());
                return;
            }
            const long first = range->getFirst();
            const long count = range->getCount();
            if (first < 0 || count < 0 || first + count > vertexCount) {
                m_error = label + StringPrintf(" draws vertices %ld to %ld of only %ld", first, first + count - 1,
                                               vertexCount);
                return;
            }
            if (count % 3 != 0)
                DiagPrint("%s draws %ld vertices as triangles; the last %ld are ignored\n", label.c_str(), count,
                          count % 3);
            piece.ranges.push_back(range);
        }
        m_pieces.push_back(piece);
    }

    std::vector<CTerrainPiece> m_pieces;
    std::string m_error;

private:
    std::string m_sceneName;
};

// Turns a per-vertex normal of the original surface into the normal of the reshaped one. The
// reshape maps (x, y, z) to (x, y s, z) with s = (x^2 + z^2) / 1e6; normals transform with the
// cofactor of its Jacobian, which stays defined where s is 0 (the flattened field).
osg::Vec3 ReshapedNormal(const osg::Vec3& vertex, const osg::Vec3& normal)
{
    const double x = vertex.x(), y = vertex.y(), z = vertex.z();
    const double s = (x * x + z * z) / 1.0e6;
    const double dydx = y * 2.0 * x / 1.0e6, dydz = y * 2.0 * z / 1.0e6;
    osg::Vec3d result(s * normal.x() - dydx * normal.y(), normal.y(), s * normal.z() - dydz * normal.y());
    const double length = result.length();
    if (!(length > 0.0) || !std::isfinite(length))
        return normal;
    return osg::Vec3(result / length);
}
} // namespace

osg::Node* FindNamedNode(osg::Node& root, const std::string& name)
{
    CNodeFinder finder(name);
    root.accept(finder);
    return finder.m_found;
}

float ReshapedTerrainHeight(float x, float y, float z)
{
    const double xx = x, zz = z;
    return static_cast<float>(y * (xx * xx + zz * zz) / 1.0e6);
}

bool ReshapeTerrainTriangles(osg::Node& terrain, const std::string& sceneName, std::vector<CVector3>& outVertices,
                             std::string& outError, bool reshape)
{
    outVertices.clear();
    for (const osg::NodePath& path : terrain.getParentalNodePaths())
        if (!osg::computeLocalToWorld(path).isIdentity()) {
            outError = sceneName + ": node 'terrain' is placed by a transform; the collision mesh needs the "
                                   "vertices in world coordinates";
            return false;
        }
    CTerrainCollector collector(sceneName);
    terrain.accept(collector);
    if (!collector.m_error.empty()) {
        outError = collector.m_error;
        return false;
    }

    // Arrays may be shared between geometries: each is reshaped once.
    std::set<osg::Array*> reshaped;
    for (const CTerrainPiece& piece : collector.m_pieces) {
        if (!reshape)
            break;
        osg::Vec3Array& vertices = *piece.vertices;
        if (!reshaped.insert(&vertices).second)
            continue;
        osg::Vec3Array* normals = dynamic_cast<osg::Vec3Array*>(piece.geometry->getNormalArray());
        if (normals != nullptr && normals->getBinding() == osg::Array::BIND_PER_VERTEX &&
            normals->size() == vertices.size() && reshaped.insert(normals).second) {
            for (size_t i = 0; i < vertices.size(); ++i)
                (*normals)[i] = ReshapedNormal(vertices[i], (*normals)[i]);
            normals->dirty();
        }
        for (osg::Vec3& v : vertices)
            v.y() = ReshapedTerrainHeight(v.x(), v.y(), v.z());
        vertices.dirty();
    }
    for (const CTerrainPiece& piece : collector.m_pieces) {
        piece.geometry->dirtyBound();
        piece.geometry->dirtyGLObjects();
        for (const osg::DrawArrays* range : piece.ranges) {
            const size_t first = static_cast<size_t>(range->getFirst());
            const size_t end = first + static_cast<size_t>(range->getCount()) / 3 * 3;
            for (size_t i = first; i < end; ++i) {
                const osg::Vec3& v = (*piece.vertices)[i];
                outVertices.emplace_back(v.x(), v.y(), v.z());
            }
        }
    }
    return true;
}
