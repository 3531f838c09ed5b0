#include "fdm/CFdmOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
// A finite float that fills the whole text.
bool ParseFloat(const std::string& text, float& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value))
        return false;
    out = static_cast<float>(value);
    return std::isfinite(out);
}

std::string FormatLimit(float limit)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(limit));
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> fields;
    size_t begin = 0;
    for (;;)
    {
        const size_t end = text.find(separator, begin);
        fields.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos)
            return fields;
        begin = end + 1;
    }
}

bool ParseFloats(const std::string& text, char separator, size_t count, float* out)
{
    const std::vector<std::string> fields = Split(text, separator);
    if (fields.size() != count)
        return false;
    for (size_t i = 0; i < count; ++i)
        if (!ParseFloat(fields[i], out[i]))
            return false;
    return true;
}

// "V_CH3=..." -> channel index 2 and the text after '='; -1 when the name is not a channel.
int ParseChannel(const std::string& text, std::string& outValue)
{
    const size_t equals = text.find('=');
    if (equals == std::string::npos)
        return -1;
    const std::string name = text.substr(0, equals);
    outValue = text.substr(equals + 1);
    if (name.size() != 5 || name.compare(0, 4, "V_CH") != 0 || name[4] < '1' || name[4] > '9')
        return -1;
    return name[4] - '1';
}
} // namespace

const char* CFdmOptions::Usage()
{
    return "usage: kestro-fdm [--data DIR] --model FILE.mod [--seconds S] [--frame DT]\n"
           "                  [--set V_CHn=VALUE]... [--ramp V_CHn=FROM:TO:T0:T1]...\n"
           "                  [--start X,Y,Z] [--heading DEG] [--speed MPS] [--flat]\n"
           "                  [--wind SPEED,HEADING] [--turbulence K] [--record FILE]\n"
           "                  [--csv FILE] [--report] [--site NAME] [--thermals S,R,D]\n"
           "                  [--seed N] [--air X,Y,Z] [--hold-heading V_CHn=DEG]\n"
           "       kestro-fdm [--data DIR] --check FILE.mod\n"
           "Flies a model headless with a fixed frame time and prints a JSON summary as the last line.\n"
           "  --data DIR      data folder (default ./Data)\n"
           "  --model FILE    a model file (a path, or a name in DIR/Model/)\n"
           "  --seconds S     simulated seconds (default 10)\n"
           "  --frame DT      frame time in seconds (default 1/60)\n"
           "  --set           holds a channel at a value (-1 .. 1)\n"
           "  --ramp          moves a channel from FROM to TO between T0 and T1 seconds; a channel\n"
           "                  may take several ramps, each starting after the one before ends\n"
           "  --start X,Y,Z   start position of the body origin (default: set down on the ground at\n"
           "                  the site's start)\n"
           "  --heading DEG   start heading, clockwise from -Z seen from above\n"
           "  --speed MPS     starts flying level at that airspeed along the heading\n"
           "  --flat          flat ground at height 0 instead of the flying site\n"
           "  --wind S,H      mean wind S m/s blowing towards heading H (default: still air)\n"
           "  --turbulence K  turbulence strength 0 .. 1\n"
           "  --record FILE   writes a flight recording\n"
           "  --csv FILE      writes one row per frame\n"
           "  --report        prints the model's mass, inertia and parts first\n"
           "  --check FILE    judges the model without flying it: mass, balance, neutral point,\n"
           "                  static margin, stall speed, thrust, glide, warnings naming the part\n"
           "  --site NAME     flying site: FlyingSite (default) or SlopeSite\n"
           "  --thermals S,R,D  thermals of S m/s at the core, R m radius, D per km^2 (default: none)\n"
           "  --seed N        seed of the turbulence and the thermals (default 1)\n"
           "  --hold-heading  a pilot holds the start heading with that channel (added to its\n"
           "                  --set or --ramp): full stick for DEG of swing, leading the swing\n"
           "                  by 0.3 s of its rate, reacting 0.15 s late\n"
           "  --air X,Y,Z     prints the air velocity at that point as JSON instead of flying\n"
           "                  (one line per --air; --model is then not needed)\n"
           "Output/ (Weather.txt, the collision cache, a model's output file) goes to a private\n"
           "folder under $TMPDIR (or /tmp), removed at the end unless the model writes an output file.\n"
           "Exit codes: 0 flown, 1 the model or the site did not load or a file cannot be written,\n"
           "2 bad arguments; --check: 0 passed, 3 warnings, 1 the model did not load.\n";
}

bool CFdmOptions::Parse(int argc, const char* const* argv, std::string& outError)
{
    *this = CFdmOptions();
    bool seenChannel[kChannelCount] = {};
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= argc)
            {
                outError = option + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const auto number = [&](float& out) {
            std::string text;
            if (!value(text))
                return false;
            if (!ParseFloat(text, out))
            {
                outError = option + ": '" + text + "' is not a number";
                return false;
            }
            return true;
        };

        std::string text;
        if (option == "--data")
        {
            if (!value(dataDir))
                return false;
        }
        else if (option == "--model")
        {
            if (!value(model))
                return false;
        }
        else if (option == "--seconds")
        {
            if (!number(seconds))
                return false;
            if (seconds <= 0.0f)
                return outError = "--seconds must be positive", false;
        }
        else if (option == "--frame")
        {
            if (!number(frame))
                return false;
            if (frame <= 0.0f || frame > 1.0f)
                return outError = "--frame must lie in (0, 1] seconds", false;
        }
        else if (option == "--set" || option == "--ramp")
        {
            if (!value(text))
                return false;
            std::string rest;
            const int channel = ParseChannel(text, rest);
            if (channel < 0)
                return outError = option + ": '" + text + "' does not start with V_CH1= .. V_CH9=", false;
            // Ramps may follow one another on a channel (stick pulses and releases).
            const bool later =
                seenChannel[channel] && option == "--ramp" && channels[channel].kind == TChannelDrive::kRamp;
            if (seenChannel[channel] && !later)
                return outError = option + ": V_CH" + std::to_string(channel + 1) + " is already driven", false;
            seenChannel[channel] = true;
            if (later)
                laterRamps[channel].emplace_back();
            TChannelDrive& drive = later ? laterRamps[channel].back() : channels[channel];
            if (option == "--set")
            {
                drive.kind = TChannelDrive::kSet;
                if (!ParseFloat(rest, drive.from))
                    return outError = "--set: '" + rest + "' is not a number", false;
                drive.to = drive.from;
            }
            else
            {
                float fields[4] = {};
                if (!ParseFloats(rest, ':', 4, fields))
                    return outError = "--ramp: '" + rest + "' is not FROM:TO:T0:T1", false;
                drive = {TChannelDrive::kRamp, fields[0], fields[1], fields[2], fields[3]};
                if (drive.t1 < drive.t0)
                    return outError = "--ramp: T1 lies before T0", false;
                if (later)
                {
                    const size_t n = laterRamps[channel].size();
                    const float previousEnd = n > 1 ? laterRamps[channel][n - 2].t1 : channels[channel].t1;
                    if (drive.t0 < previousEnd)
                        return outError = "--ramp: a channel's ramps must follow one another", false;
                }
            }
        }
        else if (option == "--start")
        {
            if (!value(text))
                return false;
            float xyz[3] = {};
            if (!ParseFloats(text, ',', 3, xyz))
                return outError = "--start: '" + text + "' is not X,Y,Z", false;
            start = CVector3(xyz[0], xyz[1], xyz[2]);
            hasStart = true;
        }
        else if (option == "--heading")
        {
            if (!number(headingDeg))
                return false;
            hasHeading = true;
        }
        else if (option == "--speed")
        {
            if (!number(speed))
                return false;
            if (speed < 0.0f)
                return outError = "--speed must not be negative", false;
            hasSpeed = true;
        }
        else if (option == "--flat")
            flat = true;
        else if (option == "--wind")
        {
            if (!value(text))
                return false;
            float fields[2] = {};
            if (!ParseFloats(text, ',', 2, fields))
                return outError = "--wind: '" + text + "' is not SPEED,HEADING", false;
            if (fields[0] < 0.0f)
                return outError = "--wind: the speed must not be negative", false;
            windSpeed = fields[0];
            windHeadingDeg = fields[1];
            hasWind = true;
        }
        else if (option == "--turbulence")
        {
            if (!number(turbulence))
                return false;
            if (turbulence < 0.0f)
                return outError = "--turbulence must not be negative", false;
            hasTurbulence = true;
        }
        else if (option == "--record")
        {
            if (!value(recordFile))
                return false;
        }
        else if (option == "--csv")
        {
            if (!value(csvFile))
                return false;
        }
        else if (option == "--report")
            report = true;
        else if (option == "--check")
        {
            if (!value(model))
                return false;
            check = true;
        }
        else if (option == "--site")
        {
            if (!value(site))
                return false;
            if (site.empty())
                return outError = "--site needs a name", false;
        }
        else if (option == "--thermals")
        {
            if (!value(text))
                return false;
            float fields[3] = {};
            if (!ParseFloats(text, ',', 3, fields))
                return outError = "--thermals: '" + text + "' is not STRENGTH,RADIUS,DENSITY", false;
            if (fields[0] < 0.0f || fields[1] <= 0.0f || fields[2] < 0.0f)
                return outError = "--thermals: the strength and density must not be negative, the radius positive", false;
            thermalStrength = fields[0];
            thermalRadius = fields[1];
            thermalDensity = fields[2];
            hasThermals = true;
        }
        else if (option == "--hold-heading")
        {
            if (!value(text))
                return false;
            std::string rest;
            holdHeadingChannel = ParseChannel(text, rest);
            if (holdHeadingChannel < 0)
                return outError = "--hold-heading: '" + text + "' does not start with V_CH1= .. V_CH9=", false;
            if (!ParseFloat(rest, holdHeadingFullDeg) || holdHeadingFullDeg <= 0.0f)
                return outError = "--hold-heading: '" + rest + "' is not a positive number of degrees", false;
        }
        else if (option == "--seed")
        {
            if (!value(text))
                return false;
            char* end = nullptr;
            errno = 0;
            const unsigned long parsed = std::strtoul(text.c_str(), &end, 10);
            if (text.empty() || text[0] == '-' || end != text.c_str() + text.size() || errno == ERANGE ||
                parsed > 0xffffffffUL)
                return outError = "--seed: '" + text + "' is not a whole number 0 .. 4294967295", false;
            seed = static_cast<unsigned>(parsed);
            hasSeed = true;
        }
        else if (option == "--air")
        {
            if (!value(text))
                return false;
            float xyz[3] = {};
            if (!ParseFloats(text, ',', 3, xyz))
                return outError = "--air: '" + text + "' is not X,Y,Z", false;
            airPoints.emplace_back(xyz[0], xyz[1], xyz[2]);
        }
        else
            return outError = "unknown argument '" + option + "'", false;
    }
    // Finite is not enough: 1e30 m/s or a start 1e30 m away flies nothing a model aircraft
    // does, and only turns the flight's numbers into infinities.
    const struct
    {
        bool given;
        float value;
        float limit;
        const char* what;
    } limits[] = {
        {hasSpeed, speed, kMaxSpeed, "--speed"},
        {hasWind, windSpeed, kMaxSpeed, "--wind speed"},
        {hasTurbulence, turbulence, kMaxTurbulence, "--turbulence"},
        {hasHeading, headingDeg, kMaxAngleDeg, "--heading"},
        {hasWind, windHeadingDeg, kMaxAngleDeg, "--wind heading"},
        {hasStart, start.x, kMaxDistance, "--start X"},
        {hasStart, start.y, kMaxDistance, "--start Y"},
        {hasStart, start.z, kMaxDistance, "--start Z"},
    };
    for (const auto& limit : limits)
        if (limit.given && !(std::fabs(limit.value) <= limit.limit))
            return outError = std::string(limit.what) + " must lie within +-" + FormatLimit(limit.limit), false;
    for (int c = 0; c < kChannelCount; ++c)
    {
        std::vector<TChannelDrive> drives = laterRamps[c];
        drives.push_back(channels[c]);
        for (const TChannelDrive& drive : drives)
            if (!(std::fabs(drive.from) <= kMaxChannel && std::fabs(drive.to) <= kMaxChannel))
                return outError = "V_CH" + std::to_string(c + 1) + " must lie within +-" + FormatLimit(kMaxChannel),
                       false;
    }
    if (model.empty() && airPoints.empty())
        return outError = "--model is required", false;
    if (dataDir.empty())
        return outError = "--data needs a folder", false;
    if (static_cast<double>(seconds) / frame > 1.0e8)
        return outError = "--seconds / --frame gives more than 1e8 frames", false;
    return true;
}

float CFdmOptions::ChannelAt(int index, float t) const
{
    if (index < 0 || index >= kChannelCount)
        return 0.0f;
    const TChannelDrive& drive = channels[index];
    switch (drive.kind)
    {
    case TChannelDrive::kSet:
        return drive.from;
    case TChannelDrive::kRamp:
    {
        // The latest ramp that has begun decides; before the first, its FROM.
        for (auto later = laterRamps[index].rbegin(); later != laterRamps[index].rend(); ++later)
            if (t > later->t0)
                return t >= later->t1 ? later->to
                                      : later->from + (later->to - later->from) * (t - later->t0) / (later->t1 - later->t0);
        if (t <= drive.t0)
            return drive.from;
        if (t >= drive.t1)
            return drive.to;
        return drive.from + (drive.to - drive.from) * (t - drive.t0) / (drive.t1 - drive.t0);
    }
    case TChannelDrive::kNone:
        break;
    }
    return 0.0f;
}

int CFdmOptions::FrameCount() const
{
    const double frames = std::floor(static_cast<double>(seconds) / frame + 0.5);
    return frames < 1.0 ? 1 : static_cast<int>(frames);
}
