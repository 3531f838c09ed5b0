#pragma once
// The keys of a COLLISION_POINT block (it has no DESCRIPTION).

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_CollisionPoint : public CPartPropertySet
{
public:
    CPropertySet_CollisionPoint();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    CVector3 position;         // POSITION, body frame, m
    float staticFriction = 0;  // STATIC_FRICTION: holds until mu N (0: friction only while sliding)
};
