#include "app/CConfig.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "input/CKeyboardAxes.h"
#include "input/InputIds.h"

namespace
{
// Collects what the section writers produce, so the file can be written and flushed in one go.
class CTextSink : public CFile
{
public:
    size_t Read(void*, size_t) override { return 0; }
    size_t Write(const void* buffer, size_t count) override
    {
        text.append(static_cast<const char*>(buffer), count);
        return count;
    }
    using CFile::Write;
    void ReadLine(char* buffer, size_t size) override
    {
        if (size > 0)
            buffer[0] = '\0';
    }
    void WriteLine(const char* line) override
    {
        text += line;
        text += "\r\n";
    }
    bool IsEof() override { return true; }
    void Seek(long, ESeekOrigin) override {}
    long Tell() override { return static_cast<long>(text.size()); }
    long Length() override { return static_cast<long>(text.size()); }
    bool Close() override { return true; }

    std::string text;
};

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

void WriteBanner(CTextSink& file, const char* dashes, const char* title)
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
    m_keyDefs.ResetToCommands();
    m_selectedModel.clear();
    m_flyingSite = "FlyingSite";
    m_driver.clear();
    m_videoMode.clear();
    m_comPort = kDefaultComPort;
    m_comDevice.clear();
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
        m_joystickCalibration[i] = CInputJoystick::DefaultCalibration(i);
    m_swapInterval = kDefaultSwapInterval;
    std::string ignored;
    CTokenFile empty;
    empty.LoadText("", "");
    m_keyboardAxes.Read(empty, ignored); // every slot back to "not configured"
}

bool CConfig::Read(CTokenFile& file, std::string& outMessage)
{
    Reset();
    // The maps hold pointers into the variable table, so the variables come first.
    m_inputVariables.Load(file, "Input", nullptr);
    if (!m_inputMaps.Read(file, m_inputVariables, outMessage))
    {
        if (outMessage.empty())
            outMessage = file.FileName() + ": no usable INPUT_MAP";
        return false;
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
    if (FileExists(path))
    {
        std::string problem;
        if (LoadFile(path, problem))
            return true;
        // A broken file must not keep the program from starting, and must not be lost either:
        // the pilot may have spent time on those maps.
        const std::string badPath = JoinPath(outputFolder, kBadName);
        const bool kept = RenameFile(path, badPath);
        outMessage = "The configuration could not be read:\n" + problem + "\n\n" +
                     (kept ? "It was kept as " + badPath : "It could not be moved to " + badPath) +
                     ".\nKestro starts with the default configuration.";
        DiagPrint("CConfig: %s\n", problem.c_str());
    }
    std::string problem;
    if (LoadFile(defaultsPath, problem))
        return true;
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
    CTextSink file;
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
    file.WriteLine(".JOYSTICK_CALIBRATION");
    file.WriteLine("{");
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
    {
        const SJoystickAxisCalibration& c = m_joystickCalibration[i];
        file.WriteFormat("  .%s  %i %i %i\r\n", AxisToken(AXIS_JOYSTICK_X + i), c.low, c.centre, c.high);
    }
    file.WriteLine("}");
    return file.text;
}

void CConfig::ReadJoystickCalibration(CTokenFile& file)
{
    CTokenFile* block = file.OpenBlock("JOYSTICK_CALIBRATION");
    if (block == nullptr)
        return;
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
    {
        const SJoystickAxisCalibration standard = CInputJoystick::DefaultCalibration(i);
        CVector3 v;
        if (!block->GetVector3(AxisToken(AXIS_JOYSTICK_X + i), v,
                               CVector3(static_cast<float>(standard.low), static_cast<float>(standard.centre),
                                        static_cast<float>(standard.high))))
            continue;
        const SJoystickAxisCalibration read{static_cast<int>(v.x), static_cast<int>(v.y), static_cast<int>(v.z)};
        // A slider has no middle; a stick needs one strictly between its ends.
        const bool slider = i >= CInputJoystick::kAxisCount;
        if (read.low >= read.high || (!slider && (read.centre <= read.low || read.centre >= read.high)))
        {
            DiagPrint("%s: JOYSTICK_CALIBRATION %s: %i %i %i is no travel (low < centre < high); the axis is read "
                      "uncalibrated\n",
                      file.FileName().c_str(), AxisToken(AXIS_JOYSTICK_X + i), read.low, read.centre, read.high);
            continue;
        }
        m_joystickCalibration[i] = read;
    }
}

bool WriteFileDurably(const std::string& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
    {
        DiagPrint("%s: cannot be written: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    size_t done = 0;
    while (done < text.size())
    {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            DiagPrint("%s: write failed: %s\n", path.c_str(), std::strerror(errno));
            ::close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    // Renaming a file whose blocks are not yet on disk can leave an empty Config.txt after a
    // power cut: the data must land before the name does.
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed)
    {
        DiagPrint("%s: flush failed: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

bool CConfig::Save(const std::string& outputFolder) const
{
    const std::string path = JoinPath(outputFolder, kFileName);
    const std::string tempPath = JoinPath(outputFolder, kTempName);
    const std::string backupPath = JoinPath(outputFolder, kBackupName);
    if (!WriteFileDurably(tempPath, FormatText()))
        return false;

    if (FileExists(path))
    {
        std::remove(backupPath.c_str());
        if (!RenameFile(path, backupPath))
        {
            DiagPrint("CConfig: %s could not become %s; the new configuration stays in %s\n", path.c_str(),
                      backupPath.c_str(), tempPath.c_str());
            return false;
        }
    }
    if (!RenameFile(tempPath, path))
    {
        DiagPrint("CConfig: %s could not become %s\n", tempPath.c_str(), path.c_str());
        return false;
    }
    return true;
}
