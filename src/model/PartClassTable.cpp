#include "model/PartClassTable.h"

#include <cstring>

#include "data/ClassTypes.h"
#include "model/CPart.h"
#include "model/CPartBattery.h"
#include "model/CPartCollisionPoint.h"
#include "model/CPartDrag.h"
#include "model/CPartEngineProp.h"
#include "model/CPartFuelTank.h"
#include "model/CPartGravity.h"
#include "model/CPartInputForce.h"
#include "model/CPartModelInfo.h"
#include "model/CPartPropeller.h"
#include "model/CPartServo.h"
#include "model/CPartVariable.h"
#include "model/CPartWheel.h"
#include "model/CPartWheel3.h"
#include "model/CPartWing2.h"
#include "model/CPartWing3.h"

namespace
{
const TPartRecordDescriptor kGravityForces[] = {{"Gravity", 21}};
const TPartRecordDescriptor kDragForces[] = {{"Frontal Drag", 21}};
const TPartRecordDescriptor kDragTorques[] = {{"Torque Drag", 33}};
const TPartRecordDescriptor kEngineForces[] = {{"Thrust", 24}};
const TPartRecordDescriptor kEngineTorques[] = {{"Drag", 33}};
const TPartRecordDescriptor kWing2Forces[] = {{"Lift", 24}, {"Drag", 21}, {"Lift CS", 24}};
const TPartRecordDescriptor kWing3Forces[] = {
    {"Seg0 Lift", 24}, {"Seg0 Drag", 21}, {"Seg1 Lift", 24}, {"Seg1 Drag", 21}, {"Seg2 Lift", 24},
    {"Seg2 Drag", 21}, {"Seg3 Lift", 24}, {"Seg3 Drag", 21}, {"Seg4 Lift", 24}, {"Seg4 Drag", 21},
    {"Seg5 Lift", 24}, {"Seg5 Drag", 21}, {"Seg6 Lift", 24}, {"Seg6 Drag", 21}, {"Seg7 Lift", 24},
    {"Seg7 Drag", 21}, {"Seg8 Lift", 24}, {"Seg8 Drag", 21}, {"Seg9 Lift", 24}, {"Seg9 Drag", 21}};
const TPartRecordDescriptor kWheelForces[] = {{"Reaction", 30}};
const TPartRecordDescriptor kWheel3Forces[] = {{"Skid", 33},   {"Brake", 21},  {"Traction", 24},
                                               {"Lateral", 30}, {"Spring", 30}, {"Drag", 21}};
const TPartRecordDescriptor kCollisionForces[] = {{"Collision Point", 33}};
const TPartRecordDescriptor kInputForces[] = {{"Input", 27}};

template <size_t N>
constexpr int CountOf(const TPartRecordDescriptor (&)[N])
{
    return static_cast<int>(N);
}

const TPartClassDescriptor kPartClasses[PART_CLASS_COUNT] = {
    {PART_MODEL_INFO, "MODEL_INFO", "CPartModelInfo", CLASS_CPartModelInfo, 0, nullptr, 0, nullptr, false},
    {PART_GRAVITY, "GRAVITY", "CPartGravity", CLASS_PartGravity, CountOf(kGravityForces), kGravityForces, 0,
     nullptr, true},
    {PART_DRAG, "DRAG", "CPartDrag", CLASS_PartDrag, CountOf(kDragForces), kDragForces, CountOf(kDragTorques),
     kDragTorques, true},
    {PART_SERVO, "SERVO", "CPartServo", CLASS_CPartServo, 0, nullptr, 0, nullptr, true},
    {PART_ENGINE_PROP, "ENGINE_PROP", "CPartEngineProp", CLASS_CPartEngineProp, CountOf(kEngineForces),
     kEngineForces, CountOf(kEngineTorques), kEngineTorques, true},
    {PART_WING2, "WING2", "CPartWing2", CLASS_PartWing2, CountOf(kWing2Forces), kWing2Forces, 0, nullptr, true},
    {PART_WING3, "WING3", "CPartWing3", CLASS_CPartWing3, CountOf(kWing3Forces), kWing3Forces, 0, nullptr, true},
    {PART_PROPELLER, "PROPELLER", "CPartPropeller", CLASS_CPartPropeller, 0, nullptr, 0, nullptr, true},
    {PART_VARIABLE, "VARIABLE", "CPartVariable", CLASS_CPartVariable, 0, nullptr, 0, nullptr, true},
    {PART_WHEEL, "WHEEL", "CPartWheel", CLASS_PartWheel, CountOf(kWheelForces), kWheelForces, 0, nullptr, true},
    {PART_WHEEL3, "WHEEL3", "CPartWheel3", CLASS_PartWheel3, CountOf(kWheel3Forces), kWheel3Forces, 0, nullptr,
     true},
    {PART_COLLISION_POINT, "COLLISION_POINT", "CPartCollisionPoint", CLASS_CPartCollisionPoint,
     CountOf(kCollisionForces), kCollisionForces, 0, nullptr, true},
    {PART_INPUT_FORCE, "INPUT_FORCE", "CPartInputForce", CLASS_PartInputForce, CountOf(kInputForces), kInputForces,
     0, nullptr, true},
    {PART_BATTERY, "BATTERY", "CPartBattery", CLASS_CPartBattery, 0, nullptr, 0, nullptr, true},
    {PART_FUEL_TANK, "FUEL_TANK", "CPartFuelTank", CLASS_CPartFuelTank, 0, nullptr, 0, nullptr, true},
};
} // namespace

const TPartClassDescriptor* GetPartClass(int classIndex)
{
    if (classIndex < 0 || classIndex >= PART_CLASS_COUNT)
        return nullptr;
    return &kPartClasses[classIndex];
}

int FindPartClass(const char* blockToken)
{
    if (blockToken == nullptr)
        return -1;
    for (const TPartClassDescriptor& descriptor : kPartClasses)
        if (std::strcmp(descriptor.blockToken, blockToken) == 0)
            return descriptor.classIndex;
    return -1;
}

std::unique_ptr<CPart> CreatePart(int classIndex)
{
    switch (classIndex)
    {
    case PART_MODEL_INFO: return std::make_unique<CPartModelInfo>();
    case PART_GRAVITY: return std::make_unique<CPartGravity>();
    case PART_DRAG: return std::make_unique<CPartDrag>();
    case PART_SERVO: return std::make_unique<CPartServo>();
    case PART_WING2: return std::make_unique<CPartWing2>();
    case PART_WING3: return std::make_unique<CPartWing3>();
    case PART_INPUT_FORCE: return std::make_unique<CPartInputForce>();
    case PART_BATTERY: return std::make_unique<CPartBattery>();
    case PART_FUEL_TANK: return std::make_unique<CPartFuelTank>();
    case PART_VARIABLE: return std::make_unique<CPartVariable>();
    case PART_ENGINE_PROP: return std::make_unique<CPartEngineProp>();
    case PART_PROPELLER: return std::make_unique<CPartPropeller>();
    case PART_WHEEL: return std::make_unique<CPartWheel>();
    case PART_WHEEL3: return std::make_unique<CPartWheel3>();
    case PART_COLLISION_POINT: return std::make_unique<CPartCollisionPoint>();
    default: return nullptr;
    }
}
