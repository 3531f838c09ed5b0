#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "sim/CFlightRecorder.h"
#include "fdm/FdmRun.h"
#include "support/TestSite.h"

namespace fs = std::filesystem;

namespace
{
using namespace fdm_test;

using test_site::kDropModel;

class FdmRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(dir.Path() / "Data" / "Model");
        dir.Write("drop.mod", kDropModel);
    }
    TempDir dir;
};

TEST_F(FdmRunTest, BadArgumentsExitWithUsage)
{
    const std::vector<std::vector<std::string>> rows = {
        {},                                            // no model
        {"--model", "drop.mod", "--frame", "x"},       // refused by the option parser
        {"--model", "missing.mod"},                    // no such file
        {"--data", "NoData", "--model", "drop.mod"},   // no such data folder
    };
    for (const auto& args : rows)
    {
        const TRun run = RunFdm(dir, args);
        EXPECT_TRUE(run.exitCode == 2 && run.err.find("usage: kestro-fdm") != std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    // (Broken model files neither crash nor pretend: the model-file corpus flies each one it loads,
    // the preflight check `broken` runs kestro-fdm on one.)
}

TEST_F(FdmRunTest, FlatDropWritesOneCsvRowPerFrameAndAConsistentSummary)
{
    const TRun run = RunFdm(dir, {"--model", "drop.mod", "--flat", "--seconds", "3", "--frame", "0.02", "--start",
                                  "1,1.5,2", "--csv", "out.csv", "--ramp", "V_CH4=-1:1:1:2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string json = LastLine(run.out);
    ASSERT_EQ(json.rfind("{", 0), 0u) << json;
    const TCsv csv = ParseCsv(dir.Read("out.csv"));

    // (The column names: the flight checks read the columns by name.)
    ASSERT_EQ(csv.columns.size(), 19u);
    ASSERT_EQ(csv.rows.size(), 150u); // 3 s / 0.02 s
    for (const auto& row : csv.rows)
        ASSERT_EQ(row.size(), csv.columns.size());

    EXPECT_EQ(JsonNumber(json, "frames"), 150.0);
    EXPECT_NEAR(JsonNumber(json, "simulated_seconds"), 3.0, 1e-5);
    EXPECT_NEAR(csv.rows.back()[0], 3.0, 1e-5);

    // Flat ground at 0: the height above the terrain is y.
    double minY = 1e9, maxY = -1e9, maxAirspeed = 0.0;
    for (const auto& row : csv.rows)
    {
        minY = std::min(minY, row[2]);
        maxY = std::max(maxY, row[2]);
        maxAirspeed = std::max(maxAirspeed, row[7]);
    }
    for (const auto& [key, value] : {std::pair{"min_height_above_terrain", minY}, {"max_height_above_terrain", maxY},
                                     {"max_airspeed", maxAirspeed}})
        EXPECT_NEAR(JsonNumber(json, key), value, 1e-4) << key;
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(JsonNumber(json, "final_position", axis), csv.rows.back()[1 + axis], 1e-4);
    EXPECT_NEAR(csv.rows.back()[1], 1.0, 1e-3);
    EXPECT_EQ(JsonNumber(json, "came_to_rest"), 1.0);
    EXPECT_GT(JsonNumber(json, "damage"), 0.0); // a 1.4 m fall
    EXPECT_EQ(JsonNumber(json, "flat"), 1.0);

    // The ramp: each row holds the value applied during the frame that ends at its time.
    const int ch4 = csv.Column("V_CH4");
    for (const auto& row : csv.rows)
    {
        const double t = row[0] - 0.02;
        const double value = t <= 1.0 ? -1.0 : t >= 2.0 ? 1.0 : -1.0 + 2.0 * (t - 1.0);
        EXPECT_NEAR(row[static_cast<size_t>(ch4)], value, 1e-4) << row[0];
    }
}

TEST_F(FdmRunTest, SpeedStartsLevelAlongTheHeading)
{
    const TRun run = RunFdm(dir, {"--model", "drop.mod", "--flat", "--seconds", "0.1", "--start", "0,200,0",
                                  "--heading", "90", "--speed", "20", "--csv", "out.csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const TCsv csv = ParseCsv(dir.Read("out.csv"));
    ASSERT_FALSE(csv.rows.empty());
    // Heading 90 flies towards +X; nothing but gravity acts.
    EXPECT_NEAR(csv.rows.back()[1], 20.0 * csv.rows.back()[0], 0.01);
    EXPECT_NEAR(csv.rows.back()[3], 0.0, 1e-3);
    EXPECT_NEAR(csv.rows.back()[4], 90.0, 1e-3);
}

TEST_F(FdmRunTest, RecordingHoldsTheFlight)
{
    const TRun run = RunFdm(dir, {"--model", "drop.mod", "--flat", "--seconds", "2", "--start", "0,3,0",
                                  "--record", "flight.rec"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    CFlightRecorder recorder;
    ASSERT_TRUE(recorder.Load((dir.Path() / "flight.rec").string()));
    EXPECT_GE(recorder.GetKeyframeCount(), 2);
    EXPECT_LE(recorder.GetKeyframeTime(recorder.GetKeyframeCount() - 1), 2.0 + 1e-6);
}

} // namespace
