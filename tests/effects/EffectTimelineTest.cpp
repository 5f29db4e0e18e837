// Timeline behaviour: windows, layer order, retirement and the clear order, watched through an
// effect that records every call.
#include "effects/EffectTimeline.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;

class RecordingEffect : public Effect {
public:
    RecordingEffect(const char* tag, float s, float e, int l = 0)
    {
        name = tag;
        start = s;
        end = e;
        layer = l;
    }
    ~RecordingEffect() override { calls.push_back("destroy " + name); }
    bool prepare() override
    {
        calls.push_back("prepare " + name);
        if (onPrepare)
            onPrepare();
        return Effect::prepare();
    }
    bool release() override
    {
        calls.push_back("release " + name);
        return Effect::release();
    }
    void update(float time) override { calls.push_back("update " + name + " " + std::to_string(time)); }
    void render() override { calls.push_back("render " + name); }

    std::function<void()> onPrepare;
};

class EffectTimelineTest : public ::testing::Test {
protected:
    void SetUp() override { calls.clear(); }

    void add(const char* tag, float start, float end, int layer = 0)
    {
        timeline.add(std::make_unique<RecordingEffect>(tag, start, end, layer));
    }
    // The calls since the last look, then forgets them.
    std::vector<std::string> take()
    {
        std::vector<std::string> result;
        result.swap(calls);
        return result;
    }
    std::vector<std::string> activeNames() const
    {
        std::vector<std::string> names;
        for (const auto& e : timeline.active())
            names.push_back(e->name);
        return names;
    }

    EffectTimeline timeline;
};

using Calls = std::vector<std::string>;

TEST_F(EffectTimelineTest, WindowBoundsAreInclusiveAndRetiredEffectsAreDestroyed)
{
    add("a", 10.0f, 20.0f);
    timeline.update(9.99f);
    EXPECT_TRUE(timeline.active().empty());
    timeline.update(10.0f);
    timeline.renderAll();
    EXPECT_EQ(take(), (Calls{"update a 10.000000", "render a"}));
    timeline.update(20.0f);
    EXPECT_EQ(take(), (Calls{"update a 20.000000"}));
    timeline.update(20.001f);
    timeline.renderAll();
    EXPECT_EQ(take(), (Calls{"release a", "destroy a"}));
    EXPECT_TRUE(timeline.active().empty());
    EXPECT_TRUE(timeline.pending().empty());
    // Never switched on again, even when time goes back.
    timeline.update(15.0f);
    EXPECT_TRUE(take().empty());
}

TEST_F(EffectTimelineTest, DefaultWindowIsOnlyTimeZero)
{
    timeline.add(std::make_unique<RecordingEffect>("z", 0.0f, 0.0f));
    timeline.update(0.0f);
    EXPECT_EQ(take(), (Calls{"update z 0.000000"}));
    timeline.update(1.0f / 60.0f);
    EXPECT_EQ(take(), (Calls{"release z", "destroy z"}));
}

TEST_F(EffectTimelineTest, LayersAscendAndTiesKeepSwitchOnOrder)
{
    add("first5", 0.0f, 10.0f, 5);
    add("one", 0.0f, 10.0f, 1);
    add("second5", 0.0f, 10.0f, 5);
    add("late0", 2.0f, 10.0f, 0);
    add("late5", 2.0f, 10.0f, 5);
    timeline.update(1.0f);
    EXPECT_EQ(activeNames(), (std::vector<std::string>{"one", "first5", "second5"}));
    take();
    timeline.update(2.0f);
    timeline.renderAll();
    // Updates run in layer order, all before any render.
    EXPECT_EQ(take(), (Calls{"update late0 2.000000", "update one 2.000000", "update first5 2.000000",
                             "update second5 2.000000", "update late5 2.000000", "render late0",
                             "render one", "render first5", "render second5", "render late5"}));
}

TEST_F(EffectTimelineTest, WindowBetweenFramesAndReversedWindowNeverSwitchOn)
{
    add("between", 1.2f, 1.8f);
    add("reversed", 5.0f, 3.0f);
    for (float t : {1.0f, 2.0f, 3.0f, 4.0f, 5.0f})
        timeline.update(t);
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(timeline.pending().size(), 2u);
    timeline.clear();
    EXPECT_EQ(take(), (Calls{"release reversed", "destroy reversed", "release between",
                             "destroy between"}));
}

TEST_F(EffectTimelineTest, ClearEmptiesPendingThenActiveEachFromTheBack)
{
    add("p1", 5.0f, 6.0f);
    add("a1", 0.0f, 1.0f, 1);
    add("p2", 5.0f, 6.0f);
    add("a2", 0.0f, 1.0f, 0);
    timeline.update(0.5f);
    take();
    timeline.clear();
    EXPECT_EQ(take(), (Calls{"release p2", "destroy p2", "release p1", "destroy p1", "release a1",
                             "destroy a1", "release a2", "destroy a2"}));
    EXPECT_TRUE(timeline.pending().empty());
    EXPECT_TRUE(timeline.active().empty());
}

TEST_F(EffectTimelineTest, DestructorReleasesWhatIsLeft)
{
    {
        EffectTimeline local;
        local.add(std::make_unique<RecordingEffect>("x", 0.0f, 1.0f));
    }
    EXPECT_EQ(take(), (Calls{"release x", "destroy x"}));
}

TEST_F(EffectTimelineTest, PrepareAllReachesEffectsAddedWhileItRuns)
{
    auto scene = std::make_unique<RecordingEffect>("scene", 0.0f, 1.0f);
    // Like a hand-written scene that loads an effect script of its own from prepare.
    scene->onPrepare = [this] {
        auto child = std::make_unique<RecordingEffect>("child", 0.0f, 1.0f);
        child->onPrepare = [this] { add("grandchild", 0.0f, 1.0f); };
        timeline.add(std::move(child));
    };
    add("before", 0.0f, 1.0f);
    timeline.add(std::move(scene));
    add("after", 0.0f, 1.0f);
    timeline.prepareAll();
    EXPECT_EQ(take(), (Calls{"prepare before", "prepare scene", "prepare after", "prepare child",
                             "prepare grandchild"}));
}

} // namespace

// An effect that also records its catch-up.
class CatchingEffect : public RecordingEffect {
public:
    using RecordingEffect::RecordingEffect;
    void catchUp(float time, float step) override
    {
        calls.push_back("catchUp " + name + " " + std::to_string(time) + " " + std::to_string(step));
    }
};

TEST_F(EffectTimelineTest, OnlyEffectsEnteredMoreThanAFrameStepLateCatchUpOnceBeforeTheirUpdate)
{
    timeline.frameStep = 0.1f;
    timeline.add(std::make_unique<CatchingEffect>("onTime", 1.0f, 10.0f));
    timeline.add(std::make_unique<CatchingEffect>("late", 0.5f, 10.0f));
    timeline.add(std::make_unique<CatchingEffect>("before", 1.2f, 10.0f));
    // The window of "onTime" began within the step; "late" began 0.55 s ago.
    timeline.update(1.05f);
    EXPECT_EQ(take(), (Calls{"catchUp late 1.050000 0.100000", "update onTime 1.050000",
                             "update late 1.050000"}));
    timeline.update(1.15f);
    timeline.update(1.25f);
    EXPECT_EQ(take(), (Calls{"update onTime 1.150000", "update late 1.150000", "update onTime 1.250000",
                             "update late 1.250000", "update before 1.250000"}));
}
