#include "gfx/scene/CSceneAdmin.h"

#include "gfx/scene/CSceneObjectAdmin.h"
#include "gfx/scene/CVdbObjectAdmin.h"

CSceneAdmin::CSceneAdmin(CSceneObjectAdmin& objects) : m_objects(objects)
{
    m_scenes.reserve(10);
    m_scenes.push_back(std::make_unique<CScene>("Dummy"));
}

CSceneAdmin::~CSceneAdmin() = default;

int CSceneAdmin::Create(const std::string& name)
{
    for (size_t i = 1; i < m_scenes.size(); ++i)
        if (!m_scenes[i])
        {
            m_scenes[i] = std::make_unique<CScene>(name);
            return static_cast<int>(i);
        }
    m_scenes.push_back(std::make_unique<CScene>(name));
    return static_cast<int>(m_scenes.size() - 1);
}

void CSceneAdmin::Release(int index)
{
    if (index <= 0 || index >= static_cast<int>(m_scenes.size()))
        return;
    m_scenes[static_cast<size_t>(index)].reset();
}

CScene* CSceneAdmin::Scene(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_scenes.size()))
        return nullptr;
    return m_scenes[static_cast<size_t>(index)].get();
}

bool CSceneAdmin::AddObject(int sceneIndex, int objectIndex)
{
    CScene* scene = Scene(sceneIndex);
    CSceneObject* object = m_objects.Object(objectIndex);
    if (scene == nullptr || object == nullptr)
        return false;
    scene->AddObject(objectIndex, *object);
    return true;
}

bool CSceneAdmin::RemoveObject(int sceneIndex, int objectIndex)
{
    CScene* scene = Scene(sceneIndex);
    if (scene == nullptr)
        return false;
    scene->RemoveIndex(objectIndex);
    return true;
}

void CSceneAdmin::Describe(std::string& ioText) const
{
    ioText += "SceneAdmin\n";
    for (const auto& scene : m_scenes)
    {
        if (!scene)
            continue;
        ioText += "SceneObjects in Scene \"" + scene->GetName() + "\"\n";
        for (int index : scene->GetObjectIndices())
            if (const CSceneObject* object = m_objects.Object(index); object != nullptr && index != 0)
                object->DebugLine(ioText, m_objects.Vdbs().FileName(object->GetVdbIndex()));
    }
}
