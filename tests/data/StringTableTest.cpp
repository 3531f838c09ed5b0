#include "data/StringTable.h"

#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "support/DataDir.h"

namespace
{
struct StringTableTest : ::testing::Test
{
    std::string diag;
    StringTableTest()
    {
        SetDiagnosticSink([this](const std::string& line) { diag += line; });
    }
    ~StringTableTest() override
    {
        FreeStringTable();
        SetDiagnosticSink({});
        InitBaseDirectory(); // a test may have moved the working directory
    }
};
} // namespace

TEST_F(StringTableTest, LookupResolvesTextsAndChains)
{
    ASSERT_TRUE(LoadStringTableFromText("IDS_FLY_S   Fly\r\n"
                                        "\tIDS_MENU_S IDS_FLY_S\r\n"
                                        "IDS_CHAIN_S IDS_MENU_S\r\n"
                                        "IDS_PADDED_S   text with trailing blanks  \r\n"
                                        "IDS_HELP_L Line one\\nLine two\\r\\x\r\n"
                                        "IDS_URL_S see http://example\r\n"
                                        "\r\n"
                                        "IDS_fly_s lower\r\n"
                                        "IDS_FLY_S second\r\n"));
    struct Case { const char* id; const char* text; };
    const Case cases[] = {
        {"IDS_FLY_S", "Fly"}, // the first of two equal identifiers wins
        {"IDS_MENU_S", "Fly"},
        {"IDS_CHAIN_S", "Fly"},
        {"IDS_PADDED_S", "text with trailing blanks  "},
        {"IDS_HELP_L", "Line one\nLine two\r\\x"},
        {"IDS_URL_S", "see http:"},
        {"IDS_fly_s", "lower"},
        {"ids_fly_s", ""},
        {"IDS_UNKNOWN", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(LookupString(c.id), c.text) << c.id;
    EXPECT_STREQ(LookupString(nullptr), "");
    EXPECT_EQ(StringTableCount(), 8);
}

TEST_F(StringTableTest, IdentifierAloneOnItsLine)
{
    // CR LF: the CR ends the identifier and the LF leaves the empty text.
    ASSERT_TRUE(LoadStringTableFromText("IDS_EMPTY\r\nIDS_NEXT next\r\n"));
    EXPECT_STREQ(LookupString("IDS_EMPTY"), "");
    EXPECT_STREQ(LookupString("IDS_NEXT"), "next");
    EXPECT_EQ(StringTableCount(), 2);

    // LF only: the identifier takes the next line as its text, and the parser says so.
    ASSERT_TRUE(LoadStringTableFromText("IDS_EMPTY\nSecond line\nIDS_LAST last\n"));
    EXPECT_STREQ(LookupString("IDS_EMPTY"), "Second line");
    EXPECT_FALSE(StringTableHas("Second"));
    EXPECT_STREQ(LookupString("IDS_LAST"), "last");
    EXPECT_NE(diag.find("IDS_EMPTY stands alone"), std::string::npos);

    // The last entry without a line break is dropped, and that is reported.
    ASSERT_TRUE(LoadStringTableFromText("IDS_A a\nIDS_B b"));
    EXPECT_STREQ(LookupString("IDS_A"), "a");
    EXPECT_STREQ(LookupString("IDS_B"), "");
    EXPECT_EQ(StringTableCount(), 1);
    EXPECT_NE(diag.find("IDS_B"), std::string::npos) << "dropping is reported";
}

TEST_F(StringTableTest, RingsOfIdentifiersEnd)
{
    ASSERT_TRUE(LoadStringTableFromText("IDS_SELF IDS_SELF\n"
                                        "IDS_A IDS_B\n"
                                        "IDS_B IDS_C\n"
                                        "IDS_C IDS_A\n"));
    EXPECT_EQ(std::string(LookupString("IDS_SELF")).rfind("IDS", 0), 0u);
    EXPECT_EQ(std::string(LookupString("IDS_A")).rfind("IDS", 0), 0u);
    LookupString("IDS_A");
    // Reported once per identifier, not on every frame that draws the text.
    size_t reports = 0;
    for (size_t at = diag.find("IDS_A refers"); at != std::string::npos; at = diag.find("IDS_A refers", at + 1))
        ++reports;
    EXPECT_EQ(reports, 1u);
}

TEST_F(StringTableTest, DebugSwitchOverwritesTextsWithX)
{
    ASSERT_TRUE(LoadStringTableFromText("IDS_A Fly\nIDS_B IDS_A\nIDS_C a\\nb\n"));
    ToggleStringDebug();
    EXPECT_STREQ(LookupString("IDS_A"), "XXX");
    EXPECT_STREQ(LookupString("IDS_B"), "XXXXX");
    EXPECT_STREQ(LookupString("IDS_C"), "XXX");
    ToggleStringDebug();
    EXPECT_STREQ(LookupString("IDS_A"), "XXX") << "switching off does not restore";
}

TEST_F(StringTableTest, BrokenOrMissingFileGivesAnEmptyTable)
{
    EXPECT_FALSE(LoadStringTableFromText("IDS_A a\n/* open\nIDS_B b\n"));
    EXPECT_EQ(StringTableCount(), 0);
    EXPECT_STREQ(LookupString("IDS_A"), "");

    TempDir dir;
    DataDirAt here(dir.Path());
    EXPECT_FALSE(LoadStringTable());
    EXPECT_STREQ(LookupString("IDS_A"), "");

    dir.Write("Data/Config/String.txt", "// texts\r\nIDS_A From the file\r\n");
    diag.clear();
    EXPECT_TRUE(LoadStringTable());
    EXPECT_STREQ(LookupString("IDS_A"), "From the file");
    EXPECT_EQ(diag.rfind("<<<" + BuildDataPath(DF_CONFIG, "String.txt") + ">>>\n", 0), 0u);
}

TEST_F(StringTableTest, EntriesBeyondTheCapacityAreIgnored)
{
    std::string text;
    for (int i = 0; i < 1005; ++i)
        text += StringPrintf("IDS_%d text%d\n", i, i);
    ASSERT_TRUE(LoadStringTableFromText(text));
    EXPECT_EQ(StringTableCount(), 1000);
    EXPECT_STREQ(LookupString("IDS_999"), "text999");
    EXPECT_STREQ(LookupString("IDS_1000"), "");
    EXPECT_NE(diag.find("more than 1000"), std::string::npos);
}
