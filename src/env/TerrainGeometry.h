#pragma once
// The terrain's triangles in the scene graph. The flying site file keeps the terrain below one
// named node as plain triangle lists (osg::Geometry with DrawArrays(GL_TRIANGLES): every three
// consecutive vertices are one triangle). The heights are reshaped in place, so the ground that
// is drawn and the ground that is collided with stay the same, and the triangles are handed to
// the collision mesh in traversal order.

#include <string>
#include <vector>

#include "core/CVector3.h"

namespace osg
{
class Node;
}

// The first node named `name` below (or at) root, in traversal order; null if none.
osg::Node* FindNamedNode(osg::Node& root, const std::string& name);

// The reshaped height: y * (x^2 + z^2) / 1e6. The field around the origin becomes flat, the
// terrain keeps its height at 1000 m and rises beyond. World frame, m.
float ReshapedTerrainHeight(float x, float y, float z);

// Checks every geometry below `terrain`, reshapes their vertex arrays in place (each shared
// array once; not at all when `reshape` is false, for a site authored at its final heights) and
// returns the triangle list in traversal order. `sceneName` names the file in messages. False,
// with nothing changed and outError set, when the terrain is not made of plain triangle lists
// in world coordinates.
bool ReshapeTerrainTriangles(osg::Node& terrain, const std::string& sceneName, std::vector<CVector3>& outVertices,
                             std::string& outError, bool reshape = true);
