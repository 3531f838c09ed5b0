#include "gfx/draw2d/Draw2D.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/CTextureManager.h"

namespace
{
int g_windowWidth = 1024;
int g_windowHeight = 768;
int g_projectionHeight = 768; // drawing units the current projection spans vertically

void ApplyColor(const TColor& c)
{
    glColor4ub(c.r, c.g, c.b, c.a);
}

// Window y (down) to projection y (up).
float FlipY(float y)
{
    return static_cast<float>(g_projectionHeight) - y;
}

void Quad(float x, float y, float w, float h)
{
    glBegin(GL_QUADS);
    glVertex2f(x, FlipY(y));
    glVertex2f(x, FlipY(y + h));
    glVertex2f(x + w, FlipY(y + h));
    glVertex2f(x + w, FlipY(y));
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

void SetWindowClientSize(int width, int height)
{
    g_windowWidth = width > 0 ? width : 1;
    g_windowHeight = height > 0 ? height : 1;
}

int WindowClientWidth()
{
    return g_windowWidth;
}

int WindowClientHeight()
{
    return g_windowHeight;
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
    glViewport(x, g_windowHeight - y - height, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, virtualWidth, 0.0, virtualHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    g_projectionHeight = virtualHeight;
}

void Set2DProjection(int x, int y, int width, int height)
{
    Set2DProjectionVirtual(x, y, width, height, width, height);
}

void Set2DProjectionWindow()
{
    Set2DProjection(0, 0, g_windowWidth, g_windowHeight);
}

int ProjectionHeight()
{
    return g_projectionHeight;
}

void DrawGradientVertical(int x, int y, int w, int h, const TColor& top, const TColor& bottom)
{
    PrepareUntextured();
    glBegin(GL_QUADS);
    ApplyColor(top);
    glVertex2f(x, FlipY(y));
    ApplyColor(bottom);
    glVertex2f(x, FlipY(y + h));
    glVertex2f(x + w, FlipY(y + h));
    ApplyColor(top);
    glVertex2f(x + w, FlipY(y));
    glEnd();
}

void DrawGradientHorizontal(int x, int y, int w, int h, const TColor& left, const TColor& right)
{
    PrepareUntextured();
    glBegin(GL_QUADS);
    ApplyColor(left);
    glVertex2f(x, FlipY(y));
    glVertex2f(x, FlipY(y + h));
    ApplyColor(right);
    glVertex2f(x + w, FlipY(y + h));
    glVertex2f(x + w, FlipY(y));
    glEnd();
}

void DrawLine(float x0, float y0, float x1, float y1)
{
    PrepareUntextured();
    ApplyColor(CurrentColor());
    glBegin(GL_LINES);
    glVertex2f(x0 + 0.5f, FlipY(y0 + 0.5f));
    glVertex2f(x1 + 0.5f, FlipY(y1 + 0.5f));
    glEnd();
}

void FillRect(int x, int y, int w, int h)
{
    PrepareUntextured();
    ApplyColor(CurrentColor());
    Quad(x, y, w, h);
}

void FillRect(int x, int y, int w, int h, int outlineIndex)
{
    FillRect(x, y, w, h);
    const TColor saved = CurrentColor();
    SetColor(outlineIndex);
    DrawRect(x, y, w, h);
    SetColor(saved);
}

void DrawRect(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    // Pixel centres, so a 1-pixel outline covers exactly the rectangle's border pixels.
    PrepareUntextured();
    ApplyColor(CurrentColor());
    const float x0 = x + 0.5f, y0 = y + 0.5f, x1 = x + w - 0.5f, y1 = y + h - 0.5f;
    glBegin(GL_LINE_LOOP);
    glVertex2f(x0, FlipY(y0));
    glVertex2f(x0, FlipY(y1));
    glVertex2f(x1, FlipY(y1));
    glVertex2f(x1, FlipY(y0));
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
    ApplyColor(CurrentColor());
    glBegin(GL_QUADS);
    glTexCoord2f(sprite.s0, 1.0f - sprite.t0);
    glVertex2f(x, FlipY(y));
    glTexCoord2f(sprite.s0, 1.0f - sprite.t1);
    glVertex2f(x, FlipY(y + h));
    glTexCoord2f(sprite.s1, 1.0f - sprite.t1);
    glVertex2f(x + w, FlipY(y + h));
    glTexCoord2f(sprite.s1, 1.0f - sprite.t0);
    glVertex2f(x + w, FlipY(y));
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
