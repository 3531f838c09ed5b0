#pragma once
// The radio transmitter on the serial interface box: the port (a number from COM_PORT or a
// device path from COM_DEVICE), the link, the firmware query that picks the channel resolution,
// and the calibration that turns channel counts into the nine values the input system offers as
// AXIS_RADIOCONTROL_CH1 .. CH9.
//
// Update, once per frame inside the input update:
//   1. a port that is closed (could not be opened, or went away) is tried again every second;
//      with a port number the device list is made again each time, so an adapter plugged in
//      later is found;
//   2. every second, while the interface is seen and its firmware is not known, the firmware
//      question (0x01) is sent;
//   3. the link receives what has arrived;
//   4. the counts of the last frame become values through the calibration; channels beyond
//      those received, and all of them while no transmitter is seen, read 0;
//   5. a firmware answer gives the version ("%i.%i" of the high and low four bits of its second
//      byte); version 1.0 (0x10) sends 9-bit channels, every other version 8-bit ones.
// While the interface is not seen the firmware version is forgotten, so it is asked again when
// the box returns (it may be another box).
//
// Nothing here waits: a missing device costs one failed open() a second.

#include <string>

#include "input/CSerialLink.h"
#include "input/CTxCalibration.h"
#include "input/IRadioInput.h"

class CRadioInterface : public IRadioInput
{
public:
    static constexpr int kChannelCount = CTxCalibration::kChannelCount;
    static constexpr double kQueryIntervalSeconds = 1.0;
    static constexpr double kRetrySeconds = 1.0;
    static constexpr uint8_t kQuestionFirmware = 0x01;
    static constexpr uint8_t kFirmware9Bit = 0x10; // version 1.0

    enum EQueryState
    {
        COMST_RECEIVING_CHANNEL_DATA = 0,
        COMST_QUERYING_FIRMWARE_VERSION = 1,
    };
    enum EStatus
    {
        STATUS_INTERFACE_NOT_DETECTED = 0,
        STATUS_TRANSMITTER_NOT_DETECTED = 1,
        STATUS_OK = 2,
    };

    // Reads the calibration at once (a missing file leaves the defaults). No port is open until
    // SetPort.
    explicit CRadioInterface(std::string calibrationPath);
    ~CRadioInterface() override = default;

    void Update(float frameTime) override;
    const float* GetChannelValue(int channel) const override;
    std::string GetStatusText() const override;

    // A device path, when not empty, wins over the number. Setting what is already set does
    // nothing; anything else closes the port, starts the link's recovery and opens the new one.
    void SetPort(int port, const std::string& devicePath = std::string());
    int GetPort() const { return m_port; }
    const std::string& GetDevicePathSetting() const { return m_devicePathSetting; }
    // The device the port stands for now ("" when the number names no device).
    std::string ResolveDevicePath() const;
    bool IsPortOpen() const { return m_link.Port().IsOpen(); }
    // The device last opened or tried, and why it is closed ("" while open).
    const std::string& GetOpenedPath() const { return m_link.Port().Path(); }
    std::string GetPortProblem() const;

    // The firmware question now, when the interface is seen, the version unknown and no query
    // is running (the radio menu asks without waiting for the interval).
    void QueryFirmwareNow();

    bool IsInterfaceDetected() const { return m_link.IsInterfaceDetected(); }
    bool IsRadioDetected() const { return m_link.IsRadioDetected(); }
    EStatus GetStatus() const;
    // The string-table id of the status line.
    static const char* StatusStringId(EStatus status);
    const std::string& GetFirmwareVersion() const { return m_firmwareVersion; }
    int GetQueryState() const { return m_queryState; }
    int GetNumChannels() const { return m_numChannels; }
    // The count of channel 1..9.
    int GetChannelCount(int channel) const;
    // The lowest and highest count of channel 1..9 among the frames of the last update: a stick
    // flicked to its end and back between two updates of a slow frame still shows.
    void GetChannelCountRange(int channel, int& low, int& high) const;
    // The stored calibration was made for the other resolution than the box now sends.
    bool NeedsRecalibration() const;

    CTxCalibration& Calibration() { return m_calibration; }
    const CTxCalibration& Calibration() const { return m_calibration; }
    // Back to the file (discarding measured counts); false when it could not be read.
    bool LoadCalibration();
    bool SaveCalibration() const;
    const std::string& CalibrationPath() const { return m_calibrationPath; }

    CSerialLink& Link() { return m_link; }
    // s: the sum of the frame times handed to Update.
    double Now() const { return m_now; }

private:
    bool TryOpen();
    void ConvertCounts();
    void HandleFirmwareAnswer();

    std::string m_calibrationPath;
    CSerialLink m_link;
    CTxCalibration m_calibration;
    int m_port = -1;
    std::string m_devicePathSetting; // COM_DEVICE
    bool m_portSet = false;
    double m_now = 0.0;
    double m_lastOpenAttempt = 0.0;  // s
    double m_nextQuery = kQueryIntervalSeconds; // s
    std::string m_reportedProblem;   // the last port problem written to the diagnostics
    std::string m_firmwareVersion;
    int m_queryState = COMST_RECEIVING_CHANNEL_DATA;
    int m_numChannels = 0;
    int m_channelCount[kChannelCount];
    float m_channelValue[kChannelCount] = {}; // -1..1, read through the axis pointers
};
