#include "gfx/scene/CVdbObjectAdmin.h"

#include <strings.h>

#include <osg/Group>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "env/SceneCache.h"

namespace
{
const std::string kEmpty;
// Initial capacity 10, grown by 10: the table stays small (a site, a sky, a model, markers).
constexpr size_t kGrowth = 10;
} // namespace

CVdbObjectAdmin::CVdbObjectAdmin(const std::string& folder)
    : m_folder(folder.empty() ? BuildDataPath(DF_3D, "") : folder)
{
    m_entries.reserve(kGrowth);
    osg::ref_ptr<osg::Node> dummy = ReadSceneFile(m_folder + kDummyName);
    if (!dummy)
    {
        // Without it every missing file would show nothing at all; an empty group keeps the
        // "never null" promise and the program running.
        DiagPrint("%s%s: cannot be read; the stand-in for missing scene files is empty\n", m_folder.c_str(),
                  kDummyName);
        dummy = new osg::Group;
    }
    auto entry = std::make_unique<Entry>();
    entry->fileName = kDummyName;
    entry->node = dummy;
    entry->refs = 1;
    m_entries.push_back(std::move(entry));
}

CVdbObjectAdmin::~CVdbObjectAdmin() = default;

int CVdbObjectAdmin::Load(const std::string& fileName)
{
    for (size_t i = 1; i < m_entries.size(); ++i)
        if (m_entries[i] && strcasecmp(m_entries[i]->fileName.c_str(), fileName.c_str()) == 0)
        {
            ++m_entries[i]->refs;
            return static_cast<int>(i);
        }
    if (fileName.empty() || !IsPlainDataName(fileName))
        return kDummyIndex;
    osg::ref_ptr<osg::Node> node = ReadSceneFile(m_folder + fileName);
    if (!node)
        return kDummyIndex;
    return Store(fileName, node.get());
}

int CVdbObjectAdmin::Register(const std::string& name, osg::Node* node)
{
    if (node == nullptr)
        return -1;
    return Store(name, node);
}

int CVdbObjectAdmin::Store(const std::string& name, osg::Node* node)
{
    auto entry = std::make_unique<Entry>();
    entry->fileName = name;
    entry->node = node;
    entry->refs = 1;
    for (size_t i = 1; i < m_entries.size(); ++i)
        if (!m_entries[i])
        {
            m_entries[i] = std::move(entry);
            return static_cast<int>(i);
        }
    if (m_entries.size() == m_entries.capacity())
        m_entries.reserve(m_entries.size() + kGrowth);
    m_entries.push_back(std::move(entry));
    return static_cast<int>(m_entries.size() - 1);
}

void CVdbObjectAdmin::Release(int index)
{
    if (index <= kDummyIndex || !IsValid(index))
        return;
    Entry& entry = *m_entries[static_cast<size_t>(index)];
    if (--entry.refs <= 0)
        m_entries[static_cast<size_t>(index)].reset();
}

bool CVdbObjectAdmin::IsValid(int index) const
{
    return index >= 0 && index < SlotCount() && m_entries[static_cast<size_t>(index)] != nullptr;
}

osg::Node* CVdbObjectAdmin::Node(int index) const
{
    return IsValid(index) ? m_entries[static_cast<size_t>(index)]->node.get() : m_entries[0]->node.get();
}

const std::string& CVdbObjectAdmin::FileName(int index) const
{
    return IsValid(index) ? m_entries[static_cast<size_t>(index)]->fileName : kEmpty;
}

int CVdbObjectAdmin::RefCount(int index) const
{
    return IsValid(index) ? m_entries[static_cast<size_t>(index)]->refs : 0;
}

void CVdbObjectAdmin::Describe(std::string& ioText) const
{
    ioText += "VDB Objects created\n";
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i])
            ioText += StringPrintf("%2.2i %s (%i)\n", static_cast<int>(i), m_entries[i]->fileName.c_str(),
                                   m_entries[i]->refs);
}
