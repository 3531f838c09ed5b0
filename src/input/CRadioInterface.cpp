#include "input/CRadioInterface.h"

#include <cassert>
#include <utility>

#include "core/Diagnostics.h"
#include "input/SerialPortNames.h"

CRadioInterface::CRadioInterface(std::string calibrationPath) : m_calibrationPath(std::move(calibrationPath))
{
    for (int& count : m_channelCount)
        count = 128;
    LoadCalibration();
}

bool CRadioInterface::LoadCalibration()
{
    return m_calibration.Load(m_calibrationPath);
}

bool CRadioInterface::SaveCalibration() const
{
    return m_calibration.Save(m_calibrationPath);
}

std::string CRadioInterface::ResolveDevicePath() const
{
    if (!m_devicePathSetting.empty())
        return m_devicePathSetting;
    return SerialDeviceForPort(m_port, ListSerialDevices());
}

void CRadioInterface::SetPort(int port, const std::string& devicePath)
{
    if (m_portSet && port == m_port && devicePath == m_devicePathSetting)
        return;
    m_portSet = true;
    m_port = port;
    m_devicePathSetting = devicePath;
    m_link.StartRecovery(m_now);
    m_link.Port().Close();
    m_reportedProblem.clear();
    TryOpen();
}

bool CRadioInterface::TryOpen()
{
    m_lastOpenAttempt = m_now;
    const std::string path = ResolveDevicePath();
    CSerialPort& port = m_link.Port();
    if (path.empty())
    {
        port.Close();
        const std::string problem = StringPrintf("COM %i: no such serial port", m_port);
        if (problem != m_reportedProblem)
            DiagPrint("Radio interface: %s\n", problem.c_str());
        m_reportedProblem = problem;
        return false;
    }
    if (port.Open(path))
    {
        if (!m_reportedProblem.empty())
            DiagPrint("Radio interface: %s open\n", path.c_str());
        m_reportedProblem.clear();
        return true;
    }
    // Reported once per problem: the retry every second would fill the diagnostics.
    const std::string problem = path + ": " + port.Problem();
    if (problem != m_reportedProblem)
        DiagPrint("Radio interface: %s (tried again every second)\n", problem.c_str());
    m_reportedProblem = problem;
    return false;
}

std::string CRadioInterface::GetPortProblem() const
{
    if (IsPortOpen())
        return std::string();
    if (!m_portSet)
        return "no port set";
    return m_reportedProblem.empty() ? m_link.Port().Problem() : m_reportedProblem;
}

void CRadioInterface::Update(float frameTime)
{
    if (frameTime > 0.0f)
        m_now += frameTime;

    if (m_portSet && m_now - m_lastOpenAttempt >= kRetrySeconds)
    {
        if (!IsPortOpen())
            TryOpen();
        else if (!IsInterfaceDetected() && m_devicePathSetting.empty())
        {
            // An adapter plugged in since changes what the number stands for.
            m_lastOpenAttempt = m_now;
            if (ResolveDevicePath() != m_link.Port().Path())
            {
                m_link.StartRecovery(m_now);
                TryOpen();
            }
        }
    }

    if (m_now >= m_nextQuery)
    {
        m_nextQuery = m_now + kQueryIntervalSeconds;
        QueryFirmwareNow();
    }

    m_link.Receive(m_now);
    if (!IsInterfaceDetected())
        m_firmwareVersion.clear();

    m_numChannels = m_link.GetNumRadioChannels();
    for (int i = 0; i < kChannelCount && i < m_numChannels; ++i)
        m_channelCount[i] = static_cast<int>(m_link.GetChannelCount(i));
    ConvertCounts();

    if (m_queryState == COMST_QUERYING_FIRMWARE_VERSION)
        HandleFirmwareAnswer();
}

void CRadioInterface::QueryFirmwareNow()
{
    if (m_queryState != COMST_RECEIVING_CHANNEL_DATA || !m_firmwareVersion.empty() || !IsInterfaceDetected())
        return;
    uint8_t question[CSerialLink::kPacketSize] = {kQuestionFirmware};
    question[CSerialLink::kPacketSize - 1] = CSerialLink::Checksum(question);
    if (m_link.SendQuestion(question, m_now))
        m_queryState = COMST_QUERYING_FIRMWARE_VERSION;
}

void CRadioInterface::HandleFirmwareAnswer()
{
    uint8_t answer[CSerialLink::kPacketSize] = {};
    switch (m_link.GetAnswer(answer, m_now))
    {
    case CSerialLink::COMM_PACKET_RECEIVED_OK:
    {
        const uint8_t version = answer[1];
        m_firmwareVersion = StringPrintf("%i.%i", version >> 4, version & 0x0F);
        m_link.SetProtocolMode(version == kFirmware9Bit ? CSerialLink::MODE_KESTRO512 : CSerialLink::MODE_STD8);
        m_queryState = COMST_RECEIVING_CHANNEL_DATA;
        DiagPrint("Radio interface: firmware %s, %s channels\n", m_firmwareVersion.c_str(),
                  version == kFirmware9Bit ? "9-bit" : "8-bit");
        break;
    }
    case CSerialLink::COMM_PACKET_NOT_YET_RECEIVED:
        break;
    default:
        m_queryState = COMST_RECEIVING_CHANNEL_DATA; // asked again after the interval
        break;
    }
}

void CRadioInterface::ConvertCounts()
{
    // More than nine is no frame this box sends: treat it as none. Without a transmitter (or
    // without the box: an adapter pulled out) the last frame's sticks must not fly on.
    const int received = m_numChannels > kChannelCount || !IsRadioDetected() ? 0 : m_numChannels;
    for (int i = 0; i < kChannelCount; ++i)
        m_channelValue[i] = i < received ? CTxCalibration::CountToValue(m_channelCount[i], m_calibration.Channel(i + 1))
                                         : 0.0f;
}

const float* CRadioInterface::GetChannelValue(int channel) const
{
    assert(channel >= 0 && channel < kChannelCount);
    return &m_channelValue[channel];
}

int CRadioInterface::GetChannelCount(int channel) const
{
    assert(channel >= 1 && channel <= kChannelCount);
    return m_channelCount[channel - 1];
}

void CRadioInterface::GetChannelCountRange(int channel, int& low, int& high) const
{
    low = high = GetChannelCount(channel);
    if (channel <= m_numChannels)
    {
        low = static_cast<int>(m_link.GetChannelCountLow(channel - 1));
        high = static_cast<int>(m_link.GetChannelCountHigh(channel - 1));
    }
}

CRadioInterface::EStatus CRadioInterface::GetStatus() const
{
    if (!IsInterfaceDetected())
        return STATUS_INTERFACE_NOT_DETECTED;
    if (!IsRadioDetected())
        return STATUS_TRANSMITTER_NOT_DETECTED;
    return STATUS_OK;
}

const char* CRadioInterface::StatusStringId(EStatus status)
{
    switch (status)
    {
    case STATUS_INTERFACE_NOT_DETECTED: return "IDS_ERROR_INTERFACE_NOT_DETECTED";
    case STATUS_TRANSMITTER_NOT_DETECTED: return "IDS_ERROR_TRANSMITTER_NOT_DETECTED";
    default: return "IDS_INTERFACE_AND_TRANSMITTER_OK";
    }
}

bool CRadioInterface::NeedsRecalibration() const
{
    if (m_firmwareVersion.empty())
        return false;
    bool wide = false; // some channel calibrated beyond the 8-bit range
    for (int channel = 1; channel <= kChannelCount; ++channel)
        wide = wide || m_calibration.Channel(channel).maxCount > 254;
    return (m_link.GetProtocolMode() == CSerialLink::MODE_KESTRO512) != wide;
}

std::string CRadioInterface::GetStatusText() const
{
    std::string text = "InterfaceSerial:\n";
    text += m_link.GetStatusText(m_now);
    text += "\n\n";
    text += StringPrintf("ComPort = %i\n", m_port);
    if (!m_devicePathSetting.empty() || IsPortOpen())
        text += "ComDevice = " + (IsPortOpen() ? GetOpenedPath() : m_devicePathSetting) + "\n";
    if (!IsPortOpen())
        text += "PortProblem = " + GetPortProblem() + "\n";
    text += "FirmwareVersion = " + m_firmwareVersion + "\n";
    text += std::string("CommStatus = ") +
            (m_queryState == COMST_QUERYING_FIRMWARE_VERSION ? "COMST_QUERYING_FIRMWARE_VERSION"
                                                             : "COMST_RECEIVING_CHANNEL_DATA") +
            "\n";
    text += StringPrintf("CurrentNumberOfChannel = %i\n", m_numChannels);
    text += StringPrintf("NeedsRecalibration = %i\n", NeedsRecalibration() ? 1 : 0);
    text += "Channel             1       2       3       4       5       6       7       8       9\n";
    text += "Channel     ";
    for (float value : m_channelValue)
        text += StringPrintf(" %6.3f ", value);
    text += "\nChannelCount ";
    for (int count : m_channelCount)
        text += StringPrintf("  %3i   ", count);
    const char* labels[] = {"MinCount     ", "CentreCount  ", "MaxCount     ", "Reverse      "};
    for (int row = 0; row < 4; ++row)
    {
        text += std::string("\n") + labels[row];
        for (int channel = 1; channel <= kChannelCount; ++channel)
        {
            const STxChannelCalibration& c = m_calibration.Channel(channel);
            const int value = row == 0 ? c.minCount : row == 1 ? c.centreCount : row == 2 ? c.maxCount : (c.reverse ? 1 : 0);
            text += StringPrintf("  %3i   ", value);
        }
    }
    text += "\n";
    return text;
}
