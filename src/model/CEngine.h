#pragma once
// The abstract simulation engine of a model: something that advances by a frame time and can
// be reset. CEngineDynamic (the rigid body) is the one there is.

class CEngine
{
public:
    virtual ~CEngine() = default;
    // Zero state, no forces, caches cleared.
    virtual void ResetBody() = 0;
    // Advances the engine by the frame time (s).
    virtual void Update(float frameTime) = 0;
};
