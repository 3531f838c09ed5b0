#pragma once
// The collision cache Output/CacheCollision.tmp: the finished collision mesh, so that later
// starts skip the neighbour search. Little-endian, no header but the count:
//   u32 N, then N records of
//     9 x f32  vertices A, B, C (x, y, z each)
//     3 x f32  centroid
//     f32      radius
//     u32      neighbour count K
//     K x u32  neighbour indices (0-based positions in this file)
//
// The cache is only trusted when it describes the terrain that was just loaded: same triangle
// count, same vertices to the bit, centroids and radii as this program computes them, and
// neighbour lists that are ascending, symmetric, in range and made of touching triangles.
// Anything else (a changed terrain, a short or overlong file, garbage) is reported once and the
// caller rebuilds.

#include <string>
#include <vector>

#include "core/CVector3.h"
#include "env/CCollisionMesh.h"

// Reads the cache at `path` into outMesh when it matches `terrainVertices` (a triangle list,
// three vertices per triangle, a trailing incomplete triangle ignored). On false outMesh is
// left empty and the reason has been reported.
bool ReadCollisionCache(const std::string& path, const std::vector<CVector3>& terrainVertices,
                        CCollisionMesh& outMesh);

// Writes the mesh, creating the folder if needed; false (reported) when it cannot.
bool WriteCollisionCache(const std::string& path, const CCollisionMesh& mesh);

// Size of a triangle record without its neighbour indices (bytes).
constexpr long kCacheRecordFixedBytes = 9 * 4 + 3 * 4 + 4 + 4;
