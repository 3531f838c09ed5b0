#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "sim/CFlightRecorder.h"
#include "sim/CRecordedModel.h"
#include "sim/IRecordedModel.h"
#include "data/CTokenFile.h"
#include "fuzz/FlightRecordingFuzz.h"
#include "model/CModel.h"
#include "model/CVariableTable.h"
#include "support/DiagCapture.h"
#include "support/TempDir.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr double kDt = 0.02; // s per frame

// A part that saves a fixed number of bytes (its state value repeated) and loads the first of
// them back when it is given enough.
struct TFakePart
{
    int size = 0;
    unsigned char state = 0;
    int claims = -1;    // what LoadState returns when >= 0, whatever it was given
    int lastCount = -1; // what the last LoadState was given
    int loads = 0;
};

class CFakeModel : public IRecordedModel
{
public:
    CVector3 position, velocity, angularVelocity, acceleration, angularAcceleration;
    CMatrix3 orientation;
    float channels[kChannelCount] = {};
    std::vector<TFakePart> parts;
    int motionSets = 0;

    CVector3 GetPosition() const override { return position; }
    CMatrix3 GetOrientation() const override { return orientation; }
    CVector3 GetVelocity() const override { return velocity; }
    CVector3 GetAngularVelocity() const override { return angularVelocity; }
    CVector3 GetAcceleration() const override { return acceleration; }
    CVector3 GetAngularAcceleration() const override { return angularAcceleration; }
    void SetMotion(const CVector3& p, const CMatrix3& m, const CVector3& v, const CVector3& w) override
    {
        position = p;
        orientation = m;
        velocity = v;
        angularVelocity = w;
        ++motionSets;
    }
    float GetChannel(int index) const override { return channels[index]; }
    void SetChannel(int index, float value) override { channels[index] = value; }
    int GetPartCount() const override { return static_cast<int>(parts.size()); }
    int SavePartState(int index, std::vector<unsigned char>& ioBytes) override
    {
        const TFakePart& part = parts[static_cast<size_t>(index)];
        ioBytes.insert(ioBytes.end(), static_cast<size_t>(part.size), part.state);
        return part.size;
    }
    int LoadPartState(int index, const unsigned char* bytes, int count) override
    {
        TFakePart& part = parts[static_cast<size_t>(index)];
        part.lastCount = count;
        ++part.loads;
        if (part.claims >= 0)
            return part.claims;
        if (count < part.size)
            return 0;
        if (part.size > 0)
            part.state = bytes[0];
        return part.size;
    }
};

// One record of a hand-made recording.
void AppendRecord(std::vector<unsigned char>& out, uint32_t type, const std::vector<unsigned char>& payload,
                  int lengthOverride = -1)
{
    const size_t length = lengthOverride >= 0 ? static_cast<size_t>(lengthOverride) : payload.size() + 6;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(type >> (8 * i)));
    out.push_back(static_cast<unsigned char>(length));
    out.push_back(static_cast<unsigned char>(length >> 8));
    out.insert(out.end(), payload.begin(), payload.end());
}

template <typename T> std::vector<unsigned char> Bytes(std::initializer_list<T> values)
{
    std::vector<unsigned char> out;
    for (T value : values)
    {
        unsigned char raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T)); // the test host is little-endian, as the format
        out.insert(out.end(), raw, raw + sizeof(T));
    }
    return out;
}

// Time, position, Euler angles, the value of every channel, the state of the one part.
struct TKey { double time; CVector3 position; float a, b, c, channel; unsigned char partState; };

// A keyframe group: time, motion (velocity = position, angular velocity = (a, b, c) / 10),
// channels, parts (one byte).
void AppendKeyframe(std::vector<unsigned char>& out, const TKey& key)
{
    AppendRecord(out, CFlightRecorder::RT_TIME, Bytes<double>({key.time}));
    const CVector3& p = key.position;
    AppendRecord(out, CFlightRecorder::RT_MOTION,
                 Bytes<float>({p.x, p.y, p.z, p.x, p.y, p.z, key.a / 10, key.b / 10, key.c / 10, key.a, key.b, key.c}));
    const float ch = key.channel;
    AppendRecord(out, CFlightRecorder::RT_CHANNELS, Bytes<float>({ch, ch, ch, ch, ch, ch, ch, ch, ch}));
    AppendRecord(out, CFlightRecorder::RT_PARTS, {key.partState});
}

// The keyframe times of a written recording as the player reads them (none below two
// keyframes), and how many records it holds.
std::vector<double> KeyframeTimes(const std::string& path, int* records = nullptr)
{
    CFlightRecorder reader;
    std::vector<double> times;
    if (reader.Load(path))
        for (int k = 0; k < reader.GetKeyframeCount(); ++k)
            times.push_back(reader.GetKeyframeTime(k));
    if (records != nullptr)
        *records = reader.GetRecordCount();
    return times;
}

class FlightRecorderTest : public testing::Test
{
protected:
    std::string RecPath() const { return (dir.Path() / "Flight.rec").string(); }

    // Records frames 1..frames at start + k * kDt.
    void RecordFrames(CFlightRecorder& recorder, CFakeModel& model, int frames, double start = 0.0)
    {
        for (int k = 1; k <= frames; ++k)
            recorder.RecordFrame(model, start + k * kDt);
    }
    // Records frames 1..frames of a recording of its own.
    void Record(CFakeModel& model, int frames)
    {
        CFlightRecorder recorder;
        EXPECT_TRUE(recorder.StartRecording(RecPath(), 0.0));
        RecordFrames(recorder, model, frames);
        EXPECT_TRUE(recorder.StopRecording());
    }
    // Loads a hand-made recording and starts playing it at time 0 onto `played`, one part of one byte.
    void Play(const std::vector<unsigned char>& rec)
    {
        ASSERT_TRUE(player.LoadBytes(rec, "test.rec"));
        played.parts = {{1, 0}};
        player.StartPlayback(0.0);
    }

    TempDir dir;
    CDiagCapture diag;
    CFlightRecorder player;
    CFakeModel played;
};
} // namespace

TEST_F(FlightRecorderTest, ConstantAccelerationWritesAKeyframeEveryFloorThirtyOverAPlusOneFrames)
{
    const struct { float linear, angular; int period; /* frames between keyframes */ } rows[] = {
        {1.0f, 0.0f, 31},  // 30 exactly is not enough: the sum must exceed 30
        {2.5f, 0.0f, 13},
        {30.0f, 0.0f, 2},
        {31.0f, 0.0f, 1},  // every frame
        {0.0f, 7.0f, 5},   // the angular sum alone triggers too
        {1.0f, 4.0f, 8},   // the first sum to pass 30 wins, and both restart
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "linear " << row.linear << " angular " << row.angular);
        CFakeModel model;
        model.acceleration = CVector3(0, row.linear, 0);
        model.angularAcceleration = CVector3(row.angular, 0, 0);
        CFlightRecorder earlier; // its sums are its own: they must not move the keyframes below
        RecordFrames(earlier, model, row.period - 1);
        CFlightRecorder recorder;
        ASSERT_TRUE(recorder.StartRecording(RecPath(), 100.0));
        const int keyframes = 4;
        RecordFrames(recorder, model, keyframes * row.period + row.period - 1, 100.0);
        recorder.StopRecording();

        const std::vector<double> times = KeyframeTimes(RecPath());
        ASSERT_EQ(times.size(), static_cast<size_t>(keyframes));
        for (int k = 0; k < keyframes; ++k)
            EXPECT_NEAR(times[static_cast<size_t>(k)], (k + 1) * row.period * kDt, 1e-9) << "keyframe " << k;
    }
}

TEST_F(FlightRecorderTest, SteadyFlightWritesNoKeyframesAndNotANumberDoesNotStopThem)
{
    CFakeModel model;
    model.velocity = CVector3(10, 0, 0); // flying, but steadily
    CFlightRecorder recorder;
    ASSERT_TRUE(recorder.StartRecording(RecPath(), 0.0));
    RecordFrames(recorder, model, 5000);
    EXPECT_TRUE(dir.Read("Flight.rec").empty());
    model.acceleration = CVector3(NAN, 0, 0);
    model.angularAcceleration = CVector3(0, INFINITY, 0);
    RecordFrames(recorder, model, 3, 100.0);
    model.acceleration = CVector3(40, 0, 0);
    model.angularAcceleration = CVector3();
    RecordFrames(recorder, model, 2, 200.0);
    recorder.StopRecording();
    EXPECT_EQ(KeyframeTimes(RecPath()).size(), 2u);
}

TEST_F(FlightRecorderTest, TriggerSumsCarryOverIntoTheNextRecording)
{
    CFakeModel model;
    model.acceleration = CVector3(4, 0, 0);
    CFlightRecorder recorder;
    ASSERT_TRUE(recorder.StartRecording(RecPath(), 0.0));
    RecordFrames(recorder, model, 5); // 20 of 30
    recorder.StopRecording();
    ASSERT_TRUE(recorder.StartRecording(RecPath(), 50.0));
    RecordFrames(recorder, model, 11, 50.0); // 24, 28, 32: a keyframe on the third frame, the next 8 later
    recorder.StopRecording();
    const std::vector<double> times = KeyframeTimes(RecPath());
    ASSERT_EQ(times.size(), 2u);
    EXPECT_NEAR(times[0], 3 * kDt, 1e-9);
    EXPECT_NEAR(times[1], 11 * kDt, 1e-9);
}

TEST_F(FlightRecorderTest, PartStatesTooLongForARecordAreLeftOutWithoutMisaligningTheFile)
{
    CFakeModel model;
    model.acceleration = CVector3(100, 0, 0);
    model.parts = {{70000, 7}};
    Record(model, 3);
    int records = 0;
    EXPECT_EQ(KeyframeTimes(RecPath(), &records).size(), 3u);
    EXPECT_EQ(records, 12) << "each group's four records, the parts record empty";
    EXPECT_EQ(diag.lines.size(), 1u) << "reported once";
}

// Every value of a keyframe group comes back: the motion, the channels and the part states in
// part order (a part without state takes no byte).
TEST_F(FlightRecorderTest, RecordedFlightPlaysBackThroughTheKeyframes)
{
    CFakeModel model;
    model.acceleration = CVector3(0, 31, 0); // a keyframe every frame
    model.parts = {{2, 0}, {0, 0}, {1, 0}};
    CFlightRecorder recorder;
    ASSERT_TRUE(recorder.StartRecording(RecPath(), 10.0));
    for (int k = 1; k <= 5; ++k)
    {
        model.position = CVector3(static_cast<float>(k), 0, 0);
        model.orientation = CMatrix3::FromEuler(0.1f * k, 0.05f * k, -0.2f * k);
        model.velocity = CVector3(1, 2, 3) * static_cast<float>(k);
        model.angularVelocity = CVector3(0.1f, 0.2f, 0.3f) * static_cast<float>(k);
        for (int i = 0; i < IRecordedModel::kChannelCount; ++i)
            model.channels[i] = 0.01f * static_cast<float>((i + 1) * k);
        model.parts[0].state = static_cast<unsigned char>(k);
        model.parts[2].state = static_cast<unsigned char>(100 + k);
        recorder.RecordFrame(model, 10.0 + k * kDt);
    }
    recorder.StopRecording();

    ASSERT_TRUE(player.Load(RecPath()));
    ASSERT_EQ(player.GetKeyframeCount(), 5);
    CFakeModel& replay = played;
    replay.parts = {{2, 0}, {0, 0}, {1, 0}};
    player.StartPlayback(500.0);
    for (int k = 1; k <= 4; ++k)
    {
        // Just after keyframe k - 1: rounding must not put the time before it.
        ASSERT_TRUE(player.PlayFrame(replay, 500.0 + k * kDt + 1e-6));
        EXPECT_NEAR(replay.position.x, static_cast<float>(k), 1e-4f);
        const CMatrix3 expected = CMatrix3::FromEuler(0.1f * k, 0.05f * k, -0.2f * k);
        for (int e = 0; e < 9; ++e)
            EXPECT_NEAR(replay.orientation[e], expected[e], 1e-4f) << "frame " << k << " element " << e;
        EXPECT_EQ(replay.velocity, CVector3(1, 2, 3) * static_cast<float>(k));
        EXPECT_EQ(replay.angularVelocity, CVector3(0.1f, 0.2f, 0.3f) * static_cast<float>(k));
        for (int i = 0; i < IRecordedModel::kChannelCount; ++i)
            EXPECT_NEAR(replay.channels[i], 0.01f * static_cast<float>((i + 1) * k), 1e-4f) << "channel " << i;
        EXPECT_TRUE(replay.parts[0].state == k && replay.parts[2].state == 100 + k) << "frame " << k;
    }
}

TEST_F(FlightRecorderTest, InterpolatesHalfWayAlongTheShorterArc)
{
    std::vector<unsigned char> rec;
    AppendKeyframe(rec, {1.0, {0, 10, 0}, 3.0f, 0.2f, -0.5f, 0.0f, 1});
    AppendKeyframe(rec, {3.0, {4, 20, -8}, -3.0f, 0.4f, 0.5f, 1.0f, 2});
    Play(rec);
    CFakeModel& model = played;
    ASSERT_TRUE(player.PlayFrame(model, 2.0));

    EXPECT_LT((model.position - CVector3(2.0f, 15.0f, -4.0f)).Length(), 1e-5f);
    // 3 and -3 are 0.28 rad apart across +-pi, not 6 rad apart across 0.
    const CMatrix3 expected = CMatrix3::FromEuler(kPi, 0.3f, 0.0f);
    for (int e = 0; e < 9; ++e)
        EXPECT_NEAR(model.orientation[e], expected[e], 1e-4f) << "element " << e;
    // Velocities are keyframe 0's, not interpolated.
    EXPECT_EQ(model.velocity, CVector3(0, 10, 0));
    EXPECT_NEAR(model.angularVelocity.x, 0.3f, 1e-6f);
    for (float channel : model.channels)
        EXPECT_FLOAT_EQ(channel, 0.5f);
    EXPECT_EQ(model.parts[0].state, 1);
}

TEST_F(FlightRecorderTest, PlaybackWaitsForTheFirstKeyframeAndEndsPastTheLast)
{
    std::vector<unsigned char> rec;
    for (int k = 1; k <= 4; ++k)
        AppendKeyframe(rec, {0.5 * k, {1.0f * k, 0, 0}, 0, 0, 0, 0.25f * k, static_cast<unsigned char>(k)});
    Play(rec);
    CFakeModel& model = played;
    // The time since the playback started, PlayFrame's answer, the motions set so far, the part
    // state and how often it was loaded.
    const struct { double t; bool playing; int motionSets; unsigned char partState; int loads; } frames[] = {
        {0.0, true, 0, 0, 0},  // before the first keyframe: nothing applied, still playing
        {0.49, true, 0, 0, 0},
        {0.5, true, 1, 1, 1},  // the first keyframe
        {0.75, true, 2, 1, 1}, // the same pair: no part state again
        {1.75, true, 3, 3, 3}, // keyframe 1 skipped: once per keyframe passed, ending with keyframe 2's
        {2.0, true, 3, 3, 3},  // exactly the last keyframe: no pair, but not past the end
        {2.01, false, 3, 3, 3}, // the first frame past it ends the playback
    };
    for (const auto& frame : frames)
    {
        SCOPED_TRACE(frame.t);
        EXPECT_EQ(player.PlayFrame(model, frame.t), frame.playing);
        EXPECT_EQ(model.motionSets, frame.motionSets);
        EXPECT_EQ(model.parts[0].state, frame.partState);
        EXPECT_EQ(model.parts[0].loads, frame.loads);
    }
    EXPECT_NEAR(model.position.x, 3.5f, 1e-5f) << "the model flies on from the last played state";
}

TEST_F(FlightRecorderTest, PartsNeverGetMoreThanTheRestOfTheirRecord)
{
    std::vector<unsigned char> rec;
    for (double t : {0.0, 1.0})
    {
        AppendRecord(rec, CFlightRecorder::RT_TIME, Bytes<double>({t}));
        AppendRecord(rec, CFlightRecorder::RT_PARTS, {1, 2, 3, 4, 5});
        AppendRecord(rec, 77, {9, 9, 9, 9, 9, 9, 9, 9}); // another reader's record follows
    }
    Play(rec);
    CFakeModel& model = played;
    // Takes 2; wants 4 but only 3 remain (keeps its state); claims 1000 of the 3; gets nothing.
    model.parts = {{2, 0}, {4, 0xEE}, {0, 0}, {0, 0}};
    model.parts[2].claims = 1000;
    ASSERT_TRUE(player.PlayFrame(model, 0.5));
    const int given[] = {5, 3, 3, 0};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(model.parts[i].lastCount, given[i]) << "part " << i;
    EXPECT_TRUE(model.parts[0].state == 1 && model.parts[1].state == 0xEE);
    EXPECT_EQ(model.motionSets, 0) << "no motion records: nothing to interpolate";
}

TEST_F(FlightRecorderTest, RecordsOfTheWrongLengthOrNotANumberAreIgnored)
{
    std::vector<unsigned char> rec;
    AppendRecord(rec, CFlightRecorder::RT_MOTION, std::vector<unsigned char>(48, 0)); // before any time
    AppendKeyframe(rec, {0.0, {1, 1, 1}, 0, 0, 0, 0.5f, 1});
    // Wrong lengths: a short motion record, a long channel record, a time record of 10 bytes.
    AppendRecord(rec, CFlightRecorder::RT_MOTION, std::vector<unsigned char>(44, 0xFF));
    AppendRecord(rec, CFlightRecorder::RT_CHANNELS, std::vector<unsigned char>(40, 0x7F));
    AppendRecord(rec, CFlightRecorder::RT_TIME, std::vector<unsigned char>(4, 0));
    // A time that is not a number would make the bracketing search run for ever.
    AppendRecord(rec, CFlightRecorder::RT_TIME, Bytes<double>({std::nan("")}));
    AppendRecord(rec, CFlightRecorder::RT_MOTION, Bytes<float>({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, INFINITY}));
    AppendKeyframe(rec, {2.0, {3, 3, 3}, 0, 0, 0, 1.5f, 2});

    Play(rec);
    CFakeModel& model = played;
    EXPECT_EQ(player.GetKeyframeCount(), 2);
    ASSERT_TRUE(player.PlayFrame(model, 1.0));
    EXPECT_NEAR(model.position.x, 2.0f, 1e-5f);
    EXPECT_FLOAT_EQ(model.channels[4], 1.0f);
    EXPECT_FALSE(player.PlayFrame(model, 2.5));
    EXPECT_EQ(diag.lines.size(), 1u);
    EXPECT_NE(diag.lines[0].find("test.rec: 5 records"), std::string::npos) << diag.lines[0];
}

TEST_F(FlightRecorderTest, TheWalkEndsAtABadLength)
{
    std::vector<unsigned char> rec;
    AppendKeyframe(rec, {0.0, {}, 0, 0, 0, 0, 1});
    AppendKeyframe(rec, {1.0, {}, 0, 0, 0, 0, 2});
    std::vector<unsigned char> zeroLength = rec;
    AppendRecord(zeroLength, CFlightRecorder::RT_TIME, Bytes<double>({2.0}), 0);
    AppendKeyframe(zeroLength, {3.0, {}, 0, 0, 0, 0, 3});
    std::vector<unsigned char> pastTheEnd = rec;
    AppendRecord(pastTheEnd, CFlightRecorder::RT_TIME, Bytes<double>({2.0}), 200);

    for (const auto& bytes : {zeroLength, pastTheEnd})
    {
        ASSERT_TRUE(player.LoadBytes(bytes, "test.rec"));
        EXPECT_TRUE(player.GetKeyframeCount() == 2 && player.GetRecordCount() == 8);
    }
}

TEST_F(FlightRecorderTest, TruncatedAndGarbageRecordingsNeverCrash)
{
    std::vector<unsigned char> rec;
    for (int k = 0; k < 5; ++k)
        AppendKeyframe(rec, {k * 0.5, {1.0f * k, 0, 0}, 0.5f * k, 0, 0, 0, static_cast<unsigned char>(k)});
    for (size_t size = 0; size <= rec.size(); ++size)
    {
        CFlightRecorder player;
        const bool loaded = player.LoadBytes(std::vector<unsigned char>(rec.begin(), rec.begin() + size), "cut.rec");
        // Every keyframe whose time record is complete counts (a group is 117 bytes here).
        EXPECT_EQ(loaded, size >= 117 + 14) << size;
        fuzz::FlightRecording(rec.data(), size);
    }
    std::mt19937 random(42);
    for (int trial = 0; trial < 300; ++trial)
    {
        std::vector<unsigned char> garbage = rec;
        for (int flips = 0; flips < 1 + trial % 8; ++flips)
            garbage[random() % garbage.size()] = static_cast<unsigned char>(random());
        fuzz::FlightRecording(garbage.data(), garbage.size());
        std::vector<unsigned char> noise(random() % 400);
        for (unsigned char& byte : noise)
            byte = static_cast<unsigned char>(random() % 8); // small values: plausible types
        fuzz::FlightRecording(noise.data(), noise.size());
    }
}

TEST_F(FlightRecorderTest, AFailedLoadKeepsThePlaybackGoing)
{
    std::vector<unsigned char> rec;
    AppendKeyframe(rec, {0.0, {}, 0, 0, 0, 0, 1});
    AppendKeyframe(rec, {1.0, {}, 0, 0, 0, 0, 2});
    Play(rec);
    EXPECT_FALSE(player.Load((dir.Path() / "missing.rec").string()));
    EXPECT_FALSE(player.LoadBytes(std::vector<unsigned char>(rec.begin(), rec.begin() + 100), "short.rec"));
    EXPECT_EQ(player.GetKeyframeCount(), 2);
    EXPECT_TRUE(player.PlayFrame(played, 0.5));
}

TEST_F(FlightRecorderTest, StartRecordingReportsAFileThatDoesNotOpen)
{
    CFakeModel model;
    model.acceleration = CVector3(100, 0, 0);
    CFlightRecorder recorder;
    EXPECT_FALSE(recorder.StartRecording((dir.Path() / "no-such-folder" / "Flight.rec").string(), 0.0));
    EXPECT_FALSE(recorder.IsWriting());
    RecordFrames(recorder, model, 10); // the keyframes go nowhere
    recorder.StopRecording();
    EXPECT_EQ(diag.lines.size(), 1u);

    EXPECT_TRUE(recorder.StartRecording(RecPath(), 0.0));
    RecordFrames(recorder, model, 2);
    // Each keyframe reaches the disk at once; the recording replaces Flight.rec when it stops.
    EXPECT_EQ(KeyframeTimes(RecPath() + ".tmp").size(), 2u);
    EXPECT_TRUE(recorder.StopRecording());
    EXPECT_EQ(KeyframeTimes(RecPath()).size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(RecPath() + ".tmp"));
}

TEST_F(FlightRecorderTest, RecordingOnAFullDiskIsReportedAndKeepsThePreviousOne)
{
    CFakeModel model;
    model.acceleration = CVector3(100, 0, 0);
    Record(model, 3);
    const std::string previous = dir.Read("Flight.rec");

    CFlightRecorder recorder;
    std::filesystem::create_symlink("/dev/full", RecPath() + ".tmp");
    ASSERT_TRUE(recorder.StartRecording(RecPath(), 0.0));
    RecordFrames(recorder, model, 5);
    EXPECT_TRUE(recorder.HasWriteFailed());
    EXPECT_FALSE(recorder.StopRecording());
    EXPECT_EQ(dir.Read("Flight.rec"), previous);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(RecPath() + ".tmp")));
    EXPECT_TRUE(diag.Contains("Flight.rec"));
}

TEST(RecordedModel, ChannelsAreTheInputVariablesByNameAndMotionGoesToTheBody)
{
    // Declared out of order: the adapter must find the channels by name, not by position.
    CVariableTable input("Input");
    for (const char* name : {"V_CH3", "V_CH1", "V_CH2", "V_CH9", "V_CH5", "V_CH4", "V_CH6", "V_CH8", "V_CH7"})
        input.Add(name);
    CModelServices services;
    services.globalVariables = &input;
    CModel model(services);
    CTokenFile file;
    file.LoadText("", "empty.mod");
    model.InitFromFile(file);
    CRecordedModel recorded(model);

    for (int channel = 0; channel < IRecordedModel::kChannelCount; ++channel)
        recorded.SetChannel(channel, 0.1f * static_cast<float>(channel + 1));
    for (int channel = 1; channel <= 9; ++channel)
        EXPECT_FLOAT_EQ(input.Find("V_CH" + std::to_string(channel))->GetValue(), 0.1f * static_cast<float>(channel));
    EXPECT_FLOAT_EQ(recorded.GetChannel(6), 0.7f);

    const CMatrix3 orientation = CMatrix3::FromEuler(0.3f, 0.2f, 0.1f);
    recorded.SetMotion(CVector3(1, 2, 3), orientation, CVector3(4, 5, 6), CVector3(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(model.GetBody().GetPosition(), CVector3(1, 2, 3));
    EXPECT_EQ(model.GetBody().GetOrientation(), orientation);
    EXPECT_EQ(model.GetBody().GetVelocity(), CVector3(4, 5, 6));
    EXPECT_EQ(recorded.GetAngularVelocity(), CVector3(0.1f, 0.2f, 0.3f));
}

TEST(RecordedModel, AModelWithoutInputVariablesReadsZeroAndIgnoresWrites)
{
    CModel model;
    CRecordedModel recorded(model);
    recorded.SetChannel(0, 0.5f);
    EXPECT_EQ(recorded.GetChannel(0), 0.0f);
    EXPECT_EQ(recorded.GetChannel(-1), 0.0f);
    EXPECT_EQ(recorded.GetPartCount(), 0);
}
