#pragma once
// A fresh directory as the working directory, which is the base of the data folders, for tests
// of loaders and writers. The base directory follows the working directory back afterwards, so
// later tests see the usual one.

#include <optional>
#include <string>

#include "data/CFile.h"
#include "support/TempDir.h"

class TempDataDir
{
public:
    TempDataDir()
    {
        m_cwd.emplace(dir.Path());
        InitBaseDirectory();
    }
    ~TempDataDir()
    {
        m_cwd.reset();
        InitBaseDirectory();
    }
    std::string Write(const std::string& relativePath, const std::string& content) const
    {
        return dir.Write(relativePath, content);
    }
    std::string Read(const std::string& relativePath) const { return dir.Read(relativePath); }

    TempDir dir;

private:
    std::optional<ScopedWorkingDir> m_cwd;
};
