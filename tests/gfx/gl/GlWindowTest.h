// Base fixture of the drawing suites: one 1024 x 768 SDL2 window with a compatibility GL context
// per suite (Mesa llvmpipe under Xvfb), pixel read-back and screenshots. Without an X server the
// suite's tests are skipped, not failed.
#pragma once

#include <gtest/gtest.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <string>
#include <vector>

#include <osg/Image>
#include <osg/State>
#include <osgDB/WriteFile>

#include "../GuiTestSupport.h"
#include "gfx/draw2d/CTextureManager.h"
#include "gfx/draw2d/Draw2D.h"

struct TRgb { int r, g, b; };

class GlWindowTest : public ::testing::Test
{
public:
    static constexpr int kW = 1024;
    static constexpr int kH = 768;

    // Writes pixels from ReadWindow() (the current window when none are given) as an image file,
    // oriented as seen on screen: osg images are bottom-up like GL's read-back.
    static void Screenshot(const std::string& name, std::vector<unsigned char> bottomUp = {})
    {
        glFinish();
        if (bottomUp.empty())
            bottomUp = ReadWindow();
        osg::ref_ptr<osg::Image> image = new osg::Image;
        image->allocateImage(kW, kH, 1, GL_RGB, GL_UNSIGNED_BYTE);
        std::copy(bottomUp.begin(), bottomUp.end(), image->data());
        EXPECT_TRUE(osgDB::writeImageFile(*image, name)) << name;
    }

protected:
    static void SetUpTestSuite()
    {
        if (SDL_Init(SDL_INIT_VIDEO) != 0)
            return;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        s_window = SDL_CreateWindow("gfx test", 0, 0, kW, kH, SDL_WINDOW_OPENGL);
        if (s_window == nullptr)
            return;
        s_context = SDL_GL_CreateContext(s_window);
        if (s_context == nullptr)
            return;
        SDL_GL_MakeCurrent(s_window, s_context);
        EnsureGfx2DLoaded();
    }

    static void TearDownTestSuite()
    {
        // The GL textures go while the context still lives.
        TextureManager().Shutdown();
        s_osgState = nullptr;
        if (s_context != nullptr)
            SDL_GL_DeleteContext(s_context);
        if (s_window != nullptr)
            SDL_DestroyWindow(s_window);
        SDL_Quit();
        s_context = nullptr;
        s_window = nullptr;
    }

    void SetUp() override
    {
        if (s_context == nullptr)
            GTEST_SKIP() << "no GL context (run under xvfb-run): " << SDL_GetError();
    }

    // RGB of the window pixel (x, y from the top-left).
    static TRgb At(int x, int y)
    {
        unsigned char p[4] = {0, 0, 0, 0};
        glReadPixels(x, kH - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return TRgb{p[0], p[1], p[2]};
    }

    // The whole window as GL reads it back: RGB, rows bottom-up.
    static std::vector<unsigned char> ReadWindow()
    {
        std::vector<unsigned char> bottomUp(static_cast<size_t>(kW) * kH * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
        return bottomUp;
    }

    // How many pixels of ReadWindow()'s picture in [x0, x1) x [y0, y1) (window pixels from the
    // top-left) pass test(r, g, b).
    template <typename TTest>
    static int CountPixels(const std::vector<unsigned char>& bottomUp, int x0, int y0, int x1, int y1, TTest test)
    {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
            {
                const unsigned char* p = &bottomUp[(static_cast<size_t>(kH - 1 - y) * kW + x) * 3];
                count += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        return count;
    }

    // The one record of the context's state for every scene view drawn in it, as the program's
    // viewports share one (gfx/views/CViewport.h). A view with a record of its own took GL for
    // fresh while the last one had left its normal array enabled, pointing into freed memory:
    // the ground's display lists took their normals from there, dark or glaring by run.
    static inline osg::ref_ptr<osg::State> s_osgState;
    static inline SDL_Window* s_window = nullptr;
    static inline SDL_GLContext s_context = nullptr;
};
