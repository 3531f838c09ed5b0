// Mouse flying: when the pointer is captured and how the pilot gets it back for the menus.

#include <gtest/gtest.h>

#include "app/CMouseFlying.h"

TEST(MouseFlying, CapturedWhileTheMouseFliesEscapeFreesItAClickTakesItBack)
{
    CMouseFlying mouse;
    mouse.Start();
    EXPECT_FALSE(mouse.Update(false, false)) << "a keyboard map never captures the pointer";
    EXPECT_FALSE(mouse.OnEscape()) << "Escape is not taken when nothing is captured";
    EXPECT_TRUE(mouse.Update(true, false));
    EXPECT_FALSE(mouse.Update(true, true)) << "a dialog or open menu needs the pointer";
    EXPECT_TRUE(mouse.Update(true, false));
    EXPECT_TRUE(mouse.OnEscape());
    EXPECT_FALSE(mouse.Update(true, false)) << "freed until a click";
    mouse.OnFlightViewClick();
    EXPECT_TRUE(mouse.Update(true, false));
    mouse.OnEscape();
    mouse.Start();
    EXPECT_TRUE(mouse.Update(true, false)) << "a new flight captures again";
}
