#pragma once
// The token text format shared by every data file: keys ".KEY value...", named blocks
// ".KEY name { ... }", "//" and "/* */" comments, "#include file" lines.
//
// Readers are lookup-driven: a getter finds the first unconsumed occurrence of a key at depth 0
// of its block, consumes it (for every block of the same loaded file) and reads the value
// tokens after it; an absent key stores the default and returns false. Reading a key twice
// yields its first, then its second occurrence; that is how repeated blocks are read.
//
// A loaded file is the root block; OpenBlock returns child blocks that the root owns and frees
// with itself, however many are opened.

#include <memory>
#include <string>
#include <vector>

#include "core/CVector3.h"

class CTokenFile
{
public:
    CTokenFile();
    ~CTokenFile();
    CTokenFile(const CTokenFile&) = delete;
    CTokenFile& operator=(const CTokenFile&) = delete;

    // Reads the file, expands includes (relative to the file's folder), strips comments.
    // False for a missing file, an unterminated "/*", more than 500 includes or a text over
    // 1,000,000 characters. An include that cannot be read or leaves its folder (absolute or
    // "..") is skipped with a diagnostic; a missing top-level file fails without one.
    bool Load(const std::string& path);
    // The same for a text already in memory; includes resolve relative to the folder of name.
    bool LoadText(const std::string& text, const std::string& name);

    bool IsOk() const { return m_ok; }
    const std::string& FileName() const;
    // The name token read by OpenBlock; empty when none was asked for.
    const std::string& BlockName() const { return m_blockName; }

    // Finds and consumes the key at depth 0; with outName, the next token is the block's name
    // (at most nameSize - 1 characters; the open brace is no name). Null when absent or when no
    // "{" follows.
    CTokenFile* OpenBlock(const char* key, std::string* outName = nullptr, size_t nameSize = 50);

    bool GetInt(const char* key, int& out, int defaultValue);
    bool GetFloat(const char* key, float& out, float defaultValue);
    bool GetBool(const char* key, bool& out, bool defaultValue);
    bool GetVector2(const char* key, float& outX, float& outY, float defaultX, float defaultY);
    bool GetVector3(const char* key, CVector3& out, const CVector3& defaultValue);
    bool GetVectorI2(const char* key, int& outX, int& outY, int defaultX, int defaultY);
    // One raw token, cut to size - 1 characters.
    bool GetToken(const char* key, std::string& out, const char* defaultValue, size_t size = 50);
    // A quoted string on the key's line, at most size - 1 characters (longer strings, and any
    // string when size is 0, fail with an empty out).
    // Once the key was found, failure gives an empty out, not the default.
    bool GetString(const char* key, std::string& out, const char* defaultValue, size_t size = 1000);
    bool GetText(const char* key, std::string& out, const char* defaultValue);

    // Sequential reading of the block's contents as a flat token list (numeric tables).
    void BeginList();
    // False at the end of the text or when the token begins with '}'.
    bool NextFloat(float& out);
    bool NextToken(std::string& out, size_t size = 100);

    // The whole expanded, comment-free text (shared by all blocks of the file).
    const std::string& Text() const;

private:
    struct Shared;
    CTokenFile(std::shared_ptr<Shared> shared, size_t blockStart, std::string blockName);

    // Offset just after the consumed key word, or npos when the key is absent.
    size_t FindKey(const char* key);
    // Frees the blocks opened from this root (they hold the shared state too).
    void ReleaseChildren();

    std::shared_ptr<Shared> m_shared; // text and owned child blocks of the loaded file
    bool m_ok = false;
    std::string m_blockName;
    size_t m_blockStart = 0;
    size_t m_listCursor = 0;
    bool m_isRoot = false; // loaded through Load/LoadText, owns the children in m_shared
};

// Removes "//" and "/* */" comments in place with the rules of the format (each opens inside the
// other and inside quotes). False when the text ends inside a block comment.
bool StripComments(std::string& text);
