#pragma once
// Every placed scene object of the program, by index. Entry 0 is "DummySceneObject" showing the
// dummy file; freed slots are reused before the table grows. The admin owns the objects.

#include <memory>
#include <string>
#include <vector>

#include "gfx/scene/CSceneObject.h"

class CVdbObjectAdmin;

class CSceneObjectAdmin
{
public:
    static constexpr int kDummyIndex = 0;

    // vdbs: where the objects' files come from; must outlive the admin.
    explicit CSceneObjectAdmin(CVdbObjectAdmin& vdbs);
    ~CSceneObjectAdmin();
    CSceneObjectAdmin(const CSceneObjectAdmin&) = delete;
    CSceneObjectAdmin& operator=(const CSceneObjectAdmin&) = delete;

    // A new object showing the VDB entry; its index.
    int Create(const std::string& name, int vdbIndex, bool impostor = false);
    // Takes a ready-made object (the shadow); its index, -1 for null.
    int Add(std::unique_ptr<CSceneObject> object);
    // Destroys the object; index 0 and unknown indices are ignored. Scenes that still show it
    // keep its node alive until they remove it.
    void Release(int index);
    // The object or null.
    CSceneObject* Object(int index) const;
    int SlotCount() const { return static_cast<int>(m_objects.size()); }

    // "SceneObjects\n" and per object "%2.2i " index, name padded to 20, VDB file name.
    void Describe(std::string& ioText) const;

    CVdbObjectAdmin& Vdbs() const { return m_vdbs; }

private:
    CVdbObjectAdmin& m_vdbs; // not owned: the application's VDB admin outlives this one
    std::vector<std::unique_ptr<CSceneObject>> m_objects; // index = handle; null = free slot
};
