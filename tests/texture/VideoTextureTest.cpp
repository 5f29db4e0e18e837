// Video pictures from the corpus files (Motion-JPEG, MPEG-4, raw BGR) against FFmpeg's own
// decoder, in order and sought, the stream facts, refused files and the texture's frame clock.
#include "platform/VideoDecoder.h"
#include "texture/VideoTexture.h"
#include "GLFixture.h"
#include "TestFiles.h"
#include "VideoReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace {

constexpr int kSize = 256;
constexpr std::size_t kBytes = std::size_t(kSize) * kSize * 3;

struct CorpusVideo {
    const char* file;
    int frames;
    double fps;
};

const CorpusVideo kVideos[] = {
    {"avi/testsrc_160x120_25fps_mjpeg.avi", 100, 25.0},
    {"avi/testsrc_320x240_24fps_mpeg4.avi", 72, 24.0},
    {"avi/testsrc_64x48_30fps_raw.avi", 60, 30.0},
};

class VideoDecoderTest : public ::testing::TestWithParam<CorpusVideo> {};

TEST_P(VideoDecoderTest, FramesMatchFFmpegInOrderAndSought)
{
    const CorpusVideo& video = GetParam();
    const std::string path = testfiles::corpus(video.file);
    platform::VideoDecoder decoder;
    ASSERT_TRUE(decoder.open(path, kSize, kSize)) << decoder.error();
    EXPECT_EQ(decoder.frameCount(), video.frames);
    EXPECT_NEAR(decoder.frameDuration(), 1.0 / video.fps, 1e-6);

    // In order, then back (a seek), then the last frame and the first again (the loop).
    const int order[] = {0, 1, 2, 7, 3, video.frames - 1, 0};
    std::vector<std::uint8_t> picture(kBytes);
    for (int index : order) {
        ASSERT_TRUE(decoder.decodeFrame(index, picture.data())) << index << ": " << decoder.error();
        const auto reference = testvideo::referenceFrame(path, index, kSize, kSize);
        ASSERT_EQ(reference.size(), kBytes) << "ffmpeg is needed for the reference pictures";
        const double same = testvideo::meanDifference(picture.data(), reference.data(), kBytes);
        EXPECT_LT(same, 1.0) << "frame " << index;
        // The frame counter in the picture tells neighbouring frames apart.
        const int other = index == 0 ? 1 : index - 1;
        const auto neighbour = testvideo::referenceFrame(path, other, kSize, kSize);
        EXPECT_GT(testvideo::meanDifference(picture.data(), neighbour.data(), kBytes), same)
            << "frame " << index << " looks like frame " << other;
    }
    EXPECT_FALSE(decoder.decodeFrame(video.frames, picture.data()));
}

INSTANTIATE_TEST_SUITE_P(Corpus, VideoDecoderTest, ::testing::ValuesIn(kVideos));

TEST(VideoDecoderFailures, FilesWithoutPicturesAreRefused)
{
    const std::string dir = testfiles::tempDir("video");
    testfiles::writeFile(dir + "/text.avi", "RIFF this is not a video at all");
    const std::string whole = testfiles::readFile(testfiles::corpus("avi/testsrc_64x48_30fps_raw.avi"));
    testfiles::writeFile(dir + "/header.avi", whole.substr(0, 200));
    platform::VideoDecoder decoder;
    EXPECT_FALSE(decoder.open(dir + "/missing.avi", kSize, kSize));
    EXPECT_FALSE(decoder.isOpen());
    EXPECT_FALSE(decoder.open(dir + "/text.avi", kSize, kSize));
    EXPECT_FALSE(decoder.open(testfiles::corpus("mp3/sine440_3s_64k.mp3"), kSize, kSize));
    EXPECT_FALSE(decoder.error().empty());
    EXPECT_FALSE(decoder.open(dir + "/header.avi", kSize, kSize));
    EXPECT_FALSE(decoder.open(testfiles::corpus(kVideos[0].file), 0, kSize));
    std::vector<std::uint8_t> picture(kBytes);
    EXPECT_FALSE(decoder.decodeFrame(0, picture.data()));
}

class VideoTextureTest : public GLTest {};

TEST_F(VideoTextureTest, OneFramePerAdvanceWithTheRestCarriedOverAndLooping)
{
    VideoTexture video;
    ASSERT_TRUE(video.open(testfiles::corpus(kVideos[0].file), kSize, kSize));
    EXPECT_EQ(video.pixelType, 11);
    EXPECT_EQ(video.width, kSize);
    EXPECT_NEAR(video.rate, 24.0 * 0.04, 1e-9);
    const auto first = testvideo::referenceFrame(testfiles::corpus(kVideos[0].file), 0, kSize, kSize);
    ASSERT_EQ(first.size(), kBytes);
    EXPECT_LT(testvideo::meanDifference(video.pixels.get(), first.data(), kBytes), 1.0);

    // 0.1 s of show time holds 2.4 frames at 24 per second, but only one is taken per call.
    video.advance(0.1);
    EXPECT_EQ(video.currentFrame, 1);
    EXPECT_NEAR(video.accumulator, 0.096 - 0.04, 1e-9);
    video.advance(0.001);
    EXPECT_EQ(video.currentFrame, 2);  // the carried rest is a whole frame already
    video.advance(0.001);
    EXPECT_EQ(video.currentFrame, 2);
    const auto second = testvideo::referenceFrame(testfiles::corpus(kVideos[0].file), 2, kSize, kSize);
    EXPECT_LT(testvideo::meanDifference(video.pixels.get(), second.data(), kBytes), 1.0);

    video.currentFrame = 99;
    video.accumulator = 0.0;
    video.advance(1.0 / 24.0 + 1e-6);
    EXPECT_EQ(video.currentFrame, 0);
    video.loop = false;
    video.currentFrame = 99;
    video.advance(1.0);
    EXPECT_EQ(video.currentFrame, 99);

    video.close();
    EXPECT_FALSE(video.isOpen());
    video.advance(1.0);
    EXPECT_EQ(video.currentFrame, 99);
}

} // namespace

namespace {

// The corpus Motion-JPEG file with the picture data of frame `index` zeroed.
std::string withBrokenFrame(int index)
{
    std::string bytes = testfiles::readFile(testfiles::corpus(kVideos[0].file));
    std::size_t at = bytes.find("movi");
    for (int k = 0; k <= index && at != std::string::npos; ++k)
        at = bytes.find("00dc", at + 4);
    if (at == std::string::npos)
        return {};
    const std::uint32_t size = std::uint8_t(bytes[at + 4]) | std::uint8_t(bytes[at + 5]) << 8 |
                               std::uint8_t(bytes[at + 6]) << 16 | std::uint32_t(std::uint8_t(bytes[at + 7])) << 24;
    std::fill_n(bytes.begin() + std::ptrdiff_t(at + 8), std::min<std::size_t>(size, bytes.size() - at - 8), '\0');
    const std::string path = testfiles::tempDir("video") + "/broken.avi";
    testfiles::writeFile(path, bytes);
    return path;
}

TEST_F(VideoTextureTest, BrokenFrameKeepsThePreviousPicture)
{
    const std::string path = withBrokenFrame(5);
    ASSERT_FALSE(path.empty());
    VideoTexture video;
    ASSERT_TRUE(video.open(path, kSize, kSize));
    for (int k = 0; k < 4; ++k)
        video.advance(1.0 / 24.0 + 1e-6);
    ASSERT_EQ(video.currentFrame, 4);
    const std::vector<std::uint8_t> fourth(video.pixels.get(), video.pixels.get() + kBytes);
    video.advance(1.0 / 24.0 + 1e-6);
    ASSERT_EQ(video.currentFrame, 5);
    EXPECT_EQ(testvideo::meanDifference(video.pixels.get(), fourth.data(), kBytes), 0.0);
    video.advance(1.0 / 24.0 + 1e-6);
    ASSERT_EQ(video.currentFrame, 6);
    const auto sixth = testvideo::referenceFrame(testfiles::corpus(kVideos[0].file), 6, kSize, kSize);
    EXPECT_LT(testvideo::meanDifference(video.pixels.get(), sixth.data(), kBytes), 1.0);
}

} // namespace
