#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/CTokenFile.h"
#include "model/CFunction.h"
#include "model/CFunctionList.h"
#include "model/CVariableSearchList.h"
#include "model/CVariableTable.h"
#include "support/DiagCapture.h"

namespace
{
// Variables X, A, B and the channels, all assigned (so they read what they hold).
class CFunctionFixture
{
public:
    CFunctionFixture()
    {
        for (const char* name : {"X", "A", "B", "V_CH1", "V_CH2", "V_CH3"})
            table.Add(name)->SetValue(0.0f);
        list.Add(&table);
    }
    float Value(const char* name) const { return table.Find(name)->GetValue(); }
    void Set(const char* name, float value) { table.Find(name)->SetValue(value); }

    // Loads one FUNCTION block; valid gets the result of the load.
    std::unique_ptr<CFunction> Load(const std::string& body)
    {
        file = std::make_unique<CTokenFile>();
        EXPECT_TRUE(file->LoadText(".FUNCTION F {\n" + body + "\n}\n", "test.mod"));
        CTokenFile* block = file->OpenBlock("FUNCTION");
        EXPECT_NE(block, nullptr);
        auto function = std::make_unique<CFunction>();
        valid = function->Load(*block, "F", list);
        return function;
    }
    std::unique_ptr<CFunction> LoadOps(const std::string& ops) { return Load(".OPS " + ops); }

    CVariableTable table{"Test"};
    CVariableSearchList list;
    std::unique_ptr<CTokenFile> file;
    bool valid = false;
};

TEST(Function, Operations)
{
    // 31 pushes of 1 .. 31, then 29 ADDs: the 31 never got on the stack, so the sum is 1 .. 30.
    std::string thirtyOne;
    for (int i = 1; i <= 31; ++i)
        thirtyOne += "PUSH " + std::to_string(i) + " ";
    for (int i = 0; i < 29; ++i)
        thirtyOne += "ADD ";
    struct TCase { std::string ops; float expected; /* X after one evaluation; X starts at 99 */ } cases[] = {
        {"PUSH 2 PUSH 0 DIV POP X", 0.0f},     // division by zero yields 0
        {"PUSH 6 PUSH 3 DIV POP X", 2.0f},
        {"PUSH 5 PUSH 2 CROP POP X", 2.0f},    // limited to +2
        {"PUSH -5 PUSH 2 CROP POP X", -2.0f},  // limited to -2
        {"PUSH 1 PUSH 2 CROP POP X", 1.0f},    // inside the limits
        {"PUSH 7 PUSH 3 SUB POP X", 4.0f},     // second - top
        {"PUSH 7 PUSH 3 MUL POP X", 21.0f},
        {"PUSH 3 NEG POP X", -3.0f},
        {"PUSH -3 ABS POP X", 3.0f},
        {"PUSH .5 POP X", 0.5f},               // a point starts a number, not a key
        {"PUSH 4 ADD POP X", 99.0f},           // a binary operation drops the lone value; POP finds nothing
        {"NEG ABS POP X", 99.0f},              // nothing to work on
        {"PUSH 1 PUSH 2 POP X", 2.0f},         // the top; the 1 is discarded at the end
        {"PUSH 5 NOP POP X", 5.0f},
        {"PUSH 3e38 PUSH 10 MUL POP X", 0.0f}, // an overflow is not handed on
        {thirtyOne + "POP X", 465.0f},          // pushes beyond thirty values are ignored
        {"PUSH 3 POP X\n.DESCRIPTION \"PUSH 9 POP X\"", 3.0f}, // the list ends at the next key
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.ops);
        CFunctionFixture fixture;
        auto function = fixture.LoadOps(c.ops);
        EXPECT_TRUE(fixture.valid);
        fixture.Set("X", 99.0f);
        function->Evaluate();
        EXPECT_FLOAT_EQ(fixture.Value("X"), c.expected);
    }
}

TEST(Function, FaultyProgramsAreInvalidButStillRun)
{
    struct TCase { const char* body; float expected; /* X after one evaluation; X starts at 99 */ const char* message; };
    const TCase cases[] = {
        // A missing variable reads 0 ...
        {".OPS PUSH MISSING PUSH 1 ADD POP X", 1.0f, "MISSING"},
        // ... and takes no value, but its POP still drops the top.
        {".OPS PUSH 2 PUSH 3 POP MISSING POP X", 2.0f, "MISSING"},
        {".OPS PUSH 4 POP X PUSH", 4.0f, "PUSH at the end"},
        {".OPS PUSH 4 POP X POP", 4.0f, "POP at the end"},
        {".OPS PUSH 1 MULL POP X", 1.0f, "'MULL'"},
        {".OPS PUSH 1e39 POP X", 0.0f, "out of range"},
        {".DESCRIPTION \"no program\"", 99.0f, "no OPS"},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.body);
        CDiagCapture diag;
        CFunctionFixture fixture;
        auto function = fixture.Load(c.body);
        EXPECT_FALSE(fixture.valid);
        EXPECT_FALSE(function->IsValid());
        EXPECT_TRUE(diag.Contains(c.message) && diag.Contains("test.mod"));
        fixture.Set("X", 99.0f);
        function->Evaluate();
        EXPECT_FLOAT_EQ(fixture.Value("X"), c.expected);
    }
}

TEST(FunctionList, RunsInFileOrderAndAndsTheValidFlags)
{
    CFunctionFixture fixture;
    CTokenFile file;
    ASSERT_TRUE(file.LoadText(".FUNCTION First { .OPS PUSH V_CH1 PUSH 2 MUL POP A }\n"
                              ".FUNCTION Broken { .OPS PUSH NOWHERE POP B }\n"
                              ".FUNCTION Second { .OPS PUSH A PUSH 1 ADD POP X }\n",
                              "test.mod"));
    CFunctionList functions;
    CDiagCapture diag;
    EXPECT_FALSE(functions.Load(file, fixture.list));
    ASSERT_EQ(functions.Count(), 3);
    EXPECT_FALSE(functions.At(1)->IsValid());

    fixture.Set("V_CH1", 0.25f);
    fixture.Set("B", 7.0f);
    functions.Evaluate();
    EXPECT_FLOAT_EQ(fixture.Value("A"), 0.5f);
    EXPECT_FLOAT_EQ(fixture.Value("X"), 1.5f); // saw A of this frame
    EXPECT_FLOAT_EQ(fixture.Value("B"), 0.0f); // the missing variable pushed 0
}

} // namespace
