#pragma once
// One typed, named value of a property set: how it reads itself from a block, writes its file
// line, shows itself in dumps, registers in the component tree and takes edits from the
// editor's controls. Setters notify the owning set only on a real change, so writing the same
// value every frame costs nothing.
//
// File line: "  ." key " " value "   //" label, CR LF. Values by type:
//   UNKNOWN, BOOL "%i" | FLOAT, SLIDER "%f" | VECTOR3 "%f %f %f" | VECTOR2 "%f %f" |
//   VECTORI2 "%i %i" | TOKEN_EXT, TOKEN bare | STRING "\"%s\"".
// A text that would disturb the reading of other keys (a line break, a brace, "/*", a quote, a
// dot before one of the set's keys) is written with those characters replaced; "//" in a
// STRING is written as it is and reads back empty, because the reader strips comments first.

#include <limits>
#include <memory>
#include <string>

#include "core/CVector3.h"
#include "data/CPropertyComponent.h"

class CComponentNode;
class CFile;
class CPropertyEditorControls;
class CPropertySet;
class CStringList;
class CTokenFile;

// The type codes are stored in declarations and never renumbered.
enum class EPropertyType : int
{
    UNKNOWN = 0,   // integer
    BOOL = 1,      // integer 0 or 1
    FLOAT = 2,     // float
    SLIDER = 3,    // float edited by a slider between min and max
    VECTOR3 = 4,   // three floats
    VECTOR2 = 5,   // two floats
    VECTORI2 = 6,  // two integers
    TOKEN_EXT = 7, // a name chosen from a list the owner attaches
    TOKEN = 8,     // a name that refers to another object
    STRING = 9,    // free text, quoted in files
};

// For unlimited ranges.
constexpr float kPropertyMax = std::numeric_limits<float>::max();
constexpr float kPropertyMin = -kPropertyMax;

// Declaration flag: leave 10 extra pixels below the property's editor row.
constexpr int kPropertyFlagExtraSpace = 1;

// One entry of a set's static declaration table.
struct TPropertyDeclaration
{
    bool required;      // the key must be present when the set is read
    EPropertyType type;
    const char* key;    // key word in files, upper case
    float step;         // edit increment of number controls
    float min;          // lower limit of sliders and number controls
    float max;          // upper limit
    int flags;          // kPropertyFlag...
};

class CProperty
{
public:
    // Looks up the label "IDS_<set>__<key>_S" and the help "..._L" in the string table.
    CProperty(CPropertySet& set, const std::string& setName, const TPropertyDeclaration& declaration);
    ~CProperty();
    CProperty(const CProperty&) = delete;
    CProperty& operator=(const CProperty&) = delete;

    const std::string& Key() const { return m_key; }
    EPropertyType Type() const { return m_type; }
    bool IsRequired() const { return m_required; }
    // Whether the last Read found the key.
    bool WasFound() const { return m_found; }
    int Flags() const { return m_flags; }
    float Step() const { return m_step; }
    float Min() const { return m_min; }
    float Max() const { return m_max; }
    const std::string& Label() const { return m_label; }
    const std::string& LongText() const { return m_longText; }
    CPropertySet& OwnerSet() const { return m_set; }
    bool IsText() const;

    // TOKEN_EXT: the names the editor offers (not owned; the owner keeps it alive).
    void SetChoiceList(const CStringList* choices) { m_choices = choices; }
    const CStringList* ChoiceList() const { return m_choices; }

    // Values. A getter of another type's value returns 0 (or the empty text).
    int GetInt() const;                     // UNKNOWN, BOOL
    float GetFloat() const;                 // FLOAT, SLIDER
    CVector3 GetVector3() const;            // VECTOR3
    void GetVector2(float& outX, float& outY) const; // VECTOR2
    void GetVectorI2(int& outX, int& outY) const;    // VECTORI2
    const std::string& GetString() const;   // TOKEN_EXT, TOKEN, STRING

    // Each stores the value when the property has a matching type (others are ignored) and,
    // only when it differs from the old one (exact, component-wise), calls the set's
    // OnPropertyChanged and refreshes the controls. A BOOL stores any non-zero value as 1.
    void SetInt(int value);
    void SetFloat(float value);
    void SetVector3(const CVector3& value);
    void SetVector2(float x, float y);
    void SetVectorI2(int x, int y);
    // Replaces the text of a text property without any notification.
    void SetString(const std::string& text);

    // Reads the key from the block (numbers keep their value when it is absent, texts become
    // empty) and consumes a second occurrence of it. False when the property is required and
    // its key is absent.
    bool Read(CTokenFile& block);
    // Brings every number of a FLOAT, SLIDER, VECTOR2, VECTOR3, VECTORI2 or UNKNOWN value into
    // [Min(), Max()]; a NaN or an infinity becomes fallback's matching number (the value before
    // the file was read), or Min() without one. Returns what was changed as "value -> value" ("" when nothing).
    std::string ClampToRange(const float* fallback = nullptr);
    // The numbers of the value as floats (up to three; the rest 0), for ClampToRange's fallback.
    void GetNumbers(float outNumbers[3]) const;
    // Writes the property's file line; false when the file did not take all of it.
    bool Write(CFile& file) const;
    // The value as the debug dump shows it.
    std::string DisplayText() const;

    // The component of a VECTOR3 (index 0..2), else null.
    CPropertyComponent* Component(int index);

    // Adds this property's node (and the X, Y, Z nodes of a VECTOR3) below parent, replacing
    // an earlier registration.
    void RegisterComponents(CComponentNode& parent);
    void UnregisterComponents();
    // The registered node, or null.
    CComponentNode* ComponentNode() const;

    // Editor controls (built by the set through the GUI's factory).
    void SetControls(std::unique_ptr<CPropertyEditorControls> controls);
    bool HasControls() const { return m_controls != nullptr; }
    // Takes a user change from the controls; true when a control reported one.
    bool ReadControls();
    void RefreshControls();

private:
    friend class CPropertyComponent;

    // Stores the text value read from a file, mending what the writer could not express.
    void StoreReadText(std::string text);
    // The value text of the file line.
    std::string FileValueText() const;
    void NotifyChanged();

    bool m_required;
    bool m_found = false;
    std::string m_label;
    std::string m_longText;
    EPropertyType m_type;
    std::string m_key;
    int m_flags;
    CPropertySet& m_set; // owns this property
    std::weak_ptr<CComponentNode> m_node; // owned by the tree; expires when removed with its parent
    std::unique_ptr<CPropertyComponent> m_components[3]; // VECTOR3 only
    std::unique_ptr<CPropertyEditorControls> m_controls;
    const CStringList* m_choices = nullptr;
    float m_step;
    float m_min;
    float m_max;

    // The value: the slots the type uses.
    int m_ints[2] = {0, 0};
    float m_floats[3] = {0.0f, 0.0f, 0.0f};
    std::string m_text;
};
