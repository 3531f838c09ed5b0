#include "gfx/scene/CSunRenderer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include "core/Diagnostics.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/scene/CSun.h"
#include "gfx/draw2d/CTextureManager.h"
#include "gfx/draw2d/Draw2D.h"

namespace
{
constexpr float kDiscDistance = 500.0f;  // m from the camera
constexpr float kDiscSize = 100.0f;      // m across
constexpr float kGlareDistance = 490.0f; // in front of the disc
constexpr float kGlareSize = 2000.0f;

// Saves and restores everything a billboard changes, and loads the camera's matrices.
class CBillboardScope
{
public:
    CBillboardScope(const osg::Matrixd& view, const osg::Matrixd& projection, const int* viewport)
    {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        if (viewport[2] > 0 && viewport[3] > 0)
            glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadMatrixd(projection.ptr());
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadMatrixd(view.ptr());
        glUseProgram(0);
        glActiveTexture(GL_TEXTURE0);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_FOG);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
    }
    ~CBillboardScope()
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
    CBillboardScope(const CBillboardScope&) = delete;
    CBillboardScope& operator=(const CBillboardScope&) = delete;
};

// A square of the sprite centred at centre, facing the camera of the view matrix.
void Billboard(int spriteId, const osg::Matrixd& view, const CVector3& centre, float size, const TColor& colour)
{
    const CSprite& sprite = SpriteList().Get(spriteId);
    if (!TextureManager().Bind(sprite.textureId, true))
        return;
    // The camera's right and up axes in world coordinates: the columns of the view rotation.
    const osg::Vec3 right(view(0, 0), view(1, 0), view(2, 0));
    const osg::Vec3 up(view(0, 1), view(1, 1), view(2, 1));
    const osg::Vec3 c(centre.x, centre.y, centre.z);
    const float h = size * 0.5f;
    const osg::Vec3 corners[4] = {c - right * h + up * h, c - right * h - up * h, c + right * h - up * h,
                                  c + right * h + up * h};
    glEnable(GL_TEXTURE_2D);
    glColor4ub(colour.r, colour.g, colour.b, colour.a);
    glBegin(GL_QUADS);
    glTexCoord2f(sprite.s0, 1.0f - sprite.t0);
    glVertex3fv(corners[0].ptr());
    glTexCoord2f(sprite.s0, 1.0f - sprite.t1);
    glVertex3fv(corners[1].ptr());
    glTexCoord2f(sprite.s1, 1.0f - sprite.t1);
    glVertex3fv(corners[2].ptr());
    glTexCoord2f(sprite.s1, 1.0f - sprite.t0);
    glVertex3fv(corners[3].ptr());
    glEnd();
}
} // namespace

CSunRenderer::CSunRenderer()
{
    m_disc = SpriteList().Find("Sun1");
    m_glare = SpriteList().Find("Sun2");
    if (m_disc < 0 || m_glare < 0)
        DiagPrint("Data/Config/SpriteList.txt: sprite %s not found; the sun is drawn without it\n",
                  m_disc < 0 ? "Sun1" : "Sun2");
}

void CSunRenderer::DrawDisc(const CSun& sun, const osg::Matrixd& view, const osg::Matrixd& projection,
                            const CVector3& cameraPosition) const
{
    if (m_disc < 0)
        return;
    CBillboardScope scope(view, projection, m_viewport);
    // The disc is far beyond a near far-plane; clamping keeps it from being clipped away while
    // the terrain still hides it by depth.
    glEnable(GL_DEPTH_CLAMP);
    glEnable(GL_DEPTH_TEST);
    Billboard(m_disc, view, cameraPosition + sun.GetDirection() * kDiscDistance, kDiscSize,
              TColor{100, 100, 100, 255});
}

void CSunRenderer::DrawGlare(CSun& sun, const osg::Matrixd& view, const osg::Matrixd& projection,
                             const CVector3& cameraPosition, const CVector3& cameraForward, float frameTime) const
{
    if (!sun.IsGlareEnabled())
        return;
    const float glare = sun.UpdateGlare(cameraForward, frameTime);
    if (glare <= 0.0f || m_glare < 0)
        return;
    CBillboardScope scope(view, projection, m_viewport);
    glEnable(GL_DEPTH_CLAMP);
    glDisable(GL_DEPTH_TEST);
    Billboard(m_glare, view, cameraPosition + sun.GetDirection() * kGlareDistance, kGlareSize,
              TColor{255, 255, 255, static_cast<uint8_t>(glare * 255.0f)});
}

void CSunRenderer::DrawDiagnostics(const CSun& sun)
{
    const TColor* colours[3] = {&sun.GetAmbient(), &sun.GetDiffuse(), &sun.GetSpecular()};
    const char* labels[3] = {"Ambient", "Diffuse", "Specular"};
    for (int i = 0; i < 3; ++i)
    {
        const int y = 50 + 22 * i;
        SetColor(*colours[i]);
        FillRect(50, y, 20, 20);
        SetColor(20);
        Fonts().DrawText(Fonts().f07x12S, 70.0f, static_cast<float>(y), labels[i]);
    }
    // The table from -90 to 270 degrees over 100 pixels; each column's value 0..1 over 100.
    const TTableData& table = sun.GetLightingTable();
    const int x0 = 50, y0 = 116, size = 100;
    SetColor(10);
    DrawRect(x0, y0, size, size);
    const int columnColours[3] = {21, 27, 33};
    for (int column = 0; column < 9; column += 3)
    {
        SetColor(columnColours[column / 3]);
        float previous = 0.0f;
        for (int px = 0; px <= size; ++px)
        {
            float values[9] = {};
            table.Lookup(-90.0f + 360.0f * static_cast<float>(px) / static_cast<float>(size), values, 9);
            const float y = static_cast<float>(y0 + size) - values[column] * static_cast<float>(size);
            if (px > 0)
                DrawLine(static_cast<float>(x0 + px - 1), previous, static_cast<float>(x0 + px), y);
            previous = y;
        }
    }
    // Where the sun is now.
    SetColor(38);
    const float nowX = static_cast<float>(x0) + (sun.GetTimeOfDay() + 90.0f) / 360.0f * static_cast<float>(size);
    DrawLine(nowX, static_cast<float>(y0), nowX, static_cast<float>(y0 + size));
}
