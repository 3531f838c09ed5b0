#pragma once
// The guided measurement behind the calibration screen, kept apart from the drawing:
//   step 0: waits until the interface and then the transmitter have been seen (once seen, they
//           count as seen for the rest of the run);
//   step 1: sticks at rest: every frame each channel's min, centre and max take its count;
//           Next() moves on;
//   step 2: sticks moved to their ends: a count (of any frame received, not only the last one
//           of each update) beyond an end by more than 2 moves that end to 2 counts inside it,
//           so that full deflection still reaches the clamp; Next() ends the measurement, which
//           is then judged valid, and saves it at once;
//   step 3: finished: the text says "saved" only when every file was written, and otherwise
//           names the file that was not; a joystick alone whose sticks were not moved through
//           their travel keeps its calibration, and the text says so.
// Abort() in steps 0..2 discards the measurement. Leave() reads TXCalibr.txt back unless a
// calibration was finished, so nothing measured survives a cancel.

#include <functional>
#include <string>

#include "input/CRadioInterface.h"

class CJoystickCalibrator;

class CTxCalibrator
{
public:
    enum EStep
    {
        STEP_DETECT = 0,
        STEP_CENTRE = 1,
        STEP_MOVE = 2,
        STEP_FINISHED = 3,
    };
    static constexpr int kEndMargin = 2; // counts

    explicit CTxCalibrator(CRadioInterface& radio) : m_radio(radio) {}

    // A joystick measured in the same steps (null: none). With a joystick present, step 0 does
    // not wait for the transmitter, and a transmitter never seen keeps its calibration.
    void SetJoystick(CJoystickCalibrator* joystick, bool present);
    // What keeps a changed joystick calibration on disk (the configuration's save; true when
    // written) and the file it writes, named to the pilot when it fails.
    void SetJoystickStore(std::function<bool()> store, std::string fileName);

    // Counts reset to 0, 128, 254; step 0.
    void Start();
    // The work of the current step for this frame (after the radio's update).
    void Update();
    // Return: steps 1 and 2 move on; the end of step 2 saves. False when the step does not take it.
    bool Next();
    // Escape in steps 0..2: the measurement is discarded.
    void Abort();
    // True, restarting at step 0, when the finished calibration was invalid (the Y answer).
    bool Retry();
    // Reloads the file unless a transmitter calibration was finished (saved or not: one that
    // could not be written is flown until the program ends).
    void Leave();

    EStep GetStep() const { return m_step; }
    bool IsValid() const { return m_valid; }
    // The string-table id of the text for the current step.
    const char* StepStringId() const;
    // The file a finished calibration could not be written to ("" when all were).
    const std::string& UnsavedFile() const { return m_unsavedFile; }

private:
    CRadioInterface& m_radio; // not owned: the input system's transmitter
    CJoystickCalibrator* m_joystick = nullptr; // not owned: the screen's
    bool m_joystickPresent = false;
    EStep m_step = STEP_DETECT;
    bool m_interfaceSeen = false;
    bool m_radioSeen = false;
    bool m_valid = false;
    std::function<bool()> m_joystickStore;
    std::string m_joystickFile;
    std::string m_unsavedFile;
    bool m_changed = false; // something new was kept (or meant to be)

    void Save();
};
