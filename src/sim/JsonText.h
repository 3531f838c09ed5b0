#pragma once
// The pieces of the one-line JSON summaries kestro-fdm and the preflight check print.

#include <string>

// A number with the given significant digits; null for what JSON cannot hold (NaN, infinity).
std::string JsonNumber(double value, int digits);
// A quoted string with quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& text);
