#include <gtest/gtest.h>

#include "fuzz/SerialLinkFuzz.h"
#include "support/FuzzReplay.h"

TEST(FuzzCorpus, SerialLinkInputs)
{
    ReplayFuzzCorpus("fuzz_serial_link", fuzz::SerialLink);
}
