#include "model/ModelFileName.h"

#include <algorithm>

namespace
{
constexpr const char* kExtension = ".mod";
} // namespace

bool MakeModelFileName(const std::string& typed, std::string& outName, std::string& outError)
{
    outName.clear();
    const size_t first = typed.find_first_not_of(" \t");
    const size_t last = typed.find_last_not_of(" \t");
    const std::string name = first == std::string::npos ? std::string() : typed.substr(first, last - first + 1);
    if (name.empty())
    {
        outError = "Type a model file name";
        return false;
    }
    const bool control = std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
    if (control || name.find_first_of("/\\:") != std::string::npos)
    {
        outError = "\"" + name + "\" refused: a model is a plain file name inside Data/Model/ (no folders)";
        return false;
    }
    if (name.find_first_not_of('.') == std::string::npos)
    {
        outError = "\"" + name + "\" refused: not a file name";
        return false;
    }
    const size_t n = name.size();
    const bool hasExtension = n > 4 && name.compare(n - 4, 4, kExtension) == 0;
    outName = hasExtension ? name : name + kExtension;
    outError.clear();
    return true;
}
