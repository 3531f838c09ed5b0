#include "app/CConfig.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CFileText.h"
#include "data/CTokenFile.h"
#include "input/CKeyboardAxes.h"
#include "input/InputIds.h"

namespace
{
bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::string JoinPath(const std::string& folder, const char* name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// Where a broken Config.txt is kept: Config.bad, or when an older one is there (the pilot may
// not have looked at it yet) the first free Config.bad.2, Config.bad.3, ...; "" when all are
// taken.
std::string FreeBadPath(const std::string& outputFolder)
{
    const std::string first = JoinPath(outputFolder, CConfig::kBadName);
    if (!FileExists(first))
        return first;
    for (int n = 2; n < 100; ++n)
    {
        const std::string path = first + "." + std::to_string(n);
        if (!FileExists(path))
            return path;
    }
    return std::string();
}

void WriteBanner(CFileText& file, const char* dashes, const char* title)
{
    file.WriteLine(dashes);
    file.WriteLine(title);
    file.WriteLine(dashes);
}
} // namespace

CConfig::CConfig(CKeyboardAxes& keyboardAxes)
    : m_keyboardAxes(keyboardAxes)
{
}

void CConfig::Reset()
{
    m_valid = false;
    m_inputVariables.Clear();
    m_inputMaps.Clear();
    m_missingMaps = false;
    m_keyDefs.ResetToCommands();
    m_selectedModel.clear();
    m_flyingSite = "FlyingSite";
    m_driver.clear();
    m_videoMode.clear();
    m_comPort = kDefaultComPort;
    m_comDevice.clear();
    m_joystickCalibrations.Clear();
    m_swapInterval = kDefaultSwapInterval;
    m_missingKeyDefs = 0;
    std::string ignored;
    CTokenFile empty;
    empty.LoadText("", "");
    m_keyboardAxes.Read(empty, ignored); // every slot back to "not configured"
}

bool CConfig::Read(CTokenFile& file, std::string& outMessage)
{
    Reset();
    FindNamedKeyDefs(file); // before the readers consume the blocks
    // The maps hold pointers into the variable table, so the variables come first.
    m_inputVariables.Load(file, "Input", nullptr);
    if (!m_inputMaps.Read(file, m_inputVariables, outMessage))
    {
        if (m_inputMaps.GetCount() > 0)
        {
            if (outMessage.empty())
                outMessage = file.FileName() + ": no usable INPUT_MAP";
            return false;
        }
        // No map at all (the section cut away, or its last map deleted by hand): the keys, axes
        // and the rest are still the pilot's, so they stay; the maps come from the defaults.
        outMessage.clear();
        m_missingMaps = true;
    }
    if (!m_keyboardAxes.Read(file, outMessage))
    {
        if (outMessage.empty())
            outMessage = file.FileName() + ": bad AXIS_KEYBOARD block";
        return false;
    }
    std::string warnings;
    m_keyDefs.Read(file, warnings);
    if (!warnings.empty())
        DiagPrint("%s", warnings.back() == '\n' ? warnings.c_str() : (warnings + "\n").c_str());
    DefaultMissingKeyDefs(file.FileName(), nullptr);

    file.GetString("SELECTED_MODEL", m_selectedModel, "", 261);
    file.GetString("FLYING_SITE", m_flyingSite, "FlyingSite", 65);
    file.GetString("DRIVER", m_driver, "", 201);
    file.GetString("VIDEO_MODE", m_videoMode, "", 201);
    file.GetInt("COM_PORT", m_comPort, kDefaultComPort);
    std::string comDevice;
    file.GetString("COM_DEVICE", comDevice, "", kMaxComDevice + 1);
    SetComDevice(comDevice);
    ReadJoystickCalibration(file);
    file.GetInt("SWAP_INTERVAL", m_swapInterval, kDefaultSwapInterval);
    m_valid = true;
    return true;
}

void CConfig::FindNamedKeyDefs(const CTokenFile& file)
{
    m_namedKeyDefs.fill(false);
    CTokenFile copy;
    copy.LoadText(file.Text(), file.FileName());
    for (CTokenFile* block; (block = copy.OpenBlock("KEY_DEF")) != nullptr;)
    {
        std::string function;
        block->GetToken("FUNCTION", function, "", 100);
        const int command = LookupUserCommand(function.c_str());
        if (command >= 0 && command < kUserCommandCount)
            m_namedKeyDefs[static_cast<size_t>(command)] = true;
    }
}

void CConfig::DefaultMissingKeyDefs(const std::string& fileName, const CKeyDefTable* defaults)
{
    // A file cut short (a full disk, a crash while it was written by hand) or written before a
    // command existed names fewer commands than there are: those keep their default key rather
    // than none, so the arrows and the throttle still work. A command named with no key stays
    // unbound: that is the pilot's choice.
    m_missingKeyDefs = 0;
    for (uint32_t command = 0; command < kUserCommandCount; ++command)
    {
        if (m_namedKeyDefs[command])
            continue;
        CKeyDef& def = m_keyDefs.Get(command);
        def.SetKeyFromText(defaults != nullptr ? defaults->GetKeyText(command) : std::string(def.defaultKeyText));
        ++m_missingKeyDefs;
    }
    if (m_missingKeyDefs > 0 && defaults == nullptr)
        DiagPrint("%s: %d of the %d key definitions are missing; they take their default keys\n", fileName.c_str(),
                  m_missingKeyDefs, kUserCommandCount);
}

void CConfig::TakeMissingMapsFrom(const std::string& defaultsPath)
{
    if (!m_missingMaps)
        return;
    CTokenFile file;
    std::string problem;
    if (!file.Load(defaultsPath) || !m_inputMaps.Read(file, m_inputVariables, problem))
        DiagPrint("CConfig: no input maps, and none from %s either: %s\n", defaultsPath.c_str(), problem.c_str());
}

void CConfig::TakeMissingKeysFrom(const std::string& defaultsPath)
{
    if (m_missingKeyDefs == 0)
        return;
    // The shipped configuration's keys are the ones the pilot knows (and the README lists).
    CTokenFile file;
    if (!file.Load(defaultsPath))
        return;
    CKeyDefTable defaults;
    std::string warnings;
    defaults.Read(file, warnings);
    DefaultMissingKeyDefs(defaultsPath, &defaults);
}

std::string CConfig::IncompleteNote(const std::string& path) const
{
    std::string note;
    if (m_missingKeyDefs > 0)
        note = path + " was incomplete: " + std::to_string(m_missingKeyDefs) + " of the " +
               std::to_string(kUserCommandCount) + " key definitions were missing and take their default keys.";
    if (m_missingMaps)
        note += std::string(note.empty() ? "" : "\n") + path +
                " holds no input map: the shipped maps are used, everything else is kept.";
    return note;
}

bool CConfig::LoadFile(const std::string& path, std::string& outMessage)
{
    outMessage.clear();
    CTokenFile file;
    if (!file.Load(path))
    {
        Reset();
        outMessage = path + ": cannot be read";
        return false;
    }
    return Read(file, outMessage);
}

bool CConfig::LoadText(const std::string& text, const std::string& name, std::string& outMessage)
{
    outMessage.clear();
    CTokenFile file;
    if (!file.LoadText(text, name))
    {
        Reset();
        outMessage = name + ": cannot be read";
        return false;
    }
    return Read(file, outMessage);
}

bool CConfig::Load(const std::string& outputFolder, const std::string& defaultsPath, std::string& outMessage)
{
    outMessage.clear();
    const std::string path = JoinPath(outputFolder, kFileName);
    const bool present = FileExists(path);
    if (present)
    {
        std::string problem;
        if (LoadFile(path, problem))
        {
            outMessage = IncompleteNote(path);
            TakeMissingKeysFrom(defaultsPath);
            TakeMissingMapsFrom(defaultsPath);
            return true;
        }
        // A broken file must not keep the program from starting, and must not be lost either:
        // the pilot may have spent time on those maps.
        const std::string badPath = FreeBadPath(outputFolder);
        const bool kept = !badPath.empty() && RenameFile(path, badPath);
        outMessage = "The configuration could not be read:\n" + problem + "\n\n" +
                     (kept ? "It was kept as " + badPath : "It could not be moved to " + JoinPath(outputFolder, kBadName)) +
                     ".";
        DiagPrint("CConfig: %s\n", problem.c_str());
    }

    // The configuration saved before, then one whose save was cut off before its rename.
    for (const char* name : {kBackupName, kTempName})
    {
        const std::string fallback = JoinPath(outputFolder, name);
        std::string problem;
        if (!FileExists(fallback))
            continue;
        if (LoadFile(fallback, problem))
        {
            if (!outMessage.empty())
                outMessage += "\n";
            else
                outMessage = path + " is missing.\n";
            outMessage += "Kestro starts with the configuration found in " + fallback + ".";
            const std::string note = IncompleteNote(fallback);
            if (!note.empty())
                outMessage += "\n" + note;
            TakeMissingKeysFrom(defaultsPath);
            TakeMissingMapsFrom(defaultsPath);
            DiagPrint("CConfig: %s\n", outMessage.c_str());
            return true;
        }
        DiagPrint("CConfig: %s\n", problem.c_str());
        if (outMessage.empty())
            outMessage = path + " is missing.";
        outMessage += "\n" + fallback + " cannot be read either.";
    }

    if (!outMessage.empty())
        outMessage += "\nKestro starts with the default configuration.";
    std::string problem;
    if (LoadFile(defaultsPath, problem) && !m_missingMaps)
    {
        m_missingKeyDefs = 0; // the shipped defaults are what they are
        return true;
    }
    if (m_missingMaps)
    {
        problem = defaultsPath + ": no INPUT_MAP block";
        m_valid = false;
    }
    if (!outMessage.empty())
        outMessage += "\n\n";
    outMessage += "The default configuration could not be read either:\n" + problem;
    return false;
}

void CConfig::SetComDevice(const std::string& path)
{
    std::string clean;
    for (char c : path)
        if (c != '"' && c != '\r' && c != '\n')
            clean += c;
    m_comDevice = clean.substr(0, kMaxComDevice);
}

std::string CConfig::FormatText() const
{
    CFileText file;
    WriteBanner(file, "//--------------------", "// Configuration File");
    file.WriteLine("");
    file.WriteLine("");
    m_inputVariables.Save(file);
    m_inputMaps.Write(file);
    m_keyboardAxes.Write(file);
    m_keyDefs.Write(file);

    WriteBanner(file, "//----------------", "// Selected Model");
    file.WriteFormat(".SELECTED_MODEL  \"%s\"\r\n\r\n\r\n", m_selectedModel.c_str());
    WriteBanner(file, "//----------------", "// Flying Site");
    file.WriteFormat(".FLYING_SITE  \"%s\"\r\n\r\n\r\n", m_flyingSite.c_str());
    WriteBanner(file, "//----------------", "// Selected Driver and Video Mode");
    file.WriteFormat(".DRIVER  \"%s\"\r\n", m_driver.c_str());
    file.WriteFormat(".VIDEO_MODE  \"%s\"\r\n\r\n\r\n", m_videoMode.c_str());
    WriteBanner(file, "//----------------", "// Selected Com Port for Radio TX Interface");
    file.WriteFormat(".COM_PORT  %i\r\n", m_comPort);
    file.WriteFormat(".COM_DEVICE  \"%s\"\r\n\r\n\r\n", m_comDevice.c_str());
    WriteBanner(file, "//----------------", "// Video Sync");
    file.WriteFormat(".SWAP_INTERVAL  %i\r\n\r\n\r\n", m_swapInterval);
    WriteBanner(file, "//----------------", "// Joystick Calibration");
    m_joystickCalibrations.Write(file);
    return file.Text();
}

void CConfig::ReadJoystickCalibration(CTokenFile& file)
{
    if (CTokenFile* block = file.OpenBlock("JOYSTICK_CALIBRATION"))
        m_joystickCalibrations.Read(*block, file.FileName());
}

bool CConfig::WriteSaveFailureNote(const std::string& outputFolder) const
{
    char when[32] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", local);
    const std::string text = StringPrintf("The settings could not be saved when Kestro closed on %s; what was changed "
                                          "in that session is lost.\n%s\n",
                                          when, m_saveError.c_str());
    return ReplaceFile(JoinPath(outputFolder, kSaveFailureName), text);
}

std::string CConfig::TakeSaveFailureNote(const std::string& outputFolder)
{
    const std::string path = JoinPath(outputFolder, kSaveFailureName);
    std::string text;
    if (!FileExists(path) || !ReadWholeFile(path, text))
        return std::string();
    if (std::remove(path.c_str()) != 0)
        DiagPrint("%s: cannot be removed: %s\n", path.c_str(), std::strerror(errno));
    constexpr size_t kLongest = 1000; // a note is a few lines; anything longer is not ours
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text.substr(0, kLongest);
}

bool CConfig::Save(const std::string& outputFolder)
{
    m_saveError.clear();
    const std::string path = JoinPath(outputFolder, kFileName);
    const std::string backupPath = JoinPath(outputFolder, kBackupName);
    // The backup is a copy made before the replacement, so Config.txt exists at every moment.
    std::string previous;
    if (FileExists(path) && ReadWholeFile(path, previous))
    {
        std::string error;
        if (!ReplaceFile(backupPath, previous, &error))
            DiagPrint("CConfig: no backup copy this time: %s\n", error.c_str());
    }
    return ReplaceFile(path, FormatText(), &m_saveError, JoinPath(outputFolder, kTempName));
}
