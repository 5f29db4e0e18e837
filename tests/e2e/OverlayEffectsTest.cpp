// The overlay kinds in a running show: an image, a flash, an inversion and a text fade layered
// by "data/scr/generic.effect", checked in headless shots at chosen times.
#include "platform/PngWriter.h"
#include "texture/PngReader.h"
#include "ProgramRun.h"
#include "Shots.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>

namespace {

// Writes a w x h RGBA picture whose texel colour `colour(x, y)` returns (row 0 at the top).
template <class F>
void writePicture(const std::string& path, int w, int h, F colour)
{
    std::vector<unsigned char> pixels(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::array<unsigned char, 4> c = colour(x, y);
            std::copy(c.begin(), c.end(), pixels.begin() + (std::size_t(y) * w + x) * 4);
        }
    ASSERT_TRUE(platform::writePng(path, w, h, 4, pixels.data()));
}

#define EXPECT_RGB(shot, x, y, R, G, B)                                                            \
    do {                                                                                           \
        auto c_ = (shot).at(x, y);                                                                 \
        EXPECT_NEAR(c_[0], R, 5) << "at " << (x) << "," << (y);                                    \
        EXPECT_NEAR(c_[1], G, 5) << "at " << (x) << "," << (y);                                    \
        EXPECT_NEAR(c_[2], B, 5) << "at " << (x) << "," << (y);                                    \
    } while (0)

} // namespace

TEST(OverlayEffects, LayeredImageFlashInversionAndTextFade)
{
    const std::string show = testfiles::tempDir("overlays");
    std::filesystem::create_directories(show + "/data/art");
    // Top half red, bottom half blue.
    writePicture(show + "/data/art/backdrop.png", 64, 64, [](int, int y) {
        return y < 32 ? std::array<unsigned char, 4>{255, 0, 0, 255}
                      : std::array<unsigned char, 4>{0, 0, 255, 255};
    });
    // Blurred picture green on the left half, sharp text white on the right half.
    writePicture(show + "/data/art/words.png", 256, 256, [](int x, int) {
        return x < 128 ? std::array<unsigned char, 4>{0, 255, 0, 255}
                       : std::array<unsigned char, 4>{255, 255, 255, 255};
    });
    testfiles::writeFile(show + "/data/scr/generic.shader",
                         "Image {\n\tFormat RGBA\n\tName \"backdrop.png\"\n}\n"
                         "Image {\n\tFormat RGBA\n\tName \"words.png\"\n}\n");
    testfiles::writeFile(show + "/data/scr/generic.effect",
                         "; the backdrop all the time\n"
                         "Image {\n\tStart 0\n\tEnd 20\n\tLayer 0\n\tImage \"backdrop.png\"\n}\n"
                         "; a white flash rising from 2 s to 4 s, drawn over the text fade\n"
                         "Flash {\n\tStart 2\n\tEnd 4\n\tLayer 9\n\tColor 1 1 1 1\n"
                         "\tKeyframer {\n\t\tScale {\n\t\t\tNumKeys 2\n\t\t\tKey 2 0\n\t\t\tKey 4 1\n"
                         "\t\t}\n\t}\n}\n"
                         "Invert {\n\tStart 5\n\tEnd 6\n\tLayer 2\n\tRect 0 0 320 480\n}\n"
                         "TextFade {\n\tStart 7\n\tEnd 9\n\tLayer 3\n\tImage \"words.png\"\n"
                         "\tBlurRect 0 0 128 256\n\tTextRect 128 0 128 256\n"
                         "\tScreenRect 160 120 320 240\n"
                         "\tKeyframer {\n\t\tScale {\n\t\t\tNumKeys 2\n\t\t\tKey 7 0\n\t\t\tKey 9 2\n"
                         "\t\t}\n\t}\n}\n");
    std::vector<std::string> args{"--headless", "--data", show, "--fps", "50"};
    for (const char* t : {"1", "3", "5.5", "7.5", "8.5", "9.5"})
        args.insert(args.end(), {"--shot", std::string(t) + ":" + show + "/at" + t + ".png"});
    auto r = runOculith(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;

    const Shot backdrop = readShot(show + "/at1.png");
    EXPECT_RGB(backdrop, 320, 400, 255, 0, 0);
    EXPECT_RGB(backdrop, 320, 100, 0, 0, 255);

    const Shot flash = readShot(show + "/at3.png"); // alpha 0.5
    EXPECT_RGB(flash, 320, 400, 255, 128, 128);
    EXPECT_RGB(flash, 320, 100, 128, 128, 255);

    const Shot inverted = readShot(show + "/at5.5.png"); // left half only
    EXPECT_RGB(inverted, 100, 400, 0, 255, 255);
    EXPECT_RGB(inverted, 100, 100, 255, 255, 0);
    EXPECT_RGB(inverted, 500, 400, 255, 0, 0);

    const Shot blurred = readShot(show + "/at7.5.png"); // fade 0.5: green at half alpha
    EXPECT_RGB(blurred, 320, 300, 128, 128, 0);
    EXPECT_RGB(blurred, 320, 180, 0, 128, 128);
    EXPECT_RGB(blurred, 100, 300, 255, 0, 0); // outside the screen rectangle

    const Shot sharpening = readShot(show + "/at8.5.png"); // fade 1.5: both at half alpha
    EXPECT_RGB(sharpening, 320, 300, 191, 191, 128);

    const Shot after = readShot(show + "/at9.5.png"); // the fade has left the timeline
    EXPECT_RGB(after, 320, 300, 255, 0, 0);

    const std::string log = testfiles::readFile(show + "/application.log");
    EXPECT_EQ(log.find("GL_INVALID"), std::string::npos) << log;
}
