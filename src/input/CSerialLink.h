#pragma once
// The framing and packet layer of the transmitter's interface box, above one serial port.
//
// The box streams channel frames: channel bytes 0x00..0xFD ended by 0xFF. In protocol mode 0
// ("Std8") every byte is one channel's count (0..253). In mode 1 ("Kestro512") the last byte
// before 0xFF carries one extra low bit for each other channel (the channel just before it
// takes bit 0, the one before bit 1, back to the first), giving counts (byte * 2) + bit.
// Between frames it sends packets: 0xFE 0x00 and ten bytes whose tenth is the sum of the first
// nine modulo 256. The program asks with a bare ten-byte question; the box echoes it as a packet
// and then sends the answer packet. A packet starting with 0x03 instead of the echo says that
// the box has reset itself.
//
// Receive runs once per frame, never waits, and reads everything that has arrived, so the sticks
// never lag behind the stream however slow the frame. A bad header byte, a bad checksum, an echo
// that is not the question or a question unanswered for 1 s starts a 0.2 s recovery in which
// every byte is dropped and the pending question is discarded. After a recovery, at creation and
// after a port change, bytes up to the next 0xFF are dropped as well: decoding the tail of a
// frame cut by an error would hand one channel's stick to another for a frame.
//
// Detection: each update with bytes makes the interface count as present for the next 10
// updates; each frame with channels does the same for the transmitter. Ten silent updates reset
// the link, provided they also span 0.1 s since the last byte (the last frame with channels for
// the transmitter): a box and its USB adapter deliver in bursts (a frame every 20 ms, an adapter's
// latency timer of 16 ms), and a program drawing a menu at hundreds of frames per second would
// otherwise lose the interface between every two bursts, and then drop every frame as the first
// one after a resynchronisation, so the sticks would freeze.
//
// Besides the last frame's counts, the link keeps each channel's lowest and highest count among
// the frames of the last update: at a low frame rate several frames arrive per update, and a
// stick flicked to its end and back between two updates must still reach the calibration.
//
// Time is handed in by the caller (s, any origin, never decreasing).

#include <cstddef>
#include <cstdint>
#include <string>

#include "input/CSerialPort.h"

class CSerialLink
{
public:
    static constexpr int kPacketSize = 10;
    static constexpr int kMaxChannels = 9;
    static constexpr int kDetectUpdates = 10;
    static constexpr double kDetectSeconds = 0.1;
    static constexpr double kRecoverySeconds = 0.2;
    static constexpr double kAnswerTimeoutSeconds = 1.0;
    static constexpr size_t kReadChunk = 100;
    // A backlog larger than this (a port left unread while the program was busy) is drained
    // over several frames.
    static constexpr size_t kMaxBytesPerUpdate = 4096;

    enum EProtocolMode : uint32_t
    {
        MODE_STD8 = 0,
        MODE_KESTRO512 = 1,
    };
    enum ECommStatus : uint32_t
    {
        COMM_PACKET_RECEIVED_OK = 0,
        COMM_PACKET_NOT_YET_RECEIVED = 1,
        COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED = 2,
    };
    enum EReceptionState : uint32_t
    {
        RECEIVING_CHANNEL_DATA = 0,
        RECEIVING_PACKET_HEADER = 1,
        RECEIVING_PACKET_BODY = 2,
        RECOVERING_FROM_ERROR = 3,
    };
    enum EReceivingQA : uint32_t
    {
        QUESTION = 0,
        ANSWER = 1,
    };

    CSerialPort& Port() { return m_port; }
    const CSerialPort& Port() const { return m_port; }

    // A change drops the frame being received: its bytes were sent in the other format.
    void SetProtocolMode(uint32_t mode);
    uint32_t GetProtocolMode() const { return m_protocolMode; }

    // Once per frame: everything the port has, then the end-of-update bookkeeping.
    void Receive(double now);
    // The same for bytes from elsewhere (the port read aside).
    void ReceiveBytes(const uint8_t* data, size_t size, double now);

    // Sends a question (checksum already in its tenth byte) when channel data is being
    // received; false (nothing sent) in any other reception state.
    bool SendQuestion(const uint8_t (&question)[kPacketSize], double now);
    // The status found. COMM_PACKET_RECEIVED_OK copies the answer out and consumes it; a
    // question waiting 1 s or more is given up (error recovery).
    uint32_t GetAnswer(uint8_t (&outAnswer)[kPacketSize], double now);

    // Before a port change: recovery, question discarded, resynchronise on the next frame.
    void StartRecovery(double now) { Error(now); }

    bool IsInterfaceDetected() const { return m_counterDetectInterfaceIsPluggedIn > 0; }
    bool IsRadioDetected() const { return m_counterDetectRadioIsOn > 0; }
    int GetNumRadioChannels() const { return m_numRadioChannels; }
    // The count of channel 0..8 in the last complete frame.
    uint32_t GetChannelCount(int channel) const;
    // The lowest and highest count of channel 0..8 among the frames of the last update and the
    // last frame before it.
    uint32_t GetChannelCountLow(int channel) const;
    uint32_t GetChannelCountHigh(int channel) const;
    uint32_t GetCommStatus() const { return m_commStatus; }
    uint32_t GetReceptionState() const { return m_receptionState; }
    uint32_t GetBytesRead() const { return m_bytesRead; }

    // Every field within its defined range (the fuzz target checks this after every input).
    bool IsConsistent() const;
    // The link's part of the transmitter status dump.
    std::string GetStatusText(double now) const;

    // The tenth byte of a packet.
    static uint8_t Checksum(const uint8_t* firstNine);

private:
    void BeginUpdate();
    void ReceiveByte(uint8_t byte, double now);
    void EndUpdate(double now);
    void DecodeFrame();
    void MergeExtraBits();
    void ProcessPacket(double now);
    void Error(double now);

    CSerialPort m_port;
    uint32_t m_protocolMode = MODE_STD8;
    uint32_t m_rawChannel[kMaxChannels + 1] = {};
    uint32_t m_channelValHiRes[kMaxChannels] = {};
    uint32_t m_channelLow[kMaxChannels] = {};  // over the last update's frames
    uint32_t m_channelHigh[kMaxChannels] = {};
    int m_nextChannelToReceive = 0;
    int m_numRadioChannels = 0;
    int m_counterDetectRadioIsOn = 0;
    int m_counterDetectInterfaceIsPluggedIn = 0;
    double m_lastByteTime = 0.0;         // s
    double m_lastChannelFrameTime = 0.0; // s
    uint32_t m_bytesRead = 0; // in the last update
    double m_timerPacket = 0.0;              // s: when the question was sent
    double m_timerRecoveringFromError = 0.0; // s: when the last error happened
    uint32_t m_commStatus = COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED;
    uint8_t m_packetReceived[kPacketSize] = {};
    uint8_t m_packetQuestionAsked[kPacketSize] = {};
    uint8_t m_packetQuestionReceived[kPacketSize] = {};
    uint8_t m_packetAnswer[kPacketSize] = {};
    uint32_t m_receivingQA = QUESTION;
    int m_nextPositionInPacket = -1;
    uint32_t m_receptionState = RECEIVING_CHANNEL_DATA;
    bool m_frameSynced = false; // a 0xFF has been seen since the last error
};
