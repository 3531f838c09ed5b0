#pragma once
// Textures shared by name and counted by reference: every sprite, font and 2D picture asks for
// its image by file name and gets an id; the image is read (osgDB, from Data/Textures/) and
// uploaded to OpenGL on its first Bind, so loading needs no GL context. After the upload only
// OpenGL keeps the pixels; a new context or Image() reads the file again.
//
// Id 0 is never used. Id 1 is the dummy "DummyTexture.bmp", created by Init and standing in for
// every texture that cannot be read; when the dummy itself cannot be read its entry still exists
// (512 x 512, 3 components, drawn plain white). A released slot is reused by the next new name.

#include <memory>
#include <string>
#include <vector>

namespace osg
{
class Image;
}

class CTextureManager
{
public:
    static constexpr int kDummyId = 1;
    static constexpr const char* kDummyName = "DummyTexture.bmp";

    CTextureManager();
    ~CTextureManager();
    CTextureManager(const CTextureManager&) = delete;
    CTextureManager& operator=(const CTextureManager&) = delete;

    // Empties the table and creates the dummy (id 1). Always succeeds.
    bool Init();
    // Frees every entry (and its GL texture when a context is current).
    void Shutdown();
    // Frees the GL textures of the current context: the next Bind (in a new context) reads the
    // file again and uploads it.
    void ReleaseGLObjects();
    // The same for one texture, which keeps its id: for a big picture that only one screen shows.
    void ReleaseGLObject(int id);

    // The id of the texture with this file name (case-insensitive match of names already
    // held, which then gain a reference); the dummy id when the file cannot be read.
    int Get(const std::string& name);
    // Drops one reference; at zero the entry is freed and its slot becomes reusable. Id 0 and
    // unknown ids are ignored.
    void Release(int id);
    // Binds the texture to GL_TEXTURE_2D of the current context (uploading it the first time)
    // with nearest or linear filtering. False for an unknown id (texturing is then off).
    bool Bind(int id, bool linear);

    // Pixel size and components; 0 for an unknown id.
    int Width(int id) const;
    int Height(int id) const;
    int Components(int id) const;
    int RefCount(int id) const;
    const std::string& Name(int id) const;
    // The image as read (again, after an upload dropped it); null for the dummy stand-in, an
    // unknown id or a file gone since. For tests and cursors.
    const osg::Image* Image(int id) const;
    // Number of slots (occupied or freed) including slot 0.
    int SlotCount() const { return static_cast<int>(m_entries.size()); }

    // Appends "Textures" and one line per slot: "\n%2.i" and, when occupied,
    // " name(padded to 36) W*H NumComponents n Refs<r>".
    void Describe(std::string& ioText) const;

    // Where images are read from; Data/Textures/ below the base directory by default.
    void SetFolder(const std::string& folder) { m_folder = folder; }

private:
    struct Entry;

    Entry* Find(int id) const;

    std::vector<std::unique_ptr<Entry>> m_entries; // index = id; null = empty slot
    int m_freeCount = 0;
    std::string m_folder;
};

// The program's texture manager.
CTextureManager& TextureManager();
