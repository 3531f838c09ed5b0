#include <gtest/gtest.h>

#include "gfx/Palette.h"

namespace
{
struct PaletteRow
{
    int index;
    TColor color;
};

TEST(Palette, EntriesAreTheFixedColours)
{
    const PaletteRow rows[] = {
        {0, {0, 0, 0, 255}},         // black end of the grey ramp
        {10, {127, 127, 127, 255}},  // middle grey
        {20, {255, 255, 255, 255}},  // white end of the ramp
        {21, {255, 0, 0, 255}},      // first colour
        {26, {0, 100, 0, 255}},      // command echo green
        {30, {0, 255, 255, 255}},    // property-page title cyan
        {36, {255, 255, 0, 255}},    // yellow
        {41, {100, 60, 60, 255}},    // last entry
    };
    for (const PaletteRow& row : rows)
        EXPECT_EQ(PaletteColor(row.index), row.color) << "index " << row.index;
}

TEST(Palette, GreyRampRisesAndEveryEntryIsOpaque)
{
    for (int i = 0; i < kPaletteSize; ++i)
        EXPECT_EQ(PaletteColor(i).a, 255) << i;
    for (int i = 1; i <= 20; ++i)
        EXPECT_GT(PaletteColor(i).r, PaletteColor(i - 1).r) << i;
}

TEST(Palette, OutOfRangeIndexGivesWhiteInsteadOfReadingPastTheTable)
{
    EXPECT_EQ(PaletteColor(-1), (TColor{255, 255, 255, 255}));
    EXPECT_EQ(PaletteColor(kPaletteSize), (TColor{255, 255, 255, 255}));
    SetColor(1000);
    EXPECT_EQ(CurrentColor(), (TColor{255, 255, 255, 255}));
    SetColor(23);
    EXPECT_EQ(CurrentColor(), (TColor{100, 0, 0, 255}));
}
} // namespace
