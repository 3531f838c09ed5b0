#include "gfx/instruments/Units.h"

#include "data/CTokenFile.h"

namespace
{
// Factors are exact where the unit is defined exactly (international mile, foot, yard, knot as
// 1852 m per hour); the per-hour and per-minute rows keep the single-precision values of the
// original data.
const TUnit kUnits[kUnitCount] = {
    {UNIT_KIND_LENGTH, "METER", "m", "Meter", 1.0f},
    {UNIT_KIND_LENGTH, "KILOMETER", "km", "Kilometer", 1000.0f},
    {UNIT_KIND_LENGTH, "MILE", "mi", "Mile", 1609.344f},
    {UNIT_KIND_LENGTH, "NAUTICAL_MILE", "naut mi", "Nautical Mile", 1852.0f},
    {UNIT_KIND_LENGTH, "FOOT", "ft", "Foot", 0.3048f},
    {UNIT_KIND_LENGTH, "YARD", "yd", "Yard", 0.9144f},
    {UNIT_KIND_SPEED, "METER_PER_SECOND", "m/s", "Meter per Second", 1.0f},
    {UNIT_KIND_SPEED, "KILOMETER_PER_HOUR", "km/h", "Kilometer per Hour", 0.27777779f},
    {UNIT_KIND_SPEED, "MILE_PER_HOUR", "mph", "Mile per Hour", 0.44704f},
    {UNIT_KIND_SPEED, "KNOT", "knot", "knot", 0.51444447f},
    {UNIT_KIND_SPEED, "FOOT_PER_MINUTE", "ft/min", "Foor per minute", 0.00508f},
    {UNIT_KIND_LENGTH, "", "UNKNOWN", "UNKNOWN", 1.0f},
};
} // namespace

const TUnit& UnitRow(int unit)
{
    if (unit < 0 || unit >= kUnitCount)
        return kUnits[UNIT_UNKNOWN];
    return kUnits[unit];
}

int UnitFromToken(const std::string& token, int kind)
{
    // The unknown row is no answer to a lookup: an empty token matches nothing.
    for (int i = 0; i < UNIT_UNKNOWN; ++i)
        if (kUnits[i].kind == kind && token == kUnits[i].token)
            return i;
    return UNIT_UNKNOWN;
}

int UnitLookup(CTokenFile& block, const char* key, int kind)
{
    std::string token;
    block.GetToken(key, token, "", 50);
    return UnitFromToken(token, kind);
}

float ConvertToUnit(float siValue, int unit)
{
    return siValue / UnitRow(unit).factor;
}

const char* UnitShortName(int unit)
{
    return UnitRow(unit).shortName;
}
