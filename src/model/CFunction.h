#pragma once
// A small stack program read from a FUNCTION block, evaluated once per frame before the parts
// update: mixes, scales and limits variables (PUSH V_CH1 PUSH 0.5 MUL POP V_CH3).
//
// Opcodes: 0 NOP, 1 PUSH, 2 POP, 3 NEG, 4 ABS, 5 ADD, 6 SUB, 7 MUL, 8 DIV (0 when dividing by
// 0), 9 CROP, 10 empty (makes the function invalid), 11 push constant, 12 push variable.
// The stack holds 30 floats; a push onto a full stack is dropped.
//
// File form: .FUNCTION Name { .DESCRIPTION "text" .OPS PUSH V_CH1 PUSH 0.5 MUL POP V_CH3 }
// The OPS list runs to the end of the block or to the next key. A PUSH operand that reads as a
// number is a constant, anything else a variable name looked up once, at load time. A name found
// in no table still runs: it reads 0 and takes no write.

#include <string>
#include <vector>

class CTokenFile;
class CVariable;
class CVariableSearchList;

// The codes are those of the keyword table; 10 to 12 have no keyword.
enum EFunctionOpcode
{
    FOP_NOP = 0,
    FOP_PUSH = 1, // only while reading: becomes FOP_PUSH_CONSTANT or FOP_PUSH_VARIABLE
    FOP_POP = 2,
    FOP_NEG = 3,
    FOP_ABS = 4,
    FOP_ADD = 5,
    FOP_SUB = 6,
    FOP_MUL = 7,
    FOP_DIV = 8,
    FOP_CROP = 9,
    FOP_EMPTY = 10, // a token that is no keyword: does nothing, makes the function invalid
    FOP_PUSH_CONSTANT = 11,
    FOP_PUSH_VARIABLE = 12,
};

struct TFunctionInstruction
{
    int opcode = FOP_NOP;
    CVariable* variable = nullptr; // not owned: a record of a table of the search list
    float constant = 0.0f;
};

class CFunction
{
public:
    static constexpr int kStackSize = 30;

    // Reads DESCRIPTION and the OPS token list from the block; names are looked up in the search
    // list. Returns the valid flag (a missing variable or a dangling PUSH/POP makes it false;
    // the function keeps what it read and still runs).
    bool Load(CTokenFile& block, const std::string& name, const CVariableSearchList& variables);
    void Evaluate();

    const std::string& GetName() const { return m_name; }
    const std::string& GetDescription() const { return m_description; }
    bool IsValid() const { return m_valid; }
    const std::vector<TFunctionInstruction>& GetInstructions() const { return m_instructions; }
    // The OPS list as it was read (names, not addresses): what a saved model writes back.
    const std::string& GetOpsText() const { return m_opsText; }

private:
    std::string m_name;
    std::string m_description;
    bool m_valid = false;
    std::vector<TFunctionInstruction> m_instructions;
    std::string m_opsText;
};
