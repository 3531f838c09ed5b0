#include "gfx/draw2d/Draw2D.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <SDL2/SDL.h>

#include <algorithm>

#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/CTextureManager.h"

namespace
{
// Before any window has a context (and in tests without one).
constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;

void ApplyColor(const TColor& c)
{
    glColor4ub(c.r, c.g, c.b, c.a);
}

void Quad(float x, float y, float w, float h)
{
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x, y + h);
    glVertex2f(x + w, y + h);
    glVertex2f(x + w, y);
    glEnd();
}

void PrepareUntextured()
{
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
}
} // namespace

TWindowSize WindowClientSize()
{
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (window == nullptr)
        return TWindowSize{kDefaultWidth, kDefaultHeight};
    TWindowSize size;
    SDL_GL_GetDrawableSize(window, &size.w, &size.h);
    return TWindowSize{std::max(1, size.w), std::max(1, size.h)};
}

int WindowClientWidth()
{
    return WindowClientSize().w;
}

int WindowClientHeight()
{
    return WindowClientSize().h;
}

CDraw2DScope::CDraw2DScope()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();

    // OSG leaves its own program and texture unit bound; 2D wants the fixed pipeline on unit 0.
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    Set2DProjectionWindow();
}

CDraw2DScope::~CDraw2DScope()
{
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

void Set2DProjectionVirtual(int x, int y, int width, int height, int virtualWidth, int virtualHeight)
{
    glViewport(x, WindowClientHeight() - y - height, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Top and bottom swapped: y points down, as in the window, so nothing needs flipping.
    glOrtho(0.0, virtualWidth, virtualHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
}

void Set2DProjection(int x, int y, int width, int height)
{
    Set2DProjectionVirtual(x, y, width, height, width, height);
}

void Set2DProjectionWindow()
{
    const TWindowSize size = WindowClientSize();
    Set2DProjection(0, 0, size.w, size.h);
}

void DrawGradientVertical(int x, int y, int w, int h, const TColor& top, const TColor& bottom)
{
    PrepareUntextured();
    // The corner colours are not the pen: it stays as it was.
    glPushAttrib(GL_CURRENT_BIT);
    glBegin(GL_QUADS);
    ApplyColor(top);
    glVertex2f(x, y);
    ApplyColor(bottom);
    glVertex2f(x, y + h);
    glVertex2f(x + w, y + h);
    ApplyColor(top);
    glVertex2f(x + w, y);
    glEnd();
    glPopAttrib();
}

void DrawGradientHorizontal(int x, int y, int w, int h, const TColor& left, const TColor& right)
{
    PrepareUntextured();
    // The corner colours are not the pen: it stays as it was.
    glPushAttrib(GL_CURRENT_BIT);
    glBegin(GL_QUADS);
    ApplyColor(left);
    glVertex2f(x, y);
    glVertex2f(x, y + h);
    ApplyColor(right);
    glVertex2f(x + w, y + h);
    glVertex2f(x + w, y);
    glEnd();
    glPopAttrib();
}

void DrawLine(float x0, float y0, float x1, float y1)
{
    PrepareUntextured();
    glBegin(GL_LINES);
    glVertex2f(x0 + 0.5f, y0 + 0.5f);
    glVertex2f(x1 + 0.5f, y1 + 0.5f);
    glEnd();
}

void FillRect(int x, int y, int w, int h)
{
    PrepareUntextured();
    Quad(x, y, w, h);
}

void FillRect(int x, int y, int w, int h, int outlineIndex)
{
    FillRect(x, y, w, h);
    glPushAttrib(GL_CURRENT_BIT);
    SetColor(outlineIndex);
    DrawRect(x, y, w, h);
    glPopAttrib();
}

void DrawRect(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    // Pixel centres, so a 1-pixel outline covers exactly the rectangle's border pixels.
    PrepareUntextured();
    const float x0 = x + 0.5f, y0 = y + 0.5f, x1 = x + w - 0.5f, y1 = y + h - 0.5f;
    glBegin(GL_LINE_LOOP);
    glVertex2f(x0, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y1);
    glVertex2f(x1, y0);
    glEnd();
}

void DrawSprite(int spriteId, float x, float y, float w, float h)
{
    const CSprite& sprite = SpriteList().Get(spriteId);
    if (sprite.textureId <= 0)
        return;
    const bool exact = w == static_cast<float>(sprite.width) && h == static_cast<float>(sprite.height);
    if (!TextureManager().Bind(sprite.textureId, !exact))
        return;
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_QUADS);
    glTexCoord2f(sprite.s0, 1.0f - sprite.t0);
    glVertex2f(x, y);
    glTexCoord2f(sprite.s0, 1.0f - sprite.t1);
    glVertex2f(x, y + h);
    glTexCoord2f(sprite.s1, 1.0f - sprite.t1);
    glVertex2f(x + w, y + h);
    glTexCoord2f(sprite.s1, 1.0f - sprite.t0);
    glVertex2f(x + w, y);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void DrawSprite(int spriteId, float x, float y)
{
    const CSprite& sprite = SpriteList().Get(spriteId);
    DrawSprite(spriteId, x, y, static_cast<float>(sprite.width), static_cast<float>(sprite.height));
}

void DrawFrame(int x, int y, int w, int h)
{
    const TInterfaceSprites& ui = SpriteList().Interface();
    for (int id : ui.rect)
    {
        if (id < 0)
        {
            FillRect(x, y, w, h);
            return;
        }
    }
    const CSprite& corner = SpriteList().Get(ui.rect[0]);
    // Corners keep their size unless the frame is too small for them.
    const int cw = std::min(corner.width, w / 2);
    const int ch = std::min(corner.height, h / 2);
    const int xs[4] = {x, x + cw, x + w - cw, x + w};
    const int ys[4] = {y, y + ch, y + h - ch, y + h};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
        {
            const float pw = static_cast<float>(xs[col + 1] - xs[col]);
            const float ph = static_cast<float>(ys[row + 1] - ys[row]);
            if (pw > 0.0f && ph > 0.0f)
                DrawSprite(ui.rect[row * 3 + col], xs[col], ys[row], pw, ph);
        }
}
