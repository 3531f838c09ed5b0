#include "model/CFunctionList.h"

#include "data/CTokenFile.h"

namespace
{
constexpr size_t kMaxNameLength = 50;
} // namespace

bool CFunctionList::Load(CTokenFile& file, const CVariableSearchList& variables)
{
    m_functions.clear();
    bool allValid = true;
    for (;;)
    {
        std::string name;
        CTokenFile* block = file.OpenBlock("FUNCTION", &name, kMaxNameLength + 1);
        if (block == nullptr)
            break;
        // An invalid function stays: it runs with the instructions it has.
        m_functions.push_back(std::make_unique<CFunction>());
        if (!m_functions.back()->Load(*block, name, variables))
            allValid = false;
    }
    return allValid;
}

void CFunctionList::Evaluate()
{
    for (auto& function : m_functions)
        function->Evaluate();
}

CFunction* CFunctionList::At(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_functions[static_cast<size_t>(index)].get();
}
