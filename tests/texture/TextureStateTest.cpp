// The "State {" block of an Image block: keyword order, fallbacks and errors.
#include "texture/TextureState.h"

#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TextureState parse(const std::string& text)
{
    ScriptReader reader;
    std::istringstream in(text);
    return parseTextureState(reader, in);
}

std::string failure(const std::string& text, int* line = nullptr)
{
    ScriptReader reader;
    std::istringstream in(text);
    try {
        parseTextureState(reader, in);
    } catch (const ImageScriptException& e) {
        if (line)
            *line = e.lineNumber;
        return e.what();
    }
    return "";
}

} // namespace

TEST(TextureStateBlock, DefaultsAndStateLines)
{
    const TextureState fresh = parse("}\n");
    EXPECT_EQ(fresh.priority, 1.0f);
    EXPECT_EQ(fresh.wrap, kWrapClampClamp);
    EXPECT_EQ(fresh.minFilter, GLenum(GL_LINEAR));
    EXPECT_EQ(fresh.sourceRGB[0], GLenum(GL_PREVIOUS_ARB));
    EXPECT_EQ(fresh.sourceAlpha[2], GLenum(GL_CONSTANT_ARB));
    EXPECT_EQ(fresh.operandAlpha[1], GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(fresh.planeQ[3], 1.0f);
    EXPECT_FALSE(fresh.usesMipmaps());

    const TextureState s = parse("Priority 0.5\n"
                                 "BorderColor 0.1 0.2 0.3 0.4\n"
                                 "BlendColor 1 0.5 0.25 0\n"
                                 "Wrap CLAMP_BORDER_S_CLAMP_BORDER_T\n"
                                 "Filter NEAREST\n"
                                 "Mipmap NEAREST_LINEAR\n"
                                 "}\n");
    EXPECT_EQ(s.priority, 0.5f);
    EXPECT_EQ(s.borderColour[3], 0.4f);
    EXPECT_EQ(s.envColour[2], 0.25f);
    EXPECT_EQ(s.wrap, kWrapBorder);
    EXPECT_EQ(s.magFilter, GLenum(GL_NEAREST));
    EXPECT_EQ(s.minFilter, GLenum(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_TRUE(s.usesMipmaps());

    // "Mipmap NONE" means nearest minification whatever the magnification filter; unknown words
    // leave wrap and filters unchanged.
    const TextureState t = parse("Filter LINEAR\nMipmap NONE\nWrap SIDEWAYS\nFilter CUBIC\n}\n");
    EXPECT_EQ(t.minFilter, GLenum(GL_NEAREST));
    EXPECT_EQ(t.magFilter, GLenum(GL_LINEAR));
    EXPECT_EQ(t.wrap, kWrapClampClamp);
    EXPECT_EQ(parse("Wrap WRAP_S_CLAMP_T\n}\n").wrap, kWrapRepeatClamp);
    EXPECT_EQ(parse("Wrap CLAMP_EDGE_S_CLAMP_EDGE_T\n}\n").wrap, kWrapEdge);
    EXPECT_EQ(parse("Mipmap LINEAR_LINEAR\n}\n").minFilter, GLenum(GL_LINEAR_MIPMAP_LINEAR));
}

TEST(TextureStateBlock, ApplyWordsInTestOrderWithFallbacks)
{
    const TextureState s = parse("Apply {\n"
                                 "Mode COMBINE\n"
                                 "Func.RGB DOT3_RGBA\n"
                                 "Func.Alpha ADD_SIGNED\n"
                                 "Src0.RGB TEXTURE1\n"
                                 "Src1.RGB PRIMARY_COLOR\n"
                                 "Src2.Alpha TEXTURE\n"
                                 "Op0.RGB ONE_MINUS_SRC_COLOR\n"
                                 "Op1.Alpha ONE_MINUS_SRC_ALPHA\n"
                                 "Scale.RGB FOUR\n"
                                 "Scale.Alpha TWO\n"
                                 "}\n"
                                 "}\n");
    EXPECT_EQ(s.envMode, GLenum(GL_COMBINE_ARB));
    EXPECT_EQ(s.combineRGB, GLenum(GL_DOT3_RGBA_ARB));
    EXPECT_EQ(s.combineAlpha, GLenum(GL_ADD_SIGNED_ARB));
    EXPECT_EQ(s.sourceRGB[0], GLenum(GL_TEXTURE1_ARB));
    EXPECT_EQ(s.sourceRGB[1], GLenum(GL_PRIMARY_COLOR_ARB));
    EXPECT_EQ(s.sourceAlpha[2], GLenum(GL_TEXTURE));
    EXPECT_EQ(s.operandRGB[0], GLenum(GL_ONE_MINUS_SRC_COLOR));
    EXPECT_EQ(s.operandAlpha[1], GLenum(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(s.scaleRGB, 4);
    EXPECT_EQ(s.scaleAlpha, 2);

    // Words that match nothing take the list's fallback, not the old value; so does a value
    // word lost to a trailing blank.
    const TextureState f = parse("Apply {\n"
                                 "Mode FOO\n"
                                 "Func.RGB ADD\n"
                                 "Func.RGB NOTHING\n"
                                 "Src0.RGB NOWHERE\n"
                                 "Op2.Alpha BACKWARDS\n"
                                 "Scale.RGB EIGHT\n"
                                 "Src1.Alpha CONSTANT \n"
                                 "}\n"
                                 "}\n");
    EXPECT_EQ(f.envMode, GLenum(GL_REPLACE));
    EXPECT_EQ(f.combineRGB, GLenum(GL_REPLACE));
    EXPECT_EQ(f.sourceRGB[0], GLenum(GL_TEXTURE));
    EXPECT_EQ(f.operandAlpha[2], GLenum(GL_SRC_COLOR));
    EXPECT_EQ(f.scaleRGB, 1);
    EXPECT_EQ(f.sourceAlpha[1], GLenum(GL_TEXTURE));
    EXPECT_EQ(parse("Apply {\nMode ADD\n}\n}\n").envMode, GLenum(GL_ADD));
    EXPECT_EQ(parse("Apply {\nFunc.RGB DOT3_RGB\n}\n}\n").combineRGB, GLenum(GL_DOT3_RGB_ARB));
}

TEST(TextureStateBlock, EnvmapModesAndPlanes)
{
    const TextureState s = parse("Envmap {\nMode SPHERE\nMode NONE\nPlaneS 1 2 3 4\nPlaneT 5 6 7 8\n}\n}\n");
    EXPECT_EQ(s.texGen, kGenNone);
    EXPECT_EQ(s.planeS[3], 4.0f);
    EXPECT_EQ(s.planeT[0], 5.0f);
    // An unknown Envmap mode changes nothing.
    EXPECT_EQ(parse("Envmap {\nMode EYE\nMode FOO\n}\n}\n").texGen, kGenEye);
    EXPECT_EQ(parse("Envmap {\nMode REFLECTION_MAP\n}\n}\n").texGen, kGenReflectionMap);
    EXPECT_EQ(parse("Envmap {\nMode NORMAL_MAP\n}\n}\n").texGen, kGenNormalMap);
}

TEST(TextureStateBlock, UnknownLinesThrowTheBlockMessage)
{
    int line = 0;
    EXPECT_EQ(failure("Priority 1\nColour 1 2 3\n}\n", &line), "PARSE ERROR! Unknown State Token");
    EXPECT_EQ(line, 2);
    EXPECT_EQ(failure("Apply {\nMode ADD\nMix 1\n}\n}\n", &line), "PARSE ERROR! Unknown Apply Token");
    EXPECT_EQ(line, 3);
    EXPECT_EQ(failure("Envmap {\nPlaneR 1 2 3 4\n}\n}\n"), "PARSE ERROR! Unknown Envmap Token");
    // A comment-only line inside a block, and a block that never closes.
    EXPECT_EQ(failure("; nothing\n}\n"), "PARSE ERROR! Unknown State Token");
    EXPECT_EQ(failure("Apply {\nMode ADD\n"), "PARSE ERROR! Unknown Apply Token");
    EXPECT_EQ(failure("Priority 1\n"), "PARSE ERROR! Unknown State Token");
}
