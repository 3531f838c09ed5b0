#include "gfx/scene/CSceneObject.h"

#include <cmath>

#include <osgSim/Impostor>

#include "core/Diagnostics.h"

namespace
{
// The impostor shows its one child over every distance a flight can produce.
constexpr float kImpostorRange = 1.0e7f;
} // namespace

CSceneObject::CSceneObject(const std::string& name, int vdbIndex, osg::Node* node, bool impostor)
    : m_name(name), m_vdbIndex(vdbIndex), m_transform(new osg::MatrixTransform), m_switch(new osg::Switch)
{
    m_transform->setName(name);
    // The placement is rebuilt every frame by the owner; the culling must not cache it.
    m_transform->setDataVariance(osg::Object::DYNAMIC);
    m_transform->addChild(m_switch.get());
    if (node != nullptr)
    {
        if (impostor)
        {
            osg::ref_ptr<osgSim::Impostor> imp = new osgSim::Impostor;
            imp->addChild(node, 0.0f, kImpostorRange);
            m_switch->addChild(imp.get(), true);
        }
        else
            m_switch->addChild(node, true);
    }
    UpdateTransform();
}

CSceneObject::~CSceneObject() = default;

void CSceneObject::SetPose(const CVector3& position, const CMatrix3& orientation)
{
    m_position = position + m_pivotOffset * orientation;
    m_orientation = orientation;
    UpdateTransform();
}

void CSceneObject::SetScale(float scale)
{
    if (!(scale > 0.0f) || !std::isfinite(scale))
    {
        DiagPrint("SceneObject %s: scale %g refused, keeping %g\n", m_name.c_str(), static_cast<double>(scale),
                  static_cast<double>(m_scale));
        return;
    }
    m_scale = scale;
    // Scaled normals would brighten or darken the object; rescaling undoes a uniform scale.
    m_transform->getOrCreateStateSet()->setMode(GL_RESCALE_NORMAL,
                                                scale != 1.0f ? osg::StateAttribute::ON : osg::StateAttribute::OFF);
    UpdateTransform();
}

void CSceneObject::SetVisible(bool visible)
{
    if (visible)
        m_switch->setAllChildrenOn();
    else
        m_switch->setAllChildrenOff();
}

bool CSceneObject::IsVisible() const
{
    return m_switch->getNumChildren() > 0 && m_switch->getValue(0);
}

osg::Matrix CSceneObject::PlacementMatrix(const CVector3& position, const CMatrix3& orientation, float scale)
{
    const CVector3& x = orientation.row[0];
    const CVector3& y = orientation.row[1];
    const CVector3& z = orientation.row[2];
    return osg::Matrix(x.x * scale, x.y * scale, x.z * scale, 0.0, //
                       y.x * scale, y.y * scale, y.z * scale, 0.0, //
                       z.x * scale, z.y * scale, z.z * scale, 0.0, //
                       position.x, position.y, position.z, 1.0);
}

void CSceneObject::UpdateTransform()
{
    m_transform->setMatrix(PlacementMatrix(m_position, m_orientation, m_scale));
    m_transform->dirtyBound();
}

void CSceneObject::DebugLine(std::string& ioText, const std::string& vdbFileName) const
{
    ioText += StringPrintf("(%3.3f, %3.3f, %3.3f) %3.3f %-30s%s\n", static_cast<double>(m_position.x),
                           static_cast<double>(m_position.y), static_cast<double>(m_position.z),
                           static_cast<double>(m_scale), m_name.c_str(), vdbFileName.c_str());
}
