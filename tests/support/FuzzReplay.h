#pragma once
// Replays the saved inputs of one fuzz target (its seeds and the inputs that once broke the
// code) through the target's entry point, so the sanitizer build of the normal tests keeps them
// fixed.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "support/DiagCapture.h"
#include "support/TempDir.h"

inline void ReplayFuzzCorpus(const char* target, void (*entry)(const uint8_t*, size_t))
{
    const std::filesystem::path dir = SourceDir() / "tests" / "fuzz" / "corpus" / target;
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    CDiagCapture quiet; // broken inputs are meant to be reported
    int replayed = 0;
    for (const auto& file : std::filesystem::directory_iterator(dir))
    {
        SCOPED_TRACE(file.path().string());
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}
