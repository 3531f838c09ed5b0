#include "editor/CModelNameLists.h"

#include <cstring>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CProperty.h"
#include "data/CPropertySet.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/PartClassTable.h"

void CModelNameLists::Rebuild(const CModel* model)
{
    for (CStringListDynamic* list : {&servos, &propellers, &collisionPoints, &variables, &channels, &airfoils})
    {
        list->Clear();
        list->Add("");
    }
    for (int i = 1; i <= 9; ++i)
    {
        channels.Add(StringPrintf("V_CH%i", i));
        variables.Add(StringPrintf("V_CH%i", i));
    }
    airfoils.AddFiles(DF_AIRFOIL, "*.afl");
    if (model == nullptr)
        return;
    for (int i = 0; i < model->GetPartCount(); ++i)
    {
        const CPart* part = model->GetPart(i);
        if (part == nullptr)
            continue;
        switch (part->GetClassIndex())
        {
        case PART_SERVO: servos.Add(part->GetName()); break;
        case PART_PROPELLER: propellers.Add(part->GetName()); break;
        case PART_COLLISION_POINT: collisionPoints.Add(part->GetName()); break;
        case PART_VARIABLE: variables.Add(part->GetName()); break;
        default: break;
        }
    }
}

void CModelNameLists::Attach(CPropertySet& set) const
{
    for (int i = 0; i < set.PropertyCount(); ++i)
    {
        CProperty* property = set.PropertyAt(i);
        if (property->Type() != EPropertyType::TOKEN_EXT)
            continue;
        const std::string& key = property->Key();
        const CStringList* list = &variables;
        if (key.find("AIRFOIL") != std::string::npos)
            list = &airfoils;
        else if (key.find("SERVO") != std::string::npos)
            list = &servos;
        else if (key.find("PROPELLER") != std::string::npos)
            list = &propellers;
        else if (key.find("COLLISION_POINT") != std::string::npos)
            list = &collisionPoints;
        else if (key.find("DOF") != std::string::npos || key == "POSITION_TYPE")
            list = nullptr; // names of the 3D object and fixed words: typed, not chosen
        property->SetChoiceList(list);
    }
}
