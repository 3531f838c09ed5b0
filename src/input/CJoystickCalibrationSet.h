#pragma once
// The joysticks' axis calibrations, one per device (a USB transmitter, a gamepad), keyed by SDL's
// joystick GUID and name. The configuration stores them as
//   .JOYSTICK_CALIBRATION
//   {
//     .AXIS_JOYSTICK_X  low centre high       (X .. RZ, SL0, SL1: any device without its own)
//     .DEVICE
//     {
//       .GUID  "03000000..."
//       .NAME  "..."
//       .AXIS_JOYSTICK_X  low centre high     (and the other axes)
//     }
//   }
// The axes straight in the block are the form written before devices were told apart; they stay
// the calibration of every device that has none of its own, so an older file keeps working, and
// a program that knows only that form still reads it from a newer file.
//
// A device is found by GUID and name, then by GUID alone (SDL has renamed devices between
// versions), then by name alone (the same transmitter has another GUID over Bluetooth).

#include <memory>
#include <string>
#include <vector>

#include "input/CInputJoystick.h"

class CFile;
class CTokenFile;

class CJoystickCalibrationSet
{
public:
    static constexpr int kMaxDevices = 64; // read from a file: a file with more keeps the first ones
    static constexpr size_t kMaxGuid = 32;  // SDL's GUID as hexadecimal text
    static constexpr size_t kMaxName = 127;

    CJoystickCalibrationSet() { Clear(); }

    // No devices, and the shared calibration at the defaults.
    void Clear();

    // What the device reads (never null): its own calibration or else the shared one. A device
    // without GUID and name (none connected) reads the shared one.
    const SJoystickAxisCalibration* Find(const std::string& guid, const std::string& name) const;
    bool HasOwn(const std::string& guid, const std::string& name) const;
    // The device's own calibration, to measure into: made from what it read until now when it
    // has none. The entries stay where they are for the set's lifetime (until Clear or Read).
    SJoystickAxisCalibration* ForDevice(const std::string& guid, const std::string& name);
    // The calibration of devices without their own (CInputJoystick::kCalibratedCount entries).
    SJoystickAxisCalibration* Shared() { return m_shared; }
    int DeviceCount() const { return static_cast<int>(m_devices.size()); }

    // The contents of a JOYSTICK_CALIBRATION block. A travel of nothing, or a device block with
    // neither GUID nor name, is refused with a message naming the file and key.
    void Read(CTokenFile& block, const std::string& fileName);
    // The whole JOYSTICK_CALIBRATION block.
    void Write(CFile& file) const;

private:
    struct SDevice
    {
        std::string guid;
        std::string name;
        SJoystickAxisCalibration axes[CInputJoystick::kCalibratedCount];
    };

    const SDevice* Match(const std::string& guid, const std::string& name) const;

    SJoystickAxisCalibration m_shared[CInputJoystick::kCalibratedCount];
    std::vector<std::unique_ptr<SDevice>> m_devices; // by pointer: measured into while others are added
};
