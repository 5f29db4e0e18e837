// JPEG images through libjpeg-turbo: baseline, progressive, grey and CMYK, as 8-bit R, G, B.
#pragma once
#include "texture/DecodingReader.h"

#include <cstddef>
#include <cstdint>

// Decodes a JPEG file image in memory into 3-channel R, G, B samples, rows top first. False on
// any library error or an implausible size.
bool decodeJpeg(const std::uint8_t* data, std::size_t size, DecodedImage& image);

class JpegReader : public DecodingReader {
public:
    JpegReader() : DecodingReader("jpg", false) {}

protected:
    bool decodeFile(const std::string& path, DecodedImage& image) override;
};
