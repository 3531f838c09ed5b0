#include "gfx/scene/CScene.h"

#include <osg/StateSet>

#include "gfx/scene/CSceneObject.h"

CScene::CScene(const std::string& name) : m_name(name), m_root(new osg::Group)
{
    m_root->setName(name);
    osg::StateSet* state = m_root->getOrCreateStateSet();
    state->setMode(GL_CULL_FACE, osg::StateAttribute::ON);
    state->setMode(GL_LIGHTING, osg::StateAttribute::ON);
    state->setMode(GL_DEPTH_TEST, osg::StateAttribute::ON);
    m_objects.reserve(50);
}

CScene::~CScene() = default;

void CScene::AddObject(int objectIndex, CSceneObject& object)
{
    m_root->addChild(object.GetTransformNode());
    m_objects.push_back(objectIndex);
    m_nodes.emplace_back(object.GetTransformNode());
}

void CScene::RemoveObject(int objectIndex, CSceneObject& object)
{
    m_root->removeChild(object.GetTransformNode());
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i] == objectIndex && objectIndex != 0)
        {
            m_objects[i] = 0;
            m_nodes[i] = nullptr;
        }
}

void CScene::RemoveIndex(int objectIndex)
{
    if (objectIndex == 0)
        return;
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i] == objectIndex)
        {
            if (m_nodes[i])
                m_root->removeChild(m_nodes[i].get());
            m_objects[i] = 0;
            m_nodes[i] = nullptr;
        }
}
