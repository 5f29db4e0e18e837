// 8-bit samples as a format decoder delivers them, and their conversion into textures of any
// pixel type.
#pragma once
#include "texture/Texture.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The most pixels any decoder accepts (16384 x 16384, the largest texture a driver takes).
inline constexpr std::size_t kMaxImagePixels = std::size_t(16384) * 16384;

// Which decoder produced the samples: the per-format conversion rules differ slightly.
enum class SampleSource { Tga, Png, Jpeg };

struct DecodedImage {
    int width = 0;
    int height = 0;
    // 1 (grey), 3 or 4; TGA samples are B, G, R(, A), the others R, G, B(, A).
    int channels = 0;
    SampleSource source = SampleSource::Png;
    // `height` rows of `width` x `channels` bytes, in file order.
    std::vector<std::uint8_t> samples;

    const std::uint8_t* row(int y) const
    {
        return samples.data() + std::size_t(y) * std::size_t(width) * std::size_t(channels);
    }
};

// The packed value (see packPixel) of one source pixel for `pixelType`.
std::uint32_t convertPixel(int pixelType, const std::uint8_t* sample, int channels,
                           SampleSource source);

// Converts one row of `width` source pixels into packed pixels of `pixelType` at `dst`.
void convertRow(const std::uint8_t* src, int width, int channels, SampleSource source,
                int pixelType, std::uint8_t* dst);

// A 2D texture of `pixelType` from every row: file row i becomes texture row i, or
// height - 1 - i when `flipRows` is set (TGA). None when the image is empty.
std::unique_ptr<ImageTexture> makeTexture2D(const DecodedImage& image, int pixelType,
                                            bool flipRows);
// A 1D texture of `pixelType` from the first stored row.
std::unique_ptr<Texture1D> makeTexture1D(const DecodedImage& image, int pixelType);

// Reads a whole file (opened through platform::openFile) into memory; false when it can't be
// opened or read, or is larger than `maxBytes`.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::size_t maxBytes = std::size_t(1) << 30);
