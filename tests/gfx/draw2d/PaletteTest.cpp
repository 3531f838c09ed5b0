#include <gtest/gtest.h>

#include "gfx/draw2d/Palette.h"

namespace
{
// The colours themselves are the palette's table (and the GL tests' pixels); an index out of
// range gives white instead of reading past the table.
TEST(Palette, AnIndexOutOfRangeGivesWhite)
{
    const TColor white{255, 255, 255, 255};
    EXPECT_EQ(PaletteColor(-1), white);
    EXPECT_EQ(PaletteColor(kPaletteSize), white);
}
} // namespace
