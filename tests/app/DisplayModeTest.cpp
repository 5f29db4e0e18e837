// The picker's mode list and the parsing of its entries.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "platform/PickerModel.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

TEST(DisplayModes, ListKeepsDeepWideModesInOrder)
{
    const std::vector<platform::DisplayMode> all = {
        {1024, 768, 32, 60}, {640, 480, 8, 60}, {639, 480, 32, 60}, {640, 480, 16, 75}, {800, 600, 32, 0}};
    std::vector<platform::DisplayMode> listed;
    const auto entries = modes::listEntries(all, &listed);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], "1024x768 32 BPP (60 Hz)");
    EXPECT_EQ(entries[1], "640x480 16 BPP (75 Hz)");
    EXPECT_EQ(entries[2], "800x600 32 BPP (0 Hz)");
    EXPECT_EQ(listed[1].refreshRate, 75);
}

TEST(DisplayModes, PickerStartsOnAnEntryThatExists)
{
    // A virtual display or a laptop panel offers one mode: the picker must still select it.
    const auto single = modes::listEntries({{1024, 768, 24, 60}});
    platform::PickerModel one(int(single.size()), modes::initialEntry(single.size()));
    ASSERT_EQ(one.selected(), 0);
    int w, h, bpp, hz;
    modes::parseEntry(single[size_t(one.selected())], w, h, bpp, hz);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);

    const auto several = modes::listEntries({{640, 480, 32, 60}, {800, 600, 32, 60}, {1024, 768, 32, 60}});
    EXPECT_EQ(platform::PickerModel(int(several.size()), modes::initialEntry(several.size())).selected(), 1);
    EXPECT_EQ(platform::PickerModel(0, modes::initialEntry(0)).selected(), -1);
}

TEST(DisplayModes, EntryParsingKeepsDefaultsForWhatIsMissing)
{
    int w, h, bpp, hz;
    modes::parseEntry("800x600 16 BPP (75 Hz)", w, h, bpp, hz);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(bpp, 16);
    EXPECT_EQ(hz, 75);
    modes::parseEntry("", w, h, bpp, hz); // nothing selected
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(bpp, 32);
    EXPECT_EQ(hz, 0);
    modes::parseEntry("1280x1024", w, h, bpp, hz); // parsing stops at the first mismatch
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 1024);
    EXPECT_EQ(bpp, 32);
}

TEST(DisplayModes, FullScreenTakesOnlyTheExactMode)
{
    const std::vector<platform::DisplayMode> all = {
        {1024, 768, 16, 60}, {1024, 768, 32, 75}, {1024, 768, 32, 60}, {800, 600, 32, 60}};
    EXPECT_EQ(platform::findExactMode(all, {1024, 768, 32, 60}), 2);
    // Refresh 0 (the picker's default) or -1: the display's own rate, the first listed.
    EXPECT_EQ(platform::findExactMode(all, {1024, 768, 32, 0}), 1);
    EXPECT_EQ(platform::findExactMode(all, {1024, 768, 32, -1}), 1);
    // Bits per pixel and a given rate must match; nearby modes do not stand in.
    EXPECT_EQ(platform::findExactMode(all, {1024, 768, 16, 75}), -1);
    EXPECT_EQ(platform::findExactMode(all, {800, 600, 24, 60}), -1);
    EXPECT_EQ(platform::findExactMode(all, {1280, 1024, 32, 0}), -1);
    EXPECT_EQ(platform::findExactMode({}, {640, 480, 32, 0}), -1);
}

TEST(CommandLineParse, ValuesAndDefaults)
{
    const char* argv[] = {"oculith", "--headless", "--windowed", "800x600", "--start", "12.5", "--until",
                          "20", "--fps", "30", "--shot", "13:a.png", "--shot", "14.25:dir/b:c.png", "--mute"};
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(cl.parse(int(std::size(argv)), argv, error)) << error;
    EXPECT_TRUE(cl.headless && cl.windowed && cl.mute);
    EXPECT_FALSE(cl.asksDisplayMode());
    EXPECT_EQ(cl.width, 800);
    EXPECT_EQ(cl.height, 600);
    EXPECT_DOUBLE_EQ(cl.start, 12.5);
    EXPECT_DOUBLE_EQ(cl.until, 20.0);
    EXPECT_EQ(cl.fps, 30);
    ASSERT_EQ(cl.shots.size(), 2u);
    EXPECT_DOUBLE_EQ(cl.shots[1].time, 14.25);
    EXPECT_EQ(cl.shots[1].file, "dir/b:c.png"); // only the first colon separates

    const char* none[] = {"oculith"};
    CommandLine plain;
    ASSERT_TRUE(plain.parse(1, none, error));
    EXPECT_TRUE(plain.asksDisplayMode());
    EXPECT_LT(plain.until, 0.0);
}

TEST(CommandLineParse, AntiAliasingAndVsync)
{
    const char* argv[] = {"oculith", "--msaa", "8", "--no-vsync"};
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(cl.parse(int(std::size(argv)), argv, error)) << error;
    EXPECT_EQ(cl.msaa, 8);
    EXPECT_FALSE(cl.vsync);
    CommandLine plain;
    const char* none[] = {"oculith"};
    ASSERT_TRUE(plain.parse(1, none, error));
    EXPECT_EQ(plain.msaa, -1);
    EXPECT_TRUE(plain.vsync);
    for (const char* bad : {"3", "16", "-1", "x", "4.5"}) {
        const char* args[] = {"oculith", "--msaa", bad};
        CommandLine c;
        EXPECT_FALSE(c.parse(3, args, error)) << bad;
        EXPECT_NE(error.find("--msaa"), std::string::npos);
    }
}

TEST(AntiAliasing, DefaultFollowsTheRenderer)
{
    std::string why;
    EXPECT_EQ(antialias::defaultSamples(true, "llvmpipe (LLVM 15.0.6, 256 bits)", &why), 4);
    EXPECT_NE(why.find("off screen"), std::string::npos);
    EXPECT_EQ(antialias::defaultSamples(false, "llvmpipe (LLVM 15.0.6, 256 bits)", &why), 0);
    EXPECT_NE(why.find("software"), std::string::npos);
    EXPECT_EQ(antialias::defaultSamples(false, "softpipe"), 0);
    EXPECT_EQ(antialias::defaultSamples(false, "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", &why), 4);
    EXPECT_NE(why.find("hardware"), std::string::npos);
    EXPECT_EQ(antialias::defaultSamples(false, "NVIDIA GeForce RTX 3060/PCIe/SSE2"), 4);
}
