#pragma once
// Reading the scene files of Data/3D without parsing their text at every flight start.
//
// ReadSceneFile(path of "<name>.osg" in Data/3D) reads a binary copy, Output/SceneCache/<name>.osgb, when
// that copy exists and carries the text file's time stamp: OpenSceneGraph's binary format with the
// images held raw, so neither the text nor the PNG images are decoded again (the flying site
// took about half a second to parse, most of the time from the menu to the first flight frame).
// Otherwise it reads the text file and writes the copy, to a temporary name renamed at the end so
// that an interrupted write never leaves half a file to be read. A copy that cannot be read or
// written only costs the time of the text parse; the text files stay the source of truth and
// their generators are untouched. Files elsewhere (tests' folders) are read as they are.
//
// Every texture of the returned scene drops its image once it is on the GL side (the driver
// keeps its own copy and nothing reads the pixels back): the program keeps one GL context, and
// the viewports tell OpenSceneGraph so (osg::DisplaySettings, max graphics contexts 1), without
// which OpenSceneGraph would keep the images for contexts that never come.

#include <string>

#include <osg/ref_ptr>

namespace osg
{
class Image;
class Node;
}

// The scene of a .osg file (through its binary copy when current); null when it cannot be read.
osg::ref_ptr<osg::Node> ReadSceneFile(const std::string& path);

// Stores a large 8-bit RGB image (a site's 2048 x 2048 colour map) at 16 bits per texel, 5-6-5,
// which the driver keeps as such (GL_RGB565): half the GL memory of 32-bit texels, 10.7 MiB less
// for 2048 x 2048 with mipmaps. The steps, at most 4 of 255, hide under the detail texture.
// ReadSceneFile packs the images of the scenes it returns, and their copies hold them packed.
// Other images are left as they are; false then.
bool PackColourImage(osg::Image& image);

// The copy's path for a scene file: Output/SceneCache/<file name>b.
std::string SceneCachePath(const std::string& path);
