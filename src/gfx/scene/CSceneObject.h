#pragma once
// A placed instance of a loaded 3D file: a named object with a position, an orientation and a
// uniform scale, shown through its own transform node.
//
// Nodes: transform (placement) -> switch (visibility) -> [impostor ->] the VDB object's node.
// The VDB node is shared with every other object showing the same file.
//
// Placement: SetPose(p, M) stores p + offset * M (the pivot offset turns with the object) and
// M; the transform maps an object point v to v * scale * M + position (row vectors, world =
// body * M, the flight model's convention).

#include <string>

#include <osg/Matrix>
#include <osg/MatrixTransform>
#include <osg/Switch>
#include <osg/ref_ptr>

#include "core/CMatrix3.h"
#include "core/CVector3.h"

class CSceneObject
{
public:
    // node: what it shows (not owned; the transform holds a reference). impostor: draw it
    // through an osgSim::Impostor (a cached picture for far objects) instead of directly.
    CSceneObject(const std::string& name, int vdbIndex, osg::Node* node, bool impostor = false);
    virtual ~CSceneObject();
    CSceneObject(const CSceneObject&) = delete;
    CSceneObject& operator=(const CSceneObject&) = delete;

    // position: world (m) of the placed point; orientation: rows = object axes in world axes.
    void SetPose(const CVector3& position, const CMatrix3& orientation);
    // Uniform scale; values that are not positive and finite are refused (the object would
    // vanish or turn inside out) and reported.
    void SetScale(float scale);
    // The object's origin relative to the placed point, object axes (m); used by the next
    // SetPose.
    void SetPivotOffset(const CVector3& offset) { m_pivotOffset = offset; }
    void SetVisible(bool visible);
    bool IsVisible() const;

    const CVector3& GetPosition() const { return m_position; }
    const CMatrix3& GetOrientation() const { return m_orientation; }
    float GetScale() const { return m_scale; }
    const CVector3& GetPivotOffset() const { return m_pivotOffset; }
    const std::string& GetName() const { return m_name; }
    int GetVdbIndex() const { return m_vdbIndex; }
    osg::MatrixTransform* GetTransformNode() const { return m_transform.get(); }

    // The placement matrix for scene graphs: rows (scale * M row i, 0) and (position, 1).
    static osg::Matrix PlacementMatrix(const CVector3& position, const CMatrix3& orientation, float scale);

    // "(%3.3f, %3.3f, %3.3f) %3.3f %s%s%s\n": position, scale, name padded to 30, VDB file name.
    void DebugLine(std::string& ioText, const std::string& vdbFileName) const;

protected:
    // Pushes position, orientation and scale into the transform node.
    void UpdateTransform();

private:
    std::string m_name;
    int m_vdbIndex;
    CVector3 m_position;      // world, m: the object's origin (placed point + turned offset)
    CMatrix3 m_orientation;   // rows = object axes in world axes
    float m_scale = 1.0f;
    CVector3 m_pivotOffset;   // object axes, m
    osg::ref_ptr<osg::MatrixTransform> m_transform;
    osg::ref_ptr<osg::Switch> m_switch;
};
