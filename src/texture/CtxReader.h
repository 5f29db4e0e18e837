// The "CTX " raw texture container (gzip-compressed or plain): target, pixel type, size and the
// texture's bytes as they are held in memory.
#pragma once
#include "texture/ImageReader.h"

#include <cstdint>

// The 28-byte header, all fields 32-bit little-endian after the magic "CTX ".
struct CtxHeader {
    std::uint32_t target = 0;
    std::int32_t pixelType = kPixelNone;
    std::int32_t width = 0;
    std::int32_t height = 1;
    std::int32_t depth = 1;
    std::int32_t bytesPerPixel = 0;
    static constexpr int kSize = 28;
};

class CtxReader : public ImageReader {
public:
    CtxReader() : ImageReader("ctx") {}
    std::unique_ptr<Texture1D> read1D(const std::string& path, int pixelType) override;
    std::unique_ptr<ImageTexture> read2D(const std::string& path, int pixelType) override;
    std::unique_ptr<Texture3D> read3D(const std::string& path, int pixelType) override;
};
