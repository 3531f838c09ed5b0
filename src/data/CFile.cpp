#include "data/CFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

namespace
{
const char* const kDataFolders[DF_COUNT] = {
    "Output/",       "Data/Airfoil/", "Data/Model/", "Data/Textures/",
    "Data/3D/",      "Data/Config/",  "Data/Sound/", "../DeveloperOutput/",
};

std::string& BaseDirectoryStorage()
{
    static std::string base;
    return base;
}
} // namespace

size_t CFile::Write(const char* text)
{
    if (text == nullptr)
        return 0;
    return Write(static_cast<const void*>(text), std::strlen(text));
}

size_t CFile::WriteFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0)
    {
        text.resize(static_cast<size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    va_end(args);
    return text.empty() ? 0 : Write(static_cast<const void*>(text.data()), text.size());
}

CFileDisk::~CFileDisk()
{
    Close();
}

bool CFileDisk::Open(const std::string& path, int mode)
{
    Close();
    const char* modeText = nullptr;
    switch (mode)
    {
    case FM_READ: modeText = "rb"; break;
    case FM_WRITE: modeText = "wb"; break;
    case FM_APPEND: modeText = "ab"; break;
    default: return false;
    }
    const std::string normalized = NormalizePath(path);
    // Opening a FIFO or a device for reading can block forever; data files are regular files.
    if (mode == FM_READ)
    {
        std::error_code error;
        if (!std::filesystem::is_regular_file(normalized, error))
            return false;
    }
    m_file = std::fopen(normalized.c_str(), modeText);
    m_open = m_file != nullptr;
    return m_open;
}

size_t CFileDisk::Read(void* buffer, size_t count)
{
    if (m_file == nullptr || buffer == nullptr)
        return 0;
    return std::fread(buffer, 1, count, m_file);
}

size_t CFileDisk::Write(const void* buffer, size_t count)
{
    if (m_file == nullptr || buffer == nullptr)
        return 0;
    return std::fwrite(buffer, 1, count, m_file);
}

void CFileDisk::ReadLine(char* buffer, size_t size)
{
    if (buffer == nullptr || size == 0)
        return;
    size_t length = 0;
    if (m_file != nullptr)
    {
        while (length + 1 < size)
        {
            const int c = std::fgetc(m_file);
            if (c == EOF || c == '\n')
                break;
            if (c == '\r')
            {
                const int next = std::fgetc(m_file);
                if (next != '\n' && next != EOF)
                    std::ungetc(next, m_file);
                break;
            }
            buffer[length++] = static_cast<char>(c);
        }
    }
    buffer[length] = '\0';
}

void CFileDisk::WriteLine(const char* text)
{
    Write(text);
    Write(static_cast<const void*>("\r\n"), 2);
}

bool CFileDisk::IsEof()
{
    return m_file == nullptr || std::feof(m_file) != 0;
}

void CFileDisk::Seek(long offset, ESeekOrigin origin)
{
    if (m_file == nullptr)
        return;
    switch (origin)
    {
    case SO_CURRENT: std::fseek(m_file, offset, SEEK_CUR); break;
    case SO_START: std::fseek(m_file, offset, SEEK_SET); break;
    case SO_END: std::fseek(m_file, offset, SEEK_END); break;
    }
}

long CFileDisk::Tell()
{
    return m_file != nullptr ? std::ftell(m_file) : -1;
}

long CFileDisk::Length()
{
    if (m_file == nullptr)
        return 0;
    const long position = std::ftell(m_file);
    std::fseek(m_file, 0, SEEK_END);
    const long length = std::ftell(m_file);
    std::fseek(m_file, position, SEEK_SET);
    return length < 0 ? 0 : length;
}

bool CFileDisk::Close()
{
    const bool wasOpen = m_file != nullptr;
    if (wasOpen)
        std::fclose(m_file);
    m_file = nullptr;
    m_open = false;
    return wasOpen;
}

const char* DataFolderName(int folder)
{
    if (folder < 0 || folder >= DF_COUNT)
        return "";
    return kDataFolders[folder];
}

void InitBaseDirectory()
{
    std::error_code error;
    std::string base = std::filesystem::current_path(error).string();
    if (error)
    {
        DiagPrint("Cannot determine the working directory: %s\n", error.message().c_str());
        base = ".";
    }
    if (base.empty() || base.back() != '/')
        base += '/';
    BaseDirectoryStorage() = base;
}

const std::string& BaseDirectory()
{
    if (BaseDirectoryStorage().empty())
        InitBaseDirectory();
    return BaseDirectoryStorage();
}

std::string NormalizePath(const std::string& path)
{
    std::string result = path;
    for (char& c : result)
    {
        if (c == '\\')
            c = '/';
    }
    return result;
}

std::string BuildDataPath(int folder, const std::string& file)
{
    return BaseDirectory() + DataFolderName(folder) + NormalizePath(file);
}

bool IsPlainDataName(const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return false;
    const std::string normalized = NormalizePath(name);
    if (normalized.front() == '/')
        return false;
    if (normalized.size() >= 2 && normalized[1] == ':') // a drive letter
        return false;
    size_t start = 0;
    while (start <= normalized.size())
    {
        size_t end = normalized.find('/', start);
        if (end == std::string::npos)
            end = normalized.size();
        if (normalized.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

bool RenameFile(const std::string& oldPath, const std::string& newPath)
{
    return std::rename(NormalizePath(oldPath).c_str(), NormalizePath(newPath).c_str()) == 0;
}

bool RenameDataFile(const std::string& oldName, const std::string& newName, int folder)
{
    return RenameFile(BuildDataPath(folder, oldName), BuildDataPath(folder, newName));
}

bool DeleteDataFile(const std::string& name, int folder)
{
    return std::remove(BuildDataPath(folder, name).c_str()) == 0;
}

namespace
{
std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
} // namespace

bool CloseDurably(std::FILE* file)
{
    if (file == nullptr)
    {
        errno = EBADF;
        return false;
    }
    // A write the C library buffered fails only here, or at fsync for the kernel's delayed write
    // (a full disk, a quota); each failure must keep the caller from trusting the file.
    bool ok = std::fflush(file) == 0;
    int error = ok ? 0 : errno;
    if (ok && ::fsync(fileno(file)) != 0 && errno != EINVAL) // EINVAL: a device, nothing to sync
    {
        ok = false;
        error = errno;
    }
    if (std::fclose(file) != 0 && ok)
    {
        ok = false;
        error = errno;
    }
    errno = error;
    return ok;
}

bool RenameDurably(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    // The rename is in the folder's metadata; without this a power cut may bring the old name back.
    const int folder = ::open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0)
    {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool ReplaceFile(const std::string& path, const std::string& text, std::string* outError, const std::string& tempPath)
{
    const std::string target = NormalizePath(path);
    const std::string temporary = tempPath.empty() ? target + ".tmp" : NormalizePath(tempPath);
    auto fail = [&](const char* what) {
        const std::string message = target + ": could not be saved (" + what + ": " + std::strerror(errno) +
                                    "); the previous file is kept";
        std::remove(temporary.c_str());
        DiagPrint("%s\n", message.c_str());
        if (outError != nullptr)
            *outError = message;
        return false;
    };
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return fail("cannot create the temporary file");
    const bool written = text.empty() || std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeError = errno;
    const bool closed = CloseDurably(file);
    if (!written)
    {
        errno = writeError;
        return fail("write failed");
    }
    if (!closed)
        return fail("flush failed");
    if (!RenameDurably(temporary, target))
        return fail("rename failed");
    return true;
}

std::unique_ptr<CFile> OpenFile(const std::string& path, int mode)
{
    auto file = std::make_unique<CFileDisk>();
    if (!file->Open(path, mode))
        return nullptr;
    return file;
}

bool ReadWholeFileBinary(const std::string& path, std::vector<unsigned char>& outBytes)
{
    outBytes.clear();
    CFileDisk file;
    if (!file.Open(path, FM_READ))
        return false;
    const long length = file.Length();
    try
    {
        outBytes.resize(static_cast<size_t>(length));
    }
    catch (const std::bad_alloc&)
    {
        DiagPrint("%s: too large to read (%ld bytes)\n", path.c_str(), length);
        return false;
    }
    if (length > 0 && file.Read(outBytes.data(), outBytes.size()) != outBytes.size())
    {
        outBytes.clear();
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& outText)
{
    outText.clear();
    CFileDisk file;
    if (!file.Open(path, FM_READ))
        return false;
    const long length = file.Length();
    try
    {
        outText.resize(static_cast<size_t>(length));
    }
    catch (const std::bad_alloc&)
    {
        DiagPrint("%s: too large to read (%ld bytes)\n", path.c_str(), length);
        return false;
    }
    if (length > 0 && file.Read(outText.data(), outText.size()) != outText.size())
    {
        outText.clear();
        return false;
    }
    return true;
}
