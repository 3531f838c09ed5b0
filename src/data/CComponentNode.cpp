#include "data/CComponentNode.h"

#include "core/Diagnostics.h"

CComponentNode::CComponentNode(const std::string& name, int classType, void* object)
    : m_name(name), m_classType(classType), m_object(object)
{
}

CComponentNode::~CComponentNode()
{
    // Children outliving this node (a registrant holding a locked handle) must not reach back.
    for (auto& child : m_children)
        if (child)
            child->m_parent = nullptr;
}

CComponentNode* CComponentNode::AddChild(const std::string& name, int classType, void* object)
{
    auto child = std::make_shared<CComponentNode>(name, classType, object);
    child->m_parent = this;
    for (auto& slot : m_children)
    {
        if (!slot)
        {
            slot = std::move(child);
            return slot.get();
        }
    }
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

bool CComponentNode::RemoveChild(const CComponentNode* child)
{
    if (child == nullptr)
        return false;
    for (auto& slot : m_children)
    {
        if (slot.get() == child)
        {
            slot->m_parent = nullptr;
            slot.reset();
            return true;
        }
    }
    return false;
}

void CComponentNode::RemoveChildren()
{
    for (auto& slot : m_children)
        if (slot)
            slot->m_parent = nullptr;
    m_children.clear();
}

bool CComponentNode::Detach()
{
    if (m_parent == nullptr)
        return false;
    // Keep this node alive until the parent has let go of it.
    std::shared_ptr<CComponentNode> self = shared_from_this();
    return m_parent->RemoveChild(this);
}

CComponentNode* CComponentNode::Resolve(const std::string& path, int* outClassType)
{
    if (outClassType != nullptr)
        *outClassType = -1;
    if (path.size() > kMaxPathLength)
    {
        DiagPrint("Component path longer than %zu characters not resolved: %.40s...\n", kMaxPathLength,
                  path.c_str());
        return nullptr;
    }

    CComponentNode* node = this;
    size_t start = 0;
    for (;;)
    {
        if (node->m_busy)
            return nullptr;
        const size_t dot = path.find('.', start);
        const size_t length = (dot == std::string::npos ? path.size() : dot) - start;
        if (length == 0)
            return nullptr;

        CComponentNode* match = nullptr;
        for (const auto& child : node->m_children)
        {
            if (child && child->m_name.size() == length && path.compare(start, length, child->m_name) == 0)
            {
                match = child.get();
                break;
            }
        }
        if (match == nullptr)
            return nullptr;
        if (dot == std::string::npos)
        {
            if (outClassType != nullptr)
                *outClassType = match->m_classType;
            return match;
        }
        node = match;
        start = dot + 1;
    }
}

CComponentNode* CComponentNode::ChildAt(int slot) const
{
    if (slot < 0 || slot >= SlotCount())
        return nullptr;
    return m_children[static_cast<size_t>(slot)].get();
}

int CComponentNode::ChildCount() const
{
    int count = 0;
    for (const auto& child : m_children)
        if (child)
            ++count;
    return count;
}

CComponentNode* CComponentNode::FindChild(const std::string& name) const
{
    for (const auto& child : m_children)
        if (child && child->m_name == name)
            return child.get();
    return nullptr;
}

void CComponentNode::Dump(std::string& outText, int depth) const
{
    outText.append(static_cast<size_t>(depth) * 2, ' ');
    outText += m_name;
    outText += ' ';
    outText += ClassTypeToken(m_classType);
    outText += '\n';
    for (const auto& child : m_children)
        if (child)
            child->Dump(outText, depth + 1);
}
