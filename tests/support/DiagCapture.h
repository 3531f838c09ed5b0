#pragma once
// Captures DiagPrint lines while alive, then puts back whatever sink was installed before.

#include <functional>
#include <string>
#include <vector>

#include "core/Diagnostics.h"

class CDiagCapture
{
public:
    CDiagCapture()
        : m_previous(SetDiagnosticSink([this](const std::string& line) { lines.push_back(line); }))
    {
    }
    ~CDiagCapture() { SetDiagnosticSink(m_previous); }
    CDiagCapture(const CDiagCapture&) = delete;
    CDiagCapture& operator=(const CDiagCapture&) = delete;

    bool Contains(const std::string& part) const
    {
        for (const auto& line : lines)
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    }
    // Lines holding part.
    int Count(const std::string& part) const
    {
        int count = 0;
        for (const auto& line : lines)
            count += line.find(part) != std::string::npos ? 1 : 0;
        return count;
    }

    std::vector<std::string> lines;

private:
    std::function<void(const std::string&)> m_previous;
};
