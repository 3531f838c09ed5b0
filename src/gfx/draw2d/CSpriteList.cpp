#include "gfx/draw2d/CSpriteList.h"

#include <cstdlib>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "gfx/draw2d/CTextureManager.h"

namespace
{
constexpr size_t kMaxSpriteName = 50;

bool ParseInt(const std::string& token, int& out)
{
    if (token.empty())
        return false;
    char* end = nullptr;
    const long value = std::strtol(token.c_str(), &end, 10);
    if (end == token.c_str() || *end != '\0' || value < -1000000 || value > 1000000)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseFloat(const std::string& token, float& out)
{
    if (token.empty())
        return false;
    char* end = nullptr;
    out = std::strtof(token.c_str(), &end);
    return end != token.c_str() && *end == '\0';
}

// One sprite entry as it is read: which of its keys have been seen.
struct TPendingSprite
{
    CSprite sprite;
    bool active = false;
    bool hasXY = false;
    bool hasDXDY = false;
};
} // namespace

void CSprite::ComputeTexCoords(int textureWidth, int textureHeight)
{
    if (textureWidth <= 0 || textureHeight <= 0)
        return;
    const float w = static_cast<float>(textureWidth);
    const float h = static_cast<float>(textureHeight);
    s0 = static_cast<float>(x) / w;
    s1 = static_cast<float>(x + width) / w;
    t0 = static_cast<float>(y) / h;
    t1 = static_cast<float>(y + height) / h;
}

bool CSpriteList::Load(CTextureManager& textures)
{
    return LoadFile(BuildDataPath(DF_CONFIG, "SpriteList.txt"), textures);
}

bool CSpriteList::LoadFile(const std::string& path, CTextureManager& textures)
{
    CTokenFile file;
    if (!file.Load(path))
    {
        DiagPrint("%s: cannot be read; no sprites\n", path.c_str());
        ResolveInterfaceSprites();
        return false;
    }

    while (CTokenFile* block = file.OpenBlock("SPRITES_IN_TEXTURE"))
    {
        std::string textureName;
        if (!block->GetToken("TEXTURE_FILE", textureName, "", 260))
        {
            DiagPrint("%s: SPRITES_IN_TEXTURE without TEXTURE_FILE, block skipped\n", path.c_str());
            continue;
        }
        const int textureId = textures.Get(textureName);
        if (textureId == CTextureManager::kDummyId && textureName != CTextureManager::kDummyName)
        {
            DiagPrint("%s: texture '%s' cannot be read, its sprites are skipped\n", path.c_str(), textureName.c_str());
            continue;
        }
        m_heldTextures.push_back(textureId);
        const int texW = textures.Width(textureId);
        const int texH = textures.Height(textureId);

        // The entries are walked in the order written, so a sprite's keys can never be taken
        // from its neighbour when one of them is missing.
        TPendingSprite pending;
        bool blockEnded = false;
        auto finish = [&]() {
            if (!pending.active)
                return true;
            pending.active = false;
            if (!pending.hasXY || !pending.hasDXDY)
            {
                DiagPrint("%s: SPRITE '%s' lacks %s; the rest of the '%s' block is skipped\n", path.c_str(),
                          pending.sprite.name.c_str(), pending.hasXY ? "DXDY" : "XY", textureName.c_str());
                return false;
            }
            CSprite& s = pending.sprite;
            if (s.x < 0 || s.y < 0 || s.width <= 0 || s.height <= 0 || s.x + s.width > texW || s.y + s.height > texH)
                DiagPrint("%s: SPRITE '%s' (%i %i %i %i) is not inside '%s' (%i x %i)\n", path.c_str(), s.name.c_str(),
                          s.x, s.y, s.width, s.height, textureName.c_str(), texW, texH);
            s.textureId = textureId;
            s.ComputeTexCoords(texW, texH);
            Add(s);
            return true;
        };

        block->BeginList();
        std::string token;
        while (!blockEnded && block->NextToken(token, 260))
        {
            if (token == ".SPRITE")
            {
                if (!finish())
                {
                    blockEnded = true;
                    break;
                }
                pending = TPendingSprite();
                pending.active = true;
                std::string name;
                block->NextToken(name, 260);
                pending.sprite.name = name.substr(0, kMaxSpriteName);
            }
            else if (token == ".XY" || token == ".DXDY")
            {
                std::string a, b;
                int va = 0, vb = 0;
                const bool ok = block->NextToken(a) && block->NextToken(b) && ParseInt(a, va) && ParseInt(b, vb);
                if (!pending.active)
                    continue;
                if (!ok)
                {
                    DiagPrint("%s: SPRITE '%s': %s needs two integers\n", path.c_str(), pending.sprite.name.c_str(),
                              token.c_str() + 1);
                    continue;
                }
                if (token == ".XY")
                {
                    pending.sprite.x = va;
                    pending.sprite.y = vb;
                    pending.hasXY = true;
                }
                else
                {
                    pending.sprite.width = va;
                    pending.sprite.height = vb;
                    pending.hasDXDY = true;
                }
            }
            else if (token == ".CENTER")
            {
                std::string a, b;
                float cx = 0.0f, cy = 0.0f;
                const bool ok = block->NextToken(a) && block->NextToken(b) && ParseFloat(a, cx) && ParseFloat(b, cy);
                if (pending.active && ok)
                {
                    pending.sprite.centerX = cx;
                    pending.sprite.centerY = cy;
                }
            }
            else if (token == ".TEXTURE_FILE")
            {
                block->NextToken(token, 260);
            }
        }
        if (!blockEnded)
            finish();
    }
    ResolveInterfaceSprites();
    return true;
}

void CSpriteList::Clear(CTextureManager& textures)
{
    for (int id : m_heldTextures)
        textures.Release(id);
    m_heldTextures.clear();
    m_sprites.clear();
    m_interface = TInterfaceSprites();
}

int CSpriteList::Find(const std::string& name) const
{
    for (size_t i = 0; i < m_sprites.size(); ++i)
        if (m_sprites[i].name == name)
            return static_cast<int>(i);
    return -1;
}

const CSprite& CSpriteList::Get(int id) const
{
    static const CSprite kEmpty;
    if (m_sprites.empty())
        return kEmpty;
    if (id < 0 || id >= static_cast<int>(m_sprites.size()))
        return m_sprites[0];
    return m_sprites[id];
}

int CSpriteList::Add(const CSprite& sprite)
{
    m_sprites.push_back(sprite);
    if (m_sprites.back().name.empty())
        m_sprites.back().name = "-";
    return static_cast<int>(m_sprites.size()) - 1;
}

void CSpriteList::ResolveInterfaceSprites()
{
    static const char* const kRectNames[9] = {"RECT_TOP_LEFT",    "RECT_TOP",    "RECT_TOP_RIGHT",
                                              "RECT_LEFT",        "RECT_CENTER", "RECT_RIGHT",
                                              "RECT_BOTTOM_LEFT", "RECT_BOTTOM", "RECT_BOTTOM_RIGHT"};
    m_interface.arrowUp = Find("ARROW_UP");
    m_interface.backgndBox = Find("BACKGND_BOX");
    m_interface.smallBox = Find("SMALL_BOX");
    m_interface.arrowDown = Find("ARROW_DOWN");
    for (int i = 0; i < 9; ++i)
        m_interface.rect[i] = Find(kRectNames[i]);
    m_interface.checkboxOn = Find("CHECKBOX_ON");
    m_interface.checkboxOff = Find("CHECKBOX_OFF");
    m_interface.expand = Find("EXPAND");
    m_interface.collapse = Find("COLLAPSE");
}

CSpriteList& SpriteList()
{
    static CSpriteList list;
    return list;
}
