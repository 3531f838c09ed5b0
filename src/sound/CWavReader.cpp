#include "sound/CWavReader.h"

#include <SDL.h>

#include <cstring>

#include "core/Diagnostics.h"

bool CWavReader::Load(const std::string& path)
{
    m_path = path;
    m_samples.clear();
    SDL_AudioSpec format;
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &format, &data, &length) == nullptr)
    {
        DiagPrint("%s: cannot be read as a WAV file (%s)\n", path.c_str(), SDL_GetError());
        return false;
    }
    SDL_AudioCVT convert;
    const int built = SDL_BuildAudioCVT(&convert, format.format, format.channels, format.freq, AUDIO_S16SYS, 1, format.freq);
    if (built < 0 || format.freq <= 0)
    {
        DiagPrint("%s: sample format not supported (%s)\n", path.c_str(), SDL_GetError());
        SDL_FreeWAV(data);
        return false;
    }
    std::vector<Uint8> work(static_cast<size_t>(length) * static_cast<size_t>(convert.len_mult));
    if (length > 0)
        std::memcpy(work.data(), data, length);
    SDL_FreeWAV(data);
    convert.buf = work.data();
    convert.len = static_cast<int>(length);
    if (built > 0 && SDL_ConvertAudio(&convert) != 0)
    {
        DiagPrint("%s: sample conversion failed (%s)\n", path.c_str(), SDL_GetError());
        return false;
    }
    const int bytes = built > 0 ? convert.len_cvt : static_cast<int>(length);
    m_samples.resize(static_cast<size_t>(bytes) / sizeof(int16_t));
    if (!m_samples.empty())
        std::memcpy(m_samples.data(), work.data(), m_samples.size() * sizeof(int16_t));
    m_sampleRate = format.freq;
    if (m_samples.empty())
        DiagPrint("%s: holds no samples\n", path.c_str());
    return !m_samples.empty();
}

void CWavReader::SetSilence(int sampleCount, int sampleRate)
{
    m_samples.assign(static_cast<size_t>(sampleCount > 0 ? sampleCount : 1), 0);
    m_sampleRate = sampleRate;
}
