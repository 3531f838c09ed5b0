#pragma once
// A small flying site and model shared by the session, tool and screen tests: a level square
// of terrain 2 km wide written as Data/3D/FlyingSite.osg, and a model that drops onto it. The
// scene is written in kestro_testsite, so that the tests of the headless session need no scene
// graph headers.

#include <filesystem>

namespace test_site
{
// 1 kg on the body origin resting on four collision points 0.1 m below it.
inline const char* const kDropModel = ".GRAVITY G\n{\n}\n"
                                      ".BATTERY Centre\n{\n .MASS 1.0\n}\n"
                                      ".COLLISION_POINT LeftTip\n{\n .POSITION -0.6 -0.1 0\n}\n"
                                      ".COLLISION_POINT RightTip\n{\n .POSITION 0.6 -0.1 0\n}\n"
                                      ".COLLISION_POINT Nose\n{\n .POSITION 0 -0.1 -0.4\n}\n"
                                      ".COLLISION_POINT Tail\n{\n .POSITION 0 -0.1 0.4\n}\n";
constexpr float kDropRestHeight = 0.1f; // m, body origin above the ground at rest

// Writes the scene file `file`: a node "terrain" with two upward-facing triangles whose corners
// are (+-1000, height, +-1000). Loading reshapes heights by (x^2 + z^2) / 1e6, so a height h
// other than 0 ends at 2 h everywhere. False when the file cannot be written.
bool WriteSquareSite(const std::filesystem::path& file, float height);
} // namespace test_site
