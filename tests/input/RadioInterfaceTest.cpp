// The transmitter interface against the emulated interface box on a pseudo-terminal: frames in
// both protocols, the firmware question, errors and their recovery, detection, the port.

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "CTxBoxEmulator.h"
#include "input/CJoystickCalibrationSet.h"
#include "input/CJoystickCalibrator.h"
#include "input/CRadioInterface.h"
#include "input/CTxCalibrator.h"
#include "input/SerialPortNames.h"
#include "support/DiagCapture.h"
#include "support/TempDir.h"

namespace
{
constexpr float kFrameTime = 0.02f; // s

// The box and the program side by side; every step waits until what the box sent has arrived,
// so the link's (frame-time) clock alone decides the outcome.
class CRig
{
public:
    CRig() : radio((dir.Path() / "TXCalibr.txt").string())
    {
        std::string problem;
        EXPECT_TRUE(box.Open(problem)) << problem;
        radio.SetPort(1, box.DevicePath());
        Frames(15); // 0.3 s: the opening recovery is over and the link in step with the frames
    }

    void WaitArrived()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (radio.Link().Port().IsOpen() &&
               static_cast<uint64_t>(radio.Link().Port().BytesAvailable()) + received < box.BytesSent() &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }

    // One program frame: what the box sent arrives, the radio updates, the box answers.
    void Step(float frameTime = kFrameTime)
    {
        WaitArrived();
        const bool wasAsking = radio.GetQueryState() == CRadioInterface::COMST_QUERYING_FIRMWARE_VERSION;
        radio.Update(frameTime);
        received += radio.Link().GetBytesRead();
        const bool justAsked = !wasAsking && radio.GetQueryState() == CRadioInterface::COMST_QUERYING_FIRMWARE_VERSION;
        box.Service(justAsked ? 500 : 0); // a question just sent is read before the next frame
    }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            box.SendFrame();
            Step();
        }
    }

    // Streams until the firmware is known (at most 3 s of frames).
    bool WaitFirmware()
    {
        for (int i = 0; i < 150 && radio.GetFirmwareVersion().empty(); ++i)
            Frames(1);
        return !radio.GetFirmwareVersion().empty();
    }

    CDiagCapture quiet; // firmware lines and the like
    TempDir dir;
    CTxBoxEmulator box;
    CRadioInterface radio;
    uint64_t received = 0;
};
} // namespace

TEST(RadioInterface, ChannelFramesInBothProtocols)
{
    struct SCase
    {
        int bits;
        int channels;
        uint8_t firmware;
        const char* version;
    };
    const SCase cases[] = {
        {8, 8, 0x21, "2.1"}, // channel 9 reads 0
        {8, 9, 0x21, "2.1"},
        {9, 8, 0x10, "1.0"}, // channel 8 takes bit 0 of the ninth byte, channel 1 bit 7
        {9, 9, 0x10, "1.0"}, // nine channels: the first has no low bit left
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.channels << " channels");
        CRig rig;
        rig.box.SetBits(c.bits);
        rig.box.SetChannelCount(c.channels);
        rig.box.SetFirmware(c.firmware);
        ASSERT_TRUE(rig.WaitFirmware());
        EXPECT_EQ(rig.radio.GetFirmwareVersion(), c.version);
        EXPECT_EQ(rig.radio.Link().GetProtocolMode(),
                  c.bits == 9 ? CSerialLink::MODE_KESTRO512 : CSerialLink::MODE_STD8);
        EXPECT_EQ(rig.radio.NeedsRecalibration(), c.bits == 9); // the default calibration is 8-bit

        // Odd and even counts in turn, so every channel's low bit is checked; the extra-bit byte
        // stays below the framing bytes.
        const int base = c.bits == 9 ? 301 : 31;
        for (int channel = 1; channel <= 9; ++channel)
            rig.box.SetCount(channel, base + 20 * channel + (channel % 2));
        rig.Frames(2);
        EXPECT_EQ(rig.radio.GetNumChannels(), c.channels);
        for (int channel = 1; channel <= c.channels; ++channel)
        {
            int expected = rig.box.GetCount(channel);
            if (c.bits == 9 && c.channels == 9 && channel == 1)
                expected &= ~1;
            EXPECT_EQ(rig.radio.GetChannelCount(channel), expected) << "channel " << channel;
        }
        EXPECT_TRUE(c.channels == 9 || *rig.radio.GetChannelValue(8) == 0.0f);
    }
}

TEST(RadioInterface, BadPacketsStartARecoveryOfAFifthOfASecond)
{
    enum EFault { HEADER, CHECKSUM, ECHO_NOT_THE_QUESTION };
    for (EFault fault : {HEADER, CHECKSUM, ECHO_NOT_THE_QUESTION})
    {
        SCOPED_TRACE(fault);
        CRig rig;
        rig.box.SetStick(1, -1.0f);
        rig.Frames(3);
        ASSERT_EQ(rig.radio.GetChannelCount(1), 28);
        if (fault == HEADER)
            rig.box.InjectBadHeader();
        else if (fault == CHECKSUM)
            rig.box.InjectBadChecksum();
        else
        {
            const uint8_t stranger[9] = {0x07, 0x01};
            rig.box.SendBytes(CTxBoxEmulator::EncodePacket(stranger));
        }
        rig.box.SetStick(1, 1.0f);
        rig.Frames(1);
        EXPECT_EQ(rig.radio.Link().GetReceptionState(), CSerialLink::RECOVERING_FROM_ERROR);
        rig.Frames(8); // 0.18 s: still dropping
        EXPECT_EQ(rig.radio.GetChannelCount(1), 28);
        rig.Frames(5); // the recovery ends at 0.2 s, one frame resynchronises, the next counts
        EXPECT_EQ(rig.radio.GetChannelCount(1), 228);
    }
}

TEST(RadioInterface, AFrameCutByAnErrorIsNotDecodedShifted)
{
    CRig rig;
    for (int channel = 1; channel <= 8; ++channel)
        rig.box.SetCount(channel, 10 * channel);
    rig.Frames(2);
    // The line garbles the middle of a frame: a bad header, then the frame's tail.
    const std::vector<uint8_t> frame = rig.box.EncodeFrame();
    rig.box.SendBytes({frame[0], frame[1], 0xFE, 0x42});
    rig.Step(0.25f);
    rig.box.SendBytes(std::vector<uint8_t>(frame.begin() + 2, frame.end()));
    rig.Step();
    for (int channel = 1; channel <= 8; ++channel)
        EXPECT_EQ(rig.radio.GetChannelCount(channel), 10 * channel);
    rig.Frames(1);
    EXPECT_EQ(rig.radio.GetNumChannels(), 8);
}

TEST(RadioInterface, UnansweredQuestionIsGivenUpAfterOneSecondAndAskedAgain)
{
    CRig rig;
    rig.box.SetAnswering(false);
    rig.Frames(40); // 1.1 s: the question went out at the first full second
    ASSERT_EQ(rig.box.QuestionsReceived(), 1);
    ASSERT_EQ(rig.radio.GetQueryState(), CRadioInterface::COMST_QUERYING_FIRMWARE_VERSION);
    rig.Frames(40);
    EXPECT_EQ(rig.radio.GetQueryState(), CRadioInterface::COMST_QUERYING_FIRMWARE_VERSION);
    rig.Frames(10);
    EXPECT_EQ(rig.radio.GetQueryState(), CRadioInterface::COMST_RECEIVING_CHANNEL_DATA);
    EXPECT_EQ(rig.radio.Link().GetCommStatus(), CSerialLink::COMM_COMMUNICATION_ERROR__ANSWER_PACKET_DISCARDED);
    rig.box.SetAnswering(true);
    EXPECT_TRUE(rig.WaitFirmware());
    EXPECT_EQ(rig.radio.GetFirmwareVersion(), "2.1");
}

TEST(RadioInterface, ResetReportDiscardsThePendingQuestion)
{
    CRig rig;
    rig.box.SetAnswering(false);
    rig.Frames(40);
    ASSERT_EQ(rig.radio.GetQueryState(), CRadioInterface::COMST_QUERYING_FIRMWARE_VERSION);
    CDiagCapture diag;
    rig.box.InjectReset();
    rig.Frames(1);
    EXPECT_TRUE(diag.Contains("hardware reset"));
    EXPECT_EQ(rig.radio.GetQueryState(), CRadioInterface::COMST_RECEIVING_CHANNEL_DATA);
    EXPECT_TRUE(rig.radio.GetFirmwareVersion().empty());
}

TEST(RadioInterface, SilenceForTenUpdatesLosesTheInterface)
{
    CRig rig;
    ASSERT_TRUE(rig.WaitFirmware());
    rig.box.SetChannelCount(0); // frames without channels: the box is there, the transmitter is not
    rig.Frames(8);
    EXPECT_TRUE(rig.radio.IsRadioDetected());
    rig.Frames(1);
    EXPECT_EQ(rig.radio.GetStatus(), CRadioInterface::STATUS_TRANSMITTER_NOT_DETECTED);
    EXPECT_EQ(*rig.radio.GetChannelValue(0), 0.0f);
    for (int i = 0; i < 8; ++i)
        rig.Step();
    EXPECT_TRUE(rig.radio.IsInterfaceDetected());
    rig.Step(); // the tenth update since the last byte
    EXPECT_EQ(rig.radio.GetStatus(), CRadioInterface::STATUS_INTERFACE_NOT_DETECTED);
    EXPECT_TRUE(rig.radio.GetFirmwareVersion().empty()); // asked again when the box returns
}

TEST(RadioInterface, SamePortTwiceIsNotReopened)
{
    CRig rig;
    rig.Frames(3);
    ASSERT_EQ(rig.radio.Link().GetReceptionState(), CSerialLink::RECEIVING_CHANNEL_DATA);
    rig.radio.SetPort(1, rig.box.DevicePath());
    EXPECT_EQ(rig.radio.Link().GetReceptionState(), CSerialLink::RECEIVING_CHANNEL_DATA);
    rig.radio.SetPort(2, rig.box.DevicePath()); // another setting: closed, recovered, reopened
    EXPECT_EQ(rig.radio.Link().GetReceptionState(), CSerialLink::RECOVERING_FROM_ERROR);
    EXPECT_TRUE(rig.radio.IsPortOpen());
}

TEST(RadioInterface, DeviceClosedUnderTheReaderIsReportedAndReopened)
{
    CRig rig;
    const std::string link = (rig.dir.Path() / "txbox").string();
    std::filesystem::create_symlink(rig.box.DevicePath(), link);
    rig.radio.SetPort(1, link);
    rig.box.SetCount(1, 228); // the stick held over when the adapter is pulled out
    rig.Frames(15);
    ASSERT_TRUE(rig.radio.IsInterfaceDetected());
    ASSERT_GT(*rig.radio.GetChannelValue(0), 0.5f);

    CDiagCapture diag;
    rig.box.Close();
    for (int i = 0; i < 20; ++i)
        rig.radio.Update(kFrameTime);
    EXPECT_FALSE(rig.radio.IsPortOpen());
    EXPECT_TRUE(diag.Contains("lost"));
    EXPECT_EQ(rig.radio.GetStatus(), CRadioInterface::STATUS_INTERFACE_NOT_DETECTED);
    EXPECT_FALSE(rig.radio.GetPortProblem().empty());
    EXPECT_EQ(*rig.radio.GetChannelValue(0), 0.0f) << "the last stick position is not flown on";

    // The box comes back on another pseudo-terminal behind the same name.
    std::string problem;
    ASSERT_TRUE(rig.box.Open(problem)) << problem;
    std::filesystem::remove(link);
    std::filesystem::create_symlink(rig.box.DevicePath(), link);
    for (int i = 0; i < 60 && !rig.radio.IsPortOpen(); ++i)
        rig.radio.Update(kFrameTime); // retried once a second
    ASSERT_TRUE(rig.radio.IsPortOpen());
    rig.received = rig.box.BytesSent();
    rig.Frames(15);
    EXPECT_TRUE(rig.radio.IsRadioDetected());
}

TEST(RadioInterface, MissingDeviceIsTriedOncePerSecondAndReportedOnce)
{
    TempDir dir;
    CDiagCapture diag;
    CRadioInterface radio((dir.Path() / "TXCalibr.txt").string());
    radio.SetPort(1, (dir.Path() / "no-such-tty").string());
    for (int i = 0; i < 150; ++i)
        radio.Update(kFrameTime);
    EXPECT_FALSE(radio.IsPortOpen());
    EXPECT_EQ(diag.Count("no-such-tty"), 1);
    EXPECT_NE(radio.GetPortProblem().find("No such file"), std::string::npos);
    EXPECT_EQ(radio.GetStatus(), CRadioInterface::STATUS_INTERFACE_NOT_DETECTED);
    EXPECT_NE(radio.GetStatusText().find("PortProblem"), std::string::npos);
}

TEST(SerialPortNames, UsbAdaptersFirstThenBuiltInPortsInNumericOrder)
{
    TempDir dev;
    for (const char* name : {"ttyS0", "ttyS10", "ttyS2", "ttyUSB1", "ttyUSB0", "ttyACM0", "ttySX", "tty0", "ttyUSB"})
        dev.Write(name, "");
    const std::vector<std::string> devices = ListSerialDevices(dev.Path().string());
    const std::string d = dev.Path().string() + "/";
    EXPECT_EQ(devices, (std::vector<std::string>{d + "ttyUSB0", d + "ttyUSB1", d + "ttyACM0", d + "ttyS0",
                                                 d + "ttyS2", d + "ttyS10"}));
    EXPECT_EQ(SerialDeviceForPort(1, devices), d + "ttyUSB0");
    EXPECT_EQ(SerialDeviceForPort(4, devices), d + "ttyS0");
    EXPECT_EQ(SerialDeviceForPort(0, devices), "");
    EXPECT_EQ(SerialDeviceForPort(7, devices), "");
}

TEST(RadioInterface, CalibrationWalkThroughAndCancel)
{
    // A USB transmitter (joystick) is measured alongside; its calibration goes to the
    // configuration through the store.
    enum EEnd
    {
        FINISHED,
        CANCELLED,
        TXCALIBR_NOT_WRITABLE,
        CONFIG_NOT_WRITABLE,
    };
    for (EEnd end : {FINISHED, CANCELLED, TXCALIBR_NOT_WRITABLE, CONFIG_NOT_WRITABLE})
    {
        SCOPED_TRACE(end);
        CRig rig;
        const std::string path = (rig.dir.Path() / "TXCalibr.txt").string();
        rig.radio.Calibration().Channel(4).maxCount = 200; // what the file said before
        ASSERT_TRUE(rig.radio.SaveCalibration());
        if (end == TXCALIBR_NOT_WRITABLE)
            std::filesystem::create_symlink("/dev/full", path + ".tmp");
        CInputJoystick joystick;
        joystick.present = true;
        CJoystickCalibrationSet configuration;
        CJoystickCalibrator stick(joystick, configuration, "0300aa", "Taranis");
        int stores = 0;
        CTxCalibrator calibrator(rig.radio);
        calibrator.SetJoystick(&stick, true);
        calibrator.SetJoystickStore([&] {
            ++stores;
            return end != CONFIG_NOT_WRITABLE;
        }, "Config.txt");
        calibrator.Start();
        EXPECT_FALSE(calibrator.Next()); // Return does nothing before the sticks are seen
        rig.Frames(1);
        calibrator.Update();
        ASSERT_EQ(calibrator.GetStep(), CTxCalibrator::STEP_CENTRE);

        rig.box.SetCount(1, 130); // a stick resting off the middle
        joystick.rawAxis[0] = 9;
        rig.Frames(2);
        calibrator.Update();
        EXPECT_TRUE(calibrator.Next());
        // The ends are flicks: one frame each, arriving with the next one in the same update.
        for (int count : {180, 230, 200, 40, 25, 128})
        {
            rig.box.SetCount(1, count);
            if (count == 230 || count == 25)
            {
                rig.box.SendFrame();
                continue;
            }
            joystick.rawAxis[0] = 8 * (count - 128);
            rig.Frames(1);
            calibrator.Update();
        }
        const STxChannelCalibration& aileron = rig.radio.Calibration().Channel(1);
        EXPECT_EQ(aileron.minCount, 27);
        EXPECT_EQ(aileron.maxCount, 228);
        if (end == CANCELLED)
            calibrator.Abort();
        else
            EXPECT_TRUE(calibrator.Next());
        const bool kept = end == FINISHED || end == CONFIG_NOT_WRITABLE;
        // Written when the finished step is shown, which is what that step's text tells the pilot.
        EXPECT_EQ(CRadioInterface(path).Calibration().Channel(1).maxCount, kept ? 228 : 254);
        EXPECT_STREQ(calibrator.StepStringId(), end == CANCELLED ? "IDS_RXCAL_MOVE_STICKS"
                                                : end == FINISHED ? "IDS_RXCAL_CALIBRATION_FINISHED_OK"
                                                                  : "IDS_RXCAL_CALIBRATION_NOT_SAVED");
        EXPECT_EQ(calibrator.UnsavedFile(), end == TXCALIBR_NOT_WRITABLE ? path
                                            : end == CONFIG_NOT_WRITABLE ? "Config.txt"
                                                                         : "");
        // A cancel leaves the configuration as it was: no entry for the device.
        EXPECT_EQ(configuration.DeviceCount(), end == CANCELLED ? 0 : 1);
        EXPECT_EQ(stores, end == CANCELLED ? 0 : 1);
        calibrator.Leave();

        // A save that fails keeps the old file whole (it is replaced through a temporary file).
        EXPECT_EQ(CRadioInterface(path).Calibration().Channel(4).maxCount, kept ? 128 : 200);
        EXPECT_EQ(rig.quiet.Contains("the previous file is kept"), end == TXCALIBR_NOT_WRITABLE);
        // Not written is still flown: the pilot was told the file keeps the previous one.
        EXPECT_EQ(rig.radio.Calibration().Channel(1).maxCount, end == CANCELLED ? 254 : 228);
        rig.box.SetCount(1, 230);
        rig.Frames(2);
        EXPECT_FLOAT_EQ(*rig.radio.GetChannelValue(0), end == CANCELLED ? 102.0f / 126.0f : 1.0f);
    }
}

TEST(SerialLink, DoubledPacketStartIsStillAHeader)
{
    CSerialLink link;
    const uint8_t question[CSerialLink::kPacketSize] = {0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};
    ASSERT_TRUE(link.SendQuestion(question, 0.0)); // no port: nothing written, the echo awaited
    std::vector<uint8_t> bytes = {0xFE};
    const std::vector<uint8_t> echo = CTxBoxEmulator::EncodePacket({0x01});
    bytes.insert(bytes.end(), echo.begin(), echo.end());
    const std::vector<uint8_t> answer = CTxBoxEmulator::EncodePacket({0x01, 0x21});
    bytes.insert(bytes.end(), answer.begin(), answer.end());
    link.ReceiveBytes(bytes.data(), bytes.size(), 0.1);
    uint8_t got[CSerialLink::kPacketSize] = {};
    EXPECT_EQ(link.GetAnswer(got, 0.1), CSerialLink::COMM_PACKET_RECEIVED_OK);
    EXPECT_EQ(got[1], 0x21);
}

TEST(SerialLink, BurstsFurtherApartThanTenUpdatesOfAFastProgramKeepTheLink)
{
    // A menu at 500 frames per second, a box sending a frame every 20 ms: 11 updates apart.
    CSerialLink link;
    const uint8_t sync = 0xFF;
    link.ReceiveBytes(&sync, 1, 0.0);
    double now = 0.0;
    for (int frame = 0; frame < 5; ++frame)
    {
        const uint8_t bytes[] = {static_cast<uint8_t>(100 + frame), 50, 60, 70, 80, 90, 100, 110, 0xFF};
        link.ReceiveBytes(bytes, sizeof bytes, now);
        EXPECT_EQ(link.GetChannelCount(0), 100u + frame) << "frame " << frame;
        for (int i = 0; i < 10; ++i)
            link.ReceiveBytes(nullptr, 0, now += 0.002);
        EXPECT_TRUE(link.IsInterfaceDetected() && link.IsRadioDetected()) << "frame " << frame;
    }
    for (int i = 0; i < 35; ++i) // 0.09 s since the last byte
        link.ReceiveBytes(nullptr, 0, now += 0.002);
    EXPECT_TRUE(link.IsInterfaceDetected() && link.IsRadioDetected());
    for (int i = 0; i < 10; ++i)
        link.ReceiveBytes(nullptr, 0, now += 0.002);
    EXPECT_FALSE(link.IsInterfaceDetected() || link.IsRadioDetected());
}
