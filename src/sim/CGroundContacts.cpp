#include "sim/CGroundContacts.h"

#include "core/CMatrix3.h"
#include "core/CVector3.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/ITerrain.h"

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
        if (!model.GetPart(i)->GetGroundContact(point, reach))
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
