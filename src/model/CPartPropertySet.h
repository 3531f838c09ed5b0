#pragma once
// Base of the parts' property sets: the set keeps the values of the file as plain members
// (settings), the part reads them in its own ApplyProperties.
//
// Storing the members writes the properties one by one, and every changed property calls
// ApplyProperties, which would read the properties not stored yet back over the members. The
// storing flag makes those intermediate applies no-ops, so a store is all-or-nothing.

#include "data/CPropertySet.h"

class CPartPropertySet : public CPropertySet
{
public:
    bool ApplyProperties() final
    {
        if (!m_storing)
            ReadValues();
        return true;
    }
    void StoreProperties() final
    {
        m_storing = true;
        WriteValues();
        m_storing = false;
    }

protected:
    // Properties -> members.
    virtual void ReadValues() = 0;
    // Members -> properties, through the setters.
    virtual void WriteValues() = 0;

private:
    bool m_storing = false;
};
