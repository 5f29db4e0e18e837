// The installed program: its manual matches its --help, and an install into a fresh prefix holds
// the programs, the show, the desktop files and plays the show from any working directory.
#include "ProgramRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

namespace fs = std::filesystem;

TEST(Install, ManualListsEveryOptionOfHelp)
{
    const ProgramResult help = runOculith({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    const std::string manual = testfiles::readFile(std::string(OCULITH_SOURCE_DIR) + "/docs/man/oculith.1");
    std::set<std::string> options;
    const std::regex option("--[a-z][a-z-]*");
    for (auto it = std::sregex_iterator(help.out.begin(), help.out.end(), option); it != std::sregex_iterator(); ++it)
        options.insert(it->str());
    EXPECT_GE(options.size(), 17u);
    for (const std::string& name : options) {
        // troff writes each '-' of an option as "\-".
        std::string escaped;
        for (char c : name)
            escaped += c == '-' ? std::string("\\-") : std::string(1, c);
        const bool described = manual.find("\n.B " + escaped) != std::string::npos ||
                               manual.find("\n.BI " + escaped) != std::string::npos;
        EXPECT_TRUE(described) << name << " is not described in oculith.1";
    }
    for (const char* section : {".SH KEYS", ".SH EXIT STATUS", "Escape", "Space", "Home"})
        EXPECT_NE(manual.find(section), std::string::npos) << section;
}

TEST(Install, PrefixHoldsEverythingAndPlaysFromAnotherFolder)
{
    const std::string prefix = testfiles::tempDir("prefix");
    const ProgramResult install = runProgram(OCULITH_CMAKE, {"--install", OCULITH_BINARY_DIR, "--prefix", prefix});
    ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
    for (const char* file :
         {"bin/oculith", "bin/oculith-mesh", "share/oculith/data/scr/generic.effect",
          "share/oculith/data/snd/oculith - edit 2 (64k).mp3", "share/applications/org.oculith.Oculith.desktop",
          "share/metainfo/org.oculith.Oculith.metainfo.xml", "share/man/man1/oculith.1", "share/man/man1/oculith-mesh.1",
          "share/icons/hicolor/16x16/apps/oculith.png", "share/icons/hicolor/48x48/apps/oculith.png",
          "share/icons/hicolor/256x256/apps/oculith.png"})
        EXPECT_TRUE(fs::is_regular_file(fs::path(prefix) / file)) << file;
    int w = 0, h = 0;
    EXPECT_TRUE(pngSize(prefix + "/share/icons/hicolor/48x48/apps/oculith.png", w, h));
    EXPECT_EQ(w, 48);
    EXPECT_EQ(h, 48);
    // Nothing of the build's own: no tests, no log.
    EXPECT_FALSE(fs::exists(prefix + "/share/oculith/application.log"));
    EXPECT_FALSE(fs::exists(prefix + "/bin/test_e2e"));

    // From a folder without a show, the installed program plays the installed one.
    const std::string elsewhere = testfiles::tempDir("elsewhere");
    const ProgramResult shot = runProgram(prefix + "/bin/oculith",
                                          {"--headless", "--msaa", "0", "--fps", "10", "--shot", "1:frame.png"},
                                          elsewhere);
    ASSERT_EQ(shot.exitCode, 0) << shot.err;
    EXPECT_TRUE(pngSize(elsewhere + "/frame.png", w, h));
    EXPECT_EQ(w, 640);
    EXPECT_NE(testfiles::readFile(prefix + "/share/oculith/application.log").find("Shot 1.000 s written"),
              std::string::npos);
}
