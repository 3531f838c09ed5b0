#include "data/CTokenFile.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/Diagnostics.h"
#include "data/CFile.h"

// Everything one loaded file shares between its root and the blocks opened from it. The root
// owns the children through this record; children hold a reference back to it for the text, so
// the root breaks that cycle by releasing the children first when it is destroyed or reloaded.
struct CTokenFile::Shared
{
    std::string fileName;
    std::string text; // expanded, comment-free; consumed keys have their '.' turned into '*'
    std::vector<std::unique_ptr<CTokenFile>> children;
};

namespace
{
constexpr size_t kMaxKeyLength = 49;       // longer key words are compared on this prefix
constexpr size_t kNumberTokenSize = 40;    // token buffer of the numeric getters
constexpr size_t kListTokenSize = 100;     // token buffer of BeginList/NextFloat
constexpr size_t kTextSize = 1000;         // buffer of GetText
constexpr int kMaxIncludes = 500;          // expansions per load
constexpr size_t kMaxIncludedText = 1000000; // characters the text may grow to through includes
constexpr size_t kMaxDirectiveWord = 19;
constexpr size_t kMaxIncludeName = 259;

bool IsSeparator(char c)
{
    return c == '\0' || c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

bool IsLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// Skips separators from pos, then takes the token up to the next separator; the token is cut to
// maxLength characters but pos moves past all of it.
std::string ReadToken(const std::string& text, size_t& pos, size_t maxLength)
{
    const size_t n = text.size();
    while (pos < n && IsSeparator(text[pos]))
        ++pos;
    const size_t start = pos;
    while (pos < n && !IsSeparator(text[pos]))
        ++pos;
    return text.substr(start, std::min(pos - start, maxLength));
}

size_t BufferLimit(size_t size)
{
    return size == 0 ? 0 : size - 1;
}

int ToInt(const std::string& token)
{
    const long value = std::strtol(token.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float ToFloat(const std::string& token)
{
    const double value = std::strtod(token.c_str(), nullptr);
    // Out-of-range doubles do not convert to float (undefined behaviour): saturate instead.
    if (value > FLT_MAX && value <= DBL_MAX)
        return FLT_MAX;
    if (value < -FLT_MAX && value >= -DBL_MAX)
        return -FLT_MAX;
    return static_cast<float>(value);
}

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

struct IncludeContext
{
    std::string topName; // for messages
    int expansions = 0;
    size_t textSize = 0; // size of the text as if every include so far were spliced in
    bool failed = false;
};

// Appends text to out with its "#include" lines replaced by the files they name (relative to
// dir), recursively. The text must be comment-free. Each included file is resolved relative to
// its own folder, so a file including "Wing.txt" finds the one beside it.
void ExpandIncludes(const std::string& text, const std::string& dir, IncludeContext& context,
                    std::string& out)
{
    const size_t n = text.size();
    size_t pos = 0;
    bool atLineStart = true;
    while (pos < n && !context.failed)
    {
        const size_t lineStart = pos;
        bool expanded = false;
        if (atLineStart)
        {
            size_t p = pos;
            while (p < n && (text[p] == ' ' || text[p] == '\t'))
                ++p;
            const size_t wordStart = p;
            while (p < n && !IsSeparator(text[p]) && p - wordStart <= kMaxDirectiveWord)
                ++p;
            if (text.compare(wordStart, p - wordStart, "#include") == 0 &&
                (p == n || IsSeparator(text[p])))
            {
                while (p < n && (text[p] == ' ' || text[p] == '\t'))
                    ++p;
                const size_t nameStart = p;
                while (p < n && !IsSeparator(text[p]))
                    ++p;
                const size_t nameEnd = p;
                const std::string name =
                    NormalizePath(text.substr(nameStart, std::min(nameEnd - nameStart, kMaxIncludeName)));
                std::string included;
                const std::string path = dir + name;
                if (name.empty())
                {
                    DiagPrint("%s: #include without a file name, skipped\n", context.topName.c_str());
                }
                else if (!IsPlainDataName(name))
                {
                    DiagPrint("%s: #include %s leaves the data folder, skipped\n", context.topName.c_str(),
                              name.c_str());
                }
                else if (!ReadWholeFile(path, included))
                {
                    DiagPrint("%s: #include %s: cannot read %s, skipped\n", context.topName.c_str(),
                              name.c_str(), path.c_str());
                }
                else
                {
                    if (++context.expansions > kMaxIncludes)
                    {
                        DiagPrint("%s: more than %d #include expansions\n", context.topName.c_str(),
                                  kMaxIncludes);
                        context.failed = true;
                        return;
                    }
                    if (!StripComments(included))
                    {
                        DiagPrint("%s: unterminated /* comment in %s\n", context.topName.c_str(),
                                  path.c_str());
                        context.failed = true;
                        return;
                    }
                    const size_t directiveLength = nameEnd - lineStart;
                    context.textSize = context.textSize - std::min(directiveLength, context.textSize) +
                                       included.size();
                    if (context.textSize > kMaxIncludedText)
                    {
                        DiagPrint("%s: text grows beyond %zu characters through #include\n",
                                  context.topName.c_str(), kMaxIncludedText);
                        context.failed = true;
                        return;
                    }
                    ExpandIncludes(included, DirectoryOf(path), context, out);
                    // The rest of the directive's line follows the included text; it starts a
                    // line of its own only when the included text ended with a line break.
                    pos = nameEnd;
                    atLineStart = out.empty() || IsLineBreak(out.back());
                    expanded = true;
                }
            }
        }
        if (expanded)
            continue;
        // Copy the rest of the line and its run of line breaks.
        size_t p = pos;
        while (p < n && !IsLineBreak(text[p]))
            ++p;
        while (p < n && IsLineBreak(text[p]))
            ++p;
        out.append(text, lineStart, p - lineStart);
        pos = p;
        atLineStart = true;
    }
}
} // namespace

bool StripComments(std::string& text)
{
    const size_t n = text.size();
    size_t write = 0;
    bool inLine = false;
    bool inBlock = false;
    size_t read = 0;
    while (read < n)
    {
        const char c = text[read];
        const char next = read + 1 < n ? text[read + 1] : '\0';
        if (c == '/' && next == '*')
        {
            inBlock = true;
            read += 2;
            continue;
        }
        if (inBlock && c == '*' && next == '/')
        {
            inBlock = false;
            read += 2;
            continue;
        }
        if (c == '/' && next == '/')
        {
            inLine = true;
            read += 2;
            continue;
        }
        if (inLine && IsLineBreak(c))
            inLine = false;
        if (!inLine && !inBlock)
            text[write++] = c;
        ++read;
    }
    text.resize(write);
    return !inBlock;
}

CTokenFile::CTokenFile() : m_isRoot(true) {}

CTokenFile::CTokenFile(std::shared_ptr<Shared> shared, size_t blockStart, std::string blockName)
    : m_shared(std::move(shared)), m_ok(true), m_blockName(std::move(blockName)), m_blockStart(blockStart),
      m_listCursor(blockStart), m_isRoot(false)
{
}

CTokenFile::~CTokenFile()
{
    ReleaseChildren();
}

void CTokenFile::ReleaseChildren()
{
    if (m_isRoot && m_shared)
    {
        // Moved out first: a child's destructor must not see a half-destroyed list.
        std::vector<std::unique_ptr<CTokenFile>> children = std::move(m_shared->children);
        m_shared->children.clear();
        children.clear();
    }
}

bool CTokenFile::Load(const std::string& path)
{
    const std::string normalized = NormalizePath(path);
    std::string text;
    if (!ReadWholeFile(normalized, text))
    {
        if (m_isRoot)
        {
            ReleaseChildren();
            m_shared = std::make_shared<Shared>();
            m_shared->fileName = normalized;
            m_ok = false;
            m_blockStart = m_listCursor = 0;
        }
        // A missing file is normal (first run, optional files): the caller keeps its defaults.
        std::error_code error;
        if (std::filesystem::exists(normalized, error))
            DiagPrint("%s: cannot read the file\n", normalized.c_str());
        return false;
    }
    return LoadText(text, normalized);
}

bool CTokenFile::LoadText(const std::string& text, const std::string& name)
{
    if (!m_isRoot)
    {
        DiagPrint("%s: a block cannot be reloaded\n", FileName().c_str());
        return false;
    }
    ReleaseChildren();
    m_shared = std::make_shared<Shared>();
    m_shared->fileName = NormalizePath(name);
    m_ok = false;
    m_blockName.clear();
    m_blockStart = m_listCursor = 0;

    const std::string& fileName = m_shared->fileName;
    std::string stripped = text;
    if (!StripComments(stripped))
    {
        DiagPrint("%s: unterminated /* comment\n", fileName.c_str());
        return false;
    }
    IncludeContext context;
    context.topName = fileName;
    context.textSize = stripped.size();
    std::string expanded;
    expanded.reserve(stripped.size());
    ExpandIncludes(stripped, DirectoryOf(fileName), context, expanded);
    if (context.failed)
        return false;
    // Pieces joined at include boundaries may form new comments.
    if (!StripComments(expanded))
    {
        DiagPrint("%s: unterminated /* comment\n", fileName.c_str());
        return false;
    }
    m_shared->text = std::move(expanded);
    m_ok = true;
    return true;
}

const std::string& CTokenFile::FileName() const
{
    static const std::string empty;
    return m_shared ? m_shared->fileName : empty;
}

const std::string& CTokenFile::Text() const
{
    static const std::string empty;
    return m_shared ? m_shared->text : empty;
}

size_t CTokenFile::FindKey(const char* key)
{
    if (!m_shared || key == nullptr)
        return std::string::npos;
    std::string& text = m_shared->text;
    const size_t n = text.size();
    const size_t keyLength = strnlen(key, kMaxKeyLength);
    int depth = 0;
    size_t pos = m_blockStart;
    while (pos < n)
    {
        const char c = text[pos];
        if (c == '{')
        {
            ++depth;
        }
        else if (c == '}')
        {
            if (--depth < 0)
                return std::string::npos;
        }
        else if (c == '.' && depth == 0)
        {
            // A brace ends the word too, so ".WING{" still counts its brace.
            const size_t wordStart = pos + 1;
            size_t end = wordStart;
            while (end < n && !IsSeparator(text[end]) && text[end] != '{' && text[end] != '}')
                ++end;
            const size_t wordLength = std::min(end - wordStart, kMaxKeyLength);
            if (wordLength == keyLength && text.compare(wordStart, wordLength, key, keyLength) == 0)
            {
                text[pos] = '*';
                return end;
            }
            pos = end;
            continue;
        }
        ++pos;
    }
    return std::string::npos;
}

CTokenFile* CTokenFile::OpenBlock(const char* key, std::string* outName, size_t nameSize)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
        return nullptr;
    const std::string& text = m_shared->text;
    const size_t n = text.size();
    std::string name;
    if (outName != nullptr)
    {
        while (pos < n && IsSeparator(text[pos]))
            ++pos;
        const size_t start = pos;
        while (pos < n && !IsSeparator(text[pos]) && text[pos] != '{')
            ++pos;
        if (pos == start)
        {
            DiagPrint("%s: .%s has no name\n", FileName().c_str(), key);
            return nullptr;
        }
        name = text.substr(start, std::min(pos - start, BufferLimit(nameSize)));
        *outName = name;
    }
    // A '}' first means this key has no block of its own; going on would hand out the next
    // block's contents under this key.
    while (pos < n && text[pos] != '{' && text[pos] != '}')
        ++pos;
    if (pos >= n || text[pos] != '{')
    {
        DiagPrint("%s: .%s is not followed by a block\n", FileName().c_str(), key);
        return nullptr;
    }
    std::unique_ptr<CTokenFile> child(new CTokenFile(m_shared, pos + 1, std::move(name)));
    CTokenFile* result = child.get();
    m_shared->children.push_back(std::move(child));
    return result;
}

bool CTokenFile::GetInt(const char* key, int& out, int defaultValue)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
    {
        out = defaultValue;
        return false;
    }
    out = ToInt(ReadToken(m_shared->text, pos, BufferLimit(kNumberTokenSize)));
    return true;
}

bool CTokenFile::GetFloat(const char* key, float& out, float defaultValue)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
    {
        out = defaultValue;
        return false;
    }
    out = ToFloat(ReadToken(m_shared->text, pos, BufferLimit(kNumberTokenSize)));
    return true;
}

bool CTokenFile::GetBool(const char* key, bool& out, bool defaultValue)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
    {
        out = defaultValue;
        return false;
    }
    out = ToInt(ReadToken(m_shared->text, pos, BufferLimit(kNumberTokenSize))) != 0;
    return true;
}

bool CTokenFile::GetVector2(const char* key, float& outX, float& outY, float defaultX, float defaultY)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
    {
        outX = defaultX;
        outY = defaultY;
        return false;
    }
    outX = ToFloat(ReadToken(m_shared->text, pos, BufferLimit(kNumberTokenSize)));
    outY = ToFloat(ReadToken(m_shared->text, pos, BufferLimit(kNumberTokenSize)));
    return true;
}

bool CTokenFile::GetVector3(const char* key, CVector3& out, const CVector3& defaultValue)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
    {
        out = defaultValue;
        return false;
    }
    for (int i = 0; i < 3; ++i)
        out[i] = ToFloat(ReadToken(m_shared->text, pos, BufferLimit(kNumberTokenSize)));
    return true;
}

bool CTokenFile::GetVectorI2(const char* key, int& outX, int& outY, int defaultX, int defaultY)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
    {
        outX = defaultX;
        outY = defaultY;
        return false;
    }
    outX = ToInt(ReadToken(m_shared->text, pos, BufferLimit(kNumberTokenSize)));
    outY = ToInt(ReadToken(m_shared->text, pos, BufferLimit(kNumberTokenSize)));
    return true;
}

bool CTokenFile::GetToken(const char* key, std::string& out, const char* defaultValue, size_t size)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
    {
        out = defaultValue != nullptr ? defaultValue : "";
        return false;
    }
    out = ReadToken(m_shared->text, pos, BufferLimit(size));
    return true;
}

bool CTokenFile::GetString(const char* key, std::string& out, const char* defaultValue, size_t size)
{
    size_t pos = FindKey(key);
    if (pos == std::string::npos)
    {
        out = defaultValue != nullptr ? defaultValue : "";
        return false;
    }
    out.clear();
    const std::string& text = m_shared->text;
    const size_t n = text.size();
    while (pos < n && text[pos] != '"' && !IsLineBreak(text[pos]))
        ++pos;
    if (pos >= n || text[pos] != '"')
    {
        DiagPrint("%s: .%s: no quoted string on its line\n", FileName().c_str(), key);
        return false;
    }
    const size_t start = ++pos;
    while (pos < n && text[pos] != '"' && !IsLineBreak(text[pos]))
        ++pos;
    if (pos >= n || text[pos] != '"')
    {
        DiagPrint("%s: .%s: unterminated quoted string\n", FileName().c_str(), key);
        return false;
    }
    // The size counts the terminator: a size of 0 holds not even the empty string.
    if (size == 0 || pos - start > BufferLimit(size))
    {
        DiagPrint("%s: .%s: quoted string longer than %zu characters\n", FileName().c_str(), key,
                  BufferLimit(size));
        return false;
    }
    out.assign(text, start, pos - start);
    return true;
}

bool CTokenFile::GetText(const char* key, std::string& out, const char* defaultValue)
{
    return GetString(key, out, defaultValue, kTextSize);
}

void CTokenFile::BeginList()
{
    m_listCursor = m_blockStart;
}

bool CTokenFile::NextToken(std::string& out, size_t size)
{
    if (!m_shared)
    {
        out.clear();
        return false;
    }
    const std::string& text = m_shared->text;
    while (m_listCursor < text.size() && IsSeparator(text[m_listCursor]))
        ++m_listCursor;
    if (m_listCursor >= text.size() || text[m_listCursor] == '}')
    {
        out.clear();
        return false;
    }
    out = ReadToken(text, m_listCursor, BufferLimit(size));
    return true;
}

bool CTokenFile::NextFloat(float& out)
{
    std::string token;
    if (!NextToken(token, kListTokenSize))
        return false;
    out = ToFloat(token);
    return true;
}
