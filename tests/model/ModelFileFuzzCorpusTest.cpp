// Replays the saved model-file fuzz inputs (the shipped models as seeds, and the inputs that
// once broke the loader or the flight) through the fuzz target's code.

#include <gtest/gtest.h>

#include "fuzz/ModelFileFuzz.h"
#include "support/DataDir.h"
#include "support/FuzzReplay.h"

TEST(ModelFileFuzzCorpus, SavedInputsLoadAndFlyCleanly)
{
    TempDataDir data;
    ASSERT_TRUE(fuzz::PrepareModelFileTree(data.dir.Path(), SourceDir() / "Data"));
    ReplayFuzzCorpus("fuzz_model_file", fuzz::ModelFile);
}
