#pragma once
// Class-type tokens of the component tree: what kind of object a CComponentNode stands for.
// The numbers are stored with the nodes and compared by the code that resolves links, so they
// never change. Indices 6 to 12 are spelled without the C of their class names: they are
// tokens, not class names.

enum EClassType
{
    CLASS_CMainKestro = 0,
    CLASS_CModel = 1,
    CLASS_CProperty = 2,
    CLASS_CPropertyComponent = 3,
    CLASS_CVariable = 4,
    CLASS_CDegreeOfFreedom = 5,
    CLASS_PartDrag = 6,
    CLASS_PartGravity = 7,
    CLASS_PartInputForce = 8,
    CLASS_PartJetEngine2 = 9,
    CLASS_PartWheel = 10,
    CLASS_PartWheel3 = 11,
    CLASS_PartWing2 = 12,
    CLASS_CPartCollisionPoint = 13,
    CLASS_CPartEngineProp = 14,
    CLASS_CPartServo = 15,
    CLASS_CPartPropeller = 16,
    CLASS_CPartVariable = 17,
    CLASS_CPartWing3 = 18,
    CLASS_CPartModelInfo = 19,
    CLASS_CPartBattery = 20,
    CLASS_CPartFuelTank = 21,
    CLASS_TYPE_UNKNOWN = 22,
    CLASS_TYPE_COUNT = 23
};

// The token text of a class type ("CLASS_CModel"); "CLASS_TYPE_UNKNOWN" for any number outside
// the table.
const char* ClassTypeToken(int classType);

// The class type of a token (exact, case-sensitive), or -1.
int FindClassType(const char* token);
