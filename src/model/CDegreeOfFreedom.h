#pragma once
// A degree of freedom of the model's 3D object: a named value (an angle or an offset) that a
// part writes every frame (a control surface deflection, a wheel's spin) and the graphics reads
// to move the DOFTransform node of the same name. The flight model owns the values; the
// graphics only binds to them, so the parts work the same with or without a window.

#include <string>

#include "core/CVector3.h"

class CDegreeOfFreedom
{
public:
    explicit CDegreeOfFreedom(std::string name) : m_name(std::move(name)) {}

    const std::string& Name() const { return m_name; }

    // Rotation (radians, Euler angles heading, pitch, roll about the node's own axes) and
    // translation (m, the node's frame) the node takes from its rest pose.
    void SetRotation(const CVector3& hprRad) { m_rotation = hprRad; }
    void SetTranslation(const CVector3& offset) { m_translation = offset; }
    const CVector3& Rotation() const { return m_rotation; }
    const CVector3& Translation() const { return m_translation; }

    // Whether the 3D object has a node of this name (set by the presentation when it binds);
    // false headless or when the object lacks the node. Parts may use it for diagnostics.
    bool IsBound() const { return m_bound; }
    void SetBound(bool bound) { m_bound = bound; }

private:
    std::string m_name;
    CVector3 m_rotation;
    CVector3 m_translation;
    bool m_bound = false;
};
