#pragma once
// The keys of a GRAVITY block: a description only.

#include <string>

#include "model/CPartPropertySet.h"

class CPropertySet_Gravity : public CPartPropertySet
{
public:
    CPropertySet_Gravity();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
};
