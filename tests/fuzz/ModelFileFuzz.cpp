#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/Diagnostics.h"
#include "fuzz/FuzzEntries.h"
#include "fuzz/ModelFileFuzz.h"

// The inputs run in a private data tree, the base directory, so the model's own files (an
// OUTPUT_FILE, the model itself) land there and nowhere else. The working directory stays where
// it was: libFuzzer reads the corpus and leaves crash files there.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    const char* source = std::getenv("KESTRO_SOURCE_DIR");
    const std::filesystem::path data =
        std::filesystem::path(source != nullptr ? source : KESTRO_DEFAULT_SOURCE_DIR) / "Data";
    const std::string tree = fuzz::PrivateDir("kestro-fuzz-model");
    if (tree.empty() || !fuzz::PrepareModelFileTree(tree, data) || chdir(tree.c_str()) != 0)
    {
        std::fprintf(stderr, "fuzz_model_file: cannot prepare a data tree with the airfoils of %s\n",
                     data.string().c_str());
        std::exit(1);
    }
    InitBaseDirectory();
    std::filesystem::current_path(previous);
    SetDiagnosticSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ModelFile(data, size);
    return 0;
}
