#pragma once
// One scene: a named root group that collects scene objects for a view (the flight view's
// world, the editor's model). The root's state enables face culling, lighting and depth
// testing; the objects bring the rest of their state with them.

#include <string>
#include <vector>

#include <osg/Group>
#include <osg/ref_ptr>

class CSceneObject;

class CScene
{
public:
    explicit CScene(const std::string& name);
    virtual ~CScene();
    CScene(const CScene&) = delete;
    CScene& operator=(const CScene&) = delete;

    // Makes the object's transform a child of the root and appends its index to the list.
    void AddObject(int objectIndex, CSceneObject& object);
    // Removes the object's transform from the root and sets its list entries to 0 (the list
    // keeps its length, so positions other code remembered stay valid).
    void RemoveObject(int objectIndex, CSceneObject& object);
    // Removes the object's node by index alone (the object is already gone or unknown).
    void RemoveIndex(int objectIndex);

    const std::string& GetName() const { return m_name; }
    osg::Group* GetRoot() const { return m_root.get(); }
    const std::vector<int>& GetObjectIndices() const { return m_objects; }

private:
    std::string m_name;
    osg::ref_ptr<osg::Group> m_root;
    std::vector<int> m_objects;                  // scene-object indices; 0 = removed
    std::vector<osg::ref_ptr<osg::Node>> m_nodes; // the node added for each list entry
};
