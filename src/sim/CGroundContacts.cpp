#include "sim/CGroundContacts.h"

#include "core/CMatrix3.h"
#include "core/CVector3.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/CPropertySet_CollisionPoint.h"
#include "model/CPropertySet_Wheel.h"
#include "model/CPropertySet_Wheel3.h"
#include "model/ITerrain.h"
#include "model/PartClassTable.h"

namespace
{
// The contact of one part: its point (body frame) and how far below it the part reaches (m).
bool ContactOf(CPart& part, CVector3& outPoint, float& outReach)
{
    switch (part.GetClassIndex())
    {
    case PART_COLLISION_POINT:
        outPoint = static_cast<CPropertySet_CollisionPoint&>(part.GetPropertySet()).position;
        outReach = 0.0f;
        return true;
    case PART_WHEEL:
    {
        const auto& wheel = static_cast<CPropertySet_Wheel&>(part.GetPropertySet());
        outPoint = wheel.position;
        outReach = wheel.restLength;
        return true;
    }
    case PART_WHEEL3:
    {
        const auto& wheel = static_cast<CPropertySet_Wheel3&>(part.GetPropertySet());
        outPoint = wheel.position;
        outReach = wheel.radius + wheel.springRestLength;
        return true;
    }
    default:
        return false;
    }
}
} // namespace

bool CGroundContacts::RestingHeight(CModel& model, const CMatrix3& orientation, float x, float z,
                                    const ITerrain& terrain, float& outHeight)
{
    bool found = false;
    float height = 0.0f;
    TTerrainHint hint;
    for (int i = 0; i < model.GetPartCount(); ++i)
    {
        CVector3 point;
        float reach = 0.0f;
        if (!ContactOf(*model.GetPart(i), point, reach))
            continue;
        const CVector3 offset = point * orientation; // world frame, from the body origin
        CVector3 normal;
        const float ground = terrain.GetTerrainHeight(x + offset.x, z + offset.z, hint, normal);
        const float needed = ground - (offset.y - reach);
        if (!found || needed > height)
            height = needed;
        found = true;
    }
    if (found)
        outHeight = height;
    return found;
}
