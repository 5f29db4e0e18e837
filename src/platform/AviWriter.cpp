#include "platform/AviWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

std::string ffmpegError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

std::uint8_t clampByte(int v)
{
    return std::uint8_t(std::clamp(v, 0, 255));
}

// Full-range BT.601 (JFIF) luma and 2 × 2-averaged chroma, in 16.16 fixed point so the same
// picture always gives the same bytes.
void rgbToYuv420(const unsigned char* rgb, int width, int height, AVFrame* frame)
{
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rgb + std::size_t(y) * std::size_t(width) * 3;
        std::uint8_t* luma = frame->data[0] + std::size_t(y) * std::size_t(frame->linesize[0]);
        for (int x = 0; x < width; ++x) {
            const int r = row[x * 3], g = row[x * 3 + 1], b = row[x * 3 + 2];
            luma[x] = clampByte((19595 * r + 38470 * g + 7471 * b + 32768) >> 16);
        }
    }
    for (int y = 0; y < height / 2; ++y) {
        const unsigned char* top = rgb + std::size_t(2 * y) * std::size_t(width) * 3;
        const unsigned char* bottom = top + std::size_t(width) * 3;
        std::uint8_t* cb = frame->data[1] + std::size_t(y) * std::size_t(frame->linesize[1]);
        std::uint8_t* cr = frame->data[2] + std::size_t(y) * std::size_t(frame->linesize[2]);
        for (int x = 0; x < width / 2; ++x) {
            int sum[3] = {0, 0, 0};
            for (int c = 0; c < 3; ++c)
                sum[c] = top[x * 6 + c] + top[x * 6 + 3 + c] + bottom[x * 6 + c] + bottom[x * 6 + 3 + c];
            // Sums of four pixels: the coefficients carry the division by 4.
            cb[x] = clampByte((-11059 * sum[0] - 21709 * sum[1] + 32768 * sum[2] + (128 << 18) + (1 << 17)) >> 18);
            cr[x] = clampByte((32768 * sum[0] - 27439 * sum[1] - 5329 * sum[2] + (128 << 18) + (1 << 17)) >> 18);
        }
    }
}

} // namespace

struct AviWriter::Encoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;

    ~Encoder()
    {
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (format) {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }
};

AviWriter::AviWriter() = default;

AviWriter::~AviWriter()
{
    abandon();
}

bool AviWriter::fail(const std::string& message)
{
    error_ = message;
    abandon();
    return false;
}

void AviWriter::abandon()
{
    if (!encoder_)
        return;
    const bool created = encoder_->format && encoder_->format->pb;
    encoder_.reset();
    if (created)
        std::remove(path_.c_str());
}

bool AviWriter::open(const std::string& path, int width, int height, int fps, int quality)
{
    abandon();
    error_.clear();
    frames_ = 0;
    path_ = path;
    if (width <= 0 || height <= 0 || width % 2 || height % 2)
        return fail("video size must be positive and even: " + std::to_string(width) + " x " +
                    std::to_string(height));
    if (fps <= 0)
        return fail("frame rate must be positive: " + std::to_string(fps));
    if (quality < 2 || quality > 31)
        return fail("JPEG quality must be 2..31: " + std::to_string(quality));
    const AVCodec* mjpeg = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!mjpeg)
        return fail("this FFmpeg has no Motion-JPEG encoder");

    encoder_ = std::make_unique<Encoder>();
    Encoder& e = *encoder_;
    int rc = avformat_alloc_output_context2(&e.format, nullptr, "avi", nullptr);
    if (rc < 0 || !e.format)
        return fail("cannot set up an AVI file: " + ffmpegError(rc));
    // No version strings in the file: the same pictures give the same bytes with every build.
    e.format->flags |= AVFMT_FLAG_BITEXACT;

    e.codec = avcodec_alloc_context3(mjpeg);
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    if (!e.codec || !e.frame || !e.packet)
        return fail("out of memory setting up the video encoder");
    e.codec->width = width;
    e.codec->height = height;
    e.codec->time_base = AVRational{1, fps};
    e.codec->framerate = AVRational{fps, 1};
    e.codec->pix_fmt = AV_PIX_FMT_YUVJ420P;
    e.codec->color_range = AVCOL_RANGE_JPEG;
    e.codec->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
    e.codec->global_quality = FF_QP2LAMBDA * quality;
    e.codec->thread_count = 1;
    if ((rc = avcodec_open2(e.codec, mjpeg, nullptr)) < 0)
        return fail("cannot open the Motion-JPEG encoder: " + ffmpegError(rc));

    e.stream = avformat_new_stream(e.format, nullptr);
    if (!e.stream)
        return fail("out of memory setting up the video stream");
    e.stream->time_base = e.codec->time_base;
    e.stream->avg_frame_rate = e.codec->framerate;
    if ((rc = avcodec_parameters_from_context(e.stream->codecpar, e.codec)) < 0)
        return fail("cannot describe the video stream: " + ffmpegError(rc));

    e.frame->format = e.codec->pix_fmt;
    e.frame->width = width;
    e.frame->height = height;
    e.frame->color_range = AVCOL_RANGE_JPEG;
    if ((rc = av_frame_get_buffer(e.frame, 0)) < 0)
        return fail("out of memory for a video frame: " + ffmpegError(rc));

    if ((rc = avio_open(&e.format->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0) {
        e.format->pb = nullptr;
        return fail("cannot create " + path + ": " + ffmpegError(rc));
    }
    if ((rc = avformat_write_header(e.format, nullptr)) < 0)
        return fail("cannot write the AVI header of " + path + ": " + ffmpegError(rc));
    return true;
}

bool AviWriter::encode(bool flush)
{
    Encoder& e = *encoder_;
    int rc = avcodec_send_frame(e.codec, flush ? nullptr : e.frame);
    if (rc < 0)
        return fail("the video encoder refused a frame: " + ffmpegError(rc));
    while ((rc = avcodec_receive_packet(e.codec, e.packet)) >= 0) {
        av_packet_rescale_ts(e.packet, e.codec->time_base, e.stream->time_base);
        e.packet->stream_index = e.stream->index;
        rc = av_interleaved_write_frame(e.format, e.packet);
        if (rc < 0)
            return fail("cannot write to " + path_ + ": " + ffmpegError(rc));
    }
    if (rc != AVERROR(EAGAIN) && rc != AVERROR_EOF)
        return fail("the video encoder failed: " + ffmpegError(rc));
    return true;
}

bool AviWriter::addFrame(const unsigned char* rgb)
{
    if (!encoder_)
        return fail(error_.empty() ? "no video file is open" : error_);
    if (!rgb)
        return fail("no picture given for frame " + std::to_string(frames_));
    Encoder& e = *encoder_;
    const int rc = av_frame_make_writable(e.frame);
    if (rc < 0)
        return fail("out of memory for a video frame: " + ffmpegError(rc));
    rgbToYuv420(rgb, e.codec->width, e.codec->height, e.frame);
    e.frame->pts = frames_;
    // The encoder takes its fixed quantiser from each frame, not from its context.
    e.frame->quality = e.codec->global_quality;
    if (!encode(false))
        return false;
    ++frames_;
    return true;
}

bool AviWriter::close()
{
    if (!encoder_)
        return fail(error_.empty() ? "no video file is open" : error_);
    if (frames_ == 0)
        return fail("no frames were written to " + path_);
    if (!encode(true))
        return false;
    Encoder& e = *encoder_;
    int rc = av_write_trailer(e.format);
    if (rc < 0)
        return fail("cannot finish " + path_ + ": " + ffmpegError(rc));
    rc = avio_closep(&e.format->pb);
    if (rc < 0)
        return fail("cannot finish " + path_ + ": " + ffmpegError(rc));
    encoder_.reset();
    return true;
}

} // namespace platform
