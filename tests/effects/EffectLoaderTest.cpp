// The ".effect" reader: block recognition, the common keywords and their order, where reading
// stops and what the log then says, the overlay kinds' own keywords and what save writes.
#include "effects/EffectLoader.h"

#include "animation/Animator.h"
#include "core/Log.h"
#include "effects/EffectTimeline.h"
#include "effects/FlashEffect.h"
#include "effects/ImageEffect.h"
#include "effects/InvertEffect.h"
#include "effects/TextEffect.h"
#include "effects/TextFadeEffect.h"
#include "font/FontRegistry.h"
#include "script/ProblemSink.h"
#include "texture/TextureManager.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class EffectLoaderTest : public ::testing::Test {
protected:
    bool load(const std::string& text)
    {
        std::istringstream stream(text);
        return loader.load(stream, "test.effect");
    }
    template <class E = Effect>
    E* pending(std::size_t i)
    {
        auto it = timeline.pending().begin();
        std::advance(it, i);
        return dynamic_cast<E*>(it->get());
    }
    std::size_t count() const { return timeline.pending().size(); }

    EffectTimeline timeline;
    EffectLoader loader;
};

// A scale track keyed from `a` at time 0 to `b` at time 10.
std::string scaleKeyframer(float a, float b)
{
    std::ostringstream s;
    s << "  Keyframer {\n    Scale {\n      NumKeys 2\n      Key 0 " << a << "\n      Key 10 " << b
      << "\n    }\n  }\n";
    return s.str();
}

TEST_F(EffectLoaderTest, CommonKeywordsAndUnparsableNumbers)
{
    EXPECT_TRUE(load("; a show\n"
                     "Flash {\n"
                     "\tName \"white \"flash\"\"   ; comment after a keyword\n"
                     "\tStart 1.5\n"
                     "\tEnd 2.25\n"
                     "\tLayer -3\n"
                     "}\n"
                     "Flash {\n"
                     "  Start soon\n"
                     "  End none\n"
                     "  Layer x\n"
                     "}"));
    ASSERT_EQ(count(), 2u);
    EXPECT_EQ(pending(0)->name, "white \"flash\"");
    EXPECT_FLOAT_EQ(pending(0)->start, 1.5f);
    EXPECT_FLOAT_EQ(pending(0)->end, 2.25f);
    EXPECT_EQ(pending(0)->layer, -3);
    // Numbers that do not convert leave the defaults.
    EXPECT_EQ(pending(1)->start, 0.0f);
    EXPECT_EQ(pending(1)->end, 0.0f);
    EXPECT_EQ(pending(1)->layer, 0);
}

TEST_F(EffectLoaderTest, LinesOutsideKnownBlocksAreIgnored)
{
    EXPECT_TRUE(load("Start 4\n"
                     "Image{\n"            // no blank before the brace: not a block opener
                     "  Start 7\n"
                     "}\n"
                     "Tunnels {\n"         // no kind of that name: its lines are met one by one
                     "  Speed 3\n"
                     "  Flash {\n"
                     "    Start 9\n"
                     "  }\n"
                     "}\n"
                     "Bogus {\n"
                     "}\n"));
    ASSERT_EQ(count(), 1u);
    EXPECT_NE(pending<FlashEffect>(0), nullptr);
    EXPECT_FLOAT_EQ(pending(0)->start, 9.0f);
}

TEST_F(EffectLoaderTest, BraceAnywhereClosesTheBlockAndEndOfFileCompletesIt)
{
    EXPECT_TRUE(load("Invert {\n"
                     "  Start 1 }\n"      // closes the block before any keyword test
                     "  Layer 4\n"
                     "Invert {\n"
                     "  Start 2\n"
                     "  Rect 1 2 3 4\n"));
    ASSERT_EQ(count(), 2u);
    EXPECT_EQ(pending(0)->start, 0.0f);
    EXPECT_EQ(pending(0)->layer, 0);
    EXPECT_FLOAT_EQ(pending(1)->start, 2.0f);
    EXPECT_FLOAT_EQ(pending<InvertEffect>(1)->height, 4.0f);
}

TEST_F(EffectLoaderTest, UnknownLineStopsReadingAndTheLogSaysWhere)
{
    const std::string dir = testfiles::tempDir("effects");
    Log log;
    ASSERT_TRUE(log.open(dir + "/application.log"));
    EXPECT_FALSE(load("Flash {\n"
                      "  Start 1\n"
                      "}\n"
                      "\n"
                      "Flash {\n"
                      "  Start 2\n"
                      "  ; only a comment\n"
                      "  End 3\n"
                      "}\n"
                      "Flash {\n"
                      "}\n"));
    log.close();
    // The first effect stays registered; the broken one and everything after it are not.
    ASSERT_EQ(count(), 1u);
    EXPECT_FLOAT_EQ(pending(0)->start, 1.0f);
    const std::string text = testfiles::readFile(dir + "/application.log");
    EXPECT_NE(text.find("test.effect"), std::string::npos) << text;
    EXPECT_NE(text.find("line 7"), std::string::npos) << text;
    EXPECT_NE(text.find("Flash"), std::string::npos) << text;

    EXPECT_FALSE(load("Image {\n  Colour 1 2 3 4\n}\n"));
    EXPECT_EQ(count(), 1u);
}

// A problem sink hears where a block stopped the script and how much it left unread; start-up's
// behaviour stays, while a check reads on to find the problems of the blocks behind it too.
TEST_F(EffectLoaderTest, StoppedBlocksAreReportedWithTheBlocksLostBehindThem)
{
    const std::string script = "Flash {\n"
                               "  Start 1\n"
                               "}\n"
                               "Flash {\n"
                               "  Start 2\n"
                               "  Wobble 3\n"
                               "  End 3\n"
                               "}\n"
                               "Unknown {\n"
                               "}\n"
                               "Invert {\n"
                               "  Layer 4\n"
                               "}\n"
                               "Flash {\n"
                               "  Image \"x\"\n"
                               "}\n";
    {
        ProblemCollector asStartUp(false);
        EXPECT_FALSE(load(script));
        EXPECT_EQ(count(), 1u);
        ASSERT_EQ(asStartUp.problems().size(), 1u);
        const Problem& stop = asStartUp.problems()[0];
        EXPECT_EQ(stop.file, "test.effect");
        EXPECT_EQ(stop.line, 6);
        EXPECT_EQ(stop.text, "Wobble 3");
        EXPECT_EQ(stop.cost, "the 2 blocks after it are not loaded");
    }
    timeline.clear();
    ProblemCollector check(true);
    EXPECT_TRUE(load(script));
    // The broken blocks are dropped; the blocks after them load, each with its origin.
    ASSERT_EQ(count(), 2u);
    EXPECT_EQ(pending(1)->layer, 4);
    EXPECT_EQ(pending(1)->origin, "test.effect");
    EXPECT_EQ(pending(1)->originLine, 11);
    // The block of no known kind is passed over by either; a check names it.
    ASSERT_EQ(check.problems().size(), 3u);
    EXPECT_EQ(problems::format(check.problems()[1]),
              "test.effect:9: \"Unknown\" is no block kind of the timeline script: \"Unknown {\"; this block is ignored");
    EXPECT_EQ(check.problems()[2].line, 15);
    EXPECT_EQ(check.problems()[2].cost, "no block after it is lost");
}

TEST_F(EffectLoaderTest, LoadsFilesByBackslashPathAndMissingFilesAreFalse)
{
    const std::string dir = testfiles::tempDir("effects");
    EXPECT_FALSE(loader.load(dir + "/none.effect"));
    testfiles::writeFile(dir + "/data/scr/a.effect", "Flash {\n Layer 2\n}\n");
    EXPECT_TRUE(loader.load(dir + "\\data\\scr\\a.effect"));
    ASSERT_EQ(count(), 1u);
    EXPECT_EQ(pending(0)->layer, 2);
}

TEST_F(EffectLoaderTest, KeyframerBlockBecomesTheAnimator)
{
    EXPECT_TRUE(load("Flash {\n  Start 0\n" + scaleKeyframer(0.0f, 1.0f) + "  End 10\n}\n"));
    ASSERT_EQ(count(), 1u);
    Effect* e = pending(0);
    ASSERT_NE(e->animator, nullptr);
    EXPECT_FLOAT_EQ(e->end, 10.0f);
    e->prepare();
    e->update(2.5f);
    EXPECT_FLOAT_EQ(pending<FlashEffect>(0)->colour[3], 0.25f);
}

TEST_F(EffectLoaderTest, BrokenKeyframerRaisesWithFileAndLine)
{
    for (const char* kind : {"Keyframer", "KeyframerLW"}) {
        EffectTimeline local;
        EffectLoader localLoader(&local);
        std::istringstream stream(std::string("Flash {\n  Start 1\n  ") + kind +
                                  " {\n    Wobble 3\n  }\n}\n");
        try {
            localLoader.load(stream, "show.effect");
            ADD_FAILURE() << "no exception for " << kind;
        } catch (const ImageScriptException& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Effect unable to load ") + kind);
            EXPECT_EQ(e.fileName, "show.effect");
            EXPECT_EQ(e.fileLine, 4);
        }
        EXPECT_EQ(local.pending().size(), 0u);
    }
}

TEST_F(EffectLoaderTest, LineAfterKeyframerLWIsSkippedEvenWhenItClosesTheBlock)
{
    const std::string envelope = "  KeyframerLW {\n"
                                 "    Channel 6\n"
                                 "    { Envelope\n"
                                 "      1\n"
                                 "      Key 0.5 0 0 0 0 0 0 0 0 0\n"
                                 "      Behaviors 1 1\n"
                                 "    }\n";
    // The closing "}" after the envelope block is swallowed: the Flash block goes on.
    EXPECT_TRUE(load("Flash {\n" + envelope + "}\n  Layer 7\n}\n"));
    ASSERT_EQ(count(), 1u);
    EXPECT_EQ(pending(0)->layer, 7);
    ASSERT_NE(pending(0)->animator, nullptr);
    // A Start line right after the envelope is skipped as well.
    EXPECT_TRUE(load("Image {\n" + envelope + "  Start 5\n  Layer 1\n}\n"));
    ASSERT_EQ(count(), 2u);
    EXPECT_EQ(pending(1)->start, 0.0f);
    EXPECT_EQ(pending(1)->layer, 1);
}

TEST_F(EffectLoaderTest, OverlayKeywordsInTestOrder)
{
    FontRegistry fonts;
    fonts.add(std::make_unique<DisplayListFont>("Serif", 0, std::array<DisplayListFont::GlyphMetrics, 256>{}));
    EXPECT_TRUE(load("Image {\n  TexRect 0.25 0.5 0.75 1\n  Rect 10 20 30 40\n  Image \"missing\"\n}\n"
                     "Flash {\n  Color 1 0.5 0.25 0.125\n}\n"
                     "TextFade {\n  TextRect 0 128 256 128\n  BlurRect 64 0 64 32\n"
                     "  ScreenRect 100 50 200 80\n}\n"
                     "Text {\n  Text \"Hello, world\"\n  Font \"Serif\"\n  Color 0 1 0 1\n}\n"
                     "Text {\n  Font \"serif\"\n}\n"));
    ASSERT_EQ(count(), 5u);
    auto* image = pending<ImageEffect>(0);
    EXPECT_FLOAT_EQ(image->s0, 0.25f);
    EXPECT_FLOAT_EQ(image->t1, 1.0f);
    EXPECT_FLOAT_EQ(image->x, 10.0f);
    EXPECT_FLOAT_EQ(image->height, 40.0f);
    EXPECT_FALSE(image->texture); // nothing of that name is loaded
    auto* flash = pending<FlashEffect>(1);
    EXPECT_FLOAT_EQ(flash->colour[1], 0.5f);
    EXPECT_FLOAT_EQ(flash->colour[3], 0.125f);
    auto* fade = pending<TextFadeEffect>(2);
    EXPECT_FLOAT_EQ(fade->text.s0, 0.0f);
    EXPECT_FLOAT_EQ(fade->text.t0, 0.5f);
    EXPECT_FLOAT_EQ(fade->text.s1, 1.0f);
    EXPECT_FLOAT_EQ(fade->text.t1, 1.0f);
    EXPECT_FLOAT_EQ(fade->blur.s0, 0.25f);
    EXPECT_FLOAT_EQ(fade->blur.t1, 0.125f);
    EXPECT_FLOAT_EQ(fade->x0, 100.0f);
    EXPECT_FLOAT_EQ(fade->y1, 130.0f);
    auto* text = pending<TextEffect>(3);
    EXPECT_EQ(text->text, "Hello, world");
    ASSERT_NE(text->font, nullptr);
    EXPECT_EQ(text->font->name, "Serif");
    EXPECT_FLOAT_EQ(text->colour[0], 0.0f);
    EXPECT_EQ(pending<TextEffect>(4)->font, nullptr);
    // A keyword of another kind is unknown here.
    EXPECT_FALSE(load("Invert {\n  Color 1 1 1 1\n}\n"));
}

TEST_F(EffectLoaderTest, TextureIsHeldWhileOnTheTimelineAndGivenBackOnRelease)
{
    TextureManager textures;
    auto* picture = new ImageTexture;
    picture->name = "picture.png";
    ASSERT_TRUE(textures.add(picture));
    EXPECT_TRUE(load("Image {\n  Image \"picture.png\"\n  End 1\n}\n"
                     "TextFade {\n  Image \"picture.png\"\n  End 1\n}\n"));
    EXPECT_EQ(picture->references(), 3);
    EXPECT_EQ(pending<ImageEffect>(0)->texture.get(), picture);
    timeline.update(0.5f);
    EXPECT_EQ(picture->references(), 3);
    // Both effects retire and give their references back; the manager then unloads the picture.
    timeline.update(2.0f);
    EXPECT_TRUE(textures.textures().empty());
}

TEST_F(EffectLoaderTest, SaveWritesBlocksThatReadBack)
{
    EXPECT_TRUE(load("Image {\n  Name \"pic\"\n  Start 1.5\n  End 1e+07\n  Layer 3\n"
                     "  Rect 1 2 3 4\n  TexRect 0 0.5 1 0.333333\n}\n"
                     "Flash {\n  Color 1 0 0 0.5\n}\n"
                     "Invert {\n  Rect 5 6 7 8\n}\n"
                     "Text {\n  Text \"hi\"\n  Color 1 0 0 1\n}\n"
                     "TextFade {\n}\n"));
    ASSERT_EQ(count(), 5u);
    std::ostringstream out;
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(pending(i)->save(out));
    EXPECT_EQ(out.str(), "Image {\n\tName \"pic\"\n\tStart 1.5\n\tEnd 1e+07\n\tLayer 3\n"
                         "\tImage \"\"\n\tRect 1 2 3 4\n\tTexRect 0 0.5 1 0.333333\n}\n"
                         "Flash {\n\tName \"\"\n\tStart 0\n\tEnd 0\n\tLayer 0\n\tColor 1 0 0 0.5\n}\n"
                         "Invert {\n\tName \"\"\n\tStart 0\n\tEnd 0\n\tLayer 0\n\tRect 5 6 7 8\n}\n"
                         "Text {\n\tName \"\"\n\tStart 0\n\tEnd 0\n\tLayer 0\n\tText \"hi\"\n"
                         "\tFont \"\"\n}\n");
    std::ostringstream none;
    EXPECT_FALSE(pending(4)->save(none));
    EXPECT_TRUE(none.str().empty());

    // What was written reads back to the same fields.
    EffectTimeline again;
    EffectLoader reader(&again);
    std::istringstream in(out.str());
    EXPECT_TRUE(reader.load(in, "saved.effect"));
    ASSERT_EQ(again.pending().size(), 4u);
    auto* image = dynamic_cast<ImageEffect*>(again.pending().front().get());
    EXPECT_EQ(image->name, "pic");
    EXPECT_FLOAT_EQ(image->end, 1e7f);
    EXPECT_FLOAT_EQ(image->t1, 0.333333f);
    EXPECT_FLOAT_EQ(image->width, 3.0f);
}

TEST_F(EffectLoaderTest, SaveIncludesTheKeyframerBlock)
{
    EXPECT_TRUE(load("Flash {\n" + scaleKeyframer(0.0f, 1.0f) + "}\n"));
    std::ostringstream out;
    EXPECT_TRUE(pending(0)->save(out));
    EXPECT_NE(out.str().find("\tKeyframer {\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Key 10 1"), std::string::npos) << out.str();
    EffectTimeline again;
    EffectLoader reader(&again);
    std::istringstream in(out.str());
    EXPECT_TRUE(reader.load(in, "saved.effect"));
    ASSERT_EQ(again.pending().size(), 1u);
    EXPECT_NE(again.pending().front()->animator, nullptr);
}

} // namespace

// The show's own end: only a "ShowEnd" line outside every block counts (one inside a block, or
// inside a block opened and closed on one line before it, does not), and the loader passes
// over it like any other line outside blocks.
TEST(ShowEndLine, ReadOnlyOutsideBlocksAndPassedOverByTheLoader)
{
    const std::string text = "; my show\n"
                             "Flash {\n\tName \"a\"\n\tShowEnd 5\n\tStart 1\n\tEnd 2\n}\n"
                             "Particle {\n\tParticleSystem {\n\t\tForce { Direction 0 1 0 }\n"
                             "\t\tShowEnd 6\n\t}\n}\n"
                             "Image {\n\tKeyframerLW {\n\t\tChannel 6\n\t\t{ Envelope\n\t\t\t1\n"
                             "\t\t\tKey 1 0 0 0 0 0 0 0 0 0\n\t\t\tBehaviors 1 1\n\t}\n\t; skipped\n}\n"
                             "ShowEnd 12.5 ; the end\n";
    std::istringstream first(text);
    EXPECT_EQ(EffectLoader::readShowEnd(first, "t.effect"), std::optional<double>(12.5));
    std::istringstream none("Flash {\n\tShowEnd 5\n}\n");
    EXPECT_FALSE(EffectLoader::readShowEnd(none, "t.effect").has_value());

    ProblemCollector check(true);
    std::istringstream bad("ShowEnd\nShowEnd -3\nShowEnd 7\n");
    EXPECT_EQ(EffectLoader::readShowEnd(bad, "t.effect"), std::optional<double>(7.0));
    ASSERT_EQ(check.problems().size(), 2u);
    EXPECT_EQ(check.problems()[1].line, 2);

    EffectTimeline timeline;
    EffectLoader loader(&timeline);
    std::istringstream script("ShowEnd 20\nFlash {\n\tStart 1\n\tEnd 2\n}\n");
    EXPECT_TRUE(loader.load(script, "t.effect"));
    EXPECT_EQ(timeline.pending().size(), 1u);
}
