// PNG images through libpng: every colour type and depth arrives as 8-bit R, G, B(, A).
#pragma once
#include "texture/DecodingReader.h"

#include <cstddef>
#include <cstdint>

// Decodes a PNG file image in memory (interlaced ones included) into 3 or 4 channel samples,
// rows top first. False on a bad signature, any libpng error, or a picture whose samples would
// take more than 256 MiB.
bool decodePng(const std::uint8_t* data, std::size_t size, DecodedImage& image);

class PngReader : public DecodingReader {
public:
    PngReader() : DecodingReader("png", false) {}

protected:
    bool decodeFile(const std::string& path, DecodedImage& image) override;
};
