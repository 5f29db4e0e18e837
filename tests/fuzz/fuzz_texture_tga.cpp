// TGA decoding of arbitrary bytes, then conversion of whatever decodes into textures.
#include "texture/TgaReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DecodedImage image;
    if (decodeTga(data, size, image) == TgaResult::Ok && image.channels >= 3) {
        makeTexture2D(image, kPixelRGBA, true);
        makeTexture1D(image, kPixelLuminanceAlpha);
    }
    return 0;
}
