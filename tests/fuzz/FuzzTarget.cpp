// The body of every fuzz target whose entry needs no set-up beyond silencing the diagnostics:
// the build names the entry's header and function (KESTRO_FUZZ_HEADER, KESTRO_FUZZ_ENTRY).

#include "core/Diagnostics.h"
#include KESTRO_FUZZ_HEADER

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetDiagnosticSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KESTRO_FUZZ_ENTRY(data, size);
    return 0;
}
