#include "gfx/draw2d/Gfx2D.h"

#include "core/Diagnostics.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/CTextureManager.h"

bool InitGfx2D()
{
    ShutdownGfx2D();
    TextureManager().Init();
    const bool sprites = SpriteList().Load(TextureManager());
    const bool fonts = Fonts().Load(TextureManager(), SpriteList());
    DiagPrint("2D: %i sprites (with glyphs), %i fonts\n", SpriteList().Count(), Fonts().Count());
    return sprites && fonts;
}

void ShutdownGfx2D()
{
    Fonts().Clear(TextureManager());
    SpriteList().Clear(TextureManager());
    TextureManager().Shutdown();
}
