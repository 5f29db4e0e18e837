// PNG decoding of arbitrary bytes through libpng, then conversion into a texture.
#include "texture/PngReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DecodedImage image;
    if (decodePng(data, size, image))
        makeTexture2D(image, kPixelLuminanceAlpha, false);
    return 0;
}
