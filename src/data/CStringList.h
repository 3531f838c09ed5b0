#pragma once
// Name lists: a view on constant names (CStringListStatic) and an owned, growable list
// (CStringListDynamic).

#include <string>
#include <vector>

class CStringList
{
public:
    virtual ~CStringList() = default;
    // Index of the first element equal to text (exact), or -1.
    virtual int Find(const char* text) const = 0;
    // The element, or the empty text when the index is out of range.
    virtual const char* Get(int index) const = 0;
    virtual int Count() const = 0;
};

class CStringListStatic : public CStringList
{
public:
    CStringListStatic(const char* const* names, int count) : m_names(names), m_count(count) {}
    int Find(const char* text) const override;
    const char* Get(int index) const override;
    int Count() const override { return m_count; }

private:
    const char* const* m_names; // not owned: constant tables
    int m_count;
};

class CStringListDynamic : public CStringList
{
public:
    int Find(const char* text) const override;
    const char* Get(int index) const override;
    int Count() const override { return static_cast<int>(m_items.size()); }

    int Add(const std::string& text);
    void Set(int index, const std::string& text);
    void Clear() { m_items.clear(); }
    // Ascending, case-insensitive.
    void Sort();
    void ReplaceAll(const std::string& oldText, const std::string& newText);
    // Adds the names of the files of base directory + folder that match the wildcard pattern
    // ('*' and '?', letters in either case; "*.*" is every file), in directory order. Folders
    // are skipped. Returns how many were added.
    int AddFiles(int folder, const std::string& pattern);

private:
    std::vector<std::string> m_items;
};
