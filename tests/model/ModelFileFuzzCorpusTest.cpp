// Replays the saved model-file fuzz inputs (the shipped models as seeds, and the inputs that
// once broke the loader or the flight) through the fuzz target's code, so the sanitizer build of
// the normal tests keeps them fixed.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

#include "fuzz/ModelFileFuzz.h"
#include "support/DiagCapture.h"
#include "support/TempDir.h"

TEST(ModelFileFuzzCorpus, SavedInputsLoadAndFlyCleanly)
{
    const std::filesystem::path corpus = SourceDir() / "tests" / "fuzz" / "corpus" / "fuzz_model_file";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    TempDir dir;
    ASSERT_TRUE(fuzz::PrepareModelFileTree(dir.Path(), SourceDir() / "Data"));
    ScopedWorkingDir cwd(dir.Path());
    InitBaseDirectory();
    CDiagCapture quiet; // broken inputs are meant to be reported
    int replayed = 0;
    for (const auto& file : std::filesystem::directory_iterator(corpus))
    {
        SCOPED_TRACE(file.path().string());
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        fuzz::ModelFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}
