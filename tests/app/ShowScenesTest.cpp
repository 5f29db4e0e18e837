// The hand-written scenes on the timeline: built in show order with their windows, skipped when
// the show starts after them, and never two at once (none in the interlude).
#include "app/ShowScenes.h"
#include "effects/EffectTimeline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Window {
    std::string name;
    float start, end;
};

std::vector<Window> registered(float startOffset)
{
    EffectTimeline timeline;
    addShowScenes(timeline, startOffset);
    std::vector<Window> windows;
    for (const auto& effect : timeline.pending()) {
        EXPECT_EQ(effect->layer, 100) << effect->name;
        windows.push_back({effect->name, effect->start, effect->end});
    }
    return windows;
}

} // namespace

TEST(ShowScenes, AllEightInShowOrderWithTheirWindows)
{
    const std::vector<Window> expected = {
        {"Introduction", 0.0f, 43.467f},       {"WaterSimulation", 43.467f, 127.802f},
        {"TunnelScene", 135.233f, 174.056f},   {"DirtyCellar", 174.056f, 212.88f},
        {"GeometricWorld", 212.88f, 229.041f}, {"Vizidedar", 229.041f, 261.549f},
        {"AlienMorphScene", 261.549f, 294.243f}, {"", 294.243f, 356.0f},
    };
    const std::vector<Window> got = registered(0.0f);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].name, expected[i].name);
        EXPECT_EQ(got[i].start, expected[i].start) << expected[i].name;
        EXPECT_EQ(got[i].end, expected[i].end) << expected[i].name;
    }
}

TEST(ShowScenes, ScenesThatEndedBeforeTheStartAreNotBuilt)
{
    EXPECT_EQ(registered(43.467f).size(), 8u);  // the opening still ends at the start
    EXPECT_EQ(registered(43.5f).size(), 7u);
    EXPECT_EQ(registered(130.0f).front().name, "TunnelScene");
    const std::vector<Window> late = registered(300.0f);
    ASSERT_EQ(late.size(), 2u);
    EXPECT_EQ(late[0].name, "AlienMorphScene");  // always built, even after its window
    EXPECT_EQ(late[1].name, "");
}

TEST(ShowScenes, OneSceneAtATimeAndNoneInTheInterlude)
{
    EffectTimeline timeline;
    addShowScenes(timeline, 0.0f);
    for (float t = 0.0f; t <= 356.0f; t += 0.05f) {
        int on = 0;
        for (const auto& effect : timeline.pending())
            on += effect->isOn(t);
        if (t > 127.802f && t < 135.233f)
            EXPECT_EQ(on, 0) << t;
        else
            EXPECT_LE(on, 1) << t;
    }
}

// A show folder holds a scene when any one of the scene's own files is there: the others are left
// out and named, in show order; a scene with part of its files is built (it boxes what is missing).
TEST(ShowScenes, ScenesWithoutFilesInTheShowFolderAreLeftOut)
{
    EffectTimeline timeline;
    const std::vector<std::string> absent = addShowScenes(timeline, 0.0f, [](const std::string& path) {
        return path == "data\\scr\\vizidedar.scene" || path == "data\\obj\\g_pipes.msh";
    });
    ASSERT_EQ(timeline.pending().size(), 2u);
    EXPECT_EQ(timeline.pending().front()->name, "Vizidedar");
    EXPECT_EQ(timeline.pending().back()->start, 294.243f);
    const std::vector<std::string> expected = {"Introduction", "WaterSimulation", "TunnelScene",
                                               "DirtyCellar", "GeometricWorld", "AlienMorphScene"};
    EXPECT_EQ(absent, expected);

    // The start gate comes first: a scene that ended before the start is neither built nor named.
    EffectTimeline late;
    EXPECT_EQ(addShowScenes(late, 300.0f, [](const std::string&) { return false; }),
              (std::vector<std::string>{"AlienMorphScene", "GreetingsScene"}));
    EXPECT_TRUE(late.pending().empty());
}
