#pragma once
// Where and how a model is put down: position in the world frame (m), angles in degrees.

#include "core/CVector3.h"

struct CStartPose
{
    CVector3 position;
    float headingDeg = 0.0f;
    float pitchDeg = 0.0f;
    float rollDeg = 0.0f;
};
