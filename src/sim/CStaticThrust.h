#pragma once
// The static thrust of a model's engine, flown rather than estimated: a private copy of the
// model is held still in still air 100 m above flat ground, its throttle servo's variable is
// taken back and pushed to full through the engine's own start sequence, and the engine then
// spins up on its own sub-steps (at zero airspeed) until the propeller speed settles; the thrust
// is what the propeller gives there. Shared by kestro-fdm's report and the preflight check.

#include <string>

struct TStaticThrust
{
    bool evaluated = false;
    std::string reason;   // why not, when !evaluated
    float thrust = 0.0f;  // N
    float rpm = 0.0f;
    float seconds = 0.0f; // spin-up time until settled
};

class CStaticThrust
{
public:
    // Seconds the engine gets to settle, and what "settled" means.
    static constexpr float kMaxSpinUpSeconds = 30.0f;
    static constexpr float kSettledRevPerSecond = 1.0e-3f; // change per second of spin-up

    // Engine number engineIndex (0-based among the ENGINE_PROP parts) of Data/Model/<modelName>.
    static TStaticThrust Measure(const std::string& modelName, int engineIndex);
};
