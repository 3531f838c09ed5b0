#include <climits>
#include <functional>
#include <gtest/gtest.h>

#include "data/CTokenFile.h"
#include "data/StringTable.h"
#include "data/PropertyTestSets.h"
#include "support/DataDir.h"

namespace
{
struct TValues
{
    const char* what;
    int count;
    int enabled;
    float mass;
    float gain;
    CVector3 position;
    float offsetX, offsetY;
    int sizeX, sizeY;
    const char* servo;
    const char* target;
    const char* description;
};

void Store(CPropertySet& set, const TValues& v)
{
    set.FindProperty("COUNT")->SetInt(v.count);
    set.FindProperty("ENABLED")->SetInt(v.enabled);
    set.FindProperty("MASS")->SetFloat(v.mass);
    set.FindProperty("GAIN")->SetFloat(v.gain);
    set.FindProperty("POSITION")->SetVector3(v.position);
    set.FindProperty("OFFSET")->SetVector2(v.offsetX, v.offsetY);
    set.FindProperty("SIZE")->SetVectorI2(v.sizeX, v.sizeY);
    set.FindProperty("SERVO")->SetString(v.servo);
    set.FindProperty("TARGET")->SetString(v.target);
    set.FindProperty("DESCRIPTION")->SetString(v.description);
}

// The property lines a set writes: sets holding the same values write the same lines.
std::string Lines(const CPropertySet& set)
{
    CMemoryFile file;
    EXPECT_TRUE(set.WriteProperties(file));
    return file.text;
}

// Writes the set as a block and reads it into a fresh set, as a model file is saved and loaded.
void WriteAndReadBack(const CPropertySet& written, CEveryTypeSet& read)
{
    CMemoryFile file;
    ASSERT_TRUE(written.Write(file));
    CTokenFile tokens;
    ASSERT_TRUE(tokens.LoadText(file.text, "written.mod"));
    std::string name;
    CTokenFile* block = tokens.OpenBlock(written.SetName().c_str(), &name);
    ASSERT_NE(block, nullptr) << file.text;
    EXPECT_TRUE(read.Read(*block, name));
}

// Every value a property can hold must come back from its own file line; the rows with empty
// texts catch a token written as nothing swallowing the key that follows it.
const TValues kRoundTrips[] = {
    {"typical values", 3, 1, 1.25f, -0.5f, {1.5f, -2.25f, 3.0f}, 0.125f, -7.5f, 640, 480, "V_CH1", "Wing",
     "A trainer, 1.2 m span"},
    {"negative, zero and empty", -42, 0, 0.0f, 1.0f, {-1000.0f, 0.0f, 0.001f}, -0.001f, 99999.5f, -1, 0, "", "", ""},
    {"extremes", INT_MAX, 1, 123456.5f, -1.0f, {1e6f, -1e6f, 0.5f}, 0.0f, 0.0f, INT_MIN, INT_MAX, "SERVO_ELEVATOR_LEFT",
     "Fuel_Tank.2", "x"},
};
} // namespace

TEST(PropertySet, EveryTypeSurvivesWriteThenRead)
{
    for (const TValues& values : kRoundTrips)
    {
        CEveryTypeSet written;
        written.SetToken("Wing1");
        Store(written, values);
        CEveryTypeSet read;
        WriteAndReadBack(written, read);
        EXPECT_EQ(Lines(read), Lines(written)) << values.what;
        EXPECT_EQ(read.Token(), "Wing1");
    }
}

TEST(PropertySet, WritesTheBlockLayoutAndLinesExactly)
{
    ASSERT_TRUE(LoadStringTableFromText("IDS_TESTSET__MASS_S Mass\nIDS_TESTSET__DESCRIPTION_S Description\n"));
    CEveryTypeSet set;
    FreeStringTable();
    set.SetToken("Wing1");
    Store(set, kRoundTrips[0]);
    set.FindProperty("DESCRIPTION")->SetString("A trainer");

    CMemoryFile file;
    ASSERT_TRUE(set.Write(file));
    const std::string dashes = "//------------------------------------------------------------------------------\r\n";
    EXPECT_EQ(file.text, "\r\n" + dashes + dashes +
                             ".TESTSET Wing1\r\n"
                             "{\r\n"
                             "  .COUNT 3   //\r\n"
                             "  .ENABLED 1   //\r\n"
                             "  .MASS 1.250000   //Mass\r\n"
                             "  .GAIN -0.500000   //\r\n"
                             "  .POSITION 1.500000 -2.250000 3.000000   //\r\n"
                             "  .OFFSET 0.125000 -7.500000   //\r\n"
                             "  .SIZE 640 480   //\r\n"
                             "  .SERVO V_CH1   //\r\n"
                             "  .TARGET Wing   //\r\n"
                             "  .DESCRIPTION \"A trainer\"   //Description\r\n"
                             "}\r\n");
}

TEST(PropertySet, WriteReportsAFileThatTakesNotEverythingButWritesOn)
{
    CEveryTypeSet set;
    CMemoryFile full;
    ASSERT_TRUE(set.Write(full));
    for (size_t capacity : {size_t(0), size_t(40), full.text.size() - 3})
    {
        CMemoryFile shortFile(capacity);
        EXPECT_FALSE(set.Write(shortFile)) << capacity;
        EXPECT_EQ(shortFile.text, full.text.substr(0, capacity));
    }
}

TEST(PropertySet, MissingKeysKeepNumbersEmptyTextsAndReportRequiredOnes)
{
    CEveryTypeSet set;
    Store(set, kRoundTrips[0]);
    set.applyCount = 0;
    CTokenFile tokens;
    ASSERT_TRUE(tokens.LoadText(".TESTSET W\r\n{\r\n  .GAIN 0.25\r\n}\r\n", "Data/Model/sparse.mod"));
    CTokenFile* block = tokens.OpenBlock("TESTSET");
    ASSERT_NE(block, nullptr);

    CDiagCapture diag;
    set.applyResult = false;
    EXPECT_FALSE(set.Read(*block, "W")) << "Read gives what ApplyProperties gives";
    EXPECT_EQ(set.applyCount, 1) << "a missing required key does not stop the reading";
    EXPECT_TRUE(diag.Contains("Data/Model/sparse.mod")) << "the report names the file";
    EXPECT_TRUE(diag.Contains("MASS"));

    EXPECT_FALSE(set.FindProperty("MASS")->WasFound());
    EXPECT_EQ(set.FindProperty("MASS")->GetFloat(), 1.25f);
    EXPECT_EQ(set.FindProperty("DESCRIPTION")->GetString(), "");
}

TEST(PropertySet, CallbackFiresOnlyOnRealChanges)
{
    struct TCounter { int calls = 0; } counter;
    CEveryTypeSet set;
    set.SetChangeCallback([](void* context) { ++static_cast<TCounter*>(context)->calls; }, &counter);
    CProperty* mass = set.FindProperty("MASS");
    CProperty* position = set.FindProperty("POSITION");

    struct TStep
    {
        const char* what;
        std::function<void()> action;
        int expectedCalls; // cumulative
    };
    const TStep steps[] = {
        {"new float", [&] { mass->SetFloat(2.0f); }, 1},
        {"same float", [&] { mass->SetFloat(2.0f); }, 1},
        {"float setter on a vector", [&] { position->SetFloat(5.0f); }, 1},
        {"new vector", [&] { position->SetVector3({1, 2, 3}); }, 2},
        {"same vector", [&] { position->SetVector3({1, 2, 3}); }, 2},
        {"one component differs", [&] { position->SetVector3({1, 2, 4}); }, 3},
        {"vector2 setter on a vector3", [&] { position->SetVector2(9, 9); }, 3},
        {"int setter on a float", [&] { mass->SetInt(7); }, 3},
        {"bool set to 5", [&] { set.FindProperty("ENABLED")->SetInt(5); }, 4},
        {"bool set to 1 after 5", [&] { set.FindProperty("ENABLED")->SetInt(1); }, 4},
        {"text", [&] { set.FindProperty("DESCRIPTION")->SetString("quiet"); }, 4},
        {"same int pair", [&] { set.FindProperty("SIZE")->SetVectorI2(0, 0); }, 4},
        {"component write, same value", [&] { position->Component(2)->Set(4.0f); }, 5},
    };
    for (const TStep& step : steps)
    {
        step.action();
        EXPECT_EQ(counter.calls, step.expectedCalls) << step.what;
        EXPECT_EQ(set.applyCount, step.expectedCalls) << step.what << ": ApplyProperties runs before the callback";
    }
    EXPECT_EQ(mass->GetFloat(), 2.0f);
    EXPECT_EQ(position->GetVector3(), CVector3(1, 2, 4));
    EXPECT_EQ(set.FindProperty("ENABLED")->GetInt(), 1);
}

TEST(PropertySet, RenameTokenReferencesTouchesOnlyMatchingNames)
{
    CEveryTypeSet set;
    set.FindProperty("TARGET")->SetString("Wing");
    set.FindProperty("SERVO")->SetString("Wing");
    set.FindProperty("DESCRIPTION")->SetString("Wing");
    set.applyCount = 0;

    set.RenameTokenReferences("wing", "Tail");
    EXPECT_EQ(set.FindProperty("TARGET")->GetString(), "Wing") << "exact comparison";
    set.RenameTokenReferences("Wing", "MainWing");
    EXPECT_EQ(set.FindProperty("TARGET")->GetString(), "MainWing");
    EXPECT_EQ(set.FindProperty("SERVO")->GetString(), "MainWing") << "a chosen name is a reference too";
    EXPECT_EQ(set.FindProperty("DESCRIPTION")->GetString(), "Wing") << "free text is no reference";
    EXPECT_EQ(set.applyCount, 0);
}

// Texts that the token format cannot carry must never damage the keys around them.
TEST(PropertySet, HostileTextsLeaveTheOtherKeysIntact)
{
    struct TCase { const char* text; const char* readBack; };
    const TCase cases[] = {
        {"see http://example", ""},             // "//" starts a comment: the string is lost, alone
        {"say \"hi\" now", "say 'hi' now"},
        {"braces { and }", "braces ( and )"},
        {"opens /* a comment", "opens / * a comment"},
        {"sets .MASS 99 and .COUNT 5", "sets  MASS 99 and  COUNT 5"},
        {"two\r\nlines", "two  lines"},
        {"file Trainer.OSG v1.2", "file Trainer.OSG v1.2"},
        {"// then /* both", ""},
    };
    for (const TCase& c : cases)
    {
        CEveryTypeSet written;
        written.SetToken("W");
        Store(written, kRoundTrips[0]);
        written.FindProperty("DESCRIPTION")->SetString(c.text);
        // A second block behind the first must survive as well.
        CEveryTypeSet second("OTHER");
        second.SetToken("O");
        second.FindProperty("MASS")->SetFloat(8.0f);

        CMemoryFile file;
        CDiagCapture quiet;
        ASSERT_TRUE(written.Write(file));
        ASSERT_TRUE(second.Write(file));
        CTokenFile tokens;
        ASSERT_TRUE(tokens.LoadText(file.text, "hostile.mod")) << c.text;

        CEveryTypeSet read;
        CTokenFile* block = tokens.OpenBlock("TESTSET");
        ASSERT_NE(block, nullptr) << c.text;
        read.Read(*block, "W");
        written.FindProperty("DESCRIPTION")->SetString(c.readBack);
        EXPECT_EQ(Lines(read), Lines(written)) << c.text;

        CEveryTypeSet readSecond("OTHER");
        CTokenFile* secondBlock = tokens.OpenBlock("OTHER");
        ASSERT_NE(secondBlock, nullptr) << c.text;
        readSecond.Read(*secondBlock, "O");
        EXPECT_EQ(readSecond.FindProperty("MASS")->GetFloat(), 8.0f) << c.text;
    }
}

TEST(PropertySet, FileRoundTripInTheOutputFolder)
{
    TempDataDir dir;
    CEveryTypeSet written;
    Store(written, kRoundTrips[0]);
    {
        CDiagCapture diag;
        EXPECT_FALSE(written.WriteFile("Weather.txt")) << "no Output folder yet";
        EXPECT_FALSE(diag.lines.empty());
    }
    dir.Write("Output/Weather.txt", ".MASS 3.5\n");
    ASSERT_TRUE(written.WriteFile("Weather.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.dir.Path() / "Output/Weather.txt.tmp"));
    EXPECT_EQ(dir.Read("Output/Weather.txt").rfind("  .COUNT 3", 0), 0u) << "property lines only";

    CEveryTypeSet read;
    EXPECT_TRUE(read.ReadFile("Weather.txt", "Weather"));
    EXPECT_EQ(Lines(read), Lines(written));
    EXPECT_EQ(read.Token(), "Weather");
}

// AFullDiskEmptiesWeatherTxt: the failed delayed write was not seen and the empty temporary
// file replaced the settings.
TEST(PropertySet, AFileThatCannotBeWrittenKeepsThePreviousOne)
{
    TempDataDir dir;
    dir.Write("Output/Weather.txt", ".MASS 3.5\n");
    std::filesystem::create_symlink("/dev/full", dir.dir.Path() / "Output/Weather.txt.tmp");
    CEveryTypeSet written;
    CDiagCapture diag;
    EXPECT_FALSE(written.WriteFile("Weather.txt"));
    EXPECT_EQ(dir.Read("Output/Weather.txt"), ".MASS 3.5\n");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir.dir.Path() / "Output/Weather.txt.tmp")));
    EXPECT_TRUE(diag.Contains("Weather.txt"));
}

// SettingsFileValuesOutsideTheirRangesAreKept.
TEST(PropertySet, SettingsFileValuesAreClampedToTheirDeclaredRanges)
{
    TempDataDir dir;
    dir.Write("Output/Set.txt", ".MASS 150\n.GAIN nan\n.SIZE -3 9000\n.COUNT -7\n.POSITION 1 2 3\n");
    CEveryTypeSet set;
    set.FindProperty("GAIN")->SetFloat(0.5f);
    CDiagCapture diag;
    EXPECT_TRUE(set.ReadFile("Set.txt", "S"));
    EXPECT_EQ(set.FindProperty("MASS")->GetFloat(), 100.0f);
    EXPECT_EQ(set.FindProperty("GAIN")->GetFloat(), 0.5f) << "not a number: the value it had";
    int x = 0, y = 0;
    set.FindProperty("SIZE")->GetVectorI2(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 4096);
    EXPECT_EQ(set.FindProperty("COUNT")->GetInt(), -7) << "no range declared";
    for (const char* key : {"Set.txt: .MASS", "Set.txt: .GAIN", "Set.txt: .SIZE"})
        EXPECT_TRUE(diag.Contains(key)) << key;
    EXPECT_EQ(diag.lines.size(), 3u);

    // Model files keep what they say: their ranges are the editor's.
    CTokenFile tokens;
    ASSERT_TRUE(tokens.LoadText(".MASS 150\n", "Data/Model/m.mod"));
    set.Read(tokens, "M");
    EXPECT_EQ(set.FindProperty("MASS")->GetFloat(), 150.0f);
}

TEST(PropertySet, UnreadableFileChangesNothing)
{
    TempDataDir dir;
    dir.Write("Output/Broken.txt", ".MASS 4 /* never closed\n");
    CEveryTypeSet set;
    set.FindProperty("MASS")->SetFloat(2.0f);
    set.applyCount = 0;
    CDiagCapture diag;
    EXPECT_FALSE(set.ReadFile("Missing.txt", "X"));
    EXPECT_TRUE(diag.lines.empty()) << "a missing file is the normal first run";
    EXPECT_FALSE(set.ReadFile("Broken.txt", "X"));
    EXPECT_TRUE(diag.Contains("Broken.txt"));
    EXPECT_FALSE(set.ReadFile("../Output/Broken.txt", "X"));
    EXPECT_EQ(set.FindProperty("MASS")->GetFloat(), 2.0f);
    EXPECT_EQ(set.Token(), "");
    EXPECT_EQ(set.applyCount, 0);
}
