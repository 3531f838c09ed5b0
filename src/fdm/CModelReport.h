#pragma once
// kestro-fdm --report: what a model is made of, measured on the loaded model rather than read
// from its file: mass, centre of mass and inertia as the body integrates them, every part with
// its key figures, and the static thrust of every engine.
//
// Static thrust is flown, not estimated: a second copy of the model is held still in still air
// 100 m above flat ground, its throttle servo's variable is taken back and pushed to full
// through the engine's own start sequence, and the engine then spins up on its own sub-steps
// (at zero airspeed) until the propeller speed settles; the thrust is what the propeller gives
// there.

#include <string>

class CModel;

class CModelReport
{
public:
    // Seconds the engine gets to settle, and what "settled" means.
    static constexpr float kMaxSpinUpSeconds = 30.0f;
    static constexpr float kSettledRevPerSecond = 1.0e-3f; // change per second of spin-up

    // The report of the model Data/Model/<modelName>, measured on copies of it so that the
    // flight itself starts untouched; the loader's message when it does not load.
    static std::string Build(const std::string& modelName);

    struct TStaticThrust
    {
        bool evaluated = false;
        std::string reason;   // why not, when !evaluated
        float thrust = 0.0f;  // N
        float rpm = 0.0f;
        float seconds = 0.0f; // spin-up time until settled
    };
    // The static thrust of engine number engineIndex (0-based among the ENGINE_PROP parts).
    static TStaticThrust MeasureStaticThrust(const std::string& modelName, int engineIndex);
};
