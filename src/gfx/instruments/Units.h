#pragma once
// The display units of the instruments: lengths and speeds with their file tokens, names and
// the factor that takes one unit to metres or metres per second.
//
// A displayed value is the SI value divided by the factor, followed by the unit's short name.
// Row kUnitUnknown ends the table and stands for "no row matched"; its factor is 1, so a value
// shown in it is shown in SI.

#include <string>

class CTokenFile;

enum EUnitKind
{
    UNIT_KIND_LENGTH = 0,
    UNIT_KIND_SPEED = 1
};

enum EUnit
{
    UNIT_METER = 0,
    UNIT_KILOMETER = 1,
    UNIT_MILE = 2,
    UNIT_NAUTICAL_MILE = 3,
    UNIT_FOOT = 4,
    UNIT_YARD = 5,
    UNIT_METER_PER_SECOND = 6,
    UNIT_KILOMETER_PER_HOUR = 7,
    UNIT_MILE_PER_HOUR = 8,
    UNIT_KNOT = 9,
    UNIT_FOOT_PER_MINUTE = 10,
    UNIT_UNKNOWN = 11
};

constexpr int kUnitCount = 12; // rows, the unknown row included

struct TUnit
{
    int kind;              // EUnitKind
    const char* token;     // as written after UNITS in a panel file; "" for the unknown row
    const char* shortName; // after the number: "km/h"
    const char* longName;  // "Kilometer per Hour"
    float factor;          // SI per unit: metres, or metres per second
};

// The row of a unit index; indices outside the table give the unknown row.
const TUnit& UnitRow(int unit);

// Reads the token after key in block and returns the row with that token and kind, or
// UNIT_UNKNOWN when none matches (a missing key included).
int UnitLookup(CTokenFile& block, const char* key, int kind);
// The same on a token already read.
int UnitFromToken(const std::string& token, int kind);

// SI value in the unit: value / factor.
float ConvertToUnit(float siValue, int unit);
const char* UnitShortName(int unit);
