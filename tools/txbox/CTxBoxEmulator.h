#pragma once
// An emulated transmitter interface box on a pseudo-terminal, for tests and for developers
// without the hardware. The program opens DevicePath() like a serial port; the emulator holds
// the master side and
//  - streams channel frames from the stick positions it is given, in either protocol mode
//    (8-bit: one byte per channel; 9-bit: the byte is count / 2 and a last byte carries the low
//    bits, the last channel in bit 0), each ended by 0xFF;
//  - answers a question packet with its echo and then the answer (firmware question 0x01: the
//    version byte in the answer's second byte);
//  - injects faults on request: a bad header, a bad checksum, a reset report, silence, and
//    questions left unanswered.
//
// The stick scale of the box: centre 128 (9-bit: 256), full throw +-100 counts (9-bit: +-200).
// It never waits: a frame that does not fit (nobody reading) is dropped, as on a real line.

#include <cstdint>
#include <string>
#include <vector>

class CTxBoxEmulator
{
public:
    static constexpr int kMaxChannels = 9;
    static constexpr int kPacketSize = 10;

    CTxBoxEmulator();
    ~CTxBoxEmulator();
    CTxBoxEmulator(const CTxBoxEmulator&) = delete;
    CTxBoxEmulator& operator=(const CTxBoxEmulator&) = delete;

    // Makes the pseudo-terminal (raw, no echo). False with the reason.
    bool Open(std::string& outProblem);
    // Closes both sides: the device vanishes under its reader.
    void Close();
    bool IsOpen() const { return m_master >= 0; }
    const std::string& DevicePath() const { return m_slavePath; }

    // 8 or 9 bits per channel.
    void SetBits(int bits) { m_nineBit = bits == 9; }
    bool IsNineBit() const { return m_nineBit; }
    void SetFirmware(uint8_t version) { m_firmware = version; }
    // Channels per frame, 0..9.
    void SetChannelCount(int count);
    int GetChannelCount() const { return m_channelCount; }
    // Channel 1..9: a stick position -1..1 on the box's scale, or a raw count.
    void SetStick(int channel, float position);
    void SetCount(int channel, int count);
    int GetCount(int channel) const;
    // The count a stick position gives in the current mode.
    int CountForStick(float position) const;
    // Whether questions get an echo and an answer.
    void SetAnswering(bool on) { m_answering = on; }

    // The frame of the current sticks, and a packet (0xFE 0x00 header, checksum last).
    std::vector<uint8_t> EncodeFrame() const;
    static std::vector<uint8_t> EncodePacket(const uint8_t (&firstNine)[kPacketSize - 1], bool badChecksum = false);

    bool SendFrame();
    bool SendBytes(const std::vector<uint8_t>& bytes);
    void InjectBadHeader();   // 0xFE followed by a byte that is no header
    void InjectBadChecksum(); // a packet whose checksum is off by one
    void InjectReset();       // the box's "I have reset" packet (0x03)

    // Reads what the program sent, waiting up to waitMs for it, and answers every complete
    // question. The number of questions answered.
    int Service(int waitMs = 0);
    int QuestionsReceived() const { return m_questionsReceived; }
    // Bytes written to the line since opening (dropped frames not counted).
    uint64_t BytesSent() const { return m_bytesSent; }

private:
    int m_master = -1;
    int m_slave = -1; // kept open so the line stays up between the program's opens
    std::string m_slavePath;
    bool m_nineBit = false;
    uint8_t m_firmware = 0x21;
    int m_channelCount = 8;
    int m_count[kMaxChannels];
    bool m_answering = true;
    std::vector<uint8_t> m_incoming;
    int m_questionsReceived = 0;
    uint64_t m_bytesSent = 0;
};
