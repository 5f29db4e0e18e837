// A script error stops start-up with one box showing the message as it stands; the log and
// standard error say where it is.
#include "ProgramRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

TEST(StartUp, MalformedShaderScriptStopsWithItsLocation)
{
    const std::string show = testfiles::tempDir("badshader");
    testfiles::writeFile(show + "/data/scr/generic.effect", "; empty\n");
    testfiles::writeFile(show + "/data/scr/generic.shader",
                         "; materials\nShader {\n\tName \"plain\"\n\tShininess 4\n}\n");
    auto r = runOculith({"--headless", "--data", show, "--until", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("SCRIPTING ERROR: PARSE ERROR! Unknown Shader Token\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("data\\scr\\generic.shader line 4: \"Shininess 4\""), std::string::npos) << r.err;
    const std::string log = testfiles::readFile(show + "/application.log");
    EXPECT_NE(log.find("SCRIPTING ERROR in data\\scr\\generic.shader line 4: \"Shininess 4\""), std::string::npos)
        << log;
    EXPECT_NE(log.find("SCRIPTING ERROR: PARSE ERROR! Unknown Shader Token"), std::string::npos) << log;
}

TEST(StartUp, MissingShaderScriptIsAScriptingError)
{
    const std::string show = testfiles::tempDir("noshader");
    testfiles::writeFile(show + "/data/scr/generic.effect", "; empty\n");
    auto r = runOculith({"--headless", "--data", show, "--until", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("SCRIPTING ERROR: Unable to open scriptfile data\\scr\\generic.shader"),
              std::string::npos)
        << r.err;
}
