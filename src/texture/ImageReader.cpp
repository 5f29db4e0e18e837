#include "texture/ImageReader.h"

#include "platform/Paths.h"

#include <cstring>

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

namespace {

// The formats whose files open with a fixed signature.
struct Signature {
    const char* extension;
    const char* kind;
    const char* bytes;
    std::size_t size;
};

constexpr Signature kSignatures[] = {
    {"png", "PNG", "\x89PNG\r\n\x1a\n", 8},
    {"jpg", "JPEG", "\xFF\xD8\xFF", 3},
    {"jpeg", "JPEG", "\xFF\xD8\xFF", 3},
};

} // namespace

std::string imageReadProblem(const std::string& path)
{
    std::FILE* file = platform::openFile(path, "rb");
    if (!file)
        return platform::fileExists(path) ? "the file cannot be opened" : "the file does not exist";
    unsigned char head[8] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (got == 0)
        return "the file is empty";
    for (const Signature& signature : kSignatures) {
        if (!extensionMatches(path, signature.extension))
            continue;
        if (got < signature.size || std::memcmp(head, signature.bytes, signature.size) != 0)
            return std::string("not a ") + signature.kind + " file";
    }
    return "the file is corrupt or holds a kind of image the reader does not take";
}
