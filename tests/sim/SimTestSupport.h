#pragma once
// Fixtures of the flight-session tests: a working directory for Data/Model/ and Output/, the
// shared test site and the model that drops onto it.

#include <cmath>
#include <string>

#include "sim/CFlightSession.h"
#include "support/DataDir.h"
#include "support/TestSite.h"

namespace sim_test
{
using namespace test_site;

constexpr float kFrame = 1.0f / 60.0f;

inline void Fly(CFlightSession& session, float seconds)
{
    const int frames = static_cast<int>(std::lround(seconds / kFrame));
    for (int i = 0; i < frames; ++i)
        session.Step(kFrame);
}

class CSessionDir : public TempDataDir
{
public:
    void WriteModel(const std::string& name, const std::string& text) const { Write("Data/Model/" + name, text); }
};
} // namespace sim_test
