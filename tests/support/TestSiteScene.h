#pragma once
// Scene pieces for the tests of the terrain loader (kestro_testsite).

#include <vector>

#include <osg/Geometry>

#include "core/CVector3.h"

namespace test_site
{
// A non-indexed triangle list, three vertices per triangle.
osg::ref_ptr<osg::Geometry> MakeTriangleList(const std::vector<CVector3>& vertices);
} // namespace test_site
