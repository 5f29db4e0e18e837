// Script mistakes a show maker makes, each in a fixture show of its own: every run says where the
// mistake is and what it costs (standard error and the log), and --check lists it, in plain words
// and at the same place whatever line ends the scripts use.
#include "ProgramRun.h"
#include "Shots.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A show folder with the two scripts the loader needs.
std::string showWith(const std::string& name, const std::string& effect, const std::string& shader = "; none\n")
{
    const std::string show = testfiles::tempDir(name);
    testfiles::writeFile(show + "/data/scr/generic.shader", shader);
    testfiles::writeFile(show + "/data/scr/generic.effect", effect);
    return show;
}

std::string flash(const char* name, const char* extra = "")
{
    return std::string("Flash {\n\tName \"") + name + "\"\n\tStart 0\n" + extra + "\tEnd 20\n}\n";
}

// The same text with Windows line ends.
std::string crlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

// A misspelt line in the first Flash block loses the blocks after it: the run still plays what
// loaded and exits 0, but says so on standard error and in the log, and --check says the same.
TEST(ProblemReport, ALineThatStopsTheTimelineIsReportedByEveryRun)
{
    const std::string show =
        showWith("stopped", "; effects\n" + flash("first", "\tLayr 5\n") + flash("second") + flash("third"));
    const std::string expected = "data\\scr\\generic.effect:5: no keyword of the Flash block takes this line: "
                                 "\"Layr 5\"; the 2 blocks after it are not loaded";
    const auto run = runOculith({"--headless", "--data", show, "--shot", "1:" + show + "/shot.png"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(holds(run.err, expected + "\n")) << run.err;
    EXPECT_TRUE(holds(testfiles::readFile(show + "/application.log"), expected));
    const auto check = runOculith({"--check", "--data", show});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(holds(check.out, expected + "\n")) << check.out;
}

// Every mistake that used to pass --check silently, in one show: each is listed at its line.
TEST(ProblemReport, CheckListsEveryMistakeThatChangesThePicture)
{
    const std::string effect =
        "\xEF\xBB\xBF"
        "Flash {\n\tName \"bom\"\n\tStart 0\n\tEnd 1,5\n}\n"                                     // 1-5
        "Tunel {\n\tSize 3\n}\n"                                                                 // 6-8
        "Tunnel {\n\tName \"t1\"\n\tStart 0\n\tEnd 10\n\tShader \"nomat\"\n}\n"                  // 9-14
        "Tunnel {\n\tName \"t2\"\n\tStart 0\n\tEnd thirty\n\tShader nomat\n}\n"                  // 15-20
        "Text {\n\tName \"words\"\n\tStart 0\n\tEnd 10\n\tText \"hi\"\n\tFont \"comic\"\n}\n"    // 21-27
        "Scene {\n\tName \"s1\"\n\tStart 20\n\tEnd 30\n\tScene \"data\\scr\\nodes.scene\"\n}\n"  // 28-33
        "Scene {\n\tName \"s2\"\n\tStart 20\n\tEnd 30\n\tScene \"data\\scr\\notes.scene\"\n}\n"  // 34-39
        "Flash {\n\tName \"big\"\n\tStart 0\n\tEnd 5\n\tKeyframer {\n\t\tScale {\n\t\t\tNumKeys 1\n"
        "\t\t\tKey 0 1e39\n\t\t}\n\t}\n}\n"                                                        // 40-50
        "Particle {\n\tName \"p\"\n\tStart 0\n\tEnd 5\n\tParticleSystem {\n\t\tMax 1e12\n\t}\n}\n"; // 51-58
    const std::string shader = "; pictures\n"
                               "Image {\n\tFormat RGB\n\tName \"empty.png\"\n}\n"   // 2-5
                               "Image {\n\tFormat RGB\n\tName \"fake.png\"\n}\n";   // 6-9
    const std::string show = showWith("mistakes", effect, shader);
    testfiles::writeFile(show + "/data/scr/nodes.scene",
                         "Group {\n\tPositon 1 2 3\n\tCamera {\n\t\tName \"eye\"\n\t\tFOW 60\n\t}\n}\n");
    testfiles::writeFile(show + "/data/scr/notes.scene",
                         "Group {\n\tCamera {\n\t\tName \"eye\"\n\t\t; wide angle\n\t\tFOV 60\n\t}\n}\n");
    testfiles::writeFile(show + "/data/art/empty.png", "");
    testfiles::writeFile(show + "/data/art/fake.png", "GIF89a, not what the name says");
    testfiles::writeFile(show + "/data/art/loading.jpg", "");
    testfiles::writeFile(show + "/data/snd/oculith - edit 2 (64k).mp3", "");

    const auto r = runOculith({"--check", "--data", show});
    EXPECT_EQ(r.exitCode, 1);
    const char* expected[] = {
        "data\\scr\\generic.effect:4: \"1,5\" is not a number: \"End 1,5\"; the value is read as 1",
        "data\\scr\\generic.effect:6: \"Tunel\" is no block kind of the timeline script: \"Tunel {\"; this block "
        "is ignored",
        "data\\scr\\generic.effect:13: no script defines the material \"nomat\": \"Shader \"nomat\"\"",
        "data\\scr\\generic.effect:18: \"thirty\" is not a number: \"End thirty\"; the value is read as 0",
        "data\\scr\\generic.effect:19: this line names no material in double quotes: \"Shader nomat\"",
        "data\\scr\\generic.effect:21: the Text effect \"words\" has no Scene effect on a lower layer",
        "data\\scr\\generic.effect:26: no font is registered under the name \"comic\"",
        "data\\scr\\nodes.scene:2: no keyword of the Group block takes this line: \"Positon 1 2 3\"; the line is "
        "passed over",
        "data\\scr\\nodes.scene:5: no keyword of the Camera block takes this line: \"FOW 60\"; the block opened at "
        "line 3 ends here",
        "data\\scr\\notes.scene:4: a comment line is not allowed inside a Camera block; put it after the block's "
        "last line or at the end of a keyword line: \"; wide angle\"",
        "data\\scr\\generic.effect:47: \"1e39\" is beyond the largest number a value can hold",
        "data\\scr\\generic.effect:56: \"1e12\" is not a whole number: \"Max 1e12\"; the value is read as 1",
        "data\\scr\\generic.shader:4: cannot read empty.png: the file is empty: \"Name \"empty.png\"\"",
        "data\\scr\\generic.shader:8: cannot read fake.png: not a PNG file",
        "data\\art\\loading.jpg: cannot read the loading picture: the file is empty",
        "data\\snd\\oculith - edit 2 (64k).mp3: the music file is empty",
    };
    for (const char* line : expected)
        EXPECT_TRUE(holds(r.out, line)) << line << "\n--- got:\n" << r.out;
    // The byte-order mark is no part of the first keyword: the first block loads.
    EXPECT_FALSE(holds(r.out, ":1: ")) << r.out;
    // Hand-written scenes report under their own names.
    EXPECT_FALSE(holds(r.out, "unnamed")) << r.out;

    // The same scripts with Windows line ends give the same list.
    testfiles::writeFile(show + "/data/scr/generic.effect", crlf(effect));
    testfiles::writeFile(show + "/data/scr/generic.shader", crlf(shader));
    testfiles::writeFile(show + "/data/scr/nodes.scene", crlf(testfiles::readFile(show + "/data/scr/nodes.scene")));
    testfiles::writeFile(show + "/data/scr/notes.scene", crlf(testfiles::readFile(show + "/data/scr/notes.scene")));
    const auto windows = runOculith({"--check", "--data", show});
    EXPECT_EQ(windows.out, r.out);
}

// Messages that name what the maker wrote: the block kind, the missing "}", the scene file, the
// comment line; a comment inside a throwing kind still stops start-up with the box, and the
// problem line beside it says why in plain words.
TEST(ProblemReport, MessagesNameTheBlockAndTheMissingPiece)
{
    const std::string show = showWith("messages", "Flash {\n\tName \"open\"\n\tStart 0\n\tEnd 5\n"   // 1-4
                                                  "Flash {\n\tName \"next\"\n\tStart 0\n\tEnd 5\n}\n"  // 5-9
                                                  "Scene {\n\tName \"s\"\n\tScene \"data\\scr\\myy.scene\"\n}\n"  // 10-13
                                                  "Flash {\n\tName \"env\"\n\tKeyframerLW {\n\t\tChannel 6\n\t\t{ Envelope\n"
                                                  "\t\t\t1\n\t\t\tKey 1 0 0 0 0 0 0 0 0 0\n\t\t\tBehaviors 1 1\n\t\t}\n}\n" // 14-23
                                                  "Invert {\n}\n");                                                 // 24-25
    testfiles::writeFile(show + "/data/snd/oculith - edit 2 (64k).mp3", "RIFF....WAVE");
    const auto check = runOculith({"--check", "--data", show});
    EXPECT_TRUE(holds(check.out, "data\\snd\\oculith - edit 2 (64k).mp3: the music file is not an MP3 file"));
    EXPECT_TRUE(holds(check.out, "data\\scr\\generic.effect:5: the Flash block opened at line 1 has no \"}\": "
                                 "\"Flash {\"; the 3 blocks after it are not loaded"))
        << check.out;
    EXPECT_TRUE(holds(check.out, "data\\scr\\generic.effect:12: the scene file data\\scr\\myy.scene does not exist"))
        << check.out;
    // The line after an envelope block is passed over, here the "}" that was to close the block.
    EXPECT_TRUE(holds(check.out, "data\\scr\\generic.effect:24: the Flash block opened at line 14 has no \"}\" (the "
                                 "line after its KeyframerLW block is always passed over"))
        << check.out;

    const std::string tunnel = showWith("tunnelcomment", "Tunnel {\n\tName \"t\"\n\t; slower here\n\tSpeed 2\n}\n");
    const auto run = runOculith({"--headless", "--data", tunnel, "--until", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(holds(run.err, "SCRIPTING ERROR: TunnelEffect unknown token\n")) << run.err;
    EXPECT_TRUE(holds(run.err, "data\\scr\\generic.effect:3: a comment line is not allowed inside a Tunnel block; "
                               "put it after the block's last line or at the end of a keyword line: "
                               "\"; slower here\"; start-up stops here with a SCRIPTING ERROR box"))
        << run.err;
}

// A windowed run shows its problems over the picture for its first seconds, in red along the
// bottom, then the show alone. The build's show with a misspelt line in its first block (so no
// scene's box waits for a click), played on a virtual display from 120 s: the water scene under
// the notice, then the interlude, black now that its blocks are lost. Skipped without a virtual
// display or the build's show.
TEST(ProblemReport, AWindowedRunShowsItsProblemsOverThePictureAtFirst)
{
    const std::string build = OCULITH_BINARY_DIR;
    if (!fs::exists("/usr/bin/xvfb-run") || !fs::exists(build + "/data/snd/oculith - edit 2 (64k).mp3"))
        GTEST_SKIP() << "needs xvfb-run and the build's show";
    const std::string show = testfiles::tempDir("windowed");
    fs::copy(build + "/data", show + "/data", fs::copy_options::recursive);
    const std::string effect = show + "/data/scr/generic.effect";
    std::string script = testfiles::readFile(effect);
    const auto layer = script.find("\tLayer ", script.find("Flash {"));
    ASSERT_NE(layer, std::string::npos);
    script.replace(layer, 7, "\tLayr ");
    testfiles::writeFile(effect, script);
    const auto r = runProgram("/usr/bin/timeout",
                              {"120", "/usr/bin/xvfb-run", "-a", OCULITH_EXECUTABLE, "--data", show, "--windowed",
                               "640x480", "--mute", "--start", "120", "--shot", "121:" + show + "/early.png",
                               "--shot", "131:" + show + "/later.png", "--until", "131.2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(holds(r.err, "no keyword of the Flash block takes this line: \"Layr ")) << r.err;
    auto redInBottomRows = [](const Shot& shot) {
        int red = 0;
        for (int y = 0; y < 44; ++y)
            for (int x = 0; x < 640; ++x) {
                const auto c = shot.at(x, y);
                red += c[0] > 150 && c[1] < 120 && c[2] < 120;
            }
        return red;
    };
    EXPECT_GT(redInBottomRows(readShot(show + "/early.png")), 200);
    EXPECT_EQ(redInBottomRows(readShot(show + "/later.png")), 0);
}
