#include "AppIcon.h"

#include "Canvas.h"
#include "ImageFiles.h"

#include <cstdio>

namespace appicon {

std::vector<std::uint8_t> render(int size)
{
    // Drawn at four times the size and reduced, so the small sizes stay clean.
    const int big = size * 4;
    const float s = float(big);
    Canvas canvas(big, big);
    canvas.disc(0.5f * s, 0.5f * s, 0.47f * s, hexColour(0x141a2e), 1.0f);
    canvas.ring(0.5f * s, 0.5f * s, 0.44f * s, 0.03f * s, hexColour(0x5a6c9c), 1.0f);
    canvas.glow(0.5f * s, 0.5f * s, 0.22f * s, hexColour(0xff8a2a), 0.9f);
    canvas.ring(0.5f * s, 0.5f * s, 0.2f * s, 0.05f * s, hexColour(0xffc86a), 1.0f);
    canvas.disc(0.5f * s, 0.5f * s, 0.09f * s, hexColour(0x0a0a10), 1.0f);
    canvas.disc(0.46f * s, 0.46f * s, 0.03f * s, hexColour(0xffffff), 0.9f);
    const std::vector<std::uint8_t> large = canvas.rgba8();
    // A box filter of 4 × 4 texels per pixel, weighted by alpha so edges keep their colour.
    std::vector<std::uint8_t> out(std::size_t(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            unsigned sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 4; ++dx) {
                    const std::uint8_t* p = &large[(std::size_t(y * 4 + dy) * big + std::size_t(x * 4 + dx)) * 4];
                    for (int c = 0; c < 3; ++c)
                        sum[c] += unsigned(p[c]) * p[3];
                    sum[3] += p[3];
                }
            std::uint8_t* o = &out[(std::size_t(y) * size + std::size_t(x)) * 4];
            for (int c = 0; c < 3; ++c)
                o[c] = std::uint8_t(sum[3] ? (sum[c] + sum[3] / 2) / sum[3] : 0);
            o[3] = std::uint8_t((sum[3] + 8) / 16);
        }
    return out;
}

bool write(const std::string& outDir, bool verbose, std::string& error)
{
    for (int size : kSizes) {
        char relative[96];
        std::snprintf(relative, sizeof relative, "icons/hicolor/%dx%d/apps/oculith.png", size, size);
        const std::string path = outDir + "/" + relative;
        if (!imagefiles::makeParent(path, error) || !imagefiles::writePng(path, size, size, render(size), error))
            return false;
        if (verbose)
            std::printf("  %s\n", relative);
    }
    return true;
}

} // namespace appicon
