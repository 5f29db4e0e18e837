#include "texture/JpegReader.h"

#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>

namespace {

// One decode: libjpeg reports errors through error_exit, which jumps back to the phase that set
// `jump`; the phases keep no objects with destructors, and this record is freed by its owner.
struct JpegJob {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump;
    bool created = false;

    ~JpegJob()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

[[noreturn]] void onError(j_common_ptr cinfo)
{
    auto* job = static_cast<JpegJob*>(cinfo->client_data);
    std::longjmp(job->jump, 1);
}

void onMessage(j_common_ptr) {}

// Progressive files may hold any number of scans; a few hundred is far beyond any real one.
constexpr long kMaxScans = 500;

void onProgress(j_common_ptr cinfo)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->is_decompressor && d->input_scan_number > kMaxScans)
        onError(cinfo);
}

bool readHeader(JpegJob& job, const std::uint8_t* data, std::size_t size)
{
    if (setjmp(job.jump))
        return false;
    jpeg_create_decompress(&job.cinfo);
    job.created = true;
    job.cinfo.client_data = &job;
    job.cinfo.progress = &job.progress;
    jpeg_mem_src(&job.cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&job.cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    // CMYK and YCCK files come out as CMYK and are turned into RGB here; everything else
    // (greyscale included) libjpeg converts to RGB itself.
    const bool cmyk = job.cinfo.jpeg_color_space == JCS_CMYK || job.cinfo.jpeg_color_space == JCS_YCCK;
    job.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    return true;
}

bool start(JpegJob& job)
{
    if (setjmp(job.jump))
        return false;
    jpeg_start_decompress(&job.cinfo);
    return true;
}

bool readRows(JpegJob& job, std::uint8_t* out, std::size_t rowBytes)
{
    if (setjmp(job.jump))
        return false;
    while (job.cinfo.output_scanline < job.cinfo.output_height) {
        JSAMPROW row = out + std::size_t(job.cinfo.output_scanline) * rowBytes;
        if (jpeg_read_scanlines(&job.cinfo, &row, 1) != 1)
            return false;
    }
    return true;
}

// CMYK to RGB. Files with an Adobe marker store the inks inverted, as Adobe programs write them.
void cmykToRgb(std::uint8_t* samples, std::size_t pixels, bool inverted)
{
    const std::uint8_t* in = samples;
    std::uint8_t* out = samples;
    for (std::size_t i = 0; i < pixels; ++i, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = std::uint8_t((c * k + 127) / 255);
        out[1] = std::uint8_t((m * k + 127) / 255);
        out[2] = std::uint8_t((y * k + 127) / 255);
    }
}

// A JPEG spends at least a bit or two on every 8 x 8 block; no file describes more pixels than
// this many per byte (with room for a small picture in any file).
constexpr std::size_t kMaxPixelsPerByte = 1024;
constexpr std::size_t kPixelAllowance = 256 * 256;

} // namespace

bool decodeJpeg(const std::uint8_t* data, std::size_t size, DecodedImage& image)
{
    image = DecodedImage{};
    if (size == 0)
        return false;
    JpegJob job;
    job.cinfo.err = jpeg_std_error(&job.errors);
    job.errors.error_exit = onError;
    job.errors.output_message = onMessage;
    job.progress.progress_monitor = onProgress;
    job.cinfo.client_data = &job;
    if (!readHeader(job, data, size))
        return false;
    const std::size_t pixels = std::size_t(job.cinfo.image_width) * job.cinfo.image_height;
    if (pixels == 0 || pixels > kMaxImagePixels || pixels > size * kMaxPixelsPerByte + kPixelAllowance)
        return false;
    if (!start(job))
        return false;
    const int components = job.cinfo.output_components;
    if ((components != 3 && components != 4) || job.cinfo.output_width != job.cinfo.image_width ||
        job.cinfo.output_height != job.cinfo.image_height)
        return false;
    const std::size_t rowBytes = std::size_t(job.cinfo.output_width) * std::size_t(components);
    image.samples.resize(rowBytes * job.cinfo.output_height);
    if (!readRows(job, image.samples.data(), rowBytes)) {
        image = DecodedImage{};
        return false;
    }
    if (components == 4) {
        cmykToRgb(image.samples.data(), pixels, job.cinfo.saw_Adobe_marker);
        image.samples.resize(pixels * 3);
    }
    image.width = int(job.cinfo.output_width);
    image.height = int(job.cinfo.output_height);
    image.channels = 3;
    image.source = SampleSource::Jpeg;
    return true;
}

bool JpegReader::decodeFile(const std::string& path, DecodedImage& image)
{
    std::vector<std::uint8_t> bytes;
    return readWholeFile(path, bytes) && decodeJpeg(bytes.data(), bytes.size(), image);
}
