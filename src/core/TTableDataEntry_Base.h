#pragma once
// One entry of a keyed float table: a key followed by a fixed number of float values. Code that
// builds a table from a constant array (engine sound, time-of-day lighting) writes the array as
// concrete entries (TTableDataEntryND.h) and hands it to TTableData::SetFromEntries.

class TTableDataEntry_Base
{
public:
    virtual ~TTableDataEntry_Base() = default;

    // Number of values after the key; constant per class.
    virtual int GetNumValues() const = 0;
    virtual float* GetValues() = 0;
    virtual const float* GetValues() const = 0;
    virtual float GetKey() const = 0;
};
