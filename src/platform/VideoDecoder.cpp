#include "platform/VideoDecoder.h"

#include "platform/Paths.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <cmath>

namespace platform {

namespace {

// Pictures larger than this on either side are refused: no show video needs them and a forged
// header must not make the scaler allocate gigabytes.
constexpr int kMaxSide = 8192;

// The scaler wants the full-range JPEG formats as their plain twins with the range set apart.
AVPixelFormat plainFormat(AVPixelFormat format, bool& fullRange)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P: fullRange = true; return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P: fullRange = true; return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P: fullRange = true; return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P: fullRange = true; return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P: fullRange = true; return AV_PIX_FMT_YUV411P;
    default: return format;
    }
}

} // namespace

struct VideoDecoder::State {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    SwsContext* scaler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    AVRational timeBase{0, 1};
    AVRational frameRate{0, 1};
    std::int64_t startTime = 0;
    // The number of the frame the decoder delivers next when nothing is sought; -1 when unknown.
    int next = 0;
    // A frame that came out ahead of the one asked for (one before it did not decode), kept for
    // the next request.
    bool held = false;
    int heldIndex = -1;
    bool draining = false;

    ~State()
    {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    // The frame number of a decoded picture from its time stamp; `fallback` without one.
    int indexOf(const AVFrame* f, int fallback) const
    {
        const std::int64_t ts = f->best_effort_timestamp;
        if (ts == AV_NOPTS_VALUE)
            return fallback;
        const double seconds = double(ts - startTime) * av_q2d(timeBase);
        return int(std::llround(seconds * av_q2d(frameRate)));
    }

    // Starts decoding again at the key frame at or before `index`.
    void seek(int index)
    {
        const double seconds = double(index) / av_q2d(frameRate);
        const std::int64_t ts = startTime + std::int64_t(std::llround(seconds / av_q2d(timeBase)));
        av_seek_frame(format, stream, ts, AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(codec);
        held = false;
        draining = false;
        next = -1;
    }

    // The next decoded picture into `frame`; its number in `index`. 0, AVERROR_EOF at the end,
    // or the decoder's error for a packet that does not decode (the caller may go on).
    int receive(int& index)
    {
        for (;;) {
            int r = avcodec_receive_frame(codec, frame);
            if (r == 0) {
                index = indexOf(frame, next < 0 ? 0 : next);
                next = index + 1;
                return 0;
            }
            if (r != AVERROR(EAGAIN))
                return r;
            if (draining)
                return AVERROR_EOF;
            r = av_read_frame(format, packet);
            if (r < 0) {
                draining = true;
                avcodec_send_packet(codec, nullptr);
                continue;
            }
            if (packet->stream_index != stream) {
                av_packet_unref(packet);
                continue;
            }
            r = avcodec_send_packet(codec, packet);
            av_packet_unref(packet);
            if (r < 0 && r != AVERROR(EAGAIN))
                return r;
        }
    }
};

VideoDecoder::VideoDecoder() = default;
VideoDecoder::~VideoDecoder() = default;

bool VideoDecoder::fail(const std::string& message)
{
    close();
    error_ = message;
    return false;
}

void VideoDecoder::close()
{
    state_.reset();
    frameCount_ = 0;
    frameDuration_ = 0.0;
    sourceWidth_ = sourceHeight_ = 0;
}

bool VideoDecoder::open(const std::string& path, int width, int height)
{
    close();
    error_.clear();
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return fail("picture size out of range");
    auto state = std::make_unique<State>();
    const std::string native = nativePath(path);
    if (avformat_open_input(&state->format, native.c_str(), nullptr, nullptr) < 0)
        return fail("can't open " + path);
    if (avformat_find_stream_info(state->format, nullptr) < 0)
        return fail("can't read the streams of " + path);
    const AVCodec* codec = nullptr;
    state->stream = av_find_best_stream(state->format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (state->stream < 0 || !codec)
        return fail(path + " holds no video stream that can be decoded");
    AVStream* stream = state->format->streams[state->stream];
    const AVCodecParameters* params = stream->codecpar;
    if (params->width < 1 || params->height < 1 || params->width > kMaxSide ||
        params->height > kMaxSide)
        return fail(path + ": picture size out of range");

    state->timeBase = stream->time_base;
    state->frameRate = stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0
                           ? stream->avg_frame_rate
                           : stream->r_frame_rate;
    if (state->timeBase.num <= 0 || state->timeBase.den <= 0 || state->frameRate.num <= 0 ||
        state->frameRate.den <= 0)
        return fail(path + ": the video stream has no frame rate");
    state->startTime = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;

    double seconds = 0.0;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        seconds = double(stream->duration) * av_q2d(state->timeBase);
    else if (state->format->duration > 0)
        seconds = double(state->format->duration) / AV_TIME_BASE;
    std::int64_t frames = stream->nb_frames;
    if (frames <= 0)
        frames = std::int64_t(std::llround(seconds * av_q2d(state->frameRate)));
    if (frames <= 0 || frames > (1 << 28))
        return fail(path + ": the video stream has no frames");
    if (!(seconds > 0.0) || !std::isfinite(seconds))
        return fail(path + ": the video stream has no duration");

    state->codec = avcodec_alloc_context3(codec);
    if (!state->codec || avcodec_parameters_to_context(state->codec, params) < 0)
        return fail(path + ": no decoder for its video");
    state->codec->thread_count = 1;
    if (avcodec_open2(state->codec, codec, nullptr) < 0)
        return fail(path + ": the video decoder does not open");
    state->packet = av_packet_alloc();
    state->frame = av_frame_alloc();
    if (!state->packet || !state->frame)
        return fail("out of memory");

    frameCount_ = int(frames);
    frameDuration_ = seconds / double(frames);
    sourceWidth_ = params->width;
    sourceHeight_ = params->height;
    width_ = width;
    height_ = height;
    state_ = std::move(state);
    return true;
}

bool VideoDecoder::decodeFrame(int index, std::uint8_t* out)
{
    if (!state_ || !out || index < 0 || index >= frameCount_)
        return false;
    State& s = *state_;
    bool ready = false;
    if (s.held && s.heldIndex == index) {
        ready = true;
    } else if (s.held && s.heldIndex > index) {
        // The frame asked for did not decode when it was passed; nothing to show for it.
        error_ = "frame " + std::to_string(index) + " does not decode";
        return false;
    } else if (index != s.next) {
        s.seek(index);
    }
    s.held = false;
    // Decode on to the frame asked for; pictures before it (after a seek) are passed over.
    while (!ready) {
        int got = -1;
        const int r = s.receive(got);
        if (r == AVERROR_EOF) {
            error_ = "frame " + std::to_string(index) + " is past the end of the stream";
            s.next = -1;
            return false;
        }
        if (r < 0) {
            error_ = "frame " + std::to_string(index) + " does not decode";
            if (s.next == index)
                s.next = index + 1;
            return false;
        }
        if (got == index) {
            ready = true;
        } else if (got > index) {
            s.held = true;
            s.heldIndex = got;
            error_ = "frame " + std::to_string(index) + " does not decode";
            return false;
        }
    }

    const AVFrame* f = s.frame;
    if (f->width < 1 || f->height < 1 || f->width > kMaxSide || f->height > kMaxSide) {
        error_ = "frame " + std::to_string(index) + " has no picture";
        return false;
    }
    bool fullRange = f->color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat source = plainFormat(AVPixelFormat(f->format), fullRange);
    s.scaler = sws_getCachedContext(s.scaler, f->width, f->height, source, width_, height_,
                                    AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!s.scaler) {
        error_ = "frame " + std::to_string(index) + " can't be scaled";
        return false;
    }
    const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
    sws_setColorspaceDetails(s.scaler, coefficients, fullRange ? 1 : 0, coefficients, 1, 0,
                             1 << 16, 1 << 16);
    // Bottom-up rows: start at the last row and walk backwards.
    const int stride = width_ * 3;
    std::uint8_t* rows[4] = {out + std::size_t(height_ - 1) * std::size_t(stride), nullptr,
                             nullptr, nullptr};
    int strides[4] = {-stride, 0, 0, 0};
    sws_scale(s.scaler, f->data, f->linesize, 0, f->height, rows, strides);
    return true;
}

} // namespace platform
