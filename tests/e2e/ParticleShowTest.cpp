// A show whose timeline holds a camera, a rising fire and sparks bouncing off a plane plays to
// its shots without a script or GL error.
#include "ProgramRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

TEST(ParticleShow, FireAndBouncingSparksPlayWithoutErrors)
{
    const std::string show = testfiles::tempDir("particleshow");
    testfiles::writeFile(show + "/data/scr/generic.shader",
                         "Shader {\n\tName \"Spark\"\n\tBlend {\n\t\tEnable yes\n\t\tLighting no\n"
                         "\t\tSrc ONE\n\t\tDst ONE\n\t}\n\tZBuffer {\n\t\tEnable yes\n\t\tWrite no\n\t}\n}\n");
    testfiles::writeFile(
        show + "/data/scr/generic.effect",
        "Camera {\n\tName \"view\"\n\tStart 0\n\tEnd 10\n\tKeyframer {\n\t\tTranslate {\n"
        "\t\t\tNumKeys 1\n\t\t\tKey 0 0 2 30\n\t\t}\n\t\tVisible {\n\t\t\tNumKeys 1\n\t\t\tKey 0\n"
        "\t\t}\n\t}\n}\n"
        "Particle {\n\tStart 0\n\tEnd 10\n\tLayer 1\n\tParticleSystem {\n\t\tMax 400\n"
        "\t\tSpawnRate 300\n\t\tGenerator {\n\t\t\tType \"Fire\"\n\t\t\tLifespan 1.5\n"
        "\t\t\tParticleColor 1 0.5 0.2\n\t\t\tWindDirection 0 6 0\n\t\t\tCenter -6 -4 0\n\t\t}\n"
        "\t\tRenderer {\n\t\t\tType \"Quads\"\n\t\t\tShader \"Spark\"\n\t\t}\n\t}\n}\n"
        "Particle {\n\tStart 0\n\tEnd 10\n\tLayer 2\n\tParticleSystem {\n\t\tMax 300\n"
        "\t\tSpawnRate 150\n\t\tGenerator {\n\t\t\tType \"Sphere\"\n\t\t\tFlags Respawn\n"
        "\t\t\tLifespan 3\n\t\t\tSpeed 8\n\t\t\tCenter 6 2 0\n\t\t}\n"
        "\t\tForce {\n\t\t\tDirection 0 -1 0\n\t\t\tStrength 400\n\t\t}\n\t\tForceToVelocity\n"
        "\t\tReflectionPlane {\n\t\t\tPosition 0 -4 0\n\t\t\tNormal 0 1 0\n\t\t\tBounciness 1.6\n"
        "\t\t}\n\t\tRenderer {\n\t\t\tType \"Lines\"\n\t\t\tShader \"Spark\"\n\t\t}\n\t}\n}\n");
    auto r = runOculith({"--headless", "--data", show, "--fps", "30", "--shot", "1:" + show + "/a.png",
                         "--shot", "3:" + show + "/b.png"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(withoutSceneBoxes(r.err).find("ERROR"), std::string::npos) << r.err;
    const std::string log = testfiles::readFile(show + "/application.log");
    EXPECT_EQ(log.find("GL_INVALID"), std::string::npos) << log;
    EXPECT_EQ(log.find("Particle system in"), std::string::npos) << log;
    int w = 0, h = 0;
    ASSERT_TRUE(pngSize(show + "/b.png", w, h));
    EXPECT_EQ(w, 640);
}
