#pragma once
// The functions of a model, evaluated in file order once per frame. Owned by the model.

#include <memory>
#include <vector>

#include "model/CFunction.h"

class CTokenFile;
class CVariableSearchList;

class CFunctionList
{
public:
    // One function per FUNCTION block (name at most 50 characters). Returns the AND of the valid
    // flags; invalid functions stay in the list.
    bool Load(CTokenFile& file, const CVariableSearchList& variables);
    void Evaluate();

    int Count() const { return static_cast<int>(m_functions.size()); }
    CFunction* At(int index) const;
    void Clear() { m_functions.clear(); }

private:
    std::vector<std::unique_ptr<CFunction>> m_functions;
};
