#include <climits>
#include <functional>
#include <gtest/gtest.h>

#include "data/CPropertyEditorControls.h"
#include "data/CTokenFile.h"
#include "data/StringTable.h"
#include "data/PropertyTestSets.h"

namespace
{
// A set holding a single property of the given type under the key VALUE.
class CSingleSet : public CEveryTypeSet
{
public:
    explicit CSingleSet(EPropertyType type)
    {
        const TPropertyDeclaration declaration = {false, type, "VALUE", 0.1f, kPropertyMin, kPropertyMax, 0};
        Init("SINGLE", &declaration, 1);
        applyCount = 0;
    }
    CProperty& Value() { return *FindProperty("VALUE"); }
};

std::string LineOf(CProperty& property)
{
    CMemoryFile file;
    EXPECT_TRUE(property.Write(file));
    return file.text;
}
} // namespace

// Each type's display text and file line, and the line read back (twice over: the repeat of a
// key is consumed with it) into a fresh property.
TEST(Property, DisplayFileFormsAndReadingBack)
{
    struct TCase { EPropertyType type; std::function<void(CProperty&)> set; const char* display; const char* fileValue; };
    const TCase cases[] = {
        {EPropertyType::UNKNOWN, [](CProperty& p) { p.SetInt(-7); }, "-7", "-7"},
        {EPropertyType::BOOL, [](CProperty& p) { p.SetInt(1); }, "True", "1"},
        {EPropertyType::BOOL, [](CProperty& p) { p.SetInt(0); }, "False", "0"},
        {EPropertyType::FLOAT, [](CProperty& p) { p.SetFloat(1.25f); }, "    1.250", "1.250000"},
        {EPropertyType::SLIDER, [](CProperty& p) { p.SetFloat(-1234.5678f); }, " -1234.568", "-1234.567749"},
        {EPropertyType::VECTOR3, [](CProperty& p) { p.SetVector3({1, -2, 0.5f}); }, "(   1.000,   -2.000,    0.500)",
         "1.000000 -2.000000 0.500000"},
        {EPropertyType::VECTOR2, [](CProperty& p) { p.SetVector2(0.125f, -7.5f); }, "(   0.125,   -7.500)",
         "0.125000 -7.500000"},
        {EPropertyType::VECTORI2, [](CProperty& p) { p.SetVectorI2(640, -1); }, "(640, -1)", "640 -1"},
        {EPropertyType::TOKEN_EXT, [](CProperty& p) { p.SetString("V_CH3"); }, "V_CH3", "V_CH3"},
        {EPropertyType::TOKEN, [](CProperty& p) { p.SetString("Wing"); }, "Wing", "Wing"},
        {EPropertyType::STRING, [](CProperty& p) { p.SetString("A model"); }, "A model", "\"A model\""},
        {EPropertyType::STRING, [](CProperty&) {}, "", "\"\""},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.display);
        CSingleSet set(c.type);
        c.set(set.Value());
        EXPECT_EQ(set.Value().DisplayText(), c.display);
        const std::string line = LineOf(set.Value());
        EXPECT_EQ(line, std::string("  .VALUE ") + c.fileValue + "   //\r\n");

        CTokenFile tokens;
        ASSERT_TRUE(tokens.LoadText(line + line, "case.txt"));
        CSingleSet read(c.type);
        EXPECT_TRUE(read.Value().Read(tokens));
        EXPECT_TRUE(read.Value().WasFound());
        EXPECT_EQ(read.Value().DisplayText(), c.display);
        std::string rest;
        EXPECT_FALSE(tokens.GetToken("VALUE", rest, "")) << "the repeat is consumed too";
        EXPECT_EQ(read.applyCount, 0) << "a property read alone notifies nobody";
    }
}

// The writer puts nothing after the key of an empty name; the reader then sees the next key or
// the closing brace, which must not become the name.
TEST(Property, EmptyTokenReadsBackEmpty)
{
    const char* const texts[] = {
        ".VALUE   \r\n  .NEXT 4\r\n",
        ".BLOCK B {\r\n  .VALUE   //label\r\n}\r\n",
        ".VALUE",
        ".VALUE {",
    };
    for (EPropertyType type : {EPropertyType::TOKEN, EPropertyType::TOKEN_EXT})
    {
        for (const char* text : texts)
        {
            CTokenFile tokens;
            ASSERT_TRUE(tokens.LoadText(text, "empty.txt"));
            CTokenFile* block = tokens.OpenBlock("BLOCK");
            CSingleSet set(type);
            set.Value().SetString("stale");
            EXPECT_TRUE(set.Value().Read(block != nullptr ? *block : tokens)) << text;
            EXPECT_EQ(set.Value().GetString(), "") << text;
        }
    }
    CTokenFile tokens;
    ASSERT_TRUE(tokens.LoadText(".VALUE\r\n.NEXT 4\r\n", "empty.txt"));
    CSingleSet set(EPropertyType::TOKEN);
    set.Value().Read(tokens);
    int next = 0;
    EXPECT_TRUE(tokens.GetInt("NEXT", next, 0));
    EXPECT_EQ(next, 4) << "the following key stays readable";
}

TEST(Property, WrittenNamesStayOneTokenAndLabelsStayComments)
{
    ASSERT_TRUE(LoadStringTableFromText("IDS_SINGLE__VALUE_S Two\\nlines\n"));
    CSingleSet set(EPropertyType::TOKEN);
    FreeStringTable();
    set.Value().SetString("My Wing {1}");
    CDiagCapture diag;
    EXPECT_EQ(LineOf(set.Value()), "  .VALUE My_Wing_(1)   //Two lines\r\n");
    EXPECT_TRUE(diag.Contains("My_Wing_(1)")) << "a changed text is reported";

    set.Value().SetString(std::string(60, 'n'));
    EXPECT_EQ(LineOf(set.Value()), "  .VALUE " + std::string(49, 'n') + "   //Two lines\r\n")
        << "cut to what the reader takes";
}

namespace
{
// Controls that report whatever the test queued and record what they were shown.
class CScriptedControls : public CPropertyEditorControls
{
public:
    struct TScript { bool pending = false; TPropertyControlValue value; int refreshes = 0; std::string shown; };
    explicit CScriptedControls(TScript& script) : m_script(script) {}
    bool ReadValue(TPropertyControlValue& outValue) override
    {
        if (!m_script.pending)
            return false;
        m_script.pending = false;
        outValue = m_script.value;
        return true;
    }
    void Refresh(const CProperty& property) override
    {
        ++m_script.refreshes;
        m_script.shown = property.DisplayText();
    }

private:
    TScript& m_script;
};
} // namespace

TEST(Property, ControlsTruncateIntegersAndNotifyOnlyOnDifference)
{
    ASSERT_TRUE(LoadStringTableFromText("IDS_SINGLE__VALUE_S Count\n"));
    CSingleSet set(EPropertyType::UNKNOWN);
    FreeStringTable();
    CScriptedControls::TScript script;
    set.Value().SetControls(std::make_unique<CScriptedControls>(script));

    EXPECT_FALSE(set.ReadControls()) << "nothing reported";

    // applies: cumulative
    struct TStep { float entered; int stored; int applies; };
    const TStep steps[] = {{3.9f, 3, 1}, {3.2f, 3, 1}, {-2.7f, -2, 2}, {1e20f, INT_MAX, 3}, {-1e20f, INT_MIN, 4}};
    for (const TStep& step : steps)
    {
        CDiagCapture diag;
        script.pending = true;
        script.value.numbers[0] = step.entered;
        EXPECT_TRUE(set.ReadControls()) << step.entered;
        EXPECT_EQ(set.Value().GetInt(), step.stored) << step.entered;
        EXPECT_EQ(set.applyCount, step.applies) << step.entered;
        ASSERT_EQ(diag.lines.size(), 1u);
        EXPECT_EQ(diag.lines[0], "CProperty Value Has Changed Count\n");
    }
    EXPECT_EQ(script.shown, std::to_string(INT_MIN)) << "a taken change is pushed back into the controls";
}

namespace
{
std::vector<std::pair<int, int>> g_rows;
std::vector<std::pair<int, int>> g_headers;
CScriptedControls::TScript g_rowScript;

std::unique_ptr<CPropertySetEditorHeader> BuildHeader(CPropertySet&, CPropertyEditorPage&, int parts, int x, int y)
{
    g_headers.push_back({parts, y});
    return nullptr;
}

std::unique_ptr<CPropertyEditorControls> BuildRow(CProperty&, CPropertyEditorPage&, int x, int y)
{
    g_rows.push_back({x, y});
    return std::make_unique<CScriptedControls>(g_rowScript);
}
} // namespace

TEST(PropertySet, BuildControlsLaysOutRows)
{
    CEveryTypeSet set;
    CPropertyEditorPage* page = reinterpret_cast<CPropertyEditorPage*>(&set); // opaque, never used
    g_rows.clear();
    g_headers.clear();
    EXPECT_FALSE(set.PropertyAt(0)->HasControls());

    const TPropertyEditorFactory factory = {&BuildHeader, &BuildRow};
    set.BuildControls(factory, *page, 3, 10, 10);
    set.BuildControls(factory, *page, 1, 5, 0);

    ASSERT_EQ(g_headers.size(), 2u);
    EXPECT_EQ(g_headers[0], std::make_pair(3, 10));
    ASSERT_EQ(g_rows.size(), 2u * kEveryTypeCount);
    // Title 52 + token edit 30, then rows 20 apart; MASS (third) asks for 10 more below it.
    EXPECT_EQ(g_rows[0], std::make_pair(10, 92));
    EXPECT_EQ(g_rows[1], std::make_pair(10, 112));
    EXPECT_EQ(g_rows[2], std::make_pair(10, 132));
    EXPECT_EQ(g_rows[3], std::make_pair(10, 162));
    EXPECT_EQ(g_rows[kEveryTypeCount], std::make_pair(5, 30)) << "icon only: just the token edit";
    EXPECT_TRUE(set.PropertyAt(0)->HasControls());
    EXPECT_GE(g_rowScript.refreshes, kEveryTypeCount) << "new controls show the values";

    set.ClearControls();
    EXPECT_FALSE(set.PropertyAt(0)->HasControls());
}
