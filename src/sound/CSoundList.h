#pragma once
// The process-wide list of loaded sounds, addressed by handles (slot numbers 0 .. 199). Slot 0
// holds "Dummy.wav", loaded first: handle 0 is "no sound", what a failed load returns, and every
// call on it is harmless.
//
// The list owns the audio device. Init opens the system's default output; when there is none
// (a machine without audio), the list stays uninitialised, says so once in the diagnostic output,
// and every call does nothing (loads return 0): the program runs silent. InitLoopback renders
// into memory instead, for measuring what would be heard.
//
// Changes to a sound (volume, frequency, placement) are stored and applied once per frame by
// Update. The listener (world frame) is set every frame from the camera; SetPosition derives a
// sound's distance attenuation and Doppler factor from it (see SoundLaws.h).

#include <memory>
#include <string>
#include <vector>

#include "core/CVector3.h"

class CSound;
struct ALCdevice_struct; // OpenAL Soft's ALCdevice
struct ALCcontext_struct; // ALCcontext

class CSoundList
{
public:
    static constexpr int kSlotCount = 200;
    static constexpr const char* kDummyFile = "Dummy.wav";

    CSoundList();
    ~CSoundList();
    CSoundList(const CSoundList&) = delete;
    CSoundList& operator=(const CSoundList&) = delete;

    // Opens the default output device and loads the dummy sound. False (and silent from then
    // on) when there is no device.
    bool Init();
    // Opens a device that renders into memory (stereo float at sampleRate Hz), read by Render.
    bool InitLoopback(int sampleRate);
    // Mixes the next frameCount stereo frames (interleaved left, right) of a loopback device.
    void Render(float* outFrames, int frameCount);
    // Releases every sound and the device; the list is uninitialised again.
    void Shutdown();
    bool IsInitialised() const { return m_initialised; }
    // Why the last Init failed (empty when it did not).
    const std::string& FailureReason() const { return m_failure; }

    // Loads Data/Sound/<fileName> into the first free slot: its handle, or 0 when the file cannot
    // be read, all slots are taken or the list is uninitialised. voiceCount copies may sound at
    // once.
    int Load(const std::string& fileName, int voiceCount = 1);
    // Frees the slot (handle 0 is kept).
    void Release(int handle);

    void Play(int handle, bool loop);
    void Stop(int handle);
    bool IsPlaying(int handle) const;
    void SetVolume(int handle, float vol);
    void SetVolumeMax(int handle, float volMax);
    void SetFrequency(int handle, float hz);
    void SetPan(int handle, float pan);
    // Source position (m) and velocity (m/s), world frame: distance attenuation and Doppler.
    void SetPosition(int handle, const CVector3& position, const CVector3& velocity);
    // Listener position (m), velocity (m/s), and for positional panning its forward and up
    // directions, all world frame.
    void SetListener(const CVector3& position, const CVector3& velocity);
    void SetListenerOrientation(const CVector3& forward, const CVector3& up);
    // Marks every sound's level changed when the value differs from the current one.
    void SetGlobalVolume(float volume);
    float GetGlobalVolume() const { return m_globalVolume; }
    // Whether positioned sounds are placed left and right by the audio library.
    void SetPositionalPanning(bool on);
    bool GetPositionalPanning() const { return m_positionalPanning; }

    // Once per frame: applies the pending changes of every sound.
    void Update();

    // The sound-admin text: "Sound\n", then " Sound Not Initialized\n" or the global volume and
    // one line per loaded sound.
    std::string GetDiagnosticText() const;

    // Null for a free slot or an uninitialised list.
    const CSound* GetSound(int handle) const;
    int LoadedCount() const;

private:
    bool Open(ALCdevice_struct* device, const int* attributes);
    CSound* Find(int handle) const;

    ALCdevice_struct* m_device = nullptr;   // owned
    ALCcontext_struct* m_context = nullptr; // owned
    bool m_initialised = false;
    bool m_loopback = false;
    std::string m_failure;
    std::vector<std::unique_ptr<CSound>> m_slots; // kSlotCount, null when free
    float m_globalVolume = 1.0f;
    bool m_positionalPanning = true;
    CVector3 m_listenerPosition; // world, m
    CVector3 m_listenerVelocity; // world, m/s
};
