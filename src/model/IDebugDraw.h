#pragma once
// Where the flight model draws its debug geometry: part outlines, force and torque arrows, the
// mass points. Everything is in world coordinates and palette colours; the graphics implements
// it inside the scene pass, the headless run draws nothing.

#include <string>

#include "core/CVector3.h"

class IDebugDraw
{
public:
    virtual ~IDebugDraw() = default;
    virtual void Line(const CVector3& from, const CVector3& to, int colour) = 0; // world, m
    virtual void Point(const CVector3& at, int colour, float sizePixels) = 0;   // world, m
    virtual void Text(const CVector3& at, const std::string& text, int colour) = 0;
};

class CNullDebugDraw : public IDebugDraw
{
public:
    void Line(const CVector3&, const CVector3&, int) override {}
    void Point(const CVector3&, int, float) override {}
    void Text(const CVector3&, const std::string&, int) override {}
};
