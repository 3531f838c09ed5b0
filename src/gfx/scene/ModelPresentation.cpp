#include "gfx/scene/ModelPresentation.h"

#include "core/Diagnostics.h"
#include "gfx/scene/CSceneAdmin.h"
#include "gfx/scene/CSceneObject.h"
#include "gfx/scene/CSceneObjectAdmin.h"
#include "gfx/scene/CSceneObject_Shadow.h"
#include "gfx/scene/CVdbObjectAdmin.h"
#include "model/CDegreeOfFreedomList.h"

CModelPresentation::CModelPresentation(CSceneObjectAdmin& objects, CSceneAdmin& scenes, int sceneIndex)
    : m_objects(objects), m_scenes(scenes), m_scene(sceneIndex)
{
}

CModelPresentation::~CModelPresentation()
{
    Unload();
}

void CModelPresentation::ReleaseObject(int& ioIndex)
{
    if (ioIndex == 0)
        return;
    CSceneObject* object = m_objects.Object(ioIndex);
    const int vdb = object != nullptr ? object->GetVdbIndex() : 0;
    const bool ownsVdb = object != nullptr && dynamic_cast<CSceneObject_Shadow*>(object) == nullptr;
    m_scenes.RemoveObject(m_scene, ioIndex);
    m_objects.Release(ioIndex);
    // The shadow releases its own VDB entry; a plain object's file reference is ours.
    if (ownsVdb)
        m_objects.Vdbs().Release(vdb);
    ioIndex = 0;
}

void CModelPresentation::Unload()
{
    ReleaseObject(m_object);
    ReleaseObject(m_shadow);
    m_dofNodes.Clear();
    m_dofs = nullptr;
}

bool CModelPresentation::Load3DObject(const std::string& fileName, CDegreeOfFreedomList& dofs)
{
    ReleaseObject(m_object);
    m_dofNodes.Clear();
    m_dofs = &dofs;
    CVdbObjectAdmin& vdbs = m_objects.Vdbs();
    const int vdb = vdbs.Load(fileName);
    const bool loaded = vdb != CVdbObjectAdmin::kDummyIndex;
    if (!loaded)
        DiagPrint("Data/3D/%s: the model's 3D object cannot be read; showing %s\n", fileName.c_str(),
                  CVdbObjectAdmin::kDummyName);
    m_object = m_objects.Create(kObjectName, vdb);
    CSceneObject* object = m_objects.Object(m_object);
    object->SetScale(m_scale);
    object->SetPivotOffset(m_offset);
    object->SetVisible(m_objectVisible);
    m_scenes.AddObject(m_scene, m_object);
    m_dofNodes.Build(vdbs.Node(vdb));
    SyncDofs();
    return loaded;
}

void CModelPresentation::Set3DObjectTransform(float scale, const CVector3& offset)
{
    m_scale = scale;
    m_offset = offset;
    if (CSceneObject* object = GetObject())
    {
        object->SetScale(scale);
        object->SetPivotOffset(offset);
    }
}

bool CModelPresentation::LoadShadow(const std::string& textureFile)
{
    ReleaseObject(m_shadow);
    auto shadow = CSceneObject_Shadow::Create(m_objects.Vdbs(), kShadowName, textureFile);
    const bool textured = shadow->HasTexture();
    shadow->SetVisible(m_shadowVisible);
    m_shadow = m_objects.Add(std::move(shadow));
    m_scenes.AddObject(m_scene, m_shadow);
    return textured;
}

void CModelPresentation::SetShadowShape(float scale, float offsetX, float offsetZ)
{
    if (CSceneObject* shadow = GetShadow())
    {
        shadow->SetScale(scale);
        shadow->SetPivotOffset(CVector3(offsetX, 0.0f, offsetZ));
    }
}

void CModelPresentation::SetPose(const CVector3& position, const CMatrix3& orientation)
{
    if (CSceneObject* object = GetObject())
        object->SetPose(position, orientation);
    SyncDofs();
}

void CModelPresentation::SetShadowPose(const CVector3& position, float headingRad, float pitchRad)
{
    if (auto* shadow = dynamic_cast<CSceneObject_Shadow*>(GetShadow()))
        shadow->PlaceOnGround(position, headingRad, pitchRad);
}

void CModelPresentation::SyncDofs()
{
    if (m_dofs == nullptr)
        return;
    for (int i = 0; i < m_dofs->Count(); ++i)
    {
        CDegreeOfFreedom* dof = m_dofs->At(i);
        osgSim::DOFTransform* node = m_dofNodes.Find(dof->Name());
        dof->SetBound(node != nullptr);
        if (node != nullptr)
            CSceneDofList::Apply(*dof, *node);
    }
}

void CModelPresentation::SetObjectVisible(bool visible)
{
    m_objectVisible = visible;
    if (CSceneObject* object = GetObject())
        object->SetVisible(visible);
}

void CModelPresentation::SetShadowVisible(bool visible)
{
    m_shadowVisible = visible;
    if (CSceneObject* shadow = GetShadow())
        shadow->SetVisible(visible);
}

CSceneObject* CModelPresentation::GetObject() const
{
    return m_object != 0 ? m_objects.Object(m_object) : nullptr;
}

CSceneObject* CModelPresentation::GetShadow() const
{
    return m_shadow != 0 ? m_objects.Object(m_shadow) : nullptr;
}
