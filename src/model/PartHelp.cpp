#include "model/PartHelp.h"

#include <memory>

#include "core/Diagnostics.h"
#include "data/CProperty.h"
#include "data/CPropertySet.h"
#include "model/CPart.h"
#include "model/PartClassTable.h"

namespace
{
const char* TypeName(EPropertyType type)
{
    switch (type)
    {
    case EPropertyType::UNKNOWN: return "INTEGER";
    case EPropertyType::BOOL: return "BOOL";
    case EPropertyType::FLOAT: return "FLOAT";
    case EPropertyType::SLIDER: return "SLIDER";
    case EPropertyType::VECTOR3: return "VECTOR3";
    case EPropertyType::VECTOR2: return "VECTOR2";
    case EPropertyType::VECTORI2: return "VECTORI2";
    case EPropertyType::TOKEN_EXT: return "NAME";
    case EPropertyType::TOKEN: return "NAME";
    case EPropertyType::STRING: return "STRING";
    }
    return "?";
}

// "min .. max, step s" for numbers; "any" ends stand for the unlimited float range.
std::string Range(const CProperty& property)
{
    if (property.Type() == EPropertyType::STRING)
        return "text";
    if (property.IsText())
        return "name";
    if (property.Type() == EPropertyType::BOOL)
        return "0 or 1";
    const auto end = [](float v) {
        return v <= kPropertyMin ? std::string("any") : v >= kPropertyMax ? std::string("any")
                                                                           : StringPrintf("%g", static_cast<double>(v));
    };
    if (property.Min() <= kPropertyMin && property.Max() >= kPropertyMax)
        return StringPrintf("any, step %g", static_cast<double>(property.Step()));
    return end(property.Min()) + " .. " + end(property.Max()) + StringPrintf(", step %g", static_cast<double>(property.Step()));
}

std::string Purpose(const CProperty& property)
{
    if (!property.LongText().empty())
        return property.LongText();
    return property.Label();
}

std::string Records(const TPartRecordDescriptor* records, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? ", " : "") + std::string(records[i].name);
    return text;
}
} // namespace

std::string BuildPartHelp()
{
    std::string text;
    for (int classIndex = 0; classIndex < PART_CLASS_COUNT; ++classIndex)
    {
        const TPartClassDescriptor* cls = GetPartClass(classIndex);
        std::unique_ptr<CPart> part = CreatePart(classIndex);
        if (cls == nullptr || !part)
            continue;
        const CPropertySet& set = part->GetPropertySet();
        text += "\n." + std::string(cls->blockToken) + " Name { ... }   (" + cls->className + ")\n";
        if (!set.Label().empty())
            text += "  " + set.Label() + (set.LongText().empty() ? "" : ": " + set.LongText()) + "\n";
        if (cls->forceCount > 0)
            text += "  forces drawn: " + Records(cls->forces, cls->forceCount) + "\n";
        if (cls->torqueCount > 0)
            text += "  torques drawn: " + Records(cls->torques, cls->torqueCount) + "\n";
        text += StringPrintf("  %-32s %-8s %-26s %s\n", "key", "type", "default", "range; purpose");
        for (int i = 0; i < set.PropertyCount(); ++i)
        {
            const CProperty& property = *set.PropertyAt(i);
            // The dump's padded columns, squeezed: "(   0.000,    1.000)" -> "(0.000, 1.000)".
            std::string value;
            for (const char c : property.DisplayText())
                if (c != ' ' || (!value.empty() && value.back() == ','))
                    value += c;
            if (property.Type() == EPropertyType::BOOL)
                value = std::to_string(property.GetInt()); // as a model file writes it
            if (property.Type() == EPropertyType::STRING || (property.IsText() && value.empty()))
                value = "\"" + value + "\"";
            text += StringPrintf("  .%-31s %-8s %-26s %s%s; %s\n", property.Key().c_str(), TypeName(property.Type()),
                                 value.c_str(), Range(property).c_str(), property.IsRequired() ? ", required" : "",
                                 Purpose(property).c_str());
        }
    }
    return text;
}
