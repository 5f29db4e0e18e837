// TGA images: colour-mapped, true-colour and grey, raw or run-length coded, 8 to 32 bits.
#pragma once
#include "texture/DecodingReader.h"

#include <cstddef>
#include <cstdint>

enum class TgaResult {
    Ok,
    Truncated,        // the file ends before the image does
    BadSize,          // width or height 0, or more pixels than the file can hold
    UnsupportedPalette,
    UnsupportedType,
    UnsupportedDepth,
};

// Decodes a TGA file image in memory into B, G, R (3 channels, also for 8-bit colour-mapped and
// 16-bit input), B, G, R, A (4) or grey (1) samples, rows in file order.
TgaResult decodeTga(const std::uint8_t* data, std::size_t size, DecodedImage& image);

class TgaReader : public DecodingReader {
public:
    // Rows are taken as stored bottom first, the usual TGA origin; the header's origin bit is
    // not consulted.
    TgaReader() : DecodingReader("tga", true) {}

protected:
    bool decodeFile(const std::string& path, DecodedImage& image) override;
};
