// On-screen message slots: delay, reuse, overflow, cancel and the half-second fade.

#include <gtest/gtest.h>

#include "app/CMessageList.h"

namespace
{
const TColor kWhite{255, 255, 255, 200};
}

TEST(MessageListTest, MessageWaitsForItsDelayThenShowsAndFades)
{
    CMessageList list;
    const int slot = list.Post(10.0, 1.0, kWhite, "Engine stopped", 2.0);
    EXPECT_TRUE(list.Update(10.5).empty()); // still waiting
    EXPECT_FALSE(list.IsShown(slot));

    // Shown at 11.0: the duration counts from then.
    // alpha: -1: not drawn
    struct Row { double now; int alpha; };
    const Row rows[] = {
        {11.0, 200},  // shown
        {13.0, 200},  // end of the duration: still full
        {13.25, 100}, // half way through the fade
        {13.49, 4},   // almost gone
        {13.5, -1},   // freed
    };
    for (const Row& row : rows)
    {
        const auto lines = list.Update(row.now);
        if (row.alpha < 0)
        {
            EXPECT_TRUE(lines.empty()) << row.now;
            EXPECT_FALSE(list.IsActive(slot));
            continue;
        }
        ASSERT_EQ(lines.size(), 1u) << row.now;
        EXPECT_NEAR(lines[0].color.a, row.alpha, 1) << row.now;
    }
}

TEST(MessageListTest, EqualTextReusesItsSlotAndRestarts)
{
    CMessageList list;
    const int first = list.Post(0.0, 0.0, kWhite, "Crash", 1.0);
    list.Post(0.0, 0.0, kWhite, "Other", 1.0);
    list.Update(0.0); // both shown from 0
    list.Update(0.9);
    const int again = list.Post(0.9, 0.0, kWhite, "Crash", 1.0);
    EXPECT_EQ(again, first);
    EXPECT_EQ(list.ActiveCount(), 2);
    const auto lines = list.Update(1.6); // "Other" faded out; "Crash" restarted at 0.9
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "Crash");
}

TEST(MessageListTest, FullListOverwritesTheLastSlot)
{
    CMessageList list;
    for (int i = 0; i < CMessageList::kSlotCount; ++i)
        EXPECT_EQ(list.Post(0.0, 0.0, kWhite, "m" + std::to_string(i), 5.0), i);
    EXPECT_EQ(list.Post(0.0, 0.0, kWhite, "newest", 5.0), 9);
    const auto lines = list.Update(0.1);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[9].text, "newest");
    EXPECT_EQ(lines[8].text, "m8");
}

TEST(MessageListTest, CancelBeforeShownRemovesAfterShownFades)
{
    CMessageList list;
    int waiting = list.Post(0.0, 2.0, kWhite, "later", 5.0);
    list.Cancel(waiting, 1.0);
    EXPECT_EQ(waiting, -1);
    EXPECT_TRUE(list.Update(3.0).empty());
    EXPECT_EQ(list.ActiveCount(), 0);

    int shown = list.Post(10.0, 0.0, kWhite, "now", CMessageList::kUntilCancelled);
    list.Update(10.0);
    EXPECT_EQ(list.Update(1000.0).size(), 1u) << "stays until cancelled";
    const int slot = shown;
    list.Cancel(shown, 1000.0); // fades from now
    EXPECT_EQ(shown, -1);
    auto lines = list.Update(1000.25);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0].color.a, 100, 1);
    EXPECT_TRUE(list.Update(1000.5).empty());
    EXPECT_FALSE(list.IsActive(slot));

    int none = 42; // out of range: ignored, still cleared
    list.Cancel(none, 0.0);
    EXPECT_EQ(none, -1);
}

// Regression: a line break used to reach the font as a character and show as '*'.
TEST(MessageListTest, LineBreaksGiveRowsInReadingOrderForBothAnchors)
{
    CMessageList list;
    list.Post(0.0, 0.0, kWhite, "Engine is stopped.\nTHROTTLE BACK to start the engine", 5.0);
    list.Post(0.0, 0.0, kWhite, "Crash", 5.0);
    const auto lines = list.Update(0.1);

    // centredY: top of the row, first message at 100 going down
    // cornerY: bottom of the row, first message ending at 100, the next above it
    struct Row { const char* text; float centredY; float cornerY; };
    const Row expected[] = {
        {"Engine is stopped.", 100.0f, 86.0f},
        {"THROTTLE BACK to start the engine", 114.0f, 100.0f},
        {"Crash", 128.0f, 72.0f},
    };
    const auto centred = CMessageList::LayoutRows(lines, 100.0f, 14.0f, CMessageList::ANCHOR_CENTRED);
    const auto corner = CMessageList::LayoutRows(lines, 100.0f, 14.0f, CMessageList::ANCHOR_BOTTOM_RIGHT);
    ASSERT_EQ(centred.size(), 3u);
    ASSERT_EQ(corner.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(centred[i].text, expected[i].text);
        EXPECT_EQ(corner[i].text, expected[i].text);
        EXPECT_FLOAT_EQ(centred[i].y, expected[i].centredY) << i;
        EXPECT_FLOAT_EQ(corner[i].y, expected[i].cornerY) << i;
        EXPECT_EQ(centred[i].text.find('\n'), std::string::npos);
    }
}
