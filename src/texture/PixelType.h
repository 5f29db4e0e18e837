// Pixel type codes -1 to 14: bytes per pixel, GL pixel format and GL internal format of each.
#pragma once
#include "core/GL.h"

#include <cstdint>

enum PixelTypeCode : int {
    kPixelNone = -1,
    kPixelRed = 0,
    kPixelGreen = 1,
    kPixelBlue = 2,
    kPixelAlpha = 3,
    kPixelLuminance = 4,
    kPixelUnassigned = 5,
    kPixelIntensity = 6,
    kPixelLuminanceAlpha = 7,
    kPixelRGB = 8,
    kPixelRGBA = 9,
    kPixelBGRA = 10,
    kPixelBGR = 11,
    kPixelDXT1 = 12,
    kPixelDXT3 = 13,
    kPixelDXT5 = 14,
};

struct PixelTypeInfo {
    int code;
    int bytesPerPixel;     // -1: leaves the current count unchanged (code 5)
    GLenum format;         // 0: none
    GLenum internalFormat; // 0: none
};

// The row of `code`; codes outside -1..14 give the row of -1 (no pixels, no formats).
const PixelTypeInfo& pixelTypeInfo(int code);
// Bytes per pixel of a 2D texture of `code`, `current` for code 5.
int bytesPerPixel2D(int code, int current);
// 1D and 3D textures know only codes -1 to 9; others give 0 (code 5: `current`).
int bytesPerPixel1D3D(int code, int current);
// Codes 12 to 14: S3TC block-compressed data.
inline bool isCompressedPixelType(int code) { return code >= kPixelDXT1 && code <= kPixelDXT5; }
// Bytes of a block-compressed image: 8 (DXT1) or 16 bytes per 4 x 4 block.
std::uint64_t compressedImageSize(int code, int width, int height);

// Bytes a packed value of `code` stores: 1 for the one-byte codes, 2 for luminance-alpha, 3 for
// RGB, 4 for RGBA, 0 for every other code (nothing is stored for them).
int packedPixelBytes(int code);

// Stores one packed value (0xRRGGBBAA for RGBA, 0x00RRGGBB for RGB, 0xLLAA for luminance-alpha,
// the low byte for one-byte codes) big-end first at `dst`; other codes store nothing.
void packPixel(int code, std::uint32_t value, std::uint8_t* dst);
