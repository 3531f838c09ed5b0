#include "gfx/scene/CSceneObjectAdmin.h"

#include "core/Diagnostics.h"
#include "gfx/scene/CVdbObjectAdmin.h"

namespace
{
// Initial capacity 50, grown by 100: a site with scenery and markers places many objects.
constexpr size_t kInitialCapacity = 50;
constexpr size_t kGrowth = 100;
} // namespace

CSceneObjectAdmin::CSceneObjectAdmin(CVdbObjectAdmin& vdbs) : m_vdbs(vdbs)
{
    m_objects.reserve(kInitialCapacity);
    m_objects.push_back(std::make_unique<CSceneObject>("DummySceneObject", CVdbObjectAdmin::kDummyIndex,
                                                       vdbs.Node(CVdbObjectAdmin::kDummyIndex)));
}

CSceneObjectAdmin::~CSceneObjectAdmin() = default;

int CSceneObjectAdmin::Create(const std::string& name, int vdbIndex, bool impostor)
{
    return Add(std::make_unique<CSceneObject>(name, vdbIndex, m_vdbs.Node(vdbIndex), impostor));
}

int CSceneObjectAdmin::Add(std::unique_ptr<CSceneObject> object)
{
    if (!object)
        return -1;
    for (size_t i = 1; i < m_objects.size(); ++i)
        if (!m_objects[i])
        {
            m_objects[i] = std::move(object);
            return static_cast<int>(i);
        }
    if (m_objects.size() == m_objects.capacity())
        m_objects.reserve(m_objects.size() + kGrowth);
    m_objects.push_back(std::move(object));
    return static_cast<int>(m_objects.size() - 1);
}

void CSceneObjectAdmin::Release(int index)
{
    if (index <= kDummyIndex || index >= SlotCount())
        return;
    m_objects[static_cast<size_t>(index)].reset();
}

CSceneObject* CSceneObjectAdmin::Object(int index) const
{
    if (index < 0 || index >= SlotCount())
        return nullptr;
    return m_objects[static_cast<size_t>(index)].get();
}

void CSceneObjectAdmin::Describe(std::string& ioText) const
{
    ioText += "SceneObjects\n";
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i])
            ioText += StringPrintf("%2.2i %-20s%s\n", static_cast<int>(i), m_objects[i]->GetName().c_str(),
                                   m_vdbs.FileName(m_objects[i]->GetVdbIndex()).c_str());
}
