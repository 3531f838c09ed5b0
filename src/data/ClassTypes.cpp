#include "data/ClassTypes.h"

#include <cstring>

namespace
{
// In the order of EClassType.
const char* const kClassTypeTokens[CLASS_TYPE_COUNT] = {
    "CLASS_CMainKestro",
    "CLASS_CModel",
    "CLASS_CProperty",
    "CLASS_CPropertyComponent",
    "CLASS_CVariable",
    "CLASS_CDegreeOfFreedom",
    "CLASS_PartDrag",
    "CLASS_PartGravity",
    "CLASS_PartInputForce",
    "CLASS_PartJetEngine2",
    "CLASS_PartWheel",
    "CLASS_PartWheel3",
    "CLASS_PartWing2",
    "CLASS_CPartCollisionPoint",
    "CLASS_CPartEngineProp",
    "CLASS_CPartServo",
    "CLASS_CPartPropeller",
    "CLASS_CPartVariable",
    "CLASS_CPartWing3",
    "CLASS_CPartModelInfo",
    "CLASS_CPartBattery",
    "CLASS_CPartFuelTank",
    "CLASS_TYPE_UNKNOWN",
};
} // namespace

const char* ClassTypeToken(int classType)
{
    if (classType < 0 || classType >= CLASS_TYPE_COUNT)
        return kClassTypeTokens[CLASS_TYPE_UNKNOWN];
    return kClassTypeTokens[classType];
}

int FindClassType(const char* token)
{
    if (token == nullptr)
        return -1;
    for (int i = 0; i < CLASS_TYPE_COUNT; ++i)
        if (std::strcmp(kClassTypeTokens[i], token) == 0)
            return i;
    return -1;
}
