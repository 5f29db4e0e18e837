#include "texture/DecodingReader.h"

std::unique_ptr<Texture1D> DecodingReader::read1D(const std::string& path, int pixelType)
{
    DecodedImage image;
    if (!decodeFile(path, image))
        return nullptr;
    return makeTexture1D(image, pixelType);
}

std::unique_ptr<ImageTexture> DecodingReader::read2D(const std::string& path, int pixelType)
{
    DecodedImage image;
    if (!decodeFile(path, image))
        return nullptr;
    return makeTexture2D(image, pixelType, bottomUp);
}
