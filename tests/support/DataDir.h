#pragma once
// A folder as the working directory, which is the base of the data folders, for tests of loaders
// and writers: the repository's own (the shipped content) or a fresh one. The base directory
// follows the working directory back afterwards, so later tests see the usual one.

#include <filesystem>
#include <optional>
#include <string>

#include "data/CFile.h"
#include "support/TempDir.h"

class DataDirAt
{
public:
    explicit DataDirAt(const std::filesystem::path& dir)
    {
        m_cwd.emplace(dir);
        InitBaseDirectory();
    }
    ~DataDirAt()
    {
        m_cwd.reset();
        InitBaseDirectory();
    }
    DataDirAt(const DataDirAt&) = delete;
    DataDirAt& operator=(const DataDirAt&) = delete;

private:
    std::optional<ScopedWorkingDir> m_cwd;
};

class TempDataDir
{
public:
    std::string Write(const std::string& relativePath, const std::string& content) const
    {
        return dir.Write(relativePath, content);
    }
    std::string Read(const std::string& relativePath) const { return dir.Read(relativePath); }

    TempDir dir;

private:
    DataDirAt m_base{dir.Path()};
};
