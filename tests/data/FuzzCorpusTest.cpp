// Replays the saved token-file and string-table fuzz inputs through the fuzz targets' code.

#include <gtest/gtest.h>

#include "fuzz/FuzzEntries.h"
#include "support/FuzzReplay.h"

TEST(FuzzCorpus, TokenFileAndStringTableInputs)
{
    ReplayFuzzCorpus("fuzz_token_file", fuzz::TokenFile);
    ReplayFuzzCorpus("fuzz_string_table", fuzz::StringTable);
}
