// Replays the saved fuzz inputs (seeds and fixed crashes) through the fuzz targets' code, so the
// sanitizer build of the normal tests keeps them fixed.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "core/Diagnostics.h"
#include "fuzz/FuzzEntries.h"
#include "support/TempDir.h"

namespace
{
using Entry = void (*)(const uint8_t*, size_t);

void ReplayCorpus(const char* target, Entry entry)
{
    const std::filesystem::path dir = SourceDir() / "tests" / "fuzz" / "corpus" / target;
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    SetDiagnosticSink([](const std::string&) {});
    int replayed = 0;
    for (const auto& file : std::filesystem::directory_iterator(dir))
    {
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(file.path().string());
        entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
    }
    SetDiagnosticSink({});
    EXPECT_GT(replayed, 0);
}
} // namespace

TEST(FuzzCorpus, TokenFileInputs)
{
    ReplayCorpus("fuzz_token_file", fuzz::TokenFile);
}

TEST(FuzzCorpus, StringTableInputs)
{
    ReplayCorpus("fuzz_string_table", fuzz::StringTable);
}
