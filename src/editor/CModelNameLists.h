#pragma once
// The name lists the part editor's combo boxes offer, rebuilt whenever the model changes: the
// model's servos, propellers, collision points and variables by part name, the nine input
// channels, and the airfoil files. Each list starts with an empty entry ("none").

#include "data/CStringList.h"

class CModel;
class CPropertySet;

class CModelNameLists
{
public:
    void Rebuild(const CModel* model);
    // Attaches the fitting list to every TOKEN_EXT property of the set, by its key.
    void Attach(CPropertySet& set) const;

    CStringListDynamic servos;
    CStringListDynamic propellers;
    CStringListDynamic collisionPoints;
    CStringListDynamic variables; // the channels, then the model's VARIABLE parts
    CStringListDynamic channels;
    CStringListDynamic airfoils;
};
