#pragma once
// A named float through which parts are controlled and observed: the transmitter channels
// (V_CH1 .. V_CH9), a wing's control input, an instrument's reading. A variable may be linked
// to a part's property ("Wing.POSITION.X"): reading and writing it then read and write that
// property.
//
// The link is resolved on the first SetValue, from the link root through the component tree
// (CComponentNode::Resolve): a CLASS_CProperty node of a FLOAT or SLIDER property becomes the
// linked property, a CLASS_CPropertyComponent node the linked component; anything else leaves it
// unlinked, holding its own value. Until the first assignment the variable reads 0 (unresolved).
//
// The resolved node is held weakly: when the part or the property goes away (the editor deletes
// it, the model reloads) the link expires instead of dangling. An expired link reads and writes
// the own value, and the next assignment resolves the link text again.

#include <memory>
#include <string>

class CComponentNode;
class CProperty;
class CPropertyComponent;

class CVariable
{
public:
    CVariable() = default;

    // 0 while unresolved; else the linked property's float, the linked component (0 when the
    // property is no longer a VECTOR3), or the own value.
    float GetValue() const;
    // First call: clears the unresolved flag and resolves the link. Then writes the linked
    // property, else the linked component, else the own value. A linked property or component
    // that already holds the value (NaN counting as equal to NaN) is not written, so its part
    // is not re-applied.
    void SetValue(float value);

    // Re-initialises the record (CPartVariable::ApplyProperties, table loading): unresolved,
    // no link resolved yet.
    void Init(const std::string& name, const std::string& description, const std::string& linkText,
              CComponentNode* linkRoot, float value);

    const std::string& GetName() const { return m_name; }
    const std::string& GetDescription() const { return m_description; }
    const std::string& GetLinkText() const { return m_linkText; }
    bool IsUnresolved() const { return m_unresolved; }
    // The own value, whatever the link state (for saving and debugging).
    float GetOwnValue() const { return m_value; }

private:
    float m_value = 0.0f;
    // Not owned: valid only while m_linkNode has not expired.
    CProperty* m_linkedProperty = nullptr;
    CPropertyComponent* m_linkedComponent = nullptr;
    std::weak_ptr<CComponentNode> m_linkNode; // the resolved node, owned by the component tree
    std::string m_name;
    std::string m_description;
    std::string m_linkText;
    bool m_unresolved = true;
    // Not owned: the model's node or the registry's root, which outlive the variables resolved
    // from them (a model clears its table and parts before it drops its node).
    CComponentNode* m_linkRoot = nullptr;

    // Resolves the link text from the link root (or leaves the variable unlinked).
    void ResolveLink();
    // Whether a resolved link is still usable.
    bool HasLiveLink() const;
};
