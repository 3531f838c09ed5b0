#pragma once
// The loaded 3D files ("VDB objects"): each scene file is read once and shared by every scene
// object that shows it. Entry 0 is always "Dummy.osg", loaded at creation; it stands in for
// every file that cannot be read, so a caller always gets a node to show.
//
// Entries are counted by reference: loading a file that is already held returns its index and
// adds a reference, and Release frees the entry only when the last user lets go. (Freeing on
// the first release would let the slot be reused by another file while the first file's other
// users still hold its index.) Freed slots are reused before the table grows.

#include <memory>
#include <string>
#include <vector>

#include <osg/Node>
#include <osg/ref_ptr>

class CVdbObjectAdmin
{
public:
    static constexpr int kDummyIndex = 0;
    static constexpr const char* kDummyName = "Dummy.osg";

    // folder: where scene files are read from (with a trailing '/'); empty means Data/3D/ below
    // the base directory.
    explicit CVdbObjectAdmin(const std::string& folder = std::string());
    ~CVdbObjectAdmin();
    CVdbObjectAdmin(const CVdbObjectAdmin&) = delete;
    CVdbObjectAdmin& operator=(const CVdbObjectAdmin&) = delete;

    // Index of the scene file (case-insensitive match of files already held, which gain a
    // reference); kDummyIndex when the file cannot be read.
    int Load(const std::string& fileName);
    // Stores a node built in memory under a name; always a new entry. -1 for a null node.
    int Register(const std::string& name, osg::Node* node);
    // Drops one reference; the entry is freed at zero. Index 0 and unknown indices are ignored.
    void Release(int index);

    // The entry's node; the dummy's node for an unknown index (never null).
    osg::Node* Node(int index) const;
    // The entry's file name; empty for an unknown index.
    const std::string& FileName(int index) const;
    int RefCount(int index) const;
    bool IsValid(int index) const;
    // Slots, occupied or free.
    int SlotCount() const { return static_cast<int>(m_entries.size()); }

    // "VDB Objects created\n" and one line per occupied entry: "%2.2i " name, references.
    void Describe(std::string& ioText) const;

private:
    struct Entry
    {
        std::string fileName;
        osg::ref_ptr<osg::Node> node;
        int refs = 0;
    };

    int Store(const std::string& name, osg::Node* node);

    std::string m_folder;
    std::vector<std::unique_ptr<Entry>> m_entries; // index = VDB index; null = free slot
};
