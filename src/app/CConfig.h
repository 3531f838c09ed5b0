#pragma once
// The configuration the pilot sets up once and keeps between runs, Output/Config.txt: the
// "Input" channel variables, the input maps and the selected one, the keyboard axes (owned by
// the application, read and written here), the key of every command, the selected model, the
// display driver and video mode, the transmitter's serial port and the video swap interval.
//
// Starting up (Load):
//   1. Output/Config.txt when it exists;
//   2. when it is missing or broken, Output/Config.bak (the configuration saved before), then
//      Output/Config.tmp (a save cut off before its rename) if it reads;
//   3. else the defaults shipped in Data/Config/Config.txt (a first run).
// A file without any input map keeps everything else and takes the shipped maps (the load message
// says so). A broken file (an unknown axis, a bad keyboard-axis block) is described in the
// load message and kept for the pilot to look at as Output/Config.bad, or Config.bad.2, ... when
// an older one is there. A file that names fewer commands than there are (cut short) gives the
// missing ones their default keys, and the load message says the file was incomplete. Only when
// the defaults themselves cannot be read does the load fail.
//
// Saving replaces the file so that a crash at any moment leaves a readable configuration: the
// old Config.txt is first copied to Config.bak; the whole text goes to Config.tmp, is flushed to
// disk and renamed over Config.txt in one step. A failed write leaves Config.txt as it was.

#include <array>
#include <string>

#include "input/CJoystickCalibrationSet.h"
#include "input/CInputMapSet.h"
#include "input/CKeyDefTable.h"
#include "model/CVariableTable.h"

class CKeyboardAxes;
class CTokenFile;

class CConfig
{
public:
    static constexpr const char* kFileName = "Config.txt";
    static constexpr const char* kTempName = "Config.tmp";
    static constexpr const char* kBackupName = "Config.bak";
    static constexpr const char* kSaveFailureName = "ConfigSaveError.txt";
    static constexpr const char* kBadName = "Config.bad";
    static constexpr int kDefaultComPort = 1;
    static constexpr size_t kMaxComDevice = 260;
    static constexpr int kDefaultSwapInterval = 0;

    // keyboardAxes: the application's, not owned; read and written with the file.
    explicit CConfig(CKeyboardAxes& keyboardAxes);

    // Loads from outputFolder/Config.txt with the fall-backs above (defaultsPath is the shipped
    // Data/Config/Config.txt). outMessage gets what the pilot should be told ("" when nothing
    // went wrong); false only when no configuration could be read at all.
    bool Load(const std::string& outputFolder, const std::string& defaultsPath, std::string& outMessage);
    // Reads one file, nothing else; false with a message naming the file and the problem.
    bool LoadFile(const std::string& path, std::string& outMessage);
    // The same from text (name is used in messages).
    bool LoadText(const std::string& text, const std::string& name, std::string& outMessage);

    // The safe replacement into outputFolder; false (reported, and described by SaveError) when
    // Config.txt could not be written, in which case the previous file is untouched.
    bool Save(const std::string& outputFolder);
    const std::string& SaveError() const { return m_saveError; }
    // After a failed save at exit, when nobody is left to read a message: a note next to the
    // file (when anything can still be written there) that the next start shows once. False
    // when the note could not be written either.
    bool WriteSaveFailureNote(const std::string& outputFolder) const;
    // The pilot's text of a note left by a failed save, removed once read ("" when none).
    static std::string TakeSaveFailureNote(const std::string& outputFolder);
    // The whole file text as Save writes it.
    std::string FormatText() const;

    bool IsValid() const { return m_valid; }
    CVariableTable& InputVariables() { return m_inputVariables; }
    CInputMapSet& InputMaps() { return m_inputMaps; }
    const CInputMapSet& InputMaps() const { return m_inputMaps; }
    CKeyDefTable& KeyDefs() { return m_keyDefs; }
    const CKeyDefTable& KeyDefs() const { return m_keyDefs; }
    CKeyboardAxes& KeyboardAxes() { return m_keyboardAxes; }

    const std::string& GetSelectedModel() const { return m_selectedModel; }
    void SetSelectedModel(const std::string& file) { m_selectedModel = file.substr(0, 260); }
    // The flying site's name (FLYING_SITE); the flight screen checks it against the sites it knows.
    const std::string& GetFlyingSite() const { return m_flyingSite; }
    void SetFlyingSite(const std::string& name) { m_flyingSite = name.substr(0, 64); }
    const std::string& GetDriver() const { return m_driver; }
    void SetDriver(const std::string& driver) { m_driver = driver.substr(0, 200); }
    const std::string& GetVideoMode() const { return m_videoMode; }
    void SetVideoMode(const std::string& mode) { m_videoMode = mode.substr(0, 200); }
    // The transmitter interface reads the port; the application keeps the swap interval here
    // so that the value it runs with is the one written back.
    int GetComPort() const { return m_comPort; }
    void SetComPort(int port) { m_comPort = port; }
    // COM_DEVICE: a device path that, when set, wins over the port number (any serial device,
    // a pseudo-terminal included). Quotes and line breaks cannot be stored and are dropped.
    const std::string& GetComDevice() const { return m_comDevice; }
    void SetComDevice(const std::string& path);
    // JOYSTICK_CALIBRATION: the measured travel of each joystick's X .. RZ, SL0, SL1 (raw units)
    // by device, read by the input system every frame.
    CJoystickCalibrationSet& JoystickCalibrations() { return m_joystickCalibrations; }
    const CJoystickCalibrationSet& JoystickCalibrations() const { return m_joystickCalibrations; }
    int GetSwapInterval() const { return m_swapInterval; }
    void SetSwapInterval(int interval) { m_swapInterval = interval; }

private:
    void Reset();
    bool Read(CTokenFile& file, std::string& outMessage);
    void ReadJoystickCalibration(CTokenFile& file);
    // Notes which commands the file's KEY_DEF blocks name.
    void FindNamedKeyDefs(const CTokenFile& file);
    // Gives every command no KEY_DEF block named its key in defaults, or the command's own
    // default key without a table; counts them.
    void DefaultMissingKeyDefs(const std::string& fileName, const CKeyDefTable* defaults);
    // The same with the keys of the shipped configuration file, when it reads.
    void TakeMissingKeysFrom(const std::string& defaultsPath);
    // The shipped maps for a file that had none.
    void TakeMissingMapsFrom(const std::string& defaultsPath);
    // What the pilot is told about a file with key definitions missing ("" when none were).
    std::string IncompleteNote(const std::string& path) const;

    bool m_valid = false;
    CVariableTable m_inputVariables{"Input"};
    CInputMapSet m_inputMaps;
    std::string m_selectedModel; // at most 260 characters
    std::string m_flyingSite = "FlyingSite"; // at most 64 characters
    CKeyDefTable m_keyDefs;
    std::string m_driver;    // at most 200 characters
    std::string m_videoMode; // at most 200 characters
    int m_comPort = kDefaultComPort;
    std::string m_comDevice; // at most 260 characters
    CJoystickCalibrationSet m_joystickCalibrations;
    int m_swapInterval = kDefaultSwapInterval;
    int m_missingKeyDefs = 0; // commands the last file read named in no KEY_DEF block
    bool m_missingMaps = false; // the last file read had no INPUT_MAP block
    std::array<bool, kUserCommandCount> m_namedKeyDefs{}; // by command: named in the last file read
    std::string m_saveError;  // why the last Save failed
    CKeyboardAxes& m_keyboardAxes; // not owned: the application's
};
