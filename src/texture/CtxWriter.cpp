#include "texture/CtxWriter.h"

#include "platform/Paths.h"

#include <zlib.h>

namespace {

void putLittleEndian(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

bool writeContainer(const std::string& path, GLenum target, int pixelType, int width, int height,
                    int depth, int bytesPerPixel, const std::uint8_t* pixels, std::size_t bytes)
{
    if (bytes > 0 && !pixels)
        return false;
    std::uint8_t header[CtxHeader::kSize] = {'C', 'T', 'X', ' '};
    const std::uint32_t fields[] = {target,
                                    std::uint32_t(pixelType),
                                    std::uint32_t(width),
                                    std::uint32_t(height),
                                    std::uint32_t(depth),
                                    std::uint32_t(bytesPerPixel)};
    for (int i = 0; i < 6; ++i)
        putLittleEndian(header + 4 + 4 * i, fields[i]);

    gzFile file = gzopen(platform::nativePath(path).c_str(), "wb9");
    if (!file)
        return false;
    bool ok = gzwrite(file, header, sizeof header) == int(sizeof header);
    for (std::size_t done = 0; ok && done < bytes;) {
        const unsigned chunk = unsigned(std::min<std::size_t>(bytes - done, 1u << 20));
        ok = gzwrite(file, pixels + done, chunk) == int(chunk);
        done += chunk;
    }
    ok = gzflush(file, Z_FINISH) == Z_OK && ok;
    ok = gzclose(file) == Z_OK && ok;
    return ok;
}

} // namespace

bool CtxWriter::write1D(const std::string& path, const Texture1D& t)
{
    return writeContainer(path, t.target, t.pixelType, t.width, 1, 1, t.bytesPerPixel,
                          t.pixels.get(), t.imageBytes());
}

bool CtxWriter::write2D(const std::string& path, const ImageTexture& t)
{
    return writeContainer(path, t.target, t.pixelType, t.width, t.height, 1, t.bytesPerPixel,
                          t.pixels.get(), t.imageBytes());
}

bool CtxWriter::write3D(const std::string& path, const Texture3D& t)
{
    return writeContainer(path, t.target, t.pixelType, t.width, t.height, t.depth,
                          t.bytesPerPixel, t.pixels.get(), t.imageBytes());
}
