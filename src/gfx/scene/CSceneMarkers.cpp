#include "gfx/scene/CSceneMarkers.h"

#include "gfx/scene/CSceneAdmin.h"
#include "gfx/scene/CSceneObjectAdmin.h"
#include "gfx/scene/CVdbObjectAdmin.h"
#include "model/CModel.h"
#include "model/CPart.h"

CSceneMarkers::CSceneMarkers(CSceneObjectAdmin& objects, CSceneAdmin& scenes, int sceneIndex)
    : m_objects(objects), m_scenes(scenes), m_scene(sceneIndex)
{
}

CSceneMarkers::~CSceneMarkers()
{
    Clear(nullptr);
}

int CSceneMarkers::Create(CModel& model)
{
    Clear(&model);
    for (int i = 0; i < model.GetPartCount(); ++i)
    {
        CPart* part = model.GetPart(i);
        const char* file = part->GetMarkerNode();
        if (file == nullptr)
            continue;
        const int vdb = m_objects.Vdbs().Load(file);
        const int object = m_objects.Create(part->GetName(), vdb);
        m_scenes.AddObject(m_scene, object);
        part->m_markerHandle = static_cast<unsigned int>(object);
        m_markers.push_back(TMarker{object, vdb});
    }
    Update(model);
    return static_cast<int>(m_markers.size());
}

void CSceneMarkers::Update(CModel& model)
{
    const CEngineDynamic& body = model.GetBody();
    const CMatrix3& orientation = body.GetOrientation();
    for (int i = 0; i < model.GetPartCount(); ++i)
    {
        CPart* part = model.GetPart(i);
        if (part->m_markerHandle == 0)
            continue;
        CSceneObject* object = m_objects.Object(static_cast<int>(part->m_markerHandle));
        CVector3 position;
        part->GetPosition(position);
        if (object != nullptr)
            object->SetPose(body.GetPosition() + position * orientation, orientation);
    }
}

void CSceneMarkers::Clear(CModel* model)
{
    for (const TMarker& marker : m_markers)
    {
        m_scenes.RemoveObject(m_scene, marker.object);
        m_objects.Release(marker.object);
        m_objects.Vdbs().Release(marker.vdb);
    }
    m_markers.clear();
    if (model != nullptr)
        for (int i = 0; i < model->GetPartCount(); ++i)
            model->GetPart(i)->m_markerHandle = 0;
}
