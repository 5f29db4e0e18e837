// A 2D texture fed from the pictures of a video file: frames scaled to the texture size as
// bottom-up BGR rows, advanced with show time at 24 frames per show second whatever the file's
// own rate, looping at the end.
#pragma once
#include "platform/VideoDecoder.h"
#include "texture/Texture.h"

#include <string>

class VideoTexture : public ImageTexture {
public:
    // Show frames per second of show time.
    static constexpr double kPlaybackRate = 24.0;

    VideoTexture();

    // Opens the first video stream of `path` into a width x height texture, uploads it and
    // draws frame 0. False, with nothing left open, on any failure (logged with the reason).
    bool open(const std::string& path, int width, int height);
    // Releases the stream and its decoder; the picture and the GL object stay.
    void close();
    bool isOpen() const { return decoder_.isOpen(); }

    // Adds dt x rate to the accumulator; once a whole frame duration has gathered, moves on by
    // exactly one frame (the rest carries over), wrapping to 0 (or holding the last frame when
    // not looping), and draws it.
    void advance(double dt);
    // Adds dt x rate to the accumulator and moves on by every whole frame duration it holds at
    // once (wrapping or holding as advance does), drawing only the frame it lands on: a jump
    // over a stretch of show time.
    void skip(double dt);
    // Decodes the current frame into the pixels and sends them to the GL object. A frame that
    // does not decode keeps the previous picture (logged once per video).
    void drawCurrentFrame();

    int frameCount = 0;
    int currentFrame = 0;
    double frameDuration = 0.0;
    double rate = 0.0;
    double accumulator = 0.0;
    bool loop = true;

private:
    platform::VideoDecoder decoder_;
    bool reportedBadFrame_ = false;
};
