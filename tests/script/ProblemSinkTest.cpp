// The problem sink the loaders report to: installed per scope, message boxes turned into
// problems at the script line being read, exceptions with their place, the editor's form.
#include "script/ProblemSink.h"

#include "platform/MessageBox.h"
#include "script/ImageScriptException.h"
#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(ProblemSink, CollectorsNestAndBoxesBecomeProblemsAtTheLineBeingRead)
{
    EXPECT_FALSE(problems::active());
    problems::report("lost.effect", 1, "nobody listens"); // no sink: nothing happens
    {
        ProblemCollector outer(true);
        EXPECT_TRUE(problems::readsOn());
        ScriptReader reader;
        reader.fileName = "data\\scr\\a.effect";
        std::istringstream in("; head\n\nFirst\n  Second line\n");
        ASSERT_TRUE(reader.next(in)); // the comment line
        ASSERT_TRUE(reader.next(in)); // "First", on line 3
        platform::showMessageBox("SCENE ERROR", "UNABLE TO LOAD SCENE");
        {
            ProblemCollector inner(false);
            EXPECT_FALSE(problems::readsOn());
            ImageScriptException e("PARSE ERROR! Unknown Shader Token", 7);
            e.fileName = "data\\scr\\b.shader";
            e.fileLine = 9;
            e.lineText = "Shininess 4";
            problems::report(e, "start-up stops");
            ASSERT_EQ(inner.problems().size(), 1u);
            EXPECT_EQ(problems::format(inner.problems()[0]),
                      "data\\scr\\b.shader:9: no keyword of the Shader block takes this line: \"Shininess 4\"; "
                      "start-up stops");
        }
        EXPECT_TRUE(problems::readsOn());
        problems::report("data\\snd\\music.mp3", 0, "missing");
        problems::report("", 0, "no context");
        ASSERT_EQ(outer.problems().size(), 3u);
        EXPECT_EQ(problems::format(outer.problems()[0]),
                  "data\\scr\\a.effect:3: SCENE ERROR: UNABLE TO LOAD SCENE: \"First\"");
        EXPECT_EQ(problems::format(outer.problems()[1]), "data\\snd\\music.mp3: missing");
        EXPECT_EQ(problems::format(outer.problems()[2]), "no context");
    }
    EXPECT_FALSE(problems::active());
}

// Counting ahead leaves the stream where it was, so reading goes on unchanged.
TEST(ProblemSink, CountingAheadPutsTheStreamBack)
{
    ScriptReader reader;
    std::istringstream in("A {\n}\nB {\n; note\nC {\n");
    ASSERT_TRUE(reader.next(in));
    EXPECT_EQ(reader.countAhead(in, [](const ScriptReader& r) { return r.contains("{"); }), 2);
    ASSERT_TRUE(reader.next(in));
    EXPECT_EQ(reader.line, "}");
    EXPECT_EQ(reader.fileLine, 2);
    ASSERT_TRUE(reader.next(in));
    EXPECT_EQ(reader.fileLine, 3);
}

// A watched run takes a new load unless it loses something the show in use does not: the same
// problem at a moved line is no new loss, a problem that loses nothing never counts.
TEST(ProblemSink, ALoadLosesMoreOnlyWithANewLosingProblem)
{
    Problem stop{"a.effect", 5, "no keyword of the Flash block takes this line", "Layr 5", "", true};
    Problem moved = stop;
    moved.line = 9;
    Problem name{"a.effect", 7, "no script defines the texture \"x\"", "Image \"x\"", "", false};
    Problem other = stop;
    other.text = "Colr 1";
    EXPECT_FALSE(problems::losesMore({}, {}));
    EXPECT_FALSE(problems::losesMore({name}, {}));
    EXPECT_TRUE(problems::losesMore({name, stop}, {}));
    EXPECT_FALSE(problems::losesMore({moved}, {stop}));
    EXPECT_TRUE(problems::losesMore({moved, other}, {stop}));
}
