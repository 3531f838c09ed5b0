#pragma once
// Runs the kestro-fdm executable for the tests and reads back what it wrote: exit code, stdout,
// stderr, values of the JSON summary line, and CSV files.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "support/TempDir.h"

namespace fdm_test
{
struct TRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs kestro-fdm with the arguments in the directory dir (its output files land there).
inline TRun RunFdm(const TempDir& dir, const std::vector<std::string>& args)
{
    std::string command = "cd " + Quote(dir.Path().string()) + " && " + Quote(KESTRO_FDM_PATH);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " >fdm.out 2>fdm.err";
    TRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = dir.Read("fdm.out");
    run.err = dir.Read("fdm.err");
    return run;
}

inline std::string LastLine(const std::string& text)
{
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == '\n')
        trimmed.pop_back();
    const size_t start = trimmed.rfind('\n');
    return start == std::string::npos ? trimmed : trimmed.substr(start + 1);
}

// A value of the flat JSON summary line: a number (true 1, false 0; NaN when missing) or element
// index of an array. Python's json module checks the line's syntax
// in the flight checks; here only the values matter.
inline const char* JsonValue(const std::string& json, const std::string& key)
{
    const size_t at = json.find("\"" + key + "\":");
    return at == std::string::npos ? nullptr : json.c_str() + at + key.size() + 3;
}

inline double JsonNumber(const std::string& json, const std::string& key, int index = -1)
{
    const char* value = JsonValue(json, key);
    for (int i = 0; value != nullptr && i <= index; ++i)
        if ((value = std::strchr(value, i == 0 ? '[' : ',')) != nullptr)
            ++value;
    if (value == nullptr)
        return std::nan("");
    if (std::strncmp(value, "true", 4) == 0 || std::strncmp(value, "false", 5) == 0)
        return value[0] == 't' ? 1.0 : 0.0;
    char* end = nullptr;
    const double number = std::strtod(value, &end);
    return end == value ? std::nan("") : number;
}

// CSV rows as numbers, with the header's column names.
struct TCsv
{
    std::vector<std::string> columns;
    std::vector<std::vector<double>> rows;
    int Column(const std::string& name) const
    {
        for (size_t i = 0; i < columns.size(); ++i)
            if (columns[i] == name)
                return static_cast<int>(i);
        return -1;
    }
};

inline TCsv ParseCsv(const std::string& text)
{
    TCsv csv;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
    {
        std::istringstream fields(line);
        const bool header = csv.columns.empty();
        if (!header)
            csv.rows.emplace_back();
        for (std::string field; std::getline(fields, field, ',');)
            if (header)
                csv.columns.push_back(field);
            else
                csv.rows.back().push_back(std::strtod(field.c_str(), nullptr));
    }
    return csv;
}
} // namespace fdm_test
