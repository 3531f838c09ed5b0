#pragma once
// The transmitter's calibration: per channel 1..9 the counts at the low end, at rest and at the
// high end, and two switches (reverse; auto-centre: the stick has a middle), kept in
// Output/TXCalibr.txt. Turns a channel count into a value from -1 to 1:
//  - auto-centre: each half of the travel maps separately, (c - centre) / (centre - min) below
//    the centre and (c - centre) / (max - centre) above it, so rest gives 0;
//  - otherwise a linear sweep 2 (c - min) / (max - min) - 1 (throttle-type channels);
//  - reverse negates; the result is clamped to -1..1; a zero divisor gives 1 for a positive
//    numerator and -1 otherwise.
//
// TXCalibr.txt holds one block per channel, all nine always written:
//   .CH1
//   {
//     .MIN_COUNT  0
//     .MAX_COUNT  254
//     .CENTER_COUNT  128
//     .REVERSE  0
//     .AUTOCENTRE  1
//   }
// It is replaced through a temporary file and a rename, so a crash while saving leaves the old
// calibration.

#include <string>

struct STxChannelCalibration
{
    int minCount = 0;      // count at the low end
    int centreCount = 128; // count at rest
    int maxCount = 254;    // count at the high end
    bool reverse = false;
    bool autoCentre = true;
};

class CTxCalibration
{
public:
    static constexpr int kChannelCount = 9;
    static constexpr const char* kFileName = "TXCalibr.txt";

    // Channel 1..9.
    STxChannelCalibration& Channel(int channel);
    const STxChannelCalibration& Channel(int channel) const;

    // Every channel's counts back to 0, 128, 254 (the switches stay).
    void ResetCounts();
    // Counts reset, then every CHn block found in the file sets its channel (absent keys read
    // 0 or false). A missing file leaves the defaults and is no error; an unreadable one is
    // reported. False when the file could not be read.
    bool Load(const std::string& path);
    // The whole file as text, CR LF line ends.
    std::string FormatText() const;
    // False (old file kept) when anything failed, reported with the path.
    bool Save(const std::string& path) const;

    // The value of count c on a channel, -1..1.
    static float CountToValue(int count, const STxChannelCalibration& calibration);

private:
    STxChannelCalibration m_channels[kChannelCount];
};
