#pragma once
// The fifteen part classes of a model file. The class index is the order in which the loader
// reads the blocks, and so the order in which every loop over the parts meets them: all
// MODEL_INFO parts first, then all GRAVITY parts, and so on; within a class in file order.

#include <memory>

class CPart;

enum EPartClass
{
    PART_MODEL_INFO = 0,
    PART_GRAVITY = 1,
    PART_DRAG = 2,
    PART_SERVO = 3,
    PART_ENGINE_PROP = 4,
    PART_WING2 = 5,
    PART_WING3 = 6,
    PART_PROPELLER = 7,
    PART_VARIABLE = 8,
    PART_WHEEL = 9,
    PART_WHEEL3 = 10,
    PART_COLLISION_POINT = 11,
    PART_INPUT_FORCE = 12,
    PART_BATTERY = 13,
    PART_FUEL_TANK = 14,
    PART_CLASS_COUNT = 15
};

// A force or torque record a class provides: display name and palette colour of its arrow.
struct TPartRecordDescriptor
{
    const char* name;
    int colour;
};

struct TPartClassDescriptor
{
    int classIndex;
    const char* blockToken;    // "WING3": block key in model files and property-set name
    const char* className;     // "CPartWing3"
    int classType;             // EClassType of the component tree (CLASS_CPartWing3)
    int forceCount;
    const TPartRecordDescriptor* forces;  // forceCount entries, in record order
    int torqueCount;
    const TPartRecordDescriptor* torques; // torqueCount entries
    bool inEditor;             // offered in the editor's part tree (all but MODEL_INFO)
};

// The row of a class index, or null outside 0 .. 14.
const TPartClassDescriptor* GetPartClass(int classIndex);
// The class index of a block token (exact compare), or -1.
int FindPartClass(const char* blockToken);

// A new part of the class, or null for an index outside the table or a class this build does
// not implement yet (the loader reports such blocks and skips them).
std::unique_ptr<CPart> CreatePart(int classIndex);
