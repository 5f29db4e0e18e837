#include "platform/VideoEncoder.h"

#include "platform/AudioDecoder.h"
#include "platform/FFmpegHandles.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

// The encoder may fall this many pictures behind the drawing before addFrame waits.
constexpr size_t kMaxQueued = 3;

std::string ffmpegError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

bool endsWithNoCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - std::ptrdiff_t(suffix.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

} // namespace

struct VideoEncoder::State {
    AVFormatContext* format = nullptr;
    ffmpeg::Codec video, audio;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* convert = nullptr;
    ffmpeg::Frame picture, sound;
    ffmpeg::Packet packet{av_packet_alloc()};
    std::int64_t soundSent = 0;  // samples handed to the sound encoder
    std::int64_t soundFirst = 0; // the first sample of the track that goes into the file

    ~State()
    {
        sws_freeContext(convert);
        if (format) {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }
};

VideoEncoder::VideoEncoder() = default;

VideoEncoder::~VideoEncoder() { abort(); }

bool VideoEncoder::fail(const std::string& what, int code)
{
    std::lock_guard<std::mutex> lock(mutex_);
    // The first failure is the one worth reporting; what follows from it would only repeat it.
    if (!failed_)
        error_ = code ? what + ": " + ffmpegError(code) : what;
    failed_ = true;
    changed_.notify_all();
    return false;
}

bool VideoEncoder::open(const std::string& path, const VideoSettings& settings)
{
    abort();
    error_.clear();
    failed_ = false;
    closing_ = false;
    framesQueued_ = framesEncoded_ = fileSize_ = 0;
    settings_ = settings;
    path_ = path;
    tempPath_ = path + ".part";
    if (settings.width <= 0 || settings.height <= 0 || settings.width % 2 || settings.height % 2 ||
        settings.fps <= 0)
        return fail("a video needs an even width and height and a positive frame rate");
    av_log_set_level(AV_LOG_ERROR);

    state_ = std::make_unique<State>();
    State& s = *state_;
    const char* container = endsWithNoCase(path, ".mkv") ? "matroska" : "mp4";
    int code = avformat_alloc_output_context2(&s.format, nullptr, container, tempPath_.c_str());
    if (code < 0 || !s.format)
        return fail(std::string("no ") + container + " writer in this FFmpeg", code);

    const AVCodec* h264 = avcodec_find_encoder_by_name("libx264");
    if (!h264)
        return fail("this FFmpeg has no libx264 encoder for H.264");
    s.video.reset(avcodec_alloc_context3(h264));
    AVCodecContext* v = s.video.get();
    v->width = settings.width;
    v->height = settings.height;
    v->time_base = {1, settings.fps};
    v->framerate = {settings.fps, 1};
    v->pix_fmt = AV_PIX_FMT_YUV420P;
    v->gop_size = settings.fps * 2; // a key picture every two seconds keeps seeking quick
    // swscale converts with the BT.601 matrix into the limited range; say so in the stream.
    v->colorspace = AVCOL_SPC_SMPTE170M;
    v->color_range = AVCOL_RANGE_MPEG;
    av_opt_set(v->priv_data, "preset", "superfast", 0);
    av_opt_set(v->priv_data, "crf", std::to_string(settings.quality).c_str(), 0);
    if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
        v->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((code = avcodec_open2(v, h264, nullptr)) < 0)
        return fail("cannot start the H.264 encoder", code);
    s.videoStream = avformat_new_stream(s.format, nullptr);
    if (!s.videoStream || avcodec_parameters_from_context(s.videoStream->codecpar, v) < 0)
        return fail("cannot add the video stream");
    s.videoStream->time_base = v->time_base;
    s.videoStream->avg_frame_rate = v->framerate;

    const AudioDecoder* track = settings.audio;
    if (track && track->channelCount() > 0) {
        const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!aac)
            return fail("this FFmpeg has no AAC encoder");
        s.audio.reset(avcodec_alloc_context3(aac));
        AVCodecContext* a = s.audio.get();
        a->sample_fmt = AV_SAMPLE_FMT_FLTP;
        a->sample_rate = track->sampleRate();
        av_channel_layout_default(&a->ch_layout, std::min(track->channelCount(), 2));
        a->bit_rate = 192000;
        a->time_base = {1, a->sample_rate};
        if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
            a->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if ((code = avcodec_open2(a, aac, nullptr)) < 0)
            return fail("cannot start the AAC encoder", code);
        s.audioStream = avformat_new_stream(s.format, nullptr);
        if (!s.audioStream || avcodec_parameters_from_context(s.audioStream->codecpar, a) < 0)
            return fail("cannot add the audio stream");
        s.audioStream->time_base = a->time_base;
        s.soundFirst = std::llround(settings.audioStart * a->sample_rate);
        s.sound.reset(av_frame_alloc());
        s.sound->format = a->sample_fmt;
        s.sound->nb_samples = a->frame_size > 0 ? a->frame_size : 1024;
        s.sound->sample_rate = a->sample_rate;
        if (av_channel_layout_copy(&s.sound->ch_layout, &a->ch_layout) < 0 ||
            av_frame_get_buffer(s.sound.get(), 0) < 0)
            return fail("out of memory for the sound");
    }

    if ((code = avio_open(&s.format->pb, tempPath_.c_str(), AVIO_FLAG_WRITE)) < 0)
        return fail("cannot write " + tempPath_, code);
    AVDictionary* options = nullptr;
    if (std::string(container) == "mp4")
        av_dict_set(&options, "movflags", "+faststart", 0);
    code = avformat_write_header(s.format, &options);
    av_dict_free(&options);
    if (code < 0)
        return fail("cannot start " + tempPath_, code);

    s.picture.reset(av_frame_alloc());
    s.picture->format = v->pix_fmt;
    s.picture->width = v->width;
    s.picture->height = v->height;
    if (!s.packet || av_frame_get_buffer(s.picture.get(), 0) < 0)
        return fail("out of memory for the pictures");
    s.convert = sws_getContext(v->width, v->height, AV_PIX_FMT_RGBA, v->width, v->height,
                               AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr);
    if (!s.convert)
        return fail("cannot convert RGBA pictures to YUV 4:2:0");

    worker_ = std::thread([this] { work(); });
    return true;
}

std::vector<unsigned char> VideoEncoder::takeBuffer()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!spare_.empty()) {
        std::vector<unsigned char> buffer = std::move(spare_.back());
        spare_.pop_back();
        return buffer;
    }
    return std::vector<unsigned char>(size_t(settings_.width) * size_t(settings_.height) * 4);
}

bool VideoEncoder::addFrame(std::vector<unsigned char> rgba)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!worker_.joinable() || rgba.size() < size_t(settings_.width) * size_t(settings_.height) * 4)
        return false;
    changed_.wait(lock, [this] { return failed_ || queue_.size() < kMaxQueued; });
    if (failed_)
        return false;
    queue_.push_back(std::move(rgba));
    ++framesQueued_;
    changed_.notify_all();
    return true;
}

void VideoEncoder::work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
        if (queue_.empty())
            break;
        std::vector<unsigned char> rgba = std::move(queue_.front());
        queue_.pop_front();
        const bool skip = failed_;
        lock.unlock();
        if (!skip)
            encodePicture(rgba);
        lock.lock();
        spare_.push_back(std::move(rgba));
        changed_.notify_all();
    }
}

bool VideoEncoder::encodePicture(const std::vector<unsigned char>& rgba)
{
    State& s = *state_;
    if (av_frame_make_writable(s.picture.get()) < 0)
        return fail("out of memory for the pictures");
    // GL's rows run bottom up: start at the last row and step backwards.
    const int stride = settings_.width * 4;
    const uint8_t* source[1] = {rgba.data() + size_t(stride) * size_t(settings_.height - 1)};
    const int sourceStride[1] = {-stride};
    sws_scale(s.convert, source, sourceStride, 0, settings_.height, s.picture->data, s.picture->linesize);
    s.picture->pts = framesEncoded_;
    const int code = avcodec_send_frame(s.video.get(), s.picture.get());
    if (code < 0)
        return fail("the H.264 encoder failed", code);
    ++framesEncoded_;
    if (!drain(0))
        return false;
    return encodeSoundUpTo(framesEncoded_ * (s.audio ? s.audio->sample_rate : 0) / settings_.fps, false);
}

// Whole sound frames up to `sampleCount` samples; with `last` also the short final frame, then
// the encoder's own delay is flushed.
bool VideoEncoder::encodeSoundUpTo(std::int64_t sampleCount, bool last)
{
    State& s = *state_;
    if (!s.audio)
        return true;
    const AudioDecoder& track = *settings_.audio;
    const std::int64_t frameSize = s.audio->frame_size > 0 ? s.audio->frame_size : 1024;
    const std::int64_t available = std::int64_t(track.frameCount());
    const int channels = s.audio->ch_layout.nb_channels;
    while (s.soundSent + frameSize <= sampleCount || (last && s.soundSent < sampleCount)) {
        const int n = int(std::min(frameSize, sampleCount - s.soundSent));
        if (av_frame_make_writable(s.sound.get()) < 0)
            return fail("out of memory for the sound");
        s.sound->nb_samples = n;
        for (int c = 0; c < channels; ++c) {
            const float* from = track.channel(c).data();
            float* to = reinterpret_cast<float*>(s.sound->extended_data[c]);
            const std::int64_t first = s.soundFirst + s.soundSent;
            // Before the track's start and after its end the file holds silence.
            for (int i = 0; i < n; ++i) {
                const std::int64_t at = first + i;
                to[i] = at >= 0 && at < available ? from[at] : 0.0f;
            }
        }
        s.sound->pts = s.soundSent;
        const int code = avcodec_send_frame(s.audio.get(), s.sound.get());
        if (code < 0)
            return fail("the AAC encoder failed", code);
        s.soundSent += n;
        if (!drain(1))
            return false;
    }
    if (last) {
        avcodec_send_frame(s.audio.get(), nullptr);
        return drain(1);
    }
    return true;
}

bool VideoEncoder::drain(int stream)
{
    State& s = *state_;
    AVCodecContext* codec = stream == 0 ? s.video.get() : s.audio.get();
    AVStream* out = stream == 0 ? s.videoStream : s.audioStream;
    for (;;) {
        int code = avcodec_receive_packet(codec, s.packet.get());
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return true;
        if (code < 0)
            return fail(stream == 0 ? "the H.264 encoder failed" : "the AAC encoder failed", code);
        av_packet_rescale_ts(s.packet.get(), codec->time_base, out->time_base);
        s.packet->stream_index = out->index;
        code = av_interleaved_write_frame(s.format, s.packet.get());
        if (code < 0 || (s.format->pb && s.format->pb->error < 0))
            return fail("cannot write " + tempPath_, code < 0 ? code : s.format->pb->error);
    }
}

void VideoEncoder::stopWorker()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
        changed_.notify_all();
    }
    if (worker_.joinable())
        worker_.join();
}

bool VideoEncoder::finish()
{
    if (!state_)
        return fail("no video is open");
    stopWorker();
    State& s = *state_;
    bool ok = !failed_;
    if (ok) {
        avcodec_send_frame(s.video.get(), nullptr);
        ok = drain(0) &&
             encodeSoundUpTo(framesEncoded_ * (s.audio ? s.audio->sample_rate : 0) / settings_.fps, true);
    }
    if (ok) {
        int code = av_write_trailer(s.format);
        if (code >= 0 && s.format->pb->error < 0)
            code = s.format->pb->error;
        const int closed = avio_closep(&s.format->pb);
        if (code >= 0)
            code = closed;
        ok = code >= 0 || fail("cannot finish " + tempPath_, code);
    }
    state_.reset();
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(tempPath_, path_, ec);
        if (ec)
            ok = fail("cannot rename " + tempPath_ + " to " + path_ + ": " + ec.message());
    }
    if (!ok) {
        std::filesystem::remove(tempPath_, ec);
        return false;
    }
    fileSize_ = std::int64_t(std::filesystem::file_size(path_, ec));
    tempPath_.clear();
    return true;
}

void VideoEncoder::abort()
{
    stopWorker();
    state_.reset();
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
    if (!tempPath_.empty()) {
        std::error_code ec;
        std::filesystem::remove(tempPath_, ec);
        tempPath_.clear();
    }
}

} // namespace platform
