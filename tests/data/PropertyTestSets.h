#pragma once
// Shared fixtures of the property tests: a set with one property of every type, an in-memory
// file, and a capture of the diagnostic output.

#include "support/DiagCapture.h"
#include <algorithm>
#include <string>
#include <vector>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CPropertySet.h"

// One property of each type; MASS is required.
inline const TPropertyDeclaration kEveryTypeDeclarations[] = {
    {false, EPropertyType::UNKNOWN, "COUNT", 1.0f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::BOOL, "ENABLED", 0.1f, 0.0f, 1.0f, 0},
    {true, EPropertyType::FLOAT, "MASS", 0.1f, 0.0f, 100.0f, kPropertyFlagExtraSpace},
    {false, EPropertyType::SLIDER, "GAIN", 0.1f, -1.0f, 1.0f, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTOR2, "OFFSET", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTORI2, "SIZE", 1.0f, 0.0f, 4096.0f, 0},
    {false, EPropertyType::TOKEN_EXT, "SERVO", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN, "TARGET", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
};
constexpr int kEveryTypeCount = static_cast<int>(sizeof(kEveryTypeDeclarations) / sizeof(kEveryTypeDeclarations[0]));

// The owner's side is a counter: how often the set applied its values.
class CEveryTypeSet : public CPropertySet
{
public:
    explicit CEveryTypeSet(const char* name = "TESTSET")
    {
        Init(name, kEveryTypeDeclarations, kEveryTypeCount);
        SetDefaults();
        StoreProperties();
        applyCount = 0;
    }
    bool ApplyProperties() override
    {
        ++applyCount;
        return applyResult;
    }
    void StoreProperties() override {}
    void SetDefaults() override {}

    int applyCount = 0;
    bool applyResult = true;
};

// Collects everything written; accepts at most capacity bytes in total.
class CMemoryFile : public CFile
{
public:
    explicit CMemoryFile(size_t capacity = std::string::npos) : m_capacity(capacity) {}
    size_t Write(const void* buffer, size_t count) override
    {
        const size_t taken = std::min(count, m_capacity - text.size());
        text.append(static_cast<const char*>(buffer), taken);
        return taken;
    }
    using CFile::Write;
    size_t Read(void*, size_t) override { return 0; }
    void ReadLine(char* buffer, size_t size) override { if (size > 0) buffer[0] = '\0'; }
    bool IsEof() override { return true; }
    void Seek(long, ESeekOrigin) override {}
    long Tell() override { return 0; }
    long Length() override { return static_cast<long>(text.size()); }
    bool Close() override { return true; }

    std::string text;

private:
    size_t m_capacity;
};

