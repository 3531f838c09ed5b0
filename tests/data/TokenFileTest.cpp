#include "data/CTokenFile.h"

#include <cfloat>
#include <climits>
#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "support/DiagCapture.h"
#include "support/TempDir.h"

// CTokenFile is not copyable; build in place instead of returning.
#define LOAD(file, text)                                                                           \
    CTokenFile file;                                                                               \
    ASSERT_TRUE(file.LoadText(text, "/nowhere/test.txt"))

namespace
{
constexpr int kAbsent = -999;

// The next value of the key, kAbsent when there is none.
int NextInt(CTokenFile& file, const char* key)
{
    int value = 0;
    return file.GetInt(key, value, kAbsent) ? value : kAbsent;
}
} // namespace

TEST(TokenFile, RepeatedKeyYieldsEachOccurrenceThenTheDefault)
{
    LOAD(file, ".A 1\n.B 7\n.A 2\n");
    EXPECT_EQ(NextInt(file, "A"), 1);
    EXPECT_EQ(NextInt(file, "A"), 2);
    int value = 0;
    EXPECT_FALSE(file.GetInt("A", value, -1));
    EXPECT_EQ(value, -1);
    EXPECT_EQ(NextInt(file, "B"), 7);
}

TEST(TokenFile, NestedKeysAreFoundOnlyThroughTheirBlock)
{
    LOAD(file, ".OUTER {\n  .INNER 5\n  .DEEP { .X 9 }\n}\n.AFTER 3\n");
    EXPECT_EQ(NextInt(file, "INNER"), kAbsent);
    CTokenFile* outer = file.OpenBlock("OUTER");
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(NextInt(*outer, "X"), kAbsent) << "one level deeper still hidden";
    EXPECT_EQ(NextInt(*outer, "AFTER"), kAbsent) << "keys after the block's closing brace";
    EXPECT_EQ(NextInt(*outer, "INNER"), 5);
    CTokenFile* deep = outer->OpenBlock("DEEP");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(NextInt(*deep, "X"), 9);
    EXPECT_EQ(NextInt(file, "AFTER"), 3);
}

TEST(TokenFile, RepeatedBlocksAreReadInOrderWithTheirNames)
{
    LOAD(file, ".PART Wing { .M 1 }\n.PART Tail{ .M 2 }\n.OTHER 0\n");
    std::vector<std::pair<std::string, int>> parts;
    std::string name;
    while (CTokenFile* part = file.OpenBlock("PART", &name))
        parts.emplace_back(part->BlockName(), NextInt(*part, "M"));
    const std::vector<std::pair<std::string, int>> expected = {{"Wing", 1}, {"Tail", 2}};
    EXPECT_EQ(parts, expected);
}

TEST(TokenFile, OpenBlockFailures)
{
    CDiagCapture diag;
    std::string name;
    {
        LOAD(file, ".PART { .M 1 }");
        EXPECT_EQ(file.OpenBlock("PART", &name), nullptr) << "the brace is no name";
    }
    {
        // Without its own brace a key must not hand out the contents of the next block.
        LOAD(file, ".OUTER { .PART x }\n.OTHER { .M 1 }");
        CTokenFile* outer = file.OpenBlock("OUTER");
        ASSERT_NE(outer, nullptr);
        EXPECT_EQ(outer->OpenBlock("PART"), nullptr);
        CTokenFile* other = file.OpenBlock("OTHER");
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(NextInt(*other, "M"), 1);
    }
    {
        LOAD(file, ".PART name");
        EXPECT_EQ(file.OpenBlock("PART", &name), nullptr);
    }
    {
        LOAD(file, ".PART LongBlockName { }");
        EXPECT_NE(file.OpenBlock("PART", &name, 5), nullptr);
        EXPECT_EQ(name, "Long");
    }
}

TEST(TokenFile, RootOwnsEveryChildBlock)
{
    // Far more than the 250 the original child list held; LeakSanitizer checks the freeing.
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += StringPrintf(".B { .V %d }\n", i);
    LOAD(file, text.c_str());
    std::vector<CTokenFile*> blocks;
    while (CTokenFile* block = file.OpenBlock("B"))
        blocks.push_back(block);
    ASSERT_EQ(blocks.size(), 400u);
    EXPECT_EQ(NextInt(*blocks[0], "V"), 0);
    EXPECT_EQ(NextInt(*blocks[399], "V"), 399);
    // Reloading the root frees the old blocks too.
    EXPECT_TRUE(file.LoadText(".X 1", "/nowhere/x.txt"));
    EXPECT_EQ(file.OpenBlock("B"), nullptr);
}

TEST(TokenFile, ValueConversions)
{
    LOAD(file, ".NEXTLINE\n  3.5\n.T True\n.ONE 1\n.TWO 2\n.BIG 1e300\n.NEG -1e300\n.HUGE 99999999999999\n"
               ".V2 1.5 -2\n.V3 1 2\n 3\n.VI 4 5.9\n.LAST");
    float f = 0.0f;
    EXPECT_TRUE(file.GetFloat("NEXTLINE", f, -1.0f));
    EXPECT_FLOAT_EQ(f, 3.5f);
    bool b = true;
    EXPECT_TRUE(file.GetBool("T", b, true));
    EXPECT_FALSE(b) << "'True' is no integer";
    EXPECT_TRUE(file.GetBool("ONE", b, false));
    EXPECT_TRUE(b);
    EXPECT_TRUE(file.GetBool("TWO", b, false));
    EXPECT_TRUE(b);
    EXPECT_TRUE(file.GetFloat("BIG", f, 0.0f));
    EXPECT_EQ(f, FLT_MAX);
    EXPECT_TRUE(file.GetFloat("NEG", f, 0.0f));
    EXPECT_EQ(f, -FLT_MAX);
    EXPECT_EQ(NextInt(file, "HUGE"), INT_MAX);
    float x = 0, y = 0;
    EXPECT_TRUE(file.GetVector2("V2", x, y, 0, 0));
    EXPECT_FLOAT_EQ(x, 1.5f);
    EXPECT_FLOAT_EQ(y, -2.0f);
    CVector3 v;
    EXPECT_TRUE(file.GetVector3("V3", v, CVector3()));
    EXPECT_EQ(v, CVector3(1, 2, 3));
    int ix = 0, iy = 0;
    EXPECT_TRUE(file.GetVectorI2("VI", ix, iy, 0, 0));
    EXPECT_EQ(ix, 4);
    EXPECT_EQ(iy, 5);
    EXPECT_EQ(NextInt(file, "LAST"), 0) << "a key at the very end has an empty value: found, converted as 0";
    EXPECT_FALSE(file.GetVector3("MISSING", v, CVector3(1, 1, 1)));
    EXPECT_EQ(v, CVector3(1, 1, 1));
}

TEST(TokenFile, KeysAreExactUpTo49CharactersAndTokensAreCutToTheBuffer)
{
    const std::string key49(49, 'K');
    LOAD(file, (".mass 1\n.MASSX 2\n.W 1.5 .MASS 3\n." + key49 + "EXTRA 4\n.NAME ABCDEFGHIJ\n").c_str());
    EXPECT_EQ(NextInt(file, "MASS"), 3) << "neither the lower-case key nor a longer one matches, nor a dot in a number";
    EXPECT_EQ(NextInt(file, "mass"), 1);
    EXPECT_EQ(NextInt(file, (key49 + "OTHER").c_str()), 4);
    std::string token;
    EXPECT_TRUE(file.GetToken("NAME", token, "none", 5));
    EXPECT_EQ(token, "ABCD");
    EXPECT_FALSE(file.GetToken("NAME", token, "none"));
    EXPECT_EQ(token, "none");
}

TEST(TokenFile, QuotedStrings)
{
    CDiagCapture diag;
    struct Case { const char* text; size_t size; bool found; const char* expected; };
    const Case cases[] = {
        {".S \"Hello, world\"\n", 1000, true, "Hello, world"},
        {".S   \"\"\n", 1000, true, ""},
        // The comment stripping cuts the line at "//": unterminated, empty, not the default.
        {".S \"http://example\"\n", 1000, false, ""},
        {".S\n\"next line\"\n", 1000, false, ""},
        {".S \"broken\nline\"\n", 1000, false, ""},
        {".S \"abcdef\"", 6, false, ""},
        {".S \"abcde\"", 6, true, "abcde"},
        // EmptyStringFitsNoBufferOfSizeZero: the size counts the terminator, so nothing fits.
        {".S \"\"", 0, false, ""},
        {".S \"\"", 1, true, ""},
        {".S \"no end", 1000, false, ""},
        {".OTHER \"x\"", 1000, false, "default"},
    };
    for (const Case& c : cases)
    {
        CTokenFile file;
        ASSERT_TRUE(file.LoadText(c.text, "/nowhere/s.txt"));
        std::string out = "stale";
        EXPECT_EQ(file.GetString("S", out, "default", c.size), c.found) << c.text;
        EXPECT_EQ(out, c.expected) << c.text;
    }
}

TEST(TokenFile, ListsStopAtTheClosingBrace)
{
    LOAD(file, ".TABLE {\n  0 1.5\n  -2 3e2\n}\n.AFTER 9\n");
    CTokenFile* table = file.OpenBlock("TABLE");
    ASSERT_NE(table, nullptr);
    std::vector<float> values;
    float value = 0.0f;
    table->BeginList();
    while (table->NextFloat(value))
        values.push_back(value);
    EXPECT_EQ(values, (std::vector<float>{0.0f, 1.5f, -2.0f, 300.0f}));
    table->BeginList();
    std::string token;
    EXPECT_TRUE(table->NextToken(token));
    EXPECT_EQ(token, "0");

    LOAD(open, ".TABLE { 1 2");
    CTokenFile* unclosed = open.OpenBlock("TABLE");
    ASSERT_NE(unclosed, nullptr);
    int count = 0;
    unclosed->BeginList();
    while (unclosed->NextFloat(value))
        ++count;
    EXPECT_EQ(count, 2) << "the end of the text ends the list too";
}

TEST(TokenFile, CommentStripping)
{
    struct Case { const char* in; const char* out; bool ok; };
    const Case cases[] = {
        {"a // b\nc", "a \nc", true},
        {"a // b\r\nc", "a \r\nc", true},
        {"a /* b */ c", "a  c", true},
        {"a /* b\n b */ c", "a  c", true},
        // A "/*" inside a line comment opens a block comment past the line end.
        {"a // b /* c\n d */ e\nf", "a  e\nf", true},
        // A "//" inside a block comment drops the rest of the line after "*/".
        {"a /* b // c */ d\ne", "a \ne", true},
        // Inside quotes too.
        {".S \"x/*y*/z\"", ".S \"xz\"", true},
        {"*/ stays", "*/ stays", true},
        {"a /* open", "a ", false},
        {"a // x /* y", "a ", false},
        {"/", "/", true},
    };
    for (const Case& c : cases)
    {
        std::string text = c.in;
        EXPECT_EQ(StripComments(text), c.ok) << c.in;
        EXPECT_EQ(text, c.out) << c.in;
    }
}

TEST(TokenFile, UnterminatedCommentOrMissingFileKeepsTheDefaults)
{
    CDiagCapture diag;
    CTokenFile file;
    EXPECT_FALSE(file.LoadText(".A 1 /* open\n.B 2\n", "/nowhere/c.txt"));
    EXPECT_FALSE(file.IsOk());
    EXPECT_EQ(NextInt(file, "A"), kAbsent);
    EXPECT_TRUE(diag.Contains("/nowhere/c.txt"));

    TempDir dir;
    EXPECT_FALSE(file.Load((dir.Path() / "absent.txt").string()));
    float number = 0.0f;
    EXPECT_FALSE(file.GetFloat("A", number, 2.5f));
    EXPECT_EQ(number, 2.5f);
    EXPECT_EQ(file.OpenBlock("A"), nullptr);
}

TEST(TokenFile, IncludesExpandInPlaceRelativeToTheIncludingFile)
{
    CDiagCapture diag;
    TempDir dir;
    dir.Write("Model/Parts/wing.txt", ".A 2\n#include tail.txt\n");
    dir.Write("Model/Parts/tail.txt", ".A 3 /* a comment */\n");
    const std::string main = dir.Write("Model/main.mod", ".A 1\n"
                                                         "  #include Parts\\wing.txt .A 4\n"
                                                         "#include nothere.txt\n"
                                                         ".A 5 // end\n");
    CTokenFile file;
    ASSERT_TRUE(file.Load(main));
    std::vector<int> values;
    for (int value = NextInt(file, "A"); value != kAbsent; value = NextInt(file, "A"))
        values.push_back(value);
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(diag.Contains("nothere.txt")) << "a skipped include is reported";
}

TEST(TokenFile, IncludesMayNotLeaveTheDataFolder)
{
    CDiagCapture diag;
    TempDir dir;
    dir.Write("secret.txt", ".A 666\n");
    const std::string main = dir.Write("Data/main.txt", "#include ../secret.txt\n.B 1\n");
    CTokenFile file;
    ASSERT_TRUE(file.Load(main));
    EXPECT_EQ(NextInt(file, "A"), kAbsent);
    EXPECT_EQ(NextInt(file, "B"), 1);
}

TEST(TokenFile, IncludeLimits)
{
    CDiagCapture diag;
    TempDir dir;
    dir.Write("e.txt", ".E 1\n");
    std::string exactly, oneMore;
    for (int i = 0; i < 500; ++i)
        exactly += "#include e.txt\n";
    oneMore = exactly + "#include e.txt\n";
    CTokenFile file;
    EXPECT_TRUE(file.Load(dir.Write("500.txt", exactly)));
    int count = 0;
    while (NextInt(file, "E") != kAbsent)
        ++count;
    EXPECT_EQ(count, 500);
    EXPECT_FALSE(file.Load(dir.Write("501.txt", oneMore)));

    // A file that includes itself stops at the limit instead of running forever.
    EXPECT_FALSE(file.Load(dir.Write("self.txt", ".S 1\n#include self.txt\n")));
    EXPECT_TRUE(diag.Contains("more than 500"));

    // Growth beyond 1,000,000 characters.
    dir.Write("big.txt", std::string(600000, ' '));
    EXPECT_FALSE(file.Load(dir.Write("grow.txt", "#include big.txt\n#include big.txt\n")));
    EXPECT_TRUE(file.Load(dir.Write("fits.txt", "#include big.txt\n")));
}
