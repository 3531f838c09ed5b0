#include "gfx/scene/CSceneObject_Shadow.h"

#include <cmath>

#include <osg/BlendFunc>
#include <osg/Geode>
#include <osg/Geometry>
#include <osg/PolygonOffset>
#include <osg/Texture2D>
#include <osgDB/ReadFile>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "gfx/scene/CVdbObjectAdmin.h"

namespace
{
// After the opaque bin (0) and the sky (-1): the ground must be there to be darkened.
constexpr int kShadowRenderBin = 5;

} // namespace

osg::Node* CSceneObject_Shadow::BuildNode(const std::string& textureFile, const std::string& textureFolder,
                                          bool lighting, bool& outHasTexture)
{
    osg::ref_ptr<osg::Geometry> quad = new osg::Geometry;
    osg::ref_ptr<osg::Vec3Array> corners = new osg::Vec3Array;
    corners->push_back(osg::Vec3(-0.5f, 0.0f, 0.5f));
    corners->push_back(osg::Vec3(0.5f, 0.0f, 0.5f));
    corners->push_back(osg::Vec3(0.5f, 0.0f, -0.5f));
    corners->push_back(osg::Vec3(-0.5f, 0.0f, -0.5f));
    quad->setVertexArray(corners.get());
    osg::ref_ptr<osg::Vec2Array> uv = new osg::Vec2Array;
    uv->push_back(osg::Vec2(0.0f, 0.0f));
    uv->push_back(osg::Vec2(1.0f, 0.0f));
    uv->push_back(osg::Vec2(1.0f, 1.0f));
    uv->push_back(osg::Vec2(0.0f, 1.0f));
    quad->setTexCoordArray(0, uv.get());
    osg::ref_ptr<osg::Vec4Array> colour = new osg::Vec4Array;
    colour->push_back(osg::Vec4(0.3f, 0.3f, 0.3f, 1.0f));
    quad->setColorArray(colour.get(), osg::Array::BIND_OVERALL);
    osg::ref_ptr<osg::Vec3Array> normal = new osg::Vec3Array;
    normal->push_back(osg::Vec3(0.0f, 1.0f, 0.0f));
    quad->setNormalArray(normal.get(), osg::Array::BIND_OVERALL);
    quad->addPrimitiveSet(new osg::DrawArrays(GL_QUADS, 0, 4));

    osg::ref_ptr<osg::Geode> geode = new osg::Geode;
    geode->setName("Shadow");
    geode->addDrawable(quad.get());
    osg::StateSet* state = geode->getOrCreateStateSet();
    state->setMode(GL_CULL_FACE, osg::StateAttribute::ON);
    state->setMode(GL_LIGHTING, lighting ? osg::StateAttribute::ON : osg::StateAttribute::OFF);
    state->setAttributeAndModes(new osg::PolygonOffset(-0.25f, -1.0f), osg::StateAttribute::ON);
    state->setAttributeAndModes(new osg::BlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR), osg::StateAttribute::ON);
    state->setRenderBinDetails(kShadowRenderBin, "RenderBin");

    const std::string folder = textureFolder.empty() ? BuildDataPath(DF_TEXTURES, "") : textureFolder;
    osg::ref_ptr<osg::Image> image;
    if (IsPlainDataName(textureFile))
        image = osgDB::readImageFile(folder + textureFile);
    outHasTexture = image.valid();
    if (image.valid())
    {
        osg::ref_ptr<osg::Texture2D> texture = new osg::Texture2D(image.get());
        texture->setWrap(osg::Texture::WRAP_S, osg::Texture::CLAMP_TO_EDGE);
        texture->setWrap(osg::Texture::WRAP_T, osg::Texture::CLAMP_TO_EDGE);
        texture->setFilter(osg::Texture::MIN_FILTER, osg::Texture::LINEAR_MIPMAP_NEAREST);
        texture->setFilter(osg::Texture::MAG_FILTER, osg::Texture::LINEAR);
        state->setTextureAttributeAndModes(0, texture.get(), osg::StateAttribute::ON);
    }
    else
        DiagPrint("%s%s: shadow texture cannot be read; the shadow is a plain square\n", folder.c_str(),
                  textureFile.c_str());
    return geode.release();
}

std::unique_ptr<CSceneObject_Shadow> CSceneObject_Shadow::Create(CVdbObjectAdmin& vdbs, const std::string& name,
                                                                 const std::string& textureFile, bool lighting,
                                                                 const std::string& textureFolder)
{
    bool hasTexture = false;
    const int index = vdbs.Register(textureFile, BuildNode(textureFile, textureFolder, lighting, hasTexture));
    return std::unique_ptr<CSceneObject_Shadow>(new CSceneObject_Shadow(vdbs, name, index, hasTexture));
}

CSceneObject_Shadow::CSceneObject_Shadow(CVdbObjectAdmin& vdbs, const std::string& name, int vdbIndex,
                                         bool hasTexture)
    : CSceneObject(name, vdbIndex, vdbs.Node(vdbIndex)), m_vdbs(vdbs), m_hasTexture(hasTexture)
{
}

CSceneObject_Shadow::~CSceneObject_Shadow()
{
    m_vdbs.Release(GetVdbIndex());
}

void CSceneObject_Shadow::PlaceOnGround(const CVector3& position, float headingRad, float pitchRad)
{
    const float ch = std::cos(headingRad);
    const float sh = std::sin(headingRad);
    const float along = std::fabs(std::cos(pitchRad));
    const CMatrix3 flat = CMatrix3::FromRows(CVector3(ch, 0.0f, sh), CVector3(0.0f, 1.0f, 0.0f),
                                             CVector3(-sh, 0.0f, ch) * along);
    SetPose(position, flat);
}
