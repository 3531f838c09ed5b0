#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "kestro-test-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (made == nullptr)
        ADD_FAILURE() << "cannot create a temporary directory";
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& relativePath, const std::string& content) const
{
    const fs::path full = m_path / relativePath;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary);
    out << content;
    return full.string();
}

std::string TempDir::Read(const std::string& relativePath) const
{
    std::ifstream in(m_path / relativePath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScopedWorkingDir::ScopedWorkingDir(const fs::path& dir) : m_previous(fs::current_path())
{
    fs::current_path(dir);
}

ScopedWorkingDir::~ScopedWorkingDir()
{
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
}

fs::path SourceDir()
{
    const char* dir = std::getenv("KESTRO_SOURCE_DIR");
    return dir != nullptr ? fs::path(dir) : fs::current_path();
}
