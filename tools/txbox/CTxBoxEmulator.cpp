#include "CTxBoxEmulator.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace
{
constexpr uint8_t kFrameEnd = 0xFF;
constexpr uint8_t kPacketStart = 0xFE;
constexpr uint8_t kQuestionFirmware = 0x01;
constexpr uint8_t kResetReport = 0x03;
constexpr uint8_t kLargestChannelByte = 0xFD;

uint8_t Checksum(const uint8_t* firstNine)
{
    unsigned sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += firstNine[i];
    return static_cast<uint8_t>(sum & 0xFFu);
}
} // namespace

CTxBoxEmulator::CTxBoxEmulator()
{
    for (int& count : m_count)
        count = 128;
}

CTxBoxEmulator::~CTxBoxEmulator()
{
    Close();
}

bool CTxBoxEmulator::Open(std::string& outProblem)
{
    Close();
    termios raw{};
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    char name[128] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
    {
        outProblem = std::string("openpty: ") + std::strerror(errno);
        m_master = m_slave = -1;
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = name;
    m_incoming.clear();
    m_bytesSent = 0;
    return true;
}

void CTxBoxEmulator::Close()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

void CTxBoxEmulator::SetChannelCount(int count)
{
    m_channelCount = std::clamp(count, 0, kMaxChannels);
}

int CTxBoxEmulator::CountForStick(float position) const
{
    const float p = std::clamp(position, -1.0f, 1.0f);
    return m_nineBit ? 256 + static_cast<int>(std::lround(200.0f * p)) : 128 + static_cast<int>(std::lround(100.0f * p));
}

void CTxBoxEmulator::SetStick(int channel, float position)
{
    SetCount(channel, CountForStick(position));
}

void CTxBoxEmulator::SetCount(int channel, int count)
{
    if (channel >= 1 && channel <= kMaxChannels)
        m_count[channel - 1] = count;
}

int CTxBoxEmulator::GetCount(int channel) const
{
    return channel >= 1 && channel <= kMaxChannels ? m_count[channel - 1] : 0;
}

std::vector<uint8_t> CTxBoxEmulator::EncodeFrame() const
{
    std::vector<uint8_t> frame;
    const int n = m_channelCount;
    if (!m_nineBit)
    {
        for (int i = 0; i < n; ++i)
            frame.push_back(static_cast<uint8_t>(std::clamp(m_count[i], 0, int{kLargestChannelByte})));
    }
    else
    {
        unsigned extra = 0;
        for (int i = 0; i < n; ++i)
        {
            const int count = std::clamp(m_count[i], 0, 2 * kLargestChannelByte + 1);
            frame.push_back(static_cast<uint8_t>(count >> 1));
            const int bit = n - 1 - i;
            if (bit < 8)
                extra |= static_cast<unsigned>(count & 1) << bit;
        }
        // 0xFE and 0xFF are reserved for the framing: the box drops the lowest bits then.
        frame.push_back(static_cast<uint8_t>(std::min(extra, unsigned{kLargestChannelByte})));
    }
    frame.push_back(kFrameEnd);
    return frame;
}

std::vector<uint8_t> CTxBoxEmulator::EncodePacket(const uint8_t (&firstNine)[kPacketSize - 1], bool badChecksum)
{
    std::vector<uint8_t> packet;
    packet.reserve(2 + kPacketSize);
    packet.push_back(kPacketStart);
    packet.push_back(0x00);
    for (int i = 0; i < kPacketSize - 1; ++i)
        packet.push_back(firstNine[i]);
    packet.push_back(static_cast<uint8_t>(Checksum(firstNine) + (badChecksum ? 1 : 0)));
    return packet;
}

bool CTxBoxEmulator::SendBytes(const std::vector<uint8_t>& bytes)
{
    if (m_master < 0 || bytes.empty())
        return false;
    const ssize_t n = ::write(m_master, bytes.data(), bytes.size());
    if (n > 0)
        m_bytesSent += static_cast<uint64_t>(n);
    return n == static_cast<ssize_t>(bytes.size());
}

bool CTxBoxEmulator::SendFrame()
{
    return SendBytes(EncodeFrame());
}

void CTxBoxEmulator::InjectBadHeader()
{
    SendBytes({kPacketStart, 0x55});
}

void CTxBoxEmulator::InjectBadChecksum()
{
    const uint8_t body[9] = {0x02, 0x11, 0x22};
    SendBytes(EncodePacket(body, true));
}

void CTxBoxEmulator::InjectReset()
{
    const uint8_t body[9] = {kResetReport};
    SendBytes(EncodePacket(body));
}

int CTxBoxEmulator::Service(int waitMs)
{
    if (m_master < 0)
        return 0;
    pollfd check{m_master, POLLIN, 0};
    if (::poll(&check, 1, waitMs) > 0 && (check.revents & POLLIN) != 0)
    {
        uint8_t buffer[256];
        ssize_t n;
        while ((n = ::read(m_master, buffer, sizeof buffer)) > 0)
            m_incoming.insert(m_incoming.end(), buffer, buffer + n);
    }
    int answered = 0;
    while (m_incoming.size() >= static_cast<size_t>(kPacketSize))
    {
        uint8_t question[kPacketSize];
        std::copy(m_incoming.begin(), m_incoming.begin() + kPacketSize, question);
        if (Checksum(question) != question[kPacketSize - 1])
        {
            // Out of step: drop a byte and look again.
            m_incoming.erase(m_incoming.begin());
            continue;
        }
        m_incoming.erase(m_incoming.begin(), m_incoming.begin() + kPacketSize);
        ++m_questionsReceived;
        if (!m_answering)
            continue;
        uint8_t echo[9];
        std::copy(question, question + 9, echo);
        uint8_t answer[9] = {question[0]};
        if (question[0] == kQuestionFirmware)
            answer[1] = m_firmware;
        std::vector<uint8_t> reply = EncodePacket(echo);
        const std::vector<uint8_t> second = EncodePacket(answer);
        reply.insert(reply.end(), second.begin(), second.end());
        SendBytes(reply);
        ++answered;
    }
    return answered;
}
