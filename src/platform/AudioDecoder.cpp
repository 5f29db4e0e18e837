#include "platform/AudioDecoder.h"

#include "platform/FFmpegHandles.h"
#include "platform/Paths.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace platform {

namespace {

// One sample of any of FFmpeg's plain sample formats as a float.
float sampleAt(const AVFrame* frame, AVSampleFormat format, int channel, int index, int channels)
{
    const bool planar = av_sample_fmt_is_planar(format);
    const uint8_t* base = frame->extended_data[planar ? channel : 0];
    const int at = planar ? index : index * channels + channel;
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8: return (base[at] - 128) / 128.0f;
    case AV_SAMPLE_FMT_S16: return reinterpret_cast<const int16_t*>(base)[at] / 32768.0f;
    case AV_SAMPLE_FMT_S32: return float(reinterpret_cast<const int32_t*>(base)[at] / 2147483648.0);
    case AV_SAMPLE_FMT_FLT: return reinterpret_cast<const float*>(base)[at];
    case AV_SAMPLE_FMT_DBL: return float(reinterpret_cast<const double*>(base)[at]);
    default: return 0.0f;
    }
}

bool supportedFormat(AVSampleFormat format)
{
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8: case AV_SAMPLE_FMT_S16: case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_FLT: case AV_SAMPLE_FMT_DBL: return true;
    default: return false;
    }
}

} // namespace

bool AudioDecoder::fail(const std::string& message)
{
    channels_.clear();
    sampleRate_ = 0;
    error_ = message;
    return false;
}

bool AudioDecoder::decodeFile(const std::string& path)
{
    channels_.clear();
    sampleRate_ = 0;
    error_.clear();
    // Damaged input is reported through error(); FFmpeg's own warnings would only repeat it.
    av_log_set_level(AV_LOG_ERROR);

    AVFormatContext* rawFormat = nullptr;
    if (avformat_open_input(&rawFormat, nativePath(path).c_str(), nullptr, nullptr) < 0)
        return fail("cannot open " + path);
    ffmpeg::Input format(rawFormat);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return fail("no stream information in " + path);
    const AVCodec* codec = nullptr;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (stream < 0 || !codec)
        return fail("no decodable audio stream in " + path);

    ffmpeg::Codec context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), format->streams[stream]->codecpar) < 0 ||
        avcodec_open2(context.get(), codec, nullptr) < 0)
        return fail("cannot open the audio decoder for " + path);

    ffmpeg::Packet packet(av_packet_alloc());
    ffmpeg::Frame frame(av_frame_alloc());
    if (!packet || !frame)
        return fail("out of memory decoding " + path);

    auto drain = [&]() -> bool {
        for (;;) {
            const int got = avcodec_receive_frame(context.get(), frame.get());
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return true;
            if (got < 0)
                return fail("decoding failed in " + path);
            const auto sampleFormat = static_cast<AVSampleFormat>(frame->format);
            const int channels = frame->ch_layout.nb_channels;
            if (channels <= 0 || frame->sample_rate <= 0 || !supportedFormat(sampleFormat))
                return fail("unsupported sample layout in " + path);
            if (channels_.empty()) {
                channels_.resize(static_cast<size_t>(channels));
                sampleRate_ = frame->sample_rate;
            } else if (static_cast<int>(channels_.size()) != channels || sampleRate_ != frame->sample_rate) {
                return fail("the sample layout changes inside " + path);
            }
            for (int c = 0; c < channels; ++c) {
                std::vector<float>& out = channels_[static_cast<size_t>(c)];
                for (int i = 0; i < frame->nb_samples; ++i)
                    out.push_back(sampleAt(frame.get(), sampleFormat, c, i, channels));
            }
            av_frame_unref(frame.get());
        }
    };

    while (av_read_frame(format.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream) {
            const int sent = avcodec_send_packet(context.get(), packet.get());
            av_packet_unref(packet.get());
            if (sent < 0 && sent != AVERROR(EAGAIN))
                continue; // a damaged packet: skip it as players do
            if (!drain())
                return false;
        } else {
            av_packet_unref(packet.get());
        }
    }
    avcodec_send_packet(context.get(), nullptr);
    if (!drain())
        return false;
    if (channels_.empty())
        return fail("no audio decoded from " + path);
    return true;
}

} // namespace platform
