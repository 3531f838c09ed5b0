#pragma once
// The movable parts of a loaded 3D object: its osgSim::DOFTransform nodes, found by walking the
// node tree, looked up by name (exact compare; the first of equal names wins).
//
// Driving a node from a flight-model degree of freedom (Apply): the DOF's rotation is (heading,
// pitch, roll) in the body-axis sense of the node's hinge frame (the frame its put matrix maps
// into): pitch about +X (control surfaces, wheel spin), heading about +Y (wheel steering), roll
// about +Z (propeller spin), applied to the geometry roll first, then pitch, then heading.
// osgSim's own convention is the z-up one of its file format (heading about Z, roll about Y), so
// the components are handed over reordered, with the multiplication order that gives the same
// sequence.

#include <string>
#include <vector>

#include <osg/Node>
#include <osg/ref_ptr>
#include <osgSim/DOFTransform>

class CDegreeOfFreedom;

class CSceneDofList
{
public:
    // Collects every DOFTransform below root (root included); an empty list for null.
    void Build(osg::Node* root);
    void Clear() { m_nodes.clear(); }

    osgSim::DOFTransform* Find(const std::string& name) const;
    int Count() const { return static_cast<int>(m_nodes.size()); }
    osgSim::DOFTransform* At(int index) const;

    // Sets the node's rotation and translation from the DOF (see the class comment) and
    // switches the node's own animation off.
    static void Apply(const CDegreeOfFreedom& dof, osgSim::DOFTransform& node);

private:
    std::vector<osg::ref_ptr<osgSim::DOFTransform>> m_nodes;
};
