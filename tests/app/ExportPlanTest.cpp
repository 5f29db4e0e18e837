// What --export accepts and how many frames, under which names, it writes.
#include "app/CommandLine.h"
#include "app/Exporter.h"

#include <gtest/gtest.h>

namespace {
bool parses(std::vector<const char*> args, CommandLine& cl, std::string& error)
{
    args.insert(args.begin(), "oculith");
    return cl.parse(int(args.size()), args.data(), error);
}
} // namespace

TEST(CommandLineParse, ExportTargetsAndTheirLimits)
{
    EXPECT_EQ(exportKindOf("show.mp4"), ExportKind::Video);
    EXPECT_EQ(exportKindOf("dir/Show.MKV"), ExportKind::Video);
    EXPECT_EQ(exportKindOf("frames/f%05d.png"), ExportKind::Frames);
    EXPECT_EQ(exportKindOf("f%d.png"), ExportKind::Frames);
    EXPECT_EQ(exportKindOf("100%%/f%3d.png"), ExportKind::Frames);
    EXPECT_EQ(exportKindOf("show.avi"), ExportKind::None);
    EXPECT_EQ(exportKindOf("a%d%d.png"), ExportKind::None);     // two numbers
    EXPECT_EQ(exportKindOf("a%s.png"), ExportKind::None);       // not a number
    EXPECT_EQ(exportKindOf("a%0123d.png"), ExportKind::None);   // absurd width
    EXPECT_EQ(exportKindOf("a%.mp4"), ExportKind::None);        // a stray %
    EXPECT_EQ(exportKindOf("a%05d.mp4"), ExportKind::None);     // a pattern writes pictures
    EXPECT_EQ(exportKindOf("a%05d"), ExportKind::None);

    CommandLine cl;
    std::string error;
    ASSERT_TRUE(parses({"--export", "a.mp4", "--windowed", "1280x720", "--until", "3"}, cl, error)) << error;
    EXPECT_TRUE(cl.headless); // an export always renders off screen
    EXPECT_FALSE(cl.asksDisplayMode());
    EXPECT_EQ(cl.exportKind, ExportKind::Video);
    EXPECT_EQ(cl.exportTarget, "a.mp4");

    for (const std::vector<const char*>& bad :
         {std::vector<const char*>{"--export"}, {"--export", "a.avi"}, {"--export", "a.mp4", "--windowed", "641x480"},
          {"--export", "a.mp4", "--fullscreen", "800x600"}}) {
        CommandLine c;
        EXPECT_FALSE(parses(bad, c, error)) << bad.back();
        EXPECT_FALSE(error.empty());
    }
    // Pictures have no 4:2:0 limit: odd sizes are fine.
    CommandLine odd;
    EXPECT_TRUE(parses({"--export", "f%d.png", "--windowed", "641x481"}, odd, error)) << error;
}

TEST(ExportPlan, FramesCoverTheRangeAndNamesFollowThePattern)
{
    EXPECT_EQ(Exporter::frameCount(0.0, 3.0, 60), 180);     // the last frame at 2.983 s
    EXPECT_EQ(Exporter::frameCount(10.0, 13.0, 30), 90);
    EXPECT_EQ(Exporter::frameCount(0.0, 1.01, 60), 61);     // a part frame still shows
    EXPECT_EQ(Exporter::frameCount(0.0, double(358.109f), 60), 21487);
    EXPECT_EQ(Exporter::frameCount(5.0, 5.0, 60), 1);       // an empty range still gives one frame
    EXPECT_EQ(Exporter::frameCount(0.0, 0.1, 25), 3);

    EXPECT_EQ(Exporter::frameFileName("f%05d.png", 42), "f00042.png");
    EXPECT_EQ(Exporter::frameFileName("f%d.png", 0), "f0.png");
    EXPECT_EQ(Exporter::frameFileName("100%%/f%3d.png", 7), "100%/f  7.png");
    EXPECT_EQ(Exporter::frameFileName("x%02d.png", 123), "x123.png");
}
