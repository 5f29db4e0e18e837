// The show's own data end to end: the build's generated pictures and hand-written scripts load
// without a box or a GL error, and the frames at the opening, the interlude's eye and tunnel,
// the credits and the end show what the timeline promises. The loading screen is checked
// directly on GL: a --shot can only catch show frames, and the loading picture is gone before
// the first one.
#include "GLFixture.h"
#include "ImageFiles.h"
#include "ProgramRun.h"
#include "TestFiles.h"
#include "app/CommandLine.h"
#include "app/ShowApplication.h"
#include "effects/EffectTimeline.h"
#include "font/ConsoleFont.h"
#include "font/FontRegistry.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "texture/PngReader.h"
#include "texture/TextureManager.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {

const std::string kBuildShow = OCULITH_BINARY_DIR;

// Brightness statistics over a band of rows of a decoded shot (rows top first).
struct Band {
    int brightPixels = 0; // r + g + b above 450
    int peak = 0;         // largest r + g + b
    double meanR = 0, meanG = 0, meanB = 0;
};

Band measure(const DecodedImage& shot, int top, int bottom)
{
    Band band;
    double r = 0, g = 0, b = 0;
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* row = shot.row(y);
        for (int x = 0; x < shot.width; ++x) {
            const std::uint8_t* p = row + x * shot.channels;
            const int sum = p[0] + p[1] + p[2];
            band.brightPixels += sum > 450;
            band.peak = std::max(band.peak, sum);
            r += p[0];
            g += p[1];
            b += p[2];
        }
    }
    const double n = double(shot.width) * double(bottom - top);
    band.meanR = r / n;
    band.meanG = g / n;
    band.meanB = b / n;
    return band;
}

DecodedImage readShot(const std::string& path)
{
    DecodedImage image;
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path, bytes) && decodePng(bytes.data(), bytes.size(), image)) << path;
    return image;
}

} // namespace

// One headless run over almost the whole show (10 frames a second keeps it short; every effect
// window is longer than a tenth of a second) with shots at its landmarks.
TEST(ShowData, TheBuildsShowLoadsCleanAndEveryPartShows)
{
    ASSERT_TRUE(std::filesystem::exists(kBuildShow + "/data/art/loading.jpg")) << "the build generates the data";
    const std::string dir = testfiles::tempDir("showdata");
    const auto shot = [&](const char* name) { return dir + "/" + name + ".png"; };
    const ProgramResult run = runOculith({"--headless", "--data", kBuildShow, "--fps", "10",
                                          "--shot", "3:" + shot("title"), "--shot", "131:" + shot("interlude"),
                                          "--shot", "133.5:" + shot("tunnel"),
                                          "--shot", "340:" + shot("credits"), "--shot", "357.2:" + shot("end")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // No box: a box in a headless run is a line on standard error.
    EXPECT_EQ(run.err, "");
    const std::string log = testfiles::readFile(kBuildShow + "/application.log");
    for (const char* fault : {"GL_INVALID", "GL_STACK_", "GL_OUT_OF_MEMORY", "UNKNOWN OPENGL ERROR",
                              "SCRIPTING ERROR", "stopped at line"})
        EXPECT_EQ(log.find(fault), std::string::npos) << fault << " in application.log";

    // Opening at 3 s: the title, half blurred, glows in the middle band; above it the opening
    // scene's room stays dim, crossed only by the flock's creatures as small bright specks.
    const DecodedImage title = readShot(shot("title"));
    ASSERT_EQ(title.width, 640);
    ASSERT_EQ(title.height, 480);
    const Band letters = measure(title, 170, 310);
    EXPECT_GT(letters.brightPixels, 1500);
    EXPECT_GT(letters.peak, 500);
    const Band above = measure(title, 0, 60);
    EXPECT_LT(above.meanR + above.meanG + above.meanB, 90.0);
    EXPECT_LT(above.brightPixels, 400);

    // Interlude at 131 s: the heading's tiles have come home along the top, the eye and its gold
    // emblem fill the middle, all on night violet.
    const DecodedImage interlude = readShot(shot("interlude"));
    const Band whole = measure(interlude, 0, 480);
    EXPECT_GT(whole.meanB, whole.meanR);
    EXPECT_GT(whole.meanB, 20.0);
    EXPECT_GT(measure(interlude, 28, 84).brightPixels, 800);
    EXPECT_GT(measure(interlude, 160, 320).peak, 600);
    // At 133.5 s the eye has given way to the lined tunnel: violet walls all round, and the
    // passage has moved on from the first picture.
    const DecodedImage tunnel = readShot(shot("tunnel"));
    const Band walls = measure(tunnel, 0, 480);
    EXPECT_GT(walls.meanB, walls.meanR);
    EXPECT_GT(walls.meanB, 60.0);
    EXPECT_GT(std::fabs(walls.meanB - whole.meanB), 15.0);

    // Credits: lettering from the title row down to the music row.
    const DecodedImage credits = readShot(shot("credits"));
    EXPECT_GT(measure(credits, 88, 184).brightPixels, 1000);
    EXPECT_GT(measure(credits, 270, 420).brightPixels, 800);

    // The end: the title over black, on its way back into blur.
    const DecodedImage end = readShot(shot("end"));
    EXPECT_GT(measure(end, 170, 310).peak, 450);
    EXPECT_LT(measure(end, 0, 60).peak, 60);
}

// A start inside the interlude's heading window catches the tiles up: at 133 s the heading is
// home whether the show started at 130 s or half a second before. The rest of the band (the
// tunnel behind, passing motes) may differ by a few levels where random draws differ.
TEST(ShowData, TheInterludeHeadingIsHomeAt133FromAStartAt130OrAt132AndAHalf)
{
    const std::string dir = testfiles::tempDir("interlude-start");
    std::vector<DecodedImage> shots;
    for (const char* start : {"130", "132.5"}) {
        const std::string path = dir + "/from" + start + ".png";
        const ProgramResult run = runOculith({"--headless", "--data", kBuildShow, "--start", start, "--shot",
                                              "133:" + path});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        shots.push_back(readShot(path));
    }
    const DecodedImage& early = shots[0];
    const DecodedImage& late = shots[1];
    // The heading's row, fading out by now: lettering in both, and the same lettering (a start
    // at 132.5 s without the catch-up differs by about 15 levels on average here).
    EXPECT_GT(measure(early, 28, 84).brightPixels, 200);
    EXPECT_GT(measure(late, 28, 84).brightPixels, 200);
    double difference = 0.0;
    for (int y = 28; y < 84; ++y)
        for (int x = 0; x < early.width * early.channels; ++x)
            difference += std::abs(int(early.row(y)[x]) - int(late.row(y)[x]));
    EXPECT_LT(difference / (56.0 * early.width * early.channels), 6.0);
}

namespace {

// One hand-written scene with its own scripts taken away, and a time inside another scene's
// window.
struct MissingScene {
    const char* name;
    std::vector<const char*> files; // under data/scr
    const char* box;                // the one box the run prints
    double other;
};

// Lines of standard error that are boxes (a headless box is "TITLE: text").
std::vector<std::string> boxLines(const std::string& err)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < err.size()) {
        size_t end = err.find('\n', start);
        if (end == std::string::npos)
            end = err.size();
        const std::string line = err.substr(start, end - start);
        if (line.find("ERROR: ") != std::string::npos)
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

// A show folder that lacks one scene's files plays the whole show with that scene's box only,
// and the other scenes still draw in their windows.
TEST(ShowData, EachSceneWithoutItsFilesGivesOnlyItsBoxAndTheRestPlays)
{
    ASSERT_TRUE(std::filesystem::exists(kBuildShow + "/data/art/loading.jpg")) << "the build generates the data";
    const MissingScene cases[] = {
        {"Introduction", {"intro.shader", "intro_boks.scene"}, "UNABLE TO LOAD SHADERS 'intro.shader'", 60},
        {"WaterSimulation", {"watersimulation.shader", "watersimulation.scene"},
         "UNABLE TO LOAD SHADERS 'watersimulation.shader'", 20},
        {"TunnelScene", {"tunnelscene.shader", "tunnelscene.scene", "tunnelscene.effect"},
         "UNABLE TO LOAD SHADERS 'tunnelscene.shader'", 190},
        {"DirtyCellar", {"dirtycellar.shader", "dirtycellar.scene"}, "Unable to load shaders script", 150},
        {"GeometricWorld", {"geometricworld.shader", "geometricworld.scene"},
         "UNABLE TO LOAD SHADERS 'geometricworld.shader'", 240},
        {"Vizidedar", {"vizidedar.shader", "vizidedar.scene"}, "UNABLE TO LOAD SHADERS 'vizidedar.shader'", 220},
        {"AlienMorphScene", {"alienscene.shader", "alienscene_metaballs.envelope", "eyeball_scene.shader",
                             "eyeball_scene.scene"}, "UNABLE TO OPEN FILE 'alienscene_metaballs.envelope'", 240},
        {"GreetingsScene", {"greetings.shader", "greetings.scene"}, "Unable to load shaders script", 270},
    };
    namespace fs = std::filesystem;
    for (const MissingScene& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = testfiles::tempDir("missing");
        fs::copy(kBuildShow + "/data", dir + "/data", fs::copy_options::recursive);
        for (const char* file : c.files)
            ASSERT_TRUE(fs::remove(dir + "/data/scr/" + file)) << file;
        const std::string other = dir + "/other.png";
        // One frame a second over the whole show (a headless run ends with its last shot, so
        // the last is at the end): every window is played.
        const ProgramResult run = runOculith({"--headless", "--data", dir, "--fps", "1", "--until", "358.2",
                                              "--shot", std::to_string(c.other) + ":" + other, "--shot",
                                              "358:" + dir + "/end.png", "--frame-log",
                                              dir + "/frames.csv"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<std::string> boxes = boxLines(run.err);
        ASSERT_EQ(boxes.size(), 1u) << run.err;
        EXPECT_NE(boxes[0].find(c.box), std::string::npos) << boxes[0];
        const std::string log = testfiles::readFile(dir + "/application.log");
        EXPECT_EQ(log.find("GL_INVALID"), std::string::npos);
        EXPECT_NE(testfiles::readFile(dir + "/frames.csv").find("\n358.0000,"), std::string::npos);
        // Another scene draws its lit world.
        const Band lit = measure(readShot(other), 0, 480);
        EXPECT_GT(lit.meanR + lit.meanG + lit.meanB, 12.0);
    }
}

namespace {

// The show's start-up up to its first frame, reachable from a test.
class StartUp : public ShowApplication {
public:
    using ShowApplication::ShowApplication;
    bool start() { return init(); }
};

} // namespace

class LoadingScreen : public GLTest {};

TEST_F(LoadingScreen, DrawsItsPictureUprightOverTheWholeScreen)
{
    // A picture whose four quadrants say which way up it came out: red top left, green top
    // right, blue bottom left, white bottom right.
    const std::string dir = testfiles::tempDir("loading");
    testfiles::writeFile(dir + "/data/scr/generic.effect", "; empty\n");
    testfiles::writeFile(dir + "/data/scr/generic.shader", "; empty\n");
    std::vector<std::uint8_t> rgb(640 * 480 * 3);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            std::uint8_t* p = &rgb[(std::size_t(y) * 640 + std::size_t(x)) * 3];
            const bool right = x >= 320, bottom = y >= 240;
            p[0] = std::uint8_t(!bottom && !right ? 255 : bottom && right ? 255 : 0);
            p[1] = std::uint8_t(right ? 255 : 0);
            p[2] = std::uint8_t(bottom ? 255 : 0);
        }
    }
    std::string error;
    ASSERT_TRUE(imagefiles::writeJpeg(dir + "/data/art/loading.jpg", 640, 480, rgb, 95, error)) << error;

    const std::string previous = std::filesystem::current_path().string();
    ASSERT_EQ(chdir(dir.c_str()), 0);
    {
        ConsoleFont font;
        EffectTimeline timeline;
        MeshManager meshes;
        FontRegistry fonts;
        MaterialLibrary materials;
        TextureManager textures;
        CommandLine commandLine;
        commandLine.headless = true;
        StartUp show(commandLine);
        EXPECT_TRUE(show.start());
        // Screen y grows upwards: the picture's first rows are at the top.
        EXPECT_PIXEL_NEAR(testgl::readPixel(80, 400), 255, 0, 0, 12);
        EXPECT_PIXEL_NEAR(testgl::readPixel(560, 400), 0, 255, 0, 12);
        EXPECT_PIXEL_NEAR(testgl::readPixel(80, 80), 0, 0, 255, 12);
        EXPECT_PIXEL_NEAR(testgl::readPixel(560, 80), 255, 255, 255, 12);
        // The corners are covered too: the quad spans the whole 640 x 480 space.
        EXPECT_PIXEL_NEAR(testgl::readPixel(1, 478), 255, 0, 0, 24);
        EXPECT_PIXEL_NEAR(testgl::readPixel(638, 1), 255, 255, 255, 24);
        // The picture is not kept once drawn.
        EXPECT_EQ(textures.find("loading.jpg"), nullptr);
        timeline.clear();
    }
    ASSERT_EQ(chdir(previous.c_str()), 0);
}

class ShowFont : public GLTest {};

// The console font as the show gets it: the build's material script loads the generated atlas,
// the font finds it by its alias, and text drawn with it shows ink in glyph cells and none
// where a blank (drawn from outside the grid) stands.
TEST_F(ShowFont, ConsoleFontDrawsFromTheGeneratedAtlas)
{
    const std::string previous = std::filesystem::current_path().string();
    ASSERT_EQ(chdir(kBuildShow.c_str()), 0);
    {
        ConsoleFont font;
        MaterialLibrary materials;
        TextureManager textures;
        textures.createDefaults();
        textures.addSearchPath("data\\art\\");
        textures.addSearchPath("data\\fnt\\");
        EXPECT_TRUE(materials.load("data\\scr\\generic.shader"));
        ASSERT_TRUE(font.load());
        ASSERT_TRUE(font.isLoaded());

        glColor3f(1.0f, 1.0f, 1.0f);
        font.begin2D();
        font.print(100, 200, "H H");
        font.end2D();
        // Glyph quads are 16 x 21 at x = 100, 115, 130: the H strokes are inked, the blank's
        // middle columns are not.
        int ink = 0;
        for (int y = 203; y < 218; ++y)
            for (int x = 102; x < 114; ++x)
                ink = std::max(ink, testgl::readPixel(x, y).g);
        EXPECT_GT(ink, 200);
        int blank = 0;
        for (int y = 200; y < 221; ++y)
            for (int x = 118; x < 128; ++x)
                blank = std::max(blank, testgl::readPixel(x, y).g);
        EXPECT_LT(blank, 16);
        font.release();
    }
    ASSERT_EQ(chdir(previous.c_str()), 0);
}
