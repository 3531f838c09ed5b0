#pragma once
// The keys of a VARIABLE block.

#include <string>

#include "model/CPartPropertySet.h"

class CPropertySet_Variable : public CPartPropertySet
{
public:
    CPropertySet_Variable();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    std::string link;          // LINK: "Part.KEY" or "Part.KEY.X|Y|Z", resolved from the model
    float initialValue = 0.0f; // INITIAL_VALUE, in the unit of the linked property
};
