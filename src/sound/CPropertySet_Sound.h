#pragma once
// The sound settings the pilot edits in the sound dialog and Output/Sound.txt keeps: the master
// and engine volumes, the engine sound switch, and whether positioned sounds are placed left and
// right by the audio library (off: only the pan law applies).
//
// As with the wind settings, a store writes the properties one by one and each change would
// apply the half-stored set; the storing flag makes those intermediate applies no-ops.

#include "data/CPropertySet.h"

class CPropertySet_Sound : public CPropertySet
{
public:
    static constexpr float kDefaultVolume = 1.0f; // both volumes, 0 .. 1

    CPropertySet_Sound();

    bool ApplyProperties() override;
    void StoreProperties() override;
    void SetDefaults() override;

    float globalVolume = kDefaultVolume;  // VOLUME_GLOBAL, 0 .. 1
    float engineVolume = kDefaultVolume;  // VOLUME_ENGINE, 0 .. 1
    bool engineEnabled = true;            // ENABLE_ENGINE_SOUND
    bool positionalPanning = true;        // POSITIONAL_PANNING

private:
    bool m_storing = false;
};
