// The program end to end: command line, exit codes, headless frames, shots and the log.
#include "ProgramRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A show folder with empty scripts: the program starts and plays an empty timeline.
std::string emptyShow()
{
    const std::string dir = testfiles::tempDir("show");
    testfiles::writeFile(dir + "/data/scr/generic.effect", "; empty\n");
    testfiles::writeFile(dir + "/data/scr/generic.shader", "; empty\n");
    return dir;
}

int countOf(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t pos = 0; (pos = text.find(what, pos)) != std::string::npos; pos += what.size())
        ++n;
    return n;
}

} // namespace

TEST(CommandLine, HelpVersionAndBadOptions)
{
    auto help = runOculith({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--headless"), std::string::npos);
    EXPECT_NE(help.out.find("--shot SECONDS:FILE.png"), std::string::npos);

    auto version = runOculith({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("oculith ", 0), 0u);

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--bogus"}, {"--fps", "0"}, {"--fps", "x"}, {"--windowed", "640"},
          {"--windowed", "640x480x3"}, {"--start", "-1"}, {"--shot", "1"}, {"--shot", "a:b.png"},
          {"--data"}, {"--windowed", "640x480", "--fullscreen", "800x600"},
          {"--start", "5", "--until", "2"}, {"--frame-log"}, {"--check", "--frame-log", "f.csv"}}) {
        auto r = runOculith(bad);
        EXPECT_EQ(r.exitCode, 2) << bad[0];
        EXPECT_NE(r.err.find("usage: oculith"), std::string::npos) << bad[0];
    }
}

TEST(CommandLine, MissingDataFolderIsAClearStartFailure)
{
    const std::string dir = testfiles::tempDir("nodata");
    auto r = runOculith({"--headless", "--data", dir, "--until", "0.1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("holds no data/ folder"), std::string::npos) << r.err;
}

TEST(Headless, ShotIsWindowSizedAndLogHoldsTheOpenGLSection)
{
    const std::string show = emptyShow();
    const std::string shot = show + "/a.png";
    auto r = runOculith({"--headless", "--data", show, "--shot", "1:" + shot, "--until", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    int w = 0, h = 0;
    ASSERT_TRUE(pngSize(shot, w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);

    const std::string log = testfiles::readFile(show + "/application.log");
    EXPECT_EQ(log.rfind("--==[OpenGL]==--\n\t--==[Buffers]==--\n\t\tColor       : 32\n", 0), 0u) << log;
    EXPECT_NE(log.find("\t\tStencil     : 8\n"), std::string::npos);
    EXPECT_EQ(countOf(log, "\tSUCCESS\n") + countOf(log, "\tFAILED\n"), 46);
    EXPECT_NE(log.find("\t--==[Driver]==--\n\t\tVendor: "), std::string::npos);
    EXPECT_NE(log.find("\n--==[OpenGL]==--\n"), std::string::npos);
    // No picker ran, no mode was changed, no GL error happened.
    EXPECT_EQ(log.find("VideoModes"), std::string::npos);
    EXPECT_EQ(log.find("ScreenMode"), std::string::npos);
    EXPECT_EQ(log.find("GL_INVALID"), std::string::npos);
}

TEST(Headless, UntilEndsTheShowAndShotsFollowTheWindowSize)
{
    const std::string show = emptyShow();
    const std::string frames = show + "/frames.csv";
    auto r = runOculith({"--headless", "--data", show, "--until", "0.25", "--fps", "20", "--frame-log", frames});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The frame log holds a header and one line per drawn frame, at the fixed step's times.
    const std::string csv = testfiles::readFile(frames);
    ASSERT_EQ(csv.rfind("time,frame_ms,update_ms,update_cpu_ms\n0.0000,", 0), 0u) << csv;
    EXPECT_EQ(countOf(csv, ","), 3 * countOf(csv, "\n")) << csv; // four fields a line
    EXPECT_GE(countOf(csv, "\n"), 1 + 6) << csv;
    EXPECT_NE(csv.find("\n0.0500,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\n0.2500,"), std::string::npos) << csv;

    // Shots between frames take the first frame at or after their time; the run ends after
    // the last one even without --until.
    const std::string a = show + "/small.png", b = show + "/late.png";
    r = runOculith({"--headless", "--data", show, "--windowed", "320x200", "--fps", "10", "--shot",
                    "0.05:" + a, "--shot", "0.3:" + b});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    int w = 0, h = 0;
    ASSERT_TRUE(pngSize(a, w, h));
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 200);
    EXPECT_TRUE(std::filesystem::exists(b));
    const std::string log = testfiles::readFile(show + "/application.log");
    EXPECT_NE(log.find("Shot 0.100 s written to"), std::string::npos) << log;
    EXPECT_NE(log.find("Shot 0.300 s written to"), std::string::npos) << log;

    // A shot the show never reaches is reported, not silently dropped.
    r = runOculith({"--headless", "--data", show, "--fps", "10", "--until", "0.2", "--shot", "5:" + a});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("no shot at 5.000 s"), std::string::npos) << r.err;
}
