#include "core/CTimer.h"

#include <chrono>

namespace
{
constexpr double kSecondsPerCount = 1.0e-9;
}

CTimer::CTimer(CountSource source)
    : m_source(source ? source : &CTimer::SteadyCount)
{
    Start();
}

void CTimer::Start()
{
    m_startCount = Count();
    m_stopped = false;
}

void CTimer::Stop()
{
    m_stopCount = Count();
    m_stopped = true;
}

double CTimer::Seconds() const
{
    const int64_t end = m_stopped ? m_stopCount : Count();
    return static_cast<double>(end - m_startCount) * kSecondsPerCount;
}

int64_t CTimer::SteadyCount()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}
