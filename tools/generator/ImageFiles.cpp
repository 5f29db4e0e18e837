#include "ImageFiles.h"

#include "platform/PngWriter.h"
#include "texture/CtxWriter.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include <jpeglib.h>

namespace imagefiles {

namespace {

bool sizeMatches(int width, int height, std::size_t bytes, int channels, std::string& error)
{
    if (width > 0 && height > 0 && bytes == std::size_t(width) * std::size_t(height) * std::size_t(channels))
        return true;
    error = "picture size and pixel count disagree";
    return false;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool makeParent(const std::string& path, std::string& error)
{
    std::error_code ec;
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
    if (ec)
        error = "cannot create " + parent.string() + ": " + ec.message();
    return !ec;
}

std::uintmax_t fileSize(const std::string& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

bool writeJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
               int quality, std::string& error)
{
    if (!sizeMatches(width, height, rgb.size(), 3, error) || !makeParent(path, error))
        return false;
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    // libjpeg's default error handler ends the process. The input here is pixels this tool drew
    // and a file it has just opened, so the only errors left are the disk's.
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < info.num_components; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + std::size_t(info.next_scanline) * std::size_t(width) * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (std::fflush(file.get()) != 0) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
              std::string& error)
{
    if (!sizeMatches(width, height, rgba.size(), 4, error) || !makeParent(path, error))
        return false;
    if (!platform::writePng(path, width, height, 4, rgba.data())) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool writeTga(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
              std::string& error)
{
    if (!sizeMatches(width, height, rgba.size(), 4, error) || !makeParent(path, error))
        return false;
    if (width > 65535 || height > 65535) {
        error = "too large for TGA";
        return false;
    }
    std::uint8_t header[18] = {};
    header[2] = 2; // uncompressed true colour
    header[12] = std::uint8_t(width);
    header[13] = std::uint8_t(width >> 8);
    header[14] = std::uint8_t(height);
    header[15] = std::uint8_t(height >> 8);
    header[16] = 32;
    header[17] = 8; // 8 alpha bits, bottom-left origin
    std::vector<std::uint8_t> body(rgba.size());
    std::size_t o = 0;
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = rgba.data() + std::size_t(y) * std::size_t(width) * 4;
        for (int x = 0; x < width; ++x, o += 4) {
            body[o] = row[x * 4 + 2];
            body[o + 1] = row[x * 4 + 1];
            body[o + 2] = row[x * 4];
            body[o + 3] = row[x * 4 + 3];
        }
    }
    File file(std::fopen(path.c_str(), "wb"));
    const bool ok = file && std::fwrite(header, 1, sizeof header, file.get()) == sizeof header &&
                    std::fwrite(body.data(), 1, body.size(), file.get()) == body.size() &&
                    std::fflush(file.get()) == 0;
    if (!ok)
        error = "cannot write " + path;
    return ok;
}

bool writeCtx(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
              std::string& error)
{
    if (!sizeMatches(width, height, rgba.size(), 4, error) || !makeParent(path, error))
        return false;
    ImageTexture texture;
    texture.allocateImage(width, height, 9);
    std::memcpy(texture.pixels.get(), rgba.data(), rgba.size());
    if (!CtxWriter().write2D(path, texture)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace imagefiles
