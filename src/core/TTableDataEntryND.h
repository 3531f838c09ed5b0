#pragma once
// Concrete table entries with N values:
//   TTableDataEntry2D  airfoil shape rows (x -> upper y, lower y)
//   TTableDataEntry3D  combined coefficient rows (alpha -> Cl, Cd, Cp)
//   TTableDataEntry4D  engine sound tables
//   TTableDataEntry9D  time-of-day lighting tables
// Written as {key, v1, ..., vN}; the number of values is checked at compile time.

#include "core/TTableDataEntry_Base.h"

template <int N>
class TTableDataEntryND final : public TTableDataEntry_Base
{
public:
    static_assert(N >= 1 && N <= 9, "a table row holds at most nine values");
    static constexpr int kNumValues = N;

    TTableDataEntryND() = default;

    template <class... TValues>
    TTableDataEntryND(float key, TValues... values)
        : m_key(key)
        , m_values{static_cast<float>(values)...}
    {
        static_assert(sizeof...(TValues) == N, "an entry needs exactly N values after the key");
    }

    int GetNumValues() const override { return N; }
    float* GetValues() override { return m_values; }
    const float* GetValues() const override { return m_values; }
    float GetKey() const override { return m_key; }
    void SetKey(float key) { m_key = key; }

private:
    float m_key = 0.0f;
    float m_values[N] = {};
};

using TTableDataEntry2D = TTableDataEntryND<2>;
using TTableDataEntry3D = TTableDataEntryND<3>;
using TTableDataEntry4D = TTableDataEntryND<4>;
using TTableDataEntry9D = TTableDataEntryND<9>;
