#pragma once
// Everything the program hears, behind one object the application creates at start-up: the sound
// list and its device, the interface and event sounds, the engine sounds of the models, and the
// settings of Output/Sound.txt.
//
// Interface and event sounds, loaded once from Data/Sound/ with their maximum volume:
//   ht_sw1.wav, ht_sw2.wav                0.1   toggle controls (on, off)
//   ht_pb1.wav, ht_pb2.wav                0.3   push buttons (press, release)
//   Pip1.wav, Pip4.wav, Pip5.wav          0.3   number edit and list steps, modal refusals
//   Crash1.wav, Crash2.wav, Crash3.wav    0.3   crashes (one of the three at random)
//   Touch1.wav                            0.3   wheel touchdown
// Crashes and touchdowns play at the model's position, so they fade with distance too.
//
// Without an audio device every call does nothing; the settings are still read and written, so
// the dialog works the same on a silent machine.

#include <memory>
#include <string>

#include "model/IModelSounds.h"
#include "sound/CPropertySet_Sound.h"
#include "sound/CSoundList.h"

class CSoundSystem : public IModelSounds
{
public:
    static constexpr const char* kFileName = "Sound.txt";
    enum class EDevice
    {
        kDefault,  // the system's default output
        kLoopback, // rendered into memory (CSoundList::Render), 44.1 kHz stereo
        kNone      // no device: silent, settings only
    };
    static constexpr int kLoopbackRate = 44100; // Hz

    CSoundSystem();
    ~CSoundSystem() override;

    // Opens the device, loads the interface sounds, reads (and writes back) Output/Sound.txt and
    // applies it. False when there is no device; the object still works, silently.
    bool Create(EDevice device = EDevice::kDefault);
    void Destroy();

    CSoundList& List() { return m_list; }
    const CSoundList& List() const { return m_list; }
    CPropertySet_Sound& Settings() { return m_settings; }

    // The settings' global volume and panning switch into the list.
    void ApplySettings();
    // Writes Output/Sound.txt (through a temporary file); false, the old file kept, on failure.
    bool SaveSettings();
    // The engine sound switch (the user command): toggled and applied.
    void ToggleEngineSound();

    // Plays the interface sound with this file name; names not in the table are ignored.
    void PlayInterfaceSound(const char* fileName);
    // The listener: position (m), velocity (m/s), forward and up, world frame.
    void SetListener(const CVector3& position, const CVector3& velocity, const CVector3& forward, const CVector3& up);
    // Engine sounds go quiet while the flight screen is away, and resume on its return.
    void SetEnginesMuted(bool muted) { m_enginesMuted = muted; }

    // The frame's sound step.
    void Update();
    std::string GetDiagnosticText() const { return m_list.GetDiagnosticText(); }

    // IModelSounds
    std::unique_ptr<IEngineSound> CreateEngineSound() override;
    void PlayCrash(float strength, const CVector3& position, const CVector3& velocity) override;
    void PlayTouch(float strength, const CVector3& position, const CVector3& velocity) override;

    // The handle of an interface sound by file name (0 when unknown), for tests.
    int InterfaceHandle(const char* fileName) const;

private:
    struct TInterfaceSound
    {
        const char* file;
        float volumeMax;
        int handle;
    };

    void PlayEvent(int handle, float strength, const CVector3& position, const CVector3& velocity);

    CSoundList m_list;
    CPropertySet_Sound m_settings;
    bool m_enginesMuted = false;
    TInterfaceSound m_sounds[12];
};
