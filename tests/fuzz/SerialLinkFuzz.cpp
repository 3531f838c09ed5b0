#include "core/Diagnostics.h"
#include "fuzz/SerialLinkFuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetDiagnosticSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::SerialLink(data, size);
    return 0;
}
