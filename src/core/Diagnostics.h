#pragma once
// The diagnostic output: lines for developers ("Depth Buffer 24 bits"), never shown to the
// pilot. They go to stderr unless a sink is installed (tests capture them that way).

#include <functional>
#include <string>

#if defined(__GNUC__)
#define KESTRO_PRINTF(fmtIndex, argIndex) __attribute__((format(printf, fmtIndex, argIndex)))
#else
#define KESTRO_PRINTF(fmtIndex, argIndex)
#endif

// printf-style; the text is written as formatted (callers end their lines with "\n").
void DiagPrint(const char* format, ...) KESTRO_PRINTF(1, 2);

// Replaces the sink and returns the previous one (so that a capture can put it back); an
// empty function restores stderr.
std::function<void(const std::string&)> SetDiagnosticSink(std::function<void(const std::string&)> sink);

// printf into a std::string.
std::string StringPrintf(const char* format, ...) KESTRO_PRINTF(1, 2);
