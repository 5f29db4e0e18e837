// Writes 8-bit RGBA or RGB pictures as PNG files (screenshots, generated show images).
#pragma once
#include <string>

namespace platform {

// `pixels` holds `height` rows of `width` pixels with `channels` (3 or 4) bytes each, first row
// at the top of the picture.
bool writePng(const std::string& path, int width, int height, int channels,
              const unsigned char* pixels);

} // namespace platform
