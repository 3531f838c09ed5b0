#pragma once
// Every scene of the program, by index; entry 0 is the scene "Dummy". Scenes show objects of
// the scene-object admin by index.

#include <memory>
#include <string>
#include <vector>

#include "gfx/scene/CScene.h"

class CSceneObjectAdmin;

class CSceneAdmin
{
public:
    // objects: must outlive the admin.
    explicit CSceneAdmin(CSceneObjectAdmin& objects);
    ~CSceneAdmin();
    CSceneAdmin(const CSceneAdmin&) = delete;
    CSceneAdmin& operator=(const CSceneAdmin&) = delete;

    // Always a new scene; its index.
    int Create(const std::string& name);
    // Index 0 and unknown indices are ignored.
    void Release(int index);
    CScene* Scene(int index) const;

    // False for an unknown scene or object.
    bool AddObject(int sceneIndex, int objectIndex);
    // Also works for an object already destroyed (its node is still removed).
    bool RemoveObject(int sceneIndex, int objectIndex);

    // "SceneAdmin\n", then per scene "SceneObjects in Scene \"name\"\n" and the debug line of
    // each of its objects.
    void Describe(std::string& ioText) const;

private:
    CSceneObjectAdmin& m_objects; // not owned
    std::vector<std::unique_ptr<CScene>> m_scenes;
};
