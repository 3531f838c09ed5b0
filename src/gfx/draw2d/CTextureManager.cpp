#include "gfx/draw2d/CTextureManager.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>

#include <strings.h>

#include <osg/Image>
#include <osgDB/ReadFile>

#include "core/Diagnostics.h"
#include "data/CFile.h"

struct CTextureManager::Entry
{
    std::string name; // as first requested
    int width = 0;
    int height = 0;
    int components = 0;
    std::string path;                       // the file read, for reading it again
    // As read; dropped once uploaded (the menu background alone is 3 MiB), read again from the
    // file for a new context or for Image(). Null for the dummy stand-in.
    mutable osg::ref_ptr<osg::Image> image;
    GLuint glName = 0;              // 0 until uploaded by the first Bind
    bool uploadTried = false;
    bool linear = false;            // filter the GL texture has now
    int refCount = 0;
    bool loaded = false;
};

namespace
{
const std::string kEmptyName;

int ComponentsOf(const osg::Image& image)
{
    switch (image.getPixelFormat())
    {
    case GL_RGBA:
    case GL_BGRA:
        return 4;
    case GL_RGB:
    case GL_BGR:
        return 3;
    case GL_LUMINANCE_ALPHA:
        return 2;
    default:
        return 1;
    }
}

void ApplyFilter(bool linear)
{
    const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}
} // namespace

CTextureManager::CTextureManager() = default;

CTextureManager::~CTextureManager()
{
    // GL names cannot be freed here safely (the context may be gone); Shutdown does that.
}

bool CTextureManager::Init()
{
    Shutdown();
    m_entries.resize(2); // slot 0 is never used
    auto dummy = std::make_unique<Entry>();
    dummy->name = kDummyName;
    const std::string folder = m_folder.empty() ? BuildDataPath(DF_TEXTURES, "") : m_folder;
    osg::ref_ptr<osg::Image> image = osgDB::readRefImageFile(folder + kDummyName);
    if (image.valid() && image->data() != nullptr)
    {
        dummy->image = image;
        dummy->path = folder + kDummyName;
        dummy->width = image->s();
        dummy->height = image->t();
        dummy->components = ComponentsOf(*image);
        dummy->loaded = true;
    }
    else
    {
        DiagPrint("%s%s: cannot be read; the dummy texture is plain\n", folder.c_str(), kDummyName);
        dummy->width = 512;
        dummy->height = 512;
        dummy->components = 3;
    }
    dummy->refCount = 1;
    m_entries[kDummyId] = std::move(dummy);
    m_freeCount = 0;
    return true;
}

void CTextureManager::Shutdown()
{
    for (auto& entry : m_entries)
        if (entry && entry->glName != 0)
            glDeleteTextures(1, &entry->glName);
    m_entries.clear();
    m_freeCount = 0;
}

void CTextureManager::ReleaseGLObjects()
{
    for (int id = 1; id < static_cast<int>(m_entries.size()); ++id)
        ReleaseGLObject(id);
}

void CTextureManager::ReleaseGLObject(int id)
{
    Entry* entry = Find(id);
    if (entry == nullptr)
        return;
    if (entry->glName != 0)
        glDeleteTextures(1, &entry->glName);
    entry->glName = 0;
    entry->uploadTried = false;
}

CTextureManager::Entry* CTextureManager::Find(int id) const
{
    if (id <= 0 || id >= static_cast<int>(m_entries.size()))
        return nullptr;
    return m_entries[id].get();
}

int CTextureManager::Get(const std::string& name)
{
    if (m_entries.size() < 2)
        Init();
    for (size_t id = 1; id < m_entries.size(); ++id)
    {
        Entry* entry = m_entries[id].get();
        if (entry != nullptr && strcasecmp(entry->name.c_str(), name.c_str()) == 0)
        {
            ++entry->refCount;
            return static_cast<int>(id);
        }
    }

    if (name.empty() || !IsPlainDataName(name))
    {
        DiagPrint("Texture '%s': not a file name inside the texture folder, using the dummy\n", name.c_str());
        return kDummyId;
    }
    const std::string folder = m_folder.empty() ? BuildDataPath(DF_TEXTURES, "") : m_folder;
    const std::string path = folder + NormalizePath(name);
    osg::ref_ptr<osg::Image> image = osgDB::readRefImageFile(path);
    if (!image.valid() || image->data() == nullptr || image->s() <= 0 || image->t() <= 0)
    {
        DiagPrint("%s: cannot be read, using the dummy texture\n", path.c_str());
        return kDummyId;
    }

    auto entry = std::make_unique<Entry>();
    entry->name = name;
    entry->path = path;
    entry->image = image;
    entry->width = image->s();
    entry->height = image->t();
    entry->components = ComponentsOf(*image);
    entry->refCount = 1;
    entry->loaded = true;

    if (m_freeCount > 0)
    {
        for (size_t id = 2; id < m_entries.size(); ++id)
            if (!m_entries[id])
            {
                m_entries[id] = std::move(entry);
                --m_freeCount;
                return static_cast<int>(id);
            }
    }
    m_entries.push_back(std::move(entry));
    return static_cast<int>(m_entries.size()) - 1;
}

void CTextureManager::Release(int id)
{
    Entry* entry = Find(id);
    if (entry == nullptr)
        return;
    if (--entry->refCount > 0)
        return;
    if (id == kDummyId)
    {
        // The dummy stands in for every missing texture: it outlives all its users.
        entry->refCount = 1;
        return;
    }
    if (entry->glName != 0)
        glDeleteTextures(1, &entry->glName);
    m_entries[id].reset();
    ++m_freeCount;
}

bool CTextureManager::Bind(int id, bool linear)
{
    Entry* entry = Find(id);
    if (entry == nullptr)
    {
        glBindTexture(GL_TEXTURE_2D, 0);
        return false;
    }
    if (entry->glName == 0 && !entry->uploadTried && Image(id) != nullptr)
    {
        entry->uploadTried = true;
        const osg::Image& image = *entry->image;
        glGenTextures(1, &entry->glName);
        glBindTexture(GL_TEXTURE_2D, entry->glName);
        glPixelStorei(GL_UNPACK_ALIGNMENT, static_cast<GLint>(image.getPacking()));
        glPixelStorei(GL_UNPACK_ROW_LENGTH, image.getRowLength());
        glTexImage2D(GL_TEXTURE_2D, 0, image.getInternalTextureFormat(), image.s(), image.t(), 0,
                     image.getPixelFormat(), image.getDataType(), image.data());
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        ApplyFilter(linear);
        entry->linear = linear;
        // OpenGL keeps its own copy.
        entry->image = nullptr;
        return true;
    }
    glBindTexture(GL_TEXTURE_2D, entry->glName);
    if (entry->glName != 0 && entry->linear != linear)
    {
        ApplyFilter(linear);
        entry->linear = linear;
    }
    return true;
}

int CTextureManager::Width(int id) const
{
    const Entry* entry = Find(id);
    return entry ? entry->width : 0;
}

int CTextureManager::Height(int id) const
{
    const Entry* entry = Find(id);
    return entry ? entry->height : 0;
}

int CTextureManager::Components(int id) const
{
    const Entry* entry = Find(id);
    return entry ? entry->components : 0;
}

int CTextureManager::RefCount(int id) const
{
    const Entry* entry = Find(id);
    return entry ? entry->refCount : 0;
}

const std::string& CTextureManager::Name(int id) const
{
    const Entry* entry = Find(id);
    return entry ? entry->name : kEmptyName;
}

const osg::Image* CTextureManager::Image(int id) const
{
    const Entry* entry = Find(id);
    if (entry == nullptr)
        return nullptr;
    if (!entry->image.valid() && !entry->path.empty())
    {
        entry->image = osgDB::readRefImageFile(entry->path);
        if (entry->image.valid() && entry->image->data() == nullptr)
            entry->image = nullptr;
    }
    return entry->image.get();
}

void CTextureManager::Describe(std::string& ioText) const
{
    ioText += "Textures";
    for (size_t id = 1; id < m_entries.size(); ++id)
    {
        ioText += StringPrintf("\n%2.i", static_cast<int>(id));
        const Entry* entry = m_entries[id].get();
        if (entry == nullptr)
            continue;
        const size_t pad = entry->name.size() < 36 ? 36 - entry->name.size() : 0;
        ioText += StringPrintf(" %s%s %3.i*%3.i NumComponents %i Refs<%i>", entry->name.c_str(),
                               std::string(pad, ' ').c_str(), entry->width, entry->height, entry->components,
                               entry->refCount);
    }
}

CTextureManager& TextureManager()
{
    static CTextureManager manager;
    return manager;
}
