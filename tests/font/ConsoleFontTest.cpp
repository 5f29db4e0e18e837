// The console font: the glyph grid, where print puts its quads and what begin2D/end2D leave
// behind, drawn on a real GL context with a font texture whose one glyph is known.
#include "font/ConsoleFont.h"
#include "font/DisplayListFont.h"
#include "font/FontRegistry.h"
#include "texture/TextureManager.h"
#include "GLFixture.h"

namespace {

using testgl::readPixel;

TEST(ConsoleFontGrid, CellsFollowTheSixteenColumnGrid)
{
    const auto zero = ConsoleFont::cell('0'); // glyph 15: column 15, row 0
    EXPECT_FLOAT_EQ(zero.s0, 0.9375f);
    EXPECT_FLOAT_EQ(zero.s1, 1.0f);
    EXPECT_FLOAT_EQ(zero.t0, 0.0f);
    EXPECT_FLOAT_EQ(zero.t1, 0.09375f);
    const auto a = ConsoleFont::cell('A'); // glyph 32: column 0, row 2
    EXPECT_FLOAT_EQ(a.s0, 0.0f);
    EXPECT_FLOAT_EQ(a.t0, 0.1875f);
    EXPECT_FLOAT_EQ(a.t1, 0.28125f);
    // Codes below 33, and bytes above 127 taken as signed, fall outside the grid.
    const auto blank = ConsoleFont::cell(' ');
    EXPECT_FLOAT_EQ(blank.s0, -0.0625f);
    EXPECT_FLOAT_EQ(blank.s1, 0.0f);
    EXPECT_FLOAT_EQ(blank.t0, 0.0f);
    EXPECT_LT(ConsoleFont::cell(char(200)).s1, 0.0f);
    for (int c = 33; c < 128; ++c)
        EXPECT_LE(ConsoleFont::cell(char(c)).s1, 1.0f) << c;
}

TEST(FontRegistryTest, FindsByExactNameOnly)
{
    FontRegistry registry;
    EXPECT_EQ(FontRegistry::instance, &registry);
    EXPECT_EQ(registry.find("Arial"), nullptr);
    std::array<DisplayListFont::GlyphMetrics, 256> metrics{};
    metrics['a'].cellIncrementX = 7.5f;
    metrics['b'].cellIncrementX = 2.0f;
    registry.add(std::make_unique<DisplayListFont>("Arial", 0, metrics));
    ASSERT_NE(registry.find("Arial"), nullptr);
    EXPECT_EQ(registry.find("Arial "), nullptr);
    EXPECT_EQ(registry.find("arial"), nullptr);
    EXPECT_FLOAT_EQ(registry.find("Arial")->textWidth("aab"), 17.0f);
}

class ConsoleFontTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        // Transparent everywhere but the cell of 'A': red upper half, blue lower half.
        auto* t = new ImageTexture;
        t->name = "font.tga";
        t->alias = "confont";
        t->allocateImage(256, 256, 9);
        for (int y = 48; y < 72; ++y)
            for (int x = 0; x < 16; ++x)
                t->setPixel(y < 60 ? 0xFF0000FF : 0x0000FFFF, x, y);
        t->state.minFilter = GL_NEAREST;
        t->state.magFilter = GL_NEAREST;
        ASSERT_TRUE(textures.add(t));
        texture = t;
    }

    TextureManager textures;
    Texture* texture = nullptr;
};

TEST_F(ConsoleFontTest, LoadsConfontAndGivesItBack)
{
    // A second holder keeps the texture loaded when the font gives its reference back.
    Texture* keep = textures.find("font.tga");
    ConsoleFont font;
    EXPECT_EQ(ConsoleFont::instance, &font);
    EXPECT_TRUE(font.load());
    EXPECT_EQ(texture->references(), 3);
    EXPECT_TRUE(font.load()); // already held: no second reference
    EXPECT_EQ(texture->references(), 3);
    font.release();
    EXPECT_FALSE(font.isLoaded());
    EXPECT_EQ(texture->references(), 2);
    {
        ConsoleFont held;
        EXPECT_TRUE(held.load());
    }
    EXPECT_EQ(texture->references(), 2);
    EXPECT_EQ(ConsoleFont::instance, nullptr);
    textures.release(keep);
}

TEST_F(ConsoleFontTest, PrintPlacesGlyphsFifteenUnitsApart)
{
    ConsoleFont font;
    ASSERT_TRUE(font.load());
    glColor4f(1, 1, 1, 1);
    font.begin2D();
    font.printAt(100, 200, "%c%c%c", 'B', 'A', 'B');
    font.end2D();
    // 'A' is the second glyph: x 115..131, y 200..221, top half red.
    EXPECT_PIXEL_NEAR(readPixel(122, 216), 255, 0, 0, 2);
    EXPECT_PIXEL_NEAR(readPixel(122, 203), 0, 0, 255, 2);
    EXPECT_PIXEL_NEAR(readPixel(108, 210), 0, 0, 0, 2);
    EXPECT_PIXEL_NEAR(readPixel(140, 210), 0, 0, 0, 2);
    EXPECT_PIXEL_NEAR(readPixel(122, 224), 0, 0, 0, 2);
    // The colour tints the glyphs.
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(0, 0, 1, 1);
    font.begin2D();
    font.print(0, 0, "A");
    font.end2D();
    EXPECT_PIXEL_NEAR(readPixel(8, 3), 0, 0, 255, 2);
    EXPECT_PIXEL_NEAR(readPixel(8, 18), 0, 0, 0, 2);
}

TEST_F(ConsoleFontTest, Begin2DAndEnd2DRestoreTheCallersState)
{
    ConsoleFont font;
    font.load();
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(3, 4, 5);
    glEnable(GL_DEPTH_TEST);
    font.begin2D();
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_FALSE);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    font.end2D();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 3.0f);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

// The glyphs as display lists: one unit per character, "A" red over blue, the blank only an
// advance, and the caller's state (blending, texturing, depth writes, culling) as it was.
TEST_F(ConsoleFontTest, ListFontSetsGlyphsOneUnitApartAndRestoresState)
{
    ConsoleFont font;
    ASSERT_TRUE(font.load());
    std::unique_ptr<DisplayListFont> lists = font.makeListFont("confont");
    ASSERT_NE(lists, nullptr);
    EXPECT_EQ(lists->name, "confont");
    EXPECT_FLOAT_EQ(lists->textWidth("A A"), 3.0f);
    EXPECT_FLOAT_EQ(lists->metrics[' '].blackBoxWidth, 0.0f);
    EXPECT_FLOAT_EQ(lists->metrics['A'].blackBoxHeight, 21.0f / 15.0f);

    // 15 pixels per unit from (30, 60): the 'A' after "B " starts at x = 60.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(30, 60, 0);
    glScalef(15, 15, 15);
    glEnable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    lists->drawText("B A");
    EXPECT_PIXEL_NEAR(readPixel(68, 76), 255, 0, 0, 2);
    EXPECT_PIXEL_NEAR(readPixel(68, 63), 0, 0, 255, 2);
    EXPECT_PIXEL_NEAR(readPixel(52, 70), 0, 0, 0, 2);
    EXPECT_PIXEL_NEAR(readPixel(80, 70), 0, 0, 0, 2);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    // The lists moved the model-view on by three characters.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 30.0f + 45.0f);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    // Without the texture there are no glyphs to make lists of.
    font.release();
    EXPECT_EQ(font.makeListFont("confont"), nullptr);
}

TEST_F(ConsoleFontTest, WithoutConfontNothingIsHeld)
{
    TextureManager empty;
    ConsoleFont font;
    EXPECT_FALSE(font.load());
    EXPECT_FALSE(font.isLoaded());
    font.begin2D();
    font.print(0, 0, "AAAA");
    font.end2D();
    EXPECT_PIXEL_NEAR(readPixel(8, 8), 0, 0, 0, 0);
}

} // namespace
