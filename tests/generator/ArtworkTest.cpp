// The generated pictures and the console font, read back through the show's own texture
// manager and readers: sizes, formats, where the lettering lies, the font's glyph grid, and
// that two runs write the same bytes.
#include "Artwork.h"
#include "FontAtlas.h"
#include "TestFiles.h"
#include "TypeSetter.h"
#include "texture/TextureManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

// One generated data folder for the whole program: writing it is what the tests examine.
const std::string& generatedShow()
{
    static const std::string dir = [] {
        const std::string d = testfiles::tempDir("art");
        std::string error;
        EXPECT_TRUE(artwork::write(d, false, error)) << error;
        EXPECT_TRUE(fontatlas::write(d, false, error)) << error;
        return d;
    }();
    return dir;
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A texture manager that reads from the generated folder as the show does.
class GeneratedTextures : public ::testing::Test {
protected:
    void SetUp() override
    {
        textures = std::make_unique<TextureManager>();
        textures->createDefaults();
        textures->addSearchPath(generatedShow() + "/data/art/");
        textures->addSearchPath(generatedShow() + "/data/fnt/");
    }

    // Loads `name` as `pixelType` and keeps it for the test.
    ImageTexture* load(const std::string& name, int pixelType)
    {
        Texture* t = textures->load(name, pixelType, GL_TEXTURE_2D);
        return dynamic_cast<ImageTexture*>(t);
    }

    static const std::uint8_t* texel(const ImageTexture& t, int x, int y)
    {
        return t.pixels.get() + (std::size_t(y) * std::size_t(t.width) + std::size_t(x)) * std::size_t(t.bytesPerPixel);
    }

    // Largest alpha (RGBA textures) or brightest channel inside a box.
    static int peak(const ImageTexture& t, int x0, int y0, int x1, int y1, int channel)
    {
        int best = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                best = std::max(best, int(texel(t, x, y)[channel]));
        return best;
    }

    std::unique_ptr<TextureManager> textures;
};

} // namespace

TEST_F(GeneratedTextures, EveryPictureLoadsThroughItsReaderAtItsSize)
{
    for (const artwork::Picture& picture : artwork::pictures()) {
        const std::string name = std::filesystem::path(picture.path).filename().string();
        const bool opaque = name.ends_with(".jpg");
        ImageTexture* t = load(name, opaque ? 8 : 9);
        ASSERT_NE(t, nullptr) << name;
        EXPECT_EQ(t->width, picture.width) << name;
        EXPECT_EQ(t->height, picture.height) << name;
        // Something is drawn: a picture that came out empty or black is a fault.
        EXPECT_GT(peak(*t, 0, 0, t->width, t->height, opaque ? 0 : 3), 100) << name;
    }
}

TEST_F(GeneratedTextures, LettersSitInTheirRegionsOnClear)
{
    using namespace artwork::layout;
    ImageTexture* title = load("title.png", 9);
    ASSERT_NE(title, nullptr);
    // Sharp title: solid strokes; blurred title: softer but present; the right part and the
    // gap between regions clear, so TexRect picks never drag neighbours in.
    EXPECT_EQ(peak(*title, 0, kSharpY, kTitleRegionW, kSharpY + kTitleRegionH, 3), 255);
    EXPECT_GT(peak(*title, 0, kSubtitleY, kTitleRegionW, kSubtitleY + kSubtitleH, 3), 200);
    const int blurPeak = peak(*title, 0, kBlurY, kTitleRegionW, kBlurY + kTitleRegionH, 3);
    EXPECT_GT(blurPeak, 150);
    EXPECT_EQ(peak(*title, kTitleRegionW, 0, kTitleWidth, kTitleHeight, 3), 0);
    EXPECT_EQ(peak(*title, 0, kSubtitleY + kSubtitleH, kTitleRegionW, kBlurY, 3), 0);
    EXPECT_EQ(peak(*title, 0, kBlurY + kTitleRegionH, kTitleRegionW, kTitleHeight, 3), 0);

    ImageTexture* credits = load("credits.png", 9);
    ASSERT_NE(credits, nullptr);
    const int rowTops[] = {kCreditTitleH, kCreditTitleH + kCreditRowH, kCreditTitleH + 2 * kCreditRowH,
                           kCreditTitleH + 3 * kCreditRowH, kCreditTitleH + 4 * kCreditRowH};
    for (int top : rowTops)
        EXPECT_GT(peak(*credits, 0, top, kTitleRegionW, top + kCreditRowH, 3), 200) << "row at " << top;
    // No lettering runs past the 640 texels the effect script shows of each row.
    EXPECT_EQ(peak(*credits, kTitleRegionW, 0, kCreditsWidth, kCreditsHeight, 3), 0);
}

TEST_F(GeneratedTextures, InterludeRowsAreSeparateAndTheVeilTiles)
{
    using namespace artwork::layout;
    ImageTexture* lettering = load("interlude.png", 9);
    ASSERT_NE(lettering, nullptr);
    // Each row the timeline picks holds lettering, and nothing spills into the next row or past
    // the 640 texels a row is shown by, so tiles and TexRect picks stay clean.
    const int rows[][2] = {{kHeadingY, kHeadingH}, {kLineY, kLineH}, {kMarkY, kMarkH}};
    for (const auto& row : rows) {
        EXPECT_GT(peak(*lettering, 0, row[0] + 2, kTitleRegionW, row[0] + row[1] - 2, 3), 150) << row[0];
        EXPECT_EQ(peak(*lettering, 0, row[0], kTitleRegionW, row[0] + 1, 3), 0) << row[0];
    }
    EXPECT_EQ(peak(*lettering, 0, kMarkY + kMarkH, kTitleRegionW, kInterludeHeight, 3), 0);
    EXPECT_EQ(peak(*lettering, kTitleRegionW, 0, kInterludeWidth, kInterludeHeight, 3), 0);

    // The tunnel repeats the veil round and along its walls: opposite edges must meet without a
    // step, far closer than the picture varies inside.
    ImageTexture* veil = load("veil.jpg", 8);
    ASSERT_NE(veil, nullptr);
    auto step = [&](int x0, int y0, int x1, int y1) {
        int sum = 0;
        for (int c = 0; c < 3; ++c)
            sum += std::abs(int(texel(*veil, x0, y0)[c]) - int(texel(*veil, x1, y1)[c]));
        return sum;
    };
    const int n = kVeilSize - 1;
    long across = 0, along = 0, inside = 0;
    for (int i = 0; i < kVeilSize; ++i) {
        across += step(n, i, 0, i);
        along += step(i, n, i, 0);
        inside += step(i, 64, (i + 37) % kVeilSize, 170);
    }
    EXPECT_LT(across * 4, inside);
    EXPECT_LT(along * 4, inside);
    // Night violet on the whole, with copper filaments bright enough to read in the tunnel.
    EXPECT_GT(peak(*veil, 0, 0, kVeilSize, kVeilSize, 0), 200);
}

TEST_F(GeneratedTextures, LoadingPictureIsATitledNightScene)
{
    ImageTexture* picture = load("loading.jpg", 8);
    ASSERT_NE(picture, nullptr);
    // Dark corners, a bright title band: rows 300-350 hold the lettering.
    for (int corner : {0, 1}) {
        const std::uint8_t* p = texel(*picture, corner ? picture->width - 1 : 0, 0);
        EXPECT_LT(p[0] + p[1] + p[2], 90);
    }
    EXPECT_GT(peak(*picture, 100, 300, 540, 350, 0), 200);
    EXPECT_GT(peak(*picture, 100, 300, 540, 350, 1), 200);
}

TEST_F(GeneratedTextures, ConsoleFontFollowsTheGlyphGrid)
{
    using namespace fontatlas;
    ImageTexture* font = load("confont.tga", 9);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->width, 256);
    ASSERT_EQ(font->height, 256);
    auto cellPeak = [&](int c, int x0, int y0, int x1, int y1) {
        return peak(*font, cellX(c) + x0, cellY(c) + y0, cellX(c) + x1, cellY(c) + y1, 3);
    };
    // "0" is glyph 15: column 15 of row 0; "A" is glyph 32: column 0 of row 2.
    EXPECT_EQ(cellX('0'), 240);
    EXPECT_EQ(cellY('0'), 0);
    EXPECT_EQ(cellX('A'), 0);
    EXPECT_EQ(cellY('A'), 48);
    EXPECT_GT(cellPeak('0', 0, 0, 16, 24), 200);
    EXPECT_GT(cellPeak('A', 0, 0, 16, 24), 200);
    // Every printable character has ink, and every cell's outer ring is clear, so quads never
    // pick up a neighbour and the blank (drawn from outside the grid) comes out empty.
    for (int c = kFirst; c <= kLast; ++c) {
        EXPECT_GT(cellPeak(c, 0, 0, 16, 24), 100) << char(c);
        EXPECT_EQ(cellPeak(c, 0, 0, 16, 1), 0) << char(c);
        EXPECT_EQ(cellPeak(c, 0, 23, 16, 24), 0) << char(c);
        EXPECT_EQ(cellPeak(c, 0, 0, 1, 24), 0) << char(c);
        EXPECT_EQ(cellPeak(c, 15, 0, 16, 24), 0) << char(c);
    }
    // Upright: texture row 0 is the top of a glyph ('^' inks the top half only, '_' the bottom).
    EXPECT_GT(cellPeak('^', 0, 0, 16, 12), 200);
    EXPECT_EQ(cellPeak('^', 0, 14, 16, 24), 0);
    EXPECT_GT(cellPeak('_', 0, 12, 16, 24), 200);
    EXPECT_EQ(cellPeak('_', 0, 0, 16, 12), 0);
    // Glyphs are white; the colour comes from whoever draws them.
    const std::uint8_t* ink = texel(*font, cellX('H') + 4, cellY('H') + 12);
    EXPECT_EQ(ink[0], 255);
    EXPECT_EQ(ink[1], 255);
    EXPECT_EQ(ink[2], 255);
    // Nothing beyond '~': the rows below the last used one are clear.
    EXPECT_EQ(peak(*font, 0, cellY(kLast) + kCellHeight, 256, 256, 3), 0);
}

TEST(Generator, TwoRunsWriteTheSameBytes)
{
    const std::string again = testfiles::tempDir("art-again");
    std::string error;
    ASSERT_TRUE(artwork::write(again, false, error)) << error;
    ASSERT_TRUE(fontatlas::write(again, false, error)) << error;
    std::vector<std::string> files;
    for (const artwork::Picture& p : artwork::pictures())
        files.push_back(p.path);
    files.push_back(fontatlas::kFile);
    for (const std::string& f : files) {
        const std::string a = fileBytes(generatedShow() + "/" + f), b = fileBytes(again + "/" + f);
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == b) << f << " differs between runs";
    }
}

TEST(Generator, MissingFontIsAClearError)
{
    TypeSetter missing("/nonexistent/font.ttf", 12);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("/nonexistent/font.ttf"), std::string::npos);
    EXPECT_EQ(missing.measure("text"), 0);
}
