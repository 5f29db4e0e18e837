// Headless shots read back for the show tests: colours at screen positions counted from the
// bottom left, as the effects place things.
#pragma once
#include "texture/PngReader.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

struct Shot {
    DecodedImage image;
    // The colour at screen x and y, y counted upwards from the bottom.
    std::array<int, 3> at(int x, int y) const
    {
        const std::uint8_t* p = image.row(image.height - 1 - y) + x * image.channels;
        return {p[0], p[1], p[2]};
    }
};

inline Shot readShot(const std::string& path)
{
    Shot shot;
    const std::string bytes = testfiles::readFile(path);
    EXPECT_TRUE(decodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), shot.image))
        << path;
    return shot;
}
