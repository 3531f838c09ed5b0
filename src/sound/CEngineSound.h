#pragma once
// The sound of one engine: four looping voices cross-faded and pitched by the propeller's speed.
//
// Each voice is a recording of the engine at one speed; it plays at its natural 22050 Hz when
// the propeller turns at that speed, so its rate is n * 22050 / (recorded rev/s):
//   voice 0  Engine21_01680_13s_22m.wav   28 rev/s  (1680 rpm)
//   voice 1  Engine21_06780_1s_22m.wav   113 rev/s  (6780 rpm)
//   voice 2  Engine21_10140_2s_22m.wav   169 rev/s  (10140 rpm)
//   voice 3  the same file               1669 rev/s (reaches beyond any real propeller)
// The mixing table gives each voice's gain by rpm: voice 0 alone (0.1) up to 3280 rpm, handing
// over to voice 1 (0.7) by 3480, voice 1 to voice 2 (1.0) between 7800 and 8000, voice 2 to
// voice 3 between 40040 and 40240. The gains are scaled by the engine volume of the settings,
// or are 0 while the engine sound is switched off.
//
// Start sets the gains to 0 and starts all four voices looping; Stop stops them. The engine part
// drives it through IEngineSound: SetState starts and stops it with the engine, SetPosition
// places it, Update applies the frame's speed. Muted (the flight screen is not showing), the
// voices are stopped while the engine keeps its running state, and resume when unmuted.

#include "core/TTableData.h"
#include "model/IModelSounds.h"

class CPropertySet_Sound;
class CSoundList;

class CEngineSound : public IEngineSound
{
public:
    static constexpr int kVoiceCount = 4;
    static constexpr float kNaturalRate = 22050.0f; // Hz, of the recordings
    // 1 / recorded rev/s of each voice: its rate is n * kNaturalRate * this.
    static constexpr float kRateMultiplier[kVoiceCount] = {0.035714287f, 0.0088495575f, 0.00591716f, 0.0005991612f};

    // list, settings and muted belong to the sound system, which outlives every engine sound.
    CEngineSound(CSoundList& list, const CPropertySet_Sound& settings, const bool& muted);
    ~CEngineSound() override;

    // Loads the four voices and builds the mixing table.
    void Create();
    void Start();
    void Stop();
    void SetSpeed(float revPerSecond) { m_revPerSecond = revPerSecond; }
    void Destroy();

    void SetState(float revPerSecond, float throttle, bool running) override;
    void SetPosition(const CVector3& positionWorld, const CVector3& velocityWorld) override;
    void Update() override;

    bool IsPlaying() const { return m_playing; }
    int VoiceHandle(int voice) const { return m_voices[voice]; }
    // The mixing table's gains of the four voices at rpm.
    void MixGains(float rpm, float outGains[kVoiceCount]) const;

private:
    CSoundList& m_list;
    const CPropertySet_Sound& m_settings;
    const bool& m_muted;
    int m_voices[kVoiceCount] = {0, 0, 0, 0};
    TTableData m_mix; // rpm -> gains of voices 0 .. 3
    float m_revPerSecond = 0.0f;
    bool m_playing = false;      // the engine runs (the voices may still be muted)
    bool m_voicesSounding = false;
};
