#include "core/TTableData.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr size_t kInitialRows = 2;
constexpr float kInfinity = std::numeric_limits<float>::infinity();
} // namespace

TTableData::TTableData()
{
    Clear();
}

void TTableData::Clear()
{
    m_rows.clear();
    m_rows.reserve(kInitialRows);
    m_sorted = true;
    m_guessScale = 0.0f;
    m_guessOrigin = 0.0f;
    m_columnCount = -1;
    m_minKey = kInfinity;
    m_maxKey = -kInfinity;
    std::fill(std::begin(m_minValue), std::end(m_minValue), kInfinity);
    std::fill(std::begin(m_maxValue), std::end(m_maxValue), -kInfinity);
}

bool TTableData::AddRow(float key, const float* values, int count)
{
    if (!std::isfinite(key) || count < 0 || count > kMaxColumns || (count > 0 && !values))
        return false;

    Row row;
    row.key = key;
    std::copy(values, values + count, row.values);
    m_rows.push_back(row);
    m_sorted = false;
    m_columnCount = count;

    m_minKey = std::min(m_minKey, key);
    m_maxKey = std::max(m_maxKey, key);
    for (int j = 0; j < count; ++j)
    {
        m_minValue[j] = std::min(m_minValue[j], values[j]);
        m_maxValue[j] = std::max(m_maxValue[j], values[j]);
    }
    return true;
}

bool TTableData::AddEntry(const TTableDataEntry_Base& entry)
{
    return AddRow(entry.GetKey(), entry.GetValues(), entry.GetNumValues());
}

bool TTableData::Mirror(bool negate, int column)
{
    if (negate)
    {
        if (column < 0 || column >= m_columnCount)
            return false;
        for (size_t i = m_rows.size(); i-- > 0;)
        {
            Row mirrored = m_rows[i]; // a copy: push_back may move the rows
            mirrored.values[column] = -mirrored.values[column];
            AddRow(-mirrored.key, mirrored.values, m_columnCount);
        }
    }
    SortIfNeeded();
    return true;
}

void TTableData::SortIfNeeded() const
{
    if (m_sorted)
        return;
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const Row& a, const Row& b) { return a.key < b.key; });
    m_sorted = true;

    m_guessScale = 0.0f;
    m_guessOrigin = 0.0f;
    if (m_rows.size() > 2)
    {
        const float span = m_rows.back().key - m_rows.front().key;
        const float scale = static_cast<float>(m_rows.size() - 1) / span;
        if (span > 0.0f && std::isfinite(scale))
        {
            m_guessScale = scale;
            m_guessOrigin = m_rows.front().key;
        }
    }
}

int TTableData::FindSegment(float x) const
{
    const int last = static_cast<int>(m_rows.size()) - 1;
    // The answer is the one lo in [0, last - 1] with (lo == 0 or key[lo] <= x) and
    // (lo == last - 1 or x < key[lo + 1]); a guess that passes this test is it.
    const auto brackets = [&](int lo) {
        return (lo == 0 || m_rows[lo].key <= x) && (lo == last - 1 || x < m_rows[lo + 1].key);
    };
    if (m_guessScale > 0.0f)
    {
        const float t = (x - m_guessOrigin) * m_guessScale;
        int lo = 0;
        if (t > 0.0f)
            lo = t < static_cast<float>(last - 1) ? static_cast<int>(t) : last - 1;
        // One row either way absorbs the rounding of keys that are evenly spaced in decimal.
        if (lo > 0 && x < m_rows[lo].key)
            --lo;
        else if (lo < last - 1 && x >= m_rows[lo + 1].key)
            ++lo;
        if (brackets(lo))
            return lo;
    }
    int lo = 0;
    int hi = last;
    while (hi - lo > 1)
    {
        const int mid = (lo + hi) / 2;
        if (x >= m_rows[mid].key)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

bool TTableData::Lookup(float x, float* out, int count) const
{
    const int columns = std::min(count, m_columnCount);
    if (columns < 1 || m_rows.empty())
        return false;
    SortIfNeeded();

    const int last = static_cast<int>(m_rows.size()) - 1;
    if (last == 0)
    {
        std::copy(m_rows[0].values, m_rows[0].values + columns, out);
        return true;
    }

    const int lo = FindSegment(x);
    const Row& prev = m_rows[lo];
    const Row& next = m_rows[lo + 1];
    const float width = next.key - prev.key;
    if (width == 0.0f)
    {
        const Row& step = x >= next.key ? next : prev;
        std::copy(step.values, step.values + columns, out);
        return true;
    }

    const float t = (x - prev.key) / width;
    for (int j = 0; j < columns; ++j)
        out[j] = prev.values[j] * (1.0f - t) + next.values[j] * t;
    return true;
}

float TTableData::GetKey(int row) const
{
    if (row < 0 || row >= GetRowCount())
        return 0.0f;
    SortIfNeeded();
    return m_rows[row].key;
}

float TTableData::GetValue(int row, int column) const
{
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= kMaxColumns)
        return 0.0f;
    SortIfNeeded();
    return m_rows[row].values[column];
}

float TTableData::GetMinValue(int column) const
{
    return column >= 0 && column < kMaxColumns ? m_minValue[column] : 0.0f;
}

float TTableData::GetMaxValue(int column) const
{
    return column >= 0 && column < kMaxColumns ? m_maxValue[column] : 0.0f;
}
