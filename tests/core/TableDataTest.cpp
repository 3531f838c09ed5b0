#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/TTableData.h"
#include "core/TTableDataEntryND.h"

namespace
{
// key -> (value0, value1): value0 = 2 * key, value1 = 10 - key, on keys -10, 0, 5, 20.
const TTableDataEntry2D kLinear[] = {
    {-10.0f, -20.0f, 20.0f}, {0.0f, 0.0f, 10.0f}, {5.0f, 10.0f, 5.0f}, {20.0f, 40.0f, -10.0f}};

// Reads numbers from a list the way a token block hands them out.
struct NumberList
{
    std::vector<float> numbers;
    size_t next = 0;
    bool operator()(float& out)
    {
        if (next == numbers.size())
            return false;
        out = numbers[next++];
        return true;
    }
};

float LookupOne(const TTableData& table, float x)
{
    float out = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(table.Lookup(x, &out, 1)) << "x = " << x;
    return out;
}
} // namespace

TEST(TableData, LookupAtBetweenAndBeyondTheKeys)
{
    TTableData table;
    table.SetFromEntries(kLinear, 4);
    // Keys, between them, just below one, and beyond both ends (extrapolated along the end segment).
    for (float x : {-10.0f, 20.0f, 5.0f, -3.0f, 12.5f, 4.999f, -50.0f, 100.0f})
    {
        float out[2] = {};
        ASSERT_TRUE(table.Lookup(x, out, 2));
        EXPECT_NEAR(out[0], 2.0f * x, 1e-3f) << x;
        EXPECT_NEAR(out[1], 10.0f - x, 1e-3f) << x;
    }
}

TEST(TableData, UnsortedInputIsSortedBeforeTheFirstLookup)
{
    TTableData table;
    const int order[] = {2, 0, 3, 1};
    for (int i : order)
        table.AddEntry(kLinear[i]);
    EXPECT_NEAR(LookupOne(table, 2.5f), 5.0f, 1e-5f);
    EXPECT_EQ(table.GetKey(0), -10.0f);
    EXPECT_EQ(table.GetKey(3), 20.0f);

    // A row added after a lookup is sorted in before the next one.
    const float value = 60.0f;
    table.AddRow(30.0f, &value, 1);
    EXPECT_NEAR(LookupOne(table, 25.0f), 50.0f, 1e-5f);
}

TEST(TableData, EqualKeysKeepTheirInsertionOrder)
{
    TTableData table;
    for (int i = 0; i < 20; ++i)
    {
        const float value = static_cast<float>(i);
        table.AddRow(static_cast<float>(i % 2), &value, 1);
    }
    for (int row = 1; row < 10; ++row)
        EXPECT_LT(table.GetValue(row - 1, 0), table.GetValue(row, 0)) << "row " << row;
}

TEST(TableData, EmptySingleRowAndNarrowTables)
{
    TTableData table;
    float out[2] = {-1.0f, -1.0f};
    EXPECT_FALSE(table.Lookup(0.0f, out, 2));
    EXPECT_EQ(out[0], -1.0f);

    const float values[] = {3.0f, 4.0f};
    table.AddRow(1.0f, values, 2);
    ASSERT_TRUE(table.Lookup(-7.0f, out, 2));
    EXPECT_EQ(out[0], 3.0f);
    EXPECT_EQ(out[1], 4.0f);

    table.Clear();
    EXPECT_EQ(table.GetColumnCount(), -1);
    EXPECT_FALSE(table.Lookup(1.0f, out, 2));

    // Only the columns that exist are written.
    table.SetFromEntries(kLinear, 4);
    float wide[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    ASSERT_TRUE(table.Lookup(5.0f, wide, 4));
    EXPECT_EQ(wide[1], 5.0f);
    EXPECT_EQ(wide[2], -1.0f);
    EXPECT_FALSE(table.Lookup(5.0f, wide, 0));
}

TEST(TableData, RowsThatWouldCorruptTheTableAreRefused)
{
    TTableData table;
    const float values[10] = {};
    EXPECT_FALSE(table.AddRow(std::numeric_limits<float>::quiet_NaN(), values, 1));
    EXPECT_FALSE(table.AddRow(std::numeric_limits<float>::infinity(), values, 1));
    EXPECT_FALSE(table.AddRow(0.0f, values, 10));
    EXPECT_FALSE(table.AddRow(0.0f, values, -1));
    EXPECT_FALSE(table.AddRow(0.0f, nullptr, 2));
    EXPECT_EQ(table.GetRowCount(), 0);
    EXPECT_EQ(table.GetColumnCount(), -1);
}

TEST(TableData, NineValueRowsRoundTrip)
{
    const TTableDataEntry9D rows[] = {{0.0f, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                                      {1.0f, 11, 12, 13, 14, 15, 16, 17, 18, 19}};
    TTableData table;
    table.SetFromEntries(rows, 2);
    float out[9];
    ASSERT_TRUE(table.Lookup(0.5f, out, 9));
    for (int j = 0; j < 9; ++j)
        EXPECT_NEAR(out[j], 6.0f + j, 1e-5f) << "column " << j;
}

TEST(TableData, MirrorNegatesKeyAndOneColumn)
{
    // Half of a symmetrical coefficient table: alpha -> (Cl, Cd).
    const TTableDataEntry2D half[] = {{0.0f, 0.0f, 0.01f}, {10.0f, 1.0f, 0.02f}, {90.0f, 0.0f, 1.2f}};
    TTableData table;
    table.SetFromEntries(half, 3);
    ASSERT_TRUE(table.Mirror(true, 0));
    EXPECT_EQ(table.GetRowCount(), 6);
    for (float a : {3.0f, 10.0f, 47.0f})
    {
        float plus[2], minus[2];
        table.Lookup(a, plus, 2);
        table.Lookup(-a, minus, 2);
        EXPECT_NEAR(minus[0], -plus[0], 1e-6f) << a;
        EXPECT_NEAR(minus[1], plus[1], 1e-6f) << a;
    }
    EXPECT_NEAR(LookupOne(table, 0.0f), 0.0f, 1e-6f) << "0 and -0 both present";

    EXPECT_FALSE(table.Mirror(true, 2));
    EXPECT_EQ(table.GetRowCount(), 6);

    table.SetFromEntries(half, 3);
    EXPECT_TRUE(table.Mirror(false, 0));
    EXPECT_EQ(table.GetRowCount(), 3);
}

TEST(TableData, ReadRowsTakesCompleteRowsOnly)
{
    TTableData table;
    NumberList clean{{20.0f, 2.0f, 0.5f, -20.0f, -2.0f, 0.5f}};
    EXPECT_TRUE(table.ReadRows(clean, 2));
    EXPECT_EQ(table.GetRowCount(), 2);
    EXPECT_EQ(table.GetColumnCount(), 2);
    EXPECT_NEAR(LookupOne(table, 10.0f), 1.0f, 1e-5f);

    NumberList cut{{0.0f, 1.0f, 1.0f, 2.0f, 2.0f}}; // the last row lacks its value
    EXPECT_FALSE(table.ReadRows(cut, 1));
    EXPECT_EQ(table.GetRowCount(), 2);
    EXPECT_NEAR(LookupOne(table, 0.5f), 1.5f, 1e-5f);

    NumberList badKey{{0.0f, 1.0f, std::numeric_limits<float>::quiet_NaN(), 5.0f, 2.0f, 3.0f}};
    EXPECT_FALSE(table.ReadRows(badKey, 1));
    EXPECT_EQ(table.GetRowCount(), 2);

    NumberList any{{1.0f, 2.0f}};
    EXPECT_FALSE(table.ReadRows(any, 0));
    EXPECT_FALSE(table.ReadRows(any, 10));
    EXPECT_EQ(table.GetRowCount(), 0);
}

// The lookup guesses the segment from the key when the keys look evenly spaced; whatever the
// spacing, the answer must be that of a plain scan for key[lo] <= x < key[lo + 1]. Duplicate keys
// are a step (the later row wins from the key on), never a division by zero.
TEST(TableData, GuessedSegmentsMatchAScanOfTheKeys)
{
    struct TCase { std::vector<float> keys; const char* what; };
    std::vector<TCase> cases;
    TCase even{{}, "360 rows from -180 to 180 in double, as the airfoil tables (keys off by an ulp)"};
    for (int i = 0; i < 360; ++i)
        even.keys.push_back(static_cast<float>(i * 360.0 / 359 - 180.0));
    cases.push_back(even);
    cases.push_back({{0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f}, "decimal steps"});
    cases.push_back({{-10.0f, -9.0f, 0.0f, 0.5f, 0.6f, 30.0f, 31.0f}, "uneven: the guess is far off"});
    cases.push_back({{0.0f, 1.0f, 1.0f, 2.0f, 3.0f, 3.0f, 4.0f}, "even with duplicate keys"});
    cases.push_back({{1.0f, 1.0f, 1.0f, 5.0f}, "a step at the start"});
    cases.push_back({{0.0f, 0.0f, 3.0f, 3.0f}, "steps at both ends: nothing to extrapolate along"});
    cases.push_back({{0.0f, 0.0f}, "both rows on one key"});
    cases.push_back({{0.0f, 5.0f}, "two rows need no search"});

    for (const TCase& c : cases)
    {
        TTableData table;
        const int n = static_cast<int>(c.keys.size());
        for (int i = 0; i < n; ++i)
        {
            const float value = std::sin(7.0f * static_cast<float>(i)) * 100.0f; // no line through any three
            table.AddRow(c.keys[static_cast<size_t>(i)], &value, 1);
        }
        std::vector<float> probes = {-1e30f, 1e30f, c.keys.front() - 1.0f, c.keys.back() + 1.0f};
        for (int i = 0; i < n; ++i)
        {
            const float k = c.keys[static_cast<size_t>(i)];
            probes.insert(probes.end(), {k, std::nextafter(k, -1e30f), std::nextafter(k, 1e30f)});
            if (i + 1 < n)
                probes.push_back(0.5f * (k + c.keys[static_cast<size_t>(i + 1)]));
        }
        for (float x : probes)
        {
            int lo = 0;
            while (lo + 1 < n - 1 && x >= table.GetKey(lo + 1))
                ++lo;
            const float k0 = table.GetKey(lo);
            const float k1 = table.GetKey(lo + 1);
            const float v0 = table.GetValue(lo, 0);
            const float v1 = table.GetValue(lo + 1, 0);
            float expected = x >= k1 ? v1 : v0; // a zero-width segment is a step
            if (k1 - k0 != 0.0f)
            {
                const float t = (x - k0) / (k1 - k0);
                expected = v0 * (1.0f - t) + v1 * t;
            }
            EXPECT_EQ(LookupOne(table, x), expected) << c.what << ", x = " << x;
        }
    }
}
