#pragma once
// Runs the kestro-fdm executable for the tests and reads back what it wrote: exit code, stdout,
// stderr, the summary line as flat JSON, and CSV files.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
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

// A flat JSON object of numbers, strings, booleans, null and arrays of numbers. Values are kept
// as numbers (booleans 1 / 0, null NaN) or strings; an array "a" becomes "a[0]", "a[1]", ....
// False when the text is not such an object.
class CFlatJson
{
public:
    bool Parse(const std::string& text)
    {
        m_text = text;
        m_at = 0;
        if (!Eat('{'))
            return false;
        if (Eat('}'))
            return End();
        do
        {
            std::string key;
            if (!String(key) || !Eat(':') || !Value(key))
                return false;
        } while (Eat(','));
        return Eat('}') && End();
    }
    bool Has(const std::string& key) const { return numbers.count(key) != 0 || strings.count(key) != 0; }
    double Number(const std::string& key) const
    {
        const auto found = numbers.find(key);
        return found == numbers.end() ? std::nan("") : found->second;
    }

    std::map<std::string, double> numbers;
    std::map<std::string, std::string> strings;

private:
    void Skip()
    {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t'))
            ++m_at;
    }
    bool Eat(char c)
    {
        Skip();
        if (m_at < m_text.size() && m_text[m_at] == c)
            return ++m_at, true;
        return false;
    }
    bool End()
    {
        Skip();
        return m_at == m_text.size();
    }
    bool String(std::string& out)
    {
        if (!Eat('"'))
            return false;
        for (; m_at < m_text.size(); ++m_at)
        {
            const char c = m_text[m_at];
            if (c == '"')
                return ++m_at, true;
            if (c == '\\' && ++m_at >= m_text.size())
                return false;
            out += m_text[m_at];
        }
        return false;
    }
    bool Scalar(double& out)
    {
        Skip();
        for (const auto& word : {std::make_pair("true", 1.0), std::make_pair("false", 0.0),
                                 std::make_pair("null", std::nan(""))})
            if (m_text.compare(m_at, std::strlen(word.first), word.first) == 0)
            {
                m_at += std::strlen(word.first);
                out = word.second;
                return true;
            }
        const char* start = m_text.c_str() + m_at;
        char* end = nullptr;
        out = std::strtod(start, &end);
        if (end == start)
            return false;
        m_at += static_cast<size_t>(end - start);
        return true;
    }
    bool Value(const std::string& key)
    {
        Skip();
        if (m_at < m_text.size() && m_text[m_at] == '"')
            return String(strings[key]);
        if (Eat('['))
        {
            int index = 0;
            if (Eat(']'))
                return true;
            do
            {
                double value = 0.0;
                if (!Scalar(value))
                    return false;
                numbers[key + "[" + std::to_string(index++) + "]"] = value;
            } while (Eat(','));
            return Eat(']');
        }
        double value = 0.0;
        if (!Scalar(value))
            return false;
        numbers[key] = value;
        return true;
    }

    std::string m_text;
    size_t m_at = 0;
};

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

inline std::vector<std::string> SplitCommas(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (const char c : line)
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    return fields;
}

inline TCsv ParseCsv(const std::string& text)
{
    TCsv csv;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::vector<std::string> fields = SplitCommas(text.substr(start, end - start));
        if (csv.columns.empty())
            csv.columns = fields;
        else
        {
            std::vector<double> row;
            for (const std::string& field : fields)
                row.push_back(std::strtod(field.c_str(), nullptr));
            csv.rows.push_back(row);
        }
        start = end + 1;
    }
    return csv;
}
} // namespace fdm_test
