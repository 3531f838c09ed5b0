#pragma once
// The command line of kestro-fdm:
//
//   kestro-fdm [--data DIR] --model FILE.mod [--seconds S] [--frame DT] [--set V_CHn=VALUE]...
//              [--ramp V_CHn=FROM:TO:T0:T1]... [--start X,Y,Z] [--heading DEG] [--speed MPS]
//              [--flat] [--wind SPEED,HEADING] [--turbulence K] [--record FILE] [--csv FILE]
//              [--report] [--site NAME] [--thermals S,R,D] [--seed N] [--air X,Y,Z]
//              [--hold-heading V_CHn=DEG]
//   kestro-fdm [--data DIR] --check FILE.mod     (the preflight check, CModelCheck; no flight)
//
// Every number must be finite, parse completely ("1.5x" is refused) and lie within the bounds
// below; durations and the frame must be positive, and a channel may be driven by one --set or
// by ramps that follow one another in time (between them it holds the last TO; a ramp with
// T0 == T1 is a step). A channel schedule gives the value a channel has during the frame that starts at time t. --hold-heading
// adds a pilot's closed-loop stick to one channel's schedule (CHeadingPilot): full stick for DEG
// of swing from the start heading.

#include <string>
#include <vector>

#include "core/CVector3.h"

class CFdmOptions
{
public:
    static constexpr int kChannelCount = 9;
    // Bounds of the numbers a flight can use; beyond them Parse refuses (exit 2).
    static constexpr float kMaxSpeed = 1000.0f;      // m/s, --speed and the wind
    static constexpr float kMaxTurbulence = 10.0f;   // --turbulence
    static constexpr float kMaxAngleDeg = 3600.0f;   // --heading and the wind heading
    static constexpr float kMaxDistance = 1.0e6f;    // m, each --start coordinate
    static constexpr float kMaxChannel = 1000.0f;    // --set and --ramp values

    // How one channel is driven: kept at its value, or moved FROM -> TO between T0 and T1.
    struct TChannelDrive
    {
        enum EKind
        {
            kNone = 0, // left at 0
            kSet = 1,
            kRamp = 2
        };
        EKind kind = kNone;
        float from = 0.0f; // the set value, or the ramp's value before t0
        float to = 0.0f;   // the ramp's value after t1
        float t0 = 0.0f;   // s
        float t1 = 0.0f;   // s
    };

    // Fills the options from argv[1..]; false with a one-line reason in outError.
    bool Parse(int argc, const char* const* argv, std::string& outError);
    // The usage text (several lines, ending in a line break).
    static const char* Usage();

    // Value of channel index (0 .. 8) at time t (s).
    float ChannelAt(int index, float t) const;
    // Frames the flight runs: seconds / frame, rounded to the nearest whole frame (at least 1).
    int FrameCount() const;

    std::string dataDir = "Data";
    std::string model;
    float seconds = 10.0f;
    float frame = 1.0f / 60.0f;
    TChannelDrive channels[kChannelCount];
    std::vector<TChannelDrive> laterRamps[kChannelCount]; // further ramps of a ramped channel, in order
    bool hasStart = false;
    CVector3 start;        // world, m
    bool hasHeading = false;
    float headingDeg = 0.0f;
    bool hasSpeed = false;
    float speed = 0.0f;    // m/s, along the heading
    bool flat = false;
    bool hasWind = false;
    float windSpeed = 0.0f;      // m/s
    float windHeadingDeg = 0.0f; // direction the wind blows towards
    bool hasTurbulence = false;
    float turbulence = 0.0f;
    std::string recordFile;
    std::string csvFile;
    bool report = false;
    bool check = false;
    // The air around the site.
    std::string site;             // flying site name; empty: the default
    bool hasThermals = false;     // default: no thermals
    float thermalStrength = 0.0f; // m/s at the core
    float thermalRadius = 0.0f;   // m
    float thermalDensity = 0.0f;  // per km^2
    bool hasSeed = false;
    unsigned seed = 1;            // turbulence and thermals
    int holdHeadingChannel = -1;  // channel index the heading pilot steers with; -1: none
    float holdHeadingFullDeg = 0; // deg of swing for full stick
    std::vector<CVector3> airPoints; // world, m: print the air there instead of flying (no model needed)
};
