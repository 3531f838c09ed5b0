#pragma once
// Start-up and shutdown of the shared 2D services in the order they depend on each other:
// texture manager (with the dummy), sprite list (Data/Config/SpriteList.txt), fonts
// (Data/Config/Font.txt). Loading needs no GL context; drawing does.

// False when the sprite list or the fonts could not be read (the program still runs; texts and
// sprites that are missing draw nothing). Reports what failed.
bool InitGfx2D();
// Frees fonts, sprites and textures (GL textures too when a context is current).
void ShutdownGfx2D();
