#pragma once
// The user-editable parameters of one configurable object (a part, the wind, the sound
// settings): a named, ordered list of typed properties declared once by a static table.
//
// Values flow three ways:
//   loading: file -> Read -> properties -> ApplyProperties -> owner's members
//   saving:  owner's members -> StoreProperties -> properties (setters) -> Write -> file
//   editing: editor controls -> ReadControls -> OnPropertyChanged -> ApplyProperties + callback
// A concrete set is built as: base construction, the owner's members, Init(name, table),
// SetDefaults(), StoreProperties().
//
// Written block:
//   (empty line)
//   //------------------------------------------------------------------------------  (twice)
//   .SETNAME token
//   {
//     one line per property (see CProperty)
//   }

#include <memory>
#include <string>
#include <vector>

#include "data/CProperty.h"

class CComponentNode;
class CFile;
class CPropertyEditorPage;
class CPropertySetEditorHeader;
class CTokenFile;
struct TPropertyEditorFactory;

// Told after every change of a property value; context is what the owner registered.
using TPropertyChangedFn = void (*)(void* context);

class CPropertySet
{
public:
    CPropertySet();
    virtual ~CPropertySet();
    CPropertySet(const CPropertySet&) = delete;
    CPropertySet& operator=(const CPropertySet&) = delete;

    // Copies the property values into the owner's working members and derives dependent values.
    virtual bool ApplyProperties() = 0;
    // Copies the owner's working members into the properties, through the setters.
    virtual void StoreProperties() = 0;
    // Sets the owner's working members to their defaults.
    virtual void SetDefaults() = 0;

    // Replaces all properties by one per declaration, in table order, and looks up the labels
    // ("IDS_<set>__<key>_S"/"_L" per property, "IDS_<set>_S"/"_L" for the set).
    void Init(const char* setName, const TPropertyDeclaration* declarations, int count);

    // Exact, case-sensitive; the last declared of equal keys wins. Null when absent.
    CProperty* FindProperty(const char* key) const;
    int PropertyCount() const { return static_cast<int>(m_properties.size()); }
    CProperty* PropertyAt(int index) const;

    // Takes token as the instance token, reads every property from the block (a missing
    // required key is reported but does not stop the reading), then returns ApplyProperties().
    bool Read(CTokenFile& block, const std::string& token);
    // Read on the root block of Output/<name>, every number then clamped to its property's
    // declared range (a NaN or infinity gives the value it had before), each clamp reported with the file
    // and the key: a settings file is edited by hand, and its ranges are what the program
    // was made for. A file that does not load changes nothing and gives false.
    bool ReadFile(const std::string& name, const std::string& token);

    // The whole block; false when any line was not written (the rest is still written).
    bool Write(CFile& file) const;
    // The property lines only.
    bool WriteProperties(CFile& file) const;
    // The property lines into Output/<name>, replacing the file only once all is written and on
    // disk (ReplaceFile); false, reported with the path, when it could not be saved.
    bool WriteFile(const std::string& name) const;

    // Appends one line "  .%-30.30s %s" (key, display form) per property, lines separated by
    // line breaks.
    void Dump(std::string& ioText) const;

    void SetChangeCallback(TPropertyChangedFn callback, void* context);
    // ApplyProperties(), then the change callback.
    void OnPropertyChanged();

    // Registers every property below parent (key, CLASS_CProperty; X/Y/Z for vectors),
    // replacing an earlier registration.
    void RegisterComponents(CComponentNode& parent);
    void UnregisterComponents();

    // Every TOKEN or TOKEN_EXT property naming oldName (exactly) now names newName. No
    // notification: the renamed object is the same object.
    void RenameTokenReferences(const std::string& oldName, const std::string& newName);

    const std::string& SetName() const { return m_setName; }
    const std::string& Token() const { return m_token; }
    void SetToken(const std::string& token) { m_token = token; }
    const std::string& Label() const { return m_label; }
    const std::string& LongText() const { return m_longText; }

    // Editor. BuildControls lays out, from (x, y): the header parts selected by parts (bit 0
    // icon, bit 1 title, 52 pixels; the token edit with either, 30 pixels), then one row per
    // property, 20 pixels apart plus 10 for kPropertyFlagExtraSpace, with the factory's parts.
    void BuildControls(const TPropertyEditorFactory& factory, CPropertyEditorPage& page, int parts, int x, int y);
    void ClearControls();
    // Lets every property take a user change from its controls; true when any did.
    bool ReadControls();
    void RefreshControls();
    // True when the user edited the instance token in the header; outToken gets the text.
    bool ReadTokenControl(std::string& outToken);

private:
    std::string m_setName;
    std::string m_token;
    std::vector<std::unique_ptr<CProperty>> m_properties; // in declaration order
    TPropertyChangedFn m_callback = nullptr;
    void* m_callbackContext = nullptr; // not owned
    std::string m_label;
    std::string m_longText;
    std::unique_ptr<CPropertySetEditorHeader> m_header;

    // Read's reading without ApplyProperties.
    void ReadValues(CTokenFile& block, const std::string& token);
};
