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
    // One file of the opening scene: that scene belongs to this show, the other seven do not.
    testfiles::writeFile("data/obj/boid.msh", "not a mesh");
    world.managers().timeline->add(std::make_unique<BoxingEffect>());
    {
        ProblemCollector check(true);
        EXPECT_FALSE(showloading::loadScripts());
        // The script's flash, the boxer and the one scene with a file here.
        EXPECT_EQ(world.managers().timeline->pending().size(), 3u);
        const std::vector<std::string>& notes = showloading::notes();
        ASSERT_EQ(notes.size(), 7u);
        EXPECT_EQ(notes[0], "scene WaterSimulation: no files in this show, not played");
        EXPECT_EQ(notes[6], "scene GreetingsScene: no files in this show, not played");
        std::vector<std::string> lines;
        for (const Problem& p : check.problems())
            lines.push_back(problems::format(p));
        // The opening scene misses the rest of its files: its box, after the boxer's.
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0], "data\\scr\\generic.shader: Unable to open scriptfile data\\scr\\generic.shader");
        EXPECT_EQ(lines[1], "no script defines the console font's texture \"confont\"");
        EXPECT_EQ(lines[2], "Boxer: SCENE ERROR: UNABLE TO LOAD SCENE 'boxer.scene'");
        EXPECT_EQ(lines[3], "Introduction: SCENE ERROR: UNABLE TO LOAD SHADERS 'intro.shader'");
    }
    showloading::tearDown();
    EXPECT_TRUE(world.managers().timeline->pending().empty());

    ProblemCollector reload(false);
    EXPECT_FALSE(showloading::loadScripts());
    EXPECT_TRUE(world.managers().timeline->pending().empty());
    EXPECT_EQ(reload.problems().size(), 1u);
}

} // namespace
