#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "data/CProperty.h"
#include "env/CWind.h"
#include "support/DataDir.h"
#include "support/DiagCapture.h"

namespace
{
constexpr float kTol = 1e-5f;

void ExpectNear(const CVector3& actual, const CVector3& expected, float tolerance = kTol)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// A fresh working directory, with an Output folder unless told otherwise.
struct TOutputDir : TempDataDir
{
    explicit TOutputDir(bool withOutputFolder = true)
    {
        if (withOutputFolder)
            std::filesystem::create_directories(dir.Path() / "Output");
    }
    std::string Weather() const { return Read("Output/Weather.txt"); }
};

void SetSetting(CWind& wind, const char* key, float value)
{
    CProperty* property = wind.GetPropertySet().FindProperty(key);
    ASSERT_NE(property, nullptr) << key;
    property->SetFloat(value);
}

void UpdateTimes(CWind& wind, int count, const CVector3& position = CVector3(), const CVector3& forward = {0, 0, -1})
{
    for (int i = 0; i < count; ++i)
        wind.Update(position, forward, 1.0f / 60.0f);
}

std::vector<CWindBlob> Blobs(const CWind& wind)
{
    std::vector<CWindBlob> blobs;
    for (int k = 0; k < CWind::kBlobCount; ++k)
        blobs.push_back(wind.GetBlob(k));
    return blobs;
}

// Which of the wind's blobs differ from those it had before.
std::vector<bool> Replaced(const CWind& wind, const std::vector<CWindBlob>& before)
{
    std::vector<bool> replaced;
    for (int k = 0; k < CWind::kBlobCount; ++k)
    {
        const CWindBlob &a = wind.GetBlob(k), &b = before[static_cast<size_t>(k)];
        replaced.push_back(!(a.amplitude == b.amplitude && a.centre == b.centre && a.radius == b.radius));
    }
    return replaced;
}

const CVector3 kProbes[] = {{0, 0, 0}, {1, 0, 0}, {2, 0.5f, -1}, {-300, 20, 150}, {1000, 100, -1000}};
} // namespace

// Without turbulence the blobs are not asked; the wind must still be, to the bit, the mean wind
// plus every blob's part plus the rising air, through every change of the settings and blobs.
TEST(Wind, WindIsTheMeanPlusEveryBlobToTheBit)
{
    CWind wind;
    SetSetting(wind, "TURBULENCE_STRENGTH", 0.0f);
    const std::function<void()> steps[] = {
        [] {},                                               // the initial blobs, which blow
        [&] { UpdateTimes(wind, 2 * CWind::kCallsPerChange); }, // calm blobs
        [&] { SetSetting(wind, "VELOCITY", 5.0f); },
        [&] { SetSetting(wind, "HEADING", 270.0f); },
        [&] { SetSetting(wind, "VELOCITY", 0.0f); },          // signed zeros
        [&] { SetSetting(wind, "TURBULENCE_STRENGTH", 0.7f); UpdateTimes(wind, CWind::kCallsPerChange); },
        [&] { SetSetting(wind, "TURBULENCE_STRENGTH", 0.0f); UpdateTimes(wind, 2 * CWind::kCallsPerChange); },
        [&] { wind.ResetBlobs(); },
    };
    for (size_t step = 0; step < std::size(steps); ++step)
    {
        steps[step]();
        for (const CVector3& p : kProbes)
        {
            CVector3 expected = wind.GetMeanWind();
            for (int k = 0; k < CWind::kBlobCount; ++k)
                expected += wind.GetBlob(k).At(p);
            expected.y += wind.GetVerticalAirAt(p);
            const CVector3 actual = wind.GetWindAt(p);
            EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0) << "step " << step << " at " << p.x;
        }
    }
}

TEST(Wind, MeanWindFollowsHeadingAndPitch)
{
    const struct { float velocity, heading, pitch; CVector3 expected; } rows[] = {
        {3, 0, 0, {0, 0, -3}},           // heading 0 blows towards -z (180 and 90: WindFile)
        {4, -90, 0, {-4, 0, 0}},         // negative headings are the other way round
        {2, 0, 30, {0, 1, -1.7320508f}}, // pitch tilts the wind upwards
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "v " << row.velocity << " h " << row.heading << " p " << row.pitch);
        CWind wind;
        SetSetting(wind, "VELOCITY", row.velocity);
        SetSetting(wind, "HEADING", row.heading);
        SetSetting(wind, "PITCH", row.pitch);
        ExpectNear(wind.GetMeanWind(), row.expected, 1e-5f * 720);
    }
}

TEST(Wind, BlobWeightFallsFromTheCentreToZeroAtTheRim)
{
    CWindBlob blob;
    blob.amplitude = CVector3(1, 2, 3);
    blob.centre = CVector3(10, 0, 0);

    blob.radius = 1.0f; // s = 1: the smallest blob never contributes
    for (const CVector3& p : {CVector3(10, 0, 0), CVector3(10.5f, 0, 0), CVector3(0, 0, 0)})
        EXPECT_EQ(blob.At(p), CVector3());

    blob.radius = 3.0f;
    ExpectNear(blob.At(CVector3(10, 0, 0)), CVector3(1, 2, 3) * (1.0f - 1.0f / 9.0f));
    // |C - p|^2 = rho^2 - 1 = 8 is the rim.
    EXPECT_EQ(blob.At(CVector3(10, 2, 2)), CVector3());
    EXPECT_EQ(blob.At(CVector3(13, 0, 0)), CVector3());
    ExpectNear(blob.At(CVector3(12, 0, 0)), CVector3(1, 2, 3) * (1.0f - 5.0f / 9.0f));
}

TEST(Wind, EverySeventhUpdateReplacesThreeBlobsRoundTheRing)
{
    CWind wind;
    SetSetting(wind, "TURBULENCE_STRENGTH", 1.0f);
    const CVector3 position(100, 50, -20);
    const CVector3 forward(0, 0, -1);

    const std::vector<CWindBlob> before = Blobs(wind);
    UpdateTimes(wind, 6, position, forward);
    EXPECT_EQ(Replaced(wind, before), std::vector<bool>(CWind::kBlobCount, false)) << "six calls change nothing";
    UpdateTimes(wind, 1, position, forward);
    EXPECT_EQ(Replaced(wind, before), (std::vector<bool>{true, true, true, false, false}));

    // The next change goes on where the ring stopped: 3, 4, then 0 again.
    const std::vector<CWindBlob> afterFirst = Blobs(wind);
    UpdateTimes(wind, 7, position, forward);
    EXPECT_EQ(Replaced(wind, afterFirst), (std::vector<bool>{true, false, false, true, true}));
}

TEST(Wind, NewBlobsAreSizedAndPlacedAheadOfTheModel)
{
    CWind wind(12345);
    SetSetting(wind, "TURBULENCE_STRENGTH", 0.5f);
    const CVector3 position(10, 20, 30);
    const CVector3 forward(1, 0, 0);
    for (int change = 0; change < 40; ++change)
    {
        UpdateTimes(wind, CWind::kCallsPerChange, position, forward);
        if (change == 0)
            continue; // two initial blobs are still there
        for (int k = 0; k < CWind::kBlobCount; ++k)
        {
            const CWindBlob& blob = wind.GetBlob(k);
            const float s = std::sqrt(blob.radius);
            ASSERT_GE(s, 1.0f - kTol);
            ASSERT_LT(s, 55.0f);
            // s = 1 + 54 u with u in 0.001 steps.
            const float steps = (s - 1.0f) / 54.0f * 1000.0f;
            EXPECT_NEAR(steps, std::round(steps), 0.02f) << s;
            // Centre: (s + 1) ahead plus an offset of at most 0.1 s per axis.
            const CVector3 offset = blob.centre - position - forward * (s + 1.0f);
            EXPECT_LE(offset.MaxAbsComponent(), 0.1f * s + 1e-3f);
            // Amplitude: (f M + R) s / 55 * 0.5 with |f M| <= 2 and |R| <= 0.5 per axis.
            EXPECT_LE(blob.amplitude.MaxAbsComponent(), (2.0f + 0.5f) * s / 55.0f * 0.5f + kTol);
        }
    }
}

TEST(Wind, DrawsFillTheVectorsFromTheLastComponent)
{
    // With no mean wind and full strength the amplitude is R * s / 55, so the draw order shows.
    const uint32_t seed = 777;
    CWind wind(seed);
    SetSetting(wind, "VELOCITY", 0.0f);
    SetSetting(wind, "TURBULENCE_STRENGTH", 1.0f);
    UpdateTimes(wind, CWind::kCallsPerChange, CVector3(), CVector3(0, 0, -1));

    CWindRandom random(seed);
    const float s = 1.0f + 54.0f * random.NextUnit();
    const float r3 = random.NextSigned(), r2 = random.NextSigned(), r1 = random.NextSigned();
    random.NextUnit(); // f: no effect without mean wind
    const float o3 = random.NextSigned(), o2 = random.NextSigned(), o1 = random.NextSigned();

    const CWindBlob& blob = wind.GetBlob(0);
    EXPECT_NEAR(blob.radius, s * s, 1e-3f);
    ExpectNear(blob.amplitude, CVector3(r1, r2, r3) * 0.5f * (s / 55.0f));
    ExpectNear(blob.centre, CVector3(0, 0, -(s + 1.0f)) + CVector3(o1, o2, o3) * (0.1f * s), 1e-4f);
}

TEST(WindFile, ValuesOutsideTheirRangesAreClampedAndNotNumbersFallBackToTheDefaults)
{
    // The file (nullptr: none); a line of the file afterwards and a part of the diagnostics.
    struct TCase { const char* what, *file; CVector3 meanWind; float turbulence; const char *written, *reported; };
    const TCase cases[] = {
        {"no file: defaults, written", nullptr, {0, 0, 2}, 0.0f, ".HEADING 180.000000", nullptr},
        // WeatherValuesOutsideTheirRangesAreKept: 1e30 filled the screen with sky, a negative
        // speed and turbulence threw the model about.
        {"beyond the declared ranges: clamped; the missing PITCH keeps its default",
         ".VELOCITY 1e30\n.HEADING 90\n.TURBULENCE_STRENGTH 3.5\n", {20, 0, 0}, 1.0f, ".VELOCITY 20.000000",
         "Weather.txt: .TURBULENCE_STRENGTH"},
        {"below the declared ranges", ".VELOCITY -5\n.HEADING 90\n.TURBULENCE_STRENGTH -1\n", {0, 0, 0}, 0.0f,
         ".TURBULENCE_STRENGTH 0.000000", "Weather.txt: .VELOCITY"},
        {"not numbers", ".VELOCITY nan\n.HEADING 90\n.PITCH inf\n", {2, 0, 0}, 0.0f, ".VELOCITY 2.000000",
         "Weather.txt: .PITCH"},
        {"a broken file is replaced by the defaults", ".VELOCITY 9 /* never closed\n", {0, 0, 2}, 0.0f,
         ".TURBULENCE_STRENGTH 0.000000", "Weather.txt"},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        TOutputDir out;
        if (c.file != nullptr)
            out.Write("Output/Weather.txt", c.file);
        CDiagCapture diag;
        CWind wind;
        EXPECT_TRUE(wind.Create());
        ExpectNear(wind.GetMeanWind(), c.meanWind, 1e-4f);
        EXPECT_EQ(wind.GetTurbulenceStrength(), c.turbulence);
        EXPECT_NE(out.Weather().find(c.written), std::string::npos) << out.Weather();
        EXPECT_TRUE(c.reported == nullptr || diag.Contains(c.reported));
        EXPECT_FALSE(diag.Contains("HEADING")) << "a good value is not reported";
        for (const CVector3& p : kProbes)
            EXPECT_TRUE(std::isfinite(wind.GetWindAt(p).Length()));
    }
}

TEST(WindFile, UnwritableFileLeavesAWorkingWind)
{
    TOutputDir out(false); // no Output folder: nothing can be written
    CDiagCapture diag;
    CWind wind;
    EXPECT_FALSE(wind.Create());
    EXPECT_TRUE(diag.Contains("Weather.txt"));
    ExpectNear(wind.GetMeanWind(), CVector3(0, 0, 2));
}
