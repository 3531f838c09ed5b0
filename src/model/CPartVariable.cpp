#include "model/CPartVariable.h"

#include "model/CModel.h"
#include "model/CVariableTable.h"
#include "model/PartClassTable.h"

CPartVariable::CPartVariable() : CPart(PART_VARIABLE) {}

bool CPartVariable::AttachToModel(CModel& model)
{
    CPart::AttachToModel(model);
    CVariableTable& table = model.GetVariableTable();
    m_variable = table.Find(GetName());
    if (m_variable == nullptr)
        m_variable = table.Add(GetName());
    return true;
}

bool CPartVariable::ApplyProperties()
{
    CComponentNode* linkRoot = m_model != nullptr ? m_model->GetRegistryNode() : nullptr;
    m_variable->Init(GetName(), m_set.description, m_set.link, linkRoot, m_set.initialValue);
    m_linked = true;
    return true;
}
