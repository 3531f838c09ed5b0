// Counts to values, and TXCalibr.txt.

#include <filesystem>

#include <gtest/gtest.h>

#include "input/CRadioAbsenceNotice.h"
#include "input/CTxCalibration.h"
#include "support/DiagCapture.h"
#include "support/TempDir.h"

TEST(TxCalibration, CountToValue)
{
    struct SCase
    {
        int min, centre, max;
        bool reverse, autoCentre;
        int count;
        float value;
    };
    const SCase cases[] = {
        {0, 128, 254, false, true, 128, 0.0f},
        {0, 128, 254, false, true, 254, 1.0f},
        {0, 128, 254, false, true, 0, -1.0f},
        {0, 128, 254, false, true, 191, 0.5f},
        {0, 128, 254, false, false, 127, 0.0f}, // linear sweep (throttle)
        {0, 128, 254, false, false, 254, 1.0f},
        {28, 128, 228, false, true, 230, 1.0f}, // beyond the measured end: clamped
        {0, 128, 254, true, true, 191, -0.5f},
        {128, 128, 128, false, true, 127, -1.0f}, // all equal: only the ends
        {128, 128, 128, false, true, 129, 1.0f},
        {128, 128, 128, false, true, 128, -1.0f}, // zero numerator over zero divisor
        {50, 128, 50, false, false, 60, 1.0f},
        {56, 256, 456, false, true, 356, 0.5f},   // a 9-bit channel
    };
    for (const SCase& c : cases)
    {
        STxChannelCalibration calibration;
        calibration.minCount = c.min;
        calibration.centreCount = c.centre;
        calibration.maxCount = c.max;
        calibration.reverse = c.reverse;
        calibration.autoCentre = c.autoCentre;
        EXPECT_NEAR(CTxCalibration::CountToValue(c.count, calibration), c.value, 1e-6f)
            << c.min << "/" << c.centre << "/" << c.max << " count " << c.count;
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
    const std::string text = dir.Read(CTxCalibration::kFileName);
    EXPECT_NE(text.find(".CH3\r\n{\r\n  .MIN_COUNT  20\r\n  .MAX_COUNT  220\r\n  .CENTER_COUNT  120\r\n"
                        "  .REVERSE  1\r\n  .AUTOCENTRE  0\r\n}\r\n"),
              std::string::npos);

    CTxCalibration loaded;
    loaded.Channel(5).minCount = 77; // reset by the load
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.FormatText(), calibration.FormatText());

    // A block without some keys reads them as 0 / false; other channels keep their counts reset.
    dir.Write(CTxCalibration::kFileName, ".CH2 { .MAX_COUNT 200 }");
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.Channel(2).minCount, 0);
    EXPECT_EQ(loaded.Channel(2).centreCount, 0);
    EXPECT_EQ(loaded.Channel(2).maxCount, 200);
    EXPECT_FALSE(loaded.Channel(2).autoCentre);
    EXPECT_EQ(loaded.Channel(5).minCount, 0);
    EXPECT_EQ(loaded.Channel(5).maxCount, 254);
}

TEST(TxCalibration, FailedSaveKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = (dir.Path() / CTxCalibration::kFileName).string();
    CTxCalibration calibration;
    calibration.Channel(1).maxCount = 222;
    ASSERT_TRUE(calibration.Save(path));
    const std::string before = dir.Read(CTxCalibration::kFileName);
    std::filesystem::create_directory(path + ".tmp"); // the temporary file cannot be written
    calibration.Channel(1).maxCount = 111;
    CDiagCapture diag;
    EXPECT_FALSE(calibration.Save(path));
    EXPECT_TRUE(diag.Contains("previous one is kept"));
    EXPECT_EQ(dir.Read(CTxCalibration::kFileName), before);
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
