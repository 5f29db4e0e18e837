// The AVI writer: colours survive the trip through YCbCr and JPEG (read back with FFmpeg's own
// decoder), and every way of failing says why and leaves no file behind.
#include "platform/AviWriter.h"
#include "TestFiles.h"
#include "VideoTool.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int kW = 64, kH = 48;

std::vector<std::uint8_t> solid(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    std::vector<std::uint8_t> rgb(std::size_t(kW) * kH * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        rgb[i] = r, rgb[i + 1] = g, rgb[i + 2] = b;
    return rgb;
}

} // namespace

TEST(AviWriter, WritesMotionJpegFramesThatDecodeToTheirColours)
{
    const std::string path = testfiles::tempDir("avi") + "/colours.avi";
    const std::vector<std::vector<std::uint8_t>> pictures = {
        solid(230, 40, 30), solid(20, 200, 60), solid(40, 50, 220), solid(245, 239, 227), solid(6, 7, 14),
    };
    platform::AviWriter writer;
    ASSERT_TRUE(writer.open(path, kW, kH, 25)) << writer.error();
    for (const auto& picture : pictures)
        ASSERT_TRUE(writer.addFrame(picture.data())) << writer.error();
    EXPECT_EQ(writer.framesWritten(), 5);
    ASSERT_TRUE(writer.close()) << writer.error();

    ProbedVideo video;
    std::string error;
    ASSERT_TRUE(probeVideo(path, video, error)) << error;
    EXPECT_EQ(video.codec, "mjpeg");
    EXPECT_EQ(video.width, kW);
    EXPECT_EQ(video.height, kH);
    EXPECT_EQ(video.frameRate, "25/1");
    EXPECT_EQ(video.frames, 5);

    std::vector<std::vector<std::uint8_t>> decoded;
    ASSERT_TRUE(decodeVideo(path, kW, kH, decoded, error)) << error;
    ASSERT_EQ(decoded.size(), pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i)
        EXPECT_LT(meanDifference(decoded[i], pictures[i]), 3.0) << "frame " << i;
}

TEST(AviWriter, AnUncreatableFileFailsWithItsNameAndLeavesNothing)
{
    const std::string dir = testfiles::tempDir("avi-fail");
    testfiles::writeFile(dir + "/plain", "not a folder");
    for (const std::string& path : {dir + "/missing/clip.avi", dir + "/plain/clip.avi", dir}) {
        platform::AviWriter writer;
        EXPECT_FALSE(writer.open(path, kW, kH, 24));
        EXPECT_NE(writer.error().find("cannot create " + path), std::string::npos) << writer.error();
        // Later calls keep failing instead of writing somewhere.
        const auto picture = solid(1, 2, 3);
        EXPECT_FALSE(writer.addFrame(picture.data()));
        EXPECT_FALSE(writer.close());
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/missing"));
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    EXPECT_EQ(testfiles::readFile(dir + "/plain"), "not a folder");
}

TEST(AviWriter, BadSettingsAndUnfinishedFilesLeaveNoFile)
{
    const std::string dir = testfiles::tempDir("avi-unfinished");
    const std::string path = dir + "/clip.avi";
    platform::AviWriter writer;
    EXPECT_FALSE(writer.open(path, 63, 48, 24));
    EXPECT_NE(writer.error().find("even"), std::string::npos) << writer.error();
    EXPECT_FALSE(writer.open(path, kW, kH, 0));
    EXPECT_FALSE(writer.open(path, kW, kH, 24, 1));
    EXPECT_FALSE(std::filesystem::exists(path));

    // Closed with no frames: nothing worth keeping.
    ASSERT_TRUE(writer.open(path, kW, kH, 24)) << writer.error();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(writer.close());
    EXPECT_NE(writer.error().find("no frames"), std::string::npos) << writer.error();
    EXPECT_FALSE(std::filesystem::exists(path));

    // Dropped before close: the half-written file goes too.
    {
        platform::AviWriter dropped;
        ASSERT_TRUE(dropped.open(path, kW, kH, 24)) << dropped.error();
        const auto picture = solid(100, 100, 100);
        ASSERT_TRUE(dropped.addFrame(picture.data()));
    }
    EXPECT_FALSE(std::filesystem::exists(path));

    // A missing picture abandons the file.
    ASSERT_TRUE(writer.open(path, kW, kH, 24)) << writer.error();
    EXPECT_FALSE(writer.addFrame(nullptr));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(writer.close());
}
