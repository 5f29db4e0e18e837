// The generated video clip read back with FFmpeg's own tools: the stream's codec, size, rate
// and length, decoded pictures against the rendered ones, the seam of the loop, and that two
// runs write the same bytes.
#include "EyeClip.h"
#include "TestFiles.h"
#include "VideoTool.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct WrittenClip {
    std::string path;
    std::vector<std::vector<std::uint8_t>> decoded;
};

const WrittenClip& writtenClip()
{
    static const WrittenClip clip = [] {
        WrittenClip c;
        const std::string dir = testfiles::tempDir("clip");
        std::string error;
        EXPECT_TRUE(eyeclip::write(dir, false, error)) << error;
        c.path = dir + "/" + eyeclip::kFile;
        EXPECT_TRUE(decodeVideo(c.path, eyeclip::kSize, eyeclip::kSize, c.decoded, error)) << error;
        return c;
    }();
    return clip;
}

} // namespace

TEST(EyeClip, IsAMotionJpegStreamOfTheClipsSizeRateAndLength)
{
    ProbedVideo video;
    std::string error;
    ASSERT_TRUE(probeVideo(writtenClip().path, video, error)) << error;
    EXPECT_EQ(video.codec, "mjpeg");
    EXPECT_EQ(video.width, eyeclip::kSize);
    EXPECT_EQ(video.height, eyeclip::kSize);
    EXPECT_EQ(video.frameRate, std::to_string(eyeclip::kFps) + "/1");
    EXPECT_EQ(video.frames, eyeclip::kFrameCount);
    EXPECT_EQ(writtenClip().decoded.size(), std::size_t(eyeclip::kFrameCount));
}

TEST(EyeClip, DecodedFramesMatchTheRenderedPicturesWithinJpegLoss)
{
    const auto& decoded = writtenClip().decoded;
    ASSERT_EQ(decoded.size(), std::size_t(eyeclip::kFrameCount));
    for (int index : {0, 37, eyeclip::kFrameCount - 1}) {
        const std::vector<std::uint8_t> rendered = eyeclip::renderFrame(index);
        EXPECT_LT(meanDifference(decoded[std::size_t(index)], rendered), 4.0) << "frame " << index;
        // A frame from elsewhere in the loop is much further off: the match is frame-exact.
        EXPECT_GT(meanDifference(decoded[std::size_t((index + 30) % eyeclip::kFrameCount)], rendered),
                  2.0 * meanDifference(decoded[std::size_t(index)], rendered))
            << "frame " << index;
    }
}

TEST(EyeClip, LoopsWithoutASeamAndKeepsMoving)
{
    const auto& frames = writtenClip().decoded;
    ASSERT_EQ(frames.size(), std::size_t(eyeclip::kFrameCount));
    double largestStep = 0.0;
    for (std::size_t i = 1; i < frames.size(); ++i)
        largestStep = std::max(largestStep, meanDifference(frames[i - 1], frames[i]));
    const double seam = meanDifference(frames.back(), frames.front());
    // The step from the last frame back to the first is no bigger than any step inside the clip,
    // and every step is a small one compared with the distance across half the loop.
    EXPECT_LE(seam, largestStep * 1.25);
    EXPECT_GT(seam, 0.0);
    EXPECT_GT(meanDifference(frames.front(), frames[frames.size() / 4]), 3.0 * largestStep);
    // Frame numbers wrap round the loop.
    EXPECT_EQ(eyeclip::renderFrame(eyeclip::kFrameCount), eyeclip::renderFrame(0));
    EXPECT_EQ(eyeclip::renderFrame(-1), eyeclip::renderFrame(eyeclip::kFrameCount - 1));
}

TEST(EyeClip, TwoRunsWriteTheSameBytesAndStayUnderHalfAMegabyte)
{
    const std::string dir = testfiles::tempDir("clip-again");
    std::string error;
    ASSERT_TRUE(eyeclip::write(dir, false, error)) << error;
    const std::string first = testfiles::readFile(writtenClip().path);
    EXPECT_EQ(testfiles::readFile(dir + "/" + eyeclip::kFile), first);
    EXPECT_LT(first.size(), 512u * 1024u);
}

TEST(EyeClip, AFolderThatCannotBeMadeIsReported)
{
    const std::string dir = testfiles::tempDir("clip-blocked");
    testfiles::writeFile(dir + "/data", "a file where the data folder should be");
    std::string error;
    EXPECT_FALSE(eyeclip::write(dir, false, error));
    EXPECT_NE(error.find("data"), std::string::npos) << error;
}
