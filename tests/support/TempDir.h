#pragma once
// A fresh directory for one test, removed with everything in it when the test ends. Tests that
// touch the data folders make it the working directory, since the base directory is the
// working directory.

#include <filesystem>
#include <string>

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes a file below the directory (creating folders) and returns its full path.
    std::string Write(const std::string& relativePath, const std::string& content) const;
    std::string Read(const std::string& relativePath) const;

private:
    std::filesystem::path m_path;
};

// Makes a directory the working directory for the lifetime of the object.
class ScopedWorkingDir
{
public:
    explicit ScopedWorkingDir(const std::filesystem::path& dir);
    ~ScopedWorkingDir();

private:
    std::filesystem::path m_previous;
};

// The repository's root (for its Data/ folder), from KESTRO_SOURCE_DIR.
std::filesystem::path SourceDir();
