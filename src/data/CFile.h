#pragma once
// File access: the abstract CFile and the disk file CFileDisk, plus the data-folder table and
// path helpers. Paths inside data files use backslashes; they are mapped to '/' here. The base
// directory is the working directory, with a trailing '/'.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/Diagnostics.h"

// Data folders, relative to the base directory, in the order of the folder table.
enum EDataFolder
{
    DF_OUTPUT = 0,           // "Output/": files the program writes and reads back
    DF_AIRFOIL = 1,          // "Data/Airfoil/"
    DF_MODEL = 2,            // "Data/Model/"
    DF_TEXTURES = 3,         // "Data/Textures/": textures, sprites, cursors
    DF_3D = 4,               // "Data/3D/": scene files
    DF_CONFIG = 5,           // "Data/Config/": read-only description files
    DF_SOUND = 6,            // "Data/Sound/"
    DF_DEVELOPER_OUTPUT = 7, // "../DeveloperOutput/": diagnostic files
    DF_COUNT = 8
};

enum EFileMode
{
    FM_READ = 0,   // "rb"
    FM_WRITE = 1,  // "wb", truncates
    FM_APPEND = 2, // "ab"
};

enum ESeekOrigin
{
    SO_CURRENT = 0,
    SO_START = 1,
    SO_END = 2,
};

// Abstract file.
class CFile
{
public:
    virtual ~CFile() = default;

    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t count) { return 0; }
    // Reads up to CR or LF (not stored), at most size - 1 characters, NUL-terminated. A CR
    // followed by LF consumes both.
    virtual void ReadLine(char* buffer, size_t size) = 0;
    // The text, then CR LF.
    virtual void WriteLine(const char* text) {}
    virtual bool IsEof() = 0;
    virtual void Seek(long offset, ESeekOrigin origin) = 0;
    virtual long Tell() = 0;
    virtual long Length() = 0;
    // Returns whether the file was open.
    virtual bool Close() = 0;

    // Writes a NUL-terminated text without a line break.
    size_t Write(const char* text);
    // printf-style text without a line break.
    size_t WriteFormat(const char* format, ...) KESTRO_PRINTF(2, 3);

    bool IsOpen() const { return m_open; }

protected:
    bool m_open = false;
};

// A file on disk (C standard streams).
class CFileDisk : public CFile
{
public:
    ~CFileDisk() override;

    // Closes any open file first; mode FM_READ, FM_WRITE or FM_APPEND, anything else fails.
    bool Open(const std::string& path, int mode);

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    using CFile::Write;
    void ReadLine(char* buffer, size_t size) override;
    void WriteLine(const char* text) override;
    bool IsEof() override;
    void Seek(long offset, ESeekOrigin origin) override;
    long Tell() override;
    long Length() override;
    bool Close() override;

private:
    std::FILE* m_file = nullptr;
};

// The folder of the table entry, e.g. "Data/Model/".
const char* DataFolderName(int folder);

// Base directory: the working directory with a trailing '/' (set once at start-up; a test may
// change the working directory and call it again).
void InitBaseDirectory();
const std::string& BaseDirectory();

// Maps backslashes to '/'.
std::string NormalizePath(const std::string& path);

// Base directory + folder + file (backslashes in file mapped to '/').
std::string BuildDataPath(int folder, const std::string& file);

// Whether a file name read from a data file stays inside its folder: no "..", no absolute path.
bool IsPlainDataName(const std::string& name);

bool RenameDataFile(const std::string& oldName, const std::string& newName, int folder);
// An existing file at the new name is replaced.
bool RenameFile(const std::string& oldPath, const std::string& newPath);
bool DeleteDataFile(const std::string& name, int folder);

// Replaces the file at path by text so that a crash, a kill or a full disk at any moment leaves
// either the old file or the new one, whole: the text goes to tempPath (path + ".tmp" when
// empty), every write, the fsync and the close are checked, and only then is tempPath renamed
// over path in one step (and the folder synced, so the new name survives a power cut). On any
// failure the temporary file is removed, path is left as it was and false comes back with
// outError (when given) saying what failed, naming the path.
bool ReplaceFile(const std::string& path, const std::string& text, std::string* outError = nullptr,
                 const std::string& tempPath = "");
// Flushes a stream opened for writing to disk and closes it (fflush, fsync, fclose, each
// checked); false with errno set when any failed. The stream is closed either way.
bool CloseDurably(std::FILE* file);
// Renames from over to and syncs the folder of to; false (errno set) when the rename failed.
bool RenameDurably(const std::string& from, const std::string& to);

// A CFileDisk opened on the path, or null.
std::unique_ptr<CFile> OpenFile(const std::string& path, int mode);

// The whole file as text; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& outText);
bool ReadWholeFileBinary(const std::string& path, std::vector<unsigned char>& outBytes);
