#pragma once
// Fixtures of the flight-session tests: a working directory with Data/Model/ and Output/, and
// small model files.

#include <string>

#include "data/CFile.h"
#include "support/TempDir.h"

namespace sim_test
{
// 1 kg on the body origin resting on four collision points 0.1 m below it.
inline const char* const kDropModel = ".GRAVITY G\n{\n}\n"
                                      ".BATTERY Centre\n{\n .MASS 1.0\n}\n"
                                      ".COLLISION_POINT LeftTip\n{\n .POSITION -0.6 -0.1 0\n}\n"
                                      ".COLLISION_POINT RightTip\n{\n .POSITION 0.6 -0.1 0\n}\n"
                                      ".COLLISION_POINT Nose\n{\n .POSITION 0 -0.1 -0.4\n}\n"
                                      ".COLLISION_POINT Tail\n{\n .POSITION 0 -0.1 0.4\n}\n";
constexpr float kDropRestHeight = 0.1f; // m, body origin above the ground at rest

class CSessionDir
{
public:
    CSessionDir() { InitBaseDirectory(); }
    ~CSessionDir() = default;
    // Writes Data/Model/<name>.
    void WriteModel(const std::string& name, const std::string& text) const { dir.Write("Data/Model/" + name, text); }

    TempDir dir;
    ScopedWorkingDir cwd{dir.Path()};
};
} // namespace sim_test
