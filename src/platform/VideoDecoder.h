// Reads the pictures of a video file's first video stream by frame number, scaled to a fixed
// size as bottom-up rows of 24-bit BGR (the last picture row first in memory is row 0 = bottom).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class VideoDecoder {
public:
    VideoDecoder();
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // Opens `path` (backslash form allowed) for pictures of width x height. False, with error()
    // set and nothing left open, when the file is missing or unreadable, has no video stream, no
    // decoder for it, no frames or no duration.
    bool open(const std::string& path, int width, int height);
    void close();
    bool isOpen() const { return state_ != nullptr; }

    int frameCount() const { return frameCount_; }
    // Seconds per frame: the stream's length over its frame count.
    double frameDuration() const { return frameDuration_; }
    int sourceWidth() const { return sourceWidth_; }
    int sourceHeight() const { return sourceHeight_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Decodes frame `index` (0..frameCount-1) into `out` (width x height x 3 bytes). The next
    // frame after the last one read is decoded straight on; any other frame is sought first.
    // False, leaving `out` untouched and error() set, when that frame does not decode.
    bool decodeFrame(int index, std::uint8_t* out);

    const std::string& error() const { return error_; }

private:
    struct State;
    bool fail(const std::string& message);

    std::unique_ptr<State> state_;
    int frameCount_ = 0;
    double frameDuration_ = 0.0;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::string error_;
};

} // namespace platform
