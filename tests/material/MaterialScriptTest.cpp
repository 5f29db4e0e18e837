#include "MaterialTestSupport.h"
#include "TestFiles.h"

#include "material/AlphaState.h"
#include "material/BlendState.h"
#include "material/CullState.h"
#include "material/DepthState.h"
#include "material/FogState.h"
#include "material/PolygonState.h"
#include "material/StencilState.h"
#include "material/TextureStage.h"
#include "platform/PngWriter.h"

#include <gtest/gtest.h>

#include <vector>

using mattest::parse;
using mattest::state;

namespace {

class ShaderScript : public ::testing::Test {
protected:
    // One material named "m" holding `body` (block lines).
    Material* material(const std::string& body)
    {
        EXPECT_TRUE(parse(library, "Shader {\nName \"m\"\n" + body + "\n}\n"));
        return library.materials().empty() ? nullptr : library.materials().back();
    }

    TextureManager textures;
    MaterialLibrary library;
};

TEST_F(ShaderScript, CommentsAndTextBetweenBlocksAddNothing)
{
    EXPECT_TRUE(parse(library, "; materials of nothing\n\n   ; indented comment\nfree text\n"));
    EXPECT_TRUE(parse(library, ""));
    EXPECT_TRUE(library.materials().empty());

    // The one-call load from a file, and its missing-file message.
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
        EXPECT_EQ(e.lineNumber, -1);
    }
}

TEST_F(ShaderScript, NameLinesStartMaterialsAndInfoComesFirst)
{
    ASSERT_TRUE(parse(library, R"(Shader {
        Info "Name of the first one"
        Name "first"
        Alpha {
          Enable yes
        }
        Name "second"
        Cull {
          Enable no
        }
        Blend {
        }
      }
      Shader {
        Name "empty"
      })"));
    ASSERT_EQ(library.materials().size(), 3u);
    const Material* first = library.materials()[0];
    const Material* second = library.materials()[1];
    EXPECT_EQ(first->name, "first");
    ASSERT_EQ(first->states.size(), 1u);
    EXPECT_TRUE(state<AlphaState>(first, 0).enabled);
    EXPECT_EQ(second->name, "second");
    ASSERT_EQ(second->states.size(), 2u);
    EXPECT_FALSE(state<CullState>(second, 0).enabled);
    EXPECT_NO_THROW(state<BlendState>(second, 1));
    EXPECT_TRUE(library.materials()[2]->states.empty());
}

TEST_F(ShaderScript, BadLinesThrowTheirBlockMessageWithFileLineAndText)
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
        // A comment-only line inside a block comes back empty; so does the end of the file.
        {head + "Fog {\n; just a comment\n}\n}", "PARSE ERROR! Unknown Fog Token", 3, ""},
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

    // Through a file, the exception names the file.
    const std::string path = testfiles::tempDir("shader") + "/bad.shader";
    testfiles::writeFile(path, head + "Cull {\nWinding CW\nFrontFace CW\n}\n}\n");
    try {
        library.load(path);
        FAIL() << "no exception";
    } catch (const ImageScriptException& e) {
        EXPECT_EQ(e.fileName, path);
        EXPECT_EQ(e.lineNumber, 5);
        EXPECT_EQ(e.lineText, "FrontFace CW");
    }
}

TEST_F(ShaderScript, BlendWordsAreTestedLongestFirst)
{
    const Material* m = material(R"(Blend {
        Enable yes
      }
      Blend {
        Src.RGB SRC_ALPHA
        Dst ONE_MINUS_CONSTANT_COLOR
        Lighting no
        BlendEquation REVERSE_SUBTRACT
        BlendColor 0.25 0.5 0.75 1
      }
      Blend {
        Src ONE_MINUS_SRC_ALPHA
        Dst.RGB SRC_COLOR
        Src.Alpha NOTHING
        Dst.Alpha NOTHING
        BlendEquation MAX
      }
      Blend {
        Dst.Alpha ONE_MINUS_SRC_ALPHA
      })");
    ASSERT_NE(m, nullptr);
    const auto& additive = state<BlendState>(m, 0);
    EXPECT_TRUE(additive.enabled);
    EXPECT_TRUE(additive.lighting);
    EXPECT_EQ(additive.srcRGB, GLenum(GL_ONE));
    EXPECT_EQ(additive.dstRGB, GLenum(GL_ONE));
    EXPECT_EQ(additive.equation, 0u);

    const auto& b = state<BlendState>(m, 1);
    EXPECT_EQ(b.srcRGB, GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(b.dstRGB, GLenum(GL_ONE_MINUS_CONSTANT_COLOR));
    EXPECT_FALSE(b.lighting);
    EXPECT_EQ(b.equation, GLenum(GL_FUNC_REVERSE_SUBTRACT_EXT));
    EXPECT_FLOAT_EQ(b.colour[2], 0.75f);
    EXPECT_FALSE(b.separate);

    const auto& c = state<BlendState>(m, 2);
    EXPECT_EQ(c.srcRGB, GLenum(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(c.dstRGB, GLenum(GL_SRC_COLOR));
    EXPECT_FALSE(c.separate) << "unknown alpha factors change nothing";
    EXPECT_EQ(c.equation, 0u) << "an unknown equation leaves the equation alone";

    const auto& d = state<BlendState>(m, 3);
    EXPECT_TRUE(d.separate);
    EXPECT_EQ(d.dstAlpha, GLenum(GL_ONE_MINUS_SRC_ALPHA));
}

TEST_F(ShaderScript, ComparisonAndOperationWords)
{
    const Material* m = material(R"(Alpha {
        Function NOTEQUAL
        Reference 0.5
      }
      Alpha {
        Function GEQUAL
      }
      Stencil {
        Function NOTEQUAL
        WriteMask 0
        ZFail INCR_WRAP
        ZPass DECR
      }
      Stencil {
        Enable yes
        Function LEQUAL
        Fail INVERT
        Reference 3
        Mask 7
      }
      ZBuffer {
        Function GREATER
        Write no
      }
      Fog {
        Function EXPSQR
        Apply PER_VERTEX
        Color 0.1 0.2 0.3 0.4
      }
      Cull {
        Function FRONT_AND_BACK
        Winding CW
      }
      Polygon {
        Mode POINT
        Face FRONT_AND_BACK
      })");
    ASSERT_NE(m, nullptr);
    // No NOTEQUAL in the alpha block: it contains "EQUAL".
    EXPECT_EQ(state<AlphaState>(m, 0).function, GLenum(GL_EQUAL));
    EXPECT_FLOAT_EQ(state<AlphaState>(m, 0).reference, 0.5f);
    EXPECT_EQ(state<AlphaState>(m, 1).function, GLenum(GL_GEQUAL));

    const auto& s = state<StencilState>(m, 2);
    EXPECT_EQ(s.function, GLenum(GL_NOTEQUAL));
    EXPECT_EQ(s.writeMask, 0);
    EXPECT_EQ(s.mask, 0);
    EXPECT_EQ(s.depthFailOp, GLenum(GL_INCR_WRAP_EXT));
    EXPECT_EQ(s.failOp, GLenum(GL_ZERO));
    EXPECT_EQ(s.depthPassOp, GLenum(GL_DECR));
    const auto& t = state<StencilState>(m, 3);
    EXPECT_EQ(t.function, GLenum(GL_LEQUAL));
    EXPECT_EQ(t.failOp, GLenum(GL_INVERT));
    EXPECT_EQ(t.reference, 3);
    EXPECT_EQ(t.mask, 7);
    EXPECT_EQ(t.writeMask, 255);

    EXPECT_EQ(state<DepthState>(m, 4).function, GLenum(GL_GREATER));
    EXPECT_FALSE(state<DepthState>(m, 4).write);
    EXPECT_FALSE(state<DepthState>(m, 4).enabled);
    EXPECT_EQ(state<FogState>(m, 5).mode, GLenum(GL_EXP2));
    EXPECT_EQ(state<FogState>(m, 5).hint, GLenum(GL_FASTEST));
    EXPECT_FLOAT_EQ(state<FogState>(m, 5).colour[3], 0.4f);
    EXPECT_EQ(state<CullState>(m, 6).face, GLenum(GL_FRONT_AND_BACK));
    EXPECT_EQ(state<CullState>(m, 6).winding, GLenum(GL_CW));
    EXPECT_EQ(state<PolygonState>(m, 7).mode, GLenum(GL_POINT));
    EXPECT_EQ(state<PolygonState>(m, 7).face, GLenum(GL_FRONT_AND_BACK));
}

TEST_F(ShaderScript, LibraryCountsReferencesAndFindsTheEarliestName)
{
    ASSERT_TRUE(parse(library, "Shader {\nName \"dup\"\nAlpha {\n}\n}\n"));
    ASSERT_TRUE(parse(library, "Shader {\nName \"dup\"\nCull {\n}\nName \"other\"\n}\n"));
    ASSERT_EQ(library.materials().size(), 3u);
    Material* dup = library.find("dup");
    ASSERT_EQ(dup, library.materials()[0]);
    EXPECT_EQ(dup->references(), 2);
    EXPECT_EQ(library.find("nothing"), nullptr);

    Material* again = library.find("dup");
    EXPECT_TRUE(library.release(again));
    EXPECT_EQ(again, nullptr);
    EXPECT_FALSE(library.release(again));
    EXPECT_EQ(dup->references(), 2);
    // The last outside reference takes the material out of the library.
    EXPECT_TRUE(library.release(dup));
    ASSERT_EQ(library.materials().size(), 2u);
    EXPECT_EQ(library.materials()[0]->states.size(), 1u) << "the second \"dup\" is left";

    EXPECT_TRUE(library.releaseByName("other"));
    EXPECT_FALSE(library.releaseByName("other"));
    EXPECT_FALSE(library.add(nullptr));
    EXPECT_EQ(library.vertexProgram("any"), 0u);
    EXPECT_EQ(library.fragmentProgram("any"), 0u);
}

TEST_F(ShaderScript, ReleasingADuplicateNameLeavesTheOtherMaterial)
{
    ASSERT_TRUE(parse(library, "Shader {\nName \"d\"\nName \"d\"\nFog {\n}\n}\n"));
    Material* second = library.materials()[1];
    second->addRef(); // the one reference a holder of the second one has
    library.release(second);
    // The released one goes, not the first of its name.
    ASSERT_EQ(library.materials().size(), 1u);
    EXPECT_TRUE(library.materials()[0]->states.empty());
    EXPECT_EQ(library.materials()[0]->references(), 1);
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
    void writeImage(const std::string& name, unsigned char grey = 200)
    {
        std::vector<unsigned char> rgba(4 * 4 * 4, grey);
        ASSERT_TRUE(platform::writePng(dir + name, 4, 4, 4, rgba.data()));
    }
    // The manager's entry, looked at without taking a reference (giving one back would let
    // the manager drop the texture).
    Texture* listed(const std::string& name)
    {
        for (Texture* t : textures.textures())
            if (t->name == name)
                return t;
        return nullptr;
    }
    std::string dir;
};

TEST_F(ImageBlock, FormatWordsLongestFirstAndTheBlockGivesItsReferenceBack)
{
    const std::vector<std::pair<const char*, int>> formats = {
        {"LUMINANCE_ALPHA", 7}, {"ALPHA", 3}, {"LUMINANCE", 4}, {"INTENSITY", 6},
        {"RGBA", 9},            {"RGB", 8},   {"RED", 0},
    };
    std::string script;
    for (const auto& [word, code] : formats) {
        writeImage(std::string(word) + ".png");
        script += std::string("Image {\nInfo \"about\"\nType 2D\nFormat ") + word + "\nName \"" +
                  word + ".png\"\n}\n";
    }
    ASSERT_TRUE(parse(library, script));
    for (const auto& [word, code] : formats) {
        const Texture* t = listed(std::string(word) + ".png");
        ASSERT_NE(t, nullptr) << word;
        EXPECT_EQ(dynamic_cast<const ImageTexture&>(*t).pixelType, code) << word;
        EXPECT_EQ(t->references(), 1) << "the block gave its reference back";
    }
}

TEST_F(ImageBlock, AliasAndStateApplyToTheLoadedTexture)
{
    writeImage("brick.png");
    ASSERT_TRUE(parse(library, R"(Image {
        Format RGBA
        Name "brick.png"
        Alias "wall"
        State {
          Filter NEAREST
          Wrap WRAP_S_WRAP_T
        }
      }
      Shader {
        Name "m"
        Texture {
          Image "wall"
          TexUnit UNIT2
        }
        Texture {
          Image "not there"
          TexUnit UNIT9
        }
      })"));
    Texture* t = textures.find("wall");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->name, "brick.png");
    EXPECT_EQ(t->state.magFilter, GLenum(GL_NEAREST));
    EXPECT_EQ(t->state.wrap, int(kWrapRepeatRepeat));
    const Material* m = library.materials().at(0);
    EXPECT_EQ(state<TextureStage>(m, 0).texture(), t);
    EXPECT_EQ(state<TextureStage>(m, 0).unit, GLenum(GL_TEXTURE2_ARB));
    EXPECT_EQ(state<TextureStage>(m, 1).texture(), nullptr);
    EXPECT_EQ(state<TextureStage>(m, 1).unit, GLenum(GL_TEXTURE0_ARB));
    EXPECT_EQ(t->references(), 3); // manager, stage, this test
    Material* held = library.find("m");
    library.release(held); // the stage goes with the material and gives its reference back
    EXPECT_EQ(t->references(), 2);
    textures.release(t);
}

TEST_F(ImageBlock, FailuresStopTheLoad)
{
    // Unknown Type or Format, and a State block before any texture: false, no message.
    EXPECT_FALSE(parse(library, "Image {\nType 4D\n}\nShader {\nName \"after\"\n}\n"));
    EXPECT_FALSE(parse(library, "Image {\nFormat RG\n}\n"));
    EXPECT_FALSE(parse(library, "Image {\nState {\n}\n}\n"));
    EXPECT_TRUE(library.materials().empty()) << "nothing after a failed Image block is read";
    try {
        parse(library, "Image {\nName \"absent.png\"\n}\n");
        FAIL() << "no exception";
    } catch (const ImageScriptException& e) {
        EXPECT_STREQ(e.what(), "PARSE ERROR! Image not loaded absent.png");
        EXPECT_EQ(e.lineNumber, 2);
    }
}

TEST_F(ImageBlock, CubeMapFromSixFaceFiles)
{
    for (const char* suffix : CubeMapTexture::kFaceSuffixes)
        writeImage(std::string("env") + suffix + ".png");
    ASSERT_TRUE(parse(library, "Image {\nType CUBEMAP\nName \"env.png\"\nAlias \"sky\"\n}\n"));
    Texture* cube = textures.find("sky");
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->name, "env.png");
    EXPECT_EQ(cube->target, GLenum(GL_TEXTURE_CUBE_MAP_ARB));
    EXPECT_TRUE(dynamic_cast<CubeMapTexture&>(*cube).complete());
    textures.release(cube);

    // A missing face: false, and no cube left behind.
    writeImage("half_pos_x.png");
    EXPECT_FALSE(parse(library, "Image {\nType CUBEMAP\nName \"half.png\"\n}\n"));
    EXPECT_EQ(textures.find("half.png"), nullptr);
}

TEST_F(ImageBlock, CoordBlocksReadEnvelopesAndTheBlockGoesOn)
{
    ASSERT_TRUE(parse(library, R"(Shader {
        Name "m"
        Texture {
          CoordU {
            { Envelope
              1
              Key 1.25 0 3 0 0 0 0 0 0 0
              Behaviors 1 1
            }
          CoordR {
            { Envelope
              2
              Key 0 0 3 0 0 0 0 0 0 0
              Key 90 1 3 0 0 0 0 0 0 0
              Behaviors 1 1
            }
          TexUnit UNIT1
        }
        Alpha {
        }
      })"));
    const Material* m = library.materials().at(0);
    ASSERT_EQ(m->states.size(), 2u);
    const auto& stage = state<TextureStage>(m, 0);
    ASSERT_NE(stage.uCurve, nullptr);
    EXPECT_EQ(stage.vCurve, nullptr);
    ASSERT_NE(stage.rotationCurve, nullptr);
    EXPECT_FLOAT_EQ(stage.uCurve->evaluate(7.0f), 1.25f);
    EXPECT_FLOAT_EQ(stage.rotationCurve->evaluate(0.5f), 45.0f);
    EXPECT_EQ(stage.unit, GLenum(GL_TEXTURE1_ARB));

    try {
        parse(library, "Shader {\nName \"n\"\nTexture {\nCoordV {\nKey 1 0 3\n}\n}\n}\n");
        FAIL() << "no exception";
    } catch (const ImageScriptException& e) {
        EXPECT_STREQ(e.what(), "PARSE ERROR! Envelope not read in CoordV");
    }
}

} // namespace
