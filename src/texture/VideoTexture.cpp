#include "texture/VideoTexture.h"

#include "core/Log.h"
#include "texture/PixelType.h"

#include <cmath>

VideoTexture::VideoTexture()
{
    // Only level 0 is refreshed per frame, so the picture is sampled without mipmaps.
    state.minFilter = GL_LINEAR;
    state.magFilter = GL_LINEAR;
}

bool VideoTexture::open(const std::string& path, int width, int height)
{
    close();
    if (!decoder_.open(path, width, height)) {
        logPrint("Video %s: %s", path.c_str(), decoder_.error().c_str());
        return false;
    }
    frameCount = decoder_.frameCount();
    currentFrame = 0;
    frameDuration = decoder_.frameDuration();
    accumulator = 0.0;
    rate = kPlaybackRate * frameDuration;
    loop = true;
    reportedBadFrame_ = false;

    if (!pixels || this->width != width || this->height != height || pixelType != kPixelBGR) {
        pixels.reset();
        auto* buffer = new std::uint8_t[std::size_t(width) * std::size_t(height) * 3]();
        setImage(width, height, kPixelBGR, buffer);
    }
    name = path;
    releaseGL();
    upload();
    drawCurrentFrame();
    return true;
}

void VideoTexture::close()
{
    decoder_.close();
}

void VideoTexture::advance(double dt)
{
    if (!decoder_.isOpen())
        return;
    accumulator += dt * rate;
    if (accumulator < frameDuration)
        return;
    accumulator -= frameDuration;
    if (++currentFrame >= frameCount)
        currentFrame = loop ? 0 : frameCount - 1;
    drawCurrentFrame();
}

void VideoTexture::skip(double dt)
{
    if (!decoder_.isOpen() || !(frameDuration > 0.0) || frameCount <= 0)
        return;
    accumulator += dt * rate;
    const double frames = std::floor(accumulator / frameDuration);
    if (!(frames >= 1.0))
        return;
    accumulator -= frames * frameDuration;
    const double next = double(currentFrame) + frames;
    if (next < double(frameCount))
        currentFrame = int(next);
    else
        currentFrame = loop ? int(std::fmod(next, double(frameCount))) : frameCount - 1;
    drawCurrentFrame();
}

void VideoTexture::drawCurrentFrame()
{
    if (!decoder_.isOpen() || !pixels)
        return;
    if (!decoder_.decodeFrame(currentFrame, pixels.get())) {
        if (!reportedBadFrame_) {
            logPrint("Video %s: %s; the previous picture stays", name.c_str(),
                     decoder_.error().c_str());
            reportedBadFrame_ = true;
        }
        return;
    }
    update();
}
