#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "env/CColTriangle.h"

namespace
{
CColTriangle MakeTriangle(const CVector3& a, const CVector3& b, const CVector3& c)
{
    CColTriangle triangle;
    triangle.Set(a, b, c);
    return triangle;
}

// The plane y = z over the right triangle (0,0)-(0,10)-(10,0) of the X-Z plane, wound so that
// its normal (b - a) x (c - b) points up.
const CVector3 kA(0, 0, 0), kB(0, 10, 10), kC(10, 0, 0);

struct CPointCase
{
    const char* what;
    float x, z;
    bool inside;
    float height;
};

TEST(ColTriangleTest, ContainsInteriorAndEdgePointsWithTheirHeightWhateverTheWinding)
{
    const CPointCase cases[] = {
        {"interior", 2.0f, 3.0f, true, 3.0f},
        {"on the edge x = 0", 0.0f, 5.0f, true, 5.0f},
        {"on the edge z = 0", 4.0f, 0.0f, true, 0.0f},
        {"on the hypotenuse", 5.0f, 5.0f, true, 5.0f},
        {"at a vertex", 0.0f, 10.0f, true, 10.0f},
        {"just left of the edge x = 0", -0.001f, 5.0f, false, 0.0f},
        {"beyond the hypotenuse", 6.0f, 6.0f, false, 0.0f},
        {"far away", 100.0f, -40.0f, false, 0.0f},
        {"not a number", std::numeric_limits<float>::quiet_NaN(), 1.0f, false, 0.0f},
    };
    const CColTriangle upward = MakeTriangle(kA, kB, kC);
    const CColTriangle downward = MakeTriangle(kA, kC, kB);
    for (const CColTriangle* triangle : {&upward, &downward})
        for (const CPointCase& test : cases) {
            float height = -1.0f;
            CVector3 normal;
            ASSERT_EQ(triangle->TestTriangle(test.x, test.z, height, normal), test.inside) << test.what;
            if (!test.inside)
                continue;
            EXPECT_NEAR(height, test.height, 1e-5f) << test.what;
            // The plane y = z rises towards +Z: its upward normal leans towards -Z.
            EXPECT_LT((normal - CVector3(0, std::sqrt(0.5f), -std::sqrt(0.5f))).Length(), 1e-6f) << test.what;
        }
}

TEST(ColTriangleTest, TrianglesWithoutAreaFromAboveContainNothing)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct { const char* what; CColTriangle triangle; } cases[] = {
        {"all vertices equal", MakeTriangle(kA, kA, kA)},
        {"two vertices equal", MakeTriangle(kA, kA, kC)},
        {"collinear", MakeTriangle(kA, CVector3(5, 1, 0), kC)},
        {"vertical wall", MakeTriangle(CVector3(0, 0, 0), CVector3(0, 5, 0), CVector3(10, 0, 0))},
        {"vertex at infinity", MakeTriangle(kA, kB, CVector3(inf, 0, 0))},
        {"vertex height undefined", MakeTriangle(kA, CVector3(0, std::nanf(""), 10), kC)},
    };
    for (const auto& test : cases)
        for (const float x : {0.0f, 1.0f, 5.0f})
            for (const float z : {0.0f, 1.0f}) {
                float height = 0.0f;
                CVector3 normal;
                EXPECT_FALSE(test.triangle.TestTriangle(x, z, height, normal)) << test.what << " at " << x << ", " << z;
            }
}

// Two triangles sharing a slanted edge at awkward coordinates. Points computed along the edge
// land a rounding error to one side or the other; each must be in at least one triangle (no
// hole in the ground), and where both contain it, they must agree on the height.
TEST(ColTriangleTest, PointsAlongASharedEdgeFallIntoOneSideAndBothSidesAgree)
{
    const CVector3 p(0.1f, 1.3f, 0.3f), q(777.7f, 40.9f, 1310.3f);
    const CColTriangle left = MakeTriangle(p, q, CVector3(-500.0f, 7.0f, 900.0f));
    const CColTriangle right = MakeTriangle(q, p, CVector3(900.0f, -3.0f, 200.0f));
    int both = 0;
    for (int i = 0; i <= 4000; ++i) {
        const float t = static_cast<float>(i) / 4000.0f;
        const float x = p.x + (q.x - p.x) * t;
        const float z = p.z + (q.z - p.z) * t;
        const float expected = p.y + (q.y - p.y) * t;
        float leftHeight = 0.0f, rightHeight = 0.0f;
        CVector3 normal;
        const bool inLeft = left.TestTriangle(x, z, leftHeight, normal);
        const bool inRight = right.TestTriangle(x, z, rightHeight, normal);
        ASSERT_TRUE(inLeft || inRight) << "gap at t = " << t;
        EXPECT_TRUE(!inLeft || std::fabs(leftHeight - expected) < 1e-3f) << "left at t = " << t << ": " << leftHeight;
        EXPECT_TRUE(!inRight || std::fabs(rightHeight - expected) < 1e-3f) << "right at t = " << t << ": " << rightHeight;
        both += inLeft && inRight;
    }
    EXPECT_GT(both, 0); // the vertices at least are shared
}

TEST(ColTriangleTest, NeighboursTouchWithinTwentyCentimetres)
{
    const CColTriangle ground = MakeTriangle(CVector3(0, 0, 0), CVector3(0, 0, 10), CVector3(10, 0, 0));
    // The offset of a copy of `ground` mirrored across its hypotenuse.
    const struct { const char* what; CVector3 offset; bool neighbours; } cases[] = {
        {"sharing the edge", CVector3(0, 0, 0), true},
        {"0.19 m apart", CVector3(0.19f, 0, 0), true},
        {"0.21 m apart", CVector3(0.21f, 0, 0), false},
        {"0.19 m above", CVector3(0, 0.19f, 0), true},
    };
    for (const auto& test : cases) {
        const CColTriangle other = MakeTriangle(CVector3(10, 0, 0) + test.offset, CVector3(0, 0, 10) + test.offset,
                                                CVector3(10, 0, 10) + test.offset);
        EXPECT_EQ(CColTriangle::AreNeighbours(ground, other), test.neighbours) << test.what;
        EXPECT_EQ(CColTriangle::AreNeighbours(other, ground), test.neighbours) << test.what;
    }
    // Touching slivers whose centroids lie further apart than 1.5 times their size do not count.
    const CColTriangle small1 = MakeTriangle(CVector3(0, 0, 0), CVector3(0, 0, 0.05f), CVector3(0.05f, 0, 0));
    const CColTriangle small2 = MakeTriangle(CVector3(-0.15f, 0, 0), CVector3(-0.2f, 0, 0), CVector3(-0.2f, 0, 0.05f));
    EXPECT_FALSE(CColTriangle::AreNeighbours(small1, small2));
}
} // namespace
