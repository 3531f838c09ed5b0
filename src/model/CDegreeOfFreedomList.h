#pragma once
// The degrees of freedom of one model, by name. A part asks for its DOF by name once (when it
// links) and keeps the pointer; an unknown name creates the DOF, so a part works whether or not
// the 3D object (or a window) exists. The presentation walks the list after loading the 3D
// object and binds each DOF to the node of the same name.

#include <memory>
#include <string>
#include <vector>

#include "model/CDegreeOfFreedom.h"

class CDegreeOfFreedomList
{
public:
    // The DOF of that name (exact compare), created when missing; null only for an empty name.
    // The pointer stays valid until Clear or the list's destruction.
    CDegreeOfFreedom* Get(const std::string& name);
    // The DOF of that name, or null.
    CDegreeOfFreedom* Find(const std::string& name) const;

    int Count() const { return static_cast<int>(m_items.size()); }
    CDegreeOfFreedom* At(int index) const;
    // Drops every DOF: only the model does it, before it relinks all parts.
    void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<CDegreeOfFreedom>> m_items; // owned; pointers handed out stay valid
};
