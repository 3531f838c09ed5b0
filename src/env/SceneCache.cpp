#include "env/SceneCache.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <osg/Image>
#include <osg/Node>
#include <osg/NodeVisitor>
#include <osg/StateSet>
#include <osg/Texture>
#include <osgDB/Options>
#include <osgDB/ReadFile>
#include <osgDB/WriteFile>

#include "core/Diagnostics.h"
#include "data/CFile.h"

namespace fs = std::filesystem;

namespace
{
constexpr const char* kCacheFolder = "SceneCache";

// Images at least this large are stored at 16 bits: the sites' colour maps. The field's 1024 x 1024
// image would save 2.7 MiB more, but llvmpipe samples 5-6-5 texels more slowly than 8-bit ones,
// and the field fills the pilot's view (10 % more CPU per frame with it, 3-6 % without).
constexpr int kPackedTexels = 2048 * 2048;

// Marks every texture of a scene to release its image after the upload, and packs the large
// colour images.
class CReleaseImagesVisitor : public osg::NodeVisitor
{
public:
    CReleaseImagesVisitor() : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN) {}

    void apply(osg::Node& node) override
    {
        Mark(node.getStateSet());
        traverse(node);
    }
    void apply(osg::Drawable& drawable) override { Mark(drawable.getStateSet()); }

    int Packed() const { return m_packed; }

private:
    void Mark(osg::StateSet* stateSet)
    {
        if (stateSet == nullptr)
            return;
        for (unsigned unit = 0; unit < stateSet->getNumTextureAttributeLists(); ++unit)
            if (auto* texture = dynamic_cast<osg::Texture*>(
                    stateSet->getTextureAttribute(unit, osg::StateAttribute::TEXTURE)))
            {
                texture->setUnRefImageDataAfterApply(true);
                for (unsigned i = 0; i < texture->getNumImages(); ++i)
                    if (osg::Image* image = texture->getImage(i); image != nullptr && PackColourImage(*image))
                        ++m_packed;
            }
    }

    int m_packed = 0;
};

// The copy carries the text's time stamp: any other stamp, newer or older, means another text.
// (Newer alone is not enough: data unpacked from an archive keeps the time it was packed, which
// may well be older than a copy made from the text it replaces.)
bool IsCurrent(const fs::path& copy, fs::file_time_type sourceTime)
{
    std::error_code error;
    const auto copyTime = fs::last_write_time(copy, error);
    return !error && copyTime == sourceTime;
}

void WriteCopy(const osg::Node& scene, fs::file_time_type sourceTime, const fs::path& copy)
{
    std::error_code error;
    fs::create_directories(copy.parent_path(), error);
    // The writer is chosen by the extension, so the temporary name keeps it.
    fs::path temporary = copy;
    temporary.replace_extension(".partial.osgb");
    osg::ref_ptr<osgDB::Options> options = new osgDB::Options("WriteImageHint=IncludeData");
    bool written = osgDB::writeNodeFile(scene, temporary.string(), options.get());
    if (written)
    {
        fs::last_write_time(temporary, sourceTime, error);
        written = !error;
    }
    if (!written)
    {
        DiagPrint("%s: the scene cache cannot be written; the next flight parses the text again\n",
                  copy.string().c_str());
        fs::remove(temporary, error);
        return;
    }
    fs::rename(temporary, copy, error);
    if (error)
        fs::remove(temporary, error);
}
} // namespace

bool PackColourImage(osg::Image& image)
{
    if (image.getPixelFormat() != GL_RGB || image.getDataType() != GL_UNSIGNED_BYTE ||
        image.isMipmap() || image.r() != 1 || image.s() * image.t() < kPackedTexels)
        return false;
    const int width = image.s(), height = image.t();
    auto* packed = new unsigned char[2 * static_cast<std::size_t>(width) * height];
    // Rounded to the nearest step, so that the driver's widening back to 8 bits is off by at
    // most half a step.
    const auto bits = [](unsigned value, unsigned top) { return (value * top + 127) / 255; };
    for (int row = 0; row < height; ++row)
    {
        const unsigned char* from = image.data(0, row);
        unsigned char* to = packed + 2 * static_cast<std::size_t>(width) * row;
        for (int column = 0; column < width; ++column, from += 3, to += 2)
        {
            const auto texel =
                static_cast<std::uint16_t>(bits(from[0], 31) << 11 | bits(from[1], 63) << 5 | bits(from[2], 31));
            std::memcpy(to, &texel, sizeof texel); // the GL reads a 16-bit word in the machine's order
        }
    }
    // GL_RGB565 with data in the same layout lets the driver copy the texels as they are: from
    // 8-bit data it would convert through a temporary as large as a 32-bit copy of the image.
    image.setImage(width, height, 1, GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, packed,
                   osg::Image::USE_NEW_DELETE, 2);
    return true;
}

std::string SceneCachePath(const std::string& path)
{
    return BuildDataPath(DF_OUTPUT, std::string(kCacheFolder) + "/" + fs::path(path).filename().string() + "b");
}

osg::ref_ptr<osg::Node> ReadSceneFile(const std::string& path)
{
    // Only the data folder's own files have a copy: the copies are named by the file name alone.
    // The stamp is taken before the text is parsed: a text replaced meanwhile must not lend its
    // stamp to a copy of the old one.
    std::error_code error;
    const fs::file_time_type sourceTime = fs::last_write_time(path, error);
    const bool cached = !error && fs::path(path).parent_path().lexically_normal() ==
                                      fs::path(BuildDataPath(DF_3D, "x")).parent_path().lexically_normal();
    const fs::path copy = SceneCachePath(path);
    osg::ref_ptr<osg::Node> scene;
    bool copyRead = false;
    if (cached && IsCurrent(copy, sourceTime))
    {
        scene = osgDB::readRefNodeFile(copy.string());
        if (!scene)
            DiagPrint("%s: the scene cache cannot be read; reading %s\n", copy.string().c_str(), path.c_str());
        copyRead = scene.valid();
    }
    if (!scene)
    {
        scene = osgDB::readRefNodeFile(path);
        if (!scene)
            return nullptr;
    }
    CReleaseImagesVisitor release; // before the copy is written, which then holds the packed pixels
    scene->accept(release);
    if (cached && (!copyRead || release.Packed() > 0)) // an older copy holds 8-bit pixels
        WriteCopy(*scene, sourceTime, copy);
    return scene;
}
