#pragma once
// Base of every part of a model. A part embeds its property set (what the model file says:
// name and typed values) and copies the values into plain members in ApplyProperties, where it
// also resolves its links to variables and other parts. Runtime state lives in those members.
//
// Life of a part: created by the factory (PartClassTable), its set read from the model file,
// AttachToModel once, ApplyProperties on the model's first frame and after every property change
// (the set's change callback), then UpdateFrame once per frame. Owned by the model's part list.
//
// The enable mask: bit 0 forces on, bit 1 mass counted, bit 2 debug drawing, bit 3 only the
// extra debug layer. The available-checks mask tells the editor which of the first three
// switches it offers.

#include <memory>
#include <string>
#include <vector>

#include "core/CVector3.h"

class CAirfoilList;
class CComponentNode;
class CModel;
class CPartPhysic;
class CProperty;
class CPropertySet;
class IDebugDraw;

class CPart
{
public:
    static constexpr int kEnableForces = 1;
    static constexpr int kEnableMass = 2;
    static constexpr int kEnableRender = 4;
    static constexpr int kEnableRenderExtraOnly = 8;

    explicit CPart(int classIndex);
    virtual ~CPart();
    CPart(const CPart&) = delete;
    CPart& operator=(const CPart&) = delete;

    // 1. Stores the model and registers the property-changed callback (ApplyProperties, then
    // the model's mass flag). Derived parts call CPart::AttachToModel first. Returns success;
    // the model keeps a part that fails (it produces no force).
    virtual bool AttachToModel(CModel& model) = 0;
    // 2. Once per frame before the body integrates. frameTime in s.
    virtual void UpdateFrame(float frameTime);
    // 3. Copies the set's values into members, resolves links, rebuilds derived data and
    // sets the linked flag when the part can work.
    virtual bool ApplyProperties() = 0;
    // 4. The set the editor shows.
    virtual CPropertySet& GetEditPropertySet();
    // 5. The embedded set.
    virtual CPropertySet& GetPropertySet() = 0;
    const CPropertySet& GetPropertySet() const { return const_cast<CPart*>(this)->GetPropertySet(); }
    // 6., 7. Debug geometry (world coordinates).
    virtual void DrawDebug(IDebugDraw& draw);
    virtual void DrawDebugExtra(IDebugDraw& draw);
    // 9. File name in Data/3D/ of the editor marker ("Servo.osg"), or null for none.
    virtual const char* GetMarkerNode() const;
    // 10. Appends the part's flight-recording state; returns the number of bytes appended.
    virtual int SaveState(std::vector<unsigned char>& ioBytes);
    // 11. Reads the state back from at most count bytes (never more); returns the bytes used,
    // 0 when the record is too short (the part then keeps its state).
    virtual int LoadState(const unsigned char* bytes, int count);
    // 12. "Part Type:<block>\nToken:<name>\n\n" and the property listing (at most 6000 chars).
    virtual void GetDebugText(std::string& ioText);
    // 13. Where the part touches the ground: its point (body frame, m) and how far below that
    // point it reaches at rest (m); false for parts that never touch it.
    virtual bool GetGroundContact(CVector3& outPoint, float& outReach) const { return false; }

    // Non-null for parts that carry mass or produce forces; saves a dynamic_cast per sub-step.
    virtual CPartPhysic* AsPhysic() { return nullptr; }

    int GetClassIndex() const { return m_classIndex; }
    // The part's name (the property set's instance token).
    const std::string& GetName() const;
    void SetName(const std::string& name);
    CModel* GetModel() const { return m_model; }

    // The POSITION property's value (body frame, m); false and zero for parts without one.
    bool GetPosition(CVector3& outPosition);

    int GetEnableMask() const { return m_enableMask; }
    void SetEnableMask(int mask) { m_enableMask = mask; }
    int GetAvailableChecks() const { return m_availableChecks; }
    bool IsLinked() const { return m_linked; }

    // The part's node in the component tree (set by the model when it registers the part).
    void SetRegistryNode(CComponentNode* node);
    CComponentNode* GetRegistryNode() const;

    // Editor marker scene object (0 = none); the graphics stores its handle here.
    unsigned int m_markerHandle = 0;

protected:
    // The mass (kg) a MASS-like key gives the part: a negative, NaN or infinite value is
    // reported, naming the model file, the part and the key, and counts as no mass.
    float UsableMass(float mass, const char* key) const;
    // The model's airfoil list (the process's shared one for a part without a model).
    CAirfoilList& Airfoils() const;

    // The change callback: the set already applied its values into itself.
    static void OnPropertiesChanged(void* context);

    int m_classIndex;                 // EPartClass
    CModel* m_model = nullptr;        // owns this part; set by AttachToModel
    CProperty* m_positionProperty = nullptr; // looked up on first use
    bool m_positionLooked = false;
    int m_availableChecks = 15;
    int m_enableMask = 7;
    bool m_linked = false;            // set by ApplyProperties when the part can work
    std::weak_ptr<CComponentNode> m_registryNode; // owned by the component tree; expires with it
};
