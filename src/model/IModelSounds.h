#pragma once
// The sounds a model makes: one engine sound per engine part, and the crash and touch sounds of
// collisions. The sound system implements it; headless there is silence.

#include <memory>

// One running engine sound, owned by the engine part that created it.
class IEngineSound
{
public:
    virtual ~IEngineSound() = default;
    // Propeller speed (rev/s), throttle (0 .. 1) and whether the engine runs; the sound picks its
    // sample, pitch and volume from them.
    virtual void SetState(float revPerSecond, float throttle, bool running) = 0;
    // World position of the engine (m), for panning.
    virtual void SetPosition(float x, float y, float z) = 0;
};

class IModelSounds
{
public:
    virtual ~IModelSounds() = default;
    // A new engine sound, or null when none can be made (headless, sound off).
    virtual std::unique_ptr<IEngineSound> CreateEngineSound() = 0;
    // A hard impact (crash sounds) and a light one (touch), strength 0 .. 1.
    virtual void PlayCrash(float strength) = 0;
    virtual void PlayTouch(float strength) = 0;
};

class CNullModelSounds : public IModelSounds
{
public:
    std::unique_ptr<IEngineSound> CreateEngineSound() override { return nullptr; }
    void PlayCrash(float) override {}
    void PlayTouch(float) override {}
};
