#include <gtest/gtest.h>

#include "gfx/draw2d/Palette.h"

namespace
{
TEST(Palette, GreyRampRisesAndEveryEntryIsOpaque)
{
    for (int i = 0; i < kPaletteSize; ++i)
        EXPECT_EQ(PaletteColor(i).a, 255) << i;
    for (int i = 1; i <= 20; ++i)
        EXPECT_GT(PaletteColor(i).r, PaletteColor(i - 1).r) << i;

    // An index out of range gives white instead of reading past the table.
    const TColor white{255, 255, 255, 255};
    EXPECT_EQ(PaletteColor(-1), white);
    EXPECT_EQ(PaletteColor(kPaletteSize), white);
}
} // namespace
