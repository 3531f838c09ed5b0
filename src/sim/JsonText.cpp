#include "sim/JsonText.h"

#include <cmath>

#include "core/Diagnostics.h"

std::string JsonNumber(double value, int digits)
{
    return std::isfinite(value) ? StringPrintf("%.*g", digits, value) : std::string("null");
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text)
    {
        if (c == '"' || c == '\\')
            out += '\\', out += c;
        else if (static_cast<unsigned char>(c) < 0x20)
            out += StringPrintf("\\u%04x", c);
        else
            out += c;
    }
    return out + "\"";
}
