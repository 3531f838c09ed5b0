#include "gfx/scene/CSceneDofList.h"

#include <osg/NodeVisitor>

#include "model/CDegreeOfFreedom.h"

namespace
{
class CDofCollector : public osg::NodeVisitor
{
public:
    explicit CDofCollector(std::vector<osg::ref_ptr<osgSim::DOFTransform>>& out)
        : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN), m_out(out)
    {
    }

    void apply(osg::Transform& node) override
    {
        if (auto* dof = dynamic_cast<osgSim::DOFTransform*>(&node))
            m_out.emplace_back(dof);
        traverse(node);
    }

private:
    std::vector<osg::ref_ptr<osgSim::DOFTransform>>& m_out;
};
} // namespace

void CSceneDofList::Build(osg::Node* root)
{
    m_nodes.clear();
    if (root == nullptr)
        return;
    CDofCollector collector(m_nodes);
    root->accept(collector);
}

osgSim::DOFTransform* CSceneDofList::Find(const std::string& name) const
{
    for (const auto& node : m_nodes)
        if (node->getName() == name)
            return node.get();
    return nullptr;
}

osgSim::DOFTransform* CSceneDofList::At(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_nodes[static_cast<size_t>(index)].get();
}

void CSceneDofList::Apply(const CDegreeOfFreedom& dof, osgSim::DOFTransform& node)
{
    const CVector3& hpr = dof.Rotation(); // heading, pitch, roll (rad)
    // osgSim slot 0 turns about Z, slot 1 about X, slot 2 about Y; RPH applies slot 0 first,
    // then 1, then 2: our roll (Z), pitch (X), heading (Y).
    node.setAnimationOn(false);
    node.setHPRMultOrder(osgSim::DOFTransform::RPH);
    node.setCurrentHPR(osg::Vec3(hpr.z, hpr.y, hpr.x));
    const CVector3& t = dof.Translation();
    node.setCurrentTranslate(osg::Vec3(t.x, t.y, t.z));
    // A default-constructed DOFTransform (and a file written from one) has scale 0, which
    // collapses the part to a point: nothing a degree of freedom means.
    const osg::Vec3& s = node.getCurrentScale();
    if (s.x() == 0.0f || s.y() == 0.0f || s.z() == 0.0f)
        node.setCurrentScale(osg::Vec3(1.0f, 1.0f, 1.0f));
}
