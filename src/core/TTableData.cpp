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

    int lo = 0;
    if (last > 1)
    {
        int hi = last;
        while (hi - lo > 1)
        {
            const int mid = (lo + hi) / 2;
            if (x >= m_rows[mid].key)
                lo = mid;
            else
                hi = mid;
        }
    }

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
