// The sun's lighting table, direction, glare and the sky dome's placement.

#include <gtest/gtest.h>

#include <cmath>

#include "gfx/scene/CSun.h"

namespace
{
struct TLightRow { float angle; TColor ambient, diffuse, specular; CVector3 direction; };

TEST(Sun, TimeOfDayTakesColoursFromTheTableAsTruncatedBytes)
{
    const float s = std::sqrt(0.5f);
    const TLightRow rows[] = {
        {90, {127, 127, 127, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}, {0, 1, 0}},
        // 60 % of the way from the 190 row to the 200 row: ambient 0.12, diffuse 0.28, specular
        // (0.36, 0.344, 0).
        {196, {30, 30, 30, 255}, {71, 71, 71, 255}, {91, 87, 0, 255}, {-0.96126f, -0.27564f, 0}},
        {0, {114, 114, 114, 255}, {229, 229, 229, 255}, {153, 153, 153, 255}, {1, 0, 0}},
        {45, {121, 121, 121, 255}, {242, 242, 242, 255}, {204, 204, 204, 255}, {s, s, 0}},
        {-15, {38, 38, 38, 255}, {89, 89, 89, 255}, {76, 76, 76, 255}, {0.96593f, -0.25882f, 0}},
        {250, {0, 0, 0, 255}, {0, 0, 0, 255}, {0, 0, 0, 255}, {-0.34202f, -0.93969f, 0}},
    };
    CSun sun;
    for (const TLightRow& row : rows)
    {
        sun.SetTimeOfDay(row.angle);
        EXPECT_EQ(sun.GetAmbient(), row.ambient) << row.angle;
        EXPECT_EQ(sun.GetDiffuse(), row.diffuse) << row.angle;
        EXPECT_EQ(sun.GetSpecular(), row.specular) << row.angle;
        EXPECT_NEAR(sun.GetDirection().x, row.direction.x, 1e-4) << row.angle;
        EXPECT_NEAR(sun.GetDirection().y, row.direction.y, 1e-4) << row.angle;
        EXPECT_EQ(sun.GetDirection().z, 0.0f) << row.angle;
    }
}

TEST(Sun, TheLightShinesDownFromTheSun)
{
    CSun sun;
    sun.SetTimeOfDay(25.0f);
    osg::ref_ptr<osg::Light> light = new osg::Light;
    sun.ApplyToLight(*light);
    EXPECT_EQ(light->getPosition().w(), 0.0f) << "directional";
    EXPECT_NEAR(light->getPosition().x(), std::cos(25.0f * 0.017453292f), 1e-6);
    EXPECT_NEAR(light->getPosition().y(), std::sin(25.0f * 0.017453292f), 1e-6);
    EXPECT_NEAR(light->getDiffuse().r(), sun.GetDiffuse().r / 255.0f, 1e-6);
}

TEST(Sun, GlareBuildsUpLookingIntoTheSunAndFadesLookingAway)
{
    CSun sun; // starts at midday, overhead: D = (0, 1, 0)
    const CVector3 up(0, 1, 0);
    for (int frame = 0; frame < 9; ++frame)
        sun.UpdateGlare(up, 0.02f);
    EXPECT_NEAR(sun.GetGlare(), 0.45f, 1e-5) << "0.05 per frame at c = 1";
    sun.UpdateGlare(up, 0.02f);
    EXPECT_NEAR(sun.GetGlare(), 0.5f, 1e-5) << "0.2 s reach the cap";
    sun.UpdateGlare(up, 0.02f);
    EXPECT_EQ(sun.GetGlare(), CSun::kMaxGlare);

    const CVector3 away(0, 0, -1);
    for (int frame = 0; frame < 50; ++frame)
        sun.UpdateGlare(away, 0.02f);
    EXPECT_NEAR(sun.GetGlare(), 0.2f, 1e-4) << "fades at 0.3 per second";
    for (int frame = 0; frame < 50; ++frame)
        sun.UpdateGlare(away, 0.02f);
    EXPECT_EQ(sun.GetGlare(), 0.0f) << "never below zero";

    // Just outside the 10 degree cone nothing builds up; just inside it does, slowly.
    const float outside = 10.5f * 0.017453292f, inside = 5.0f * 0.017453292f;
    sun.UpdateGlare(CVector3(std::sin(outside), std::cos(outside), 0), 0.02f);
    EXPECT_EQ(sun.GetGlare(), 0.0f);
    sun.UpdateGlare(CVector3(std::sin(inside), std::cos(inside), 0), 0.02f);
    EXPECT_GT(sun.GetGlare(), 0.0f);
    EXPECT_LT(sun.GetGlare(), 0.05f);

    // Switched off, the glare stays where it is, looking into the sun or away.
    const float held = sun.GetGlare();
    sun.SetGlareEnabled(false);
    sun.UpdateGlare(up, 0.02f);
    sun.UpdateGlare(away, 1.0f);
    EXPECT_EQ(sun.GetGlare(), held);
}

TEST(Sun, SkyDomeStandsUpAndFollowsTheCamera)
{
    const CVector3 camera(10, 2, -30);
    const osg::Matrix m = CSun::SkyDomeMatrix(camera);
    const osg::Vec3 zenith = osg::Vec3(0, 0, 1) * m; // the dome's top, authored z up
    EXPECT_NEAR(zenith.x(), 10, 1e-5);
    EXPECT_NEAR(zenith.y(), 3, 1e-5);
    EXPECT_NEAR(zenith.z(), -30, 1e-5);
    const osg::Vec3 north = osg::Vec3(0, 1, 0) * m;
    EXPECT_NEAR(north.y(), 2, 1e-5);
    EXPECT_NEAR(north.z(), -31, 1e-5);
}
} // namespace
