// The show maker's loop end to end: --check lists the planted problems of a fixture show at
// their files and lines, the generated show checks clean, and a watched headless run picks up an
// edit, keeps the last good show after a broken one and reloads to the frame a fresh start
// at the same time renders.
#include "texture/PngReader.h"
#include "ProgramRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

namespace fs = std::filesystem;

// Replaces a file in one step, as editors that save through a temporary file do.
void replaceFile(const std::string& path, const std::string& contents)
{
    testfiles::writeFile(path + ".new", contents);
    fs::rename(path + ".new", path);
}

bool waitForFile(const std::string& path, double seconds)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        std::error_code ec;
        if (fs::file_size(path, ec) > 0 && !ec) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50)); // let the writer finish
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

DecodedImage readShot(const std::string& path)
{
    DecodedImage image;
    const std::string bytes = testfiles::readFile(path);
    EXPECT_TRUE(decodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image)) << path;
    return image;
}

// The colour at the middle of a shot.
std::array<int, 3> centre(const DecodedImage& image)
{
    const std::uint8_t* p = image.row(image.height / 2) + (image.width / 2) * image.channels;
    return {p[0], p[1], p[2]};
}

// A full-screen flash of the given colour whose strength rises from 0.2 at 0 s to 1 at 10 s;
// `extra` goes in as the block's fifth line.
std::string flashScript(const char* colour, const char* extra = "")
{
    return std::string("; one flash\nFlash {\n\tName \"wash\"\n\tStart 0\n") + extra +
           "\tEnd 20\n\tLayer 0\n\tColor " + colour +
           "\n\tKeyframer {\n\t\tScale {\n\t\t\tNumKeys 2\n\t\t\tKey 0 0.2\n\t\t\tKey 10 1\n\t\t}\n\t}\n}\n";
}

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

TEST(Check, ListsEveryPlantedProblemAtItsFileAndLine)
{
    const std::string show = testfiles::tempDir("checkfixture");
    testfiles::writeFile(show + "/data/scr/generic.shader",
                         "; materials\n"
                         "Image {\n\tFormat RGB\n\tName \"missing.png\"\n}\n"         // line 4
                         "Shader {\n\tName \"panel\"\n\tTexture {\n\t\tImage \"ghost\"\n\t}\n}\n" // line 9
    );
    testfiles::writeFile(show + "/data/scr/generic.effect",
                         "; effects\n"
                         "Flash {\n\tName \"ok\"\n\tStart 1\n\tEnd 2\n}\n"
                         "Flash {\n\tName \"broken\"\n\tStart 1\n\tSparkle 4\n\tEnd 2\n}\n"   // line 10
                         "Image {\n\tName \"card\"\n\tStart 1\n\tEnd 2\n\tImage \"nowhere\"\n}\n" // line 17
                         "Flash {\n\tName \"backwards\"\n\tStart 9\n\tEnd 3\n}\n"              // line 19
                         "Flash {\n\tName \"late\"\n\tStart 400\n\tEnd 410\n}\n");             // line 24
    const auto r = runOculith({"--check", "--data", show});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    const char* expected[] = {
        "data\\scr\\generic.shader:4: cannot read missing.png: no file of that name in the picture folders",
        "data\\scr\\generic.shader:9: no script defines the texture \"ghost\"",
        "data\\scr\\generic.effect:10: no keyword of the Flash block takes this line: \"Sparkle 4\"; "
        "the 3 blocks after it are not loaded",
        "data\\scr\\generic.effect:17: no script defines the texture \"nowhere\"",
        "data\\scr\\generic.effect:19: the effect \"backwards\" starts at 9 s, after its end at 3 s",
        "data\\scr\\generic.effect:24: the effect \"late\" starts at 400 s, after the show ends at 358.109 s",
        "data\\snd\\oculith - edit 2 (64k).mp3: the music is missing",
    };
    for (const char* line : expected)
        EXPECT_TRUE(holds(r.out, std::string(line))) << line << "\n--- got:\n" << r.out;
    // One line per problem (after the notes on the scenes this show does not hold), then the
    // summary that counts them; no box on the way.
    int lines = 0;
    for (char c : r.out)
        lines += c == '\n';
    for (std::size_t at = r.out.find("note: "); at != std::string::npos; at = r.out.find("\nnote: ", at + 1))
        --lines;
    EXPECT_TRUE(holds(r.out, std::to_string(lines - 1) + " problems found.\n")) << r.out;
    EXPECT_FALSE(holds(r.err, "ERROR: ")) << r.err;

    // --until moves the end the windows are checked against.
    const auto until = runOculith({"--check", "--data", show, "--until", "500"});
    EXPECT_FALSE(holds(until.out, "\"late\"")) << until.out;
    EXPECT_EQ(runOculith({"--check", "--watch", "--data", show}).exitCode, 2);
}

TEST(Check, TheGeneratedShowChecksClean)
{
    const std::string build = OCULITH_BINARY_DIR;
    if (!fs::exists(build + "/data/snd/oculith - edit 2 (64k).mp3"))
        GTEST_SKIP() << "the build has not generated the show's data";
    const auto r = runOculith({"--check", "--data", build});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(holds(r.out, "The show checks clean")) << r.out;
}

TEST(Watch, EditsReloadAtTheCurrentTimeAndBrokenEditsKeepTheLastGoodShow)
{
    const std::string show = testfiles::tempDir("watchfixture");
    const std::string effect = show + "/data/scr/generic.effect", shader = show + "/data/scr/generic.shader";
    // With the build's console font the problems show on the picture.
    const std::string font = std::string(OCULITH_BINARY_DIR) + "/data/fnt/confont.tga";
    const bool withFont = fs::exists(font);
    const std::string goodShader =
        withFont ? "Image {\n\tFormat RGBA\n\tName \"confont.tga\"\n\tAlias \"confont\"\n}\n" : "; no font\n";
    if (withFont) {
        fs::create_directories(show + "/data/fnt");
        fs::copy_file(font, show + "/data/fnt/confont.tga");
    }
    const int brokenLine = withFont ? 8 : 4;
    testfiles::writeFile(shader, goodShader);
    testfiles::writeFile(effect, flashScript("1 0 0 1"));
    const std::string before = show + "/before.png", edited = show + "/edited.png", stopped = show + "/stopped.png",
                      kept = show + "/kept.png";
    const RunningProgram run =
        startOculith({"--headless", "--watch", "--data", show, "--shot", "0.5:" + before, "--shot", "2.5:" + edited,
                      "--shot", "4.5:" + stopped, "--shot", "6.5:" + kept});
    ASSERT_TRUE(waitForFile(before, 30));
    replaceFile(effect, flashScript("0 1 0 1"));
    ASSERT_TRUE(waitForFile(edited, 30));
    // A misspelt line: the loader stops without an exception and the flash would be lost.
    replaceFile(effect, flashScript("0 0 1 1", "\tLayr 5\n"));
    ASSERT_TRUE(waitForFile(stopped, 30));
    // A script error that stops start-up.
    replaceFile(shader, goodShader + "Shader {\n\tName \"x\"\n\tShininess 4\n}\n");
    const ProgramResult r = finishProgram(run);
    EXPECT_EQ(r.exitCode, 0) << r.err;

    const auto red = centre(readShot(before)), green = centre(readShot(edited)), still = centre(readShot(kept));
    EXPECT_GT(red[0], 20);
    EXPECT_LT(red[1], 5);
    EXPECT_LT(green[0], 5);
    EXPECT_GT(green[1], red[0]); // the new colour, stronger as the flash rises
    EXPECT_LT(still[0], 5);      // neither broken edit replaced the green show
    EXPECT_LT(still[2], 5);
    EXPECT_GT(still[1], green[1]);
    EXPECT_TRUE(holds(r.err, "data\\scr\\generic.effect:5: no keyword of the Flash block takes this line: "
                             "\"Layr 5\"; no block after it is lost"))
        << r.err;
    EXPECT_TRUE(holds(r.err, "data\\scr\\generic.shader:" + std::to_string(brokenLine) +
                                 ": no keyword of the Shader block takes this line: \"Shininess 4\""))
        << r.err;
    EXPECT_TRUE(holds(r.err, "loses what the last good show plays; the last good show plays on")) << r.err;
    EXPECT_TRUE(holds(r.err, "did not load; the last good show plays on")) << r.err;
    if (withFont) {
        // The notice along the bottom while the broken edits stand: red text on a dark band (a
        // fixture show lacks the hand-written scenes' files, so their boxes stand in it too).
        auto noticePixels = [](const DecodedImage& image) {
            int n = 0;
            for (int y = image.height - 44; y < image.height; ++y)
                for (int x = 0; x < image.width; ++x) {
                    const std::uint8_t* p = image.row(y) + x * image.channels;
                    n += p[0] > 150 && p[1] < 120 && p[2] < 120;
                }
            return n;
        };
        EXPECT_GT(noticePixels(readShot(stopped)), 200);
        EXPECT_GT(noticePixels(readShot(kept)), 200);
    }

    // A fresh watched start at the time of the first reload renders the same frames: the green
    // show, and later that same show again where the broken edits were refused.
    const std::string log = testfiles::readFile(show + "/application.log");
    const auto at = log.find("Reloaded at ");
    ASSERT_NE(at, std::string::npos) << log;
    const std::string time = log.substr(at + 12, log.find(' ', at + 12) - at - 12);
    // The show time ran on without a jump: every 1/60 s from 0 to 6.5 s was drawn once.
    unsigned frames = 0;
    const auto stats = log.find("Frames: ");
    ASSERT_NE(stats, std::string::npos) << log;
    std::sscanf(log.c_str() + stats, "Frames: %u", &frames);
    EXPECT_GE(frames, 391u);
    EXPECT_LE(frames, 392u);
    testfiles::writeFile(shader, goodShader);
    testfiles::writeFile(effect, flashScript("0 1 0 1"));
    const std::string fresh = show + "/fresh.png", freshLater = show + "/fresh-later.png";
    const auto f = runOculith(
        {"--headless", "--data", show, "--start", time, "--shot", "2.5:" + fresh, "--shot", "6.5:" + freshLater});
    ASSERT_EQ(f.exitCode, 0) << f.err;
    // Above the notice's band (at most six rows at the bottom) the frames are the same.
    auto sameAbove = [](const DecodedImage& a, const DecodedImage& b) {
        if (a.width != b.width || a.height != b.height)
            return false;
        const std::size_t rowBytes = std::size_t(a.width) * a.channels;
        for (int y = 0; y < a.height * 2 / 3; ++y)
            if (!std::equal(a.row(y), a.row(y) + rowBytes, b.row(y)))
                return false;
        return true;
    };
    EXPECT_TRUE(sameAbove(readShot(edited), readShot(fresh))) << "reload at " << time << " differs from a fresh --start";
    EXPECT_TRUE(sameAbove(readShot(kept), readShot(freshLater))) << "the kept show differs from the last good one";
}
