#include "texture/ImageReader.h"

#include "platform/Paths.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include <zlib.h>

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

std::uint32_t bigEndian(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Walks a PNG file's chunks after the signature: the offset of the first chunk whose checksum
// does not match or that the file ends inside, or "" when every chunk up to IEND is whole.
std::string pngDamage(std::FILE* file)
{
    std::vector<unsigned char> data;
    long offset = 8;
    for (;;) {
        unsigned char head[8];
        if (std::fread(head, 1, 8, file) != 8)
            return "cut short at byte " + std::to_string(offset) + " (no end chunk)";
        const std::uint32_t length = bigEndian(head);
        if (length > 0x7FFFFFFFu)
            return "corrupt at byte " + std::to_string(offset);
        data.resize(length);
        unsigned char crc[4];
        if (std::fread(data.data(), 1, length, file) != length || std::fread(crc, 1, 4, file) != 4)
            return "cut short at byte " + std::to_string(offset) + " (a chunk runs past the end)";
        uLong sum = crc32(0L, head + 4, 4);
        sum = crc32(sum, data.data(), uInt(length));
        if (sum != bigEndian(crc))
            return "corrupt at byte " + std::to_string(offset);
        if (std::memcmp(head + 4, "IEND", 4) == 0)
            return {};
        offset += 12 + long(length);
    }
}

} // namespace

std::string imageReadProblem(const std::string& path)
{
    std::FILE* file = platform::openFile(path, "rb");
    if (!file)
        return platform::fileExists(path) ? "the file cannot be opened" : "the file does not exist";
    unsigned char head[8] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::string problem;
    if (got == 0)
        problem = "the file is empty";
    for (const Signature& signature : kSignatures) {
        if (!problem.empty() || !extensionMatches(path, signature.extension))
            continue;
        if (got < signature.size || std::memcmp(head, signature.bytes, signature.size) != 0)
            problem = std::string("not a ") + signature.kind + " file";
        else if (std::strcmp(signature.kind, "PNG") == 0)
            problem = pngDamage(file);
    }
    std::fclose(file);
    return problem.empty() ? "the file is corrupt or holds a kind of image the reader does not take" : problem;
}
