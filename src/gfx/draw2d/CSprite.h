#pragma once
// A named rectangle cut out of a texture, with its texture coordinates precomputed.

#include <string>

struct CSprite
{
    std::string name = "-"; // at most 50 characters
    int textureId = 0;
    int x = 0, y = 0;          // pixel rectangle in the texture, from its top-left corner
    int width = 0, height = 0; // pixels
    // Texture coordinates from the top: s0 = x / texture width, s1 = (x + width) / width,
    // t0 = y / texture height, t1 = (y + height) / height. Drawing uses 1 - t (images bottom-up).
    float s0 = 0.0f, s1 = 0.0f, t0 = 0.0f, t1 = 0.0f;
    float centerX = 0.0f, centerY = 0.0f; // "CENTER", (0, 0) when absent

    // Fills s0..t1 from the rectangle and the texture size (no change for a zero size).
    void ComputeTexCoords(int textureWidth, int textureHeight);
};
