#include "input/CSerialLink.h"

#include <algorithm>
#include <cstring>

#include "core/Diagnostics.h"

namespace
{
constexpr uint8_t kFrameEnd = 0xFF;
constexpr uint8_t kPacketStart = 0xFE;
constexpr uint8_t kPacketSecond = 0x00;
constexpr uint8_t kBoxResetPacket = 0x03;

const char* CommStatusName(uint32_t status)
{
    switch (status)
    {
    case CSerialLink::COMM_PACKET_RECEIVED_OK: return "COMM_PACKET_RECEIVED_OK";
    case CSerialLink::COMM_PACKET_NOT_YET_RECEIVED: return "COMM_PACKET_NOT_YET_RECEIVED";
    default: return "COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED";
    }
}

const char* ReceptionStateName(uint32_t state)
{
    switch (state)
    {
    case CSerialLink::RECEIVING_CHANNEL_DATA: return "RECEIVING_CHANNEL_DATA";
    case CSerialLink::RECEIVING_PACKET_HEADER: return "RECEIVING_PACKET_HEADER";
    case CSerialLink::RECEIVING_PACKET_BODY: return "RECEIVING_PACKET_BODY";
    default: return "RECOVERING_FROM_ERROR";
    }
}

std::string PacketText(const uint8_t* packet)
{
    return StringPrintf("[%X  %X %X %X %X  %X %X %X %X]\n", packet[0], packet[1], packet[2], packet[3], packet[4],
                        packet[5], packet[6], packet[7], packet[8]);
}
} // namespace

uint8_t CSerialLink::Checksum(const uint8_t* firstNine)
{
    unsigned sum = 0;
    for (int i = 0; i < kPacketSize - 1; ++i)
        sum += firstNine[i];
    return static_cast<uint8_t>(sum & 0xFFu);
}

uint32_t CSerialLink::GetChannelCount(int channel) const
{
    return channel >= 0 && channel < kMaxChannels ? m_channelValHiRes[channel] : 0u;
}

uint32_t CSerialLink::GetChannelCountLow(int channel) const
{
    return channel >= 0 && channel < kMaxChannels ? m_channelLow[channel] : 0u;
}

uint32_t CSerialLink::GetChannelCountHigh(int channel) const
{
    return channel >= 0 && channel < kMaxChannels ? m_channelHigh[channel] : 0u;
}

void CSerialLink::BeginUpdate()
{
    std::copy(std::begin(m_channelValHiRes), std::end(m_channelValHiRes), std::begin(m_channelLow));
    std::copy(std::begin(m_channelValHiRes), std::end(m_channelValHiRes), std::begin(m_channelHigh));
}

void CSerialLink::SetProtocolMode(uint32_t mode)
{
    const uint32_t wanted = mode == MODE_KESTRO512 ? MODE_KESTRO512 : MODE_STD8;
    if (wanted == m_protocolMode)
        return;
    m_protocolMode = wanted;
    m_nextChannelToReceive = 0;
    m_frameSynced = false;
}

void CSerialLink::Receive(double now)
{
    uint8_t buffer[kReadChunk];
    size_t total = 0;
    m_bytesRead = 0;
    BeginUpdate();
    while (total < kMaxBytesPerUpdate)
    {
        const int n = m_port.Read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (int i = 0; i < n; ++i)
            ReceiveByte(buffer[i], now);
        total += static_cast<size_t>(n);
    }
    m_bytesRead = static_cast<uint32_t>(total);
    EndUpdate(now);
}

void CSerialLink::ReceiveBytes(const uint8_t* data, size_t size, double now)
{
    BeginUpdate();
    for (size_t i = 0; i < size; ++i)
        ReceiveByte(data[i], now);
    m_bytesRead = static_cast<uint32_t>(size);
    EndUpdate(now);
}

void CSerialLink::ReceiveByte(uint8_t byte, double now)
{
    m_counterDetectInterfaceIsPluggedIn = kDetectUpdates;
    m_lastByteTime = now;
    switch (m_receptionState)
    {
    case RECEIVING_CHANNEL_DATA:
        if (byte == kPacketStart)
        {
            m_receptionState = RECEIVING_PACKET_HEADER;
            m_nextPositionInPacket = -1;
        }
        else if (byte == kFrameEnd)
        {
            if (m_frameSynced)
            {
                m_numRadioChannels = m_nextChannelToReceive;
                DecodeFrame();
                if (m_numRadioChannels != 0)
                {
                    m_counterDetectRadioIsOn = kDetectUpdates;
                    m_lastChannelFrameTime = now;
                }
            }
            m_nextChannelToReceive = 0;
            m_frameSynced = true;
        }
        else if (m_frameSynced)
        {
            const int limit = m_protocolMode == MODE_KESTRO512 ? kMaxChannels + 1 : kMaxChannels;
            if (m_nextChannelToReceive >= limit)
                m_nextChannelToReceive = 0;
            m_rawChannel[m_nextChannelToReceive++] = byte;
        }
        break;
    case RECEIVING_PACKET_HEADER:
        if (byte == kPacketSecond)
        {
            m_receptionState = RECEIVING_PACKET_BODY;
            m_nextPositionInPacket = 0;
        }
        else if (byte == kPacketStart)
            m_nextPositionInPacket = -1;
        else
            Error(now);
        break;
    case RECEIVING_PACKET_BODY:
        m_packetReceived[m_nextPositionInPacket++] = byte;
        if (m_nextPositionInPacket >= kPacketSize)
        {
            m_nextPositionInPacket = -1;
            m_receptionState = RECEIVING_CHANNEL_DATA;
            ProcessPacket(now);
        }
        break;
    default: // RECOVERING_FROM_ERROR: dropped
        break;
    }
}

void CSerialLink::EndUpdate(double now)
{
    if (m_receptionState == RECOVERING_FROM_ERROR && now - m_timerRecoveringFromError >= kRecoverySeconds)
        m_receptionState = RECEIVING_CHANNEL_DATA;
    // The tenth silent update counts only once the time has passed too (see the header).
    if (m_counterDetectInterfaceIsPluggedIn > 1)
        --m_counterDetectInterfaceIsPluggedIn;
    else if (m_counterDetectInterfaceIsPluggedIn == 1 && now - m_lastByteTime >= kDetectSeconds)
    {
        m_counterDetectInterfaceIsPluggedIn = 0;
        m_timerRecoveringFromError = now;
        m_receptionState = RECEIVING_CHANNEL_DATA;
        m_commStatus = COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED;
        m_receivingQA = QUESTION;
        m_nextPositionInPacket = -1;
        m_frameSynced = false;
    }
    if (m_counterDetectRadioIsOn > 1 || (m_counterDetectRadioIsOn == 1 && now - m_lastChannelFrameTime >= kDetectSeconds))
        --m_counterDetectRadioIsOn;
}

void CSerialLink::DecodeFrame()
{
    const int kept = std::min(m_numRadioChannels, kMaxChannels);
    for (int i = 0; i < kept; ++i)
        m_channelValHiRes[i] = m_rawChannel[i];
    if (m_protocolMode == MODE_KESTRO512 && m_numRadioChannels != 0)
        MergeExtraBits();
    for (int i = 0; i < std::min(m_numRadioChannels, kMaxChannels); ++i)
    {
        m_channelLow[i] = std::min(m_channelLow[i], m_channelValHiRes[i]);
        m_channelHigh[i] = std::max(m_channelHigh[i], m_channelValHiRes[i]);
    }
}

void CSerialLink::MergeExtraBits()
{
    // The last byte is the extra-bit byte: channel n-1 takes bit 0, channel 0 bit n-1 (a ninth
    // channel has no bit left and keeps a 0).
    m_numRadioChannels -= 1;
    const uint32_t extra = m_rawChannel[m_numRadioChannels];
    for (int i = 0; i < m_numRadioChannels; ++i)
    {
        const int bit = m_numRadioChannels - 1 - i;
        const uint32_t low = bit < 8 ? (extra >> bit) & 1u : 0u;
        m_channelValHiRes[i] = m_rawChannel[i] * 2u + low;
    }
}

void CSerialLink::ProcessPacket(double now)
{
    if (Checksum(m_packetReceived) != m_packetReceived[kPacketSize - 1])
    {
        Error(now);
        return;
    }
    if (m_receivingQA == ANSWER)
    {
        std::memcpy(m_packetAnswer, m_packetReceived, kPacketSize);
        m_receivingQA = QUESTION;
        m_commStatus = COMM_PACKET_RECEIVED_OK;
        return;
    }
    std::memcpy(m_packetQuestionReceived, m_packetReceived, kPacketSize);
    if (m_packetReceived[0] == kBoxResetPacket)
    {
        std::memcpy(m_packetAnswer, m_packetReceived, kPacketSize);
        m_receivingQA = QUESTION;
        m_commStatus = COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED;
        DiagPrint("CSerialLink: the interface reports a hardware reset\n");
    }
    else if (std::memcmp(m_packetReceived, m_packetQuestionAsked, kPacketSize) == 0)
        m_receivingQA = ANSWER;
    else
        Error(now);
}

void CSerialLink::Error(double now)
{
    m_timerRecoveringFromError = now;
    m_receptionState = RECOVERING_FROM_ERROR;
    m_commStatus = COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED;
    m_receivingQA = QUESTION;
    m_nextPositionInPacket = -1;
    m_nextChannelToReceive = 0;
    m_frameSynced = false;
}

bool CSerialLink::SendQuestion(const uint8_t (&question)[kPacketSize], double now)
{
    if (m_receptionState != RECEIVING_CHANNEL_DATA)
        return false;
    m_port.Write(question, kPacketSize);
    std::memcpy(m_packetQuestionAsked, question, kPacketSize);
    m_commStatus = COMM_PACKET_NOT_YET_RECEIVED;
    m_receivingQA = QUESTION;
    m_timerPacket = now;
    return true;
}

uint32_t CSerialLink::GetAnswer(uint8_t (&outAnswer)[kPacketSize], double now)
{
    const uint32_t status = m_commStatus;
    if (status == COMM_PACKET_RECEIVED_OK)
    {
        std::memcpy(outAnswer, m_packetAnswer, kPacketSize);
        m_commStatus = COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED;
    }
    else if (status == COMM_PACKET_NOT_YET_RECEIVED && now - m_timerPacket >= kAnswerTimeoutSeconds)
        Error(now);
    return status;
}

bool CSerialLink::IsConsistent() const
{
    const int limit = m_protocolMode == MODE_KESTRO512 ? kMaxChannels + 1 : kMaxChannels;
    if (m_protocolMode > MODE_KESTRO512 || m_receptionState > RECOVERING_FROM_ERROR ||
        m_commStatus > COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED || m_receivingQA > ANSWER)
        return false;
    if (m_nextChannelToReceive < 0 || m_nextChannelToReceive > limit)
        return false;
    if (m_numRadioChannels < 0 || m_numRadioChannels > kMaxChannels + 1)
        return false;
    if (m_counterDetectRadioIsOn < 0 || m_counterDetectRadioIsOn > kDetectUpdates ||
        m_counterDetectInterfaceIsPluggedIn < 0 || m_counterDetectInterfaceIsPluggedIn > kDetectUpdates)
        return false;
    const bool inBody = m_receptionState == RECEIVING_PACKET_BODY;
    if (inBody ? (m_nextPositionInPacket < 0 || m_nextPositionInPacket >= kPacketSize) : m_nextPositionInPacket != -1)
        return false;
    // Counts of either mode: a mode change keeps the last frame's.
    for (uint32_t count : m_channelValHiRes)
        if (count > 0xFDu * 2u + 1u)
            return false;
    return true;
}

std::string CSerialLink::GetStatusText(double now) const
{
    std::string text = m_protocolMode == MODE_KESTRO512 ? "Protocol = Kestro512\n" : "Protocol = Std8\n";
    text += "ChannelValHiRes[] = { ";
    for (uint32_t count : m_channelValHiRes)
        text += StringPrintf("%3.3X ", count);
    text += "}\n";
    text += StringPrintf("NextChannelToReceive = %i\n", m_nextChannelToReceive);
    text += StringPrintf("NumRadioChannels = %i\n", m_numRadioChannels);
    text += StringPrintf("BytesRead = %i\n", static_cast<int>(m_bytesRead));
    text += StringPrintf("NextPositionInPacket = %i\n", m_nextPositionInPacket);
    text += StringPrintf("CounterDetect_RadioIsOn = %i\n", m_counterDetectRadioIsOn);
    text += StringPrintf("CounterDetect_InterfaceIsPluggedIn = %i\n", m_counterDetectInterfaceIsPluggedIn);
    text += StringPrintf("TimerRecoveringFromError = %f\n", now - m_timerRecoveringFromError);
    text += StringPrintf("Timer_COMM_PACKET_NOT_YET_RECEIVED = %fs\n", now - m_timerPacket);
    text += "Packet_Received         = " + PacketText(m_packetReceived);
    text += "Packet_QuestionAsked    = " + PacketText(m_packetQuestionAsked);
    text += "Packet_QuestionReceived = " + PacketText(m_packetQuestionReceived);
    text += "Packet_Answer           = " + PacketText(m_packetAnswer);
    text += std::string("CommStatus = ") + CommStatusName(m_commStatus) + "\n";
    text += std::string("ReceptionState = ") + ReceptionStateName(m_receptionState) + "\n";
    text += std::string("ReceivingQA = ") + (m_receivingQA == ANSWER ? "ANSWER" : "QUESTION") + "\n";
    return text;
}
