#pragma once
// What the serial-link fuzz target does with one input, shared with the corpus replay test in
// tests/input. The input is a list of operations, each one byte followed by its data:
//   low two bits 0: receive the next (byte >> 2) bytes as one update, 20 ms later;
//                1: an update without bytes, (byte >> 2) * 10 ms later;
//                2: send the firmware question;
//                3: collect the answer; with bit 2 set, also switch the protocol to bit 3.
// After every operation every field of the link must be within its defined range.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "input/CSerialLink.h"

namespace fuzz
{
inline void SerialLink(const uint8_t* data, size_t size)
{
    CSerialLink link;
    double now = 0.0;
    size_t pos = 0;
    uint8_t question[CSerialLink::kPacketSize] = {0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};
    uint8_t answer[CSerialLink::kPacketSize] = {};
    while (pos < size)
    {
        const uint8_t op = data[pos++];
        switch (op & 3u)
        {
        case 0:
        {
            const size_t n = std::min<size_t>(op >> 2, size - pos);
            link.ReceiveBytes(data + pos, n, now);
            pos += n;
            now += 0.02;
            break;
        }
        case 1:
            now += 0.01 * (op >> 2);
            link.ReceiveBytes(nullptr, 0, now);
            break;
        case 2: link.SendQuestion(question, now); break;
        default:
            if (link.GetAnswer(answer, now) == CSerialLink::COMM_PACKET_RECEIVED_OK &&
                CSerialLink::Checksum(answer) != answer[CSerialLink::kPacketSize - 1])
                __builtin_trap();
            if ((op & 4u) != 0)
                link.SetProtocolMode((op >> 3) & 1u);
            break;
        }
        if (!link.IsConsistent())
            __builtin_trap();
        for (int channel = 0; channel < link.GetNumRadioChannels() && channel < CSerialLink::kMaxChannels; ++channel)
            if (link.GetChannelCount(channel) > 507u)
                __builtin_trap();
    }
    if (link.GetStatusText(now).empty())
        __builtin_trap();
}
} // namespace fuzz
