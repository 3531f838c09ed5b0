#pragma once
// Reads a WAV file into 16-bit mono samples at the file's own rate. SDL reads the RIFF/WAVE
// chunks (PCM of any width, IMA and MS ADPCM) and converts; stereo files are mixed down, since
// every sound of the program is placed by its own pan and position.

#include <cstdint>
#include <string>
#include <vector>

class CWavReader
{
public:
    // False, with one diagnostic line naming the file, when it is missing or not a WAV SDL reads.
    bool Load(const std::string& path);
    // sampleCount samples of silence, in place of a file.
    void SetSilence(int sampleCount, int sampleRate);

    const std::vector<int16_t>& Samples() const { return m_samples; }
    int SampleRate() const { return m_sampleRate; } // Hz
    const std::string& Path() const { return m_path; }

private:
    std::vector<int16_t> m_samples; // mono
    int m_sampleRate = 22050;       // Hz
    std::string m_path;
};
