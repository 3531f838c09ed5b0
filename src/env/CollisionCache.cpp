#include "env/CollisionCache.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>

#include "core/Diagnostics.h"
#include "data/CFile.h"

namespace
{
uint32_t DecodeU32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

float DecodeF32(const unsigned char* bytes)
{
    const uint32_t bits = DecodeU32(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void EncodeU32(uint32_t value, std::vector<unsigned char>& ioBytes)
{
    for (int shift = 0; shift < 32; shift += 8)
        ioBytes.push_back(static_cast<unsigned char>(value >> shift));
}

void EncodeF32(float value, std::vector<unsigned char>& ioBytes)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    EncodeU32(bits, ioBytes);
}

void EncodeVector(const CVector3& v, std::vector<unsigned char>& ioBytes)
{
    EncodeF32(v.x, ioBytes);
    EncodeF32(v.y, ioBytes);
    EncodeF32(v.z, ioBytes);
}

CVector3 DecodeVector(const unsigned char* bytes)
{
    return {DecodeF32(bytes), DecodeF32(bytes + 4), DecodeF32(bytes + 8)};
}

// Bit equality: the cache stores the floats as they were, and a not-a-number vertex must still
// match itself.
bool SameBits(float l, float r)
{
    return std::memcmp(&l, &r, sizeof l) == 0;
}

bool SameBits(const CVector3& l, const CVector3& r)
{
    return SameBits(l.x, r.x) && SameBits(l.y, r.y) && SameBits(l.z, r.z);
}

// Reads exactly `count` bytes.
bool ReadExactly(CFile& file, void* buffer, size_t count)
{
    return file.Read(buffer, count) == count;
}

// The neighbour lists are ascending and in range (checked while reading); here: every listed
// pair touches and each side lists the other.
bool CheckNeighbourLists(const std::vector<CColTriangle>& triangles, std::string& outReason)
{
    for (size_t i = 0; i < triangles.size(); ++i)
        for (const int j : triangles[i].neighbours) {
            const CColTriangle& lower = triangles[std::min<size_t>(i, j)];
            const CColTriangle& upper = triangles[std::max<size_t>(i, j)];
            if (!CColTriangle::AreNeighbours(lower, upper)) {
                outReason = StringPrintf("triangles %zu and %i are listed as neighbours but do not touch", i, j);
                return false;
            }
            const std::vector<int>& back = triangles[j].neighbours;
            if (!std::binary_search(back.begin(), back.end(), static_cast<int>(i))) {
                outReason = StringPrintf("triangle %zu lists %i as a neighbour but not the other way round", i, j);
                return false;
            }
        }
    return true;
}

bool ReadCache(const std::string& path, const std::vector<CVector3>& terrainVertices,
               std::vector<CColTriangle>& outTriangles, std::string& outReason)
{
    std::unique_ptr<CFile> file = OpenFile(path, FM_READ);
    if (file == nullptr) {
        outReason = "no cache file";
        return false;
    }
    const long length = file->Length();
    unsigned char countBytes[4];
    if (length < 4 || !ReadExactly(*file, countBytes, 4)) {
        outReason = "too short for the triangle count";
        return false;
    }
    const uint32_t count = DecodeU32(countBytes);
    const size_t expectedCount = terrainVertices.size() / 3;
    if (count != expectedCount) {
        outReason = StringPrintf("%u triangles, the terrain has %zu", count, expectedCount);
        return false;
    }
    // Every record has a fixed part: a file too short for them all is rejected before anything
    // is allocated for its count.
    if (static_cast<uint64_t>(count) * kCacheRecordFixedBytes > static_cast<uint64_t>(length - 4)) {
        outReason = StringPrintf("%ld bytes, too short for %u triangles", length, count);
        return false;
    }

    std::vector<CColTriangle> triangles(count);
    long position = 4;
    unsigned char fixed[kCacheRecordFixedBytes];
    std::vector<unsigned char> indexBytes;
    for (uint32_t i = 0; i < count; ++i) {
        if (!ReadExactly(*file, fixed, sizeof fixed)) {
            outReason = StringPrintf("ends inside triangle %u", i);
            return false;
        }
        position += kCacheRecordFixedBytes;
        CColTriangle& triangle = triangles[i];
        triangle.Set(DecodeVector(fixed), DecodeVector(fixed + 12), DecodeVector(fixed + 24));
        if (!SameBits(triangle.a, terrainVertices[3 * i]) || !SameBits(triangle.b, terrainVertices[3 * i + 1]) ||
            !SameBits(triangle.c, terrainVertices[3 * i + 2])) {
            outReason = StringPrintf("triangle %u differs from the terrain", i);
            return false;
        }
        if (!SameBits(DecodeVector(fixed + 36), triangle.centroid) || !SameBits(DecodeF32(fixed + 48), triangle.radius)) {
            outReason = StringPrintf("triangle %u has a wrong centroid or radius", i);
            return false;
        }
        const uint32_t neighbourCount = DecodeU32(fixed + 52);
        if (neighbourCount >= count || static_cast<uint64_t>(neighbourCount) * 4 > static_cast<uint64_t>(length - position)) {
            outReason = StringPrintf("triangle %u: %u neighbours do not fit", i, neighbourCount);
            return false;
        }
        indexBytes.resize(static_cast<size_t>(neighbourCount) * 4);
        if (!ReadExactly(*file, indexBytes.data(), indexBytes.size())) {
            outReason = StringPrintf("ends inside the neighbours of triangle %u", i);
            return false;
        }
        position += static_cast<long>(indexBytes.size());
        triangle.neighbours.resize(neighbourCount);
        for (uint32_t k = 0; k < neighbourCount; ++k) {
            const uint32_t neighbour = DecodeU32(&indexBytes[4 * k]);
            if (neighbour >= count || neighbour == i || (k > 0 && neighbour <= static_cast<uint32_t>(triangle.neighbours[k - 1]))) {
                outReason = StringPrintf("triangle %u has a neighbour index %u that is out of range or out of order", i,
                                         neighbour);
                return false;
            }
            triangle.neighbours[k] = static_cast<int>(neighbour);
        }
    }
    if (position != length) {
        outReason = StringPrintf("%ld bytes after the last triangle", length - position);
        return false;
    }
    if (!CheckNeighbourLists(triangles, outReason))
        return false;
    outTriangles = std::move(triangles);
    return true;
}
} // namespace

bool ReadCollisionCache(const std::string& path, const std::vector<CVector3>& terrainVertices, CCollisionMesh& outMesh)
{
    outMesh.Clear();
    std::vector<CColTriangle> triangles;
    std::string reason;
    if (!ReadCache(path, terrainVertices, triangles, reason)) {
        DiagPrint("%s: %s; rebuilding the collision mesh\n", path.c_str(), reason.c_str());
        return false;
    }
    outMesh.SetTriangles(std::move(triangles));
    return true;
}

bool WriteCollisionCache(const std::string& path, const CCollisionMesh& mesh)
{
    const std::vector<CColTriangle>& triangles = mesh.GetTriangles();
    std::vector<unsigned char> bytes;
    size_t size = 4;
    for (const CColTriangle& triangle : triangles)
        size += kCacheRecordFixedBytes + 4 * triangle.neighbours.size();
    bytes.reserve(size);
    EncodeU32(static_cast<uint32_t>(triangles.size()), bytes);
    for (const CColTriangle& triangle : triangles) {
        EncodeVector(triangle.a, bytes);
        EncodeVector(triangle.b, bytes);
        EncodeVector(triangle.c, bytes);
        EncodeVector(triangle.centroid, bytes);
        EncodeF32(triangle.radius, bytes);
        EncodeU32(static_cast<uint32_t>(triangle.neighbours.size()), bytes);
        for (const int neighbour : triangle.neighbours)
            EncodeU32(static_cast<uint32_t>(neighbour), bytes);
    }

    std::error_code ignored; // a folder that cannot be made shows up as a failed open
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::unique_ptr<CFile> file = OpenFile(path, FM_WRITE);
    if (file == nullptr) {
        DiagPrint("%s: cannot be written; the collision mesh will be rebuilt next time\n", path.c_str());
        return false;
    }
    const bool written = file->Write(bytes.data(), bytes.size()) == bytes.size();
    const bool closed = file->Close();
    if (!written || !closed) {
        DiagPrint("%s: writing failed; the collision mesh will be rebuilt next time\n", path.c_str());
        return false;
    }
    return true;
}
