#include "data/CStringList.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/Diagnostics.h"
#include "data/CFile.h"

namespace
{
// Like the C run time's case-insensitive comparison: both sides folded to lower case.
int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameNoCase(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// '*' matches any run, '?' one character; letters match regardless of case, as file names do
// on the system the data was made on. Greedy with one backtrack point, so it stays linear-ish
// on long names.
bool MatchWildcard(const std::string& pattern, const std::string& name)
{
    size_t p = 0, s = 0;
    size_t starP = std::string::npos, starS = 0;
    while (s < name.size())
    {
        if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && SameNoCase(pattern[p], name[s]))))
        {
            ++p;
            ++s;
        }
        else if (p < pattern.size() && pattern[p] == '*')
        {
            starP = p++;
            starS = s;
        }
        else if (starP != std::string::npos)
        {
            p = starP + 1;
            s = ++starS;
        }
        else
        {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
} // namespace

int CStringListStatic::Find(const char* text) const
{
    if (text == nullptr || m_names == nullptr)
        return -1;
    for (int i = 0; i < m_count; ++i)
    {
        if (m_names[i] != nullptr && std::strcmp(m_names[i], text) == 0)
            return i;
    }
    return -1;
}

const char* CStringListStatic::Get(int index) const
{
    if (m_names == nullptr || index < 0 || index >= m_count || m_names[index] == nullptr)
        return "";
    return m_names[index];
}

int CStringListDynamic::Find(const char* text) const
{
    if (text == nullptr)
        return -1;
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if (m_items[i] == text)
            return static_cast<int>(i);
    }
    return -1;
}

const char* CStringListDynamic::Get(int index) const
{
    if (index < 0 || index >= Count())
        return "";
    return m_items[static_cast<size_t>(index)].c_str();
}

int CStringListDynamic::Add(const std::string& text)
{
    m_items.push_back(text);
    return Count() - 1;
}

void CStringListDynamic::Set(int index, const std::string& text)
{
    if (index < 0 || index >= Count())
    {
        DiagPrint("CStringListDynamic::Set: index %d outside 0..%d\n", index, Count() - 1);
        return;
    }
    m_items[static_cast<size_t>(index)] = text;
}

void CStringListDynamic::Sort()
{
    // Stable, so names that differ only in case keep the order they were added in.
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
}

void CStringListDynamic::ReplaceAll(const std::string& oldText, const std::string& newText)
{
    for (std::string& item : m_items)
    {
        if (item == oldText)
            item = newText;
    }
}

int CStringListDynamic::AddFiles(int folder, const std::string& pattern)
{
    namespace fs = std::filesystem;
    const std::string dir = BuildDataPath(folder, "");
    // "*.*" means every file there, also those without an extension.
    const std::string effective = pattern == "*.*" ? std::string("*") : pattern;
    std::error_code error;
    fs::directory_iterator it(dir, error);
    if (error)
    {
        DiagPrint("%s: cannot list the folder: %s\n", dir.c_str(), error.message().c_str());
        return 0;
    }
    int added = 0;
    for (; it != fs::directory_iterator(); it.increment(error))
    {
        if (error)
            break;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::string name = it->path().filename().string();
        if (MatchWildcard(effective, name))
        {
            Add(name);
            ++added;
        }
    }
    return added;
}
