#include "gfx/draw2d/CFontList.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>

#include <algorithm>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/CTextureManager.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/draw2d/Palette.h"

namespace
{
constexpr int kMaxGlyphs = 224; // codes 32..255
constexpr int kMaxCell = 256;   // pixels; larger cells are garbage

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;)
    {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}
} // namespace

bool CFontList::Load(CTextureManager& textures, CSpriteList& sprites)
{
    return LoadFile(BuildDataPath(DF_CONFIG, "Font.txt"), textures, sprites);
}

bool CFontList::LoadFile(const std::string& path, CTextureManager& textures, CSpriteList& sprites)
{
    CTokenFile file;
    if (!file.Load(path))
    {
        DiagPrint("%s: cannot be read; no fonts\n", path.c_str());
        ResolveNamedFonts();
        return false;
    }
    while (static_cast<int>(m_fonts.size()) < kMaxFonts)
    {
        std::string name;
        CTokenFile* block = file.OpenBlock("FONT", &name, 51);
        if (block == nullptr)
            break;
        CFont font;
        font.name = name;
        bool ok = block->GetInt("CHAR_WIDTH", font.charWidth, 0);
        ok = block->GetInt("CHAR_HEIGHT", font.charHeight, 0) && ok;
        ok = block->GetInt("INTERCHAR", font.interChar, 0) && ok;
        ok = block->GetInt("INTERLINE", font.interLine, 0) && ok;
        if (!ok)
        {
            DiagPrint("%s: FONT '%s' lacks CHAR_WIDTH, CHAR_HEIGHT, INTERCHAR or INTERLINE; fonts from here on are "
                      "not loaded\n", path.c_str(), name.c_str());
            break;
        }
        if (font.charWidth <= 0 || font.charHeight <= 0 || font.charWidth > kMaxCell || font.charHeight > kMaxCell)
        {
            DiagPrint("%s: FONT '%s': cell %i x %i is not usable; fonts from here on are not loaded\n", path.c_str(),
                      name.c_str(), font.charWidth, font.charHeight);
            break;
        }
        int columns = 0, rows = 0;
        block->GetInt("NUM_COLUMNS", columns, 0);
        block->GetInt("NUM_ROWS", rows, 0);
        std::string textureName;
        block->GetToken("TEXTURE", textureName, "", 260);
        const int textureId = textures.Get(textureName);
        if (textureId == CTextureManager::kDummyId && textureName != CTextureManager::kDummyName)
        {
            DiagPrint("%s: FONT '%s': texture '%s' cannot be read; font skipped\n", path.c_str(), name.c_str(),
                      textureName.c_str());
            continue;
        }
        const int texW = textures.Width(textureId);
        const int texH = textures.Height(textureId);
        if (columns <= 0)
            columns = texW / font.charWidth;
        if (rows <= 0)
            rows = texH / font.charHeight;
        // Cells outside the texture would sample the neighbouring wrap; keep what fits.
        columns = std::min(columns, texW / font.charWidth);
        rows = std::min(rows, texH / font.charHeight);
        if (columns <= 0 || rows <= 0)
        {
            DiagPrint("%s: FONT '%s': texture '%s' (%i x %i) holds no cell; font skipped\n", path.c_str(),
                      name.c_str(), textureName.c_str(), texW, texH);
            textures.Release(textureId);
            continue;
        }
        font.textureId = textureId;
        int glyphs = 0;
        for (int r = 0; r < rows && glyphs < kMaxGlyphs; ++r)
            for (int c = 0; c < columns && glyphs < kMaxGlyphs; ++c, ++glyphs)
            {
                CSprite glyph;
                glyph.name = "-";
                glyph.textureId = textureId;
                glyph.x = c * font.charWidth;
                glyph.y = r * font.charHeight;
                glyph.width = font.charWidth;
                glyph.height = font.charHeight;
                glyph.ComputeTexCoords(texW, texH);
                const int id = sprites.Add(glyph);
                if (glyphs == 0)
                    font.firstSprite = id;
                font.lastSprite = id;
            }
        m_fonts.push_back(font);
    }
    ResolveNamedFonts();
    return true;
}

void CFontList::Clear(CTextureManager& textures)
{
    for (const CFont& font : m_fonts)
        textures.Release(font.textureId);
    m_fonts.clear();
    ResolveNamedFonts();
}

int CFontList::Find(const std::string& name) const
{
    for (size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i].name == name)
            return static_cast<int>(i);
    return -1;
}

const CFont* CFontList::Get(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_fonts.size()))
        return nullptr;
    return &m_fonts[index];
}

void CFontList::ResolveNamedFonts()
{
    f06x12 = Find("F06x12");
    f07x12S = Find("F07x12S");
    f07x12B = Find("F07x12B");
    f09x12 = Find("F09x12");
    f09x13B = Find("F09x13B");
    f20x32Courier = Find("F20x32Courier");
}

std::vector<TGlyphQuad> CFontList::LayoutLine(int fontIndex, float x, float y, const std::string& text, float scale,
                                              int align, const CSpriteList& sprites, TTextRect* outRect) const
{
    std::vector<TGlyphQuad> quads;
    const CFont* font = Get(fontIndex);
    if (font == nullptr)
        return quads;
    const float advance = static_cast<float>(font->charWidth + font->interChar) * scale;
    const float width = advance * static_cast<float>(text.size());
    const float lineHeight = static_cast<float>(font->charHeight + font->interLine);
    if (align & TA_MIDDLE)
        y -= lineHeight * scale * 0.5f;
    else if (align & TA_BOTTOM)
        y -= lineHeight * scale;
    if (align & TA_CENTER)
        x -= width * 0.5f;
    else if (align & TA_RIGHT)
        x -= width;
    if (outRect != nullptr)
        *outRect = TTextRect{x, y, width, lineHeight * scale};

    const int lastGlyph = font->GlyphCount() - 1;
    float pen = x;
    quads.reserve(text.size());
    for (char ch : text)
    {
        const int code = static_cast<unsigned char>(ch);
        if (code != ' ')
        {
            int glyph = code > 31 && code - 32 <= lastGlyph ? code - 32 : kFallbackGlyph;
            if (glyph <= lastGlyph)
            {
                const int spriteId = font->firstSprite + glyph;
                const CSprite& sprite = sprites.Get(spriteId);
                quads.push_back(TGlyphQuad{spriteId, pen, y, sprite.width * scale, sprite.height * scale});
            }
        }
        pen += advance;
    }
    return quads;
}

int CFontList::DrawText(int fontIndex, float x, float y, const std::string& text, float scale,
                        TTextRect* outRect) const
{
    const CFont* font = Get(fontIndex);
    if (font == nullptr)
        return static_cast<int>(text.size());
    // A line feed is never a glyph: what follows it goes one line lower, and a trailing one (the
    // habit of printf formats) draws nothing.
    const size_t feed = text.find('\n');
    if (feed != std::string::npos)
    {
        DrawText(fontIndex, x, y, text.substr(0, feed), scale, outRect);
        if (feed + 1 < text.size())
            DrawText(fontIndex, x, y + static_cast<float>(font->charHeight + font->interLine) * scale,
                     text.substr(feed + 1), scale);
        return static_cast<int>(text.size());
    }
    const CSpriteList& sprites = SpriteList();
    const std::vector<TGlyphQuad> quads = LayoutLine(fontIndex, x, y, text, scale, m_align, sprites, outRect);
    if (quads.empty())
        return static_cast<int>(text.size());
    // Nearest at scale 1 keeps the hinted glyphs pixel-exact; anything else would alias.
    if (!TextureManager().Bind(font->textureId, scale != 1.0f))
        return static_cast<int>(text.size());
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Filtered glyphs keep half a texel inside their cell: the cells touch, and linear sampling at
    // the edge would pull in a stroke of the neighbouring glyph.
    float insetS = 0.0f, insetT = 0.0f;
    if (scale != 1.0f)
    {
        insetS = 0.5f / static_cast<float>(std::max(1, TextureManager().Width(font->textureId)));
        insetT = 0.5f / static_cast<float>(std::max(1, TextureManager().Height(font->textureId)));
    }
    glBegin(GL_QUADS);
    for (const TGlyphQuad& q : quads)
    {
        const CSprite& s = sprites.Get(q.sprite);
        const float s0 = s.s0 + insetS, s1 = s.s1 - insetS;
        const float t0 = 1.0f - (s.t0 + insetT), t1 = 1.0f - (s.t1 - insetT);
        glTexCoord2f(s0, t0);
        glVertex2f(q.x, q.y);
        glTexCoord2f(s0, t1);
        glVertex2f(q.x, q.y + q.h);
        glTexCoord2f(s1, t1);
        glVertex2f(q.x + q.w, q.y + q.h);
        glTexCoord2f(s1, t0);
        glVertex2f(q.x + q.w, q.y);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    return static_cast<int>(text.size());
}

void CFontList::DrawTextPanel(int font, float x, float y, const std::string& text, const TColor& colour) const
{
    float w = 0.0f, h = 0.0f;
    TextExtent(font, text, 1.0f, w, h);
    SetColor(0, 0, 0, 170);
    FillRect(static_cast<int>(x) - 4, static_cast<int>(y) - 2, static_cast<int>(w) + 8, static_cast<int>(h) + 4);
    SetColor(colour);
    DrawMultiLineText(font, x, y, text);
}

void CFontList::DrawMultiLineText(int fontIndex, float x, float y, const std::string& text, float scale) const
{
    const CFont* font = Get(fontIndex);
    if (font == nullptr)
        return;
    const float step = static_cast<float>(font->charHeight + font->interLine) * scale;
    for (const std::string& line : SplitLines(text))
    {
        DrawText(fontIndex, x, y, line, scale);
        y += step;
    }
}

void CFontList::TextExtent(int fontIndex, const std::string& text, float scale, float& outWidth,
                           float& outHeight) const
{
    outWidth = 0.0f;
    outHeight = 0.0f;
    const CFont* font = Get(fontIndex);
    if (font == nullptr)
        return;
    const std::vector<std::string> lines = SplitLines(text);
    size_t longest = 0;
    for (const std::string& line : lines)
        longest = std::max(longest, line.size());
    outWidth = static_cast<float>(font->charWidth + font->interChar) * scale * static_cast<float>(longest);
    outHeight = static_cast<float>(font->charHeight + font->interLine) * scale * static_cast<float>(lines.size());
}

void CFontList::DrawDebug(float x, float y)
{
    static const char* const kSample =
        "!#$%&'()*+,-./ 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ [\\]^_`abcdefghijklmnopqrstuvwxyz";
    const int saved = m_align;
    m_align = TA_LEFT_TOP;
    const int labelFont = f06x12 >= 0 ? f06x12 : 0;
    for (int i = 0; i < Count(); ++i)
    {
        const CFont& font = m_fonts[i];
        DrawText(labelFont, x, y, StringPrintf("%2.2i %s", i, font.name.c_str()));
        DrawText(i, x + 150.0f, y, kSample);
        y += static_cast<float>(std::max(font.charHeight + font.interLine, 12) + 4);
    }
    m_align = saved;
}

CFontList& Fonts()
{
    static CFontList fonts;
    return fonts;
}
