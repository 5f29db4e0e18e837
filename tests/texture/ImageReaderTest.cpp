// The image readers against files made by other programs and against hand-built edge cases.
#include "texture/CtxReader.h"
#include "texture/CtxWriter.h"
#include "texture/ImageReader.h"
#include "texture/JpegReader.h"
#include "texture/PngReader.h"
#include "texture/TgaReader.h"

#include "platform/MessageBox.h"

#include "TestFiles.h"
#include "TextureTestUtil.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

using namespace texturetest;

namespace {

// Whole-picture checksums of an independent decoder's output (8-bit R, G, B and, where the file
// has alpha or transparency, A; rows top first; 16-bit samples cut to their high byte).
struct Reference {
    const char* file;
    int width, height, channels;
    std::uint64_t checksum;
};
const Reference kReferences[] = {
    {"png/basn0g01.png", 32, 32, 3, 0x16a22971f6e37aa3ull},
    {"png/basn0g02.png", 32, 32, 3, 0x2e766409b1ffd325ull},
    {"png/basn0g04.png", 32, 32, 3, 0x9c902896caa85aa5ull},
    {"png/basn0g08.png", 32, 32, 3, 0x2baa095f16b61881ull},
    {"png/basn0g16.png", 32, 32, 3, 0x662cf84069eb1c09ull},
    {"png/basn2c08.png", 32, 32, 3, 0x20362d9a3ff2e125ull},
    {"png/basn2c16.png", 32, 32, 3, 0x51c143bea37a5cb5ull},
    {"png/basn3p01.png", 32, 32, 3, 0xf193525f5d1a3b25ull},
    {"png/basn3p02.png", 32, 32, 3, 0x36b37a2644408625ull},
    {"png/basn3p04.png", 32, 32, 3, 0x0908649a6b34bb05ull},
    {"png/basn3p08.png", 32, 32, 3, 0x028ba631a921e8c5ull},
    {"png/basn4a08.png", 32, 32, 4, 0x4b4e70fc7720494dull},
    {"png/basn4a16.png", 32, 32, 4, 0x8c09f25148b55145ull},
    {"png/basn6a08.png", 32, 32, 4, 0xf9ed41b6375b125dull},
    {"png/basn6a16.png", 32, 32, 4, 0x1c3a480c49c2c715ull},
    {"png/ftbbn0g01.png", 32, 32, 4, 0x375832c5d544f7a1ull},
    {"png/ftbbn0g02.png", 32, 32, 4, 0xa515a0f40cc67686ull},
    {"png/ftbbn0g04.png", 32, 32, 4, 0x39883b6d2d852264ull},
    {"png/ftbbn2c16.png", 32, 32, 4, 0x1e1f86e420f8ad04ull},
    {"png/ftbbn3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/ftbgn2c16.png", 32, 32, 4, 0x1e1f86e420f8ad04ull},
    {"png/ftbgn3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/ftbrn2c08.png", 32, 32, 4, 0x1e1f86e420f8ad04ull},
    {"png/ftbwn0g16.png", 32, 32, 4, 0xa8a3104b5c72067eull},
    {"png/ftbwn3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/ftbyn3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/ftp0n0g08.png", 32, 32, 3, 0x5bbdf96013aceffeull},
    {"png/ftp0n2c08.png", 32, 32, 3, 0xa64ba09becb56ab7ull},
    {"png/ftp0n3p08.png", 32, 32, 3, 0xab71151ace2b5297ull},
    {"png/ftp1n3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/ibasn0g01.png", 32, 32, 3, 0x16a22971f6e37aa3ull},
    {"png/ibasn0g02.png", 32, 32, 3, 0x2e766409b1ffd325ull},
    {"png/ibasn0g04.png", 32, 32, 3, 0x9c902896caa85aa5ull},
    {"png/ibasn0g08.png", 32, 32, 3, 0x2baa095f16b61881ull},
    {"png/ibasn0g16.png", 32, 32, 3, 0x662cf84069eb1c09ull},
    {"png/ibasn2c08.png", 32, 32, 3, 0x20362d9a3ff2e125ull},
    {"png/ibasn2c16.png", 32, 32, 3, 0x51c143bea37a5cb5ull},
    {"png/ibasn3p01.png", 32, 32, 3, 0xf193525f5d1a3b25ull},
    {"png/ibasn3p02.png", 32, 32, 3, 0x36b37a2644408625ull},
    {"png/ibasn3p04.png", 32, 32, 3, 0x0908649a6b34bb05ull},
    {"png/ibasn3p08.png", 32, 32, 3, 0x028ba631a921e8c5ull},
    {"png/ibasn4a08.png", 32, 32, 4, 0x4b4e70fc7720494dull},
    {"png/ibasn4a16.png", 32, 32, 4, 0x8c09f25148b55145ull},
    {"png/ibasn6a08.png", 32, 32, 4, 0xf9ed41b6375b125dull},
    {"png/ibasn6a16.png", 32, 32, 4, 0x1c3a480c49c2c715ull},
    {"png/iftbbn0g01.png", 32, 32, 4, 0x375832c5d544f7a1ull},
    {"png/iftbbn0g02.png", 32, 32, 4, 0xa515a0f40cc67686ull},
    {"png/iftbbn0g04.png", 32, 32, 4, 0x39883b6d2d852264ull},
    {"png/iftbbn2c16.png", 32, 32, 4, 0x1e1f86e420f8ad04ull},
    {"png/iftbbn3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/iftbgn2c16.png", 32, 32, 4, 0x1e1f86e420f8ad04ull},
    {"png/iftbgn3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/iftbrn2c08.png", 32, 32, 4, 0x1e1f86e420f8ad04ull},
    {"png/iftbwn0g16.png", 32, 32, 4, 0xa8a3104b5c72067eull},
    {"png/iftbwn3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/iftbyn3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"png/iftp0n0g08.png", 32, 32, 3, 0x5bbdf96013aceffeull},
    {"png/iftp0n2c08.png", 32, 32, 3, 0xa64ba09becb56ab7ull},
    {"png/iftp0n3p08.png", 32, 32, 3, 0xab71151ace2b5297ull},
    {"png/iftp1n3p08.png", 32, 32, 4, 0x6cdff609c65aac37ull},
    {"tga/Concrete.tga", 256, 512, 4, 0xba51cfb72ded67c1ull},
    {"tga/bottom.tga", 256, 256, 3, 0x4f5108ede9b8da98ull},
    {"tga/duckCM.tga", 512, 512, 3, 0xc493e4c705d82038ull},
    {"tga/holygrail.tga", 256, 512, 4, 0xba51cfb72ded67c1ull},
    {"tga/top.tga", 256, 256, 3, 0x3150b6496b919b0cull},
    {"tga/updown.tga", 256, 256, 3, 0x3ad33640d8808a56ull},
    {"tga/raw24_basn2c08.tga", 32, 32, 3, 0x820578b6da2aa39dull},
    {"tga/rle24_basn2c08.tga", 32, 32, 3, 0x820578b6da2aa39dull},
    {"tga/rle32_basn6a08.tga", 32, 32, 4, 0xbfe92e79e799fa1dull},
    {"tga/pal8_basn3p08.tga", 32, 32, 3, 0x00caa29e75035d0dull},
    {"tga/palrle8_basn3p08.tga", 32, 32, 3, 0x00caa29e75035d0dull},
};

std::unique_ptr<ImageTexture> read2D(ImageReader& reader, const std::string& file, int type)
{
    return reader.read2D(testfiles::corpus(file), type);
}

// Captures message boxes instead of printing them.
class Boxes {
public:
    Boxes()
    {
        platform::setMessageBoxHeadless(true);
        platform::setMessageBoxListener(
            [this](const std::string& title, const std::string& text) { shown.push_back(title + ": " + text); });
    }
    ~Boxes() { platform::setMessageBoxListener(nullptr); }
    std::vector<std::string> shown;
};

std::string writeTemp(const std::string& name, const Bytes& bytes)
{
    const std::string path = testfiles::tempDir("tex") + "/" + name;
    testfiles::writeFile(path, asString(bytes));
    return path;
}

} // namespace

TEST(ImageReaders, CorpusPicturesDecodeToTheReferencePixels)
{
    PngReader png;
    TgaReader tga;
    for (const Reference& r : kReferences) {
        SCOPED_TRACE(r.file);
        const std::string file = r.file;
        ImageReader& reader = file.ends_with(".png") ? static_cast<ImageReader&>(png) : tga;
        auto t = read2D(reader, file, r.channels == 4 ? kPixelRGBA : kPixelRGB);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->width, r.width);
        EXPECT_EQ(t->height, r.height);
        EXPECT_EQ(fnv1a(t->pixels.get(), t->imageBytes()), r.checksum);
    }
}

TEST(ImageReaders, InterlacedPngsMatchTheirPlainTwins)
{
    PngReader png;
    for (const char* name : {"basn0g01", "basn0g16", "basn2c16", "basn3p02", "basn4a16",
                             "basn6a08", "ftbrn2c08", "ftp1n3p08"}) {
        SCOPED_TRACE(name);
        auto plain = read2D(png, std::string("png/") + name + ".png", kPixelRGBA);
        auto interlaced = read2D(png, std::string("png/i") + name + ".png", kPixelRGBA);
        ASSERT_TRUE(plain && interlaced);
        EXPECT_EQ(pixelsOf(*plain), pixelsOf(*interlaced));
    }
}

// The PngSuite files carry a gamma of 1.0; the program that wrote the TGA and JPEG variants
// turned their samples into sRGB, so the variants hold the PNG's samples through that curve.
int toSrgb(int linear)
{
    const double v = linear / 255.0;
    const double s = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return int(std::lround(s * 255));
}

// Mean absolute difference of `a` from `png` (same size, `channels` bytes a pixel) with every
// colour sample of `png` through the sRGB curve; `flip` compares a's row r with png's last-but-r.
double differenceFromSource(const ImageTexture& a, const ImageTexture& png, bool flip, int* worst)
{
    const int channels = a.bytesPerPixel;
    double total = 0;
    *worst = 0;
    for (int y = 0; y < a.height; ++y) {
        const std::uint8_t* row = a.pixels.get() + std::size_t(y) * a.width * channels;
        const std::uint8_t* src = png.pixels.get() + std::size_t(flip ? a.height - 1 - y : y) * a.width * channels;
        for (int i = 0; i < a.width * channels; ++i) {
            const int expected = (channels == 4 && i % 4 == 3) ? src[i] : toSrgb(src[i]);
            const int d = std::abs(int(row[i]) - expected);
            total += d;
            *worst = std::max(*worst, d);
        }
    }
    return total / double(a.imageBytes());
}

TEST(ImageReaders, ImageMagickTgasMatchTheirPngSources)
{
    PngReader png;
    TgaReader tga;
    // The colour-mapped variants got a rebuilt colour map, a few levels off.
    const std::tuple<const char*, const char*, int> pairs[] = {
        {"tga/raw24_basn2c08.tga", "png/basn2c08.png", 1},
        {"tga/rle24_basn2c08.tga", "png/basn2c08.png", 1},
        {"tga/rle32_basn6a08.tga", "png/basn6a08.png", 1},
        {"tga/pal8_basn3p08.tga", "png/basn3p08.png", 4},
        {"tga/palrle8_basn3p08.tga", "png/basn3p08.png", 4},
    };
    for (auto [tgaFile, pngFile, tolerance] : pairs) {
        SCOPED_TRACE(tgaFile);
        const int type = std::string(tgaFile).find("32") != std::string::npos ? kPixelRGBA : kPixelRGB;
        auto a = read2D(tga, tgaFile, type);
        auto b = read2D(png, pngFile, type);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(a->imageBytes(), b->imageBytes());
        // Their writer stored the top row first but marked the files bottom-up, so read the way
        // the header says they come out upside down.
        int worst = 0;
        differenceFromSource(*a, *b, true, &worst);
        EXPECT_LE(worst, tolerance);
    }
    // Grey TGAs decode to the same grey levels but make no texture.
    for (const char* grey : {"tga/grey8_basn0g08.tga", "tga/greyrle8_basn0g08.tga"}) {
        SCOPED_TRACE(grey);
        const std::string bytes = testfiles::readFile(testfiles::corpus(grey));
        DecodedImage image;
        ASSERT_EQ(decodeTga(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image),
                  TgaResult::Ok);
        ASSERT_EQ(image.channels, 1);
        auto source = read2D(png, "png/basn0g08.png", kPixelRed);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_NEAR(image.row(y)[x], toSrgb(source->pixels[y * 32 + x]), 1);
        EXPECT_FALSE(read2D(tga, grey, kPixelRGB));
    }
}

TEST(ImageReaders, JpegsStayCloseToTheirSources)
{
    JpegReader jpeg;
    PngReader png;
    const std::pair<const char*, const char*> pairs[] = {
        {"jpg/baseline_basn2c08.jpg", "png/basn2c08.png"},
        {"jpg/progressive_basn2c08.jpg", "png/basn2c08.png"},
        {"jpg/cmyk_basn2c08.jpg", "png/basn2c08.png"},
        {"jpg/grey_basn0g08.jpg", "png/basn0g08.png"},
    };
    for (auto [jpgFile, pngFile] : pairs) {
        SCOPED_TRACE(jpgFile);
        auto a = read2D(jpeg, jpgFile, kPixelRGB);
        auto b = read2D(png, pngFile, kPixelRGB);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(a->width, b->width);
        ASSERT_EQ(a->height, b->height);
        int worst = 0;
        EXPECT_LT(differenceFromSource(*a, *b, false, &worst), 3.0);
    }
    auto odd = read2D(jpeg, "jpg/odd_37x23.jpg", kPixelRGB);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->width, 37);
    EXPECT_EQ(odd->height, 23);
    auto line = jpeg.read1D(testfiles::corpus("jpg/odd_37x23.jpg"), kPixelRGB);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->width, 37);
    EXPECT_TRUE(std::equal(line->pixels.get(), line->pixels.get() + 37 * 3, odd->pixels.get()));
    EXPECT_FALSE(jpeg.read3D(testfiles::corpus("jpg/odd_37x23.jpg"), kPixelRGB));
}

TEST(ImageReaders, TgaPixelsRowsAndRunLengthPackets)
{
    TgaReader tga;
    // One 24-bit pixel stored B, G, R.
    auto one = tga.read2D(writeTemp("one.tga", makeTga(2, 1, 1, 24, {10, 20, 30})), kPixelRGB);
    ASSERT_TRUE(one);
    EXPECT_EQ(pixelsOf(*one), (Bytes{30, 20, 10}));
    auto oneA = tga.read2D(writeTemp("one.tga", makeTga(2, 1, 1, 24, {10, 20, 30})), kPixelRGBA);
    EXPECT_EQ(pixelsOf(*oneA), (Bytes{30, 20, 10, 255}));

    // 16-bit 0x7FFF: every channel 31 * 8; bit 15 dropped.
    auto white = tga.read2D(writeTemp("w.tga", makeTga(2, 2, 1, 16, {0xFF, 0x7F, 0xFF, 0xFF})), kPixelRGB);
    ASSERT_TRUE(white);
    EXPECT_EQ(pixelsOf(*white), (Bytes{248, 248, 248, 248, 248, 248}));

    // 2 x 2 stored bottom row first: the file's first row becomes texture row 1.
    auto square = tga.read2D(writeTemp("sq.tga", makeTga(2, 2, 2, 24, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4})),
                             kPixelRed);
    ASSERT_TRUE(square);
    EXPECT_EQ(pixelsOf(*square), (Bytes{3, 4, 1, 2}));
    // A 1D read takes the first stored row.
    auto line = tga.read1D(writeTemp("sq.tga", makeTga(2, 2, 2, 24, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4})),
                           kPixelRed);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->width, 2);
    EXPECT_EQ(line->pixels[0], 1);
    EXPECT_EQ(line->pixels[1], 2);

    // Run packet 0x83 writes its pixel four times; a raw packet then crosses into the next row
    // of a 3 x 2 picture; a last run reaching past the image end is cut.
    const Bytes rle = {0x83, 9, 9, 9, 0x00, 7, 7, 7, 0x85, 5, 5, 5};
    auto runs = tga.read2D(writeTemp("rle.tga", makeTga(10, 3, 2, 24, rle)), kPixelBlue);
    ASSERT_TRUE(runs);
    // Texture row 0 is the file's second row.
    EXPECT_EQ(pixelsOf(*runs), (Bytes{9, 7, 5, 9, 9, 9}));

    // Run-length grey and colour-mapped pictures; an index past the colour map gives black.
    const Bytes palette = {0, 0, 200, 0, 100, 0}; // red, green (B, G, R entries)
    auto indexed = tga.read2D(writeTemp("pal.tga", makeTga(9, 3, 1, 8, [&] {
                                  Bytes b = palette;
                                  b.insert(b.end(), {0x01, 1, 0, 0x80, 77});
                                  return b;
                              }(), 1, 2, 24)),
                              kPixelRGB);
    ASSERT_TRUE(indexed);
    EXPECT_EQ(pixelsOf(*indexed), (Bytes{0, 100, 0, 200, 0, 0, 0, 0, 0}));

    // A colour-mapped picture with 24- or 32-bit pixels goes by its pixel depth: the pixels are
    // colours and the map is skipped.
    for (int type : {1, 9}) {
        SCOPED_TRACE(type);
        Bytes body = palette;
        if (type == 9)
            body.push_back(0x00); // one raw pixel
        body.insert(body.end(), {10, 20, 30, 40});
        auto direct = tga.read2D(writeTemp("pal32.tga", makeTga(type, 1, 1, 32, body, 1, 2, 24)), kPixelRGBA);
        ASSERT_TRUE(direct);
        EXPECT_EQ(pixelsOf(*direct), (Bytes{30, 20, 10, 40}));
    }
}

TEST(ImageReaders, TgaFailuresShowTheirBoxesAndGiveNothing)
{
    Boxes boxes;
    TgaReader tga;
    const std::string dir = testfiles::tempDir("tgafail");
    EXPECT_FALSE(tga.read2D(dir + "/missing.tga", kPixelRGB));
    EXPECT_FALSE(tga.read2D(writeTemp("t5.tga", makeTga(5, 1, 1, 24, {1, 2, 3})), kPixelRGB));
    EXPECT_FALSE(tga.read2D(writeTemp("d15.tga", makeTga(2, 1, 1, 15, {1, 2})), kPixelRGB));
    EXPECT_FALSE(tga.read2D(writeTemp("p16.tga", makeTga(1, 1, 1, 8, {0, 0, 0}, 1, 1, 16)), kPixelRGB));
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{"TGA: File not found.",
                                                    "TGA: Unsupported image type.",
                                                    "TGA: Unsupported image depth.",
                                                    "TGA: Only 24bit paletted images are supported."}));
    boxes.shown.clear();
    // Broken files fail quietly: truncated raw data, a run-length stream that stops early, a
    // header alone, an empty picture, and a header promising more pixels than the file holds.
    EXPECT_FALSE(tga.read2D(writeTemp("short.tga", makeTga(2, 2, 2, 24, {1, 2, 3, 4, 5, 6})), kPixelRGB));
    EXPECT_FALSE(tga.read2D(writeTemp("rles.tga", makeTga(10, 4, 4, 24, {0x83, 1, 2, 3})), kPixelRGB));
    EXPECT_FALSE(tga.read2D(writeTemp("hdr.tga", Bytes(12, 0)), kPixelRGB));
    EXPECT_FALSE(tga.read2D(writeTemp("zero.tga", makeTga(2, 0, 5, 24, {})), kPixelRGB));
    EXPECT_FALSE(tga.read2D(writeTemp("huge.tga", makeTga(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4})), kPixelRGB));
    EXPECT_TRUE(boxes.shown.empty());
    // 3D textures are not made from TGA files.
    EXPECT_FALSE(tga.read3D(writeTemp("one.tga", makeTga(2, 1, 1, 24, {10, 20, 30})), kPixelRGB));
}

TEST(ImageReaders, EveryPixelTypeFromEverySource)
{
    // The same pixel R 1, G 2, B 3, A 4 as each decoder delivers it.
    struct Source {
        SampleSource source;
        int channels;
        Bytes sample;
    };
    const Source tga32{SampleSource::Tga, 4, {3, 2, 1, 4}};
    const Source tga24{SampleSource::Tga, 3, {3, 2, 1}};
    const Source png4{SampleSource::Png, 4, {1, 2, 3, 4}};
    const Source png3{SampleSource::Png, 3, {1, 2, 3}};
    const Source jpeg{SampleSource::Jpeg, 3, {1, 2, 3}};
    struct Case {
        int type;
        Bytes alpha; // expected with an alpha sample (TGA 32, PNG 4)
        Bytes opaque; // TGA 24, PNG 3
        Bytes fromJpeg;
    };
    const Case cases[] = {
        {kPixelNone, {}, {}, {}},
        {kPixelRed, {1}, {1}, {1}},
        {kPixelGreen, {2}, {2}, {2}},
        {kPixelBlue, {3}, {3}, {3}},
        {kPixelAlpha, {4}, {1}, {1}},
        {kPixelLuminance, {3}, {3}, {3}},
        {kPixelUnassigned, {}, {}, {}},
        {kPixelIntensity, {3}, {3}, {3}},
        {kPixelLuminanceAlpha, {3, 4}, {3, 1}, {1, 3}},
        {kPixelRGB, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}},
        {kPixelRGBA, {1, 2, 3, 4}, {1, 2, 3, 255}, {1, 2, 3, 255}},
        // No reader fills these: the buffer stays zeroed.
        {kPixelBGRA, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {kPixelBGR, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        {kPixelDXT1, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {kPixelDXT5, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::pair<const Source*, const Bytes*> checks[] = {
            {&tga32, &c.alpha}, {&png4, &c.alpha}, {&tga24, &c.opaque}, {&png3, &c.opaque}, {&jpeg, &c.fromJpeg}};
        for (auto [source, expected] : checks) {
            DecodedImage image;
            image.width = image.height = 1;
            image.channels = source->channels;
            image.source = source->source;
            image.samples = source->sample;
            auto t = makeTexture2D(image, c.type, false);
            ASSERT_TRUE(t);
            EXPECT_EQ(pixelsOf(*t), *expected);
        }
    }
}

TEST(ImageReaders, CtxRoundTripCompressedAndPlain)
{
    const std::string dir = testfiles::tempDir("ctx");
    ImageTexture picture;
    picture.allocateImage(2, 2, kPixelRGB);
    for (int i = 0; i < 12; ++i)
        picture.pixels[i] = std::uint8_t(i * 20 + 1);
    CtxWriter writer;
    CtxReader reader;
    ASSERT_TRUE(writer.write2D(dir + "/pic.ctx", picture));
    const std::string stored = testfiles::readFile(dir + "/pic.ctx");
    ASSERT_GE(stored.size(), 2u);
    EXPECT_EQ(std::uint8_t(stored[0]), 0x1f); // a gzip stream
    EXPECT_EQ(std::uint8_t(stored[1]), 0x8b);

    // The uncompressed stream: 28 header bytes and exactly 12 pixel bytes.
    gzFile gz = gzopen((dir + "/pic.ctx").c_str(), "rb");
    std::string plain(256, '\0');
    plain.resize(std::size_t(gzread(gz, plain.data(), unsigned(plain.size()))));
    gzclose(gz);
    ASSERT_EQ(plain.size(), 40u);
    EXPECT_EQ(plain.substr(0, 4), "CTX ");
    EXPECT_EQ(plain[4], char(GL_TEXTURE_2D & 0xFF));
    EXPECT_EQ(plain[8], char(kPixelRGB));
    EXPECT_EQ(plain[24], 3);

    for (const std::string& file : {dir + "/pic.ctx", dir + "/plain.ctx"}) {
        testfiles::writeFile(dir + "/plain.ctx", plain);
        auto back = reader.read2D(file, kPixelRGBA); // the stored pixel type wins
        ASSERT_TRUE(back);
        EXPECT_EQ(back->pixelType, kPixelRGB);
        EXPECT_EQ(back->width, 2);
        EXPECT_EQ(back->height, 2);
        EXPECT_EQ(pixelsOf(*back), pixelsOf(picture));
    }

    Texture3D volume;
    volume.allocateImage(2, 3, 4, kPixelLuminanceAlpha);
    for (std::size_t i = 0; i < volume.imageBytes(); ++i)
        volume.pixels[i] = std::uint8_t(i);
    ASSERT_TRUE(writer.write3D(dir + "/vol.ctx", volume));
    auto vol = reader.read3D(dir + "/vol.ctx", kPixelRGB);
    ASSERT_TRUE(vol);
    EXPECT_EQ(vol->depth, 4);
    EXPECT_TRUE(std::equal(vol->pixels.get(), vol->pixels.get() + 48, volume.pixels.get()));
    // A 1D read of a deeper container takes its first row and nothing beyond.
    auto row = reader.read1D(dir + "/vol.ctx", kPixelRGB);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->width, 2);
    EXPECT_EQ(row->imageBytes(), 4u);
    EXPECT_EQ(row->pixels[3], 3);
}

TEST(ImageReaders, CtxRefusesBrokenContainers)
{
    const std::string dir = testfiles::tempDir("ctxbad");
    CtxReader reader;
    auto header = [](const char* magic, int type, int w, int h, int d, int bpp) {
        Bytes b(magic, magic + 4);
        for (int v : {int(GL_TEXTURE_2D), type, w, h, d, bpp})
            for (int i = 0; i < 4; ++i)
                b.push_back(std::uint8_t(unsigned(v) >> (8 * i)));
        return b;
    };
    auto check = [&](const Bytes& b) { return bool(reader.read2D(writeTemp("bad.ctx", b), kPixelRGB)); };
    Bytes good = header("CTX ", kPixelRGB, 1, 1, 1, 3);
    good.insert(good.end(), {1, 2, 3});
    EXPECT_TRUE(check(good));
    Bytes magic = good;
    magic[3] = 'X';
    EXPECT_FALSE(check(magic));
    EXPECT_FALSE(check(Bytes(good.begin(), good.end() - 1))); // one pixel byte short
    // Bytes per pixel that disagree with the pixel type would overrun the texture's buffer.
    Bytes wide = header("CTX ", kPixelRGB, 1, 1, 1, 4);
    wide.insert(wide.end(), {1, 2, 3, 4});
    EXPECT_FALSE(check(wide));
    EXPECT_FALSE(check(header("CTX ", kPixelRGBA, 0x7fffffff, 0x7fffffff, 0x7fffffff, 4)));
    EXPECT_FALSE(check(header("CTX ", kPixelRGBA, -1, 1, 1, 4)));
    EXPECT_FALSE(reader.read2D(dir + "/missing.ctx", kPixelRGB));
}

// A PNG of `width` x `height` pixels of `bitDepth` and `colourType`, every row filter 0 and all
// samples 0, its image data compressed at level 9, with a palette of `paletteEntries` black
// entries for colour type 3.
std::string flatPng(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                    int paletteEntries = 0)
{
    std::string out("\x89PNG\r\n\x1a\n", 8);
    auto chunk = [&](const char* type, const Bytes& data) {
        const std::uint32_t n = std::uint32_t(data.size());
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(char(n >> shift));
        std::string body(type, 4);
        body.append(data.begin(), data.end());
        out += body;
        const std::uint32_t crc = std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                      uInt(body.size())));
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(char(crc >> shift));
    };
    auto be32 = [](Bytes& b, std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(std::uint8_t(v >> shift));
    };
    Bytes header;
    be32(header, width);
    be32(header, height);
    header.insert(header.end(), {std::uint8_t(bitDepth), std::uint8_t(colourType), 0, 0, 0});
    chunk("IHDR", header);
    if (paletteEntries > 0)
        chunk("PLTE", Bytes(std::size_t(paletteEntries) * 3, 0));
    const int samples = colourType == 0 || colourType == 3 ? 1 : colourType == 4 ? 2 : colourType == 2 ? 3 : 4;
    const std::size_t rowBytes = 1 + (std::size_t(width) * samples * bitDepth + 7) / 8;
    const Bytes raw(rowBytes * height, 0);
    uLongf packedSize = compressBound(uLong(raw.size()));
    Bytes packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9);
    packed.resize(packedSize);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return out;
}

TEST(ImageReaders, FlatPngsDecodeHoweverSmallTheFile)
{
    // Flat pictures pack far tighter than their expanded samples: grey, palette and low-bit
    // images grow on expansion, on top of what deflate saves.
    struct Case {
        std::uint32_t width, height;
        int bitDepth, colourType, paletteEntries;
    };
    for (const Case& c : {Case{1024, 1024, 8, 0, 0}, Case{512, 512, 1, 3, 2}, Case{2048, 2048, 8, 4, 0}}) {
        const std::string file = flatPng(c.width, c.height, c.bitDepth, c.colourType, c.paletteEntries);
        SCOPED_TRACE(std::to_string(c.width) + " colour type " + std::to_string(c.colourType) + ", " +
                     std::to_string(file.size()) + " bytes");
        DecodedImage image;
        ASSERT_TRUE(decodePng(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), image));
        EXPECT_EQ(image.width, int(c.width));
        EXPECT_EQ(image.height, int(c.height));
        EXPECT_TRUE(std::all_of(image.samples.begin(), image.samples.end(), [](std::uint8_t v) { return v == 0; }));
    }
    // Past the size ceiling, a picture is refused before anything is allocated for it.
    DecodedImage image;
    const std::string wide = flatPng(1u << 16, 1u << 13, 1, 0);
    EXPECT_FALSE(decodePng(reinterpret_cast<const std::uint8_t*>(wide.data()), wide.size(), image));
}

TEST(ImageReaders, BrokenPngAndJpegFilesGiveNothing)
{
    const std::string png = testfiles::readFile(testfiles::corpus("png/basn2c08.png"));
    const std::string jpg = testfiles::readFile(testfiles::corpus("jpg/progressive_basn2c08.jpg"));
    DecodedImage image;
    auto bytes = [](const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); };
    for (std::size_t cut : {3u, 8u, 40u, 100u, unsigned(png.size() - 13)})
        EXPECT_FALSE(decodePng(bytes(png), cut, image)) << cut;
    std::string flipped = png;
    flipped[png.size() / 2] ^= 0x55; // CRC mismatch in the image data
    EXPECT_FALSE(decodePng(bytes(flipped), flipped.size(), image));
    EXPECT_FALSE(decodePng(bytes(jpg), jpg.size(), image));
    EXPECT_FALSE(decodeJpeg(bytes(png), png.size(), image));
    for (std::size_t cut : {0u, 2u, 20u, 200u})
        EXPECT_FALSE(decodeJpeg(bytes(jpg), cut, image)) << cut;
    // A header that claims 16000 x 16000 pixels in a file of a few hundred bytes.
    std::string huge = jpg;
    const auto sof = huge.find("\xFF\xC2");
    ASSERT_NE(sof, std::string::npos);
    huge[sof + 5] = char(0x3E);
    huge[sof + 6] = char(0x80);
    huge[sof + 7] = char(0x3E);
    huge[sof + 8] = char(0x80);
    EXPECT_FALSE(decodeJpeg(bytes(huge), huge.size(), image));
    EXPECT_TRUE(decodeJpeg(bytes(jpg), jpg.size(), image));
    EXPECT_EQ(image.width, 32);
}

// Why a picture did not load, in the words a show maker reads: empty, another format, the byte
// where a PNG's damage starts, a file cut short.
TEST(ImageReaders, ReadProblemsSayWhatIsWrongWithTheFile)
{
    const std::string dir = testfiles::tempDir("readproblems");
    const std::string png = testfiles::readFile(testfiles::corpus("png/basn2c08.png"));
    auto problem = [&](const std::string& name, const std::string& bytes) {
        testfiles::writeFile(dir + "/" + name, bytes);
        return imageReadProblem(dir + "/" + name);
    };
    EXPECT_EQ(imageReadProblem(dir + "/none.png"), "the file does not exist");
    EXPECT_EQ(problem("empty.png", ""), "the file is empty");
    EXPECT_EQ(problem("other.png", std::string("\xFF\xD8\xFF\xE0", 4) + "jfif"), "not a PNG file");
    EXPECT_EQ(problem("other.jpg", png), "not a JPEG file");
    std::string flipped = png;
    flipped[png.size() / 2] ^= 0x55;
    const std::string damage = problem("flipped.png", flipped);
    ASSERT_EQ(damage.rfind("corrupt at byte ", 0), 0u) << damage;
    EXPECT_LE(std::stoul(damage.substr(16)), png.size() / 2);
    EXPECT_EQ(problem("cut.png", png.substr(0, 60)).rfind("cut short at byte ", 0), 0u);
    // A whole file that still did not load: nothing more can be said of it.
    EXPECT_EQ(problem("whole.png", png), "the file is corrupt or holds a kind of image the reader does not take");
}
