// The graphics context the OSG viewers in tools/ render into: a pbuffer where the X server
// offers one (Xvfb with Mesa does), else a hidden-size window. Null, with a message naming the
// tool, when there is no display at all.
#pragma once

#include <osg/GraphicsContext>

#include <cstdio>

inline osg::ref_ptr<osg::GraphicsContext> CreateOffscreenContext(int width, int height, const char* tool)
{
    osg::ref_ptr<osg::GraphicsContext::Traits> traits = new osg::GraphicsContext::Traits;
    traits->readDISPLAY();
    traits->setUndefinedScreenDetailsToDefaultScreen();
    traits->width = width;
    traits->height = height;
    traits->doubleBuffer = true;
    traits->pbuffer = true;
    osg::ref_ptr<osg::GraphicsContext> gc = osg::GraphicsContext::createGraphicsContext(traits.get());
    if (!gc)
    {
        traits->pbuffer = false;
        gc = osg::GraphicsContext::createGraphicsContext(traits.get());
    }
    if (!gc)
        std::fprintf(stderr, "%s: no graphics context (is DISPLAY set?)\n", tool);
    return gc;
}
