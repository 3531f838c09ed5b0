#pragma once
// Flight recording and playback: Output/Flight.rec.
//
// File (binary, little-endian, no header): records of
//   u32 type | u16 length (bytes, including these 6) | payload
//   type 0 time      length 14: f64 seconds since the recording started
//   type 1 motion    length 54: f32 position xyz, velocity xyz, angular velocity xyz (world),
//                               orientation angles a b c (CMatrix3::ToEulerAngles, radians)
//   type 2 channels  length 42: f32 V_CH1 .. V_CH9
//   type 3 parts     length 6 + n: every part's SaveState bytes, in part order
// A keyframe is the group 0, 1, 2, 3. Other types are skipped when read.
//
// Recording is adaptive: each frame adds |linear acceleration| and |angular acceleration| to two
// accumulators; when either exceeds 30 a keyframe is written and both restart from 0. Calm flight
// gives few keyframes, manoeuvres many; with a constant acceleration A a keyframe comes every
// floor(30 / A) + 1 frames and the first one not at time 0. The accumulators belong to the
// recorder, not to a recording: what a previous recording left over counts towards the next.
//
// Playback finds the keyframes i, i + 1 that bracket the playback time, starting the search at
// the first keyframe whose part states are not applied yet, and interpolates with weight f for
// the later one: position and channels linearly, each orientation angle along the shorter arc;
// velocities are those of keyframe i. Part states are applied once a keyframe is reached.
//
// A recording is input from disk and may be truncated or garbage: records whose length does not
// fit their type, or whose numbers are not finite, are skipped (and counted in one message); a
// length below 6 or past the end of the data ends the walk; a part never gets more bytes than
// remain in its parts record.
//
// Times are passed in explicitly (seconds of simulated time, the frame clock's), so the flight
// process decides which clock drives the recorder.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class IRecordedModel;

class CFlightRecorder
{
public:
    static constexpr float kKeyframeThreshold = 30.0f; // per-frame |a| (m/s^2) or |alpha| (rad/s^2), summed
    static constexpr int kHeaderLength = 6;
    static constexpr int kTimeLength = 14;
    static constexpr int kMotionLength = 54;
    static constexpr int kChannelLength = 42;
    static constexpr int kMaxRecordLength = 0xffff;

    enum ERecordType : uint32_t
    {
        RT_TIME = 0,
        RT_MOTION = 1,
        RT_CHANNELS = 2,
        RT_PARTS = 3,
    };

    CFlightRecorder();
    ~CFlightRecorder();
    CFlightRecorder(const CFlightRecorder&) = delete;
    CFlightRecorder& operator=(const CFlightRecorder&) = delete;

    // Closes any output file and starts writing path + ".tmp"; the recording's times count from
    // simulatedTime. False (reported) when the file does not open: the flight process still
    // records, and the keyframes go nowhere. The previous recording at path stays as it is
    // until StopRecording replaces it.
    bool StartRecording(const std::string& path, double simulatedTime);
    // Flushes the recording to disk and renames it over path. When any write, the flush or the
    // rename failed (a full disk), the previous recording is kept, the temporary file removed
    // and false comes back (reported); true also when nothing was being written.
    bool StopRecording();
    bool IsWriting() const { return m_output != nullptr; }
    // Whether a keyframe of the current recording could not be written: it will not be kept.
    bool HasWriteFailed() const { return m_writeFailureReported; }

    // Once per frame while recording, after the model step.
    void RecordFrame(IRecordedModel& model, double simulatedTime);

    // Reads a recording; true when it holds at least two keyframes. On false the recorder keeps
    // whatever it had loaded before, so a playback in progress goes on.
    bool Load(const std::string& path);
    // The same on bytes in memory; name is for the messages.
    bool LoadBytes(std::vector<unsigned char> bytes, const std::string& name);

    void StartPlayback(double simulatedTime);
    // Once per frame while playing, after the model step. False when the playback has ended (the
    // model then flies on from the last applied state).
    bool PlayFrame(IRecordedModel& model, double simulatedTime);

    int GetRecordCount() const { return static_cast<int>(m_recordIndex.size()); }
    int GetKeyframeCount() const { return static_cast<int>(m_keyframes.size()); }
    double GetKeyframeTime(int index) const { return m_keyframes[static_cast<size_t>(index)].time; }
    double GetPlaybackTime() const { return m_playbackTime; } // s since StartPlayback

private:
    // One keyframe of a loaded recording: its time record and the records attached to it.
    struct TKeyframe
    {
        size_t timeRecord = 0; // index into the record index
        double time = 0.0;     // s since the recording started
        bool hasMotion = false;
        float motion[12] = {};
        bool hasChannels = false;
        float channels[9] = {};
        bool hasParts = false;
        size_t partsOffset = 0; // payload start in m_bytes
        size_t partsLength = 0; // payload bytes
    };

    void WriteKeyframe(IRecordedModel& model, double simulatedTime);
    void ApplyParts(IRecordedModel& model, const TKeyframe& keyframe);
    // Finds i with time(i) <= t < time(i + 1); false when t lies outside the recording.
    bool FindBracket(double t, int& outIndex) const;

    // Recording.
    std::FILE* m_output = nullptr; // owned; open while recording
    std::string m_outputPath;      // for messages
    double m_recordingStart = 0.0; // s, simulated time
    bool m_writeFailureReported = false;
    bool m_partsOverflowReported = false;
    float m_linearSum = 0.0f;  // sum of |a| (m/s^2) over the frames since the last keyframe
    float m_angularSum = 0.0f; // sum of |alpha| (rad/s^2)

    // The loaded recording.
    std::vector<unsigned char> m_bytes;
    std::vector<size_t> m_recordIndex; // offset of every record walked, in file order
    std::vector<TKeyframe> m_keyframes;

    // Playback.
    double m_playbackStart = 0.0; // s, simulated time
    double m_playbackTime = 0.0;  // s since the playback started
    int m_nextKeyframe = 0;       // the first keyframe whose part states are not applied yet
};
