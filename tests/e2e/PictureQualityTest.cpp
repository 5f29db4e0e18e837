// Anti-aliasing and the render target's resolution end to end: shots and exports of a tilted
// white tile on black, and a render-target scene of the built show at 640 × 480 and 1920 × 1080.
#include "platform/PngWriter.h"
#include "ProgramRun.h"
#include "Shots.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

const std::string kBuildShow = OCULITH_BINARY_DIR;

// One white tile that starts turned and far away and flies home over the black screen: at one
// second its edges are tilted.
std::string tiltedTileShow()
{
    const std::string show = testfiles::tempDir("tile");
    std::vector<unsigned char> white(16 * 16 * 4, 255);
    std::filesystem::create_directories(show + "/data/art");
    EXPECT_TRUE(platform::writePng(show + "/data/art/white.png", 16, 16, 4, white.data()));
    // Sampled at the nearest texel with edge clamping: the tile itself has no soft rim.
    testfiles::writeFile(show + "/data/scr/generic.shader",
                         "Image {\n\tFormat RGBA\n\tName \"white.png\"\n\tState {\n"
                         "\t\tWrap CLAMP_EDGE_S_CLAMP_EDGE_T\n\t\tFilter NEAREST\n\t}\n}\n");
    testfiles::writeFile(show + "/data/scr/generic.effect",
                         "Blocks {\n\tStart 0\n\tEnd 100\n\tImage \"white.png\"\n\tRect -128 -128 256 256\n"
                         "\tRows 1\n\tCols 1\n\tPosition 0 0 -100\n\tDistance 100\n}\n");
    return show;
}

// Pixels that are neither black nor white: only edge coverage produces them here.
int intermediatePixels(const Shot& shot)
{
    int n = 0;
    for (int y = 0; y < shot.image.height; ++y)
        for (int x = 0; x < shot.image.width; ++x) {
            const int g = shot.at(x, y)[0];
            n += g > 24 && g < 231;
        }
    return n;
}

int whitePixels(const Shot& shot)
{
    int n = 0;
    for (int y = 0; y < shot.image.height; ++y)
        for (int x = 0; x < shot.image.width; ++x)
            n += shot.at(x, y)[0] >= 231;
    return n;
}

// Mean absolute difference between horizontal neighbours inside a rectangle of a grey picture:
// a picture stretched from fewer pixels has less of it.
double detail(const std::vector<double>& grey, int width, int x0, int y0, int w, int h)
{
    double sum = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w - 1; ++x)
            sum += std::abs(grey[size_t(y) * width + x + 1] - grey[size_t(y) * width + x]);
    return sum / (double(w - 1) * h);
}

std::vector<double> greyOf(const Shot& shot)
{
    std::vector<double> grey(size_t(shot.image.width) * shot.image.height);
    for (int y = 0; y < shot.image.height; ++y)
        for (int x = 0; x < shot.image.width; ++x) {
            const auto c = shot.at(x, y);
            grey[size_t(y) * shot.image.width + x] = (c[0] + c[1] + c[2]) / 3.0;
        }
    return grey;
}

} // namespace

TEST(PictureQuality, TiltedEdgesAreSmoothWithSamplesAndHardWithout)
{
    const std::string show = tiltedTileShow();
    const std::string hard = show + "/hard.png", smooth = show + "/smooth.png", plain = show + "/plain.png";
    auto r = runOculith({"--headless", "--data", show, "--fps", "10", "--msaa", "0", "--shot", "1:" + hard});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(testfiles::readFile(show + "/application.log").find("Samples     : 0 (0 wanted: --msaa)"), std::string::npos);
    r = runOculith({"--headless", "--data", show, "--fps", "10", "--msaa", "4", "--shot", "1:" + smooth});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Off screen the default is anti-aliased as well, and 8 is clamped to what the driver has.
    r = runOculith({"--headless", "--data", show, "--fps", "10", "--msaa", "8", "--shot", "1:" + plain});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(testfiles::readFile(show + "/application.log").find("(8 wanted: --msaa)"), std::string::npos);

    const Shot h = readShot(hard), s = readShot(smooth), p = readShot(plain);
    // The tile is there and turned in all three (a covered area, not a sliver).
    EXPECT_GT(whitePixels(h), 5000);
    EXPECT_NEAR(whitePixels(s), whitePixels(h), whitePixels(h) / 20);
    EXPECT_EQ(intermediatePixels(h), 0);
    EXPECT_GT(intermediatePixels(s), 100);
    EXPECT_GT(intermediatePixels(p), 100);
}

TEST(PictureQuality, ExportedFramesAreAntiAliasedByDefault)
{
    const std::string show = tiltedTileShow();
    auto r = runOculith({"--data", show, "--fps", "10", "--until", "0.95", "--export", show + "/f%03d.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(intermediatePixels(readShot(show + "/f009.png")), 100);
    EXPECT_NE(testfiles::readFile(show + "/application.log").find("Samples     : 4 in a frame buffer resolved before each swap (4 wanted: off screen"),
              std::string::npos);
}

TEST(PictureQuality, RenderTargetFollowsTheOutputHeight)
{
    // The greetings draw the whole picture through the render target.
    const std::string small = testfiles::tempDir("rt") + "/small.png";
    const std::string large = testfiles::tempDir("rt") + "/large.png";
    auto r = runOculith({"--headless", "--data", kBuildShow, "--msaa", "0", "--start", "300", "--fps", "10",
                         "--shot", "300.1:" + small});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(testfiles::readFile(kBuildShow + "/application.log").find("Render target: 512 x 512"),
              std::string::npos);
    r = runOculith({"--headless", "--data", kBuildShow, "--msaa", "0", "--windowed", "1920x1080", "--start",
                    "300", "--fps", "10", "--shot", "300.1:" + large});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(testfiles::readFile(kBuildShow + "/application.log").find("Render target: 2048 x 2048"),
              std::string::npos);

    // The 640 × 480 picture stretched bilinearly to the 1440 × 1080 viewport, as a 512-pixel
    // target would be, against the 1080-line picture: the larger target keeps the detail.
    const Shot s = readShot(small), l = readShot(large);
    ASSERT_EQ(l.image.width, 1920);
    const std::vector<double> smallGrey = greyOf(s), largeGrey = greyOf(l);
    std::vector<double> stretched(size_t(1440) * 1080);
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1440; ++x)
        {
            const double fx = std::min((x + 0.5) * 640.0 / 1440.0 - 0.5, 638.999), fy = std::min((y + 0.5) * 480.0 / 1080.0 - 0.5, 478.999);
            const int x0 = std::max(int(fx), 0), y0 = std::max(int(fy), 0);
            const double ax = std::max(fx - x0, 0.0), ay = std::max(fy - y0, 0.0);
            auto at = [&](int xx, int yy) { return smallGrey[size_t(yy) * 640 + xx]; };
            stretched[size_t(y) * 1440 + x] = (1 - ay) * ((1 - ax) * at(x0, y0) + ax * at(x0 + 1, y0)) +
                                              ay * ((1 - ax) * at(x0, y0 + 1) + ax * at(x0 + 1, y0 + 1));
        }
    const double sharp = detail(largeGrey, 1920, 240 + 100, 100, 1240, 880);
    const double soft = detail(stretched, 1440, 100, 100, 1240, 880);
    EXPECT_GT(sharp, soft * 1.2) << "1080 lines " << sharp << ", stretched " << soft;
}
