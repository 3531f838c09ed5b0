#pragma once
// A sound system rendering into memory over a data folder whose sounds are test tones, and the
// measurements a listener would make of what it renders: level, pitch, bursts.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sound/CSoundSystem.h"
#include "support/DataDir.h"

namespace sound_test
{
constexpr int kRate = CSoundSystem::kLoopbackRate; // Hz, of the rendered mix
constexpr double kPi = 3.14159265358979323846;

// A 16-bit mono WAV of a sine (amplitude 0.5 of full scale) at 22050 Hz.
inline void WriteTone(const std::string& path, double hz, double seconds)
{
    const int rate = 22050;
    const int n = static_cast<int>(seconds * rate);
    std::vector<int16_t> samples(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(16384.0 * std::sin(2.0 * kPi * hz * i / rate));
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const uint32_t bytes = static_cast<uint32_t>(n) * 2;
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

// Stereo frames, interleaved.
struct TMix
{
    std::vector<float> frames;
    int Count() const { return static_cast<int>(frames.size() / 2); }
    float At(int frame, int channel) const { return frames[static_cast<size_t>(2 * frame + channel)]; }
};

inline TMix Render(CSoundSystem& sounds, double seconds)
{
    TMix mix;
    mix.frames.resize(static_cast<size_t>(seconds * kRate) * 2);
    sounds.List().Render(mix.frames.data(), mix.Count());
    return mix;
}

// RMS of one channel (0 left, 1 right), skipping the first skip frames.
inline double Rms(const TMix& mix, int channel, int skip = 0)
{
    double sum = 0.0;
    for (int i = skip; i < mix.Count(); ++i)
        sum += mix.At(i, channel) * mix.At(i, channel);
    return mix.Count() > skip ? std::sqrt(sum / (mix.Count() - skip)) : 0.0;
}

inline double Db(double ratio)
{
    return 20.0 * std::log10(ratio);
}

// Amplitude of the component at hz in one channel (Goertzel over the whole mix).
inline double AmplitudeAt(const TMix& mix, int channel, double hz)
{
    const double w = 2.0 * kPi * hz / kRate;
    double s1 = 0.0, s2 = 0.0;
    for (int i = 0; i < mix.Count(); ++i)
    {
        const double s0 = mix.At(i, channel) + 2.0 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - 2.0 * std::cos(w) * s1 * s2;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / mix.Count();
}

// Frequency of a pure tone from its rising zero crossings (Hz).
inline double ToneFrequency(const TMix& mix, int channel)
{
    int first = -1, last = -1, crossings = 0;
    for (int i = 1; i < mix.Count(); ++i)
        if (mix.At(i - 1, channel) < 0.0f && mix.At(i, channel) >= 0.0f)
        {
            if (first < 0)
                first = i;
            last = i;
            ++crossings;
        }
    return crossings > 1 ? (crossings - 1) * static_cast<double>(kRate) / (last - first) : 0.0;
}

// A data folder with Data/Sound/ full of tones: the engine voices at 1000, 2000 and 3000 Hz, the
// crashes short bursts, the rest 441 Hz; and a sound system rendering into memory over it.
class CToneSounds
{
public:
    CToneSounds()
    {
        const std::filesystem::path sound = data.dir.Path() / "Data" / "Sound";
        std::filesystem::create_directories(sound);
        std::filesystem::create_directories(data.dir.Path() / "Output");
        const struct { const char* file; double hz; double seconds; } tones[] = {{"Dummy.wav", 0.0, 0.05},
                     {"Engine21_01680_13s_22m.wav", 1000.0, 1.0},
                     {"Engine21_06780_1s_22m.wav", 2000.0, 1.0},
                     {"Engine21_10140_2s_22m.wav", 3000.0, 1.0},
                     {"Crash1.wav", 441.0, 0.05},
                     {"Crash2.wav", 441.0, 0.05},
                     {"Crash3.wav", 441.0, 0.05},
                     {"Touch1.wav", 441.0, 0.05},
                     {"Tone441.wav", 441.0, 2.0}};
        for (const char* file : {"ht_sw1.wav", "ht_sw2.wav", "ht_pb1.wav", "ht_pb2.wav", "Pip1.wav", "Pip4.wav", "Pip5.wav"})
            WriteTone((sound / file).string(), 700.0, 0.05);
        for (const auto& tone : tones)
            WriteTone((sound / tone.file).string(), tone.hz, tone.seconds);
        created = sounds.Create(CSoundSystem::EDevice::kLoopback);
    }

    TempDataDir data;
    CSoundSystem sounds;
    bool created = false;
};
} // namespace sound_test
