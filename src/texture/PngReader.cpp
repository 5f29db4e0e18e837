#include "texture/PngReader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {

// Everything one decode holds. libpng reports errors by longjmp back to the phase that set the
// jump; the phases keep no objects with destructors, and this record is freed by its owner.
struct PngJob {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;

    ~PngJob()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

void readData(png_structp png, png_bytep out, png_size_t n)
{
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (n > job->size - job->pos)
        png_error(png, "file ends inside the image");
    std::memcpy(out, job->data + job->pos, n);
    job->pos += n;
}

[[noreturn]] void onError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Header and transformations: every image arrives as 8-bit R, G, B with alpha where the file
// has alpha or transparency, interlaced images de-interlaced.
bool readHeader(PngJob& job)
{
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    png_set_read_fn(job.png, &job, readData);
    png_set_sig_bytes(job.png, 4);
    png_read_info(job.png, job.info);
    const int colourType = png_get_color_type(job.png, job.info);
    const int bitDepth = png_get_bit_depth(job.png, job.info);
    if (colourType == PNG_COLOR_TYPE_PALETTE && bitDepth <= 8)
        png_set_palette_to_rgb(job.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(job.png);
    if (png_get_valid(job.png, job.info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(job.png);
    if (bitDepth == 16)
        png_set_strip_16(job.png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(job.png);
    png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    job.width = png_get_image_width(job.png, job.info);
    job.height = png_get_image_height(job.png, job.info);
    job.channels = png_get_channels(job.png, job.info);
    return true;
}

bool readRows(PngJob& job, png_bytep* rows)
{
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    png_read_image(job.png, rows);
    return true;
}

// Every chunk must end inside the file. libpng allocates a chunk's declared length before it
// reads it, so a short file declaring a gigabyte chunk would otherwise allocate a gigabyte.
bool chunksFitInFile(const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 8; // the signature
    while (pos + 12 <= size) {
        const std::size_t length = std::size_t(data[pos]) << 24 | std::size_t(data[pos + 1]) << 16 |
                                   std::size_t(data[pos + 2]) << 8 | std::size_t(data[pos + 3]);
        if (length > size - pos - 12)
            return false;
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0)
            return true;
        pos += 12 + length;
    }
    return false; // no IEND: the file is cut short
}

// The most a decode may allocate for its samples: 256 MiB, an 8192 × 8192 RGBA picture. Flat
// pictures pack into very small files (deflate reaches about 1000:1, and grey, palette and
// low-bit images grow again when expanded to RGB), so the file's size bounds nothing useful; the
// dimensions and the expanded size do.
constexpr std::size_t kMaxPngSampleBytes = std::size_t(256) << 20;

} // namespace

bool decodePng(const std::uint8_t* data, std::size_t size, DecodedImage& image)
{
    image = DecodedImage{};
    if (size < 4 || png_sig_cmp(data, 0, 4) != 0 || !chunksFitInFile(data, size))
        return false;
    PngJob job;
    job.data = data;
    job.size = size;
    job.pos = 4;
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!job.png)
        return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info || !readHeader(job))
        return false;
    if (job.channels != 3 && job.channels != 4)
        return false;
    const std::size_t pixels = std::size_t(job.width) * std::size_t(job.height);
    const std::size_t bytes = pixels * std::size_t(job.channels);
    if (pixels == 0 || pixels > kMaxImagePixels || bytes > kMaxPngSampleBytes)
        return false;
    if (png_get_rowbytes(job.png, job.info) != std::size_t(job.width) * std::size_t(job.channels))
        return false;

    image.samples.resize(bytes);
    std::vector<png_bytep> rows(job.height);
    for (png_uint_32 y = 0; y < job.height; ++y)
        rows[y] = image.samples.data() + std::size_t(y) * std::size_t(job.width) * std::size_t(job.channels);
    if (!readRows(job, rows.data())) {
        image = DecodedImage{};
        return false;
    }
    image.width = int(job.width);
    image.height = int(job.height);
    image.channels = job.channels;
    image.source = SampleSource::Png;
    return true;
}

bool PngReader::decodeFile(const std::string& path, DecodedImage& image)
{
    std::vector<std::uint8_t> bytes;
    return readWholeFile(path, bytes) && decodePng(bytes.data(), bytes.size(), image);
}
