#include "gfx/instruments/CBInstrument.h"

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "model/CVariableTable.h"

namespace
{
constexpr size_t kMaxDescription = 100;
constexpr size_t kMaxVariableName = 50;
} // namespace

bool CBInstrument::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    m_model = &model;
    m_typeName = typeName != nullptr ? typeName : "";
    m_fileName = block.FileName();
    block.GetString("DESCRIPTION", m_description, "", kMaxDescription + 1);
    block.GetVectorI2("POSITION", m_x, m_y, 0, 0);
    return true;
}

void CBInstrument::Draw(int originX, int originY) const
{
    CInstrumentFace face;
    BuildFace(face);
    DrawInstrumentFace(face, originX + m_x, originY + m_y);
}

CVariable* CBInstrument::FindPanelVariable(CTokenFile& block, const char* key, CVariableTable& panelVariables)
{
    std::string name;
    if (!block.GetToken(key, name, "", kMaxVariableName + 1) || name.empty())
    {
        DiagPrint("%s%s is missing; instrument dropped\n", Who().c_str(), key);
        return nullptr;
    }
    CVariable* variable = panelVariables.Find(name);
    if (variable == nullptr)
        DiagPrint("%s%s: variable '%s' is not in the Instruments block; instrument dropped\n", Who().c_str(), key,
                  name.c_str());
    return variable;
}

std::string CBInstrument::Who() const
{
    return StringPrintf("%s: %s '%s': ", m_fileName.c_str(), m_typeName.c_str(), m_description.c_str());
}
