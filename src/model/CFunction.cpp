#include "model/CFunction.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "model/CVariable.h"
#include "model/CVariableSearchList.h"

namespace
{
constexpr size_t kMaxDescriptionLength = 100;
constexpr size_t kMaxTokenLength = 100;

// In opcode order: the index of a keyword is its opcode.
const char* const kKeywords[] = {"NOP", "PUSH", "POP", "NEG", "ABS", "ADD", "SUB", "MUL", "DIV", "CROP"};
constexpr int kKeywordCount = static_cast<int>(sizeof(kKeywords) / sizeof(kKeywords[0]));

int FindOpcode(const std::string& token)
{
    for (int i = 0; i < kKeywordCount; ++i)
        if (token == kKeywords[i])
            return i;
    return FOP_EMPTY;
}

// A key word (".DESCRIPTION", or "*DESCRIPTION" once the reader consumed it) ends the OPS list.
// ".5" is a number, not a key.
bool IsKeyToken(const std::string& token)
{
    return token.size() >= 2 && (token[0] == '.' || token[0] == '*') &&
           (std::isalpha(static_cast<unsigned char>(token[1])) != 0 || token[1] == '_');
}

enum class ENumber
{
    NotANumber,
    Number,
    OutOfRange,
};

// Whether the whole token is a number ("0.5", "-2", ".5", "1e3"); variable names never start
// with a digit, a sign or a point, which keeps "inf" and "nan" names.
ENumber ParseNumber(const std::string& token, float& out)
{
    out = 0.0f;
    if (token.empty())
        return ENumber::NotANumber;
    const char first = token[0];
    if (std::isdigit(static_cast<unsigned char>(first)) == 0 && first != '-' && first != '+' && first != '.')
        return ENumber::NotANumber;
    char* end = nullptr;
    const double value = std::strtod(token.c_str(), &end);
    if (end != token.c_str() + token.size())
        return ENumber::NotANumber;
    const float single = static_cast<float>(value);
    if (!std::isfinite(single))
        return ENumber::OutOfRange;
    out = single;
    return ENumber::Number;
}
} // namespace

bool CFunction::Load(CTokenFile& block, const std::string& name, const CVariableSearchList& variables)
{
    m_name = name;
    m_instructions.clear();
    m_opsText.clear();
    m_valid = true;
    block.GetString("DESCRIPTION", m_description, "", kMaxDescriptionLength + 1);
    const char* fileName = block.FileName().c_str();

    // The list reader starts at the block's beginning; the OPS list begins after its key.
    block.BeginList();
    std::string token;
    bool found = false;
    while (block.NextToken(token, kMaxTokenLength + 1))
        if (token == ".OPS")
        {
            found = true;
            break;
        }
    if (!found)
    {
        DiagPrint("%s: FUNCTION '%s': no OPS key; the function does nothing\n", fileName, m_name.c_str());
        m_valid = false;
        return false;
    }

    auto nextOperand = [&](std::string& out) {
        return block.NextToken(out, kMaxTokenLength + 1) && !IsKeyToken(out);
    };

    while (block.NextToken(token, kMaxTokenLength + 1) && !IsKeyToken(token))
    {
        m_opsText += (m_opsText.empty() ? "" : " ") + token;
        TFunctionInstruction instruction;
        instruction.opcode = FindOpcode(token);
        if (instruction.opcode == FOP_EMPTY)
        {
            DiagPrint("%s: FUNCTION '%s': '%s' is no operation; it does nothing\n", fileName, m_name.c_str(),
                      token.c_str());
            m_valid = false;
        }
        else if (instruction.opcode == FOP_PUSH || instruction.opcode == FOP_POP)
        {
            const char* keyword = kKeywords[instruction.opcode];
            std::string operand;
            if (!nextOperand(operand))
            {
                DiagPrint("%s: FUNCTION '%s': %s at the end of OPS has nothing to work on\n", fileName,
                          m_name.c_str(), keyword);
                m_valid = false;
                break;
            }
            m_opsText += " " + operand;
            const ENumber number = instruction.opcode == FOP_PUSH
                                       ? ParseNumber(operand, instruction.constant)
                                       : ENumber::NotANumber;
            if (number == ENumber::Number)
            {
                instruction.opcode = FOP_PUSH_CONSTANT;
            }
            else if (number == ENumber::OutOfRange)
            {
                DiagPrint("%s: FUNCTION '%s': PUSH %s is out of range; 0 is pushed\n", fileName, m_name.c_str(),
                          operand.c_str());
                instruction.opcode = FOP_PUSH_CONSTANT;
                m_valid = false;
            }
            else
            {
                if (instruction.opcode == FOP_PUSH)
                    instruction.opcode = FOP_PUSH_VARIABLE;
                instruction.variable = variables.Find(operand);
                if (instruction.variable == nullptr)
                {
                    DiagPrint("%s: FUNCTION '%s': %s %s: no such variable; it reads 0 and takes no value\n",
                              fileName, m_name.c_str(), keyword, operand.c_str());
                    m_valid = false;
                }
            }
        }
        m_instructions.push_back(instruction);
    }
    return m_valid;
}

void CFunction::Evaluate()
{
    float stack[kStackSize];
    int depth = 0;
    for (const TFunctionInstruction& instruction : m_instructions)
    {
        switch (instruction.opcode)
        {
        case FOP_PUSH_CONSTANT:
        case FOP_PUSH_VARIABLE:
            if (depth < kStackSize)
            {
                float value = instruction.constant;
                if (instruction.opcode == FOP_PUSH_VARIABLE)
                    value = instruction.variable != nullptr ? instruction.variable->GetValue() : 0.0f;
                stack[depth++] = value;
            }
            break;
        case FOP_POP:
            if (depth > 0)
            {
                // An overflow (or inf - inf) would travel from the variable into the forces and
                // leave the body's state not-a-number for good.
                const float value = std::isfinite(stack[depth - 1]) ? stack[depth - 1] : 0.0f;
                if (instruction.variable != nullptr)
                    instruction.variable->SetValue(value);
                --depth;
            }
            break;
        case FOP_NEG:
            if (depth > 0)
                stack[depth - 1] = -stack[depth - 1];
            break;
        case FOP_ABS:
            if (depth > 0)
                stack[depth - 1] = std::fabs(stack[depth - 1]);
            break;
        case FOP_ADD:
        case FOP_SUB:
        case FOP_MUL:
        case FOP_DIV:
        case FOP_CROP:
            if (depth >= 2)
            {
                const float top = stack[depth - 1];
                float& second = stack[depth - 2];
                switch (instruction.opcode)
                {
                case FOP_ADD: second += top; break;
                case FOP_SUB: second -= top; break;
                case FOP_MUL: second *= top; break;
                case FOP_DIV: second = top != 0.0f ? second / top : 0.0f; break;
                default: // FOP_CROP: limits second to -top .. +top
                    if (second > top)
                        second = top;
                    else if (second < -top)
                        second = -top;
                    break;
                }
            }
            // With one value there is nothing to combine: the value is dropped all the same.
            if (depth > 0)
                --depth;
            break;
        default: // NOP, FOP_EMPTY and anything else
            break;
        }
    }
}
