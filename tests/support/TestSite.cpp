#include "support/TestSite.h"

#include <osg/Geode>
#include <osgDB/WriteFile>

#include "support/TestSiteScene.h"

namespace test_site
{
osg::ref_ptr<osg::Geometry> MakeTriangleList(const std::vector<CVector3>& vertices)
{
    osg::ref_ptr<osg::Vec3Array> array = new osg::Vec3Array;
    for (const CVector3& v : vertices)
        array->push_back(osg::Vec3(v.x, v.y, v.z));
    osg::ref_ptr<osg::Geometry> geometry = new osg::Geometry;
    geometry->setVertexArray(array);
    geometry->addPrimitiveSet(new osg::DrawArrays(osg::PrimitiveSet::TRIANGLES, 0, static_cast<int>(array->size())));
    return geometry;
}

bool WriteSquareSite(const std::filesystem::path& file, float height)
{
    const float h = height;
    osg::ref_ptr<osg::Geode> terrain = new osg::Geode;
    terrain->setName("terrain");
    terrain->addDrawable(MakeTriangleList({CVector3(-1000, h, -1000), CVector3(-1000, h, 1000), CVector3(1000, h, 1000),
                                           CVector3(-1000, h, -1000), CVector3(1000, h, 1000), CVector3(1000, h, -1000)}));
    std::filesystem::create_directories(file.parent_path());
    return osgDB::writeNodeFile(*terrain, file.string());
}
} // namespace test_site
