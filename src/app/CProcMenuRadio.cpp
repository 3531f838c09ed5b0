#include "app/CProcMenuRadio.h"

#include "app/CConfig.h"
#include "app/CMainKestro.h"
#include "core/Diagnostics.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/gui/CCI_ComboBox.h"
#include "gfx/gui/CCI_EditString.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/draw2d/CFontList.h"
#include "input/CInput.h"
#include "input/SerialPortNames.h"

namespace
{
CCI_Button* MakeButton(CCI_Button* button, const char* shortId, const char* longId)
{
    button->SetText(Text(shortId));
    button->SetHelp(Text(shortId), Text(longId));
    return button;
}
} // namespace

CRadioInterface* CProcMenuRadio::Radio()
{
    CMainKestro* app = MainKestro();
    return app && app->Input() ? app->Input()->Radio() : nullptr;
}

bool CProcMenuRadio::Init(CProcessManager* manager)
{
    if (!CProcMenuEx::Init(manager))
        return false;
    AddControl<CCI_StaticText>(400, 15, Text("IDS_UC_MENU_RADIO_TX_S"), ST_TITLE);
    m_port = AddControl<CCI_ComboBox>(230, 70, 300, Text("IDS_SERIAL_PORT"));
    m_device = AddControl<CCI_EditString>(230, 98, 300, Text("IDS_SERIAL_DEVICE_S"));
    m_device->SetHelp(Text("IDS_SERIAL_DEVICE_S"), Text("IDS_SERIAL_DEVICE_L"));
    AddControl<CCI_StaticText>(415, 130, Text("IDS_REVERSE"), ST_HEADING);
    AddControl<CCI_StaticText>(510, 130, Text("IDS_AUTOCENTRE"), ST_HEADING);
    AddControl<CCI_StaticText>(kBarX, 130, Text("IDS_CHANNEL_POSITION"), ST_HEADING);
    for (int i = 0; i < CRadioInterface::kChannelCount; ++i)
    {
        const int y = kRowTop + i * kRowSpacing;
        AddControl<CCI_StaticText>(230, y, Text(StringPrintf("IDS_CHANNEL_%i", i + 1).c_str()));
        m_reverse[i] = AddControl<CCI_CheckBox>(430, y);
        m_reverse[i]->SetHelp(Text("IDS_CHANNEL_REVERSE_S"), Text("IDS_CHANNEL_REVERSE_L"));
        m_autoCentre[i] = AddControl<CCI_CheckBox>(525, y);
        m_autoCentre[i]->SetHelp(Text("IDS_CHANNEL_AUTOCENTRE_S"), Text("IDS_CHANNEL_AUTOCENTRE_L"));
    }
    m_calibrate = MakeButton(AddControl<CCI_Button>(230, 450, 150, 32, ""), "IDS_RXCAL_BUTTON_CALIBRATE_S",
                             "IDS_RXCAL_BUTTON_CALIBRATE_L");
    m_calibrate->SetTargetProcess(PROC_CALIBRATE_TX);
    m_ok = MakeButton(AddControl<CCI_Button>(600, 470, 150, 32, ""), "IDS_BUTTON_OK_S", "IDS_BUTTON_OK_L");
    m_ok->SetTargetProcess(PROC_MENU_CONTROLLER);
    m_cancel = MakeButton(AddControl<CCI_Button>(600, 518, 150, 32, ""), "IDS_BUTTON_CANCEL_S", "IDS_BUTTON_CANCEL_L");
    m_cancel->SetTargetProcess(PROC_MENU_CONTROLLER);
    return true;
}

void CProcMenuRadio::ShowPortChoices()
{
    // Each number with the device it stands for right now, so the pilot sees which adapter is
    // which.
    const std::vector<std::string> devices = ListSerialDevices();
    std::vector<std::string> items;
    for (int port = 1; port <= kPortChoices; ++port)
    {
        const std::string device = SerialDeviceForPort(port, devices);
        items.push_back(StringPrintf("COM %i", port) + (device.empty() ? std::string() : "  (" + device + ")"));
    }
    const int selected = m_port->Selected();
    m_port->SetItems(items);
    m_port->SetSelected(selected);
}

void CProcMenuRadio::Start()
{
    CProcMenuEx::Start();
    CRadioInterface* radio = Radio();
    if (!radio)
        return;
    for (int i = 0; i < CRadioInterface::kChannelCount; ++i)
    {
        const STxChannelCalibration& channel = radio->Calibration().Channel(i + 1);
        m_saved.reverse[i] = channel.reverse;
        m_saved.autoCentre[i] = channel.autoCentre;
        m_reverse[i]->SetChecked(channel.reverse);
        m_autoCentre[i]->SetChecked(channel.autoCentre);
    }
    m_saved.port = radio->GetPort();
    m_saved.device = radio->GetDevicePathSetting();
    ShowPortChoices();
    m_nextPortList = radio->Now() + 2.0;
    m_port->SetSelected(m_saved.port >= 1 && m_saved.port <= kPortChoices ? m_saved.port - 1 : 0);
    m_device->SetText(m_saved.device);
    m_ok->WasActivated();
    m_cancel->WasActivated();
    m_calibrate->WasActivated();
    radio->QueryFirmwareNow();
}

void CProcMenuRadio::Apply()
{
    CRadioInterface* radio = Radio();
    if (!radio)
        return;
    for (int i = 0; i < CRadioInterface::kChannelCount; ++i)
    {
        STxChannelCalibration& channel = radio->Calibration().Channel(i + 1);
        channel.reverse = m_reverse[i]->IsChecked();
        channel.autoCentre = m_autoCentre[i]->IsChecked();
    }
    // A path being typed is not tried on every key stroke.
    const std::string device = m_device->IsEditing() ? radio->GetDevicePathSetting() : m_device->GetText();
    radio->SetPort(m_port->Selected() + 1, device);
}

void CProcMenuRadio::Restore()
{
    CRadioInterface* radio = Radio();
    if (!radio)
        return;
    for (int i = 0; i < CRadioInterface::kChannelCount; ++i)
    {
        STxChannelCalibration& channel = radio->Calibration().Channel(i + 1);
        channel.reverse = m_saved.reverse[i];
        channel.autoCentre = m_saved.autoCentre[i];
    }
    radio->SetPort(m_saved.port, m_saved.device);
}

void CProcMenuRadio::Update()
{
    CProcMenuEx::Update();
    Apply();
    if (CRadioInterface* radio = Radio())
    {
        radio->QueryFirmwareNow();
        if (radio->Now() >= m_nextPortList && !m_port->IsOpen())
        {
            ShowPortChoices();
            m_nextPortList = radio->Now() + 2.0;
        }
    }
}

void CProcMenuRadio::End()
{
    const bool ok = m_ok->WasActivated();
    const bool calibrate = m_calibrate->WasActivated();
    m_cancel->WasActivated();
    CRadioInterface* radio = Radio();
    if (ok && radio)
    {
        Apply();
        // The reason went to the diagnostics; the pilot must not go flying on switches believed
        // kept.
        if (!radio->SaveCalibration())
            MainKestro()->ShowWarning("The transmitter settings could not be saved to " + radio->CalibrationPath() +
                                      "; the file keeps the previous ones.");
        if (CConfig* config = MainKestro()->Config())
        {
            config->SetComPort(radio->GetPort());
            config->SetComDevice(radio->GetDevicePathSetting());
        }
    }
    else if (!calibrate)
        Restore(); // Cancel, Escape, or a command that took the pilot elsewhere
    CProcMenuEx::End();
}

void CProcMenuRadio::RenderExtra()
{
    CRadioInterface* radio = Radio();
    if (!radio)
        return;
    CFontList& fonts = Fonts();
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    for (int i = 0; i < CRadioInterface::kChannelCount; ++i)
    {
        const int y = kRowTop + i * kRowSpacing;
        const float value = *radio->GetChannelValue(i);
        SetColor(20, 20, 28, 220);
        FillRect(kBarX, y, kBarWidth, 14, 10);
        // From the middle towards the value's side; the centre line shows where 0 is.
        const int half = kBarWidth / 2;
        const int length = static_cast<int>(value * static_cast<float>(half));
        SetColor(70, 255, 170, 255);
        if (length > 0)
            FillRect(kBarX + half, y + 2, length, 10);
        else if (length < 0)
            FillRect(kBarX + half + length, y + 2, -length, 10);
        SetColor(230, 230, 230, 255);
        DrawLine(static_cast<float>(kBarX + half), static_cast<float>(y), static_cast<float>(kBarX + half),
                 static_cast<float>(y + 14));
        if (i < radio->GetNumChannels())
            fonts.DrawText(fonts.f07x12S, kBarX + kBarWidth + 8, y + 1, StringPrintf("%3i", radio->GetChannelCount(i + 1)));
    }

    SetColor(70, 255, 170, 255);
    fonts.DrawText(fonts.f09x12, 50, 550, Text("ICS_RADIO_TRANSMITTER_STATUS"));
    const CRadioInterface::EStatus status = radio->GetStatus();
    std::string line = Text(CRadioInterface::StatusStringId(status));
    // Which device, so a pilot with several adapters sees which one is listened to.
    line += "  " + (radio->IsPortOpen() ? radio->GetOpenedPath() : radio->GetPortProblem());
    if (status == CRadioInterface::STATUS_OK)
        SetColor(230, 230, 230, 255);
    else
        SetColor(255, 190, 90, 255);
    fonts.DrawText(fonts.f07x12S, 50, 566, line);
    SetColor(230, 230, 230, 255);
    const std::string& version = radio->GetFirmwareVersion();
    std::string firmware = Text("IDS_FIRMWARE_VERSION") + " " + (version.empty() ? Text("IDS_FIRMWARE_UNKNOWN") : version);
    if (radio->NeedsRecalibration())
        firmware += "   " + Text("IDS_RADIO_NEEDS_RECALIBRATION");
    fonts.DrawText(fonts.f07x12S, 50, 582, firmware);
    SetTextAlign(oldAlign);
}
