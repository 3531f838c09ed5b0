#pragma once
// A CFile that collects what is written into a string, so a whole file can be formatted first
// and then replaced on disk in one step (ReplaceFile). Reading gives nothing.

#include <string>

#include "data/CFile.h"

class CFileText : public CFile
{
public:
    CFileText() { m_open = true; }

    size_t Read(void*, size_t) override { return 0; }
    size_t Write(const void* buffer, size_t count) override
    {
        if (buffer == nullptr)
            return 0;
        m_text.append(static_cast<const char*>(buffer), count);
        return count;
    }
    using CFile::Write;
    void ReadLine(char* buffer, size_t size) override
    {
        if (buffer != nullptr && size > 0)
            buffer[0] = '\0';
    }
    void WriteLine(const char* line) override
    {
        Write(line);
        m_text += "\r\n";
    }
    bool IsEof() override { return true; }
    void Seek(long, ESeekOrigin) override {}
    long Tell() override { return static_cast<long>(m_text.size()); }
    long Length() override { return static_cast<long>(m_text.size()); }
    bool Close() override { return true; }

    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
