#include "texture/ImageReader.h"

bool extensionMatches(const std::string& name, const std::string& extension)
{
    const auto dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(dot + 1)) == extension;
}

bool ImageReader::handles(const std::string& name) const
{
    return extensionMatches(name, extension);
}

// The base reader refuses every kind; "bmp" and "tif" are registered as such.
std::unique_ptr<Texture1D> ImageReader::read1D(const std::string&, int)
{
    return nullptr;
}

std::unique_ptr<ImageTexture> ImageReader::read2D(const std::string&, int)
{
    return nullptr;
}

std::unique_ptr<Texture3D> ImageReader::read3D(const std::string&, int)
{
    return nullptr;
}

bool ImageWriter::handles(const std::string& name) const
{
    return extensionMatches(name, extension);
}

bool ImageWriter::write1D(const std::string&, const Texture1D&)
{
    return false;
}

bool ImageWriter::write2D(const std::string&, const ImageTexture&)
{
    return false;
}

bool ImageWriter::write3D(const std::string&, const Texture3D&)
{
    return false;
}
