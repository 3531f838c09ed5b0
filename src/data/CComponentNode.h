#pragma once
// The component tree: a naming tree of live objects that other code refers to by a dotted
// path. The application creates the root "MainKestro" (CLASS_CMainKestro); the model hangs
// "MODEL" below it, each part its own node below the model, and each property set one node per
// property (CLASS_CProperty) with the children "X", "Y" and "Z" (CLASS_CPropertyComponent) for
// a VECTOR3. A variable's link text such as "Wing.POSITION.X" is resolved from the model node.
//
// Ownership: a node owns its children. The objects the nodes stand for are not owned; whoever
// registers an object removes its node before the object dies (CProperty does it itself). To
// make that safe in any destruction order, a registrant keeps the weak Handle() of its node: a
// node removed with its parent's subtree simply expires.

#include <memory>
#include <string>
#include <vector>

#include "data/ClassTypes.h"

class CComponentNode : public std::enable_shared_from_this<CComponentNode>
{
public:
    // Paths longer than this are refused rather than cut, so that a cut path never names a
    // different node.
    static constexpr size_t kMaxPathLength = 999;

    explicit CComponentNode(const std::string& name, int classType = CLASS_TYPE_UNKNOWN,
                            void* object = nullptr);
    ~CComponentNode();
    CComponentNode(const CComponentNode&) = delete;
    CComponentNode& operator=(const CComponentNode&) = delete;

    // Appends a child standing for object; the first empty slot is reused, else the list
    // grows by one. The node stays owned by this node.
    CComponentNode* AddChild(const std::string& name, int classType, void* object);
    // Deletes the child and its subtree and empties its slot. False when it is not a child.
    bool RemoveChild(const CComponentNode* child);
    void RemoveChildren();
    // Removes this node from its parent (which deletes it); false for a root.
    bool Detach();

    // Follows the dotted path from this node: each segment names the first child (slot order)
    // whose name equals it exactly. Null when a segment matches no child, a segment is empty,
    // the path is too long, or a node the search has to look into is busy. outClassType gets
    // the class type of the result, or -1.
    CComponentNode* Resolve(const std::string& path, int* outClassType = nullptr);

    const std::string& Name() const { return m_name; }
    int ClassType() const { return m_classType; }
    // The object the node stands for; ClassType() tells what it is.
    void* Object() const { return m_object; }
    CComponentNode* Parent() const { return m_parent; }

    // A node that is still being filled in resolves nothing.
    void SetBusy(bool busy) { m_busy = busy; }
    bool IsBusy() const { return m_busy; }

    // Slots, including empty ones (null), in registration order.
    int SlotCount() const { return static_cast<int>(m_children.size()); }
    CComponentNode* ChildAt(int slot) const;
    int ChildCount() const;
    // The first child of that name, or null.
    CComponentNode* FindChild(const std::string& name) const;

    // Expires when the node is deleted; empty for a node not owned by a parent (a root).
    std::weak_ptr<CComponentNode> Handle() { return weak_from_this(); }

    // One line per node, indented two spaces per level: name, class token.
    void Dump(std::string& outText, int depth = 0) const;

private:
    std::string m_name;
    int m_classType;
    void* m_object; // not owned: the registrant removes the node before the object dies
    CComponentNode* m_parent = nullptr; // owns this node
    std::vector<std::shared_ptr<CComponentNode>> m_children; // null = empty slot
    bool m_busy = false;
};
