// The rising and sinking air: thermals (CThermalField) and slope lift (CSlopeLift).
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "env/CCollisionMesh.h"
#include "env/CSlopeLift.h"
#include "env/CThermalField.h"
#include "env/GeneratedTerrain.h"

namespace
{
// A field with one thermal in its prime, found by running the clock until one is.
const CThermalField::TThermal& PrimeThermal(CThermalField& field)
{
    for (int step = 0; step < 1000; ++step)
    {
        for (const CThermalField::TThermal& thermal : field.GetThermals())
            if (thermal.strength == field.GetSettings().strength)
                return thermal;
        field.Advance(1.0f, CVector3());
    }
    static const CThermalField::TThermal none;
    ADD_FAILURE() << "no thermal reaches its full strength";
    return none;
}

TEST(ThermalField, CoreRisesAtTheSetStrengthAndTheRingOfSinkCancelsIt)
{
    CThermalField field(3);
    field.Configure(TThermalSettings{3.0f, 50.0f, 0.1f});
    const CThermalField::TThermal thermal = PrimeThermal(field);
    const float high = 800.0f; // m: well above the ground fade, below the cloud-base fade
    const float sink = -CThermalField::kBackgroundSink * 3.0f;
    const float fade = 1.0f - std::exp(-high / CThermalField::kGroundFadeHeight);
    EXPECT_NEAR(field.VerticalAt(thermal.x, thermal.z, high), (3.0f + sink) * fade, 0.05f);
    // The same with the model there (its nearby thermals listed apart).
    const float far = field.VerticalAt(thermal.x + 30.0f, thermal.z, high);
    field.Advance(0.0f, CVector3(), CVector3(thermal.x + 200.0f, 0, thermal.z));
    EXPECT_EQ(field.VerticalAt(thermal.x + 30.0f, thermal.z, high), far);
    EXPECT_NEAR(field.VerticalAt(thermal.x + 50.0f, thermal.z, high), sink * fade, 0.05f) << "core edge";
    EXPECT_LT(field.VerticalAt(thermal.x, thermal.z + 70.0f, high), sink - 0.3f) << "ring of sink";
    EXPECT_LT(field.VerticalAt(thermal.x, thermal.z, 2.0f), 0.3f) << "the ground stops the updraft";
    EXPECT_EQ(field.VerticalAt(thermal.x, thermal.z, CThermalField::kCloudBase), 0.0f);

    // The thermal alone moves no net air: sum over its disc, background sink taken out.
    double net = 0.0, up = 0.0;
    for (float dx = -160.0f; dx <= 160.0f; dx += 2.0f)
        for (float dz = -160.0f; dz <= 160.0f; dz += 2.0f)
        {
            const double w = field.VerticalAt(thermal.x + dx, thermal.z + dz, high) / fade - sink;
            net += w;
            up += std::max(0.0, w);
        }
    EXPECT_LT(std::fabs(net), 0.02 * up);
}

TEST(ThermalField, SameSeedSameThermalsThatDriftWithTheWindAndComeAndGo)
{
    const CVector3 wind(3, 0, -1);
    CThermalField a(42), b(42), c(43);
    for (CThermalField* field : {&a, &b, &c})
        field->Configure(TThermalSettings{2.0f, 40.0f, 2.0f, 120.0f});
    // 2 per km^2 over the 16 km^2 tile, minus those just being born or dying.
    EXPECT_GT(a.GetThermals().size(), 16u);
    const std::vector<CThermalField::TThermal> before = a.GetThermals();
    a.Advance(10.0f, wind);
    b.Advance(4.0f, wind); // the same time in other steps: the same thermals
    b.Advance(6.0f, wind);
    c.Advance(10.0f, wind);
    const auto count = [](const CThermalField& field, const std::vector<CThermalField::TThermal>& old, float dx, float dz) {
        int found = 0;
        for (const auto& now : field.GetThermals())
            for (const auto& then : old)
                found += std::fabs(then.x + dx - now.x) < 0.01f && std::fabs(then.z + dz - now.z) < 0.01f ? 1 : 0;
        return found;
    };
    EXPECT_EQ(count(b, a.GetThermals(), 0, 0), static_cast<int>(a.GetThermals().size()));
    EXPECT_EQ(count(c, a.GetThermals(), 0, 0), 0) << "another seed, other thermals";
    EXPECT_GT(count(a, before, 30, -10), static_cast<int>(before.size()) / 2) << "most drift 10 s with the wind";
    a.Advance(130.0f, wind);
    EXPECT_EQ(count(a, before, 420, -140), 0) << "after a lifetime every one is replaced elsewhere";

    CThermalField off;
    off.Configure(TThermalSettings{0.0f, 40.0f, 5.0f}); // strength 0: still air
    EXPECT_TRUE(off.GetThermals().empty());
    EXPECT_EQ(off.VerticalAt(0, 0, 300), 0.0f);
}

// A ridge along x: level valley at -100 m for z < -300, a smoothstep face up to the crest at
// z = 0 (height 0), a level top behind it. Triangles from a 10 m grid.
std::vector<CVector3> RidgeTriangles()
{
    const auto height = [](float z) {
        const float t = std::min(1.0f, std::max(0.0f, -z / 300.0f));
        return -100.0f * t * t * (3.0f - 2.0f * t);
    };
    std::vector<CVector3> vertices;
    for (float x = -400.0f; x < 400.0f; x += 20.0f)
        for (float z = -800.0f; z < 400.0f; z += 10.0f)
        {
            const CVector3 a(x, height(z), z), b(x + 20, height(z), z), c(x, height(z + 10), z + 10),
                d(x + 20, height(z + 10), z + 10);
            vertices.insert(vertices.end(), {a, c, b, b, c, d});
        }
    return vertices;
}

TEST(SlopeLift, WindUpTheFaceRisesDownTheLeeSinksAndFadesWithHeight)
{
    CCollisionMesh mesh;
    mesh.BuildFromTriangleList(RidgeTriangles());
    CSlopeLift lift;
    lift.Build(mesh);
    ASSERT_FALSE(lift.IsEmpty());
    float ground = 0.0f;
    ASSERT_TRUE(lift.GroundHeight(0.0f, -150.0f, ground));
    EXPECT_NEAR(ground, -50.0f, 0.5f);

    const CVector3 atRidge(0, 0, 7);  // 7 m/s towards +z: up the face
    const CVector3 fromRidge(0, 0, -7);
    const CVector3 along(7, 0, 0);
    // Steepest slope half way down: 1.5 * 100 / 300 = 0.5, smoothed a little.
    const float atFace = lift.VerticalAt(CVector3(0, -50, -150), atRidge);
    EXPECT_TRUE(atFace > 0.9f * 7.0f * 0.5f && atFace < 7.0f * 0.5f) << atFace;
    EXPECT_GT(lift.VerticalAt(CVector3(0, -30, -150), atRidge), 1.5f) << "20 m above the face";
    EXPECT_LT(lift.VerticalAt(CVector3(0, 50, -150), atRidge), atFace * 0.5f) << "fades with height";
    EXPECT_NEAR(lift.VerticalAt(CVector3(0, -50, -150), fromRidge), -atFace, 1e-4f) << "lee side";
    EXPECT_NEAR(lift.VerticalAt(CVector3(0, -50, -150), along), 0.0f, 0.01f) << "along the ridge";
    EXPECT_NEAR(lift.VerticalAt(CVector3(0, -80, -700), atRidge), 0.0f, 0.01f) << "level valley";
    EXPECT_EQ(lift.VerticalAt(CVector3(5000, 0, 0), atRidge), 0.0f) << "beyond the terrain";

    // The wind's combined query answers both to the bit, still air (signed zeros) included.
    for (const CVector3& wind : {atRidge, fromRidge, along, CVector3(), CVector3(-0.0f, 0, -0.0f)})
        for (const CVector3& p : {CVector3(0, -50, -150), CVector3(3, 40, -151), CVector3(5000, 0, 0)})
        {
            float expectedGround = 0.0f, combinedGround = 1.0f;
            if (!lift.GroundHeight(p.x, p.z, expectedGround))
                expectedGround = 0.0f;
            const float expected = lift.VerticalAt(p, wind), combined = lift.VerticalAndGround(p, wind, &combinedGround);
            EXPECT_EQ(std::memcmp(&combined, &expected, sizeof expected), 0) << p.z << " " << wind.z;
            EXPECT_EQ(std::memcmp(&combinedGround, &expectedGround, sizeof expectedGround), 0) << p.z;
        }
}

// Still air lifts nothing anywhere on a hilly terrain, for every signed zero wind; a wind
// still gets the interpolated answer.
TEST(SlopeLift, StillAirLiftsNothing)
{
    CCollisionMesh mesh;
    mesh.BuildFromTriangleList(testterrain::MakeTerrain(40, 40, 0, false));
    CSlopeLift lift;
    lift.Build(mesh);
    testterrain::CGenerator generator(5);
    for (int k = 0; k < 2000; ++k)
    {
        const CVector3 p(static_cast<float>(generator.Uniform(-150, 150)), static_cast<float>(generator.Uniform(-30, 30)),
                         static_cast<float>(generator.Uniform(-150, 150)));
        for (const CVector3& wind : {CVector3(0, 0, 0), CVector3(-0.0f, 0, 0), CVector3(0, 0, -0.0f),
                                     CVector3(-0.0f, 0, -0.0f), CVector3(2, 0, -1)})
            ASSERT_EQ(lift.VerticalAndGround(p, wind, nullptr), wind.x == 0.0f ? 0.0f : lift.VerticalAt(p, wind))
                << p.x << " " << p.z << " " << wind.x;
    }
}
} // namespace
