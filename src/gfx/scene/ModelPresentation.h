#pragma once
// The flight model as the scene shows it: the model's 3D object (a scene object from
// MODEL_INFO's file, scale and offset) with its DOFTransform nodes driven by the model's
// degrees of freedom, and the shadow on the ground. The model pushes into it through
// IModelPresentation; the flight view reads the switches.
//
// Per frame the model calls SetPose after integrating: the object is placed at the body pose
// and every DOF of the model's list is copied into the node of the same name (looked up by
// name each time: the model may drop and recreate its DOFs when it relinks, so no DOF pointer
// is kept across frames). Then SetShadowPose puts the shadow on the ground.

#include <map>
#include <string>

#include <osg/ref_ptr>
#include <osgSim/DOFTransform>

#include "gfx/scene/CSceneDofList.h"
#include "model/IModelPresentation.h"

class CSceneAdmin;
class CSceneObject;
class CSceneObjectAdmin;

class CModelPresentation : public IModelPresentation
{
public:
    static constexpr const char* kObjectName = "SO_Model";
    static constexpr const char* kShadowName = "SO_Shadow";

    // The objects are added to the scene sceneIndex of scenes. All three must outlive this.
    CModelPresentation(CSceneObjectAdmin& objects, CSceneAdmin& scenes, int sceneIndex);
    ~CModelPresentation() override;
    CModelPresentation(const CModelPresentation&) = delete;
    CModelPresentation& operator=(const CModelPresentation&) = delete;

    bool Load3DObject(const std::string& fileName, CDegreeOfFreedomList& dofs) override;
    void Set3DObjectTransform(float scale, const CVector3& offset) override;
    bool LoadShadow(const std::string& textureFile) override;
    void SetShadowShape(float scale, float offsetX, float offsetZ) override;
    void SetPose(const CVector3& position, const CMatrix3& orientation) override;
    void SetShadowPose(const CVector3& position, float headingRad, float pitchRad) override;

    // Removes both objects (the model goes away); the DOF list is forgotten.
    void Unload();

    // The artistic switch of the flight view and the shadow switch.
    void SetObjectVisible(bool visible);
    void SetShadowVisible(bool visible);

    // Scene-object indices (0 = none).
    int GetObjectIndex() const { return m_object; }
    int GetShadowIndex() const { return m_shadow; }
    CSceneObject* GetObject() const;
    CSceneObject* GetShadow() const;
    const CSceneDofList& GetDofNodes() const { return m_dofNodes; }

private:
    void ReleaseObject(int& ioIndex);
    void SyncDofs();

    CSceneObjectAdmin& m_objects; // not owned
    CSceneAdmin& m_scenes;        // not owned
    int m_scene;
    int m_object = 0;
    int m_shadow = 0;
    bool m_objectVisible = true;
    bool m_shadowVisible = true;
    float m_scale = 1.0f;
    CVector3 m_offset;            // body frame, m
    CSceneDofList m_dofNodes;     // of the current 3D object
    CDegreeOfFreedomList* m_dofs = nullptr; // the model's list (not owned; the model outlives
                                            // its use here, and Unload forgets it)
};
