#include "data/StringTable.h"

#include <cstdint>
#include <cstring>
#include <set>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"

// String.txt holds one entry per line: the identifier, blanks, and the text up to the line end
// (not quoted; "\n" and "\r" are escapes). Every identifier and text points into one buffer that
// the table owns; the texts are NUL-terminated in place, so LookupString hands out pointers
// into it that stay valid until the table is freed.
//
// The line rules come from files written with CR LF: an identifier alone on its line ends at the
// CR and takes the empty text before the LF. With LF-only line ends the same identifier takes
// the whole next line as its text; the parser says so in the diagnostics when it happens.
namespace
{
constexpr int kMaxEntries = 1000;
// A text may name another identifier; rings of such references would never resolve. Real
// chains are one or two links long.
constexpr int kMaxLookupRounds = 32;

struct StringEntry
{
    const char* id = nullptr;
    char* text = nullptr;
    uint8_t used = 0;
    int32_t useCount = 0;
};

struct StringTableState
{
    std::vector<char> buffer;
    std::vector<StringEntry> entries;
    std::unordered_map<std::string_view, int> index; // first entry of each identifier
    std::set<std::string> reportedRings;
    bool debugX = false;
};

StringTableState& Table()
{
    static StringTableState table;
    return table;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

void ProcessEscapes(char* text)
{
    char* write = text;
    for (const char* read = text; *read != '\0';)
    {
        if (read[0] == '\\' && read[1] == 'n')
        {
            *write++ = '\n';
            read += 2;
        }
        else if (read[0] == '\\' && read[1] == 'r')
        {
            *write++ = '\r';
            read += 2;
        }
        else
        {
            *write++ = *read++;
        }
    }
    *write = '\0';
}

StringEntry* FindEntry(const char* id)
{
    StringTableState& table = Table();
    const auto found = table.index.find(std::string_view(id));
    if (found == table.index.end())
        return nullptr;
    StringEntry& entry = table.entries[static_cast<size_t>(found->second)];
    entry.used = 1;
    ++entry.useCount;
    return &entry;
}

bool IsIdentifier(const char* text)
{
    return std::strncmp(text, "IDS", 3) == 0;
}
} // namespace

bool LoadStringTable()
{
    const std::string path = BuildDataPath(DF_CONFIG, "String.txt");
    DiagPrint("<<<%s>>>\n", path.c_str());
    std::string text;
    if (!ReadWholeFile(path, text))
    {
        FreeStringTable();
        DiagPrint("%s: cannot read the string table; all texts are empty\n", path.c_str());
        return false;
    }
    return LoadStringTableFromText(text);
}

bool LoadStringTableFromText(const std::string& source)
{
    FreeStringTable();
    StringTableState& table = Table();

    std::string stripped = source;
    if (!StripComments(stripped))
    {
        DiagPrint("String table: unterminated /* comment; the table stays empty\n");
        return false;
    }
    table.buffer.assign(stripped.begin(), stripped.end());
    table.buffer.push_back('\0');
    char* const buffer = table.buffer.data();
    const size_t n = stripped.size();

    bool reportedFull = false;
    size_t pos = 0;
    while (pos < n)
    {
        while (pos < n && (IsBlank(buffer[pos]) || IsLineBreak(buffer[pos])))
            ++pos;
        if (pos >= n)
            break;
        const size_t idStart = pos;
        while (pos < n && !IsBlank(buffer[pos]) && !IsLineBreak(buffer[pos]))
            ++pos;
        if (pos >= n)
        {
            DiagPrint("String table: last entry %s has no line break and is dropped\n", buffer + idStart);
            break;
        }
        const bool idEndsLine = buffer[pos] == '\n';
        buffer[pos++] = '\0';
        while (pos < n && IsBlank(buffer[pos]))
            ++pos;
        const size_t textStart = pos;
        while (pos < n && !IsLineBreak(buffer[pos]))
            ++pos;
        if (pos >= n)
        {
            DiagPrint("String table: last entry %s has no line break and is dropped\n", buffer + idStart);
            break;
        }
        if (idEndsLine && pos > textStart)
        {
            DiagPrint("String table: %s stands alone on its line and takes the next line as its text\n",
                      buffer + idStart);
        }
        if (static_cast<int>(table.entries.size()) < kMaxEntries)
        {
            StringEntry entry;
            entry.id = buffer + idStart;
            entry.text = buffer + textStart;
            table.entries.push_back(entry);
        }
        else if (!reportedFull)
        {
            DiagPrint("String table: more than %d entries; %s and the rest are ignored\n", kMaxEntries,
                      buffer + idStart);
            reportedFull = true;
        }
    }

    for (size_t i = 0; i < n; ++i)
    {
        if (IsLineBreak(buffer[i]))
            buffer[i] = '\0';
    }
    for (size_t i = 0; i < table.entries.size(); ++i)
    {
        ProcessEscapes(table.entries[i].text);
        table.index.emplace(std::string_view(table.entries[i].id), static_cast<int>(i));
    }
    return true;
}

const char* LookupString(const char* id)
{
    static const char empty[] = "";
    if (id == nullptr)
        return empty;
    const char* result = id;
    for (int round = 0; round < kMaxLookupRounds; ++round)
    {
        const StringEntry* entry = FindEntry(result);
        const char* candidate = entry != nullptr ? entry->text : empty;
        const StringEntry* second = FindEntry(candidate);
        result = (second != nullptr && second->text[0] != '\0') ? second->text : candidate;
        if (!IsIdentifier(result))
            return result;
    }
    StringTableState& table = Table();
    if (table.reportedRings.insert(id).second)
        DiagPrint("String table: %s refers to itself through a ring of identifiers\n", id);
    return result;
}

void FreeStringTable()
{
    StringTableState& table = Table();
    table.index.clear();
    table.entries.clear();
    table.buffer.clear();
    table.buffer.shrink_to_fit();
    table.reportedRings.clear();
    table.debugX = false;
}

void ToggleStringDebug()
{
    StringTableState& table = Table();
    table.debugX = !table.debugX;
    if (!table.debugX)
        return;
    for (StringEntry& entry : table.entries)
        std::memset(entry.text, 'X', std::strlen(entry.text));
}

bool IsStringDebugOn()
{
    return Table().debugX;
}

int StringTableCount()
{
    return static_cast<int>(Table().entries.size());
}

bool StringTableHas(const char* id)
{
    return id != nullptr && Table().index.count(std::string_view(id)) != 0;
}
