#include "texture/PixelType.h"

namespace {

// Indexed by code + 1. Code 5 has no kind: its byte count leaves the current one unchanged.
const PixelTypeInfo kPixelTypes[] = {
    {kPixelNone, 0, 0, 0},
    {kPixelRed, 1, GL_RED, GL_RED},
    {kPixelGreen, 1, GL_GREEN, GL_GREEN},
    {kPixelBlue, 1, GL_BLUE, GL_BLUE},
    {kPixelAlpha, 1, GL_ALPHA, GL_ALPHA},
    {kPixelLuminance, 1, GL_LUMINANCE, GL_LUMINANCE},
    {kPixelUnassigned, -1, 0, 0},
    // One byte a pixel is sent as luminance: GL stores it as intensity, but takes no
    // GL_INTENSITY pixel data (the upload would fail with GL_INVALID_ENUM and leave no picture).
    {kPixelIntensity, 1, GL_LUMINANCE, GL_INTENSITY},
    {kPixelLuminanceAlpha, 2, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA},
    {kPixelRGB, 3, GL_RGB, GL_RGB8},
    {kPixelRGBA, 4, GL_RGBA, GL_RGBA8},
    {kPixelBGRA, 4, GL_BGRA, GL_RGBA8},
    {kPixelBGR, 3, GL_BGR, GL_RGB8},
    {kPixelDXT1, 4, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
    {kPixelDXT3, 4, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT},
    {kPixelDXT5, 4, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT},
};

} // namespace

const PixelTypeInfo& pixelTypeInfo(int code)
{
    if (code < kPixelNone || code > kPixelDXT5)
        return kPixelTypes[0];
    return kPixelTypes[code + 1];
}

int bytesPerPixel2D(int code, int current)
{
    const int bytes = pixelTypeInfo(code).bytesPerPixel;
    return bytes < 0 ? current : bytes;
}

int bytesPerPixel1D3D(int code, int current)
{
    if (code > kPixelRGBA)
        return 0;
    return bytesPerPixel2D(code, current);
}

std::uint64_t compressedImageSize(int code, int width, int height)
{
    if (!isCompressedPixelType(code) || width <= 0 || height <= 0)
        return 0;
    const std::uint64_t block = code == kPixelDXT1 ? 8 : 16;
    return block * ((std::uint64_t(height) + 3) / 4) * ((std::uint64_t(width) + 3) / 4);
}

int packedPixelBytes(int code)
{
    switch (code) {
    case kPixelRed:
    case kPixelGreen:
    case kPixelBlue:
    case kPixelAlpha:
    case kPixelLuminance:
    case kPixelIntensity:
        return 1;
    case kPixelLuminanceAlpha:
        return 2;
    case kPixelRGB:
        return 3;
    case kPixelRGBA:
        return 4;
    default:
        return 0;
    }
}

void packPixel(int code, std::uint32_t value, std::uint8_t* dst)
{
    // Big end first: the last byte is always the low one.
    const int bytes = packedPixelBytes(code);
    for (int i = 0; i < bytes; ++i)
        dst[i] = std::uint8_t(value >> (8 * (bytes - 1 - i)));
}
