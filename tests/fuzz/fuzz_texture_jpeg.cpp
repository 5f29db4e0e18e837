// JPEG decoding of arbitrary bytes through libjpeg-turbo, then conversion into a texture.
#include "texture/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DecodedImage image;
    if (decodeJpeg(data, size, image))
        makeTexture2D(image, kPixelRGBA, false);
    return 0;
}
