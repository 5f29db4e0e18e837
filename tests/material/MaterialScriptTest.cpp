#include "MaterialTestSupport.h"
#include "TestFiles.h"

#include "material/AlphaState.h"
#include "material/CullState.h"
#include "material/TextureStage.h"
#include "platform/PngWriter.h"
#include "script/ProblemSink.h"

#include <gtest/gtest.h>

#include <vector>

using mattest::parse;
using mattest::state;

namespace {

class ShaderScript : public ::testing::Test {
protected:
    TextureManager textures;
    MaterialLibrary library;
};

TEST_F(ShaderScript, CommentOnlyFilesAddNothingAndFilesLoadInOneCall)
{
    EXPECT_TRUE(parse(library, "; materials of nothing\n\n   ; indented comment\nfree text\n"));
    EXPECT_TRUE(parse(library, ""));
    EXPECT_TRUE(library.materials().empty());

    const std::string dir = testfiles::tempDir("shader");
    testfiles::writeFile(dir + "/one.shader", "Shader {\r\nName \"a\"\r\n}\r\n");
    EXPECT_TRUE(library.load(dir + "/one.shader"));
    ASSERT_EQ(library.materials().size(), 1u);
    EXPECT_EQ(library.materials()[0]->name, "a");
    try {
        library.load("data\\scr\\missing.shader");
        FAIL() << "no exception";
    } catch (const ImageScriptException& e) {
        EXPECT_STREQ(e.what(), "Unable to open scriptfile data\\scr\\missing.shader");
    }
}

TEST_F(ShaderScript, NameLinesStartMaterialsAndInfoIsTestedFirst)
{
    ASSERT_TRUE(parse(library, "Shader {\nInfo \"Name of the first one\"\nName \"first\"\n"
                               "Alpha {\nEnable yes\n}\nName \"second\"\nCull {\nEnable no\n}\n"
                               "}\nShader {\nName \"empty\"\n}\n"));
    ASSERT_EQ(library.materials().size(), 3u);
    const Material* first = library.materials()[0];
    const Material* second = library.materials()[1];
    EXPECT_EQ(first->name, "first");
    ASSERT_EQ(first->states.size(), 1u);
    EXPECT_TRUE(state<AlphaState>(first, 0).enabled);
    EXPECT_EQ(second->name, "second");
    ASSERT_EQ(second->states.size(), 1u);
    EXPECT_FALSE(state<CullState>(second, 0).enabled);
    EXPECT_TRUE(library.materials()[2]->states.empty());
}

TEST_F(ShaderScript, BadLinesThrowTheirBlockMessageWithLineAndText)
{
    struct Case {
        std::string text;
        const char* message;
        int line;
        const char* lineText;
    };
    const std::string head = "Shader {\nName \"m\"\n";
    const std::vector<Case> cases = {
        {head + "Bogus\n}", "PARSE ERROR! Unknown Shader Token", 3, "Bogus"},
        {head + "Alpha {\nEnable yes\nBogus\n}\n}", "PARSE ERROR! Unknown Alpha Token", 5, "Bogus"},
        {head + "Blend {\nBogus\n", "PARSE ERROR! Unknown Blend Token", 4, "Bogus"},
        {head + "Cull {\nBogus\n", "PARSE ERROR! Unknown Cull Token", 4, "Bogus"},
        {head + "Fog {\nBogus\n", "PARSE ERROR! Unknown Fog Token", 4, "Bogus"},
        {head + "Stencil {\nBogus\n", "PARSE ERROR! Unknown Stencil Token", 4, "Bogus"},
        {head + "ZBuffer {\nBogus\n", "PARSE ERROR! Unknown ZBuffer Token", 4, "Bogus"},
        {head + "Material {\nBogus\n", "PARSE ERROR! Unknown Material Token", 4, "Bogus"},
        {head + "Polygon {\nBogus\n", "PARSE ERROR! Unknown Polygon Token", 4, "Bogus"},
        {head + "Polygon {\nMode WIRE\n", "PARSE ERROR! Unknown Polygon Mode type", 4, "Mode WIRE"},
        {head + "Polygon {\nFace SIDE\n", "PARSE ERROR! Unknown Polygon Face type", 4, "Face SIDE"},
        {head + "Vertex {\nBogus\n", "PARSE ERROR! Unknown Vertex Token", 4, "Bogus"},
        {head + "Fragment {\nBogus\n", "PARSE ERROR! Unknown Fragment Token", 4, "Bogus"},
        {head + "Texture {\nBogus\n", "PARSE ERROR! Unknown Texture Token", 4, "Bogus"},
        {"Image {\nBogus\n}", "PARSE ERROR! Unknown Image Token", 2, "Bogus"},
        {"Image {\nName \"absent.png\"\n}", "PARSE ERROR! Image not loaded absent.png", 2,
         "Name \"absent.png\""},
        // A comment-only line inside a block is refused; the error shows the comment. The end
        // of the file comes back empty.
        {head + "Fog {\n; just a comment\n}\n}", "PARSE ERROR! Unknown Fog Token", 3, "; just a comment"},
        {head + "Alpha {\nEnable yes", "PARSE ERROR! Unknown Alpha Token", 4, ""},
        // A state block needs a material to belong to.
        {"Shader {\nAlpha {\n}\n}", "PARSE ERROR! Shader Token before Name", 2, "Alpha {"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MaterialLibrary own;
        try {
            parse(own, c.text);
            ADD_FAILURE() << "no exception";
        } catch (const ImageScriptException& e) {
            EXPECT_STREQ(e.what(), c.message);
            EXPECT_EQ(e.lineNumber, c.line);
            EXPECT_EQ(e.lineText, c.lineText);
        }
    }
}

TEST_F(ShaderScript, AnEnvelopeThatDoesNotReadEndsItsTextureBlockAndTheLoadGoesOn)
{
    // The stage stops at the bad envelope and the Shader block reads on from the next line: here
    // the Coord block's "}" closes it. The second material is still read.
    const std::string text = "Shader {\nName \"m\"\nTexture {\nTexUnit UNIT1\nCoordU {\n{ Envelope\n1\n"
                             "Bogus\n}\n}\n}\nShader {\nName \"n\"\n}\n";
    ASSERT_TRUE(parse(library, text));
    ASSERT_EQ(library.materials().size(), 2u);
    EXPECT_EQ(library.materials()[1]->name, "n");
    ASSERT_EQ(library.materials()[0]->states.size(), 1u);
    const auto& stage = state<TextureStage>(library.materials()[0], 0);
    EXPECT_EQ(stage.unit, GLenum(GL_TEXTURE1_ARB));
    EXPECT_FALSE(stage.uCurve);

    // A Coord block without an envelope header fails the same way.
    MaterialLibrary other;
    ASSERT_TRUE(parse(other, "Shader {\nName \"m\"\nTexture {\nCoordV {\nKey 1 0 3\n}\n"));
    EXPECT_FALSE(state<TextureStage>(other.materials()[0], 0).vCurve);
}

TEST_F(ShaderScript, LibraryCountsReferencesAndFindsTheEarliestName)
{
    ASSERT_TRUE(parse(library, "Shader {\nName \"dup\"\nAlpha {\n}\n}\n"));
    ASSERT_TRUE(parse(library, "Shader {\nName \"dup\"\nName \"other\"\n}\n"));
    Material* dup = library.find("dup");
    ASSERT_EQ(dup, library.materials()[0]);
    EXPECT_EQ(dup->references(), 2);
    EXPECT_EQ(library.find("nothing"), nullptr);
    // The last outside reference takes the material out, and it is the released one that goes,
    // not the first of its name.
    Material* second = library.materials()[1];
    second->addRef();
    EXPECT_TRUE(library.release(second));
    EXPECT_EQ(second, nullptr);
    EXPECT_FALSE(library.release(second));
    ASSERT_EQ(library.materials().size(), 2u);
    EXPECT_EQ(library.materials()[0], dup);
    EXPECT_TRUE(library.release(dup));
    ASSERT_EQ(library.materials().size(), 1u);
    EXPECT_TRUE(library.releaseByName("other"));
    EXPECT_FALSE(library.releaseByName("other"));
    EXPECT_EQ(library.vertexProgram("any"), 0u);
}

// Image blocks read real files through the texture manager.
class ImageBlock : public ShaderScript {
protected:
    void SetUp() override
    {
        dir = testfiles::tempDir("images") + "/";
        textures.createDefaults();
        textures.addSearchPath(dir);
    }
    void writeImage(const std::string& name)
    {
        std::vector<unsigned char> rgba(4 * 4 * 4, 200);
        ASSERT_TRUE(platform::writePng(dir + name, 4, 4, 4, rgba.data()));
    }
    // The manager's entry, looked at without taking a reference.
    Texture* listed(const std::string& name)
    {
        for (Texture* t : textures.textures())
            if (t->name == name || t->alias == name)
                return t;
        return nullptr;
    }
    std::string dir;
};

TEST_F(ImageBlock, FormatWordsLongestFirstAndTheBlockGivesItsReferenceBack)
{
    const std::vector<std::pair<std::string, int>> formats = {
        {"LUMINANCE_ALPHA", 7}, {"ALPHA", 3}, {"LUMINANCE", 4}, {"RGBA", 9}, {"RGB", 8},
    };
    std::string script;
    for (const auto& [word, code] : formats) {
        writeImage(word + ".png");
        script += "Image {\nType 2D\nFormat " + word + "\nName \"" + word + ".png\"\n}\n";
    }
    ASSERT_TRUE(parse(library, script));
    for (const auto& [word, code] : formats) {
        const Texture* t = listed(word + ".png");
        ASSERT_NE(t, nullptr) << word;
        EXPECT_EQ(dynamic_cast<const ImageTexture&>(*t).pixelType, code) << word;
        EXPECT_EQ(t->references(), 1) << "only the manager's reference is left";
    }
}

TEST_F(ImageBlock, CubeMapsAndQuietFailures)
{
    for (const char* suffix : CubeMapTexture::kFaceSuffixes)
        writeImage(std::string("env") + suffix + ".png");
    ASSERT_TRUE(parse(library, "Image {\nType CUBEMAP\nName \"env.png\"\n}\n"));
    const Texture* cube = listed("env.png");
    ASSERT_NE(cube, nullptr);
    EXPECT_TRUE(dynamic_cast<const CubeMapTexture&>(*cube).complete());

    // A missing face, an unknown Type or Format and a State block before the texture end the
    // load with false and no message; nothing after them is read.
    writeImage("half_pos_x.png");
    EXPECT_FALSE(parse(library, "Image {\nType CUBEMAP\nName \"half.png\"\n}\n"));
    EXPECT_EQ(listed("half.png"), nullptr);
    EXPECT_FALSE(parse(library, "Image {\nType 4D\n}\nShader {\nName \"after\"\n}\n"));
    EXPECT_FALSE(parse(library, "Image {\nFormat RG\n}\n"));
    EXPECT_FALSE(parse(library, "Image {\nState {\n}\n}\n"));
    EXPECT_TRUE(library.materials().empty());

    // A check hears of each such stop, with the line and the blocks it left unread, and reads
    // on; script errors of a block are reported and the next block is read.
    ProblemCollector check(true);
    EXPECT_TRUE(parse(library, "Image {\nType 4D\n}\nShader {\nName \"after\"\nShininess 2\n}\n"
                               "Shader {\nName \"last\"\n}\n"));
    ASSERT_EQ(check.problems().size(), 2u);
    EXPECT_EQ(check.problems()[0].line, 2);
    EXPECT_EQ(check.problems()[0].cost, "the 2 blocks after it are not loaded");
    EXPECT_EQ(check.problems()[1].line, 6);
    EXPECT_EQ(check.problems()[1].message, "no keyword of the Shader block takes this line");
    EXPECT_EQ(check.problems()[1].text, "Shininess 2");
    ASSERT_EQ(library.materials().size(), 2u);
    EXPECT_EQ(library.materials()[1]->name, "last");
}

} // namespace
