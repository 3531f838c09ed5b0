#pragma once
// Fixtures of the ground-contact tests: a flat terrain stub whose height and normal a test sets
// (a tilted normal stands for a slope under the wheel), which counts the queries parts make
// through their own hints, and a model body of 2.7 kg (a .40 trainer) whose centre of mass
// sits on the body origin.

#include <memory>
#include <string>

#include "model/CEngineDynamic.h"
#include "model/IModelSounds.h"
#include "model/ITerrain.h"

namespace ground_test
{
class CFlatTerrain : public ITerrain
{
public:
    float GetTerrainHeight(float, float, TTerrainHint& ioHint, CVector3& outNormal) const override
    {
        if (&ioHint != bodyHint)
            ++partQueries;
        outNormal = normal;
        return height;
    }
    float GetGroundCeiling(float, float) const override { return height; }

    float height = 0.0f;
    CVector3 normal{0.0f, 1.0f, 0.0f};
    const TTerrainHint* bodyHint = nullptr; // queries through it are not counted
    mutable int partQueries = 0;
};

class CCountingSounds : public CNullModelSounds
{
public:
    // Keeps the state of the engine sound it hands out.
    class CEngineSound : public IEngineSound
    {
    public:
        explicit CEngineSound(CCountingSounds& owner) : m_owner(owner) {}
        void SetState(float, float, bool running) override { m_owner.running = running; }
        void SetPosition(const CVector3&, const CVector3&) override {}
        void Update() override {}

    private:
        CCountingSounds& m_owner;
    };
    std::unique_ptr<IEngineSound> CreateEngineSound() override { return std::make_unique<CEngineSound>(*this); }
    void PlayCrash(float strength, const CVector3&, const CVector3&) override
    {
        ++crashes;
        lastCrash = strength;
    }
    void PlayTouch(float, const CVector3&, const CVector3&) override { ++touches; }
    int crashes = 0;
    int touches = 0;
    float lastCrash = 0.0f;
    bool running = false; // the engine sound's
};

// 2.7 kg, centre of mass on the body origin, spread over a 1.2 m span and 0.8 m length.
inline const char* const kTrainerMass = ".GRAVITY G\n{\n}\n"
                                        ".BATTERY Centre\n{\n .MASS 1.0\n}\n"
                                        ".BATTERY Left\n{\n .MASS 0.5\n .POSITION -0.6 0 0\n}\n"
                                        ".BATTERY Right\n{\n .MASS 0.5\n .POSITION 0.6 0 0\n}\n"
                                        ".BATTERY Nose\n{\n .MASS 0.35\n .POSITION 0 0 -0.4\n}\n"
                                        ".BATTERY Tail\n{\n .MASS 0.35\n .POSITION 0 0 0.4\n}\n";
constexpr float kTrainerMassKg = 2.7f;
constexpr float kGravity = 9.81f;

inline void PlaceBody(CEngineDynamic& body, const CVector3& position, const CVector3& velocity = CVector3())
{
    CBodyState state;
    body.GetState(state);
    state.position = position;
    state.velocity = velocity;
    state.angularVelocity = CVector3();
    body.SetState(state);
}
} // namespace ground_test
