#pragma once
// The radio transmitter menu: the serial port (a number, or a device path that wins over it),
// per channel the reverse and auto-centre switches and a live bar of the channel's value, the
// interface status and the firmware version, and the way to the calibration screen.
//
// Everything applies at once so the bars answer the switches while the pilot watches: the port
// is handed to the transmitter every frame (it reopens only on a change). OK writes
// TXCalibr.txt and keeps the port in the configuration; Cancel and Escape put back what was set
// on entry.

#include "app/CProcMenuEx.h"
#include "input/CRadioInterface.h"

class CCI_Button;
class CCI_CheckBox;
class CCI_ComboBox;
class CCI_EditString;
class CCI_StaticText;

class CProcMenuRadio : public CProcMenuEx
{
public:
    static constexpr int kPortChoices = 4; // "COM 1" .. "COM 4"
    static constexpr int kRowTop = 152;    // y of channel 1
    static constexpr int kRowSpacing = 28;
    static constexpr int kBarX = 645;
    static constexpr int kBarWidth = 100;

    CProcMenuRadio() : CProcMenuEx(PROC_MENU_CONTROLLER) {}
    bool Init(CProcessManager* manager) override;
    void Start() override;
    void End() override;
    void Update() override;

protected:
    void RenderExtra() override;

private:
    struct SSaved
    {
        bool reverse[CRadioInterface::kChannelCount] = {};
        bool autoCentre[CRadioInterface::kChannelCount] = {};
        int port = 1;
        std::string device;
    };

    static CRadioInterface* Radio();
    void ShowPortChoices();
    void Apply();
    void Restore();

    CCI_ComboBox* m_port = nullptr; // controls owned by the base
    CCI_EditString* m_device = nullptr;
    CCI_CheckBox* m_reverse[CRadioInterface::kChannelCount] = {};
    CCI_CheckBox* m_autoCentre[CRadioInterface::kChannelCount] = {};
    CCI_Button* m_ok = nullptr;
    CCI_Button* m_cancel = nullptr;
    CCI_Button* m_calibrate = nullptr;
    SSaved m_saved;
    double m_nextPortList = 0.0; // s: the port names are listed again now and then
};
