#pragma once
// A battery: only mass, a 4 cm cube at POSITION weighing MASS. CAPACITY and NUM_CELLS are kept
// for the editor; nothing drains the battery yet.

#include "model/CPartPhysic.h"
#include "model/CPropertySet_Battery.h"

class CPartBattery : public CPartPhysic
{
public:
    CPartBattery();
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    const char* GetMarkerNode() const override { return "Battery.osg"; }

private:
    CPropertySet_Battery m_set;
};
