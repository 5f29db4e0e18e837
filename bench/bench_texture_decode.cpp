// Decoding speed of 1024 x 1024 pictures: JPEG, PNG and TGA (raw and run-length) from memory
// into an RGB texture. Time per iteration is the time per 1.05 megapixels.
#include "texture/JpegReader.h"
#include "texture/PngReader.h"
#include "texture/TgaReader.h"

#include "platform/PngWriter.h"

#include "TestFiles.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <jpeglib.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kSide = 1024;
using Bytes = std::vector<std::uint8_t>;

// A photo-like picture: smooth gradients with some fine detail, rows top first.
const Bytes& picture()
{
    static const Bytes rgb = [] {
        Bytes p(std::size_t(kSide) * kSide * 3);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                std::uint8_t* q = &p[(std::size_t(y) * kSide + x) * 3];
                q[0] = std::uint8_t(x / 4);
                q[1] = std::uint8_t(128 + 100 * std::sin(x * 0.02) * std::cos(y * 0.03));
                q[2] = std::uint8_t((y / 4) ^ ((x * y) >> 12 & 15));
            }
        return p;
    }();
    return rgb;
}

Bytes encodeJpeg()
{
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = kSide;
    c.image_height = kSide;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(&picture()[std::size_t(c.next_scanline) * kSide * 3]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    Bytes result(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return result;
}

Bytes encodePng()
{
    const std::string path = testfiles::tempDir("bench") + "/p.png";
    platform::writePng(path, kSide, kSide, 3, picture().data());
    const std::string s = testfiles::readFile(path);
    return Bytes(s.begin(), s.end());
}

// 24-bit TGA, bottom row first, raw or with run-length packets.
Bytes encodeTga(bool runLength)
{
    Bytes b = {0, 0, std::uint8_t(runLength ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0,
               kSide & 255, kSide >> 8, kSide & 255, kSide >> 8, 24, 0};
    for (int y = kSide - 1; y >= 0; --y) {
        const std::uint8_t* row = &picture()[std::size_t(y) * kSide * 3];
        for (int x = 0; x < kSide;) {
            int n = 1;
            if (runLength)
                while (x + n < kSide && n < 128 && std::equal(row + x * 3, row + x * 3 + 3, row + (x + n) * 3))
                    ++n;
            if (runLength)
                b.push_back(std::uint8_t(n > 1 ? 0x80 | (n - 1) : 0));
            b.insert(b.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
            x += n;
        }
    }
    return b;
}

template <class Decode>
void run(benchmark::State& state, const Bytes& file, Decode decode, bool flip)
{
    for (auto _ : state) {
        DecodedImage image;
        if (!decode(file.data(), file.size(), image)) {
            state.SkipWithError("decode failed");
            return;
        }
        auto texture = makeTexture2D(image, kPixelRGB, flip);
        benchmark::DoNotOptimize(texture->pixels.get());
    }
    const double megapixels = double(kSide) * kSide / 1e6;
    // Seconds per megapixel (printed with an SI prefix: 2.5m is 2500 us per megapixel).
    state.counters["s_per_MP"] = benchmark::Counter(
        megapixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["file_KiB"] = double(file.size()) / 1024.0;
}

void BM_DecodeJpeg(benchmark::State& state)
{
    static const Bytes file = encodeJpeg();
    run(state, file, decodeJpeg, false);
}

void BM_DecodePng(benchmark::State& state)
{
    static const Bytes file = encodePng();
    run(state, file, decodePng, false);
}

void BM_DecodeTgaRaw(benchmark::State& state)
{
    static const Bytes file = encodeTga(false);
    run(state, file, [](const std::uint8_t* d, std::size_t n, DecodedImage& i) { return decodeTga(d, n, i) == TgaResult::Ok; }, true);
}

void BM_DecodeTgaRunLength(benchmark::State& state)
{
    static const Bytes file = encodeTga(true);
    run(state, file, [](const std::uint8_t* d, std::size_t n, DecodedImage& i) { return decodeTga(d, n, i) == TgaResult::Ok; }, true);
}

} // namespace

BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeTgaRaw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeTgaRunLength)->Unit(benchmark::kMicrosecond);
