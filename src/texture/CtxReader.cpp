#include "texture/CtxReader.h"

#include "platform/Paths.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The largest pixel block a container may carry.
constexpr std::uint64_t kMaxPixelBytes = std::uint64_t(1) << 30;

class GzFile {
public:
    explicit GzFile(const std::string& path, const char* mode)
        : file(gzopen(platform::nativePath(path).c_str(), mode)) {}
    ~GzFile()
    {
        if (file)
            gzclose(file);
    }
    explicit operator bool() const { return file != nullptr; }
    bool read(void* out, std::size_t n)
    {
        auto* p = static_cast<std::uint8_t*>(out);
        while (n > 0) {
            const unsigned chunk = unsigned(std::min<std::size_t>(n, 1u << 20));
            const int got = gzread(file, p, chunk);
            if (got <= 0)
                return false;
            p += got;
            n -= std::size_t(got);
        }
        return true;
    }

    gzFile file;
};

std::int32_t littleEndian(const std::uint8_t* p)
{
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                        std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

// Reads the header and the pixel block. The block is read in pieces and only kept when the file
// holds all of it, so a header's sizes never allocate more than the file delivers. Fails when
// the header's bytes per pixel differ from `expectedBytes` (the texture's count for the code),
// which would not fit the texture's buffer.
bool readContainer(const std::string& path, CtxHeader& header, std::vector<std::uint8_t>& pixels,
                   int (*expectedBytes)(int code, int current))
{
    GzFile file(path, "rb");
    if (!file)
        return false;
    std::uint8_t raw[CtxHeader::kSize];
    if (!file.read(raw, sizeof raw) || std::memcmp(raw, "CTX ", 4) != 0)
        return false;
    header.target = std::uint32_t(littleEndian(raw + 4));
    header.pixelType = littleEndian(raw + 8);
    header.width = littleEndian(raw + 12);
    header.height = littleEndian(raw + 16);
    header.depth = littleEndian(raw + 20);
    header.bytesPerPixel = littleEndian(raw + 24);
    if (header.width <= 0 || header.height <= 0 || header.depth <= 0 ||
        header.bytesPerPixel != expectedBytes(header.pixelType, 0))
        return false;
    std::uint64_t total = std::uint64_t(header.bytesPerPixel);
    for (std::int32_t dimension : {header.width, header.height, header.depth}) {
        total *= std::uint64_t(dimension);
        if (total > kMaxPixelBytes)
            return false;
    }
    pixels.clear();
    while (pixels.size() < total) {
        // Pieces grow with what has arrived: a short file costs a small buffer.
        const std::size_t chunk = std::min<std::size_t>(total - pixels.size(),
                                                        std::max<std::size_t>(pixels.size(), 1u << 16));
        const std::size_t at = pixels.size();
        pixels.resize(at + chunk);
        if (!file.read(pixels.data() + at, chunk))
            return false;
    }
    return true;
}

} // namespace

std::unique_ptr<Texture1D> CtxReader::read1D(const std::string& path, int)
{
    CtxHeader header;
    std::vector<std::uint8_t> bytes;
    if (!readContainer(path, header, bytes, bytesPerPixel1D3D))
        return nullptr;
    // A 1D texture takes the first row.
    auto texture = std::make_unique<Texture1D>();
    texture->allocateImage(header.width, header.pixelType);
    std::copy_n(bytes.data(), texture->imageBytes(), texture->pixels.get());
    return texture;
}

std::unique_ptr<ImageTexture> CtxReader::read2D(const std::string& path, int)
{
    CtxHeader header;
    std::vector<std::uint8_t> bytes;
    if (!readContainer(path, header, bytes, bytesPerPixel2D))
        return nullptr;
    auto texture = std::make_unique<ImageTexture>();
    texture->allocateImage(header.width, header.height, header.pixelType);
    std::copy_n(bytes.data(), texture->imageBytes(), texture->pixels.get());
    return texture;
}

std::unique_ptr<Texture3D> CtxReader::read3D(const std::string& path, int)
{
    CtxHeader header;
    std::vector<std::uint8_t> bytes;
    if (!readContainer(path, header, bytes, bytesPerPixel1D3D))
        return nullptr;
    auto texture = std::make_unique<Texture3D>();
    texture->allocateImage(header.width, header.height, header.depth, header.pixelType);
    std::copy_n(bytes.data(), texture->imageBytes(), texture->pixels.get());
    return texture;
}
