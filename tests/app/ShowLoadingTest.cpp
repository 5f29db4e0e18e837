// The loading sequence shared by start-up, reloads and --check: a check runs every step whatever
// failed before, start-up stops at the first script error, and boxes an effect shows while it
// prepares become problems at the effect's place.
#include "app/ShowLoading.h"
#include "app/ShowWorld.h"
#include "platform/MessageBox.h"
#include "script/ProblemSink.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A code-made effect whose loading fails with a box, as a hand-written scene's does.
class BoxingEffect : public Effect {
public:
    BoxingEffect() { name = "Boxer"; }
    bool prepare() override
    {
        platform::showMessageBox("SCENE ERROR", "UNABLE TO LOAD SCENE 'boxer.scene'");
        return false;
    }
    void update(float) override {}
    void render() override {}
};

class ShowLoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(testfiles::tempDir("loading"));
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    std::filesystem::path previous;
    ShowWorld world;
};

TEST_F(ShowLoadingTest, ACheckRunsEveryStepAndStartUpStopsAtTheFirstError)
{
    // No generic.shader: a script error. The timeline script still loads in a check.
    testfiles::writeFile("data/scr/generic.effect", "Flash {\n\tStart 1\n\tEnd 2\n}\n");
    // One file of the opening scene and one of the greetings: those scenes belong to this show,
    // the other six do not.
    testfiles::writeFile("data/obj/boid.msh", "not a mesh");
    testfiles::writeFile("data/obj/dings.msh", "not a mesh");
    world.managers().timeline->add(std::make_unique<BoxingEffect>());
    {
        ProblemCollector check(true);
        EXPECT_FALSE(showloading::loadScripts());
        // The script's flash, the boxer and the two scenes with a file here.
        EXPECT_EQ(world.managers().timeline->pending().size(), 4u);
        const std::vector<std::string>& notes = showloading::notes();
        ASSERT_EQ(notes.size(), 6u);
        EXPECT_EQ(notes[0], "scene WaterSimulation: no files in this show, not played");
        EXPECT_EQ(notes[5], "scene AlienMorphScene: no files in this show, not played");
        std::vector<std::string> lines;
        for (const Problem& p : check.problems())
            lines.push_back(problems::format(p));
        // The two scenes miss the rest of their files: their boxes, after the boxer's.
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0], "data\\scr\\generic.shader: the script file data\\scr\\generic.shader does not exist or "
                            "cannot be read; start-up stops here with a SCRIPTING ERROR box");
        EXPECT_EQ(lines[1], "no script defines the console font's texture \"confont\"");
        EXPECT_EQ(lines[2], "Boxer: SCENE ERROR: UNABLE TO LOAD SCENE 'boxer.scene'");
        EXPECT_EQ(lines[3], "Introduction: SCENE ERROR: UNABLE TO LOAD SHADERS 'intro.shader'");
        // The greetings scene has no name of its own and reports under its kind's.
        EXPECT_EQ(lines[4], "GreetingsScene: SCRIPT ERROR: Unable to load shaders script");
    }
    showloading::tearDown();
    EXPECT_TRUE(world.managers().timeline->pending().empty());

    ProblemCollector reload(false);
    EXPECT_FALSE(showloading::loadScripts());
    EXPECT_TRUE(world.managers().timeline->pending().empty());
    EXPECT_EQ(reload.problems().size(), 1u);
}

} // namespace
