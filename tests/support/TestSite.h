#pragma once
// A small flying site and model shared by the session, tool and screen tests: a level square
// of terrain 2 km wide written as Data/3D/FlyingSite.osg, and a model that drops onto it.

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>
#include <osg/Geode>
#include <osg/Geometry>
#include <osgDB/WriteFile>

#include "core/CVector3.h"

namespace test_site
{
// 1 kg on the body origin resting on four collision points 0.1 m below it.
inline const char* const kDropModel = ".GRAVITY G\n{\n}\n"
                                      ".BATTERY Centre\n{\n .MASS 1.0\n}\n"
                                      ".COLLISION_POINT LeftTip\n{\n .POSITION -0.6 -0.1 0\n}\n"
                                      ".COLLISION_POINT RightTip\n{\n .POSITION 0.6 -0.1 0\n}\n"
                                      ".COLLISION_POINT Nose\n{\n .POSITION 0 -0.1 -0.4\n}\n"
                                      ".COLLISION_POINT Tail\n{\n .POSITION 0 -0.1 0.4\n}\n";
constexpr float kDropRestHeight = 0.1f; // m, body origin above the ground at rest

// A non-indexed triangle list, three vertices per triangle.
inline osg::ref_ptr<osg::Geometry> MakeTriangleList(const std::vector<CVector3>& vertices)
{
    osg::ref_ptr<osg::Vec3Array> array = new osg::Vec3Array;
    for (const CVector3& v : vertices)
        array->push_back(osg::Vec3(v.x, v.y, v.z));
    osg::ref_ptr<osg::Geometry> geometry = new osg::Geometry;
    geometry->setVertexArray(array);
    geometry->addPrimitiveSet(new osg::DrawArrays(osg::PrimitiveSet::TRIANGLES, 0, static_cast<int>(array->size())));
    return geometry;
}

// Writes the scene file `file`: a node "terrain" with two upward-facing triangles whose corners
// are (+-1000, height, +-1000). Loading reshapes heights by (x^2 + z^2) / 1e6, so a height h
// other than 0 ends at 2 h everywhere.
inline void WriteSquareSite(const std::filesystem::path& file, float height)
{
    const float h = height;
    osg::ref_ptr<osg::Geode> terrain = new osg::Geode;
    terrain->setName("terrain");
    terrain->addDrawable(MakeTriangleList({CVector3(-1000, h, -1000), CVector3(-1000, h, 1000), CVector3(1000, h, 1000),
                                           CVector3(-1000, h, -1000), CVector3(1000, h, 1000), CVector3(1000, h, -1000)}));
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(osgDB::writeNodeFile(*terrain, file.string()));
}
} // namespace test_site
