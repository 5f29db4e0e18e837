#include "MaterialTestSupport.h"
#include "TestFiles.h"

#include "core/ExtensionRegistry.h"
#include "platform/PngWriter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TextureStageGL : public MaterialGLTest {
protected:
    void SetUp() override
    {
        MaterialGLTest::SetUp();
        dir = testfiles::tempDir("stages") + "/";
        textures.createDefaults();
        textures.addSearchPath(dir);
    }
    // A picture of `width` x 1 RGB texels.
    void writeRow(const std::string& name, const std::vector<unsigned char>& rgb)
    {
        ASSERT_TRUE(platform::writePng(dir + name, int(rgb.size() / 3), 1, 3, rgb.data()));
    }
    static std::vector<float> textureMatrix(GLenum unit)
    {
        std::vector<float> m(16);
        ext::glActiveTextureARB(unit);
        glGetFloatv(GL_TEXTURE_MATRIX, m.data());
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        return m;
    }
    static std::string envelope(const char* block, float value)
    {
        return std::string(block) + " {\n{ Envelope\n1\nKey " + std::to_string(value) +
               " 0 3 0 0 0 0 0 0 0\nBehaviors 1 1\n}\n";
    }

    std::string dir;
};

TEST_F(TextureStageGL, TwoUnitsCombineTheirTextures)
{
    writeRow("warm.png", {255, 128, 255});
    writeRow("cool.png", {128, 255, 255});
    Material* m = load(R"(Image {
        Name "warm.png"
        State {
          Filter NEAREST
        }
      }
      Image {
        Name "cool.png"
        Alias "second"
        State {
          Filter NEAREST
        }
      }
      Shader {
        Name "both"
        Texture {
          Image "warm.png"
          TexUnit UNIT0
        }
        Texture {
          Image "second"
          TexUnit UNIT1
        }
      })",
                       "both");
    ASSERT_NE(m, nullptr);
    m->bind();
    for (GLenum unit : {GL_TEXTURE0_ARB, GL_TEXTURE1_ARB}) {
        ext::glActiveTextureARB(unit);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << unit - GL_TEXTURE0_ARB;
    }
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    mattest::drawQuad(0, 0, 100, 100);
    m->unbind();
    // Modulated on both units: warm x cool.
    EXPECT_PIXEL_NEAR(testgl::readPixel(50, 50), 128, 128, 255, 2);
    mattest::expectRestingState();
    library.release(m);
}

TEST_F(TextureStageGL, EnvelopesScrollAndTurnTheTextureMatrix)
{
    Material* m = load("Shader {\nName \"m\"\nTexture {\nTexUnit UNIT1\n" +
                           envelope("CoordU", 1.25f) + envelope("CoordV", -0.5f) + "}\n}\n" +
                           "Shader {\nName \"r\"\nTexture {\n" + envelope("CoordR", 90.0f) +
                           "}\n}\n",
                       "m");
    Material* r = library.find("r");
    ASSERT_TRUE(m && r);
    m->bind();
    std::vector<float> t = textureMatrix(GL_TEXTURE1_ARB);
    EXPECT_FLOAT_EQ(t[12], 0.25f);
    EXPECT_FLOAT_EQ(t[13], -0.5f);
    EXPECT_FLOAT_EQ(t[0], 1.0f);
    EXPECT_FLOAT_EQ(textureMatrix(GL_TEXTURE0_ARB)[12], 0.0f) << "only the stage's unit moves";
    m->unbind();
    mattest::expectRestingState();

    r->bind();
    t = textureMatrix(GL_TEXTURE0_ARB);
    // A quarter turn about (0.5, 0.5): (0, 0) goes to (1, 0).
    EXPECT_NEAR(t[0], 0.0f, 1e-6);
    EXPECT_NEAR(t[1], 1.0f, 1e-6);
    EXPECT_NEAR(t[12], 1.0f, 1e-6);
    EXPECT_NEAR(t[13], 0.0f, 1e-6);
    r->unbind();
    mattest::expectRestingState();
    library.release(m);
    library.release(r);
}

TEST_F(TextureStageGL, ScrolledTextureFollowsTheManagersTime)
{
    writeRow("halves.png", {255, 0, 0, 0, 0, 255});
    Material* m = load(R"(Image {
        Name "halves.png"
        State {
          Filter NEAREST
          Wrap WRAP_S_WRAP_T
        }
      }
      Shader {
        Name "scroll"
        Texture {
          Image "halves.png"
          CoordU {
            { Envelope
              2
              Key 0 0 3 0 0 0 0 0 0 0
              Key 1 2 3 0 0 0 0 0 0 0
              Behaviors 1 1
            }
        }
      })",
                       "scroll");
    ASSERT_NE(m, nullptr);
    textures.time = 0.0f;
    m->bind();
    mattest::drawQuad(0, 0, 200, 100);
    m->unbind();
    EXPECT_PIXEL_NEAR(testgl::readPixel(50, 50), 255, 0, 0, 1);
    EXPECT_PIXEL_NEAR(testgl::readPixel(150, 50), 0, 0, 255, 1);

    textures.time = 1.0f; // half-way: scrolled by half the texture
    m->bind();
    mattest::drawQuad(0, 0, 200, 100);
    m->unbind();
    EXPECT_PIXEL_NEAR(testgl::readPixel(50, 50), 0, 0, 255, 1);
    EXPECT_PIXEL_NEAR(testgl::readPixel(150, 50), 255, 0, 0, 1);
    mattest::expectRestingState();
    library.release(m);
}

} // namespace
