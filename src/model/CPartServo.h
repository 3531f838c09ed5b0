#pragma once
// A servo: follows its variable at a limited speed. Each frame the position moves toward the
// variable's value by frameTime / SPEED (SPEED below 0.01 acts as 0.01), landing exactly on the
// target when closer than one step; without a variable it stays at 0. Wings and engines read
// the position. Its mass is a 4 cm cube at POSITION.

#include "model/CPartPhysic.h"
#include "model/CPropertySet_Servo.h"

class CVariable;

class CPartServo : public CPartPhysic
{
public:
    static constexpr float kMinSpeed = 0.01f; // s per unit; protects the division

    CPartServo();
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void UpdateFrame(float frameTime) override;
    const char* GetMarkerNode() const override { return "Servo.osg"; }
    // 4 bytes: the servo position as a 32-bit float.
    int SaveState(std::vector<unsigned char>& ioBytes) override;
    int LoadState(const unsigned char* bytes, int count) override;

    // The servo position, normally -1 .. 1 (whatever range the variable has).
    float GetServoPosition() const { return m_servoPosition; }

private:
    CPropertySet_Servo m_set;
    float m_servoPosition = 0.0f;
    CVariable* m_variable = nullptr; // not owned
};
