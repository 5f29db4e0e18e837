// Helpers shared by the texture tests: synthetic image files and pixel checksums.
#pragma once
#include "texture/Texture.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace texturetest {

using Bytes = std::vector<std::uint8_t>;

// An 18-byte TGA header followed by `body` (ID field, colour map and pixels as given).
inline Bytes makeTga(int type, int width, int height, int depth, const Bytes& body,
                 int colourMapType = 0, int colourMapLength = 0, int colourMapBits = 0,
                 int idLength = 0)
{
    const std::uint8_t header[18] = {
        std::uint8_t(idLength), std::uint8_t(colourMapType), std::uint8_t(type), 0, 0,
        std::uint8_t(colourMapLength), std::uint8_t(colourMapLength >> 8),
        std::uint8_t(colourMapBits), 0, 0, 0, 0,
        std::uint8_t(width), std::uint8_t(width >> 8), std::uint8_t(height),
        std::uint8_t(height >> 8), std::uint8_t(depth), 0};
    Bytes b(sizeof header + body.size());
    std::copy(header, header + sizeof header, b.begin());
    std::copy(body.begin(), body.end(), b.begin() + sizeof header);
    return b;
}

inline std::string asString(const Bytes& b)
{
    return std::string(b.begin(), b.end());
}

inline std::uint64_t fnv1a(const std::uint8_t* p, std::size_t n)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < n; ++i) {
        h ^= p[i];
        h *= 0x100000001b3ull;
    }
    return h;
}

inline Bytes pixelsOf(const ImageTexture& t)
{
    return Bytes(t.pixels.get(), t.pixels.get() + t.imageBytes());
}

} // namespace texturetest
