#pragma once
// The model as the scene shows it: its 3D object (MODEL_INFO's 3D_MODEL_FILE, scale and
// offset), its shadow and the pose of both. The graphics implements it; the flight model only
// pushes values into it, never reads the scene back.

#include <string>

#include "core/CMatrix3.h"
#include "core/CVector3.h"

class CDegreeOfFreedomList;

class IModelPresentation
{
public:
    virtual ~IModelPresentation() = default;

    // (Re)creates the model's 3D object from a scene file in Data/3D/ (a plain name, checked by
    // the caller) and binds the DOFs of the list to its DOFTransform nodes by name. False when
    // the object could not be created; the flight goes on without it.
    virtual bool Load3DObject(const std::string& fileName, CDegreeOfFreedomList& dofs) = 0;
    // Scale factor and offset (body frame, m) of the 3D object.
    virtual void Set3DObjectTransform(float scale, const CVector3& offset) = 0;

    // (Re)creates the shadow object ("SO_Shadow") with a texture of Data/Textures/ (plain name).
    // False when it could not be created.
    virtual bool LoadShadow(const std::string& textureFile) = 0;
    virtual void SetShadowShape(float scale, float offsetX, float offsetZ) = 0;

    // Once per frame after the integration: the body pose, and the shadow's place on the ground
    // (world position, m; heading and pitch, radians).
    virtual void SetPose(const CVector3& position, const CMatrix3& orientation) = 0;
    virtual void SetShadowPose(const CVector3& position, float headingRad, float pitchRad) = 0;
};

// Headless: nothing to show. Loading reports failure honestly.
class CNullModelPresentation : public IModelPresentation
{
public:
    bool Load3DObject(const std::string&, CDegreeOfFreedomList&) override { return false; }
    void Set3DObjectTransform(float, const CVector3&) override {}
    bool LoadShadow(const std::string&) override { return false; }
    void SetShadowShape(float, float, float) override {}
    void SetPose(const CVector3&, const CMatrix3&) override {}
    void SetShadowPose(const CVector3&, float, float) override {}
};
