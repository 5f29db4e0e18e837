// A show of one's own: the starter show in examples/starter checks clean (the built-in scenes,
// whose files it does not hold, are only noted), plays to its own end without a box and draws
// its title, its lit stage and its tunnel; its "ShowEnd" line sets the end that --check and a
// run honour, and --until still overrides it (the line's own rules are tested with the loader).
#include "texture/PngReader.h"
#include "ProgramRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A private copy of the starter show, so runs write their log outside the source tree.
std::string starterCopy()
{
    const std::string dir = testfiles::tempDir("starter");
    fs::copy(std::string(OCULITH_SOURCE_DIR) + "/examples/starter", dir, fs::copy_options::recursive);
    return dir;
}

void appendTo(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::app) << text;
}

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The mean colour of a box of a shot (x, y from the top left).
std::array<double, 3> meanColour(const std::string& shot, int x0, int y0, int x1, int y1)
{
    DecodedImage image;
    const std::string bytes = testfiles::readFile(shot);
    EXPECT_TRUE(decodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image)) << shot;
    std::array<double, 3> sum{};
    if (image.width == 0)
        return sum;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] += image.row(y)[x * image.channels + c];
    for (double& s : sum)
        s /= double((x1 - x0) * (y1 - y0));
    return sum;
}

} // namespace

TEST(StarterShow, ChecksCleanAndNotesTheScenesItDoesNotHold)
{
    const ProgramResult run = runOculith({"--data", starterCopy(), "--check"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(holds(run.out, "The show checks clean")) << run.out;
    EXPECT_TRUE(holds(run.out, "note: scene Vizidedar: no files in this show, not played")) << run.out;
    int notes = 0;
    for (std::size_t at = run.out.find("note: scene "); at != std::string::npos; at = run.out.find("note: scene ", at + 1))
        ++notes;
    EXPECT_EQ(notes, 8) << run.out;
}

TEST(StarterShow, PlaysToItsOwnEndWithoutBoxesAndDrawsEachPart)
{
    const std::string show = starterCopy();
    const ProgramResult run =
        runOculith({"--headless", "--data", show, "--fps", "4", "--frame-log", show + "/frames.csv", "--shot",
                    "2.5:" + show + "/title.png", "--shot", "14:" + show + "/stage.png", "--shot",
                    "21:" + show + "/tunnel.png", "--shot", "30:" + show + "/never.png"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(holds(run.err, "ERROR")) << run.err;
    const std::string log = testfiles::readFile(show + "/application.log");
    EXPECT_FALSE(holds(log, "GL_INVALID")) << log;
    EXPECT_TRUE(holds(log, "scene Introduction: no files in this show, not played"));

    // The show ends at its "ShowEnd 25": the first frame past 25 s is the last one drawn
    // (the end is tested as the frame updates), and the shot asked for at 30 s is never taken.
    const std::string frames = testfiles::readFile(show + "/frames.csv");
    EXPECT_TRUE(holds(frames, "\n25.2500,")) << frames.substr(frames.size() - 200);
    EXPECT_FALSE(holds(frames, "\n25.5000,"));
    EXPECT_FALSE(fs::exists(show + "/never.png"));

    // Cream lettering in the title's band; the copper knot in the middle of the stage; the
    // tunnel's lining all round.
    const auto title = meanColour(show + "/title.png", 100, 140, 540, 200);
    EXPECT_GT(title[0], 25.0);
    const auto knot = meanColour(show + "/stage.png", 300, 180, 340, 220);
    EXPECT_GT(knot[0], 120.0);
    EXPECT_GT(knot[0], knot[2] + 50.0);
    const auto tunnel = meanColour(show + "/tunnel.png", 0, 0, 640, 480);
    EXPECT_GT(tunnel[0] + tunnel[1] + tunnel[2], 90.0);
}

TEST(ShowEnd, CheckMeasuresWindowsAgainstTheShowsOwnEndUnlessUntilSaysOtherwise)
{
    const std::string show = starterCopy();
    const std::string timeline = show + "/data/scr/generic.effect";
    appendTo(timeline, "\nFlash {\n\tName \"late\"\n\tStart 30\n\tEnd 31\n}\n");
    ProgramResult run = runOculith({"--data", show, "--check"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(holds(run.out, "the effect \"late\" starts at 30 s, after the show ends at 25 s")) << run.out;
    run = runOculith({"--data", show, "--check", "--until", "40"});
    EXPECT_EQ(run.exitCode, 0) << run.out;
}
