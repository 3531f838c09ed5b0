#pragma once
// The sounds a model makes: one engine sound per engine part, and the crash and touch sounds of
// collisions. The sound system implements it; headless there is silence.

#include <memory>

#include "core/CVector3.h"

// One running engine sound, owned by the engine part that created it.
class IEngineSound
{
public:
    virtual ~IEngineSound() = default;
    // Propeller speed (rev/s), throttle (0 .. 1) and whether the engine runs; the sound starts
    // and stops with the engine and picks its voices and pitch from the speed.
    virtual void SetState(float revPerSecond, float throttle, bool running) = 0;
    // World position (m) and velocity (m/s) of the engine: distance, Doppler and panning.
    virtual void SetPosition(const CVector3& positionWorld, const CVector3& velocityWorld) = 0;
    // Once per frame after the two above: the sound takes the frame's state.
    virtual void Update() = 0;
};

class IModelSounds
{
public:
    virtual ~IModelSounds() = default;
    // A new engine sound, or null when none can be made (headless, sound off).
    virtual std::unique_ptr<IEngineSound> CreateEngineSound() = 0;
    // A hard impact (crash sounds) and a light one (touch), strength 0 .. 1, heard from the
    // body's world position (m) moving at its velocity (m/s).
    virtual void PlayCrash(float strength, const CVector3& positionWorld, const CVector3& velocityWorld) = 0;
    virtual void PlayTouch(float strength, const CVector3& positionWorld, const CVector3& velocityWorld) = 0;
};

class CNullModelSounds : public IModelSounds
{
public:
    std::unique_ptr<IEngineSound> CreateEngineSound() override { return nullptr; }
    void PlayCrash(float, const CVector3&, const CVector3&) override {}
    void PlayTouch(float, const CVector3&, const CVector3&) override {}
};
