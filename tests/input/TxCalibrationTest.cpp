// Counts to values, and TXCalibr.txt.

#include <filesystem>

#include <gtest/gtest.h>

#include "data/CFileText.h"
#include "data/CTokenFile.h"
#include "input/CJoystickCalibrationSet.h"
#include "input/CJoystickCalibrator.h"
#include "input/CRadioAbsenceNotice.h"
#include "input/CTxCalibration.h"
#include "support/DiagCapture.h"
#include "support/TempDir.h"

TEST(TxCalibration, CountToValue)
{
    struct SCase
    {
        STxChannelCalibration calibration; // min, centre, max, reverse, auto-centre
        int count;
        float value;
    };
    const SCase cases[] = {
        {{0, 128, 254, false, true}, 128, 0.0f},
        {{0, 128, 254, false, true}, 254, 1.0f},
        {{0, 128, 254, false, true}, 0, -1.0f},
        {{0, 128, 254, false, true}, 191, 0.5f},
        {{0, 128, 254, false, false}, 127, 0.0f}, // linear sweep (throttle)
        {{0, 128, 254, false, false}, 254, 1.0f},
        {{28, 128, 228, false, true}, 230, 1.0f}, // beyond the measured end: clamped
        {{0, 128, 254, true, true}, 191, -0.5f},
        {{128, 128, 128, false, true}, 127, -1.0f}, // all equal: only the ends
        {{128, 128, 128, false, true}, 129, 1.0f},
        {{128, 128, 128, false, true}, 128, -1.0f}, // zero numerator over zero divisor
        {{50, 128, 50, false, false}, 60, 1.0f},
        {{56, 256, 456, false, true}, 356, 0.5f},   // a 9-bit channel
    };
    for (const SCase& c : cases)
    {
        const STxChannelCalibration& k = c.calibration;
        EXPECT_NEAR(CTxCalibration::CountToValue(c.count, k), c.value, 1e-6f)
            << k.minCount << "/" << k.centreCount << "/" << k.maxCount << " count " << c.count;
    }
}

TEST(TxCalibration, FileRoundTripAndPartialFiles)
{
    TempDir dir;
    const std::string path = (dir.Path() / CTxCalibration::kFileName).string();
    CTxCalibration calibration;
    EXPECT_TRUE(calibration.Load(path)); // no file: defaults, no error
    calibration.Channel(3) = {20, 120, 220, true, false};
    calibration.Channel(9).reverse = true;
    ASSERT_TRUE(calibration.Save(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    CTxCalibration loaded;
    loaded.Channel(5).minCount = 77; // reset by the load
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.FormatText(), calibration.FormatText());

    // A block without some keys reads them as 0 / false; other channels keep their counts reset.
    dir.Write(CTxCalibration::kFileName, ".CH2 { .MAX_COUNT 200 }");
    ASSERT_TRUE(loaded.Load(path));
    const std::string text = loaded.FormatText();
    EXPECT_NE(text.find(".CH2\r\n{\r\n  .MIN_COUNT  0\r\n  .MAX_COUNT  200\r\n  .CENTER_COUNT  0\r\n"
                        "  .REVERSE  0\r\n  .AUTOCENTRE  0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(".CH5\r\n{\r\n  .MIN_COUNT  0\r\n  .MAX_COUNT  254\r\n"), std::string::npos) << text;
}

TEST(RadioAbsenceNotice, SaidOnceAfterASecondAndAgainOnlyAfterTheTransmitterWasBack)
{
    // Each row: frame time, the map reads the transmitter, transmitter seen, message due.
    struct SFrame
    {
        float dt;
        bool reads, seen, due;
    };
    const SFrame frames[] = {
        {0.5f, true, false, false}, {0.49f, true, false, false}, {0.02f, true, false, true}, // 1 s missing
        {5.0f, true, false, false},                                                        // once only
        {0.02f, true, true, false},                                                        // back: re-armed
        {0.6f, true, false, false}, {0.6f, true, false, true},
        {0.02f, false, false, false}, {2.0f, false, false, false}, // keyboard map: nothing to say
        {1.0f, true, false, true},
    };
    CRadioAbsenceNotice notice;
    int row = 0;
    for (const SFrame& f : frames)
        EXPECT_EQ(notice.Update(f.dt, f.reads, f.seen), f.due) << "row " << row++;
}

TEST(JoystickCalibration, RawValueThroughTheMeasuredTravel)
{
    struct SCase
    {
        SJoystickAxisCalibration c;
        bool slider;
        int raw, expected;
    };
    const SCase cases[] = {
        {{-1000, 0, 1000}, false, 250, 250},   // the default is the identity
        {{-468, 9, 468}, false, 488, 1000},   // half-travel stick: its end reads full, clamped
        {{-468, 9, 468}, false, 9, 0},        // rest reads 0 although off the raw middle
        {{-468, 9, 468}, false, -229, -499},  // each half on its own scale
        {{0, 500, 1000}, true, 250, 250},     // default slider
        {{275, 510, 744}, true, 744, 1000},   // a slider sweeps from low to high, the middle unused
        {{275, 510, 744}, true, 100, 0},
        {{5, 5, 5}, false, 6, 1000},          // no travel: only the ends
        {{5, 5, 5}, false, 4, -1000},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(CInputJoystick::Calibrate(c.raw, c.c, c.slider), c.expected)
            << c.c.low << "/" << c.c.centre << "/" << c.c.high << " raw " << c.raw;
}

TEST(JoystickCalibration, AxesNotMovedKeepTheirCalibration)
{
    CInputJoystick joystick;
    joystick.present = true;
    CJoystickCalibrationSet set;
    set.Shared()[2] = {-900, 10, 900}; // Z, measured earlier
    CJoystickCalibrator calibrator(joystick, set, "0300aa", "Taranis");
    // A cancel storing nothing is the transmitter calibration's walk-through (RadioInterface).
    calibrator.Start();
    joystick.rawAxis[0] = 20;
    joystick.rawSlider[0] = 500;
    calibrator.MeasureCentre();
    for (int raw : {600, -700, 0})
    {
        joystick.rawAxis[0] = raw;
        joystick.rawSlider[0] = raw > 0 ? 900 : 100;
        calibrator.MeasureEnds();
    }
    EXPECT_TRUE(calibrator.Finish());
    const SJoystickAxisCalibration* calibration = set.Find("0300aa", "Taranis");
    EXPECT_TRUE(set.HasOwn("0300aa", "Taranis"));
    EXPECT_EQ(calibration[0].low, -680);
    EXPECT_EQ(calibration[0].centre, 20);
    EXPECT_EQ(calibration[0].high, 580);
    EXPECT_EQ(calibration[2].high, 900); // Z was not moved: a zero travel would read full throw
    EXPECT_EQ(calibration[6].low, 120);
    EXPECT_EQ(calibration[6].high, 880);
    EXPECT_EQ(set.Shared()[0].high, 1000);

    // Nothing moved through its travel: nothing new to keep, and another device gets no entry.
    CJoystickCalibrator idle(joystick, set, "0300cc", "Gamepad");
    idle.MeasureCentre();
    EXPECT_FALSE(idle.Finish());
    EXPECT_EQ(set.DeviceCount(), 1);
}

TEST(JoystickCalibration, KeyedByDeviceWithTheUnkeyedFormForAnyOther)
{
    // The axes straight in the block come from a file written before devices were told apart.
    CTokenFile file;
    ASSERT_TRUE(file.LoadText(".JOYSTICK_CALIBRATION { .AXIS_JOYSTICK_X -400 12 380\n"
                              "  .DEVICE { .GUID \"0300aa\" .NAME \"Taranis\" .AXIS_JOYSTICK_X -468 9 468 "
                              ".AXIS_JOYSTICK_Y 5 5 5 }  .DEVICE { .AXIS_JOYSTICK_X -1 0 1 } }",
                              "Config.txt"));
    CDiagCapture diag;
    CJoystickCalibrationSet set;
    set.Read(*file.OpenBlock("JOYSTICK_CALIBRATION"), "Config.txt");
    EXPECT_TRUE(diag.Contains("Config.txt: JOYSTICK_CALIBRATION DEVICE \"Taranis\" AXIS_JOYSTICK_Y: 5 5 5"));
    EXPECT_TRUE(diag.Contains("DEVICE without GUID and NAME is ignored"));
    struct SCase
    {
        const char* guid;
        const char* name;
        int xLow;
    };
    const SCase cases[] = {
        {"0300aa", "Taranis", -468},
        {"0300aa", "FrSky Taranis", -468}, // renamed by another SDL: the GUID
        {"0500bb", "Taranis", -468},       // another GUID (Bluetooth): the name
        {"0300cc", "Gamepad", -400},       // no calibration of its own: the unkeyed one
        {"", "", -400},                    // none connected
    };
    for (const SCase& c : cases)
        EXPECT_EQ(set.Find(c.guid, c.name)[0].low, c.xLow) << c.guid << " " << c.name;
    EXPECT_EQ(set.Find("0300aa", "Taranis")[1].high, 1000) << "a travel of nothing is refused";

    // Calibrating the gamepad gives it its own, made from what it read; written and read back.
    SJoystickAxisCalibration* pad = set.ForDevice("0300cc", "Game\"pad");
    EXPECT_EQ(pad[0].low, -400);
    pad[0] = {-300, 0, 300};
    EXPECT_EQ(set.ForDevice("0300cc", "Gamepad"), pad);
    CFileText text;
    set.Write(text);
    EXPECT_NE(text.Text().find("{\r\n  .AXIS_JOYSTICK_X  -400 12 380\r\n"), std::string::npos)
        << "the unkeyed form stays for older programs";
    CTokenFile written;
    ASSERT_TRUE(written.LoadText(text.Text(), "Config.txt"));
    CJoystickCalibrationSet reread;
    reread.Read(*written.OpenBlock("JOYSTICK_CALIBRATION"), "Config.txt");
    EXPECT_EQ(reread.DeviceCount(), 2);
    EXPECT_EQ(reread.Find("0300cc", "Gamepad")[0].low, -300);
    EXPECT_EQ(reread.Find("0300aa", "Taranis")[0].low, -468);
    EXPECT_EQ(reread.Find("0300dd", "Other")[0].low, -400);
}
