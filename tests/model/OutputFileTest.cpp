#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "model/COutputFile.h"
#include "model/CVariableSearchList.h"
#include "model/CVariableTable.h"
#include "model/ModelTestSupport.h"
#include "support/TempDir.h"

namespace
{
// A working directory with an Output/ folder and a table of variables.
class COutputFixture
{
public:
    COutputFixture()
    {
        dir.Write("Output/.keep", "");
        InitBaseDirectory();
        list.Add(&table);
    }
    CVariable* Variable(const std::string& name, float value)
    {
        CVariable* variable = table.Add(name);
        variable->SetValue(value);
        return variable;
    }
    bool Init(const std::string& definition)
    {
        CTokenFile file;
        EXPECT_TRUE(file.LoadText(definition, "Output/def.txt"));
        return output->Init(file, list);
    }
    // Closes the log and returns its lines, without their CR LF (which every line must have).
    std::vector<std::string> Lines(const std::string& name = "log.txt")
    {
        output.reset();
        const std::string text = dir.Read("Output/" + name);
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < text.size())
        {
            const size_t end = text.find("\r\n", start);
            EXPECT_NE(end, std::string::npos) << "line without CR LF";
            if (end == std::string::npos)
                break;
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.Path()};
    CVariableTable table{"Model"};
    CVariableSearchList list;
    std::unique_ptr<COutputFile> output = std::make_unique<COutputFile>();
};

TEST(OutputFile, LogsTheFirstTwentyVariablesAndHugeValuesNeverOverflowTheLine)
{
    COutputFixture fixture;
    std::string definition = ".OUTPUT_FILE { .FILE_NAME \"log.txt\"\n";
    for (int i = 0; i < 25; ++i)
        definition += ".OUT_VARIABLE " + fixture.Variable("V" + std::to_string(i), i % 2 == 0 ? -3.0e38f : 3.0e38f)->GetName() + "\n";
    definition += "}";
    CDiagCapture diag;
    ASSERT_TRUE(fixture.Init(definition));
    EXPECT_TRUE(diag.Contains("5 OUT_VARIABLE entries beyond the first 20"));
    fixture.output->WriteLine(3.0e38f);

    const auto lines = fixture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(std::count(lines[0].begin(), lines[0].end(), '\t'), 21);
    EXPECT_NE(lines[0].find("\tV19\t"), std::string::npos);
    EXPECT_EQ(lines[0].find("V20"), std::string::npos);
    EXPECT_LE(lines[1].size() + 2, 1000u);
    // Every column is still there; what did not fit is empty, never a cut number.
    EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), '\t'), 21);
    std::istringstream fields(lines[1]);
    std::string field;
    int written = 0;
    while (std::getline(fields, field, '\t'))
        if (!field.empty())
        {
            EXPECT_GT(std::abs(std::stod(field)), 2.9e38) << field;
            ++written;
        }
    EXPECT_GE(written, 15);
}

TEST(OutputFile, RefusesDefinitionsItCannotUse)
{
    const struct { const char* definition; const char* message; } cases[] = {
        {".OUT_VARIABLE A", "no OUTPUT_FILE block"},
        {".OUTPUT_FILE { .FILE_NAME \"../escaped.txt\" }", "refused"},
        {".OUTPUT_FILE { .FILE_NAME \"\" }", "refused"},
        {".OUTPUT_FILE { .OUT_VARIABLE A }", "refused"},
        {".OUTPUT_FILE { .FILE_NAME \"NoSuchFolder/log.txt\" }", "cannot be created"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.definition);
        COutputFixture fixture;
        fixture.Variable("A", 1.0f);
        CDiagCapture diag;
        EXPECT_FALSE(fixture.Init(c.definition));
        EXPECT_FALSE(fixture.output->IsValid());
        EXPECT_TRUE(diag.Contains(c.message) && diag.Contains("def.txt"));
        fixture.output->WriteLine(50.0f); // harmless
    }
}

TEST(OutputFile, TheModelLogsOneLinePerFrameWithAnEmptyColumnForAMissingVariable)
{
    CModelFixture fixture;
    CVariable* channel = fixture.Input("V_CH1", 1.5f);
    fixture.Input("V_CH2", -2.0f);
    fixture.dir.Write("Output/Log.def", ".OUTPUT_FILE { .FILE_NAME \"flight.log\" .OUT_VARIABLE V_CH1 .OUT_VARIABLE B"
                                        " .OUT_VARIABLE V_CH2 }");
    CDiagCapture diag;
    auto model = fixture.Load(".OUTPUT_FILE \"Log.def\"\n");
    ASSERT_TRUE(fixture.loaded);
    ASSERT_NE(model->GetOutputFile(), nullptr);
    EXPECT_TRUE(diag.Contains("'B'"));
    RunFrames(*model, 2, 0.02f);
    channel->SetValue(0.25f);
    RunFrames(*model, 1, 0.04f);
    model.reset(); // closes the log
    EXPECT_EQ(fixture.dir.Read("Output/flight.log"), "FRAME_RATE\tV_CH1\tB\tV_CH2\t\r\n"
                                                     "50.000000\t1.500000\t\t-2.000000\t\r\n"
                                                     "50.000000\t1.500000\t\t-2.000000\t\r\n"
                                                     "25.000000\t0.250000\t\t-2.000000\t\r\n");
}
} // namespace
