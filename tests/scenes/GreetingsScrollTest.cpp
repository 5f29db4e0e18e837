#include "scenes/GreetingsScroll.h"

#include <gtest/gtest.h>

namespace {

// Frames an eighth of a second apart move the text by exactly 3 pixels, so a line joins every
// seventh frame.
TEST(GreetingsScroll, NewLineEveryTwentyOnePixels)
{
    GreetingsScroll scroll(0.0f);
    for (int frame = 1; frame <= 6; ++frame) {
        scroll.advance(float(frame) * 0.125f);
        EXPECT_EQ(scroll.lastLine(), 0);
        EXPECT_FLOAT_EQ(scroll.textY(), -12.0f + 3.0f * float(frame));
    }
    scroll.advance(7 * 0.125f);
    EXPECT_EQ(scroll.lastLine(), 1);
    EXPECT_FLOAT_EQ(scroll.accumulator(), 0.0f);
    // The older line stays at 6; the new one joins 21 below it.
    EXPECT_FLOAT_EQ(scroll.textY(), 6.0f - 21.0f);
    EXPECT_EQ(scroll.lineY(1), -15);
    EXPECT_EQ(scroll.lineY(0), 6);
    EXPECT_EQ(scroll.firstLine(), 0);
}

TEST(GreetingsScroll, NeverMoreThanFiftyFiveLinesAndStaysBelowTheTop)
{
    GreetingsScroll scroll(294.243f);
    int lines = 0;
    for (int frame = 1; frame <= 60 * 62; ++frame) {
        scroll.advance(294.243f + float(frame) / 60.0f);
        lines = scroll.lastLine() - scroll.firstLine() + 1;
        ASSERT_LE(lines, GreetingsScroll::kLines);
        ASSERT_LT(scroll.textY(), 501.0f);
        if (frame == 60 * 10) {
            EXPECT_EQ(scroll.lastLine(), int(10 * 24 / 21)) << "a line every 0.875 s";
        }
    }
    EXPECT_EQ(lines, 55);
    EXPECT_EQ(scroll.lineY(0), int(scroll.textY()) + 54 * 21);
}

TEST(GreetingsScroll, AnimationJumpsBackAfterTheReplayTime)
{
    EXPECT_EQ(greetingsAnimationTime(300.0f), 300.0f);
    EXPECT_EQ(greetingsAnimationTime(335.109f), 335.109f);
    EXPECT_NEAR(greetingsAnimationTime(335.2f), 294.334f, 1e-3f);
    EXPECT_NEAR(greetingsAnimationTime(356.0f), 315.134f, 1e-3f);
}

} // namespace
