// Textures on a real GL context: uploads, binding with their state, drawing, lost objects.
#include "texture/TextureManager.h"

#include "core/ExtensionRegistry.h"

#include "GLFixture.h"
#include "TestFiles.h"
#include "TextureTestUtil.h"

#include <filesystem>

using namespace texturetest;

namespace {

class TextureGL : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        initTextureExtensions();
    }
    void TearDown() override
    {
        if (ext::glActiveTextureARB)
            ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_CUBE_MAP_ARB);
        GLTest::TearDown();
    }

    // A picture of one colour, sampled without filtering.
    static std::unique_ptr<ImageTexture> solid(int w, int h, std::uint32_t rgb)
    {
        auto t = std::make_unique<ImageTexture>();
        t->allocateImage(w, h, kPixelRGB);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                t->setPixel(rgb, x, y);
        t->state.magFilter = t->state.minFilter = GL_NEAREST;
        return t;
    }

    // The whole window, texture coordinates 0..1 (or the given 3D coordinate everywhere).
    static void drawQuad()
    {
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0); glVertex2f(0, 0);
        glTexCoord2f(1, 0); glVertex2f(640, 0);
        glTexCoord2f(1, 1); glVertex2f(640, 480);
        glTexCoord2f(0, 1); glVertex2f(0, 480);
        glEnd();
    }
};

// Sets an extension flag for one test and puts it back.
class FlagOverride {
public:
    FlagOverride(bool& flag, bool value) : flag(flag), saved(flag) { flag = value; }
    ~FlagOverride() { flag = saved; }

private:
    bool& flag;
    bool saved;
};

} // namespace

TEST_F(TextureGL, CombinerStateDrawsTextureAddedToColour)
{
    ASSERT_TRUE(ext::gl_ARB_texture_env_combine);
    auto t = solid(2, 2, 0x402010);
    t->state.envMode = GL_COMBINE_ARB;
    t->state.combineRGB = GL_ADD;
    t->state.sourceRGB[0] = GL_TEXTURE;
    t->state.sourceRGB[1] = GL_PRIMARY_COLOR_ARB;
    t->state.scaleRGB = 2;
    ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
    glColor3ub(0, 32, 64);
    drawQuad();
    t->unbind(GL_TEXTURE0_ARB);
    // (texture + colour) x 2
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240), 128, 128, 160, 2);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // Modulate, the default.
    auto m = solid(1, 1, 0x80FF40);
    ASSERT_TRUE(m->bind(GL_TEXTURE0_ARB));
    glColor3ub(255, 128, 255);
    drawQuad();
    m->unbind(GL_TEXTURE0_ARB);
    EXPECT_PIXEL_NEAR(testgl::readPixel(10, 10), 128, 128, 64, 2);
}

TEST_F(TextureGL, ModesTheDriverCantDoLeaveTheUnitUntextured)
{
    auto t = solid(1, 1, 0xFF0000);
    t->state.envMode = GL_ADD;
    {
        FlagOverride noAdd(ext::gl_ARB_texture_env_add, false);
        ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        glColor3ub(0, 0, 200);
        drawQuad();
        t->unbind(GL_TEXTURE0_ARB);
        EXPECT_PIXEL_NEAR(testgl::readPixel(5, 5), 0, 0, 200, 2);
    }
    t->state.envMode = GL_COMBINE_ARB;
    t->state.combineRGB = GL_DOT3_RGB_ARB;
    {
        FlagOverride noDot3(ext::gl_ARB_texture_env_dot3, false);
        ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        t->unbind(GL_TEXTURE0_ARB);
    }
    ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    t->unbind(GL_TEXTURE0_ARB);
}

TEST_F(TextureGL, ALostObjectIsMadeAgainOnTheNextBind)
{
    auto t = solid(2, 2, 0x00FF00);
    EXPECT_EQ(t->glName, Texture::kNoGLName);
    ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
    t->unbind(GL_TEXTURE0_ARB);
    const GLuint first = t->glName;
    glDeleteTextures(1, &first);
    EXPECT_FALSE(t->hasLiveObject());
    ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
    EXPECT_TRUE(t->hasLiveObject());
    glColor3f(1, 1, 1);
    drawQuad();
    t->unbind(GL_TEXTURE0_ARB);
    EXPECT_PIXEL_NEAR(testgl::readPixel(100, 100), 0, 255, 0, 1);

    // An explicit upload of a live object does nothing; releaseGL forgets it.
    EXPECT_FALSE(t->upload());
    EXPECT_TRUE(t->releaseGL());
    EXPECT_FALSE(t->releaseGL());
    EXPECT_EQ(t->glName, Texture::kNoGLName);
}

TEST_F(TextureGL, UpdateSendsChangedPixels)
{
    auto t = solid(3, 1, 0x0000FF); // a 3-byte row of odd length: no padding is read
    ASSERT_TRUE(t->upload());
    for (int x = 0; x < 3; ++x)
        t->setPixel(0xFFFF00, x, 0);
    ASSERT_TRUE(t->update());
    ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
    drawQuad();
    t->unbind(GL_TEXTURE0_ARB);
    EXPECT_PIXEL_NEAR(testgl::readPixel(600, 400), 255, 255, 0, 1);
}

TEST_F(TextureGL, OneBytePicturesUploadAndDrawTheirGrey)
{
    // Intensity, luminance and alpha pictures each send one byte a pixel.
    for (int code : {kPixelIntensity, kPixelLuminance, kPixelAlpha}) {
        SCOPED_TRACE(code);
        auto t = std::make_unique<ImageTexture>();
        t->allocateImage(2, 2, code);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                t->setPixel(0x80, x, y);
        t->state.magFilter = t->state.minFilter = GL_NEAREST;
        t->state.envMode = GL_REPLACE;
        ASSERT_TRUE(t->upload());
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
        glColor4f(1, 1, 1, 1);
        drawQuad();
        t->unbind(GL_TEXTURE0_ARB);
        const testgl::Rgba drawn = testgl::readPixel(320, 240);
        if (code == kPixelAlpha)
            EXPECT_PIXEL_NEAR(drawn, 255, 255, 255, 1);
        else
            EXPECT_PIXEL_NEAR(drawn, 128, 128, 128, 1);
    }
}

TEST_F(TextureGL, ParametersWrapModesAndMipmaps)
{
    auto t = solid(8, 4, 0x808080);
    t->state.wrap = kWrapEdge3;
    t->state.minFilter = GL_LINEAR_MIPMAP_NEAREST;
    t->state.priority = 0.25f;
    ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_NEAREST);
    GLfloat priority = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, &priority);
    EXPECT_FLOAT_EQ(priority, 0.25f);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 2); // the mipmap chain was built
    t->unbind(GL_TEXTURE0_ARB);

    // Without the extensions border and edge clamping fall back to plain clamping.
    FlagOverride noBorder(ext::gl_ARB_texture_border_clamp, false);
    FlagOverride noEdge(ext::gl_EXT_texture_edge_clamp, false);
    auto u = solid(1, 1, 0);
    u->state.wrap = kWrapBorder;
    ASSERT_TRUE(u->bind(GL_TEXTURE0_ARB));
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_CLAMP);
    u->unbind(GL_TEXTURE0_ARB);
}

TEST_F(TextureGL, CoordinateGenerationOnBindAndOffOnUnbind)
{
    auto t = solid(1, 1, 0xFFFFFF);
    t->state.texGen = kGenEye;
    t->state.planeS[3] = 5;
    t->state.planeR[0] = 0.5f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLfloat plane[4];
    glGetTexGenfv(GL_S, GL_EYE_PLANE, plane);
    EXPECT_FLOAT_EQ(plane[3], 5);
    glGetTexGenfv(GL_R, GL_EYE_PLANE, plane);
    EXPECT_FLOAT_EQ(plane[0], 0.5f);
    GLint mode = 0;
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_EYE_LINEAR);
    t->unbind(GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));

    t->state.texGen = kGenNormalMap;
    ASSERT_TRUE(t->bind(GL_TEXTURE0_ARB));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R));
    glGetTexGeniv(GL_R, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_NORMAL_MAP_ARB);
    t->unbind(GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));
}

TEST_F(TextureGL, CompressedUploadSendsWholeBlocks)
{
    if (!ext::gl_EXT_texture_compression_s3tc)
        GTEST_SKIP() << "driver without S3TC";
    // One DXT1 block: both end colours pure red (RGB565 0xF800), every index 0.
    ImageTexture t;
    t.allocateImage(4, 4, kPixelDXT1);
    const std::uint8_t block[8] = {0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0};
    std::copy(block, block + 8, t.pixels.get());
    t.state.magFilter = t.state.minFilter = GL_NEAREST;
    ASSERT_TRUE(t.bind(GL_TEXTURE0_ARB));
    GLint size = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE_ARB, &size);
    EXPECT_EQ(size, 8);
    glColor3f(1, 1, 1);
    drawQuad();
    t.unbind(GL_TEXTURE0_ARB);
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240), 255, 0, 0, 1);
}

TEST_F(TextureGL, CubeOneAndThreeDimensionalTextures)
{
    TextureManager manager;
    manager.createDefaults();
    Texture* cube = manager.find("NormalizationCubeMap");
    ASSERT_TRUE(cube);
    cube->state.envMode = GL_REPLACE;
    ASSERT_TRUE(cube->bind(GL_TEXTURE0_ARB));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP_ARB));
    // Looking down +Y: the four middle texels of the +Y face hold directions just off (0, 1, 0),
    // their truncated red and blue bytes 131 and 123.
    glBegin(GL_QUADS);
    for (auto [x, y] : {std::pair{0, 0}, {640, 0}, {640, 480}, {0, 480}}) {
        glTexCoord3f(0, 1, 0);
        glVertex2f(float(x), float(y));
    }
    glEnd();
    cube->unbind(GL_TEXTURE0_ARB);
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240), 127, 254, 127, 2);
    manager.release(cube);

    Texture1D line;
    line.allocateImage(2, kPixelRGB);
    line.pixels[3] = 255; // second texel red
    line.state.magFilter = line.state.minFilter = GL_NEAREST;
    ASSERT_TRUE(line.bind(GL_TEXTURE0_ARB));
    drawQuad();
    line.unbind(GL_TEXTURE0_ARB);
    EXPECT_PIXEL_NEAR(testgl::readPixel(600, 100), 255, 0, 0, 1);
    EXPECT_PIXEL_NEAR(testgl::readPixel(20, 100), 0, 0, 0, 1);

    Texture3D volume;
    volume.allocateImage(2, 2, 2, kPixelLuminance);
    ASSERT_TRUE(volume.upload());
    ASSERT_TRUE(volume.bind(GL_TEXTURE0_ARB));
    GLint depth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_3D, 0, GL_TEXTURE_DEPTH, &depth);
    EXPECT_EQ(depth, 2);
    volume.unbind(GL_TEXTURE0_ARB);
}

TEST_F(TextureGL, ScaleToPowerOfTwoAndTheLoadingPicture)
{
    auto t = solid(3, 2, 0x102030);
    ASSERT_TRUE(t->scaleToPowerOfTwo());
    EXPECT_EQ(t->width, 2);
    EXPECT_EQ(t->height, 2);
    EXPECT_EQ(pixelsOf(*t), (Bytes{0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0x10, 0x20, 0x30}));
    auto square = solid(16, 16, 0);
    const std::uint8_t* before = square->pixels.get();
    EXPECT_TRUE(square->scaleToPowerOfTwo());
    EXPECT_EQ(square->pixels.get(), before);
    ImageTexture compressed;
    compressed.allocateImage(4, 4, kPixelDXT5);
    EXPECT_FALSE(compressed.scaleToPowerOfTwo());

    const std::string dir = testfiles::tempDir("loading");
    std::filesystem::copy_file(testfiles::corpus("jpg/baseline_basn2c08.jpg"), dir + "/loading.jpg");
    TextureManager manager;
    manager.createDefaults();
    manager.addSearchPath(dir + "\\");
    Texture* picture = manager.loadAndBindLoadingPicture();
    ASSERT_TRUE(picture);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), picture->glName);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(static_cast<ImageTexture*>(picture)->pixelType, kPixelRGB);
    picture->unbind(GL_TEXTURE0_ARB);
    manager.release(picture);
}
