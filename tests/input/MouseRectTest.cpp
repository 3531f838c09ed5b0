#include <gtest/gtest.h>

#include "input/CMouseRectRegistry.h"
#include "input/UserCommands.h"
#include "support/InputEvents.h"

namespace
{
const CInputEvent kRightPress = KeyEventOf(KEY_MOUSE_RIGHT, kPressed);
} // namespace

TEST(MouseRects, RegistrationClipsToTheViewAndStoresScreenCoordinates)
{
    // sh: screen rectangle with the view at (100, 50), 200 x 100
    struct Row { int x, y, w, h; bool stored; int sx, sy, sw, sh; };
    const Row rows[] = {
        {10, 10, 20, 30, true, 110, 60, 20, 30},
        {-5, 0, 20, 10, true, 100, 50, 15, 10},   // left edge cut back to the view
        {190, 95, 20, 20, true, 290, 145, 10, 5}, // right and bottom edges cut
        {-30, 0, 20, 10, false, 0, 0, 0, 0},      // entirely outside
        {0, 0, 0, 10, false, 0, 0, 0, 0},         // empty
    };
    for (const Row& row : rows)
    {
        CMouseRectRegistry rects;
        int handle = -1;
        rects.Register(handle, row.x, row.y, row.w, row.h, 100, 50, 200, 100, "short", "long", "");
        ASSERT_EQ(handle >= 0, row.stored) << row.x;
        if (!row.stored)
            continue;
        const CMouseRectRegistry::SRect& rect = rects.GetSlot(handle);
        EXPECT_EQ(rect.x, row.sx);
        EXPECT_EQ(rect.y, row.sy);
        EXPECT_EQ(rect.width, row.sw);
        EXPECT_EQ(rect.height, row.sh);
    }
}

TEST(MouseRects, HandlesReuseSlotsAndRunOut)
{
    CMouseRectRegistry rects;
    int handles[CMouseRectRegistry::kSlotCount + 1];
    for (int& handle : handles)
    {
        handle = -1;
        rects.Register(handle, 0, 0, 10, 10, 0, 0, 800, 600, "", "", "");
    }
    EXPECT_EQ(handles[CMouseRectRegistry::kSlotCount - 1], CMouseRectRegistry::kSlotCount - 1);
    EXPECT_EQ(handles[CMouseRectRegistry::kSlotCount], -1);
    rects.Release(handles[7]);
    EXPECT_EQ(handles[7], -1);
    int again = 3; // re-registering a handle frees its old slot first
    rects.Register(again, 5, 5, 10, 10, 0, 0, 800, 600, "", "", "");
    EXPECT_EQ(again, 3);
    EXPECT_EQ(rects.GetUsedCount(), CMouseRectRegistry::kSlotCount - 1);
}

TEST(MouseRects, HitsTooltipAndHelpMode)
{
    CMouseRectRegistry rects;
    int a = -1, b = -1;
    rects.Register(a, 0, 0, 100, 100, 0, 0, 800, 600, "Pause", "", "P");
    rects.Register(b, 50, 50, 100, 100, 0, 0, 800, 600, "Reset", "Puts the model back.", "");

    rects.Update(60, 70, false, 0.0f, 1.0f); // mouse just moved: no tooltip yet
    ASSERT_EQ(rects.GetHitCount(), 2);
    EXPECT_EQ(rects.GetTopHit(), a);
    EXPECT_EQ(rects.GetHit(1).relX, 10);
    EXPECT_EQ(rects.GetHit(1).relY, 20);
    EXPECT_EQ(rects.GetCursor(), HC_SHORT_HELP);
    EXPECT_EQ(rects.GetHelpText(), "");
    rects.Update(60, 70, false, 0.3f, 0.3f);
    EXPECT_EQ(rects.GetTooltipSlot(), a);
    EXPECT_EQ(rects.GetHelpText(), "Pause  (P)");

    rects.Update(120, 120, false, 0.5f, 0.5f); // only b; 100 is outside a
    EXPECT_EQ(rects.GetTopHit(), b);
    EXPECT_EQ(rects.GetCursor(), HC_LONG_HELP);
    EXPECT_EQ(rects.GetHelpText(), "Reset");
    EXPECT_EQ(rects.HandleEvent(kRightPress), static_cast<int>(UC_UNDEFINED));
    EXPECT_TRUE(rects.IsHelpMode());
    rects.Update(120, 120, true, 0.5f, 0.5f);
    EXPECT_EQ(rects.GetHelpText(), "Puts the model back.");
    rects.Update(120, 120, false, 0.5f, 0.5f); // released: help ends
    EXPECT_FALSE(rects.IsHelpMode());

    rects.Update(700, 500, false, 1.0f, 1.0f);
    EXPECT_EQ(rects.HandleEvent(kRightPress), 0); // over nothing: not consumed
    EXPECT_EQ(rects.GetCursor(), HC_NONE);

    // A released rectangle stops being the tooltip at once.
    rects.Update(10, 10, false, 1.0f, 1.0f);
    rects.Release(a);
    EXPECT_EQ(rects.GetHelpText(), "");
}
