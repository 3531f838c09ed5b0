#include "env/SceneCache.h"

#include <filesystem>
#include <system_error>

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

// Marks every texture of a scene to release its image after the upload.
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

private:
    static void Mark(osg::StateSet* stateSet)
    {
        if (stateSet == nullptr)
            return;
        for (unsigned unit = 0; unit < stateSet->getNumTextureAttributeLists(); ++unit)
            if (auto* texture = dynamic_cast<osg::Texture*>(
                    stateSet->getTextureAttribute(unit, osg::StateAttribute::TEXTURE)))
                texture->setUnRefImageDataAfterApply(true);
    }
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
    if (cached && IsCurrent(copy, sourceTime))
    {
        scene = osgDB::readRefNodeFile(copy.string());
        if (!scene)
            DiagPrint("%s: the scene cache cannot be read; reading %s\n", copy.string().c_str(), path.c_str());
    }
    if (!scene)
    {
        scene = osgDB::readRefNodeFile(path);
        if (!scene)
            return nullptr;
        if (cached)
            WriteCopy(*scene, sourceTime, copy);
    }
    CReleaseImagesVisitor release;
    scene->accept(release);
    return scene;
}
