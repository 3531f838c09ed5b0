// Drawing tests against a real GL context (Mesa llvmpipe under Xvfb): pixels are read back and
// compared with what the data says.

#include <vector>

#include "GlWindowTest.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/views/CViewManager.h"

namespace
{
class GlDrawTest : public GlWindowTest
{
protected:
    void SetUp() override
    {
        GlWindowTest::SetUp();
        if (IsSkipped())
            return;
        glViewport(0, 0, kW, kH);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SetTextAlign(TA_LEFT_TOP);
    }
};

TEST_F(GlDrawTest, SpriteAtScaleOneReproducesItsTexturePixels)
{
    const int id = SpriteList().Find("MODEL_INFO");
    ASSERT_GE(id, 0);
    const CSprite& sprite = SpriteList().Get(id);
    // Held: the first draw uploads the texture, and the manager then lets its copy go.
    const osg::ref_ptr<const osg::Image> image = TextureManager().Image(sprite.textureId);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->getPixelFormat(), static_cast<GLenum>(GL_RGBA));
    {
        CDraw2DScope scope;
        SetColor(20);
        DrawSprite(id, 100.0f, 100.0f);
    }
    glFinish();
    int compared = 0;
    for (int r = 0; r < sprite.height; ++r)
        for (int c = 0; c < sprite.width; ++c)
        {
            // The image is stored bottom-up: texture row y from the top is image row t - 1 - y.
            const unsigned char* src = image->data(sprite.x + c, image->t() - 1 - (sprite.y + r));
            const float a = src[3] / 255.0f;
            const TRgb got = At(100 + c, 100 + r);
            // Blended over black.
            EXPECT_NEAR(got.r, src[0] * a, 2.0) << c << "," << r;
            EXPECT_NEAR(got.g, src[1] * a, 2.0) << c << "," << r;
            EXPECT_NEAR(got.b, src[2] * a, 2.0) << c << "," << r;
            ++compared;
        }
    EXPECT_EQ(compared, 32 * 32);
    const TRgb outside = At(99, 99);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);
}

TEST_F(GlDrawTest, TextInkStaysInsideItsRectangle)
{
    TTextRect rect;
    {
        CDraw2DScope scope;
        SetColor(20);
        Fonts().DrawText(Fonts().f09x12, 200.0f, 300.0f, "Kestro 1.0 Wg", 1.0f, &rect);
    }
    EXPECT_FLOAT_EQ(rect.w, 13 * 9.0f);
    EXPECT_FLOAT_EQ(rect.h, 12.0f);
    const std::vector<unsigned char> pixels = ReadWindow();
    const auto ink = [](int r, int g, int b) { return r + g + b > 0; };
    const int inside = CountPixels(pixels, static_cast<int>(rect.x), static_cast<int>(rect.y),
                                   static_cast<int>(rect.x + rect.w), static_cast<int>(rect.y + rect.h), ink);
    EXPECT_GT(inside, 100);
    EXPECT_EQ(CountPixels(pixels, 180, 280, 340, 330, ink), inside) << "ink outside the rectangle";
}

TEST_F(GlDrawTest, FontFilteringIsNearestOnlyAtScaleOne)
{
    CDraw2DScope scope;
    const CFont* font = Fonts().Get(Fonts().f09x12);
    ASSERT_NE(font, nullptr);
    const struct { float scale; GLint filter; } rows[] = {{1.0f, GL_NEAREST}, {2.0f, GL_LINEAR}, {1.0f, GL_NEAREST}, {0.5f, GL_LINEAR}};
    for (const auto& row : rows)
    {
        Fonts().DrawText(Fonts().f09x12, 10.0f, 10.0f, "ab", row.scale);
        TextureManager().Bind(font->textureId, row.scale != 1.0f); // what the drawing left bound
        GLint minFilter = 0, magFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        EXPECT_EQ(minFilter, row.filter) << row.scale;
        EXPECT_EQ(magFilter, row.filter) << row.scale;
    }
}

TEST_F(GlDrawTest, PrimitivesLandOnTheirPixels)
{
    {
        CDraw2DScope scope;
        SetColor(21);
        FillRect(10, 10, 20, 20);
        SetColor(24);
        DrawRect(50, 10, 20, 20);
        DrawGradientVertical(100, 10, 10, 100, PaletteColor(27), PaletteColor(0));
        FillRect(140, 10, 10, 10, 36);
        DrawLine(200, 15, 260, 15); // neither the gradient nor the outline took the pen
    }
    glFinish();
    EXPECT_EQ(At(15, 15).r, 255);
    EXPECT_EQ(At(9, 9).r, 0);
    EXPECT_EQ(At(30, 30).r, 0) << "width and height are exclusive";
    EXPECT_EQ(At(50, 10).g, 255) << "outline corner";
    EXPECT_EQ(At(60, 20).g, 0) << "outline only";
    EXPECT_GT(At(105, 11).b, 240);
    EXPECT_LT(At(105, 108).b, 15);
    EXPECT_EQ(At(140, 10).r, 255) << "yellow outline";
    EXPECT_EQ(At(145, 15).r, 0) << "green inside";
    EXPECT_EQ(At(230, 15).g, 255);
    EXPECT_EQ(At(230, 15).r, 0);
    EXPECT_EQ(At(230, 17).g, 0);
}

// A window dragged larger, maximised or full screen: the 2D layer and every view follow it.
TEST_F(GlDrawTest, ViewsFollowTheWindowSize)
{
    CViewManager manager;
    CView view("Main", 0);
    view.Viewport().SetNormalisedRect(0.0f, 0.0f, 1.0f, 1.0f);
    manager.Add(&view);
    manager.SetBackground(0);
    manager.Run();
    CViewport corner;
    corner.SetPixelRect({256, 192, 512, 384});
    SDL_SetWindowSize(s_window, 1600, 1000);
    manager.Run();
    EXPECT_EQ(view.Viewport().PixelRect().w, 1600);
    EXPECT_EQ(view.Viewport().PixelRect().h, 1000);
    corner.Relayout(); // keeps its proportions
    EXPECT_EQ(corner.PixelRect().x, 400);
    EXPECT_EQ(corner.PixelRect().w, 800);
    SDL_SetWindowSize(s_window, kW, kH);
}

TEST_F(GlDrawTest, ScopeLeavesTheSceneStateAsItFoundIt)
{
    // What OSG would have set for the 3D scene.
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glViewport(10, 20, 300, 200);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -1, 1, 1, 100);
    GLfloat before[16];
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    {
        CDraw2DScope scope;
        SetColor(20);
        DrawSprite(SpriteList().Find("B_HOME"), 5.0f, 5.0f);
        Fonts().DrawText(Fonts().f06x12, 5.0f, 40.0f, "2D", 1.0f);
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 10);
    EXPECT_EQ(viewport[3], 200);
    GLfloat after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(after[i], before[i]) << i;
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
} // namespace
