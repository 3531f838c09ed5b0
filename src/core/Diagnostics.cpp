#include "core/Diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

namespace
{
std::function<void(const std::string&)>& Sink()
{
    static std::function<void(const std::string&)> sink;
    return sink;
}

std::string VStringPrintf(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}
} // namespace

void DiagPrint(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = VStringPrintf(format, args);
    va_end(args);
    if (Sink())
        Sink()(text);
    else
        std::fputs(text.c_str(), stderr);
}

std::function<void(const std::string&)> SetDiagnosticSink(std::function<void(const std::string&)> sink)
{
    std::swap(Sink(), sink);
    return sink;
}

std::string StringPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = VStringPrintf(format, args);
    va_end(args);
    return text;
}
