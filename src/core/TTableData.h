#pragma once
// A keyed float table with linear interpolation: rows of a key and up to nine values, looked up
// by key. Used for airfoil coefficients and shapes, engine sound and time-of-day lighting.
//
// Rows may be added in any order; the table sorts itself (stably, so rows with equal keys keep
// their insertion order) before the first lookup after an insertion. A lookup finds the
// segment [key[lo], key[lo+1]] with key[lo] <= x < key[lo+1] and interpolates linearly in it:
// first by a guess from x as if the keys were evenly spaced (the airfoil tables, asked many
// times per step, are), and where the guess misses that segment by a binary search. There is
// no clamping: below the first key and above the last, values are extrapolated along the first
// or last segment, which is what the airfoil tables rely on.
//
// Degenerate tables still give defined answers rather than reading past the rows or dividing
// by zero:
//   - an empty table writes nothing and reports false;
//   - a single row is a constant;
//   - a zero-width segment (duplicate keys) is a step: x at or beyond the key takes the later
//     row, x before it the earlier row.
//
// Rows with a non-finite key are refused (they would break the ordering and poison every
// lookup); values are taken as they are.

#include <cstddef>
#include <vector>

#include "core/TTableDataEntry_Base.h"

class TTableData
{
public:
    static constexpr int kMaxColumns = 9;

    TTableData();

    // Drops all rows; the column count returns to -1 and the statistics are reset.
    void Clear();

    // Appends one row with count values (0..kMaxColumns); the column count becomes count.
    // False, and nothing added, for a non-finite key or a count out of range.
    bool AddRow(float key, const float* values, int count);
    bool AddEntry(const TTableDataEntry_Base& entry);

    // Replaces the rows by an array of entries (TTableDataEntry2D ... 9D).
    template <class TEntry>
    void SetFromEntries(const TEntry* entries, size_t count)
    {
        Clear();
        for (size_t i = 0; i < count; ++i)
            AddEntry(entries[i]);
    }

    // Replaces the rows by numbers taken one at a time from nextNumber (a callable
    // bool(float&) that returns false at the end of the block), read as rows of a key and
    // valuesPerRow values. An incomplete last row is dropped. False when valuesPerRow is not
    // 1..kMaxColumns, when a row was refused or when an incomplete row was dropped: the rows
    // that were complete and valid are kept, so the caller decides whether to use them and
    // reports the file and key.
    template <class TNextNumber>
    bool ReadRows(TNextNumber&& nextNumber, int valuesPerRow)
    {
        Clear();
        if (valuesPerRow < 1 || valuesPerRow > kMaxColumns)
            return false;
        bool clean = true;
        float row[1 + kMaxColumns];
        int filled = 0;
        float number = 0.0f;
        while (nextNumber(number))
        {
            row[filled++] = number;
            if (filled == 1 + valuesPerRow)
            {
                clean = AddRow(row[0], row + 1, valuesPerRow) && clean;
                filled = 0;
            }
        }
        return clean && filled == 0;
    }

    // For tables that describe only one half of a symmetrical range: with negate, appends for
    // every row (last to first) a copy with the key and the value in column negated; then
    // sorts. Without negate it only sorts. False, and nothing appended, when the column does
    // not exist.
    bool Mirror(bool negate, int column);

    // Writes min(count, column count) interpolated values at x into out. False, writing
    // nothing, when the table is empty or that minimum is below 1.
    bool Lookup(float x, float* out, int count) const;

    // Rows in key order (sorted first if needed); out-of-range indices read 0.
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColumnCount() const { return m_columnCount; }
    float GetKey(int row) const;
    float GetValue(int row, int column) const;

    // Extremes of all rows ever added since the last Clear (diagnostic); meaningless while the
    // table is empty.
    float GetMinKey() const { return m_minKey; }
    float GetMaxKey() const { return m_maxKey; }
    float GetMinValue(int column) const;
    float GetMaxValue(int column) const;

private:
    struct Row
    {
        float key = 0.0f;
        float values[kMaxColumns] = {}; // slots beyond the row's count stay 0
    };

    void SortIfNeeded() const;
    // The segment index lo of the class comment for x (needs at least two sorted rows).
    int FindSegment(float x) const;

    // Sorting is lazy and invisible to callers, so lookups stay const.
    mutable std::vector<Row> m_rows;
    mutable bool m_sorted = true;
    // Rows per key unit if the keys were evenly spaced from m_guessOrigin (0: no guess); set
    // when the rows are sorted.
    mutable float m_guessScale = 0.0f;
    mutable float m_guessOrigin = 0.0f;
    int m_columnCount = -1;
    float m_minKey = 0.0f;
    float m_maxKey = 0.0f;
    float m_minValue[kMaxColumns] = {};
    float m_maxValue[kMaxColumns] = {};
};
