#pragma once
// A clock the test moves by hand, for the timers that take a count source (ns).

#include <cstdint>

namespace fake_clock
{
inline int64_t g_ns = 0;

inline int64_t Count()
{
    return g_ns;
}
} // namespace fake_clock
