#pragma once
// The model's shadow: a flat textured square that darkens the ground below the model.
//
// Node (registered as a VDB entry under the texture's name, released with the object): one quad
// in the x-z plane, corners (+-0.5, 0, +-0.5), colour (0.3, 0.3, 0.3), textured with the image
// from the texture folder. Its state: face culling on, lighting as asked, polygon offset fill
// (-0.25, -1) so it wins the depth test against the ground it lies on, and the blend (zero, one
// minus source colour): the ground is darkened by the texture's brightness, so the textures are
// white shapes on black. It is drawn after the opaque scene, since it blends with the ground.

#include <memory>
#include <string>

#include "gfx/scene/CSceneObject.h"

class CVdbObjectAdmin;

class CSceneObject_Shadow : public CSceneObject
{
public:
    // Builds the node and registers it with vdbs under the texture's name. textureFolder: with
    // a trailing '/'; empty means Data/Textures/. A texture that cannot be read is reported and
    // the quad is drawn untextured (a grey square shadow).
    static std::unique_ptr<CSceneObject_Shadow> Create(CVdbObjectAdmin& vdbs, const std::string& name,
                                                       const std::string& textureFile, bool lighting = false,
                                                       const std::string& textureFolder = std::string());
    ~CSceneObject_Shadow() override;

    bool HasTexture() const { return m_hasTexture; }

    // Places the shadow on the ground: at position (world, m), turned by the heading (rad,
    // clockwise from -Z seen from above). A pitched model casts a shorter shadow: the length
    // along the heading is scaled by |cos pitch|, which keeps the square flat on the ground
    // (tilting it by the pitch would push half of it into the ground).
    void PlaceOnGround(const CVector3& position, float headingRad, float pitchRad);

    // The quad node, for tests.
    static osg::Node* BuildNode(const std::string& textureFile, const std::string& textureFolder, bool lighting,
                                bool& outHasTexture);

private:
    CSceneObject_Shadow(CVdbObjectAdmin& vdbs, const std::string& name, int vdbIndex, bool hasTexture);

    CVdbObjectAdmin& m_vdbs; // not owned: the application's admin outlives its objects
    bool m_hasTexture = false;
};
