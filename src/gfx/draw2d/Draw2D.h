#pragma once
// Immediate-mode 2D drawing in window pixels, origin top-left, y down (the 2D projection points
// its y axis down). Rectangles are (x, y, width, height). Everything is drawn in the current
// colour (Palette.h) with alpha blending (source alpha, one minus source alpha), without depth
// test.
//
// Mixing with OSG in one frame: wrap the 2D part of a frame in a CDraw2DScope. It saves all GL
// attributes, client attributes and the three matrix stacks, sets the state 2D needs (program
// 0, texture unit 0, lighting, depth and culling off, blending on) and restores everything
// after, so neither side sees the other's state.

#include <string>

#include "gfx/draw2d/Palette.h"

struct TRect2D
{
    int x = 0, y = 0, w = 0, h = 0;

    bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

struct TWindowSize
{
    int w = 0, h = 0;
};

// The drawable size (pixels) of the window whose GL context is current, asked of the window
// itself, so it follows every resize; 1024 x 768 while no context is current.
TWindowSize WindowClientSize();
int WindowClientWidth();
int WindowClientHeight();

class CDraw2DScope
{
public:
    // Needs a current GL context. Sets the projection to the whole window.
    CDraw2DScope();
    ~CDraw2DScope();
    CDraw2DScope(const CDraw2DScope&) = delete;
    CDraw2DScope& operator=(const CDraw2DScope&) = delete;
};

// Viewport = the rectangle (window pixels, y down), identity matrices, orthographic projection
// (0, w, 0, h, -1, 1); depth test, culling and lighting off. Later drawing is relative to the
// rectangle's top-left corner.
void Set2DProjection(int x, int y, int width, int height);
// The same with a virtual screen: drawing coordinates 0..virtualWidth x 0..virtualHeight are
// stretched over the rectangle (the menus' 800 x 600 screen).
void Set2DProjectionVirtual(int x, int y, int width, int height, int virtualWidth, int virtualHeight);
void Set2DProjectionWindow();

void DrawGradientVertical(int x, int y, int w, int h, const TColor& top, const TColor& bottom);
void DrawGradientHorizontal(int x, int y, int w, int h, const TColor& left, const TColor& right);
void DrawLine(float x0, float y0, float x1, float y1);
// Filled in the current colour.
void FillRect(int x, int y, int w, int h);
// Filled in the current colour, outlined in the palette colour outlineIndex.
void FillRect(int x, int y, int w, int h, int outlineIndex);
// Outline in the current colour.
void DrawRect(int x, int y, int w, int h);

// The sprite stretched over the rectangle, tinted by the current colour; linear filtering
// unless the rectangle has the sprite's own size.
void DrawSprite(int spriteId, float x, float y, float w, float h);
// The sprite at its own size with its top-left corner at (x, y).
void DrawSprite(int spriteId, float x, float y);
// A frame of the nine RECT_ sprites filling the rectangle (corners at their size, edges and
// centre stretched); a plain filled rectangle when the sprites are missing.
void DrawFrame(int x, int y, int w, int h);
