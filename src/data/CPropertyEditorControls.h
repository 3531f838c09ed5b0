#pragma once
// The seam between the property system and the editor's GUI. The data layer decides what a
// control change means (comparison, truncation, notification); the GUI only shows values and
// reports what the user typed. Whoever builds a page hands the GUI's factory in; a property
// without controls (a headless run) reads no change.

#include <memory>
#include <string>

class CProperty;
class CPropertySet;
// A control page of the GUI; opaque here.
class CPropertyEditorPage;

// What the controls of one property report after a user change. Number edits and sliders fill
// numbers (all components, edited or not), the check box fills checked, string edits and combo
// boxes fill text.
struct TPropertyControlValue
{
    float numbers[3] = {0.0f, 0.0f, 0.0f};
    bool checked = false;
    std::string text;
};

// The controls of one property row.
class CPropertyEditorControls
{
public:
    virtual ~CPropertyEditorControls() = default;
    // True when a control reported a user change since the last call; then outValue holds the
    // values the controls show.
    virtual bool ReadValue(TPropertyControlValue& outValue) = 0;
    // Shows the property's current value.
    virtual void Refresh(const CProperty& property) = 0;
};

// The header of a set's page: icon, title and the instance-token edit.
class CPropertySetEditorHeader
{
public:
    virtual ~CPropertySetEditorHeader() = default;
    // True when the user edited the token; outToken gets the edited text.
    virtual bool ReadToken(std::string& outToken) = 0;
    // Shows the set's current instance token.
    virtual void Refresh(const CPropertySet& set) = 0;
};

struct TPropertyEditorFactory
{
    // Builds the header parts selected by the bits of parts (bit 0 icon, bit 1 title; the token
    // edit with either) with its top left corner at (x, y).
    std::unique_ptr<CPropertySetEditorHeader> (*buildHeader)(CPropertySet& set, CPropertyEditorPage& page,
                                                             int parts, int x, int y) = nullptr;
    // Builds the controls of one property's row at (x, y), of the kind its type needs.
    std::unique_ptr<CPropertyEditorControls> (*buildRow)(CProperty& property, CPropertyEditorPage& page, int x,
                                                         int y) = nullptr;
};
