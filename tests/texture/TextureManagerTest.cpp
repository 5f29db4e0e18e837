// The texture manager's lookups, reference counting, search paths and built-in textures.
#include "texture/TextureManager.h"

#include "TestFiles.h"
#include "TextureTestUtil.h"

#include <gtest/gtest.h>

using namespace texturetest;

namespace {

// A manager with the default readers and two search folders, "art" before "fnt".
class Manager : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = testfiles::tempDir("texmgr");
        manager.createDefaults();
        manager.addSearchPath(root + "\\art\\");
        manager.addSearchPath(root + "\\fnt\\");
    }
    void put(const std::string& folder, const std::string& name, const Bytes& bytes)
    {
        testfiles::writeFile(root + "/" + folder + "/" + name, asString(bytes));
    }
    // A 1 x 1 24-bit TGA of one grey level.
    static Bytes pixel(std::uint8_t v) { return makeTga(2, 1, 1, 24, {v, v, v}); }
    static int red(Texture* t) { return static_cast<ImageTexture*>(t)->pixels[0]; }

    std::string root;
    TextureManager manager;
};

} // namespace

TEST_F(Manager, IsTheProgramWideInstanceWhileItLives)
{
    EXPECT_EQ(TextureManager::instance, &manager);
    {
        TextureManager other;
        EXPECT_EQ(TextureManager::instance, &other);
    }
    EXPECT_EQ(TextureManager::instance, nullptr);
    TextureManager::instance = &manager;
}

TEST_F(Manager, LoadFindsFilesOnTheSearchPathsInOrder)
{
    put("art", "a.tga", pixel(10));
    put("fnt", "a.tga", pixel(20));
    put("fnt", "f.tga", pixel(30));
    put("art", "LOGO.JPG", {1, 2, 3});
    put("art", "x.bmp", {1, 2, 3});
    put("art", "bad.tga", {1, 2, 3});

    EXPECT_EQ(manager.findFile("a.tga"), root + "\\art\\");
    EXPECT_EQ(manager.findFile("f.tga"), root + "\\fnt\\");
    EXPECT_EQ(manager.findFile("none.tga"), "");

    Texture* a = manager.load("a.tga", kPixelRGB, GL_TEXTURE_2D);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->name, "a.tga");
    EXPECT_EQ(red(a), 10);
    EXPECT_EQ(a->references(), 2); // the manager's and the caller's
    Texture* f = manager.load("f.tga", kPixelRGB, GL_TEXTURE_1D);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->target, GLenum(GL_TEXTURE_1D));

    // Found on disk but no reader for the upper-case extension; readers that refuse; a reader
    // that fails; unknown targets; files on no search path.
    EXPECT_FALSE(manager.load("LOGO.JPG", kPixelRGB, GL_TEXTURE_2D));
    EXPECT_FALSE(manager.load("x.bmp", kPixelRGB, GL_TEXTURE_2D));
    EXPECT_FALSE(manager.load("bad.tga", kPixelRGB, GL_TEXTURE_2D));
    EXPECT_FALSE(manager.load("a.tga", kPixelRGB, GL_TEXTURE_3D));
    EXPECT_FALSE(manager.load("a.tga", kPixelRGB, GL_TEXTURE_CUBE_MAP_ARB));
    EXPECT_FALSE(manager.load("none.tga", kPixelRGB, GL_TEXTURE_2D));
    manager.release(a);
    manager.release(f);
}

TEST_F(Manager, FindReleaseAndTheSameFileTwice)
{
    put("art", "a.tga", pixel(1));
    put("art", "b.tga", pixel(2));
    const std::size_t builtIn = manager.textures().size();
    Texture* a = manager.load("a.tga", kPixelRGB, GL_TEXTURE_2D);
    Texture* b = manager.load("b.tga", kPixelRGB, GL_TEXTURE_2D);
    ASSERT_TRUE(a && b);
    b->alias = "a.tga";

    // Alias before name within one entry, but the first entry in list order wins.
    Texture* found = manager.find("a.tga");
    EXPECT_EQ(found, a);
    EXPECT_EQ(a->references(), 3);
    manager.release(found);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(a->references(), 2);
    EXPECT_FALSE(manager.release(found));
    EXPECT_FALSE(manager.find("c.tga"));

    // A second load of a listed file goes to the caller only; giving it back frees it.
    Texture* again = manager.load("a.tga", kPixelRGB, GL_TEXTURE_2D);
    ASSERT_TRUE(again);
    EXPECT_NE(again, a);
    EXPECT_EQ(manager.textures().size(), builtIn + 2);
    EXPECT_EQ(again->references(), 1);
    EXPECT_TRUE(manager.release(again));
    EXPECT_EQ(manager.textures().size(), builtIn + 2);
    // The same name with another alias is a different entry.
    auto* other = new ImageTexture;
    other->name = "a.tga";
    other->alias = "second";
    EXPECT_TRUE(manager.add(other));
    EXPECT_FALSE(manager.add(nullptr));
    EXPECT_EQ(manager.textures().size(), builtIn + 3);

    // Giving back the last outside reference removes and destroys the texture.
    manager.release(a);
    EXPECT_EQ(manager.textures().size(), builtIn + 2);
    Texture* stillThere = manager.find("b.tga");
    EXPECT_EQ(stillThere, b);
    manager.release(stillThere);

    // releaseByName drops one reference; detach hands the texture out of the list at zero.
    EXPECT_TRUE(manager.releaseByName("b.tga")); // the load's reference
    EXPECT_EQ(b->references(), 1);
    Texture* detached = manager.detach("b.tga");
    EXPECT_EQ(detached, b);
    EXPECT_EQ(manager.textures().size(), builtIn + 1);
    delete detached;
    EXPECT_TRUE(manager.releaseByName("second"));
    EXPECT_FALSE(manager.releaseByName("second"));
    EXPECT_EQ(manager.textures().size(), builtIn);
}

TEST_F(Manager, CubeMapsFromSixFaceFiles)
{
    for (int i = 0; i < 6; ++i)
        put("art", std::string("sky") + CubeMapTexture::kFaceSuffixes[i] + ".tga", pixel(std::uint8_t(i * 10)));
    const std::size_t before = manager.textures().size();
    Texture* sky = manager.loadCubeMap("sky.tga", kPixelRGB);
    ASSERT_TRUE(sky);
    auto* cube = static_cast<CubeMapTexture*>(sky);
    EXPECT_EQ(cube->name, "sky.tga");
    EXPECT_EQ(cube->target, GLenum(GL_TEXTURE_CUBE_MAP_ARB));
    ASSERT_TRUE(cube->complete());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(cube->face(i)->pixels[0], i * 10);
        EXPECT_EQ(cube->face(i)->references(), 2); // the manager's and the cube's
    }
    EXPECT_EQ(manager.textures().size(), before + 7);
    // Dropping the cube gives its faces back, which then go too.
    manager.release(sky);
    EXPECT_EQ(manager.textures().size(), before);

    // A missing face drops everything that was made.
    put("art", "half_pos_x.tga", pixel(1));
    EXPECT_FALSE(manager.loadCubeMap("half.tga", kPixelRGB));
    EXPECT_EQ(manager.textures().size(), before);
}

TEST_F(Manager, NormalizationCubeMapTexels)
{
    Texture* found = manager.find("NormalizationCubeMap");
    ASSERT_TRUE(found);
    auto* cube = static_cast<CubeMapTexture*>(found);
    EXPECT_EQ(cube->alias, "NormalizationCubeMap");
    EXPECT_EQ(cube->state.wrap, kWrapEdge3);
    EXPECT_EQ(cube->state.envMode, GLenum(GL_COMBINE_ARB));
    EXPECT_EQ(cube->state.combineRGB, GLenum(GL_DOT3_RGB_ARB));
    EXPECT_EQ(cube->state.sourceRGB[0], GLenum(GL_TEXTURE));
    EXPECT_EQ(cube->state.sourceRGB[1], GLenum(GL_PREVIOUS_ARB));
    ASSERT_TRUE(cube->complete());
    auto texel = [&](int face, int x, int y) {
        const ImageTexture* f = cube->face(face);
        const std::uint8_t* p = f->pixels.get() + (y * f->width + x) * 3;
        return Bytes{p[0], p[1], p[2]};
    };
    EXPECT_EQ(cube->face(0)->width, 32);
    EXPECT_EQ(cube->face(0)->name, "NormalizationCubeMap_Positive_X");
    EXPECT_EQ(texel(0, 15, 15), (Bytes{254, 131, 131}));
    EXPECT_EQ(texel(0, 0, 0), (Bytes{202, 200, 200}));
    EXPECT_EQ(texel(2, 16, 16), (Bytes{131, 254, 131}));
    // Opposite faces point the other way along their axis.
    EXPECT_EQ(texel(1, 15, 15)[0], 0);
    EXPECT_EQ(texel(3, 16, 16)[1], 0);
    EXPECT_EQ(texel(4, 16, 16)[2], 254);
    EXPECT_EQ(texel(5, 15, 16)[2], 0);

    // A second build finds its faces listed and doesn't refill them.
    cube->face(0)->pixels[0] = 7;
    const std::size_t count = manager.textures().size();
    manager.createNormalizationCubeMap(32);
    EXPECT_EQ(cube->face(0)->pixels[0], 7);
    EXPECT_EQ(manager.textures().size(), count);

    // Like every texture, it goes with the last outside reference, faces and all.
    manager.release(found);
    EXPECT_EQ(manager.textures().size(), count - 7);
}

TEST(TextureFamily, PixelTypesAndPacking)
{
    EXPECT_EQ(pixelTypeInfo(99).bytesPerPixel, 0);
    EXPECT_EQ(bytesPerPixel2D(kPixelUnassigned, 3), 3);
    EXPECT_EQ(bytesPerPixel2D(kPixelBGR, 0), 3);
    EXPECT_EQ(bytesPerPixel1D3D(kPixelBGR, 0), 0);
    EXPECT_EQ(bytesPerPixel1D3D(kPixelLuminanceAlpha, 0), 2);
    EXPECT_EQ(compressedImageSize(kPixelDXT1, 4, 4), 8u);
    EXPECT_EQ(compressedImageSize(kPixelDXT1, 5, 5), 32u);
    EXPECT_EQ(compressedImageSize(kPixelDXT5, 5, 4), 32u);

    ImageTexture t;
    ASSERT_TRUE(t.allocateImage(2, 1, kPixelRGBA));
    EXPECT_FALSE(t.allocateImage(4, 4, kPixelRGB)); // only when no buffer is held
    t.setPixel(0x11223344u, 1, 0);
    EXPECT_EQ(pixelsOf(t), (Bytes{0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44}));
    ImageTexture rgb, la, one, bgr;
    rgb.allocateImage(1, 1, kPixelRGB);
    rgb.setPixel(0xAA112233u, 0, 0);
    EXPECT_EQ(pixelsOf(rgb), (Bytes{0x11, 0x22, 0x33}));
    la.allocateImage(1, 1, kPixelLuminanceAlpha);
    la.setPixel(0x1234u, 0, 0);
    EXPECT_EQ(pixelsOf(la), (Bytes{0x12, 0x34}));
    one.allocateImage(1, 1, kPixelAlpha);
    one.setPixel(0x1234u, 0, 0);
    EXPECT_EQ(pixelsOf(one), (Bytes{0x34}));
    bgr.allocateImage(1, 1, kPixelBGR);
    bgr.setPixel(0x112233u, 0, 0);
    EXPECT_EQ(pixelsOf(bgr), (Bytes{0, 0, 0}));

    ImageTexture adopted;
    EXPECT_FALSE(adopted.setImage(1, 1, kPixelRGB, nullptr));
    auto* data = new std::uint8_t[3]{1, 2, 3};
    EXPECT_TRUE(adopted.setImage(1, 1, kPixelRGB, data));
    EXPECT_EQ(adopted.pixels.get(), data);
}
