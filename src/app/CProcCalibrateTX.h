#pragma once
// The transmitter calibration screen: the four steps of CTxCalibrator with their texts, and
// while the ends are measured a table of each channel's count, min, centre and max. Return moves
// on, Escape leaves without keeping anything; the last Return saves TXCalibr.txt (and Config.txt
// when a joystick's calibration changed), and the finished step says whether that worked, naming
// the file that could not be written. When finished any key leaves (after a failed calibration Y
// starts again and N leaves), back to the radio menu.

#include <memory>
#include <string>

#include "app/CProcMenuEx.h"

class CJoystickCalibrator;
class CTxCalibrator;

class CProcCalibrateTX : public CProcMenuEx
{
public:
    CProcCalibrateTX();
    ~CProcCalibrateTX() override;

    bool Init(CProcessManager* manager) override;
    void Start() override;
    void End() override;
    int OnEvent(const CInputEvent& event) override;
    void Update() override;

protected:
    void RenderExtra() override;

private:
    std::unique_ptr<CTxCalibrator> m_calibrator; // null while no transmitter interface exists
    // The connected joystick's calibrator on that device's calibration, made when one is seen.
    void AttachJoystick();

    // A joystick (a USB transmitter) is measured in the same steps; its calibration lives in
    // the configuration, under the device's GUID and name, and is written with it.
    std::unique_ptr<CJoystickCalibrator> m_joystick;
};
