#include "texture/DecodedImage.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>

namespace {

struct Sample {
    std::uint32_t r, g, b, a;
    bool hasAlpha;
};

inline Sample unpack(const std::uint8_t* s, int channels, SampleSource source)
{
    if (channels == 1)
        return {s[0], s[0], s[0], 255, false};
    const bool bgr = source == SampleSource::Tga;
    const bool alpha = channels == 4;
    return {bgr ? s[2] : s[0], s[1], bgr ? s[0] : s[2], alpha ? s[3] : 255u, alpha};
}

// Codes whose pixels carry bytes; the others leave the zeroed buffer as it is.
bool storesPixels(int pixelType)
{
    return packedPixelBytes(pixelType) > 0;
}

} // namespace

std::uint32_t convertPixel(int pixelType, const std::uint8_t* sample, int channels,
                           SampleSource source)
{
    const Sample s = unpack(sample, channels, source);
    switch (pixelType) {
    case kPixelRed:
        return s.r;
    case kPixelGreen:
        return s.g;
    case kPixelBlue:
        return s.b;
    case kPixelAlpha:
        return s.hasAlpha ? s.a : s.r;
    case kPixelLuminance:
    case kPixelIntensity:
        return s.b;
    case kPixelLuminanceAlpha:
        // JPEG pixels give red as luminance and blue as alpha; the others blue and alpha (red
        // where there is no alpha).
        if (source == SampleSource::Jpeg)
            return s.r << 8 | s.b;
        return s.b << 8 | (s.hasAlpha ? s.a : s.r);
    case kPixelRGB:
        return s.r << 16 | s.g << 8 | s.b;
    case kPixelRGBA:
        return s.r << 24 | s.g << 16 | s.b << 8 | s.a;
    default:
        return 0;
    }
}

namespace {

// RGB and RGBA from 3- or 4-channel samples, the two codes textures are mostly read as.
template <bool Bgr, bool Alpha>
void copyColour(const std::uint8_t* src, int width, int channels, std::uint8_t* dst)
{
    for (int x = 0; x < width; ++x, src += channels) {
        *dst++ = src[Bgr ? 2 : 0];
        *dst++ = src[1];
        *dst++ = src[Bgr ? 0 : 2];
        if (Alpha)
            *dst++ = channels == 4 ? src[3] : 255;
    }
}

} // namespace

void convertRow(const std::uint8_t* src, int width, int channels, SampleSource source,
                int pixelType, std::uint8_t* dst)
{
    const int bytes = packedPixelBytes(pixelType);
    if (bytes == 0)
        return;
    const bool bgr = source == SampleSource::Tga;
    if (channels >= 3 && pixelType == kPixelRGB) {
        if (!bgr && channels == 3)
            std::copy(src, src + std::size_t(width) * 3, dst);
        else if (bgr)
            copyColour<true, false>(src, width, channels, dst);
        else
            copyColour<false, false>(src, width, channels, dst);
        return;
    }
    if (channels >= 3 && pixelType == kPixelRGBA) {
        if (bgr)
            copyColour<true, true>(src, width, channels, dst);
        else
            copyColour<false, true>(src, width, channels, dst);
        return;
    }
    for (int x = 0; x < width; ++x, src += channels, dst += bytes)
        packPixel(pixelType, convertPixel(pixelType, src, channels, source), dst);
}

std::unique_ptr<ImageTexture> makeTexture2D(const DecodedImage& image, int pixelType,
                                            bool flipRows)
{
    if (image.width <= 0 || image.height <= 0 || image.channels <= 0)
        return nullptr;
    auto texture = std::make_unique<ImageTexture>();
    texture->allocateImage(image.width, image.height, pixelType);
    if (!storesPixels(pixelType))
        return texture;
    const std::size_t rowBytes = std::size_t(image.width) * std::size_t(texture->bytesPerPixel);
    for (int y = 0; y < image.height; ++y) {
        const int row = flipRows ? image.height - 1 - y : y;
        convertRow(image.row(y), image.width, image.channels, image.source, pixelType,
                   texture->pixels.get() + std::size_t(row) * rowBytes);
    }
    return texture;
}

std::unique_ptr<Texture1D> makeTexture1D(const DecodedImage& image, int pixelType)
{
    if (image.width <= 0 || image.height <= 0 || image.channels <= 0)
        return nullptr;
    auto texture = std::make_unique<Texture1D>();
    texture->allocateImage(image.width, pixelType);
    if (storesPixels(pixelType))
        convertRow(image.row(0), image.width, image.channels, image.source, pixelType,
                   texture->pixels.get());
    return texture;
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes)
{
    std::FILE* file = platform::openFile(path, "rb");
    if (!file)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size >= 0 && std::size_t(size) <= maxBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(std::size_t(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    if (!ok)
        bytes.clear();
    return ok;
}
