#pragma once
// What the fuzz targets do with one input, shared with the corpus replay test so the sanitizer
// pass of the normal tests runs every saved input through the same code.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>
#include <utility>
#include <vector>

#include "data/CTokenFile.h"
#include "data/StringTable.h"

namespace fuzz
{
// A fresh folder below the temporary one, removed when the process ends; empty if none can be made.
inline std::string PrivateDir(const char* prefix)
{
    static std::vector<std::string> made;
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    if (made.empty())
        std::atexit([] {
            std::error_code ignored;
            for (const std::string& dir : made)
                std::filesystem::remove_all(dir, ignored);
        });
    made.push_back(pattern);
    return pattern;
}

// Includes resolve in a private folder holding a few fixed files, so inputs splice real files
// (and broken ones) but never read anything else.
inline const std::string& FuzzFileName()
{
    static const std::string name = [] {
        const std::string dir = PrivateDir("kestro-fuzz");
        if (dir.empty())
            return std::string("/nonexistent-kestro-fuzz/input.txt");
        const std::pair<const char*, const char*> files[] = {
            {"a.txt", ".A 1\n#include b.txt"},
            {"b.txt", "{ .B 2 } /"},
            {"c.txt", "*/ .X 3 4 5\r\n"},
            {"d.txt", ".D 1 /* never closed"},
            {"sub/e.txt", "#include f.txt\n.PART p {"},
            {"sub/f.txt", ".TABLE { 1 2 3 }"},
        };
        for (const auto& [file, content] : files)
        {
            const std::filesystem::path path = std::filesystem::path(dir) / file;
            std::filesystem::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << content;
        }
        return dir + "/input.txt";
    }();
    return name;
}

[[noreturn]] inline void Fail()
{
    __builtin_trap();
}

// The input is a token file followed by a tail of operation bytes; the last byte says how many
// (0..63). Each operation byte picks a lookup in its low four bits and a key in the high four.
inline void TokenFile(const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    const size_t opCount = std::min<size_t>(data[size - 1] % 64, size - 1);
    const size_t textSize = size - 1 - opCount;
    const std::string text(reinterpret_cast<const char*>(data), textSize);
    const uint8_t* ops = data + textSize;

    CTokenFile root;
    root.LoadText(text, FuzzFileName());

    static const char* const keys[] = {"A", "B", "KEY", "PART", "TABLE", "NAME", "MASS", "X", ""};
    constexpr size_t keyCount = sizeof keys / sizeof keys[0];
    std::vector<CTokenFile*> blocks = {&root};
    for (size_t i = 0; i < opCount; ++i)
    {
        CTokenFile& block = *blocks.back();
        const unsigned kind = ops[i] & 15u;
        const unsigned high = ops[i] >> 4;
        const char* key = keys[high % keyCount];
        int a = 0, b = 0;
        float f = 0.0f, g = 0.0f;
        bool flag = false;
        CVector3 v;
        std::string out;
        switch (kind)
        {
        case 0: block.GetInt(key, a, 1); break;
        case 1: block.GetFloat(key, f, 1.0f); break;
        case 2: block.GetBool(key, flag, true); break;
        case 3: block.GetVector2(key, f, g, 1.0f, 2.0f); break;
        case 4: block.GetVector3(key, v, CVector3(1, 2, 3)); break;
        case 5: block.GetVectorI2(key, a, b, 1, 2); break;
        case 6:
        {
            const size_t limit = high % 4;
            if (block.GetToken(key, out, "default", limit) && out.size() + 1 > std::max<size_t>(limit, 1))
                Fail();
            break;
        }
        case 7:
        {
            const size_t limit = high % 8;
            if (block.GetString(key, out, "default", limit) && out.size() + 1 > limit)
                Fail();
            break;
        }
        case 8: block.GetText(key, out, "default"); break;
        case 9:
            if (CTokenFile* child = block.OpenBlock(key))
                blocks.push_back(child);
            break;
        case 10:
            if (CTokenFile* child = block.OpenBlock(key, &out, high % 8))
                blocks.push_back(child);
            break;
        case 11:
            if (blocks.size() > 1)
                blocks.pop_back();
            break;
        case 12: block.BeginList(); break;
        case 13:
            for (int n = 0; n < 1000 && block.NextFloat(f); ++n)
            {
            }
            break;
        case 14: block.NextToken(out, high % 4); break;
        case 15: block.GetToken(key, out, nullptr, 0); break;
        }
    }
}

// The input is a String.txt; every blank-separated word of it is looked up, before and after
// the debug switch when the first byte is odd.
inline void StringTable(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    LoadStringTableFromText(text);
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < text.size() && words.size() < 256)
    {
        const size_t start = text.find_first_not_of(" \t\r\n", pos);
        if (start == std::string::npos)
            break;
        size_t end = text.find_first_of(" \t\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        words.push_back(text.substr(start, end - start));
        pos = end;
    }
    const bool toggle = size > 0 && (data[0] & 1u) != 0;
    for (int pass = 0; pass < (toggle ? 2 : 1); ++pass)
    {
        if (pass == 1)
            ToggleStringDebug();
        for (const std::string& word : words)
        {
            if (LookupString(word.c_str()) == nullptr)
                Fail();
            StringTableHas(word.c_str());
        }
    }
    FreeStringTable();
}
} // namespace fuzz
